#include "database/conversiones.h"

#include "database/armado_sql.h"
#include "database/configuracion.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/component/component.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/regional.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"

namespace {

// "h:m" or "h": the leading numbers of both parts; decimal hours allowed.
double MinutosDeTexto(const QString &hora)
{
    const qsizetype dosPuntos = hora.indexOf(QLatin1Char(':'));
    if (dosPuntos < 0)
        return vb::Val(hora) * 60;
    return vb::Val(hora.left(dosPuntos)) * 60 + vb::Val(hora.mid(dosPuntos + 1));
}

} // namespace

bool ConvierteBooleano(const QString &texto)
{
    static const QStringList falsos{QStringLiteral("FALSE"),
                                    QStringLiteral("FALSO"),
                                    QStringLiteral("0"),
                                    QStringLiteral("NO"),
                                    QStringLiteral("N")};
    return !falsos.contains(vb::UCase(texto));
}

bool EsNumeroEntero(const QString &texto)
{
    const QString t = vb::Trim(texto);
    // Nine digits at most: every such number fits the columns that take it.
    if (t.isEmpty() || t.size() > 9)
        return false;
    for (QChar ch : t)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    return true;
}

QString MensajeComplementoInvalido(const QString &complemento)
{
    return QStringLiteral("El complemento del comprobante debe ser un número entero: \"%1\"").arg(complemento);
}

QString ObtieneFormatoFechaHora()
{
    return QStringLiteral("dd/mm/yy hh:mm");
}

Variant FmtMoneda(QString Importe, const Variant &Decimales)
{
    Variant resultado;
    int decimales = 0;
    bool sinCambio = false;
    Currency monto;
    QString texto;
    Steps steps = Pasos(QStringLiteral("FmtMoneda"));
    steps([&] {
        decimales = Decimales.toInt();
        sinCambio = decimales == -3;
    });
    if (sinCambio)
        return Variant(Importe);
    steps([&] {
        if (decimales == -1)
            decimales = vb::CInt(vb::Val(gCantidadDecimales));
    });
    steps([&] {
        if (decimales == 0)
            decimales = vb::Regional().currencyDigits;
        if (decimales == -2)
            decimales = 0;
        if (decimales < 0)
            Raise(vberr::InvalidCall);
    });
    steps([&] { monto = gComponente().ConvierteACurrency(Variant(Importe)); });
    steps([&] {
        const QString patron = QStringLiteral("############0.") + QString(decimales, QLatin1Char('0'));
        texto = vb::Format(vb::Round(monto, std::min(decimales, 4)), patron);
    });
    steps([&] {
        if (decimales == 0 && (texto.endsWith(QLatin1Char('.')) || texto.endsWith(QLatin1Char(','))))
            texto.chop(1);
        resultado = Variant(texto);
    });
    return resultado;
}

Variant ConvierteAMinutos(const QString &Hora, const QString &Horas, const QString &Minutos, bool SoloTextoHora)
{
    if (SoloTextoHora)
        return Variant(MinutosDeTexto(Hora));
    if (const auto fecha = vb::ParseDate(Hora))
        return Variant(double(fecha->time().hour() * 60 + fecha->time().minute()));
    if (vb::Trim(Hora).isEmpty()) {
        const double h = vb::Val(Horas);
        const double m = vb::Val(Minutos);
        if (!(h > 0) && !(m > 0))
            return Variant(0.0);
        return Variant(h * 60 + m);
    }
    return Variant(MinutosDeTexto(Hora));
}

Variant FormateaHoras(const Variant &Minutos, std::int32_t &Horas, std::int32_t &MinutosRestantes)
{
    QString separador = vb::Trim(Cfg(QStringLiteral("SeparadorHora")));
    if (separador.isEmpty())
        separador = QStringLiteral(":");
    if (separador != QLatin1String(".")) {
        // Integer division and modulo work on the whole minutes, as the run time's.
        const std::int32_t total = Minutos.toLong();
        Horas = total / 60;
        MinutosRestantes = total % 60;
        return Variant(vb::Format(double(Horas), QStringLiteral("#####00")) + separador
                       + vb::Format(double(MinutosRestantes), QStringLiteral("#####00")));
    }
    const QString horas = vb::Format(Minutos.toDouble() / 60, QStringLiteral("#####.00"));
    return Variant(gComponente().Reemplaza(horas, QStringLiteral(","), QStringLiteral(".")));
}

QString NormalizaCaracteres(const Variant &texto)
{
    if (texto.isNull())
        return QString();
    return vb::Trim(gComponente().QuitaCaracteres(texto.toString(), vb::Chr(0), vb::Chr(255), vb::Chr(10)));
}

std::int16_t BuscaEnArreglo(const QStringList &Arreglo, const QString &texto, std::int16_t Desde)
{
    if (Desde >= Arreglo.size())
        return -1;
    if (Desde < 0)
        Raise(vberr::SubscriptOutOfRange);
    for (qsizetype i = Desde; i < Arreglo.size(); ++i)
        if (vb::EqualsText(Arreglo[i], texto))
            return std::int16_t(i);
    return -1;
}

std::int32_t BuscaEnArregloGlobal(const QString &texto)
{
    if (gTotalesAgrupados.empty())
        Raise(vberr::SubscriptOutOfRange);
    const QString buscado = vb::Trim(texto);
    for (std::size_t i = 0; i < gTotalesAgrupados.size(); ++i) {
        const QString clave = vb::Trim(
            gComponente().QuitaCaracteres(gTotalesAgrupados[i].NombreCampo, vb::Chr(255), vb::Chr(0)));
        if (vb::EqualsText(clave, buscado))
            return std::int32_t(i);
    }
    return -1;
}
