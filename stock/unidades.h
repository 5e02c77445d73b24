#pragma once

#include <QString>

// Units of measure and unit equivalences of articles. A row of S_TA_EQUIV
// (article, IDUNIDAD, IDUNIDAD_EQUIV, Coeficiente) says that a quantity in
// IDUNIDAD times the coefficient is the quantity in IDUNIDAD_EQUIV.

// The article's own unit, trimmed. An article without a row is an error
// raised to the caller.
QString ObtieneUnidadArticulo(const QString &IdArticulo);

// Looks up the equivalence between Unidad (the article's own unit when the
// caller gives the empty text; written back with the unit used) and
// UnidadEquiv. Found as asked, Operador is "/"; found reversed, "*"; not
// found, Operador is left as it was. Coeficiente is 0 unless found.
// SinUnidad is set, and no equivalence is looked up, when neither the caller
// nor the article gives a unit. Failures go to the error treatment; leaving on
// one answers false.
bool IdArticuloTieneEquivalencias(const QString &IdArticulo,
                                  const QString &UnidadEquiv,
                                  QString &Operador,
                                  QString &Unidad,
                                  double &Coeficiente,
                                  bool &SinUnidad);

// A quantity in UnidadDesde expressed in UnidadHasta: 0 stays 0 without a
// lookup, the same unit (any letter case) keeps the quantity, a pair without
// equivalence gives 0. A blank UnidadDesde comes back as the article's own
// unit. Failures, a zero coefficient to divide by among them (error 11), are
// raised to the caller.
double ConvierteAUnidadEquivalente(const QString &IdArticulo,
                                   QString &UnidadDesde,
                                   double Cantidad,
                                   const QString &UnidadHasta);

// The inverse: a quantity given in UnidadEquiv expressed in Unidad.
double ConvierteDesdeUnidadEquivalente(const QString &IdArticulo,
                                       QString &Unidad,
                                       double Cantidad,
                                       const QString &UnidadEquiv);

// The quantity of an article line in one of the units configured for the
// suite (gUnidadBL, gUnidadM3, gUnidadKG): 0 when that unit is blank, even on a
// line without unit; otherwise ConvierteAUnidadEquivalente of the line, a blank
// Unidad meaning the article's own. Failures are raised to the caller.
double CantidadEnUnidadConfigurada(const QString &IdArticulo,
                                   const QString &Unidad,
                                   double Cantidad,
                                   const QString &UnidadConfigurada);
