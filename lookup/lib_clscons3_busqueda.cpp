// The lookup itself: the statement, the dialog that shows it, and what the
// caller reads back.
#include "lookup/lib_clscons3.h"

#include "lookup/lib_frm_cons3.h"
#include "lookup/lib_frm_cons3_arbol.h"
#include "platform/ado/sql_text.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/ui.h"

void Lib_ClsCons3::ConsultaSearch(const QString &SQL,
                                  Coleccion *CmpsDevueltos,
                                  const QString &Clave,
                                  QString *CampoBusqueda,
                                  QString *Where,
                                  const QString &SentenciaOpcional,
                                  bool TreeView,
                                  const QString &ValoresDefault)
{
    QString campoPropio;
    QString wherePropio;
    QString &campo = CampoBusqueda ? *CampoBusqueda : campoPropio;
    QString &where = Where ? *Where : wherePropio;

    // A lookup that ends before its dialog must not hand back the last one's pick.
    ValorDevuelto = Variant(QString());
    Valores.reset();
    Cantidades.reset();

    const std::optional<QString> sentencia = ArmaSentenciaConsulta(SQL, campo, where, SentenciaOpcional);
    if (!sentencia)
        return;

    Steps paso = Steps::IgnoringErrors();
    if (TreeView)
        MuestraArbol(*sentencia);
    else
        MuestraLista(*sentencia, CmpsDevueltos, Clave, campo, ValoresDefault);

    paso([&] { CampoDevuelto.clear(); });
    paso([&] {
        if (CmpsDevueltos && *CmpsDevueltos) {
            QList<Variant> &lista = **CmpsDevueltos;
            while (!lista.isEmpty())
                lista.removeFirst();
        }
        if (CmpsDevueltos)
            CmpsDevueltos->reset();
    });
    paso([&] { LiberaDialogos(); });
}

void Lib_ClsCons3::MuestraLista(const QString &sentencia,
                                Coleccion *CmpsDevueltos,
                                const QString &Clave,
                                const QString &CampoBusqueda,
                                const QString &ValoresDefault)
{
    Steps paso = Steps::IgnoringErrors();
    Lib_FrmCons3 &frm = ui::DefaultInstance<Lib_FrmCons3>::Get();
    paso([&] {
        frm.StkNivel1 = StkNivel1;
        frm.StkNivel2 = StkNivel2;
        frm.StkNivel3 = StkNivel3;
        frm.StkNivel4 = StkNivel4;
        frm.MuestraStock = MuestraStock;
        frm.CfgUsaConsultaLIKE = mUsaConsultaLIKE;
        frm.OrdenarPorLwv = vb::InStr(ado::codeOutsideQuotes(sentencia), QStringLiteral("ORDER BY"), vb::Compare::Text)
                            == 0;
        frm.FiltroInicial = Clave;
        frm.CampoBusqueda = CampoBusqueda;
        frm.SQL = sentencia;
        frm.gConnString = gConnString;
        frm.CampoDevuelto = CampoDevuelto;
        frm.CheckBoxes = Checks;
        frm.UsaCantidades = UsaCantidades;
        frm.ValoresDefault = ValoresDefault;
    });
    paso([&] {
        Valores.reset();
        Cantidades.reset();
        frm.CmpsDevueltos = CmpsDevueltos ? *CmpsDevueltos : Coleccion();
        frm.Valores.reset();
        frm.Cantidades.reset();
    });
    paso([&] { ui::ShowModal(frm); });
    paso([&] { Checks = false; });
    paso([&] {
        Valores = frm.Valores;
        Cantidades = frm.Cantidades;
        ValorDevuelto = frm.ValorDevuelto;
    });
    paso([&] {
        frm.Valores.reset();
        frm.Cantidades.reset();
    });
}

void Lib_ClsCons3::LiberaDialogos()
{
    ui::DefaultInstance<Lib_FrmCons3>::Unload();
    ui::DefaultInstance<Lib_FrmCons3Tree>::Unload();
}
