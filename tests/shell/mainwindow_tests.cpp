// The main window offscreen: menu captions and tooltips from the language
// file (checked against the file itself), the toolbar's dispatch, the status
// bar, the view and windows menus, the edit menu on a rich-text box.
#include "core/clock.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/fakes.h"
#include "platform/help_service.h"
#include "platform/help_window.h"
#include "platform/settings_store.h"
#include "support/ordinary_user.h"
#include "support/x_input.h"
#include "common/calendar.h"
#include "common/progress_window.h"
#include "common/window_links.h"
#include "database/database_window.h"
#include "database/menu_links.h"
#include "files/text_viewer.h"
#include "network/download_window.h"
#include "platform/file_chooser.h"
#include "platform/prompt.h"
#include "shell/time_window.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QClipboard>
#include <QCompleter>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFile>
#include <QLibraryInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QTcpServer>
#include <QTest>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <optional>

namespace {

// The entries of one section of a language file, read here line by line.
QHash<QString, QString> section(const QString& file, const QString& name)
{
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QHash<QString, QString> out;
    bool in = false;
    for (const QString& line : QString::fromUtf8(f.readAll()).split("\r\n")) {
        if (line.startsWith('[')) {
            in = line.mid(1, line.indexOf(']') - 1).compare(name, Qt::CaseInsensitive) == 0;
            continue;
        }
        const int eq = line.indexOf('=');
        if (in && eq > 0 && !out.contains(line.left(eq).toLower()))
            out.insert(line.left(eq).toLower(), line.mid(eq + 1));
    }
    return out;
}

const QString kEnglish = QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini");

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mLang::Usa_File_Lingua(kEnglish);
        core::CentralClock::instance().reset();
    }
    void TearDown() override
    {
        mLang::Usa_File_Lingua({});
        core::CentralClock::instance().reset();
        pflgCentrale = false;
    }
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

} // namespace

TEST_F(MainWindowTest, MenuCaptionsAndTooltipsComeFromTheLanguageFile)
{
    MDIForm1 w;
    w.Lingua();
    const auto texts = section(kEnglish, "MDIForm1");
    QSet<QString> seen;
    for (const QString& name : MDIForm1::nomiMenu()) {
        ASSERT_NE(w.menuItem(name), nullptr) << name.toStdString();
        EXPECT_EQ(w.menuItem(name)->text(), texts.value(name.toLower())) << name.toStdString();
        EXPECT_FALSE(w.menuItem(name)->text().isEmpty()) << name.toStdString();
        seen.insert(name);
    }
    EXPECT_EQ(seen.size(), 149);
    // The view menus keep their own captions and stay out of sight until
    // their windows show them.
    EXPECT_EQ(w.menu("mnuWorldmap")->title(), "Worldmap");
    EXPECT_EQ(w.menu("mnuLocalSky")->title(), "Local Sky");
    EXPECT_EQ(w.menu("mnuGeneralSky")->title(), "General Sky");
    EXPECT_EQ(w.menu("mnuSkySat")->title(), "SkySat");
    EXPECT_FALSE(w.menu("mnuWorldmap")->menuAction()->isVisible());

    EXPECT_EQ(w.toolButton("Open")->toolTip(), texts.value("apri"));
    EXPECT_EQ(w.toolButton("Track")->toolTip(), texts.value("effemeridi"));
    EXPECT_EQ(w.toolButton("Impostazioni")->toolTip(), texts.value("impostazioni"));
    EXPECT_EQ(w.panel(1)->toolTip(), texts.value("data"));
    EXPECT_EQ(w.panel(3)->toolTip(), texts.value("localita"));
    EXPECT_EQ(w.toolButton("Open")->menu()->actions().at(1)->text(), texts.value("mnufilevisualizza"));
    EXPECT_EQ(w.Stato2Stringa(2), section(kEnglish, "Conditions").value("visibile"));

    // A language file without the main window's section empties them all.
    QTemporaryDir dir;
    QFile bare(dir.filePath("bare.ini"));
    ASSERT_TRUE(bare.open(QIODevice::WriteOnly));
    bare.write("[Buttons]\r\nok=OK\r\n");
    bare.close();
    mLang::Usa_File_Lingua(bare.fileName());
    w.Lingua();
    EXPECT_EQ(w.menuItem("mnuFileEsci")->text(), "");
    EXPECT_EQ(w.toolButton("Save")->toolTip(), "");
    EXPECT_EQ(w.menu("mnuSkySat")->title(), "SkySat");
}

TEST_F(MainWindowTest, ToolbarRunsTheMenuCommandsByExactKey)
{
    MDIForm1 w;
    int opened = 0, summary = 0, transit = 0;
    // Commands of windows not built yet are disabled, and so are their buttons.
    EXPECT_FALSE(w.menuItem("mnuFileApri")->isEnabled());
    EXPECT_FALSE(w.toolButton("Open")->isEnabled());
    EXPECT_TRUE(w.toolButton("Time")->isEnabled());
    EXPECT_TRUE(w.toolButton("Save")->isEnabled());
    w.setMenuHandler("mnuFileApri", [&] { ++opened; });
    w.setMenuHandler("mnuFileVisualizza", [&] { ++summary; });
    w.setMenuHandler("mnuLocalSkyTransitoPrincipale", [&] { ++transit; });
    EXPECT_TRUE(w.menuItem("mnuFileApri")->isEnabled());
    EXPECT_TRUE(w.toolButton("Open")->isEnabled());

    w.Toolbar1_ButtonClick("open");
    EXPECT_EQ(opened, 0);
    w.Toolbar1_ButtonClick("Open");
    w.toolButton("Open")->click();
    EXPECT_EQ(opened, 2);
    w.Toolbar1_ButtonMenuClick("Summary");
    w.Toolbar1_ButtonMenuClick("summary");
    EXPECT_EQ(summary, 1);
    // The transit needs the local sky chart open.
    w.Toolbar1_ButtonClick("Transit");
    EXPECT_EQ(transit, 0);

    // 29 places: 24 buttons and 5 separators.
    int buttons = 0, separators = 0;
    for (QAction* a : w.Toolbar1()->actions())
        a->isSeparator() ? ++separators : ++buttons;
    EXPECT_EQ(buttons, 24);
    EXPECT_EQ(separators, 5);
}

TEST_F(MainWindowTest, StatusBarViewAndWindowsMenus)
{
    MDIForm1 w;
    w.Lingua();
    w.show();
    // A click on the date opens the time window; on the satellite, nothing
    // until the database window exists. The click comes through the window
    // as the window system delivers it (the panel does not take presses of
    // its own).
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QPoint centre = w.panel(1)->mapTo(&w, w.panel(1)->rect().center());
    QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, centre);
    ASSERT_NE(w.timeWindow(false), nullptr);
    EXPECT_TRUE(w.timeWindow(false)->isVisible());
    QTest::mouseClick(w.panel(2), Qt::LeftButton);

    // The bar toggles change the bars and their check marks, not the settings.
    w.menuItem("mnuVisualizzaBarraPulsanti")->setChecked(true);
    w.menuItem("mnuVisualizzaBarraPulsanti")->trigger();
    EXPECT_FALSE(w.menuItem("mnuVisualizzaBarraPulsanti")->isChecked());
    EXPECT_TRUE(w.Toolbar1()->isHidden());
    w.menuItem("mnuVisualizzaBarraStato")->setChecked(true);
    w.menuItem("mnuVisualizzaBarraStato")->trigger();
    EXPECT_TRUE(w.StatusBar1()->isHidden());
    w.menuItem("mnuVisualizzaBarraStato")->trigger();
    EXPECT_FALSE(w.StatusBar1()->isHidden());
    EXPECT_FALSE(fakes.settings.hasSection("Generali"));

    // Tiling lays the visible children side by side or one above the other;
    // the time window keeps its own size.
    auto* one = w.addChild(new QLabel("one"));
    one->show();
    auto* other = w.addChild(new QLabel("other"));
    other->show();
    QMdiSubWindow* timeFrame = w.mdiArea()->subWindowList().first();
    const QSize timeSize = timeFrame->size();
    w.menuItem("mnuFinestreDisponiVerticale")->trigger();
    EXPECT_EQ(one->height(), other->height());
    EXPECT_GT(one->height(), w.mdiArea()->viewport()->height() / 2);
    EXPECT_NE(one->x(), other->x());
    EXPECT_EQ(timeFrame->size(), timeSize);
    w.menuItem("mnuFinestreDisponiOrizzontale")->trigger();
    EXPECT_EQ(one->width(), other->width());
    EXPECT_NE(one->y(), other->y());
    EXPECT_EQ(timeFrame->size(), timeSize);
    EXPECT_NE(timeFrame->y(), other->y());

    // Close all: every child goes, the hidden time window included, and the
    // clock mode stays where it was.
    core::CentralClock::instance().Arresta();
    w.timeWindow(false)->close();
    EXPECT_FALSE(w.timeWindow(false)->parentWidget()->isVisible());
    w.menuItem("mnuFinestreChiudiTutto")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(w.timeWindow(false), nullptr);
    EXPECT_EQ(core::clockViews().time, nullptr);
    EXPECT_EQ(core::CentralClock::instance().mode(), core::ClockMode::SimulationStopped);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, EditMenuWorksOnTheFocusedRichTextBox)
{
    MDIForm1 w;
    auto* doc = new QTextEdit;
    w.addChild(doc)->show();
    w.show();
    QApplication::setActiveWindow(&w);
    doc->setFocus();
    QTest::qWait(20);
    if (QApplication::focusWidget() != doc)
        GTEST_SKIP() << "the platform gives no focus offscreen";

    QApplication::clipboard()->setText("pasted");
    doc->setPlainText("hello world");
    w.mnuModifica_Click();
    EXPECT_FALSE(w.menuItem("mnuModificaCopia")->isEnabled());
    EXPECT_TRUE(w.menuItem("mnuModificaIncolla")->isEnabled());
    QTextCursor c = doc->textCursor();
    c.setPosition(0);
    c.setPosition(5, QTextCursor::KeepAnchor);
    doc->setTextCursor(c);
    w.mnuModifica_Click();
    EXPECT_TRUE(w.menuItem("mnuModificaTaglia")->isEnabled());
    w.menuItem("mnuModificaIncolla")->trigger();
    EXPECT_EQ(doc->toPlainText(), "pasted world");
    w.mnuModifica_Click();
    EXPECT_TRUE(w.menuItem("mnuModificaAnnulla")->isEnabled());
    w.menuItem("mnuModificaAnnulla")->trigger();
    EXPECT_EQ(doc->toPlainText(), "hello world");

    // With the focus elsewhere every item is disabled.
    auto* label = new QLabel("plain");
    label->setFocusPolicy(Qt::StrongFocus);
    w.addChild(label)->show();
    label->setFocus();
    w.mnuModifica_Click();
    for (const char* item : {"mnuModificaAnnulla", "mnuModificaTaglia", "mnuModificaCopia",
                             "mnuModificaIncolla", "mnuModificaCancella"})
        EXPECT_FALSE(w.menuItem(item)->isEnabled()) << item;
}

// Each Edit command that changes the text is one step of Undo of its own, as
// its key is: Undo takes back the paste (the cut, the deletion) and leaves
// what was typed before it.
TEST_F(MainWindowTest, EditUndoTakesBackOnlyTheLastEditCommandAfterTyping)
{
    MDIForm1 w;
    files::Collega_File(w);
    w.show();
    QApplication::setActiveWindow(&w);
    w.menuItem("mnuFileNuovo")->trigger();
    ASSERT_EQ(w.mdiArea()->subWindowList().size(), 1);
    auto* doc = qobject_cast<frmFile*>(w.mdiArea()->subWindowList().at(0)->widget());
    ASSERT_NE(doc, nullptr);
    QTextEdit* te = doc->txtFile;
    te->setFocus();
    QTest::qWait(20);
    if (QApplication::focusWidget() != te)
        GTEST_SKIP() << "the platform gives no focus offscreen";
    // The menu as the user opens it: items enabled by what the text allows.
    auto modifica = [&](const char* item) {
        emit w.menu(QStringLiteral("mnuModifica"))->aboutToShow();
        QAction* a = w.menuItem(item);
        EXPECT_TRUE(a->isEnabled()) << item;
        a->trigger();
    };

    QTest::keyClicks(te, QStringLiteral("first line"));
    QTest::keyClick(te, Qt::Key_Return);
    QTest::keyClicks(te, QStringLiteral("second"));
    QTest::keyClick(te, Qt::Key_Home, Qt::ShiftModifier);
    modifica("mnuModificaCopia");
    QTest::keyClick(te, Qt::Key_End);
    modifica("mnuModificaIncolla");
    EXPECT_EQ(te->toPlainText().toStdString(), "first line\nsecondsecond");
    modifica("mnuModificaAnnulla");
    EXPECT_EQ(te->toPlainText().toStdString(), "first line\nsecond");

    // Typing, then Cut or Delete of the last word: Undo brings the word
    // back and nothing more.
    for (const char* item : {"mnuModificaTaglia", "mnuModificaCancella"}) {
        QTest::keyClick(te, Qt::Key_End);
        const std::string prima = te->toPlainText().toStdString();
        QTest::keyClicks(te, QStringLiteral(" more"));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(te, Qt::Key_Left, Qt::ShiftModifier);
        modifica(item);
        EXPECT_EQ(te->toPlainText().toStdString(), prima + " ") << item;
        modifica("mnuModificaAnnulla");
        EXPECT_EQ(te->toPlainText().toStdString(), prima + " more") << item;
    }
}

TEST_F(MainWindowTest, ClosingAsksWhenTheOptionIsSetAndNoKeepsEverythingOpen)
{
    MDIForm1 w;
    w.show();
    w.mnuOpzioniData_Click();
    gblnConfermaUscita = true;
    fakes.prompt.answers = {platform::vbNo};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_NE(w.timeWindow(false), nullptr);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbYesNo | platform::vbQuestion);
    EXPECT_EQ(fakes.prompt.calls[0].text, mLang::Testo_Lingua("MDIForm1", "sicuridiuscire"));

    fakes.prompt.answers = {platform::vbYes};
    EXPECT_TRUE(w.close());
    EXPECT_EQ(w.timeWindow(false), nullptr);
    EXPECT_FALSE(w.tmrCentrale()->isActive());
    gblnConfermaUscita = false;
}

TEST_F(MainWindowTest, WithCheckTheOptionsExitOffersToSaveChangedSettings)
{
    // A new installation (nothing stored): the check is on by default, so a
    // new user who picks another place and quits is asked, not robbed.
    Leggi_impostazioni();
    EXPECT_TRUE(gblnVerificaOpzioni);
    const int formato = gintFormatoOra;
    gintFormatoOra = formato == 3 ? 4 : 3; // changed since it was read
    gstrLocalita = "Italy: Rome";
    const QString attesa = mLang::Testo_Lingua("MDIForm1", "opzionimodificate1") + "\r\n"
        + mLang::Testo_Lingua("MDIForm1", "opzionimodificate2");
    {
        // Cancel: the program stays, nothing is written.
        MDIForm1 w;
        w.show();
        fakes.prompt.answers = {platform::vbCancel};
        EXPECT_FALSE(w.close());
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text, attesa);
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbYesNoCancel | platform::vbQuestion);
        EXPECT_FALSE(fakes.settings.value("Generali", "Formato ora").has_value());
        // Yes: the settings are written, then the program ends.
        fakes.prompt.answers = {platform::vbYes};
        EXPECT_TRUE(w.close());
        EXPECT_EQ(fakes.settings.value("Generali", "Formato ora"), QString::number(gintFormatoOra));
        EXPECT_EQ(fakes.settings.value("Osservatore", "Localita"), QString("Italy: Rome"));
    }
    {
        // Saved: nothing differs any more, no question.
        fakes.prompt.calls.clear();
        MDIForm1 w;
        w.show();
        EXPECT_TRUE(w.close());
        EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    }
    {
        // Yes, but the settings folder may not be written: the message names
        // the settings file and the system's reason, says that the program
        // closes without them, and it does close; nothing is written.
        QTemporaryDir cartella;
        ASSERT_TRUE(UtenteOrdinario::Passabile(cartella.path()));
        ASSERT_TRUE(QFile::setPermissions(cartella.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                               | QFile::ExeOther));
        const QString file = cartella.filePath("Astrovela.conf");
        platform::IniSettingsStore chiuso(file);
        platform::Services servizi = fakes.services();
        servizi.settings = &chiuso;
        platform::ScopedServices ambito(servizi);
        gstrLocalita = "Italy: Bari";
        fakes.prompt.calls.clear();
        MDIForm1 w;
        w.show();
        fakes.prompt.answers = {platform::vbYes};
        bool chiusa = false;
        {
            UtenteOrdinario utente;
            ASSERT_TRUE(utente.attivo());
            chiusa = w.close();
        }
        EXPECT_TRUE(chiusa);
        EXPECT_FALSE(w.isVisible());
        ASSERT_EQ(fakes.prompt.calls.size(), 2) << fakes.prompt.texts().join("\n--\n").toStdString();
        EXPECT_EQ(fakes.prompt.calls[1].text.toStdString(),
                  ("The options could not be saved:\r\nThe settings file " + QDir::toNativeSeparators(file)
                   + " could not be written: Permission denied in the folder "
                   + QDir::toNativeSeparators(cartella.path())
                   + ", where no new file may be made (a file is saved by writing its new copy beside it, which then "
                     "takes its place).\r\nAstrovela closes all the same, without "
                     "keeping the options changed since they were last saved.")
                      .toStdString());
        EXPECT_EQ(fakes.prompt.calls[1].flags & 0x70, platform::vbExclamation);
        EXPECT_FALSE(QFileInfo::exists(file));
        EXPECT_EQ(QDir(cartella.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList());
        ASSERT_TRUE(QFile::setPermissions(cartella.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    {
        // Box not ticked: a change goes unasked, as before.
        fakes.prompt.calls.clear();
        gintFormatoOra = 5;
        gblnVerificaOpzioni = false;
        MDIForm1 w;
        w.show();
        EXPECT_TRUE(w.close());
        EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    }
    Impostazioni_default();
    gstrLocalita = Default_Impostazione("Osservatore", "Localita");
    gblnVerificaOpzioni = false;
}

TEST_F(MainWindowTest, ADialogOfFixedLayoutOpensAtItsOwnSizeBesideAMaximisedWindow)
{
    MDIForm1 w;
    w.resize(1200, 900);
    w.show();
    // A view maximised in the workspace (as the user leaves a map).
    auto* vista = new QWidget;
    vista->setObjectName("vista");
    QMdiSubWindow* sub = w.addChild(vista);
    sub->showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(sub->isMaximized());

    // The time window and the calendar open at their own size, unstretched,
    // and the map stays maximised behind them.
    w.mnuOpzioniData_Click();
    frmCalendar* cal = frmCalendar::Mostra(nullptr);
    QApplication::processEvents();
    for (QWidget* d : {static_cast<QWidget*>(w.timeWindow()), static_cast<QWidget*>(cal)}) {
        auto* frame = qobject_cast<QMdiSubWindow*>(d->parentWidget());
        ASSERT_NE(frame, nullptr) << d->objectName().toStdString();
        EXPECT_FALSE(frame->isMaximized()) << d->objectName().toStdString();
        EXPECT_LT(frame->width(), w.mdiArea()->viewport()->width() - 50) << d->objectName().toStdString();
        EXPECT_LE(d->width(), std::max(d->sizeHint().width(), d->minimumWidth()) + 40) << d->objectName().toStdString();
        EXPECT_TRUE(frame->isVisible());
    }
    EXPECT_TRUE(sub->isMaximized());
    w.closeChildren();
}

TEST_F(MainWindowTest, AccessKeysAreDistinctInEveryMenuInBothLanguages)
{
    // The letter after "&" in the items of one menu (the menu bar counts as
    // one): Alt and that letter must reach exactly one item.
    for (const char* lingua : {"english.ini", "italiano.ini"}) {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + lingua);
        MDIForm1 w;
        w.Lingua();
        QList<QWidget*> menus{w.menuBar()};
        for (QMenu* m : w.findChildren<QMenu*>())
            menus << m;
        int controllati = 0;
        for (QWidget* m : menus) {
            QHash<QChar, QString> visti;
            for (QAction* a : m->actions()) {
                if (a->isSeparator())
                    continue;
                const QString t = a->text();
                for (qsizetype i = t.indexOf('&'); i >= 0 && i + 1 < t.size(); i = t.indexOf('&', i + 2)) {
                    if (t[i + 1] == '&')
                        continue;
                    const QChar k = t[i + 1].toLower();
                    EXPECT_FALSE(visti.contains(k))
                        << lingua << " menu " << m->objectName().toStdString() << ": \"" << t.toStdString()
                        << "\" and \"" << visti.value(k).toStdString() << "\" share Alt+" << QString(k).toStdString();
                    visti.insert(k, t);
                    ++controllati;
                    break;
                }
            }
        }
        EXPECT_GT(controllati, 60) << lingua;
    }
}

TEST_F(MainWindowTest, QtsOwnButtonsSpeakTheChosenLanguage)
{
    // The standard buttons of message boxes and dialogs (Yes, No, Cancel)
    // come from Qt's translations, installed with the program's packages.
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_it.qm"))
        GTEST_SKIP() << "Qt's translations are not installed (tools/install-deps.sh)";
    const auto si = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes"); };
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/italiano.ini"));
    {
        MDIForm1 w;
        w.Lingua();
        EXPECT_EQ(si(), QString::fromUtf8("&S\u00ec"));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annulla");
    }
    // Back to English: Qt's own words again.
    mLang::Usa_File_Lingua(kEnglish);
    MDIForm1 w;
    w.Lingua();
    EXPECT_EQ(si(), "&Yes");
}

// Where the keyboard goes once a window of the program closes. Run again by
// itself on a display of its own:
// - without a window manager, the main window takes the keys again (Alt and
//   a menu's letter) after Help > Contents and Escape (the manual goes, as a
//   dialog that waits for an answer does); after Help > Contents, then Tools
//   > Download files: the manual, opened first, takes a click and Page Down
//   beside the download window, and Escape in it gives the keys back to the
//   download window, which Escape then closes; after File > Open with the whole
//   path typed while the file dialog's list of completions drops down, and
//   Return (the dialog goes while that list holds the keyboard, then the
//   progress window of the load, which never had it); and after a download
//   from a server that stays silent, cancelled with Escape, with Return on
//   the message that says so (the message was over the download window,
//   which is gone by then);
// - with openbox and another program beside the main window, Help > About
//   and Tools > Synchronise clock: closed from outside (as a taskbar's Close
//   does) while the user types in the other program, they leave it the
//   keyboard; closed with Escape while they have it, they give it back to
//   the main window.
TEST_F(MainWindowTest, AWindowThatClosesGivesTheKeyboardBackOnlyWhereItWas)
{
    const QByteArray modo = qgetenv("ASTROVELA_TASTIERA_DOPO");
    if (modo.isEmpty()) {
        testsupport::Riesegui_Per_Ogni("ASTROVELA_TASTIERA_DOPO",
                                       {"manuale", "manualeprima", "apri", "scaricamento"});
        testsupport::Riesegui_Per_Ogni("ASTROVELA_TASTIERA_DOPO", {"informazioni", "sincronizzazione"},
                                       testsupport::Gestore::Openbox);
        return;
    }
    using testsupport::InputX;
    InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    // The manual as the program has it: the language file names it, in the
    // program's folder.
    const QString cartella = mLang::Cartella_Programma();
    mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_SOURCE_DIR));
    struct Rimetti {
        QString c;
        ~Rimetti() { mLang::Imposta_Cartella_Programma(c); }
    } rimetti{cartella};
    platform::QtHelpService manuale;
    platform::Services servizi = fakes.services();
    servizi.help = &manuale;
    // The file dialogs and the messages are the real ones, answered with keys.
    platform::QtFileChooser dialoghi;
    platform::QtPrompt scatole;
    if (modo == "apri" || modo == "scaricamento") {
        servizi.files = &dialoghi;
        servizi.prompt = &scatole;
    }
    platform::ScopedServices scope2(servizi);
    // Another program's window where the user types, beside the main window.
    std::optional<testsupport::AltroProgramma> altro;
    if (modo != "manuale") {
        altro.emplace(QPoint(900, 760));
        ASSERT_TRUE(QTest::qWaitFor([&] { return altro->pronto(); }, 20000)) << "the other program did not show";
    }
    MDIForm1 w;
    network::Collega_Rete(w);
    database::Collega_Finestre(w);
    w.Lingua();
    w.resize(800, 600);
    w.move(0, 0);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // The main window holds the keyboard: clicked (where a window manager
    // hands the keyboard to the window clicked), or given it by the program
    // (as it does at the end of its start).
    const QPoint area = w.mdiArea()->viewport()->mapToGlobal(w.mdiArea()->viewport()->rect().center());
    const auto principale = [&] {
        if (altro)
            x.clic(area);
        else
            w.activateWindow();
        const bool attiva = QTest::qWaitFor([&] { return QApplication::activeWindow() == &w; }, 5000);
        QTest::qWait(300); // as long as a user takes to reach for a key
        return attiva;
    };
    ASSERT_TRUE(principale());
    // Alt and a menu's letter, then the item's; `intanto` runs while the
    // dialog the item opens is up, waiting for its answer.
    QTimer guardia;
    guardia.setInterval(50);
    std::function<void()> intanto;
    QObject::connect(&guardia, &QTimer::timeout, [&] {
        if (!QApplication::activeModalWidget())
            return;
        guardia.stop();
        if (intanto)
            intanto();
    });
    const auto dalMenu = [&](const char* menu, const char* voce, std::function<void()> poi = {}) {
        x.premi(InputX::letteraDi(w.menu(QLatin1String(menu))->title()), InputX::kAlt);
        if (!QTest::qWaitFor([&] { return QApplication::activePopupWidget() == w.menu(QLatin1String(menu)); }, 5000))
            return false;
        intanto = std::move(poi);
        if (intanto)
            guardia.start();
        x.premi(InputX::letteraDi(w.menuItem(QLatin1String(voce))->text()));
        return true;
    };
    const auto tastiAllaPrincipale = [&] {
        x.premi(InputX::letteraDi(w.menu("mnuFinestre")->title()), InputX::kAlt);
        const bool aperto =
            QTest::qWaitFor([&] { return QApplication::activePopupWidget() == w.menu("mnuFinestre"); }, 3000);
        if (QWidget* p = QApplication::activePopupWidget())
            p->close();
        return aperto;
    };

    // The user's steps in the dialogs that wait for an answer, each taken
    // once what it waits for is up with the keyboard (and not sooner than a
    // user would): from a timer, so also inside the dialogs' own loops.
    struct Passo {
        std::function<bool()> quando;
        std::function<void()> fai;
    };
    std::vector<Passo> passi;
    size_t fatti = 0;
    QElapsedTimer ultimo;
    ultimo.start();
    QTimer utente;
    utente.setInterval(50);
    QObject::connect(&utente, &QTimer::timeout, [&] {
        if (fatti < passi.size() && ultimo.elapsed() > 20000) {
            // The next step never became possible: the dialogs are closed,
            // so that the test ends and tells how far it went.
            if (QWidget* m = QApplication::activeModalWidget())
                m->close();
            return;
        }
        if (fatti >= passi.size() || ultimo.elapsed() < 300 || !passi[fatti].quando())
            return;
        const auto fai = passi[fatti++].fai;
        fai();
        ultimo.start();
    });
    const auto davantiCon = [](const char* classe) {
        QWidget* m = QApplication::activeModalWidget();
        return m && m->inherits(classe) && m->isActiveWindow() && m->windowHandle()->isExposed();
    };
    // Typed as on the display's keyboard (a US one): capitals and the signs
    // above the digits with Shift.
    const auto scrivi = [&](const QString& testo) {
        for (QChar c : testo) {
            const bool su = c.isUpper() || QStringLiteral("~!@#$%^&*()_+{}|:\"<>?").contains(c);
            x.premi(c.unicode(), su ? InputX::kMaiuscolo : 0);
        }
    };

    if (modo == "apri") {
        gintNumSatelliti = 0;
        QLineEdit* nome = nullptr;
        passi = {{[&] { return davantiCon("QFileDialog"); },
                  [&] {
                      nome = QApplication::activeModalWidget()->findChild<QLineEdit*>("fileNameEdit");
                      scrivi(QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt"));
                  }},
                 {[&] { return nome && nome->completer() && nome->completer()->popup()->isVisible(); },
                  [&] { x.premi(InputX::kInvio); }}};
        utente.start();
        ASSERT_TRUE(dalMenu("mnuFile", "mnuFileApri"));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return fatti == passi.size() && !QApplication::activeModalWidget() && !frmProgress::instance(false)
                    && frmDatabase::instance(false) && frmDatabase::instance(false)->isVisible();
            },
            30000))
            << "the file was not typed and loaded (" << fatti << " steps taken)";
        EXPECT_EQ(frmDatabase::instance(false)->righe(0), 34); // the 102 lines of the file
        QTest::qWait(300); // as long as a user takes to reach for a key
        EXPECT_TRUE(tastiAllaPrincipale()) << "Alt+W did not reach the main window after File > Open";
        w.closeChildren();
        return;
    }

    if (modo == "scaricamento") {
        // A server that takes the request and never answers.
        QTcpServer muto;
        ASSERT_TRUE(muto.listen(QHostAddress::LocalHost));
        const std::array<QString, 31> remoti = gstrRemoto;
        struct Rimetti {
            const std::array<QString, 31>& r;
            ~Rimetti() { gstrRemoto = r; }
        } rimettiRemoti{remoti};
        gstrRemoto.fill(QString());
        gstrRemoto[0] = QStringLiteral("127.0.0.1:%1/visual.txt").arg(muto.serverPort());
        fakes.settings.setValue("Download", "Verifica connessione", "0");
        QTemporaryDir cartellaFile;
        const auto scaricamento = [] { return qobject_cast<frmDownload*>(QApplication::activeModalWidget()); };
        QString messaggio;
        passi = {// Return: OK, which asks where to keep the file.
                 {[&] { return davantiCon("frmDownload"); }, [&] { x.premi(InputX::kInvio); }},
                 {[&] { return davantiCon("QFileDialog"); },
                  [&] {
                      x.premi('a', 0xffe3); // Ctrl+A: the proposed name, all of it
                      scrivi(cartellaFile.filePath("visual.txt"));
                      x.premi(InputX::kInvio);
                  }},
                 // The server is silent: Escape cancels the download.
                 {[&] { return davantiCon("frmDownload") && scaricamento()->inCorso(); },
                  [&] { x.premi(InputX::kEscape); }},
                 {[&] { return davantiCon("QMessageBox"); },
                  [&] {
                      messaggio = static_cast<QMessageBox*>(QApplication::activeModalWidget())->text();
                      x.premi(InputX::kInvio);
                  }}};
        utente.start();
        ASSERT_TRUE(dalMenu("mnuStrumenti", "mnuStrumentiDownload"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return fatti == passi.size() && !QApplication::activeModalWidget(); },
                                    30000))
            << "the download was not started and cancelled (" << fatti << " steps taken)";
        EXPECT_TRUE(messaggio.startsWith(mLang::Testo_Lingua("frmDownload", "downloadinterrotto")))
            << messaggio.toStdString();
        EXPECT_FALSE(QFileInfo::exists(cartellaFile.filePath("visual.txt")));
        QTest::qWait(300);
        EXPECT_TRUE(tastiAllaPrincipale()) << "Alt+W did not reach the main window after the cancelled download";
        return;
    }

    if (modo == "manualeprima") {
        ASSERT_TRUE(dalMenu("mnuAiuto", "mnuAiutoSommario"));
        platform::HelpWindow* manuale = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return (manuale = platform::HelpWindow::instance(false)) && manuale->isActiveWindow(); }, 5000));
        manuale->setGeometry(820, 0, 440, 600);
        // Back to the main window with a click, as the user does.
        QTest::qWait(300);
        x.clic(area);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &w; }, 5000));
        QTest::qWait(300);
        // While the download window waits for its answer; the first step
        // that fails is told.
        QString mancato;
        bool visto = false;
        const auto accanto = [&] {
            visto = true;
            QWidget* scaricamento = QApplication::activeModalWidget();
            const auto passo = [&](const std::function<bool()>& fatto, const char* altrimenti) {
                if (mancato.isEmpty() && !QTest::qWaitFor(fatto, 3000))
                    mancato = QLatin1String(altrimenti);
                return mancato.isEmpty();
            };
            QTextBrowser* pagina = manuale->browser();
            const int prima = pagina->verticalScrollBar()->value();
            if (passo([&] { return scaricamento->isActiveWindow(); }, "the download window has not the keyboard")) {
                QTest::qWait(300);
                x.clic(pagina->viewport()->mapToGlobal(QPoint(2, pagina->viewport()->height() / 2)));
            }
            if (passo([&] { return QApplication::focusWidget() == pagina; }, "a click did not give the manual the keys"))
                x.premi(InputX::kPaginaGiu);
            if (passo([&] { return pagina->verticalScrollBar()->value() > prima; }, "Page Down did not scroll the manual"))
                x.premi(InputX::kEscape);
            if (passo([&] { return !platform::HelpWindow::instance(false) && scaricamento->isActiveWindow(); },
                      "Escape in the manual did not give the keys back to the download window")) {
                QTest::qWait(300);
                x.premi(InputX::kEscape);
            }
            passo([&] { return !scaricamento->isVisible(); }, "Escape did not reach the download window");
            if (scaricamento->isVisible())
                scaricamento->close();
        };
        ASSERT_TRUE(dalMenu("mnuStrumenti", "mnuStrumentiDownload", accanto));
        ASSERT_TRUE(QTest::qWaitFor([&] { return visto && !QApplication::activeModalWidget(); }, 30000))
            << (visto ? "the download window did not close" : "the download window did not come up");
        EXPECT_TRUE(mancato.isEmpty()) << mancato.toStdString();
        QTest::qWait(300);
        EXPECT_TRUE(tastiAllaPrincipale()) << "Alt+W did not reach the main window after the download window";
        if (platform::HelpWindow* m = platform::HelpWindow::instance(false))
            m->close();
        return;
    }

    if (modo == "manuale") {
        ASSERT_TRUE(dalMenu("mnuAiuto", "mnuAiutoSommario"));
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return platform::HelpWindow::instance(false) && platform::HelpWindow::instance(false)->isActiveWindow(); },
            5000));
        QTest::qWait(300);
        x.premi(InputX::kEscape);
        ASSERT_TRUE(QTest::qWaitFor([] { return !platform::HelpWindow::instance(false); }, 3000));
        QTest::qWait(300); // as long as a user takes to reach for a key
        EXPECT_TRUE(tastiAllaPrincipale()) << "Alt+W did not reach the main window after the manual closed";
        w.closeChildren();
        return;
    }

    const char* voce = modo == "informazioni" ? "mnuAiutoInformazioni" : "mnuStrumentiSincronizzazione";
    const char* menu = modo == "informazioni" ? "mnuAiuto" : "mnuStrumenti";
    // The dialog waits for its answer: what follows runs while it is up.
    bool chiuso = false;
    const auto daFuori = [&] {
        QWidget* dialogo = nullptr;
        const bool su = QTest::qWaitFor(
            [&] {
                dialogo = QApplication::activeModalWidget();
                return dialogo && dialogo->isActiveWindow();
            },
            5000);
        EXPECT_TRUE(su) << "the dialog did not come up with the keyboard";
        if (!dialogo)
            return;
        // The user goes to type in the other program, and closes the dialog
        // from the taskbar.
        x.clic(altro->campo());
        EXPECT_TRUE(QTest::qWaitFor([&] { return altro->attivo() && !QApplication::activeWindow(); }, 5000))
            << "the other program did not take the keyboard";
        x.chiudiDaFuori(dialogo->winId());
        chiuso = QTest::qWaitFor([&] { return !dialogo->isVisible(); }, 5000);
        if (!chiuso)
            dialogo->close();
    };
    ASSERT_TRUE(dalMenu(menu, voce, daFuori));
    ASSERT_TRUE(QTest::qWaitFor([&] { return chiuso; }, 15000)) << "the dialog did not close from outside";
    QTest::qWait(500);
    for (char c : {'o', 'k'})
        x.premi(static_cast<unsigned long>(c));
    EXPECT_TRUE(QTest::qWaitFor([&] { return altro->testo() == "ok"; }, 3000))
        << modo.constData() << ": the keys typed in the other program went elsewhere (it has \""
        << altro->testo().toStdString() << "\")";
    EXPECT_TRUE(altro->attivo());
    EXPECT_EQ(QApplication::activeWindow(), nullptr);

    // Back in the program, the same dialog closed with Escape: the main
    // window has the keyboard again.
    ASSERT_TRUE(principale());
    const auto conEsc = [&] {
        if (QTest::qWaitFor([] { return QApplication::activeModalWidget() && QApplication::activeModalWidget()->isActiveWindow(); }, 5000))
            x.premi(InputX::kEscape);
        else if (QWidget* m = QApplication::activeModalWidget())
            m->close();
    };
    ASSERT_TRUE(dalMenu(menu, voce, conEsc));
    ASSERT_TRUE(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }, 5000));
    QTest::qWait(300);
    EXPECT_TRUE(tastiAllaPrincipale()) << "Alt+W did not reach the main window after Escape";
}
