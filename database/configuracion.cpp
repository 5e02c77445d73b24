#include "database/configuracion.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/component/component.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"

bool CfgSi(const QString &valor)
{
    return vb::EqualsText(valor, QStringLiteral("SI"));
}

bool CfgSiRecortado(const QString &valor)
{
    return CfgSi(valor.trimmed());
}

bool CfgNoEsNo(const QString &valor)
{
    return !vb::EqualsText(valor.trimmed(), QStringLiteral("NO"));
}

bool CfgDefinidoYNoEsNo(const QString &valor)
{
    return !(valor.trimmed().isEmpty() || vb::EqualsText(valor, QStringLiteral("NO")));
}

QString Cfg(const QString &Clave)
{
    QString aux;
    return Cfg(Clave, aux);
}

QString Cfg(const QString &Clave, QString &ValorAux)
{
    QString resultado;
    QString sentencia;
    ado::Recordset rs;
    Steps steps = Pasos(QStringLiteral("Cfg"));
    steps([&] {
        if (gTablaConfiguracion.trimmed().isEmpty())
            gTablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
    });
    steps([&] {
        sentencia = QStringLiteral("SELECT VALOR, valoraux FROM ") + gTablaConfiguracion
                    + QStringLiteral(" WHERE CLAVE = ") + TextoSQL(Clave.trimmed());
    });
    steps([&] {
        // The date keys are stored upper-cased; the whole statement follows them.
        const QString k = Clave.trimmed();
        if (vb::EqualsText(k, QStringLiteral("[FECHA HASTA]")) || vb::EqualsText(k, QStringLiteral("[FECHA DESDE]")))
            sentencia = sentencia.toUpper();
    });
    // Opening and reading are one step, so that a retry opens the query again.
    steps([&] {
        QString s = sentencia;
        gDB().AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
        if (rs.Bof()) {
            resultado = QStringLiteral(" ");
            ValorAux.clear();
        } else {
            resultado = CampoSinRecortar(rs, QStringLiteral("Valor"));
            ValorAux = CampoSinRecortar(rs, QStringLiteral("ValorAux"));
        }
    });
    if (rs.State() == ado::adStateOpen)
        steps([&] { gDB().CierraRecordset(&rs); });
    if (steps.leaving())
        return QString();
    return resultado;
}

void CargaConfiguracion(const QString &RutaAplicacion)
{
    ClsComponente &c = gComponente();
    gTablaConfiguracion = QStringLiteral("ta_configuracion");

    gMostrarStockEnConsultas = CfgSi(Cfg(QStringLiteral("MostrarStockenConsultas")));
    gTituloClientes = Cfg(QStringLiteral("TituloClientes")).trimmed();
    gTituloProveedores = Cfg(QStringLiteral("TituloProveedores")).trimmed();
    gArchivoDocTareas = RutaAplicacion + QStringLiteral("VGDOCTareas.vgr");
    gExigeClaveConsultaLike = CfgSi(Cfg(QStringLiteral("EXIGECLAVECONSULTALIKEARTICULOS")));
    gUsaConsultaLike = CfgSi(Cfg(QStringLiteral("UsaConsultaLike")));
    gCantidadDecimales = Cfg(QStringLiteral("CantidadDecimales"));
    gUsaMultilesMonedas = CfgSi(Cfg(QStringLiteral("UsaMultilesMonedas")));
    gUsaFacturaProforma = CfgSi(Cfg(QStringLiteral("UsaFacturaProforma")));
    gUsaCCosto = CfgSi(Cfg(QStringLiteral("USACCOSTO")));
    gUsaStockUdKg = CfgSi(Cfg(QStringLiteral("USA_STK_STOCK_UDKG")));

    const QString unidad = TextoNoNulo(gDB().DatosTabla(QStringLiteral("ta_usuarios"),
                                                        gUsuarioLogeado,
                                                        QStringLiteral("UNegocio"),
                                                        QStringLiteral("nombre"),
                                                        8,
                                                        QString(),
                                                        true));
    gUNegocio = CodigoAncho(unidad, 4);
    if (gUNegocio.isEmpty())
        gUNegocio = QStringLiteral("   1");

    gUnidadM3 = Cfg(QStringLiteral("UNIDADDEMEDIDA_M3")).trimmed();
    gUnidadBL = Cfg(QStringLiteral("UNIDADDEMEDIDA_BL")).trimmed();
    gUnidadKG = Cfg(QStringLiteral("UNIDADDEMEDIDA_KG")).trimmed();
    gPeriodo = vb::CInt(vb::Val(Cfg(QStringLiteral("PERIODO"))));
    gValidaCodigoBarra = CfgSiRecortado(Cfg(QStringLiteral("VALIDACODIGOBARRA")));
    gColorFondoFoco = vb::CLng(c.ConvierteACurrency(Cfg(QStringLiteral("CFondo"))).toDouble());
    if (gColorFondoFoco == 0)
        gColorFondoFoco = 0xFFFF00;
    gColorTextoFoco = vb::CLng(c.ConvierteACurrency(Cfg(QStringLiteral("CLetra"))).toDouble());
    gModuloOrdenDeTrabajo = CfgNoEsNo(Cfg(QStringLiteral("ModuloOrdenDeTrabajo")));
    gVModificaCPrecio = CfgDefinidoYNoEsNo(Cfg(QStringLiteral("V_ModificaCPrecio")));
    gCModificaCPrecio = CfgDefinidoYNoEsNo(Cfg(QStringLiteral("C_ModificaCPrecio")));
    gMaderera = CfgDefinidoYNoEsNo(Cfg(QStringLiteral("MADERERA")));
    gMadTiras = Cfg(QStringLiteral("MAD_TIRAS")).trimmed();
    gMadP2 = Cfg(QStringLiteral("MAD_P2")).trimmed();
    gMadML = Cfg(QStringLiteral("MAD_ML")).trimmed();
    gMadM2 = Cfg(QStringLiteral("MAD_M2")).trimmed();
    gMadHojas = Cfg(QStringLiteral("MAD_HOJAS")).trimmed();
    gMadMLP2 = Cfg(QStringLiteral("MAD_ML_P2")).trimmed();
    gMadM2P2 = Cfg(QStringLiteral("MAD_M2_P2")).trimmed();
    gMadMLM2 = Cfg(QStringLiteral("MAD_ML_M2")).trimmed();
    gCuentaCtroDist = Cfg(QStringLiteral("CuentaCtroDist")).trimmed();
    gMaxDto = c.ConvierteACurrency(Cfg(QStringLiteral("MaxDto")).trimmed());
    gPideClaveStockNeg = CfgDefinidoYNoEsNo(Cfg(QStringLiteral("PideClave_StockNeg")));
    gPideClaveMarkUpBase = CfgDefinidoYNoEsNo(Cfg(QStringLiteral("PideClave_MarkUpBase")));
    gPideClaveLimiteCredito = CfgDefinidoYNoEsNo(Cfg(QStringLiteral("PideClave_LimiteCredito")));
    gSSBloqueoActivo = CfgSi(Cfg(QStringLiteral("SS_BloqueoActivo")));
    gTopDefault = Cfg(QStringLiteral("Top_Default"));
    if (gTopDefault.trimmed().isEmpty())
        gTopDefault = QStringLiteral("1000");
}
