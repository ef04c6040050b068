// The principal's pass for the local sky chart: a satellite that never sets,
// an unusable principal, and the shared state given back.
#include "support/sample_sets.h"
#include "core/clock.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/msat.h"
#include "core/settings.h"
#include "core/transit.h"
#include "core/working_list.h"
#include "support/computer_zone.h"
#include "support/observer.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>

namespace {

RigaDati set(const char* catalogo)
{
    return testsupport::Set_Campione(catalogo);
}

class Transit : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::Osservatore(41.9f, 12.5f, 50.0f);
        core::WorkingList::instance().setFile(QString());
        core::WorkingList::instance().Rimuovi_Tutti();
        gdatDataCorrente = core::Data_Orologio(QDate(2013, 11, 26), QTime(21, 0, 0));
        ASSERT_TRUE(mAstro::Aggiorna_Tempo(gdatDataCorrente));
        pflgCentrale = true;
    }
    void TearDown() override
    {
        core::WorkingList::instance().Rimuovi_Tutti();
        core::Svuota_Passaggio();
    }
    // Azimuthal equidistant with south at the bottom.
    static void proietta(double az, double alt, float& x, float& y)
    {
        const double g = M_PI / 180;
        x = float(-(90 - alt) * std::sin(az * g));
        y = float((90 - alt) * std::cos(az * g));
    }
};

TEST_F(Transit, AGeostationarySatelliteGivesAWholePeriodWithoutAHorizonPoint)
{
    ASSERT_EQ(core::WorkingList::instance().Aggiungi(set("26900")).esito, core::WorkingList::Esito::Aggiunto);
    ASSERT_TRUE(mSat::Calcola_Satellite(1, gdblGiornoGiuliano));
    const Valori prima = gudtValori[1];
    ASSERT_GT(prima.Altezza, 0);
    const double jd = gdblGiornoGiuliano;
    const int n = core::Calcola_Passaggio(proietta);
    // One point a 180th of the period from the clock itself, for one period.
    EXPECT_GE(n, 180);
    EXPECT_LE(n, 181);
    EXPECT_EQ(core::Ultimo_Punto(), n);
    for (int i = 1; i <= n; ++i) {
        EXPECT_FALSE(gudtPuntiPassaggio[i].Orario.isEmpty()) << i;
        EXPECT_GT(gudtPuntiPassaggio[i].Altezza, 0);
    }
    EXPECT_EQ(gudtPuntiPassaggio[1].Orario, QStringLiteral("2013-11-26 21:00:00"));
    EXPECT_NEAR(gudtPuntiPassaggio[1].Altezza, prima.Altezza, 1e-9);
    // Back to the program clock.
    EXPECT_DOUBLE_EQ(gdblGiornoGiuliano, jd);
    EXPECT_EQ(gudtValori[1], prima);
    EXPECT_TRUE(pflgCentrale);

    // The same principal with its name line blank: its pass all the same.
    core::WorkingList::instance().Rimuovi_Tutti();
    RigaDati senzaNome = set("26900");
    senzaNome.Riga0 = std::string(24, ' ');
    ASSERT_EQ(core::WorkingList::instance().Aggiungi(senzaNome).esito, core::WorkingList::Esito::Aggiunto);
    ASSERT_TRUE(gudtSatelementi[1].Nome.empty());
    ASSERT_TRUE(mSat::Calcola_Satellite(1, gdblGiornoGiuliano));
    EXPECT_EQ(core::Calcola_Passaggio(proietta), n);
}

TEST_F(Transit, APrincipalWithoutAPeriodComputesNothing)
{
    EXPECT_EQ(core::Calcola_Passaggio(proietta), 0); // empty list
    ASSERT_EQ(core::WorkingList::instance().Aggiungi(set("26900")).esito, core::WorkingList::Esito::Aggiunto);
    gudtValori[1] = Valori{}; // not computed yet: no period, which would never move the clock on
    EXPECT_EQ(core::Calcola_Passaggio(proietta), 0);
    EXPECT_EQ(core::Ultimo_Punto(), 0);
    EXPECT_TRUE(pflgCentrale);
}

TEST_F(Transit, LabelTextShowsTheTimeAndTheMagnitudeWhenSunlit)
{
    core::PuntoPassaggio p;
    p.Orario = QStringLiteral("2013-11-26 23:01:07");
    EXPECT_EQ(core::Testo_Etichetta(p, QStringLiteral("Mag.")), QStringLiteral("23:01:07"));
    p.Magnitudine = QStringLiteral("-1.26");
    EXPECT_EQ(core::Testo_Etichetta(p, QStringLiteral("Mag.")), QStringLiteral("23:01:07 mag.-1.3"));
    p.Magnitudine = QStringLiteral("???");
    EXPECT_EQ(core::Testo_Etichetta(p, QStringLiteral("Mag.")), QStringLiteral("23:01:07 mag.???"));
    // A time in the hour the computer's own zone skips that night is still
    // a time of the observer's.
    const testsupport::FusoComputer roma("Europe/Rome");
    p.Orario = QStringLiteral("2026-03-29 02:30:00");
    p.Magnitudine.clear();
    EXPECT_EQ(core::Testo_Etichetta(p, QStringLiteral("Mag.")), QStringLiteral("02:30:00"));
    p.Orario = QStringLiteral("not a time");
    EXPECT_EQ(core::Testo_Etichetta(p, QStringLiteral("Mag.")), QStringLiteral("not a time"));
}

} // namespace
