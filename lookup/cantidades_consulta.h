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
// What the operator typed in the input box of Shift+Insert, as a number: an
// optional sign, digits and at most one decimal mark, a comma or a point
// whatever the workstation's ("1,5" and "1.5" are both one and a half),
// blanks around it allowed. Any other text ("2.5kg", "1.500,5", "muchos")
// is no quantity: nullopt, never the number it begins with.
std::optional<double> CantidadEscrita(const QString &respuesta);
// Shift+Insert answered with a quantity: the cell with two decimals, the row checked.
CambioCantidad CantidadIngresada(double cantidad);
// The message that refuses an answer that is no quantity; the box asks again.
QString AvisoCantidadNoValida(const QString &respuesta);

// The input box of Shift+Insert; a blank answer or Cancel changes nothing.
inline constexpr char16_t kPreguntaCantidad[] = u"Ingrese la Cantidad del Articulo...";
inline constexpr char16_t kTituloCantidad[] = u"Carga de Datos";
inline constexpr char16_t kTituloAvisoCantidad[] = u"Aviso al Operador";
