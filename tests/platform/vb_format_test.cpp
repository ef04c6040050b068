// Number and date pictures. Expected texts follow the documented rules of the
// classic Format function and the examples the program's screens rely on.
#include "platform/vb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <random>
#include <string>

namespace {
struct CLocale {
    CLocale() { vb::setDisplayLocale(QLocale::c()); }
    ~CLocale() { vb::setDisplayLocale(QLocale::c()); }
};
} // namespace

TEST(VbFormatNumber, DigitPlaceholdersAndRounding)
{
    CLocale c;
    struct Case { double v; const char* pic; const char* want; };
    const Case cases[] = {
        {95.27, "000.0", "095.3"},
        {275.04, "000.0", "275.0"},
        {436.123456, "000.0000", "436.1235"},
        {145.8, "000.0000", "145.8000"},
        {3.14159, "#0.00", "3.14"},
        {12.0, "#0.00", "12.00"},
        {0.04, "#0.0", "0.0"},
        {0.05, "#0.0", "0.1"},        // a half rounds away from zero
        {-0.05, "#0.0", "-0.1"},
        {2.675, "0.00", "2.68"},      // 15 significant digits first
        {1.005, "0.00", "1.01"},
        {59.5, "00", "60"},           // "format then read back" can give 60
        {59.49, "00", "59"},
        {7.0, "00", "07"},
        {123.0, "00", "123"},         // more digits than placeholders
        {0.0, "###", ""},             // empty for 0
        {0.4, "###", ""},
        {57.6, "###", "58"},
        {42.0, "##0", "42"},
        {0.0, "##0", "0"},
        {7.0, "#0.000#", "7.000"},
        {5.12345, "#0.000#", "5.1235"},
        {5.1230, "#0.000#", "5.123"},
        {-45.25, "#0.000#°", "-45.250°"},
        {122.5, "##0.000#°", "122.500°"},
        {45.123, "#0.00°", "45.12°"},
        {8.0, "#0h", "8h"},
        {5.0, "00m", "05m"},
        {5.0, " 00m ", " 05m "},
        {19.0, "00s ", "19s "},
        {9.0, "00''", "09''"},
        {3.0, "#0'", "3'"},
        {12.0, "#00° ", "12° "},
        {5.0, "#00° ", "05° "},
        {100.0, "#00° ", "100° "},
        {6.0, "000°", "006°"},
        {1.3, "0.0s", "1.3s"},
        {45.0, "000 giorno", "045 giorno"},
        {1.52, "#0.00 UA", "1.52 UA"},
        {1234.567, "####.00", "1234.57"},
        {0.5, "####.00", ".50"},
        {6.78, "####0.0", "6.8"},
        {408.25, "#####0.0", "408.3"},
        {0.473, "#0%", "47%"},
        {0.473, " #0%", " 47%"},
        {149597870.7, "000,000,000", "149,597,871"},
        {384400.0, "000,000 km", "384,400 km"},
        {1234.0, "000,000,000", "000,001,234"},
        {2.5, "0.00000000", "2.50000000"},
        {1.0, "0000.0", "0001.0"},
        {-3.0, "0;(0)", "(3)"},
        {0.0, "0;(0);zero", "zero"},
        {-0.04, "0.0", "-0.0"},
        {-5.25, "00.00°", "-05.25°"},   // elevation below the horizon
        {7.5, "#00.00°", "07.50°"},
        {359.999, "#00.00°", "360.00°"},
        {123.45678901234, "##0.00000000", "123.45678901"},
        {2451545.123456789, "######0.00000", "2451545.12346"},
        {-0.00001234, "0.00000000", "-0.00001234"},
        {0.0, "####0", "0"},
        {133.4, "###0", "133"},
        {0.0, "#0m", "0m"},
        {98.5, "000.00", "098.50"},
        {-45.0, "##0.0°", "-45.0°"},
    };
    // Twice: pictures are parsed once and kept, more of them than are kept.
    for (int giro = 0; giro < 2; ++giro)
        for (const Case& k : cases)
            EXPECT_EQ(vb::Format(k.v, QString::fromUtf8(k.pic)), QString::fromUtf8(k.want))
                << k.v << " with \"" << k.pic << "\"";
}

TEST(VbFormatNumber, TextsAreFormattedWhenTheyAreNumbers)
{
    CLocale c;
    EXPECT_EQ(vb::Format(QStringLiteral("145.825"), u"000.0000"), "145.8250");
    EXPECT_EQ(vb::Format(QStringLiteral(" 2.3 "), u"#0.0"), "2.3");
    EXPECT_EQ(vb::Format(QStringLiteral("???"), u"#0.0"), "???");
    EXPECT_EQ(vb::Format(QStringLiteral(""), u"#0.0"), "");
}

TEST(VbFormatNumber, DisplayLocaleSeparators)
{
    vb::setDisplayLocale(QLocale(QLocale::Italian, QLocale::Italy));
    EXPECT_EQ(vb::Format(149597870.7, u"000,000,000"), "149.597.871");
    EXPECT_EQ(vb::Format(3.25, u"#0.00"), "3,25");
    EXPECT_EQ(vb::FormatC(3.25, u"#0.00"), "3.25");
    // The separators follow the locale as it changes.
    vb::setDisplayLocale(QLocale::c());
    EXPECT_EQ(vb::Format(3.25, u"#0.00"), "3.25");
    EXPECT_EQ(vb::Format(149597870.7, u"000,000,000"), "149,597,871");
    vb::setDisplayLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(vb::Format(3.25, u"#0.00"), "3,25");
    vb::setDisplayLocale(QLocale::c());
}

TEST(VbFormatDate, PicturesInUse)
{
    CLocale c;
    const QDateTime t(QDate(2024, 3, 9), QTime(7, 5, 3));
    EXPECT_EQ(vb::Format(t, u"dd mmmm yyyy  hh:mm:ss"), "09 March 2024  07:05:03");
    EXPECT_EQ(vb::Format(t, u"dd mmm yyyy hh:mm"), "09 Mar 2024 07:05");
    EXPECT_EQ(vb::Format(t, u"dd mmm yyyy  hh:mm:ss"), "09 Mar 2024  07:05:03");
    EXPECT_EQ(vb::Format(t, u"ddd dd mmmm yyyy  hh:mm:ss"), "Sat 09 March 2024  07:05:03");
    EXPECT_EQ(vb::Format(t, u"mmm dd yyyy  hh:mm:ss"), "Mar 09 2024  07:05:03");
    EXPECT_EQ(vb::Format(t, u"yyyymmdd hh:mm:ss"), "20240309 07:05:03");
    EXPECT_EQ(vb::Format(t, u"hh:mm"), "07:05");
    EXPECT_EQ(vb::Format(t, u" hh:mm:ss"), " 07:05:03");
    EXPECT_EQ(vb::Format(t, u"HH:MM:SS"), "07:05:03");
    EXPECT_EQ(vb::Format(t, u"mm:ss"), "05:03");      // minutes before seconds
    EXPECT_EQ(vb::Format(t, u"dd/mm/yyyy"), "09/03/2024");
    EXPECT_EQ(vb::Format(t, u"yyyy"), "2024");
    EXPECT_EQ(vb::Format(t, u"mmm"), "Mar");
    EXPECT_EQ(vb::Format(t, u"y"), "69");             // day of the year
    EXPECT_EQ(vb::Format(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)), u"dd mmm yyyy  hh:mm:ss"),
              "31 Dec 2024  23:59:59");
    EXPECT_EQ(vb::Format(QStringLiteral("2024-03-09 07:05:03"), u"hh:mm:ss"), "07:05:03");
    EXPECT_EQ(vb::Format(QStringLiteral("not a date"), u"hh:mm:ss"), "not a date");
    // Texts the program itself wrote read back for another picture.
    EXPECT_EQ(vb::Format(QStringLiteral("09 Mar 2024  07:05:03"), u"hh:mm:ss"), "07:05:03");
    EXPECT_EQ(vb::Format(QStringLiteral("09 Mar 2024  07:05:03"), u"yyyymmdd"), "20240309");
}

TEST(VbFormatDate, NumbersWithDatePicturesAreDateSerials)
{
    CLocale c;
    // Day 0 is 30 December 1899; the fraction is the time of day.
    EXPECT_EQ(vb::Format(0.5, u"hh:mm:ss"), "12:00:00");
    EXPECT_EQ(vb::Format(123.456, u"hh:mm:ss"), "10:56:38"); // 0.456 d = 39398.4 s
    EXPECT_EQ(vb::Format(45000.75, u"dd mmm yyyy  hh:mm:ss"), "15 Mar 2023  18:00:00");
    EXPECT_EQ(vb::Format(0.99999999, u"hh:mm:ss"), "00:00:00"); // to the nearest second
    EXPECT_EQ(vb::FormatC(2.25, u"hh:mm"), "06:00");
}

TEST(VbFormatDate, LongTimeIsTheLocalesTimeOfDay)
{
    CLocale c;
    const QDateTime t(QDate(2024, 3, 9), QTime(7, 5, 3));
    EXPECT_EQ(vb::Format(t, u"Long Time"), "07:05:03");
    EXPECT_EQ(vb::Format(123.456, u"Long Time"), "10:56:38");
    EXPECT_EQ(vb::Format(QStringLiteral("09 Mar 2024  07:05:03"), u"Long Time"), "07:05:03");
}

TEST(VbFormat, EmptyPictureGivesThePlainText)
{
    CLocale c;
    EXPECT_EQ(vb::Format(5.5, u""), "5.5");
    EXPECT_EQ(vb::Format(-5.0, u""), "-5");
    EXPECT_EQ(vb::Format(QStringLiteral("5.50"), u""), "5.50");
}

TEST(VbCDate, ReadsTheDateTextsTheProgramWrites)
{
    CLocale c;
    const QDateTime t(QDate(2024, 3, 9), QTime(7, 5, 3));
    for (const char16_t* pic : {u"dd mmm yyyy  hh:mm:ss", u"dd mmmm yyyy  hh:mm:ss", u"dd mmm yyyy hh:mm:ss",
                                u"ddd dd mmmm yyyy  hh:mm:ss", u"mmm dd yyyy  hh:mm:ss", u"yyyymmdd hh:mm:ss",
                                u"dd/mm/yyyy hh:mm:ss", u"yyyy-mm-dd hh:mm:ss"})
        EXPECT_EQ(vb::CDate(vb::Format(t, pic)), t) << QString::fromUtf16(pic).toStdString();
    EXPECT_EQ(vb::CDate(u"09 MARCH 2024"), QDateTime(QDate(2024, 3, 9), QTime(0, 0)));
    EXPECT_EQ(vb::CDate(u"07:05"), QDateTime(QDate(1899, 12, 30), QTime(7, 5)));
    EXPECT_FALSE(vb::CDate(u"31 Feb 2024"));
    EXPECT_FALSE(vb::CDate(u"09 Mar 2024 25:00"));
    EXPECT_FALSE(vb::CDate(u"09 Foo 2024"));
    EXPECT_FALSE(vb::CDate(u"???"));
    EXPECT_FALSE(vb::CDate(u""));
}

TEST(VbFormatDate, NamesFromTheLanguage)
{
    CLocale c;
    vb::setDateNames({[](int m, bool abbr) {
                          static const char* it[] = {"gennaio", "febbraio", "marzo", "aprile", "maggio",
                                                     "giugno", "luglio", "agosto", "settembre",
                                                     "ottobre", "novembre", "dicembre"};
                          const QString n = QString::fromLatin1(it[m - 1]);
                          return abbr ? n.left(3) : n;
                      },
                      [](int d, bool) { return QStringLiteral("g%1").arg(d); }});
    const QDateTime t(QDate(2024, 3, 9), QTime(7, 5, 3));
    EXPECT_EQ(vb::Format(t, u"ddd dd mmmm yyyy"), "g6 09 marzo 2024");
    EXPECT_EQ(vb::Format(t, u"dd mmm yyyy"), "09 mar 2024");
    vb::setDateNames({});
    EXPECT_EQ(vb::Format(t, u"dd mmm yyyy"), "09 Mar 2024");
}

// Figures of every size against the rule written out plainly: the figure
// to 15 significant digits (printf's "%.14e"), then rounded half away from
// zero at the places of the picture.
TEST(VbFormatNumber, FifteenDigitsThenHalfAwayFromZero)
{
    CLocale c;
    auto atteso = [](double v, int posti) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
        std::string cifre = std::string(1, buf[0]) + std::string(buf + 2, 14);
        const int punto = std::atoi(std::strchr(buf, 'e') + 1) + 1;
        // All the digits with the point at `punto`, as a whole number of
        // units of the last place shown (as a decimal string).
        std::string intere, frazione;
        for (int k = 0; k < std::max(punto, 1); ++k)
            intere += (k < punto && k < 15) ? cifre[size_t(k)] : '0';
        for (int k = 0; k <= posti; ++k) {
            const int i = punto + k;
            frazione += (i >= 0 && i < 15) ? cifre[size_t(i)] : '0';
        }
        std::string numero = intere + frazione.substr(0, size_t(posti));
        if (frazione[size_t(posti)] >= '5') {
            int i = int(numero.size()) - 1;
            while (i >= 0 && numero[size_t(i)] == '9')
                numero[size_t(i--)] = '0';
            if (i < 0)
                numero.insert(numero.begin(), '1');
            else
                ++numero[size_t(i)];
        }
        std::string testo = numero.substr(0, numero.size() - size_t(posti));
        while (testo.size() > 1 && testo[0] == '0')
            testo.erase(0, 1);
        if (posti > 0)
            testo += "." + numero.substr(numero.size() - size_t(posti));
        return (v < 0 ? "-" : "") + testo;
    };
    std::mt19937_64 caso(15);
    const char16_t* picture[] = {u"0", u"0.0", u"0.00", u"0.000", u"0.0000", u"0.00000", u"0.000000"};
    for (int i = 0; i < 20000; ++i) {
        const int posti = int(caso() % 7);
        const double scala = std::pow(10.0, int(caso() % 22) - 8);
        double v = double(caso() % 1000000000) / 1e9 * scala;
        if (i % 4 == 0)  // a half at the last place, as far as a double holds it
            v = (std::floor(v * std::pow(10.0, posti)) + 0.5) / std::pow(10.0, posti);
        if (i % 3 == 0)
            v = -v;
        EXPECT_EQ(vb::Format(v, QStringView(picture[posti])).toStdString(), atteso(v, posti))
            << std::setprecision(17) << v << " to " << posti;
        if (HasFailure())
            break;
    }
}
