#include "database/db_dll.h"

#include "platform/runtime/regional.h"
#include "platform/runtime/vberror.h"
#include "tests/support/error_provocado.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace {

TEST(SQLValue, LiteralsOfEachKind)
{
    DB_Dll db;
    const struct
    {
        const char *nombre;
        Variant valor;
        const char *tipo;
        const char *esperado;
    } cases[] = {
        {"text in quotes", "ABC", "'", "'ABC'"},
        {"inner quote doubled", "O'Brien", "'", "'O''Brien'"},
        {"statement text stays a value", "x'; DELETE FROM T; --", "'", "'x''; DELETE FROM T; --'"},
        {"blanks kept", " A ", "'", "' A '"},
        {"Null default kind", Variant::null(), "'", "NULL"},
        {"Null empty kind", Variant::null(), "", "NULL"},
        {"Null hash kind", Variant::null(), "#", "NULL"},
        {"Null amount", Variant::null(), "@", "0"},
        {"amount from point text", "1234.5", "@", "1234.5"},
        {"amount rounds to four decimals", "0.123456", "@", "0.1235"},
        {"amount from a number", 7.25, "@", "7.25"},
        {"amount without number", "abc", "@", "0"},
        {"number, empty kind", 12.5, "", "12.5"},
        {"long, empty kind", Variant(42), "", "42"},
        {"text, empty kind unchanged", "MAX(x)", "", "MAX(x)"},
        {"number in quotes", 3.5, "'", "'3.5'"},
        {"Empty in quotes", Variant(), "'", "''"},
    };
    for (const bool coma : {false, true}) {
        vb::ScopedRegional r(coma ? vb::CommaDecimalSettings() : vb::RegionalSettings{});
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(c.nombre) + (coma ? " (comma)" : ""));
            EXPECT_EQ(db.SQLValue(c.valor, QString::fromUtf8(c.tipo)).toString(), QString::fromUtf8(c.esperado));
        }
    }
}

TEST(SQLValue, AmountWrittenWithDecimalCommaUnderCommaSettings)
{
    DB_Dll db;
    vb::ScopedRegional coma(vb::CommaDecimalSettings());
    EXPECT_EQ(db.SQLValue(Variant("3,456"), QStringLiteral("@")).toString(), QStringLiteral("3.456"));
    EXPECT_EQ(db.SQLValue(Variant("-0,5"), QStringLiteral("@")).toString(), QStringLiteral("-0.5"));
}

TEST(SQLValue, DateInQuotesTakesItsDefaultText)
{
    DB_Dll db;
    const QDateTime d(QDate(2024, 3, 5), QTime(0, 0));
    EXPECT_EQ(db.SQLValue(Variant(d)).toString(), QStringLiteral("'05/03/2024'"));
}

TEST(FieldTypeFamilies, ClassifyAdoTypes)
{
    DB_Dll db;
    const struct
    {
        Variant tipo;
        bool fecha, texto, numero, moneda, booleano;
    } cases[] = {
        {7, true, false, false, false, false},
        {Variant("135"), true, false, false, false, false},
        {64, true, false, false, false, false},
        {200, false, true, false, false, false},
        {8, false, true, false, false, false},
        {129, false, false, false, false, false},
        {131, false, false, true, false, false},
        {Variant(std::int16_t(3)), false, false, true, false, false},
        {17, false, false, true, false, false},
        {6, false, false, false, true, false},
        {11, false, false, false, false, true},
        {Variant::null(), false, false, false, false, false},
        {999, false, false, false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.tipo.isNull() ? std::string("Null") : c.tipo.toString().toStdString());
        EXPECT_EQ(db.adodate(c.tipo), c.fecha);
        EXPECT_EQ(db.ADOText(c.tipo), c.texto);
        EXPECT_EQ(db.ADONumeric(c.tipo), c.numero);
        EXPECT_EQ(db.ADOCurrency(c.tipo), c.moneda);
        EXPECT_EQ(db.ADOBoolean(c.tipo), c.booleano);
    }
}

TEST(FieldTypeFamilies, TextWithoutNumberIsATypeMismatch)
{
    DB_Dll db;
    EXPECT_EQ(RaisedNumber([&] { db.ADOText(Variant("texto")); }), vberr::TypeMismatch);
}

} // namespace
