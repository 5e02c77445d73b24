#pragma once

#include <QList>
#include <QString>

#include <functional>

// The list lookup's column-width file: one line per table, two quoted fields
// (the table's name and its column widths in twips, each followed by "|").

// CONSULTASLEN.VGR in the application folder.
QString ArchivoAnchos();

// The key a table's widths are kept under: "Stk_ma_articulos" shares the
// line of "VT_MA_ARTICULOS"; any other name is its own key.
QString ClaveAnchos(const QString &tabla);

// The widest column a line may give, in twips (some 70 inches): anything
// wider is a damaged entry, which would only overflow the layout.
inline constexpr float kAnchoMaximo = 100000;

// Hands the widths of the table's line(s) (key compared without regard to
// case, lines in file order) to aplica, column by column from 1 up to
// `columnas`. An entry that is no number, narrower than `minimo` (zero, a
// negative width) or wider than kAnchoMaximo is passed over: its column
// keeps the width it has. A line
// with fewer entries than columns ends the reading at the first column it
// cannot serve; so does any failure, without a message. A missing file gives
// nothing.
void LeeAnchos(const QString &archivo,
               const QString &tabla,
               int columnas,
               float minimo,
               const std::function<void(int columna, float ancho)> &aplica);

// Rewrites the file with every other table's line unchanged and the table's
// own line last. The new text goes to CONSULTASLEN.AUX beside the file, which
// then takes the file's place in one step (`reemplaza`, a rename over the old
// file); a failure raises and leaves the old file as it was.
void GrabaAnchos(const QString &archivo,
                 const QString &tabla,
                 const QList<float> &anchos,
                 const std::function<void(const QString &desde, const QString &hacia)> &reemplaza = {});
