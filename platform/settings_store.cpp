#include "platform/settings_store.h"

#include "platform/language_texts.h"

#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>

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
// escaped, and so are the other control characters (\uHHHH) and a byte-order
// mark that would begin a line, so any text goes in and comes back out
// unchanged. The file is UTF-8; one edited in another program may be
// Windows-1252, with any line ends.

namespace {

// The control characters a line of the file may not hold: it would not be a
// setting (bytes another program has left in the file). A tab is text.
bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || (u >= 0x7F && u < 0xA0);
}

constexpr char16_t kMarca = 0xFEFF; // the byte-order mark

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
        else if (isControl(c) || (isKey && i == 0 && c == kMarca))
            out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
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
        if (n == u'u' && i + 4 < s.size()) {
            // \uHHHH: a control character (or a mark) written so.
            char16_t codice = 0;
            bool esadecimale = true;
            for (qsizetype k = i + 1; k <= i + 4 && esadecimale; ++k) {
                const char16_t u = s.at(k).unicode();
                const int cifra = (u >= u'0' && u <= u'9') ? u - u'0'
                    : (u >= u'a' && u <= u'f')             ? u - u'a' + 10
                    : (u >= u'A' && u <= u'F')             ? u - u'A' + 10
                                                           : -1;
                esadecimale = cifra >= 0;
                codice = char16_t(codice * 16 + cifra);
            }
            if (esadecimale) {
                out += QChar(codice);
                i += 4;
                continue;
            }
        }
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

// The lines of a settings file as text. CR LF, a lone CR and a lone LF each
// end a line (other editors save any of them); the last line may have none.
// Our own files are UTF-8; a file edited in another program may be
// Windows-1252, and one of ours that something else has spoiled (bytes that
// are not text written into it) is not UTF-8 as a whole: each line is read
// on its own, as UTF-8 when it is, else as Windows-1252, so that every line
// that is whole keeps its letters, the last of a line included. A byte-order
// mark that begins a line (at the start of the file, or where two files were
// joined) is not part of it.
QStringList righeDelFile(const QByteArray& bytes)
{
    QStringList righe;
    const auto senzaMarca = [](QString riga) {
        while (riga.startsWith(QChar(kMarca)))
            riga.remove(0, 1);
        return riga;
    };
    if (vb::hasUtf16Bom(bytes)) {
        // Saved as "Unicode" by an editor: the text decides the lines.
        QString testo = vb::decodeText(bytes).text;
        testo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        testo.replace(u'\r', u'\n');
        for (const QString& riga : testo.split(u'\n'))
            righe.append(senzaMarca(riga));
        return righe;
    }
    qsizetype inizio = 0;
    while (inizio <= bytes.size()) {
        qsizetype fine = inizio;
        while (fine < bytes.size() && bytes[fine] != '\n' && bytes[fine] != '\r')
            ++fine;
        if (fine == bytes.size() && inizio == fine && !righe.isEmpty())
            break; // the last line ended: nothing after it
        QByteArrayView riga(bytes.constData() + inizio, fine - inizio);
        while (riga.startsWith("\xEF\xBB\xBF"))
            riga = riga.sliced(3);
        // A fresh decoder that keeps nothing back: a letter's first byte at
        // the end of a line is an error, not the start of the next line.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString testo = utf8.decode(riga);
        righe.append(senzaMarca(utf8.hasError() ? vb::decodeWindows1252(riga.toByteArray()) : testo));
        if (fine < bytes.size() && bytes[fine] == '\r' && fine + 1 < bytes.size() && bytes[fine + 1] == '\n')
            ++fine;
        inizio = fine + 1;
    }
    return righe;
}
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
    const QStringList righe = righeDelFile(*bytes);
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
        m_righeNelFile = true;
    };
    for (QStringView line : righe) {
        ++numero;
        if (line.trimmed().isEmpty())
            continue;
        // Bytes another program has left (a crash, a copy cut short), even
        // around an "=": not a setting, whose default would then stand in for
        // the user's value without a word.
        if (std::any_of(line.begin(), line.end(), isControl)) {
            scartata(line);
            // A heading among them is not one: the lines under it are not
            // taken for settings of the section before.
            QString senza = line.toString();
            senza.removeIf(isControl);
            if (senza.trimmed().startsWith(u'[') && splitPoint(senza) < 0)
                inSection = false;
            continue;
        }
        if (line.startsWith(u';')) {
            scartata(line);
            continue;
        }
        // No key of ours begins with '[' (it is written escaped), and a line
        // without "=" is no setting: a heading, also with the blanks another
        // editor may leave around it; one cut short is none, and the lines
        // under it belong to no section we know.
        const QStringView intestazione = line.trimmed();
        const bool senzaUguale = splitPoint(line) < 0;
        if (intestazione.startsWith(u'[') && (line.startsWith(u'[') || senzaUguale)) {
            if (intestazione.size() >= 2 && intestazione.endsWith(u']')) {
                section = unescape(intestazione.mid(1, intestazione.size() - 2));
                if (!m_sections.contains(section)) {
                    m_sectionOrder.append(section);
                    m_sections.insert(section, {});
                }
                inSection = true;
                continue;
            }
            if (senzaUguale) {
                scartata(line);
                inSection = false;
                continue;
            }
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
    // Nothing new: nothing to write, unless the file still holds lines that
    // are not settings, which the user was told the next save leaves out.
    if (!cambiato && !m_righeNelFile)
        return true;
    if (!save(error)) {
        m_sectionOrder = oldOrder;
        m_sections = oldSections;
        return false;
    }
    m_righeNelFile = false;
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
