#pragma once

// One stock movement of a voucher line: a row of V_MV_STOCK. The posting run
// works out where each movement goes, its lot, serial and quantity; this file
// turns that, the grid line and the run's header values into the row's
// columns and their SQL literals. It touches no window.

#include "stock/lotes_insumos.h"

#include <QString>

#include <cstdint>

namespace ui {
class FlexGrid;
}

// The run's header values and arguments, as the rows read them. The five
// header values are SQL literals (or NULL) once the run has prepared them,
// or the sentinel kElDelGrid with its flag set.
struct EncabezadoStock
{
    QString TC;
    QString SucNroLetra;
    QString IdComplemento; // written as the caller gives it
    QString Fecha;         // as the caller formats it for SQL
    QString IdDeposito;
    QString IdDepositoDestino;
    QString IdMotivoStock;
    QString TcOrigen;
    QString ComprobanteOrigen;
    bool MotivoDeGrilla = false;
    bool TcOrigenDeGrilla = false;
    bool ComprobanteOrigenDeGrilla = false;
    bool EsTransferencia = false;
    QString Cuenta; // "PorDefault": each article's supplier account
    QString IdTecnico;
    QString Aduana;
    QString LoteOrigen;
    std::int16_t SignoRemota = 0;
    QString IdVendedor;
    bool EsCompras = false; // the type's system is COMPRAS: no IdComplemento
    double PIVA = 0;        // the default VAT rate
    bool ConfirmaUDEquiv = false;
    QString DepositoDefault; // SQL literal of the configured default deposit
};

// One movement: the line it comes from and what it moves.
struct MovimientoStock
{
    int Fila = 0;
    std::int16_t Signo = 0;
    std::int16_t Secuencia = 0;
    QString Deposito;        // SQL literal
    QString DepositoDestino; // SQL literal for IDDEPOSITO_DESTINO (transfers)
    QString Lote;            // fixed-width code, or empty
    QString Serie;
    double Cantidad = 0; // before the sign
};

// A flag cell: on unless its trimmed text reads as false ("0", "NO", ...);
// an empty cell is on.
bool MarcaDeCelda(const ui::FlexGrid &grilla, int fila, int columna);

// The SQL literal of a deposit that a row would get: a literal stays; the
// sentinel becomes the line's own deposit, else the configured default.
QString DepositoResuelto(const ui::FlexGrid &grilla, int fila, const QString &deposito, const EncabezadoStock &enc);

// Where a line's first-pass movements go: the header's deposit when the
// caller imposed the entry sign 1, else the line's own deposit, else the
// header's.
QString DepositoDeLinea(const ui::FlexGrid &grilla, int fila, const EncabezadoStock &enc);

// What decides how much one movement of a line moves.
struct MovimientoDeLinea
{
    std::int16_t signo = 0;
    bool talle = false;
    QString lote = {};
    QString serie = {};
    double entrada = 0;        // the movement's own quantity
    double linea = 0;          // the line's
    std::int32_t entradas = 0; // how many stock rows the line stands for
    bool reparto = false;      // entrada is the movement's share of the line
};

// How much a movement moves, before its sign.
double CantidadMovimiento(const MovimientoDeLinea &m);

// What one movement of a line takes from its lists: the items at its place
// in the lot list and in the serial (or quantity) list, and the line's flags.
struct ItemsDeEntrada
{
    std::int16_t Signo = 0;
    bool Talle = false;
    bool Serie = false;
    bool Transferencia = false;
    bool Perecedero = false; // one lot for the whole line: the lot cell itself
    QString Lotes = {};      // the lot cell as it stands
    QString ItemLote = {};
    QString ItemSerie = {};
    QString LoteFijo = {}; // the caller's lot for an entry that names none
    double Cantidad = 0;   // the line's quantity, kept when no item gives one
};

// The lot, serial and quantity one movement gets. A key "lot CHR(255)
// serial" splits in two; with sizes or on an issue the quantity is the
// item of the second list (DeLaLista).
struct EntradaElegida
{
    QString Lote; // fixed width, or empty
    QString Serie;
    double Cantidad = 0;
    bool DeLaLista = false;
};
EntradaElegida EligeEntrada(const ItemsDeEntrada &items);

// Fills gCamposValores with the movement's columns, in the statement's order.
// It writes back into the grid the unit of equivalence (fixed width), an empty
// weighed flag as "0" and an empty coefficient as "1"; with the grid flags
// the line's motive and origin go back into the header values. HayComodato
// is set once a line in loan is posted.
void ArmaMovimientoStock(ui::FlexGrid &grilla, EncabezadoStock &enc, const MovimientoStock &mov, bool &HayComodato);

// "INSERT INTO V_MV_STOCK" and the columns that gCamposValores holds, which
// it empties.
QString InsertStock();

// The supplier account a row carries: the argument, or the article's own for
// "PorDefault" ("NULL" when it has none).
QString CuentaDeFila(const QString &Cuenta, const QString &IdArticulo);
