#pragma once

#include <QString>

#include <cstdint>

// Stock sign of a voucher type: +1 its lines enter goods, -1 they issue them,
// 0 they leave stock alone; with LibroIVA, its sign in the VAT book. The
// type's row in V_TA_CPTE decides (ES, SIGNO); where it says nothing the
// type's code does. A type without a row is reported and gives 0.
std::int16_t ObtieneSignoComprobante(const QString &TC, bool LibroIVA);
// The same; Leido tells whether the sign came from the type's row (false when
// the type has none or the read failed, and the result is then 0).
std::int16_t ObtieneSignoComprobante(const QString &TC, bool LibroIVA, bool &Leido);

// The kind of stock movement a posting run hands to its accounting entry:
// 5 reception of a purchase order, 4 reception of a transfer, 2 loan,
// 3 distribution-centre remittance, 1 remittance, 0 any other. TcOrigen is
// the origin type's plain code; EnComodato is set once a line in loan was
// posted; Cuenta is the run's account argument.
std::int16_t TipoMovimientoStock(const QString &TC, const QString &TcOrigen, bool EnComodato, const QString &Cuenta);
