#pragma once

#include "platform/ado/ado.h"

#include <QString>

// Finds an article from what was typed or scanned: its code or one of its bar
// codes (main, shipping unit, alternatives 1 to 4), each compared at width 25.
// The found row stays in Rs for the caller (who closes it). A row found by a
// shipping-unit or alternative bar code carries that bar code's unit as its
// first IDUNIDAD column. A code of 6 characters or fewer is never a bar code
// (PorCodigoBarra is then set to False). On a find Codigo becomes the article's
// IdArticulo (after a bar-code find; see the body for the exact rule) and
// Descripcion its description.
bool BuscaArticuloPorCodigo(
    QString &Codigo, ado::Recordset &Rs, bool SoloLectura, bool &PorCodigoBarra, QString &Descripcion);
