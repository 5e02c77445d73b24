#include "lookup/cantidades_consulta.h"

#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/regional.h"
#include "platform/runtime/strings.h"

#include <QRegularExpression>

#include <cmath>

double LeeCantidad(const QString &texto)
{
    // Cells are written with the workstation's mark; Val alone knows only ".".
    const QChar marca = vb::Regional().decimalMark;
    if (marca == QLatin1Char('.'))
        return vb::Val(texto);
    return vb::Val(QString(texto).replace(marca, QLatin1Char('.')));
}

CambioCantidad SumaCantidad(const QString &celda)
{
    return {vb::Format(LeeCantidad(celda) + 1, QStringLiteral("########0.0")), true};
}

CambioCantidad RestaCantidad(const QString &celda)
{
    CambioCantidad r{vb::Format(LeeCantidad(celda) - 1, QStringLiteral("########0.0")), std::nullopt};
    if (LeeCantidad(r.celda) <= 0) {
        r.celda = QStringLiteral("0.00");
        r.marcada = false;
    }
    return r;
}

std::optional<double> CantidadEscrita(const QString &respuesta)
{
    static const QRegularExpression numero(QStringLiteral("^[+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)$"));
    QString texto = vb::Trim(respuesta);
    if (!numero.match(texto).hasMatch())
        return std::nullopt;
    texto.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double cantidad = texto.toDouble(&ok);
    if (!ok || !std::isfinite(cantidad))
        return std::nullopt; // more digits than a number holds
    return cantidad;
}

CambioCantidad CantidadIngresada(double cantidad)
{
    return {vb::Format(cantidad, QStringLiteral("########0.00")), true};
}

QString AvisoCantidadNoValida(const QString &respuesta)
{
    return QStringLiteral("La Cantidad ingresada (%1) no es un número.").arg(vb::Trim(respuesta));
}
