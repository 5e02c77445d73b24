// Member of ClsCmnCptes that lots/ defines: the position and lot request.
#include "voucher/cls_cmn_cptes.h"

#include "database/db_dll.h"
#include "lots/frm_lote_y_posicion.h"
#include "platform/runtime/strings.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/ui.h"

#include <QLabel>

void ClsCmnCptes::PidePosicionLote(const QString &Articulo,
                                   const QString &IdUnidad,
                                   double &Cantidad,
                                   const QString &Deposito,
                                   const QString &PosicionAnt,
                                   const QString &LoteAnt,
                                   QString &PosicionNVO,
                                   QString &LoteNvo,
                                   bool Posicion,
                                   bool Lote)
{
    using Dialogo = ui::DefaultInstance<FrmLoteyPosicion>;
    if (Cantidad == 0) {
        PosicionNVO.clear();
        LoteNvo.clear();
        return;
    }
    Steps paso = Pasos(QStringLiteral("PideSerieLote"));
    paso([&] {
        FrmLoteyPosicion &f = Dialogo::Get();
        f.Cantidad1 = Cantidad;
        f.EsConsultaDePosicionLote = !PosicionAnt.isEmpty() || !LoteAnt.isEmpty();
        f.EsPosicion = Posicion;
        f.EsLote = Lote;
        f.IUNIDAD = IdUnidad;
        f.Articulo = Articulo;
        f.Deposito = Deposito;
        f.PosicionesAnteriores = PosicionAnt;
        f.LotesAnteriores = LoteAnt;
    });
    paso([&] {
        FrmLoteyPosicion &f = Dialogo::Get();
        f.CargaDatos();
        f.lblArticulo->setText(Articulo);
    });
    paso([&] { ui::ShowModal(Dialogo::Get()); });
    paso([&] {
        FrmLoteyPosicion &f = Dialogo::Get();
        PosicionNVO = vb::Trim(f.Posiciones);
        LoteNvo = vb::Trim(f.Lotes);
        // The operator may have agreed to take the sum of the rows instead.
        Cantidad = f.Cantidad1;
    });
    // Unloaded on every way out, so that the next request starts afresh.
    Dialogo::Unload();
}
