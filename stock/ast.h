#pragma once

#include "platform/runtime/variant.h"

#include <QString>

#include <cstdint>

// Voucher numbering: numbering books (rows of V_TA_CPTE), the next number of
// a voucher type, its check against the book and the book's advance, voucher
// letters and journal-entry numbers. Only the user-interface thread calls it.

// The book last chosen or found for a voucher (its TALONARIO); 0 at start.
extern std::int16_t TalonarioActual;

// Chooses the book of the type (the user's business unit first, then any)
// and proposes branch ("0000"), number ("00000000") and letter from it; the
// book's highest number goes to NroHasta. With no book at all: "1", "1", "X".
// A non-empty voucher date skips books expired before that day.
void Obtener_Nro_Comprobante_Contable(const QString &TipoComprobante,
                                      QString &Sucursal,
                                      QString &Numero,
                                      QString &Letra,
                                      bool &ModificaNumero,
                                      const QString &FechaComprobante,
                                      const QString &UNegocio,
                                      QString &NroHasta);

// The book's proposal for the type; with Verifica, moved past numbers the
// journal, trips, purchases or sales already hold (or the number's control
// row is removed). Cuenta is not consulted.
void Obtener_Nro_Comprobante(const QString &TipoComprobante,
                             QString &Sucursal,
                             QString &Numero,
                             QString &Letra,
                             bool &ModificaNumero,
                             bool Verifica,
                             const QString &Cuenta,
                             const QString &UNegocio);

// The voucher type whose numbering the type shares, or "".
QString ObtieneTCEquivalente(const QString &TipoComprobante);

// Whether letter and number fit a book of the type and branch; Mensaje tells
// why not. Sets TalonarioActual to that book (0 when there is none). Letra
// comes back trimmed and upper-case ("X" when empty). Errors reach the caller.
bool ValidaNumeracionComprobante(const QString &TipoComprobante,
                                 const QString &Sucursal,
                                 const QString &Numero,
                                 QString &Letra,
                                 QString &Mensaje,
                                 const QString &FechaComprobante);

// Moves the voucher's book to Numero (the number used plus one): with
// GeneraSentencia the statements go to Sentencia for the caller's own
// transaction, otherwise the book row is written at once. A book never moves
// back. Forzar adds the number's control row whatever the type.
void ActualizaNumeracionComprobante(const QString &TipoComprobante,
                                    const QString &Sistema,
                                    const QString &Sucursal,
                                    const QString &Numero,
                                    QString &Letra,
                                    bool GeneraSentencia,
                                    QString &Sentencia,
                                    bool Forzar);

// "A", "B" or "C" from the VAT conditions of issuer and customer.
QString ObtieneLetraComprobante(const QString &CondicionIvaEmisor, const QString &CondicionIvaCliente);

// Whether the journal holds an entry of the voucher (and account, when one
// is given); Asiento then reads "mm - nnnnnn". Errors reach the caller.
bool ExisteAsientoComprobante(const QString &TipoComprobante,
                              const QString &Sucursal,
                              const QString &Numero,
                              const QString &Letra,
                              QString &Asiento,
                              const QString &Cuenta);

// The sub-journal (register type) of the voucher type; four blanks when it has none.
QString ObtieneTipoRegCont(const QString &TipoComprobante);

// The next journal-entry number of the month, period and register type (an
// absent or blank register type selects the entries without one). A month or
// period that holds no number is error 5, raised before anything is read.
std::int32_t ValidaTCRegistraciones(const Variant &MesOperativo,
                                    const Variant &Periodo,
                                    const Variant &TipoRegistro = Variant());
