#pragma once

// The accounting entry of a stock movement, in the parts that the member
// GeneraAsientoStock puts together: which motive and side the voucher takes,
// what each stock account carries, and the journal rows.

#include "platform/runtime/currency.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace ui {
class FlexGrid;
}

// The motive and side an entry takes, by the kind of movement and the type.
struct MotivoAsiento
{
    bool Asienta = false;     // false: the voucher takes no entry here
    bool PorSigno = false;    // the side follows the type's sign
    bool EsDebito = false;    // the motive's side otherwise
    QString ClaveMotivo;      // the configuration key of the motive; empty keeps the caller's
    bool ValorSinIVA = false; // the lines are worth their price without VAT, not their cost
};

// TipoMov 1 to 5 are the kinds of movement that name their motive, 99 the
// cost of a sale; any other lets the type decide. On the differences grid
// the side of a named motive turns and the caller's motive stays.
MotivoAsiento EligeMotivoAsiento(std::int16_t tipoMov, const QString &tc, bool grillaDif);

// The side the choice gives (the type's sign when it says so) and the
// configured motive it names; false when the voucher takes no entry.
bool AplicaMotivoAsiento(const MotivoAsiento &eleccion, const QString &tc, bool &esDebito, QString &motivo);

// The motive's account and description; false when it has no account. The
// cost of a sale reads the sales motive's cost of goods.
bool CuentaDelMotivo(const QString &motivo, bool costoDeVenta, QString &cuenta, QString &detalle);

// What an article of the voucher is worth, its lines summed.
struct ImporteArticulo
{
    QString Articulo; // at width 25
    Currency Importe;
};

// The articles of one grid line (fila > 0) or of every line, each with what
// its lines are worth at the column given. The inputs of a production order
// leave stock as what it makes enters: they count negative.
std::vector<ImporteArticulo> ImportesDeArticulos(const ui::FlexGrid &grilla,
                                                 std::int32_t fila,
                                                 int columnaValor,
                                                 bool produccion);

// A stock account and what it carries.
struct CuentaStock
{
    QString Cuenta;
    Currency Suma;
};

// The stock accounts of the articles, in the database's order, each with
// what its articles are worth.
std::vector<CuentaStock> CuentasDeArticulos(const std::vector<ImporteArticulo> &articulos);

// One journal row.
struct RenglonAsiento
{
    QString Cuenta;
    double Importe = 0;
    bool Debe = false;
    std::int16_t Secuencia = 0;
};

// What the accounts carry together: the motive's amount, with its sign.
double TotalDeCuentas(const std::vector<CuentaStock> &cuentas);

struct RenglonesAsiento
{
    double Total = 0; // what the motive carries, with its sign
    std::vector<RenglonAsiento> Renglones;
};

// The motive's row against one row per stock account. A negative amount
// goes, as its absolute value, to the other side; a row of nothing is left
// out but keeps its sequence number, taken from `secuencia` onwards, which
// ends past the last (error 6 past 32,767).
RenglonesAsiento ArmaRenglonesAsiento(const QString &cuentaMotivo,
                                      const std::vector<CuentaStock> &cuentas,
                                      bool esDebito,
                                      std::int16_t &secuencia);

// What every row of one entry repeats.
struct CabeceraAsiento
{
    QString TC; // at width 4
    QString Suc;
    QString Nro;
    QString Letra;
    QString Fecha;
    QString Mes;
    QString Periodo;
    QString TipoReg;
    std::int16_t Numero = 0;
    QString Detalle;
    QString CuentaMotivo;
    QString NombreMotivo;
    double Total = 0;
    bool CostoDeVenta = false; // the rows name the voucher they come from
    QString TcOrigen;
    QString CpteOrigen;
};

// Appends to `texto` the statements that write the rows, each after "\r\n".
// A per-line call adds to the rows the voucher's entry already has on the
// same account and side, and numbers its new rows after the entry's highest
// sequence.
void SentenciasAsiento(const CabeceraAsiento &cab,
                       const std::vector<RenglonAsiento> &renglones,
                       bool porLinea,
                       QString &texto);
