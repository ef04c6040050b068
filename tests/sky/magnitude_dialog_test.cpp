// The limiting-magnitude dialog: it preselects the target chart's count,
// sets only that chart's count on OK and redraws it, and changes nothing on
// Cancel or in the settings.
#include "sky/sky_chart_window.h"
#include "sky/magnitude_dialog.h"
#include "core/data_files.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/canvas_widget.h"
#include "platform/fakes.h"
#include "platform/services.h"
#include "maps/local_sky_window.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

int Punti(const QImage& img, QRgb colore)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (colore & 0xFFFFFF);
    return n;
}

class MagnitudeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        ASSERT_TRUE(Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR)));
        gintGeneraleStelle = 5146;
        gblnGeneraleGriglia = false;
        gblnGeneraleCostellazioniLinee = false;
        gblnGeneraleCostellazioniNomi = false;
        gblnGeneralePianeti = false;
        gblnGeneraleSoleLuna = false;
    }
    void TearDown() override
    {
        delete frmGeneralSky::instance(false);
        mLang::Usa_File_Lingua({});
    }
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

} // namespace

TEST_F(MagnitudeTest, WholeSkyChartTakesTheChosenLimit)
{
    frmGeneralSky* c = frmGeneralSky::instance();
    c->show();
    c->resize(720, 360);
    QApplication::processEvents();
    ASSERT_GT(Punti(c->Picture1->canvas().image(), qRgb(140, 140, 140)), 0);

    {
        frmMagnitude d(QStringLiteral("generale"), nullptr);
        EXPECT_EQ(d.windowTitle(), "Limiting magnitude");
        ASSERT_EQ(d.cmbMagnitudine->count(), 12);
        EXPECT_EQ(d.cmbMagnitudine->itemText(0), "mag. > 6.5");
        EXPECT_EQ(d.cmbMagnitudine->itemText(11), "mag. 1.5");
        EXPECT_EQ(d.cmbMagnitudine->currentText(), "mag. 6.0");
        EXPECT_EQ(d.lblNumeroStelle->text(), "5146");
        EXPECT_EQ(d.stelleScelte(), 5146);
        // Choosing an item shows its count; Cancel keeps the chart as it was.
        d.cmbMagnitudine->setCurrentIndex(7);
        d.cmbMagnitudine_Click();
        EXPECT_EQ(d.lblNumeroStelle->text(), "293");
        d.cmdCancel_Click();
    }
    EXPECT_EQ(c->gintNumStelle, 5146);

    {
        frmMagnitude d(QStringLiteral("generale"), nullptr);
        d.cmbMagnitudine->setCurrentIndex(7);   // mag. 3.5
        d.cmbMagnitudine_Click();
        d.cmdOK_Click();
    }
    EXPECT_EQ(c->gintNumStelle, 293);
    // Redrawn with the white discs of the brightest stars only.
    const QImage img = c->Picture1->canvas().image();
    EXPECT_EQ(Punti(img, qRgb(140, 140, 140)), 0);
    EXPECT_EQ(Punti(img, qRgb(220, 220, 220)), 0);
    EXPECT_GT(Punti(img, qRgb(255, 255, 255)), 0);
    // No setting written, the global untouched.
    EXPECT_EQ(gintGeneraleStelle, 5146);
    EXPECT_FALSE(fakes.settings.hasSection(QStringLiteral("Cielo generale")));
}

// The pass map's target is tested on real pass maps opened through the menu
// (tests/passes/pass_map_window_test.cpp).
TEST_F(MagnitudeTest, LocalChartAndUnknownTargets)
{
    gintLocaleStelle = 1639;
    frmLocalSky* locale = frmLocalSky::instance(true);
    locale->show();
    locale->resize(800, 600);
    QApplication::processEvents();
    locale->tmrLocalSky_Timer();
    const QImage prima = locale->Picture1->canvas().image();

    {
        frmMagnitude d(QStringLiteral("locale"), nullptr);
        EXPECT_EQ(d.cmbMagnitudine->currentText(), "mag. 5.0");
        d.cmbMagnitudine->setCurrentIndex(0);
        d.cmbMagnitudine_Click();
        d.cmdOK_Click();
    }
    EXPECT_EQ(locale->gintNumStelle, 9010);
    EXPECT_NE(locale->Picture1->canvas().image(), prima) << "the local chart is redrawn with every star";
    EXPECT_EQ(gintLocaleStelle, 1639);

    // A count outside the table: nothing preselected, OK leaves the chart alone.
    locale->gintNumStelle = 1000;
    {
        frmMagnitude d(QStringLiteral("locale"), nullptr);
        EXPECT_EQ(d.cmbMagnitudine->currentIndex(), -1);
        EXPECT_EQ(d.lblNumeroStelle->text(), "1000");
        d.cmdOK_Click();
    }
    EXPECT_EQ(locale->gintNumStelle, 1000);
    delete locale;

    // An unknown target word reads 0 and changes nothing, even with a choice.
    frmGeneralSky* c = frmGeneralSky::instance();
    frmMagnitude d(QStringLiteral("altro"), nullptr);
    EXPECT_EQ(d.lblNumeroStelle->text(), "0");
    d.cmbMagnitudine->setCurrentIndex(11);
    d.cmbMagnitudine_Click();
    d.cmdOK_Click();
    EXPECT_EQ(c->gintNumStelle, 5146);
}

