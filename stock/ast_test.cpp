#include "stock/ast.h"
#include "tests/support/numeracion.h"

#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "tests/support/error_provocado.h"
#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

namespace {

TEST(LetraComprobante, FromTheTwoVatConditions)
{
    const struct
    {
        const char *emisor;
        const char *cliente;
        const char *letra;
    } casos[] = {
        {"1", "1", "A"},
        {"1", "2", "A"},
        {" 1", "0", "A"},
        {"1", "5", "B"},
        {"1", "3", "B"},
        {"6", "1", "C"},
        {"6", "5", "C"},
        {"", "1", "C"},
        {"2", "", "C"},
        {"1abc", "2xyz", "A"},
        {"1", "", "A"},
        {"1.0", "2.5", "B"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(std::string(c.emisor) + "/" + c.cliente);
        EXPECT_EQ(ObtieneLetraComprobante(QString::fromUtf8(c.emisor), QString::fromUtf8(c.cliente)),
                  QString::fromUtf8(c.letra));
    }
}

class Asientos : public BaseNumeracion
{
protected:
    void SetUp() override
    {
        BaseNumeracion::SetUp();
        Ejecuta({
            QStringLiteral("INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, CUENTA, MES_OPERATIVO, PERIODO, "
                           "TIPO_REG, [NUMERO ASIENTO], SECUENCIA) VALUES (' CMV', '0001', '00000120', 'X', '1.1.01', "
                           "7, 2024, '   3', 123, 1)"),
            QStringLiteral("INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, CUENTA, MES_OPERATIVO, PERIODO, "
                           "TIPO_REG, [NUMERO ASIENTO], SECUENCIA) VALUES ('CMV', '0001', '00000121', 'X', '5.1.01', "
                           "7, 2024, '   3', 124, 1)"),
            QStringLiteral("INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, CUENTA, MES_OPERATIVO, PERIODO, "
                           "TIPO_REG, [NUMERO ASIENTO], SECUENCIA) VALUES ('  OC', '0001', '00000005', 'A', '2.1.01', "
                           "3, 2024, NULL, 9, 1)"),
        });
    }
};

TEST_F(Asientos, AnEntryOfTheVoucherIsFoundAndNamed)
{
    const struct
    {
        const char *nombre;
        const char *tipo;
        const char *numero;
        const char *cuenta;
        bool existe;
        const char *asiento;
    } casos[] = {
        {"stored right-aligned", "CMV", "00000120", "", true, "07 - 000123"},
        {"stored trimmed", " CMV", "00000121", "", true, "07 - 000124"},
        {"the account filters", "CMV", "00000120", "1.1.01", true, "07 - 000123"},
        {"another account", "CMV", "00000120", "5.1.01", false, "sin tocar"},
        {"another number", "CMV", "00000122", "", false, "sin tocar"},
        {"purchase orders have none", "OC", "00000005", "", false, "sin tocar"},
        {"purchase orders, any case", " oc", "00000005", "", false, "sin tocar"},
        {"a quote in the account", "CMV", "00000120", "O'X", false, "sin tocar"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        QString asiento = QStringLiteral("sin tocar");
        EXPECT_EQ(ExisteAsientoComprobante(QString::fromUtf8(c.tipo),
                                           QStringLiteral("0001"),
                                           QString::fromUtf8(c.numero),
                                           QStringLiteral("X"),
                                           asiento,
                                           QString::fromUtf8(c.cuenta)),
                  c.existe);
        EXPECT_EQ(asiento, QString::fromUtf8(c.asiento));
    }
    EXPECT_EQ(operador.requests().size(), 0u);
    // Purchase orders read nothing.
    EXPECT_TRUE(EnviadasCon(QStringLiteral("'OC'")).isEmpty());
}

TEST_F(Asientos, TheStatementNamesBothStoredFormsOfTheType)
{
    QString asiento;
    ExisteAsientoComprobante(QStringLiteral("CMV"),
                             QStringLiteral("0001"),
                             QStringLiteral("00000120"),
                             QStringLiteral("X"),
                             asiento,
                             QStringLiteral("1.1.01"));
    ExisteAsientoComprobante(QStringLiteral("CBFP"),
                             QStringLiteral("0001"),
                             QStringLiteral("00000001"),
                             QStringLiteral("A"),
                             asiento,
                             QString());
    EXPECT_EQ(enviadas,
              (QStringList{
                  "SELECT * FROM MV_ASIENTOS WHERE TC IN ('CMV',' CMV') AND SUCURSAL = '0001' AND NUMERO = "
                  "'00000120' AND LETRA = 'X' AND CUENTA = '1.1.01'",
                  "SELECT * FROM MV_ASIENTOS WHERE TC = 'CBFP' AND SUCURSAL = '0001' AND NUMERO = "
                  "'00000001' AND LETRA = 'A'",
              }));
}

TEST_F(BaseNumeracion, RegisterTypeOfAVoucherType)
{
    Ejecuta({
        QStringLiteral("INSERT INTO MA_SUBDIARIOS (CODIGO, DESCRIPCION) VALUES ('   3', 'COSTO DE VENTAS')"),
        QStringLiteral("INSERT INTO MA_SUBDIARIOSCOMPROBANTES (TC, SUBDIARIO) VALUES (' CMV', '   3')"),
        QStringLiteral("INSERT INTO MA_SUBDIARIOSCOMPROBANTES (TC, SUBDIARIO) VALUES ('  FC', '   9')"),
    });
    const struct
    {
        const char *tipo;
        const char *tipoReg;
    } casos[] = {
        {"CMV", "   3"}, // the sub-journal's code as stored
        {" cmv ", "   3"},
        {"FC", "    "}, // its sub-journal does not exist
        {"RM", "    "}, // none assigned
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.tipo);
        EXPECT_EQ(ObtieneTipoRegCont(QString::fromUtf8(c.tipo)), QString::fromUtf8(c.tipoReg));
    }
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(BaseNumeracion, RegisterTypeLeavingOnAnErrorIsEmpty)
{
    Ejecuta(QStringLiteral("DROP TABLE MA_SUBDIARIOSCOMPROBANTES"));
    operador.answer(ui::vbAbort); // the query's own error dialog
    operador.answer(ui::vbAbort); // the error treatment
    EXPECT_EQ(ObtieneTipoRegCont(QStringLiteral("CMV")), QString());
    ASSERT_EQ(operador.requests().size(), 2u);
    EXPECT_TRUE(operador.requests()[1].title.contains(QStringLiteral("ObtieneTipoRegCont$")));
}

class Registraciones : public BaseNumeracion
{
protected:
    void SetUp() override
    {
        BaseNumeracion::SetUp();
        const char *const filas[][4] = {
            // month, period, register type, entry number
            {"7", "2024", "'   3'", "41"},
            {"7", "2024", "'   3'", "40"},
            {"7", "2023", "'   3'", "90"},
            {"8", "2024", "'   3'", "77"},
            {"7", "2024", "'   5'", "60"},
            {"7", "2024", "NULL", "99"},
            {"7", "2024", "''", "12"},
            {"7", "2024", "'   '", "13"},
            {"7", "2024", "CHAR(255) + 'RS'", "15"},
        };
        for (const auto &f : filas)
            Ejecuta(QStringLiteral(
                        "INSERT INTO MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA, SECUENCIA, MES_OPERATIVO, "
                        "PERIODO, TIPO_REG, [NUMERO ASIENTO]) VALUES (' CMV', '0001', '%4', 'X', 1, %1, %2, %3, %4)")
                        .arg(QLatin1String(f[0]), QLatin1String(f[1]), QLatin1String(f[2]), QLatin1String(f[3])));
    }
};

TEST_F(Registraciones, NextEntryNumberOfMonthPeriodAndRegisterType)
{
    const struct
    {
        const char *nombre;
        Variant mes;
        Variant periodo;
        Variant tipoReg;
        std::int32_t siguiente;
    } casos[] = {
        {"after 41 comes 42", 7, QStringLiteral("2024"), QStringLiteral("3"), 42},
        {"register type trimmed", QStringLiteral("07"), QStringLiteral(" 2024 "), QStringLiteral("  3 "), 42},
        {"month as a number, period as a number", std::int16_t(8), std::int16_t(2024), QStringLiteral("3"), 78},
        {"the first of a register type", 7, QStringLiteral("2024"), QStringLiteral("9"), 1},
        {"the first of a period", 7, QStringLiteral("2025"), QStringLiteral("3"), 1},
        {"no register type: blank or CHR(255) RS", 7, QStringLiteral("2024"), Variant(), 16},
        {"blanks count as none", 7, QStringLiteral("2024"), QStringLiteral("    "), 16},
        {"none in another month", 8, QStringLiteral("2024"), Variant(), 1},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(ValidaTCRegistraciones(c.mes, c.periodo, c.tipoReg), c.siguiente);
    }
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Registraciones, TheJournalItselfIsReadForEveryUser)
{
    // A user who is not an administrator reads journal synonyms elsewhere.
    gDB().gEsAdmin = false;
    EXPECT_EQ(ValidaTCRegistraciones(7, QStringLiteral("2024"), QStringLiteral("3")), 42);
    ValidaTCRegistraciones(7, QStringLiteral("2024"));
    ASSERT_EQ(enviadas.size(), 2);
    EXPECT_EQ(enviadas[0],
              "SELECT MAX([NUMERO ASIENTO]) AS [NRO_ASIENTO] FROM MV_ASIENTOS WHERE MES_OPERATIVO = 7 "
              "AND RTRIM(LTRIM(TIPO_REG)) = '3' AND RTRIM(LTRIM(PERIODO)) = 2024");
    EXPECT_EQ(enviadas[1],
              "SELECT MAX([NUMERO ASIENTO]) AS [NRO_ASIENTO] FROM MV_ASIENTOS WHERE MES_OPERATIVO = 7 "
              "AND (RTRIM(LTRIM(TIPO_REG)) = '"
                  + vb::Chr(255)
                  + "RS' OR RTRIM(LTRIM(TIPO_REG)) = '') "
                    "AND RTRIM(LTRIM(PERIODO)) = 2024");
}

TEST_F(Registraciones, AMonthOrPeriodWithoutANumberIsRefusedBeforeAnyStatement)
{
    const struct
    {
        const char *nombre;
        Variant mes;
        Variant periodo;
    } casos[] = {
        {"empty month", QString(), QStringLiteral("2024")},
        {"blank month", QStringLiteral("  "), QStringLiteral("2024")},
        {"month in words", QStringLiteral("julio"), QStringLiteral("2024")},
        {"missing month", Variant(), QStringLiteral("2024")},
        {"empty period", 7, QString()},
        {"period with words", 7, QStringLiteral("2024 OR 1=1")},
        {"Null period", 7, Variant::null()},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(RaisedNumber([&] { ValidaTCRegistraciones(c.mes, c.periodo, QStringLiteral("3")); }),
                  vberr::InvalidCall);
    }
    EXPECT_TRUE(enviadas.isEmpty());
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Registraciones, AQuoteInTheRegisterTypeStaysInsideItsLiteral)
{
    EXPECT_EQ(ValidaTCRegistraciones(7, QStringLiteral("2024"), QStringLiteral("3' OR '1'='1")), 1);
    EXPECT_EQ(operador.requests().size(), 0u);
}

} // namespace
