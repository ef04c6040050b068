// The printed chart: the page through a PDF printer, its text block and
// table fields, and a cancelled print dialog.
#include "local_sky_fixture.h"

#include "maps/local_sky_print.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

namespace {

using skytest::LocalSky;

QString testoPdf(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(LocalSkyPrintFields, TableFieldsCutAndPadAsTheLayoutSays)
{
    EXPECT_EQ(views::cielo::Fondo_Cornice(true), 14600);
    EXPECT_EQ(views::cielo::Fondo_Cornice(false), 15636);
    // A declination between -1 and 0 keeps no sign on its degrees.
    EXPECT_EQ(views::cielo::Campo_Declinazione(-0.5), "0°30'");
    EXPECT_EQ(views::cielo::Campo_Declinazione(-23.25), "-23°15'");
    EXPECT_EQ(views::cielo::Campo_Ascensione(13.5), "13h30m");
    EXPECT_EQ(views::cielo::Campo_Diametro(1925.4), "32'05''");
    // A full Moon: the four-character field cuts the per-cent sign; 5 per cent keeps it.
    EXPECT_EQ(views::cielo::Campo_Fase_Luna(M_PI), " 100");
    EXPECT_EQ(views::cielo::Campo_Fase_Luna(std::acos(0.9)), " 5% ");
    // Dots of 12, 8 and 3 printer pixels at 600 dpi, as radii in twips.
    EXPECT_DOUBLE_EQ(views::cielo::Raggio_Stella(293), 14.4);
    EXPECT_DOUBLE_EQ(views::cielo::Raggio_Stella(294), 9.6);
    EXPECT_DOUBLE_EQ(views::cielo::Raggio_Stella(921), 9.6);
    EXPECT_DOUBLE_EQ(views::cielo::Raggio_Stella(922), 3.6);
}

TEST_F(LocalSky, PrintsOnePageWithTheChartAndTheTable)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("cielo.pdf");
    gstrLocalita = QStringLiteral("Italy: Roma");
    frmLocalSky* f = views::cielo::mnuCieloMappaLocale_Click();
    main->menuItem("mnuLocalSkyGriglia")->setChecked(true);
    main->menuItem("mnuLocalSkyOggettiCostellazioni")->setChecked(true);
    main->menuItem("mnuLocalSkyEtichetteCostellazioni")->setChecked(true);

    // Cancel prints nothing.
    f->Stampa();
    EXPECT_FALSE(QFileInfo::exists(pdf));
    ASSERT_EQ(fakes.files.calls.size(), 1);

    fakes.files.printerAnswers = {pdf};
    clic("mnuLocalSkyStampa");
    ASSERT_TRUE(QFileInfo::exists(pdf));
    // Blanks as pdftotext lays them out depend on the font found for
    // Courier New: compare with runs of blanks made one.
    const QString t = testoPdf(pdf).simplified();
    EXPECT_TRUE(t.contains("LOCAL SKY CHART"));
    EXPECT_TRUE(t.contains("Place : Italy: Roma"));
    EXPECT_TRUE(t.contains("Coordinates : Lat. 41.900° Lon. 12.500°"));
    EXPECT_TRUE(t.contains("Date : 26 Nov 2013 hours 21:00"));
    for (const char* nome : {"Mercury", "Jupiter", "Neptune", "Sun", "Moon"})
        EXPECT_TRUE(t.contains(QLatin1String(nome))) << nome;
    EXPECT_TRUE(t.contains("-26.4"));
    // Compass labels of the south orientation and constellation abbreviations above the horizon.
    EXPECT_TRUE(t.contains("330°"));
    // The rows hold the values the chart's table computes.
    // Every row of the table as the chart's own fields make it (Jupiter up, Mars down).
    for (int k = 1; k <= 9; ++k)
        EXPECT_TRUE(t.contains(views::cielo::Riga_Tabella(k).simplified())) << k;
    // Jupiter stands 12.3 degrees up at azimuth 71.4 for PyEphem (ref_local_sky.csv).
    const QRegularExpression giove(QStringLiteral("Jupiter : (1[12]\\.\\d) (7[01]\\.\\d) 7h2\\dm 2\\d°\\d\\d' -2\\.\\d \\d'\\d\\d'' 1\\.00"));
    EXPECT_TRUE(giove.match(t).hasMatch());
    if (qEnvironmentVariableIsSet("ASTROVELA_SHOTS"))
        QFile::copy(pdf, qEnvironmentVariable("ASTROVELA_SHOTS") + "/localsky_print.pdf");
}

} // namespace

namespace {

TEST_F(LocalSky, TheFileMenuPrintReachesTheChartByName)
{
    // The main window's general print command calls the active window's Stampa by name.
    frmLocalSky* f = views::cielo::mnuCieloMappaLocale_Click();
    EXPECT_GE(f->metaObject()->indexOfMethod("Stampa()"), 0);
    EXPECT_GE(f->metaObject()->indexOfMethod("tmrLocalSky_Timer()"), 0);
    EXPECT_TRUE(f->setProperty("gintNumStelle", 300)); // a declared property, not a dynamic one
    EXPECT_EQ(f->gintNumStelle, 300);
}

} // namespace
