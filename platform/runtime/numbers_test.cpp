#include "platform/runtime/numbers.h"
#include "platform/runtime/regional.h"
#include "tests/support/error_provocado.h"

#include <gtest/gtest.h>

using namespace vb;

namespace {

TEST(Val, TakesTheLeadingNumber)
{
    struct Case
    {
        const char *text;
        double expected;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"123", 123},
        {"  1 2 3", 123}, // blanks skipped anywhere
        {"1\t2\n3", 123}, // tabs and line feeds too
        {"-12.5", -12.5},
        {"+7", 7},
        {" - 4", -4},
        {".5", 0.5},
        {"-.25x", -0.25},
        {"1,5", 1}, // "," is no decimal point here
        {"1.2.3", 1.2},
        {"12abc34", 12},
        {"1.5E3", 1500},
        {"1.5e+3", 1500},
        {"25D-1", 2.5},
        {"2E", 2}, // an exponent without digits stops before it
        {"2E+", 2},
        {"E5", 0},
        {"--1", 0},
        {"-", 0},
        {"&HFF", 255},
        {"&hff", 255},
        {"&HFFFF", -1}, // 16 bits, signed
        {"&H8000", -32768},
        {"&HFFFF&", 65535}, // "&" forces 32 bits
        {"&H10000", 65536},
        {"&HFFFFFFFF", -1},
        {"&H7FFFFFFF", 2147483647},
        {"&O17", 15},
        {"&17", 15},
        {"&O777778", 32767}, // stops at the 8
        {"&H", 0},
        {"&X1", 0},
        {"1\r2", 1}, // a carriage return is not skipped
        {"007", 7},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(c.text)), c.expected);
    }
}

TEST(Val, OverflowIsError6)
{
    EXPECT_EQ(RaisedNumber([] { Val(QStringLiteral("1E400")); }), vberr::Overflow);
    EXPECT_EQ(RaisedNumber([] { Val(QStringLiteral("&H100000000")); }), vberr::Overflow);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("1E-400")), 0);
}

TEST(Val, IgnoresTheRegionalDecimalMark)
{
    ScopedRegional comma(CommaDecimalSettings());
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("3,456")), 3);
    EXPECT_DOUBLE_EQ(Val(QStringLiteral("3.456")), 3.456);
}

TEST(Rounding, WholeNumbersRoundHalfToEven)
{
    struct Case
    {
        double value;
        int expected;
    };
    const Case cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999, 2},
        {2.5001, 3},
        {32767.4, 32767},
        {-32768.5, -32768},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(CInt(c.value), c.expected);
        EXPECT_EQ(CLng(c.value), c.expected);
        EXPECT_DOUBLE_EQ(Round(c.value), double(c.expected));
    }
}

TEST(Rounding, OverflowIsError6)
{
    const double tooBigForInt[] = {32767.5, -32768.6, 40000, 1e300};
    for (double d : tooBigForInt) {
        SCOPED_TRACE(d);
        EXPECT_EQ(RaisedNumber([d] { CInt(d); }), vberr::Overflow);
    }
    EXPECT_EQ(CLng(2147483647.4), 2147483647);
    EXPECT_EQ(RaisedNumber([] { CLng(2147483647.5); }), vberr::Overflow);
    EXPECT_EQ(RaisedNumber([] { CLng(-2147483649.0); }), vberr::Overflow);
    EXPECT_EQ(RaisedNumber([] { CLng(std::nan("")); }), vberr::Overflow);
}

TEST(Rounding, RoundToDecimalsHalfToEven)
{
    struct Case
    {
        double value;
        int decimals;
        double expected;
    };
    const Case cases[] = {
        {0.125, 2, 0.12},
        {0.375, 2, 0.38},
        {1.2345, 3, 1.234},
        {-0.125, 2, -0.12},
        {3.456, 2, 3.46},
        {3.456, 0, 3},
        {1e300, 2, 1e300},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_DOUBLE_EQ(Round(c.value, c.decimals), c.expected);
    }
    EXPECT_EQ(RaisedNumber([] { Round(1.0, -1); }), vberr::InvalidCall);
    EXPECT_EQ(Round(Currency::fromScaled(34565), 3), Currency::fromScaled(34560));
    EXPECT_EQ(Round(Currency::fromScaled(34575), 3), Currency::fromScaled(34580));
    EXPECT_EQ(Round(Currency::fromScaled(-25000), 0), Currency::fromScaled(-20000));
    EXPECT_EQ(Round(Currency::fromScaled(34567), 4), Currency::fromScaled(34567));
}

TEST(Rounding, FixAndInt)
{
    EXPECT_DOUBLE_EQ(Fix(-2.7), -2);
    EXPECT_DOUBLE_EQ(Int(-2.7), -3);
    EXPECT_DOUBLE_EQ(Fix(2.7), 2);
    EXPECT_DOUBLE_EQ(Int(2.7), 2);
}

struct TextCase
{
    const char *text;
    bool numeric;
    double value;
};

TEST(TextToNumber, FollowsTheRegionalSettings)
{
    const TextCase dot[] = {
        {"3.456", true, 3.456},
        {" 12 ", true, 12},
        {"-1.5", true, -1.5},
        {"1,234.5", true, 1234.5},
        {"1E3", true, 1000},
        {"&HFF", true, 255},
        {"", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {".", false, 0},
        {"-", false, 0},
        {"1.2.3", false, 0},
        {",5", false, 0},
    };
    const TextCase comma[] = {
        {"3,456", true, 3.456},
        {"1.234,5", true, 1234.5},
        {"-0,5", true, -0.5},
        {"3.456", true, 3456},
        {"1,2,3", false, 0},
        {"x", false, 0},
    };
    auto check = [](const TextCase &c) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(IsNumeric(text), c.numeric);
        if (c.numeric)
            EXPECT_DOUBLE_EQ(CDbl(text), c.value);
        else
            EXPECT_EQ(RaisedNumber([&] { CDbl(text); }), vberr::TypeMismatch);
    };
    for (const TextCase &c : dot)
        check(c);
    ScopedRegional settings(CommaDecimalSettings());
    for (const TextCase &c : comma)
        check(c);
}

TEST(TextToNumber, WholeNumbersAndCurrency)
{
    EXPECT_EQ(CInt(QStringLiteral("2.5")), 2);
    EXPECT_EQ(CLng(QStringLiteral(" 70000 ")), 70000);
    EXPECT_EQ(RaisedNumber([] { CInt(QStringLiteral("x")); }), vberr::TypeMismatch);
    EXPECT_EQ(RaisedNumber([] { CInt(QStringLiteral("40000")); }), vberr::Overflow);
    // Exact to the last digit, where a Double would not be.
    EXPECT_EQ(CCur(QStringLiteral("922337203685477.5807")), Currency::fromScaled(9223372036854775807LL));
    EXPECT_EQ(CCur(QStringLiteral("-922337203685477.5808")), Currency::fromScaled(-9223372036854775807LL - 1));
    EXPECT_EQ(RaisedNumber([] { CCur(QStringLiteral("922337203685477.5808")); }), vberr::Overflow);
    EXPECT_EQ(CCur(QStringLiteral("1.00005")), Currency::fromScaled(10000)); // half to even
    EXPECT_EQ(CCur(QStringLiteral("1.00015")), Currency::fromScaled(10002));
    EXPECT_EQ(CCur(QStringLiteral("1.000050001")), Currency::fromScaled(10001));
    EXPECT_EQ(CCur(QStringLiteral("1.5E2")), Currency::fromScaled(1500000));
    EXPECT_EQ(RaisedNumber([] { CCur(QStringLiteral("uno")); }), vberr::TypeMismatch);
    ScopedRegional comma(CommaDecimalSettings());
    EXPECT_EQ(CCur(QStringLiteral("3,456")), Currency::fromScaled(34560));
}

TEST(CurrencyArithmetic, ExactWithOverflowAndDivisionErrors)
{
    const Currency a = Currency::fromScaled(12345); // 1.2345
    const Currency b = Currency::fromScaled(20000); // 2
    EXPECT_EQ(a + b, Currency::fromScaled(32345));
    EXPECT_EQ(a - b, Currency::fromScaled(-7655));
    EXPECT_EQ(a * b, Currency::fromScaled(24690));
    EXPECT_EQ(a / b, Currency::fromScaled(6172));                                             // 0.61725, half to even
    EXPECT_EQ(Currency::fromScaled(1) * Currency::fromScaled(5000), Currency::fromScaled(0)); // 0.00005 to even
    EXPECT_EQ(Currency::fromScaled(3) * Currency::fromScaled(5000), Currency::fromScaled(2));
    EXPECT_EQ(Currency::fromDouble(0.1) + Currency::fromDouble(0.2), Currency::fromDouble(0.3));
    const Currency max = Currency::fromScaled(9223372036854775807LL);
    EXPECT_EQ(RaisedNumber([&] { (void) (max + Currency::fromScaled(1)); }), vberr::Overflow);
    EXPECT_EQ(RaisedNumber([&] { (void) (max * b); }), vberr::Overflow);
    EXPECT_EQ(RaisedNumber([&] { (void) (a / Currency()); }), vberr::DivisionByZero);
    EXPECT_EQ(RaisedNumber([] { Currency::fromDouble(1e20); }), vberr::Overflow);
}

TEST(CurrencyArithmetic, DivideHalfToEvenOnBothSides)
{
    struct Case
    {
        long long value;
        int drop;
        long long expected;
    } cases[] = {{25, 1, 2},
                 {35, 1, 4},
                 {-25, 1, -2},
                 {-35, 1, -4},
                 {26, 1, 3},
                 {-26, 1, -3},
                 {24, 1, 2},
                 {-24, 1, -2},
                 {125000, 4, 12},
                 {135000, 4, 14},
                 {7, 0, 7},
                 {-5000, 4, 0},
                 {15000, 4, 2},
                 {-15000, 4, -2}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ((long long) Currency::divideHalfEven(c.value, c.drop), c.expected);
    }
}

} // namespace
