#pragma once

#include <QString>

// Stock balances, read from the summary tables the database keeps.

// "Ignorar" as a filter of ObtieneStock (any letter case): no filter for the
// lot, the serial and the position; the configured default deposit; the
// article's own unit.
inline const QString kIgnorar = QStringLiteral("Ignorar");

// The balance of the article in the deposit (all deposits when it is blank)
// and unit, into Stock; with stock kept in units and kilograms, the units of
// the deposit whatever the unit. A blank article leaves Stock untouched, and
// so does leaving on a failure (which goes to the error treatment).
void ControlStock(const QString &IdDeposito, const QString &IdArticulo, const QString &IdUnidad, double &Stock);

// The balance for the given filters. With lot and serial both "Ignorar", the
// per-unit balance of ControlStock, where an "Ignorar" deposit or unit is
// resolved and handed back; otherwise the sum over the lot table of the rows
// matching every given filter (a blank one filters nothing), in the units the
// table keeps. Leaving on a failure gives 0.
double ObtieneStock(const QString &IdArticulo,
                    QString &IdDeposito,
                    const QString &NroLote,
                    const QString &NroSerie,
                    const QString &IdPosicion,
                    QString &IdUnidad);

// The quantity of the article on the voucher not yet moved through stock,
// never below 0. The type is compared as stored, at width 4. Failures are
// raised to the caller.
double CantRepartoPend(const QString &TC, const QString &SucNroLetra, const QString &IdArticulo);

// The stock of the article in the deposit in its base unit (0 for a blank
// article) and, when an equivalent unit is asked for, in that unit (else 0).
// A blank UdBase comes back as the article's own unit when the equivalent is
// computed. Failures of the conversion are raised to the caller.
void ObtieneStockxEquiv(const QString &IdDeposito,
                        const QString &IdArticulo,
                        QString &UdBase,
                        const QString &udEquivBuscada,
                        double &StockUdBase,
                        double &StockEquiv);
