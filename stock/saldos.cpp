#include "stock/saldos.h"

#include "database/configuracion.h"
#include "database/globales.h"
#include "platform/runtime/currency.h"
#include "platform/runtime/strings.h"
#include "stock/stock_p.h"
#include "stock/unidades.h"

using namespace stock_p;

namespace {

// The value of the first row's column, 0 when there is no row.
double PrimerValor(QString sentencia, const QString &columna)
{
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs);
    return rs.Eof() ? 0 : Numero(rs, columna);
}

// A filter of the lot table, unless the argument asks for none.
QString Filtro(const QString &valor, const char *columna, int ancho)
{
    if (vb::EqualsText(valor, kIgnorar) || vb::Trim(valor).isEmpty())
        return {};
    return QStringLiteral(" AND %1 = ").arg(QLatin1String(columna)) + CodigoNormalizadoSQL(valor, ancho)
           + QLatin1Char(' ');
}

} // namespace

void ControlStock(const QString &IdDeposito, const QString &IdArticulo, const QString &IdUnidad, double &Stock)
{
    if (vb::Trim(IdArticulo).isEmpty())
        return;
    Steps pasos = Pasos(QStringLiteral("ControlStock"));
    pasos([&] {
        const QString articulo = CodigoNormalizadoSQL(IdArticulo, 25);
        const bool sinDeposito = vb::Trim(IdDeposito).isEmpty();
        QString sentencia;
        if (gUsaStockUdKg) {
            // The units balance has no unit; a blank deposit matches the row kept under the blank code.
            sentencia = QStringLiteral("SELECT CantidadUd AS STOCK FROM STK_STOCK_UDKG WHERE IDARTICULO = ") + articulo
                        + QStringLiteral(" AND IDDEPOSITO = ") + CodigoNormalizadoSQL(IdDeposito, 4);
        } else if (!sinDeposito) {
            sentencia = QStringLiteral("SELECT STOCK AS STOCK FROM STK_SALDOS_UNIDADES WHERE IDARTICULO = ") + articulo
                        + QStringLiteral(" AND EQUIVALENCIA = ") + CodigoNormalizadoSQL(IdUnidad, 4)
                        + QStringLiteral(" AND IDDEPOSITO = ") + CodigoNormalizadoSQL(IdDeposito, 4);
        } else {
            sentencia = QStringLiteral("SELECT SUM(STOCK) AS STOCK  FROM STK_SALDOS_UNIDADES WHERE IDARTICULO = ")
                        + articulo + QStringLiteral(" AND EQUIVALENCIA = ") + CodigoNormalizadoSQL(IdUnidad, 4)
                        + QLatin1Char(' ');
        }
        Stock = PrimerValor(sentencia, QStringLiteral("Stock"));
    });
}

double ObtieneStock(const QString &IdArticulo,
                    QString &IdDeposito,
                    const QString &NroLote,
                    const QString &NroSerie,
                    const QString &IdPosicion,
                    QString &IdUnidad)
{
    double saldo = 0;
    Steps pasos = Pasos(QStringLiteral("ObtieneStock"));
    if (vb::EqualsText(NroLote, kIgnorar) && vb::EqualsText(NroSerie, kIgnorar)) {
        pasos([&] {
            if (vb::EqualsText(IdDeposito, kIgnorar))
                IdDeposito = CodigoAncho(Cfg(QStringLiteral("DepositoDefault")), 4);
        });
        pasos([&] {
            if (vb::EqualsText(IdUnidad, kIgnorar)) {
                const Variant unidad = gDB().DatosTabla(QStringLiteral("v_ma_articulos"),
                                                        NormalizaCaracteres(IdArticulo),
                                                        QStringLiteral("IdUnidad"),
                                                        QStringLiteral("IdArticulo"));
                IdUnidad = CodigoAncho(TextoNoNulo(unidad), 4);
            }
        });
        pasos([&] { ControlStock(IdDeposito, IdArticulo, IdUnidad, saldo); });
        return pasos.leaving() ? 0 : saldo;
    }

    // Unknown flags (Null, or no row read) add neither "is NULL" rule.
    std::optional<bool> usaSerie;
    std::optional<bool> usaLote;
    pasos([&] {
        QString sentencia = QStringLiteral("SELECT USASERIE, USALOTE FROM V_MA_ARTICULOS WHERE IDARTICULO = ")
                            + CodigoNormalizadoSQL(IdArticulo, 25) + QLatin1Char(' ');
        ado::Recordset rs;
        gDB().AbrirRecordset(sentencia, rs);
        usaSerie = Indicador(rs, QStringLiteral("USASERIE"));
        usaLote = Indicador(rs, QStringLiteral("USALOTE"));
    });
    pasos([&] {
        QString sentencia = QStringLiteral(" SELECT SUM(CANTIDAD) AS SaldoStock FROM STK_SERIES_Y_LOTES ")
                            + QStringLiteral(" WHERE IDARTICULO = ") + CodigoNormalizadoSQL(IdArticulo, 25);
        sentencia += Filtro(IdDeposito, "IdDeposito", 4);
        sentencia += Filtro(NroLote, "NroLote", 25);
        sentencia += Filtro(NroSerie, "NroSerie", 25);
        sentencia += Filtro(IdPosicion, "IdPosicion", 15);
        if (usaSerie && usaLote) {
            if (*usaSerie && !*usaLote)
                sentencia += QStringLiteral(" AND NroLote is NULL ");
            else if (*usaLote && !*usaSerie)
                sentencia += QStringLiteral(" AND NroSerie is NULL ");
        }
        saldo = PrimerValor(sentencia, QStringLiteral("SaldoStock"));
    });
    return pasos.leaving() ? 0 : saldo;
}

double CantRepartoPend(const QString &TC, const QString &SucNroLetra, const QString &IdArticulo)
{
    const QString condicion = QStringLiteral("(TC = ") + CodigoNormalizadoSQL(TC, 4)
                              + QStringLiteral(") AND IDCOMPROBANTE = ") + TextoSQL(NormalizaCaracteres(SucNroLetra))
                              + QStringLiteral(" AND IDARTICULO = ") + CodigoNormalizadoSQL(IdArticulo, 25);
    const double enComprobante = PrimerValor(QStringLiteral("SELECT * FROM VT_V_MV_CPTEINSUMOS_CONS2 WHERE ")
                                                 + condicion,
                                             QStringLiteral("Cantidad"));
    const double movido = PrimerValor(QStringLiteral("SELECT * FROM VT_V_MV_Stock_Cons WHERE ") + condicion,
                                      QStringLiteral("Cantidad"));
    const Currency pendiente = Currency::fromDouble(enComprobante) - Currency::fromDouble(movido);
    return pendiente < Currency() ? 0 : pendiente.toDouble();
}

void ObtieneStockxEquiv(const QString &IdDeposito,
                        const QString &IdArticulo,
                        QString &UdBase,
                        const QString &udEquivBuscada,
                        double &StockUdBase,
                        double &StockEquiv)
{
    double stock = 0;
    ControlStock(IdDeposito, IdArticulo, UdBase, stock);
    StockUdBase = stock;
    StockEquiv = udEquivBuscada.isEmpty()
                     ? 0
                     : ConvierteAUnidadEquivalente(IdArticulo, UdBase, StockUdBase, udEquivBuscada);
}
