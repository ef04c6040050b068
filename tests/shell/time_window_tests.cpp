// The time window, the language picker and the about box offscreen.
#include "controls/graph_button.h"
#include "core/clock.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/fakes.h"
#include "platform/vb.h"
#include "shell/about_box.h"
#include "shell/language_picker.h"
#include "shell/time_window.h"
#include "shell/main_window.h"

#include "support/date_field.h"
#include "support/x_input.h"
#include "support/fixed_time.h"
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <optional>

namespace {

const QString kEnglish = QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini");

using testsupport::FixedTime;

class TimeWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mLang::Usa_File_Lingua(kEnglish);
        vb::setDisplayLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        core::CentralClock::instance().setTimeSource(&time);
        core::CentralClock::instance().reset();
        gsngFusoOrario = 1;
        gbytOraLegale = 0;
        gsngLongitudine = 9.19f;
        pflgCentrale = true;
        pflgSatellite = false;
    }
    void TearDown() override
    {
        core::CentralClock::instance().setTimeSource(nullptr);
        core::CentralClock::instance().reset();
        mLang::Usa_File_Lingua({});
        vb::setDisplayLocale(QLocale::system());
        pflgCentrale = false;
    }
    static void tick() { core::CentralClock::instance().tmrCentrale_Timer(); }
    // The keyboard's way through the window, on an X display, in this language.
    void tabDallAlto(const QString& lingua);
    QString text(const char* key) { return mLang::Testo_Lingua("frmTime", key); }

    FixedTime time;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

} // namespace

TEST_F(TimeWindowTest, PlayStopAndTheComputerClock)
{
    MDIForm1 w;
    w.show();
    w.mnuOpzioniData_Click();
    frmTime* t = w.timeWindow();
    tick();
    EXPECT_TRUE(t->chkUsaOraPc->isChecked());
    EXPECT_EQ(t->lblStato->text(), text("temporeale"));
    EXPECT_FALSE(t->cmdPlay->isEnabled());
    EXPECT_FALSE(t->cmdStop->isEnabled());
    EXPECT_FALSE(t->DTPicker1->isEnabled());
    EXPECT_EQ(t->lblLOCALTIME->text(), "08:06:03");
    EXPECT_EQ(t->lblUTTIME->text(), "07:06:03");
    EXPECT_EQ(t->lblLOCALDATE->text(), "07 Dec 2026");
    EXPECT_EQ(t->lblUTCYear->text(), "341");

    // Unticking freezes the clock at the instant reached; the picker shows it.
    t->chkUsaOraPc->click();
    EXPECT_EQ(core::CentralClock::instance().mode(), core::ClockMode::SimulationStopped);
    EXPECT_EQ(t->DTPicker1->dateTime(), time.now);
    EXPECT_TRUE(t->cmdPlay->isEnabled());
    EXPECT_FALSE(t->cmdStop->isEnabled());
    EXPECT_EQ(t->lblStato->text(), text("arresto"));
    time.now = time.now.addSecs(30);
    tick();
    EXPECT_EQ(t->lblLOCALTIME->text(), "08:06:03");

    // A picked instant shows at once in this window only.
    t->DTPicker1->setDateTime(core::Data_Orologio(QDate(2026, 6, 21), QTime(12, 0, 0)));
    EXPECT_EQ(t->lblLOCALTIME->text(), "12:00:00");
    EXPECT_EQ(t->lblLOCALDATE->text(), "21 Jun 2026");

    // Play: the next tick shows the picked 12:00:00, the one after 12:00:01.
    t->cmdPlay->click();
    // A refresh asked by another window does not move the simulated clock.
    w.tmrCentrale_Timer();
    w.tmrCentrale_Timer();
    EXPECT_EQ(t->lblLOCALTIME->text(), "11:59:59");
    EXPECT_EQ(t->lblStato->text(), text("simulazione"));
    EXPECT_TRUE(t->cmdStop->isEnabled());
    EXPECT_FALSE(t->DTPicker1->isEnabled());
    tick();
    EXPECT_EQ(t->lblLOCALTIME->text(), "12:00:00");
    tick();
    EXPECT_EQ(t->lblLOCALTIME->text(), "12:00:01");
    // Stop, then Play again: the simulation resumes where it stopped.
    t->cmdStop->click();
    EXPECT_EQ(core::CentralClock::instance().mode(), core::ClockMode::SimulationStopped);
    EXPECT_TRUE(t->DTPicker1->isEnabled());
    EXPECT_EQ(t->DTPicker1->dateTime(), core::Data_Orologio(QDate(2026, 6, 21), QTime(12, 0, 1)));
    t->cmdPlay->click();
    tick();
    EXPECT_EQ(t->lblLOCALTIME->text(), "12:00:01");
    tick();
    EXPECT_EQ(t->lblLOCALTIME->text(), "12:00:02");
    // Stopped at 27 Nov 2013, the window made again (a change of language,
    // Close all) still holds that instant: Play goes on from it, not from
    // the computer's today.
    t->cmdStop->click();
    t->DTPicker1->setDateTime(core::Data_Orologio(QDate(2013, 11, 27), QTime(21, 0, 0)));
    w.closeChildren();
    w.mnuOpzioniData_Click();
    t = w.timeWindow(false);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->DTPicker1->dateTime(), core::Data_Orologio(QDate(2013, 11, 27), QTime(21, 0, 0)));
    t->cmdPlay->click();
    tick();
    EXPECT_EQ(t->lblLOCALDATE->text(), "27 Nov 2013");
    EXPECT_EQ(t->lblLOCALTIME->text(), "21:00:00");
    t->cmdStop->click();
    t->DTPicker1->setDateTime(core::Data_Orologio(QDate(2026, 6, 21), QTime(12, 0, 0)));
    t->cmdPlay->click();
    tick();

    // Closing only hides it; the clock mode survives a new window too (the
    // language picker and "close all" unload it).
    t->cmdOK->click();
    EXPECT_FALSE(t->parentWidget()->isVisible());
    w.mnuOpzioniData_Click();
    EXPECT_EQ(w.timeWindow(), t);
    EXPECT_EQ(t->lblStato->text(), text("simulazione"));
    w.closeChildren();
    EXPECT_EQ(w.timeWindow(false), nullptr);
    w.mnuOpzioniData_Click();
    frmTime* again = w.timeWindow(false);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->chkUsaOraPc->isChecked());
    EXPECT_TRUE(again->cmdStop->isEnabled());
    // Its "Simulation start" is the instant the running simulation started
    // from, not the computer's time, and stays so while the clock runs.
    const QDateTime inizio = core::Data_Orologio(QDate(2026, 6, 21), QTime(12, 0, 0));
    EXPECT_EQ(again->DTPicker1->dateTime(), inizio);
    tick();
    EXPECT_EQ(again->DTPicker1->dateTime(), inizio);
    EXPECT_EQ(again->lblLOCALTIME->text(), "12:00:01");

    // The main window's one-second timer is what moves it on.
    w.tmrCentrale()->start();
    QTest::qWait(1150);
    w.tmrCentrale()->stop();
    EXPECT_EQ(again->lblLOCALTIME->text(), "12:00:02");

    again->chkUsaOraPc->click();
    EXPECT_EQ(core::CentralClock::instance().mode(), core::ClockMode::RealTime);
}

// Play and Stop disable themselves when pressed: the keyboard goes on to OK,
// never to the next button, Synchronise, whose Enter would set the
// computer's clock from a time server. Then once more on an X display of its
// own, in either language, with the user's keys: opened from the Options
// menu, the window leads Tab through its controls from the top (the box for
// the computer's clock first, Synchronise, Help and OK last), in the
// computer's-clock state and in the stopped one; hidden with OK, it leaves
// the keyboard on the empty workspace, where Space and a letter open
// nothing, also after Alt+E, Escape, Escape.
TEST_F(TimeWindowTest, EnterAfterPlayOrStopReachesOKNotSynchronise)
{
    if (const QByteArray lingua = qgetenv("ASTROVELA_TAB_DATA"); !lingua.isEmpty()) {
        tabDallAlto(QString::fromLatin1(lingua));
        return;
    }
    int sincronizzazioni = 0;
    frmTime::setSincronizzazione([&sincronizzazioni] { ++sincronizzazioni; });
    MDIForm1 w;
    w.show();
    QApplication::setActiveWindow(&w);
    w.mnuOpzioniData_Click();
    frmTime* t = w.timeWindow();
    QWidget* cornice = t->parentWidget();
    ASSERT_TRUE(t->cmdSincronizza->isEnabled());
    QTest::mouseClick(t->chkUsaOraPc, Qt::LeftButton, {}, QPoint(8, t->chkUsaOraPc->height() / 2));
    ASSERT_EQ(core::CentralClock::instance().mode(), core::ClockMode::SimulationStopped);
    ASSERT_EQ(QApplication::focusWidget(), t->cmdPlay);

    // Space presses Play; Enter then presses OK, which hides the window.
    QTest::keyClick(w.windowHandle(), Qt::Key_Space);
    ASSERT_EQ(core::CentralClock::instance().mode(), core::ClockMode::SimulationRunning);
    EXPECT_EQ(QApplication::focusWidget(), t->cmdOK);
    QTest::keyClick(w.windowHandle(), Qt::Key_Return);
    EXPECT_FALSE(cornice->isVisible());

    // Stop pressed with Enter, then Enter again: the same.
    w.mnuOpzioniData_Click();
    ASSERT_TRUE(cornice->isVisible());
    t->cmdStop->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), t->cmdStop);
    QTest::keyClick(w.windowHandle(), Qt::Key_Return);
    ASSERT_EQ(core::CentralClock::instance().mode(), core::ClockMode::SimulationStopped);
    EXPECT_EQ(QApplication::focusWidget(), t->cmdOK);
    QTest::keyClick(w.windowHandle(), Qt::Key_Return);
    EXPECT_FALSE(cornice->isVisible());

    EXPECT_EQ(sincronizzazioni, 0);
    EXPECT_TRUE(fakes.clock.calls.isEmpty());
    frmTime::setSincronizzazione({});
    testsupport::Riesegui_Per_Ogni("ASTROVELA_TAB_DATA", {"english.ini", "italiano.ini"});
}

void TimeWindowTest::tabDallAlto(const QString& lingua)
{
    using testsupport::InputX;
    InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + lingua);
    // (This process ends with the test.)
    frmTime::setSincronizzazione([] { ADD_FAILURE() << "the clock was set from a time server"; });
    MDIForm1 w;
    w.Lingua();
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(w, QSize(900, 700)));
    QTest::qWait(300);

    const auto nome = [](const QWidget* f) {
        return f ? std::string(f->metaObject()->className()) + ' ' + f->objectName().toStdString() : std::string("none");
    };
    const auto premi = [&x](unsigned long tasto, int attesa = 1000) {
        QWidget* prima = QApplication::focusWidget();
        x.premi(tasto);
        // (A key that moves nothing leaves the focus where it was.)
        static_cast<void>(QTest::qWaitFor([&] { return QApplication::focusWidget() != prima; }, attesa));
        return QApplication::focusWidget();
    };
    const auto apri = [&] {
        x.premi(InputX::letteraDi(w.menu("mnuOpzioni")->title()), InputX::kAlt);
        if (!QTest::qWaitFor([&] { return QApplication::activePopupWidget() == w.menu("mnuOpzioni"); }, 5000))
            return false;
        x.premi(InputX::letteraDi(w.menuItem("mnuOpzioniData")->text()));
        const bool su = QTest::qWaitFor(
            [&] { return w.timeWindow(false) && w.timeWindow(false)->isVisible() && !QApplication::activePopupWidget(); },
            5000);
        QTest::qWait(200);
        return su;
    };
    frmTime* t = nullptr;
    const auto dallAlto = [&](const char* stato, std::initializer_list<QWidget*> attesi) {
        QWidget* f = QApplication::focusWidget();
        for (QWidget* atteso : attesi) {
            // Tab goes through the parts of the picker's date and time
            // first, as in any date field, then on.
            const bool nelPicker = f == t->DTPicker1 || t->DTPicker1->isAncestorOf(f);
            f = premi(InputX::kTab);
            for (int i = 0; nelPicker && i < 8 && (f == t->DTPicker1 || t->DTPicker1->isAncestorOf(f)); ++i)
                f = premi(InputX::kTab, 300);
            // The picker's own text field stands for it.
            if (f && atteso && atteso->isAncestorOf(f))
                f = atteso;
            if (f != atteso) {
                ADD_FAILURE() << lingua.toStdString() << ", " << stato << ": Tab reached " << nome(f)
                              << " instead of " << nome(atteso);
                return false;
            }
        }
        return true;
    };

    // The computer's clock: Play, Stop and the picker are disabled.
    ASSERT_TRUE(apri()) << "Options > Date did not open the window";
    t = w.timeWindow(false);
    ASSERT_TRUE(dallAlto("computer's clock", {t->chkUsaOraPc, t->cmdSincronizza, t->cmdHelp, t->cmdOK, t->chkUsaOraPc}));
    // Space unticks the box: the clock stops, and the keyboard goes to Play.
    x.premi(InputX::kSpazio);
    ASSERT_TRUE(QTest::qWaitFor([] { return core::CentralClock::instance().mode() == core::ClockMode::SimulationStopped; },
                                2000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == t->cmdPlay; }, 2000))
        << nome(QApplication::focusWidget());
    ASSERT_TRUE(dallAlto("stopped", {t->cmdSincronizza, t->cmdHelp, t->cmdOK}));
    x.premi(InputX::kInvio);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !t->isVisible(); }, 2000)) << "OK did not hide the window";

    // Opened again, stopped: the same way down, through the picker and Play.
    ASSERT_TRUE(apri());
    ASSERT_TRUE(dallAlto("stopped, opened again",
                         {t->chkUsaOraPc, t->DTPicker1, t->cmdPlay, t->cmdSincronizza, t->cmdHelp, t->cmdOK}));
    x.premi(InputX::kInvio);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !t->isVisible(); }, 2000)) << "OK did not hide the window";

    // No window on view: the keys rest on the workspace.
    QTest::qWait(300);
    EXPECT_EQ(QApplication::focusWidget(), w.mdiArea()) << nome(QApplication::focusWidget());
    const unsigned long file = InputX::letteraDi(w.menu("mnuFile")->title());
    x.premi(InputX::letteraDi(w.menu("mnuModifica")->title()), InputX::kAlt);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == w.menu("mnuModifica"); }, 5000))
        << "Alt and the Edit menu's letter opened no menu";
    for (unsigned long tasto : {InputX::kEscape, InputX::kEscape, file, InputX::kSpazio}) {
        x.premi(tasto);
        QTest::qWait(200);
    }
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr)
        << lingua.toStdString() << ": after Alt+E, Escape, Escape, a letter opened a menu";
    EXPECT_FALSE(t->isVisible());
    if (QWidget* aperto = QApplication::activePopupWidget())
        aperto->close();
}

// A click on a part of the picker, then digits: they replace that part, as
// in any date field of the desktop. Run with Qt's test events, then once more
// by itself on an X display of its own with no window manager, where the X
// server's pointer and keys act on the fonts of that display.
TEST_F(TimeWindowTest, DigitsTypedAfterAClickEditThePicker)
{
    const bool suX = qEnvironmentVariableIsSet("ASTROVELA_DATA_SU_X");
    std::optional<testsupport::ManoX> mano;
    if (suX) {
        mano.emplace();
        ASSERT_TRUE(mano->pronta()) << mano->errore().toStdString();
    }
    {
        MDIForm1 w;
        w.move(0, 0);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        w.mnuOpzioniData_Click();
        frmTime* t = w.timeWindow();
        tick();
        t->chkUsaOraPc->click();
        ASSERT_EQ(t->DTPicker1->dateTime(), time.now);
        // "07/12/2026  08:06:03": the day, then the minutes.
        testsupport::CliccaSezione(t->DTPicker1, 0);
        testsupport::Digita(t->DTPicker1, "09");
        EXPECT_EQ(t->DTPicker1->date().toString(Qt::ISODate).toStdString(), "2026-12-09");
        EXPECT_EQ(t->lblLOCALDATE->text().toStdString(), "09 Dec 2026");
        testsupport::CliccaSezione(t->DTPicker1, 15);
        testsupport::Digita(t->DTPicker1, "10");
        EXPECT_EQ(t->DTPicker1->time().toString(Qt::ISODate).toStdString(), "08:10:03");
        EXPECT_EQ(t->lblLOCALTIME->text().toStdString(), "08:10:03");
        EXPECT_EQ(gdatDataCorrente, core::Data_Orologio(QDate(2026, 12, 9), QTime(8, 10, 3)));

        // A click at the left edge of a part, coming from the right, selects
        // that part; one in the blanks before the hours the part it is
        // nearer, whichever part held the cursor.
        EXPECT_EQ(testsupport::ClicSuiBordiSinistri(t->DTPicker1).join(' ').toStdString(),
                  "09@0 12@3 2026@6 08@12 10@15 03@18");
        EXPECT_EQ(testsupport::ClicNelBianco(t->DTPicker1, 3).join("; ").toStdString(), "");
        // The seconds, then the blank before the hours on the side of the hours, and "19".
        testsupport::CliccaX(t->DTPicker1, testsupport::XPrima(t->DTPicker1, 19));
        testsupport::CliccaX(t->DTPicker1, testsupport::XAccanto(t->DTPicker1, 3));
        testsupport::Digita(t->DTPicker1, "19");
        EXPECT_EQ(t->DTPicker1->time().toString(Qt::ISODate).toStdString(), "19:10:03");
        EXPECT_EQ(t->lblLOCALTIME->text().toStdString(), "19:10:03");
    }
    if (!suX)
        testsupport::Riesegui_Per_Ogni("ASTROVELA_DATA_SU_X", {"1"});
}

TEST_F(TimeWindowTest, SiderealTimesWithPoints)
{
    EXPECT_EQ(frmTime::Testo_Siderale(7 + 5 / 60.0 + 9.5 / 3600.0), "07.05.09");
    EXPECT_EQ(frmTime::Testo_Siderale(23.999), "23.59.56");
    EXPECT_EQ(frmTime::Testo_Siderale(0), "00.00.00");
}

TEST(LanguagePicker, ListsTheLanguagesAndWritesTheChoice)
{
    platform::FakeServices fakes;
    platform::ScopedServices scope(fakes.services());
    QTemporaryDir dir;
    for (const char* name : {"Astrovela.ini", "english.ini", "ITALIANO.INI"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[frmLanguage]\r\nlingua=") + name + "\r\n[Buttons]\r\nok=OK\r\ncancel=Cancel\r\n");
    }
    mLang::Usa_File_Lingua({});
    mLang::Imposta_Cartella_Programma(dir.path());

    // No language yet: the first entry is chosen and this window speaks it.
    gstrFileLingua.clear();
    {
        frmLanguage picker(dir.path());
        ASSERT_EQ(picker.lstLingua->count(), 2);
        EXPECT_EQ(picker.lstLingua->item(0)->text(), "English");
        EXPECT_EQ(picker.lstLingua->item(1)->text(), "Italiano");
        EXPECT_EQ(picker.windowTitle(), "english.ini");
        EXPECT_TRUE(picker.cmdOK->isEnabled());
        picker.cmdCancel_Click();
        EXPECT_FALSE(fakes.settings.hasSection("Generali"));
    }

    // A language set in any case selects its entry; OK writes the entry's name.
    gstrFileLingua = "italiano.ini";
    {
        frmLanguage picker(dir.path());
        EXPECT_EQ(picker.lstLingua->currentRow(), 1);
        EXPECT_TRUE(picker.cmdOK->isEnabled());
        picker.lstLingua->setCurrentRow(0);
        picker.cmdOK_Click();
        EXPECT_EQ(fakes.settings.value("Generali", "Lingua"), QString("English.ini"));
        EXPECT_EQ(gstrFileLingua, "english.ini");
        EXPECT_EQ(mLang::Testo_Lingua("frmLanguage", "lingua"), "english.ini");
    }
    mLang::Imposta_Cartella_Programma({});
    gstrFileLingua.clear();
}

TEST_F(TimeWindowTest, ChangingLanguageFromTheMenuClosesWindowsAndRenamesTheMenus)
{
    MDIForm1 w;
    w.Lingua();
    w.show();
    w.mnuOpzioniData_Click();
    core::CentralClock::instance().Arresta();
    const QString before = w.menuItem("mnuFileEsci")->text();

    QTemporaryDir dir;
    for (const char* name : {"english.ini", "italiano.ini"})
        QFile::copy(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + name, dir.filePath(name));
    mLang::Usa_File_Lingua({});
    mLang::Imposta_Cartella_Programma(dir.path());
    gstrFileLingua = "english.ini";
    frmLanguage picker(dir.path(), &w);
    picker.lstLingua->setCurrentRow(1);
    picker.cmdOK_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.timeWindow(false), nullptr);
    EXPECT_NE(w.menuItem("mnuFileEsci")->text(), before);
    EXPECT_EQ(w.menuItem("mnuFileEsci")->text(), mLang::Testo_Lingua("MDIForm1", "mnuFileEsci"));
    EXPECT_EQ(core::CentralClock::instance().mode(), core::ClockMode::SimulationStopped);

    // A language file that gives no texts: named, and the menus keep the
    // program's own English texts instead of going blank.
    QFile vuoto(dir.filePath("klingon.ini"));
    ASSERT_TRUE(vuoto.open(QIODevice::WriteOnly));
    vuoto.close();
    fakes.prompt.calls.clear();
    frmLanguage altro(dir.path(), &w);
    ASSERT_EQ(altro.lstLingua->count(), 3);
    altro.lstLingua->setCurrentRow(2);
    altro.cmdOK_Click();
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.contains(QDir::toNativeSeparators(dir.filePath("klingon.ini"))))
        << fakes.prompt.calls[0].text.toStdString();
    EXPECT_EQ(w.menuItem("mnuFileEsci")->text(), "E&xit");
    mLang::Imposta_Cartella_Programma({});
    gstrFileLingua.clear();
}

TEST(AboutBox, VersionLineAndCaptions)
{
    mLang::Usa_File_Lingua(kEnglish);
    {
        frmAbout about;
        EXPECT_EQ(about.lblTitle->text(), "Astrovela");
        EXPECT_EQ(about.lblVersion->text(), mLang::Testo_Lingua("frmAbout", "versione") + " 0.1.0");
        EXPECT_EQ(about.windowTitle(), mLang::Testo_Lingua("frmAbout", "informazioni"));
        EXPECT_FALSE(about.windowTitle().isEmpty());
        // No invented web address (a reserved domain such as example.org):
        // none is shown, and a click on its place opens nothing.
        EXPECT_FALSE(about.lblInternet->text().contains("example"));
        EXPECT_TRUE(about.lblInternet->text().isEmpty() || about.lblInternet->text().startsWith("https://"));
        about.show();
        EXPECT_EQ(about.lblInternet->isVisible(), !about.lblInternet->text().isEmpty());
        platform::FakeServices fakes;
        platform::ScopedServices scope{fakes.services()};
        QTest::mouseClick(about.lblInternet, Qt::LeftButton);
        EXPECT_EQ(fakes.launcher.calls.size(), about.lblInternet->text().isEmpty() ? 0 : 1);
    }
    // Without a language file the words are empty, the title and numbers stay.
    QTemporaryDir dir;
    mLang::Usa_File_Lingua(dir.filePath("missing.ini"));
    {
        frmAbout about;
        EXPECT_EQ(about.lblTitle->text(), "Astrovela");
        EXPECT_EQ(about.lblVersion->text(), " 0.1.0");
        EXPECT_EQ(about.windowTitle(), "");
        EXPECT_EQ(about.cmdOK->Caption(), "");
    }
    mLang::Usa_File_Lingua({});
}
