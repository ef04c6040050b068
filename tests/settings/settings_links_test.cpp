// The options, download and clock commands of the main window, and what the
// options dialog's OK does to the main window and to an open world map.
#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "settings/settings_dialog.h"
#include "platform/fakes.h"
#include "shell/main_window.h"
#include "common/window_links.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

namespace {

struct OptionsLinksTest : ::testing::Test {
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};

    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        Leggi_impostazioni();
        pflgSostituzione = false;
    }
    void TearDown() override
    {
        delete frmSettings::instance(false);
        Leggi_impostazioni();
        pflgSostituzione = false;
        mLang::Usa_File_Lingua(QString());
    }
};

frmSettings* Dialogo(MDIForm1& w)
{
    for (QMdiSubWindow* s : w.mdiArea()->subWindowList())
        if (auto* d = qobject_cast<frmSettings*>(s->widget()))
            return d;
    return nullptr;
}

} // namespace

TEST_F(OptionsLinksTest, MenuItemsOpenOneDialogAtTheirPage)
{
    MDIForm1 w;
    options::Collega_Opzioni(w);
    options::Collega_Rete(w);
    w.show();
    ASSERT_TRUE(w.menuItem("mnuOpzioniColori")->isEnabled());
    w.menuItem("mnuOpzioniColori")->trigger();
    frmSettings* d = Dialogo(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->SSTab1->currentIndex(), 10);
    d->chkBarraPulsanti->setChecked(false);
    w.menuItem("mnuOpzioniDownload")->trigger();
    EXPECT_EQ(Dialogo(w), d);
    EXPECT_EQ(d->SSTab1->currentIndex(), 12);
    EXPECT_FALSE(d->chkBarraPulsanti->isChecked());
    for (const char* n : {"mnuOpzioniGenerali", "mnuOpzioniSatelliti", "mnuOpzioniMappamondo", "mnuOpzioniCieloLocale",
                          "mnuOpzioniCieloGenerale", "mnuOpzioniAnteprime", "mnuOpzioniFiltri", "mnuOpzioniServerNTP",
                          "mnuOpzioniEsegui", "mnuStrumentiDownload", "mnuStrumentiSincronizzazione"})
        EXPECT_TRUE(w.menuItem(n)->isEnabled()) << n;
    // OK hides the toolbar and unticks its menu item.
    d->cmdOK_Click();
    EXPECT_FALSE(gblnBarraPulsanti);
    EXPECT_FALSE(w.Toolbar1()->isVisibleTo(&w));
    EXPECT_FALSE(w.menuItem("mnuVisualizzaBarraPulsanti")->isChecked());
}

TEST_F(OptionsLinksTest, OkBringsAnOpenWorldMapInLineAndLeavesItsMenuAloneWhenClosed)
{
    MDIForm1 w;
    options::Collega_Opzioni(w);
    options::Collega_Rete(w);
    w.show();
    gblnMappaGriglia = false;
    w.menuItem("mnuWorldmapGriglia")->setChecked(false);
    // Closed world map: the setting changes, the menu does not.
    frmSettings* d = frmSettings::Mostra(2);
    d->chkWorldMapGriglia->setChecked(true);
    d->cmdOK_Click();
    EXPECT_TRUE(gblnMappaGriglia);
    EXPECT_FALSE(w.menuItem("mnuWorldmapGriglia")->isChecked());
    // An open one (a stand-in with the map's name and projection marker).
    auto* mappa = new QWidget;
    mappa->setObjectName("frmWorldMap");
    mappa->setProperty("Tag", "Ortho");
    mappa->setWindowTitle("coordinates under the mouse");
    w.mdiArea()->addSubWindow(mappa)->show();
    d = frmSettings::Mostra(2);
    d->chkWorldMapCoordinateMouse->setChecked(false);
    d->cmdOK_Click();
    EXPECT_TRUE(w.menuItem("mnuWorldmapGriglia")->isChecked());
    EXPECT_EQ(mappa->windowTitle(), mLang::Testo_Lingua("frmWorldMap", "mappaortografica"));
    EXPECT_FALSE(mappa->testAttribute(Qt::WA_SetCursor));
}

TEST_F(OptionsLinksTest, DownloadCommandAsksOnceAfterThePrincipalFileWasReplaced)
{
    MDIForm1 w;
    options::Collega_Opzioni(w);
    options::Collega_Rete(w);
    pflgSostituzione = true;  // as a download over the principal file leaves it
    fakes.prompt.answers = {platform::vbNo};
    QTimer::singleShot(50, [] {
        if (QWidget* m = QApplication::activeModalWidget())
            m->close();
    });
    w.menuItem("mnuStrumentiDownload")->trigger();
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, mLang::Testo_Lingua("frmDownload", "aggiornasatelliti1") + "\r\n" +
                                              mLang::Testo_Lingua("frmDownload", "aggiornasatelliti2"));
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbYesNo);
    EXPECT_FALSE(pflgSostituzione);
}
