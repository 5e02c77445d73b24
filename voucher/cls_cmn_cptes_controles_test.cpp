#include "tests/support/empresa.h"
#include "voucher/cls_cmn_cptes.h"
#include "voucher/columnas.h"

#include "platform/ui/flex_grid.h"
#include "tests/support/grilla.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace GrillaArticulos;

const int kSinTocar = -7;

// Two task lines, seven article lines (and a row of blanks that is no line),
// one other concept; each grid ends in its empty row.
class Lineas : public Empresa
{
protected:
    void SetUp() override
    {
        Empresa::SetUp();
        LlenaGrilla(tareas, GrillaTareas::Columnas, {{{0, "Código"}}, {{0, "T1"}}, {{0, "T2"}}, {}});
        std::vector<FilaDeGrilla> filas{{{ColArticulo, "Código"}}};
        for (int i = 1; i <= 7; ++i)
            filas.push_back({{ColArticulo, QStringLiteral("ART%1").arg(i)}, {ColCantidad, "1"}});
        filas.push_back({{ColArticulo, "   "}, {ColCantidad, "5"}});
        filas.push_back({});
        LlenaGrilla(articulos, Columnas, filas);
        LlenaGrilla(otros, GrillaOtrosConceptos::Columnas, {{{0, "Detalle"}}, {{0, "Flete"}}, {}});
        Ejecuta(QStringLiteral("INSERT INTO TA_CONFIG_IMP_CPTE (ID, TC, LETRA, CANTLINEAS) VALUES "
                               "(1, 'FC', 'A', 12), (2, 'FC', 'B', 3), (3, 'FC', 'A', 99), (4, 'NC', 'A', 0), "
                               "(5, 'ND', 'A', NULL), (6, 'F''C', 'A', 1)"));
    }
    ui::FlexGrid tareas, articulos, otros;
};

struct LimiteCase
{
    const char *nombre;
    const char *tc;
    const char *letra;
    bool conTareas, conArticulos, conOtros;
    int cantLineas; // in
    bool lineasAnteriores;
    int agregar;
    bool caben;
    int cantLineasFinal;
    int usadas; // kSinTocar: left as it came
    friend void PrintTo(const LimiteCase &c, std::ostream *os) { *os << c.nombre; }
};

class Limite : public Lineas, public ::testing::WithParamInterface<LimiteCase>
{};

TEST_P(Limite, LinesFitThePrintedFormOfTypeAndLetter)
{
    const LimiteCase &c = GetParam();
    std::int16_t cantLineas = std::int16_t(c.cantLineas);
    std::int16_t usadas = kSinTocar;
    ClsCmnCptes cptes;
    const bool caben = cptes.ValidaCantidadLineasCpte(QString::fromUtf8(c.tc),
                                                      QString::fromUtf8(c.letra),
                                                      c.conTareas ? &tareas : nullptr,
                                                      c.conArticulos ? &articulos : nullptr,
                                                      c.conOtros ? &otros : nullptr,
                                                      cantLineas,
                                                      usadas,
                                                      c.agregar,
                                                      c.lineasAnteriores);
    EXPECT_EQ(caben, c.caben);
    EXPECT_EQ(cantLineas, c.cantLineasFinal);
    EXPECT_EQ(usadas, c.usadas);
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Casos,
    Limite,
    ::testing::Values(
        LimiteCase{"to_the_last_line", "FC", "A", true, true, true, 0, false, 2, true, 12, 10},
        LimiteCase{"one_too_many", "FC", "A", true, true, true, 0, false, 3, false, 12, 10},
        LimiteCase{"first_row_by_id", "FC", "A", true, true, true, 40, false, 0, true, 12, 10},
        LimiteCase{"per_letter", "FC", "B", true, true, true, 0, false, 0, false, 3, 10},
        LimiteCase{"limit_zero", "NC", "A", true, true, true, 9, false, 500, true, 0, kSinTocar},
        LimiteCase{"limit_null", "ND", "A", true, true, true, 9, false, 500, true, 0, kSinTocar},
        LimiteCase{"no_row", "XX", "A", true, true, true, 9, false, 500, true, 0, kSinTocar},
        LimiteCase{"earlier_limit_no_query", "FC", "A", true, true, true, 5, true, 0, false, 5, 10},
        LimiteCase{"earlier_limit_fits", "FC", "A", true, false, false, 5, true, 3, true, 5, 2},
        LimiteCase{"earlier_limit_zero", "FC", "A", true, true, true, 0, true, 99, true, 0, kSinTocar},
        LimiteCase{"only_articles", "FC", "A", false, true, false, 0, false, 5, true, 12, 7},
        LimiteCase{"no_grid", "FC", "B", false, false, false, 0, false, 3, true, 3, 0},
        LimiteCase{"no_grid_over", "FC", "B", false, false, false, 0, false, 4, false, 3, 0},
        LimiteCase{"quote_in_type", "F'C", "A", false, false, true, 0, false, 0, true, 1, 1},
        LimiteCase{"quote_in_type_over", "F'C", "A", false, false, true, 0, false, 1, false, 1, 1},
        // Unquoted, the condition would read every row and find the limit 12.
        LimiteCase{
            "quote_cannot_change_the_query", "X' OR '1'='1", "A", true, true, true, 0, false, 0, true, 0, kSinTocar},
        LimiteCase{"quote_in_letter", "FC", "A' OR LETRA='B", true, true, true, 0, false, 0, true, 0, kSinTocar}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(Lineas, AFailingLimitQueryIsTreatedAndTheLinesDoNotFit)
{
    Ejecuta(QStringLiteral("DROP TABLE TA_CONFIG_IMP_CPTE"));
    operador.answer(ui::vbAbort).answer(ui::vbAbort);
    std::int16_t cantLineas = 0, usadas = kSinTocar;
    ClsCmnCptes cptes;
    EXPECT_FALSE(cptes.ValidaCantidadLineasCpte(
        QStringLiteral("FC"), QStringLiteral("A"), &tareas, &articulos, &otros, cantLineas, usadas, 0, false));
    EXPECT_EQ(usadas, kSinTocar);
    ASSERT_FALSE(operador.requests().empty());
    EXPECT_TRUE(operador.last().title.contains(QStringLiteral(" - ValidaCantidadLineasCpte")))
        << operador.last().title.toStdString();
}

struct ItemsCase
{
    const char *nombre;
    std::vector<FilaDeGrilla> articulos; // lines below the titles
    int cantArticulos;
    int totUnidades;
    friend void PrintTo(const ItemsCase &c, std::ostream *os) { *os << c.nombre; }
};

class Items : public Lineas, public ::testing::WithParamInterface<ItemsCase>
{};

TEST_P(Items, LinesPerGridAndAWholeUnitTotalAfterEachLine)
{
    const ItemsCase &c = GetParam();
    std::vector<FilaDeGrilla> filas{{{ColArticulo, "Código"}}};
    filas.insert(filas.end(), c.articulos.begin(), c.articulos.end());
    LlenaGrilla(articulos, Columnas, filas);
    std::int32_t t = -1, a = -1, o = -1, u = -1;
    ClsCmnCptes cptes;
    EXPECT_EQ(cptes.CuentaItems(&tareas, &articulos, &otros, t, a, o, u), 2 + c.cantArticulos + 1);
    EXPECT_EQ(t, 2);
    EXPECT_EQ(a, c.cantArticulos);
    EXPECT_EQ(o, 1);
    EXPECT_EQ(u, c.totUnidades);
}

INSTANTIATE_TEST_SUITE_P(
    Cantidades,
    Items,
    ::testing::Values(
        ItemsCase{"whole", {{{0, "A"}, {ColCantidad, "3"}}, {{0, "B"}, {ColCantidad, "4"}}}, 2, 7},
        ItemsCase{"small_fractions_add_nothing",
                  {{{0, "A"}, {ColCantidad, "0.4"}}, {{0, "B"}, {ColCantidad, "0.4"}}},
                  2,
                  0},
        ItemsCase{"fractions", {{{0, "A"}, {ColCantidad, "1.4"}}, {{0, "B"}, {ColCantidad, " 1,4 "}}}, 2, 2},
        ItemsCase{"half_to_even", {{{0, "A"}, {ColCantidad, "2.5"}}, {{0, "B"}, {ColCantidad, "0.5"}}}, 2, 2},
        ItemsCase{"negative_and_not_a_number",
                  {{{0, "A"}, {ColCantidad, "-1.5"}}, {{0, "B"}, {ColCantidad, "x"}}},
                  2,
                  -2},
        ItemsCase{"blank_code_is_no_line", {{{0, "A"}, {ColCantidad, "1"}}, {{0, "  "}, {ColCantidad, "5"}}, {}}, 1, 1},
        ItemsCase{"titles_only", {}, 0, 0}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(Lineas, AbsentGridsCountNoLines)
{
    std::int32_t t = -1, a = -1, o = -1, u = -1;
    ClsCmnCptes cptes;
    EXPECT_EQ(cptes.CuentaItems(nullptr, &articulos, nullptr, t, a, o, u), 7);
    EXPECT_EQ(t, 0);
    EXPECT_EQ(a, 7);
    EXPECT_EQ(o, 0);
    EXPECT_EQ(u, 7);
    EXPECT_EQ(cptes.CuentaItems(nullptr, nullptr, nullptr, t, a, o, u), 0);
    EXPECT_EQ(u, 0);
}

struct RepetidoCase
{
    const char *codigo;
    int filaIgnorar;
    bool encontrado;
    int fila; // kSinTocar when none
    friend void PrintTo(const RepetidoCase &c, std::ostream *os)
    {
        *os << '"' << c.codigo << "\" ignoring row " << c.filaIgnorar;
    }
};

using Busqueda = std::function<bool(ClsCmnCptes &, const ui::FlexGrid &, const QString &, std::int32_t, std::int32_t &)>;

class Repetido : public Lineas, public ::testing::WithParamInterface<RepetidoCase>
{};

TEST_P(Repetido, FirstOtherRowWithTheSameCode)
{
    const RepetidoCase &c = GetParam();
    ui::FlexGrid grilla;
    LlenaGrilla(grilla,
                3,
                {{{0, "Código"}}, {{0, "A1"}}, {{0, "b2"}}, {{0, ""}}, {{0, " A1 "}}, {{0, "C3"}}, {{0, ""}}});
    ClsCmnCptes cptes;
    // One routine on the three grids.
    const std::vector<Busqueda>
        busquedas{[](ClsCmnCptes &x, const ui::FlexGrid &g, const QString &s, std::int32_t i, std::int32_t &f) {
                      return x.TareaRepetida(g, s, i, f);
                  },
                  [](ClsCmnCptes &x, const ui::FlexGrid &g, const QString &s, std::int32_t i, std::int32_t &f) {
                      return x.ArticuloRepetido(g, s, i, f);
                  },
                  [](ClsCmnCptes &x, const ui::FlexGrid &g, const QString &s, std::int32_t i, std::int32_t &f) {
                      return x.OtrosConceptosRepetidos(g, s, i, f);
                  }};
    for (const Busqueda &busca : busquedas) {
        std::int32_t fila = kSinTocar;
        EXPECT_EQ(busca(cptes, grilla, QString::fromUtf8(c.codigo), c.filaIgnorar, fila), c.encontrado);
        EXPECT_EQ(fila, c.fila);
    }
}

INSTANTIATE_TEST_SUITE_P(Codigos,
                         Repetido,
                         ::testing::Values(RepetidoCase{"A1", 1, true, 4},
                                           RepetidoCase{"a1", 4, true, 1},
                                           RepetidoCase{"A1", 0, true, 1},
                                           RepetidoCase{" B2 ", -1, true, 2},
                                           RepetidoCase{"C3", 5, false, kSinTocar},
                                           RepetidoCase{"ZZ", -1, false, kSinTocar},
                                           // A blank code finds the next blank row.
                                           RepetidoCase{"", 3, true, 6},
                                           RepetidoCase{"  ", -1, true, 3}));

struct FraccionCase
{
    const char *nombre;
    Variant numero;
    bool fraccion;
};

void PrintTo(const FraccionCase &c, std::ostream *os)
{
    *os << c.nombre;
}

class Fraccion : public Lineas, public ::testing::WithParamInterface<FraccionCase>
{};

TEST_P(Fraccion, WholeOrNotForAnyNumber)
{
    ClsCmnCptes cptes;
    EXPECT_EQ(cptes.NumeroEsFraccion(GetParam().numero), GetParam().fraccion);
    EXPECT_EQ(operador.requests().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Numeros,
                         Fraccion,
                         ::testing::Values(FraccionCase{"two_and_a_half", Variant(2.5), true},
                                           FraccionCase{"tenth", Variant(0.1), true},
                                           FraccionCase{"three", Variant(3), false},
                                           FraccionCase{"three_as_text", Variant("3.0"), false},
                                           FraccionCase{"comma", Variant("2,5"), true},
                                           FraccionCase{"forty_thousand", Variant(40000), false},
                                           FraccionCase{"forty_thousand_text", Variant("40000"), false},
                                           FraccionCase{"forty_thousand_and_a_half", Variant(40000.5), true},
                                           FraccionCase{"negative_large", Variant(-32769.25), true},
                                           FraccionCase{"huge", Variant(1e20), false},
                                           FraccionCase{"smallest_currency", Variant(Currency::fromScaled(1)), true},
                                           FraccionCase{"empty_text", Variant(""), false},
                                           FraccionCase{"null", Variant::null(), false},
                                           FraccionCase{"not_a_number", Variant("abc"), false}),
                         [](const auto &info) { return std::string(info.param.nombre); });

} // namespace
