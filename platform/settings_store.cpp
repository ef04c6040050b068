#include "platform/settings_store.h"

#include "platform/language_texts.h"

#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace platform {

bool SettingsStore::setValues(const QList<Voce>& voci, QString* error)
{
    for (const Voce& v : voci)
        if (!setValue(v.section, v.key, v.text, error))
            return false;
    return true;
}

// ---------------------------------------------------------------- memory

std::optional<QString> MemorySettingsStore::value(const QString& section, const QString& key) const
{
    auto s = m_sections.constFind(section);
    if (s == m_sections.constEnd())
        return std::nullopt;
    auto v = s->constFind(key);
    if (v == s->constEnd())
        return std::nullopt;
    return *v;
}

bool MemorySettingsStore::setValue(const QString& section, const QString& key, const QString& text,
                                   QString* error)
{
    if (m_failWrites) {
        if (error)
            *error = Testo_Motivo(QStringLiteral("Dialogs"), QStringLiteral("impostazioninonscritte"));
        return false;
    }
    m_sections[section][key] = text;
    return true;
}

bool MemorySettingsStore::hasSection(const QString& section) const
{
    return m_sections.contains(section);
}

// ---------------------------------------------------------------- INI file
//
// [section]
// key=value
//
// Backslash, line breaks, '=' in keys and a leading '[' or ';' in keys are
// escaped, so any text goes in and comes back out unchanged. The file is UTF-8.

namespace {

QString escape(const QString& s, bool isKey)
{
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (isKey && c == u'=')
            out += QStringLiteral("\\e");
        else if (isKey && i == 0 && (c == u'[' || c == u';'))
            out += (c == u'[') ? QStringLiteral("\\b") : QStringLiteral("\\s");
        else
            out += c;
    }
    return out;
}

QString unescape(QStringView s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        QChar c = s.at(i);
        if (c != u'\\' || i + 1 == s.size()) {
            out += c;
            continue;
        }
        const QChar n = s.at(++i);
        switch (n.unicode()) {
        case 'n': out += u'\n'; break;
        case 'r': out += u'\r'; break;
        case 'e': out += u'='; break;
        case 'b': out += u'['; break;
        case 's': out += u';'; break;
        default: out += n; break;
        }
    }
    return out;
}

// Position of the first '=' that is not escaped, or -1.
qsizetype splitPoint(QStringView line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == u'\\')
            ++i;
        else if (line.at(i) == u'=')
            return i;
    }
    return -1;
}

} // namespace

IniSettingsStore::IniSettingsStore(QString filePath) : m_path(std::move(filePath))
{
    load();
}

QString IniSettingsStore::defaultFilePath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + QStringLiteral("/.config");
    return dir + QStringLiteral("/Astrovela/Astrovela.conf");
}

namespace {
// A settings file is a few kilobytes; one far larger is refused like an
// unreadable one, and so never overwritten.
constexpr qint64 kMassimoFile = 16 * 1024 * 1024;
} // namespace

void IniSettingsStore::load()
{
    QFile f(m_path);
    if (!f.exists())
        return;
    if (vb::notRegularFile(m_path)) {
        // A named pipe, a device, a folder.
        m_guasto = Guasto::NonOrdinario;
        return;
    }
    QString motivo;
    const std::optional<QByteArray> bytes = vb::readFileBytes(m_path, kMassimoFile, &motivo);
    if (!bytes) {
        const QFileInfo info(m_path);
        m_guasto = info.isFile() && info.size() > kMassimoFile ? Guasto::TroppoGrande : Guasto::Sistema;
        m_motivoSistema = motivo;
        return;
    }
    // Our own files are UTF-8; a file edited by hand in another program may
    // not be. One of ours that something else has spoiled (bytes that are
    // not text written into it) is not UTF-8 as a whole: each of its lines
    // that is keeps its letters, rather than every accent read as two
    // characters and written back so.
    const vb::TextDocument documento = vb::decodeText(*bytes);
    QStringList righe;
    if (documento.encoding == vb::TextEncoding::Windows1252) {
        for (const QByteArray& riga : bytes->split('\n')) {
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString testo = utf8(riga);
            righe.append(utf8.hasError() ? vb::decodeWindows1252(riga) : testo);
        }
    } else {
        righe = documento.text.split(u'\n');
    }
    QString section;
    bool inSection = false;
    int numero = 0;
    // A line that is not a setting is not written back: it is noted, and the
    // file as read is kept beside the new one (conservaCopia).
    auto scartata = [&](QStringView line) {
        if (m_lineaScartata == 0) {
            m_lineaScartata = numero;
            m_testoScartato = line.toString();
        }
    };
    for (QStringView line : std::as_const(righe)) {
        ++numero;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (line.startsWith(u';')) {
            scartata(line);
            continue;
        }
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = unescape(line.mid(1, line.size() - 2));
            if (!m_sections.contains(section)) {
                m_sectionOrder.append(section);
                m_sections.insert(section, {});
            }
            inSection = true;
            continue;
        }
        const qsizetype eq = inSection ? splitPoint(line) : -1;
        if (eq < 0) {
            scartata(line);
            continue;
        }
        const QString key = unescape(line.left(eq));
        const QString val = unescape(line.mid(eq + 1));
        auto& rows = m_sections[section];
        bool replaced = false;
        for (auto& row : rows) {
            if (row.first == key) {
                row.second = val;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            rows.append({key, val});
    }
}

std::optional<QString> IniSettingsStore::value(const QString& section, const QString& key) const
{
    auto s = m_sections.constFind(section);
    if (s == m_sections.constEnd())
        return std::nullopt;
    for (const auto& row : *s)
        if (row.first == key)
            return row.second;
    return std::nullopt;
}

bool IniSettingsStore::hasSection(const QString& section) const
{
    return m_sections.contains(section);
}

QString IniSettingsStore::loadError() const
{
    switch (m_guasto) {
    case Guasto::Nessuno: return {};
    case Guasto::NonOrdinario: return vb::notRegularReason(m_path);
    case Guasto::TroppoGrande: return vb::tooLargeReason(m_path, kMassimoFile);
    case Guasto::Sistema: return vb::systemReason(m_motivoSistema);
    }
    return {};
}

QString IniSettingsStore::readFailure() const
{
    if (m_guasto == Guasto::Nessuno)
        return {};
    // A reason that names the file already is a whole sentence: it is not
    // named a second time around it. At a first start no language has been
    // chosen yet: the English words.
    const QString motivo = loadError();
    if (m_guasto != Guasto::Sistema)
        return vb::layerText(QStringLiteral("Dialogs"), QStringLiteral("impostazionilasciate"),
                             QStringLiteral("%1 The settings file was left as it is."))
            .arg(motivo);
    return vb::layerText(QStringLiteral("Dialogs"), QStringLiteral("impostazioninonlette"),
                         QStringLiteral("The settings file %1 could not be read (%2); it was left as it is."))
        .arg(QDir::toNativeSeparators(m_path), motivo);
}

bool IniSettingsStore::conservaCopia(QString* error) const
{
    if (m_lineaScartata == 0 || !m_copia.isEmpty())
        return true;
    const auto nonConservata = [&](const QString& motivo) {
        if (error)
            *error = vb::layerText(QStringLiteral("Dialogs"), QStringLiteral("impostazionirighe"),
                                   QStringLiteral("The settings file %1 holds lines that are not settings (line %2) "
                                                  "and no copy of it could be kept; it was left as it is."))
                         .arg(QDir::toNativeSeparators(m_path), QString::number(m_lineaScartata))
                + QStringLiteral("\r\n") + motivo;
        return false;
    };
    QString motivo;
    const std::optional<QByteArray> dati = vb::readFileBytes(m_path, kMassimoFile, &motivo);
    if (!dati)
        return nonConservata(motivo);
    // Never over an earlier copy (the user's own, or one of an earlier run);
    // one that holds these very bytes is the copy already.
    const QString copia = vb::freeCopyName(m_path, &*dati);
    if (!QFileInfo::exists(copia) && !vb::writeFileWhole(copia, *dati, &motivo))
        return nonConservata(vb::layerText(QStringLiteral("Dialogs"), QStringLiteral("impostazionicopianonscritta"),
                                           QStringLiteral("The copy %1 could not be written: %2."))
                                 .arg(QDir::toNativeSeparators(copia), motivo));
    m_copia = copia;
    return true;
}

QString IniSettingsStore::keepUnreadLines()
{
    if (m_lineaScartata == 0 || m_avvisato || m_guasto != Guasto::Nessuno)
        return {};
    m_avvisato = true;
    QString errore;
    if (!conservaCopia(&errore))
        return errore;
    // The line as the user would find it in the file, shortened; nothing of
    // it that would upset the message box (control characters, reversed text).
    constexpr int kMostrati = 60;
    QString riga = vb::displayable(m_testoScartato).trimmed();
    if (riga.size() > kMostrati)
        riga = riga.left(kMostrati) + QStringLiteral("...");
    return vb::layerText(QStringLiteral("Dialogs"), QStringLiteral("impostazionirighecopiate"),
                         QStringLiteral("The settings file %1 holds lines that are not settings, the first of them "
                                        "line %2 (\"%3\"). The settings that could be read are used, and the next "
                                        "save leaves those lines out. The file as it was is kept as %4."))
        .arg(QDir::toNativeSeparators(m_path), QString::number(m_lineaScartata), riga,
             QDir::toNativeSeparators(m_copia));
}

bool IniSettingsStore::put(const QString& section, const QString& key, const QString& text)
{
    if (!m_sections.contains(section)) {
        m_sectionOrder.append(section);
        m_sections.insert(section, {});
    }
    auto& rows = m_sections[section];
    for (auto& row : rows) {
        if (row.first == key) {
            if (row.second == text)
                return false;
            row.second = text;
            return true;
        }
    }
    rows.append({key, text});
    return true;
}

bool IniSettingsStore::setValue(const QString& section, const QString& key, const QString& text,
                                QString* error)
{
    return setValues({Voce{section, key, text}}, error);
}

bool IniSettingsStore::setValues(const QList<Voce>& voci, QString* error)
{
    if (m_guasto != Guasto::Nessuno) {
        if (error)
            *error = readFailure();
        return false;
    }
    // Keep the previous state so that a failed write changes nothing in memory either.
    const auto oldOrder = m_sectionOrder;
    const auto oldSections = m_sections;
    bool cambiato = false;
    for (const Voce& v : voci)
        cambiato = put(v.section, v.key, v.text) || cambiato;
    if (!cambiato) {
        // Nothing changes on disk (a new empty section is not worth a write either).
        m_sectionOrder = oldOrder;
        m_sections = oldSections;
        return true;
    }
    if (!save(error)) {
        m_sectionOrder = oldOrder;
        m_sections = oldSections;
        return false;
    }
    return true;
}

bool IniSettingsStore::save(QString* error) const
{
    const QFileInfo info(m_path);
    if (!vb::makeFolder(info.absolutePath(), error))
        return false;
    QString out;
    for (const QString& section : m_sectionOrder) {
        out += u'[' + escape(section, false) + QStringLiteral("]\n");
        for (const auto& row : m_sections.value(section))
            out += escape(row.first, true) + u'=' + escape(row.second, false) + u'\n';
        out += u'\n';
    }
    if (!conservaCopia(error))
        return false;
    QString motivo;
    if (vb::writeFileWhole(m_path, out.toUtf8(), &motivo))
        return true;
    if (error)
        *error = vb::layerText(QStringLiteral("Dialogs"), QStringLiteral("impostazionifilenonscritto"),
                               QStringLiteral("The settings file %1 could not be written: %2."))
                     .arg(QDir::toNativeSeparators(m_path), motivo);
    return false;
}

} // namespace platform
