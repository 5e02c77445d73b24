#include "database/db_dll.h"
#include "tests/support/empresa.h"

#include "platform/runtime/app.h"
#include "platform/runtime/regional.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/scripted_responder.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class LookupsTest : public EmpresaEspiada
{
protected:
    void SetUp() override
    {
        EmpresaEspiada::SetUp();
        ui::SetResponder(&responder);
        Ejecuta({
            QStringLiteral(
                "CREATE TABLE PERSONAS (nombre VARCHAR(30), Administrador VARCHAR(2), Edad INT, Alta DATETIME)"),
            QStringLiteral("INSERT INTO PERSONAS VALUES ('JUAN', 'SI', 30, '2024-01-05')"),
            QStringLiteral("INSERT INTO PERSONAS VALUES ('  ANA ', 'NO', 25, NULL)"),
            QStringLiteral("INSERT INTO PERSONAS VALUES ('O''BRIEN', 'SI', 40, NULL)"),
            QStringLiteral("INSERT INTO PERSONAS VALUES ('PEDRO', NULL, 12, NULL)"),
        });
    }
    void TearDown() override
    {
        ui::SetResponder(nullptr);
        gDB().gEsAdmin = true;
        EmpresaEspiada::TearDown();
    }
    ui::ScriptedResponder responder;
};

TEST_F(LookupsTest, DatosTablaStatementsAndResults)
{
    const struct
    {
        const char *nombre;
        const char *valor;
        const char *devuelto;
        const char *campo;
        Variant tipo;
        const char *condicion;
        bool usaTrim;
        bool coma;
        const char *sentencia;
        const char *resultado;
    } cases[] = {
        {"a match",
         "JUAN",
         "Administrador",
         "nombre",
         8,
         "",
         true,
         false,
         "SELECT TOP 1 * FROM PERSONAS WHERE LTRIM(RTRIM(nombre)) ='JUAN' ",
         "SI"},
        {"no match",
         "NADIE",
         "Administrador",
         "nombre",
         8,
         "",
         true,
         false,
         "SELECT TOP 1 * FROM PERSONAS WHERE LTRIM(RTRIM(nombre)) ='NADIE' ",
         ""},
        {"trimmed both sides",
         " ANA ",
         "Administrador",
         "nombre",
         8,
         "",
         true,
         false,
         "SELECT TOP 1 * FROM PERSONAS WHERE LTRIM(RTRIM(nombre)) ='ANA' ",
         "NO"},
        {"untrimmed column",
         " ANA ",
         "Administrador",
         "nombre",
         8,
         "",
         false,
         false,
         "SELECT TOP 1 * FROM PERSONAS WHERE nombre ='ANA' ",
         ""},
        {"a quote in the value",
         "O'BRIEN",
         "Edad",
         "nombre",
         8,
         "",
         true,
         false,
         "SELECT TOP 1 * FROM PERSONAS WHERE LTRIM(RTRIM(nombre)) ='O''BRIEN' ",
         "40"},
        {"text 8 counts as 8",
         "JUAN",
         "Edad",
         "nombre",
         Variant("8"),
         "",
         true,
         false,
         "SELECT TOP 1 * FROM PERSONAS WHERE LTRIM(RTRIM(nombre)) ='JUAN' ",
         "30"},
        {"Null field reads empty",
         "PEDRO",
         "Administrador",
         "nombre",
         8,
         "",
         true,
         false,
         "SELECT TOP 1 * FROM PERSONAS WHERE LTRIM(RTRIM(nombre)) ='PEDRO' ",
         ""},
        {"number key and extra condition",
         "12abc",
         "nombre",
         "Edad",
         3,
         "nombre <> 'X'",
         true,
         false,
         "SELECT TOP 1 * FROM PERSONAS WHERE Edad = 12 AND nombre <> 'X'",
         "PEDRO"},
        {"blank condition adds no AND",
         "JUAN",
         "Edad",
         "nombre",
         8,
         "   ",
         true,
         false,
         "SELECT TOP 1 * FROM PERSONAS WHERE LTRIM(RTRIM(nombre)) ='JUAN'    ",
         "30"},
        {"decimal key under comma settings",
         "25.0",
         "nombre",
         "Edad",
         5,
         "",
         true,
         true,
         "SELECT TOP 1 * FROM PERSONAS WHERE Edad = 25",
         "  ANA "},
        {"a key read by its leading number",
         "12,5",
         "nombre",
         "Edad",
         5,
         "",
         true,
         true,
         "SELECT TOP 1 * FROM PERSONAS WHERE Edad = 12",
         "PEDRO"},
        {"raw kind passes the literal",
         "40",
         "nombre",
         "Edad",
         0,
         "",
         true,
         false,
         "SELECT TOP 1 * FROM PERSONAS WHERE Edad = 40",
         "O'BRIEN"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        [&] {
            vb::ScopedRegional r(c.coma ? vb::CommaDecimalSettings() : vb::RegionalSettings{});
            enviadas.clear();
            const Variant v = gDB().DatosTabla(QStringLiteral("PERSONAS"),
                                               QString::fromUtf8(c.valor),
                                               QString::fromUtf8(c.devuelto),
                                               QString::fromUtf8(c.campo),
                                               c.tipo,
                                               QString::fromUtf8(c.condicion),
                                               c.usaTrim);
            EXPECT_EQ(v.toString(), QString::fromUtf8(c.resultado));
            ASSERT_EQ(enviadas.size(), 1);
            EXPECT_EQ(enviadas[0], QString::fromUtf8(c.sentencia));
        }();
    }
    EXPECT_EQ(responder.requests().size(), 0u);
}

TEST_F(LookupsTest, DatosTablaDecimalKeyIsWrittenWithAPoint)
{
    vb::ScopedRegional coma(vb::CommaDecimalSettings());
    gDB().DatosTabla(QStringLiteral("PERSONAS"),
                     QStringLiteral("12.5"),
                     QStringLiteral("nombre"),
                     QStringLiteral("Edad"),
                     5);
    ASSERT_EQ(enviadas.size(), 1);
    EXPECT_EQ(enviadas[0], QStringLiteral("SELECT TOP 1 * FROM PERSONAS WHERE Edad = 12.5"));
}

// A failure shows its own box (no log line) and follows the answer.
TEST_F(LookupsTest, DatosTablaOwnMessageBoxAndItsAnswers)
{
    const QString log = AppPath() + QStringLiteral("/VGERR.LOG");
    const qint64 logBefore = QFileInfo(log).size();
    const struct
    {
        const char *nombre;
        std::vector<int> respuestas; // to the opener's dialog, then to the lookup's own box
        int cajasPropias;
    } cases[] = {
        {"abort leaves at once", {ui::vbAbort, ui::vbAbort}, 1},
        {"retry asks again", {ui::vbAbort, ui::vbRetry, ui::vbAbort}, 2},
        {"ignore goes on", {ui::vbAbort, ui::vbIgnore}, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        responder.clear();
        for (int a : c.respuestas)
            responder.answer(a);
        // The opener reports the missing table and leaves the recordset closed;
        // the row test then fails in the lookup itself.
        const Variant v = gDB().DatosTabla(QStringLiteral("NO_EXISTE"),
                                           QStringLiteral("JUAN"),
                                           QStringLiteral("Administrador"),
                                           QStringLiteral("nombre"));
        EXPECT_TRUE(v.isEmpty());
        EXPECT_EQ(responder.unexpected(), 0);
        EXPECT_EQ(responder.pending(), 0);
        int propias = 0;
        for (const auto &req : responder.requests()) {
            if (req.title != QStringLiteral("Aviso al Operador"))
                continue;
            ++propias;
            EXPECT_EQ(req.style, ui::vbAbortRetryIgnore + ui::vbCritical);
            EXPECT_FALSE(req.prompt.isEmpty());
        }
        EXPECT_EQ(propias, c.cajasPropias);
    }
    EXPECT_EQ(QFileInfo(log).size(), logBefore);
}

TEST_F(LookupsTest, ExisteEnTablaStatementsAndResults)
{
    const struct
    {
        const char *nombre;
        const char *valor;
        const char *campo;
        Variant tipo;
        const char *condicion;
        const char *sentencia;
        bool existe;
    } cases[] = {
        {"a match", " JUAN ", "nombre", 8, "", "SELECT TOP 1  * FROM PERSONAS WHERE LTRIM(RTRIM(nombre)) ='JUAN'", true},
        {"no match", "NADIE", "nombre", 8, "", "SELECT TOP 1  * FROM PERSONAS WHERE LTRIM(RTRIM(nombre)) ='NADIE'", false},
        {"a quote in the value",
         "O'BRIEN",
         "nombre",
         8,
         "",
         "SELECT TOP 1  * FROM PERSONAS WHERE LTRIM(RTRIM(nombre)) ='O''BRIEN'",
         true},
        {"a number", "25", "Edad", 3, "", "SELECT TOP 1 * FROM PERSONAS WHERE Edad = 25", true},
        {"a date literal passes unchanged",
         " '05/01/2024' ",
         "Alta",
         7,
         "",
         "SELECT TOP 1 * FROM PERSONAS WHERE Alta = '05/01/2024' ",
         true},
        {"condition replaces the key",
         "NADIE",
         "nombre",
         8,
         "Edad > 35",
         "SELECT TOP 1 * FROM PERSONAS WHERE Edad > 35",
         true},
        {"condition with its own where",
         "x",
         "nombre",
         8,
         " where Edad > 100",
         "SELECT TOP 1 * FROM PERSONAS  where Edad > 100",
         false},
        {"a where only inside the condition's quotes",
         "x",
         "nombre",
         8,
         "nombre = 'O'' WHERE x'",
         "SELECT TOP 1 * FROM PERSONAS WHERE nombre = 'O'' WHERE x'",
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nombre);
        [&] {
            enviadas.clear();
            EXPECT_EQ(gDB().ExisteEnTabla(QStringLiteral("PERSONAS"),
                                          QString::fromUtf8(c.valor),
                                          QString::fromUtf8(c.campo),
                                          nullptr,
                                          c.tipo,
                                          QString::fromUtf8(c.condicion)),
                      c.existe);
            ASSERT_EQ(enviadas.size(), 1);
            EXPECT_EQ(enviadas[0], QString::fromUtf8(c.sentencia));
        }();
    }
    EXPECT_EQ(responder.requests().size(), 0u);
}

TEST_F(LookupsTest, ExisteEnTablaLeavesTheCallersRecordsetOnTheRow)
{
    ado::Recordset rs;
    QString previa = QStringLiteral("SELECT * FROM PERSONAS");
    rs.Open(previa, gDB().gCnn(), ado::adOpenStatic, ado::adLockOptimistic);
    ASSERT_TRUE(
        gDB().ExisteEnTabla(QStringLiteral("PERSONAS"), QStringLiteral("O'BRIEN"), QStringLiteral("nombre"), &rs));
    ASSERT_EQ(rs.State(), ado::adStateOpen);
    EXPECT_EQ(rs.Fields(QStringLiteral("Edad")).Value().toLong(), 40);
    EXPECT_EQ(rs.LockType(), ado::adLockOptimistic); // its own lock kept

    // A recordset never opened reads forward-only.
    ado::Recordset nuevo;
    EXPECT_TRUE(
        gDB().ExisteEnTabla(QStringLiteral("PERSONAS"), QStringLiteral("JUAN"), QStringLiteral("nombre"), &nuevo));
    EXPECT_EQ(nuevo.LockType(), ado::adLockReadOnly);
}

TEST_F(LookupsTest, ExisteEnTablaSTComparesUntrimmedAndReopensReadOnly)
{
    const struct
    {
        const char *valor;
        const char *sentencia;
        bool existe;
    } cases[] = {
        {"JUAN", "SELECT * FROM PERSONAS WHERE nombre ='JUAN'", true},
        {"  ANA ", "SELECT * FROM PERSONAS WHERE nombre ='  ANA '", true},
        {"ANA", "SELECT * FROM PERSONAS WHERE nombre ='ANA'", false},
        {"O'BRIEN", "SELECT * FROM PERSONAS WHERE nombre ='O''BRIEN'", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.valor);
        [&] {
            enviadas.clear();
            EXPECT_EQ(gDB().ExisteEnTablaST(QStringLiteral("PERSONAS"),
                                            QString::fromUtf8(c.valor),
                                            QStringLiteral("nombre")),
                      c.existe);
            ASSERT_EQ(enviadas.size(), 1);
            EXPECT_EQ(enviadas[0], QString::fromUtf8(c.sentencia));
        }();
    }
    enviadas.clear();
    EXPECT_TRUE(gDB().ExisteEnTablaST(QStringLiteral("PERSONAS"),
                                      QStringLiteral("x"),
                                      QStringLiteral("nombre"),
                                      nullptr,
                                      8,
                                      QStringLiteral("Edad = 12")));
    EXPECT_EQ(enviadas.value(0), QStringLiteral("SELECT * FROM PERSONAS WHERE Edad = 12"));

    for (const bool soloLectura : {false, true}) {
        SCOPED_TRACE(soloLectura ? "read-only" : "own lock");
        [&] {
            ado::Recordset rs;
            rs.Open(QStringLiteral("SELECT * FROM PERSONAS"), gDB().gCnn(), ado::adOpenDynamic, ado::adLockOptimistic);
            ASSERT_TRUE(gDB().ExisteEnTablaST(QStringLiteral("PERSONAS"),
                                              QStringLiteral("JUAN"),
                                              QStringLiteral("nombre"),
                                              &rs,
                                              8,
                                              QString(),
                                              soloLectura));
            EXPECT_EQ(rs.LockType(), soloLectura ? ado::adLockReadOnly : ado::adLockOptimistic);
            EXPECT_EQ(rs.Fields(QStringLiteral("Edad")).Value().toLong(), 30);
        }();
    }
}

// For a user who is not an administrator the existence test reads the
// synonym; its untranslated sibling reads the table itself.
TEST_F(LookupsTest, OnlyExisteEnTablaPassesTheSynonyms)
{
    // The synonym becomes a table of its own, so that each read shows which it was.
    Ejecuta({
        QStringLiteral("DROP VIEW SS_MA_CUENTAS"),
        QStringLiteral("CREATE TABLE SS_MA_CUENTAS (Codigo VARCHAR(20))"),
        QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO) VALUES ('1.1')"),
        QStringLiteral("INSERT INTO SS_MA_CUENTAS VALUES ('2.2')"),
    });
    gDB().gEsAdmin = false;
    EXPECT_FALSE(gDB().ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1")));
    EXPECT_TRUE(gDB().ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("2.2")));
    EXPECT_TRUE(gDB().ExisteEnTablaST(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1")));
    EXPECT_FALSE(gDB().ExisteEnTablaST(QStringLiteral("MA_CUENTAS"), QStringLiteral("2.2")));
}

TEST_F(LookupsTest, ExisteEnTablaOwnBoxOnAFailure)
{
    responder.answer(ui::vbRetry).answer(ui::vbAbort);
    EXPECT_FALSE(gDB().ExisteEnTabla(QStringLiteral("NO_EXISTE"), QStringLiteral("A")));
    ASSERT_EQ(responder.requests().size(), 2u);
    for (const auto &req : responder.requests()) {
        EXPECT_EQ(req.title, QStringLiteral("Aviso al Operador"));
        EXPECT_EQ(req.style, ui::vbAbortRetryIgnore + ui::vbCritical);
    }
    EXPECT_EQ(enviadas.size(), 2); // the retry ran the statement again

    responder.clear();
    responder.answer(ui::vbIgnore);
    EXPECT_FALSE(gDB().ExisteEnTablaST(QStringLiteral("NO_EXISTE"), QStringLiteral("A")));
    EXPECT_GE(responder.requests().size(), 1u);
    EXPECT_EQ(responder.requests().front().title, QStringLiteral("Aviso al Operador"));
}

class ExtremosTest : public EmpresaEspiada
{
protected:
    void SetUp() override
    {
        EmpresaEspiada::SetUp();
        Ejecuta({
            QStringLiteral("CREATE TABLE MV_NUMEROS (Numero FLOAT, Codigo VARCHAR(13), Grupo INT)"),
            QStringLiteral("INSERT INTO MV_NUMEROS VALUES (12.5, '0001000000012', 1)"),
            QStringLiteral("INSERT INTO MV_NUMEROS VALUES (3, '0001000000007', 1)"),
            QStringLiteral("INSERT INTO MV_NUMEROS VALUES (7.25, NULL, 2)"),
            QStringLiteral("CREATE TABLE MV_VACIA (Numero FLOAT)"),
        });
    }
};

TEST_F(ExtremosTest, StatementsAndResults)
{
    enum Op { Maximo, Minimo, Ultimo };
    const struct
    {
        const char *nombre;
        Op op;
        const char *tabla;
        const char *campo;
        Variant condicion;
        const char *sentencia;
        Variant resultado;
    } cases[] = {
        {"largest", Maximo, "MV_NUMEROS", "Numero", Variant(), "SELECT MAX(Numero) AS MAYOR FROM MV_NUMEROS", 12.5},
        {"smallest", Minimo, "MV_NUMEROS", "Numero", Variant(), "SELECT MIN(Numero) AS MENOR FROM MV_NUMEROS", 3.0},
        {"condition trimmed",
         Maximo,
         "MV_NUMEROS",
         "Numero",
         " Grupo = 2 ",
         "SELECT MAX(Numero) AS MAYOR FROM MV_NUMEROS WHERE Grupo = 2",
         7.25},
        {"blank condition, no WHERE",
         Maximo,
         "MV_NUMEROS",
         "Numero",
         "  ",
         "SELECT MAX(Numero) AS MAYOR FROM MV_NUMEROS",
         12.5},
        {"empty condition, no WHERE",
         Minimo,
         "MV_NUMEROS",
         "Numero",
         "",
         "SELECT MIN(Numero) AS MENOR FROM MV_NUMEROS",
         3.0},
        {"text read by its leading number",
         Maximo,
         "MV_NUMEROS",
         "Codigo",
         Variant(),
         "SELECT MAX(Codigo) AS MAYOR FROM MV_NUMEROS",
         1000000012.0},
        {"empty table gives 0", Maximo, "MV_VACIA", "Numero", Variant(), "SELECT MAX(Numero) AS MAYOR FROM MV_VACIA", 0.0},
        {"no row gives Empty",
         Maximo,
         "MV_NUMEROS",
         "Numero",
         "Grupo = 9 GROUP BY Grupo",
         "SELECT MAX(Numero) AS MAYOR FROM MV_NUMEROS WHERE Grupo = 9 GROUP BY Grupo",
         Variant()},
        {"last code untrimmed condition",
         Ultimo,
         "MV_NUMEROS",
         "Numero",
         " Grupo = 1",
         "SELECT MAX(Numero) AS MAYOR FROM MV_NUMEROS WHERE  Grupo = 1",
         12.5},
        {"last code blank condition",
         Ultimo,
         "MV_NUMEROS",
         "Numero",
         "  ",
         "SELECT MAX(Numero) AS MAYOR FROM MV_NUMEROS",
         12.5},
    };
    for (const bool coma : {false, true}) {
        vb::ScopedRegional r(coma ? vb::CommaDecimalSettings() : vb::RegionalSettings{});
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(c.nombre) + (coma ? " (comma)" : ""));
            [&] {
                enviadas.clear();
                const QString tabla = QString::fromUtf8(c.tabla), campo = QString::fromUtf8(c.campo);
                Variant v;
                switch (c.op) {
                case Maximo:
                    v = gDB().BuscaMaximo(tabla, campo, {}, c.condicion);
                    break;
                case Minimo:
                    v = gDB().BuscaMinimo(tabla, campo, {}, c.condicion);
                    break;
                case Ultimo:
                    v = gDB().BuscaUltimoCodigo(tabla,
                                                campo,
                                                8,
                                                c.condicion.isEmpty() ? QString() : c.condicion.toString());
                    break;
                }
                ASSERT_EQ(enviadas.size(), 1);
                EXPECT_EQ(enviadas[0], QString::fromUtf8(c.sentencia));
                EXPECT_EQ(v.isEmpty(), c.resultado.isEmpty());
                if (!c.resultado.isEmpty()) {
                    EXPECT_EQ(v.type(), Variant::Type::Double);
                    EXPECT_DOUBLE_EQ(v.toDouble(), c.resultado.toDouble());
                }
            }();
        }
    }
}

TEST_F(ExtremosTest, ErrorsReachTheCaller)
{
    EXPECT_THROW(gDB().BuscaMaximo(QStringLiteral("NO_EXISTE"), QStringLiteral("Numero")), VbException);
    EXPECT_THROW(gDB().BuscaUltimoCodigo(QStringLiteral("MV_NUMEROS"), QStringLiteral("NoHay")), VbException);
}

} // namespace
