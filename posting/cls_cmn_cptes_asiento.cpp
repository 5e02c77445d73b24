// Members of ClsCmnCptes that posting/ defines: the accounting entry of a
// stock movement.
#include "voucher/cls_cmn_cptes.h"

// No journal rows are built yet: the posting runs and collects its
// statements without them.
QString ClsCmnCptes::GeneraAsientoStock(ui::FlexGrid &Grid, QString &eMotivoStock, QString &TC, QString &Suc,
                                        QString &Nro, QString &Letra, const QString &Fecha, bool &EsDebito,
                                        std::int16_t TipoMov, std::int32_t SoloRegistro, std::int16_t &Secuencia)
{
    (void)Grid, (void)eMotivoStock, (void)TC, (void)Suc, (void)Nro, (void)Letra, (void)Fecha, (void)EsDebito;
    (void)TipoMov, (void)SoloRegistro, (void)Secuencia;
    return {};
}
