// The tracking table and the channel choice: figures against Skyfield for a
// real instant over Milan (tests/data/ref_tables.csv, tools/ref_tables.py),
// paging, row colours and texts, channels and the Doppler correction.
#include "controls/graph_button.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/element_parser.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/fakes.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "tables/channel_dialog.h"
#include "tables/tracking_table.h"
#include "core/mglobal.h"
#include "shell/main_window.h"
#include "common/window_links.h"

#include "support/fixed_time.h"
#include "support/observer.h"
#include "support/ref_rows.h"
#include "support/x_input.h"
#include <QAction>
#include <QApplication>
#include <QTabBar>
#include <QTest>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextStream>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

using testsupport::FixedTime;

struct RifSat {
    int riga;
    double alt, az, range, rr, ra, dec;
};

struct Riferimento {
    QDateTime istante;
    std::vector<RifSat> sat;
};

Riferimento Leggi_Riferimento()
{
    Riferimento r;
    testsupport::Righe_Riferimento("ref_tables.csv", r.istante, [&](const QStringList& c) {
        if (c[0] == QLatin1String("sat"))
            r.sat.push_back({c[1].toInt(), c[3].toDouble(), c[4].toDouble(), c[5].toDouble(), c[6].toDouble(),
                             c[7].toDouble(), c[8].toDouble()});
    });
    return r;
}

// Loads the element sets of the fixture into slots 1 to n.
int Carica_Satelliti()
{
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/ref_tables_sats.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList righe;
    for (const QString& l : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
        if (!l.trimmed().isEmpty())
            righe << l.trimmed();
    int n = 0;
    for (int i = 0; i + 2 < righe.size(); i += 3) {
        ++n;
        EXPECT_EQ(Estrai_Dati_Satellite(n, righe[i].toStdString(), righe[i + 1].toStdString(),
                                        righe[i + 2].toStdString()),
                  core::ErroreElementi::Nessuno);
    }
    return n;
}

double Numero(const QLabel* l)
{
    return vb::Val(l->text());
}

// "22h20m13s" -> hours.
double Ore(const QString& t)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^(\\d+)h(\\d\\d)m(\\d\\d)s$")).match(t);
    EXPECT_TRUE(m.hasMatch()) << t.toStdString();
    return m.captured(1).toInt() + m.captured(2).toInt() / 60.0 + m.captured(3).toInt() / 3600.0;
}

// "+75°19'" -> degrees.
double Gradi(const QString& t)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^([+-])(\\d\\d+)°(\\d\\d)'$")).match(t);
    EXPECT_TRUE(m.hasMatch()) << t.toStdString();
    const double v = m.captured(2).toInt() + m.captured(3).toInt() / 60.0;
    return m.captured(1) == QLatin1String("-") ? -v : v;
}

QColor Colore(const QLabel* l)
{
    return l->palette().color(QPalette::WindowText);
}

class TrackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        core::Carica_Parole_Stato();
        vb::setDisplayLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        ASSERT_TRUE(Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR)));
        for (int s = 1; s < kSlotArray; ++s) {
            Azzera_Satelement(s);
            Azzera_RigaDati(s);
            Azzera_Valori(s);
        }
        gintNumSatelliti = 0;
        gintCanale.fill(1);
        testsupport::Osservatore(45.4642f, 9.19f, 120.0f);
        core::CentralClock::instance().reset();
        core::CentralClock::instance().setTimeSource(&tempo);
    }
    void TearDown() override
    {
        delete frmChannel::instance();
        delete frmTrack::instance();
        core::CentralClock::instance().setTimeSource(nullptr);
        core::CentralClock::instance().reset();
        pflgCentrale = pflgSatellite = false;
        gdatDataCorrente = QDateTime();
        gintNumSatelliti = 0;
        mLang::Usa_File_Lingua({});
        vb::setDisplayLocale(QLocale::system());
    }
    void Nomi(int n)
    {
        gintNumSatelliti = n;
        for (int s = 1; s <= n; ++s) {
            gudtRigheAttive[size_t(s)].Riga0 = "SAT " + std::to_string(s);
            gudtSatelementi[size_t(s)].Nome = "Sat " + std::to_string(s);
        }
    }

    FixedTime tempo;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

} // namespace

TEST_F(TrackTest, RowsFollowTheClockAndAgreeWithSkyfield)
{
    const Riferimento rif = Leggi_Riferimento();
    ASSERT_EQ(rif.sat.size(), 12u);
    gintNumSatelliti = Carica_Satelliti();
    ASSERT_EQ(gintNumSatelliti, 12);
    // A set whose name line is blank is a row like the others.
    const RigaDati terzo = gudtRigheAttive[3];
    ASSERT_EQ(Estrai_Dati_Satellite(3, std::string(24, ' '), terzo.Riga1, terzo.Riga2), core::ErroreElementi::Nessuno);
    // A receding debris object gets channels of its own, to see the Doppler
    // shift well above the last digit shown.
    gudtSatelementi[4].FrequenzaDiscesa[1] = "145.8";
    gudtSatelementi[4].FrequenzaSalita[1] = "435.0";

    frmTrack* t = frmTrack::Mostra();
    EXPECT_EQ(core::clockViews().track, t);
    EXPECT_EQ(t->lblSatellite->text(), "Satellites:  1 - 10");
    // Nothing computed yet: the table shows the cleared states.
    EXPECT_EQ(t->lblAlt[0]->text(), "00.00°");

    tempo.now = rif.istante;
    pflgCentrale = pflgSatellite = true;
    core::CentralClock::instance().tmrCentrale_Timer();
    // No satellite of the fixture is decayed: the list stays whole.
    ASSERT_EQ(gintNumSatelliti, 12);
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());

    int confrontati = 0;
    for (const RifSat& r : rif.sat) {
        if (r.riga >= frmTrack::kRighe)
            continue;
        ++confrontati;
        const int i = r.riga;
        const std::string chi = t->lblName[size_t(i)]->text().toStdString();
        EXPECT_EQ(t->lblName[size_t(i)]->text().toStdString(), gudtRigheAttive[size_t(i + 1)].Riga0);
        // The satellite model agrees with Skyfield within 0.1 degree and 1 km
        // (the observer on WGS-72, mean sidereal time); the table adds its
        // rounding.
        EXPECT_NEAR(Numero(t->lblAlt[size_t(i)]), r.alt, 0.1) << chi;
        EXPECT_NEAR(std::remainder(Numero(t->lblAz[size_t(i)]) - r.az, 360.0) * std::cos(r.alt * M_PI / 180), 0, 0.1)
            << chi;
        EXPECT_NEAR(Numero(t->lblRange[size_t(i)]), r.range, 1.0) << chi;
        EXPECT_NEAR(Numero(t->lblRR[size_t(i)]), r.rr, 0.06) << chi;
        // Right ascension truncated to the second of time, declination to the
        // minute of arc.
        const double cosDec = std::cos(r.dec * M_PI / 180);
        const double dRa = std::remainder(Ore(t->lblRa[size_t(i)]->text()) - r.ra, 24.0) * 3600.0;
        EXPECT_LE(std::fabs(dRa * 15.0 * cosDec), 0.1 * 3600 + 15.0) << chi;
        const double dDec = (Gradi(t->lblDec[size_t(i)]->text()) - r.dec) * 60.0;
        EXPECT_LE(std::fabs(dDec), 0.1 * 60 + 1.0) << chi << " " << t->lblDec[size_t(i)]->text().toStdString();
        // Name red below the horizon, blue above; no magnitude below it.
        EXPECT_EQ(Colore(t->lblName[size_t(i)]), r.alt < 0 ? QColor(255, 0, 0) : QColor(0, 0, 255)) << chi;
        if (r.alt < 0) {
            EXPECT_EQ(t->lblMag[size_t(i)]->text(), "*") << chi;
        }
    }
    EXPECT_EQ(confrontati, 10);

    // The ISS on channel 1 of the frequency file: uplink 145.99, downlink 437.8.
    EXPECT_EQ(t->lblDnlink[0]->text(), "437.8000");
    EXPECT_EQ(t->lblUplink[0]->text(), "145.9900");
    // Row 3 recedes at 6.83 km/s: received below 145.8 MHz, sent above 435 MHz.
    const double rr = rif.sat[3].rr;
    ASSERT_GT(rr, 6.0);
    EXPECT_EQ(t->lblDnlink[3]->text(), "145.8000");
    EXPECT_NEAR(Numero(t->lblRicez[3]), 145.8 * (1 - rr / 299792.0), 0.00011);
    EXPECT_NEAR(Numero(t->lblTrasm[3]), 435.0 * (1 + rr / 299792.0), 0.00011);
    EXPECT_LT(Numero(t->lblRicez[3]), 145.8);
    // No frequency: "0" for the frequency and its correction.
    EXPECT_EQ(t->lblDnlink[1]->text(), "0");
    EXPECT_EQ(t->lblTrasm[1]->text(), "0");

    // Closed, the table is no longer refreshed.
    t->cmdOK_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmTrack::instance(), nullptr);
    EXPECT_EQ(core::clockViews().track, nullptr);
    core::CentralClock::instance().tmrCentrale_Timer();
}

TEST_F(TrackTest, PagingMovesOneSlotAndStopsAtTheEnds)
{
    Nomi(25);
    frmTrack* t = frmTrack::Mostra();
    t->cmdUltimo_Click();
    EXPECT_EQ(t->lblName[0]->text(), "SAT 16");
    EXPECT_EQ(t->lblName[9]->text(), "SAT 25");
    EXPECT_EQ(t->lblSatellite->text(), "Satellites:  16 - 25");
    t->cmdPrecedente_Click();
    EXPECT_EQ(t->lblName[0]->text(), "SAT 15");
    t->cmdSuccessivo_Click();
    t->cmdSuccessivo_Click();
    EXPECT_EQ(t->lblName[0]->text(), "SAT 17");
    t->cmdPrimo_Click();
    t->cmdPrecedente_Click();
    EXPECT_EQ(t->mintPrimo, 1);
    EXPECT_EQ(t->lblName[0]->text(), "SAT 1");

    // Five satellites: the last page is the first; rows past the list are
    // empty, blue, with "0" for their equatorial place.
    Nomi(5);
    for (int s = 6; s <= 25; ++s)
        gudtRigheAttive[size_t(s)].Riga0.clear(), gudtSatelementi[size_t(s)].Nome.clear();
    t->cmdUltimo_Click();
    EXPECT_EQ(t->mintPrimo, 1);
    EXPECT_EQ(t->lblName[5]->text(), "");
    EXPECT_EQ(Colore(t->lblName[5]), QColor(0, 0, 255));
    EXPECT_EQ(t->lblRa[5]->text(), "0");
    EXPECT_EQ(t->lblDec[5]->text(), "0");
    EXPECT_EQ(t->lblPrd[5]->text(), "00:00:00");

    for (int n : {195, 200}) {
        Nomi(n);
        t->cmdUltimo_Click();
        EXPECT_EQ(t->mintPrimo, 191) << n;
        EXPECT_EQ(t->lblName[4]->text(), "SAT 195") << n;
    }
    EXPECT_EQ(t->lblName[9]->text(), "SAT 200");
    // The next button stops at 191 whatever the list holds.
    t->cmdSuccessivo_Click();
    EXPECT_EQ(t->mintPrimo, 191);
    EXPECT_EQ(t->lblSatellite->text(), "Satellites:  191 - 200");
}

TEST_F(TrackTest, RowTextsForShadowSunlightAndPeriod)
{
    Nomi(3);
    Valori sotto;
    sotto.Altezza = -3.2;
    sotto.Stato = StatoVisibile;
    sotto.Magnitudine = MagnitudineVisuale::numero(2.34);
    Valori visibile = sotto;
    visibile.Altezza = 42.125;
    visibile.Azimuth = 7.5;
    visibile.Periodo = 3600 + 33 * 60 + 0.4;
    visibile.LatitudineAssoluta = 5.5;
    visibile.EmisferoNS = "S";
    visibile.LongitudineAssoluta = 120.25;
    visibile.EmisferoEW = "W";
    visibile.VelocitaRadiale = -7.0;
    Valori eclissato = visibile;
    eclissato.Stato = StatoEclisse;
    eclissato.Magnitudine = MagnitudineVisuale::vuota();
    gudtValori[1] = sotto;
    gudtValori[2] = visibile;
    gudtValori[3] = eclissato;
    gudtSatelementi[2].FrequenzaDiscesa[1] = "145.8";
    gudtSatelementi[2].FrequenzaSalita[1] = "435";

    frmTrack* t = frmTrack::Mostra();
    EXPECT_EQ(Colore(t->lblName[0]), QColor(255, 0, 0));
    EXPECT_EQ(t->lblMag[0]->text(), "*");
    EXPECT_EQ(Colore(t->lblName[1]), QColor(0, 0, 255));
    EXPECT_EQ(t->lblMag[1]->text(), "2.3");
    EXPECT_EQ(t->lblEcl[1]->text(), mLang::Testo_Lingua("Conditions", "visibile"));
    EXPECT_EQ(t->lblMag[2]->text(), "*");
    EXPECT_EQ(t->lblEcl[2]->text(), mLang::Testo_Lingua("Conditions", "eclisse"));
    EXPECT_EQ(t->lblAlt[1]->text(), "42.13°");
    EXPECT_EQ(t->lblAz[1]->text(), "07.50°");
    EXPECT_EQ(t->lblPrd[1]->text(), "01:33:00");
    EXPECT_EQ(t->lblLat[1]->text(), "5.50°S");
    EXPECT_EQ(t->lblLon[1]->text(), "120.25°W");
    // Approaching at 7 km/s: received above, sent below the nominal frequency.
    EXPECT_EQ(t->lblRicez[1]->text(), vb::Format(145.8 * (1 + 7.0 / 299792), u"000.0000"));
    EXPECT_EQ(t->lblRicez[1]->text(), "145.8034");
    EXPECT_EQ(t->lblTrasm[1]->text(), "434.9898");
    EXPECT_EQ(t->lblRR[1]->text(), "-7.0");
}

TEST_F(TrackTest, ChannelChoiceBelongsToTheRow)
{
    Nomi(12);
    for (int s = 1; s <= 12; ++s)
        for (int c = 1; c <= 10; ++c)
            gudtSatelementi[size_t(s)].FrequenzaDiscesa[size_t(c)] = std::to_string(100 * c + s);
    gudtSatelementi[3].FrequenzaSalita[1] = "145.2";
    gintCanale[4] = 4;

    frmTrack* t = frmTrack::Mostra();
    EXPECT_EQ(t->cmdCanale[2]->Caption(), "Ch. 1");
    EXPECT_EQ(t->cmdCanale[4]->Caption(), "Ch. 4");
    EXPECT_EQ(t->lblDnlink[4]->text(), "405.0000");

    // The list: three blanks, downlink, a tab, uplink; none shows 000.0000.
    t->cmdCanale_Click(2);
    frmChannel* c = frmChannel::instance();
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->List1->count(), 10);
    EXPECT_EQ(c->List1->item(0)->text(), "   103.0000\t145.2000");
    EXPECT_EQ(c->List1->item(1)->text(), "   203.0000\t000.0000");
    EXPECT_EQ(c->List1->currentRow(), 0);

    // Cancel changes nothing.
    c->List1->setCurrentRow(5);
    c->cmdCancel_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(t->cmdCanale[2]->Caption(), "Ch. 1");
    EXPECT_EQ(gintCanale[2], 1);

    // Line 3 and OK: the row shows channel 3 at once; paging keeps the
    // channel on the row, so the next satellite shows its channel 3.
    t->cmdCanale_Click(2);
    c = frmChannel::instance();
    c->List1->setCurrentRow(2);
    c->cmdOK_Click();
    EXPECT_EQ(t->cmdCanale[2]->Caption(), "Ch.3");
    EXPECT_EQ(t->canaleTag(2), "3");
    EXPECT_EQ(gintCanale[2], 3);
    EXPECT_EQ(t->lblDnlink[2]->text(), "303.0000");
    t->cmdSuccessivo_Click();
    EXPECT_EQ(t->lblDnlink[2]->text(), "304.0000");

    // A row on channel 4 opens with the fourth line chosen; opened again for
    // another row while still open, it shows that row's satellite.
    t->cmdCanale_Click(4);
    c = frmChannel::instance();
    EXPECT_EQ(c->List1->currentRow(), 3);
    EXPECT_EQ(c->List1->item(0)->text(), "   106.0000\t000.0000");
    t->cmdCanale_Click(0);
    EXPECT_EQ(frmChannel::instance(), c);
    EXPECT_EQ(c->gintIndicePulsante, 0);
    EXPECT_EQ(c->List1->item(0)->text(), "   102.0000\t000.0000");

    // OK with no line chosen stores 0, which the table reads as channel 1.
    c->List1->setCurrentRow(-1);
    c->List1->clearSelection();
    c->List1_DblClick();
    EXPECT_EQ(t->cmdCanale[0]->Caption(), "Ch.0");
    EXPECT_EQ(gintCanale[0], 0);
    EXPECT_EQ(t->lblDnlink[0]->text(), "102.0000");
}

// The channel choice over the tracking table, with the whole-sky chart
// opened before both, on a display without a window manager (run again
// there by itself): a click on a row's channel button, Down Down Enter in
// the choice; the row takes channel 3, and the tracking table, where the user
// came from, is in front again with the keyboard, the chart behind it.
TEST_F(TrackTest, TheChannelChosenTheTrackingTableIsInFrontAgainWithTheKeys)
{
    if (qgetenv("ASTROVELA_CANALE_TASTI").isEmpty()) {
        testsupport::Riesegui_Per_Ogni("ASTROVELA_CANALE_TASTI", {"canale"});
        return;
    }
    using testsupport::InputX;
    InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    Nomi(3);
    for (int c = 1; c <= 10; ++c)
        gudtSatelementi[1].FrequenzaDiscesa[size_t(c)] = std::to_string(100 * c + 1);
    MDIForm1 w;
    sky::Collega_Cielo_Generale(w);
    tables::Collega_Tabelle(w);
    w.Lingua();
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(w, {1200, 900}));
    w.menuItem("mnuCieloMappaGenerale")->trigger();
    QMdiSubWindow* carta = w.mdiArea()->activeSubWindow();
    ASSERT_NE(carta, nullptr);
    ASSERT_EQ(carta->widget()->objectName(), "frmGeneralSky");
    w.menuItem("mnuEffemeridiSatelliti")->trigger();
    frmTrack* t = frmTrack::instance();
    ASSERT_NE(t, nullptr);
    QMdiSubWindow* tabella = w.mdiArea()->activeSubWindow();
    ASSERT_EQ(tabella, t->parentWidget());
    QTest::qWait(300);

    const auto clic = [&x](QWidget* c, QPoint p) { x.clic(c->mapToGlobal(p)); };
    clic(t->SSTab1, t->SSTab1->tabRect(3).center()); // the radio tab
    ASSERT_TRUE(QTest::qWaitFor([&] { return t->cmdCanale[0]->isVisible(); }, 2000));
    clic(t->cmdCanale[0], t->cmdCanale[0]->rect().center());
    ASSERT_TRUE(QTest::qWaitFor([] { return frmChannel::instance() && frmChannel::instance()->isVisible(); }, 2000));
    QTest::qWait(300);
    for (unsigned long tasto : {InputX::kGiu, InputX::kGiu, InputX::kInvio}) {
        x.premi(tasto);
        QTest::qWait(100);
    }
    ASSERT_TRUE(QTest::qWaitFor([] { return !frmChannel::instance(); }, 2000)) << "Enter did not close the choice";
    EXPECT_EQ(gintCanale[0], 3);
    EXPECT_EQ(t->cmdCanale[0]->Caption(), "Ch.3");
    QTest::qWait(200);
    EXPECT_TRUE(testsupport::Davanti_Nell_Area(w.mdiArea(), tabella));
    w.closeChildren();
}

TEST_F(TrackTest, FrequencyTableFillsTheFirstFreeChannels)
{
    Nomi(3);
    gudtSatelementi[1].NumeroCatalogo = "25544";
    gudtSatelementi[2].NumeroCatalogo = "07530";
    gudtSatelementi[3].NumeroCatalogo = "25544";   // a second copy: the first slot takes the rows
    gudtSatelementi[1].FrequenzaDiscesa[1] = "437.8";
    for (int c = 1; c <= 10; ++c)
        gudtSatelementi[2].FrequenzaSalita[size_t(c)] = "1";
    const TabellaFrequenze salvata = gudtFrequenze;
    gudtFrequenze = TabellaFrequenze({RigaDati{}, RigaDati{"25544", "145.99", "145.8"},
                                      RigaDati{"99999", "1", "2"}, RigaDati{"7530", "432.1", "145.9"},
                                      RigaDati{"25544", "", "400.1"}});
    frmTrack::Assegna_frequenze();
    gudtFrequenze = salvata;
    const Satelement& iss = gudtSatelementi[1];
    EXPECT_EQ(iss.FrequenzaDiscesa[1], "437.8");
    EXPECT_EQ(iss.FrequenzaSalita[2], "145.99");
    EXPECT_EQ(iss.FrequenzaDiscesa[2], "145.8");
    EXPECT_EQ(iss.FrequenzaDiscesa[3], "400.1");
    EXPECT_EQ(iss.FrequenzaSalita[3], "");
    EXPECT_EQ(gudtSatelementi[3].FrequenzaDiscesa[1], "");
    // Every channel of slot 2 is taken: its row is left out.
    EXPECT_EQ(gudtSatelementi[2].FrequenzaDiscesa[1], "");
}

TEST_F(TrackTest, EphemeridesMenuOpensEachTableOnceInTheWorkspace)
{
    MDIForm1 w;
    tables::Collega_Tabelle(w);
    w.show();
    const char* const voci[] = {"mnuEffemeridiSatelliti", "mnuEffemeridiPianeti", "mnuEffemeridiAlmanacco"};
    const char* const finestre[] = {"frmTrack", "frmPlanets", "frmRiseSet"};
    for (int i = 0; i < 3; ++i) {
        QAction* a = w.menuItem(QString::fromLatin1(voci[i]));
        ASSERT_NE(a, nullptr);
        ASSERT_TRUE(a->isEnabled()) << voci[i];
        a->trigger();
        a->trigger();
        int n = 0;
        for (QMdiSubWindow* s : w.mdiArea()->subWindowList())
            if (s->widget() && s->widget()->objectName() == QLatin1String(finestre[i]) && s->isVisible())
                ++n;
        EXPECT_EQ(n, 1) << finestre[i];
        EXPECT_TRUE(mGlobal::Form_Aperta(QString::fromLatin1(finestre[i])));
    }
    EXPECT_NE(core::clockViews().track, nullptr);
    EXPECT_NE(core::clockViews().planets, nullptr);
    // OK closes the frame too, and the next command makes a new window.
    frmTrack::instance()->cmdOK_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(mGlobal::Form_Aperta(QStringLiteral("frmTrack")));
    w.menuItem("mnuEffemeridiSatelliti")->trigger();
    EXPECT_NE(frmTrack::instance(), nullptr);
    w.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(core::clockViews().track, nullptr);
    EXPECT_EQ(core::clockViews().planets, nullptr);
}
