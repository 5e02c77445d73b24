// Numbering books: choosing the book of a voucher type and drawing its next
// number, moved past the numbers already taken.
#include "stock/ast.h"

#include "stock/ast_p.h"

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/configuracion.h"
#include "database/conversiones.h"
#include "database/db_dll.h"
#include "platform/component/component.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/ui/ui.h"

#include <QDate>
#include <QStringList>

#include <algorithm>
#include <optional>

using namespace numeracion;

std::int16_t TalonarioActual = 0;

namespace {

// The number a book issues next: its current number, but never below its
// first one (a fresh book holds 0) nor below 1. None when the current number
// is Null.
std::optional<double> SiguienteDelLibro(const Variant &ultimo, const Variant &desde)
{
    if (ultimo.isNull())
        return std::nullopt;
    return std::max({Numero(ultimo), Numero(desde), 1.0});
}

// The book's highest number; none when it is Null. No id holds more than 8 digits.
std::optional<double> HastaDelLibro(const Variant &hasta)
{
    if (hasta.isNull())
        return std::nullopt;
    return std::min(Numero(hasta), kUltimoNumero);
}

// The number part (characters 5 to 12) of a stored voucher id.
Currency NumeroDelId(const QString &id)
{
    return gComponente().ConvierteACurrency(vb::Mid(id, 5, 8));
}

// The stored maximum of the query's ULTIMO column, none when no row or Null.
std::optional<QString> Ultimo(QString sentencia, ado::Recordset &rs)
{
    gDB().AbrirRecordset(sentencia, rs);
    if (rs.Eof())
        return std::nullopt;
    const Variant v = CampoTalCual(rs, QStringLiteral("ULTIMO"));
    if (v.isNull())
        return std::nullopt;
    return v.toString();
}

bool Existe(QString sentencia, ado::Recordset &rs)
{
    gDB().AbrirRecordset(sentencia, rs);
    return !rs.Eof();
}

// Past the highest id of trips or sales of the type, branch and letter. A
// maximum equal to the number means the number is taken: it moves too, but
// never past `limite` (the number is then cleared and error 6 raised).
void PasaElMaximoDelId(const QString &tabla,
                       const QString &tipo,
                       const QString &sucursal,
                       const QString &letra,
                       QString &numero,
                       const QString &limite,
                       ado::Recordset &rs)
{
    const QString sentencia = QStringLiteral("SELECT MAX(idcomprobante) AS ULTIMO From ") + tabla
                              + QStringLiteral(" WHERE ") + CondicionTipo(tipo)
                              + QStringLiteral(" AND SUBSTRING(IDCOMPROBANTE,1,4)= ") + TextoSQL(sucursal)
                              + QStringLiteral(" AND SUBSTRING(IDCOMPROBANTE,13,1) = ") + TextoSQL(letra);
    if (const auto ultimo = Ultimo(sentencia, rs)) {
        const Currency tomado = NumeroDelId(*ultimo);
        if (tomado >= gComponente().ConvierteACurrency(numero)) {
            numero.clear();
            numero = NumeroSiguiente(tomado.toDouble(), tipo, limite);
        }
    }
}

} // namespace

void Obtener_Nro_Comprobante_Contable(const QString &TipoComprobante,
                                      QString &Sucursal,
                                      QString &Numero,
                                      QString &Letra,
                                      bool &ModificaNumero,
                                      const QString &FechaComprobante,
                                      const QString &UNegocio,
                                      QString &NroHasta)
{
    Steps pasos = Pasos(QStringLiteral("Obtener_Nro_Comprobante_Contable"));
    ado::Recordset rs;
    std::optional<QDate> dia;
    bool hayFilas = false;

    pasos([&] {
        if (vb::Trim(Letra).isEmpty())
            Letra = QStringLiteral("X");
    });
    // Books expire by the day: compared as dates, never as texts.
    pasos([&] {
        if (!vb::Trim(FechaComprobante).isEmpty())
            dia = vb::DateValue(vb::Trim(FechaComprobante)).date();
    });
    const QString t4 = Tipo4(TipoComprobante);
    const bool conUnidad = !vb::Trim(UNegocio).isEmpty();
    auto consulta = [&](bool porUnidad) {
        hayFilas = false;
        QString sentencia = QStringLiteral("SELECT * FROM V_TA_CPTE") + QLatin1String(kBloqueoTalonario)
                            + QStringLiteral(" WHERE CODIGO = ") + TextoSQL(t4);
        if (porUnidad)
            sentencia += QStringLiteral(" AND UNEGOCIO = ") + CodigoSQL(UNegocio, 4);
        sentencia += QStringLiteral(" ORDER BY TALONARIO");
        gDB().AbrirRecordset(sentencia, rs);
        hayFilas = !rs.Eof();
    };
    pasos([&] { consulta(conUnidad); });
    if (!hayFilas && conUnidad)
        pasos([&] { consulta(false); });

    if (!hayFilas) {
        pasos([&] {
            Sucursal = QStringLiteral("1");
            Numero = QStringLiteral("1");
            Letra = QStringLiteral("X");
        });
        pasos([&] { gDB().CierraRecordset(&rs); });
        return;
    }

    bool todosUsados = false;
    bool tomado = false;
    while (!tomado) {
        bool fin = true; // a recordset that cannot tell ends the examination
        if (!pasos([&] { fin = rs.Eof(); }) || fin)
            break;
        const bool sigue = pasos([&] {
            const QString letras = CampoSinRecortar(rs, QStringLiteral("Letras"));
            if (vb::InStr(letras, Letra, vb::Compare::Text) == 0) {
                Letra = vb::Left(letras, 1);
                if (vb::Trim(Letra).isEmpty())
                    Letra = QStringLiteral("X");
            }
            const QString l = vb::Trim(Letra);
            // Used up once the number it would issue passes its highest one.
            const auto siguiente = SiguienteDelLibro(CampoTalCual(rs, l + QStringLiteral("_ULTIMO_NRO")),
                                                     CampoTalCual(rs, l + QStringLiteral("_NRO_DESDE")));
            const auto hasta = HastaDelLibro(CampoTalCual(rs, l + QStringLiteral("_NRO_HASTA")));
            if (!siguiente || !hasta || *siguiente > *hasta) {
                todosUsados = true;
                return;
            }
            if (dia) {
                const auto vence = DiaDeVencimiento(CampoTalCual(rs, QStringLiteral("Vence") + l));
                if (vence && *dia > *vence)
                    return;
            }
            Sucursal = vb::Format(numeracion::Numero(CampoTalCual(rs, l + QStringLiteral("_SUC_DEFAULT"))),
                                  QStringLiteral("0000"));
            Numero = vb::Format(*siguiente, QStringLiteral("00000000"));
            NroHasta = vb::Format(*hasta, QStringLiteral("00000000"));
            TalonarioActual = vb::CInt(numeracion::Numero(CampoTalCual(rs, QStringLiteral("talonario"))));
            ModificaNumero = ConvierteBooleano(CampoSinRecortar(rs, QStringLiteral("Modificanumeracion")));
            todosUsados = false;
            tomado = true;
        });
        if (!sigue || (!tomado && !pasos([&] { rs.MoveNext(); })))
            break;
    }

    pasos([&] {
        Letra = vb::Trim(Letra);
        if (todosUsados)
            ui::MsgBox(QStringLiteral("Todos los talonarios del comprobante ") + TipoComprobante
                           + QStringLiteral(" se encuentran utilizados, debe dar de alta un nuevo talonario para el "
                                            "comprobante ")
                           + TipoComprobante,
                       ui::vbOKOnly);
    });
    pasos([&] { gDB().CierraRecordset(&rs); });
}

QString ObtieneTCEquivalente(const QString &TipoComprobante)
{
    static const QStringList configurados = {
        QStringLiteral("FCC"),
        QStringLiteral("FPC"),
        QStringLiteral("FP"),
        QStringLiteral("NCC"),
        QStringLiteral("NDC"),
        QStringLiteral("PG"),
        QStringLiteral("FC"),
        QStringLiteral("NC"),
        QStringLiteral("ND"),
        QStringLiteral("CB"),
        QStringLiteral("CBCT"),
        QStringLiteral("TK"),
        QStringLiteral("TKFC"),
    };
    static const QStringList propios = {QStringLiteral("CBFP"),
                                        QStringLiteral("PGFP"),
                                        QStringLiteral("NCFP"),
                                        QStringLiteral("NCCP"),
                                        QStringLiteral("GF")};
    const QString tipo = vb::Trim(TipoComprobante);
    if (gComponente().EstaEnLista(tipo, configurados))
        return vb::Trim(Cfg(QStringLiteral("EQU_") + vb::UCase(tipo)));
    if (gComponente().EstaEnLista(tipo, propios))
        return tipo;
    return QString();
}

void Obtener_Nro_Comprobante(const QString &TipoComprobante,
                             QString &Sucursal,
                             QString &Numero,
                             QString &Letra,
                             bool &ModificaNumero,
                             bool Verifica,
                             const QString &Cuenta,
                             const QString &UNegocio)
{
    (void) Cuenta; // part of the suite's call, never consulted
    PedidoDeNumero pedido{.tipo = TipoComprobante,
                          .sucursal = Sucursal,
                          .numero = Numero,
                          .letra = Letra,
                          .modifica = ModificaNumero,
                          .verifica = Verifica,
                          .unegocio = UNegocio};
    ObtieneNumero(pedido);
    Sucursal = pedido.sucursal;
    Numero = pedido.numero;
    Letra = pedido.letra;
    ModificaNumero = pedido.modifica;
}

namespace {

// Whether a voucher of `tabla` holds the number already.
bool Tomado(Steps &pasos, const QString &tabla, const PedidoDeNumero &p, ado::Recordset &rs)
{
    bool usado = false;
    pasos([&] {
        usado = Existe(QStringLiteral("SELECT * From ") + tabla + QStringLiteral(" WHERE ") + CondicionTipo(p.tipo)
                           + QStringLiteral(" AND IDCOMPROBANTE = ") + TextoSQL(p.sucursal + p.numero + p.letra),
                       rs);
    });
    return usado;
}

// A trip's number taken already moves past the highest trip id.
void VerificaViaje(Steps &pasos, PedidoDeNumero &p, ado::Recordset &rs)
{
    if (Tomado(pasos, QStringLiteral("MV_VIAJES"), p, rs))
        pasos([&] {
            PasaElMaximoDelId(QStringLiteral("MV_VIAJES"), p.tipo, p.sucursal, p.letra, p.numero, p.limite, rs);
        });
    pasos([&] { gDB().CierraRecordset(&rs); });
}

// A number whose journal entry exists already moves past the journal's
// highest number (and, for CBFP, past the highest sale id).
void VerificaAsiento(Steps &pasos, PedidoDeNumero &p, ado::Recordset &rs)
{
    pasos([&] {
        const auto ultimo = Ultimo(QStringLiteral("SELECT MAX(NUMERO) AS ULTIMO From MV_ASIENTOS WHERE ")
                                       + CondicionTipo(p.tipo) + QStringLiteral(" AND SUCURSAL= ")
                                       + TextoSQL(p.sucursal) + QStringLiteral(" AND LETRA = ") + TextoSQL(p.letra),
                                   rs);
        p.numero.clear();
        p.numero = ultimo ? NumeroSiguiente(gComponente().ConvierteACurrency(*ultimo).toDouble(), p.tipo, p.limite)
                          : QStringLiteral("00000001");
    });
    // A number that could not move past the taken ones (its book ended) is none.
    if (p.numero.isEmpty()) {
        gDB().CierraRecordset(&rs);
        return;
    }
    if (EsTipo(p.tipo, "CBFP"))
        pasos([&] {
            PasaElMaximoDelId(QStringLiteral("V_MV_CPTE"), p.tipo, p.sucursal, p.letra, p.numero, p.limite, rs);
        });
    pasos([&] { gDB().CierraRecordset(&rs); });
}

// Types whose number is not checked against the vouchers stored.
bool SinControl(const QString &tipo)
{
    static const QStringList sinControl = {
        QStringLiteral("OPG"),
        QStringLiteral("PG"),
        QStringLiteral("FC"),
        QStringLiteral("NC"),
        QStringLiteral("ND"),
        QStringLiteral("NP"),
        QStringLiteral("GF"),
        QStringLiteral("PR"),
        QStringLiteral("RM"),
        QStringLiteral("TK"),
        QStringLiteral("TKFC"),
        QStringLiteral("FP"),
        QStringLiteral("IR"),
        QStringLiteral("VS"),
        QStringLiteral("SI"),
        QStringLiteral("AJP"),
        QStringLiteral("AJN"),
        QStringLiteral("TRP"),
    };
    return gComponente().EstaEnLista(tipo, sinControl);
}

// A purchase order's number taken already moves past the highest order
// number of the branch (and letter), within the book's end.
void VerificaOrdenDeCompra(Steps &pasos, PedidoDeNumero &p, ado::Recordset &rs)
{
    if (Tomado(pasos, QStringLiteral("C_MV_CPTE"), p, rs)) {
        pasos([&] {
            QString sentencia = QStringLiteral("SELECT MAX(NUMERO) AS ULTIMO From C_MV_CPTE WHERE ")
                                + CondicionTipo(p.tipo) + QStringLiteral(" AND SUCURSAL = ") + TextoSQL(p.sucursal);
            if (gComponente().ConvierteACurrency(p.limite) > Currency())
                sentencia += QStringLiteral(" AND NUMERO < ") + TextoSQL(p.limite) + QStringLiteral(" AND LETRA = ")
                             + TextoSQL(p.letra) + QStringLiteral(" ");
            else
                sentencia += QStringLiteral(" AND LETRA = ") + TextoSQL(p.letra);
            const auto ultimo = Ultimo(sentencia, rs);
            p.numero.clear();
            p.numero = ultimo ? NumeroSiguiente(gComponente().ConvierteACurrency(*ultimo).toDouble(), p.tipo, p.limite)
                              : QStringLiteral("00000001");
        });
    }
    pasos([&] { gDB().CierraRecordset(&rs); });
}

} // namespace

void numeracion::ObtieneNumero(PedidoDeNumero &p)
{
    if (vb::Trim(p.tipo).isEmpty())
        return;
    Steps pasos = Pasos(QStringLiteral("Obtener_Nro_Comprobante"));
    ado::Recordset rs;
    p.limite = QStringLiteral("99999999");
    QString hasta = p.limite;
    // Stays empty when no book gives a number: every book used up, or a
    // failure the operator has been shown.
    QString propuesto;

    pasos([&] {
        Obtener_Nro_Comprobante_Contable(p.tipo, p.sucursal, propuesto, p.letra, p.modifica, QString(), p.unegocio, hasta);
    });
    p.numero = propuesto;
    if (p.numero.isEmpty())
        return;
    // A type that shares its numbering is not bound by its own book's end.
    pasos([&] {
        if (ObtieneTCEquivalente(p.tipo).isEmpty())
            p.limite = hasta;
    });
    if (!p.verifica)
        return;

    if (EsTipo(p.tipo, "VJ")) {
        VerificaViaje(pasos, p, rs);
        return;
    }

    bool conAsiento = false;
    pasos([&] {
        QString asiento;
        conAsiento = ExisteAsientoComprobante(p.tipo, p.sucursal, p.numero, p.letra, asiento, QString());
    });
    if (conAsiento) {
        VerificaAsiento(pasos, p, rs);
        return;
    }
    if (SinControl(p.tipo))
        return;
    if (EsTipo(p.tipo, "OC")) {
        VerificaOrdenDeCompra(pasos, p, rs);
        return;
    }

    // The number is handed out: its control row goes, in whatever
    // transaction the connection has open.
    pasos([&] {
        gDB().EjecutaConsultaSQL(QStringLiteral("DELETE V_MV_CTROL_CPTE WHERE ") + CondicionTipo(p.tipo)
                                 + QStringLiteral(" AND SUCURSAL = ") + TextoSQL(p.sucursal)
                                 + QStringLiteral(" AND NUMERO = ") + TextoSQL(p.numero)
                                 + QStringLiteral(" AND LETRA = ") + TextoSQL(p.letra));
    });
}
