#include "platform/runtime/variant.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/regional.h"
#include "tests/support/error_provocado.h"

#include <gtest/gtest.h>

using namespace vb;

namespace {

TEST(VariantConversion, ToTextUnderBothDecimalMarks)
{
    struct Case
    {
        Variant value;
        const char *dot;
        const char *comma;
    };
    const Case cases[] = {
        {Variant(), "", ""},
        {Variant(true), "True", "True"},
        {Variant(false), "False", "False"},
        {Variant(std::int16_t(-5)), "-5", "-5"},
        {Variant(70000), "70000", "70000"},
        {Variant(2.5), "2.5", "2,5"},
        {Variant(Currency::fromScaled(34560)), "3.456", "3,456"},
        {Variant(QDateTime(QDate(2024, 3, 5), QTime(0, 0))), "05/03/2024", "05/03/2024"},
        {Variant(QStringLiteral("x")), "x", "x"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dot);
        EXPECT_EQ(c.value.toString(), QString::fromUtf8(c.dot));
        ScopedRegional comma(CommaDecimalSettings());
        EXPECT_EQ(c.value.toString(), QString::fromUtf8(c.comma));
    }
}

TEST(VariantConversion, TextToNumbers)
{
    EXPECT_DOUBLE_EQ(Variant(QStringLiteral(" 3.5 ")).toDouble(), 3.5);
    EXPECT_EQ(Variant(QStringLiteral("2.5")).toInt(), 2);
    EXPECT_EQ(Variant(QStringLiteral("3.5")).toLong(), 4);
    EXPECT_EQ(Variant(QStringLiteral("922337203685477.5807")).toCurrency(), Currency::fromScaled(9223372036854775807LL));
    EXPECT_EQ(RaisedNumber([] { Variant(QStringLiteral("3,5x")).toDouble(); }), vberr::TypeMismatch);
    EXPECT_EQ(RaisedNumber([] { Variant(QString()).toDouble(); }), vberr::TypeMismatch);
    EXPECT_EQ(RaisedNumber([] { Variant(QStringLiteral("99999")).toInt(); }), vberr::Overflow);
    EXPECT_EQ(Variant(Currency::fromScaled(25000)).toLong(), 2);
    EXPECT_EQ(Variant(40000).toCurrency(), Currency::fromScaled(400000000));
    ScopedRegional comma(CommaDecimalSettings());
    EXPECT_DOUBLE_EQ(Variant(QStringLiteral("3,5")).toDouble(), 3.5);
    EXPECT_EQ(Variant(QStringLiteral("3,456")).toCurrency(), Currency::fromScaled(34560));
}

TEST(VariantConversion, NullIsInvalidUse)
{
    const Variant n = Variant::null();
    EXPECT_EQ(RaisedNumber([&] { n.toString(); }), vberr::InvalidUseOfNull);
    EXPECT_EQ(RaisedNumber([&] { n.toDouble(); }), vberr::InvalidUseOfNull);
    EXPECT_EQ(RaisedNumber([&] { n.toLong(); }), vberr::InvalidUseOfNull);
    EXPECT_EQ(RaisedNumber([&] { n.toCurrency(); }), vberr::InvalidUseOfNull);
    EXPECT_EQ(RaisedNumber([&] { n.toBool(); }), vberr::InvalidUseOfNull);
    EXPECT_EQ(RaisedNumber([&] { n.toDate(); }), vberr::InvalidUseOfNull);
}

TEST(VariantConversion, BooleansAndDates)
{
    EXPECT_TRUE(Variant(QStringLiteral("true")).toBool());
    EXPECT_FALSE(Variant(QStringLiteral("Falso")).toBool());
    EXPECT_TRUE(Variant(QStringLiteral("-1")).toBool());
    EXPECT_FALSE(Variant(0).toBool());
    EXPECT_EQ(RaisedNumber([] { Variant(QStringLiteral("quizá")).toBool(); }), vberr::TypeMismatch);
    EXPECT_EQ(Variant(QStringLiteral("5/3/24 10:00")).toDate(), QDateTime(QDate(2024, 3, 5), QTime(10, 0)));
    EXPECT_EQ(Variant(2.0).toDate(), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    EXPECT_EQ(RaisedNumber([] { Variant(QStringLiteral("ayer")).toDate(); }), vberr::TypeMismatch);
    EXPECT_DOUBLE_EQ(Variant(QDateTime(QDate(1900, 1, 1), QTime(12, 0))).toDouble(), 2.5);
}

} // namespace
