#include "platform/runtime/dates.h"
#include "platform/runtime/regional.h"
#include "tests/support/error_provocado.h"

#include <gtest/gtest.h>

using namespace vb;

namespace {

class DatesTest : public ::testing::Test
{
protected:
    void SetUp() override { FixClock(QDateTime(QDate(2024, 6, 15), QTime(10, 20, 30, 999))); }
    void TearDown() override { SetClock({}); }
};

struct DateCase
{
    const char *text;
    QDateTime expected; // invalid: no date
};

TEST_F(DatesTest, RecognisesDatesDayFirst)
{
    const DateCase cases[] = {
        {"5/3/2024", QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
        {"05/03/2024", QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
        {" 31/12/1999 ", QDateTime(QDate(1999, 12, 31), QTime(0, 0))},
        {"1/1/00", QDateTime(QDate(2000, 1, 1), QTime(0, 0))},
        {"1/1/29", QDateTime(QDate(2029, 1, 1), QTime(0, 0))}, // window: 00-29 are the 2000s
        {"1/1/30", QDateTime(QDate(1930, 1, 1), QTime(0, 0))},
        {"1/1/99", QDateTime(QDate(1999, 1, 1), QTime(0, 0))},
        {"29/2/2024", QDateTime(QDate(2024, 2, 29), QTime(0, 0))},
        {"5-3-2024", QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
        {"2024-03-05", QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
        {"2024-03-05 08:09:10", QDateTime(QDate(2024, 3, 5), QTime(8, 9, 10))},
        {"5/3", QDateTime(QDate(2024, 3, 5), QTime(0, 0))}, // this year
        {"5/3/2024 14:30", QDateTime(QDate(2024, 3, 5), QTime(14, 30))},
        {"5/3/24 2:30:15 PM", QDateTime(QDate(2024, 3, 5), QTime(14, 30, 15))},
        {"1:30", QDateTime(DayZero(), QTime(1, 30))},
        {"23:59:59", QDateTime(DayZero(), QTime(23, 59, 59))},
        {"12:00 am", QDateTime(DayZero(), QTime(0, 0))},
        {"29/2/2023", {}},
        {"12/25/2020", {}}, // never read month first
        {"32/1/2024", {}},
        {"0/1/2024", {}},
        {"1/1/2024 24:00", {}},
        {"1/1/2024 10:60", {}},
        {"13:00 PM", {}},
        {"", {}},
        {"abc", {}},
        {"1.5", {}},
        {"12", {}},
        {"5/3/2024x", {}},
    };
    for (const DateCase &c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(IsDate(text), c.expected.isValid());
        if (c.expected.isValid())
            EXPECT_EQ(CDate(text), c.expected);
        else
            EXPECT_EQ(RaisedNumber([&] { CDate(text); }), vberr::TypeMismatch);
    }
}

TEST_F(DatesTest, CommaDecimalMarkDoesNotChangeDates)
{
    ScopedRegional comma(CommaDecimalSettings());
    EXPECT_EQ(CDate(QStringLiteral("5/3/24")), QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    EXPECT_FALSE(IsDate(QStringLiteral("1,5")));
    EXPECT_EQ(GeneralDate(QDateTime(QDate(2024, 3, 5), QTime(0, 0))), QStringLiteral("05/03/2024"));
}

TEST_F(DatesTest, DateAndTimeValues)
{
    EXPECT_EQ(DateValue(QStringLiteral("5/3/2024 14:30")), QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    EXPECT_EQ(TimeValue(QStringLiteral("5/3/2024 14:30")), QDateTime(DayZero(), QTime(14, 30)));
}

TEST_F(DatesTest, GeneralAndFixedTexts)
{
    const QDateTime at(QDate(2024, 3, 5), QTime(7, 8, 9));
    EXPECT_EQ(GeneralDate(at), QStringLiteral("05/03/2024 07:08:09"));
    EXPECT_EQ(GeneralDate(QDateTime(QDate(2024, 3, 5), QTime(0, 0))), QStringLiteral("05/03/2024"));
    EXPECT_EQ(GeneralDate(QDateTime(DayZero(), QTime(7, 8, 9))), QStringLiteral("07:08:09"));
    EXPECT_EQ(ErrorLogDate(at), QStringLiteral("03-05-2024"));
    EXPECT_EQ(ErrorLogTime(QDateTime(QDate(2024, 3, 5), QTime(17, 8, 9))), QStringLiteral("17:08:09"));
    EXPECT_EQ(ShortDateTime(QDateTime(QDate(2024, 3, 5), QTime(17, 8, 9))), QStringLiteral("05/03/24 17:08"));
}

TEST_F(DatesTest, GeneralDateWritesEachPartAtItsWidth)
{
    struct Caso
    {
        const char *nombre;
        QDateTime valor;
        const char *texto;
    };
    const Caso casos[] = {
        {"first year", QDateTime(QDate(1, 1, 1), QTime(0, 0)), "01/01/0001"},
        {"day zero at midnight", QDateTime(DayZero(), QTime(0, 0)), "30/12/1899"},
        {"day zero, half a second past midnight", QDateTime(DayZero(), QTime(0, 0, 0, 500)), "00:00:00"},
        {"half a second past midnight", QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0, 500)), "05/03/2024"},
        {"last second of a day", QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59, 999)), "31/12/2024 23:59:59"},
        {"a year of five digits", QDateTime(QDate(12345, 6, 7), QTime(1, 2, 3)), "07/06/12345 01:02:03"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(GeneralDate(c.valor), QString::fromLatin1(c.texto)) << c.nombre;
}

TEST_F(DatesTest, PatternTokens)
{
    const QDateTime at(QDate(2024, 3, 5), QTime(17, 8, 9));
    struct Case
    {
        const char *pattern;
        const char *expected;
    };
    const Case cases[] = {
        {"dd/mm/yyyy", "05/03/2024"},
        {"d/m/yy", "5/3/24"},
        {"hh:mm:ss", "17:08:09"}, // mm after hh is minutes
        {"mm:ss", "08:09"},       // and before ss
        {"hh:nn", "17:08"},
        {"yyyymmdd", "20240305"},
        {"dddd d \"de\" mmmm", "martes 5 de marzo"},
        {"ddd mmm", "mar mar"},
        {"h:mm AM/PM", "5:08 PM"},
        {"mm-dd-yyyy", "03-05-2024"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FormatDate(at, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.expected));
    }
}

TEST_F(DatesTest, SerialNumbers)
{
    struct Case
    {
        QDateTime date;
        double serial;
    };
    const Case cases[] = {
        {QDateTime(DayZero(), QTime(0, 0)), 0},
        {QDateTime(QDate(1900, 1, 1), QTime(0, 0)), 2},
        {QDateTime(QDate(2024, 3, 5), QTime(18, 0)), 45356.75},
        {QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25}, // the fraction counts forward
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.serial);
        EXPECT_DOUBLE_EQ(ToSerial(c.date), c.serial);
        EXPECT_EQ(FromSerial(c.serial), c.date);
    }
    EXPECT_EQ(RaisedNumber([] { FromSerial(1e9); }), vberr::Overflow);
}

TEST_F(DatesTest, ClockIsFixedToWholeSeconds)
{
    EXPECT_EQ(Now(), QDateTime(QDate(2024, 6, 15), QTime(10, 20, 30)));
    EXPECT_EQ(Date(), QDateTime(QDate(2024, 6, 15), QTime(0, 0)));
    EXPECT_EQ(Time(), QDateTime(DayZero(), QTime(10, 20, 30)));
    SetClock({});
    EXPECT_LE(qAbs(Now().secsTo(QDateTime::currentDateTime())), 2);
}

TEST_F(DatesTest, DateSerialCarriesOver)
{
    EXPECT_EQ(DateSerial(2024, 13, 1), QDateTime(QDate(2025, 1, 1), QTime(0, 0)));
    EXPECT_EQ(DateSerial(2024, 3, 0), QDateTime(QDate(2024, 2, 29), QTime(0, 0)));
    EXPECT_EQ(DateSerial(24, 1, 1), QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    EXPECT_EQ(RaisedNumber([] { DateSerial(10000, 1, 1); }), vberr::InvalidCall);
}

} // namespace
