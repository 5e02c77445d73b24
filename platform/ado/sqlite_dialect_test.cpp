#include "platform/ado/sqlite_dialect.h"
#include "tests/support/qt_print.h"

#include <gtest/gtest.h>

using ado::DialectStatement;
using ado::SqliteDialect;

namespace {

QString only(const QString &sql)
{
    const auto st = SqliteDialect::translateBatch(sql);
    EXPECT_EQ(st.size(), 1u) << sql.toStdString();
    return st.empty() ? QString() : st.front().sql;
}

struct Case {
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
        {"SELECT ISNULL(A, 0) FROM dbo.T", "SELECT IFNULL(A, 0) FROM T"},
        {"SELECT A FROM T WHERE A IS NULL", "SELECT A FROM T WHERE A IS NULL"},
        {"SELECT MAX([NUMERO ASIENTO]) AS [NRO_ASIENTO] FROM T", "SELECT MAX(\"NUMERO ASIENTO\") AS \"NRO_ASIENTO\" FROM T"},
        {"SELECT * FROM T WHERE F <= '31/12/2020'", "SELECT * FROM T WHERE F <= '2020-12-31 00:00:00'"},
        {"SELECT * FROM T WHERE F = '5/3/21 10:30'", "SELECT * FROM T WHERE F = '2021-03-05 10:30:00'"},
        {"SELECT * FROM T WHERE C = 'RM'", "SELECT * FROM T WHERE C = 'RM' COLLATE SQLTEXT"},
        {"SELECT * FROM T WHERE C = N'O''Brien'", "SELECT * FROM T WHERE C = 'O''Brien' COLLATE SQLTEXT"},
        {"SELECT 'A' + C FROM T", "SELECT 'A' COLLATE SQLTEXT || C FROM T"},
        {"SELECT LEFT(C, 2), RIGHT(C, 1) FROM T LEFT JOIN U ON T.A = U.A",
         "SELECT sqlsrv_left(C, 2), sqlsrv_right(C, 1) FROM T LEFT JOIN U ON T.A = U.A"},
        {"ALTER TABLE dbo.CLIENTES ADD EMAIL VARCHAR(50) Null  CONSTRAINT DF_CLIENTES_EMAIL DEFAULT ('')",
         "ALTER TABLE CLIENTES ADD COLUMN EMAIL VARCHAR(50) COLLATE SQLTEXT Null CONSTRAINT DF_CLIENTES_EMAIL DEFAULT ('')"},
        {"CREATE TABLE T (TEXT varchar(4) NOT NULL, N int)",
         "CREATE TABLE T (TEXT varchar(4) COLLATE SQLTEXT NOT NULL, N int)"},
        {"TRUNCATE TABLE T", "DELETE FROM T"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(only(QString::fromUtf8(c.input)), QString::fromUtf8(c.expected));
    }
}

TEST(SqliteDialect, SplitsBatchesWhereStatementsStart)
{
    using K = DialectStatement::Kind;
    struct Split {
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
    };
    for (const char *sql : refused) {
        SCOPED_TRACE(sql);
        EXPECT_THROW(SqliteDialect::translateBatch(QString::fromUtf8(sql)), ado::DialectError);
    }
}

TEST(SqliteDialect, StoredDates)
{
    const Case cases[] = {
        {"1/2/2005", "2005-02-01 00:00:00"},   {"31/12/2020 23:59:59", "2020-12-31 23:59:59"},
        {"05/03/21 10:30", "2021-03-05 10:30:00"}, {"01/01/75", "1975-01-01 00:00:00"},
        {"2021-03-05", "2021-03-05 00:00:00"}, {"2021-03-05T08:09:10", "2021-03-05 08:09:10"},
        {"31/02/2020", ""},                    {"13/13/2020", ""},
        {"1/2", ""},                            {"RM", ""},
        {"12/31/2020", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(SqliteDialect::storedDate(QString::fromUtf8(c.input)), QString::fromUtf8(c.expected));
    }
}

} // namespace
