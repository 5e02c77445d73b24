#include "posting/signo_comprobante.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/configuracion.h"
#include "database/db_dll.h"
#include "platform/ado/ado.h"
#include "platform/component/component.h"
#include "platform/runtime/strings.h"
#include "platform/ui/ui.h"

#include <QStringList>

namespace {

// Codes of the types whose row leaves the sign open; the code is compared as
// the caller gave it.
std::int16_t SignoLibroIVA(const QString &TC)
{
    static const QStringList negativos{"NC", "NCC", "NCP", "NCCP"};
    return vb::EqualsAnyText(TC, negativos) ? -1 : 1;
}

std::int16_t SignoStock(const QString &TC)
{
    static const QStringList entradas{"IR", "AJP", "FCC", "NDC", "FPC", "NC", "RMC"};
    static const QStringList salidas{"VS", "AJN", "FC", "ND", "FP", "NCC", "RM"};
    if (vb::EqualsAnyText(TC, entradas))
        return 1;
    if (vb::EqualsAnyText(TC, salidas))
        return -1;
    return 0;
}

} // namespace

std::int16_t ObtieneSignoComprobante(const QString &TC, bool LibroIVA)
{
    bool leido = false;
    return ObtieneSignoComprobante(TC, LibroIVA, leido);
}

std::int16_t ObtieneSignoComprobante(const QString &TC, bool LibroIVA, bool &Leido)
{
    Leido = false;
    std::int16_t resultado = 0;
    ado::Recordset rs;
    Steps paso = Pasos(QStringLiteral("ObtieneSignoComprobante%"));
    bool existe = true;
    paso([&] {
        QString sentencia = QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO=") + CodigoSQL(TC, 4);
        gDB().AbrirRecordset(sentencia, rs);
    });
    paso([&] {
        if (rs.Bof()) {
            existe = false;
            ui::MsgBox(QStringLiteral("El Tipo de Comprobante informado no existe en la tabla de comprobantes"),
                       ui::vbCritical + ui::vbOKOnly,
                       QStringLiteral("Aviso al operador!!!"));
        }
    });
    if (existe)
        paso([&] {
            if (LibroIVA) {
                const Variant signo = rs.Fields(QStringLiteral("Signo")).Value();
                resultado = signo.isNull() ? SignoLibroIVA(TC) : signo.toInt();
            } else {
                const QString es = CampoSinRecortar(rs, QStringLiteral("ES"));
                if (vb::EqualsText(es, QStringLiteral("E")))
                    resultado = 1;
                else if (vb::EqualsText(es, QStringLiteral("S")))
                    resultado = -1;
                else
                    resultado = SignoStock(TC);
            }
            Leido = true;
        });
    gDB().CierraRecordset(&rs);
    return resultado;
}

std::int16_t TipoMovimientoStock(const QString &TC, const QString &TcOrigen, bool EnComodato, const QString &Cuenta)
{
    auto es = [](const QString &a, const char *b) { return vb::EqualsText(a, QString::fromLatin1(b)); };
    if (es(TC, "IR") && es(TcOrigen, "OC"))
        return 5;
    if (es(TC, "RMC"))
        return 5;
    if (es(TC, "IR") && es(TcOrigen, "RM"))
        return 4;
    if (es(TC, "RM") && EnComodato)
        return 2;
    if (es(TC, "RM")) {
        QString aux;
        return vb::EqualsText(Cfg(QStringLiteral("CuentaCtroDist"), aux), Cuenta) ? 3 : 1;
    }
    return 0;
}
