// Number readings, whole-number conversions and the storage form of numbers.
#include "platform/vb.h"
#include "support/comma_locale.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(VbVal, ReadsTheLeadingNumberAndNeverFails)
{
    EXPECT_DOUBLE_EQ(vb::Val("  1615 198th Street N.E."), 1615198.0); // blanks skipped everywhere
    EXPECT_DOUBLE_EQ(vb::Val("98123.45678901"), 98123.45678901);
    EXPECT_DOUBLE_EQ(vb::Val(" -11606-4"), -11606.0);   // "-4" is no exponent
    EXPECT_DOUBLE_EQ(vb::Val("1e5"), 100000.0);
    EXPECT_DOUBLE_EQ(vb::Val("2.5E-3xyz"), 0.0025);
    EXPECT_DOUBLE_EQ(vb::Val("1D2"), 100.0);
    EXPECT_DOUBLE_EQ(vb::Val("1e"), 1.0);             // exponent without digits is not taken
    EXPECT_DOUBLE_EQ(vb::Val("1e+"), 1.0);
    EXPECT_DOUBLE_EQ(vb::Val(".5"), 0.5);
    EXPECT_DOUBLE_EQ(vb::Val("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(vb::Val("+3"), 3.0);
    EXPECT_DOUBLE_EQ(vb::Val("- 3"), -3.0);
    EXPECT_DOUBLE_EQ(vb::Val("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(vb::Val("12,5"), 12.0);          // the comma is never a decimal separator
    EXPECT_DOUBLE_EQ(vb::Val(""), 0.0);
    EXPECT_DOUBLE_EQ(vb::Val("abc"), 0.0);
    EXPECT_DOUBLE_EQ(vb::Val("."), 0.0);
    EXPECT_DOUBLE_EQ(vb::Val("-"), 0.0);
    EXPECT_FALSE(std::signbit(vb::Val("-")));  // a plain zero, which shows as "0"
    EXPECT_DOUBLE_EQ(vb::Val(QStringLiteral(" 5.5\t")), 5.5);
    EXPECT_TRUE(std::isinf(vb::Val("1e999")));
}

TEST(VbVal, IgnoresTheUserLocale)
{
    // The display locale, and the C library's number locale as QApplication
    // sets it from an Italian desktop: files keep the point, the user's
    // texts take the display locale's comma, and neither follows the C one.
    auto prova = [] {
        vb::setDisplayLocale(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_DOUBLE_EQ(vb::Val("5.5"), 5.5);
        EXPECT_EQ(vb::StrictValue("5.5"), 5.5);
        EXPECT_EQ(vb::CStrC(5.5), "5.5");
        EXPECT_EQ(vb::CStrC(-0.0000012345), "-1.2345E-06");
        EXPECT_EQ(vb::CStrC(-0.000012345), "-0.000012345");
        EXPECT_EQ(vb::CStrC(1234567.25), "1234567.25");
        EXPECT_EQ(vb::FormatC(5.5, u"0.00"), "5.50");
        EXPECT_EQ(vb::Format(5.5, u"0.00"), "5,50");
        EXPECT_EQ(vb::CStr(5.5), "5,5");
        // Beyond the doubles: what the C library gives, infinite or nothing.
        EXPECT_EQ(vb::Val("-1.5e999"), -HUGE_VAL);
        EXPECT_EQ(vb::Val("1.5e-999"), 0.0);
        vb::setDisplayLocale(QLocale::c());
    };
    prova();
    testsupport::NumeriConVirgola virgola;
    ASSERT_TRUE(virgola.pronto()) << testsupport::kSenzaVirgola;
    prova();
}

TEST(VbStrict, WholeFieldMustBeANumber)
{
    EXPECT_EQ(vb::StrictValue(" 25544 "), 25544.0);
    EXPECT_EQ(vb::StrictValue("\t98\t"), 98.0);
    EXPECT_EQ(vb::StrictValue("-1.5e3"), -1500.0);
    EXPECT_EQ(vb::StrictValue("1."), 1.0);
    EXPECT_EQ(vb::StrictValue(".5"), 0.5);
    EXPECT_FALSE(vb::StrictValue(""));
    EXPECT_FALSE(vb::StrictValue("   "));
    EXPECT_FALSE(vb::StrictValue("25 544"));
    EXPECT_FALSE(vb::StrictValue("12a"));
    EXPECT_FALSE(vb::StrictValue("1e"));
    EXPECT_FALSE(vb::StrictValue("1e999"));
    EXPECT_FALSE(vb::StrictValue("."));
    EXPECT_THROW(vb::CDbl(u"x"), vb::Error);
    try {
        vb::CDbl(u"x");
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), 13);
    }
}

TEST(VbWholeNumbers, RoundHalfToEvenAndOverflow)
{
    EXPECT_EQ(vb::CInt(2.5), 2);
    EXPECT_EQ(vb::CInt(3.5), 4);
    EXPECT_EQ(vb::CInt(-2.5), -2);
    EXPECT_EQ(vb::CInt(2.51), 3);
    EXPECT_EQ(vb::CInt(32767.4), 32767);
    EXPECT_THROW(vb::CInt(32767.5), vb::Error);
    EXPECT_THROW(vb::CInt(-32769), vb::Error);
    EXPECT_THROW(vb::CInt(NAN), vb::Error);
    EXPECT_EQ(vb::CByte(255.4), 255);
    EXPECT_THROW(vb::CByte(256), vb::Error);
    EXPECT_THROW(vb::CByte(-1), vb::Error);
    EXPECT_EQ(vb::CLng(-2147483648.0), INT32_MIN);
    EXPECT_THROW(vb::CLng(2147483648.0), vb::Error);
    EXPECT_EQ(vb::Int(-2.5), -3.0);
    EXPECT_EQ(vb::Fix(-2.5), -2.0);
}

TEST(VbStorageText, ReadsBackToTheSameValue)
{
    EXPECT_EQ(vb::CStrC(5.5), "5.5");
    EXPECT_EQ(vb::CStrC(-0.25), "-0.25");
    EXPECT_EQ(vb::CStrC(1998.0), "1998");
    EXPECT_EQ(vb::CStrC(0.1 + 0.2), "0.3");          // 15 significant digits
    EXPECT_EQ(vb::CStrC(45.4f), "45.4");             // a float keeps 7 digits
    EXPECT_EQ(vb::CStrC(1e16), "1E+16");
    EXPECT_EQ(vb::CStrC(0.000001234), "1.234E-06");
    EXPECT_EQ(vb::CStrC(0.0001234), "0.0001234");
    EXPECT_EQ(vb::CStrC(0.0), "0");
    EXPECT_EQ(vb::Str(5.0), " 5");
    EXPECT_EQ(vb::Str(-5.0), "-5");
    for (double v : {45.4652, -122.3321, 5.75, 123456.789, 1e-7, 6378.135})
        EXPECT_DOUBLE_EQ(*vb::StrictValue(vb::CStrC(v)), v) << v;
    for (float v : {45.4652f, -7.6861f, 0.1f})
        EXPECT_EQ(float(vb::Val(vb::CStrC(v))), v) << v;
}
