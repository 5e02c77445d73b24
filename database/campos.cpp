#include "database/campos.h"

#include "platform/component/component.h"
#include "platform/runtime/strings.h"

QString CampoSinRecortar(ado::Recordset &rs, const QString &nombre)
{
    return gComponente().ValorNoNulo(rs.Fields(nombre).Value()).toString();
}

QString Campo(ado::Recordset &rs, const QString &nombre)
{
    return vb::Trim(CampoSinRecortar(rs, nombre));
}

std::optional<bool> Indicador(ado::Recordset &rs, const QString &nombre)
{
    const Variant v = rs.Fields(nombre).Value();
    if (v.isNull() || v.isEmpty())
        return std::nullopt;
    return v.toBool();
}
