// Stars and bodies on the chart against PyEphem, and the principal's pass
// against Skyfield (tests/data/ref_local_sky.csv, tools/ref_local_sky.py).
#include "local_sky_fixture.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>

#include <cmath>
#include <map>

namespace {

using skytest::LocalSky;

struct Riga {
    QString tipo, nome;
    double ra = 0, dec = 0, alt = 0, az = 0;
};

std::vector<Riga> righe(const char* tipo)
{
    std::vector<Riga> out;
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/ref_local_sky.csv"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    while (!f.atEnd()) {
        const QStringList c = QString::fromUtf8(f.readLine()).trimmed().split(',');
        if (c.size() < 6 || c[0] != QLatin1String(tipo))
            continue;
        out.push_back({c[0], c[1], c[2].toDouble(), c[3].toDouble(), c[4].toDouble(), c[5].toDouble()});
    }
    return out;
}

// Where a direction belongs on the chart: x = -r sin(90k + az), y = r cos(90k + az).
QPointF atteso(int k, bool stereo, double az, double alt)
{
    const double g = M_PI / 180;
    const double r = stereo ? 90 * std::tan((45 - alt / 2) * g) : 90 - alt;
    return {-r * std::sin((90 * k + az) * g), r * std::cos((90 * k + az) * g)};
}

// 2013-11-26 20:00 UT, 21:00 in Rome.
TEST_F(LocalSky, StarsAndBodiesLieWherePyEphemSeesThem)
{
    const std::vector<Riga> stelle = righe("star");
    const std::vector<Riga> corpi = righe("body");
    ASSERT_GT(stelle.size(), 100u);
    ASSERT_EQ(corpi.size(), 9u);
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    f->gintNumStelle = int(gudtStelle.size()) - 1;

    struct Caso {
        const char* voce;
        const char* proiezione;
        int k;
        bool stereo;
    };
    for (const Caso& c : {Caso{"mnuLocalSkyOrientamentoNord", "mnuLocalSkyProiezStereo", 2, true},
                          Caso{"mnuLocalSkyOrientamentoOvest", "mnuLocalSkyProiezNormale", 3, false}}) {
        clic(c.voce);
        clic(c.proiezione);
        ASSERT_TRUE(spunta(c.voce));
        ASSERT_EQ(spunta("mnuLocalSkyProiezStereo"), c.stereo);
        f->Genera_mappa();
        int trovate = 0;
        for (const Riga& s : stelle) {
            // The catalogue star at the reference's J2000 place.
            int indice = 0;
            for (std::size_t i = 1; i < gudtStelle.size(); ++i)
                if (std::abs(gudtStelle[i].AscensioneRetta - s.ra) * 15 * std::cos(s.dec * M_PI / 180) < 0.02
                    && std::abs(gudtStelle[i].Declinazione - s.dec) < 0.02) {
                    indice = int(i);
                    break;
                }
            if (!indice)
                continue;
            ++trovate;
            const Stella& st = gudtStelle[indice];
            // J2000 places precessed to the date against PyEphem's apparent
            // ones: nutation, aberration and 13 years of proper motion apart.
            EXPECT_NEAR(st.Altezza, s.alt, 0.05) << s.nome.toStdString();
            if (s.alt > 0 && s.alt < 85) {
                EXPECT_NEAR(std::remainder(st.Azimuth - s.az, 360.0), 0, 0.05 / std::cos(s.alt * M_PI / 180));
                const QPointF a = atteso(c.k, c.stereo, s.az, s.alt);
                EXPECT_NEAR(st.XMappa, a.x(), 0.7) << s.nome.toStdString();
                EXPECT_NEAR(st.YMappa, a.y(), 0.7) << s.nome.toStdString();
            }
        }
        EXPECT_GT(trovate, 90);
        // The planets from mean elements: within 0.2 degrees, and the chart's rounding.
        const std::map<QString, double> tolleranza = {{"mercurio", 0.3}, {"venere", 0.3}, {"marte", 0.3},
                                                      {"giove", 0.3},    {"saturno", 0.3}, {"urano", 0.3},
                                                      {"nettuno", 0.3},  {"sole", 0.1},   {"luna", 0.3}};
        const char* const chiavi[10] = {"", "mercurio", "venere", "marte", "giove", "saturno",
                                        "urano", "nettuno", "sole", "luna"};
        for (int b = 1; b <= 9; ++b) {
            const QString chiave = QLatin1String(chiavi[b]);
            auto it = std::find_if(corpi.begin(), corpi.end(), [&](const Riga& r) { return r.nome == chiave; });
            ASSERT_NE(it, corpi.end()) << chiave.toStdString();
            const double tol = tolleranza.at(chiave);
            EXPECT_NEAR(gudtCorpi[b].Altezza, it->alt, tol) << chiave.toStdString();
            if (it->alt > 0) {
                const QPointF a = atteso(c.k, c.stereo, it->az, it->alt);
                EXPECT_NEAR(gudtCorpi[b].XMappa, a.x(), 2 * tol) << chiave.toStdString();
                EXPECT_NEAR(gudtCorpi[b].YMappa, a.y(), 2 * tol) << chiave.toStdString();
            }
        }
    }
}

TEST_F(LocalSky, ThePassFollowsSkyfieldToTheHorizon)
{
    std::map<qint64, std::pair<double, double>> traccia;
    for (const Riga& r : righe("pass"))
        traccia[r.nome.toLongLong()] = {r.alt, r.az};
    double sorgere = 0, tramonto = 0;
    for (const Riga& r : righe("passevent")) {
        if (r.nome == QLatin1String("rise"))
            sorgere = r.ra;
        if (r.nome == QLatin1String("set"))
            tramonto = r.ra;
    }
    ASSERT_GT(traccia.size(), 50u);
    std::vector<RigaDati> iss;
    for (const RigaDati& s : skytest::sets())
        if (s.Riga1.substr(2, 5) == "25544")
            iss.push_back(s);
    ASSERT_EQ(iss.size(), 1u);
    elenca(iss);
    // Two minutes after the rise, local time UT + 1.
    const QDateTime inizio = QDateTime::fromSecsSinceEpoch(qint64(std::ceil(sorgere)) + 120, QTimeZone::utc());
    Orologio(inizio.addSecs(3600).date(), inizio.addSecs(3600).time());
    ASSERT_TRUE(mSat::Calcola_Satellite(1, gdblGiornoGiuliano));
    const double jdPrima = gdblGiornoGiuliano;
    const Valori statoPrima = gudtValori[1];
    ASSERT_GT(statoPrima.Altezza, 0);

    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    clic("mnuLocalSkyOrientamentoNord");
    clic("mnuLocalSkyProiezStereo");
    clic("mnuLocalSkyTransitoPrincipale");
    EXPECT_TRUE(spunta("mnuLocalSkyTransitoPrincipale"));
    EXPECT_TRUE(spunta("mnuLocalSkyTempi"));
    const int n = core::Ultimo_Punto();
    ASSERT_GT(n, 5);

    // The clock, the time globals and slot 1 describe the program time again.
    EXPECT_DOUBLE_EQ(gdblGiornoGiuliano, jdPrima);
    EXPECT_EQ(gudtValori[1], statoPrima);
    EXPECT_TRUE(pflgCentrale);

    // Every point with a time is where Skyfield sees the ISS at that second.
    const auto tempo = [](const core::PuntoPassaggio& p) {
        QDateTime t = QDateTime::fromString(p.Orario, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        t.setTimeZone(QTimeZone::utc());
        return t.toSecsSinceEpoch() - 3600;
    };
    EXPECT_EQ(tempo(gudtPuntiPassaggio[1]), inizio.toSecsSinceEpoch());
    // A label rounds the magnitude once ("#0.0"): 3.449 reads 3.4.
    core::PuntoPassaggio tre;
    tre.Orario = QStringLiteral("2013-11-26 23:01:07");
    tre.Magnitudine = QString::number(3.449, 'g', 15);
    EXPECT_EQ(core::Testo_Etichetta(tre, QStringLiteral("Mag.")), QStringLiteral("23:01:07 mag.3.4"));
    for (int i = 1; i < n; ++i) {
        const core::PuntoPassaggio& p = gudtPuntiPassaggio[i];
        ASSERT_FALSE(p.Orario.isEmpty());
        const qint64 t = tempo(p);
        auto dopo = traccia.lower_bound(t);
        ASSERT_NE(dopo, traccia.end());
        auto prima = dopo == traccia.begin() ? dopo : std::prev(dopo);
        const double w = dopo->first == prima->first ? 0 : double(t - prima->first) / double(dopo->first - prima->first);
        const double alt = prima->second.first + w * (dopo->second.first - prima->second.first);
        // Near the culmination the ISS crosses a degree a second: 0.2 degrees is a fifth of a second.
        EXPECT_NEAR(p.Altezza, alt, 0.2) << i;
        EXPECT_GT(p.Altezza, -0.01);
        const QPointF a = atteso(2, true, p.Azimuth, p.Altezza);
        EXPECT_NEAR(p.XMappa, a.x(), 1e-3);
        EXPECT_NEAR(p.YMappa, a.y(), 1e-3);
        // A dark evening in November: the ISS at 400 km is sunlit or eclipsed, never unknown.
        EXPECT_TRUE(p.Magnitudine.isEmpty() || p.Magnitudine.toDouble() < 10);
    }
    // The pass ends on the horizon circle, after the last point above it and
    // no later than one step past Skyfield's set.
    const core::PuntoPassaggio& h = gudtPuntiPassaggio[n];
    EXPECT_TRUE(h.Orario.isEmpty());
    EXPECT_TRUE(h.Magnitudine.isEmpty());
    EXPECT_EQ(h.Altezza, 0);
    EXPECT_NEAR(std::hypot(h.XMappa, h.YMappa), 90, 1e-3);
    const qint64 ultimo = tempo(gudtPuntiPassaggio[n - 1]);
    EXPECT_LE(ultimo, tramonto + 1);
    const double passo = std::round(statoPrima.Periodo / 180);
    EXPECT_GT(ultimo + passo, tramonto - 1);
    EXPECT_NE(f, nullptr);

    // Clicking the command again hides the pass and keeps the points.
    clic("mnuLocalSkyTransitoPrincipale");
    EXPECT_FALSE(spunta("mnuLocalSkyTransitoPrincipale"));
    EXPECT_FALSE(spunta("mnuLocalSkyTempi"));
    EXPECT_EQ(core::Ultimo_Punto(), n);
}

// A sunlit point keeps the satellite's magnitude whole, so that its label
// rounds it only once (a text cut to two decimals would turn 3.449 into
// 3.45 and then into 3.5).
TEST_F(LocalSky, APassPointKeepsTheWholeMagnitude)
{
    std::vector<RigaDati> iss;
    for (const RigaDati& s : skytest::sets())
        if (s.Riga1.substr(2, 5) == "25544")
            iss.push_back(s);
    elenca(iss);
    // The first minute of the two days after the epoch when the ISS stands
    // sunlit above Rome with a magnitude.
    QDateTime t = core::Data_Orologio(QDate(2013, 11, 26), QTime(16, 0, 0));
    bool trovato = false;
    for (int i = 0; i < 2 * 1440 && !trovato; ++i, t = t.addSecs(60)) {
        Orologio(t.date(), t.time());
        ASSERT_TRUE(mSat::Calcola_Satellite(1, gdblGiornoGiuliano));
        trovato = gudtValori[1].Altezza > 1 && gudtValori[1].Stato != StatoEclisse && gudtValori[1].Magnitudine.isNumber();
    }
    ASSERT_TRUE(trovato);
    const double magnitudine = gudtValori[1].Magnitudine.valore;
    ASSERT_GT(core::Calcola_Passaggio([](double az, double alt, float& x, float& y) {
                  common::Mappatura(common::kSud, true, az, alt, x, y);
              }),
              1);
    EXPECT_NEAR(gudtPuntiPassaggio[1].Magnitudine.toDouble(), magnitudine, 1e-12);
}

} // namespace

