#include "core/mlang.h"

#include "core/settings.h"
#include "platform/vb.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>

bool gblnLinguaCaricata = false;
QStringList gstrRigheLingua;

namespace mLang {

namespace {

using Section = QHash<QString, QString>; // folded key -> value

struct Memory {
    QString loadedFile;                 // path of the file in memory
    QHash<QString, Section> sections;   // folded section name -> entries
    QString explicitFile;               // set by Usa_File_Lingua
    QString programFolder;              // set by Imposta_Cartella_Programma
};

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

} // namespace

bool Carica_File_Lingua(const QString& file)
{
    Memory& m = memory();
    if (gblnLinguaCaricata && m.loadedFile == file)
        return true;
    gblnLinguaCaricata = false;
    gstrRigheLingua.clear();
    m.sections.clear();
    m.loadedFile = file;

    QFile f(file);
    if (file.isEmpty() || !f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    const bool complete = f.error() == QFileDevice::NoError;
    // UTF-8 when valid, else the Windows-1252 code page the files were first written in.
    gstrRigheLingua = nonEmptyLines(vb::decodeText(bytes).text);
    buildIndex(gstrRigheLingua, m.sections);
    // A read that failed part-way keeps what was read but leaves the flag
    // clear, so the next lookup tries the file again.
    gblnLinguaCaricata = complete;
    return complete;
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
    const Memory& m = memory();
    const auto s = m.sections.constFind(fold(section));
    if (s == m.sections.constEnd())
        return def;
    const auto v = s->constFind(fold(key));
    return v == s->constEnd() ? def : *v;
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
    return Leggi_Chiave_Lingua(section, key, QString(), File_Lingua_Corrente());
}

} // namespace mLang
