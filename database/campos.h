#pragma once

// Reading a field of a recordset's current row, Null taken care of.

#include "platform/ado/ado.h"
#include "platform/runtime/variant.h"

#include <QString>

#include <optional>

// A value as text; Null and Empty read as "".
QString TextoNoNulo(const Variant &valor);

// A field's value; Null and Empty read as the empty text, anything else as
// it is (numbers and dates keep their type).
Variant CampoValor(ado::Recordset &rs, const QString &nombre);
Variant CampoValor(ado::Recordset &rs, int indice);
// A text field as stored; Null and Empty read as "".
QString CampoSinRecortar(ado::Recordset &rs, const QString &nombre);
// The same, trimmed.
QString Campo(ado::Recordset &rs, const QString &nombre);
// Whether a field is Null (Empty is not).
bool EsNulo(ado::Recordset &rs, const QString &nombre);
// A flag field; nothing when it is Null or Empty (callers that count an
// unknown flag as off take value_or(false)).
std::optional<bool> Indicador(ado::Recordset &rs, const QString &nombre);
