#include "database/db_dll.h"

#include "platform/ui/scripted_responder.h"
#include "platform/ui/ui.h"
#include "tests/support/grabacion.h"

#include <gtest/gtest.h>

namespace {

// A connection object on an Oracle connection whose calls are recorded.
class OracleScriptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        provider = &AttachRecording<LeavingProvider>(db.gCnn(), ado::Platform::Oracle);
        db.gEsAdmin = true;
    }

    QStringList run(QString &script, std::int32_t *rows = nullptr)
    {
        provider->clearCalls();
        db.EjecutaScriptOracle(script, rows);
        return provider->calls();
    }

    LeavingProvider *provider = nullptr;
    DB_Dll db;
    ui::ScriptedResponder responder;
    ui::ScopedResponder scoped{responder};
};

TEST_F(OracleScriptTest, CutsBatchesIntoCalls)
{
    struct Case
    {
        const char *nombre;
        const char *script;
        QStringList calls;
    };
    const Case cases[] = {
        {"purge_batch",
         "BEGIN TRANSACTION\r\nDELETE FROM A WHERE K = 1\rDELETE FROM B WHERE K = 1\rDELETE FROM C WHERE K = 1\r"
         "DELETE FROM D WHERE K = 1\rDELETE FROM E WHERE K = 1\r",
         {"BeginTrans",
          "Execute DELETE FROM A WHERE K = 1",
          "Execute DELETE FROM B WHERE K = 1",
          "Execute DELETE FROM C WHERE K = 1",
          "Execute DELETE FROM D WHERE K = 1",
          "Execute DELETE FROM E WHERE K = 1"}},
        {"alter_and_grant",
         "ALTER TABLE T ADD X INT GRANT SELECT ON T TO U",
         {"Execute ALTER TABLE T ADD X INT", "Execute GRANT SELECT ON T TO U"}},
        {"commit_alone", "COMMIT TRANSACTION", {"CommitTrans"}},
        {"rollback_trans", "ROLLBACK TRANS", {"RollbackTrans"}},
        {"leading_blanks", "  \r\n  INSERT INTO T (A) VALUES (1)", {"Execute INSERT INTO T (A) VALUES (1)"}},
        {"go_and_nocount",
         "SET NOCOUNT ON\r\nGO\r\nDROP VIEW V\r\nGO\r\nCREATE VIEW V AS SELECT 1 X FROM DUAL\r\nSET NOCOUNT OFF",
         {"Execute DROP VIEW V", "Execute CREATE VIEW V AS SELECT 1 X FROM DUAL"}},
        {"odd_nocount_drops_statement", "DELETE FROM T SET NOCOUNT  ON", {}},
        {"select_only", "SELECT * FROM T", {}},
        {"keyword_inside_literal",
         "UPDATE T SET A = 'COMMIT TRANSACTION', B = 'x DELETE FROM y' WHERE LASTUPDATE = 1",
         {"Execute UPDATE T SET A = 'COMMIT TRANSACTION', B = 'x DELETE FROM y' WHERE LASTUPDATE = 1"}},
        {"keyword_inside_word",
         "UPDATE T SET FECHA_LASTUPDATE = 1 WHERE K = 2",
         {"Execute UPDATE T SET FECHA_LASTUPDATE = 1 WHERE K = 2"}},
        {"line_break_kept_in_literal",
         "INSERT INTO T (A) VALUES ('uno\r\ndos')",
         {"Execute INSERT INTO T (A) VALUES ('uno\r\ndos')"}},
        {"begin_before_select", "BEGIN TRANSACTION SELECT 1 FROM DUAL", {"Execute SET TRANSACTION SELECT 1 FROM DUAL"}},
        {"converted_each",
         "BEGIN TRAN\r\nUPDATE [T] SET A = ISNULL(B, 0)\r\nCOMMIT TRANSACTION",
         // "BEGIN TRAN" is no keyword: it stays in front of the first one and never runs.
         {"Execute UPDATE \"T\" SET A = NVL(B, 0)", "CommitTrans"}},
        // Comments go before the lines are joined; names and N'...' texts are read whole.
        {"line_comment_inside_statement",
         "DELETE FROM A -- the voucher's lines\r\nWHERE K = 1\r\nDELETE FROM B WHERE K = 1",
         {"Execute DELETE FROM A  WHERE K = 1", "Execute DELETE FROM B WHERE K = 1"}},
        {"block_comments",
         "/* INSERT nothing */ DELETE FROM A/* it's */WHERE K = 1\r\n/* DELETE\r\nFROM C */DELETE FROM B WHERE K = 1",
         {"Execute DELETE FROM A WHERE K = 1", "Execute DELETE FROM B WHERE K = 1"}},
        {"keyword_inside_name",
         "UPDATE T SET [DELETE FROM] = 1 WHERE K = 1",
         {"Execute UPDATE T SET \"DELETE FROM\" = 1 WHERE K = 1"}},
        {"national_texts",
         "INSERT INTO T (A) VALUES (N'it''s COMMIT TRANSACTION -- no')\r\nDELETE FROM T WHERE A = N'x'",
         {"Execute INSERT INTO T (A) VALUES (N'it''s COMMIT TRANSACTION -- no')",
          "Execute DELETE FROM T WHERE A = N'x'"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        QString script = QString::fromUtf8(c.script);
        EXPECT_EQ(run(script), c.calls);
    }
}

TEST_F(OracleScriptTest, AddsRowCountsAndConsumesText)
{
    provider->affect(QStringLiteral("FROM A"), 3);
    provider->affect(QStringLiteral("FROM B"), 4);
    std::int32_t rows = 10; // added to, never reset
    QString script = QStringLiteral("BEGIN TRANSACTION\r\nDELETE FROM A\rDELETE FROM B\rCOMMIT TRANSACTION");
    run(script, &rows);
    EXPECT_EQ(rows, 17);
    EXPECT_TRUE(script.isEmpty());

    QString select = QStringLiteral("SELECT A\r\nFROM T");
    run(select, &rows);
    EXPECT_EQ(rows, 17);
    EXPECT_EQ(select, QStringLiteral("SELECT A FROM T")); // as the preparation left it
}

TEST_F(OracleScriptTest, GuardsDecideWhetherTheirStatementRuns)
{
    struct Case
    {
        const char *nombre;
        const char *script;
        bool found;
        bool runs;
    };
    const Case cases[] = {
        {"not_exists_missing", "IF NOT EXISTS (SELECT * FROM T WHERE A = 1) INSERT INTO T (A) VALUES (1)", false, true},
        {"not_exists_present", "IF NOT EXISTS (SELECT * FROM T WHERE A = 1) INSERT INTO T (A) VALUES (1)", true, false},
        {"exists_present", "IF EXISTS (SELECT * FROM T WHERE A = 1) DELETE FROM T WHERE A = 1", true, true},
        {"exists_missing", "IF EXISTS (SELECT * FROM T WHERE A = 1) DELETE FROM T WHERE A = 1", false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        [&] {
            provider = &AttachRecording<LeavingProvider>(db.gCnn(), ado::Platform::Oracle);
            provider->answer(QStringLiteral("FROM T WHERE A = 1"), c.found ? OneRow() : NoRows());
            QString script = QString::fromUtf8(c.script);
            const QStringList calls = run(script);
            ASSERT_FALSE(calls.isEmpty());
            EXPECT_EQ(calls.first(), QStringLiteral("Query SELECT * FROM T WHERE A = 1"));
            EXPECT_EQ(calls.size(), c.runs ? 2 : 1) << calls.join(QLatin1Char('|')).toStdString();
        }();
    }
    // The statement after the guarded one always runs.
    provider = &AttachRecording<LeavingProvider>(db.gCnn(), ado::Platform::Oracle);
    provider->answer(QStringLiteral("FROM T WHERE A = 1"), OneRow());
    QString script = QStringLiteral(
        "IF NOT EXISTS (SELECT * FROM T WHERE A = 1) INSERT INTO T (A) VALUES (1) UPDATE T SET B = 2");
    EXPECT_EQ(run(script), (QStringList{"Query SELECT * FROM T WHERE A = 1", "Execute UPDATE T SET B = 2"}));
}

TEST_F(OracleScriptTest, FilterDropsNocountAndGuards)
{
    EXPECT_EQ(db.FiltraSentenciaOracle(QStringLiteral("set nocount on")), QString());
    EXPECT_EQ(db.FiltraSentenciaOracle(QStringLiteral("if not exists (select 1)")), QString());
    EXPECT_EQ(db.FiltraSentenciaOracle(QStringLiteral("DELETE FROM T")), QStringLiteral("DELETE FROM T"));
    // Typed into a quoted text, the words are data and the statement runs.
    const QString dato = QStringLiteral("INSERT INTO T (OBS) VALUES ('set nocount on; if not exists')");
    EXPECT_EQ(db.FiltraSentenciaOracle(dato), dato);
}

TEST_F(OracleScriptTest, NoResultStatusIsClearedOnlyWhenAlone)
{
    provider->leaveAfterEach({Failure(265929)});
    QString one = QStringLiteral("DELETE FROM T");
    run(one);
    EXPECT_EQ(db.gCnn().errors().Count(), 0);

    provider->leaveAfterEach({Failure(265929), Failure(265929)});
    QString two = QStringLiteral("DELETE FROM T");
    run(two);
    EXPECT_EQ(db.gCnn().errors().Count(), 2);
}

// Through the statement runner: a failure ends the script and reaches its handler.
TEST_F(OracleScriptTest, FailureEndsScriptAndLeavesRest)
{
    struct Case
    {
        const char *nombre;
        std::int32_t number;
        bool message;
    };
    const Case cases[] = {
        {"command_error_silent", ado::DB_E_ERRORSINCOMMAND, false},
        {"timeout_shown", ado::DB_E_ABORTLIMITREACHED, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        [&] {
            responder.clear();
            provider->clearCalls();
            provider->fail(QStringLiteral("FROM B"), Failure(c.number, QStringLiteral("Tiempo de espera agotado")), 1);
            QString script = QStringLiteral("BEGIN TRANSACTION\r\nDELETE FROM A\rDELETE FROM B\rCOMMIT TRANSACTION");
            db.EjecutaConsultaSQL(script);
            EXPECT_EQ(provider->calls(), (QStringList{"BeginTrans", "Execute DELETE FROM A", "Execute DELETE FROM B"}));
            // The rest from the failing statement on, with the transaction words rewritten.
            EXPECT_EQ(script, QStringLiteral("DELETE FROM B COMMIT"));
            EXPECT_EQ(db.gCnn().errors().Count(), 1);
            ASSERT_EQ(responder.requests().size(), c.message ? 1u : 0u);
            if (c.message) {
                EXPECT_EQ(responder.last().prompt, QStringLiteral("Tiempo de espera agotado"));
                EXPECT_EQ(responder.last().style, 16);
                EXPECT_EQ(responder.last().title, QStringLiteral("Aviso al operador!!!"));
            }
            db.gCnn().RollbackTrans();
        }();
    }
}

} // namespace
