// The shipped language files against the code that reads them: every text
// the program looks up with a literal section and key must be in every
// language file, and the language files must offer the same sections and keys.
//
// Menu items take their captions from the main window's section under their
// control names: every "mnu..." name written in the program must be there,
// but for the four view menus that keep built-in captions. Other keys looked
// up with a computed name are not found by the scan; list them in
// kChiaviIndirette below when you add such a lookup.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include "core/mlang.h"

namespace {

const QStringList kFileLingua = {QStringLiteral("english.ini"), QStringLiteral("italiano.ini")};

// Looked up with names made at run time.
const char* const kChiaviIndirette[][2] = {
    {"Planets", "sole"},    {"Planets", "luna"},    {"Planets", "mercurio"}, {"Planets", "venere"},
    {"Planets", "marte"},   {"Planets", "giove"},   {"Planets", "saturno"},  {"Planets", "urano"},
    {"Planets", "nettuno"}, {"Planets", "terra"},   {"Help", "file"},
    // The reasons of the data-file message and of the launcher.
    {"MDIForm1", "erroredbmancante"}, {"MDIForm1", "erroredbsconosciuto"}, {"MDIForm1", "erroredbfineriga"},
    {"MDIForm1", "erroredbnonnumero"}, {"MDIForm1", "erroredbrecord"}, {"MDIForm1", "erroredbposizione"},
    {"MDIForm1", "erroredbsegmenti"}, {"MDIForm1", "erroredbcatalogo"}, {"MDIForm1", "erroredbascensione"},
    {"MDIForm1", "erroredbdeclinazione"}, {"MDIForm1", "erroredbperiodo"}, {"MDIForm1", "erroredblongepoca"},
    {"MDIForm1", "erroredbperielio"}, {"MDIForm1", "erroredbeccentricita"}, {"MDIForm1", "erroredbsemiasse"},
    {"MDIForm1", "erroredbinclinazione"}, {"MDIForm1", "erroredbnodo"}, {"MDIForm1", "erroredbdiametro"},
    {"MDIForm1", "erroredbmagnitudine"}, {"MDIForm1", "erroredbfrequenza"}, {"MDIForm1", "nocalcolatrice"},
    {"MDIForm1", "nessunprogramma"}, {"MDIForm1", "programmanontrovato"},
    {"MDIForm1", "programmanoneseguibile"}, {"MDIForm1", "programmanonavviato"},
    // The printing and settings failures the platform layer words.
    {"Dialogs", "stampacartella"}, {"Dialogs", "stampaavvio"}, {"Dialogs", "stampapagina"},
    {"Dialogs", "stampafine"}, {"Dialogs", "stampaerrore"}, {"Dialogs", "stampafile"},
    {"Dialogs", "impostazioninonscritte"}, {"Dialogs", "impostazioninonlette"},
    {"Dialogs", "impostazionilasciate"}, {"Dialogs", "impostazionirighe"},
    {"Dialogs", "impostazionifilenonscritto"}, {"Dialogs", "cartellanonfatta"},
    {"Dialogs", "impostazionirighecopiate"}, {"Dialogs", "impostazionicopianonscritta"},
    // The system's reasons, by error number (platform layer).
    {"Dialogs", "permessonegato"}, {"Dialogs", "operazionenonpermessa"}, {"Dialogs", "fileinesistente"},
    {"Dialogs", "nonecartella"}, {"Dialogs", "ecartella"}, {"Dialogs", "sololettura"},
    {"Dialogs", "discopieno"}, {"Dialogs", "quotasuperata"}, {"Dialogs", "filetroppogrande"},
    {"Dialogs", "fileesistente"}, {"Dialogs", "nometroppolungo"}, {"Dialogs", "troppicollegamenti"},
    {"Dialogs", "erroreingressouscita"}, {"Dialogs", "risorsaoccupata"}, {"Dialogs", "fileinuso"},
    {"Dialogs", "troppifileaperti"}, {"Dialogs", "troppifileapertisistema"},
    // Failures of Format file and of keeping what the working list drops.
    {"MDIForm1", "conversionelettura"}, {"MDIForm1", "conversionecopia"}, {"MDIForm1", "conversionescrittura"},
    {"MDIForm1", "copianonfatta"}, {"MDIForm1", "rimossinonaggiunti"}, {"MDIForm1", "nonordinario"},
    {"MDIForm1", "troppogrande"}, {"MDIForm1", "listanonsalvatanuova"},
};

// The view menus whose captions are built in, not taken from the language file.
const QStringList kMenuSenzaTesto = {QStringLiteral("mnuWorldmap"), QStringLiteral("mnuLocalSky"),
                                     QStringLiteral("mnuGeneralSky"), QStringLiteral("mnuSkySat")};

const QStringList kCartelleSorgenti = {"app",      "astro",    "platform", "core",     "controls", "shell",
                                       "database", "maps",     "passes",   "listings", "sky",      "tables",
                                       "settings", "locations", "network", "files",    "common"};

QString Cartella_Lingue()
{
    return QDir(QStringLiteral(ASTROVELA_SOURCE_DIR)).filePath(QStringLiteral("lang"));
}

struct Chiamata {
    QString sezione;
    QString chiave;
    QString dove;   // file:line
};

// The literal text a constant of the file is initialised with
// (`const QString kSezione = QStringLiteral("frmTime");`, `constexpr char k[] = "x";`),
// or an empty text when there is none.
QString Valore_Costante(const QString& testo, const QString& nome)
{
    const QRegularExpression def(QStringLiteral("\\b") + QRegularExpression::escape(nome)
                                 + QStringLiteral("\\b\\s*(?:\\[\\s*\\])?\\s*(?:=|\\{|\\()\\s*(?:QStringLiteral|QLatin1String|"
                                                  "QLatin1StringView|QString)?\\s*\\(?\\s*u?\"([^\"\\\\]*)\""));
    const auto m = def.match(testo);
    return m.hasMatch() ? m.captured(1) : QString();
}

// Every Testo_Lingua call of the program's source whose section and key are
// both literal texts (plain, QStringLiteral, QLatin1String, u"" or QString),
// and every menu control name written as a text.
QList<Chiamata> Chiamate_Letterali()
{
    // A text argument: "x", u"x", QStringLiteral("x"), QLatin1String("x"), QString("x")...
    static const QString letterale = QString::fromUtf8(
        R"re(\s*(?:QStringLiteral|QLatin1String|QLatin1StringView|QString(?:::fromUtf8|::fromLatin1)?)?\s*\(?\s*u?"([^"\\]*)"\s*\)?\s*)re");
    // The section may also be a constant of the file (kSezione) holding a literal.
    static const QRegularExpression re(QStringLiteral("Testo_Lingua\\s*\\((?:") + letterale
                                       + QStringLiteral("|\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*),") + letterale
                                       + QStringLiteral("\\)"));
    static const QRegularExpression menu(QStringLiteral("\"(mnu[A-Za-z0-9]+)\""));
    QList<Chiamata> chiamate;
    const QDir radice(QStringLiteral(ASTROVELA_SOURCE_DIR));
    for (const QString& c : kCartelleSorgenti) {
        QDirIterator it(radice.filePath(c), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString percorso = it.next();
            QFile f(percorso);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QString testo = QString::fromUtf8(f.readAll());
            auto m = re.globalMatch(testo);
            while (m.hasNext()) {
                const auto r = m.next();
                QString sezione = r.captured(1);
                if (!r.captured(2).isEmpty()) {
                    sezione = Valore_Costante(testo, r.captured(2));
                    if (sezione.isEmpty())
                        continue;   // a section computed at run time: not checked here
                }
                const int riga = int(testo.left(r.capturedStart()).count(u'\n')) + 1;
                chiamate.append({sezione, r.captured(3),
                                 radice.relativeFilePath(percorso) + ":" + QString::number(riga)});
            }
            auto mm = menu.globalMatch(testo);
            while (mm.hasNext()) {
                const auto r = mm.next();
                if (kMenuSenzaTesto.contains(r.captured(1)))
                    continue;
                const int riga = int(testo.left(r.capturedStart()).count(u'\n')) + 1;
                chiamate.append({QStringLiteral("MDIForm1"), r.captured(1),
                                 radice.relativeFilePath(percorso) + ":" + QString::number(riga)});
            }
        }
    }
    return chiamate;
}

// Sections and keys of a language file, lower-cased, read line by line as the
// lookup reads them; format faults are reported in `guasti`.
QMap<QString, QSet<QString>> Voci(const QString& file, QStringList& guasti)
{
    QMap<QString, QSet<QString>> voci;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        guasti << file + ": cannot be read";
        return voci;
    }
    const QByteArray byte = f.readAll();
    const QString testo = QString::fromUtf8(byte);
    if (testo.toUtf8() != byte)
        guasti << file + ": not valid UTF-8";
    const QStringList righe = testo.split(QStringLiteral("\r\n"));
    QString sezione;
    QSet<QString> sezioniViste;
    for (int i = 0; i < righe.size(); ++i) {
        const QString& r = righe[i];
        const QString dove = QStringLiteral("%1:%2: ").arg(QFileInfo(file).fileName()).arg(i + 1);
        if (r.contains(u'\r') || r.contains(u'\n'))
            guasti << dove + "line not ended by CR LF";
        if (r.isEmpty() || r.startsWith(u';'))
            continue;
        if (r.startsWith(u'[')) {
            const qsizetype fine = r.indexOf(u']');
            sezione = r.mid(1, fine - 1).toLower();
            if (fine < 0 || sezione.isEmpty())
                guasti << dove + "bad section header";
            if (sezioniViste.contains(sezione))
                guasti << dove + "section repeated (only the first is ever read): " + sezione;
            sezioniViste.insert(sezione);
            voci[sezione];
            continue;
        }
        const qsizetype uguale = r.indexOf(u'=');
        const QString chiave = r.left(uguale);
        if (uguale <= 0 || chiave.contains(u' ') || chiave.contains(u'\t')) {
            guasti << dove + "not a key=value entry: " + r;
            continue;
        }
        if (sezione.isEmpty()) {
            guasti << dove + "entry above the first section";
            continue;
        }
        if (voci[sezione].contains(chiave.toLower()))
            guasti << dove + "key repeated in its section: " + chiave;
        voci[sezione].insert(chiave.toLower());
    }
    return voci;
}

} // namespace

TEST(LanguageFiles, EveryLiteralLookupOfTheProgramIsInEveryFile)
{
    QList<Chiamata> chiamate = Chiamate_Letterali();
    for (const auto& c : kChiaviIndirette)
        chiamate.append({QString::fromLatin1(c[0]), QString::fromLatin1(c[1]), QStringLiteral("indirect")});
    // The scan itself must work: the data loader's message is one of them.
    bool trovataErroredb = false;
    for (const Chiamata& c : chiamate)
        trovataErroredb |= c.chiave.compare(QStringLiteral("erroredb"), Qt::CaseInsensitive) == 0;
    EXPECT_TRUE(trovataErroredb) << "the source scan found no lookup of MDIForm1/erroredb";

    const QString assente = QStringLiteral("\x01missing\x01");
    for (const QString& nome : kFileLingua) {
        const QString file = QDir(Cartella_Lingue()).filePath(nome);
        for (const Chiamata& c : chiamate) {
            // The program's own lookup decides, with its case and format rules.
            const QString v = mLang::Leggi_Chiave_Lingua(c.sezione, c.chiave, assente, file);
            EXPECT_NE(v, assente) << nome.toStdString() << " lacks [" << c.sezione.toStdString() << "] "
                                  << c.chiave.toStdString() << " (looked up at " << c.dove.toStdString() << ")";
            EXPECT_FALSE(v.trimmed().isEmpty())
                << nome.toStdString() << " has an empty [" << c.sezione.toStdString() << "] "
                << c.chiave.toStdString();
        }
    }
}

TEST(LanguageFiles, AllFilesOfferTheSameSectionsAndKeysInAValidFormat)
{
    QStringList guasti;
    QList<QMap<QString, QSet<QString>>> tutte;
    for (const QString& nome : kFileLingua)
        tutte.append(Voci(QDir(Cartella_Lingue()).filePath(nome), guasti));
    EXPECT_TRUE(guasti.isEmpty()) << guasti.join(QStringLiteral("\n")).toStdString();

    ASSERT_FALSE(tutte.isEmpty());
    EXPECT_GT(tutte[0].value(QStringLiteral("mdiform1")).size(), 150);
    for (int i = 1; i < tutte.size(); ++i) {
        const QString a = kFileLingua[0], b = kFileLingua[i];
        QSet<QString> sezioni(tutte[0].keyBegin(), tutte[0].keyEnd());
        sezioni.unite(QSet<QString>(tutte[i].keyBegin(), tutte[i].keyEnd()));
        for (const QString& s : sezioni) {
            const QSet<QString>& ka = tutte[0].value(s);
            const QSet<QString>& kb = tutte[i].value(s);
            for (const QString& k : ka - kb)
                ADD_FAILURE() << b.toStdString() << " lacks [" << s.toStdString() << "] " << k.toStdString()
                              << " that " << a.toStdString() << " has";
            for (const QString& k : kb - ka)
                ADD_FAILURE() << a.toStdString() << " lacks [" << s.toStdString() << "] " << k.toStdString()
                              << " that " << b.toStdString() << " has";
            if (!tutte[0].contains(s) || !tutte[i].contains(s))
                ADD_FAILURE() << "section [" << s.toStdString() << "] is in one file only";
        }
    }
}

// Within one menu two items with the same access key ("&O") make Alt+O move
// between them instead of choosing one.
TEST(LanguageFiles, AccessKeysDifferWithinEachMainMenu)
{
    // The main window's menus: each top item and the items named after it.
    const QStringList menu = {"mnuFile",      "mnuModifica", "mnuVisualizza", "mnuTerra",
                              "mnuCielo",     "mnuSatelliti", "mnuEffemeridi", "mnuStrumenti",
                              "mnuOpzioni",   "mnuFinestre", "mnuAiuto"};
    const auto tasto = [](const QString& testo) {
        const qsizetype i = testo.indexOf(u'&');
        return i >= 0 && i + 1 < testo.size() ? testo.at(i + 1).toLower() : QChar();
    };
    for (const QString& nome : kFileLingua) {
        const QString file = QDir(Cartella_Lingue()).filePath(nome);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << nome.toStdString();
        QMap<QString, QString> voci;   // mnu... key -> caption, main window section only
        bool principale = false;
        for (const QString& r : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"))) {
            if (r.startsWith(u'['))
                principale = r.startsWith(QStringLiteral("[MDIForm1]"), Qt::CaseInsensitive);
            else if (principale && r.startsWith(QStringLiteral("mnu")) && r.contains(u'='))
                voci.insert(r.section(u'=', 0, 0), r.section(u'=', 1));
        }
        QMap<QChar, QString> alto;
        for (const QString& m : menu) {
            const QChar t = tasto(voci.value(m));
            EXPECT_FALSE(t.isNull()) << nome.toStdString() << ": " << m.toStdString() << " has no access key";
            if (!t.isNull() && alto.contains(t))
                ADD_FAILURE() << nome.toStdString() << ": " << m.toStdString() << " and "
                              << alto[t].toStdString() << " share &" << QString(t).toStdString();
            alto.insert(t, m);
            QMap<QChar, QString> visti;
            for (auto it = voci.cbegin(); it != voci.cend(); ++it) {
                // Items of this menu, not of a longer menu name that starts the same.
                if (!it.key().startsWith(m) || it.key() == m)
                    continue;
                const QChar k = tasto(it.value());
                if (k.isNull())
                    continue;
                if (visti.contains(k))
                    ADD_FAILURE() << nome.toStdString() << ": " << it.key().toStdString() << " and "
                                  << visti[k].toStdString() << " share &" << QString(k).toStdString();
                visti.insert(k, it.key());
            }
        }
    }
}

TEST(LanguageFiles, EveryFixedWidthFieldHoldsItsLongestText)
{
    // The texts the program sets in blank-filled fields of a fixed number of
    // characters: a longer text would be cut ("In eclis", "Std. magnitud").
    struct Campo {
        const char* sezione;
        const char* chiave;
        int larghezza;
        const char* dove;
    };
    const Campo campi[] = {
        {"frmSkySat", "satellite", 13, "observation sheet"},      {"frmSkySat", "elementiorbita", 13, "observation sheet"},
        {"frmSkySat", "magnitudine", 13, "observation sheet"},    {"frmSkySat", "localita", 13, "observation sheet"},
        {"frmSkySat", "coordinate", 13, "observation sheet"},     {"frmSkySat", "informazioni", 13, "observation sheet"},
        {"frmSkySat", "mappa", 13, "observation sheet"},          {"frmSkySat", "inizio", 13, "observation sheet"},
        {"frmSkySat", "culmine", 13, "observation sheet"},        {"frmSkySat", "fine", 13, "observation sheet"},
        {"Conditions", "eclisse", 8, "pass event lines"},         {"Conditions", "visibile", 8, "pass event lines"},
        {"Conditions", "nonvisibile", 8, "pass event lines"},     {"frmDetails", "satellite", 9, "ephemeris listing"},
        {"frmDetails", "elementiorbita", 9, "ephemeris listing"}, {"frmDetails", "localita", 9, "listings"},
        {"frmDetails", "satellitea", 11, "relative listing"},     {"frmDetails", "satelliteb", 11, "relative listing"},
        {"frmLocalSky", "localita", 12, "printed sky chart"},     {"frmLocalSky", "coordinate", 12, "printed sky chart"},
        {"frmLocalSky", "data", 12, "printed sky chart"},
    };
    const char* const corpi[] = {"sole", "luna", "mercurio", "venere", "marte", "giove", "saturno", "urano", "nettuno"};
    for (const QString& nome : kFileLingua) {
        QFile f(QDir(Cartella_Lingue()).filePath(nome));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << nome.toStdString();
        QMap<QString, QString> testi;   // "section/key" -> text
        QString sezione;
        for (const QString& r : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"))) {
            if (r.startsWith(u'['))
                sezione = r.mid(1, r.indexOf(u']') - 1);
            else if (!r.startsWith(u';') && r.contains(u'='))
                testi.insert(sezione + u'/' + r.section(u'=', 0, 0), r.section(u'=', 1));
        }
        auto controlla = [&](const QString& chiave, int larghezza, const char* dove) {
            ASSERT_TRUE(testi.contains(chiave)) << nome.toStdString() << ": " << chiave.toStdString();
            const QString t = testi.value(chiave);
            EXPECT_LE(t.size(), larghezza) << nome.toStdString() << ": " << chiave.toStdString() << " \""
                                           << t.toStdString() << "\" in the " << larghezza << "-character field of the "
                                           << dove;
        };
        for (const Campo& c : campi)
            controlla(QLatin1String(c.sezione) + u'/' + QLatin1String(c.chiave), c.larghezza, c.dove);
        for (const char* c : corpi)
            controlla(QStringLiteral("Planets/") + QLatin1String(c), 13, "printed sky chart's body table");
        // The pass list shows the first three characters of the state: the
        // three states must still differ there.
        const QStringList stati = {testi.value("Conditions/eclisse").left(3), testi.value("Conditions/visibile").left(3),
                                   testi.value("Conditions/nonvisibile").left(3)};
        EXPECT_EQ(QSet<QString>(stati.begin(), stati.end()).size(), 3) << nome.toStdString();
        for (const QString& s : stati)
            EXPECT_FALSE(s.endsWith(u' ')) << nome.toStdString() << ": \"" << s.toStdString() << "\"";
    }
}
