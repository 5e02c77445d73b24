#include "stock/numeracion_stock.h"

#include "stock/ast.h"
#include "stock/ast_p.h"

#include "database/armado_sql.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"

using namespace numeracion;

Variant AsignarNumeroComprobante(const QString &TipoComprobante, QString &Sucursal, QString &Letra)
{
    Steps pasos = Pasos(QStringLiteral("AsignarNumeroComprobante"));
    bool usado = false;
    ado::Recordset rs;
    const QString tipo = CodigoSQL(TipoComprobante, 4);

    // Without a type the id would belong to no voucher.
    pasos([&] {
        if (vb::Trim(TipoComprobante).isEmpty())
            Raise(vberr::InvalidCall, QStringLiteral("Falta el tipo del comprobante a numerar"));
    });
    if (vb::Trim(TipoComprobante).isEmpty() || pasos.leaving())
        return Variant();
    // The book's highest number: a number moved past the taken ones stays within it.
    PedidoDeNumero pedido{.tipo = TipoComprobante, .sucursal = Sucursal, .letra = Letra, .unegocio = gUNegocio};
    pasos([&] { ObtieneNumero(pedido); });
    Sucursal = pedido.sucursal;
    Letra = pedido.letra;
    QString &numero = pedido.numero;
    const QString &limite = pedido.limite;
    // No book could give one (every book used up, or a failure the operator
    // has been shown): no id, so that nothing is stored under number 0.
    if (numero.isEmpty() || pasos.leaving())
        return Variant();
    // Always 13 characters, whatever the book gave ("1" without a book).
    pasos([&] {
        Sucursal = vb::Format(Numero(Variant(Sucursal)), QStringLiteral("0000"));
        numero = vb::Format(Numero(Variant(numero)), QStringLiteral("00000000"));
    });
    pasos([&] {
        QString sentencia = QStringLiteral("SELECT TC,IDCOMPROBANTE From V_MV_STOCK WHERE TC = ") + tipo
                            + QStringLiteral(" AND IDCOMPROBANTE = ") + TextoSQL(Sucursal + numero + Letra);
        gDB().AbrirRecordset(sentencia, rs);
        usado = !rs.Eof();
    });
    if (usado) {
        pasos([&] {
            QString sentencia = QStringLiteral("SELECT MAX(IDCOMPROBANTE) AS ULTIMO From V_MV_STOCK WHERE TC = ") + tipo
                                + QStringLiteral(" AND SUBSTRING(IDCOMPROBANTE, 1, 4)= ") + TextoSQL(Sucursal)
                                + QStringLiteral(" AND SUBSTRING(IDCOMPROBANTE, 13, 1)= ") + TextoSQL(Letra);
            gDB().AbrirRecordset(sentencia, rs);
            const Variant ultimo = rs.Eof() ? Variant::null() : CampoTalCual(rs, QStringLiteral("ULTIMO"));
            numero.clear();
            numero = ultimo.isNull()
                         ? QStringLiteral("00000001")
                         : NumeroSiguiente(vb::Val(vb::Mid(ultimo.toString(), 5, 8)), TipoComprobante, limite);
        });
    }
    pasos([&] { gDB().CierraRecordset(&rs); });
    if (numero.isEmpty() || pasos.leaving())
        return Variant();
    return Variant(Sucursal + numero + Letra);
}
