#pragma once

#include "platform/runtime/variant.h"

#include <QString>

// The id (branch 4, number 8, letter 1) of the next stock voucher of the
// type: the book's next number, or one past the highest id of the type,
// branch and letter when the stock movements already hold it. Branch and
// letter come back as used. Empty when it leaves on an error.
Variant AsignarNumeroComprobante(const QString &TipoComprobante, QString &Sucursal, QString &Letra);
