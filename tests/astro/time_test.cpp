// Calendar and Julian dates, day of the year and sidereal time, checked
// against the worked examples of Meeus, Astronomical Algorithms (2nd ed.),
// chapters 7 and 12.
#include "astro/time.h"

#include <gtest/gtest.h>

using namespace mAstro;

namespace {

DataOra Dt(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    DataOra r;
    r.Anno = y;
    r.Mese = mo;
    r.Giorno = d;
    r.Ora = h;
    r.Minuto = mi;
    r.Secondo = s;
    return r;
}

} // namespace

TEST(GiornoGiuliano, MeeusChapter7Table)
{
    struct Caso {
        double y, m, d, jd;
    };
    // Example 7.a, 7.b and the table of chapter 7 (Gregorian from 1582
    // October 15, Julian calendar before, astronomical year numbering).
    const Caso casi[] = {
        {1957, 10, 4.81, 2436116.31}, {333, 1, 27.5, 1842713.0},  {2000, 1, 1.5, 2451545.0},
        {1999, 1, 1.0, 2451179.5},    {1987, 1, 27.0, 2446822.5}, {1987, 6, 19.5, 2446966.0},
        {1988, 1, 27.0, 2447187.5},   {1988, 6, 19.5, 2447332.0}, {1900, 1, 1.0, 2415020.5},
        {1600, 1, 1.0, 2305447.5},    {1600, 12, 31.0, 2305812.5}, {837, 4, 10.3, 2026871.8},
        {-123, 12, 31.0, 1676496.5},  {-122, 1, 1.0, 1676497.5},  {-1000, 7, 12.5, 1356001.0},
        {-1000, 2, 29.0, 1355866.5},  {-1001, 8, 17.9, 1355671.4}, {-4712, 1, 1.5, 0.0},
    };
    for (const auto& c : casi)
        EXPECT_NEAR(Giorno_Giuliano(c.y, c.m, c.d), c.jd, 1e-6) << c.y << "-" << c.m << "-" << c.d;
}

TEST(GiornoGiuliano, CalendarSwitchAndDayZero)
{
    // 4 October 1582 (Julian) was followed by 15 October 1582 (Gregorian).
    EXPECT_DOUBLE_EQ(Giorno_Giuliano(1582, 10, 15) - Giorno_Giuliano(1582, 10, 4), 1.0);
    // Day 0 of January is 31 December of the year before.
    EXPECT_DOUBLE_EQ(Giorno_Giuliano(2024, 1, 0), Giorno_Giuliano(2023, 12, 31));
    EXPECT_DOUBLE_EQ(Giorno_Giuliano(2024, 1, 0), 2460309.5);
    // Meeus example 7.e: 1910 April 20 to 1986 February 9 is 27689 days.
    EXPECT_DOUBLE_EQ(Giorno_Giuliano(1986, 2, 9) - Giorno_Giuliano(1910, 4, 20), 27689.0);
}

TEST(DataDaGiuliano, MeeusExamplesAndZones)
{
    // Example 7.c: JD 2436116.31 is 1957 October 4.81 = 19:26:24 UT.
    EXPECT_EQ(Data_Da_Giuliano(2436116.31, 0, 0), Dt(1957, 10, 4, 19, 26, 24));
    // Example 7.d: JD 1842713.0 is 333 January 27.5 (Julian calendar).
    EXPECT_EQ(Data_Da_Giuliano(1842713.0, 0, 0), Dt(333, 1, 27, 12, 0, 0));
    // J2000.0 seen from a zone one hour east, with and without daylight saving.
    EXPECT_EQ(Data_Da_Giuliano(2451545.0, 1, 0), Dt(2000, 1, 1, 13, 0, 0));
    EXPECT_EQ(Data_Da_Giuliano(2451545.0, 1, 1), Dt(2000, 1, 1, 14, 0, 0));
    // A zone west of Greenwich takes the date back across the new year.
    EXPECT_EQ(Data_Da_Giuliano(2451544.5, -5.5, 0), Dt(1999, 12, 31, 18, 30, 0));
}

TEST(DataDaGiuliano, RoundsToTheNearestSecond)
{
    // 10:59:59.71 rounds to 11:00:00, never to an invalid 60 seconds.
    EXPECT_EQ(Data_Da_Giuliano(2451544.5 + 0.458335, 0, 0), Dt(2000, 1, 1, 11, 0, 0));
    // 23:59:59.65 is the next day's midnight.
    EXPECT_EQ(Data_Da_Giuliano(2451544.5 + 0.999996, 0, 0), Dt(2000, 1, 2, 0, 0, 0));
    // 12:00:01.7 is 12:00:02: the time is not cut to 1e-5 day (0.864 s) first.
    EXPECT_EQ(Data_Da_Giuliano(2451544.5 + 43201.7 / 86400.0, 0, 0), Dt(2000, 1, 1, 12, 0, 2));
    EXPECT_EQ(Data_Da_Giuliano(2451544.5 + 43201.4 / 86400.0, 0, 0), Dt(2000, 1, 1, 12, 0, 1));
    // A span of 0.3 day reads 25920 s wherever it starts.
    for (double inizio : {2456623.33127943, 2451544.5 + 0.123456, 2460000.0 + 0.777777}) {
        const DataOra a = Data_Da_Giuliano(inizio, 0, 0);
        const DataOra b = Data_Da_Giuliano(inizio + 0.3, 0, 0);
        const long long sa = a.Ora * 3600LL + a.Minuto * 60 + a.Secondo;
        const long long sb = (b.Giorno - a.Giorno) * 86400LL + b.Ora * 3600LL + b.Minuto * 60 + b.Secondo;
        EXPECT_EQ(sb - sa, 25920) << inizio;
    }
}

TEST(DataDaGiuliano, BadInputRaises)
{
    EXPECT_THROW(Data_Da_Giuliano(std::numeric_limits<double>::quiet_NaN(), 0, 0), ErroreData);
    EXPECT_THROW(Data_Da_Giuliano(std::numeric_limits<double>::infinity(), 0, 0), ErroreData);
    EXPECT_THROW(Data_Da_Giuliano(1507900.13, 0, 0), ErroreData); // -584 May 28
}

TEST(DayOfYear, MeeusAndLeapYears)
{
    EXPECT_EQ(Giorno_Anno(1978, 11, 14), 318); // Example 7.f
    EXPECT_EQ(Giorno_Anno(1988, 4, 22), 113);  // Example 7.g
    EXPECT_EQ(Giorno_Anno(2023, 1, 1), 1);
    EXPECT_EQ(Giorno_Anno(2024, 12, 31), 366);
    EXPECT_EQ(Giorno_Anno(2023, 12, 31), 365);
    EXPECT_EQ(Giorno_Anno(1900, 3, 1), 60); // 1900 was not a leap year
    EXPECT_EQ(Giorno_Anno(2000, 3, 1), 61); // 2000 was
}

TEST(SiderealTime, MeeusChapter12)
{
    // Example 12.a: 1987 April 10, 0h UT: 13h10m46.3668s.
    Tempi t = Calcola_Tempi(Dt(1987, 4, 10), 0, 0, 0);
    EXPECT_DOUBLE_EQ(t.GiornoGiuliano, 2446895.5);
    EXPECT_DOUBLE_EQ(t.GiornoGiuliano0h, 2446895.5);
    EXPECT_NEAR(t.TempoSideraleGreenwich * 3600, 13 * 3600 + 10 * 60 + 46.3668, 0.005);
    // Example 12.b: 1987 April 10, 19h21m00s UT: 8h34m57.0896s.
    t = Calcola_Tempi(Dt(1987, 4, 10, 19, 21, 0), 0, 0, 0);
    EXPECT_NEAR(t.GiornoGiuliano, 2446896.30625, 1e-8);
    EXPECT_DOUBLE_EQ(t.GiornoGiuliano0h, 2446895.5);
    EXPECT_NEAR(t.TempoSideraleGreenwich * 3600, 8 * 3600 + 34 * 60 + 57.0896, 0.005);
    // The same instant at Washington (77 deg 03' 56" W, Meeus example 13.b)
    // from a zone five hours west: local sidereal time is GMST - 5.1377 h.
    t = Calcola_Tempi(Dt(1987, 4, 10, 14, 21, 0), -5, 0, -(77 + 3 / 60.0 + 56 / 3600.0));
    EXPECT_NEAR(t.TempoSiderale, 8 + 34 / 60.0 + 57.0896 / 3600 - 5.1377037, 2e-6);
}

TEST(SiderealTime, NoonAndMidnightOfJ2000)
{
    // At 2000-01-01 0h UT the Greenwich sidereal time is 6h39m52.27s (a
    // little under 6.665 h); at noon the 0h date stays at .5.
    Tempi t = Calcola_Tempi(Dt(2000, 1, 1), 0, 0, 0);
    EXPECT_NEAR(t.TempoSideraleGreenwich, 6 + 39 / 60.0 + 52.27 / 3600, 1e-5);
    t = Calcola_Tempi(Dt(2000, 1, 1, 12), 0, 0, 0);
    EXPECT_DOUBLE_EQ(t.GiornoGiuliano, 2451545.0);
    EXPECT_DOUBLE_EQ(t.GiornoGiuliano0h, 2451544.5);
    EXPECT_NEAR(t.TempoSideraleGreenwich, 18.697374558, 1e-6); // 18h41m50.55s
}

TEST(CalcolaTempi, ZoneAndDaylightSavingCrossMonthEnd)
{
    // Local 01:30 on 1 March 2024 at UTC+1 with daylight saving is 23:30 UT
    // on 29 February.
    const Tempi t = Calcola_Tempi(Dt(2024, 3, 1, 1, 30), 1, 1, 12.5);
    EXPECT_EQ(t.DataUT, Dt(2024, 2, 29, 23, 30));
    EXPECT_EQ(t.DataLocale, Dt(2024, 3, 1, 1, 30));
    EXPECT_EQ(t.AnnoUT, 2024);
    EXPECT_EQ(t.MeseUT, 2);
    EXPECT_EQ(t.GiornoUT, 29);
    EXPECT_EQ(t.GiornoLocale, 1);
    EXPECT_EQ(t.GiornoAnnoUT, 60);
    EXPECT_EQ(t.GiornoAnnoLocale, 61);
    EXPECT_DOUBLE_EQ(t.OraUT, 23.5);
    EXPECT_DOUBLE_EQ(t.OraLocale, 1.5);
    EXPECT_NEAR(t.GiornoGiuliano, 2460370.5 - 0.5 / 24, 1e-8);
    EXPECT_DOUBLE_EQ(t.GiornoGiuliano0h, 2460369.5);
    // A quarter-hour zone (Nepal, +5:45) moves by whole minutes.
    const Tempi n = Calcola_Tempi(Dt(2024, 1, 1, 0, 0, 30), 5.75, 0, 85.3);
    EXPECT_EQ(n.DataUT, Dt(2023, 12, 31, 18, 15, 30));
}

TEST(CalcolaTempi, InvalidDatesRaise)
{
    EXPECT_THROW(Calcola_Tempi(Dt(2023, 2, 29), 0, 0, 0), ErroreData);
    EXPECT_THROW(Calcola_Tempi(Dt(2023, 13, 1), 0, 0, 0), ErroreData);
    EXPECT_THROW(Calcola_Tempi(Dt(100, 1, 1, 0, 30), 1, 0, 0), ErroreData); // UT before year 100
    // A nonsense zone offset is refused, not wrapped round into some date.
    EXPECT_THROW(Calcola_Tempi(Dt(2024, 1, 1), 1e18, 0, 0), ErroreData);
    EXPECT_THROW(Data_Da_Giuliano(2451545.0, 1e18, 0), ErroreData);
}
