// Timber: boards are sold by thickness, width and length. A loaded line
// shows the measures its article asks for, and a later line of the same
// board joins the first one as one line of the summed quantity.
#include "voucher/cls_cmn_cptes_p.h"

#include "database/campos.h"
#include "database/conversiones.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/component/component.h"
#include "platform/runtime/currency.h"
#include "platform/runtime/format.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "voucher/columnas.h"

namespace cptes {

namespace {

using namespace GrillaArticulos;

constexpr long kBlanco = 0xFFFFFF;

// The text stays in the cell; white on white, the operator does not see it.
void Oculta(ui::FlexGrid &grilla, int fila, int col)
{
    grilla.setCol(col);
    grilla.setRow(fila);
    grilla.setCellForeColor(kBlanco);
}

// The same board: code, unit, thickness, width and price per unit.
bool MismaTabla(const ui::FlexGrid &grilla, int a, int b)
{
    for (int col : {ColArticulo, ColUnidad, ColEspesor, ColAncho, ColImporteUnidad})
        if (!vb::EqualsText(vb::Trim(grilla.TextMatrix(a, col)), vb::Trim(grilla.TextMatrix(b, col))))
            return false;
    return true;
}

Currency Cantidad(const ui::FlexGrid &grilla, int fila, int col)
{
    return gComponente().ConvierteACurrency(Variant(grilla.TextMatrix(fila, col)));
}

// A number as FmtMoneda reads it: plain decimals, "." as separator.
QString TextoPlano(double valor)
{
    return QString::number(valor, 'f', 10);
}

// A quantity-weighted mean of a column over rows i and l.
double Media(const ui::FlexGrid &grilla, int col, int i, int l)
{
    const Currency total = Cantidad(grilla, i, ColCantidad) + Cantidad(grilla, l, ColCantidad);
    if (total == Currency())
        Raise(vberr::DivisionByZero);
    const Currency ponderado = Cantidad(grilla, i, col) * Cantidad(grilla, i, ColCantidad)
                               + Cantidad(grilla, l, col) * Cantidad(grilla, l, ColCantidad);
    return ponderado.toDouble() / total.toDouble();
}

// Joins the last row into the first earlier row of the same board; the row that holds it.
int Une(ui::FlexGrid &grilla, int l, Steps &paso)
{
    const int hasta = grilla.Rows() - 2;
    int i = -1;
    paso([&] {
        for (int fila = 1; fila <= hasta; ++fila) {
            if (MismaTabla(grilla, fila, l)) {
                i = fila;
                break;
            }
        }
    });
    if (i < 0)
        return l;
    paso([&] {
        grilla.setTextMatrix(i,
                             AuxCoeficiente,
                             FmtMoneda(TextoPlano(Media(grilla, AuxCoeficiente, i, l)), -1).toString());
    });
    paso([&] { grilla.setTextMatrix(i, LargoAnt, grilla.TextMatrix(i, AuxCoeficiente)); });
    paso([&] {
        grilla.setTextMatrix(i,
                             ColCantidadEquiv,
                             vb::CStr(Cantidad(grilla, l, ColCantidadEquiv) + Cantidad(grilla, i, ColCantidadEquiv)));
    });
    Currency precio;
    paso([&] { precio = Currency::fromDouble(Media(grilla, ColImporte, i, l)); });
    paso([&] {
        grilla.setTextMatrix(i,
                             ColCantidad,
                             vb::CStr(Cantidad(grilla, l, ColCantidad) + Cantidad(grilla, i, ColCantidad)));
    });
    paso([&] { grilla.setTextMatrix(i, ColImporte, FmtMoneda(TextoPlano(precio.toDouble()), -1).toString()); });
    paso([&] { grilla.setTextMatrix(i, AuxPrecioSinIVA, FmtMoneda(TextoPlano(precio.toDouble()), -1).toString()); });
    paso([&] { grilla.setRows(grilla.Rows() - 1); });
    return i;
}

} // namespace

int MedidasMadera(ui::FlexGrid &grilla, ado::Recordset &linea, Steps &paso)
{
    const int l = grilla.Rows() - 1;
    QString pide;
    paso([&] {
        pide = vb::Trim(gDB()
                            .DatosTabla(QStringLiteral("V_MA_ARTICULOS"),
                                        Campo(linea, "IdArticulo"),
                                        QStringLiteral("PIDEMEDIDAS"),
                                        QStringLiteral("IDARTICULO"))
                            .toString());
        if (pide.isEmpty())
            pide = QStringLiteral("FALSO");
    });
    const bool pideMedidas = ConvierteBooleano(pide);
    paso([&] { grilla.setTextMatrix(l, PideMedidas, pideMedidas ? QStringLiteral("1") : QStringLiteral("0")); });
    if (pideMedidas) {
        paso([&] { grilla.setTextMatrix(l, ColEspesor, Campo(linea, "ESPESOR")); });
        paso([&] { grilla.setTextMatrix(l, ColAncho, Campo(linea, "Ancho")); });
        paso([&] { grilla.setTextMatrix(l, ColAux67, Campo(linea, "IdUnidad")); });
        paso([&] {
            // The length only for boards counted as strips.
            if (vb::EqualsText(grilla.TextMatrix(l, ColUnidad), gMadTiras))
                grilla.setTextMatrix(l, AuxCoeficiente, Campo(linea, "Equiv_UDBase"));
            else
                Oculta(grilla, l, AuxCoeficiente);
        });
    } else {
        for (int col : {ColEspesor, ColAncho, AuxCoeficiente})
            paso([&] { Oculta(grilla, l, col); });
    }
    paso([&] { grilla.setTextMatrix(l, ColUnidadPrecio, Campo(linea, "Ud_Pr")); });
    paso([&] { grilla.setTextMatrix(l, ColImporteUnidad, Campo(linea, "Importe_Ud")); });
    if (paso.leaving())
        return l;
    return Une(grilla, l, paso);
}

} // namespace cptes
