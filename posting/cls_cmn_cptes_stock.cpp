// Members of ClsCmnCptes that posting/ defines: the stock posting, its sign
// and its accounting entry.
#include "voucher/cls_cmn_cptes.h"

#include "posting/signo_comprobante.h"

std::int16_t ClsCmnCptes::ObtieneSignoComprobante(const QString &TC, bool LibroIVA)
{
    return ::ObtieneSignoComprobante(TC, LibroIVA);
}
