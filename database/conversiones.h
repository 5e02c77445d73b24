#pragma once

#include "platform/runtime/variant.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// A switch text as a Boolean: False only for "FALSE", "FALSO", "0", "NO" and
// "N" (any case, untrimmed); True otherwise, the empty text included.
bool ConvierteBooleano(const QString &texto);

// A whole number written as digits only, blanks around it allowed ("0",
// " 2 "); no sign, point or other text. What a voucher's complement and a
// book's number must be before they go into a statement.
bool EsNumeroEntero(const QString &texto);
// What refuses a complement that is not one.
QString MensajeComplementoInvalido(const QString &complemento);

// The date-time pattern of the voucher trail and the numbering routines.
QString ObtieneFormatoFechaHora();

// An amount as money text. Decimales: -3 the text unchanged, -1 the
// configured CantidadDecimales, 0 the local currency's digits, -2 none,
// n that many. Failures go to TratamientoErrores ("FmtMoneda"); leaving on
// one gives Empty.
Variant FmtMoneda(QString Importe, const Variant &Decimales);

// Hours and minutes as a number of minutes (a Double, not rounded). With
// SoloTextoHora the time is "h[:m]" (decimal hours allowed); otherwise a
// valid time gives its hour and minute, a blank time reads Horas and Minutos.
Variant ConvierteAMinutos(const QString &Hora, const QString &Horas, const QString &Minutos, bool SoloTextoHora);

// Minutes as hours text with the configured SeparadorHora (":" when blank):
// "hh<sep>mm", giving the hours and remaining minutes back; with "." the
// decimal hours "#####.00" and the out arguments untouched.
Variant FormateaHoras(const Variant &Minutos, std::int32_t &Horas, std::int32_t &MinutosRestantes);

// The text without Chr(0), Chr(255) and line feeds, trimmed. Null gives "".
QString NormalizaCaracteres(const Variant &texto);

// First index from Desde on whose element equals the text (case ignored, not
// trimmed); -1 when none or when Desde lies beyond the last element.
std::int16_t BuscaEnArreglo(const QStringList &Arreglo, const QString &texto, std::int16_t Desde);

// First index of gTotalesAgrupados whose cleaned, trimmed group key equals the
// trimmed text (case ignored); -1 when none. A list never sized is error 9.
std::int32_t BuscaEnArregloGlobal(const QString &texto);
