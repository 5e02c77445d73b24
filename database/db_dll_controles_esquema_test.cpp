#include "database/db_dll.h"
#include "tests/support/empresa.h"

#include "platform/runtime/regional.h"
#include "platform/ui/scripted_responder.h"

#include <gtest/gtest.h>

namespace {

class SchemaChecksTest : public EmpresaEspiada
{
protected:
    void SetUp() override
    {
        EmpresaEspiada::SetUp();
        ui::SetResponder(&responder);
        Ejecuta({QStringLiteral("CREATE TABLE CLIENTES (Codigo VARCHAR(10), Nombre VARCHAR(40))"),
                 QStringLiteral("CREATE VIEW V_CLIENTES AS SELECT Codigo FROM CLIENTES"),
                 QStringLiteral("CREATE TABLE PROVEEDORES (Codigo VARCHAR(10), EMAIL VARCHAR(10))")});
    }
    void TearDown() override
    {
        ui::SetResponder(nullptr);
        EmpresaEspiada::TearDown();
    }
    QStringList Alters() const
    {
        QStringList a;
        for (const QString &s : enviadas)
            if (s.startsWith(QStringLiteral("ALTER")))
                a << s;
        return a;
    }
    ui::ScriptedResponder responder;
};

TEST_F(SchemaChecksTest, TablesAndColumnsFromTheSchemaLists)
{
    const struct
    {
        const char *tabla;
        bool existe;
    } tablas[] = {{"CLIENTES", true}, {" clientes ", true}, {"V_CLIENTES", true}, {"CLIENTE", false}, {"", false}};
    for (const auto &c : tablas) {
        SCOPED_TRACE(c.tabla);
        EXPECT_EQ(gDB().ExisteTablaDB(QString::fromUtf8(c.tabla)), c.existe);
    }
    const struct
    {
        const char *tabla;
        const char *campo;
        bool existe;
    } campos[] = {
        {"CLIENTES", "Nombre", true},
        {"clientes", " NOMBRE ", true},
        {"CLIENTES", "EMAIL", false}, // a column of another table
        {"PROVEEDORES", "EMAIL", true},
        {"NO_EXISTE", "Codigo", false},
    };
    for (const auto &c : campos) {
        SCOPED_TRACE(std::string(c.tabla) + "." + c.campo);
        EXPECT_EQ(gDB().ExisteCampoDB(QString::fromUtf8(c.tabla), QString::fromUtf8(c.campo)), c.existe);
    }
    EXPECT_TRUE(enviadas.isEmpty()); // no query on the tables themselves
}

TEST_F(SchemaChecksTest, OracleColumnsAlwaysCount)
{
    gDB().gProveedor = QStringLiteral("OraOLEDB.Oracle.1");
    EXPECT_TRUE(gDB().ExisteCampoDB(QStringLiteral("NO_EXISTE"), QStringLiteral("NADA")));
}

TEST_F(SchemaChecksTest, AddFieldStatements)
{
    const struct
    {
        const char *nombre;
        bool nulos;
        Variant porDefecto;
        const char *sentencia;
    } cases[] = {
        {"nulls and a text default",
         true,
         "''",
         "ALTER TABLE dbo.CLIENTES ADD EMAIL VARCHAR(50) Null  CONSTRAINT DF_CLIENTES_EMAIL DEFAULT ('')"},
        {"no default", true, Variant(), "ALTER TABLE dbo.CLIENTES ADD EMAIL VARCHAR(50) Null "},
        {"not null with a number",
         false,
         0,
         "ALTER TABLE dbo.CLIENTES ADD EMAIL VARCHAR(50) Not Null  CONSTRAINT DF_CLIENTES_EMAIL DEFAULT (0)"},
        {"a decimal default under comma settings",
         true,
         0.5,
         "ALTER TABLE dbo.CLIENTES ADD EMAIL VARCHAR(50) Null  CONSTRAINT DF_CLIENTES_EMAIL DEFAULT (0.5)"},
    };
    vb::ScopedRegional coma(vb::CommaDecimalSettings());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        [&] {
            enviadas.clear();
            gDB().AddField(QStringLiteral("CLIENTES"),
                           QStringLiteral("EMAIL"),
                           QStringLiteral("VARCHAR(50)"),
                           c.nulos,
                           c.porDefecto);
            ASSERT_EQ(Alters().size(), 1);
            EXPECT_EQ(Alters()[0], QString::fromUtf8(c.sentencia));
            // Each statement added the column on the embedded engine; drop it for the next.
            EXPECT_TRUE(gDB().ExisteCampoDB(QStringLiteral("CLIENTES"), QStringLiteral("EMAIL")));
            Ejecuta({QStringLiteral("ALTER TABLE CLIENTES DROP COLUMN EMAIL")});
        }();
    }
}

TEST_F(SchemaChecksTest, VerCampoDBAddsOnlyWhatIsMissing)
{
    const struct
    {
        const char *nombre;
        const char *tabla;
        const char *campo;
        bool agregar;
        const char *tipo;
        bool resultado;
        int alters;
        bool existeDespues;
    } cases[] = {
        {"missing table: nothing, True", "NO_EXISTE", "EMAIL", true, "VARCHAR(50)", true, 0, false},
        {"column present: nothing", "PROVEEDORES", "email", true, "VARCHAR(50)", true, 0, true},
        {"not asked to add", "CLIENTES", "EMAIL", false, "VARCHAR(50)", true, 0, false},
        {"added", "CLIENTES", "EMAIL", true, "VARCHAR(50)", true, 1, true},
        {"the add failed: False", "CLIENTES", "TELEFONO", true, "NO ES UN TIPO(", false, 1, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        enviadas.clear();
        responder.clear();
        EXPECT_EQ(gDB().VerCampoDB(QString::fromUtf8(c.tabla),
                                   QString::fromUtf8(c.campo),
                                   c.agregar,
                                   QString::fromUtf8(c.tipo),
                                   true),
                  c.resultado);
        EXPECT_EQ(Alters().size(), c.alters);
        EXPECT_EQ(gDB().ExisteCampoDB(QString::fromUtf8(c.tabla), QString::fromUtf8(c.campo)), c.existeDespues);
        EXPECT_EQ(responder.unexpected(), 0);
    }
}

TEST_F(SchemaChecksTest, SchemaListFailureGoesToTheErrorTreatment)
{
    gDB().gCnn().Close();
    responder.answer(ui::vbRetry).answer(ui::vbAbort);
    EXPECT_FALSE(gDB().ExisteTablaDB(QStringLiteral("CLIENTES")));
    ASSERT_EQ(responder.requests().size(), 2u);
    EXPECT_TRUE(responder.requests()[0].title.contains(QStringLiteral("VerificaCampos")))
        << responder.requests()[0].title.toStdString();
}

} // namespace
