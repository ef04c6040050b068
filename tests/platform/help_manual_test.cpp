// The manual shipped with the program: every topic a window asks for is there
// in both languages, every link and picture resolves, the keyword index finds
// every window by its title, and the help window opens at the asked topic.
#include "platform/help_service.h"
#include "platform/help_window.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTextBrowser>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

const QString kSource = QStringLiteral(ASTROVELA_SOURCE_DIR);

QString leggi(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(f.readAll());
}

// The value of `key` in `section` of a language file (sections and keys
// compared without regard to case).
QString voce(const QString& ini, const QString& section, const QString& key)
{
    QString sezione;
    for (const QString& riga : ini.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")))) {
        const QString r = riga.trimmed();
        if (r.startsWith(u'[') && r.endsWith(u']')) {
            sezione = r.mid(1, r.size() - 2);
            continue;
        }
        const qsizetype eq = r.indexOf(u'=');
        if (eq > 0 && sezione.compare(section, Qt::CaseInsensitive) == 0
            && r.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return r.mid(eq + 1).trimmed();
    }
    return {};
}

// Every context number the windows pass to the help: read from the sources,
// so that a new Help button without a topic fails here.
QSet<int> contestiDelleFinestre()
{
    QSet<int> out;
    const QRegularExpression chiamata(QStringLiteral("Mostra_Aiuto\\(([^;]*), this\\)"));
    const QRegularExpression costante(QStringLiteral("kContestoAiuto = (\\d+)"));
    const QRegularExpression numero(QStringLiteral("^\\d+$"));
    const QRegularExpression scelta(QStringLiteral("\\? (\\d+) : (\\d+)"));
    const QRegularExpression serie(QStringLiteral("^(\\d+) \\+ (\\d+) \\* Index$"));
    for (const char* cartella : {"shell", "database", "maps", "passes", "listings", "sky", "tables", "settings",
                                 "locations", "network", "files", "common"}) {
        QDirIterator it(kSource + u'/' + QLatin1String(cartella), {QStringLiteral("*.cpp")});
        while (it.hasNext()) {
            const QString testo = leggi(it.next());
            for (auto m = chiamata.globalMatch(testo); m.hasNext();) {
                const QString arg = m.next().captured(1).trimmed();
                if (numero.match(arg).hasMatch()) {
                    out << arg.toInt();
                } else if (arg == QLatin1String("kContestoAiuto")) {
                    const auto c = costante.match(testo);
                    EXPECT_TRUE(c.hasMatch()) << it.filePath().toStdString();
                    out << c.captured(1).toInt();
                } else if (const auto s = scelta.match(arg); s.hasMatch()) {
                    out << s.captured(1).toInt() << s.captured(2).toInt();
                } else if (const auto s = serie.match(arg); s.hasMatch()) {
                    for (int i = 0; i < 3; ++i)
                        out << s.captured(1).toInt() + i * s.captured(2).toInt();
                } else {
                    ADD_FAILURE() << "help context not understood: " << arg.toStdString() << " in "
                                  << it.filePath().toStdString();
                }
            }
        }
    }
    return out;
}

struct Manuale {
    const char* lingua;
};

class ManualTest : public ::testing::TestWithParam<Manuale> {
protected:
    QString ini() const { return leggi(kSource + QStringLiteral("/lang/%1.ini").arg(GetParam().lingua)); }
    QString file() const
    {
        // The language file names the manual, relative to the program folder.
        const QString nome = voce(ini(), QStringLiteral("Help"), QStringLiteral("file"));
        EXPECT_FALSE(nome.isEmpty());
        return kSource + u'/' + nome;
    }
};

} // namespace

TEST_P(ManualTest, EveryWindowHasItsTopicAndEveryLinkResolves)
{
    const QString html = leggi(file());
    ASSERT_FALSE(html.isEmpty());
    const QStringList ancore = platform::helpAnchors(html);
    const QSet<int> contesti = contestiDelleFinestre();
    // The numbers every Help button uses, as the windows give them.
    for (int c : {30, 40, 50, 70, 80, 90, 100, 110, 130, 150, 160, 170, 180, 190, 200, 205, 220})
        EXPECT_TRUE(contesti.contains(c)) << "no window asks for topic " << c;
    for (int c : contesti)
        EXPECT_TRUE(ancore.contains(QStringLiteral("context-%1").arg(c))) << "missing topic " << c;
    EXPECT_EQ(QSet<QString>(ancore.begin(), ancore.end()).size(), ancore.size()) << "an anchor stands twice";

    for (const QString& link : platform::helpLinks(html)) {
        if (link.startsWith(u'#')) {
            EXPECT_TRUE(ancore.contains(link.mid(1))) << link.toStdString();
        } else if (!link.startsWith(QLatin1String("http"))) {
            EXPECT_TRUE(QFileInfo(QFileInfo(file()).dir().filePath(link)).isFile()) << link.toStdString();
        }
    }
}

TEST_P(ManualTest, KeywordIndexFindsEveryWindowByItsTitle)
{
    const std::vector<platform::HelpIndexEntry> indice = platform::helpIndex(leggi(file()));
    ASSERT_GT(indice.size(), 100u);
    const QString lingua = ini();
    // Window title (section, key of the language file) and the topic it opens.
    const struct {
        const char* sezione;
        const char* chiave;
        const char* ancora;
    } finestre[] = {
        {"frmLocation", "localita", "context-30"},
        {"frmAddLocation", "nuovalocalita", "context-50"},
        {"frmTime", "datatempo", "context-70"},
        {"frmDatabase", "dbsatelliti", "context-80"},
        {"frmSatellite", "elementiorbitali", "context-90"},
        {"frmCalc", "calcoloeffemeridisatelliti", "context-110"},
        {"frmObject", "oggetto", "context-130"},
        {"frmVisibleSatellites", "previsionipassaggi", "context-150"},
        {"frmPlanets", "effemeridipianeti", "context-180"},
        {"frmTrack", "effemeridisatelliti", "context-190"},
        {"frmRiseSet", "almanacco", "context-200"},
        {"frmDownload", "trasferimentofile", "context-205"},
        {"frmSyncro", "sincronizzazioneorologio", "context-220"},
        {"frmWorldMap", "mappamondo", "world-map"},
        {"frmLocalSky", "mappalocale", "local-sky"},
        {"frmGeneralSky", "mappagenerale", "general-sky"},
        {"frmMagnitude", "magnitudinelimite", "magnitude"},
        {"frmSettings", "opzioni", "options"},
    };
    for (const auto& f : finestre) {
        const QString titolo = voce(lingua, QLatin1String(f.sezione), QLatin1String(f.chiave)).remove(u'&');
        ASSERT_FALSE(titolo.isEmpty()) << f.sezione;
        bool trovato = false;
        for (const platform::HelpIndexEntry& e : indice)
            trovato = trovato
                      || (e.keyword.compare(titolo, Qt::CaseInsensitive) == 0 && e.anchor == QLatin1String(f.ancora));
        EXPECT_TRUE(trovato) << GetParam().lingua << ": " << titolo.toStdString() << " -> " << f.ancora;
    }
    // The relative-motion dialog is found by its menu item's words.
    const QString moto = voce(lingua, QStringLiteral("MDIForm1"), QStringLiteral("mnuSatellitiMotoRelativo"))
                             .remove(u'&')
                             .remove(QStringLiteral("..."));
    bool trovato = false;
    for (const platform::HelpIndexEntry& e : indice)
        trovato = trovato || (e.keyword.compare(moto, Qt::CaseInsensitive) == 0 && e.anchor == u"context-100");
    EXPECT_TRUE(trovato) << moto.toStdString();
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ManualTest,
                         ::testing::Values(Manuale{"english"}, Manuale{"italiano"}),
                         [](const auto& info) { return std::string(info.param.lingua); });

TEST(HelpWindowTest, OpensAtTheTopicAndComesForwardAgainAtTheNextOne)
{
    platform::QtHelpService help(kSource);
    help.setHelpFile(QStringLiteral("help/english.html"));
    ASSERT_TRUE(help.showContext(70));
    platform::HelpWindow* w = platform::HelpWindow::instance(false);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->browser()->source().fragment(), "context-70");
    EXPECT_EQ(w->windowTitle(), "Astrovela manual");

    // Help again: the same window, at the new topic, with the way back.
    ASSERT_TRUE(help.showContext(205));
    EXPECT_EQ(platform::HelpWindow::instance(false), w);
    EXPECT_EQ(w->browser()->source().fragment(), "context-205");
    EXPECT_TRUE(w->browser()->isBackwardAvailable());
    w->browser()->backward();
    EXPECT_EQ(w->browser()->source().fragment(), "context-70");

    // The keyword search: the index filtered by the word, an entry opens its topic.
    ASSERT_TRUE(help.searchKeyword(QStringLiteral("almanac")));
    EXPECT_EQ(w->indexFilter()->text(), "almanac");
    ASSERT_GT(w->indexList()->count(), 0);
    for (int i = 0; i < w->indexList()->count(); ++i)
        EXPECT_TRUE(w->indexList()->item(i)->text().contains(QStringLiteral("almanac"), Qt::CaseInsensitive));
    emit w->indexList()->itemActivated(w->indexList()->item(0));
    EXPECT_EQ(w->browser()->source().fragment(), "context-200");

    // The Italian manual replaces the English one in the same window.
    help.setHelpFile(QStringLiteral("help/italiano.html"));
    ASSERT_TRUE(help.showContents());
    EXPECT_EQ(w->windowTitle(), "Manuale di Astrovela");
    EXPECT_TRUE(w->browser()->source().fragment().isEmpty());

    // A manual that is not there: no window change, the caller says so.
    help.setHelpFile(QStringLiteral("help/missing.html"));
    EXPECT_FALSE(help.showContext(70));
    w->close();
}
