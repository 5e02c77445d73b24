// The entry grids' layout on a company made from the schema, measured with a
// form's own font.
#include "tests/support/carga.h"
#include "voucher/cls_cmn_cptes.h"
#include "voucher/columnas.h"

#include "platform/ui/flex_grid.h"
#include "platform/ui/text_box.h"
#include "platform/ui/units.h"
#include "tests/support/error_provocado.h"

#include <QFont>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

// A width as the layout writes it: "15-1" is the width of 15 letters X less
// that of one, "#480" a number of twips, "@a_text" the width of "a text".
int Ancho(const QWidget &form, const QString &expresion)
{
    if (expresion.startsWith(QLatin1Char('@')))
        return ui::TextWidth(form, expresion.mid(1).replace(QLatin1Char('_'), QLatin1Char(' ')));
    int total = 0;
    int signo = 1;
    QString termino;
    auto suma = [&] {
        if (termino.isEmpty())
            return;
        const int n = termino.mid(termino.startsWith(QLatin1Char('#')) ? 1 : 0).toInt();
        total += signo * (termino.startsWith(QLatin1Char('#')) ? n : ui::TextWidth(form, QString(n, QLatin1Char('X'))));
        termino.clear();
    };
    for (const QChar c : expresion) {
        if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
            suma();
            signo = c == QLatin1Char('+') ? 1 : -1;
        } else {
            termino += c;
        }
    }
    suma();
    return total;
}

// The article columns an operator may see; every other one is hidden in every case.
const int kVisibles[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 18, 21, 22, 40};

struct CasoDisposicion
{
    const char *nombre;
    const char *tc;
    const char *sistema; // nullptr: the type has no row
    std::vector<std::pair<const char *, const char *>> claves;
    bool maderera;
    const char *tareas;                  // widths of task columns 0 to 4
    const char *articulos;               // widths of the article columns of kVisibles, in that order
    const char *otros;                   // widths of other-concept columns 0 to 2
    std::map<int, const char *> titulos; // article titles that vary
};

void PrintTo(const CasoDisposicion &c, std::ostream *os)
{
    *os << c.nombre;
}

class Disposicion : public EmpresaCarga, public ::testing::WithParamInterface<CasoDisposicion>
{
protected:
    void SetUp() override
    {
        EmpresaCarga::SetUp();
        // Large enough that a width measured in any other font would differ.
        form.setFont(QFont(QStringLiteral("DejaVu Sans"), 15));
        edit.setName(QStringLiteral("TxtEdit"));
        edit2.setName(QStringLiteral("txtEdit2"));
        edit3.setName(QStringLiteral("txtEdit3"));
        edit3.setText(QStringLiteral("a medio escribir"));
    }
    void Anchos(const ui::FlexGrid &grilla, const std::vector<int> &columnas, const char *esperados)
    {
        const QStringList anchos = QString::fromUtf8(esperados).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_EQ(anchos.size(), qsizetype(columnas.size()));
        for (std::size_t i = 0; i < columnas.size(); ++i)
            EXPECT_EQ(grilla.ColWidth(columnas[i]), Ancho(form, anchos[qsizetype(i)]))
                << grilla.Name().toStdString() << " column " << columnas[i] << " = "
                << anchos[qsizetype(i)].toStdString();
    }
    QWidget form;
    ui::FlexGrid tareas, articulos, otros, totales;
    ui::TextBox edit, edit2, edit3;
};

TEST_P(Disposicion, WidthsAndTitlesFollowTypeSystemAndSwitches)
{
    const CasoDisposicion &c = GetParam();
    if (c.sistema)
        Tipo(QString::fromUtf8(c.tc), QString::fromUtf8(c.sistema));
    for (const auto &[clave, valor] : c.claves)
        Configura(QString::fromUtf8(clave), QString::fromUtf8(valor));
    gMaderera = c.maderera;
    tareas.setName(QStringLiteral("tareas"));
    articulos.setName(QStringLiteral("articulos"));
    otros.setName(QStringLiteral("otros"));

    ClsCmnCptes cptes;
    cptes.InicializaGrids(&tareas, &articulos, &otros, &edit, &edit2, &edit3, form, QString::fromUtf8(c.tc), &totales);

    EXPECT_EQ(tareas.Rows(), 2);
    EXPECT_EQ(tareas.Cols(), 16);
    Anchos(tareas, {0, 1, 2, 3, 4}, c.tareas);
    for (int col = 5; col < 16; ++col)
        EXPECT_EQ(tareas.ColWidth(col), 0) << "task column " << col;

    EXPECT_EQ(articulos.Rows(), 2);
    EXPECT_EQ(articulos.Cols(), 92);
    Anchos(articulos, std::vector<int>(std::begin(kVisibles), std::end(kVisibles)), c.articulos);
    for (int col = 0; col < 92; ++col) {
        if (std::find(std::begin(kVisibles), std::end(kVisibles), col) == std::end(kVisibles)) {
            EXPECT_EQ(articulos.ColWidth(col), 0) << "article column " << col;
        }
    }
    for (const auto &[col, titulo] : c.titulos)
        EXPECT_EQ(articulos.TextMatrix(0, col), QString::fromUtf8(titulo)) << "title of article column " << col;

    EXPECT_EQ(otros.Rows(), 2);
    EXPECT_EQ(otros.Cols(), 6);
    Anchos(otros, {0, 1, 2}, c.otros);
    for (int col = 3; col < 6; ++col)
        EXPECT_EQ(otros.ColWidth(col), 0);

    EXPECT_EQ(totales.Rows(), 5);
    EXPECT_EQ(totales.Cols(), 3);
    Anchos(totales, {0, 1, 2}, "50 15 10");
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
}

// Article widths, in the order of kVisibles:
//   0   1   2  3  4  5  6  7  8  9  10  11  12  13  14  15  18  21  22  40
INSTANTIATE_TEST_SUITE_P(
    Casos,
    Disposicion,
    ::testing::Values(
        CasoDisposicion{"base",
                        "FC",
                        "VENTAS",
                        {{"PideDepositoEnCptes", "si"}},
                        false,
                        "7 37 7 11 11",
                        "15 29 0 0 0 4 4 6 0 0 0 0 0 0 11 0 10 0 0 10",
                        "49 11 11",
                        {{0, "Código"},
                         {11, "% Dto."},
                         {18, "TOTAL"},
                         {40, "Impuestos"},
                         {9, ""},
                         {10, ""},
                         {21, "AuxNroLote"},
                         {22, "AuxNroSerie"},
                         {3, ""},
                         {8, "AuxCoeficiente"}}},
        CasoDisposicion{"op_lower_case_hides_amounts",
                        "op",
                        "COMPRAS",
                        {{"PideDepositoEnCptes", "SI"}},
                        false,
                        "7 37+11+11 7 0 0",
                        "15 29+11+10 0 0 0 4 4 6 0 0 0 0 0 0 0 0 0 0 0 10",
                        "49+11+11 0 0",
                        {{14, "Importe"}, {18, "TOTAL"}}},
        CasoDisposicion{"ot_hiding_amounts_hides_hours_and_deposit",
                        "OT",
                        "VENTAS",
                        {{"PideDepositoEnCptes", "SI"}, {"NoMostrarImportesEnOT", "Si"}},
                        false,
                        "7 37+11+11+7 0 0 0",
                        "15 29+11+10 0 0 0 4 0 6 0 0 0 0 0 0 0 0 0 0 0 10",
                        "49+11+11 0 0",
                        {}},
        CasoDisposicion{"ot_showing_amounts_still_hides_deposit",
                        "OT",
                        "VENTAS",
                        {{"PideDepositoEnCptes", "SI"}, {"NoMostrarImportesEnOT", "NO"}},
                        false,
                        "7 37 7 11 11",
                        "15 29 0 0 0 4 0 6 0 0 0 0 0 0 11 0 10 0 0 10",
                        "49 11 11",
                        {}},
        CasoDisposicion{"pr_hides_deposit_shows_amounts",
                        "PR",
                        "VENTAS",
                        {{"PideDepositoEnCptes", "SI"}},
                        false,
                        "7 37 7 11 11",
                        "15 29 0 0 0 4 0 6 0 0 0 0 0 0 11 0 10 0 0 10",
                        "49 11 11",
                        {}},
        CasoDisposicion{"dvpe_shows_lots_and_serials",
                        "DVPE",
                        "VENTAS",
                        {},
                        false,
                        "7 37 7 11 11",
                        "15 29 0 0 0 4 0 6 0 0 0 0 0 0 11 0 10 @Nro._de_Lote @Nro._de_Serie 10",
                        "49 11 11",
                        {{21, "Nro. Lote"}, {22, "Nro. Serie"}}},
        CasoDisposicion{"stock_system",
                        "PE",
                        "STOCK",
                        {{"PideDepositoEnCptes", "SI"}, {"V_DescuentoPorArticulos", "SI"}},
                        false,
                        "7 37 7 11 11",
                        "15 39+11-#480 0 0 0 4+4 4 6+7 0 0 0 0 0 0 0 0 0 0 0 0",
                        "49 11 11",
                        {{11, ""}, {18, ""}, {40, ""}, {15, "Total"}, {14, "Importe"}}},
        CasoDisposicion{"stock_system_with_amounts_hidden",
                        "OC",
                        "Stock",
                        {},
                        false,
                        "7 37+11+11 7 0 0",
                        "15 39+11-#480 0 0 0 4+4 0 6+7 0 0 0 0 0 0 0 0 0 0 0 0",
                        "49+11+11 0 0",
                        {}},
        CasoDisposicion{"price_list",
                        "FC",
                        "VENTAS",
                        {{"V_ListaPreciosPorItemArticulos", "SI"}},
                        false,
                        "7 37 7 11 11",
                        "15-1 29-3 4 0 0 4 0 6 0 0 0 0 0 0 11 0 10 0 0 10",
                        "49 11 11",
                        {{2, "Lista"}}},
        CasoDisposicion{"line_discount",
                        "FC",
                        "ventas",
                        {{"V_DescuentoPorArticulos", "SI"}},
                        false,
                        "7 37 7 11 11",
                        "15-1 29-3 0 0 0 4 0 6 0 0 0 5 0 0 11-1 0 10 0 0 10",
                        "49 11 11",
                        {{11, "% Dto."}}},
        CasoDisposicion{"both_switches",
                        "FC",
                        "VENTAS",
                        {{"V_ListaPreciosPorItemArticulos", "SI"}, {"V_DescuentoPorArticulos", "SI"}},
                        false,
                        "7 37 7 11 11",
                        "15-1-1 29-3-3 4 0 0 4 0 6 0 0 0 5 0 0 11-1 0 10 0 0 10",
                        "49 11 11",
                        {}},
        CasoDisposicion{"switches_only_for_sales",
                        "FCC",
                        "COMPRAS",
                        {{"V_ListaPreciosPorItemArticulos", "SI"}, {"V_DescuentoPorArticulos", "SI"}},
                        true,
                        "7 37 7 11 11",
                        "15 29 0 0 0 4 0 6 0 0 0 0 0 0 11 0 10 0 0 10",
                        "49 11 11",
                        {{3, ""}, {8, "AuxCoeficiente"}}},
        CasoDisposicion{"equivalent_units",
                        "FC",
                        "VENTAS",
                        {{"ConfirmaUDEquiv", "SI"}},
                        false,
                        "7 37 7 11 11",
                        "15 29 0 0 0 4 0 6 0 7 9 0 0 0 11 0 10 0 0 10",
                        "49 11 11",
                        {{9, "UDEquiv"}, {10, "Cant. Equiv"}}},
        CasoDisposicion{"timber",
                        "FC",
                        "VENTAS",
                        {},
                        true,
                        "7 37 7 11 11",
                        "15 29 0 7 7 4 0 6 7 0 0 0 4 9 0 0 10 0 0 10",
                        "49 11 11",
                        {{3, "Espesor"}, {4, "Ancho"}, {8, "Largo"}, {12, "UD"}, {13, "Importe"}, {14, "Importe"}}},
        CasoDisposicion{"article_title_in_proper_case",
                        "FC",
                        "VENTAS",
                        {{"NombreArticulos", "CÓDIGO DE ARTÍCULO"}},
                        false,
                        "7 37 7 11 11",
                        "15 29 0 0 0 4 0 6 0 0 0 0 0 0 11 0 10 0 0 10",
                        "49 11 11",
                        {{0, "Código De Artículo"}}},
        CasoDisposicion{"type_without_a_row_has_no_system",
                        "ZZ",
                        nullptr,
                        {{"V_DescuentoPorArticulos", "SI"}, {"NombreArticulos", "   "}},
                        true,
                        "7 37 7 11 11",
                        "15 29 0 0 0 4 0 6 0 0 0 0 0 0 11 0 10 0 0 10",
                        "49 11 11",
                        {{0, "Código"}, {11, "% Dto."}}}),
    [](const ::testing::TestParamInfo<CasoDisposicion> &info) { return std::string(info.param.nombre); });

TEST_F(Disposicion, TitlesOfTheHiddenColumnsAndTheEditBoxes)
{
    Tipo(QStringLiteral("FC"), QStringLiteral("VENTAS"));
    edit.show();
    edit2.show();
    ClsCmnCptes cptes;
    cptes.InicializaGrids(&tareas, &articulos, &otros, &edit, &edit2, &edit3, form, QStringLiteral("FC"), &totales);

    const char *const tituloTareas[] = {"Código",
                                        "Descripción",
                                        "Horas",
                                        "Valor/Hora",
                                        "Total",
                                        "AuxEsExento",
                                        "ImporteSinIVA",
                                        "AuxObservAdic",
                                        "AuxFechaInicio",
                                        "AuxFechaFin",
                                        "AuxIdTecnico",
                                        "CodigoOriginal",
                                        "AuxFechaREALInicio",
                                        "AuxFechaREALFin",
                                        "AuxCuentaContable",
                                        "AuxTasaIVA"};
    for (int col = 0; col < 16; ++col)
        EXPECT_EQ(tareas.TextMatrix(0, col), QString::fromUtf8(tituloTareas[col])) << col;

    std::map<int, const char *> tituloArticulos{{0, "Código"},
                                                {1, "Descripción"},
                                                {2, "Lista"},
                                                {5, "UD"},
                                                {6, "Dep."},
                                                {7, "Cant."},
                                                {8, "AuxCoeficiente"},
                                                {11, "% Dto."},
                                                {14, "Importe"},
                                                {15, "Total"},
                                                {16, "AuxEsExento"},
                                                {17, "AuxPrecioSinIVA"},
                                                {18, "TOTAL"},
                                                {19, "AuxPideSerie"},
                                                {20, "AuxPidelote"},
                                                {21, "AuxNroLote"},
                                                {22, "AuxNroSerie"},
                                                {23, "AuxRestoPorAplicar"},
                                                {24, "AuxTipoArticulo"},
                                                {25, "AuxRubroArticulo"},
                                                {26, "AuxListaConIVA"},
                                                {27, "AuxPrecioConIVA"},
                                                {28, "AuxCantidadInsumo"},
                                                {29, "AuxImporteDescuentoArticulo"},
                                                {30, "AuxTipoCoeficiente"},
                                                {31, "AuxStockDisponible"},
                                                {32, "AuxStockMinimo"},
                                                {33, "AuxTasaIVA"},
                                                {34, "AuxCpteOrigen"},
                                                {35, "AuxIdCpteOrigen"},
                                                {36, "Lote_Origen"},
                                                {37, "Lote_Aduana"},
                                                {40, "Impuestos"},
                                                {83, "PideMedidas"},
                                                {84, "LargoAnt"},
                                                {88, "EnComodato"},
                                                {89, "MKBaseFamilia"},
                                                {90, "CodError"},
                                                {91, "AuxCodigoPercepcion"}};
    for (int col = 0; col < 92; ++col) {
        const auto t = tituloArticulos.find(col);
        EXPECT_EQ(articulos.TextMatrix(0, col), t == tituloArticulos.end() ? QString() : QString::fromUtf8(t->second))
            << col;
    }
    for (int col : {0, 1})
        EXPECT_EQ(articulos.ColAlignment(col), ui::flexAlignLeftCenter);
    EXPECT_EQ(tareas.ColAlignment(1), ui::flexAlignLeftCenter);
    EXPECT_EQ(otros.ColAlignment(0), ui::flexAlignLeftCenter);
    EXPECT_EQ(totales.ColAlignment(0), ui::flexAlignLeftCenter);

    const char *const tituloOtros[] = {"Detalle", "Importe S/Iva", "Importe", "Cuenta", "", ""};
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(otros.TextMatrix(0, col), QString::fromUtf8(tituloOtros[col]));
    const char *const tituloTotales[] = {"Descripcion", "Cantidad ITEM'S", "Cantidad"};
    for (int col = 0; col < 3; ++col)
        EXPECT_EQ(totales.TextMatrix(0, col), QString::fromUtf8(tituloTotales[col]));

    EXPECT_FALSE(edit.isVisible());
    EXPECT_FALSE(edit2.isVisible());
    EXPECT_EQ(edit3.Text(), QString());
}

TEST_F(Disposicion, ASecondLayoutStartsFromBlankGrids)
{
    Tipo(QStringLiteral("FC"), QStringLiteral("VENTAS"));
    Tipo(QStringLiteral("PE"), QStringLiteral("STOCK"));
    ClsCmnCptes cptes;
    cptes.InicializaGrids(&tareas, &articulos, &otros, &edit, &edit2, &edit3, form, QStringLiteral("FC"), &totales);
    articulos.setRows(4);
    articulos.setTextMatrix(2, GrillaArticulos::ColArticulo, QStringLiteral("ART0001"));
    articulos.MoveTo(2, GrillaArticulos::ColEspesor);
    articulos.setCellForeColor(0xFFFFFF);
    tareas.setTextMatrix(1, 0, QStringLiteral("T1"));

    cptes.InicializaGrids(&tareas, &articulos, &otros, &edit, nullptr, &edit3, form, QStringLiteral("PE"), &totales);
    EXPECT_EQ(articulos.Rows(), 2);
    EXPECT_EQ(tareas.TextMatrix(1, 0), QString());
    EXPECT_EQ(articulos.TextMatrix(0, GrillaArticulos::ColTotalLinea), QString());
    EXPECT_EQ(articulos.ColWidth(GrillaArticulos::ColTotalLinea), 0);
    articulos.MoveTo(1, GrillaArticulos::ColEspesor);
    EXPECT_EQ(articulos.CellForeColor(), 0);
}

TEST_F(Disposicion, OnlyTheTotalsGridStillReadsTheTypeAndTheSettings)
{
    Tipo(QStringLiteral("FC"), QStringLiteral("VENTAS"));
    enviadas.clear();
    ClsCmnCptes cptes;
    cptes.InicializaGrids(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, form, QStringLiteral(" FC "), &totales);
    EXPECT_EQ(EnviadasCon(QStringLiteral("SELECT SISTEMA FROM V_TA_CPTE WHERE CODIGO = '  FC'")).size(), 1);
    EXPECT_EQ(EnviadasCon(QStringLiteral("'PideDepositoEnCptes'")).size(), 1);
    EXPECT_EQ(EnviadasCon(QStringLiteral("'NombreArticulos'")).size(), 1);
    EXPECT_EQ(totales.Rows(), 5);
    Anchos(totales, {0, 1, 2}, "50 15 10");
}

TEST_F(Disposicion, AGridWithoutItsEditBoxIsTheCallersError)
{
    Tipo(QStringLiteral("FC"), QStringLiteral("VENTAS"));
    ClsCmnCptes cptes;
    EXPECT_EQ(RaisedNumber([&] {
                  cptes.InicializaGrids(&tareas,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        form,
                                        QStringLiteral("FC"),
                                        nullptr);
              }),
              vberr::ObjectNotSet);
    // The grid itself was laid out before the box was wanted.
    EXPECT_EQ(tareas.Cols(), 16);
}

TEST_F(Disposicion, AQuoteInTheTypeStaysInItsLiteral)
{
    enviadas.clear();
    ClsCmnCptes cptes;
    cptes.InicializaGrids(nullptr, &articulos, nullptr, nullptr, nullptr, nullptr, form, QStringLiteral("F'C"), nullptr);
    EXPECT_EQ(EnviadasCon(QStringLiteral("WHERE CODIGO = ' F''C'")).size(), 1);
    EXPECT_EQ(operador.requests().size(), 0u);
    EXPECT_EQ(articulos.ColWidth(GrillaArticulos::ColTotalLinea), Ancho(form, QStringLiteral("10")));
}

} // namespace
