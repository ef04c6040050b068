// The options, download and clock commands of the main window, and what the
// options dialog's OK does to the main window and to an open world map.
#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "maps/local_sky_window.h"
#include "maps/world_map_window.h"
#include "sky/sky_chart_window.h"
#include "platform/canvas_widget.h"
#include "settings/settings_dialog.h"
#include "platform/fakes.h"
#include "shell/main_window.h"
#include "common/window_links.h"
#include "controls/graph_button.h"
#include "support/x_input.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

const RigaDati kIss{"ISS (ZARYA)", "1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064",
                    "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894"};

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
    settings::Collega_Opzioni(w);
    network::Collega_Rete(w);
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
    // OK hides the toolbar and the status bar and unticks their View menu
    // items, which the options reach through the main window's typed entries.
    ASSERT_EQ(w.mnuVisualizzaBarraPulsanti(), w.menuItem("mnuVisualizzaBarraPulsanti"));
    ASSERT_EQ(w.mnuVisualizzaBarraStato(), w.menuItem("mnuVisualizzaBarraStato"));
    w.mnuVisualizzaBarraStato()->setChecked(true);
    d->chkBarraStato->setChecked(false);
    d->cmdOK_Click();
    EXPECT_FALSE(gblnBarraPulsanti);
    EXPECT_FALSE(w.Toolbar1()->isVisibleTo(&w));
    EXPECT_FALSE(w.mnuVisualizzaBarraPulsanti()->isChecked());
    EXPECT_FALSE(gblnBarraStato);
    EXPECT_FALSE(w.StatusBar1()->isVisibleTo(&w));
    EXPECT_FALSE(w.mnuVisualizzaBarraStato()->isChecked());
}

TEST_F(OptionsLinksTest, EscapeCancelsWhereverTheFocusIs)
{
    // In the workspace, as the user has it: Escape right after the dialog
    // opened, after a click on a page button, and after a click on a blank part of a page
    // (both leave the focus on the window's frame), in both languages.
    for (const char* lingua : {"english", "italiano"}) {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(lingua) + ".ini");
        MDIForm1 w;
        settings::Collega_Opzioni(w);
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        const std::function<void(frmSettings*)> clic[] = {
            [](frmSettings*) {},
            [](frmSettings* d) { QTest::mouseClick(d->schede[8], Qt::LeftButton); },
            [](frmSettings* d) {
                QFrame* pagina = d->frames[size_t(d->SSTab1->currentIndex())];
                QTest::mouseClick(pagina, Qt::LeftButton, {}, QPoint(pagina->width() - 3, pagina->height() - 3));
            },
        };
        for (int k = 0; k < 3; ++k) {
            gblnBarraPulsanti = true;
            w.menuItem("mnuOpzioniGenerali")->trigger();
            frmSettings* d = Dialogo(w);
            ASSERT_NE(d, nullptr);
            QTest::qWait(50);
            d->chkBarraPulsanti->setChecked(false);
            clic[k](d);
            QWidget* fuoco = QApplication::focusWidget();
            ASSERT_NE(fuoco, nullptr) << lingua << " " << k;
            QTest::keyClick(fuoco, Qt::Key_Escape);
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_EQ(Dialogo(w), nullptr) << lingua << ": Escape after click " << k;
            EXPECT_TRUE(gblnBarraPulsanti) << "Escape cancels: nothing is applied";
            delete frmSettings::instance(false);
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
}

// The options from the keyboard alone, on a display without a window manager
// (run again there by itself, in each language): Alt and the menus' letters
// open them; Tab goes from the window's frame to the page buttons (one stop,
// as a row of tabs: the button of the page shown), through the controls of
// that page, Save, OK and Cancel, and round again; Space ticks the box Tab
// reached; the arrows on the page buttons show the next page, whose
// controls Tab then reaches; Escape cancels.
TEST_F(OptionsLinksTest, TabGoesThroughThePageButtonsThePageAndTheDialogsButtons)
{
    const QByteArray lingua = qgetenv("ASTROVELA_TAB_OPZIONI");
    if (lingua.isEmpty()) {
        testsupport::Riesegui_Per_Ogni("ASTROVELA_TAB_OPZIONI", {"english", "italiano"});
        return;
    }
    using testsupport::InputX;
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QString::fromLatin1(lingua) + ".ini");
    InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    MDIForm1 w;
    settings::Collega_Opzioni(w);
    w.Lingua();
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(w, {1100, 800}));

    x.premi(InputX::letteraDi(w.menu("mnuOpzioni")->title()), InputX::kAlt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == w.menu("mnuOpzioni"); }, 5000));
    x.premi(InputX::letteraDi(w.menuItem("mnuOpzioniGenerali")->text()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dialogo(w) && Dialogo(w)->isVisible(); }, 5000));
    frmSettings* d = Dialogo(w);
    ASSERT_EQ(d->SSTab1->currentIndex(), 0);
    QTest::qWait(200);

    const auto premi = [&x](unsigned long tasto) {
        QWidget* prima = QApplication::focusWidget();
        x.premi(tasto);
        // (A key that moves nothing leaves the focus where it was.)
        static_cast<void>(QTest::qWaitFor([&] { return QApplication::focusWidget() != prima; }, 1000));
        return QApplication::focusWidget();
    };
    const auto nome = [](const QWidget* f) {
        return f ? std::string(f->metaObject()->className()) + ' ' + f->objectName().toStdString() : std::string("none");
    };
    for (QWidget* atteso : std::initializer_list<QWidget*>{
             d->schede[0], d->chkConfermaUscita, d->chkVerificaOpzioni, d->chkBarraPulsanti, d->chkBarraStato,
             d->chkPosizioniFinestre, d->chkVerificaOraLegale, d->cmbData, d->cmdSave, d->cmdOK, d->cmdCancel,
             d->schede[0], d->chkConfermaUscita, d->chkVerificaOpzioni}) {
        QWidget* f = premi(InputX::kTab);
        ASSERT_EQ(f, atteso) << lingua.constData() << ": Tab reached " << nome(f) << " instead of " << nome(atteso);
    }

    // Space on the box reached by Tab ticks it.
    const bool prima = d->chkVerificaOpzioni->isChecked();
    x.premi(InputX::kSpazio);
    EXPECT_TRUE(QTest::qWaitFor([&] { return d->chkVerificaOpzioni->isChecked() != prima; }, 1000));

    // Back to the page buttons; Right shows the next page, and Tab goes on
    // to its first control.
    for (int i = 0; i < 12 && QApplication::focusWidget() != d->schede[0]; ++i)
        premi(InputX::kTab);
    ASSERT_EQ(QApplication::focusWidget(), d->schede[0]);
    EXPECT_EQ(premi(InputX::kDestra), d->schede[1]);
    EXPECT_EQ(d->SSTab1->currentIndex(), 1);
    QWidget* f = premi(InputX::kTab);
    EXPECT_EQ(f, d->cmbPropagatore) << nome(f);

    // Escape: nothing of it is applied.
    x.premi(InputX::kEscape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Dialogo(w) == nullptr; }, 2000));
    EXPECT_EQ(gblnVerificaOpzioni, prima);

    // Opened on another page from the menu: the one stop of the page buttons
    // is the button of that page, and Space there keeps it; Tab goes on to
    // that page's controls. Another page chosen from the menu while the
    // keyboard is on a page button: the keyboard follows to the new page's.
    const struct {
        const char* voce;
        int pagina;
        bool aperto; // chosen while the dialog is open, on the page button Tab reached
    } altre[] = {{"mnuOpzioniDownload", 12, false}, {"mnuOpzioniFiltri", 8, false}, {"mnuOpzioniDownload", 12, true}};
    for (const auto& a : altre) {
        SCOPED_TRACE(a.voce);
        if (a.aperto) {
            const auto naUnBottone = [&] {
                return std::find(d->schede.begin(), d->schede.end(), QApplication::focusWidget()) != d->schede.end();
            };
            for (int i = 0; i < 40 && !naUnBottone(); ++i)
                premi(InputX::kTab);
            ASSERT_TRUE(naUnBottone()) << nome(QApplication::focusWidget());
        }
        x.premi(InputX::letteraDi(w.menu("mnuOpzioni")->title()), InputX::kAlt);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == w.menu("mnuOpzioni"); }, 5000));
        x.premi(InputX::letteraDi(w.menuItem(a.voce)->text()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return Dialogo(w) && Dialogo(w)->isVisible(); }, 5000));
        d = Dialogo(w);
        ASSERT_TRUE(QTest::qWaitFor([&] { return d->SSTab1->currentIndex() == a.pagina; }, 2000));
        QTest::qWait(200);
        f = a.aperto ? QApplication::focusWidget() : premi(InputX::kTab);
        EXPECT_EQ(f, d->schede[size_t(a.pagina)]) << lingua.constData() << ": the keyboard is on " << nome(f);
        x.premi(InputX::kSpazio);
        QTest::qWait(200);
        EXPECT_EQ(d->SSTab1->currentIndex(), a.pagina) << lingua.constData() << ": Space changed the page";
        f = premi(InputX::kTab);
        EXPECT_TRUE(f && d->frames[size_t(a.pagina)]->isAncestorOf(f)) << lingua.constData() << ": Tab reached " << nome(f);
        if (a.aperto || &a == &altre[0]) {
            x.premi(InputX::kEscape);
            ASSERT_TRUE(QTest::qWaitFor([&] { return Dialogo(w) == nullptr; }, 2000));
        }
    }
}

TEST_F(OptionsLinksTest, OkBringsAnOpenWorldMapInLineAndLeavesItsMenuAloneWhenClosed)
{
    MDIForm1 w;
    settings::Collega_Opzioni(w);
    network::Collega_Rete(w);
    maps::Collega_Mappa_Mondo(w);
    w.show();
    core::WorkingList::instance().Rimuovi_Tutti();
    ASSERT_EQ(core::WorkingList::instance().Aggiungi(kIss).esito, core::WorkingList::Esito::Aggiunto);
    gblnMappaGriglia = false;
    w.menuItem("mnuWorldmapGriglia")->setChecked(false);
    // Closed world map: the setting changes, the menu does not.
    frmSettings* d = frmSettings::Mostra(2);
    d->chkWorldMapGriglia->setChecked(true);
    d->cmdOK_Click();
    EXPECT_TRUE(gblnMappaGriglia);
    EXPECT_FALSE(w.menuItem("mnuWorldmapGriglia")->isChecked());

    // The rectangular map, open, without its grid, the mouse coordinates on.
    gblnMappaGriglia = false;
    w.menuItem("mnuTerraMappaRettangolare")->trigger();
    frmWorldMap* mappa = frmWorldMap::instance(false);
    ASSERT_NE(mappa, nullptr);
    ASSERT_EQ(mappa->Tag(), QStringLiteral("Recta"));
    w.menuItem("mnuWorldmapCoordinateMouse")->setChecked(false);
    w.menuItem("mnuWorldmapCoordinateMouse")->trigger();
    ASSERT_TRUE(mappa->Picture1->testAttribute(Qt::WA_SetCursor));
    mappa->setWindowTitle(QStringLiteral("coordinates under the mouse"));
    QCoreApplication::processEvents();
    const QImage senzaGriglia = mappa->Picture1->grab().toImage();

    // OK with the grid on and the coordinates off: menu, toolbar, pointer,
    // the rectangular map's own caption, and the map drawn again with its grid.
    d = frmSettings::Mostra(2);
    d->chkWorldMapGriglia->setChecked(true);
    d->chkWorldMapCoordinateMouse->setChecked(false);
    d->cmdOK_Click();
    EXPECT_TRUE(w.menuItem("mnuWorldmapGriglia")->isChecked());
    EXPECT_FALSE(w.menuItem("mnuWorldmapCoordinateMouse")->isChecked());
    EXPECT_TRUE(w.toolButton("Griglia")->isChecked());
    EXPECT_EQ(mappa->windowTitle(), mLang::Testo_Lingua("frmWorldMap", "mapparettangolare"));
    EXPECT_FALSE(mappa->Picture1->testAttribute(Qt::WA_SetCursor));
    QCoreApplication::processEvents();
    EXPECT_NE(mappa->Picture1->grab().toImage(), senzaGriglia);

    // OK with the grid off again: menu and toolbar follow.
    d = frmSettings::Mostra(2);
    d->chkWorldMapGriglia->setChecked(false);
    d->cmdOK_Click();
    EXPECT_FALSE(w.menuItem("mnuWorldmapGriglia")->isChecked());
    EXPECT_FALSE(w.toolButton("Griglia")->isChecked());
    frmWorldMap::Unload();
    core::WorkingList::instance().Rimuovi_Tutti();
}

TEST_F(OptionsLinksTest, OkBringsTheOpenSkyChartsInLineAndDrawsThemAgain)
{
    MDIForm1 w;
    settings::Collega_Opzioni(w);
    maps::Collega_Cielo_Locale(w);
    sky::Collega_Cielo_Generale(w);
    w.resize(1400, 900);
    w.show();
    gblnLocaleGriglia = false;
    gblnLocaleProiezioneStereo = 0;
    gblnGeneraleGriglia = false;
    w.menuItem("mnuCieloMappaLocale")->trigger();
    w.menuItem("mnuCieloMappaGenerale")->trigger();
    frmLocalSky* locale = frmLocalSky::instance();
    frmGeneralSky* generale = frmGeneralSky::instance(false);
    ASSERT_NE(locale, nullptr);
    ASSERT_NE(generale, nullptr);
    QCoreApplication::processEvents();
    const QImage localePrima = locale->Picture1->grab().toImage();
    const QImage generalePrima = generale->Picture1->grab().toImage();

    frmSettings* d = frmSettings::Mostra(3);
    d->chkLocalSkyGriglia->setChecked(true);
    d->cmbLocalSkyProiezione->setCurrentIndex(1);
    d->chkGeneralSkyGriglia->setChecked(true);
    d->cmdOK_Click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.menuItem("mnuLocalSkyGriglia")->isChecked());
    EXPECT_TRUE(w.menuItem("mnuLocalSkyProiezStereo")->isChecked());
    EXPECT_FALSE(w.menuItem("mnuLocalSkyProiezNormale")->isChecked());
    EXPECT_TRUE(w.menuItem("mnuGeneralSkyGriglia")->isChecked());
    EXPECT_NE(locale->Picture1->grab().toImage(), localePrima);
    EXPECT_NE(generale->Picture1->grab().toImage(), generalePrima);
    w.closeChildren();
}

TEST_F(OptionsLinksTest, DownloadCommandAsksOnceAfterThePrincipalFileWasReplaced)
{
    MDIForm1 w;
    settings::Collega_Opzioni(w);
    network::Collega_Rete(w);
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
