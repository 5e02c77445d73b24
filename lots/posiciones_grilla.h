#pragma once

#include "platform/runtime/currency.h"

#include <QString>

#include <functional>

namespace ui {
class FlexGrid;
}

// The grid of the position and lot dialog, with no window: one row per
// position (and lot) holding a positive balance of the article in the
// deposit, the balance in the line's unit, and a last row for the deposit's
// balance outside positions; the quantities of an earlier visit put back, the
// proposal that spreads the requested quantity, and the sum of the rows.
namespace PosicionesGrilla {

// Columns.
constexpr int kPosicion = 0;
constexpr int kLote = 1;
constexpr int kUnidad = 2;
constexpr int kDisponible = 3;
constexpr int kCantidad = 4;

// What the grid reads of its dialog.
struct Datos
{
    QString Deposito;
    QString IUNIDAD;
    QString Articulo;
    double Cantidad1 = 0;
    bool EsPosicion = false;
    bool EsPosicionYLote = false;
    bool EsConsultaDePosicionLote = false;
    QString PosicionesAnteriores;
    QString LotesAnteriores;
};

// The width of a text in the dialog's font, in twips.
using AnchoTexto = std::function<int(const QString &)>;

// A quantity as cell text: "." as decimal point whatever the regional mark, no
// grouping or exponent, so that the leading-number rule and the component's
// conversion read back the same value.
QString TextoCantidad(Currency cantidad);
QString TextoCantidad(double cantidad);
// A cell by the leading-number rule (a text without a number is 0).
Currency ValorInicial(const QString &texto);

// Lays the grid out for the mode: titles, only the title row, columns 0 and 1
// centred; column 1 hidden in the positions-only mode.
void InicializaGrid(ui::FlexGrid &grilla, const Datos &datos);

// Fills the grid for the mode: the balances, the deposit row, then the earlier
// quantities or the proposal. A failure ends the filling where it happened.
// Returns whether the deposit row was added.
bool VerificaAnteriores(ui::FlexGrid &grilla, const Datos &datos, const AnchoTexto &ancho);

// The requested quantity over the rows' DISPONIBLE, in row order; a grid of one
// row takes it whole. No row is given less than 0.
void DistribuyeCantidadSolicitada(ui::FlexGrid &grilla, Currency cantidad);

// The sum of CANT. over the data rows but MenosCual (-1: none). Failures go to
// the error treatment ("SumaFilas#"); leaving on one gives 0.
Currency SumaFilas(const ui::FlexGrid &grilla, int MenosCual);

} // namespace PosicionesGrilla
