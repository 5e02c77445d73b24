// The voucher class's stock queries: each one the procedure of stock/.
#include "voucher/cls_cmn_cptes.h"

#include "stock/saldos.h"

double ClsCmnCptes::CantRepartoPend(const QString &TC, const QString &SucNroLetra, const QString &IdArticulo)
{
    return ::CantRepartoPend(TC, SucNroLetra, IdArticulo);
}

void ClsCmnCptes::ObtieneStockxEquiv(const QString &IdDeposito,
                                     const QString &IdArticulo,
                                     QString &UdBase,
                                     const QString &udEquivBuscada,
                                     double &StockUdBase,
                                     double &StockEquiv)
{
    ::ObtieneStockxEquiv(IdDeposito, IdArticulo, UdBase, udEquivBuscada, StockUdBase, StockEquiv);
}

double ClsCmnCptes::ObtieneStock(const QString &IdArticulo,
                                 QString &IdDeposito,
                                 const QString &NroLote,
                                 const QString &NroSerie,
                                 const QString &IdPosicion,
                                 QString &IdUnidad)
{
    return ::ObtieneStock(IdArticulo, IdDeposito, NroLote, NroSerie, IdPosicion, IdUnidad);
}
