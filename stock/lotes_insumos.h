#pragma once

#include "platform/runtime/fixed_string.h"

#include <QString>

#include <vector>

// A lot and the quantity taken from it, or a component of an article with its
// unit and its quantity per unit of the article. A new record is an empty
// one: both texts filled with the character of code 0, quantity 0. A record
// whose texts are blanks is a quantity without lot.
struct TipoArticuloCantidad
{
    vb::FixedString<25> Codigo;
    vb::FixedString<4> Unidad;
    double Cantidad = 0;
};

// The deposit that each grid line gives (any letter case): no lot is looked up.
inline const QString kElDelGrid = QStringLiteral("ELDELGRID");

// The lots of the article in the deposit (a plain code or an SQL literal such
// as '   1') that an issue of Cantidad takes, in lot-number order: Lotes
// becomes exactly the records to post, each lot with what it gives, the last
// lot only what was still missing, and a record without lot for what the lots
// do not cover. True when the deposit holds a lot of the article; with none,
// false and one record without lot for the whole quantity. A quantity of 0
// takes nothing; a negative one is put on the first lot. "ELDELGRID" answers
// false and leaves Lotes as it was. Failures go to the error treatment;
// leaving on one keeps the list as far as it was filled.
bool ArticuloTieneLotes(const QString &IdArticulo,
                        const QString &IdDeposito,
                        std::vector<TipoArticuloCantidad> &Lotes,
                        double Cantidad);

// Whether the article has components. Unless SoloVerifica is set, Insumos
// holds one record per component (code, unit, quantity per unit) followed by
// one empty record; otherwise, and when there is none, just the empty record.
// Failures go to the error treatment; leaving on one keeps the list as far as
// it was filled.
bool IdArticuloTieneInsumos(const QString &IdArticulo, std::vector<TipoArticuloCantidad> &Insumos, bool SoloVerifica);
