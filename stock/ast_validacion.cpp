// A voucher's letter and number against its numbering book, and the book's
// advance past the number used.
#include "stock/ast.h"

#include "stock/ast_p.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/conversiones.h"
#include "database/db_dll.h"
#include "platform/component/component.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/ui/ui.h"

#include <QDate>

#include <optional>

using namespace numeracion;

namespace {

const QString kCR = QStringLiteral("\r");
const QString kCRLF = QStringLiteral("\r\n");
const Currency kUno = Currency::fromScaled(10000);

bool EsExterno(ado::Recordset &rs)
{
    const Variant &v = CampoTalCual(rs, QStringLiteral("Externo"));
    return !v.isNull() && ConvierteBooleano(v.toString());
}

// A book without a range that lets the operator choose the number.
bool NumeracionLibre(ado::Recordset &rs, const QString &letra)
{
    const auto desde = NumeroSiHay(CampoTalCual(rs, letra + QStringLiteral("_NRO_DESDE")));
    const auto hasta = NumeroSiHay(CampoTalCual(rs, letra + QStringLiteral("_NRO_HASTA")));
    return desde == 0.0 && hasta == 0.0
           && ConvierteBooleano(CampoSinRecortar(rs, QStringLiteral("Modificanumeracion")));
}

// The branch as the books' default-branch columns hold it: a plain number.
QString SucursalSQL(const QString &sucursal)
{
    return NumeroSQL(Variant(gComponente().ConvierteACurrency(sucursal)));
}

void AvisoSinTalonario()
{
    ui::MsgBox(QStringLiteral("Error en grabación del Comprobante, no se ha encontrado el comprobante configurado"),
               ui::vbOKOnly | ui::vbCritical,
               QStringLiteral("ATENCION"));
}

} // namespace

bool ValidaNumeracionComprobante(const QString &TipoComprobante,
                                 const QString &Sucursal,
                                 const QString &Numero,
                                 QString &Letra,
                                 QString &Mensaje,
                                 const QString &FechaComprobante)
{
    const double valor = numeracion::Numero(Variant(Numero));
    bool valido = valor > 0;
    Mensaje.clear();
    if (!NormalizaLetra(Letra)) {
        Mensaje = MensajeLetraInvalida();
        return false;
    }
    const QString &l = Letra;
    const QString t4 = Tipo4(TipoComprobante);
    const QString sucursal = SucursalSQL(Sucursal);

    // The books of the branch: the last one whose range holds the number, or
    // the one where the examination stops (external or free numbering).
    ado::Recordset rs;
    {
        QString sentencia = QStringLiteral("Select * from v_ta_cpte where codigo = ") + TextoSQL(t4)
                            + QStringLiteral(" and ") + l + QStringLiteral("_SUC_DEFAULT = ") + sucursal;
        gDB().AbrirRecordset(sentencia, rs);
    }
    bool hallado = false;
    while (!rs.Eof()) {
        const std::int16_t talonario = vb::CInt(numeracion::Numero(CampoTalCual(rs, QStringLiteral("talonario"))));
        if (NumeracionLibre(rs, l) || EsExterno(rs)) {
            if (!hallado)
                TalonarioActual = talonario;
            hallado = true;
            break;
        }
        const auto desde = NumeroSiHay(CampoTalCual(rs, l + QStringLiteral("_NRO_DESDE")));
        const auto hasta = NumeroSiHay(CampoTalCual(rs, l + QStringLiteral("_NRO_HASTA")));
        if (desde && hasta && valor >= *desde && valor <= *hasta) {
            TalonarioActual = talonario;
            hallado = true;
        }
        rs.MoveNext();
    }
    gDB().CierraRecordset(&rs);

    // A book left from an earlier call counts only when it is one of this
    // type and branch.
    const QString n = QString::number(TalonarioActual);
    {
        QString sentencia = QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO = ") + TextoSQL(t4)
                            + QStringLiteral(" and Talonario = ") + n + QStringLiteral(" AND ") + l
                            + QStringLiteral("_SUC_DEFAULT = ") + sucursal;
        gDB().AbrirRecordset(sentencia, rs);
    }
    if (rs.Eof()) {
        gDB().CierraRecordset(&rs);
        TalonarioActual = 0;
        Mensaje = QStringLiteral("Debe configurar la numeracióN de Comprobantes");
        return false;
    }
    if (NumeracionLibre(rs, l) || EsExterno(rs)) {
        gDB().CierraRecordset(&rs);
        return true;
    }

    if (!vb::Trim(FechaComprobante).isEmpty()) {
        const auto vence = DiaDeVencimiento(CampoTalCual(rs, QStringLiteral("Vence") + l));
        if (vence && *vence < vb::DateValue(vb::Trim(FechaComprobante)).date()) {
            valido = false;
            Mensaje = QStringLiteral("El rango de numeracion del comprobante ") + TipoComprobante
                      + QStringLiteral(" Control nro: ") + n
                      + QStringLiteral(
                          " se encuenta vencida...! Debe dar de alta un nuevo talonario para el comprobante ")
                      + TipoComprobante;
        }
    }

    if (valido) {
        const Variant &desde = CampoTalCual(rs, l + QStringLiteral("_NRO_DESDE"));
        const Variant &hasta = CampoTalCual(rs, l + QStringLiteral("_NRO_HASTA"));
        const auto rango = [&](const char *parametro, const Variant &limite) {
            Mensaje += kCR + QStringLiteral("El Número de comprobante (") + vb::CStr(valor)
                       + QStringLiteral(") no respeta el parametro ") + QLatin1String(parametro)
                       + QStringLiteral(" del comprobante (") + TextoNoNulo(limite)
                       + QStringLiteral(") , Nro de Control: ") + n;
            valido = false;
        };
        if (const auto d = NumeroSiHay(desde); d && valor < *d)
            rango("NRO DESDE", desde);
        else if (const auto h = NumeroSiHay(hasta); h && valor > *h)
            rango("NRO HASTA", hasta);
    }
    gDB().CierraRecordset(&rs);

    if (valido) {
        Mensaje.clear();
        return true;
    }
    Mensaje += kCR + kCR + QStringLiteral("Verifique los datos desde la TABLA DE COMPROBANTES y vuelta a Intentarlo");
    return false;
}

namespace {

// One book row, open for updating, moved to the number: in statement mode
// as text for the caller's transaction, otherwise written now.
struct Avance
{
    const QString &tipo4;
    const QString &sucursal;
    const QString &numero;
    const QString &letra;
    bool generaSentencia;
    QString &sentencia;
    bool forzar;
    bool esOC;

    bool fueraDelLibro = false;

    // With `conRango`, the row holds the letter's range of numbers too.
    void sobre(ado::Recordset &rs, const QString &tabla, const QString &condicion, bool conRango = false)
    {
        const double sucLibro = gComponente().ConvierteADouble(CampoValor(rs, letra + QStringLiteral("_SUC_DEFAULT")));
        if (sucLibro != gComponente().ConvierteADouble(Variant(sucursal))) {
            AvisoSinTalonario();
            return;
        }
        const QString columna = letra + QStringLiteral("_ULTIMO_NRO");
        const Variant &ultimo = CampoTalCual(rs, columna);
        const Currency valor = gComponente().ConvierteACurrency(Variant(numero));
        // A book already at or past the number stays where it is.
        const bool actualiza = ultimo.isNull() || !(gComponente().ConvierteACurrency(ultimo) + kUno > valor);
        const QString valorSQL = NumeroSQL(Variant(valor));
        if (conRango) {
            // The number is the one after the last used: the used one must lie in the book.
            const Variant &desde = CampoTalCual(rs, letra + QStringLiteral("_NRO_DESDE"));
            const Variant &hasta = CampoTalCual(rs, letra + QStringLiteral("_NRO_HASTA"));
            const bool antes = !desde.isNull() && valor < gComponente().ConvierteACurrency(desde);
            const bool despues = !hasta.isNull() && valor - kUno > gComponente().ConvierteACurrency(hasta);
            if (antes || despues) {
                fueraDelLibro = true;
                Raise(vberr::InvalidCall,
                      QStringLiteral("El número %1 está fuera del talonario del comprobante").arg(vb::Trim(numero)));
            }
        }

        if (generaSentencia) {
            if (actualiza)
                // The same test again when the statement runs: a book another
                // operator advanced meanwhile never moves back.
                sentencia = QStringLiteral(" UPDATE ") + tabla + QStringLiteral(" SET ") + columna
                            + QStringLiteral(" = ") + valorSQL + QStringLiteral(" WHERE ") + condicion
                            + QStringLiteral(" AND (") + columna + QStringLiteral(" IS NULL OR ") + columna
                            + QStringLiteral(" < ") + valorSQL + QStringLiteral(")");
            const bool contable = vb::EqualsText(vb::Trim(CampoSinRecortar(rs, QStringLiteral("Sistema"))),
                                                 QStringLiteral("Contable"));
            if (contable || forzar || esOC)
                // Marks the number used; its key refuses a second marking.
                sentencia += kCRLF + QStringLiteral(" INSERT INTO V_MV_CTROL_CPTE (TC,SUCURSAL,NUMERO,LETRA) VALUES (")
                             + TextoSQL(tipo4) + QLatin1Char(',')
                             + TextoSQL(vb::Format(gComponente().ConvierteACurrency(Variant(sucursal)),
                                                   QStringLiteral("0000")))
                             + QLatin1Char(',') + TextoSQL(vb::Format(valor - kUno, QStringLiteral("00000000")))
                             + QLatin1Char(',') + TextoSQL(letra) + QStringLiteral(")") + kCRLF;
            return;
        }
        if (actualiza) {
            const bool entero = valor.scaled() % 10000 == 0;
            rs.Fields(columna).setValue(entero ? Variant(static_cast<long long>(valor.scaled() / 10000))
                                               : Variant(valor));
            rs.Fields(QStringLiteral("fechahora_modificacion"))
                .setValue(Variant(vb::FormatDate(vb::Now(), ObtieneFormatoFechaHora())));
        }
        rs.Update();
    }
};

} // namespace

void ActualizaNumeracionComprobante(const QString &TipoComprobante,
                                    const QString &Sistema,
                                    const QString &Sucursal,
                                    const QString &Numero,
                                    QString &Letra,
                                    bool GeneraSentencia,
                                    QString &Sentencia,
                                    bool Forzar)
{
    Steps pasos = Pasos(QStringLiteral("ActualizaNumeracionComprobante"));
    // Only a whole number moves a book: any other text would become part of
    // the statement, or move the book to what its first digits say.
    pasos([&] {
        if (!EsNumeroEntero(Numero))
            Raise(vberr::InvalidCall,
                  QStringLiteral("El número del comprobante debe ser un número entero: \"%1\"").arg(Numero));
    });
    if (!EsNumeroEntero(Numero) || pasos.leaving())
        return;
    // A letter outside the list would name columns that do not exist.
    pasos([&] {
        if (!NormalizaLetra(Letra)) {
            ui::MsgBox(MensajeLetraInvalida(), ui::vbOKOnly | ui::vbCritical, QStringLiteral("ATENCION"));
            pasos.leave();
        }
    });
    // For the book it finds (TalonarioActual); its answer is not needed here.
    // The book is the one that issued the number used, one before Numero: after
    // a book's last number Numero already lies in the next book.
    pasos([&] {
        QString mensaje;
        const QString usado = QString::number(numeracion::Numero(Variant(Numero)) - 1, 'f', 0);
        ValidaNumeracionComprobante(TipoComprobante, Sucursal, usado, Letra, mensaje, QString());
    });

    const QString t4 = Tipo4(TipoComprobante);
    Avance avance{t4, Sucursal, Numero, Letra, GeneraSentencia, Sentencia, Forzar, EsTipo(TipoComprobante, "OC")};
    bool hallado = false;
    // Reading, testing and writing the row are one step: a retry after a
    // conflict reads the row again.
    pasos([&] {
        hallado = false;
        const QString n = QString::number(TalonarioActual);
        ado::Recordset rs;
        QString sentencia = QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO = ") + TextoSQL(t4)
                            + QStringLiteral(" AND TALONARIO =") + n;
        gDB().AbrirRecordset(sentencia, rs, nullptr, ado::adOpenDynamic, ado::adLockOptimistic, -1, true);
        hallado = !rs.Eof();
        if (hallado)
            avance.sobre(rs,
                         QStringLiteral("V_TA_CPTE"),
                         QStringLiteral("CODIGO = ") + TextoSQL(t4) + QStringLiteral(" AND TALONARIO=") + n,
                         true);
        gDB().CierraRecordset(&rs);
    });
    if (hallado || avance.fueraDelLibro || pasos.leaving())
        return;

    pasos([&] {
        hallado = false;
        const QString n = QString::number(TalonarioActual);
        const QString condicion = QStringLiteral("CODIGO = ") + TextoSQL(t4) + QStringLiteral(" AND SISTEMA = ")
                                  + TextoSQL(vb::Trim(Sistema)) + QStringLiteral(" AND TALONARIO = ") + n;
        ado::Recordset rs;
        QString sentencia = QStringLiteral("SELECT * FROM TA_Comprobantes WHERE ") + condicion;
        gDB().AbrirRecordset(sentencia, rs, nullptr, ado::adOpenDynamic, ado::adLockOptimistic, -1, true);
        hallado = !rs.Eof();
        if (hallado)
            avance.sobre(rs, QStringLiteral("TA_Comprobantes"), condicion);
        gDB().CierraRecordset(&rs);
    });
    if (hallado || pasos.leaving())
        return;

    // No book of the type and branch: externally numbered types give no
    // statement; any other is reported, never left unchanged in silence.
    pasos([&] {
        ado::Recordset rs;
        QString sentencia = QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO = ") + TextoSQL(t4);
        gDB().AbrirRecordset(sentencia, rs);
        if (!rs.Eof() && EsExterno(rs))
            Sentencia.clear();
        else
            AvisoSinTalonario();
        gDB().CierraRecordset(&rs);
    });
}
