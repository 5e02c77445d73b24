// The tree road of the lookup: the tree dialog shown on the statement, its
// pick read back (ConsultaSearch has emptied the driver's pick before).
// The tree dialog's default instance is let go with the list's in
// LiberaDialogos (lib_clscons3_busqueda.cpp).
#include "lookup/lib_clscons3.h"

#include "lookup/lib_frm_cons3_arbol.h"
#include "platform/runtime/steps.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/ui.h"

void Lib_ClsCons3::MuestraArbol(const QString &sentencia)
{
    Steps paso = Steps::IgnoringErrors();
    Lib_FrmCons3Tree &frm = ui::DefaultInstance<Lib_FrmCons3Tree>::Get();
    paso([&] {
        frm.SQL = sentencia;
        frm.CampoDevuelto = CampoDevuelto;
        frm.CheckBoxes = Checks;
    });
    paso([&] { Valores.reset(); });
    paso([&] { ui::ShowModal(frm); });
    paso([&] {
        ValorDevuelto = frm.ValorDevuelto;
        Valores = frm.Valores;
    });
    paso([&] { Checks = false; });
}
