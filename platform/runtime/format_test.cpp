#include "platform/runtime/format.h"
#include "platform/runtime/regional.h"
#include "platform/runtime/variant.h"

#include <gtest/gtest.h>

using namespace vb;

namespace {

struct FormatCase
{
    double value;
    const char *pattern;
    const char *dot;   // under "." as decimal mark
    const char *comma; // under ","
};

void PrintTo(const FormatCase &c, std::ostream *os)
{
    *os << c.value << " " << c.pattern;
}

class NumberFormat : public ::testing::TestWithParam<FormatCase>
{};

TEST_P(NumberFormat, WritesThePattern)
{
    const FormatCase &c = GetParam();
    EXPECT_EQ(Format(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.dot));
    ScopedRegional comma(CommaDecimalSettings());
    EXPECT_EQ(Format(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.comma));
}

INSTANTIATE_TEST_SUITE_P(
    Patterns,
    NumberFormat,
    ::testing::Values(FormatCase{7, "0000", "0007", "0007"},
                      FormatCase{12345, "0000", "12345", "12345"}, // more digits than placeholders are all written
                      FormatCase{42, "00000000", "00000042", "00000042"},
                      FormatCase{5, "00", "05", "05"},
                      FormatCase{2.5, "00", "03", "03"}, // half away from zero
                      FormatCase{-2.5, "00", "-03", "-03"},
                      FormatCase{3.5, "000000", "000004", "000004"},
                      FormatCase{0, "###", "", ""},
                      FormatCase{125, "###", "125", "125"},
                      FormatCase{0.25, "########0.0", "0.3", "0,3"},
                      FormatCase{-0.25, "########0.0", "-0.3", "-0,3"},
                      FormatCase{1234.005, "########0.00", "1234.01", "1234,01"},
                      FormatCase{2.675, "########0.00", "2.68", "2,68"},  // decimal, not binary, halves
                      FormatCase{-0.001, "########0.00", "0.00", "0,00"}, // a zero carries no sign
                      FormatCase{3.456, "############0.", "3.", "3,"},
                      FormatCase{3.456, "############0.00", "3.46", "3,46"},
                      FormatCase{3.4565, "############0.000", "3.457", "3,457"},
                      FormatCase{2, "#####00", "02", "02"},
                      FormatCase{125, "#####00", "125", "125"},
                      FormatCase{0.5, "#####.00", ".50", ",50"},
                      FormatCase{1.5, "#####.00", "1.50", "1,50"},
                      FormatCase{0, "#####.00", ".00", ",00"},
                      FormatCase{99.999, "#####.00", "100.00", "100,00"},
                      FormatCase{1234567.891, "#,##0.00", "1,234,567.89", "1.234.567,89"},
                      FormatCase{1.5, "0.##", "1.5", "1,5"},
                      FormatCase{1e15, "0", "1000000000000000", "1000000000000000"},
                      FormatCase{1.5e-7, "0.00", "0.00", "0,00"}));

TEST(CurrencyFormat, UsesTheExactDigits)
{
    EXPECT_EQ(Format(Currency::fromScaled(34565), QStringLiteral("0.000")), QStringLiteral("3.457"));
    EXPECT_EQ(Format(Currency::fromScaled(-34565), QStringLiteral("0.000")), QStringLiteral("-3.457"));
    EXPECT_EQ(Format(Currency::fromScaled(9223372036854775807LL), QStringLiteral("0.0000")),
              QStringLiteral("922337203685477.5807"));
    EXPECT_EQ(Format(Currency::fromScaled(5), QStringLiteral("0000")), QStringLiteral("0000"));
}

TEST(VariantFormat, TextNullAndDates)
{
    EXPECT_EQ(Format(Variant::null(), QStringLiteral("0000")), QString());
    EXPECT_EQ(Format(Variant(), QStringLiteral("0000")), QString());
    EXPECT_EQ(Format(Variant(QStringLiteral("12")), QStringLiteral("0000")), QStringLiteral("0012"));
    EXPECT_EQ(Format(Variant(QStringLiteral("AB")), QStringLiteral("0000")), QStringLiteral("AB"));
    EXPECT_EQ(Format(Variant(std::int16_t(3)), QStringLiteral("00")), QStringLiteral("03"));
    EXPECT_EQ(Format(Variant(QDateTime(QDate(2024, 3, 5), QTime(14, 7))), QStringLiteral("dd/mm/yy hh:mm")),
              QStringLiteral("05/03/24 14:07"));
    ScopedRegional comma(CommaDecimalSettings());
    EXPECT_EQ(Format(Variant(QStringLiteral("3,456")), QStringLiteral("0.00")), QStringLiteral("3,46"));
}

TEST(NumberText, CStrAndStr)
{
    struct Case
    {
        double value;
        const char *cstr;
        const char *cstrComma;
        const char *str;
    };
    const Case cases[] = {
        {0, "0", "0", " 0"},
        {12, "12", "12", " 12"},
        {-12, "-12", "-12", "-12"},
        {0.5, "0.5", "0,5", " .5"},
        {-0.5, "-0.5", "-0,5", "-.5"},
        {3.25, "3.25", "3,25", " 3.25"},
        {0.1 + 0.2, "0.3", "0,3", " .3"},
        {1e15, "1E+15", "1E+15", " 1E+15"},
        {123456789012345, "123456789012345", "123456789012345", " 123456789012345"},
        {1.5e-5, "1.5E-05", "1,5E-05", " 1.5E-05"},
        {0.0001, "0.0001", "0,0001", " .0001"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cstr);
        EXPECT_EQ(CStr(c.value), QString::fromUtf8(c.cstr));
        EXPECT_EQ(Str(c.value), QString::fromUtf8(c.str));
        ScopedRegional comma(CommaDecimalSettings());
        EXPECT_EQ(CStr(c.value), QString::fromUtf8(c.cstrComma));
        EXPECT_EQ(Str(c.value), QString::fromUtf8(c.str)); // Str ignores the settings
    }
    EXPECT_EQ(CStr(Currency::fromScaled(34500)), QStringLiteral("3.45"));
    EXPECT_EQ(CStr(Currency::fromScaled(-5)), QStringLiteral("-0.0005"));
    EXPECT_EQ(CStr(Currency::fromScaled(20000)), QStringLiteral("2"));
    EXPECT_EQ(CStr(true), QStringLiteral("True"));
    EXPECT_EQ(CStr(false), QStringLiteral("False"));
    EXPECT_EQ(CStr(42), QStringLiteral("42"));
}

} // namespace
