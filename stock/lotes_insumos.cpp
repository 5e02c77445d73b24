#include "stock/lotes_insumos.h"

#include "platform/runtime/currency.h"
#include "platform/runtime/strings.h"
#include "stock/stock_p.h"

using namespace stock_p;

namespace {

// The deposit as an SQL literal at width 4, whether the caller wrote it as a
// literal ('   1', the way the posting passes it) or as a plain code. Quoted,
// it is compared as text: a padded code matches on every engine.
QString DepositoSQL(const QString &deposito)
{
    return CodigoNormalizadoSQL(TextoDeLiteral(NormalizaCaracteres(Variant(deposito))), 4);
}

// A record of the lot list; a row that would move nothing is not one.
void AgregaLote(std::vector<TipoArticuloCantidad> &lotes, const QString &lote, Currency cantidad)
{
    if (cantidad == Currency())
        return;
    TipoArticuloCantidad registro;
    registro.Codigo = lote;
    registro.Unidad = QString();
    registro.Cantidad = cantidad.toDouble();
    lotes.push_back(registro);
}

TipoArticuloCantidad SinLote(double cantidad)
{
    TipoArticuloCantidad registro;
    registro.Codigo = QString();
    registro.Unidad = QString();
    registro.Cantidad = cantidad;
    return registro;
}

} // namespace

bool ArticuloTieneLotes(const QString &IdArticulo,
                        const QString &IdDeposito,
                        std::vector<TipoArticuloCantidad> &Lotes,
                        double Cantidad)
{
    if (vb::EqualsText(IdDeposito, kElDelGrid))
        return false;
    Steps pasos = Pasos(QStringLiteral("ArticuloTieneLotes"));
    ado::Recordset rs;
    bool hayFila = false;
    pasos([&] {
        QString sentencia = QStringLiteral("SELECT * FROM STK_SERIES_Y_LOTES WHERE IdArticulo = ")
                            + CodigoNormalizadoSQL(IdArticulo, 25)
                            + QStringLiteral(" AND CANTIDAD > 0  AND IDDEPOSITO = ") + DepositoSQL(IdDeposito)
                            + QStringLiteral(" and not nrolote is null ORDER BY NROLOTE");
        gDB().AbrirRecordset(sentencia, rs);
        hayFila = !rs.Eof();
    });
    if (pasos.leaving())
        return false;

    Lotes.clear();
    if (!hayFila) {
        Lotes.push_back(SinLote(Cantidad));
        return false;
    }

    // Summed and compared in fixed point, so that lots adding up to the
    // quantity complete it exactly.
    Currency pedido;
    Currency cubierto;
    pasos([&] { pedido = Currency::fromDouble(Cantidad); });
    bool completo = false;
    while (hayFila) {
        if (!pasos([&] {
                const QString lote = CampoSinRecortar(rs, QStringLiteral("NroLote"));
                const Currency saldo = Currency::fromDouble(Numero(rs, QStringLiteral("CANTIDAD")));
                if (cubierto + saldo > pedido) {
                    AgregaLote(Lotes, lote, pedido - cubierto);
                    cubierto = pedido;
                    completo = true;
                } else {
                    AgregaLote(Lotes, lote, saldo);
                    cubierto += saldo;
                }
            }))
            break;
        if (completo)
            break;
        hayFila = false;
        if (!pasos([&] {
                rs.MoveNext();
                hayFila = !rs.Eof();
            }))
            break;
    }
    if (!pasos.leaving() && pedido > cubierto)
        AgregaLote(Lotes, QString(), pedido - cubierto);
    return true;
}

bool IdArticuloTieneInsumos(const QString &IdArticulo, std::vector<TipoArticuloCantidad> &Insumos, bool SoloVerifica)
{
    Steps pasos = Pasos(QStringLiteral("IdArticuloTieneInsumos"));
    ado::Recordset rs;
    bool hayFila = false;
    pasos([&] {
        QString sentencia = QStringLiteral("SELECT * FROM V_MA_INSUMOS WHERE IDARTICULO = ")
                            + CodigoNormalizadoSQL(IdArticulo, 25);
        gDB().AbrirRecordset(sentencia, rs);
        hayFila = !rs.Eof();
    });
    if (pasos.leaving())
        return false;

    Insumos.assign(1, TipoArticuloCantidad());
    const bool tiene = hayFila;
    if (SoloVerifica)
        return tiene;
    while (hayFila) {
        if (!pasos([&] {
                TipoArticuloCantidad insumo;
                insumo.Codigo = CampoSinRecortar(rs, QStringLiteral("IdArticuloInsumo"));
                insumo.Unidad = CampoSinRecortar(rs, QStringLiteral("IdUnidadInsumo"));
                insumo.Cantidad = Numero(rs, QStringLiteral("Cantidad"));
                Insumos.back() = insumo;
                Insumos.emplace_back();
            }))
            break;
        hayFila = false;
        if (!pasos([&] {
                rs.MoveNext();
                hayFila = !rs.Eof();
            }))
            break;
    }
    return tiene;
}
