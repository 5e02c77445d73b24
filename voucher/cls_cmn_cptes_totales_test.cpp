#include "voucher/cls_cmn_cptes.h"

#include "database/armado_sql.h"
#include "database/conversiones.h"
#include "database/globales.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/flex_grid_view.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/tab_strip.h"
#include "tests/support/esquema.h"
#include "tests/support/grilla.h"
#include "voucher/columnas.h"

#include <QDir>
#include <QTabWidget>
#include <QTest>

#include <optional>
#include <vector>

namespace {

constexpr long kAmarillo = 12648447;
constexpr long kNaranja = 12640511;
constexpr long kAzul = 16711680;

long ColorDe(ui::FlexGrid &g, int fila, int col)
{
    g.MoveTo(fila, col);
    return g.CellBackColor();
}

class Totales : public EmpresaEsquema
{
protected:
    void SetUp() override
    {
        EmpresaEsquema::SetUp();
        Ejecuta({QStringLiteral("INSERT INTO V_ta_Rubros (IdRubro, Descripcion) VALUES ('A', 'CONSTRUCCION')"),
                 QStringLiteral(
                     "INSERT INTO V_TA_TipoArticulo (IdTipo, DESCRIPCION, Tipo) VALUES ('T1', 'INSUMO', 'T1')")});
        cptes.emplace();
        Prepara();
    }
    // The form's tabs and grids as each case starts.
    void Prepara()
    {
        solapas.clear();
        for (const char *t : {"Tareas", "Articulos", "Otros Conceptos"})
            solapas.addTab(new QWidget, QString::fromUtf8(t));
        LlenaGrilla(tareas,
                    3,
                    {{},
                     {{0, "T1"}, {1, "PINTAR"}, {2, "1:30"}},
                     {{0, " "}, {2, "9"}},
                     {{0, "T2"}, {2, "1:45"}},
                     {{0, "T3"}, {2, "2"}}});
        // Categories A, blank, A; types T1, T1, blank.
        std::vector<FilaDeGrilla> filas{{}};
        for (const auto &[codigo, desc, cant, rubro, tipo] : {std::tuple{"CEM", "CEMENTO", "2", "A", "T1"},
                                                              std::tuple{"ARE", "ARENA", "1", "", "T1"},
                                                              std::tuple{"CEM", "CEMENTO", "3", "A", ""}})
            filas.push_back({{GrillaArticulos::ColArticulo, codigo},
                             {GrillaArticulos::ColDescripcion, desc},
                             {GrillaArticulos::ColCantidad, cant},
                             {GrillaArticulos::AuxRubroArticulo, rubro},
                             {GrillaArticulos::AuxTipoArticulo, tipo}});
        LlenaGrilla(articulos, 40, filas);
        LlenaGrilla(otros, 2, {{}, {{0, "FLETE"}}, {{0, ""}}, {{0, "SEGURO"}}});
        LlenaGrilla(totales, 3, {{{0, "Descripcion"}, {1, "Cantidad ITEM'S"}, {2, "Cantidad"}}, {{0, "viejo"}}});
        totales.setRows(6);
    }
    QStringList Filas()
    {
        QStringList out;
        for (int f = 1; f < totales.Rows(); ++f)
            out << totales.TextMatrix(f, 0) + QLatin1Char('|') + totales.TextMatrix(f, 1) + QLatin1Char('|')
                       + totales.TextMatrix(f, 2);
        return out;
    }
    std::vector<long> Colores()
    {
        std::vector<long> out;
        for (int f = 1; f < totales.Rows(); ++f)
            out.push_back(ColorDe(totales, f, 2));
        return out;
    }

    QTabWidget solapas;
    ui::FlexGrid tareas, articulos, otros, totales;
    std::optional<ClsCmnCptes> cptes;
};

TEST_F(Totales, OneRowPerVisibleTabAndTheArticleGroups)
{
    struct Caso
    {
        const char *nombre;
        std::vector<bool> visibles;
        bool rubro, tipo;
        QStringList filas;
        std::vector<long> colores;
    };
    const std::vector<Caso> casos = {
        {"no tab visible", {false, false, false}, false, false, {"viejo||"}, {kAzul}},
        {"tasks: hours and minutes, blank codes left out",
         {true, false, false},
         false,
         false,
         {"Tareas|3|5:15", "||"},
         {kAmarillo, kAzul}},
        {"by category",
         {false, true, false},
         true,
         false,
         {"Articulos|3|6", "-||1", "A-CONSTRUCCION||5", "||"},
         {kAmarillo, kNaranja, kNaranja, kAzul}},
        {"both flags: by category",
         {false, true, false},
         true,
         true,
         {"Articulos|3|6", "-||1", "A-CONSTRUCCION||5", "||"},
         {kAmarillo, kNaranja, kNaranja, kAzul}},
        {"by type",
         {false, true, false},
         false,
         true,
         {"Articulos|3|6", "-||3", "T1-INSUMO||3", "||"},
         {kAmarillo, kNaranja, kNaranja, kAzul}},
        {"neither flag: by article, described by the grid",
         {false, true, false},
         false,
         false,
         {"Articulos|3|6", "-||", "CEM-CEMENTO||5", "ARE-ARENA||1", "||"},
         {kAmarillo, kNaranja, kNaranja, kNaranja, kAzul}},
        {"other concepts", {false, false, true}, false, false, {"Otros Conceptos|2|", "||"}, {kAmarillo, kAzul}},
        {"every tab",
         {true, true, true},
         true,
         false,
         {"Tareas|3|5:15", "Articulos|3|6", "-||1", "A-CONSTRUCCION||5", "Otros Conceptos|2|", "||"},
         {kAmarillo, kAmarillo, kNaranja, kNaranja, kAmarillo, kAzul}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        Prepara();
        for (int i = 0; i < 3; ++i)
            solapas.setTabVisible(i, c.visibles[std::size_t(i)]);
        ui::TabStrip tabs(solapas);
        cptes->TotalizadorControl(tareas, articulos, otros, totales, tabs, c.rubro, c.tipo);
        EXPECT_EQ(Filas(), c.filas);
        EXPECT_EQ(Colores(), c.colores);
        EXPECT_EQ(operador.unexpected(), 0);
        if (c.visibles[1]) {
            EXPECT_EQ(BuscaEnArregloGlobal(QStringLiteral("")), 0);
            EXPECT_GT(BuscaEnArregloGlobal(c.rubro  ? QStringLiteral("a")
                                           : c.tipo ? QStringLiteral("T1 ")
                                                    : QStringLiteral("cem")),
                      0);
        }
    }
}

TEST_F(Totales, AnEmptyArticlesTabAndAMissingTab)
{
    LlenaGrilla(articulos, 40, {{}, {{GrillaArticulos::ColCantidad, "5"}}});
    gTotalesAgrupados.assign(3, TipoCampoValor{QStringLiteral("X"), QStringLiteral("1")});
    solapas.removeTab(2); // its visibility reads Null: hidden
    solapas.setTabVisible(0, false);
    ui::TabStrip tabs(solapas);
    EXPECT_TRUE(tabs.TabVisible(2).isNull());
    cptes->TotalizadorControl(tareas, articulos, otros, totales, tabs, true, false);
    EXPECT_EQ(Filas(), (QStringList{"Articulos|0|0", "||"}));
    EXPECT_EQ(gTotalesAgrupados.size(), 1u);
}

// The article total is summed as the group rows are, at four decimals, and
// written with the configured decimals: a thousand lines of 0.1 make 100.
TEST_F(Totales, ArticleTotalsAreWrittenWithTheConfiguredDecimals)
{
    struct Caso
    {
        const char *nombre;
        const char *decimales;
        const char *cantidad;
        int lineas;
        const char *total;
    } casos[] = {
        {"ThousandTenths", "2", "0.1", 1000, "100"},
        {"NoSettingKeepsFourDecimals", "", "0.1234", 3, "0.3702"},
        {"RoundedToTheSetting", "2", "0.125", 3, "0.38"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            gCantidadDecimales = QString::fromLatin1(c.decimales);
            std::vector<FilaDeGrilla> filas{{}};
            for (int i = 0; i < c.lineas; ++i)
                filas.push_back({{GrillaArticulos::ColArticulo, "CEM"},
                                 {GrillaArticulos::ColDescripcion, "CEMENTO"},
                                 {GrillaArticulos::ColCantidad, c.cantidad}});
            LlenaGrilla(articulos, 40, filas);
            solapas.setTabVisible(0, false);
            solapas.setTabVisible(2, false);
            ui::TabStrip tabs(solapas);
            cptes->TotalizadorControl(tareas, articulos, otros, totales, tabs, false, false);
            const QString total = QString::fromLatin1(c.total);
            const QStringList vistas = Filas();
            ASSERT_GE(vistas.size(), 3);
            EXPECT_EQ(vistas[0], QStringLiteral("Articulos|%1|").arg(c.lineas) + total);
            EXPECT_EQ(vistas[2], "CEM-CEMENTO||" + total);
        }();
    }
    gCantidadDecimales.clear();
}

TEST_F(Totales, TasksOfWholeAndPartHours)
{
    LlenaGrilla(tareas, 3, {{}, {{0, "T1"}, {2, "1.5"}}, {{0, "T2"}, {2, "1:45"}}});
    for (int i = 1; i < 3; ++i)
        solapas.setTabVisible(i, false);
    ui::TabStrip tabs(solapas);
    cptes->TotalizadorControl(tareas, articulos, otros, totales, tabs, false, false);
    EXPECT_EQ(Filas().first(), QStringLiteral("Tareas|2|3:15"));

    // A picture of a totals grid.
    solapas.setTabVisible(1, true);
    solapas.setTabVisible(2, true);
    cptes->TotalizadorControl(tareas, articulos, otros, totales, tabs, true, false);
    ui::FlexGridView vista(totales);
    vista.resize(420, 200);
    vista.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&vista));
    vista.grab().save(
        QDir(qEnvironmentVariable("ANULACION_CAPTURAS", QDir::tempPath())).filePath(QStringLiteral("totalizador.png")));
}

TEST_F(Totales, PaintingRowsAndColumnsLeavesTheCurrentCellAsSaid)
{
    struct Caso
    {
        const char *nombre;
        int columna, desde, hasta;
        std::vector<int> pintadas; // rows coloured in the column
    };
    const std::vector<Caso> casos = {
        {"default bounds: title row to the last", 1, -1, -1, {0, 1, 2, 3}},
        {"a range", 1, 2, 3, {2, 3}},
        {"an empty range", 1, 3, 2, {}},
        {"beyond the grid: the rows inside", 1, 2, 9, {2, 3}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        ui::FlexGrid g;
        g.setCols(3);
        g.setRows(4);
        g.MoveTo(1, 2);
        cptes->PintarColuma(c.columna, g, c.desde, c.hasta, 255);
        EXPECT_EQ(g.Row(), 1);
        EXPECT_EQ(g.Col(), c.pintadas.empty() ? 2 : c.columna);
        std::vector<int> pintadas;
        for (int f = 0; f < 4; ++f)
            if (ColorDe(g, f, c.columna) == 255)
                pintadas.push_back(f);
        EXPECT_EQ(pintadas, c.pintadas);
    }
    ui::FlexGrid g;
    g.setCols(3);
    g.setRows(4);
    g.MoveTo(1, 2);
    cptes->PintarFila(3, g, 99);
    EXPECT_EQ((std::pair{g.Row(), g.Col()}), (std::pair{3, 2}));
    for (int col = 0; col < 3; ++col)
        EXPECT_EQ(ColorDe(g, 3, col), 99);
    EXPECT_EQ(ColorDe(g, 2, 0), 0);
    EXPECT_THROW(cptes->PintarFila(7, g, 99), VbException);
}

TEST_F(Totales, TheCurrentLineIntoItsPanels)
{
    ui::StatusBar barra;
    for (int i = 1; i <= 3; ++i)
        barra.AddPanel();
    barra.AddPanel(QStringLiteral("x"));
    barra.AddPanel(QStringLiteral("STOCK"));
    ui::FlexGrid tareas, articulos, otros;
    LlenaGrilla(tareas, 3, {{}, {{0, " T1 "}, {1, " PINTAR "}}});
    LlenaGrilla(articulos, 40, {{}, {{0, "CEM"}, {1, "CEMENTO"}, {GrillaArticulos::AuxStockDisponible, "12.5"}}});
    LlenaGrilla(otros, 2, {{}, {{0, " FLETE "}}});
    ClsCmnCptes &c = *cptes;
    c.MuestraDetalleTareas(tareas, barra);
    EXPECT_EQ(barra.Panels(4).Text(), QStringLiteral("T1 - PINTAR"));
    c.MuestraDetalleOtrosConceptos(otros, barra);
    EXPECT_EQ(barra.Panels(4).Text(), QStringLiteral("FLETE"));
    c.MuestraDetalleArticulos(articulos, barra, 2);
    EXPECT_EQ(barra.Panels(2).Text(), QStringLiteral("CEM - CEMENTO"));
    EXPECT_EQ(barra.Panels(5).Text(), QStringLiteral("Stock: 12.5"));

    // Without a Stock panel only the line; a panel beyond the bar is skipped here...
    ui::StatusBar corta;
    corta.AddPanel();
    corta.AddPanel(QStringLiteral("Otro"));
    c.MuestraDetalleArticulos(articulos, corta, 1);
    EXPECT_EQ(corta.Panels(1).Text(), QStringLiteral("CEM - CEMENTO"));
    EXPECT_EQ(corta.Panels(2).Text(), QString());
    c.MuestraDetalleArticulos(articulos, corta, 7);
    // ...and reaches the caller of the others.
    EXPECT_THROW(c.MuestraDetalleTareas(tareas, corta), VbException);
    EXPECT_THROW(c.MuestraDetalle(QStringLiteral("x"), corta, 0), VbException);
}

} // namespace
