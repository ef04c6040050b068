// The local sky chart and a pass map open side by side over Rome: each
// chart draws from positions of its own, so what one draws or prints never
// moves what the other one picks.
#include "local_sky_fixture.h"

#include "core/element_parser.h"
#include "passes/pass_map_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

using skytest::LocalSky;

RigaDati iss()
{
    for (const RigaDati& s : skytest::sets())
        if (s.Riga1.substr(2, 5) == "25544")
            return s;
    ADD_FAILURE() << "no ISS in the sample";
    return {};
}

// Local program time (CET) on 27 November 2013.
QDateTime il27(int h, int m, int s)
{
    return core::Data_Orologio(QDate(2013, 11, 27), QTime(h, m, s));
}

// The ISS pass over Rome at dawn on 27 November 2013 (Skyfield: rise
// 05:28:14, culmination 05:33:36, set 05:38:57 UT), charted at 06:30 CET.
std::unique_ptr<frmSkySat> mappaIss()
{
    const RigaDati s = iss();
    EXPECT_EQ(Estrai_Dati_Satellite(kSlotScratch, s.Riga0, s.Riga1, s.Riga2), core::ErroreElementi::Nessuno);
    gudtRigheAttive[kSlotScratch] = s;
    gintSatelliteCalcolo = kSlotScratch;
    auto m = std::make_unique<frmSkySat>();
    m->setAttribute(Qt::WA_DeleteOnClose, false);
    m->gvarTempoInizio = il27(6, 28, 14);
    m->gvarTempoCulmine = il27(6, 33, 36);
    m->gvarTempoFine = il27(6, 38, 57);
    m->gvarTempoMappa = il27(6, 30, 0);
    m->gstrRiga1 = QStringLiteral("27/11/2013 06:28:14  311.4  0.0");
    m->gstrRiga2 = QStringLiteral("27/11/2013 06:33:36  225.6 48.7");
    m->gstrRiga3 = QStringLiteral("27/11/2013 06:38:57  139.5  0.0");
    m->Form_Load();
    m->resize(442, 458);
    m->show();
    QApplication::sendPostedEvents();
    return m;
}

QString cartellaFoto()
{
    return qEnvironmentVariable("ASTROVELA_SHOTS");
}

TEST_F(LocalSky, APassMapDrawnOrPrintedLeavesTheChartsPicksAlone)
{
    gstrLocalita = QStringLiteral("Italy: Roma");
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    f->setLarghezzaRiquadro(0);
    f->resize(703, 352);
    f->Form_Resize();
    std::vector<int> scelti;
    frmLocalSky::mostraOggetto() = [&](int o) { scelti.push_back(o); };

    // A click where PyEphem puts Jupiter at 20:00 UT (ref_local_sky.csv:
    // elevation 12.290, azimuth 71.356) picks Jupiter.
    float x = 0, y = 0;
    f->Mappatura(71.35604, 12.28979, x, y);
    auto clic = [&] {
        f->Picture1_MouseDown(1, 0, x, y);
        f->Picture1_MouseUp(1, 0, x, y);
    };
    clic();
    ASSERT_EQ(scelti, std::vector<int>{mAstro::kGiove});

    // A pass map of another instant, drawn and redrawn with other options.
    auto m = mappaIss();
    ASSERT_GE(m->puntiTraccia().size(), 20u);
    clic();
    EXPECT_EQ(scelti, (std::vector<int>{mAstro::kGiove, mAstro::kGiove}));
    m->impmnuSkySatOrientamentoSud = false;
    m->impmnuSkySatOrientamentoNord = true;
    m->impmnuSkySatProiezStereo = true;
    m->impmnuSkySatProiezNormale = false;
    m->Genera_mappa(false);
    clic();
    EXPECT_EQ(scelti.size(), 3u);
    EXPECT_EQ(scelti.back(), mAstro::kGiove);

    // Its printed sheet.
    QTemporaryDir dir;
    const QString foglio = dir.filePath(QStringLiteral("foglio.pdf"));
    fakes.files.printerAnswers = {foglio};
    m->Stampa();
    ASSERT_TRUE(QFileInfo::exists(foglio));
    clic();
    EXPECT_EQ(scelti.size(), 4u);
    EXPECT_EQ(scelti.back(), mAstro::kGiove);

    // The local chart's own redraw still finds Jupiter where it was.
    f->Genera_mappa();
    clic();
    EXPECT_EQ(scelti.size(), 5u);
    EXPECT_EQ(scelti.back(), mAstro::kGiove);
    frmLocalSky::mostraOggetto() = nullptr;

    // Pictures for a look (ASTROVELA_SHOTS=folder): both charts on screen
    // and both printed pages, as the defaults draw them.
    const QString foto = cartellaFoto();
    if (foto.isEmpty())
        return;
    for (const char* v : {"mnuLocalSkyGriglia", "mnuLocalSkyOggettiCostellazioni", "mnuLocalSkyEtichetteCostellazioni",
                          "mnuLocalSkyOggettiPianeti", "mnuLocalSkyEtichettePianeti", "mnuLocalSkyOggettiSoleLuna",
                          "mnuLocalSkyEtichetteSoleLuna"})
        main->menuItem(v)->setChecked(true);
    f->setLarghezzaRiquadro(1935);
    f->resize(1000, 600);
    f->Form_Resize();
    f->grab().save(foto + QStringLiteral("/localsky.png"));
    gblnAnteprimaGriglia = gblnAnteprimaGriglia10 = true;
    gblnAnteprimaCostellazioniLinee = gblnAnteprimaCostellazioniNomi = true;
    gblnAnteprimaPianeti = gblnAnteprimaPianetiNomi = gblnAnteprimaSoleLuna = gblnAnteprimaSoleLunaNomi = true;
    auto n = mappaIss();
    n->grab().save(foto + QStringLiteral("/passmap.png"));
    const QString cielo = foto + QStringLiteral("/localsky_print.pdf");
    QFile::remove(cielo);
    fakes.files.printerAnswers = {cielo};
    f->Stampa();
    const QString carta = foto + QStringLiteral("/passmap_print.pdf");
    QFile::remove(carta);
    fakes.files.printerAnswers = {carta};
    n->Stampa();
}

} // namespace
