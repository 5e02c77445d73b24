#include "lookup/cantidades_consulta.h"

#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/regional.h"

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

std::optional<CambioCantidad> CantidadIngresada(const QString &respuesta)
{
    if (respuesta.isEmpty())
        return std::nullopt;
    return CambioCantidad{vb::Format(LeeCantidad(respuesta), QStringLiteral("########0.00")), true};
}
