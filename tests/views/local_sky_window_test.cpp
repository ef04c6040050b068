// The local sky window: loading from the settings, layout, redraw, the live
// satellites, closing.
#include "local_sky_fixture.h"

#include <QImage>

namespace {

using skytest::LocalSky;

TEST_F(LocalSky, OpensFromTheMenuAndDrawsTheSatellites)
{
    elenca(skytest::sets());
    ASSERT_GT(gintNumSatelliti, 10);
    main->show();
    frmLocalSky* f = views::cielo::mnuCieloMappaLocale_Click();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(core::clockViews().localSky, f);
    // Sets the sample's old sets may have decayed by 2013: each tick removes one.
    for (int i = 0; i < 40; ++i) {
        const int prima = gintNumSatelliti;
        tick();
        if (gintNumSatelliti == prima)
            break;
    }
    f->Genera_mappa();
    tick();
    QCoreApplication::processEvents();
    if (qEnvironmentVariableIsSet("ASTROVELA_SHOTS")) {
        f->Picture1->canvas().image().save(qEnvironmentVariable("ASTROVELA_SHOTS") + "/localsky_chart.png");
        main->grab().save(qEnvironmentVariable("ASTROVELA_SHOTS") + "/localsky_window.png");
    }
}

} // namespace
