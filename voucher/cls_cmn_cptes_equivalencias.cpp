// The quantities of an article line in the configured units, kept in the
// article grid's hidden columns.
#include "voucher/cls_cmn_cptes_p.h"

#include "database/globales.h"
#include "platform/component/component.h"
#include "platform/runtime/format.h"
#include "platform/runtime/strings.h"
#include "platform/ui/flex_grid.h"
#include "stock/unidades.h"
#include "voucher/columnas.h"

namespace cptes {

void CalculaEquivalenciasFila(ui::FlexGrid &Grilla)
{
    using namespace GrillaArticulos;
    const struct
    {
        const QString &unidad;
        int columna;
    } destinos[] = {
        {gUnidadBL, ColCantidadBL},
        {gUnidadM3, ColCantidadM3},
        {gUnidadKG, ColCantidadKG},
    };
    const int fila = Grilla.Row();
    const QString articulo = Grilla.TextMatrix(fila, ColArticulo);
    const QString unidad = vb::Trim(Grilla.TextMatrix(fila, ColUnidad));
    const double cantidad = gComponente().ConvierteACurrency(Variant(Grilla.TextMatrix(fila, ColCantidad))).toDouble();
    for (const auto &destino : destinos)
        Grilla.setTextMatrix(fila,
                             destino.columna,
                             vb::CStr(CantidadEnUnidadConfigurada(articulo, unidad, cantidad, destino.unidad)));
}

} // namespace cptes
