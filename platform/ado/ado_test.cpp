#include "platform/ado/ado.h"
#include "platform/ado/recording_provider.h"
#include "platform/ado/sqlite_checks.h"
#include "platform/ado/sqlite_functions.h"
#include "platform/runtime/vberror.h"
#include "tests/support/base_prueba.h"
#include "tests/support/error_provocado.h"
#include "tests/support/impresion_qt.h"

#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include <gtest/gtest.h>

namespace {

using ado::Connection;
using ado::Recordset;

// A connection on a fresh database with the suite's schema and a small table of its own.
class SqliteDb : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = MakeFixtureDb(dir.path(), withDemo(), 8);
        cn.setCursorLocation(ado::adUseClient);
        cn.Open(db.connectionString);
        cn.Execute("CREATE TABLE dbo.T (C varchar(10) NOT NULL PRIMARY KEY, N int NULL, R float NULL, "
                   "M money NULL, F datetime NULL)");
    }
    virtual bool withDemo() const { return false; }

    // Runs a statement and gives the first column of the first row.
    Variant scalar(const QString &sql)
    {
        Recordset rs;
        rs.Open(sql, cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
        EXPECT_FALSE(rs.Eof()) << sql.toStdString();
        return rs.Eof() ? Variant() : rs.Fields(0).Value();
    }
    int count(const QString &sql) { return scalar(sql).toLong(); }

    QTemporaryDir dir;
    FixtureDb db;
    Connection cn;
};

class DemoDb : public SqliteDb
{
    bool withDemo() const override { return true; }
};

TEST_F(SqliteDb, TextComparesWithoutCaseAndTrailingBlanks)
{
    cn.Execute("INSERT INTO T (C, N) VALUES ('abc  ', 1)\r\nINSERT INTO T (C, N) VALUES ('  RM', 2)");
    const char *const hits[] = {
        "SELECT COUNT(*) FROM T WHERE C = 'ABC'",
        "SELECT COUNT(*) FROM T WHERE LTRIM(RTRIM(C)) = 'Abc'",
        "SELECT COUNT(*) FROM T WHERE SUBSTRING(C, 1, 2) = 'AB'",
        "SELECT COUNT(*) FROM T WHERE UPPER(C) = 'abc   '",
        "SELECT COUNT(*) FROM T WHERE C IN ('x', 'ABC')",
        "SELECT COUNT(*) FROM T WHERE C = '  rm'",
        "SELECT COUNT(*) FROM T WHERE ISNULL(C, '') = 'ABC'",
    };
    for (const char *sql : hits) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(count(sql), 1);
    }
    // Trimmed or cut values against each other, with no literal to carry the rule.
    const char *const pairs[] = {
        "SELECT COUNT(*) FROM T A, T B WHERE A.N = 1 AND B.N = 1 AND RTRIM(A.C) = UPPER(B.C)",
        "SELECT COUNT(*) FROM T A, T B WHERE A.N = 1 AND B.N = 1 AND LEFT(A.C, 2) = SUBSTRING(UPPER(B.C), 1, 2)",
        "SELECT COUNT(*) FROM T A, T B WHERE A.N = 1 AND B.N = 3 AND SUBSTRING(A.C, 2, 4) = ISNULL(UPPER(B.C), '')",
    };
    cn.Execute("INSERT INTO T (C, N) VALUES ('bc', 3)");
    for (const char *sql : pairs) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(count(sql), 1);
    }
    // Leading blanks count, as they do on the server.
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C = 'RM'"), 0);
    // The key holds "abc" once, whatever the case or the trailing blanks.
    EXPECT_EQ(RaisedError([&] { cn.Execute("INSERT INTO T (C) VALUES ('ABC')"); }).Number, ado::DB_E_INTEGRITYVIOLATION);
}

// LIKE folds every letter as the comparisons do; "%" and "_" keep their
// meaning, an escape character makes them plain.
TEST_F(SqliteDb, LikeFoldsCaseAsTheComparisonsDo)
{
    cn.Execute(QString::fromUtf8("INSERT INTO T (C, N) VALUES ('ÑANDÚ SA', 1)\r\n"
                                 "INSERT INTO T (C, N) VALUES ('МОСКВА', 2)\r\n"
                                 "INSERT INTO T (C, N) VALUES ('10%_off', 3)\r\n"
                                 "INSERT INTO T (C, N) VALUES ('abc', 4)"));
    struct Caso
    {
        const char *condicion;
        const char *filas; // the N of the rows found, in order
    };
    const Caso casos[] = {
        {"C = 'ñandú sa'", "1"},
        {"C LIKE '%ñandú%'", "1"},
        {"C LIKE 'ñ_NDú s%'", "1"},
        {"C LIKE '%москва'", "2"},
        {"C NOT LIKE '%Ú%'", "2 3 4"},
        {"C LIKE 'ABC'", "4"},
        {"C LIKE 'a_c'", "4"},
        {"C LIKE 'ab'", ""},
        {"C LIKE '%'", "1 2 3 4"},
        {"C LIKE '10!%!_%' ESCAPE '!'", "3"},
        {"C LIKE '10!%x%' ESCAPE '!'", ""},
        {"C LIKE '%Ñ%' ESCAPE 'ñ'", ""},
        {"C LIKE N'%Á%' OR C LIKE '%ó%'", ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.condicion);
        Recordset rs;
        rs.Open(QString::fromUtf8("SELECT N FROM T WHERE %1 ORDER BY N").arg(QString::fromUtf8(c.condicion)),
                cn,
                ado::adOpenForwardOnly,
                ado::adLockReadOnly);
        QStringList filas;
        for (; !rs.Eof(); rs.MoveNext())
            filas << rs.Fields(0).Value().toString();
        EXPECT_EQ(filas.join(' '), QString::fromUtf8(c.filas));
    }
    // A literal written right against a keyword.
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C = 'abc'OR N = 2"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C LIKE 'ab%'AND N = 4"), 1);
}

TEST_F(SqliteDb, TextOrdersAsQtComparesWithoutCase)
{
    // Pairs where ASCII and other letters meet at different places; the
    // order must be that of the whole texts compared without case.
    const std::pair<const char *, const char *> pairs[] = {
        {"abc", "ABD"},
        {"Ñandú", "ñANDÚ  "},
        {"aÑ", "AÑ"},
        {"az", "añ"},
        {"b", "ñ"},
        {"añb", "AÑC"},
        {"a", "añ"},
        {"[", "a"},
        {"A", "["},
        {"é", "E"},
        {"x é", "X É"},
        {"ab", "abc  "},
    };
    for (const auto &[a, b] : pairs) {
        SCOPED_TRACE(std::string(a) + " / " + b);
        const QString left = QString::fromUtf8(a), right = QString::fromUtf8(b);
        auto trimmed = [](QString s) {
            while (s.endsWith(' '))
                s.chop(1);
            return s;
        };
        const int c = QString::compare(trimmed(left), trimmed(right), Qt::CaseInsensitive);
        const long long expected = c < 0 ? -1 : c > 0 ? 1 : 0;
        const QString sql
            = QStringLiteral("SELECT CASE WHEN '%1' = '%2' THEN 0 WHEN '%1' < '%2' THEN -1 ELSE 1 END").arg(left, right);
        EXPECT_EQ(scalar(sql).toLong(), expected);
    }
}

TEST_F(SqliteDb, FunctionsKeepTheServersMeaning)
{
    cn.Execute("INSERT INTO T (C, N) VALUES ('Ñandú', 1)");
    EXPECT_EQ(scalar("SELECT LEN('ab  ')").toLong(), 2);
    EXPECT_EQ(scalar("SELECT CHARINDEX('B', 'abcb')").toLong(), 2);
    EXPECT_EQ(scalar("SELECT CHARINDEX('b', 'abcb', 3)").toLong(), 4);
    EXPECT_EQ(scalar("SELECT CHARINDEX('z', 'abc')").toLong(), 0);
    // A start before the first character shortens the result; it never counts from the end.
    const struct
    {
        const char *sql;
        const char *value;
    } substrings[] = {
        {"SELECT SUBSTRING('abcdef', 2, 3)", "bcd"},
        {"SELECT SUBSTRING('abcdef', 0, 2)", "a"},
        {"SELECT SUBSTRING('abcdef', -1, 3)", "a"},
        {"SELECT SUBSTRING('abcdef', -3, 2)", ""},
        {"SELECT SUBSTRING('abcdef', 5, 10)", "ef"},
        {"SELECT SUBSTRING('abcdef', 9, 1)", ""},
    };
    for (const auto &c : substrings)
        EXPECT_EQ(scalar(c.sql).toString(), c.value) << c.sql;
    EXPECT_EQ(RaisedError([&] { scalar("SELECT SUBSTRING('abc', 1, -1)"); }).Number, ado::DB_E_ERRORSINCOMMAND);
    EXPECT_EQ(scalar("SELECT LEFT('abcdef', 2)").toString(), "ab");
    EXPECT_EQ(scalar("SELECT RIGHT('abcdef', 2) + 'x'").toString(), "efx");
    EXPECT_EQ(scalar("SELECT UPPER(C) FROM T").toString(), QString::fromUtf8("ÑANDÚ"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C = 'ñandú'"), 1);
    EXPECT_TRUE(scalar("SELECT ISNULL(N, 0) FROM T WHERE C = 'x' OR 1 = 1").type() == Variant::Type::Long);
    // A trimmed number still compares with a number; texts lose their blanks only.
    cn.Execute("INSERT INTO T (C, N, R) VALUES ('y', 2024, 2.5)");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE RTRIM(LTRIM(N)) = 2024"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE LTRIM(R) = 2.5"), 1);
    EXPECT_EQ(scalar("SELECT LTRIM('  a b  ') + '|' + RTRIM('  a b  ') + '|'").toString(), "a b  |  a b|");
    EXPECT_EQ(scalar("SELECT LTRIM(char(9) + 'a')").toString(), "\ta");
    EXPECT_TRUE(scalar("SELECT RTRIM(LTRIM(NULL))").isNull());
}

TEST_F(SqliteDb, DayMonthYearDatesMeanThatDay)
{
    cn.Execute("INSERT INTO T (C, F) VALUES ('a', '5/3/2021')\n"
               "INSERT INTO T (C, F) VALUES ('b', '06/03/21 10:30')");
    const Variant f = scalar("SELECT F FROM T WHERE C = 'a'");
    ASSERT_TRUE(f.isDate());
    EXPECT_EQ(f.toDate(), QDateTime(QDate(2021, 3, 5), QTime(0, 0)));
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE F <= '05/03/2021'"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE F <= '6/3/2021'"), 1); // 10:30 is after that day's start
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE F <= '6/3/2021 23:59:59'"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE F >= '2021-03-06'"), 1);
    const Variant last = scalar("SELECT MAX(F) FROM T");
    ASSERT_TRUE(last.isDate());
    EXPECT_EQ(last.toDate(), QDateTime(QDate(2021, 3, 6), QTime(10, 30)));
}

// Every way a value reaches a date column stores it in one form (see
// sqlite_datetime.h), whatever form it was written in.
TEST_F(SqliteDb, DateTimesAreStoredInOneForm)
{
    EjecutaEnArchivo(db.path,
                     "CREATE TABLE VIEJA (C varchar(10), F datetime);\n"
                     "INSERT INTO VIEJA VALUES ('dia', '2024-06-01')");
    cn.Execute("SELECT 1"); // the connection sees the new table
    struct Case
    {
        const char *nombre;
        const char *sql;
        const char *stored;
    };
    const Case cases[] = {
        {"yyyymmdd", "INSERT INTO T (C, F) VALUES ('x', '20240601')", "2024-06-01 00:00:00"},
        {"dd/mm/yyyy", "INSERT INTO T (C, F) VALUES ('x', '01/06/2024')", "2024-06-01 00:00:00"},
        {"dd-mm-yyyy hh:mm", "INSERT INTO T (C, F) VALUES ('x', '01-06-2024 10:05')", "2024-06-01 10:05:00"},
        {"ISO con T", "INSERT INTO T (C, F) VALUES ('x', '2024-06-01T10:05:09.5')", "2024-06-01 10:05:09.500"},
        {"sin lista de columnas", "INSERT INTO T VALUES ('x', NULL, NULL, NULL, '1/6/24')", "2024-06-01 00:00:00"},
        {"INSERT ... SELECT de un día solo", "INSERT INTO T (C, F) SELECT 'x', F FROM VIEJA", "2024-06-01 00:00:00"},
        {"INSERT ... SELECT de un literal",
         "INSERT INTO T (C, F) SELECT 'x', '20240601' FROM VIEJA",
         "2024-06-01 00:00:00"},
        {"UPDATE ... SET de un literal",
         "INSERT INTO T (C) VALUES ('x')\nUPDATE T SET F = '1/6/2024 7:00'",
         "2024-06-01 07:00:00"},
        {"UPDATE ... SET de una subconsulta",
         "INSERT INTO T (C) VALUES ('x')\nUPDATE T SET F = (SELECT MAX(F) FROM VIEJA)",
         "2024-06-01 00:00:00"},
        {"UPDATE ... SET vacío",
         "INSERT INTO T (C, F) VALUES ('x', '1/6/2024')\nUPDATE T SET F = ''",
         "1900-01-01 00:00:00"},
        {"un número de días", "INSERT INTO T (C, F) VALUES ('x', 2)", "1900-01-03 00:00:00"},
    };
    // The bytes stored, read past the engine (the server itself gives no way to see them).
    auto stored = [&] {
        sqlite3 *raw = nullptr;
        sqlite3_stmt *st = nullptr;
        QString text;
        if (sqlite3_open_v2(db.path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
            && sqlite3_prepare_v2(raw, "SELECT F FROM T", -1, &st, nullptr) == SQLITE_OK
            && sqlite3_step(st) == SQLITE_ROW)
            text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        sqlite3_close(raw);
        return text;
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        cn.Execute("DELETE T");
        cn.Execute(c.sql);
        EXPECT_EQ(stored(), QString::fromUtf8(c.stored));
    }

    // Through a recordset, a date-time and a text.
    cn.Execute("DELETE T\nINSERT INTO T (C) VALUES ('x')");
    Recordset rs;
    rs.Open("SELECT C, F FROM T", cn, ado::adOpenDynamic, ado::adLockOptimistic);
    rs.Fields("F").setValue(Variant(QDateTime(QDate(2024, 6, 1), QTime(8, 0, 0, 2))));
    rs.Update();
    EXPECT_EQ(stored(), "2024-06-01 08:00:00.003");
    rs.Fields("F").setValue(Variant("20240602"));
    rs.Update();
    EXPECT_EQ(stored(), "2024-06-02 00:00:00");
    const ErrObject e = RaisedError([&] {
        rs.Fields("F").setValue(Variant("31/02/2024"));
        rs.Update();
    });
    EXPECT_EQ(e.NativeError, 242);
    EXPECT_EQ(stored(), "2024-06-02 00:00:00");
    EXPECT_EQ(scalar("SELECT LEN(GETDATE())").toLong() == 19 || scalar("SELECT LEN(GETDATE())").toLong() == 23, true);
}

// A file written before holds days without a time beside date-times: each
// compares as the instant it names, as after it is rewritten in one form.
TEST_F(SqliteDb, OldBareDaysCompareAsTheirMidnight)
{
    EjecutaEnArchivo(db.path,
                     "INSERT INTO T (C, F) VALUES ('a', '2024-05-31'), ('b', '2024-06-01'), "
                     "('c', '2024-06-01 00:00:00'), ('d', '2024-06-01 10:00:00'), "
                     "('e', '2024-05-31 23:59:59'), ('f', NULL)");
    struct Case
    {
        const char *nombre;
        const char *where;
        const char *rows;
    };
    const Case cases[] = {
        {"antes del día", "F < '01/06/2024'", "ae"},
        {"hasta el día", "F <= '01/06/2024'", "abce"},
        {"el día", "F = '20240601'", "bc"},
        {"después del día", "F > '20240601'", "d"},
        {"desde el día", "F >= '2024-06-01'", "bcd"},
        {"otro que el día", "F <> '01/06/2024'", "ade"},
        {"entre dos días", "F BETWEEN '20240531' AND '20240601'", "abce"},
        {"fuera de dos días", "F NOT BETWEEN '20240531' AND '20240601'", "d"},
        {"en una lista", "F IN ('20240601', '20240531')", "abc"},
        {"fuera de una lista", "F NOT IN ('20240601', '20240531')", "de"},
        {"el literal delante", "'01/06/2024' > F", "ae"},
        {"con nombre de tabla", "T.F <= '31/05/2024 23:59:59'", "ae"},
    };
    auto rows = [&](const char *where) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT C FROM T WHERE %1 ORDER BY C").arg(QLatin1String(where)), cn);
        QString out;
        for (; !rs.Eof(); rs.MoveNext())
            out += rs.Fields(0).Value().toString();
        return out;
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(rows(c.where), c.rows);
    }
    EXPECT_EQ(scalar("SELECT F FROM T WHERE C = 'b'").toDate(), QDateTime(QDate(2024, 6, 1), QTime(0, 0)));

    // Rewritten through the layer, every value takes the one form, and the answers stay.
    cn.Execute("UPDATE T SET F = F");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE LEN(F) = 19"), 5);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(rows(c.where), c.rows);
    }
}

// The literals a server set to day/month/year takes for a datetime, each
// compared as the instant it names there, or refused with its error.
TEST_F(SqliteDb, DateLiteralsCompareAsTheServerReadsThemOrFail)
{
    cn.Execute("INSERT INTO T (C, F) VALUES ('a', '15/01/2023')\n"
               "INSERT INTO T (C, F) VALUES ('b', '01/06/2023')\n"
               "INSERT INTO T (C, F) VALUES ('c', '31/12/2023 10:00')\n"
               "INSERT INTO T (C, F) VALUES ('d', '01/01/2024')\n"
               "INSERT INTO T (C, F) VALUES ('e', '31/12/2025')");
    struct Case
    {
        const char *nombre;
        const char *where;
        int rows;             // when it runs
        const char *sqlState; // when it fails
        int native;
    };
    const Case cases[] = {
        {"yyyymmdd", "F >= '20240101'", 2, "", 0},
        {"yyyymmdd entre", "F BETWEEN '20230101' AND '20230131'", 1, "", 0},
        {"dd-mm-yyyy", "F = '01-06-2023'", 1, "", 0},
        {"dd.mm.yyyy", "F = '01.06.2023'", 1, "", 0},
        {"con milisegundos", "F <= '31/12/2025 00:00:00.000'", 5, "", 0},
        {"ISO con T", "F < '2023-12-31T10:00:00.003'", 3, "", 0},
        {"hora sin segundos", "F > '31/12/2023 09:59'", 3, "", 0},
        {"dd/mm/yy", "F < '1/1/24'", 3, "", 0},
        {"31 de febrero", "F = '31/02/2023'", 0, "22008", 242},
        {"día 32", "F <= '32/12/2025'", 0, "22008", 242},
        {"no es fecha", "F = 'RM'", 0, "22007", 241},
        {"año primero con puntos", "F >= '2023.06.01'", 0, "42000", SQLITE_ERROR},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        [&] {
            const QString sql = QStringLiteral("SELECT COUNT(*) FROM T WHERE %1").arg(QLatin1String(c.where));
            if (*c.sqlState == 0) {
                EXPECT_EQ(count(sql), c.rows);
                return;
            }
            const ErrObject e = RaisedError([&] { count(sql); });
            EXPECT_EQ(e.NativeError, c.native);
            ASSERT_EQ(cn.errors().Count(), 1);
            EXPECT_EQ(cn.errors().Item(0).SQLState, QString::fromUtf8(c.sqlState));
        }();
    }

    // An impossible day written is refused, and nothing is written.
    for (const char *write : {"INSERT INTO T (C, F) VALUES ('z', '31/02/2023')",
                              "UPDATE T SET F = '32/12/2025'",
                              "UPDATE T SET F = C WHERE C = 'a'"}) {
        SCOPED_TRACE(write);
        const ErrObject e = RaisedError([&] { cn.Execute(write); });
        EXPECT_EQ(e.Number, ado::DB_E_CANTCONVERTVALUE);
        EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C = 'z' OR F IS NULL OR F < '1/1/2000'"), 0);
    }
}

// What the server refuses to write is refused, with its number, and nothing
// is written: a number out of its column's range.
TEST_F(SqliteDb, ValuesTheServerRefusesAreRefused)
{
    cn.Execute("INSERT INTO T (C, N, M) VALUES ('a', 1, 0.1)");
    struct Case
    {
        const char *nombre;
        const char *sql;
        int native;
        const char *sqlState;
    };
    const Case cases[] = {
        {"int fuera de rango", "INSERT INTO T (C, N) VALUES ('b', 2147483648)", 8115, "22003"},
        {"int negativo fuera de rango", "INSERT INTO T (C, N) VALUES ('b', -2147483649)", 8115, "22003"},
        {"int que se pasa al sumar", "UPDATE T SET N = N + 2147483647", 8115, "22003"},
        {"money fuera de rango", "UPDATE T SET M = 1000000000000000", 8115, "22003"},
        {"money fuera de rango al multiplicar", "UPDATE T SET M = M * 1e16", 8115, "22003"},
        {"texto uno más largo que su varchar", "INSERT INTO T (C) VALUES ('12345678901')", 8152, "22001"},
        {"texto largo en una forma ya traducida",
         "INSERT INTO T (C, N, M) VALUES ('12345678901', 2, 0.1)",
         8152,
         "22001"},
        {"texto largo con blancos al final", "INSERT INTO T (C) VALUES ('12345678901  ')", 8152, "22001"},
        {"texto que se alarga al unir", "UPDATE T SET C = C + '1234567890'", 8152, "22001"},
        {"texto largo copiado de una consulta", "INSERT INTO T (C) SELECT C + '1234567890' FROM T", 8152, "22001"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        [&] {
            const ErrObject e = RaisedError([&] { cn.Execute(c.sql); });
            EXPECT_EQ(e.Number, ado::DB_E_DATAOVERFLOW);
            EXPECT_EQ(e.NativeError, c.native);
            ASSERT_EQ(cn.errors().Count(), 1);
            EXPECT_EQ(cn.errors().Item(0).SQLState, QString::fromUtf8(c.sqlState));
            EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 1);
            EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C = 'a' AND N = 1 AND M = 0.1"), 1);
        }();
    }
    // What fits is written: the edges of the ranges hold.
    // A text at its length is written; blanks beyond it are cut off, as the server cuts them.
    cn.Execute("INSERT INTO T (C, N, M) VALUES ('1234567890   ', -2147483648, 922337203685477)");
    EXPECT_EQ(scalar("SELECT C FROM T WHERE N = -2147483648").toString(), QStringLiteral("1234567890"));
    cn.Execute("UPDATE T SET N = N + 2147483646 WHERE C = 'a'");
    EXPECT_EQ(count("SELECT N FROM T WHERE C = 'a'"), 2147483647);
    cn.Execute("UPDATE T SET C = C + '234567890  ' WHERE C = 'a'");
    EXPECT_EQ(scalar("SELECT C FROM T WHERE N = 2147483647").toString(), QStringLiteral("a234567890"));

    // Through a recordset: refused, and the row stays as it was.
    Recordset rs;
    rs.Open("SELECT C FROM T WHERE N = 2147483647", cn, ado::adOpenDynamic, ado::adLockOptimistic);
    const ErrObject e = RaisedError([&] {
        rs.Fields("C").setValue(Variant("a2345678901"));
        rs.Update();
    });
    EXPECT_EQ(e.NativeError, 8152);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C = 'a234567890'"), 1);
}

// Lot codes one character longer than their column are refused, so two of
// them that differ only in that character never become one lot.
TEST_F(SqliteDb, LotCodesLongerThanTheirColumnDoNotMerge)
{
    cn.Execute("CREATE TABLE dbo.LOTES (NroLote varchar(25) NOT NULL PRIMARY KEY, CANTIDAD float NULL)");
    const QString lote = QString(25, QLatin1Char('L'));
    cn.Execute(QStringLiteral("INSERT INTO LOTES (NroLote, CANTIDAD) VALUES ('%1', 1)").arg(lote));
    for (const char *fin : {"1", "2"}) {
        SCOPED_TRACE(fin);
        const ErrObject e = RaisedError([&] {
            cn.Execute(QStringLiteral("INSERT INTO LOTES (NroLote, CANTIDAD) VALUES ('%1%2', 1)").arg(lote, fin));
        });
        EXPECT_EQ(e.NativeError, 8152);
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM LOTES"), 1);
}

// + joins two texts and adds anything else, reading a text beside a number
// as a number; a text column compared with a number compares as one. What
// the engine cannot type is refused rather than guessed.
TEST_F(SqliteDb, PlusFollowsTheOperandsTypes)
{
    cn.Execute("CREATE TABLE V (TC varchar(4), IDCOMPROBANTE varchar(13), SUCURSAL varchar(4), NUMERO varchar(8), "
               "LETRA char(1), A varchar(10) NULL, B varchar(10) NULL, K int NULL, X varchar(10) NULL)");
    cn.Execute("INSERT INTO V VALUES ('RM', '000100000001A', '0001', '00000001', 'A', 'ab', 'cd', 1, NULL)\n"
               "INSERT INTO V VALUES ('FC', '000100000002B', '0001', '00000002', 'B', NULL, 'ef', 2, 'x')");
    struct Case
    {
        const char *nombre;
        const char *sql;
        const char *value;    // the first row's first column, as text, when it runs
        const char *sqlState; // when it fails
        int native;
    };
    const Case cases[] = {
        {"texto + texto", "SELECT TC + IDCOMPROBANTE FROM V WHERE K = 1", "RM000100000001A", "", 0},
        {"tres columnas", "SELECT SUCURSAL + NUMERO + LETRA FROM V WHERE K = 1", "000100000001A", "", 0},
        {"ISNULL de textos", "SELECT ISNULL(A, '') + ISNULL(B, '') FROM V WHERE K = 2", "ef", "", 0},
        {"en el WHERE", "SELECT COUNT(*) FROM V WHERE A + B = 'abcd'", "1", "", 0},
        {"con alias", "SELECT Z.A + Z.B FROM V Z WHERE Z.K = 1", "abcd", "", 0},
        {"funciones de texto", "SELECT LTRIM(RTRIM(A)) + '-' + SUBSTRING(B, 1, 1) FROM V WHERE K = 1", "ab-c", "", 0},
        {"CAST a texto", "SELECT CAST(K AS varchar(10)) + A FROM V WHERE K = 1", "1ab", "", 0},
        {"texto + NULL", "SELECT ISNULL(A + X, '-') FROM V WHERE K = 2", "-", "", 0},
        {"número + texto", "SELECT 1 + '2'", "3", "", 0},
        {"texto + número", "SELECT ' 2 ' + 1", "3", "", 0},
        {"columna int + columna texto", "SELECT K + NUMERO FROM V WHERE K = 2", "4", "", 0},
        {"número + número", "SELECT K + 1 + 2 FROM V WHERE K = 1", "4", "", 0},
        {"texto comparado con número", "SELECT COUNT(*) FROM V WHERE NUMERO = 1", "1", "", 0},
        {"número comparado con texto", "SELECT COUNT(*) FROM V WHERE 2 <= NUMERO", "1", "", 0},
        {"texto que no es número", "SELECT 1 + 'abc'", "", "22018", 245},
        {"columna que no es número", "SELECT COUNT(*) FROM V WHERE A = 1", "", "22018", 245},
        {"tipo desconocido", "SELECT (SELECT MAX(A) FROM V) + 'x'", "", "42000", SQLITE_ERROR},
        {"CASE sin tipo", "SELECT CASE WHEN K = 1 THEN A END + B FROM V", "", "42000", SQLITE_ERROR},
        {"fecha + número", "SELECT F + 1 FROM T", "", "42000", SQLITE_ERROR},
        {"textos unidos + número", "SELECT 'a' + 'b' + 1", "", "42000", SQLITE_ERROR},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        [&] {
            if (*c.sqlState == 0) {
                EXPECT_EQ(scalar(QString::fromUtf8(c.sql)).toString(), QString::fromUtf8(c.value));
                return;
            }
            const ErrObject e = RaisedError([&] { scalar(QString::fromUtf8(c.sql)); });
            EXPECT_EQ(e.NativeError, c.native);
            ASSERT_EQ(cn.errors().Count(), 1);
            EXPECT_EQ(cn.errors().Item(0).SQLState, QString::fromUtf8(c.sqlState));
        }();
    }
    // A number set into a text column is written, not compared.
    cn.Execute("UPDATE V SET NUMERO = 7 WHERE NUMERO = 2");
    EXPECT_EQ(scalar("SELECT NUMERO FROM V WHERE K = 2").toString(), "7");
}

// Money holds exact amounts, to four decimals, through arithmetic, SUM and comparison.
TEST_F(SqliteDb, MoneyIsExact)
{
    cn.Execute("INSERT INTO T (C, M) VALUES ('a', 0.1)\nINSERT INTO T (C, M) VALUES ('b', 0.2)");
    EXPECT_EQ(count("SELECT CASE WHEN SUM(M) = 0.3 THEN 1 ELSE 0 END FROM T"), 1);
    cn.Execute("UPDATE T SET M = M + 0.2 WHERE C = 'a'");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE M = 0.3"), 1);
    cn.Execute("UPDATE T SET M = M - 0.3 WHERE C = 'a'");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE M = 0"), 1);
    cn.Execute("UPDATE T SET M = 1.23456 WHERE C = 'b'");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE M = 1.2346"), 1);

    // An entry's line summed a thousand times, as the posting sums one, and a thousand lines summed.
    cn.Execute("UPDATE T SET M = 0 WHERE C = 'a'");
    QString batch = "BEGIN TRANSACTION\n";
    for (int i = 0; i < 1000; ++i)
        batch += QStringLiteral(
                     "UPDATE T SET M = M + 0.007 WHERE C = 'a'\nINSERT INTO T (C, M) VALUES ('k%1', 0.007)\n")
                     .arg(i);
    cn.Execute(batch + "COMMIT TRANSACTION");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C = 'a' AND M = 7"), 1);
    EXPECT_EQ(count("SELECT CASE WHEN SUM(M) = 7 THEN 1 ELSE 0 END FROM T WHERE C LIKE 'k%'"), 1);
    EXPECT_EQ(scalar("SELECT SUM(M) FROM T WHERE C LIKE 'k%'").toDouble(), 7.0);
    // Debits less credits, as a journal is checked.
    EXPECT_EQ(scalar("SELECT SUM(CASE WHEN C = 'a' THEN M ELSE -M END) FROM T WHERE C <> 'b'").toDouble(), 0.0);
}

// A read of many rows makes each distinct date-time once and hands every
// row its own: the milliseconds and the old bare day tell values apart or
// alike as the stored form does.
TEST_F(SqliteDb, RowsThatRepeatADateTimeReadEachTheirOwn)
{
    const char *const guardados[] = {"2021-03-05 17:30:12",
                                     "2021-03-05 17:30:12.003",
                                     "2021-03-05",
                                     "2021-03-05 00:00:00.000",
                                     "2021-03-05 17:30:12.003",
                                     "2021-03-05 17:30:12"};
    const QDateTime esperados[] = {QDateTime(QDate(2021, 3, 5), QTime(17, 30, 12)),
                                   QDateTime(QDate(2021, 3, 5), QTime(17, 30, 12, 3)),
                                   QDateTime(QDate(2021, 3, 5), QTime(0, 0)),
                                   QDateTime(QDate(2021, 3, 5), QTime(0, 0)),
                                   QDateTime(QDate(2021, 3, 5), QTime(17, 30, 12, 3)),
                                   QDateTime(QDate(2021, 3, 5), QTime(17, 30, 12))};
    sqlite3 *h = nullptr;
    ASSERT_EQ(sqlite3_open(db.path.toUtf8().constData(), &h), SQLITE_OK);
    ado::registerSqlServerFunctions(h);
    for (int i = 0; i < 6; ++i) {
        const QByteArray sql
            = QStringLiteral("INSERT INTO T (C, F) VALUES ('%1', '%2')").arg(i).arg(QLatin1String(guardados[i])).toUtf8();
        ASSERT_EQ(sqlite3_exec(h, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
    }
    sqlite3_close(h);
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        Recordset rs;
        rs.Open("SELECT F FROM T ORDER BY C", cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
        for (int i = 0; i < 6; ++i, rs.MoveNext()) {
            SCOPED_TRACE(guardados[i]);
            [&] {
                ASSERT_FALSE(rs.Eof());
                EXPECT_EQ(rs.Fields(0).Value().toDate(), esperados[i]);
            }();
        }
    }
}

TEST_F(SqliteDb, QuotedDatesStayTextOutsideDateColumns)
{
    cn.Execute("INSERT INTO T (C, F) VALUES ('5/3/21', '5/3/21')");
    EXPECT_EQ(scalar("SELECT C FROM T").toString(), "5/3/21");
    EXPECT_EQ(scalar("SELECT F FROM T").toDate(), QDateTime(QDate(2021, 3, 5), QTime(0, 0)));
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C = '5/3/21' AND T.F = '05/03/2021'"), 1);
    cn.Execute("UPDATE T SET C = '1/2/24', F = '1/2/24' WHERE C = '5/3/21'");
    EXPECT_EQ(scalar("SELECT C FROM T").toString(), "1/2/24");
    EXPECT_EQ(scalar("SELECT F FROM T").toDate(), QDateTime(QDate(2024, 2, 1), QTime(0, 0)));

    // A table of the same batch, and a column added by an earlier call.
    cn.Execute("CREATE TABLE W (D datetime NULL, S varchar(10) NULL)\nINSERT INTO W VALUES ('5/3/21', '5/3/21')");
    EXPECT_EQ(scalar("SELECT S FROM W WHERE D = '5/3/2021'").toString(), "5/3/21");
    cn.Execute("ALTER TABLE W ADD G datetime NULL");
    cn.Execute("UPDATE W SET G = '6/3/21'");
    EXPECT_EQ(scalar("SELECT G FROM W").toDate(), QDateTime(QDate(2021, 3, 6), QTime(0, 0)));

    // A text written through a recordset stays as written in a text column.
    Recordset rs;
    rs.Open("SELECT * FROM T", cn, ado::adOpenDynamic, ado::adLockOptimistic);
    rs.Fields("C").setValue(Variant("7/3/21"));
    rs.Fields("F").setValue(Variant("7/3/21"));
    rs.Update();
    EXPECT_EQ(scalar("SELECT C FROM T").toString(), "7/3/21");
    EXPECT_EQ(scalar("SELECT F FROM T").toDate(), QDateTime(QDate(2021, 3, 7), QTime(0, 0)));
}

TEST_F(SqliteDb, FieldValuesAndSizes)
{
    cn.Execute("INSERT INTO T (C, N, R, M, F) VALUES ('a', 7, 1.5, 12.3456, '1/2/2005')");
    cn.Execute("INSERT INTO T (C) VALUES ('b')");
    Recordset rs;
    rs.Open("SELECT C, N, R, M, F, N * 2 AS DOBLE FROM T ORDER BY C", cn, 0, 1);
    struct Expect
    {
        const char *nombre;
        Variant::Type type;
        int size;
    };
    const Expect fields[] = {{"C", Variant::Type::String, 10},
                             {"N", Variant::Type::Long, 4},
                             {"R", Variant::Type::Double, 8},
                             {"M", Variant::Type::Currency, 8},
                             {"F", Variant::Type::Date, 16},
                             {"DOBLE", Variant::Type::Long, 4}};
    for (const Expect &e : fields) {
        SCOPED_TRACE(e.nombre);
        EXPECT_EQ(rs.Fields(e.nombre).Value().type(), e.type);
        EXPECT_EQ(rs.Fields(e.nombre).DefinedSize(), e.size);
    }
    EXPECT_EQ(rs.Fields("M").Value().toCurrency(), Currency::fromScaled(123456));
    rs.MoveNext();
    for (const char *name : {"N", "R", "M", "F", "DOBLE"})
        EXPECT_TRUE(rs.Fields(name).Value().isNull()) << name;
}

// A recordset keeps its rows as the engine gave them and makes a field's
// value when it is read: each value, for each declared type and each kind of
// cell the engine stores, is the one the provider makes of the row at once.
TEST_F(SqliteDb, AFieldReadsWhatTheRowHeld)
{
    sqlite3 *h = nullptr;
    ASSERT_EQ(sqlite3_open(db.path.toUtf8().constData(), &h), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(h,
                           "CREATE TABLE V (K int, TX varchar(20), I int, B bit, R float, M money, D datetime, "
                           "X varbinary(8), U)",
                           nullptr,
                           nullptr,
                           nullptr),
              SQLITE_OK);
    struct Fila
    {
        const char *nombre;
        const char *valor; // as the engine's SQL writes it, for every column
    };
    const Fila filas[] = {{"null", "NULL"},
                          {"integer", "7"},
                          {"negative integer", "-3"},
                          {"real", "2.5"},
                          {"money of four decimals", "12.3456"},
                          {"stored date-time", "'2021-03-05 17:30:12'"},
                          {"stored date-time with milliseconds", "'2021-03-05 17:30:12.003'"},
                          {"old bare day", "'2021-03-05'"},
                          {"text", "'ñandú ''x'''"},
                          {"empty text", "''"},
                          {"blob", "x'00ff41'"}};
    for (int k = 0; k < int(std::size(filas)); ++k) {
        const QByteArray v = filas[k].valor;
        QByteArray sql = "INSERT INTO V VALUES (" + QByteArray::number(k);
        for (int c = 0; c < 8; ++c)
            sql += ", " + v;
        sql += ")";
        ASSERT_EQ(sqlite3_exec(h, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
    }
    sqlite3_close(h);

    const QString sql = "SELECT TX, I, B, R, M, D, X, U FROM V ORDER BY K";
    ado::RowSet atOnce;
    ado::Errors errors;
    ASSERT_TRUE(cn.provider()->execute(sql, errors, nullptr, &atOnce));
    ASSERT_EQ(atOnce.rows.size(), std::size(filas));
    Recordset rs;
    rs.Open(sql, cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
    ASSERT_EQ(rs.FieldCount(), int(atOnce.columns.size()));
    for (int c = 0; c < rs.FieldCount(); ++c)
        EXPECT_EQ(rs.Fields(c).DefinedSize(), atOnce.columns[size_t(c)].definedSize)
            << rs.Fields(c).Name().toStdString();
    for (size_t k = 0; k < std::size(filas); ++k, rs.MoveNext()) {
        SCOPED_TRACE(filas[k].nombre);
        ASSERT_FALSE(rs.Eof());
        // Read twice, and backwards: each value is its own row's.
        for (int vuelta = 0; vuelta < 2; ++vuelta)
            for (int c = rs.FieldCount() - 1; c >= 0; --c) {
                const Variant &leido = rs.Fields(c).Value();
                const Variant &esperado = atOnce.rows[k][size_t(c)];
                SCOPED_TRACE(rs.Fields(c).Name().toStdString());
                ASSERT_EQ(leido.type(), esperado.type());
                if (leido.isString()) {
                    EXPECT_EQ(leido.rawString(), esperado.rawString());
                } else if (!leido.isNull()) {
                    EXPECT_TRUE(leido == esperado) << leido.toString().toStdString();
                }
            }
    }
    EXPECT_TRUE(rs.Eof());
    rs.MoveFirst();
    const QList<QList<Variant>> todas = rs.GetRows();
    ASSERT_EQ(todas.size(), rs.FieldCount());
    for (size_t k = 0; k < std::size(filas); ++k)
        for (int c = 0; c < rs.FieldCount(); ++c)
            EXPECT_EQ(todas[c][qsizetype(k)].type(), atOnce.rows[k][size_t(c)].type()) << filas[k].nombre << " " << c;
}

// A value set and not written back is the row's again after any move, also
// one that comes back to the same row.
TEST_F(SqliteDb, AMoveShowsTheRowAsRead)
{
    cn.Execute("INSERT INTO T (C, N) VALUES ('a', 1)\nINSERT INTO T (C, N) VALUES ('b', 2)");
    Recordset rs;
    rs.Open("SELECT C, N FROM T ORDER BY C", cn, ado::adOpenDynamic, ado::adLockOptimistic);
    rs.Fields("N").setValue(Variant(9));
    EXPECT_EQ(rs.Fields("N").Value().toLong(), 9);
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields("N").Value().toLong(), 1);
    rs.Fields("N").setValue(Variant(8));
    rs.MoveNext();
    EXPECT_EQ(rs.Fields("n").Value().toLong(), 2);
    rs.Fields("N").setValue(Variant(5));
    rs.Update();
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields("N").Value().toLong(), 1);
    rs.MoveLast();
    EXPECT_EQ(rs.Fields("N").Value().toLong(), 5);
    EXPECT_EQ(count("SELECT N FROM T WHERE C = 'b'"), 5);
    EXPECT_EQ(count("SELECT N FROM T WHERE C = 'a'"), 1);
}

TEST_F(SqliteDb, TopIfExistsAlterAndOwners)
{
    cn.Execute("INSERT INTO T (C, N) VALUES ('a', 3)\nINSERT INTO T (C, N) VALUES ('b', 1)\n"
               "INSERT INTO [dbo].[T] (C, N) VALUES ('c', 2)");
    EXPECT_EQ(scalar("SELECT TOP 1 C FROM dbo.T ORDER BY N").toString(), "b");
    for (int i = 0; i < 2; ++i)
        cn.Execute("IF NOT EXISTS (SELECT * FROM T WHERE C = 'D')\r\nINSERT INTO T (C, N) VALUES ('d', 9)");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 4);
    cn.Execute("IF EXISTS (SELECT * FROM T WHERE C = 'zz') DELETE T");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 4);
    cn.Execute("ALTER TABLE dbo.T ADD EMAIL VARCHAR(50) Null  CONSTRAINT DF_T_EMAIL DEFAULT ('')");
    cn.Execute("ALTER TABLE T ADD [NRO ASIENTO] int NOT NULL DEFAULT (0)");
    cn.Execute("UPDATE T SET EMAIL = 'X@Y' WHERE C = 'a'");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE EMAIL = 'x@y  '"), 1);
    EXPECT_EQ(count("SELECT SUM([NRO ASIENTO]) FROM T"), 0);
}

TEST_F(SqliteDb, TransactionSpansCallsAndNests)
{
    cn.Execute("INSERT INTO T (C) VALUES ('a')");
    cn.Execute("BEGIN TRANSACTION\r\nDELETE T WHERE C = 'a'\r");
    cn.Execute("ROLLBACK TRANSACTION");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 1);

    // Only the outermost commit ends it; a rollback undoes every level.
    cn.Execute("BEGIN TRAN");
    EXPECT_EQ(cn.BeginTrans(), 2);
    cn.Execute("DELETE T");
    cn.Execute("COMMIT TRANSACTION");
    cn.RollbackTrans();
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 1);

    cn.BeginTrans();
    cn.Execute("DELETE T");
    cn.Execute("COMMIT");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 0);

    const ErrObject e = RaisedError([&] { cn.Execute("COMMIT TRANSACTION"); });
    EXPECT_NE(e.Number, 0);
    EXPECT_EQ(cn.errors().Count(), 1);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 3902);
}

TEST_F(SqliteDb, ATransactionHoldsTheWriteLockFromItsStart)
{
    cn.Execute("INSERT INTO T (C, N) VALUES ('a', 1)");
    Connection other;
    other.setCommandTimeout(1);
    other.Open(db.connectionString);
    cn.BeginTrans();
    // Reading is still open to others; starting another transaction waits
    // for this one, before it has written anything.
    Recordset rs;
    rs.Open("SELECT N FROM T", other);
    EXPECT_EQ(rs.Fields(0).Value().toLong(), 1);
    rs.Close();
    EXPECT_EQ(RaisedError([&] { other.BeginTrans(); }).Number, ado::DB_E_ABORTLIMITREACHED);
    EXPECT_EQ(RaisedError([&] { other.Execute("BEGIN TRANSACTION"); }).Number, ado::DB_E_ABORTLIMITREACHED);
    cn.CommitTrans();
    EXPECT_EQ(other.BeginTrans(), 1);
    other.Execute("UPDATE T SET N = 2");
    other.CommitTrans();
    EXPECT_EQ(count("SELECT N FROM T"), 2);
}

TEST_F(SqliteDb, ErrorsAreClassifiedAndClearedByTheNextStatement)
{
    cn.Execute("INSERT INTO T (C) VALUES ('a')");
    struct Case
    {
        const char *sql;
        std::int32_t number;
        int native;
    };
    const Case cases[] = {
        {"SELEC * FROM T", ado::DB_E_ERRORSINCOMMAND, SQLITE_ERROR},
        {"SELECT NOPE FROM T", ado::DB_E_ERRORSINCOMMAND, SQLITE_ERROR},
        {"SELECT NOFUNC(C) FROM T", ado::DB_E_ERRORSINCOMMAND, SQLITE_ERROR},
        {"DELETE NO_SUCH_TABLE WHERE A = 1", ado::DB_E_NOTABLE, SQLITE_ERROR},
        {"INSERT INTO T (C) VALUES ('A')", ado::DB_E_INTEGRITYVIOLATION, SQLITE_CONSTRAINT_PRIMARYKEY},
        {"INSERT INTO T (N) VALUES (1)", ado::DB_E_INTEGRITYVIOLATION, SQLITE_CONSTRAINT_NOTNULL},
        {"SELECT CONVERT(varchar, N) FROM T", ado::DB_E_ERRORSINCOMMAND, SQLITE_ERROR},
        // An error in a later statement of a batch is seen, and the batch stops there.
        {"DELETE T WHERE C = 'zz'\rDELETE NO_SUCH_TABLE\rDELETE T", ado::DB_E_NOTABLE, SQLITE_ERROR},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sql);
        [&] {
            const ErrObject e = RaisedError([&] { cn.Execute(c.sql); });
            EXPECT_EQ(e.Number, c.number);
            EXPECT_EQ(e.NativeError, c.native);
            EXPECT_EQ(e.Source, "SQLite");
            ASSERT_EQ(cn.errors().Count(), 1);
            EXPECT_EQ(cn.errors().Item(0).Number, c.number);
            EXPECT_FALSE(cn.errors().Item(0).Description.isEmpty());
        }();
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 1);
    // A searched DELETE that removes nothing succeeds and leaves no error.
    std::int32_t affected = -1;
    cn.Execute("DELETE T WHERE C = 'none'", &affected);
    EXPECT_EQ(affected, 0);
    EXPECT_EQ(cn.errors().Count(), 0);
    cn.Execute("SET NOCOUNT ON\r\nINSERT INTO T (C) VALUES ('b')\r\nINSERT INTO T (C) VALUES ('c')", &affected);
    EXPECT_EQ(affected, 2);
}

// A recordset opens one statement: a batch is refused whole, with its
// error, and nothing of it runs; the same text executed runs every statement.
TEST_F(SqliteDb, ARecordsetRefusesABatchAndRunsNothing)
{
    cn.Execute("INSERT INTO T (C) VALUES ('a')");
    const char *const lotes[] = {
        "SELECT C FROM T WHERE C LIKE '1'; DELETE FROM T --%'",
        "SELECT C FROM T; DROP TABLE T",
        "DELETE FROM T\nSELECT C FROM T",
        "SELECT C FROM T\nGO\nSELECT C FROM T",
    };
    for (const char *lote : lotes) {
        SCOPED_TRACE(lote);
        [&] {
            Recordset rs;
            const ErrObject e = RaisedError([&] { rs.Open(lote, cn, ado::adOpenForwardOnly, ado::adLockReadOnly); });
            EXPECT_EQ(e.Number, ado::DB_E_ERRORSINCOMMAND);
            ASSERT_EQ(cn.errors().Count(), 1);
            const ado::Error &error = cn.errors().Item(0);
            EXPECT_EQ(error.Number, ado::DB_E_ERRORSINCOMMAND);
            EXPECT_EQ(error.Description, "The command text holds 2 statements; a recordset opens one.");
            EXPECT_EQ(error.Source, "SQLite");
            EXPECT_EQ(error.SQLState, "42000");
            EXPECT_EQ(error.NativeError, 0);
            EXPECT_EQ(rs.State(), ado::adStateClosed);
            EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 1);
        }();
    }
    // One statement, its quoted text holding a whole batch, opens.
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C <> '1; DELETE FROM T --'"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T;"), 1);
    cn.Execute("DELETE FROM T WHERE C = 'z'; INSERT INTO T (C) VALUES ('b')");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 2);
}

TEST_F(SqliteDb, BatchesOfOneShapeTakeTheirOwnValues)
{
    struct Row
    {
        const char *c, *n, *r, *f;
        long long number;
        double real;
        QDateTime day;
    };
    const Row rows[] = {
        {"a", "1", "2.5", "5/3/2021", 1, 2.5, QDateTime(QDate(2021, 3, 5), QTime(0, 0))},
        {"o''b", "2", "1e2", "06/03/21 10:30", 2, 100, QDateTime(QDate(2021, 3, 6), QTime(10, 30))},
        {"c", "2147483647", "7", "2021-03-07", 2147483647LL, 7, QDateTime(QDate(2021, 3, 7), QTime(0, 0))},
    };
    for (const Row &r : rows)
        cn.Execute(QStringLiteral("INSERT INTO T (C, N, R, F) VALUES ('%1', %2, %3, '%4')").arg(r.c, r.n, r.r, r.f));
    for (const Row &r : rows) {
        SCOPED_TRACE(r.c);
        [&] {
            Recordset rs;
            rs.Open(QStringLiteral("SELECT N, R, F FROM T WHERE C = '%1 ' AND F = '%2'").arg(QString(r.c).toUpper(), r.f),
                    cn);
            ASSERT_FALSE(rs.Eof());
            EXPECT_EQ(rs.Fields(0).Value().rawInteger(), r.number);
            EXPECT_EQ(rs.Fields(1).Value().rawDouble(), r.real);
            EXPECT_EQ(rs.Fields(2).Value().toDate(), r.day);
            EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T WHERE N = %1 AND R = %2").arg(r.n, r.r)), 1);
        }();
    }
    // A number with a point is a real, as written out: 2.0 is 2, 2.5 is not.
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE N = 2.0"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE N = 2.5"), 0);
    // At a date column, a text that names no day is the server's conversion error, never a text comparison.
    const ErrObject e = RaisedError([&] { count("SELECT COUNT(*) FROM T WHERE F < 'someday'"); });
    EXPECT_EQ(e.Number, ado::DB_E_CANTCONVERTVALUE);
    EXPECT_EQ(e.NativeError, 241);
    EXPECT_EQ(cn.errors().Item(0).SQLState, "22007");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE F < '6/3/2021'"), 1);
    // Literals that are no value of the statement's conditions keep theirs.
    EXPECT_EQ(count("SELECT COUNT(*) FROM (SELECT TOP 1 C FROM T ORDER BY C) X"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM (SELECT TOP 2 C FROM T ORDER BY C) X"), 2);
    EXPECT_EQ(scalar("SELECT 'x' + C AS K FROM T WHERE C = 'a'").toString(), "xa");
    EXPECT_EQ(scalar("SELECT 'y' + C AS K FROM T WHERE C = 'c'").toString(), "yc");

    // More shapes than are kept: the first is translated again and still right.
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) AS K%1 FROM T WHERE C = 'a'").arg(i)), 1);
    EXPECT_EQ(count("SELECT COUNT(*) AS K0 FROM T WHERE C = 'c'"), 1);
}

TEST_F(SqliteDb, StatementsOfLongBatchesTakeTheirOwnValues)
{
    // Batches of other lengths and orders share their statements' shapes; each
    // statement keeps its own values, also those written into its text.
    auto insert = [](int i) {
        return QStringLiteral("INSERT INTO T (C, N, R, F) VALUES ('k%1', %1, %1.5, '%2/03/2021')\r")
            .arg(i)
            .arg(i % 28 + 1);
    };
    for (int length : {40, 3, 150, 41}) { // 150: longer than a batch kept whole
        SCOPED_TRACE(length);
        cn.Execute("DELETE T");
        QString batch = "SET NOCOUNT ON\rBEGIN TRANSACTION\r";
        for (int i = 0; i < length; ++i)
            batch += insert(i);
        batch += "INSERT INTO T (C) SELECT 'p' + C FROM T WHERE C = 'k1'\r"
                 "IF NOT EXISTS (SELECT * FROM T WHERE C = 'k0') INSERT INTO T (C) VALUES ('none')\r"
                 "INSERT INTO T (C) SELECT 'q' + C FROM T WHERE C = 'k2'\r"
                 "UPDATE T SET N = N + 100 WHERE C = 'k2'\rCOMMIT TRANSACTION\r";
        std::int32_t affected = 0;
        cn.Execute(batch, &affected);
        EXPECT_EQ(affected, length + 3);
        EXPECT_EQ(cn.provider()->transactionLevel(), 0);
        EXPECT_EQ(count("SELECT COUNT(*) FROM T"), length + 2);
        EXPECT_EQ(count("SELECT SUM(N) FROM T"), length * (length - 1) / 2 + 100);
        const int last = length - 1;
        EXPECT_EQ(scalar(QStringLiteral("SELECT R FROM T WHERE C = 'k%1'").arg(last)).rawDouble(), last + 0.5);
        EXPECT_EQ(scalar(QStringLiteral("SELECT F FROM T WHERE C = 'k%1'").arg(last)).toDate(),
                  QDateTime(QDate(2021, 3, last % 28 + 1), QTime(0, 0)));
        EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C IN ('pk1', 'qk2')"), 2);
    }

    // A value that is no date where one statement takes one: the batch is
    // refused with the server's conversion error and writes nothing; the
    // next batch of its shape runs.
    cn.Execute("DELETE T");
    const ErrObject refused = RaisedError([&] {
        cn.Execute(insert(1) + insert(2) + "INSERT INTO T (C, N, R, F) VALUES ('k3', 3, 3.5, 'someday')\r" + insert(4));
    });
    EXPECT_EQ(refused.NativeError, 241);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 0);
    cn.Execute(insert(1) + insert(2) + "INSERT INTO T (C, N, R, F) VALUES ('k3', 3, 3.5, '20210304')\r" + insert(4));
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 4);
    EXPECT_EQ(scalar("SELECT F FROM T WHERE C = 'k3'").toDate(), QDateTime(QDate(2021, 3, 4), QTime(0, 0)));
    EXPECT_EQ(scalar("SELECT F FROM T WHERE C = 'k4'").toDate(), QDateTime(QDate(2021, 3, 5), QTime(0, 0)));

    // A failing statement stops its batch with its own error; the statements it shares still run after it.
    cn.Execute("DELETE T");
    const ErrObject e = RaisedError([&] { cn.Execute(insert(1) + insert(2) + insert(1) + insert(3)); });
    EXPECT_EQ(e.Number, ado::DB_E_INTEGRITYVIOLATION);
    EXPECT_EQ(e.NativeError, SQLITE_CONSTRAINT_PRIMARYKEY);
    ASSERT_EQ(cn.errors().Count(), 1);
    EXPECT_EQ(cn.errors().Item(0).SQLState, "23000");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 2);
    cn.Execute(insert(3) + insert(4));
    EXPECT_EQ(cn.errors().Count(), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 4);
}

TEST_F(SqliteDb, ALongBatchBindsEachValueAsWritten)
{
    struct Case
    {
        const char *nombre;
        const char16_t *c;      // written between quotes
        const char16_t *stored; // as read back
        const char *r;
        const char *m;
        double mStored;
    };
    const Case cases[] = {
        {"an empty text", u"", u"", "2.5", "2.5", 2.5},
        {"letters beyond ASCII", u"ñandú", u"ñandú", "0.1", "1.23456", 1.2346},
        {"a doubled quote", u"o''b", u"o'b", "1e2", "-3.14159", -3.1416},
        {"beyond the basic plane", u"\U0001F600x", u"\U0001F600x", "2.5E-3", "100", 100},
        {"blanks beyond the column", u"abc           ", u"abc       ", "123456789.123456789", "0", 0},
        {"a point first", u"p", u"p", ".5", ".5", 0.5},
        {"a point last", u"q", u"q", "5.", "5.", 5},
        {"zero with a point", u"z", u"z", "0.0", "0.0", 0},
        {"the largest", u"l", u"l", "1.7976931348623157e308", "1", 1},
        {"the smallest normal", u"t", u"t", "2.2250738585072014e-308", "1", 1},
        {"too long for an integer", u"i", u"i", "12345678901234567890", "1", 1},
        {"more digits than a double holds", u"d", u"d", "0.30000000000000004441", "1", 1},
    };
    // Ten days in turn, more than are remembered as read; filler rows make
    // the batch longer than one kept whole.
    const auto day = [](int i) { return i * 7 % 10 + 1; };
    QString batch = "BEGIN TRANSACTION\r";
    for (int i = 0; i < int(std::size(cases)); ++i)
        batch += QStringLiteral("INSERT INTO T (C, N, R, M, F) VALUES ('%1', %2, %3, %4, '%5/3/2021')\r")
                     .arg(QString::fromUtf16(cases[i].c))
                     .arg(i)
                     .arg(QLatin1String(cases[i].r), QLatin1String(cases[i].m))
                     .arg(day(i));
    const int fillers = 150;
    for (int i = 100; i < 100 + fillers; ++i)
        batch += QStringLiteral("INSERT INTO T (C, N, F) VALUES ('f%1', %1, '%2/3/2021')\r").arg(i).arg(day(i));
    batch += "COMMIT TRANSACTION\r";
    ASSERT_GT(batch.size(), 8192);
    cn.Execute(batch);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), int(std::size(cases)) + fillers);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const Case &c = cases[i];
        SCOPED_TRACE(c.nombre);
        [&] {
            Recordset rs;
            rs.Open(QStringLiteral("SELECT C, R, M, F FROM T WHERE N = %1").arg(i), cn);
            ASSERT_FALSE(rs.Eof());
            EXPECT_EQ(rs.Fields(0).Value().toString(), QString::fromUtf16(c.stored));
            EXPECT_EQ(rs.Fields(1).Value().rawDouble(), std::strtod(c.r, nullptr));
            EXPECT_EQ(rs.Fields(2).Value().toDouble(), c.mStored);
            EXPECT_EQ(rs.Fields(3).Value().toDate(), QDateTime(QDate(2021, 3, day(i)), QTime(0, 0)));
        }();
    }
    for (int i = 100; i < 100 + fillers; ++i)
        EXPECT_EQ(scalar(QStringLiteral("SELECT F FROM T WHERE N = %1").arg(i)).toDate(),
                  QDateTime(QDate(2021, 3, day(i)), QTime(0, 0)))
            << i;
}

TEST_F(SqliteDb, KeptTranslationsFollowSchemaChangesOfOtherHandles)
{
    auto other = [&](const char *sql) {
        sqlite3 *h = nullptr;
        ASSERT_EQ(sqlite3_open(db.path.toUtf8().constData(), &h), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(h, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
        sqlite3_close(h);
    };
    const QString update = "BEGIN TRANSACTION\r\nUPDATE W SET D = '%1' WHERE D = '%2'\r";
    other("CREATE TABLE W (D varchar(20)); INSERT INTO W VALUES ('5/3/2021')");
    EXPECT_EQ(count("SELECT COUNT(*) FROM W WHERE D = '5/3/2021'"), 1); // text: as written
    cn.Execute(update.arg("4/3/2021", "5/3/2021"));
    cn.Execute("COMMIT TRANSACTION");
    EXPECT_EQ(scalar("SELECT D FROM W").toString(), "4/3/2021");

    // The same statements, now that D is a date column: the quoted days mean days.
    other("DROP TABLE W; CREATE TABLE W (D datetime); INSERT INTO W VALUES ('2021-03-05 00:00:00')");
    EXPECT_EQ(count("SELECT COUNT(*) FROM W WHERE D = '5/3/2021'"), 1);
    other("DELETE FROM W; INSERT INTO W VALUES ('2021-03-05 00:00:00'); CREATE TABLE X (A int)");
    cn.Execute(update.arg("6/3/2021", "5/3/2021"));
    cn.Execute("COMMIT TRANSACTION");
    EXPECT_EQ(scalar("SELECT D FROM W").toDate(), QDateTime(QDate(2021, 3, 6), QTime(0, 0)));
}

// A kept read checks the schema after its first step: one that finds it
// changed (by another handle or by its own connection) runs again as the
// schema now reads, its columns described anew and its errors in the
// engine's words.
TEST_F(SqliteDb, AKeptReadRunsOnTheSchemaAsItIsNow)
{
    auto other = [&](const char *sql) {
        sqlite3 *h = nullptr;
        ASSERT_EQ(sqlite3_open(db.path.toUtf8().constData(), &h), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(h, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
        sqlite3_close(h);
    };
    other("CREATE TABLE W (D varchar(20)); INSERT INTO W VALUES ('2021-03-05 00:00:00')");
    for (int vez = 0; vez < 2; ++vez)
        EXPECT_EQ(scalar("SELECT D FROM W").type(), Variant::Type::String);
    other("DROP TABLE W; CREATE TABLE W (D datetime); INSERT INTO W VALUES ('2021-03-05 00:00:00')");
    const Variant d = scalar("SELECT D FROM W");
    EXPECT_EQ(d.type(), Variant::Type::Date);
    EXPECT_EQ(d.toDate(), QDateTime(QDate(2021, 3, 5), QTime(0, 0)));
    other("DROP TABLE W; CREATE TABLE W (E int)");
    const ErrObject e = RaisedError([&] { scalar("SELECT D FROM W"); });
    EXPECT_EQ(e.Number, ado::DB_E_ERRORSINCOMMAND);
    EXPECT_EQ(e.Description, "no such column: D");

    // The connection's own change, inside its transaction.
    cn.Execute("DROP TABLE W\rCREATE TABLE W (D varchar(20))\rINSERT INTO W VALUES ('2021-03-05 00:00:00')");
    cn.BeginTrans();
    for (int vez = 0; vez < 2; ++vez)
        EXPECT_EQ(scalar("SELECT D FROM W").type(), Variant::Type::String);
    cn.Execute("DROP TABLE W\rCREATE TABLE W (D datetime)\rINSERT INTO W VALUES ('2021-03-05 00:00:00')");
    EXPECT_EQ(scalar("SELECT D FROM W").type(), Variant::Type::Date);
    cn.RollbackTrans();
}

TEST_F(SqliteDb, KeptStatementsReportTheirErrorsAndHoldNothingOpen)
{
    cn.Execute("INSERT INTO T (C) VALUES ('a')");
    // The same shapes fail and succeed call by call, with the engine's own words.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ErrObject e = RaisedError([&] { cn.Execute("INSERT INTO T (C) VALUES ('A ')"); });
        EXPECT_EQ(e.Number, ado::DB_E_INTEGRITYVIOLATION);
        EXPECT_EQ(e.Description, "UNIQUE constraint failed: T.C");
        e = RaisedError([&] { cn.Execute("DELETE NO_SUCH_TABLE WHERE A = 1"); });
        EXPECT_EQ(e.Number, ado::DB_E_NOTABLE);
        EXPECT_EQ(e.Description, "no such table: NO_SUCH_TABLE");
        e = RaisedError([&] { cn.Execute("SELECT * FROM T WHERE C = 'a' 'b'"); });
        EXPECT_EQ(e.Number, ado::DB_E_ERRORSINCOMMAND);
        EXPECT_EQ(e.Description, "near \"'b'\": syntax error");
    }
    // A transaction across calls commits after statements that read and failed.
    cn.Execute("BEGIN TRANSACTION\r\nINSERT INTO T (C) VALUES ('b')");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T WHERE C = 'b'"), 1);
    EXPECT_NE(RaisedError([&] { cn.Execute("INSERT INTO T (C) VALUES ('b')"); }).Number, 0);
    cn.Execute("COMMIT TRANSACTION");
    EXPECT_EQ(cn.provider()->transactionLevel(), 0);
    sqlite3 *h = nullptr;
    ASSERT_EQ(sqlite3_open(db.path.toUtf8().constData(), &h), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(h, "BEGIN IMMEDIATE; COMMIT", nullptr, nullptr, nullptr), SQLITE_OK); // no lock left behind
    sqlite3_close(h);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 2);
}

// A batch that fails stops at the failing statement and takes back the
// levels it opened itself: after it the level is the one it started at, or
// the one its own COMMIT or ROLLBACK brought it to, and what it committed
// before the failure is on disk. The server goes on past a statement's error
// (2627, 547, 515) and commits the batch's other statements at its COMMIT,
// and leaves the transaction open when the batch ends on a missing object
// (208): here a batch is whole from its BEGIN, and leaves nothing open.
TEST_F(SqliteDb, AFailedBatchTakesBackTheTransactionItOpened)
{
    struct Caso
    {
        const char *nombre;
        bool abierta; // the caller's own transaction around the batch, with a row 'x' of its own
        const char *lote;
        int nivel;         // after the batch
        int numero;        // the batch's error, alone in the collection (0: none)
        const char *filas; // on disk after the batch, and after the caller's commit
    };
    const Caso casos[] = {
        {"confirma", false, "BEGIN TRANSACTION\r\nINSERT INTO T (C) VALUES ('b')\r\nCOMMIT TRANSACTION", 0, 0, "a b"},
        {"clave repetida antes del COMMIT",
         false,
         "BEGIN TRANSACTION\r\nINSERT INTO T (C) VALUES ('b')\r\nINSERT INTO T (C) VALUES ('a')\r\nCOMMIT TRANSACTION",
         0,
         ado::DB_E_INTEGRITYVIOLATION,
         "a"},
        {"sin COMMIT, como el lote de la anulacion",
         false,
         "BEGIN TRANSACTION\r\nDELETE T WHERE C = 'a'\r\nINSERT INTO T (C) VALUES ('b')\r\nINSERT INTO T (C) VALUES "
         "('b')",
         0,
         ado::DB_E_INTEGRITYVIOLATION,
         "a"},
        {"despues de su propio COMMIT",
         false,
         "BEGIN TRANSACTION\r\nINSERT INTO T (C) VALUES ('b')\r\nCOMMIT TRANSACTION\r\nINSERT INTO T (C) VALUES ('a')",
         0,
         ado::DB_E_INTEGRITYVIOLATION,
         "a b"},
        {"tabla que no existe",
         false,
         "BEGIN TRANSACTION\r\nINSERT INTO T (C) VALUES ('b')\r\nDELETE NO_EXISTE WHERE C = 'a'\r\nCOMMIT TRANSACTION",
         0,
         ado::DB_E_NOTABLE,
         "a"},
        {"error de sintaxis",
         false,
         "BEGIN TRANSACTION\r\nINSERT INTO T (C) VALUES ('b')\r\nSELECT * FROM T WHERE C = 'a' 'b'\r\nCOMMIT "
         "TRANSACTION",
         0,
         ado::DB_E_ERRORSINCOMMAND,
         "a"},
        {"ROLLBACK y otro BEGIN",
         false,
         "BEGIN TRANSACTION\r\nINSERT INTO T (C) VALUES ('b')\r\nROLLBACK TRANSACTION\r\nBEGIN TRANSACTION\r\n"
         "INSERT INTO T (C) VALUES ('c')\r\nINSERT INTO T (C) VALUES ('a')\r\nCOMMIT TRANSACTION",
         0,
         ado::DB_E_INTEGRITYVIOLATION,
         "a"},
        {"dentro de la transaccion del llamador",
         true,
         "BEGIN TRANSACTION\r\nINSERT INTO T (C) VALUES ('b')\r\nINSERT INTO T (C) VALUES ('a')\r\nCOMMIT TRANSACTION",
         1,
         ado::DB_E_INTEGRITYVIOLATION,
         "a x"},
        {"dentro, tras su propio COMMIT",
         true,
         "BEGIN TRANSACTION\r\nINSERT INTO T (C) VALUES ('b')\r\nCOMMIT TRANSACTION\r\nBEGIN TRANSACTION\r\n"
         "INSERT INTO T (C) VALUES ('c')\r\nINSERT INTO T (C) VALUES ('a')",
         1,
         ado::DB_E_INTEGRITYVIOLATION,
         "a b x"},
        // It opened nothing: what it did stays in the caller's transaction, as on the server.
        {"dentro, sin BEGIN",
         true,
         "INSERT INTO T (C) VALUES ('b')\r\nINSERT INTO T (C) VALUES ('a')\r\nINSERT INTO T (C) VALUES ('c')",
         1,
         ado::DB_E_INTEGRITYVIOLATION,
         "a b x"},
        {"dentro, confirma",
         true,
         "BEGIN TRANSACTION\r\nINSERT INTO T (C) VALUES ('b')\r\nCOMMIT TRANSACTION",
         1,
         0,
         "a b x"},
    };
    // What another connection reads from the file, and whether it may write.
    auto enDisco = [&] {
        sqlite3 *h = nullptr;
        EXPECT_EQ(sqlite3_open(db.path.toUtf8().constData(), &h), SQLITE_OK);
        ado::registerSqlServerFunctions(h);
        sqlite3_stmt *st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(h, "SELECT C FROM T ORDER BY C", -1, &st, nullptr), SQLITE_OK);
        QStringList claves;
        while (sqlite3_step(st) == SQLITE_ROW)
            claves << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        const bool escribe = sqlite3_exec(h, "BEGIN IMMEDIATE; COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(h);
        return std::make_pair(claves.join(' '), escribe);
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            cn.Execute("DELETE T\r\nINSERT INTO T (C) VALUES ('a')");
            if (c.abierta) {
                cn.BeginTrans();
                cn.Execute("INSERT INTO T (C) VALUES ('x')");
            }
            EXPECT_EQ(RaisedError([&] { cn.Execute(c.lote); }).Number, c.numero);
            ASSERT_EQ(cn.errors().Count(), c.numero ? 1 : 0);
            if (c.numero) {
                EXPECT_EQ(cn.errors().Item(0).Number, c.numero);
            }
            EXPECT_EQ(cn.provider()->transactionLevel(), c.nivel);
            if (c.abierta) {
                EXPECT_EQ(enDisco(), std::make_pair(QString("a"), false));
                cn.CommitTrans();
            }
            EXPECT_EQ(enDisco(), std::make_pair(QString::fromLatin1(c.filas), true));
            EXPECT_EQ(cn.provider()->transactionLevel(), 0);
        }();
    }
}

// The file deleted or replaced under an open connection: what it would
// write goes to a file no one opens again, so the next statement fails, as
// the server's do when the database's files are gone (945), and so does
// every one after it; an open transaction is rolled back.
TEST_F(SqliteDb, AFileGoneFromUnderTheConnectionFailsTheNextStatement)
{
    enum class Archivo { Borrado, Movido, Reemplazado };
    struct Caso
    {
        const char *nombre;
        Archivo archivo;
        bool transaccion;                                         // open, with a row inserted, when the file goes
        std::function<void(Connection &, Recordset &)> siguiente; // the recordset was read before
    };
    const Caso casos[] = {
        {"borrado, INSERT",
         Archivo::Borrado,
         false,
         [](Connection &c, Recordset &) { c.Execute("INSERT INTO T (C) VALUES ('b')"); }},
        {"borrado, COMMIT del lote",
         Archivo::Borrado,
         true,
         [](Connection &c, Recordset &) { c.Execute("COMMIT TRANSACTION"); }},
        {"movido, SELECT",
         Archivo::Movido,
         false,
         [](Connection &c, Recordset &) {
             Recordset otro;
             otro.Open("SELECT C FROM T", c);
         }},
        {"reemplazado, CommitTrans", Archivo::Reemplazado, true, [](Connection &c, Recordset &) { c.CommitTrans(); }},
        {"reemplazado, BeginTrans", Archivo::Reemplazado, false, [](Connection &c, Recordset &) { c.BeginTrans(); }},
        {"reemplazado, Update de la fila leida",
         Archivo::Reemplazado,
         false,
         [](Connection &, Recordset &rs) {
             rs.Fields("N").setValue(Variant(7));
             rs.Update();
         }},
    };
    cn.Execute("INSERT INTO T (C, N) VALUES ('a', 1)");
    cn.Close();
    const QString molde = dir.filePath("molde.db");
    ASSERT_TRUE(QFile::copy(db.path, molde));
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            const QString ruta = dir.filePath("caso.db");
            QFile::remove(ruta);
            ASSERT_TRUE(QFile::copy(molde, ruta));
            Connection cnx;
            cnx.setCursorLocation(ado::adUseClient);
            cnx.Open(SqliteConnectionString(ruta));
            Recordset leido;
            leido.Open("SELECT * FROM T WHERE C = 'a'", cnx, ado::adOpenDynamic, ado::adLockOptimistic);
            if (c.transaccion) {
                cnx.BeginTrans();
                cnx.Execute("INSERT INTO T (C) VALUES ('t')");
            }
            switch (c.archivo) {
            case Archivo::Borrado:
                ASSERT_TRUE(QFile::remove(ruta));
                break;
            case Archivo::Movido:
                QFile::remove(ruta + ".antes");
                ASSERT_TRUE(QFile::rename(ruta, ruta + ".antes"));
                break;
            case Archivo::Reemplazado: {
                const QString otro = dir.filePath("otro.db");
                QFile::remove(otro);
                ASSERT_TRUE(QFile::copy(molde, otro));
                ASSERT_EQ(std::rename(QFile::encodeName(otro).constData(), QFile::encodeName(ruta).constData()), 0);
                break;
            }
            }
            for (int vez = 0; vez < 2; ++vez) {
                SCOPED_TRACE(vez);
                [&] {
                    const ErrObject e = RaisedError([&] { c.siguiente(cnx, leido); });
                    EXPECT_EQ(e.Number, ado::E_FAIL_);
                    ASSERT_EQ(cnx.errors().Count(), 1);
                    EXPECT_EQ(cnx.errors().Item(0).NativeError, 945);
                    EXPECT_EQ(cnx.errors().Item(0).SQLState, "42000");
                    EXPECT_TRUE(e.Description.contains(ruta)) << e.Description.toStdString();
                    EXPECT_EQ(cnx.provider()->transactionLevel(), 0);
                }();
            }
            leido.Close();
            cnx.Close();
            // The file now at the path holds what it held: nothing of the lost connection.
            if (c.archivo == Archivo::Reemplazado) {
                Connection nueva;
                nueva.Open(SqliteConnectionString(ruta));
                Recordset rs;
                rs.Open("SELECT COUNT(*) FROM T WHERE C = 't' OR N = 7", nueva);
                EXPECT_EQ(rs.Fields(0).Value().toLong(), 0);
            }
        }();
    }
}

TEST_F(SqliteDb, TheJournalKeptBetweenTransactionsHoldsNothingToUndo)
{
    cn.Execute("BEGIN TRANSACTION\r\nINSERT INTO T (C) VALUES ('a')");
    cn.Execute("COMMIT TRANSACTION");
    QFile journal(db.path + "-journal");
    ASSERT_TRUE(journal.exists());
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    EXPECT_EQ(journal.read(28), QByteArray(28, '\0')); // no header: not hot
    journal.close();
    cn.Close();
    // Another handle in the engine's default mode sees the committed row, and does not roll it back.
    sqlite3 *h = nullptr;
    ASSERT_EQ(sqlite3_open(db.path.toUtf8().constData(), &h), SQLITE_OK);
    ado::registerSqlServerFunctions(h);
    sqlite3_stmt *st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(h, "SELECT COUNT(*) FROM T", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 1);
    sqlite3_finalize(st);
    // A file its users put in WAL stays in WAL.
    ASSERT_EQ(sqlite3_exec(h, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(h);
    cn.Open(db.connectionString);
    cn.Execute("INSERT INTO T (C) VALUES ('b')");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 2);
    EXPECT_TRUE(QFile::exists(db.path + "-wal"));
}

TEST_F(SqliteDb, ATimeOutHasANumberOfItsOwn)
{
    cn.setCommandTimeout(1);
    const ErrObject e = RaisedError(
        [&] { cn.Execute("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT 1 FROM c) SELECT COUNT(*) FROM c"); });
    EXPECT_EQ(e.Number, ado::DB_E_ABORTLIMITREACHED);
    EXPECT_EQ(cn.errors().Item(0).SQLState, "HYT00");
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 0);
    EXPECT_EQ(cn.errors().Count(), 0);
}

TEST_F(SqliteDb, OpenRefusesMissingFilesAndUnknownProviders)
{
    const QString missing = dir.filePath("missing.db");
    Connection other;
    const ErrObject e = RaisedError([&] { other.Open(SqliteConnectionString(missing)); });
    EXPECT_EQ(e.Number, ado::E_FAIL_);
    EXPECT_EQ(other.errors().Count(), 1);
    EXPECT_EQ(other.errors().Item(0).SQLState, "08004");
    EXPECT_TRUE(e.Description.contains(missing));
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(other.State(), ado::adStateClosed);

    // An empty file is no database either: refused alike, and left empty.
    const QString empty = dir.filePath("empty.db");
    QFile(empty).open(QIODevice::WriteOnly);
    const ErrObject v = RaisedError([&] { other.Open(SqliteConnectionString(empty)); });
    EXPECT_EQ(v.Number, e.Number);
    EXPECT_EQ(v.Description, QString(e.Description).replace(missing, empty));
    EXPECT_EQ(other.errors().Item(0).NativeError, SQLITE_CANTOPEN);
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter("empty.db"), QStringList{"empty.db"});
    EXPECT_EQ(other.State(), ado::adStateClosed);

    EXPECT_EQ(RaisedError([&] { other.Open("Provider=Nothing.1;Data Source=x;"); }).Number, ado::adErrProviderNotFound);
    EXPECT_EQ(RaisedError([&] { other.Execute("SELECT 1"); }).Number, ado::adErrInvalidConnection);

    EXPECT_EQ(cn.platform(), ado::Platform::SQLite);
    EXPECT_EQ(cn.DefaultDatabase(), db.path);
    cn.setDefaultDatabase(db.path);
    EXPECT_NE(RaisedError([&] { cn.setDefaultDatabase("OTRA_EMPRESA"); }).Number, 0);
}

TEST_F(SqliteDb, RecordsetNavigation)
{
    cn.Execute("INSERT INTO T (C, N) VALUES ('a', 1)\nINSERT INTO T (C, N) VALUES ('b', 2)\n"
               "INSERT INTO T (C, N) VALUES ('c', 3)");
    Recordset rs;
    rs.Open("SELECT C, N, N AS c FROM T ORDER BY N", cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
    EXPECT_EQ(rs.State(), ado::adStateOpen);
    EXPECT_EQ(rs.CursorType(), ado::adOpenStatic); // client-side cursors are static
    EXPECT_EQ(rs.LockType(), ado::adLockReadOnly);
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_FALSE(rs.Bof());
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    // Names ignore case; the first of two equal names wins.
    EXPECT_EQ(rs.Fields("c").Value().toString(), "a");
    EXPECT_EQ(rs.Fields(" n ").Value().toLong(), 1);
    EXPECT_EQ(RaisedError([&] { rs.Fields("NOPE"); }).Number, vberr::ItemNotFound);
    EXPECT_EQ(RaisedError([&] { rs.Fields(3); }).Number, vberr::ItemNotFound);
    rs.MoveLast();
    EXPECT_EQ(rs.AbsolutePosition(), 3);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.Fields(0).Name(), "C");
    EXPECT_EQ(RaisedError([&] { rs.Fields(0).Value(); }).Number, vberr::NoCurrentRecord);
    EXPECT_EQ(RaisedError([&] { rs.MoveNext(); }).Number, vberr::NoCurrentRecord);
    rs.MoveFirst();
    rs.MoveNext();
    const auto rows = rs.GetRows();
    ASSERT_EQ(rows.size(), 3);    // fields
    ASSERT_EQ(rows[0].size(), 2); // rows from the current one on
    EXPECT_EQ(rows[0][0].toString(), "b");
    EXPECT_EQ(rows[1][1].toLong(), 3);
    EXPECT_TRUE(rs.Eof());
    rs.MoveFirst();
    EXPECT_EQ(rs.GetRows(1)[0].size(), 1);
    EXPECT_EQ(rs.Fields("C").Value().toString(), "b");
    rs.Close();
    EXPECT_EQ(RaisedError([&] { rs.Close(); }).Number, vberr::ObjectClosed);

    Recordset empty;
    empty.Open("SELECT * FROM T WHERE C = 'none'", cn, 0, 1);
    EXPECT_TRUE(empty.Bof());
    EXPECT_TRUE(empty.Eof());
    EXPECT_EQ(empty.RecordCount(), 0);
    EXPECT_EQ(empty.FieldCount(), 5);
    EXPECT_EQ(RaisedError([&] { empty.MoveFirst(); }).Number, vberr::NoCurrentRecord);

    // Server-side forward-only cursors cannot tell their count.
    Connection server;
    server.Open(db.connectionString);
    Recordset fwd;
    fwd.Open("SELECT * FROM T", server, ado::adOpenForwardOnly, ado::adLockReadOnly);
    EXPECT_EQ(fwd.RecordCount(), -1);
    fwd.Close();
    fwd.Open("SELECT * FROM T", server, ado::adOpenStatic, ado::adLockReadOnly);
    EXPECT_EQ(fwd.RecordCount(), 3);
}

TEST_F(SqliteDb, UpdateWritesTheRowUnlessSomeoneChangedIt)
{
    cn.Execute("INSERT INTO T (C, N, M, F) VALUES ('a', 1, 10.5, '1/1/2020')\nINSERT INTO T (C, N) VALUES ('b', 2)");
    Recordset rs;
    rs.Open("SELECT * FROM T WHERE C = 'a'", cn, ado::adOpenDynamic, ado::adLockOptimistic);
    EXPECT_EQ(rs.LockType(), ado::adLockOptimistic);
    rs.Fields("N").setValue(Variant(5));
    rs.Fields("F").setValue(Variant("15/06/24 10:30")); // as the numbering routines write it
    rs.Update();
    EXPECT_EQ(count("SELECT N FROM T WHERE C = 'a'"), 5);
    EXPECT_EQ(scalar("SELECT F FROM T WHERE C = 'a'").toDate(), QDateTime(QDate(2024, 6, 15), QTime(10, 30)));
    EXPECT_EQ(count("SELECT N FROM T WHERE C = 'b'"), 2);
    rs.Fields("M").setValue(Variant(Currency::fromScaled(200000)));
    rs.Update(); // a second update of the same row
    EXPECT_EQ(scalar("SELECT M FROM T WHERE C = 'a'").toCurrency(), Currency::fromScaled(200000));

    // Someone else changes the row in between: the update must not overwrite it.
    Recordset stale;
    stale.Open("SELECT * FROM T WHERE C = 'b'", cn, ado::adOpenDynamic, ado::adLockOptimistic);
    cn.Execute("UPDATE T SET N = 99 WHERE C = 'b'");
    stale.Fields("N").setValue(Variant(3));
    EXPECT_EQ(RaisedError([&] { stale.Update(); }).Number, ado::DB_E_CONCURRENCYVIOLATION);
    EXPECT_EQ(count("SELECT N FROM T WHERE C = 'b'"), 99);

    Recordset ro;
    ro.Open("SELECT * FROM T", cn, 0, ado::adLockReadOnly);
    ro.Fields("N").setValue(Variant(0));
    EXPECT_EQ(RaisedError([&] { ro.Update(); }).Number, ado::adErrFeatureNotAvailable);

    Recordset expr;
    expr.Open("SELECT C, N + 1 AS X FROM T", cn, ado::adOpenDynamic, ado::adLockOptimistic);
    expr.Fields("X").setValue(Variant(0));
    EXPECT_EQ(RaisedError([&] { expr.Update(); }).Number, ado::E_FAIL_);
}

TEST_F(SqliteDb, OpenSchemaListsTablesViewsAndColumns)
{
    Recordset tables = cn.OpenSchema(ado::adSchemaTables);
    QStringList names;
    while (!tables.Eof()) {
        names << tables.Fields("TABLE_NAME").Value().toString();
        tables.MoveNext();
    }
    for (const char *name : {"V_MV_CPTE",
                             "V_MV_CPTEINSUMOS",
                             "V_MV_CPTETAREAS",
                             "V_MV_CPTE_OBSERV",
                             "V_MV_STOCK",
                             "TA_CONFIGURACION",
                             "ta_usuarios",
                             "V_MA_ARTICULOS",
                             "C_MV_CPTE",
                             "SS_MA_CUENTAS",
                             "SS_AC_CUENTAS_DIARIO_CCOSTO",
                             "T"})
        EXPECT_TRUE(names.contains(name)) << name;

    Recordset cols = cn.OpenSchema(ado::adSchemaColumns, {Variant(db.path), Variant(), Variant("v_mv_cpte"), Variant()});
    QStringList columns;
    while (!cols.Eof()) {
        EXPECT_EQ(cols.Fields("TABLE_NAME").Value().toString(), "V_MV_CPTE");
        columns << cols.Fields("COLUMN_NAME").Value().toString();
        cols.MoveNext();
    }
    EXPECT_TRUE(columns.contains("IdComplemento"));
    EXPECT_TRUE(columns.contains("FECHA"));
}

TEST_F(DemoDb, TheDeletionRunsBatchRemovesOneVoucher)
{
    const QString tc = "  RM";
    Recordset rs;
    rs.Open("SELECT * FROM V_MV_CPTE WHERE TC = '" + tc + "' AND FECHA <= '31/12/2030'", cn, 0, 1);
    ASSERT_EQ(rs.RecordCount(), 2);
    const QString id = rs.Fields("IdComprobante").Value().toString();
    const QString comp = rs.Fields("IdComplemento").Value().toString();
    EXPECT_EQ(id.size(), 13);
    const QString key = "TC = '" + tc + "' AND IDCOMPROBANTE = '" + id + "' AND IdComplemento = ";
    const QString batch = "BEGIN TRANSACTION\r\n"
                          "DELETE V_MV_CPTEINSUMOS WHERE "
                          + key + " " + comp
                          + "\r"
                            "DELETE V_MV_CPTETAREAS WHERE "
                          + key + "  " + comp
                          + "\r"
                            "DELETE V_MV_CPTE_OBSERV WHERE "
                          + key + " " + comp
                          + "\r"
                            "DELETE V_MV_CPTE WHERE "
                          + key + comp
                          + "\r"
                            "DELETE V_MV_STOCK WHERE "
                          + key + " " + comp + "\r";
    std::int32_t affected = 0;
    cn.Execute(batch, &affected);
    EXPECT_EQ(affected, 5 + 2 + 1 + 1 + 5);
    cn.Execute("COMMIT TRANSACTION");
    EXPECT_EQ(cn.errors().Count(), 0);
    for (const char *table : {"V_MV_CPTEINSUMOS", "V_MV_CPTETAREAS", "V_MV_CPTE_OBSERV", "V_MV_CPTE", "V_MV_STOCK"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(count(QString("SELECT COUNT(*) FROM %1 WHERE TC = '  RM' AND IDCOMPROBANTE = '%2'").arg(table, id)),
                  0);
        EXPECT_GT(count(QString("SELECT COUNT(*) FROM %1").arg(table)), 0);
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM V_MV_CPTE WHERE TC = '  RM'"), 1);
    // A failing batch undoes itself; the rollback the run sends after it finds nothing open.
    const QString other = scalar("SELECT IDCOMPROBANTE FROM V_MV_CPTE WHERE TC = '  RM'").toString();
    EXPECT_NE(RaisedError([&] {
                  cn.Execute("BEGIN TRANSACTION\r\nDELETE V_MV_CPTEINSUMOS WHERE TC = '  RM' AND IDCOMPROBANTE = '"
                             + other + "'\rDELETE V_MV_NOPE WHERE X = 1\r");
              }).Number,
              0);
    EXPECT_EQ(cn.errors().Count(), 1);
    EXPECT_EQ(cn.provider()->transactionLevel(), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM V_MV_CPTEINSUMOS WHERE TC = '  RM' AND IDCOMPROBANTE = '" + other + "'"), 5);
    EXPECT_EQ(RaisedError([&] { cn.Execute("ROLLBACK TRANSACTION"); }).NativeError, 3903);
}

TEST_F(DemoDb, DemoDataHasUsersConfigurationAndFixedWidthCodes)
{
    EXPECT_EQ(count("SELECT Administrador FROM ta_usuarios WHERE nombre = 'ADMIN'"), 1);
    EXPECT_EQ(count("SELECT Administrador FROM ta_usuarios WHERE nombre = 'operador'"), 0);
    EXPECT_EQ(scalar("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'DepositoDefault'").toString(), "   1");
    EXPECT_EQ(count("SELECT COUNT(DISTINCT TC) FROM V_MV_CPTE"), 4);
    EXPECT_EQ(count("SELECT COUNT(*) FROM V_MV_CPTE WHERE LEN(IDCOMPROBANTE) <> 13"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE SUBSTRING(IDARTICULO, 1, 1) <> ' '"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM SS_MA_CUENTAS"), 0);
}

TEST(RecordingProvider, RecordsCallsAndAnswersScriptedErrors)
{
    Connection cn;
    auto owned = std::make_unique<ado::RecordingProvider>(ado::Platform::Oracle, "OraOLEDB");
    ado::RecordingProvider &rec = *owned;
    rec.fail("V_MV_STOCK", {ado::DB_E_NOTABLE, "ORA-00942: table or view does not exist", {}, "42S02", 942}, 1);
    rec.fail("CommitTrans", {ado::E_FAIL_, "commit failed", {}, {}, 0});
    rec.affect("DELETE", 5);
    ado::RowSet answer;
    answer.columns.push_back({"VALOR", ado::ColumnKind::Text, 255, {}, {}});
    answer.rows.push_back({Variant("SI")});
    rec.answer("TA_CONFIGURACION", answer);
    cn.attachProvider(std::move(owned));
    EXPECT_EQ(cn.platform(), ado::Platform::Oracle);
    EXPECT_EQ(cn.State(), ado::adStateOpen);

    cn.BeginTrans();
    std::int32_t n = 0;
    cn.Execute("DELETE V_MV_CPTE WHERE 1 = 1", &n);
    EXPECT_EQ(n, 5);
    const ErrObject failure = RaisedError([&] { cn.Execute("DELETE V_MV_STOCK WHERE 1 = 1"); });
    EXPECT_EQ(failure.Number, ado::DB_E_NOTABLE);
    EXPECT_EQ(failure.Source, "OraOLEDB");
    EXPECT_EQ(cn.errors().Item(0).NativeError, 942);
    cn.Execute("DELETE V_MV_STOCK WHERE 1 = 1"); // the rule was used up
    EXPECT_EQ(cn.errors().Count(), 0);
    EXPECT_THROW(cn.CommitTrans(), VbException);
    cn.RollbackTrans();

    Recordset rs;
    rs.Open("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'X'", cn);
    EXPECT_EQ(rs.Fields("valor").Value().toString(), "SI");
    EXPECT_EQ(rec.calls(),
              (QStringList{"BeginTrans",
                           "Execute DELETE V_MV_CPTE WHERE 1 = 1",
                           "Execute DELETE V_MV_STOCK WHERE 1 = 1",
                           "Execute DELETE V_MV_STOCK WHERE 1 = 1",
                           "CommitTrans",
                           "RollbackTrans",
                           "Query SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'X'"}));
}

} // namespace
