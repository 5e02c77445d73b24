// What a loaded line of a voucher delivered in parts shows: the quantity
// still to deliver, not the stored one.
#include "voucher/cls_cmn_cptes.h"
#include "voucher/cls_cmn_cptes_p.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/db_dll.h"
#include "platform/component/component.h"
#include "platform/runtime/format.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"

namespace cptes {

namespace {} // namespace

double CantidadAplicada(ClsCmnCptes &cptes, const Carga &carga, const QString &IdArticulo, double Cantidad, Steps &paso)
{
    double pendiente = 0;
    double aplicada = 0;
    if (carga.Compras)
        return aplicada;
    const QString tc = vb::Trim(carga.TC);
    const bool entregaEnPartes = carga.entregaParcial && vb::EqualsAnyText(tc, {"RM", "NP"});
    if (carga.repartoPendiente) {
        paso([&] { pendiente = cptes.CantRepartoPend(carga.TC, carga.SucNroLetra, IdArticulo); });
        paso([&] {
            // A returned remittance line (negative) with nothing pending shows what it returns.
            if (entregaEnPartes && vb::EqualsText(carga.TC, QStringLiteral("RM")) && Cantidad < 0 && pendiente == 0) {
                aplicada = 0;
                pendiente = Cantidad;
                return;
            }
            if (pendiente > Cantidad)
                pendiente = Cantidad;
            aplicada = Cantidad - pendiente;
        });
    } else if (entregaEnPartes) {
        QString sentencia = QStringLiteral("SELECT CantidadAplicada FROM VT_V_MV_INSUMOS_APLICACION WHERE "
                                           "(TCO_ORIGEN = 'RM' or TCO_ORIGEN = 'NP') AND IDCOMPROBANTEORIGEN = ")
                            + TextoSQL(vb::Trim(carga.SucNroLetra)) + QStringLiteral(" AND IDARTICULO = ")
                            + CodigoSQL(IdArticulo, 25);
        ado::Recordset rs;
        paso([&] {
            gDB().AbrirRecordset(sentencia, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
        });
        // No later voucher took any of it yet: nothing applied.
        paso([&] {
            if (!rs.Eof())
                aplicada
                    = gComponente().ConvierteACurrency(CampoValor(rs, QStringLiteral("CantidadAplicada"))).toDouble();
        });
        paso([&] { gDB().CierraRecordset(&rs); });
    }
    return aplicada;
}

QString CantidadMostrada(const Carga &carga, double Cantidad, double aplicada)
{
    QString texto = vb::Trim(vb::CStr((carga.cantidadNegativa ? -Cantidad : Cantidad) - aplicada));
    const bool devolucion = vb::EqualsText(carga.TC, QStringLiteral("RM")) && Cantidad < 0 && aplicada == 0;
    if (gComponente().ConvierteACurrency(Variant(texto)) < Currency() && !devolucion)
        texto = QStringLiteral("0");
    return texto;
}

QString RestoPorAplicar(double Cantidad, double aplicada)
{
    return vb::Trim(vb::CStr(Cantidad - aplicada));
}

} // namespace cptes
