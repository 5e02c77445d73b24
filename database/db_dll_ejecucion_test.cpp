#include "database/db_dll.h"

#include "platform/ui/scripted_responder.h"
#include "platform/ui/ui.h"
#include "tests/support/base_prueba.h"
#include "tests/support/grabacion.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The statement runner and the recordset opener over a recorded connection.
class StatementsTest : public ::testing::Test
{
protected:
    void attach(ado::Platform platform)
    {
        provider = &AttachRecording(db.gCnn(), platform);
        provider->answer(QStringLiteral("SELECT"), OneRow());
    }
    void SetUp() override { attach(ado::Platform::SqlServer); }

    QString lastCall() const { return provider->calls().isEmpty() ? QString() : provider->calls().last(); }

    ado::RecordingProvider *provider = nullptr;
    DB_Dll db;
    ui::ScriptedResponder responder;
    ui::ScopedResponder scoped{responder};
};

TEST_F(StatementsTest, RewritesBeforeRunningAndWritesBack)
{
    struct Case
    {
        const char *nombre;
        bool admin;
        const char *in;
        const char *sent;
    };
    const Case cases[] = {
        {"update_keeps_table",
         false,
         "UPDATE MA_CUENTAS SET A = 1 WHERE B = 2",
         "UPDATE MA_CUENTAS SET A = 1 WHERE B = 2"},
        {"marker_removed", false, "INSERT INTO @Admin_T (A) VALUES (1)", "INSERT INTO T (A) VALUES (1)"},
        {"marker_lower_case", true, "INSERT INTO @admin_T (A) VALUES (1)", "INSERT INTO T (A) VALUES (1)"},
        {"drop_create_redirected",
         false,
         "DROP VIEW V_X CREATE VIEW V_X AS SELECT * FROM MV_ASIENTOS WHERE 1=1",
         "DROP VIEW V_X CREATE VIEW V_X AS SELECT * FROM SS_MV_ASIENTOS WHERE 1=1"},
        {"drop_create_with_marker",
         false,
         "DROP VIEW V_X CREATE VIEW V_X AS SELECT * FROM MV_ASIENTOS @ADMIN_ WHERE 1=1",
         "DROP VIEW V_X CREATE VIEW V_X AS SELECT * FROM MV_ASIENTOS  WHERE 1=1"},
        {"drop_create_delete",
         false,
         "DROP TABLE X CREATE TABLE X (A INT) DELETE FROM MV_ASIENTOS WHERE 1=1",
         "DROP TABLE X CREATE TABLE X (A INT) DELETE FROM MV_ASIENTOS WHERE 1=1"},
        {"drop_create_any_case",
         false,
         "dRoP view V_X create view V_X AS SELECT * FROM MV_ASIENTOS WHERE 1=1",
         "dRoP view V_X create view V_X AS SELECT * FROM SS_MV_ASIENTOS WHERE 1=1"},
        {"drop_at_the_end",
         false,
         "CREATE VIEW V_X AS SELECT * FROM MV_ASIENTOS WHERE 1=1 drop",
         "CREATE VIEW V_X AS SELECT * FROM SS_MV_ASIENTOS WHERE 1=1 drop"},
        {"drop_cut_at_the_end",
         false,
         "CREATE VIEW V_X AS SELECT * FROM MV_ASIENTOS WHERE 1=1 DRO",
         "CREATE VIEW V_X AS SELECT * FROM MV_ASIENTOS WHERE 1=1 DRO"},
        // Typed texts in quotes are data: no marker is taken out of them, and
        // words in them neither redirect the statement nor keep it as it is.
        {"quoted_marker_stays",
         false,
         "UPDATE @Admin_T SET OBS = 'x@Admin_y' WHERE 1=1",
         "UPDATE T SET OBS = 'x@Admin_y' WHERE 1=1"},
        {"quoted_drop_create",
         false,
         "UPDATE MV_ASIENTOS SET OBS = 'drop, create' WHERE 1=1",
         "UPDATE MV_ASIENTOS SET OBS = 'drop, create' WHERE 1=1"},
        {"quoted_delete_marker",
         false,
         "DROP VIEW V_X CREATE VIEW V_X AS SELECT * FROM MV_ASIENTOS WHERE A = 'delete @admin_'",
         "DROP VIEW V_X CREATE VIEW V_X AS SELECT * FROM SS_MV_ASIENTOS WHERE A = 'delete @admin_'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        db.gEsAdmin = c.admin;
        QString sql = QString::fromUtf8(c.in);
        db.EjecutaConsultaSQL(sql);
        EXPECT_EQ(lastCall(), QStringLiteral("Execute ") + QString::fromUtf8(c.sent));
        EXPECT_EQ(sql, QString::fromUtf8(c.sent));
    }
    EXPECT_TRUE(responder.requests().empty());
}

TEST_F(StatementsTest, ReturnsRowsAffected)
{
    provider->affect(QStringLiteral("DELETE"), 7);
    std::int32_t rows = 0;
    db.EjecutaConsultaSQL(QStringLiteral("DELETE FROM T"), &rows);
    EXPECT_EQ(rows, 7);
}

TEST_F(StatementsTest, FailureMessagesFollowTheRules)
{
    struct Case
    {
        const char *nombre;
        const char *sql;
        ado::Error error;
        bool message;
    };
    const Case cases[] = {
        {"generic", "DELETE FROM T", Failure(ado::E_FAIL_), false},
        {"constraint", "DELETE FROM T", Failure(ado::DB_E_INTEGRITYVIOLATION), false},
        {"no_table", "DELETE FROM T", Failure(ado::DB_E_NOTABLE), false},
        {"syntax", "DELETE FROM T", Failure(ado::DB_E_ERRORSINCOMMAND), false},
        {"timeout",
         "DELETE FROM T",
         Failure(ado::DB_E_ABORTLIMITREACHED, QStringLiteral("Tiempo de espera agotado")),
         true},
        {"timeout_in_transaction",
         "BEGIN TRANSACTION DELETE FROM T COMMIT TRANSACTION",
         Failure(ado::DB_E_ABORTLIMITREACHED),
         false},
        {"commit_failing", "COMMIT TRANSACTION", Failure(ado::E_FAIL_), false},
        {"trans_only_in_quotes",
         "UPDATE T SET OBS = 'transporte'",
         Failure(ado::DB_E_ABORTLIMITREACHED, QStringLiteral("Tiempo de espera agotado")),
         true},
        // A refused truncation is no success: it stays for the caller, without a message.
        {"truncation",
         "INSERT INTO T (A) VALUES ('xxxxxxxx')",
         Failure(std::int32_t(0x80040E57), QStringLiteral("truncado"), 8152),
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        [&] {
            responder.clear();
            attach(ado::Platform::SqlServer);
            provider->fail(QString::fromUtf8(c.sql).left(6), c.error);
            db.EjecutaConsultaSQL(QString::fromUtf8(c.sql)); // never raises
            ASSERT_EQ(db.gCnn().errors().Count(), 1);
            EXPECT_EQ(db.gCnn().errors().Item(0).NativeError, c.error.NativeError);
            ASSERT_EQ(responder.requests().size(), c.message ? 1u : 0u);
            if (c.message) {
                EXPECT_EQ(responder.last().prompt, c.error.Description);
                EXPECT_EQ(responder.last().style, 16);
                EXPECT_EQ(responder.last().title, QStringLiteral("Aviso al operador!!!"));
            }
        }();
    }
}

TEST_F(StatementsTest, TruncationAfterSuccessStaysForTheCaller)
{
    LeavingProvider &leaving = AttachRecording<LeavingProvider>(db.gCnn(), ado::Platform::SqlServer);
    for (std::size_t entries : {1u, 2u, 3u}) {
        SCOPED_TRACE(entries);
        leaving.leaveAfterEach(
            std::vector<ado::Error>(entries, Failure(std::int32_t(0x80040E57), QStringLiteral("truncado"), 8152)));
        db.EjecutaConsultaSQL(QStringLiteral("INSERT INTO T (A) VALUES ('xxxxxxxx')"));
        EXPECT_EQ(db.gCnn().errors().Count(), int(entries));
    }
    EXPECT_TRUE(responder.requests().empty());
}

TEST_F(StatementsTest, OracleIsThePlatformNotTheWord)
{
    // A SQL Server host named ORACLE01 runs the batch as one text.
    db.gCnn().setConnectionString(QStringLiteral("Provider=SQLOLEDB;Server=ORACLE01;"));
    db.EjecutaConsultaSQL(QStringLiteral("BEGIN TRANSACTION DELETE FROM T COMMIT TRANSACTION"));
    EXPECT_EQ(provider->calls(), QStringList{"Execute BEGIN TRANSACTION DELETE FROM T COMMIT TRANSACTION"});

    attach(ado::Platform::Oracle);
    QString sql = QStringLiteral("BEGIN TRANSACTION DELETE FROM T COMMIT TRANSACTION");
    db.EjecutaConsultaSQL(sql);
    EXPECT_EQ(provider->calls(), (QStringList{"BeginTrans", "Execute DELETE FROM T", "CommitTrans"}));
    EXPECT_TRUE(sql.isEmpty());

    // A script that sends nothing leaves no errors of an earlier statement behind.
    provider->fail(QStringLiteral("FROM MALA"), Failure(ado::DB_E_NOTABLE));
    db.EjecutaConsultaSQL(QStringLiteral("DELETE FROM MALA"));
    ASSERT_EQ(db.gCnn().errors().Count(), 1);
    db.EjecutaConsultaSQL(QStringLiteral("SET NOCOUNT  ON"));
    EXPECT_EQ(db.gCnn().errors().Count(), 0);
}

TEST_F(StatementsTest, RecordsetQueriesPassSynonymsAndDialect)
{
    struct Case
    {
        const char *nombre;
        ado::Platform platform;
        bool convert;
        const char *sent;
    };
    const Case cases[] = {
        {"sql_server", ado::Platform::SqlServer, true, "SELECT TOP 1 [A] FROM SS_MA_CUENTAS "},
        {"oracle", ado::Platform::Oracle, true, "SELECT  \"A\" FROM SS_MA_CUENTAS  WHERE ROWNUM <= 1  "},
        {"oracle_unconverted", ado::Platform::Oracle, false, "SELECT TOP 1 [A] FROM SS_MA_CUENTAS "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        attach(c.platform);
        QString sql = QStringLiteral("SELECT TOP 1 [A] FROM MA_CUENTAS ");
        ado::Recordset rs;
        db.AbrirRecordset(sql, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, c.convert);
        EXPECT_EQ(rs.State(), ado::adStateOpen);
        EXPECT_EQ(lastCall(), QStringLiteral("Query ") + QString::fromUtf8(c.sent));
        // Only the synonyms come back to the caller.
        EXPECT_EQ(sql, QStringLiteral("SELECT TOP 1 [A] FROM SS_MA_CUENTAS "));
    }
    EXPECT_TRUE(responder.requests().empty());
}

TEST_F(StatementsTest, RecordsetIsReusedAndFailureLeavesItClosed)
{
    ado::Recordset rs;
    QString first = QStringLiteral("SELECT 1 FROM T");
    db.AbrirRecordset(first, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    ASSERT_EQ(rs.State(), ado::adStateOpen);
    QString second = QStringLiteral("SELECT 2 FROM T");
    db.AbrirRecordset(second, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    EXPECT_EQ(rs.State(), ado::adStateOpen);
    EXPECT_EQ(rs.Source(), second);
    EXPECT_TRUE(responder.requests().empty());

    // The error dialog's Retry runs the opening again; Abort leaves it closed.
    provider->fail(QStringLiteral("FROM MALA"), Failure(ado::DB_E_NOTABLE));
    responder.answer(ui::vbRetry).answer(ui::vbAbort);
    provider->clearCalls();
    QString bad = QStringLiteral("SELECT 1 FROM MALA");
    db.AbrirRecordset(bad, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    EXPECT_EQ(responder.requests().size(), 2u);
    EXPECT_EQ(provider->calls().size(), 2);
    EXPECT_EQ(rs.State(), ado::adStateClosed);
}

TEST_F(StatementsTest, ClosingWhatIsNotOpenDoesNothing)
{
    ado::Recordset rs;
    db.CierraRecordset(nullptr);
    db.CierraRecordset(&rs);
    db.CierraRecordset(&rs);
    EXPECT_TRUE(responder.requests().empty());

    QString sql = QStringLiteral("SELECT 1 FROM T");
    db.AbrirRecordset(sql, rs, &db.gCnn(), ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    db.CierraRecordset(&rs);
    EXPECT_EQ(rs.State(), ado::adStateClosed);
    db.CierraRecordset(&rs);
    EXPECT_TRUE(responder.requests().empty());
}

} // namespace

namespace {

// The same operations on the embedded engine, on a table of its own.
class StatementsEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db.gCnn().Open(MakeFixtureDb(dir.path(), false, 0, QStringLiteral("t.db")).connectionString);
        db.gEsAdmin = true;
        db.EjecutaConsultaSQL(QStringLiteral("CREATE TABLE T (A INT PRIMARY KEY, B VARCHAR(10))"));
        db.EjecutaConsultaSQL(QStringLiteral("INSERT INTO @Admin_T (A, B) VALUES (1, 'uno')"));
        db.EjecutaConsultaSQL(QStringLiteral("INSERT INTO T (A, B) VALUES (2, 'dos')"));
        ASSERT_EQ(db.gCnn().errors().Count(), 0);
    }

    QTemporaryDir dir;
    DB_Dll db;
    ui::ScriptedResponder responder;
    ui::ScopedResponder scoped{responder};
};

TEST_F(StatementsEngineTest, FailuresLeftToTheCallerShowNothing)
{
    for (const char *sql :
         {"COMMIT TRANSACTION", "SELEC * FROM T", "INSERT INTO T (A, B) VALUES (1, 'otra')", "DELETE FROM NO_EXISTE"}) {
        SCOPED_TRACE(sql);
        db.EjecutaConsultaSQL(QString::fromUtf8(sql));
        EXPECT_GT(db.gCnn().errors().Count(), 0);
    }
    EXPECT_TRUE(responder.requests().empty());

    // The next good statement starts with a clean collection.
    std::int32_t rows = 0;
    db.EjecutaConsultaSQL(QStringLiteral("UPDATE T SET B = 'x'"), &rows);
    EXPECT_EQ(db.gCnn().errors().Count(), 0);
    EXPECT_EQ(rows, 2);
}

TEST_F(StatementsEngineTest, TimeOutShowsItsDescription)
{
    db.gCnn().setCommandTimeout(1);
    db.EjecutaConsultaSQL(
        QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT 1 FROM c) SELECT COUNT(*) FROM c"));
    ASSERT_EQ(db.gCnn().errors().Count(), 1);
    EXPECT_EQ(db.gCnn().errors().Item(0).Number, ado::DB_E_ABORTLIMITREACHED);
    ASSERT_EQ(responder.requests().size(), 1u);
    EXPECT_EQ(responder.last().prompt, db.gCnn().errors().Item(0).Description);
    EXPECT_EQ(responder.last().style, 16);
    EXPECT_EQ(responder.last().title, QStringLiteral("Aviso al operador!!!"));
}

TEST_F(StatementsEngineTest, OpenRecordsetIsClosedAndReopened)
{
    ado::Recordset rs;
    QString first = QStringLiteral("SELECT A FROM T WHERE A = 1");
    db.AbrirRecordset(first, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    ASSERT_EQ(rs.State(), ado::adStateOpen);
    EXPECT_EQ(rs.Fields(0).Value().toString(), QStringLiteral("1"));

    QString second = QStringLiteral("SELECT A FROM T WHERE A = 2");
    db.AbrirRecordset(second, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    ASSERT_EQ(rs.State(), ado::adStateOpen);
    EXPECT_EQ(rs.Fields(0).Value().toString(), QStringLiteral("2"));
    db.CierraRecordset(&rs);
    EXPECT_EQ(rs.State(), ado::adStateClosed);
    EXPECT_TRUE(responder.requests().empty());
}

} // namespace
