#include "lookup/consulta_comprobantes.h"

#include "database/armado_sql.h"
#include "platform/runtime/strings.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

bool Vacio(const QString &Filtro)
{
    return Filtro.trimmed().isEmpty();
}

} // namespace

void ResuelveAliasComprobante(QString &TC, bool &SoloPendientes)
{
    struct Alias
    {
        const char *alias;
        const char *tipo;
        bool pendientes;
    };
    static const Alias alias[] = {
        {"RM/PENDIENTES", "RM", true},
        {"NP/PENDIENTES", "NP", true},
        {"OT/PENDIENTES", "OT", true},
        {"RM/PENDIENTES_COMPRAS", "RMC", true},
        {"PR/PENDIENTES", "PR", true},
        {"FC/ANTICIPOS", "FC", false},
    };
    for (const Alias &a : alias) {
        if (vb::EqualsText(TC, QString::fromLatin1(a.alias))) {
            TC = QString::fromLatin1(a.tipo);
            if (a.pendientes)
                SoloPendientes = true;
        }
    }
}

bool EsGrupoPrincipal(const QString &TC)
{
    return vb::EqualsAnyText(TC, {"OT", "NP", "FC", "RM", "ND", "NC", "NCFP", "OP", "FP", "GF"});
}

bool EsGrupoCompras(const QString &TC)
{
    return vb::EqualsAnyText(TC, {"FCC", "NCC", "NCPE", "NDPR", "NCCP", "NDC", "RMC"});
}

QString QuitaWhereInicial(const QString &Filtro)
{
    static const QRegularExpression where(QStringLiteral("^(\\s*)where\\b"), QRegularExpression::CaseInsensitiveOption);
    QString s = Filtro;
    s.replace(where, QStringLiteral("\\1"));
    return s;
}

bool LeeUsaRemitoContado(const QString &TC, bool SoloPendientes)
{
    return SoloPendientes && vb::EqualsText(TC, QStringLiteral("RM"));
}

bool LeeEntregaParcialRemito(const QString &TC, const QString &Filtro, bool SoloPendientes)
{
    return LeeUsaRemitoContado(TC, SoloPendientes) && Vacio(Filtro);
}

QString SentenciaComprobantes(const QString &TC, const QString &Filtro, const OpcionesConsultaComprobantes &o)
{
    // The type between its quotes, as every statement writes it.
    const QString tipo = CodigoSQL(TC, 4);
    const bool vacio = Vacio(Filtro);
    const bool pend = o.SoloPendientes;
    const QString donde = QStringLiteral(" WHERE TC = ") + tipo;

    if (pend && vb::EqualsText(TC, QStringLiteral("RMC"))) {
        const QString base = QStringLiteral(
            " SELECT CUENTA , ANULADA, Nombre, TC,IDCOMPROBANTE, ID,FECHA, Importe FROM C_RemitosPendientes");
        return vacio ? base + donde + QStringLiteral(" ORDER BY IDCOMPROBANTE DESC")
                     : base + donde + QStringLiteral(" AND ") + Filtro + QStringLiteral(" ORDER BY IDCOMPROBANTE DESC");
    }
    if (pend && vb::EqualsText(TC, QStringLiteral("RM"))) {
        const QString columnas = QStringLiteral(
            " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, Importe FROM ");
        const QString pendientes = columnas + QStringLiteral("V_RemitosPendientes") + donde;
        const QString todos = columnas + QStringLiteral("V_MV_CPTE") + donde;
        if (!vacio) {
            if (o.UsaRemitoContado)
                return pendientes + QStringLiteral(" AND ") + Filtro + QStringLiteral(" ORDER BY IDCOMPROBANTE DESC");
            return todos + QStringLiteral(" AND ") + Filtro
                   + QStringLiteral("  AND FINALIZADA = 0 ORDER BY IDCOMPROBANTE DESC");
        }
        if (o.UsaRemitoContado && !o.EntregaParcialRemito)
            return pendientes + QStringLiteral(" ORDER BY IDCOMPROBANTE DESC");
        return todos + QStringLiteral(" AND FINALIZADA = 0 ORDER BY IDCOMPROBANTE DESC");
    }
    if (vb::EqualsText(TC, QStringLiteral("T3")))
        return QStringLiteral("SELECT * FROM V_MV_CPTETERCEROS ORDER BY ID,IDCOMPROBANTE, IDCOMPLEMENTO");
    if (vb::EqualsAnyText(TC, {"NCPE", "NDPR"})) {
        const QString base = QStringLiteral("SELECT * FROM MV_ASIENTOS") + donde;
        return vacio ? base + QStringLiteral(" AND SECUENCIA = 1 ORDER BY SUCURSAL, NUMERO, LETRA DESC")
                     : base + QStringLiteral(" AND ") + Filtro
                           + QStringLiteral(" ORDER BY SUCURSAL, NUMERO, LETRA DESC ");
    }
    if (vb::EqualsAnyText(TC, {"FCC", "NCC", "NCCP", "NDC", "RMC"})) {
        const QString base = QStringLiteral("SELECT * FROM C_MV_CPTE") + donde;
        return vacio ? base + QStringLiteral(" ORDER BY IDCOMPROBANTE DESC")
                     : base + QStringLiteral(" AND ") + Filtro + QStringLiteral(" ORDER BY IDCOMPROBANTE DESC ");
    }
    if (vb::EqualsText(TC, QStringLiteral("OT"))) {
        // The two texts differ in their blanks around ID, as they always have.
        const QString base = pend ? QStringLiteral(" SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, "
                                                   "IDCOMPlemento,ID,FECHA, Importe FROM V_OT_Pendientes")
                                  : QStringLiteral(" SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, "
                                                   "IDCOMPlemento , ID,FECHA, Importe FROM V_OT_Pendientes");
        return vacio ? base + donde + QStringLiteral(" ") + QStringLiteral(" ORDER BY IDCOMPROBANTE DESC")
                     : base + donde + QStringLiteral(" AND ") + Filtro + QStringLiteral(" ORDER BY IDCOMPROBANTE DESC");
    }
    if (pend && vb::EqualsText(TC, QStringLiteral("NP"))) {
        if (vacio)
            return QStringLiteral(" SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, "
                                  "Importe,FechaPreparacion FROM V_MV_CPTE")
                   + donde + QStringLiteral(" AND FINALIZADA = 0 and anulada = 0 ORDER BY IDCOMPROBANTE DESC");
        return QStringLiteral(" SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, Importe, "
                              "FechaPreparacion FROM V_MV_CPTE")
               + donde + QStringLiteral(" AND ") + Filtro
               + QStringLiteral(" AND FINALIZADA = 0 and anulada = 0 ORDER BY IDCOMPROBANTE DESC");
    }
    if (pend && vb::EqualsText(TC, QStringLiteral("PR"))) {
        const QString columnas = QStringLiteral(
            " SELECT CUENTA , ANULADA, Nombre, APROBADO, TC,IDCOMPROBANTE, ID,FECHA, Importe, comentarios FROM ");
        if (vacio)
            return columnas + QStringLiteral("V_PR_PENDIENTES") + donde + QStringLiteral(" AND APROBADO = 1")
                   + QStringLiteral(" ORDER BY IDCOMPROBANTE DESC");
        return columnas + QStringLiteral("V_MV_CPTE") + donde + QStringLiteral(" AND APROBADO = 1 AND ") + Filtro
               + QStringLiteral(" AND FINALIZADA = 0 ORDER BY IDCOMPROBANTE DESC");
    }
    if (vb::EqualsText(TC, QStringLiteral("OC"))) {
        return QStringLiteral(" SELECT FECHA, CUENTA , NOMBRE, ANULADA, APROBADO, TC,IDCOMPROBANTE, ID,Importe, "
                              "comentarios, Garantia FROM C_MV_CPTE")
               + donde + QStringLiteral(" AND (APROBADO = 1) AND (FINALIZADO = 0) AND (ANULADA = 0)")
               + (vacio ? QString() : QStringLiteral(" AND ")) + Filtro
               + QStringLiteral(" ORDER BY IDCOMPROBANTE DESC");
    }
    const QString base = QStringLiteral("SELECT * FROM V_MV_CPTE") + donde;
    return vacio ? base + QStringLiteral(" ORDER BY IDCOMPROBANTE DESC, IDCOMPLEMENTO ASC")
                 : base + QStringLiteral(" AND ") + Filtro
                       + QStringLiteral(" ORDER BY  IDCOMPROBANTE DESC, IDCOMPLEMENTO ASC  ");
}
