#include "database/sentencias.h"

#include "database/db_dll.h"
#include "platform/ui/scripted_responder.h"
#include "tests/support/grabacion.h"
#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

namespace {

class SentenciasTest : public ::testing::Test
{
protected:
    void SetUp() override { provider = &AttachRecording(db.gCnn(), ado::Platform::SqlServer); }

    ado::RecordingProvider *provider = nullptr;
    DB_Dll db;
    ui::ScriptedResponder responder;
    ui::ScopedResponder scoped{responder};
};

TEST_F(SentenciasTest, RunningSendsEachStatementAndTellsAFailure)
{
    provider->fail(QStringLiteral("MV_ASIENTOS"), Failure(-2147217900, QStringLiteral("sin tabla")));
    Sentencias salida = Sentencias::Ejecutar(db);
    EXPECT_FALSE(salida.Devuelve());
    EXPECT_TRUE(salida.Envia(QStringLiteral("INSERT INTO V_MV_STOCK (A) VALUES (1)")));
    EXPECT_FALSE(salida.Envia(QStringLiteral("INSERT INTO MV_ASIENTOS (A) VALUES (2)")));
    EXPECT_EQ(db.gCnn().errors().Count(), 1) << "the failure stays for the caller to read";
    EXPECT_TRUE(salida.Envia(QStringLiteral("INSERT INTO V_MV_STOCK (A) VALUES (3)")))
        << "an earlier failure does not spoil the next statement";
    EXPECT_EQ(provider->calls(),
              (QStringList{QStringLiteral("Execute INSERT INTO V_MV_STOCK (A) VALUES (1)"),
                           QStringLiteral("Execute INSERT INTO MV_ASIENTOS (A) VALUES (2)"),
                           QStringLiteral("Execute INSERT INTO V_MV_STOCK (A) VALUES (3)")}));
    EXPECT_EQ(provider->calls().filter(QStringLiteral("Trans")).size(), 0) << "running opens no transaction";
}

TEST_F(SentenciasTest, HandingBackAppendsAfterWhatTheCallerHasAndRunsNothing)
{
    struct Case
    {
        const char *nombre;
        const char *antes;
        const char *separador;
        const char *despues;
    };
    const Case cases[] = {
        {"carriage return before each", "", "\r", "\rUNO\rDOS"},
        {"CR LF before each", "", "\r\n", "\r\nUNO\r\nDOS"},
        {"the caller's text is kept in front", "PREVIO", "\r", "PREVIO\rUNO\rDOS"},
        {"no separator", "", "", "UNODOS"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        QString texto = QString::fromUtf8(c.antes);
        Sentencias salida = Sentencias::Devolver(texto, QString::fromUtf8(c.separador));
        EXPECT_TRUE(salida.Devuelve());
        EXPECT_TRUE(salida.Envia(QStringLiteral("UNO")));
        EXPECT_TRUE(salida.Envia(QStringLiteral("DOS")));
        EXPECT_EQ(texto, QString::fromUtf8(c.despues));
    }
    EXPECT_TRUE(provider->calls().isEmpty());
}

TEST(Sentencias, SegunFollowsTheOperationsArgument)
{
    QString texto;
    EXPECT_TRUE(Sentencias::Segun(true, texto, QStringLiteral("\r")).Devuelve());
    EXPECT_FALSE(Sentencias::Segun(false, texto, QStringLiteral("\r")).Devuelve());
}

} // namespace
