#pragma once

// Helpers shared by the stock queries (private to this folder).

#include "database/armado_sql.h"
#include "database/campos.h"
#include "database/conversiones.h"
#include "database/db_dll.h"
#include "platform/ado/ado.h"
#include "platform/component/component.h"

#include <QString>

#include <optional>

namespace stock_p {

// A number field of the current row; Null reads as 0.
inline double Numero(ado::Recordset &rs, const QString &campo)
{
    return gComponente().ConvierteADouble(CampoValor(rs, campo));
}

} // namespace stock_p
