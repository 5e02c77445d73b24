#include "platform/ado/sql_text.h"
#include "platform/ado/sqlite_dialect.h"
#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

namespace {

// The marked text with its marks shown as "#".
QString Visible(const QString &sql)
{
    QString out = ado::codeOutsideQuotes(sql);
    out.replace(QChar(ado::kQuotedMark), QLatin1Char('#'));
    return out;
}

TEST(CodeOutsideQuotes, WritesOverQuotedTextsNamesAndCommentsInPlace)
{
    struct Caso
    {
        const char *sql;
        const char *visible;
    };
    const Caso casos[] = {
        {"SELECT A FROM T ORDER BY A", "SELECT A FROM T ORDER BY A"},
        {"x like 'order by%' order by A", "x like ########### order by A"},
        {"x = 'O''Brien' and y = ''", "x = ########## and y = ##"},
        {"x = N'ñandú' or 1", "x = ######## or 1"},
        {"SELECT [order by], \"where\" FROM T", "SELECT ##########, ####### FROM T"},
        {"[a]]b] = 1", "###### = 1"},
        {"a -- where x\nb /* order\nby */ c", "a ##########\nb ############## c"},
        {"x like '%' + ';' + '--'", "x like ### + ### + ####"},
        {"'a'OR B = 1", "###OR B = 1"},
        {"x = 'unclosed order by", "x = ##################"},
        {"x /* unclosed where", "x #################"},
        {"nombre like 'a' where", "nombre like ### where"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.sql);
        const QString sql = QString::fromUtf8(c.sql);
        EXPECT_EQ(Visible(sql), QString::fromUtf8(c.visible));
        EXPECT_EQ(ado::codeOutsideQuotes(sql).size(), sql.size());
    }
}

TEST(ReplaceOutsideQuotes, ReplacesOnlyWhatIsWrittenAsSql)
{
    EXPECT_EQ(ado::replaceOutsideQuotes(QStringLiteral("SELECT * FROM v_ma_articulos WHERE D = 'V_MA_ARTICULOS' "
                                                       "OR [V_MA_ARTICULOS] = V_MA_ARTICULOS.X"),
                                        QStringLiteral("V_MA_ARTICULOS"),
                                        QStringLiteral("VT_MA_ARTICULOS")),
              QStringLiteral("SELECT * FROM VT_MA_ARTICULOS WHERE D = 'V_MA_ARTICULOS' "
                             "OR [V_MA_ARTICULOS] = VT_MA_ARTICULOS.X"));
    EXPECT_EQ(ado::replaceOutsideQuotes(QStringLiteral("'a'"), QStringLiteral("a"), QStringLiteral("b")),
              QStringLiteral("'a'"));
}

TEST(StatementCount, CountsTheStatementsABatchIsCutInto)
{
    struct Caso
    {
        const char *sql;
        int n;
    };
    const Caso casos[] = {
        {"SELECT A FROM T", 1},
        {"SELECT A FROM T;", 1},
        {"SELECT A FROM T WHERE X like '1; DELETE FROM T --%'", 1},
        {"SELECT A FROM T WHERE X like '1'; DELETE FROM T --%'", 2},
        {"SELECT A FROM T\nUNION\nSELECT B FROM U", 1},
        {"SELECT A FROM T\nWHERE B IN\n(SELECT B FROM U)", 1},
        {"SELECT 1\nSELECT 2", 2},
        {"SELECT 1\nGO\nSELECT 2", 2},
        {"DELETE FROM T; DROP TABLE U", 2},
        {"x = 'unclosed; DELETE FROM T", 1},
        {"", 0},
        {" ; -- nothing", 0},
        // On one line, without ";"
        {"  \t ", 0},
        {"-- SELECT 1", 0},
        {"/* SELECT 1 */", 0},
        {"/* a */ SELECT 1 /* b */ SELECT 2", 1},
        {"/* unclosed SELECT 1", 1},
        {"SELECT 'a' SELECT 'b'", 1},
        {"SELECT A FROM T WHERE B = 'unclosed", 1},
        {"GO", 0},
        {" go--x", 0},
        {"GO SELECT 1", 1},
        {"GOTO", 1},
        {"SELECT N'ñandú'", 1},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.sql);
        const QString sql = QString::fromUtf8(c.sql);
        EXPECT_EQ(ado::statementCount(sql), c.n);
        // As the batch is cut when it runs.
        try {
            EXPECT_EQ(ado::SqliteDialect::statements(sql).at.size(), size_t(c.n));
        } catch (const ado::DialectError &) {
        }
    }
}

} // namespace
