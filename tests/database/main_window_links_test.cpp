// The main window's commands reach the database window, the element-file
// view and the calendar, inside the main window's workspace.
#include "database_fixture.h"

#include "database/element_set_viewer.h"
#include "database/menu_links.h"
#include "common/calendar.h"
#include "listings/ephemeris_dialog.h"
#include "listings/listing_window.h"
#include "listings/relative_dialog.h"
#include "passes/pass_window.h"
#include "controls/graph_button.h"
#include "common/progress_window.h"
#include "common/window_links.h"
#include "platform/prompt.h"
#include "shell/main_window.h"
#include "support/named_pipe.h"
#include "support/x_input.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QListWidget>
#include <QMdiArea>
#include <QMessageBox>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QToolButton>
#include <QTimer>
#include <QTreeWidget>

namespace {

using dbtest::DatabaseWindow;
using dbtest::kSample;

QWidget* figlio(MDIForm1& w, const char* nome)
{
    for (QMdiSubWindow* s : w.mdiArea()->subWindowList())
        if (s->widget() && s->widget()->objectName() == QLatin1String(nome))
            return s->widget();
    return nullptr;
}

TEST_F(DatabaseWindow, MainWindowCommandsOpenTheWindows)
{
    MDIForm1 w;
    database::Collega_Finestre(w);
    listings::Collega_Elenchi(w);
    w.resize(1200, 820);
    w.show();
    for (const char* n : {"25544", "22674", "23177", "21897", "00005"})
        elenca({dbtest::set(n)});
    gstrDatabasePrimario = kSample;

    ASSERT_TRUE(w.menuItem("mnuSatellitiDatabase")->isEnabled());
    w.menuItem("mnuSatellitiDatabase")->trigger();
    auto* db = qobject_cast<frmDatabase*>(figlio(w, "frmDatabase"));
    ASSERT_NE(db, nullptr);
    EXPECT_TRUE(db->isVisible());
    EXPECT_EQ(db->righe(0), 34);
    EXPECT_EQ(db->lstActive->count(), 5);
    // The working list was matched: five of five, no message about a
    // missing principal.
    EXPECT_EQ(fakes.prompt.texts(),
              QStringList{"The database holds 5 of the 5 satellites of the working list."});

    // The open command loads the chosen file as the secondary database too.
    fakes.files.fileAnswers = {kSample};
    db->cmdDatabase_Click(1);
    EXPECT_EQ(db->righe(1), 34);

    // The close box hides the window; the command shows it again as it was.
    db->parentWidget()->close();
    EXPECT_FALSE(db->isVisible());
    w.menuItem("mnuSatellitiDatabase")->trigger();
    EXPECT_EQ(figlio(w, "frmDatabase"), db);
    EXPECT_TRUE(db->isVisible());
    // Escape hides it as well, and the keyboard leaves it: keys pressed
    // next do not reach its hidden controls (Down on the sort order).
    QApplication::setActiveWindow(&w);
    QWidget* cornice = db->parentWidget();
    auto dentro = [cornice](QWidget* f) { return f && (f == cornice || cornice->isAncestorOf(f)); };
    db->cmbOrdina[0]->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(dentro(QApplication::focusWidget()));
    const int ordine = db->cmbOrdina[0]->currentIndex();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(db->isVisible());
    QWidget* fuoco = QApplication::focusWidget();
    EXPECT_FALSE(dentro(fuoco)) << fuoco->objectName().toStdString();
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(w.windowHandle(), Qt::Key_Down); // as the window system gives them
    EXPECT_FALSE(db->isVisible());
    EXPECT_EQ(db->cmbOrdina[0]->currentIndex(), ordine);
    w.menuItem("mnuSatellitiDatabase")->trigger();
    EXPECT_TRUE(db->isVisible());

    // Escape closes the calendar, as it closes the other tool windows, with
    // the focus on its month view or on its frame (after a click on the
    // strip above the month); the keyboard goes back to the window behind.
    // Escape in the month view's year field only leaves the field.
    for (const bool cornice : {false, true}) {
        w.menuItem("mnuStrumentiCalendario")->trigger();
        auto* cal = qobject_cast<frmCalendar*>(figlio(w, "frmCalendar"));
        ASSERT_NE(cal, nullptr);
        QPointer<QWidget> telaio = cal->parentWidget();
        if (!cornice) {
            auto* anno = cal->MonthView1->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
            ASSERT_NE(anno, nullptr);
            const int mostrato = cal->MonthView1->yearShown();
            QTest::mouseClick(anno, Qt::LeftButton);
            ASSERT_TRUE(cal->MonthView1->isAncestorOf(QApplication::focusWidget()));
            QTest::keyClick(w.windowHandle(), Qt::Key_Up);
            QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
            ASSERT_FALSE(telaio.isNull());
            EXPECT_TRUE(telaio->isVisible());
            EXPECT_EQ(cal->MonthView1->yearShown(), mostrato);
        }
        (cornice ? telaio.data() : static_cast<QWidget*>(cal->MonthView1))->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(telaio.isNull());
        EXPECT_EQ(figlio(w, "frmCalendar"), nullptr);
        EXPECT_TRUE(dentro(QApplication::focusWidget()));
    }
    w.menuItem("mnuStrumentiCalendario")->trigger();
    EXPECT_NE(figlio(w, "frmCalendar"), nullptr);

    // The orbital-elements command shows the viewer modally on the principal.
    ASSERT_TRUE(w.menuItem("mnuSatellitiElementiOrbitali")->isEnabled());
    int mostrato = -1;
    QTimer::singleShot(0, [&mostrato] {
        if (auto* v = qobject_cast<frmSatellite*>(QApplication::activeModalWidget())) {
            mostrato = v->slot();
            v->close();
        }
    });
    w.menuItem("mnuSatellitiElementiOrbitali")->trigger();
    EXPECT_EQ(mostrato, 1);

    fakes.files.fileAnswers = {kSample};
    const auto chiamate = fakes.files.calls.size();
    w.menuItem("mnuFileVisualizza")->trigger();
    // The dialog starts at the principal element file.
    ASSERT_EQ(fakes.files.calls.size(), chiamate + 1);
    EXPECT_FALSE(gstrDatabasePrimario.isEmpty());
    EXPECT_EQ(fakes.files.calls.last().request.fileName, gstrDatabasePrimario);
    auto* vista = qobject_cast<frmDetails*>(figlio(w, "frmDetails"));
    ASSERT_NE(vista, nullptr);
    EXPECT_EQ(vista->ListView1->topLevelItemCount(), 34);

    if (const QByteArray out = qgetenv("ASTROVELA_SCREENSHOT"); !out.isEmpty()) {
        figlio(w, "frmCalendar")->parentWidget()->close();
        vista->parentWidget()->close();
        db->parentWidget()->resize(980, 640);
        db->parentWidget()->move(10, 10);
        db->cmbOrdina[0]->setCurrentIndex(core::OrdinePeriodo);
        db->seleziona(0, {2, 3});
        db->lstActive->setCurrentRow(1);
        for (int i = 0; i < 25; ++i) {
            QApplication::processEvents();
            QThread::msleep(20);
        }
        EXPECT_TRUE(w.grab().save(QString::fromLocal8Bit(out)));
    }
    w.closeChildren();
}

// The windows that open through the principal file's questions (and the
// pass window, which asks it for its first tab), each on a display with no
// window manager (xcb): the messages are real boxes answered by a click on
// their OK, and the keys that follow are the user's own, pressed on the X
// display; they must reach the window shown in front.
void tastiDopoIMessaggi(MDIForm1& w, const std::string& finestra)
{
    testsupport::InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    // The user has just used the main window's menu: it holds the keyboard.
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(w, {1100, 800}));

    // Each box, once it shows, is answered with a click on its OK.
    testsupport::RispostaConUnClic rispondi(x);
    QStringList& messaggi = rispondi.messaggi;
    const auto comando = finestra == "frmCalc"               ? "mnuSatellitiCalcoloEffemeridi"
                         : finestra == "frmRelative"         ? "mnuSatellitiMotoRelativo"
                         : finestra == "frmVisibleSatellites" ? "mnuSatellitiPrevisioniPassaggi"
                                                             : "mnuSatellitiDatabase";
    w.menuItem(comando)->trigger();
    if (finestra == "frmVisibleSatellites") {
        // Its first tab, every satellite of the principal file: OK asks for
        // the file, loads it and searches (a last message when no pass is
        // found).
        frmVisibleSatellites* passaggi = frmVisibleSatellites::instance(false);
        ASSERT_NE(passaggi, nullptr);
        passaggi->SSTab1->setCurrentIndex(0);
        QTest::qWait(200);
        x.clic(passaggi->cmdOK[0]->mapToGlobal(passaggi->cmdOK[0]->rect().center()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return messaggi.size() >= 2; }, 10000)) << messaggi.join(" | ").toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !frmProgress::instance(false) && !QApplication::activeModalWidget(); },
                                    60000));
        if (messaggi.size() > 2) {
            EXPECT_EQ(messaggi.value(2).toStdString(), "No pass found in the chosen span.");
        }
        messaggi = messaggi.mid(0, 2);
    }
    QTest::qWait(300); // as long as a user takes to reach for a key
    const QStringList attesi = {"This function needs the principal element file. Load it now?",
                                "The database holds 5 of the 5 satellites of the working list."};
    EXPECT_EQ(messaggi.join(" | ").toStdString(),
              (finestra == "frmDatabase" ? attesi.mid(1) : attesi).join(" | ").toStdString());
    QWidget* davanti = figlio(w, finestra.c_str());
    ASSERT_NE(davanti, nullptr);
    ASSERT_TRUE(davanti->isVisible());
    EXPECT_EQ(w.mdiArea()->activeSubWindow(), davanti->parentWidget());

    // Right: the next tab of the first tab strip. Enter (the relative-motion
    // dialog): its OK, which says that A and B are the same satellite.
    // Escape: the window goes.
    QPointer<QWidget> finestraDavanti = davanti;
    if (auto* calc = qobject_cast<frmCalc*>(davanti)) {
        x.premi(testsupport::InputX::kDestra);
        EXPECT_TRUE(QTest::qWaitFor([&] { return calc->SSTab1->currentIndex() == 1; }, 2000));
    } else if (auto* rel = qobject_cast<frmRelative*>(davanti)) {
        messaggi.clear();
        x.premi(testsupport::InputX::kInvio);
        EXPECT_TRUE(QTest::qWaitFor([&] { return messaggi.size() == 1; }, 2000));
        EXPECT_EQ(messaggi.value(0).toStdString(), "Satellites A and B are the same satellite: choose two different ones.");
        QTest::qWait(300);
        ASSERT_TRUE(rel->isVisible());
        x.premi(testsupport::InputX::kDestra);
        EXPECT_TRUE(QTest::qWaitFor([&] { return rel->SSTab1[0]->currentIndex() == 1; }, 2000));
    } else if (auto* db = qobject_cast<frmDatabase*>(davanti)) {
        x.premi(testsupport::InputX::kDestra);
        EXPECT_TRUE(QTest::qWaitFor([&] { return db->SSTab1->currentIndex() == 1; }, 2000));
    }
    rispondi.ferma();
    x.premi(testsupport::InputX::kEscape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !finestraDavanti || !finestraDavanti->isVisible(); }, 2000));
    w.closeChildren();
}

} // namespace

TEST_F(DatabaseWindow, WithoutAWindowManagerTheWindowOpenedThroughTheMessagesTakesTheKeys)
{
    // Run again by itself on a display of its own with no window manager, once
    // per window; there it drives the windows.
    const QByteArray finestra = qgetenv("ASTROVELA_TASTI_SENZA_WM");
    if (!finestra.isEmpty()) {
        platform::QtPrompt scatole;
        platform::Services vere = fakes.services();
        vere.prompt = &scatole;
        platform::ScopedServices scope2(vere);
        MDIForm1 w;
        database::Collega_Finestre(w);
        listings::Collega_Elenchi(w);
        passes::Collega_Previsioni(w);
        // The pass window's filters as the settings give them by default.
        gblnFiltroAM[0] = gblnFiltroPM[0] = gblnInTransito = true;
        gdblAltezzaMin[0] = 10;
        gdblAzimuthMin[0] = 0;
        gdblAzimuthMax[0] = 360;
        for (const char* n : {"25544", "22674", "23177", "21897", "00005"})
            elenca({dbtest::set(n)});
        gstrDatabasePrimario = kSample;
        tastiDopoIMessaggi(w, finestra.toStdString());
        return;
    }
    testsupport::Riesegui_Per_Ogni("ASTROVELA_TASTI_SENZA_WM",
                                   {"frmCalc", "frmRelative", "frmDatabase", "frmVisibleSatellites"});
}

TEST_F(DatabaseWindow, FileOpenOfABadPrincipalFileWithNoneBeforeLeavesNone)
{
    // File > Open with no principal file yet: a file that fails to load does
    // not stay the principal file, so the commands that need the database
    // ask for a file instead of trying the bad one again.
    MDIForm1 w;
    database::Collega_Finestre(w);
    w.show();
    const QString bad = scrivi("NAME\r\n1 only the first line\r\n");
    fakes.files.fileAnswers = {bad};
    w.menuItem("mnuFileApri")->trigger();
    EXPECT_TRUE(gstrDatabasePrimario.isEmpty()) << gstrDatabasePrimario.toStdString();
    EXPECT_EQ(frmDatabase::instance()->righe(0), 0);
    // The database command asks again (the fake answers Cancel).
    fakes.files.calls.clear();
    fakes.prompt.calls.clear();
    w.menuItem("mnuSatellitiDatabase")->trigger();
    ASSERT_EQ(fakes.files.calls.size(), 1);
    EXPECT_TRUE(fakes.files.calls[0].request.fileName.isEmpty());
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
}

TEST_F(DatabaseWindow, ANamedPipeInPlaceOfAnElementFileIsRefusedAtOnceAndNamed)
{
    // A named pipe typed into the file dialog of File > Open, View, Edit or
    // Tools > Format file, or stored as the principal file: each command
    // says at once that it is not an ordinary file, naming it; no window
    // opens, nothing waits for a writer, and the loaded database stays.
    MDIForm1 w;
    database::Collega_Finestre(w);
    listings::Collega_Elenchi(w);
    files::Collega_File(w);
    w.show();
    elenca({dbtest::set("25544")});
    gstrDatabasePrimario = kSample;
    w.menuItem("mnuSatellitiDatabase")->trigger();
    frmDatabase* db = frmDatabase::instance();
    ASSERT_EQ(db->righe(0), 34);
    const auto finestre = w.mdiArea()->subWindowList().size();

    NamedPipe pipe(m_dir.filePath("visual.txt"));
    ASSERT_TRUE(pipe.made());
    const QString motivo = QDir::toNativeSeparators(pipe.path())
        + " is not an ordinary file (it is a named pipe, a device or a folder): it has not been read.";
    for (const char* comando : {"mnuFileApri", "mnuFileVisualizza", "mnuFileModifica", "mnuStrumentiFormattazione"}) {
        SCOPED_TRACE(comando);
        fakes.prompt.calls.clear();
        fakes.files.fileAnswers = {pipe.path()};
        w.menuItem(comando)->trigger();
        ASSERT_FALSE(fakes.prompt.calls.isEmpty());
        EXPECT_EQ(fakes.prompt.calls.last().text, motivo);
        EXPECT_EQ(fakes.prompt.calls.last().flags, platform::vbExclamation);
        EXPECT_EQ(w.mdiArea()->subWindowList().size(), finestre);
        EXPECT_EQ(db->righe(0), 34);
        EXPECT_EQ(gstrDatabasePrimario, kSample);
    }

    // Stored as the principal file: the load says why, the open dialog comes
    // again (cancelled), the database and the working list stay.
    fakes.prompt.calls.clear();
    fakes.files.calls.clear();
    QString percorso = pipe.path();
    EXPECT_FALSE(db->Database_satelliti(percorso));
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, motivo + "\rPlease choose another element file.");
    EXPECT_EQ(fakes.files.calls.size(), 1);
    EXPECT_EQ(db->righe(0), 34);
    EXPECT_EQ(gstrDatabasePrimario, kSample);
    EXPECT_EQ(gintNumSatelliti, 1);
    EXPECT_FALSE(pipe.waited());
    w.closeChildren();
}
