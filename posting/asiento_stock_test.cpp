#include "posting/asiento_stock.h"

#include "tests/support/error_provocado.h"
#include "tests/support/grilla.h"
#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

#include "voucher/columnas.h"

#include <climits>

namespace {

struct CasoMotivo
{
    const char *nombre;
    std::int16_t tipoMov;
    const char *tc;
    bool dif;
    bool asienta;
    bool porSigno;
    bool esDebito;
    const char *clave; // the motive's key after "MotivoStock", "" when the caller's stays
    bool sinIVA;
};

void PrintTo(const CasoMotivo &c, std::ostream *os)
{
    *os << c.nombre;
}

class MotivoYLado : public ::testing::TestWithParam<CasoMotivo>
{};

TEST_P(MotivoYLado, ByKindAndType)
{
    const CasoMotivo &c = GetParam();
    const MotivoAsiento m = EligeMotivoAsiento(c.tipoMov, QString::fromLatin1(c.tc), c.dif);
    EXPECT_EQ(m.Asienta, c.asienta);
    if (!c.asienta)
        return;
    EXPECT_EQ(m.PorSigno, c.porSigno);
    if (!c.porSigno) {
        EXPECT_EQ(m.EsDebito, c.esDebito);
    }
    EXPECT_EQ(m.ClaveMotivo, *c.clave ? QStringLiteral("MotivoStock") + QString::fromLatin1(c.clave) : QString());
    EXPECT_EQ(m.ValorSinIVA, c.sinIVA);
}

INSTANTIATE_TEST_SUITE_P(
    Casos,
    MotivoYLado,
    ::testing::Values(
        CasoMotivo{"a delivery debits the delivery motive", 1, "RM", false, true, false, true, "Remito", false},
        CasoMotivo{"a loan debits the loan motive", 2, "RM", false, true, false, true, "Comodato", false},
        CasoMotivo{"a transfer's issue debits", 3, "TR", false, true, false, true, "Transferencias", false},
        CasoMotivo{"a transfer's entry credits", 4, "TR", false, true, false, false, "Transferencias", false},
        CasoMotivo{
            "a reception credits, at the price without VAT", 5, "RMC", false, true, false, false, "RecepcionOC", true},
        CasoMotivo{
            "on the differences grid: the side turns, the motive stays", 5, "RMC", true, true, false, true, "", true},
        CasoMotivo{
            "a reception by its type, case and blanks aside", 0, " rmc ", false, true, false, false, "RecepcionOC", true},
        CasoMotivo{"an inventory entry credits the caller's motive", 0, "IR", false, true, false, false, "", false},
        CasoMotivo{"a positive adjustment credits, on either grid", 0, "AJP", true, true, false, false, "", false},
        CasoMotivo{"an opening stock credits", 0, "SI", false, true, false, false, "", false},
        CasoMotivo{"a negative adjustment debits", 0, "AJN", false, true, false, true, "", false},
        CasoMotivo{"a kind that names no motive lets the type decide", 7, "VS", false, true, false, true, "", false},
        CasoMotivo{"any other type takes the side of its sign", 0, "RM", false, true, true, false, "", false},
        CasoMotivo{"an invoice posts no stock entry of its own", 1, "FC", false, false, false, false, "", false},
        CasoMotivo{"a credit note neither", 0, "NC", false, false, false, false, "", false},
        CasoMotivo{"a purchase never", 3, "NCC", false, false, false, false, "", false},
        CasoMotivo{"the cost of an invoice debits", 99, "FC", false, true, false, true, "", false},
        CasoMotivo{"the cost of a credit note credits", 99, "NCP", false, true, false, false, "", false},
        CasoMotivo{"no cost of a delivery", 99, "RM", false, false, false, false, "", false},
        CasoMotivo{"no cost of a purchase", 99, "FCC", false, false, false, false, "", false}));

struct CasoRenglones
{
    const char *nombre;
    std::vector<CuentaStock> cuentas;
    bool esDebito;
    double total;
    std::vector<RenglonAsiento> renglones; // starting at sequence 1
    std::int16_t siguiente;
};

void PrintTo(const CasoRenglones &c, std::ostream *os)
{
    *os << c.nombre;
}

class RenglonesDelAsiento : public ::testing::TestWithParam<CasoRenglones>
{};

TEST_P(RenglonesDelAsiento, MotiveAgainstEachAccount)
{
    const CasoRenglones &c = GetParam();
    std::int16_t secuencia = 1;
    const RenglonesAsiento asiento = ArmaRenglonesAsiento(QStringLiteral("M"), c.cuentas, c.esDebito, secuencia);
    EXPECT_EQ(asiento.Total, c.total);
    ASSERT_EQ(asiento.Renglones.size(), c.renglones.size());
    for (std::size_t i = 0; i < c.renglones.size(); ++i) {
        const RenglonAsiento &r = asiento.Renglones[i];
        const RenglonAsiento &e = c.renglones[i];
        EXPECT_EQ(r.Cuenta, e.Cuenta) << i;
        EXPECT_EQ(r.Importe, e.Importe) << i;
        EXPECT_EQ(r.Debe, e.Debe) << i;
        EXPECT_EQ(r.Secuencia, e.Secuencia) << i;
    }
    EXPECT_EQ(secuencia, c.siguiente);
}

Currency Pesos(int n)
{
    return Currency::fromScaled(std::int64_t(n) * 10000);
}

INSTANTIATE_TEST_SUITE_P(
    Casos,
    RenglonesDelAsiento,
    ::testing::Values(CasoRenglones{"the motive against each account, on the other side",
                                    {{"A", Pesos(10)}, {"B", Pesos(5)}},
                                    true,
                                    15,
                                    {{"M", 15, true, 1}, {"A", 10, false, 2}, {"B", 5, false, 3}},
                                    4},
                      CasoRenglones{"a negative account goes to the other side as its absolute value",
                                    {{"A", Pesos(10)}, {"B", Pesos(-4)}},
                                    false,
                                    6,
                                    {{"M", 6, false, 1}, {"A", 10, true, 2}, {"B", 4, false, 3}},
                                    4},
                      CasoRenglones{"a negative total turns the motive's side, the total keeps its sign",
                                    {{"A", Pesos(-3)}},
                                    true,
                                    -3,
                                    {{"M", 3, false, 1}, {"A", 3, true, 2}},
                                    3},
                      CasoRenglones{"a row of nothing is left out and keeps its number",
                                    {{"A", Pesos(0)}, {"B", Pesos(2)}},
                                    true,
                                    2,
                                    {{"M", 2, true, 1}, {"B", 2, false, 3}},
                                    4},
                      CasoRenglones{"no account: nothing is written, the motive's number is used", {}, true, 0, {}, 2}));

TEST(RenglonesDelAsiento, PastTheLastSequenceRaisesOverflow)
{
    std::int16_t secuencia = INT16_MAX - 2;
    const std::vector<CuentaStock> cuentas{{QStringLiteral("A"), Pesos(1)}};
    EXPECT_EQ(RaisedNumber([&] { ArmaRenglonesAsiento(QStringLiteral("M"), cuentas, true, secuencia); }), 0);
    EXPECT_EQ(secuencia, INT16_MAX);
    EXPECT_EQ(RaisedNumber([&] { ArmaRenglonesAsiento(QStringLiteral("M"), cuentas, true, secuencia); }), 6);
}

// The articles come out in the order of their first line, each once whatever
// the case its lines write it in, with what all its lines are worth.
TEST(ImportesDeArticulos, EachArticleOnceInTheOrderOfItsFirstLine)
{
    using namespace GrillaArticulos;
    ui::FlexGrid grilla;
    const auto linea = [](const char *articulo, const char *cantidad, const char *costo) {
        return FilaDeGrilla{{ColArticulo, QString::fromLatin1(articulo)},
                            {ColCantidad, QString::fromLatin1(cantidad)},
                            {ColAux38, QString::fromLatin1(costo)}};
    };
    LlenaGrilla(grilla,
                Columnas,
                {{},
                 linea("art1", "2", "10"),
                 linea("ART2", "1", "5"),
                 linea("ART1", "3", "10"),
                 linea("  Art2", "4", "5"),
                 linea("ART3", "1", "1.25")});
    const std::vector<ImporteArticulo> todos = ImportesDeArticulos(grilla, 0, ColAux38, false);
    ASSERT_EQ(todos.size(), 3u);
    EXPECT_EQ(todos[0].Articulo, QStringLiteral("art1").rightJustified(25));
    EXPECT_EQ(todos[0].Importe, Pesos(50));
    EXPECT_EQ(todos[1].Articulo, QStringLiteral("ART2").rightJustified(25));
    EXPECT_EQ(todos[1].Importe, Pesos(25));
    EXPECT_EQ(todos[2].Importe, Currency::fromScaled(12500));

    const std::vector<ImporteArticulo> una = ImportesDeArticulos(grilla, 4, ColAux38, false);
    ASSERT_EQ(una.size(), 1u);
    EXPECT_EQ(una[0].Importe, Pesos(20));
}

} // namespace
