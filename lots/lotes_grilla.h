#pragma once

#include "platform/runtime/currency.h"

#include <QString>

namespace ui {
class FlexGrid;
}

// What the lot dialogs do on their grid's texts, with no window: quantities
// read, summed and written back, the lists a column gives, and the proposal
// of how a requested quantity is taken from the stock rows. Row 0 holds the
// titles; the data rows follow.
namespace LotesGrilla {

// The one text of a quantity in cells, lists and messages: "." as decimal
// point whatever the regional mark, no grouping, at most 15 significant
// digits, so that the leading-number rule and the component's conversions
// read back the same value.
QString TextoCantidad(double cantidad);
QString TextoCantidad(Currency cantidad);

// A cell as a quantity: by the leading-number rule ("." as decimal point,
// anything else 0), or through the component's conversion (either mark).
Currency ValorInicial(const QString &texto);
Currency Cantidad(const QString &texto);

// The sum of a column over the data rows, leaving out row MenosCual (-1: none).
Currency SumaColumna(const ui::FlexGrid &grilla, int col, int MenosCual);

// The list of a column: one item per data row, the trimmed cell or "-" for a
// blank one, so that item k stays row k. A column with no value at all gives
// the empty text. "|" and CHR(255) never reach an item.
QString ListaDeColumna(const ui::FlexGrid &grilla, int col);

// The stock key of a row: trimmed lot (column 0), CHR(255), trimmed serial
// (column 1).
QString ClaveDeFila(const ui::FlexGrid &grilla, int fila);
// The keys of every data row as a list (the empty text for no rows).
QString ListaDeClaves(const ui::FlexGrid &grilla);

// The requested quantity over the stock (column 2) into the taken column 3,
// rows in order: each row up to its stock, the row where the rest fits takes
// it; a row with no stock left takes 0. A grid of one data row takes the
// whole quantity, whatever its stock.
void Distribuye(ui::FlexGrid &grilla, Currency cantidad);
// Column 3 from the stock in row order, until the quantity is covered; a row
// without stock takes the whole rest.
void CompletaCantidades(ui::FlexGrid &grilla, Currency cantidad);

} // namespace LotesGrilla
