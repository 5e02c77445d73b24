#include "database/transaccion.h"

#include "database/db_dll.h"
#include "platform/ui/scripted_responder.h"
#include "tests/support/error_provocado.h"
#include "tests/support/grabacion.h"
#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

namespace {

const QString kLote = QStringLiteral("BEGIN TRANSACTION\r\nDELETE T WHERE K = 1\r");

class TransaccionTest : public ::testing::Test
{
protected:
    void SetUp() override { provider = &AttachRecording(db.gCnn(), ado::Platform::SqlServer); }

    DB_Dll db;
    ado::RecordingProvider *provider = nullptr;
    ui::ScriptedResponder responder;
    ui::ScopedResponder scoped{responder};
};

// Begun by the connection: what is sent, what raises, and what a failed
// rollback on leaving leaves behind.
TEST_F(TransaccionTest, OnTheConnectionIsRolledBackUnlessCommitted)
{
    struct Caso
    {
        const char *nombre;
        const char *falla; // the call that fails, if any
        bool confirma;
        QStringList llamadas;
        bool raises;
        int erroresAlFinal;
    };
    const Caso casos[] = {
        {"confirmada", "", true, {"BeginTrans", "CommitTrans"}, false, 0},
        {"sin_confirmar", "", false, {"BeginTrans", "RollbackTrans"}, false, 0},
        {"no_empieza", "BeginTrans", true, {"BeginTrans"}, true, 1},
        {"confirmacion_fallida", "CommitTrans", true, {"BeginTrans", "CommitTrans", "RollbackTrans"}, true, 0},
        {"deshacer_fallido", "RollbackTrans", false, {"BeginTrans", "RollbackTrans"}, false, 1},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        SetUp();
        if (*c.falla)
            provider->fail(QString::fromLatin1(c.falla), Failure(ado::DB_E_ERRORSINCOMMAND));
        const int raised = RaisedNumber([&] {
            Transaccion t(db.gCnn());
            EXPECT_TRUE(t.Abierta());
            if (c.confirma) {
                t.Confirma();
                EXPECT_FALSE(t.Abierta());
            }
        });
        EXPECT_EQ(raised != 0, c.raises);
        EXPECT_EQ(provider->calls(), c.llamadas);
        EXPECT_EQ(db.gCnn().errors().Count(), c.erroresAlFinal);
    }
}

// Begun by a batch: every step goes as a statement, each answers its first
// error instead of raising, and the transaction is rolled back before the
// object is gone whenever the commit did not succeed.
TEST_F(TransaccionTest, OpenedByABatchAnswersErrorsAndRollsBack)
{
    struct Caso
    {
        const char *nombre;
        const char *falla;
        std::optional<QString> errorDelLote, errorDelCommit;
        QStringList llamadas;
    };
    const QString lote = QStringLiteral("Execute ") + kLote;
    const Caso casos[] = {
        {"confirmada", "", {}, {}, {lote, "Execute COMMIT TRANSACTION"}},
        {"lote_fallido", "DELETE T", QStringLiteral("falla"), {}, {lote, "Execute ROLLBACK TRANSACTION"}},
        {"confirmacion_fallida",
         "COMMIT",
         {},
         QStringLiteral("falla"),
         {lote, "Execute COMMIT TRANSACTION", "Execute ROLLBACK TRANSACTION"}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        SetUp();
        if (*c.falla)
            provider->fail(QString::fromLatin1(c.falla), Failure(ado::DB_E_ERRORSINCOMMAND));
        {
            Transaccion t(db);
            EXPECT_FALSE(t.Abierta());
            const std::optional<QString> error = t.Abre(kLote);
            EXPECT_EQ(error, c.errorDelLote);
            if (!error) {
                EXPECT_EQ(t.Confirma(), c.errorDelCommit);
            }
        }
        EXPECT_EQ(provider->calls(), c.llamadas);
    }
    EXPECT_TRUE(responder.requests().empty());
}

TEST_F(TransaccionTest, ABatchRunAgainRollsBackTheOneBeforeIt)
{
    provider->affect(QStringLiteral("DELETE T"), 1);
    Transaccion t(db);
    std::int32_t afectadas = 0;
    EXPECT_FALSE(t.Abre(kLote, &afectadas));
    EXPECT_FALSE(t.Abre(kLote, &afectadas));
    EXPECT_EQ(afectadas, 1);
    t.Deshace();
    t.Deshace();
    const QString lote = QStringLiteral("Execute ") + kLote;
    EXPECT_EQ(provider->calls(),
              (QStringList{lote, "Execute ROLLBACK TRANSACTION", lote, "Execute ROLLBACK TRANSACTION"}));
}

// A failed rollback on leaving neither raises nor asks the operator: its
// error waits in the collection.
TEST_F(TransaccionTest, AFailedRollbackOfABatchStaysInTheCollection)
{
    provider->fail(QStringLiteral("ROLLBACK"), Failure(ado::DB_E_ERRORSINCOMMAND, QStringLiteral("sin transaccion")));
    {
        Transaccion t(db);
        (void) t.Abre(kLote);
    }
    ASSERT_EQ(db.gCnn().errors().Count(), 1);
    EXPECT_EQ(db.gCnn().errors().Item(0).Description, QStringLiteral("sin transaccion"));
    EXPECT_TRUE(responder.requests().empty());
}

// The connection gone before the object: leaving it is no crash.
TEST_F(TransaccionTest, AClosedConnectionIsNoCrash)
{
    EXPECT_EQ(RaisedNumber([&] {
                  Transaccion t(db.gCnn());
                  db.gCnn().Close();
              }),
              0);
}

} // namespace
