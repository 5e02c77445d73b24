// Members of ClsCmnCptes: the action trail of a voucher, the voucher lookup,
// the charges of an account and the vouchers derived from a voucher.
#include "voucher/cls_cmn_cptes.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/conversiones.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "database/sentencias.h"
#include "lookup/frm_cons_comprobantes.h"
#include "platform/ado/ado.h"
#include "platform/component/cls_entorno.h"
#include "platform/component/component.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/ui.h"

#include <QDateTime>
#include <QMetaObject>
#include <QObject>

namespace {

// The late-bound call's error when the object lacks the member.
constexpr std::int32_t kNoAdmitePropiedad = 438;
const QString kNoAdmite = QStringLiteral("El objeto no admite esta propiedad o método");

void PonePropiedad(QObject &objeto, const char *nombre, const QString &valor)
{
    if (objeto.metaObject()->indexOfProperty(nombre) < 0 || !objeto.setProperty(nombre, valor))
        Raise(kNoAdmitePropiedad, kNoAdmite);
}

// The vouchers that name the given one as their origin.
QString DerivadosDe(const QString &tc, const QString &sucNroLetra)
{
    return QStringLiteral("SELECT * FROM V_MV_CPTE WHERE TCORIGEN = ") + CodigoSQL(tc, 4)
           + QStringLiteral(" AND COMPROBANTEORIGEN = ") + TextoSQL(vb::Trim(sucNroLetra));
}

} // namespace

bool ClsCmnCptes::ActualizaBuchon(const QString &TC,
                                  const QString &SucNroLetra,
                                  const QString &IdComplemento,
                                  bool lEsAlta,
                                  bool lEsModificacion,
                                  bool GeneraSentencia,
                                  QString &SentenciaSQL,
                                  const QString &NroAsiento)
{
    bool hecho = false;
    QString sentencia;
    Steps pasos = Pasos(QStringLiteral("ActualizaBuchon"));
    // A complement that is no number would put the trail on another voucher.
    pasos([&] {
        if (!EsNumeroEntero(IdComplemento))
            Raise(vberr::InvalidCall, MensajeComplementoInvalido(IdComplemento));
    });
    if (!EsNumeroEntero(IdComplemento))
        return false;
    pasos([&] {
        const QString accion = lEsAlta           ? QStringLiteral("'A'")
                               : lEsModificacion ? QStringLiteral("'M'")
                                                 : QStringLiteral("'B'");
        const QString fechaHora = vb::FormatDate(QDateTime::currentDateTime(), ObtieneFormatoFechaHora());
        gCamposValores.clear();
        gCamposValores = {
            {QStringLiteral("TC"), CodigoSQL(TC, 4)},
            {QStringLiteral("IdComprobante"), TextoSQL(SucNroLetra)},
            // A number: what is typed cannot become SQL.
            {QStringLiteral("IdComplemento"), gDB().SQLValue(Variant(IdComplemento), QStringLiteral("@")).toString()},
            {QStringLiteral("Tipo_accion"), accion},
            {QStringLiteral("FECHAHORA"), TextoSQL(fechaHora)},
            {QStringLiteral("Usuario"), TextoSQL(gUsuarioLogeado)},
            {QStringLiteral("PC"), TextoSQL(gEntorno().NombrePC())},
            {QStringLiteral("SYSTEMUSER"), QStringLiteral("''")},
            {QStringLiteral("NUMEROASIENTO"), NumeroSQL(Variant(gComponente().ConvierteACurrency(Variant(NroAsiento))))},
        };
    });
    pasos([&] {
        sentencia = QStringLiteral(" INSERT INTO V_MV_CPTEACCIONES ");
        ArmaInsert(sentencia, gCamposValores, true);
    });
    pasos([&] {
        if (sentencia.isEmpty())
            return;
        // Handed back, the statement replaces what the caller held.
        Sentencias salida = Sentencias::Segun(GeneraSentencia, SentenciaSQL, QString());
        if (salida.Devuelve())
            SentenciaSQL.clear();
        hecho = salida.Envia(sentencia);
    });
    return hecho;
}

void ClsCmnCptes::ConsultaComprobante(const QString &TC,
                                      QString &Respuesta,
                                      const std::optional<QString> &Filtro,
                                      QString &IdComplemento,
                                      QString &Proveedor)
{
    using Consulta = ui::DefaultInstance<FrmConsComprobantes>;
    Steps pasos = Pasos(QStringLiteral("ConsultaComprobante"));
    pasos([&] {
        FrmConsComprobantes &dlg = Consulta::Get();
        dlg.TC = TC;
        dlg.Filtro = Filtro.value_or(QString());
        dlg.NroComprobante.clear();
    });
    pasos([&] { ui::ShowModal(Consulta::Get()); });
    pasos([&] { Respuesta = Consulta::Get().NroComprobante; });
    pasos([&] { IdComplemento = Consulta::Get().IdComplemento; });
    pasos([&] { Proveedor = Consulta::Get().Proveedor; });
    Consulta::Unload();
}

Currency ClsCmnCptes::ImporteCargosReales(const QString &Cuenta)
{
    Currency importe;
    ado::Recordset rs;
    Steps pasos = Pasos(QStringLiteral("ImporteCargosReales@"));
    pasos([&] {
        QString sentencia = QStringLiteral("SELECT SUM (SALDO) AS IMPORTE FROM V_MV_CargosAplicados WHERE CUENTA = ")
                            + TextoSQL(vb::Trim(Cuenta));
        gDB().AbrirRecordset(sentencia, rs);
    });
    pasos([&] { importe = gComponente().ConvierteACurrency(CampoValor(rs, QStringLiteral("Importe"))); });
    if (pasos.leaving())
        importe = Currency();
    gDB().CierraRecordset(&rs);
    return importe;
}

void ClsCmnCptes::ControlDeCargosReales(QObject &FrmCtrlCargosReales, const QString &Cliente, const QString &Matricula)
{
    PonePropiedad(FrmCtrlCargosReales, "Cliente", Cliente);
    PonePropiedad(FrmCtrlCargosReales, "Matricula", Matricula);
    if (!QMetaObject::invokeMethod(&FrmCtrlCargosReales, "Show", Qt::DirectConnection, Q_ARG(int, 1)))
        Raise(kNoAdmitePropiedad, kNoAdmite);
}

bool ClsCmnCptes::EstaRelacionadoAOtroComprobante(const QString &TC,
                                                  const QString &SucNroLetra,
                                                  const QString &Complemento,
                                                  bool TenerEnCuentaAnulados)
{
    QString sentencia = DerivadosDe(TC, SucNroLetra) + QStringLiteral(" AND COMPLEMENTOORIGEN = ")
                        + TextoSQL(Complemento) + QStringLiteral(" ");
    if (!TenerEnCuentaAnulados)
        sentencia += QStringLiteral(" AND ANULADA = 0");
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs);
    const bool hay = !rs.Eof();
    gDB().CierraRecordset(&rs);
    return hay;
}

Currency ClsCmnCptes::ObtieneImporteCptesAsociados(const QString &TC, const QString &SucNroLetra)
{
    QString sentencia = DerivadosDe(TC, SucNroLetra) + QStringLiteral(" AND ANULADA = 0");
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs);
    Currency total;
    while (!rs.Eof()) {
        total += gComponente().ConvierteACurrency(CampoValor(rs, QStringLiteral("Importe")));
        rs.MoveNext();
    }
    gDB().CierraRecordset(&rs);
    return total;
}
