// The text of the listings: the automatic step and its first instant, the
// fixed-width fields, and the relative figures at their edges.
#include "listing_fixture.h"

#include "listings/listing_lines.h"
#include "core/clock.h"
#include "core/mastro.h"
#include "support/computer_zone.h"
#include "platform/vb.h"

#include <cmath>
#include <random>

namespace {

using namespace listings;
using listtest::Listings;

QDateTime alle(int h, int m, int s)
{
    return QDateTime(QDate(2013, 11, 26), QTime(h, m, s), Qt::UTC);
}

// A line as a listing keeps it (its cells) and shows it (their text).
QString Riga_Effemeride(int opzione, const QDateTime& t, const Istante& s)
{
    std::array<qint32, 9> c{};
    Riempi_Effemeride(opzione, s, c.data());
    return Testo_Effemeride(opzione, t, c.data());
}
QString Riga_Relativa(int opzione, const QDateTime& t, const Istante& a, const Istante& b)
{
    std::array<qint32, 9> c{};
    Riempi_Relativo(opzione, a, b, c.data());
    return Testo_Relativo(opzione, t, c.data());
}

TEST(ListingStep, AutomaticStepFollowsTheSpan)
{
    const std::pair<qint64, double> casi[] = {{0, 15},   {9, 15},   {10, 30},  {19, 30},   {20, 60},
                                              {59, 60},  {60, 120}, {719, 120}, {720, 120}, {721, 180},
                                              {86400, 180}};
    for (auto [m, passo] : casi)
        EXPECT_EQ(Passo_Automatico(m), passo) << m;
}

TEST(ListingStep, FirstInstantIsTheQuarterMinuteStrictlyBefore)
{
    // Start -> first instant t0 (the first line is at t0 + step).
    const std::pair<QTime, QTime> casi[] = {
        {QTime(12, 0, 40), QTime(12, 0, 15)},  // 12:00:25 -> :15
        {QTime(12, 0, 45), QTime(12, 0, 15)},  // exactly :30 after the shift -> :15
        {QTime(12, 1, 0), QTime(12, 0, 30)},   // exactly :45 -> :30
        {QTime(12, 0, 30), QTime(12, 0, 0)},   // exactly :15 -> :00
        {QTime(12, 0, 15), QTime(12, 0, 0)},   // :00 stays
        {QTime(12, 1, 14), QTime(12, 0, 45)},  // :59 -> :45
        {QTime(0, 0, 10), QTime(23, 59, 45)},  // over midnight
    };
    for (auto [da, atteso] : casi) {
        const QDateTime t0 = Inizio_Automatico(QDateTime(QDate(2013, 11, 26), da, Qt::UTC));
        EXPECT_EQ(t0.time(), atteso) << da.toString().toStdString();
    }
    EXPECT_EQ(Inizio_Automatico(alle(0, 0, 10)).date(), QDate(2013, 11, 25));
    // Calendar-minute boundaries, not whole minutes of time.
    EXPECT_EQ(Minuti_Calendario(alle(12, 0, 59), alle(12, 1, 0)), 1);
    EXPECT_EQ(Minuti_Calendario(alle(12, 0, 0), alle(12, 0, 59)), 0);
    EXPECT_EQ(Minuti_Calendario(alle(23, 59, 45), alle(0, 9, 0).addDays(1)), 10);
    // The times of a pass come with a zone (UTC): on a computer whose own
    // zone skips an hour that night, the count still follows the fields,
    // and a pass's automatic step with it.
    const testsupport::FusoComputer roma("Europe/Rome");
    auto marzo = [](int h, int m) {
        return mAstro::A_QDateTime(mAstro::DataOra{2026, 3, 29, h, m, 0});
    };
    EXPECT_EQ(Minuti_Calendario(marzo(1, 55), marzo(3, 5)), 70);
    EXPECT_EQ(Minuti_Calendario(marzo(2, 10), marzo(2, 40)), 30);
    EXPECT_EQ(Passo_Automatico(Minuti_Calendario(Inizio_Automatico(marzo(1, 55)), marzo(2, 10))), 30);
}

TEST_F(Listings, FieldsKeepTheirWidths)
{
    EXPECT_EQ(Etichetta("elementiorbita", 9), "Elements ");
    EXPECT_EQ(Etichetta("elementiorbita", 11), "Elements   ");
    EXPECT_EQ(Etichetta("motorelativosatelliti", 9), "Relative ");
    EXPECT_EQ(R(4, "100.0"), "100.");
    EXPECT_EQ(R(6, "1.5"), "   1.5");

    Istante s;
    s.v.Altezza = 12.34;
    s.v.Azimuth = 123.4;
    s.v.Distanza = 1234.46;
    s.v.Quota = 400;
    s.v.Magnitudine = MagnitudineVisuale::numero(-1.34);
    s.v.Fase = 1.0;
    s.v.AngoloFase = 90;
    s.altezzaSole = -12.5;
    s.v.Stato = StatoVisibile;
    const QDateTime t = alle(10, 0, 0);
    EXPECT_EQ(Riga_Effemeride(TipoOBS, t, s),
              "26 Nov 2013  10:00:00    12.34   123.40     1234.5      400.0   -1.3   100.    90.0   -12.50   Visible");
    s.v.Magnitudine = MagnitudineVisuale::sconosciuta();
    EXPECT_EQ(Riga_Effemeride(TipoOBS, t, s).mid(61, 7), "    ???");
    s.v.Magnitudine = MagnitudineVisuale::vuota();
    EXPECT_EQ(Riga_Effemeride(TipoOBS, t, s).mid(61, 7), "       ");

    s.v.Latitudine = -45.5;
    s.v.Longitudine360 = 350.25;
    EXPECT_EQ(Riga_Effemeride(TipoLLA, t, s), "26 Nov 2013  10:00:00   -45.50   350.25      400.0");
    s.eq = {5, 7, 9, 2, 3, "-"};
    EXPECT_EQ(Riga_Effemeride(TipoRAD, t, s), "26 Nov 2013  10:00:00   05h07m09s   -02°03'");
}

TEST_F(Listings, RelativeFiguresAtTheirEdges)
{
    Istante a, b;
    a.posizione = {7000, 0, 0};
    b.posizione = {7000, 0, 0};
    a.v.VersoreZenit = b.v.VersoreZenit = 1.0;
    // The same direction: 0, not the arc cosine's division by zero.
    Relazione r = Calcola_Relazione(a, b);
    EXPECT_EQ(r.distanza, 0.0);
    EXPECT_EQ(r.alfa, 0.0);
    EXPECT_EQ(r.beta, 0.0);
    b.posizione = {-7000, 0, 0};
    b.v.VersoreZenit = -1.0;
    r = Calcola_Relazione(a, b);
    EXPECT_NEAR(r.distanza, 14000.0, 1e-9);
    EXPECT_NEAR(r.alfa, 180.0, 1e-6);
    EXPECT_NEAR(r.beta, 180.0, 1e-6);
    b.posizione = {0, 7000, 0};
    EXPECT_NEAR(Calcola_Relazione(a, b).alfa, 90.0, 1e-6);

    // Opposite hemispheres: the difference of the absolute latitudes, no letters.
    a.v.Latitudine = -30;
    a.v.LatitudineAssoluta = 30;
    a.v.LongitudineAssoluta = 170;
    b.v.Latitudine = 20;
    b.v.LatitudineAssoluta = 20;
    b.v.LongitudineAssoluta = 175;
    const QString lla = Riga_Relativa(TipoLLA, alle(10, 0, 0), a, b);
    EXPECT_EQ(lla.mid(21, 19), "     10.00     5.00");
    const QString cifre = lla.mid(21);
    EXPECT_FALSE(cifre.contains(u'N') || cifre.contains(u'S') || cifre.contains(u'E') || cifre.contains(u'W'));

    // 23h and 1h are 22h apart: the plain difference of the right ascensions.
    a.eq = {23, 0, 0, 10, 0, "+"};
    b.eq = {1, 0, 0, 5, 30, "-"};
    EXPECT_EQ(Riga_Relativa(TipoRAD, alle(10, 0, 0), a, b),
              "26 Nov 2013  10:00:00     22h00m00s  15°30'     9899.5    23h00m00s    +10°00'        "
              "01h00m00s    -05°30'");
}

TEST_F(Listings, LinesFromCellsReadAsTheFiguresFormatted)
{
    // A line is made from its figures rounded to the places it shows: the
    // fields read as Format gives the figures, in English and in Italian
    // (decimal comma, Italian months), for every kind of line, and the
    // language may change between two lines.
    std::mt19937 caso(28);
    auto figura = [&](double scala) {
        const double cifre[] = {0.0, 1.005, -1.005, 12.345, -12.344, 89.999, -0.5, 359.996, 7.125, -0.004,
                                0.0049999, 2.675, 1e-20, 99.995, 9.9999999999999, 0.0099999999999, 0.995};
        const unsigned k = caso() % 24;
        if (k < 17)
            return cifre[k] * scala;
        return (double(caso()) / 4294967296.0 - 0.5) * scala * 2.0;
    };
    auto F = [](double v, const char16_t* p) { return vb::Format(v, QStringView(p)); };
    for (int giro = 0; giro < 300; ++giro) {
        const QLocale lingua = giro % 2 ? QLocale(QLocale::Italian, QLocale::Italy) : QLocale::c();
        vb::setDisplayLocale(lingua);
        const QDateTime t = alle(9, 5, 7).addSecs(giro * 3607);
        const QString D = vb::Format(t, u"dd mmm yyyy  hh:mm:ss");
        SCOPED_TRACE(giro);

        Istante s;
        s.v.Latitudine = figura(1);
        s.v.Longitudine360 = std::fabs(figura(100));
        s.v.Quota = figura(1000);
        EXPECT_EQ(Riga_Effemeride(TipoLLA, t, s), D + "   " + R(6, F(s.v.Latitudine, u"0.00")) + "   "
                                                     + R(6, F(s.v.Longitudine360, u"0.00")) + "   "
                                                     + R(8, F(s.v.Quota, u"0.0")));

        s.v.Altezza = figura(90);
        s.v.Azimuth = std::fabs(figura(360));
        s.v.Distanza = std::fabs(figura(40000));
        s.v.Fase = std::fabs(figura(0.01));
        s.v.AngoloFase = std::fabs(figura(180));
        s.altezzaSole = figura(90);
        s.v.Stato = 1 + giro % 3;
        const int m = giro % 3;
        s.v.Magnitudine = m == 0 ? MagnitudineVisuale::numero(figura(10))
                          : m == 1 ? MagnitudineVisuale::vuota()
                                   : MagnitudineVisuale::sconosciuta();
        const QString mag = m == 0 ? F(s.v.Magnitudine.valore, u"0.0") : m == 1 ? QString() : QStringLiteral("???");
        EXPECT_EQ(Riga_Effemeride(TipoOBS, t, s),
                  D + "   " + R(6, F(s.v.Altezza, u"0.00")) + "   " + R(6, F(s.v.Azimuth, u"0.00")) + "   "
                      + R(8, F(s.v.Distanza, u"0.0")) + "   " + R(8, F(s.v.Quota, u"0.0")) + "   " + R(4, mag)
                      + "   " + R(4, F(100.0 * s.v.Fase, u"0.0")) + "   " + R(5, F(s.v.AngoloFase, u"0.0"))
                      + "   " + R(6, F(s.altezzaSole, u"#0.00")) + "   " + core::Stato2Stringa(s.v.Stato));

        for (int i = 0; i < 3; ++i) {
            s.posizione[size_t(i)] = figura(1000);
            s.velocita[size_t(i)] = figura(8);
        }
        s.v.DistanzaGeocentrica = std::fabs(figura(1000));
        s.v.Velocita = std::fabs(figura(8));
        QString eci = D + "   " + R(10, F(s.posizione[0], u"0.000"));
        for (int i = 1; i < 3; ++i)
            eci += "  " + R(10, F(s.posizione[size_t(i)], u"0.000"));
        eci += "  " + R(10, F(s.v.DistanzaGeocentrica, u"0.000"));
        for (int i = 0; i < 3; ++i)
            eci += "  " + R(7, F(s.velocita[size_t(i)], u"0.000"));
        eci += "  " + R(7, F(s.v.Velocita, u"0.000"));
        EXPECT_EQ(Riga_Effemeride(TipoECI, t, s), eci);

        s.eq.ore = caso() % 24;
        s.eq.minuti = caso() % 60;
        s.eq.secondi = caso() % 60;
        s.eq.segno = caso() % 2 ? QStringLiteral("-") : QStringLiteral("+");
        s.eq.gradi = caso() % 90;
        s.eq.primi = caso() % 60;
        EXPECT_EQ(Riga_Effemeride(TipoRAD, t, s), D + "  " + R(10, s.eq.testoAR()) + "   " + R(7, s.eq.testoDec()));

        // Relative lines: the figures of B as A's, the same texts.
        Istante b = s;
        b.v.Altezza = figura(90);
        b.v.Quota = figura(1000);
        const QString rel = Riga_Relativa(TipoOBS, t, s, b);
        const Relazione r = Calcola_Relazione(s, b);
        EXPECT_EQ(rel, D + "    " + R(6, F(r.alfa, u"0.00")) + "   " + R(6, F(r.beta, u"0.00")) + "  "
                           + R(8, F(r.distanza, u"0.0")) + "    " + R(6, F(s.v.Altezza, u"0.00")) + "  "
                           + R(6, F(s.v.Azimuth, u"0.00")) + "  " + R(8, F(s.v.Quota, u"0.0")) + "    "
                           + R(6, F(b.v.Altezza, u"0.00")) + "  " + R(6, F(b.v.Azimuth, u"0.00")) + "  "
                           + R(8, F(b.v.Quota, u"0.0")));
        QString releci = D;
        for (int i = 0; i < 6; ++i)
            releci += (i == 0 ? "   " : "  ") + R(10, F((i < 3 ? s : b).posizione[size_t(i % 3)], u"0.000"));
        releci += "  " + R(8, F(r.distanza, u"0.0"));
        EXPECT_EQ(Riga_Relativa(TipoECI, t, s, b), releci);
        if (HasFailure())
            break;
    }
    vb::setDisplayLocale(QLocale::c());
}

} // namespace
