#pragma once

// Reading a field of a recordset's current row, Null taken care of.

#include "platform/ado/ado.h"

#include <QString>

#include <optional>

// A text field as stored; Null and Empty read as "".
QString CampoSinRecortar(ado::Recordset &rs, const QString &nombre);
// The same, trimmed.
QString Campo(ado::Recordset &rs, const QString &nombre);
// A flag field; nothing when it is Null or Empty (callers that count an
// unknown flag as off take value_or(false)).
std::optional<bool> Indicador(ado::Recordset &rs, const QString &nombre);
