#include "database/db_dll.h"
#include "database/transaccion.h"

#include "tests/support/grabacion.h"

#include <gtest/gtest.h>

namespace {

struct DialectCase
{
    const char *nombre;
    const char *in;
    const char *out;
    friend void PrintTo(const DialectCase &c, std::ostream *os) { *os << c.nombre; }
};

class OracleDialectTest : public ::testing::TestWithParam<DialectCase>
{
protected:
    void SetUp() override { AttachRecording(db.gCnn(), ado::Platform::Oracle); }
    DB_Dll db;
};

TEST_P(OracleDialectTest, Converts)
{
    const DialectCase &c = GetParam();
    EXPECT_EQ(db.ORACLE_Dicc(QString::fromUtf8(c.in)).toStdString(), std::string(c.out));
}

const DialectCase kSteps[] = {
    // Entry: a single word.
    {"single_len", "len", "LENGTH"},
    {"single_len_blank", "len ", "len "},
    {"single_word", "CODIGO", "CODIGO"},
    // TOP.
    {"top_no_where", "SELECT TOP 10 CODIGO FROM T", "SELECT  CODIGO FROM T  WHERE ROWNUM <= 10  "},
    {"top_with_where", "SELECT TOP 1 * FROM T WHERE A = 1", "SELECT  * FROM T WHERE A = 1  AND ROWNUM <= 1  "},
    {"top_order_by",
     "SELECT TOP 1 * FROM T WHERE A = 1 ORDER BY B",
     "SELECT * FROM (SELECT * FROM T WHERE A = 1 ORDER BY B) WHERE ROWNUM <= 1"},
    {"top_group_by",
     "SELECT TOP 5 A, COUNT(*) FROM T GROUP BY A ORDER BY 2",
     "SELECT * FROM (SELECT A, COUNT(*) FROM T GROUP BY A ORDER BY 2) WHERE ROWNUM <= 5"},
    {"top_trailing_blanks", "SELECT TOP 10 CODIGO FROM T   ", "SELECT  CODIGO FROM T  WHERE ROWNUM <= 10  "},
    {"top_lower_case", "select top 3 a from t", "select  a from t  WHERE ROWNUM <= 3  "},
    {"stope_is_a_column", "SELECT STOPE, A FROM T WHERE B = 'LAPTOP '", "SELECT STOPE, A FROM T WHERE B = 'LAPTOP '"},
    // LEN.
    {"len_call", "SELECT LEN(A), LEN (B), LEN    (C) FROM T", "SELECT LENGTH(A), LENGTH(B), LENGTH(C) FROM T"},
    {"len_without_blank_before", "SELECT (LEN(A)) FROM T", "SELECT (LEN(A)) FROM T"},
    // Brackets: upper case, as Oracle keeps a name written without quotes, so
    // that every spelling of a column names the same one.
    {"brackets", "SELECT [CODIGO] FROM [V_MA_ARTICULOS]", "SELECT \"CODIGO\" FROM \"V_MA_ARTICULOS\""},
    {"entry_insert",
     "INSERT INTO MV_ASIENTOS (TC, [DEBE-HABER], [Numero Asiento]) VALUES ('AS', 'D', '7')",
     "INSERT INTO MV_ASIENTOS (TC, \"DEBE-HABER\", \"NUMERO ASIENTO\") VALUES ('AS', 'D', '7')"},
    {"entry_number_read",
     "SELECT MAX([NUMERO ASIENTO]) AS [NRO_ASIENTO] FROM MV_ASIENTOS WHERE [Debe-Haber] = 'D'",
     "SELECT MAX(\"NUMERO ASIENTO\") AS \"NRO_ASIENTO\" FROM MV_ASIENTOS WHERE \"DEBE-HABER\" = 'D'"},
    {"bracket_doubled_inside", "SELECT [a]]b] FROM T WHERE C = '[x]'", "SELECT \"A]B\" FROM T WHERE C = '[x]'"},
    // Dates.
    {"date_twice",
     "SELECT * FROM T WHERE F >= '1/2/2005' AND G <= '1/2/2005'",
     "SELECT * FROM T WHERE F >= TO_DATE('01/02/2005','DD/MM/YYYY') AND G <= TO_DATE('01/02/2005','DD/MM/YYYY')"},
    {"date_already_converted",
     "SELECT * FROM T WHERE F = TO_DATE('01/02/2005','DD/MM/YYYY')",
     "SELECT * FROM T WHERE F = TO_DATE('01/02/2005','DD/MM/YYYY')"},
    {"date_time_already_converted",
     "SELECT * FROM T WHERE F = TO_DATE('01/02/2005 08:00:00','DD/MM/YYYY HH24:MI:SS')",
     "SELECT * FROM T WHERE F = TO_DATE('01/02/2005 08:00:00','DD/MM/YYYY HH24:MI:SS')"},
    {"date_with_time",
     "SELECT * FROM T WHERE F < '31/12/2024 23:59:59' AND G > '1/2/2005 8:05'",
     "SELECT * FROM T WHERE F < TO_DATE('31/12/2024 23:59:59','DD/MM/YYYY HH24:MI:SS') AND G > "
     "TO_DATE('01/02/2005 08:05:00','DD/MM/YYYY HH24:MI:SS')"},
    {"texts_stay",
     "SELECT * FROM T WHERE A = '   1' AND B = 'RM' AND C = '1/2' AND D = '12:30' AND E = '31/02/2024'",
     "SELECT * FROM T WHERE A = '   1' AND B = 'RM' AND C = '1/2' AND D = '12:30' AND E = '31/02/2024'"},
    {"unclosed_quote", "SELECT * FROM T WHERE A = '1/2/2005", "SELECT * FROM T WHERE A = '1/2/2005"},
    // CHARINDEX.
    {"charindex_swapped",
     "SELECT * FROM T WHERE CHARINDEX('X', CODIGO) > 0",
     "SELECT * FROM T WHERE InStr(CODIGO, 'X') > 0"},
    {"charindex_nested",
     "SELECT charindex(',', SUBSTRING(A, 1, 3), 2) FROM T",
     "SELECT InStr(SUBSTR(A, 1, 3), ',', 2) FROM T"},
    // CONVERT and the style 103.
    {"convert_style",
     "SELECT CONVERT(NVARCHAR, FECHA, 103), CONVERT(INT, A) FROM T",
     "SELECT TO_CHAR( FECHA, 'DD/MM/YYYY'), TO_NUMBER( A) FROM T"},
    {"103_outside_to_char",
     "SELECT TO_CHAR(A) FROM T WHERE C = 103 AND D = '1103'",
     "SELECT TO_CHAR(A) FROM T WHERE C = 103 AND D = '1103'"},
    // Comparisons with the empty text.
    {"empty_text", "UPDATE T SET A = '' WHERE B = '' AND C=''", "UPDATE T SET A = '' WHERE B  IS NULL  AND C IS NULL "},
    // SUBSTRING and ISNULL.
    {"substring_isnull", "SELECT ISNULL(SUBSTRING(A,1,2),'X') FROM T", "SELECT NVL(SUBSTR(A,1,2),'X') FROM T"},
    // What a quoted text holds is data: nothing in it is converted.
    {"top_clauses_in_quotes",
     "SELECT TOP 3 A FROM T WHERE B LIKE '%order by%'",
     "SELECT  A FROM T WHERE B LIKE '%order by%'  AND ROWNUM <= 3  "},
    {"top_where_in_quotes", "SELECT TOP 3 A FROM T, [ WHERE ]", "SELECT  A FROM T, \" WHERE \"  WHERE ROWNUM <= 3  "},
    {"calls_in_quotes",
     "SELECT A FROM T WHERE B LIKE '% LEN(x) [y] ISNULL( SUBSTRING( CONVERT(INT, CHARINDEX(1, 2) WITH (UPDLOCK, "
     "ROWLOCK)%'",
     "SELECT A FROM T WHERE B LIKE '% LEN(x) [y] ISNULL( SUBSTRING( CONVERT(INT, CHARINDEX(1, 2) WITH (UPDLOCK, "
     "ROWLOCK)%'"},
    {"empty_text_inside_a_text",
     "SELECT * FROM T WHERE A = 'x = '''' y' AND B = ''",
     "SELECT * FROM T WHERE A = 'x = '''' y' AND B  IS NULL "},
    {"style_103_in_quotes", "SELECT A FROM T WHERE B = 'TO_CHAR( 103 )'", "SELECT A FROM T WHERE B = 'TO_CHAR( 103 )'"},
    // Comments, N'...' texts, names and quotes inside texts are read whole.
    {"date_in_comment",
     "SELECT * FROM T WHERE F >= '1/2/2005' -- since '1/2/2005'\r\nAND A = 1",
     "SELECT * FROM T WHERE F >= TO_DATE('01/02/2005','DD/MM/YYYY') -- since '1/2/2005'\r\nAND A = 1"},
    {"apostrophe_in_comment",
     "SELECT * FROM T /* don't */ WHERE F = '1/2/2005'",
     "SELECT * FROM T /* don't */ WHERE F = TO_DATE('01/02/2005','DD/MM/YYYY')"},
    {"national_date",
     "SELECT * FROM T WHERE F = N'1/2/2005'",
     "SELECT * FROM T WHERE F = TO_DATE('01/02/2005','DD/MM/YYYY')"},
    {"date_inside_a_text",
     "SELECT * FROM T WHERE A = 'x''1/2/2005''' AND F = '1/2/2005'",
     "SELECT * FROM T WHERE A = 'x''1/2/2005''' AND F = TO_DATE('01/02/2005','DD/MM/YYYY')"},
    {"charindex_comma_in_name", "SELECT CHARINDEX(',', [A,B]) FROM T", "SELECT InStr(\"A,B\", ',') FROM T"},
    {"charindex_comment_and_quotes",
     "SELECT CHARINDEX(')'',', /* a, b) */ C) FROM T",
     "SELECT InStr(/* a, b) */ C, ')'',') FROM T"},
    // All together.
    {"whole",
     "SELECT TOP 1 [A], ISNULL(C,0), LEN(B) FROM T WHERE F <= '5/6/2024' AND NOMBRE = '' ORDER BY A",
     "SELECT * FROM (SELECT \"A\", NVL(C,0), LENGTH(B) FROM T WHERE F <= TO_DATE('05/06/2024','DD/MM/YYYY') AND NOMBRE "
     " IS NULL  "
     "ORDER BY A) WHERE ROWNUM <= 1"},
};

INSTANTIATE_TEST_SUITE_P(Steps, OracleDialectTest, ::testing::ValuesIn(kSteps), [](const auto &info) {
    return std::string(info.param.nombre);
});

// The row lock of a book read: FOR UPDATE holds only inside a transaction.
TEST(OracleDialectLocks, ForUpdateInsideATransactionOnly)
{
    DB_Dll db;
    AttachRecording(db.gCnn(), ado::Platform::Oracle);
    const QString read = QStringLiteral(
        "SELECT * FROM V_TA_CPTE WITH (UPDLOCK, ROWLOCK) WHERE CODIGO = ' CMV' ORDER BY TALONARIO");
    EXPECT_EQ(db.ORACLE_Dicc(read), QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO = ' CMV' ORDER BY TALONARIO"));
    {
        Transaccion transaccion(db.gCnn());
        EXPECT_EQ(db.ORACLE_Dicc(read),
                  QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO = ' CMV' ORDER BY TALONARIO FOR UPDATE"));
        EXPECT_EQ(db.ORACLE_Dicc(QStringLiteral("SELECT * FROM T with(updlock,rowlock)")),
                  QStringLiteral("SELECT * FROM T FOR UPDATE"));
        EXPECT_EQ(db.ORACLE_Dicc(QStringLiteral("SELECT * FROM T WHERE A = 1")),
                  QStringLiteral("SELECT * FROM T WHERE A = 1"));
    }
    EXPECT_EQ(db.ORACLE_Dicc(QStringLiteral("SELECT * FROM T with(updlock,rowlock)")),
              QStringLiteral("SELECT * FROM T"));
}

TEST(OracleDialectOtherPlatforms, IdentityOffOracle)
{
    // The word ORACLE in the connection text does not make a connection Oracle.
    DB_Dll db;
    db.gConnString = QStringLiteral("Provider=SQLOLEDB;Server=ORACLE01;");
    AttachRecording(db.gCnn(), ado::Platform::SqlServer);
    for (const char *text : {"len", "SELECT TOP 10 A FROM [T] WHERE F = '1/2/2005'"})
        EXPECT_EQ(db.ORACLE_Dicc(QString::fromUtf8(text)), QString::fromUtf8(text));
}

} // namespace
