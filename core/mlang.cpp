#include "core/mlang.h"

#include "core/settings.h"
#include "platform/language_texts.h"
#include "platform/vb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <optional>

bool gblnLinguaCaricata = false;
QStringList gstrRigheLingua;

// The program's own English texts, built in: what a language file that gives
// no texts is replaced with.
static void Registra_Testi_Incorporati()
{
    Q_INIT_RESOURCE(lang);
}

namespace {
// The layers below show their texts (failure reasons) in the user's language.
const bool kTestiInstallati = [] {
    vb::setTextLookup([](const QString& section, const QString& key) { return mLang::Testo_Lingua(section, key); });
    return true;
}();
} // namespace

namespace mLang {

namespace {

using Section = QHash<QString, QString>; // folded key -> value

struct Memory {
    QString loadedFile;                 // path of the file in memory
    QHash<QString, Section> sections;   // folded section name -> entries
    QString explicitFile;               // set by Usa_File_Lingua
    QString programFolder;              // set by Imposta_Cartella_Programma
    // The English file beside the file in use: where a missing text is taken from.
    QString fallbackFile;
    bool fallbackLoaded = false;
    QHash<QString, Section> fallback;
    // The file in use gave no texts: the built-in English ones stand in.
    QString fileSenzaTesti;
};

constexpr char kTestiIncorporati[] = ":/lang/english.ini";
// A language file is a few tens of kilobytes; far past that it is none.
constexpr qint64 kMassimoFileLingua = 4 * 1024 * 1024;

Memory& memory()
{
    static Memory m;
    return m;
}

// Splits at CR LF, a lone CR or a lone LF and keeps the non-empty lines.
QStringList nonEmptyLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && text.at(i) != u'\r' && text.at(i) != u'\n')
            continue;
        if (i > start)
            lines.append(text.mid(start, i - start));
        if (i + 1 < n && text.at(i) == u'\r' && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    return lines;
}

QString fold(const QString& s)
{
    return s.toCaseFolded();
}

// Builds the lookup tables from the lines. An entry belongs to the nearest
// header above it; only the first header of a name is used, so entries under
// a repeated header (and above the first header) are never found. Within a
// section the first entry of a key wins. A line with a blank before its "="
// keeps the blank in its key and so never matches a key that has none.
void buildIndex(const QStringList& lines, QHash<QString, Section>& sections)
{
    sections.clear();
    Section* current = nullptr;
    for (const QString& line : lines) {
        if (line.startsWith(u'[')) {
            current = nullptr;
            const qsizetype close = line.indexOf(u']');
            if (close < 0)
                continue; // not a header, but it still ends the section above
            const QString name = fold(line.mid(1, close - 1));
            if (!sections.contains(name))
                current = &sections[name];
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = fold(line.left(eq));
        if (!current->contains(key))
            current->insert(key, line.mid(eq + 1));
    }
}

bool holdsMarkup(const QString& s)
{
    return s.contains(u'[') || s.contains(u']') || s.contains(u'=');
}

// Reads a language file into a table of its own; false when it cannot be read.
bool readTable(const QString& file, QHash<QString, Section>& sections, QStringList* lines = nullptr)
{
    sections.clear();
    if (file.isEmpty())
        return false;
    const std::optional<QByteArray> bytes = vb::readFileBytes(file, kMassimoFileLingua);
    if (!bytes)
        return false;
    // UTF-8 when valid (UTF-16 with its byte-order mark), else the
    // Windows-1252 code page the files were first written in.
    QStringList all = nonEmptyLines(vb::decodeText(*bytes).text);
    buildIndex(all, sections);
    if (lines)
        *lines = std::move(all);
    return true;
}

bool hasTexts(const QHash<QString, Section>& sections)
{
    for (const Section& s : sections)
        if (!s.isEmpty())
            return true;
    return false;
}

std::optional<QString> find(const QHash<QString, Section>& sections, const QString& section,
                            const QString& key)
{
    const auto s = sections.constFind(fold(section));
    if (s == sections.constEnd())
        return std::nullopt;
    const auto v = s->constFind(fold(key));
    if (v == s->constEnd())
        return std::nullopt;
    return *v;
}

// The English language file in the folder of `file` ("" when there is none,
// or when `file` is that file).
QString englishBeside(const QString& file)
{
    if (file.isEmpty())
        return {};
    const QFileInfo info(file);
    const QDir dir = info.absoluteDir();
    for (const QString& name : dir.entryList({QStringLiteral("*.ini")}, QDir::Files)) {
        if (name.compare(QLatin1String(kFileLinguaInglese), Qt::CaseInsensitive) != 0)
            continue;
        const QString path = dir.filePath(name);
        return QFileInfo(path).canonicalFilePath() == info.canonicalFilePath() ? QString() : path;
    }
    return {};
}

// The English text of a key the file in use lacks.
QString fallbackText(const QString& file, const QString& section, const QString& key)
{
    Memory& m = memory();
    if (!m.fallbackLoaded || m.fallbackFile != file) {
        m.fallbackFile = file;
        m.fallbackLoaded = true;
        const QString english = englishBeside(file);
        if (english.isEmpty())
            m.fallback.clear();
        else
            readTable(english, m.fallback);
    }
    return find(m.fallback, section, key).value_or(QString());
}

} // namespace

bool Carica_File_Lingua(const QString& file)
{
    Memory& m = memory();
    if (gblnLinguaCaricata && m.loadedFile == file)
        return true;
    gblnLinguaCaricata = false;
    gstrRigheLingua.clear();
    m.loadedFile = file;
    m.fallbackLoaded = false;
    m.fileSenzaTesti.clear();
    // A read that failed leaves the flag clear, so the next lookup tries the
    // file again.
    gblnLinguaCaricata = readTable(file, m.sections, &gstrRigheLingua);
    // A file that is there but gives no texts (empty, not a language file,
    // too large to be one) would leave a window without menus: the
    // program's own English texts stand in, and the start-up says so.
    if (!file.isEmpty() && QFileInfo::exists(file) && !hasTexts(m.sections)) {
        Registra_Testi_Incorporati();
        if (readTable(QString::fromLatin1(kTestiIncorporati), m.sections, &gstrRigheLingua)) {
            m.fileSenzaTesti = file;
            gblnLinguaCaricata = true;
        }
    }
    return gblnLinguaCaricata;
}

QString File_Senza_Testi()
{
    Carica_File_Lingua(File_Lingua_Corrente());
    return memory().fileSenzaTesti;
}

namespace {
QString& linguaNonSalvata()
{
    static QString file;
    return file;
}
} // namespace

void Imposta_Lingua_Non_Salvata(const QString& file)
{
    linguaNonSalvata() = file;
}

QString Lingua_Non_Salvata()
{
    return linguaNonSalvata();
}

bool Cerca_Riga(qsizetype& index, const QString& text, bool stopAtSection)
{
    ++index;
    while (index >= 1 && index <= gstrRigheLingua.size()) {
        const QString& line = gstrRigheLingua.at(index - 1);
        if (stopAtSection && line.startsWith(u'['))
            return false;
        if (line.startsWith(text, Qt::CaseInsensitive))
            return true;
        ++index;
    }
    return false;
}

QString Leggi_Chiave_Lingua(const QString& section, const QString& key, const QString& def,
                            const QString& file)
{
    if (holdsMarkup(section) || holdsMarkup(key))
        return def;
    Carica_File_Lingua(file);
    return find(memory().sections, section, key).value_or(def);
}

QStringList Chiavi_Mancanti(const QString& file, const QString& riferimento)
{
    QHash<QString, Section> scelto, completo;
    readTable(file, scelto);
    QStringList lines;
    readTable(riferimento, completo, &lines);
    // In the order of the reference file, as "[section] key".
    QStringList mancanti;
    QString sezione;
    for (const QString& line : lines) {
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            sezione = close < 0 ? QString() : line.mid(1, close - 1);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (sezione.isEmpty() || eq < 0)
            continue;
        const QString key = line.left(eq);
        if (find(completo, sezione, key) && !find(scelto, sezione, key)) {
            const QString voce = QStringLiteral("[%1] %2").arg(sezione, key);
            if (!mancanti.contains(voce))
                mancanti.append(voce);
        }
    }
    return mancanti;
}

QString File_Lingua_Inglese()
{
    return englishBeside(File_Lingua_Corrente());
}

QString Rapporto_Chiavi_Mancanti()
{
    const QString file = File_Lingua_Corrente();
    const QString inglese = englishBeside(file);
    if (inglese.isEmpty())
        return {};
    const QStringList mancanti = Chiavi_Mancanti(file, inglese);
    if (mancanti.isEmpty())
        return {};
    return QStringLiteral("The language file %1 lacks %2 texts, shown in English: %3")
        .arg(QDir::toNativeSeparators(file))
        .arg(mancanti.size())
        .arg(mancanti.join(QStringLiteral(", ")));
}

QString Cartella_Programma()
{
    const Memory& m = memory();
    if (!m.programFolder.isEmpty())
        return m.programFolder;
    return QCoreApplication::applicationDirPath();
}

void Imposta_Cartella_Programma(const QString& folder)
{
    memory().programFolder = folder;
}

QString File_Lingua_Corrente()
{
    const Memory& m = memory();
    if (!m.explicitFile.isEmpty())
        return m.explicitFile;
    if (gstrFileLingua.isEmpty())
        return {};
    return Cartella_Programma() + u'/' + gstrFileLingua;
}

bool Usa_File_Lingua(const QString& path)
{
    memory().explicitFile = path;
    gblnLinguaCaricata = false;
    return Carica_File_Lingua(File_Lingua_Corrente());
}

QString Testo_Lingua(const QString& section, const QString& key)
{
    const QString file = File_Lingua_Corrente();
    if (holdsMarkup(section) || holdsMarkup(key))
        return {};
    Carica_File_Lingua(file);
    if (std::optional<QString> v = find(memory().sections, section, key))
        return *v;
    // A text the chosen file lacks is shown in English rather than as
    // nothing (a menu without a caption disappears).
    return fallbackText(file, section, key);
}

} // namespace mLang

namespace {
// The platform layer's own texts (a program that cannot be started, the
// manual window's buttons) are looked up here too.
const bool g_testiPiattaforma = (platform::setTextLookup(&mLang::Testo_Lingua), true);
} // namespace
