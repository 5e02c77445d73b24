// What a loaded article line shows of a voucher delivered in parts: the
// quantity still to deliver in ColCantidad, the rest to apply beside it.
#include "tests/support/carga.h"
#include "voucher/columnas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct CasoPendiente
{
    const char *nombre;
    const char *tc;
    bool compras;
    const char *repartoCabecera;          // the header's IdReparto
    int idRepartoRM;                      // the caller's marker
    const char *entregaParcial;           // EntregaParcialRemito; nullptr: no key
    std::vector<const char *> cantidades; // lines of one article
    const char *movido;                   // already moved through stock for the voucher (nullptr: nothing)
    const char *aplicado;                 // taken by a later voucher that names it as origin (nullptr: none)
    QStringList mostrada;                 // ColCantidad of each line
    QStringList resto;                    // AuxRestoPorAplicar of each line
};

void PrintTo(const CasoPendiente &c, std::ostream *os)
{
    *os << c.nombre;
}

class Pendiente : public Comprobantes, public ::testing::WithParamInterface<CasoPendiente>
{};

TEST_P(Pendiente, ShownQuantityAndRestToApply)
{
    const CasoPendiente &c = GetParam();
    const char *cuenta = c.compras ? "  2001" : nullptr;
    const ValoresFila clave = Clave(c.tc, kRM, cuenta);
    if (c.entregaParcial)
        Configura(QStringLiteral("EntregaParcialRemito"), QString::fromLatin1(c.entregaParcial));
    Cabecera(clave, {{"IdReparto", QString::fromLatin1(c.repartoCabecera)}}, c.compras);
    int id = 0;
    for (const char *cantidad : c.cantidades)
        Linea(clave, ++id, "ART1", QString::fromLatin1(cantidad), {}, c.compras);
    if (c.movido)
        Inserta(QStringLiteral("V_MV_STOCK"),
                Mas(Clave(c.tc, kRM),
                    {{"Secuencia", "1"},
                     {"Fecha", "'2024-03-06'"},
                     {"IdArticulo", "'                     ART1'"},
                     {"Cantidad", QString::fromLatin1(c.movido)}}));
    if (c.aplicado)
        Linea(Mas(Clave("FC", QStringLiteral("000100000099A")),
                  {{"TC_ORIGEN", QStringLiteral("'%1'").arg(QString::fromLatin1(c.tc).rightJustified(4))},
                   {"IDCOMPROBANTE_ORIGEN", QStringLiteral("'%1'").arg(kRM)}}),
              1,
              "ART1",
              QString::fromLatin1(c.aplicado));
    Disposicion(QString::fromLatin1(c.tc));
    idReparto = std::int16_t(c.idRepartoRM);

    Asigna(QString::fromLatin1(c.tc), kRM, QStringLiteral("0"), c.compras, QString::fromLatin1(cuenta));

    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
    QStringList mostrada = Lineas(GrillaArticulos::ColCantidad);
    QStringList resto = Lineas(GrillaArticulos::AuxRestoPorAplicar);
    ASSERT_EQ(mostrada.size(), c.cantidades.size() + 1);
    mostrada.removeLast();
    resto.removeLast();
    EXPECT_EQ(mostrada, c.mostrada);
    EXPECT_EQ(resto, c.resto);
}

INSTANTIATE_TEST_SUITE_P(
    Casos,
    Pendiente,
    ::testing::Values(
        CasoPendiente{
            "a_purchase_shows_what_it_stores", "RM", true, "-1", 0, nullptr, {"10"}, "-6", nullptr, {"10"}, {"10"}},
        CasoPendiente{"a_remittance_shows_what_is_still_pending",
                      "RM",
                      false,
                      "-1",
                      0,
                      nullptr,
                      {"10"},
                      "-6",
                      nullptr,
                      {"4"},
                      {"4"}},
        // 15 pending on the voucher: each line shows at most its own quantity.
        CasoPendiente{"pending_is_capped_at_the_line",
                      "RM",
                      false,
                      "-1",
                      0,
                      "SI",
                      {"10", "5"},
                      nullptr,
                      nullptr,
                      {"10", "5"},
                      {"10", "5"}},
        CasoPendiente{"a_returned_remittance_line_keeps_its_sign",
                      "RM",
                      false,
                      "-1",
                      0,
                      nullptr,
                      {"-3"},
                      nullptr,
                      nullptr,
                      {"-3"},
                      {"-3"}},
        CasoPendiente{
            "a_returned_order_line_shows_nothing", "NP", false, "-1", 0, nullptr, {"-3"}, nullptr, nullptr, {"0"}, {"-3"}},
        // Without the key an order is delivered in parts; later vouchers took 2.
        CasoPendiente{
            "an_order_less_what_later_vouchers_took", "NP", false, "NULL", 0, nullptr, {"5"}, nullptr, "2", {"3"}, {"3"}},
        CasoPendiente{"an_order_nothing_applied_yet", "NP", false, "0", 0, nullptr, {"5"}, nullptr, nullptr, {"5"}, {"5"}},
        CasoPendiente{"an_invoice_delivered_in_parts", "FC", false, "-1", 0, nullptr, {"10"}, "-6", nullptr, {"4"}, {"4"}},
        CasoPendiente{"an_invoice_otherwise_shows_what_it_stores",
                      "FC",
                      false,
                      "NULL",
                      0,
                      nullptr,
                      {"10"},
                      nullptr,
                      "2",
                      {"10"},
                      {"10"}},
        CasoPendiente{"partial_deliveries_off", "NP", false, "NULL", 0, "no", {"5"}, nullptr, "2", {"5"}, {"5"}},
        // Marked -98 by the caller: the quantities are turned round, never below 0.
        CasoPendiente{
            "turned_round_never_below_zero", "RM", false, "NULL", -98, nullptr, {"5"}, nullptr, nullptr, {"0"}, {"5"}},
        CasoPendiente{"turned_round_return", "RM", false, "NULL", -98, nullptr, {"-3"}, nullptr, nullptr, {"3"}, {"-3"}}),
    [](const ::testing::TestParamInfo<CasoPendiente> &info) { return std::string(info.param.nombre); });

} // namespace
