// The collect path as its caller uses it: the collected text in one
// transaction, committed only when every statement ran, the voucher's
// journal entry with it.
#include "tests/support/posteo.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace posteo;

struct CasoFalla
{
    const char *nombre;
    const char *disparador; // the trigger that makes the chosen statement fail
    bool transferencia;     // the voucher: a transfer, or a purchase receiving an order
};

void PrintTo(const CasoFalla &c, std::ostream *os)
{
    *os << c.nombre;
}

class TodoONada : public BaseConsumo, public ::testing::WithParamInterface<CasoFalla>
{
protected:
    void SetUp() override
    {
        BaseConsumo::SetUp();
        for (const QString &sentencia : SemillaAsiento())
            Ejecuta(sentencia);
        // The transfer issues from its source, so it has an entry of its own.
        Ejecuta(QStringLiteral("UPDATE V_TA_CPTE SET ES = 'S' WHERE CODIGO = '  TR'"));
        clase.emplace();
    }
};

TEST_P(TodoONada, OneFailedStatementLeavesNothingOfTheVoucher)
{
    const CasoFalla &c = GetParam();
    Ejecuta(QStringLiteral(
        "INSERT INTO C_MV_CPTE (TC, IDCOMPROBANTE, FECHA) VALUES ('  OC', '000100000005A', '2024-03-01')"));
    Grilla({Linea("A1", "2", {{ColDeposito, "3"}, {ColAux38, "10"}, {AuxPrecioSinIVA, "12"}}),
            Linea("P1", "4", {{ColDeposito, "5"}, {ColAux38, "30"}, {AuxPrecioSinIVA, "35"}})});
    Comprobante v;
    if (c.transferencia) {
        v.TC = QStringLiteral("TR");
        v.EsTransferencia = true;
        v.IdDepositoDestino = QStringLiteral("7");
    } else {
        v.TC = QStringLiteral("RMC");
        v.TcOrigen = QStringLiteral("OC");
        v.ComprobanteOrigen = QStringLiteral("000100000005A");
    }
    EjecutaEnArchivo(base.path, QString::fromLatin1(c.disparador));
    Postea(v, true);
    EXPECT_FALSE(hayError); // collecting runs nothing
    EXPECT_FALSE(EjecutaEnTransaccion(sqlTemp)) << sqlTemp.toStdString();

    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK")), 0);
    EXPECT_TRUE(Valor(QStringLiteral("SELECT FECHARECEPCION FROM C_MV_CPTE")).isNull());
    EXPECT_EQ(UltimoDelLibro(), 0);
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM MV_ASIENTOS")), 0);

    // Without the trigger the same text posts the whole voucher.
    EjecutaEnArchivo(base.path, QStringLiteral("DROP TRIGGER falla"));
    EXPECT_TRUE(EjecutaEnTransaccion(sqlTemp)) << sqlTemp.toStdString();
    if (c.transferencia) {
        EXPECT_EQ(Movimientos(v.TC), (QStringList{"1 3>7 -/- -2", "2 5>7 -/- -4", "3 7>3 -/- 2", "4 7>5 -/- 4"}));
        EXPECT_EQ(Consumos(), QStringList());
        EXPECT_EQ(Diario(v.TC), (QStringList{"1.3.01 H 20", "1.3.03 H 120", "5.1.01 D 140"}));
    } else {
        EXPECT_EQ(Movimientos(v.TC).size(), 2);
        EXPECT_EQ(Consumos().size(), 2);
        EXPECT_FALSE(Valor(QStringLiteral("SELECT FECHARECEPCION FROM C_MV_CPTE")).isNull());
        EXPECT_EQ(UltimoDelLibro(), 2);
        // Received at the order's price without VAT.
        EXPECT_EQ(Diario(v.TC), (QStringList{"1.3.01 D 24", "1.3.03 D 140", "5.1.06 H 164"}));
    }
    EXPECT_EQ(DebeMenosHaber(v.TC), 0);
}

#define FALLA(cuando) "CREATE TRIGGER falla " cuando " BEGIN SELECT RAISE(ABORT, 'Rechazada'); END"

INSTANTIATE_TEST_SUITE_P(
    Sentencias,
    TodoONada,
    ::testing::Values(
        CasoFalla{"the first movement",
                  FALLA("BEFORE INSERT ON V_MV_STOCK WHEN NEW.Secuencia = 1 AND NEW.TC <> '  PE'"),
                  false},
        CasoFalla{"a consumption row",
                  FALLA("BEFORE INSERT ON V_MV_STOCK WHEN NEW.TC = '  PE' AND NEW.Secuencia = 2"),
                  false},
        CasoFalla{"the reception of the order", FALLA("BEFORE UPDATE ON C_MV_CPTE"), false},
        CasoFalla{"the consumption voucher's book", FALLA("BEFORE UPDATE ON V_TA_CPTE"), false},
        CasoFalla{"a row entering the transfer's destination",
                  FALLA("BEFORE INSERT ON V_MV_STOCK WHEN NEW.TC = '  TR' AND NEW.Secuencia = 4"),
                  true},
        CasoFalla{"a journal row of the receipt", FALLA("BEFORE INSERT ON MV_ASIENTOS WHEN NEW.Secuencia = 2"), false},
        CasoFalla{"a journal row of the transfer", FALLA("BEFORE INSERT ON MV_ASIENTOS WHEN NEW.Secuencia = 3"), true}));

} // namespace
