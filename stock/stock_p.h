#pragma once

// Helpers shared by the stock queries (private to this folder).

#include "database/builders.h"
#include "database/conversions.h"
#include "database/db_dll.h"
#include "platform/ado/ado.h"
#include "platform/component/component.h"

#include <QString>

#include <optional>

namespace stock_p {

// A code as an SQL literal at its fixed width. The filler of an empty list
// element (code 0) and the pipe-list separators never reach a statement.
inline QString CodigoSQL(const QString &codigo, int ancho)
{
    return TextoSQL(gComponente().FormateaCodigo(NormalizaCaracteres(Variant(codigo)), ancho));
}

// A text field of the current row; Null reads as empty.
inline QString Texto(ado::Recordset &rs, const QString &campo)
{
    return gComponente().ValorNoNulo(rs.Fields(campo).Value()).toString();
}

// A number field of the current row; Null reads as 0.
inline double Numero(ado::Recordset &rs, const QString &campo)
{
    return gComponente().ConvierteADouble(gComponente().ValorNoNulo(rs.Fields(campo).Value()));
}

// A flag field of the current row; nothing when it is Null.
inline std::optional<bool> Indicador(ado::Recordset &rs, const QString &campo)
{
    const Variant v = rs.Fields(campo).Value();
    if (v.isNull() || v.isEmpty())
        return std::nullopt;
    return v.toBool();
}

} // namespace stock_p
