#include "database/campos.h"

#include "platform/component/component.h"
#include "platform/runtime/strings.h"

QString TextoNoNulo(const Variant &valor)
{
    return gComponente().ValorNoNulo(valor).toString();
}

Variant CampoValor(ado::Recordset &rs, const QString &nombre)
{
    return gComponente().ValorNoNulo(rs.Fields(nombre).Value());
}

Variant CampoValor(ado::Recordset &rs, int indice)
{
    return gComponente().ValorNoNulo(rs.Fields(indice).Value());
}

QString CampoSinRecortar(ado::Recordset &rs, const QString &nombre)
{
    return TextoNoNulo(rs.Fields(nombre).Value());
}

QString Campo(ado::Recordset &rs, const QString &nombre)
{
    return vb::Trim(CampoSinRecortar(rs, nombre));
}

bool EsNulo(ado::Recordset &rs, const QString &nombre)
{
    return rs.Fields(nombre).Value().isNull();
}

std::optional<bool> Indicador(ado::Recordset &rs, const QString &nombre)
{
    const Variant v = rs.Fields(nombre).Value();
    if (v.isNull() || v.isEmpty())
        return std::nullopt;
    return v.toBool();
}
