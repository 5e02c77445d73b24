// Timber lines as they load: the measures their article asks for, hidden
// cells where it asks for none, and later lines of the same board joined to
// the first one.
#include "tests/support/carga.h"
#include "voucher/columnas.h"

#include "voucher/cls_cmn_cptes_p.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using namespace GrillaArticulos;

constexpr long kBlanco = 0xFFFFFF;

// One stored board line.
struct Tabla
{
    const char *articulo;
    const char *unidad;
    const char *espesor;
    const char *ancho;
    const char *importeUd;
    const char *cantidad;
    const char *largo; // Equiv_UDBase
    const char *importe;
    const char *cantidadUd;
};

class Madera : public Comprobantes
{
protected:
    void SetUp() override
    {
        Comprobantes::SetUp();
        gMaderera = true;
        gMadTiras = QStringLiteral("TI");
        Ejecuta(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD, PIDEMEDIDAS) VALUES "
                               "('                    TABLA', 'TABLA PINO', '  TI', 1), "
                               "('                    CLAVO', 'CLAVO 2', '  UN', NULL)"));
    }
    void Carga(const std::vector<Tabla> &lineas)
    {
        const ValoresFila clave = Clave("FC", kRM);
        Cabecera(clave);
        int id = 0;
        for (const Tabla &t : lineas)
            Linea(clave,
                  ++id,
                  t.articulo,
                  QString::fromLatin1(t.cantidad),
                  {{"IDUNIDAD", Texto(t.unidad)},
                   {"ESPESOR", QString::fromLatin1(t.espesor)},
                   {"Ancho", QString::fromLatin1(t.ancho)},
                   {"Ud_Pr", "'  M2'"},
                   {"Importe_Ud", QString::fromLatin1(t.importeUd)},
                   {"Equiv_UDBase", QString::fromLatin1(t.largo)},
                   {"IMPORTE", QString::fromLatin1(t.importe)},
                   {"CANTIDADUD", QString::fromLatin1(t.cantidadUd)}});
        Asigna(QStringLiteral("FC"), kRM);
    }
    static QString Texto(const char *t) { return QStringLiteral("'%1'").arg(QString::fromLatin1(t)); }
    long Color(int fila, int col)
    {
        articulos.MoveTo(fila, col);
        return articulos.CellForeColor();
    }
};

TEST_F(Madera, MeasuresShownOrHiddenAsTheArticleAsks)
{
    Disposicion(QStringLiteral("FC"));
    Carga({{"TABLA", "  TI", "2", "6", "10", "1", "3.5", "35", "3.5"},
           {"TABLA", "  M3", "1", "4", "10", "1", "2", "20", "2"},
           {"CLAVO", "  UN", "0", "0", "0", "1", "NULL", "5", "1"}});
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
    ASSERT_EQ(articulos.Rows(), 5);
    const std::vector<std::pair<int, const char *>> strips{{ColEspesor, "2"},
                                                           {ColAncho, "6"},
                                                           {ColAux67, "TI"},
                                                           {AuxCoeficiente, "3.5"},
                                                           {PideMedidas, "1"},
                                                           {ColUnidadPrecio, "M2"},
                                                           {ColImporteUnidad, "10"}};
    for (const auto &[col, texto] : strips)
        EXPECT_EQ(A(1, col), QString::fromLatin1(texto)) << col;
    // A board sold in another unit keeps its length from the line, out of sight.
    EXPECT_EQ(A(2, ColEspesor), QStringLiteral("1"));
    EXPECT_EQ(A(2, AuxCoeficiente), QStringLiteral("2"));
    EXPECT_EQ(A(3, PideMedidas), QStringLiteral("0"));
    EXPECT_EQ(A(3, ColEspesor), QString());

    // White on exactly these cells.
    const std::set<std::pair<int, int>> blancas{{2, AuxCoeficiente},
                                                {3, ColEspesor},
                                                {3, ColAncho},
                                                {3, AuxCoeficiente}};
    for (int fila = 1; fila <= 3; ++fila)
        for (int col = 0; col < Columnas; ++col)
            EXPECT_EQ(Color(fila, col) == kBlanco, blancas.count({fila, col}) == 1) << fila << ", " << col;
}

struct CasoUnion
{
    const char *nombre;
    std::vector<Tabla> lineas;
    // What stays, row by row: code, quantity, length, previous length, amount, amount without VAT, units.
    std::vector<std::vector<const char *>> filas;
};

void PrintTo(const CasoUnion &c, std::ostream *os)
{
    *os << c.nombre;
}

class Union : public Madera, public ::testing::WithParamInterface<CasoUnion>
{};

TEST_P(Union, BoardsOfOneKindBecomeOneLine)
{
    const CasoUnion &c = GetParam();
    gUnidadKG = QStringLiteral("KG");
    Ejecuta(QStringLiteral("INSERT INTO S_TA_EQUIV (IdArticulo, IDUNIDAD, IDUNIDAD_EQUIV, Coeficiente) VALUES "
                           "('                    TABLA', '  TI', '  KG', 2)"));
    Disposicion(QStringLiteral("FC"));
    Carga(c.lineas);
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
    ASSERT_EQ(articulos.Rows(), int(c.filas.size()) + 2);
    const int columnas[]
        = {ColArticulo, ColCantidad, AuxCoeficiente, LargoAnt, ColImporte, AuxPrecioSinIVA, ColCantidadEquiv};
    for (std::size_t f = 0; f < c.filas.size(); ++f)
        for (std::size_t k = 0; k < std::size(columnas); ++k)
            EXPECT_EQ(A(int(f) + 1, columnas[k]), QString::fromLatin1(c.filas[f][k]))
                << "row " << f + 1 << " column " << columnas[k];
    EXPECT_EQ(A(int(c.filas.size()) + 1, ColArticulo), QString());

    // The kilograms of every line follow its quantity, the joined ones too.
    for (int fila = 1; fila <= int(c.filas.size()); ++fila) {
        ui::FlexGrid sola;
        sola.setCols(Columnas);
        sola.setRows(2);
        for (int col : {ColArticulo, ColUnidad, ColCantidad})
            sola.setTextMatrix(1, col, A(fila, col));
        sola.setRow(1);
        cptes::CalculaEquivalenciasFila(sola);
        EXPECT_EQ(A(fila, ColCantidadKG), sola.TextMatrix(1, ColCantidadKG)) << "row " << fila;
    }
}

// Boards: code, unit, thickness, width, price per unit, quantity, length, amount, units.
INSTANTIATE_TEST_SUITE_P(
    Casos,
    Union,
    ::testing::Values(
        // 10 of length 3 and 30 of length 4: 40 of 3.75; amounts weighted by quantity.
        CasoUnion{"two_boards_join",
                  {{"TABLA", "  TI", "2", "6", "10", "10", "3", "100", "30"},
                   {"TABLA", "  TI", "2", "6", "10", "30", "4", "200", "120"}},
                  {{"TABLA", "40", "3.75", "3.75", "175.00", "175.00", "150"}}},
        CasoUnion{"the_unit_in_another_case",
                  {{"TABLA", "  TI", "2", "6", "10", "10", "3", "100", "30"},
                   {"TABLA", "  ti", "2", "6", "10", "30", "4", "200", "120"}},
                  {{"TABLA", "40", "3.75", "3.75", "175.00", "175.00", "150"}}},
        CasoUnion{"another_width_stays_apart",
                  {{"TABLA", "  TI", "2", "6", "10", "10", "3", "100", "30"},
                   {"TABLA", "  TI", "2", "8", "10", "30", "4", "200", "120"}},
                  {{"TABLA", "10", "3", "", "100", "0", "30"}, {"TABLA", "30", "4", "", "200", "0", "120"}}},
        // The joined row is not the last one: the next line was written below it.
        CasoUnion{"a_later_line_joins_over_another",
                  {{"TABLA", "  TI", "2", "6", "10", "10", "3", "100", "30"},
                   {"TABLA", "  TI", "1", "6", "10", "5", "2", "50", "10"},
                   {"TABLA", "  TI", "2", "6", "10", "30", "4", "200", "120"},
                   {"TABLA", "  TI", "1", "6", "10", "5", "4", "50", "20"}},
                  {{"TABLA", "40", "3.75", "3.75", "175.00", "175.00", "150"},
                   {"TABLA", "10", "3.00", "3.00", "50.00", "50.00", "30"}}}),
    [](const ::testing::TestParamInfo<CasoUnion> &info) { return std::string(info.param.nombre); });

TEST_F(Madera, JoinsTheFirstOfTwoEqualRowsOnly)
{
    Disposicion(QStringLiteral("FC"));
    // The caller's grid holds two rows of the board already.
    articulos.setRows(3);
    for (int fila : {1, 2})
        for (const auto &[col, texto] : std::vector<std::pair<int, const char *>>{{ColArticulo, "TABLA"},
                                                                                  {ColUnidad, "TI"},
                                                                                  {ColEspesor, "2"},
                                                                                  {ColAncho, "6"},
                                                                                  {ColImporteUnidad, "10"},
                                                                                  {ColCantidad, "10"},
                                                                                  {AuxCoeficiente, "3"},
                                                                                  {ColImporte, "100"}})
            articulos.setTextMatrix(fila, col, QString::fromLatin1(texto));
    Carga({{"TABLA", "  TI", "2", "6", "10", "30", "4", "200", "120"}});
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
    EXPECT_EQ(Lineas(ColCantidad), (QStringList{QStringLiteral("40"), QStringLiteral("10"), QString()}));
    EXPECT_EQ(A(1, AuxCoeficiente), QStringLiteral("3.75"));
    EXPECT_EQ(A(2, AuxCoeficiente), QStringLiteral("3"));
}

TEST_F(Madera, NoQuantityToWeightLeavesTheMeansAsTheyWere)
{
    Disposicion(QStringLiteral("FC"));
    operador.answer(ui::vbIgnore).answer(ui::vbIgnore);
    Carga({{"TABLA", "  TI", "2", "6", "10", "0", "3", "100", "30"},
           {"TABLA", "  TI", "2", "6", "10", "0", "4", "200", "-40"}});
    // The length and the price cannot be weighted by nothing: both are told.
    ASSERT_EQ(operador.requests().size(), 2u);
    for (const auto &r : operador.requests()) {
        EXPECT_TRUE(r.prompt.contains(QStringLiteral("(11)"))) << r.prompt.toStdString();
        EXPECT_TRUE(r.title.contains(QStringLiteral("AsignarDatosPresupuesto")));
    }
    EXPECT_EQ(articulos.Rows(), 3);
    EXPECT_EQ(A(1, ColCantidad), QStringLiteral("0"));
    EXPECT_EQ(A(1, AuxCoeficiente), QStringLiteral("3"));
    EXPECT_EQ(A(1, LargoAnt), QStringLiteral("3"));
    EXPECT_EQ(A(1, ColCantidadEquiv), QStringLiteral("-10"));
    EXPECT_EQ(A(1, ColImporte), QStringLiteral("0.00"));
}

} // namespace
