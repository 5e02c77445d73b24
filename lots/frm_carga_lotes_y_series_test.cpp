// The lot and serial dialog, shown offscreen and driven with real keys and
// clicks, its message boxes answered from the script.
#include "lots/frm_carga_lotes_y_series.h"

#include "platform/runtime/regional.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/ui.h"
#include "platform/ui/units.h"
#include "tests/support/grilla.h"
#include "tests/support/lotes.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const QString kDebeAjustar = QStringLiteral("Debe Ajustar la suma de las cantidades a :");
const QString kSupera = QStringLiteral(
    "La suma de las cantidades Informadas, supera a la solicitada en el Formulario de Carga de Datos\r\n"
    "¿Desea Ajustar la Cantidad Solicitada en el Formulario?");
const QString kMenor = QStringLiteral(
    "La suma de las cantidades Informadas, Es Menor a la solicitada en el Formulario de Carga de Datos\r\n"
    "¿Desea Ajustar la Cantidad Solicitada en el Formulario?");
const QString kStockMenor = QStringLiteral("El Stock es Menor a la cantidad solicitada ");

class Carga : public ConStock
{
protected:
    // A dialog of the entry mode, loaded.
    FrmCargaLotesySeries &Entrada(double cantidad,
                                  bool serie,
                                  bool lote,
                                  bool talle = false,
                                  const QString &series = {},
                                  const QString &lotes = {})
    {
        FrmCargaLotesySeries &f = DialogoLotes::Get();
        f.Cantidad = cantidad;
        f.EsSerie = serie;
        f.EsLote = lote;
        f.EsTalle = talle;
        f.SeriesAnteriores = series;
        f.LotesAnteriores = lotes;
        f.CargaDatos();
        return f;
    }
    // A dialog of the issue mode of article A in depot 1, loaded.
    FrmCargaLotesySeries &Salida(double cantidad,
                                 bool lote,
                                 bool serie,
                                 const QString &lotes = {},
                                 const QString &series = {},
                                 bool mostrar = false)
    {
        FrmCargaLotesySeries &f = DialogoLotes::Get();
        f.Cantidad = cantidad;
        f.Articulo = QStringLiteral("A");
        f.EsConsultaDeSerieLote = true;
        f.EsLote = lote;
        f.EsSerie = serie;
        f.Deposito = QStringLiteral("   1");
        f.Lotes = lotes;
        f.Series = series;
        f.MostrarForm = mostrar;
        f.CargaDatos();
        return f;
    }
    // The column widths as runs of "X" in the dialog's font (-1: another width).
    static QList<int> Anchos(FrmCargaLotesySeries &f)
    {
        QList<int> out;
        for (int c = 0; c < f.MSFlexGrid1.Cols(); ++c) {
            int n = 0;
            while (n < 60 && ui::TextWidth(f, QString(n, QLatin1Char('X'))) != f.MSFlexGrid1.ColWidth(c))
                ++n;
            out << (n < 60 ? n : -1);
        }
        return out;
    }
};

// ---------------------------------------------------------------- entry mode

TEST_F(Carga, EntryRowsAreTheQuantityRoundedHalfToEven)
{
    const struct
    {
        double cantidad;
        int filas;
    } casos[] = {{3, 3}, {2.5, 3}, {1.5, 1}, {0.4, 0}, {1, 1}};
    for (const auto &k : casos) {
        SCOPED_TRACE(k.cantidad);
        [&] {
            FrmCargaLotesySeries &f = Entrada(k.cantidad, false, true);
            ASSERT_EQ(f.MSFlexGrid1.Rows(), k.filas + 1);
            QStringList items;
            for (int r = 1; r <= k.filas; ++r)
                items << QString::number(r);
            EXPECT_EQ(Columna(f.MSFlexGrid1, 1), items);
            EXPECT_EQ(f.MSFlexGrid1.ColAlignment(1), ui::flexAlignCenterCenter);
            DialogoLotes::Unload();
        }();
    }
}

TEST_F(Carga, CaptionTitlesAndWidthsFollowTheArticlesFlags)
{
    const struct
    {
        bool serie, lote, talle;
        const char *deposito;
        const char *titulo;
        QStringList columnas;
        QList<int> anchos;
        bool serieYLote, esLote;
    } casos[] = {
        {false,
         true,
         false,
         "",
         "Números de Lote (Deposito: )",
         {"", "ITEM", "Número de Lote", ""},
         {0, 5, 35, 0},
         false,
         true},
        {true,
         false,
         false,
         "   2",
         "Números de Serie (Deposito:    2)",
         {"", "ITEM", "Número de Serie", ""},
         {0, 5, 35, 0},
         false,
         false},
        {true,
         true,
         false,
         "1",
         "Números de Lote y Serie (Deposito: 1)",
         {"", "ITEM", "Número de Lote", "Número de Serie"},
         {0, 5, 25, 25},
         true,
         true},
        {true,
         true,
         true,
         "1",
         "Talles, Colores, Sexo (Deposito: 1)",
         {"", "ITEM", "Número de Serie", ""},
         {0, 5, 35, 0},
         false,
         false},
        {false,
         false,
         true,
         "1",
         "Talles, Colores, Sexo (Deposito: 1)",
         {"", "ITEM", "Número de Lote", ""},
         {0, 5, 35, 0},
         false,
         false},
        {false, false, false, "1", "Numeros de Serie", {"", "ITEM", "Número de Lote", ""}, {0, 5, 35, 0}, false, false},
    };
    for (const auto &k : casos) {
        SCOPED_TRACE(k.titulo);
        FrmCargaLotesySeries &f = DialogoLotes::Get();
        f.Deposito = QString::fromUtf8(k.deposito);
        f.ArticuloDescripcion = QStringLiteral("TORNILLO de ACERO");
        Entrada(2, k.serie, k.lote, k.talle);
        EXPECT_EQ(f.windowTitle(), QString::fromUtf8(k.titulo));
        EXPECT_EQ(Titulos(f.MSFlexGrid1), k.columnas);
        EXPECT_EQ(Anchos(f), k.anchos);
        EXPECT_EQ(f.EsSerieYLote, k.serieYLote);
        EXPECT_EQ(f.EsLote, k.esLote);
        EXPECT_EQ(f.lblArticulo->text(), QStringLiteral("Tornillo De Acero"));
        EXPECT_EQ(f.MSFlexGrid1.FixedCols(), 1);
        DialogoLotes::Unload();
    }
}

TEST_F(Carga, EveryColumnShownIsAsWideAsItsTitle)
{
    const struct
    {
        bool consulta, serie, lote, talle;
    } casos[] = {
        {false, false, true, false},
        {false, true, true, false},
        {true, false, true, false},
        {true, true, true, false},
        {true, true, false, true},
    };
    for (const auto &k : casos) {
        SCOPED_TRACE(testing::Message() << k.consulta << k.serie << k.lote << k.talle);
        FrmCargaLotesySeries &f = DialogoLotes::Get();
        f.Cantidad = 2;
        f.EsConsultaDeSerieLote = k.consulta;
        f.EsSerie = k.serie;
        f.EsLote = k.lote;
        f.EsTalle = k.talle;
        f.CargaDatos();
        f.show();
        EnPantalla p(f);
        EXPECT_EQ(TitulosCortados(*f.VistaMSFlexGrid1), QStringList());
        DialogoLotes::Unload();
        ui::DestroyUnloaded();
    }
}

TEST_F(Carga, EarlierListsGoDownTheirColumnsAsFarAsThereAreRows)
{
    // Lots and serials, quantity lowered from 3 to 2: both lists show their
    // first two items; a "-" is a cell that was blank.
    FrmCargaLotesySeries &f = Entrada(2, true, true, false, QStringLiteral("|S1|S2|S3|"), QStringLiteral("|-|L2|L3|"));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 2), (QStringList{"", "L2"}));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 3), (QStringList{"S1", "S2"}));
    f.CmdAceptar_Click();
    EXPECT_EQ(f.Lotes, QStringLiteral("|-|L2|")) << "a blank row 1 has nothing to copy";
    EXPECT_EQ(f.Series, QStringLiteral("|S1|S2|"));
}

TEST_F(Carga, AcceptInEntryModeGivesOneItemPerRow)
{
    struct Caso
    {
        const char *nombre;
        bool serie, lote, talle;
        const char *series, *lotes; // earlier lists
        const char *esperaSeries, *esperaLotes;
    } casos[] = {
        // Row 1's lot fills the blank rows; serials stay each unit's own.
        {"Lots", false, true, false, "", "|L1|||", "", "|L1|L1|L1|"},
        {"Serials", true, false, false, "|S1|||", "", "|S1|-|-|", ""},
        {"Variants", true, true, true, "|M-ROJO|||", "", "|M-ROJO|M-ROJO|M-ROJO|", ""},
        {"NothingTyped", true, false, false, "", "", "", ""},
        {"BlanksWrittenAsDash", true, false, false, "|-|-|-|", "", "", ""},
        {"LotsAndSerials", true, true, false, "|S1||S3|", "|L1|||", "|S1|-|S3|", "|L1|L1|L1|"},
    };
    for (const Caso &k : casos) {
        SCOPED_TRACE(k.nombre);
        FrmCargaLotesySeries &f
            = Entrada(3, k.serie, k.lote, k.talle, QString::fromUtf8(k.series), QString::fromUtf8(k.lotes));
        f.CmdAceptar_Click();
        EXPECT_TRUE(f.Aceptado());
        EXPECT_EQ(f.Series, QString::fromUtf8(k.esperaSeries));
        EXPECT_EQ(f.Lotes, QString::fromUtf8(k.esperaLotes));
        DialogoLotes::Unload();
    }
    EXPECT_EQ(operador.requests().size(), 0u) << "entry mode checks nothing";
}

TEST_F(Carga, TypingALotOnRowOneFillsTheBlankRowsAtOnce)
{
    FrmCargaLotesySeries &f = Entrada(3, false, true);
    f.MSFlexGrid1.setTextMatrix(3, 2, QStringLiteral("L3"));
    f.show();
    EnPantalla p(f);
    p.pone(1, 2, QStringLiteral("L1"));
    EXPECT_EQ(p.columna(2), (QStringList{"L1", "L1", "L3"}));
    EXPECT_EQ(p.cursor(), std::make_pair(2, 2)) << "Enter goes down in the value column";
    p.pone(2, 2, QStringLiteral("L2"));
    EXPECT_EQ(p.columna(2), (QStringList{"L1", "L2", "L3"})) << "only row 1 fills the others";

    // A serial article: each unit keeps its own, also on row 1's edit.
    DialogoLotes::Unload();
    FrmCargaLotesySeries &s = Entrada(3, true, false);
    s.show();
    EnPantalla q(s);
    q.pone(1, 2, QStringLiteral("S1"));
    EXPECT_EQ(q.columna(2), (QStringList{"S1", "", ""}));
    q.f.CmdAceptar_Click();
    EXPECT_EQ(s.Series, QStringLiteral("|S1|-|-|"));
}

TEST_F(Carga, EnterInALotsAndSerialsGrid)
{
    // The serials decide the last editable column: Enter goes down the lots
    // and stays on a serial.
    FrmCargaLotesySeries &f = Entrada(2, true, true);
    f.show();
    EnPantalla p(f);
    p.pone(1, 2, QStringLiteral("L1"));
    EXPECT_EQ(p.cursor(), std::make_pair(2, 2));
    p.pone(1, 3, QStringLiteral("S1"));
    EXPECT_EQ(p.cursor(), std::make_pair(1, 3));
    p.pone(2, 2, QStringLiteral("L2"));
    EXPECT_EQ(p.cursor(), std::make_pair(2, 2)) << "last row: column 1, then the lot";
    p.foto(QStringLiteral("lotes_entrada_lote_y_serie"));
    p.tecla(Qt::Key_F2);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.Lotes, QStringLiteral("|L1|L2|"));
    EXPECT_EQ(f.Series, QStringLiteral("|S1|-|"));
}

TEST_F(Carga, AnUntouchedSerialKeepsItsPlace)
{
    FrmCargaLotesySeries &f = Entrada(3, true, true);
    f.show();
    EnPantalla p(f);
    p.pone(1, 3, QStringLiteral("S1"));
    p.pone(3, 3, QStringLiteral("S3"));
    p.pone(1, 2, QStringLiteral("L1"));
    f.CmdAceptar_Click();
    EXPECT_EQ(f.Series, QStringLiteral("|S1|-|S3|"));
    EXPECT_EQ(f.Lotes, QStringLiteral("|L1|L1|L1|"));
}

TEST_F(Carga, EnterOnTheLastRowOfAnEntryGridGoesToColumnOne)
{
    FrmCargaLotesySeries &f = Entrada(2, false, true);
    f.show();
    EnPantalla p(f);
    p.pone(2, 2, QStringLiteral("L2"));
    EXPECT_EQ(p.cursor(), std::make_pair(2, 1));
    p.foto(QStringLiteral("lotes_entrada"));
}

// ---------------------------------------------------------------- the editor in this dialog

TEST_F(Carga, EscapeAndEnterNeverCloseTheDialogAndNoButtonIsTheDefault)
{
    FrmCargaLotesySeries &f = Entrada(2, false, true);
    f.show();
    EnPantalla p(f);
    EXPECT_FALSE(f.CmdAceptar->isDefault());
    EXPECT_FALSE(f.CmdCancelar->isDefault());
    p.en(1, 2);
    p.escribe(QStringLiteral("L9"));
    p.tecla(Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(p.celda(1, 2), QString()) << "Escape keeps the cell's text";
    QTest::keyClick(f.VistaMSFlexGrid1, Qt::Key_Return); // on the grid: opens the box
    EXPECT_TRUE(f.TxtEdit->isVisible());
    QTest::keyClick(f.TxtEdit, Qt::Key_Return);
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.Aceptado());

    // Enter on a focused button presses that button.
    f.CmdCancelar->setFocus();
    QTest::keyClick(f.CmdCancelar, Qt::Key_Return);
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.Aceptado());
}

TEST_F(Carga, PipesAndTheLotSeparatorCannotBeTyped)
{
    FrmCargaLotesySeries &f = Entrada(1, false, true);
    f.show();
    EnPantalla p(f);
    p.en(1, 2);
    QTest::keyClick(f.VistaMSFlexGrid1, '|');
    EXPECT_FALSE(f.TxtEdit->isVisible()) << "a refused first key opens nothing";
    p.escribe(QStringLiteral("L|1") + Y);
    p.tecla(Qt::Key_Return);
    EXPECT_EQ(p.celda(1, 2), QStringLiteral("L1"));
}

TEST_F(Carga, ClosingTheWindowIsCancel)
{
    FrmCargaLotesySeries &f = Entrada(2, false, true);
    f.show();
    EnPantalla p(f);
    p.pone(1, 2, QStringLiteral("L1"));
    f.close();
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.Aceptado());
    EXPECT_EQ(f.Lotes, QString());
}

TEST_F(Carga, ToolbarFillsAndBlanksTheCellsBelow)
{
    FrmCargaLotesySeries &f = Entrada(4, false, true);
    f.show();
    EnPantalla p(f);
    ASSERT_EQ(f.Toolbar1->ButtonCount(), 2);
    EXPECT_EQ(f.Toolbar1->ToolTipText(1), QStringLiteral("Llenar las demas celdas con el valor de las seleccionadas"));
    EXPECT_EQ(f.Toolbar1->ToolTipText(2), QStringLiteral("Blanquear las Celdas a partir de la celda seleccionada"));
    const auto boton = [&](int i) {
        QTest::mouseClick(f.Toolbar1->widgetForAction(f.Toolbar1->Button(i)), Qt::LeftButton);
    };
    p.pone(2, 2, QStringLiteral("L2"));
    p.en(2, 2);
    boton(1);
    EXPECT_EQ(p.columna(2), (QStringList{"", "L2", "L2", "L2"}));
    p.en(3, 2);
    boton(2);
    EXPECT_EQ(p.columna(2), (QStringList{"", "L2", "L2", ""}));

    // An open edit is committed first: the fill copies what was typed.
    p.en(1, 2);
    p.escribe(QStringLiteral("X1"));
    boton(1);
    EXPECT_FALSE(f.TxtEdit->isVisible());
    EXPECT_EQ(p.columna(2), (QStringList{"X1", "X1", "X1", "X1"}));

    // The item numbers and the hidden column are no values: they stay.
    for (int col : {0, 1}) {
        p.en(1, col);
        boton(1);
        boton(2);
    }
    EXPECT_EQ(p.columna(0), (QStringList{"", "", "", ""}));
    EXPECT_EQ(p.columna(1), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(p.columna(2), (QStringList{"X1", "X1", "X1", "X1"}));
}

// ---------------------------------------------------------------- issue mode

class Salidas : public Carga
{
protected:
    void SetUp() override
    {
        Carga::SetUp();
        Stock("A", "1", "A", "", "5");
        Stock("A", "1", "B", "", "10");
        Stock("A", "2", "C", "", "99"); // another depot
        Stock("B", "1", "Z", "", "50"); // another article
        Stock("A", "1", "D", "", "0");  // no stock left
    }
};

TEST_F(Salidas, TheRequestedQuantityIsTakenFromTheStockInOrder)
{
    FrmCargaLotesySeries &f = Salida(7, true, false);
    EXPECT_EQ(Titulos(f.MSFlexGrid1), (QStringList{"LOTE", "SERIE", "CANT. STOCK", "CANT. "}));
    EXPECT_EQ(Anchos(f), (QList<int>{18, 0, 12, 12}));
    EXPECT_EQ(f.MSFlexGrid1.FixedCols(), 2);
    EXPECT_EQ(f.MSFlexGrid1.ColAlignment(0), ui::flexAlignCenterTop);
    EXPECT_EQ(Columna(f.MSFlexGrid1, 0), (QStringList{"A", "B", ""}));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 2), (QStringList{"5", "10", ""}));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 3), (QStringList{"5", "2", "0"}));
    f.CmdAceptar_Click();
    EXPECT_TRUE(f.Aceptado());
    EXPECT_EQ(f.Lotes, QStringLiteral("|") + Clave("A") + "|" + Clave("B") + "|" + Y + "|");
    EXPECT_EQ(f.Series, QStringLiteral("|5|2|0|"));
    EXPECT_EQ(f.Cantidad, 7);
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Salidas, TheStockQueryQuotesItsLiterals)
{
    Stock("O'1", "1", "Q", "", "4");
    enviadas.clear();
    FrmCargaLotesySeries &f = DialogoLotes::Get();
    f.Cantidad = 1;
    f.Articulo = QStringLiteral("O'1");
    f.EsConsultaDeSerieLote = true;
    f.EsLote = true;
    f.Deposito = QStringLiteral("   1");
    f.CargaDatos();
    EXPECT_EQ(Columna(f.MSFlexGrid1, 0), (QStringList{"Q", ""}));
    EXPECT_EQ(EnviadasCon(QStringLiteral("STK_SERIES_Y_LOTES")),
              QStringList{
                  QStringLiteral("SELECT * FROM STK_SERIES_Y_LOTES WHERE IdArticulo = '") + QString(22, ' ')
                  + QStringLiteral("O''1' AND CANTIDAD > 0  AND IDDEPOSITO = '   1' ORDER BY NROLOTE, NROSERIE ")});
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Salidas, MoreThanTheStockLeavesEveryRowAtItsStock)
{
    FrmCargaLotesySeries &f = Salida(20, true, false);
    EXPECT_EQ(Columna(f.MSFlexGrid1, 3), (QStringList{"5", "10", "0"}));
    f.CmdAceptar_Click();
    EXPECT_EQ(operador.prompts(), QStringList{kStockMenor});
    EXPECT_EQ(operador.last().icon, ui::vbInformation);
    EXPECT_EQ(operador.last().title, QStringLiteral("Aviso al Operador!!!"));
    EXPECT_FALSE(f.Aceptado());
    EXPECT_EQ(f.Lotes, QString()) << "the results keep what they had";
}

TEST_F(Salidas, OneStockRow)
{
    Ejecuta(QStringLiteral("DELETE FROM STK_SERIES_Y_LOTES WHERE NroLote = 'B'"));
    FrmCargaLotesySeries &f = Salida(3, true, false);
    EXPECT_EQ(Columna(f.MSFlexGrid1, 0), (QStringList{"A", ""}));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 3), (QStringList{"3", "0"}));
    f.CmdAceptar_Click();
    EXPECT_EQ(f.Series, QStringLiteral("|3|0|"));
}

TEST_F(Salidas, WhatOtherLinesTookIsNotOfferedAgain)
{
    FrmCargaLotesySeries &f = DialogoLotes::Get();
    f.LotesExistentes = QStringLiteral("|") + Clave("A") + "|" + Clave("X") + "|" + Clave("B") + "|";
    f.SeriesExistentes = QStringLiteral("|3|1|2.5|");
    Salida(7, true, false);
    EXPECT_EQ(Columna(f.MSFlexGrid1, 2), (QStringList{"2", "7.5", ""}));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 3), (QStringList{"2", "5", "0"}));
}

TEST_F(Salidas, ALotOtherLinesEmptiedGivesNothing)
{
    // Another line took 7 of lot A, which holds 5: the proposal takes nothing
    // from A, never its negative remainder, and the rest from B.
    FrmCargaLotesySeries &f = DialogoLotes::Get();
    f.LotesExistentes = QStringLiteral("|") + Clave("A") + "|";
    f.SeriesExistentes = QStringLiteral("|7|");
    Salida(4, true, false);
    EXPECT_EQ(Columna(f.MSFlexGrid1, 2), (QStringList{"-2", "10", ""}));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 3), (QStringList{"0", "4", "0"}));
    f.CmdAceptar_Click();
    EXPECT_TRUE(f.Aceptado());
    EXPECT_EQ(f.Series, QStringLiteral("|0|4|0|"));
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Salidas, TheToolbarWritesOnlyTheTakenQuantities)
{
    struct Caso
    {
        const char *nombre;
        int boton;
        int fila, col;
        QStringList tomado;
    };
    // Proposed at load: 5, 2 and the blank row's 0.
    const Caso casos[] = {
        {"fill on the lot column", 1, 1, 0, {"5", "2", "0"}},
        {"blank on the lot column", 2, 1, 0, {"5", "2", "0"}},
        {"fill on the stock column", 1, 1, 2, {"5", "2", "0"}},
        {"blank on the stock column", 2, 1, 2, {"5", "2", "0"}},
        {"fill on the quantity column", 1, 1, 3, {"5", "5", "5"}},
        {"blank on the quantity column", 2, 1, 3, {"5", "", ""}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        FrmCargaLotesySeries &f = Salida(7, true, false, {}, {}, true);
        f.show();
        EnPantalla p(f);
        p.en(c.fila, c.col);
        QTest::mouseClick(f.Toolbar1->widgetForAction(f.Toolbar1->Button(c.boton)), Qt::LeftButton);
        EXPECT_EQ(p.columna(0), (QStringList{"A", "B", ""}));
        EXPECT_EQ(p.columna(1), (QStringList{"", "", ""}));
        EXPECT_EQ(p.columna(2), (QStringList{"5", "10", ""}));
        EXPECT_EQ(p.columna(3), c.tomado);
        EXPECT_EQ(Titulos(f.MSFlexGrid1), (QStringList{"LOTE", "SERIE", "CANT. STOCK", "CANT. "}));
        DialogoLotes::Unload();
        ui::DestroyUnloaded();
    }

    // Down out of an edit puts the cursor on the lot; a fill there leaves the
    // keys alone and the accept takes 7 as proposed.
    FrmCargaLotesySeries &f = Salida(7, true, false, {}, {}, true);
    f.show();
    EnPantalla p(f);
    p.en(1, 3);
    p.escribe(QStringLiteral("5"));
    p.tecla(Qt::Key_Down);
    ASSERT_EQ(p.cursor(), std::make_pair(2, 0));
    QTest::mouseClick(f.Toolbar1->widgetForAction(f.Toolbar1->Button(1)), Qt::LeftButton);
    f.CmdAceptar_Click();
    EXPECT_TRUE(f.Aceptado());
    EXPECT_EQ(f.Lotes, QStringLiteral("|") + Clave("A") + "|" + Clave("B") + "|" + Y + "|");
    EXPECT_EQ(f.Series, QStringLiteral("|5|2|0|"));
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Salidas, AnEarlierChoiceComesBackByItsFullKey)
{
    Ejecuta(QStringLiteral("DELETE FROM STK_SERIES_Y_LOTES"));
    Stock("A", "1", "L1", "S1", "1");
    Stock("A", "1", "L1", "S2", "1");
    Stock("A", "1", "L1", "S3", "1");
    // S9 was taken earlier and is no longer in stock.
    const QString lotes = QStringLiteral("|") + Clave("L1", "S2") + "|" + Clave("L1", "S9") + "|" + Y + "|";
    FrmCargaLotesySeries &f = Salida(2, true, true, lotes, QStringLiteral("|1|1|0|"));
    EXPECT_EQ(Anchos(f), (QList<int>{18, 15, 12, 12}));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 0), (QStringList{"L1", "L1", "L1", "L1", ""}));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 1), (QStringList{"S1", "S2", "S3", "S9", ""}));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 2), (QStringList{"1", "1", "1", "0", ""}));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 3), (QStringList{"0", "1", "0", "1", "0"}));
    f.CmdAceptar_Click();
    EXPECT_EQ(operador.requests().size(), 0u);
    EXPECT_EQ(f.Lotes,
              QStringLiteral("|") + Clave("L1", "S1") + "|" + Clave("L1", "S2") + "|" + Clave("L1", "S3") + "|"
                  + Clave("L1", "S9") + "|" + Y + "|");
    EXPECT_EQ(f.Series, QStringLiteral("|0|1|0|1|0|"));
}

TEST_F(Salidas, EveryStockRowGoneLeavesTheEarlierKeysAlone)
{
    Ejecuta(QStringLiteral("DELETE FROM STK_SERIES_Y_LOTES"));
    FrmCargaLotesySeries &f = Salida(4, true, false, QStringLiteral("|") + Clave("A") + "|", QStringLiteral("|4|"));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 0), QStringList{"A"});
    EXPECT_EQ(Columna(f.MSFlexGrid1, 2), QStringList{"0"});
    EXPECT_EQ(Columna(f.MSFlexGrid1, 3), QStringList{"0"});
    f.CmdAceptar_Click();
    EXPECT_EQ(operador.prompts(), QStringList{kStockMenor});
}

TEST_F(Salidas, FractionalStockSumsExactly)
{
    Ejecuta(QStringLiteral("DELETE FROM STK_SERIES_Y_LOTES"));
    Stock("A", "1", "P", "", "0.1");
    Stock("A", "1", "Q", "", "0.2");
    FrmCargaLotesySeries &f = Salida(0.1 + 0.2, true, false);
    EXPECT_EQ(Columna(f.MSFlexGrid1, 3), (QStringList{"0.1", "0.2", "0"}));
    EXPECT_EQ(f.SumaFilas(-1), 0.3);
    EXPECT_TRUE(f.ValidaCantidadCantidadPedida());
    EXPECT_EQ(f.SumaFilas(1), 0.2);
    f.CmdAceptar_Click();
    EXPECT_TRUE(f.Aceptado());
    EXPECT_EQ(f.Series, QStringLiteral("|0.1|0.2|0|"));
}

TEST_F(Salidas, QuantityTextsUseThePointWhateverTheRegionalMark)
{
    vb::ScopedRegional coma(vb::CommaDecimalSettings());
    Ejecuta(QStringLiteral("DELETE FROM STK_SERIES_Y_LOTES"));
    Stock("A", "1", "P", "", "0.5");
    Stock("A", "1", "Q", "", "1.5");
    FrmCargaLotesySeries &f = Salida(1.7, true, false, {}, {}, true);
    EXPECT_EQ(Columna(f.MSFlexGrid1, 2), (QStringList{"0.5", "1.5", ""}));
    EXPECT_EQ(Columna(f.MSFlexGrid1, 3), (QStringList{"0.5", "1.2", "0"}));
    f.MSFlexGrid1.setTextMatrix(2, 3, QStringLiteral("1,5")); // typed before the mark was filtered
    operador.answer(ui::vbNo);
    f.CmdAceptar_Click();
    EXPECT_EQ(operador.prompts(), (QStringList{kSupera, kDebeAjustar + "1.7"}));
}

struct Respuesta
{
    const char *nombre;
    const char *tomado; // row B's quantity, typed
    bool mostrar;
    int respuesta; // to the question, 0: none asked
    QStringList mensajes;
    bool acepta;
    double cantidad; // afterwards
    friend void PrintTo(const Respuesta &c, std::ostream *os) { *os << c.nombre; }
};

class Mensajes : public Salidas, public ::testing::WithParamInterface<Respuesta>
{};

TEST_P(Mensajes, AcceptAsksWhenTheSumDiffersFromTheRequest)
{
    const Respuesta &k = GetParam();
    if (k.respuesta)
        operador.answer(k.respuesta);
    const QString anteriores = QStringLiteral("|") + Clave("A") + "|" + Clave("B") + "|" + Y + "|";
    FrmCargaLotesySeries &f = Salida(7, true, false, anteriores, QStringLiteral("|5|2|0|"), k.mostrar);
    f.MSFlexGrid1.setTextMatrix(2, 3, QString::fromUtf8(k.tomado));
    f.CmdAceptar_Click();
    EXPECT_EQ(operador.prompts(), k.mensajes);
    EXPECT_EQ(f.Aceptado(), k.acepta);
    EXPECT_EQ(f.Cantidad, k.cantidad);
    EXPECT_EQ(f.Lotes, anteriores) << "the same keys whether accepted or not";
    EXPECT_EQ(f.Series,
              k.acepta ? QStringLiteral("|5|%1|0|").arg(QString::fromUtf8(k.tomado)) : QStringLiteral("|5|2|0|"));
    for (const ui::Request &r : operador.requests()) {
        const bool pregunta = r.prompt.endsWith(QStringLiteral("Formulario?"));
        EXPECT_EQ(r.style,
                  pregunta ? ui::vbYesNo + ui::vbQuestion
                           : (r.prompt == kStockMenor ? ui::vbInformation : ui::vbCritical));
        EXPECT_EQ(r.title,
                  pregunta || r.prompt == kStockMenor ? QStringLiteral("Aviso al Operador!!!")
                                                      : QStringLiteral("Aviso al Operador"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Respuestas,
    Mensajes,
    ::testing::Values(Respuesta{"EqualSumAsksNothing", "2", true, 0, {}, true, 7},
                      Respuesta{"MoreAnsweredYes", "4", true, ui::vbYes, {kSupera}, true, 9},
                      Respuesta{"MoreAnsweredNo", "4", true, ui::vbNo, {kSupera, kDebeAjustar + "7"}, false, 7},
                      Respuesta{"MoreUnseenYes", "4", false, ui::vbYes, {kSupera}, true, 9},
                      Respuesta{"MoreUnseenNo", "4", false, ui::vbNo, {kSupera, kDebeAjustar + "7"}, false, 7},
                      Respuesta{"LessAnsweredYes", "1", true, ui::vbYes, {kMenor}, true, 6},
                      Respuesta{"LessAnsweredNo", "1", true, ui::vbNo, {kMenor, kDebeAjustar + "7"}, false, 7},
                      Respuesta{"LessUnseen", "1", false, 0, {kStockMenor}, false, 7}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(Salidas, TypedQuantitiesAreChecked)
{
    Stock("A", "1", "L1", "S1", "1");
    struct Caso
    {
        const char *nombre;
        bool lote, serie;
        int fila;
        const char *texto;
        const char *mensaje; // empty: accepted
    } casos[] = {
        {"Negative", true, false, 1, "-1", "La Cantidad no puede ser Menor a Cero"},
        {"NotWhole", true, false, 1, "2.5", "No Puede Informase Cantidades que no Sean Enteras"},
        {"NotWholeWithAComma", true, false, 1, "2,5", "No Puede Informase Cantidades que no Sean Enteras"},
        {"AboveTheLotsStock", true, false, 1, "6", "La Cantidad supera a la cantidad disponible en Stock"},
        {"UpToTheStock", true, false, 1, "5", ""},
        {"LargeWholeNumber", true, false, 3, "40000", ""},
        {"BlankRowHasNoStockToCheck", true, false, 3, "6", ""},
        {"SerialArticlesAreNotChecked", true, true, 1, "6", ""},
    };
    for (const Caso &k : casos) {
        SCOPED_TRACE(k.nombre);
        operador.clear();
        FrmCargaLotesySeries &f = Salida(7, k.lote, k.serie, {}, {}, true);
        f.show();
        EnPantalla p(f);
        const int fila = k.fila == 3 ? f.MSFlexGrid1.Rows() - 1 : k.fila;
        const QString antes = p.celda(fila, 3);
        p.en(fila, 3);
        p.escribe(QString::fromUtf8(k.texto));
        p.tecla(Qt::Key_Return);
        const QString mensaje = QString::fromUtf8(k.mensaje);
        if (mensaje.isEmpty()) {
            EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
            EXPECT_EQ(p.celda(fila, 3), QString::fromUtf8(k.texto).replace(',', '.'));
            EXPECT_FALSE(f.TxtEdit->isVisible());
        } else {
            EXPECT_EQ(operador.prompts(), QStringList{mensaje});
            EXPECT_EQ(operador.last().style, ui::vbOKOnly + ui::vbCritical);
            EXPECT_EQ(operador.last().title, QStringLiteral("Aviso al Operador"));
            EXPECT_EQ(p.celda(fila, 3), antes) << "a refused value is not written";
            EXPECT_TRUE(f.TxtEdit->isVisible());
            EXPECT_EQ(p.cursor(), std::make_pair(fila, 3));
        }
        DialogoLotes::Unload();
        ui::DestroyUnloaded();
    }
}

// A text pasted into the quantity box skips the keys: it passes the same
// rule at the end of the edit, or is refused with one message and never
// reaches the cell or the lists.
TEST_F(Salidas, PastedQuantitiesPassTheRuleOfTheKeys)
{
    const QString kSoloDigitos = QStringLiteral(
        "La Cantidad sólo admite dígitos, un punto decimal y el signo menos al comienzo");
    struct Caso
    {
        const char *nombre;
        const char *pegado;
        QString mensaje; // empty: accepted
    } casos[] = {
        {"Letters", "abc", kSoloDigitos},
        {"ANumberAndLetters", "3abc", kSoloDigitos},
        {"AnExponent", "1e3", kSoloDigitos},
        {"AHexNumber", "&H10", kSoloDigitos},
        {"AThousandsMark", "1,000", kSoloDigitos},
        {"TwoPoints", "1.2.3", kSoloDigitos},
        {"AMinusInside", "2-1", kSoloDigitos},
        {"MoreThanAQuantityHolds",
         "99999999999999999999",
         QStringLiteral("La Cantidad supera el máximo que puede informarse")},
        {"ADigitsText", "3", {}},
    };
    for (const Caso &k : casos) {
        SCOPED_TRACE(k.nombre);
        [&] {
            operador.clear();
            FrmCargaLotesySeries &f = Salida(7, true, true, {}, {}, true);
            f.show();
            EnPantalla p(f);
            p.en(1, 3);
            p.tecla(Qt::Key_Space); // opens the box on the cell's text
            ASSERT_TRUE(f.TxtEdit->isVisible());
            f.TxtEdit->selectAll();
            f.TxtEdit->insert(QString::fromLatin1(k.pegado)); // what a paste does
            p.tecla(Qt::Key_Return);
            if (k.mensaje.isEmpty()) {
                EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
                EXPECT_EQ(p.celda(1, 3), QString::fromLatin1(k.pegado).trimmed());
            } else {
                EXPECT_EQ(operador.prompts(), QStringList{k.mensaje});
                EXPECT_EQ(operador.last().title, QStringLiteral("Aviso al Operador"));
                EXPECT_EQ(p.celda(1, 3), QStringLiteral("5"));
                EXPECT_TRUE(f.TxtEdit->isVisible());
                p.tecla(Qt::Key_Escape);
                f.CmdAceptar_Click();
                EXPECT_EQ(f.Series, QStringLiteral("|5|2|0|")) << "nothing of the paste reaches the lists";
            }
            DialogoLotes::Unload();
            ui::DestroyUnloaded();
        }();
    }
}

// A return (a negative quantity) is spread over the lots by what each gets
// back: the grid holds magnitudes, the stock is no limit, the sum is checked
// against the magnitude and the quantity handed back keeps its sign.
TEST_F(Salidas, AReturnIsSpreadOverTheLotsAndKeepsItsSign)
{
    struct Caso
    {
        const char *nombre;
        const char *primero, *segundo; // typed on lots A and B
        int respuesta;                 // to the question, 0: none asked
        QStringList mensajes;
        bool acepta;
        double cantidad;
        const char *series;
    } casos[] = {
        {"TheSumOfTheReturn", "3", "4", 0, {}, true, -7, "|3|4|0|"},
        {"MoreThanTheLotsStock", "7", "0", 0, {}, true, -7, "|7|0|0|"},
        {"MoreAnsweredYes", "4", "4", ui::vbYes, {kSupera}, true, -8, "|4|4|0|"},
        {"MoreAnsweredNo", "4", "4", ui::vbNo, {kSupera, kDebeAjustar + "7"}, false, -7, ""},
        {"LessAnsweredYes", "1", "2", ui::vbYes, {kMenor}, true, -3, "|1|2|0|"},
    };
    for (const Caso &k : casos) {
        SCOPED_TRACE(k.nombre);
        operador.clear();
        FrmCargaLotesySeries &f = Salida(-7, true, false, {}, {}, true);
        EXPECT_EQ(Columna(f.MSFlexGrid1, 3), (QStringList{"5", "2", "0"})) << "the proposal, as for an issue of 7";
        f.show();
        EnPantalla p(f);
        p.pone(1, 3, QString::fromLatin1(k.primero));
        p.pone(2, 3, QString::fromLatin1(k.segundo));
        if (k.respuesta)
            operador.answer(k.respuesta);
        f.CmdAceptar_Click();
        EXPECT_EQ(operador.prompts(), k.mensajes);
        EXPECT_EQ(f.Aceptado(), k.acepta);
        EXPECT_EQ(f.Cantidad, k.cantidad);
        if (k.acepta) {
            EXPECT_EQ(f.Lotes, QStringLiteral("|") + Clave("A") + "|" + Clave("B") + "|" + Y + "|");
            EXPECT_EQ(f.Series, QString::fromLatin1(k.series));
        }
        DialogoLotes::Unload();
        ui::DestroyUnloaded();
    }
}

TEST_F(Salidas, TheEditorOfTheIssueGrid)
{
    FrmCargaLotesySeries &f = Salida(7, true, false, {}, {}, true);
    f.show();
    EnPantalla p(f);
    EXPECT_EQ(p.cursor(), std::make_pair(1, 3)) << "the cursor starts on the first quantity";

    p.en(1, 2);
    p.escribe(QStringLiteral("9"));
    EXPECT_FALSE(f.TxtEdit->isVisible()) << "the stock column opens nothing";
    EXPECT_EQ(f.TxtEdit->DataField(), QStringLiteral("Cantidad")) << "though the box was set up for it";

    p.pone(1, 3, QStringLiteral("4"));
    EXPECT_EQ(p.cursor(), std::make_pair(2, 3)) << "Enter goes down and stays on the quantity";
    p.pone(3, 3, QStringLiteral("3"));
    EXPECT_EQ(p.cursor(), std::make_pair(3, 3)) << "last row: column 1, then back to the quantity";

    p.en(1, 3);
    p.escribe(QStringLiteral("1"));
    p.tecla(Qt::Key_Down);
    EXPECT_EQ(p.cursor(), std::make_pair(2, 0));
    p.escribe(QStringLiteral("8"));
    EXPECT_FALSE(f.TxtEdit->isVisible()) << "the fixed lot column opens nothing";

    // A click commits through the check: a refused value stays in its box.
    p.en(2, 3);
    p.escribe(QStringLiteral("-2"));
    p.clic(1, 3);
    EXPECT_EQ(operador.prompts(), QStringList{QStringLiteral("La Cantidad no puede ser Menor a Cero")});
    EXPECT_TRUE(f.TxtEdit->isVisible());
    EXPECT_EQ(p.cursor(), std::make_pair(2, 3));
    EXPECT_EQ(p.celda(2, 3), QStringLiteral("2"));
    p.foto(QStringLiteral("lotes_salida_editando"));
    p.tecla(Qt::Key_Escape);
    EXPECT_EQ(p.celda(2, 3), QStringLiteral("2"));
    EXPECT_EQ(p.columna(3), (QStringList{"1", "2", "3"}));
    p.foto(QStringLiteral("lotes_salida"));
}

TEST_F(Salidas, ASerialArticlesEnterStaysOnTheCell)
{
    Ejecuta(QStringLiteral("DELETE FROM STK_SERIES_Y_LOTES"));
    Stock("A", "1", QString(), "S1", "1");
    Stock("A", "1", QString(), "S2", "1");
    FrmCargaLotesySeries &f = Salida(1, false, true, {}, {}, true);
    f.show();
    EnPantalla p(f);
    EXPECT_EQ(Anchos(f), (QList<int>{0, 15, 12, 12}));
    p.pone(2, 3, QStringLiteral("1"));
    EXPECT_EQ(p.cursor(), std::make_pair(2, 3));
    EXPECT_EQ(p.celda(2, 3), QStringLiteral("1"));
    p.foto(QStringLiteral("lotes_salida_series"));
}

TEST_F(Salidas, F2AcceptsWhereverTheFocusIsAfterCheckingTheOpenEdit)
{
    FrmCargaLotesySeries &f = Salida(7, true, false, {}, {}, true);
    f.show();
    EnPantalla p(f);
    p.en(1, 3);
    p.escribe(QStringLiteral("-3"));
    p.tecla(Qt::Key_F2);
    EXPECT_EQ(operador.prompts(), QStringList{QStringLiteral("La Cantidad no puede ser Menor a Cero")});
    EXPECT_TRUE(f.isVisible()) << "a refused edit stops the accept";
    f.TxtEdit->setText(QStringLiteral("3"));
    operador.answer(ui::vbNo);
    p.tecla(Qt::Key_F2);
    EXPECT_EQ(operador.prompts(),
              (QStringList{QStringLiteral("La Cantidad no puede ser Menor a Cero"), kMenor, kDebeAjustar + "7"}))
        << "3 and 2 are less than 7";
    EXPECT_FALSE(f.TxtEdit->isVisible());
    EXPECT_TRUE(f.isVisible());

    operador.answer(ui::vbYes);
    f.CmdCancelar->setFocus();
    p.tecla(Qt::Key_F2);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.Cantidad, 5);
    EXPECT_EQ(f.Series, QStringLiteral("|3|2|0|"));
}

} // namespace
