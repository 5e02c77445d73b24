// The article grid as an operator sees it: titles in the header, hidden
// columns gone, coloured rows, the current cell marked. The picture is saved
// (ANULACION_CAPTURAS names the folder, else the temporary folder) so that it
// can be looked at.
#include "voucher/columnas.h"

#include "platform/ui/flex_grid.h"
#include "platform/ui/flex_grid_view.h"
#include "platform/ui/units.h"
#include "tests/support/grilla.h"

#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace GrillaArticulos;

constexpr long kAmarillo = 12648447; // C0FFFF: row of a tab
constexpr long kNaranja = 12640511;  // C0E0FF: row of a group

TEST(GrillaArticulosEnPantalla, TitlesColoursAndHiddenColumns)
{
    QWidget form;
    form.resize(760, 260);
    ui::FlexGrid grilla;
    ui::FlexGridView vista(grilla, &form);
    vista.setGeometry(10, 10, 740, 240);
    grilla.setFixedCols(0);
    LlenaGrilla(grilla,
                Columnas,
                {{{ColArticulo, "Código"},
                  {ColDescripcion, "Descripción"},
                  {ColUnidad, "UD"},
                  {ColDeposito, "Dep."},
                  {ColCantidad, "Cant."},
                  {ColImporte, "Importe"},
                  {ColTotalLinea, "TOTAL"},
                  {ColNroLote, "AuxNroLote"}},
                 {{ColArticulo, "ART0001"},
                  {ColDescripcion, "Tornillo 3/8"},
                  {ColUnidad, "UN"},
                  {ColDeposito, "1"},
                  {ColCantidad, "10"},
                  {ColImporte, "15.50"},
                  {ColTotalLinea, "155.00"},
                  {ColNroLote, "|L1|L2|"}},
                 {{ColArticulo, "ART0002"},
                  {ColDescripcion, "Arandela"},
                  {ColUnidad, "KG"},
                  {ColDeposito, "2"},
                  {ColCantidad, "2.5"},
                  {ColImporte, "4.00"},
                  {ColTotalLinea, "10.00"}},
                 {{ColArticulo, "ART0003"},
                  {ColDescripcion, "Tuerca"},
                  {ColUnidad, "UN"},
                  {ColDeposito, "1"},
                  {ColCantidad, "7"},
                  {ColImporte, "1.25"},
                  {ColTotalLinea, "8.75"}},
                 {}});
    const int x = ui::TextWidth(form, QStringLiteral("X"));
    for (int c = 0; c < Columnas; ++c)
        grilla.setColWidth(c, 0);
    grilla.setColWidth(ColArticulo, 15 * x);
    grilla.setColWidth(ColDescripcion, 29 * x);
    grilla.setColWidth(ColUnidad, 4 * x);
    grilla.setColWidth(ColDeposito, 4 * x);
    grilla.setColWidth(ColCantidad, 6 * x);
    grilla.setColWidth(ColImporte, 11 * x);
    grilla.setColWidth(ColTotalLinea, 10 * x);
    grilla.setColAlignment(ColArticulo, ui::flexAlignLeftCenter);
    grilla.setColAlignment(ColDescripcion, ui::flexAlignLeftCenter);
    auto pinta = [&](int fila, long color) {
        for (int c = 0; c < Columnas; ++c) {
            grilla.MoveTo(fila, c);
            grilla.setCellBackColor(color);
        }
    };
    pinta(1, kAmarillo);
    pinta(3, kNaranja);
    grilla.MoveTo(2, ColCantidad);
    grilla.Refresh();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    const QImage foto = form.grab().toImage();
    const QString carpeta = qEnvironmentVariable("ANULACION_CAPTURAS", QDir::tempPath());
    EXPECT_TRUE(foto.save(QDir(carpeta).filePath(QStringLiteral("grilla_articulos.png"))));

    auto centro = [&](int fila, int col) {
        return vista.visualRect(grilla.index(fila - 1, col)).center() + vista.viewport()->pos() + vista.pos();
    };
    EXPECT_EQ(QColor(foto.pixel(centro(1, ColDescripcion) + QPoint(60, 0))), ui::FromBGR(kAmarillo));
    EXPECT_EQ(QColor(foto.pixel(centro(3, ColImporte) + QPoint(-30, 0))), ui::FromBGR(kNaranja));
    // Hidden columns take no room; the titles are the header.
    EXPECT_TRUE(vista.isColumnHidden(ColNroLote));
    EXPECT_EQ(grilla.TextMatrix(1, ColNroLote), "|L1|L2|");
    EXPECT_EQ(vista.model()->headerData(ColDescripcion, Qt::Horizontal).toString(), "Descripción");
    EXPECT_EQ(vista.columnViewportPosition(ColUnidad),
              vista.columnViewportPosition(ColDescripcion) + vista.columnWidth(ColDescripcion));
    EXPECT_EQ(vista.currentIndex(), grilla.index(1, ColCantidad));
}

} // namespace
