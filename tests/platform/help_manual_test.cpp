// The manual shipped with the program: every topic a window asks for is there
// in both languages, every link and picture resolves, the keyword index finds
// every window by its title, and the help window opens at the asked topic.
#include "platform/help_service.h"
#include "platform/help_window.h"
#include "platform/keyboard_return.h"
#include "platform/prompt.h"

#include "support/x_input.h"

#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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

// The manual's index entry that opens this topic, or none.
QListWidgetItem* VoceDellIndice(platform::HelpWindow* w, const char* ancora)
{
    for (int i = 0; i < w->indexList()->count(); ++i)
        if (w->indexList()->item(i)->data(Qt::UserRole).toString() == QLatin1String(ancora))
            return w->indexList()->item(i);
    return nullptr;
}

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
        QListWidgetItem* contenuti = VoceDellIndice(w, "context-70");
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

namespace {

// The chain of owners above each window of the program ends: a window's
// parent or the window it stands over, as the window system walks it on
// every event to know whether a dialog that waits keeps it from the user. A
// loop there is walked for ever.
::testing::AssertionResult OgniCatenaFinisce()
{
    for (QWindow* finestra : QGuiApplication::allWindows()) {
        int passi = 0;
        for (QWindow* w = finestra; w; w = w->parent(QWindow::IncludeTransients))
            if (++passi > 64)
                return ::testing::AssertionFailure()
                    << "the owners above \"" << finestra->title().toStdString() << "\" go round in a loop";
    }
    return ::testing::AssertionSuccess();
}

// Ends the test's process, saying at which step, when the program stops
// answering for this long (the window system walking a loop for ever): the
// run on the display fails with that line instead of hanging until the
// runner kills it. Each step is named before it is taken.
class Guardia {
public:
    explicit Guardia(std::chrono::seconds limite)
        : m_filo([this, limite] {
              std::unique_lock<std::mutex> chiave(m_mutex);
              while (!m_fine) {
                  const int visto = m_passi;
                  if (!m_cv.wait_for(chiave, limite, [&] { return m_fine || m_passi != visto; })) {
                      std::fprintf(stderr, "\nthe program stopped answering at: %s\n", m_passo.c_str());
                      std::fflush(stderr);
                      std::_Exit(3);
                  }
              }
          })
    {
    }
    ~Guardia()
    {
        {
            std::lock_guard<std::mutex> chiave(m_mutex);
            m_fine = true;
        }
        m_cv.notify_all();
        m_filo.join();
    }
    void passo(std::string nome)
    {
        {
            std::lock_guard<std::mutex> chiave(m_mutex);
            m_passo = std::move(nome);
            ++m_passi;
        }
        m_cv.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::string m_passo = "the start";
    int m_passi = 0;
    bool m_fine = false;
    std::thread m_filo;
};

// A click on the manual's index entry for this topic: true once the topic
// shows.
bool ClicNellIndice(testsupport::InputX& x, platform::HelpWindow* w, const char* ancora)
{
    QListWidgetItem* voce = VoceDellIndice(w, ancora);
    if (!voce)
        return false;
    w->indexList()->scrollToItem(voce);
    x.clic(w->indexList()->viewport()->mapToGlobal(w->indexList()->visualItemRect(voce).center()));
    return QTest::qWaitFor([&] { return w->browser()->source().fragment() == QLatin1String(ancora); }, 3000);
}

// Whether a timer of no delay still fires within a second: the program
// goes on.
bool VaAvanti()
{
    bool scattato = false;
    QTimer::singleShot(0, [&] { scattato = true; });
    return QTest::qWaitFor([&] { return scattato; }, 1000);
}

} // namespace

// A message that comes up while the user is in the manual (the clock's
// "This satellite has decayed", a download's time-out, a question after the
// OK of a dialog the manual was asked from) belongs to the window it came
// from, never to the manual: the manual stands beside it, and closed with
// Escape, with its close box or with Alt+F4, it goes alone; the program goes
// on, the message waits for its answer and gives it. Afterwards the manual
// still works beside a dialog. Run by itself on a display of its own,
// without a window manager (where Escape is the only way to close it) and
// with openbox.
TEST(HelpWindowTest, AMessageThatComesUpOverTheManualOutlivesIt)
{
    const QByteArray modo = qgetenv("ASTROVELA_MESSAGGIO_SUL_MANUALE");
    if (modo.isEmpty()) {
        testsupport::Riesegui_Per_Ogni("ASTROVELA_MESSAGGIO_SUL_MANUALE", {"senza"});
        testsupport::Riesegui_Per_Ogni("ASTROVELA_MESSAGGIO_SUL_MANUALE", {"openbox"},
                                       testsupport::Gestore::Openbox);
        return;
    }
    const bool gestore = modo == "openbox" || qgetenv("ASTROVELA_X_OPENBOX") == "1";
    using testsupport::InputX;
    InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    platform::Installa_Ritorno_Tastiera();
    platform::QtHelpService help(kSource);
    help.setHelpFile(QStringLiteral("help/english.html"));
    platform::QtPrompt messaggi;
    Guardia guardia(std::chrono::seconds(20));

    QMainWindow principale;
    principale.setWindowTitle(QStringLiteral("Main window"));
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(principale, {600, 400}));

    // The manual in front, with the keyboard; its entry for a topic.
    const auto manualeDavanti = [&](platform::HelpWindow*& w) {
        w = platform::HelpWindow::instance(false);
        ASSERT_NE(w, nullptr);
        w->move(620, 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 5000)) << "the manual has not the keyboard";
        QTest::qWait(200);
    };
    // With the message up: the user goes back into the manual with a click
    // on its index (or not, to close it from the window manager at once),
    // and closes it this way; the message stays, the keys go back to it,
    // and its No is the answer.
    const auto chiudiAccanto = [&](platform::HelpWindow* w, QWidget* proprietaria, const std::string& come,
                                   bool clic) {
        guardia.passo("the message comes up (" + come + ")");
        ASSERT_TRUE(QTest::qWaitFor(
            [] {
                auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                return m && m->windowHandle() && m->windowHandle()->isExposed();
            },
            5000))
            << "no message came up";
        QPointer<QMessageBox> scatola = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        EXPECT_TRUE(OgniCatenaFinisce());
        EXPECT_EQ(scatola->parentWidget(), proprietaria) << "the message belongs to "
            << (scatola->parentWidget() ? scatola->parentWidget()->windowTitle().toStdString() : "no window");
        QTest::qWait(200);

        if (clic) {
            guardia.passo("a click into the manual's index (" + come + ")");
            EXPECT_TRUE(ClicNellIndice(x, w, "context-70"))
                << "a click on the manual's index did nothing beside the message";
            EXPECT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 3000))
                << "the manual has not the keyboard";
            EXPECT_TRUE(OgniCatenaFinisce());
            QTest::qWait(200);
        }

        guardia.passo("the manual closed with " + come);
        if (come == "Escape")
            x.premi(InputX::kEscape);
        else if (come == "Alt+F4")
            x.premi(0xffc1 /* F4 */, InputX::kAlt);
        else
            x.chiudiDaFuori(w->winId());
        EXPECT_TRUE(QTest::qWaitFor([] { return !platform::HelpWindow::instance(false); }, 3000))
            << come << " did not close the manual";
        guardia.passo("a timer after the manual closed with " + come);
        EXPECT_TRUE(VaAvanti()) << "the program stopped after " << come;
        EXPECT_TRUE(OgniCatenaFinisce());

        guardia.passo("the message answered after " + come);
        ASSERT_FALSE(scatola.isNull()) << "the message went with the manual";
        EXPECT_TRUE(scatola->isVisible()) << "the message went with the manual";
        EXPECT_TRUE(QTest::qWaitFor([&] { return scatola && scatola->isActiveWindow(); }, 3000))
            << "the message has not the keyboard again";
        ASSERT_FALSE(scatola.isNull());
        QAbstractButton* no = scatola->button(QMessageBox::No);
        ASSERT_NE(no, nullptr);
        x.clic(no->mapToGlobal(no->rect().center()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !scatola || !scatola->isVisible(); }, 3000))
            << "the message took no answer";
        if (scatola && scatola->isVisible())
            scatola->reject();
    };

    // A dialog that waits (the clock's setting), the manual asked for from
    // its Help: a message from the dialog (its time-out) while the user is
    // in the manual belongs to the dialog. With the manual closed and the
    // message answered, the manual asked for again still works beside the
    // dialog, and Escape in it gives the keys back to the dialog.
    guardia.passo("the dialog");
    QDialog dialogo;
    dialogo.setWindowTitle(QStringLiteral("Synchronise clock"));
    auto* campo = new QLineEdit(&dialogo);
    (new QVBoxLayout(&dialogo))->addWidget(campo);
    dialogo.resize(300, 120);
    dialogo.move(100, 100);
    bool fatto = false;
    QTimer::singleShot(0, [&] {
        const auto passi = [&] {
            ASSERT_TRUE(QTest::qWaitFor([&] { return dialogo.isActiveWindow(); }, 5000));
            ASSERT_TRUE(help.showContext(205, &dialogo));
            platform::HelpWindow* w = nullptr;
            manualeDavanti(w);
            if (::testing::Test::HasFatalFailure())
                return;
            // Closed from the window manager at once where there is one
            // (the message has the keys).
            QTimer::singleShot(0, [&, w] {
                chiudiAccanto(w, &dialogo, gestore ? "its close box" : "Escape", !gestore);
            });
            EXPECT_EQ(messaggi.MsgBox(QStringLiteral("The server did not answer."), platform::vbYesNo), platform::vbNo)
                << "the message did not keep its answer";
            EXPECT_TRUE(dialogo.isVisible()) << "the dialog went with the manual";

            guardia.passo("the manual beside the dialog afterwards");
            ASSERT_TRUE(QTest::qWaitFor([&] { return dialogo.isActiveWindow(); }, 3000))
                << "the dialog has not the keyboard after its message";
            ASSERT_TRUE(help.showContext(205, &dialogo));
            manualeDavanti(w);
            if (::testing::Test::HasFatalFailure())
                return;
            EXPECT_TRUE(ClicNellIndice(x, w, "context-70"))
                << "a click on the manual's index did nothing beside the dialog";
            EXPECT_TRUE(w->isActiveWindow());
            x.premi(InputX::kEscape);
            EXPECT_TRUE(QTest::qWaitFor([] { return !platform::HelpWindow::instance(false); }, 3000));
            EXPECT_TRUE(QTest::qWaitFor([&] { return dialogo.isActiveWindow(); }, 3000))
                << "the dialog has not the keyboard again";
            QTest::qWait(200);
            x.premi('x');
            EXPECT_TRUE(QTest::qWaitFor([&] { return campo->text() == u"x"; }, 3000)) << "a key did not reach the dialog";
        };
        passi();
        fatto = true;
        dialogo.reject();
    });
    dialogo.exec();
    EXPECT_TRUE(fatto);

    // A message from the main window (the clock's, at its tick) while the
    // user is in the manual, answered: the keys go back to the manual.
    {
        guardia.passo("a message answered beside the manual");
        principale.activateWindow();
        ASSERT_TRUE(help.showContents(&principale));
        platform::HelpWindow* w = nullptr;
        manualeDavanti(w);
        if (::testing::Test::HasFatalFailure())
            return;
        QTimer::singleShot(0, [&] {
            QMessageBox* scatola = nullptr;
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    scatola = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    return scatola && scatola->isActiveWindow();
                },
                5000))
                << "no message came up with the keyboard";
            QTest::qWait(200);
            QAbstractButton* ok = scatola->button(QMessageBox::Ok);
            x.clic(ok->mapToGlobal(ok->rect().center()));
        });
        EXPECT_EQ(messaggi.MsgBox(QStringLiteral("The working list could not be saved."),
                                  platform::vbOKOnly | platform::vbExclamation),
                  platform::vbOK);
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 3000))
            << "the manual has not the keyboard again after the message";
        QTest::qWait(200);
        x.premi(InputX::kEscape);
        EXPECT_TRUE(QTest::qWaitFor([] { return !platform::HelpWindow::instance(false); }, 3000))
            << "Escape did not reach the manual after the message";
    }

    // The same message while the user is in the manual, which is then
    // closed each way there is.
    std::vector<std::string> modi = {"Escape"};
    if (gestore)
        modi.insert(modi.begin(), {"its close box", "Alt+F4"});
    for (const std::string& come : modi) {
        SCOPED_TRACE(come);
        guardia.passo("the manual opened (" + come + ")");
        principale.activateWindow();
        ASSERT_TRUE(help.showContents(&principale));
        platform::HelpWindow* w = nullptr;
        manualeDavanti(w);
        if (::testing::Test::HasFatalFailure())
            return;
        QTimer::singleShot(0, [&] { chiudiAccanto(w, &principale, come, true); });
        EXPECT_EQ(messaggi.MsgBox(QStringLiteral("This satellite has decayed."), platform::vbYesNo | platform::vbQuestion),
                  platform::vbNo)
            << "the message did not keep its answer";
        guardia.passo("after the message (" + come + ")");
        EXPECT_TRUE(VaAvanti());
        if (platform::HelpWindow* m = platform::HelpWindow::instance(false))
            delete m;
    }
    guardia.passo("the end");
    if (platform::HelpWindow* m = platform::HelpWindow::instance(false))
        delete m;
}

// A dialog of the manual's own (one asked with the window the user is in
// as its owner while that is the manual): the manual never stands over it,
// which would make each the other's owner, and closed meanwhile it leaves
// the screen but not the memory the dialog lives in; the dialog keeps its
// answer, and the manual comes back at the next request for help.
TEST(HelpWindowTest, ADialogOfTheManualsOwnKeepsItUntilItHasItsAnswer)
{
    Guardia guardia(std::chrono::seconds(20));
    // Not the manual an earlier case closed, still to be destroyed.
    delete platform::HelpWindow::instance(false);
    platform::QtHelpService help(kSource);
    help.setHelpFile(QStringLiteral("help/english.html"));
    ASSERT_TRUE(help.showContents());
    QPointer<platform::HelpWindow> w = platform::HelpWindow::instance(false);
    ASSERT_TRUE(w);
    {
        // Asked as a message is, on the stack of the code that asks.
        QDialog dialogo(w);
        dialogo.setWindowTitle(QStringLiteral("Print"));
        bool fatto = false;
        QTimer::singleShot(0, [&] {
            guardia.passo("the dialog of the manual's own is up");
            ASSERT_TRUE(QTest::qWaitFor([&] { return dialogo.isVisible(); }, 3000));
            QTest::qWait(100);
            EXPECT_TRUE(OgniCatenaFinisce());
            guardia.passo("the manual closed while its dialog waits");
            w->close();
            EXPECT_TRUE(VaAvanti());
            ASSERT_FALSE(w.isNull()) << "the manual went with its dialog waiting";
            EXPECT_FALSE(w->isVisible()) << "the manual did not leave the screen";
            EXPECT_TRUE(dialogo.isVisible());
            fatto = true;
            dialogo.accept();
        });
        EXPECT_EQ(dialogo.exec(), QDialog::Accepted);
        EXPECT_TRUE(fatto);
    }
    guardia.passo("after the dialog");
    EXPECT_TRUE(VaAvanti());
    // Help again: the same manual, on the screen.
    ASSERT_TRUE(help.showContext(70));
    EXPECT_EQ(platform::HelpWindow::instance(false), w.data());
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->browser()->source().fragment(), "context-70");
    // Closed with nothing of its own waiting, it goes.
    w->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.isNull(); }, 3000));
}
