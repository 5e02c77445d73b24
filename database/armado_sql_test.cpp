#include "database/armado_sql.h"

#include "database/globales.h"

#include "platform/runtime/regional.h"
#include "platform/runtime/vberror.h"
#include "tests/support/error_provocado.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct CondicionCase
{
    const char *nombre;
    QStringList valores;
    Variant incluyeNulos;
    bool saltaVacios;
    const char *esperado;
};

TEST(ArmaCondicion, BuildsTheComparisonList)
{
    const CondicionCase cases[] = {
        {"stock posting's call", {"A1", "B2"}, false, false, " idarticulo ='A1' OR  idarticulo ='B2'"},
        {"one value, no connector", {"A1"}, false, false, " idarticulo ='A1'"},
        {"nulls appended", {"A1"}, true, false, " idarticulo ='A1' OR  idarticulo  is null "},
        {"Null counts as False", {"A1"}, Variant::null(), false, " idarticulo ='A1'"},
        {"blank later values skipped", {"A1", "  ", "C3"}, false, true, " idarticulo ='A1' OR  idarticulo ='C3'"},
        {"blank later values kept", {"A1", ""}, false, false, " idarticulo ='A1' OR  idarticulo =''"},
        {"blank first value always kept", {" ", "B2"}, false, true, " idarticulo =' ' OR  idarticulo ='B2'"},
        {"never sized", {}, true, false, "1=1"},
        {"a quote inside a value", {"O'B", "A'1'"}, false, false, " idarticulo ='O''B' OR  idarticulo ='A''1'''"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(ArmaCondicion(QStringLiteral(" idarticulo "),
                                QStringLiteral("="),
                                c.valores,
                                QStringLiteral(" OR "),
                                QStringLiteral("'"),
                                c.incluyeNulos,
                                c.saltaVacios),
                  QString::fromUtf8(c.esperado));
    }
}

// Another quote mark (or none, for numbers) leaves the values as given.
TEST(ArmaCondicion, OtherQuoteMarksLeaveValuesAlone)
{
    EXPECT_EQ(ArmaCondicion(QStringLiteral("Nro"),
                            QStringLiteral(" = "),
                            {QStringLiteral("1"), QStringLiteral("2")},
                            QStringLiteral(" OR "),
                            QString(),
                            false,
                            false),
              QStringLiteral("Nro = 1 OR Nro = 2"));
    EXPECT_EQ(ArmaCondicion(QStringLiteral("F"),
                            QStringLiteral("="),
                            {QStringLiteral("O'B")},
                            QStringLiteral(" OR "),
                            QStringLiteral("#"),
                            true,
                            false),
              QStringLiteral("F=#O'B# OR F is null "));
}

class ArmaInsertTest : public ::testing::Test
{
protected:
    void TearDown() override { ReiniciaGlobales(); }
};

TEST_F(ArmaInsertTest, SizedAtOnceAndEmptiedAfterUse)
{
    gCamposValores.resize(2);
    gCamposValores[0] = {QStringLiteral("Cuenta"), QStringLiteral("'1.1.01'")};
    gCamposValores[1] = {QStringLiteral("TC"), QStringLiteral("'FC  '")};
    QString sentencia = QStringLiteral("INSERT INTO MV_ASIENTOS ");
    ArmaInsert(sentencia, gCamposValores, true);
    EXPECT_EQ(sentencia, QStringLiteral("INSERT INTO MV_ASIENTOS (Cuenta,TC) VALUES ('1.1.01','FC  ')"));
    EXPECT_TRUE(gCamposValores.empty());

    // A fresh statement starts from nothing.
    gCamposValores.push_back({QStringLiteral("Id"), QStringLiteral("NULL")});
    QString otra = QStringLiteral(" INSERT INTO V_MV_CPTEACCIONES ");
    ArmaInsert(otra, gCamposValores, true);
    EXPECT_EQ(otra, QStringLiteral(" INSERT INTO V_MV_CPTEACCIONES (Id) VALUES (NULL)"));
}

TEST_F(ArmaInsertTest, GrownOneByOneWithAnUnwrittenElement)
{
    gCamposValores.push_back({QStringLiteral("A"), QStringLiteral("1")});
    gCamposValores.emplace_back(); // enlarged but never written
    gCamposValores.push_back({QStringLiteral("C"), QStringLiteral("'x'")});
    QString sentencia = QStringLiteral("INSERT INTO T ");
    ArmaInsert(sentencia, gCamposValores, false);
    EXPECT_EQ(sentencia, QStringLiteral("INSERT INTO T (A,,C) VALUES (1,,'x')"));
    EXPECT_EQ(gCamposValores.size(), 3u); // kept without the flag
}

TEST_F(ArmaInsertTest, NeverSizedListIsASubscriptError)
{
    QString sentencia = QStringLiteral("INSERT INTO T ");
    EXPECT_EQ(RaisedNumber([&] { ArmaInsert(sentencia, gCamposValores, true); }), vberr::SubscriptOutOfRange);
    EXPECT_EQ(sentencia, QStringLiteral("INSERT INTO T "));
}

TEST(NumeroSQL, AlwaysWritesAPointWhateverTheDecimalMark)
{
    vb::ScopedRegional coma(vb::CommaDecimalSettings());
    const struct
    {
        Variant valor;
        const char *esperado;
    } cases[] = {
        {12.5, "12.5"},
        {-0.25, "-0.25"},
        {0.0, "0"},
        {1234567.0, "1234567"},
        {0.1 + 0.2, "0.3"},
        {Variant(Currency::fromScaled(34560)), "3.456"},
        {Variant(Currency::fromScaled(-5)), "-0.0005"},
        {Variant(42), "42"},
        {1e20, "1E+20"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.esperado);
        EXPECT_EQ(NumeroSQL(c.valor), QString::fromUtf8(c.esperado));
    }
}

TEST(TextoSQL, DoublesInnerQuotes)
{
    EXPECT_EQ(TextoSQL(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(TextoSQL(QStringLiteral("'; DROP TABLE X --")), QStringLiteral("'''; DROP TABLE X --'"));
    EXPECT_EQ(TextoSQL(QString()), QStringLiteral("''"));
}

// The literal spelled the plain way: the value's quotes doubled, then
// enclosed.
QString LiteralPlano(const QString &valor)
{
    return QLatin1Char('\'') + QString(valor).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

TEST(TextoSQL, WrittenAloneOrAtTheEndOfATextAsThePlainSpelling)
{
    const struct
    {
        const char *nombre;
        QString valor;
    } cases[] = {
        {"null", QString()},
        {"empty", QStringLiteral("")},
        {"one quote", QStringLiteral("'")},
        {"only quotes", QStringLiteral("''''")},
        {"quotes at both ends", QStringLiteral("'a'")},
        {"hostile text", QStringLiteral("x'; DELETE FROM T --")},
        {"accents and the pipe-list separator", QString::fromUtf8("Ñandú ÿ\u00FF")},
        {"outside the basic plane", QString::fromUtf8("caja \U0001F4E6 'x'")},
        {"the longest list value", QString(32767, QLatin1Char('A'))},
        {"the longest value of quotes", QString(32767, QLatin1Char('\''))},
    };
    // A prefix longer than its first allocation, so that appending grows it.
    const QString previo = QStringLiteral("INSERT INTO T VALUES (") + QString(1000, QLatin1Char('x'));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        const QString esperado = LiteralPlano(c.valor);
        EXPECT_EQ(TextoSQL(c.valor), esperado);
        QString texto = previo;
        AgregaTextoSQL(texto, c.valor);
        EXPECT_EQ(texto, previo + esperado);
        AgregaTextoSQL(texto, c.valor);
        EXPECT_EQ(texto, previo + esperado + esperado);
    }
}

// Appending never writes through a text another copy shares.
TEST(TextoSQL, AppendingLeavesASharedCopyAlone)
{
    QString texto = QStringLiteral("a");
    texto += QLatin1Char('b');
    const QString copia = texto;
    AgregaTextoSQL(texto, u"c'");
    EXPECT_EQ(texto, QStringLiteral("ab'c'''"));
    EXPECT_EQ(copia, QStringLiteral("ab"));
}

TEST(NumeroSQL, AmountsAsTheirFourDecimalsWithoutTrailingZeros)
{
    vb::ScopedRegional coma(vb::CommaDecimalSettings());
    const struct
    {
        const char *nombre;
        std::int64_t escalado;
        const char *esperado;
    } cases[] = {
        {"zero", 0, "0"},
        {"the smallest amount", 1, "0.0001"},
        {"the smallest negative", -1, "-0.0001"},
        {"a unit", 10000, "1"},
        {"a negative unit", -10000, "-1"},
        {"trailing zeros dropped", 12345000, "1234.5"},
        {"all four decimals", 12345678, "1234.5678"},
        {"a zero inside the decimals", 10203, "1.0203"},
        {"below one", 9999, "0.9999"},
        {"the largest", INT64_MAX, "922337203685477.5807"},
        {"the smallest", INT64_MIN, "-922337203685477.5808"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        const Currency importe = Currency::fromScaled(c.escalado);
        EXPECT_EQ(NumeroSQL(importe), QString::fromLatin1(c.esperado));
        EXPECT_EQ(NumeroSQL(Variant(importe)), QString::fromLatin1(c.esperado));
    }
}

TEST_F(ArmaInsertTest, AppendedAtTheEndOfALongCollectedText)
{
    QString texto;
    QString esperado;
    for (int i = 0; i < 200; ++i) {
        const QString valor = TextoSQL(QString::fromUtf8("Ñ'") + QString::number(i));
        AgregaCampo(u"[DEBE-HABER]", QStringLiteral("'D'"));
        AgregaCampo(u"Vacio", QString());
        AgregaCampo(u"Detalle", valor);
        texto += QLatin1String("\r\nINSERT INTO T ");
        ArmaInsert(texto, gCamposValores, true);
        esperado += QStringLiteral("\r\nINSERT INTO T ([DEBE-HABER],Vacio,Detalle) VALUES ('D',,") + valor
                    + QLatin1Char(')');
    }
    EXPECT_EQ(texto, esperado);
    EXPECT_TRUE(gCamposValores.empty());
}

TEST(TextoDeLiteral, UndoesTextoSQLAndLeavesOtherTextAlone)
{
    for (const char *texto : {"O'Brien", "'; DROP TABLE X --", "", "''", "   1"}) {
        SCOPED_TRACE(texto);
        EXPECT_EQ(TextoDeLiteral(TextoSQL(QString::fromUtf8(texto))), QString::fromUtf8(texto));
    }
    // Not one whole literal: a lone quote, an unclosed one, a code.
    for (const char *texto : {"'", "'abc", "abc'", "  '1'", "1"}) {
        SCOPED_TRACE(texto);
        EXPECT_EQ(TextoDeLiteral(QString::fromUtf8(texto)), QString::fromUtf8(texto));
    }
}

// Codes and expected texts in Latin-1 ("\xFF" is the pipe-list separator).
struct CodigoCase
{
    const char *nombre;
    const char *codigo;
    int ancho;
    const char *alAncho;     // CodigoAncho
    const char *literal;     // CodigoSQL
    const char *normalizado; // CodigoNormalizadoSQL
    const char *oNull;       // CodigoSQLoNull
};

TEST(CodigoSQL, CodesAtTheirWidthAsLiterals)
{
    const CodigoCase cases[] = {
        {"short code", "AB", 4, "  AB", "'  AB'", "'  AB'", "'  AB'"},
        {"blanks around", " AB ", 4, "  AB", "'  AB'", "'  AB'", "'  AB'"},
        {"exactly the width", "ABCD", 4, "ABCD", "'ABCD'", "'ABCD'", "'ABCD'"},
        {"blanks around the width", "  ABCD  ", 4, "ABCD", "'ABCD'", "'ABCD'", "'ABCD'"},
        {"longer than the width: whole, never cut", "ABCDE", 4, "ABCDE", "'ABCDE'", "'ABCDE'", "'ABCDE'"},
        {"longer with blanks around: trimmed", " ABCDE ", 4, "ABCDE", "'ABCDE'", "'ABCDE'", "'ABCDE'"},
        {"longer with a quote", " O'REILLY", 4, "O'REILLY", "'O''REILLY'", "'O''REILLY'", "'O''REILLY'"},
        {"an article code one too long",
         " ABCDEFGHIJKLMNOPQRSTUVWXYZ ",
         25,
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
         "'ABCDEFGHIJKLMNOPQRSTUVWXYZ'",
         "'ABCDEFGHIJKLMNOPQRSTUVWXYZ'",
         "'ABCDEFGHIJKLMNOPQRSTUVWXYZ'"},
        {"a wider field", "ART1", 10, "      ART1", "'      ART1'", "'      ART1'", "'      ART1'"},
        {"quote inside", "O'R", 4, " O'R", "' O''R'", "' O''R'", "' O''R'"},
        {"hostile text",
         "'; DROP TABLE X --",
         4,
         "'; DROP TABLE X --",
         "'''; DROP TABLE X --'",
         "'''; DROP TABLE X --'",
         "'''; DROP TABLE X --'"},
        {"empty", "", 4, "", "''", "''", "NULL"},
        {"blank", "   ", 25, "", "''", "''", "NULL"},
        {"pipe-list separator", "AB\xFF", 4, " AB\xFF", "' AB\xFF'", "'  AB'", "' AB\xFF'"},
        {"line feed and blanks", " 12\n ", 4, " 12\n", "' 12\n'", "'  12'", "' 12\n'"},
    };
    for (const CodigoCase &c : cases) {
        SCOPED_TRACE(c.nombre);
        const QString codigo = QString::fromLatin1(c.codigo);
        EXPECT_EQ(CodigoAncho(codigo, c.ancho), QString::fromLatin1(c.alAncho));
        EXPECT_EQ(CodigoSQL(codigo, c.ancho), QString::fromLatin1(c.literal));
        EXPECT_EQ(CodigoNormalizadoSQL(codigo, c.ancho), QString::fromLatin1(c.normalizado));
        EXPECT_EQ(CodigoSQLoNull(codigo, c.ancho), QString::fromLatin1(c.oNull));
    }
}

TEST(TextoSQLoNull, BlankIsNullAnyOtherTextALiteralAsTyped)
{
    const struct
    {
        const char *nombre;
        const char *texto;
        const char *sql;
    } cases[] = {
        {"empty", "", "NULL"},
        {"blank", "   ", "NULL"},
        {"blanks kept around a text", " a ", "' a '"},
        {"quote inside", "O'R", "'O''R'"},
        {"hostile text", "x'; DELETE FROM T --", "'x''; DELETE FROM T --'"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(TextoSQLoNull(QString::fromLatin1(c.texto)), QString::fromLatin1(c.sql));
    }
}

} // namespace
