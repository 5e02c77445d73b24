// Voucher letters and the journal: entries of a voucher, register types and
// the next entry number.
#include "stock/ast.h"

#include "stock/ast_p.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/db_dll.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"

using namespace numeracion;

QString ObtieneLetraComprobante(const QString &CondicionIvaEmisor, const QString &CondicionIvaCliente)
{
    if (vb::Val(CondicionIvaEmisor) != 1)
        return QStringLiteral("C");
    return vb::Val(CondicionIvaCliente) <= 2 ? QStringLiteral("A") : QStringLiteral("B");
}

bool ExisteAsientoComprobante(const QString &TipoComprobante,
                              const QString &Sucursal,
                              const QString &Numero,
                              const QString &Letra,
                              QString &Asiento,
                              const QString &Cuenta)
{
    // Purchase orders have no journal entry of their own.
    if (EsTipo(TipoComprobante, "OC"))
        return false;
    QString sentencia = QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE ") + CondicionTipo(TipoComprobante)
                        + QStringLiteral(" AND SUCURSAL = ") + TextoSQL(Sucursal) + QStringLiteral(" AND NUMERO = ")
                        + TextoSQL(Numero) + QStringLiteral(" AND LETRA = ") + TextoSQL(Letra);
    if (!Cuenta.isEmpty())
        sentencia += QStringLiteral(" AND CUENTA = ") + TextoSQL(Cuenta);
    ado::Recordset rs;
    gDB().AbrirRecordset(sentencia, rs);
    if (rs.Eof()) {
        gDB().CierraRecordset(&rs);
        return false;
    }
    Asiento = vb::Format(CampoValor(rs, QStringLiteral("MES_OPERATIVO")), QStringLiteral("00")) + QStringLiteral(" - ")
              + vb::Format(CampoValor(rs, QStringLiteral("NUMERO ASIENTO")), QStringLiteral("000000"));
    gDB().CierraRecordset(&rs);
    return true;
}

QString ObtieneTipoRegCont(const QString &TipoComprobante)
{
    const QString sinSubdiario = QStringLiteral("    ");
    QString resultado;
    QString subdiario;
    bool hay = false;
    ado::Recordset rs;
    Steps pasos = Pasos(QStringLiteral("ObtieneTipoRegCont$"));
    pasos([&] {
        QString sentencia = QStringLiteral("SELECT * FROM MA_SUBDIARIOSCOMPROBANTES WHERE TC = ")
                            + CodigoSQL(TipoComprobante, 4);
        gDB().AbrirRecordset(sentencia, rs);
        hay = !rs.Eof();
        if (hay)
            subdiario = CampoSinRecortar(rs, QStringLiteral("Subdiario"));
        else
            resultado = sinSubdiario;
    });
    if (hay) {
        // A sub-journal that no longer exists counts as none.
        pasos([&] {
            ado::Recordset existe;
            QString sentencia = QStringLiteral("SELECT * FROM MA_SUBDIARIOS WHERE CODIGO = ") + TextoSQL(subdiario);
            gDB().AbrirRecordset(sentencia, existe);
            resultado = existe.Eof() ? sinSubdiario : subdiario;
            gDB().CierraRecordset(&existe);
        });
    }
    pasos([&] { gDB().CierraRecordset(&rs); });
    return resultado;
}

namespace {

// A month or period as the SQL number it holds; error 5 when it holds none,
// so that no statement is built on an empty or wordy value.
QString NumeroObligatorio(const Variant &valor)
{
    if (valor.isNumber())
        return NumeroSQL(valor);
    const QString texto = vb::Trim(TextoNoNulo(valor));
    if (!vb::IsNumeric(texto))
        Raise(vberr::InvalidCall);
    return NumeroSQL(vb::Val(texto));
}

} // namespace

std::int32_t ValidaTCRegistraciones(const Variant &MesOperativo, const Variant &Periodo, const Variant &TipoRegistro)
{
    const QString mes = NumeroObligatorio(MesOperativo);
    const QString periodo = NumeroObligatorio(Periodo);
    const QString tipoReg = TipoRegistro.isEmpty() || TipoRegistro.isNull() ? QString()
                                                                            : vb::Trim(TipoRegistro.toString());

    std::int32_t resultado = 0;
    ado::Recordset rs;
    Steps pasos = Pasos(QStringLiteral("ValidaTCRegistraciones"));
    pasos([&] {
        // The marker reads the journal itself for every user, never a synonym.
        QString sentencia = QStringLiteral("SELECT MAX([NUMERO ASIENTO]) AS [NRO_ASIENTO] FROM @ADMIN_MV_ASIENTOS "
                                           "WHERE MES_OPERATIVO = ")
                            + mes;
        if (tipoReg.isEmpty())
            sentencia += QStringLiteral(" AND (RTRIM(LTRIM(TIPO_REG)) = ")
                         + TextoSQL(vb::Chr(255) + QStringLiteral("RS"))
                         + QStringLiteral(" OR RTRIM(LTRIM(TIPO_REG)) = '')");
        else
            sentencia += QStringLiteral(" AND RTRIM(LTRIM(TIPO_REG)) = ") + TextoSQL(tipoReg);
        sentencia += QStringLiteral(" AND RTRIM(LTRIM(PERIODO)) = ") + periodo;
        gDB().AbrirRecordset(sentencia, rs);
        const Variant ultimo = rs.Eof() ? Variant::null() : CampoTalCual(rs, QStringLiteral("NRO_ASIENTO"));
        resultado = ultimo.isNull() ? 1 : ultimo.toLong() + 1;
    });
    pasos([&] { gDB().CierraRecordset(&rs); });
    return resultado;
}
