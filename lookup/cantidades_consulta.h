#pragma once

#include <QString>

#include <optional>

// The quantity column of the list lookup, kept as text in the list's cells and
// changed with Insert, Delete and Shift+Insert. No widget here: the dialog
// reads the cell, applies one of these and writes the result back.

// Caption of the quantity column; the statement supplies the column.
inline constexpr char16_t kColumnaCantidad[] = u"**Cantidad**";

// A quantity as it is written: the leading-number rule, reading the
// workstation's decimal mark as well as "."; a text without a number is 0.
double LeeCantidad(const QString &texto);

// A cell after a quantity key, and what becomes of the row's check
// (nullopt: it stays as it is).
struct CambioCantidad
{
    QString celda;
    std::optional<bool> marcada;
};

// Insert: one more, with one decimal; the row is checked.
CambioCantidad SumaCantidad(const QString &celda);
// Delete: one less, with one decimal; at zero or less the cell reads "0.00"
// and the row is unchecked.
CambioCantidad RestaCantidad(const QString &celda);
// Shift+Insert, the input box answered: the answer with two decimals (0 when
// it holds no number) and the row checked. The empty answer is Cancel:
// nothing changes (nullopt).
std::optional<CambioCantidad> CantidadIngresada(const QString &respuesta);

// The input box of Shift+Insert.
inline constexpr char16_t kPreguntaCantidad[] = u"Ingrese la Cantidad del Articulo...";
inline constexpr char16_t kTituloCantidad[] = u"Carga de Datos";
