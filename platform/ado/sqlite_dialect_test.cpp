#include "platform/ado/sqlite_dialect.h"
#include "platform/ado/sqlite_datetime.h"
#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

using ado::DateColumns;
using ado::DialectStatement;
namespace SqliteDialect = ado::SqliteDialect;

namespace {

// T.F and V.FECHA, V.ALTA are dates; U.F is text; T.C, V.OBS and U.OBS are texts, V.ID a number.
DateColumns schema()
{
    DateColumns d;
    d.byTable = {{"T", {"F"}}, {"V", {"FECHA", "ALTA"}}, {"U", {}}};
    d.order = {{"T", {"C", "F"}}, {"V", {"ID", "FECHA", "OBS", "ALTA"}}, {"U", {"OBS", "F"}}};
    d.types = {{"T", {{"C", "VARCHAR(10)"}, {"F", "DATETIME"}}},
               {"V", {{"ID", "INT"}, {"FECHA", "DATETIME"}, {"OBS", "VARCHAR(50)"}, {"ALTA", "DATETIME"}}},
               {"U", {{"OBS", "VARCHAR(50)"}, {"F", "VARCHAR(10)"}}}};
    return d;
}

QString stored(const QString &date)
{
    QString out;
    ado::sqlite_datetime::fromText(date, out);
    return out;
}

QString only(const QString &sql, const DateColumns &dates = schema())
{
    const auto st = SqliteDialect::translateBatch(sql, dates);
    EXPECT_EQ(st.size(), 1u) << sql.toStdString();
    return st.empty() ? QString() : st.front().sql;
}

struct Case
{
    const char *input;
    const char *expected;
};

TEST(SqliteDialect, TranslatesConstructByConstruct)
{
    const Case cases[] = {
        {"SELECT TOP 5 * FROM T ORDER BY A", "SELECT * FROM T ORDER BY A LIMIT 5"},
        {"select top (3) A from T", "select A from T LIMIT 3"},
        {"SELECT * FROM T WHERE A IN (SELECT TOP 1 A FROM U ORDER BY B)",
         "SELECT * FROM T WHERE A IN (SELECT A FROM U ORDER BY B LIMIT 1)"},
        {"DELETE V_MV_CPTE WHERE IdComplemento = 0", "DELETE FROM V_MV_CPTE WHERE IdComplemento = 0"},
        {"DELETE FROM T", "DELETE FROM T"},
        {"SELECT ISNULL(A, 0) FROM dbo.T", "SELECT IFNULL(A, 0) COLLATE SQLTEXT FROM T"},
        {"SELECT A FROM T WHERE A IS NULL", "SELECT A FROM T WHERE A IS NULL"},
        {"SELECT MAX([NUMERO ASIENTO]) AS [NRO_ASIENTO] FROM T",
         "SELECT MAX(\"NUMERO ASIENTO\") AS \"NRO_ASIENTO\" FROM T"},
        {"SELECT [COD-ART] FROM [dbo].[MI TABLA-2]", "SELECT \"COD-ART\" FROM \"MI TABLA-2\""},
        {"SELECT * FROM T WHERE F <= '31/12/2020'", "SELECT * FROM T WHERE F COLLATE SQLDATE <= '2020-12-31 00:00:00'"},
        {"SELECT * FROM T WHERE F = '5/3/21 10:30'", "SELECT * FROM T WHERE F COLLATE SQLDATE = '2021-03-05 10:30:00'"},
        {"SELECT * FROM T WHERE C = 'RM'", "SELECT * FROM T WHERE C = 'RM' COLLATE SQLTEXT"},
        {"SELECT * FROM T WHERE C = N'O''Brien'", "SELECT * FROM T WHERE C = 'O''Brien' COLLATE SQLTEXT"},
        // A keyword right after a literal stays a word of its own.
        {"SELECT * FROM T WHERE C = 'a'OR B = 1", "SELECT * FROM T WHERE C = 'a' COLLATE SQLTEXT OR B = 1"},
        {"SELECT * FROM T WHERE C LIKE 'a%'AND B = 1", "SELECT * FROM T WHERE C LIKE 'a%' COLLATE SQLTEXT AND B = 1"},
        {"SELECT 'A' + C FROM T", "SELECT 'A' COLLATE SQLTEXT || C FROM T"},
        {"SELECT LEFT(C, 2), RIGHT(C, 1) FROM T LEFT JOIN U ON T.A = U.A",
         "SELECT sqlsrv_left(C, 2) COLLATE SQLTEXT, sqlsrv_right(C, 1) COLLATE SQLTEXT FROM T LEFT JOIN U ON T.A = "
         "U.A"},
        {"SELECT * FROM T WHERE LTRIM(RTRIM(A)) = SUBSTRING(B, 1, LEN(B))",
         "SELECT * FROM T WHERE LTRIM(RTRIM(A) COLLATE SQLTEXT) COLLATE SQLTEXT = SUBSTRING(B, 1, LEN(B)) COLLATE "
         "SQLTEXT"},
        {"ALTER TABLE dbo.CLIENTES ADD EMAIL VARCHAR(50) Null  CONSTRAINT DF_CLIENTES_EMAIL DEFAULT ('')",
         "ALTER TABLE CLIENTES ADD COLUMN EMAIL VARCHAR(50) COLLATE SQLTEXT Null CONSTRAINT DF_CLIENTES_EMAIL DEFAULT "
         "('')"},
        {"CREATE TABLE T (TEXT varchar(4) NOT NULL, N int)",
         "CREATE TABLE T (TEXT varchar(4) COLLATE SQLTEXT NOT NULL, N int)"},
        {"TRUNCATE TABLE T", "DELETE FROM T"},
        {"SELECT * FROM T WITH (UPDLOCK, ROWLOCK) WHERE A = 1 ORDER BY B", "SELECT * FROM T WHERE A = 1 ORDER BY B"},
        {"SELECT A FROM T with(nolock)", "SELECT A FROM T"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(only(QString::fromUtf8(c.input)), QString::fromUtf8(c.expected));
    }
}

TEST(SqliteDialect, QuotedDatesBecomeDaysOnlyAtDateColumns)
{
    const Case cases[] = {
        {"SELECT * FROM V WHERE FECHA = '5/3/21'",
         "SELECT * FROM V WHERE FECHA COLLATE SQLDATE = '2021-03-05 00:00:00'"},
        {"SELECT * FROM V WHERE OBS = '1/2/2024'", "SELECT * FROM V WHERE OBS = '1/2/2024' COLLATE SQLTEXT"},
        {"SELECT * FROM V WHERE [FECHA] >= '1/2/2024' AND fecha < '1/3/2024 10:30'",
         "SELECT * FROM V WHERE \"FECHA\" COLLATE SQLDATE >= '2024-02-01 00:00:00' AND fecha COLLATE SQLDATE < "
         "'2024-03-01 10:30:00'"},
        {"SELECT * FROM V X WHERE X.FECHA <> '1/2/2024' AND X.[ALTA] != '2/2/2024'",
         "SELECT * FROM V X WHERE X.FECHA COLLATE SQLDATE <> '2024-02-01 00:00:00' AND X.\"ALTA\" COLLATE SQLDATE != "
         "'2024-02-02 00:00:00'"},
        {"SELECT * FROM dbo.V WHERE '1/2/24' <= V.FECHA AND '1/2/24' > V.OBS",
         "SELECT * FROM V WHERE '2024-02-01 00:00:00' <= V.FECHA COLLATE SQLDATE AND '1/2/24' COLLATE SQLTEXT > V.OBS"},
        {"SELECT * FROM V WHERE FECHA BETWEEN '1/2/24' AND '29/2/24'",
         "SELECT * FROM V WHERE FECHA COLLATE SQLDATE BETWEEN '2024-02-01 00:00:00' AND '2024-02-29 00:00:00'"},
        {"SELECT * FROM V WHERE FECHA NOT BETWEEN '1/2/24' AND '29/2/24'",
         "SELECT * FROM V WHERE FECHA COLLATE SQLDATE NOT BETWEEN '2024-02-01 00:00:00' AND '2024-02-29 00:00:00'"},
        {"SELECT * FROM V WHERE OBS BETWEEN '1/2/24' AND '29/2/24'",
         "SELECT * FROM V WHERE OBS BETWEEN '1/2/24' COLLATE SQLTEXT AND '29/2/24' COLLATE SQLTEXT"},
        {"SELECT * FROM V WHERE FECHA IN ('1/2/24', '2/2/24')",
         "SELECT * FROM V WHERE FECHA COLLATE SQLDATE IN ('2024-02-01 00:00:00', '2024-02-02 00:00:00')"},
        {"SELECT * FROM V WHERE OBS NOT IN ('1/2/24')", "SELECT * FROM V WHERE OBS NOT IN ('1/2/24' COLLATE SQLTEXT)"},
        {"SELECT * FROM V WHERE OBS IN (('1/2/24'), 'x') AND FECHA IN ('1/2/24')",
         "SELECT * FROM V WHERE OBS IN (('1/2/24' COLLATE SQLTEXT), 'x' COLLATE SQLTEXT) AND FECHA COLLATE SQLDATE IN "
         "('2024-02-01 00:00:00')"},
        {"SELECT * FROM V WHERE FECHA IN (SELECT OBS FROM V WHERE ID = '1/2/24')",
         "SELECT * FROM V WHERE FECHA IN (SELECT OBS FROM V WHERE ID = '1/2/24' COLLATE SQLTEXT)"},
        {"SELECT * FROM V WHERE LEFT(OBS, 6) = '5/3/21'",
         "SELECT * FROM V WHERE sqlsrv_left(OBS, 6) COLLATE SQLTEXT = '5/3/21' COLLATE SQLTEXT"},
        {"SELECT '5/3/21', 'del 5/3/21' FROM V", "SELECT '5/3/21' COLLATE SQLTEXT, 'del 5/3/21' COLLATE SQLTEXT FROM V"},
        {"SELECT * FROM V WHERE OBS = '2024-03-05' OR FECHA = '2024-03-05'",
         "SELECT * FROM V WHERE OBS = '2024-03-05' COLLATE SQLTEXT OR FECHA COLLATE SQLDATE = '2024-03-05 00:00:00'"},
        {"INSERT INTO V (ID, FECHA, OBS) VALUES (1, '5/3/21', '5/3/21')",
         "INSERT INTO V (ID, FECHA, OBS) VALUES (1, '2021-03-05 00:00:00', '5/3/21' COLLATE SQLTEXT)"},
        {"INSERT INTO dbo.V VALUES (1, '5/3/21', 'del 5/3/21', '6/3/21')",
         "INSERT INTO V VALUES (1, '2021-03-05 00:00:00', 'del 5/3/21' COLLATE SQLTEXT, '2021-03-06 00:00:00')"},
        {"INSERT INTO V ([OBS], [ALTA]) VALUES ('1/1/20', '1/1/20'), ('2/1/20', '2/1/20')",
         "INSERT INTO V (\"OBS\", \"ALTA\") VALUES ('1/1/20' COLLATE SQLTEXT, '2020-01-01 00:00:00'), "
         "('2/1/20' COLLATE SQLTEXT, '2020-01-02 00:00:00')"},
        {"INSERT INTO U (OBS, F) VALUES ('5/3/21', '5/3/21')",
         "INSERT INTO U (OBS, F) VALUES ('5/3/21' COLLATE SQLTEXT, '5/3/21' COLLATE SQLTEXT)"},
        {"UPDATE V SET FECHA = '5/3/21', OBS = '5/3/21' WHERE ID = 1",
         "UPDATE V SET FECHA = '2021-03-05 00:00:00', OBS = '5/3/21' COLLATE SQLTEXT WHERE ID = 1"},
        {"UPDATE U SET F = '5/3/21' WHERE OBS = '5/3/21'",
         "UPDATE U SET F = '5/3/21' COLLATE SQLTEXT WHERE OBS = '5/3/21' COLLATE SQLTEXT"},
        {"UPDATE T SET F = '5/3/21' WHERE C = 'del 5/3/21'",
         "UPDATE T SET F = '2021-03-05 00:00:00' WHERE C = 'del 5/3/21' COLLATE SQLTEXT"},
        {"DELETE U WHERE U.F = '5/3/21'", "DELETE FROM U WHERE U.F = '5/3/21' COLLATE SQLTEXT"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(only(QString::fromUtf8(c.input)), QString::fromUtf8(c.expected));
    }
    // Without date columns nothing is a date.
    EXPECT_EQ(only("SELECT * FROM V WHERE FECHA = '5/3/21'", DateColumns()),
              "SELECT * FROM V WHERE FECHA = '5/3/21' COLLATE SQLTEXT");

    const auto guarded = SqliteDialect::translateBatch(
        "IF NOT EXISTS (SELECT * FROM V WHERE FECHA = '5/3/21') UPDATE V SET ALTA = '6/3/21', OBS = '6/3/21'", schema());
    ASSERT_EQ(guarded.size(), 1u);
    EXPECT_EQ(guarded[0].condition,
              "SELECT EXISTS (SELECT * FROM V WHERE FECHA COLLATE SQLDATE = '2021-03-05 00:00:00')");
    ASSERT_EQ(guarded[0].body.size(), 1u);
    EXPECT_EQ(guarded[0].body[0].sql, "UPDATE V SET ALTA = '2021-03-06 00:00:00', OBS = '6/3/21' COLLATE SQLTEXT");
}

// Whatever else goes into a date column goes through the engine's
// conversion to the stored form.
TEST(SqliteDialect, OtherValuesIntoDateColumnsTakeTheStoredForm)
{
    const Case cases[] = {
        {"UPDATE V SET ALTA = FECHA, OBS = 'x' WHERE ID = 1",
         "UPDATE V SET ALTA = sqlsrv_datetime(FECHA), OBS = 'x' COLLATE SQLTEXT WHERE ID = 1"},
        {"UPDATE V SET FECHA = GETDATE(), ALTA = NULL", "UPDATE V SET FECHA = sqlsrv_datetime(GETDATE()), ALTA = NULL"},
        {"UPDATE T SET F = (SELECT MAX(FECHA) FROM V) FROM T",
         "UPDATE T SET F = sqlsrv_datetime((SELECT MAX(FECHA) FROM V)) FROM T"},
        {"INSERT INTO V (ID, FECHA) VALUES (1, 0)", "INSERT INTO V (ID, FECHA) VALUES (1, sqlsrv_datetime(0))"},
        {"INSERT INTO V (ID, FECHA) SELECT ID, ALTA FROM V",
         "INSERT INTO V (ID, FECHA) SELECT ID, sqlsrv_datetime(ALTA) FROM V"},
        {"INSERT INTO V (ID, FECHA) SELECT ID, '5/3/21' FROM V",
         "INSERT INTO V (ID, FECHA) SELECT ID, '2021-03-05 00:00:00' FROM V"},
        {"INSERT INTO T SELECT C, F AS X FROM T WHERE C = 'a'",
         "INSERT INTO T SELECT C, sqlsrv_datetime(F) AS X FROM T WHERE C = 'a' COLLATE SQLTEXT"},
        {"INSERT INTO T SELECT * FROM T", "INSERT INTO T SELECT * FROM T"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(only(QString::fromUtf8(c.input)), QString::fromUtf8(c.expected));
    }
}

// A quoted text that names no date-time where one is compared or written
// is the server's conversion error; a form the server reads by its settings
// is refused.
TEST(SqliteDialect, TextsThatNameNoDateAtDateColumnsAreRefused)
{
    struct Refused
    {
        const char *nombre;
        const char *sql;
        const char *sqlState;
        int native;
    };
    const Refused cases[] = {
        {"texto comparado", "SELECT * FROM V WHERE FECHA = 'del 5/3/21'", "22007", 241},
        {"día imposible comparado", "SELECT * FROM V WHERE FECHA <= '31/02/2023'", "22008", 242},
        {"día imposible escrito", "UPDATE V SET FECHA = '32/12/2025' WHERE ID = 1", "22008", 242},
        {"día imposible insertado", "INSERT INTO V (ID, FECHA) VALUES (1, '29/02/2023')", "22008", 242},
        {"en una lista", "SELECT * FROM V WHERE FECHA IN ('1/2/2024', 'x')", "22007", 241},
        {"un día entre paréntesis en una lista",
         "SELECT * FROM V WHERE FECHA IN ('1/2/24', ('2/2/24'), '3/2/24')",
         "42000",
         1},
        {"un día sumado en una lista", "SELECT * FROM V WHERE ID = 1 AND FECHA NOT IN ('1/2/24' + '')", "42000", 1},
        {"año primero con puntos", "SELECT * FROM V WHERE FECHA >= '2023.06.01'", "42000", 1},
    };
    for (const Refused &c : cases) {
        SCOPED_TRACE(c.nombre);
        try {
            SqliteDialect::translateBatch(QString::fromUtf8(c.sql), schema());
            ADD_FAILURE() << "translated";
        } catch (const ado::DialectError &e) {
            const ado::Error error = e.error(QStringLiteral("SQLite"));
            EXPECT_EQ(error.SQLState, QString::fromUtf8(c.sqlState));
            EXPECT_EQ(error.NativeError, c.native);
        }
    }
}

TEST(SqliteDialect, TablesChangedInABatchCountForItsLaterStatements)
{
    const auto st = SqliteDialect::translateBatch(
        "CREATE TABLE W (D datetime NULL, S varchar(10), CONSTRAINT PK_W_DATETIME PRIMARY KEY (S))\n"
        "INSERT INTO W VALUES ('5/3/21', '5/3/21')\n"
        "ALTER TABLE U ADD G smalldatetime NULL\n"
        "UPDATE U SET G = '5/3/21'\n"
        "ALTER TABLE V DROP COLUMN FECHA\n"
        "UPDATE V SET FECHA = '5/3/21'\n"
        "DROP TABLE T\n"
        "SELECT * FROM T WHERE F = '5/3/21'",
        schema());
    ASSERT_EQ(st.size(), 8u);
    EXPECT_EQ(st[1].sql, "INSERT INTO W VALUES ('2021-03-05 00:00:00', '5/3/21' COLLATE SQLTEXT)");
    EXPECT_EQ(st[3].sql, "UPDATE U SET G = '2021-03-05 00:00:00'");
    EXPECT_EQ(st[5].sql, "UPDATE V SET FECHA = '5/3/21' COLLATE SQLTEXT");
    EXPECT_EQ(st[7].sql, "SELECT * FROM T WHERE F = '5/3/21' COLLATE SQLTEXT"); // no table left with a date F
}

TEST(SqliteDialect, SplitsBatchesWhereStatementsStart)
{
    using K = DialectStatement::Kind;
    struct Split
    {
        const char *batch;
        std::vector<K> kinds;
    };
    const Split cases[] = {
        // The deletion run's batch: CR LF after BEGIN, a lone CR after each DELETE.
        {"BEGIN TRANSACTION\r\nDELETE A WHERE TC = '  RM' AND IdComplemento =  0\rDELETE B WHERE X = 1\r",
         {K::Begin, K::Sql, K::Sql}},
        {"UPDATE T\r\nSET A = 1\r\nWHERE B = 2", {K::Sql}},
        {"INSERT INTO T (A)\nSELECT A FROM U", {K::Sql}},
        {"SELECT A FROM T\nUNION\nSELECT A FROM U", {K::Sql}},
        {"SET NOCOUNT ON\nGO\nSELECT 1; SELECT 'a;b'\nGO", {K::Sql, K::Sql}},
        {"SET NOCOUNT ON\r\nDELETE T\r\nSET NOCOUNT OFF", {K::Sql}},
        {"COMMIT TRAN\nROLLBACK TRANSACTION T1\nBEGIN TRAN", {K::Commit, K::Rollback, K::Begin}},
        {"IF NOT EXISTS (SELECT * FROM T WHERE A = 1)\r\nINSERT INTO T (A) VALUES (1)", {K::IfExists}},
        {"-- a comment\nDELETE T /* ; */ WHERE A = 1", {K::Sql}},
        {"SET DATEFORMAT dmy", {}},
    };
    for (const Split &c : cases) {
        SCOPED_TRACE(c.batch);
        const auto st = SqliteDialect::translateBatch(QString::fromUtf8(c.batch));
        std::vector<K> kinds;
        for (const auto &s : st)
            kinds.push_back(s.kind);
        EXPECT_EQ(kinds, c.kinds);
    }
    const auto guard = SqliteDialect::translateBatch("IF EXISTS (SELECT * FROM T) DELETE T");
    ASSERT_EQ(guard.size(), 1u);
    EXPECT_FALSE(guard[0].negate);
    EXPECT_EQ(guard[0].condition, "SELECT EXISTS (SELECT * FROM T)");
    ASSERT_EQ(guard[0].body.size(), 1u);
    EXPECT_EQ(guard[0].body[0].sql, "DELETE FROM T");
}

TEST(SqliteDialect, KeywordsAreReadInAnyCaseAsQtFoldsThem)
{
    struct Case
    {
        const char *nombre;
        const char16_t *batch;
        size_t statements;
        bool reusable;
    };
    const Case cases[] = {
        {"lower case", u"delete T where A = 1\nselect 1", 2, true},
        {"a long s folds to s", u"DELETE T WHERE A = 1\n\u017fELECT 1", 2, true},
        {"the Kelvin sign folds to k", u"BEGIN TRAN\nROLLBAC\u212a", 2, true},
        {"a longer word", u"DELETE T\nSELECTED = 1", 1, true},
        {"a letter that folds to none", u"DELETE T\n\u00c4LTER = 1", 1, true},
        {"drop in mixed case", u"SELECT 1\ndRoP TABLE X", 2, false},
        {"create anywhere in a statement", u"SELECT A FROM T WHERE B = create", 1, false},
        {"words holding drop", u"SELECT DROPS, XDROP FROM T", 1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        const ado::BatchStatements split = SqliteDialect::statements(QString::fromUtf16(c.batch));
        EXPECT_EQ(split.at.size(), c.statements);
        EXPECT_EQ(split.reusable, c.reusable);
    }
}

TEST(SqliteDialect, RefusesWhatItDoesNotKnow)
{
    const char *const refused[] = {
        "SELECT CONVERT(varchar, A, 103) FROM T",
        "DECLARE @x int",
        "SELECT * FROM T WHERE A = @x",
        "BEGIN\nSELECT 1\nEND",
        "SET ANSI_NULLS OFF",
        "SELECT TOP 10 PERCENT * FROM T",
        "SELECT * FROM T WHERE A = 'unclosed",
        "DELETE T FROM T JOIN U ON T.A = U.A",
        "CREATE TABLE T (ID int IDENTITY(1,1))",
        "ALTER TABLE T ADD A int, B int",
        "IF 1 = 1 SELECT 1",
        "EXEC sp_who",
        "SELECT * FROM T WITH (INDEX(IX_T))",
        "SELECT * FROM T WITH (UPDLOCK, FORCESEEK)",
        "SELECT * FROM T WITH ()",
    };
    for (const char *sql : refused) {
        SCOPED_TRACE(sql);
        EXPECT_THROW(SqliteDialect::translateBatch(QString::fromUtf8(sql)), ado::DialectError);
    }
}

// The parameters of a translated statement as "literal:kind" words, for
// comparing with a table.
std::string parametersOf(const std::vector<ado::DialectParameter> &ps)
{
    std::string out;
    for (const auto &p : ps) {
        using As = ado::DialectParameter::As;
        out += (out.empty() ? "" : " ") + std::to_string(p.literal) + ":"
               + (p.as == As::Text   ? "text"
                  : p.as == As::Date ? "date"
                                     : "number");
    }
    return out;
}

TEST(SqliteDialect, ValuesBecomeParametersWhereTheEngineTakesOne)
{
    struct Bound
    {
        const char *input;
        const char *expected;
        const char *parameters;
    };
    const Bound cases[] = {
        // The deletion run's statement: every key is bound.
        {"DELETE V_MV_STOCK WHERE TC = '  RM' AND IDCOMPROBANTE = 'X0001' AND IdComplemento =  0",
         "DELETE FROM V_MV_STOCK WHERE TC = ? COLLATE SQLTEXT AND IDCOMPROBANTE = ? COLLATE SQLTEXT AND IdComplemento "
         "= ?",
         "0:text 1:text 2:number"},
        {"SELECT * FROM V WHERE FECHA <= '5/3/21' AND OBS LIKE 'a%' AND ID BETWEEN 1 AND 2.5",
         "SELECT * FROM V WHERE FECHA COLLATE SQLDATE <= ? AND OBS LIKE ? COLLATE SQLTEXT AND ID BETWEEN ? AND ?",
         "0:date 1:text 2:number 3:number"},
        {"SELECT * FROM T WHERE 'RM' = C AND A IN ('x', 'y', 3)",
         "SELECT * FROM T WHERE ? COLLATE SQLTEXT = C AND A IN (? COLLATE SQLTEXT, ? COLLATE SQLTEXT, ?)",
         "0:text 1:text 2:text 3:number"},
        // A list is plain values only: one in parentheses of its own ends it.
        {"SELECT * FROM T WHERE A IN ('x', ('y'), 'z', 4) AND B IN (1, 2)",
         "SELECT * FROM T WHERE A IN (? COLLATE SQLTEXT, ('y' COLLATE SQLTEXT), 'z' COLLATE SQLTEXT, 4) AND B IN (?, "
         "?)",
         "0:text 4:number 5:number"},
        {"INSERT INTO V (ID, FECHA, OBS) VALUES (7, '5/3/21', N'a''b')",
         "INSERT INTO V (ID, FECHA, OBS) VALUES (?, ?, ? COLLATE SQLTEXT)",
         "0:number 1:date 2:text"},
        {"UPDATE V SET OBS = 'z', ALTA = '6/3/21' WHERE ID = 4",
         "UPDATE V SET OBS = ? COLLATE SQLTEXT, ALTA = ? WHERE ID = ?",
         "0:text 1:date 2:number"},
        // Written where they name a column, count rows, size a type or are no value of their own.
        {"SELECT 'A' + C, 1, CASE WHEN A = 'x' THEN 1 END FROM T WHERE C = 'k'",
         "SELECT 'A' COLLATE SQLTEXT || C, 1, CASE WHEN A = 'x' COLLATE SQLTEXT THEN 1 END FROM T WHERE C = ? COLLATE "
         "SQLTEXT",
         "4:text"},
        {"SELECT TOP 3 A FROM T WHERE B = -1 ORDER BY 1", "SELECT A FROM T WHERE B = -1 ORDER BY 1 LIMIT 3", ""},
        {"SELECT A FROM T WHERE SUBSTRING(C, 2, 3) = CAST(A AS VARCHAR(10))",
         "SELECT A FROM T WHERE SUBSTRING(C, 2, 3) COLLATE SQLTEXT = CAST(A AS VARCHAR(10))",
         ""},
        {"SELECT A FROM T WHERE A IN (SELECT A FROM U WHERE OBS = 'q')",
         "SELECT A FROM T WHERE A IN (SELECT A FROM U WHERE OBS = ? COLLATE SQLTEXT)",
         "0:text"},
        {"INSERT INTO U (OBS) SELECT 'x' FROM T WHERE C = 'y'",
         "INSERT INTO U (OBS) SELECT 'x' COLLATE SQLTEXT FROM T WHERE C = ? COLLATE SQLTEXT",
         "1:text"},
    };
    for (const Bound &c : cases) {
        SCOPED_TRACE(c.input);
        [&] {
            const ado::ReusableBatch b = SqliteDialect::translateReusableStatement(QString::fromUtf8(c.input), schema());
            EXPECT_TRUE(b.reusable);
            ASSERT_EQ(b.statements.size(), 1u);
            EXPECT_EQ(b.statements[0].sql, QString::fromUtf8(c.expected));
            EXPECT_EQ(parametersOf(b.statements[0].parameters), c.parameters);
        }();
    }

    const ado::ReusableBatch guarded = SqliteDialect::translateReusableStatement(
        "IF NOT EXISTS (SELECT * FROM V WHERE ID = 1) INSERT INTO V (ID, FECHA) VALUES (1, '5/3/21')", schema());
    ASSERT_EQ(guarded.statements.size(), 1u);
    EXPECT_EQ(guarded.statements[0].condition, "SELECT EXISTS (SELECT * FROM V WHERE ID = ?)");
    EXPECT_EQ(parametersOf(guarded.statements[0].conditionParameters), "0:number");
    ASSERT_EQ(guarded.statements[0].body.size(), 1u);
    EXPECT_EQ(parametersOf(guarded.statements[0].body[0].parameters), "1:number 2:date");
    EXPECT_EQ(guarded.bound, (std::vector<bool>{true, true, true}));

    // Definitions change the meaning of what follows them: the batch is
    // written out, and a definition translated apart takes no parameter.
    for (const char *ddl : {"CREATE TABLE W (A int DEFAULT 0)\nINSERT INTO W VALUES (1)",
                            "IF NOT EXISTS (SELECT * FROM T WHERE A = 1) DROP TABLE U"}) {
        SCOPED_TRACE(ddl);
        const QString batch = QString::fromUtf8(ddl);
        const ado::BatchStatements split = SqliteDialect::statements(batch);
        EXPECT_FALSE(split.reusable);
        const auto plain = SqliteDialect::translateBatch(batch, schema());
        ASSERT_EQ(split.at.size(), plain.size());
        const auto &[from, to] = split.at.front();
        const ado::ReusableBatch b = SqliteDialect::translateReusableStatement(batch.mid(from, to - from), schema());
        EXPECT_FALSE(b.reusable);
        ASSERT_EQ(b.statements.size(), 1u);
        EXPECT_EQ(b.statements[0].sql, plain[0].sql);
        EXPECT_TRUE(b.statements[0].parameters.empty());
    }
}

TEST(SqliteDialect, StatementsTranslateApartAsWithinTheirBatch)
{
    const char *const batches[] = {
        "SET NOCOUNT ON\rBEGIN TRANSACTION\rUPDATE V\rSET OBS = 'a' WHERE ID = 1\rINSERT INTO U (OBS)\r"
        "SELECT OBS FROM V WHERE FECHA = '5/3/21'\rIF NOT EXISTS (SELECT * FROM V WHERE ID = 2)\r"
        "INSERT INTO V (ID, FECHA) VALUES (2, '6/3/21')\rCOMMIT TRANSACTION\r",
        "DELETE T WHERE C = 'x'; DELETE T WHERE C = 'y' -- tail\nGO\n/* a\nnote */ SELECT TOP 2 C FROM T WHERE "
        "F IN ('1/2/2005',\n'2/2/2005')\r\nSELECT 'a' + C FROM T\rSELECT N'ñ''s' FROM T WHERE C <> 'o''b'",
    };
    // A text with its "?" marks (the batches quote none) given the literals
    // they take, as the batch written out writes them.
    const auto filled = [](QString sql,
                           const std::vector<ado::DialectParameter> &ps,
                           const std::vector<ado::DialectLiteral> &literals) {
        using As = ado::DialectParameter::As;
        qsizetype at = 0;
        for (const ado::DialectParameter &p : ps) {
            const QString &text = literals[size_t(p.literal)].text;
            const QString value = p.as == As::Number ? text
                                  : p.as == As::Date ? '\'' + stored(text) + '\''
                                                     : '\'' + QString(text).replace('\'', QLatin1String("''")) + '\'';
            at = sql.indexOf('?', at);
            if (at < 0)
                return sql + QStringLiteral(" (a mark missing)");
            sql.replace(at, 1, value);
            at += value.size();
        }
        return sql;
    };
    const auto written = [&](const ado::DialectStatement &st, const std::vector<ado::DialectLiteral> &literals) {
        const ado::DialectStatement *body = st.body.empty() ? nullptr : &st.body[0];
        return (filled(st.condition, st.conditionParameters, literals) + '|' + filled(st.sql, st.parameters, literals)
                + '|' + (body ? filled(body->sql, body->parameters, literals) : QString()))
            .toStdString();
    };
    for (const char *b : batches) {
        SCOPED_TRACE(b);
        [&] {
            const QString batch = QString::fromUtf8(b);
            const ado::BatchStatements split = SqliteDialect::statements(batch);
            EXPECT_TRUE(split.reusable);
            std::vector<ado::DialectLiteral> literals;
            std::vector<std::string> apart, within;
            for (const auto &[from, to] : split.at) {
                const ado::ReusableBatch one = SqliteDialect::translateReusableStatement(batch.mid(from, to - from),
                                                                                         schema());
                ASSERT_LE(one.statements.size(), 1u) << batch.mid(from, to - from).toStdString();
                for (const ado::DialectStatement &st : one.statements)
                    apart.push_back(written(st, one.literals));
                literals.insert(literals.end(), one.literals.begin(), one.literals.end());
            }
            for (const ado::DialectStatement &st : SqliteDialect::translateBatch(batch, schema()))
                within.push_back(written(st, {}));
            EXPECT_EQ(literals, SqliteDialect::shape(batch).literals);
            EXPECT_EQ(apart, within);
        }();
    }
}

TEST(SqliteDialect, TheShapeReadsTheLiteralsAsTheTranslationDoes)
{
    const char *const batches[] = {
        "BEGIN TRANSACTION\r\nDELETE V WHERE TC = '  RM' AND IDCOMPROBANTE = 'O''Hara' AND IdComplemento =  12\r",
        "SELECT [a 'quoted' name], \"x'y\", N'ñ', n'2', AN'3' FROM T -- it's a comment\nWHERE A = 1.5e3 /* 'x' */ AND "
        "B = .5",
        "SELECT A1, 2B, X FROM T WHERE C = 1e AND D = 10E+2",
        "SELECT 'a'  -- tail",
        "DELETE T WHERE C = 'x'; /* 'y' */ DELETE T WHERE C = 'z''s' ;\nGO -- 'w'\n  GO\nUPDATE T SET N = 2 WHERE C = "
        "N'v'\r\n-- 'u'\r\nINSERT INTO T (C) VALUES ('t')",
        "CREATE TABLE X (A INT)\rINSERT INTO X (A) VALUES (3)",
    };
    for (const char *batch : batches) {
        SCOPED_TRACE(batch);
        const QString text = QString::fromUtf8(batch);
        const ado::BatchShape shape = SqliteDialect::shape(text);
        EXPECT_FALSE(shape.key.isEmpty());
        const ado::BatchStatements split = SqliteDialect::statements(text);
        std::vector<ado::DialectLiteral> literals;
        for (const auto &[from, to] : split.at) {
            const auto one = SqliteDialect::translateReusableStatement(text.mid(from, to - from), {});
            literals.insert(literals.end(), one.literals.begin(), one.literals.end());
        }
        EXPECT_EQ(shape.literals, literals);

        // Read once, a long batch gives the same shape and statements as read twice.
        const ado::BatchReading once = SqliteDialect::shapeAndStatements(text);
        EXPECT_EQ(once.shape.key, shape.key);
        EXPECT_EQ(once.shape.literals, shape.literals);
        ASSERT_EQ(once.shape.places.size(), shape.places.size());
        for (qsizetype i = 0; i < shape.places.size(); ++i) {
            EXPECT_EQ(once.shape.places[i].at, shape.places[i].at);
            EXPECT_EQ(once.shape.places[i].end, shape.places[i].end);
            EXPECT_EQ(once.shape.places[i].keyEnd, shape.places[i].keyEnd);
        }
        EXPECT_EQ(once.statements.at, split.at);
        EXPECT_EQ(once.statements.reusable, split.reusable);
    }

    // Batches that differ in their literals only share a shape; any other difference makes another.
    const auto key = [](const char *b) { return SqliteDialect::shape(QString::fromUtf8(b)).key; };
    EXPECT_EQ(key("DELETE T WHERE A = 'x' AND B = 1"), key("DELETE T WHERE A = 'it''s' AND B = 20.5"));
    EXPECT_NE(key("DELETE T WHERE A = 'x' AND B = 1"), key("DELETE T WHERE A = 'x' AND C = 1"));
    EXPECT_NE(key("DELETE T WHERE A = 'x'"), key("DELETE T WHERE A = N'x'"));
    EXPECT_NE(key("DELETE T WHERE A = 'x'"), key("DELETE T WHERE A = x"));

    for (const char *unreadable : {"SELECT 'open", "SELECT [open", "SELECT \"open", "SELECT 1 /* open"}) {
        SCOPED_TRACE(unreadable);
        EXPECT_TRUE(SqliteDialect::shape(QString::fromUtf8(unreadable)).key.isEmpty());
        const ado::BatchReading once = SqliteDialect::shapeAndStatements(QString::fromUtf8(unreadable));
        EXPECT_TRUE(once.shape.key.isEmpty());
        EXPECT_TRUE(once.statements.at.empty());
    }
}

} // namespace
