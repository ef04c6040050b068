// The manual shipped with the program: every topic a window asks for is there
// in both languages, every link and picture resolves, the keyword index finds
// every window by its title, and the help window opens at the asked topic.
#include "platform/help_service.h"
#include "platform/help_window.h"
#include "platform/keyboard_return.h"

#include "support/x_input.h"

#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

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

// The manual beside a dialog that waits for its answer (the download, clock
// and new-place dialogs, the orbital elements, the object box), although the
// dialog keeps every other window of the program from the mouse and the keys.
// Open already, beside the main window, when the dialog comes up: a click on
// the index, a click in the page and Page Down work in it, and Escape closes
// it and gives the keys back to the dialog. Asked for from the dialog's Help:
// it takes the keys at once, and Escape gives them back again. The keyboard
// goes back through the rule the whole program follows, installed here as the
// program installs it. Run again by itself on a display of its own, without
// a window manager and with openbox.
TEST(HelpWindowTest, BesideADialogThatWaitsItTakesTheKeysAndGivesThemBackToTheDialog)
{
    const QByteArray modo = qgetenv("ASTROVELA_AIUTO_DA_DIALOGO");
    if (modo.isEmpty()) {
        testsupport::Riesegui_Per_Ogni("ASTROVELA_AIUTO_DA_DIALOGO", {"senza"});
        testsupport::Riesegui_Per_Ogni("ASTROVELA_AIUTO_DA_DIALOGO", {"openbox"}, testsupport::Gestore::Openbox);
        return;
    }
    using testsupport::InputX;
    InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    platform::Installa_Ritorno_Tastiera();
    platform::QtHelpService help(kSource);
    help.setHelpFile(QStringLiteral("help/english.html"));

    // The main window, and the manual opened from it.
    QWidget principale;
    principale.setWindowTitle(QStringLiteral("Main window"));
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(principale, {600, 400}));
    ASSERT_TRUE(help.showContents(&principale));
    platform::HelpWindow* w = platform::HelpWindow::instance(false);
    ASSERT_NE(w, nullptr);
    w->move(620, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 5000));
    principale.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&principale));

    // A dialog that waits for its answer, with a Help button and a box to type in.
    QDialog dialogo(&principale);
    dialogo.setWindowTitle(QStringLiteral("Download"));
    auto* campo = new QLineEdit(&dialogo);
    auto* aiuto = new QPushButton(QStringLiteral("Help"), &dialogo);
    aiuto->setFocusPolicy(Qt::NoFocus);
    auto* colonna = new QVBoxLayout(&dialogo);
    colonna->addWidget(campo);
    colonna->addWidget(aiuto);
    QObject::connect(aiuto, &QPushButton::clicked, &dialogo, [&] { help.showContext(205, &dialogo); });
    dialogo.resize(300, 120);
    dialogo.move(100, 100);
    // What the user does while the dialog waits.
    const auto passi = [&] {
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialogo.windowHandle() && dialogo.windowHandle()->isExposed(); }, 5000));
        dialogo.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialogo.isActiveWindow(); }, 5000));
        QTest::qWait(200);

        // The manual opened before the dialog, in front of it: a click on an
        // index entry shows its topic and takes the keys; a click in the
        // page and Page Down scroll it.
        const auto voceDi = [&](const char* ancora) {
            for (int i = 0; i < w->indexList()->count(); ++i)
                if (w->indexList()->item(i)->data(Qt::UserRole).toString() == QLatin1String(ancora))
                    return w->indexList()->item(i);
            return static_cast<QListWidgetItem*>(nullptr);
        };
        QListWidgetItem* contenuti = voceDi("context-70");
        ASSERT_NE(contenuti, nullptr);
        w->indexList()->scrollToItem(contenuti);
        QTest::qWait(200);
        x.clic(w->indexList()->viewport()->mapToGlobal(w->indexList()->visualItemRect(contenuti).center()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->browser()->source().fragment() == u"context-70"; }, 3000))
            << "a click on the index of the manual opened first did nothing";
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 3000)) << "the manual has not the keyboard";
        QWidget* foglio = w->browser()->viewport();
        x.clic(foglio->mapToGlobal(QPoint(2, foglio->height() / 2)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == w->browser(); }, 3000));
        const int inizio = w->browser()->verticalScrollBar()->value();
        x.premi(InputX::kPaginaGiu);
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->browser()->verticalScrollBar()->value() > inizio; }, 3000))
            << "Page Down did not scroll the manual opened first";
        // Escape closes it, not the dialog, which has the keys again.
        x.premi(InputX::kEscape);
        EXPECT_TRUE(QTest::qWaitFor([] { return !platform::HelpWindow::instance(false); }, 3000))
            << "Escape did not close the manual opened first";
        ASSERT_TRUE(dialogo.isVisible()) << "Escape closed the dialog";
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialogo.isActiveWindow(); }, 3000))
            << "the dialog has not the keyboard again";
        QTest::qWait(200);
        x.premi('y');
        EXPECT_TRUE(QTest::qWaitFor([&] { return campo->text() == u"y"; }, 3000)) << "a key did not reach the dialog";
        campo->clear();

        // Help: the manual at the dialog's topic, with the keyboard.
        x.clic(aiuto->mapToGlobal(aiuto->rect().center()));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                w = platform::HelpWindow::instance(false);
                return w && w->browser()->source().fragment() == u"context-205";
            },
            5000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 5000)) << "the manual has not the keyboard";
        QTest::qWait(200);

        // A click on an index entry shows its topic.
        QListWidgetItem* voce = nullptr;
        for (int i = 0; i < w->indexList()->count() && !voce; ++i)
            if (w->indexList()->item(i)->data(Qt::UserRole).toString() == u"context-70")
                voce = w->indexList()->item(i);
        ASSERT_NE(voce, nullptr);
        w->indexList()->scrollToItem(voce);
        x.clic(w->indexList()->viewport()->mapToGlobal(w->indexList()->visualItemRect(voce).center()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->browser()->source().fragment() == u"context-70"; }, 3000))
            << "a click on the index did not change the topic: " << w->browser()->source().toString().toStdString();

        // A click in the page's margin, and Page Down scrolls it.
        QWidget* pagina = w->browser()->viewport();
        x.clic(pagina->mapToGlobal(QPoint(2, pagina->height() / 2)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == w->browser(); }, 3000));
        const int prima = w->browser()->verticalScrollBar()->value();
        x.premi(InputX::kPaginaGiu);
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->browser()->verticalScrollBar()->value() > prima; }, 3000))
            << "Page Down did not scroll the manual";

        // The search: a word typed into the index's box, Return shows its topic.
        x.clic(w->indexFilter()->mapToGlobal(w->indexFilter()->rect().center()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == w->indexFilter(); }, 3000));
        for (const char c : QByteArray("almanac"))
            x.premi(static_cast<unsigned char>(c));
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->indexFilter()->text() == u"almanac"; }, 3000))
            << "typed: " << w->indexFilter()->text().toStdString();
        x.premi(InputX::kInvio);
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->browser()->source().fragment() == u"context-200"; }, 3000));

        // Escape closes the manual; the dialog stays, and takes the keys again.
        x.premi(InputX::kEscape);
        EXPECT_TRUE(QTest::qWaitFor([] { return !platform::HelpWindow::instance(false); }, 3000))
            << "Escape did not close the manual";
        EXPECT_TRUE(dialogo.isVisible()) << "Escape closed the dialog";
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialogo.isActiveWindow(); }, 3000))
            << "the dialog has not the keyboard again";
        QTest::qWait(200);
        x.premi('x');
        EXPECT_TRUE(QTest::qWaitFor([&] { return campo->text() == u"x"; }, 3000)) << "a key did not reach the dialog";
        x.premi(InputX::kEscape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogo.isVisible(); }, 3000)) << "Escape did not reach the dialog";
    };
    bool fatto = false;
    QTimer::singleShot(0, [&] {
        passi();
        fatto = true;
        if (dialogo.isVisible())
            dialogo.reject();
    });
    dialogo.exec();
    EXPECT_TRUE(fatto);
    if (platform::HelpWindow* m = platform::HelpWindow::instance(false))
        delete m;
}
