#pragma once

#include "platform/runtime/currency.h"

#include <QString>

#include <cstdint>
#include <optional>

// Numbers read from texts and whole-number conversions as the run time makes them.
namespace vb {

// The leading-number rule: blanks, tabs and line feeds are skipped wherever
// they stand; sign, digits, "." as decimal point, an E or D exponent; &H and
// &O (or & alone) give hexadecimal and octal numbers with 16-bit or 32-bit
// wrap-around as the run time; reading stops at the first character that
// cannot continue the number. A text without a number gives 0. A number too
// large for a Double raises error 6.
double Val(const QString &s);

// Text as a number under the regional settings (decimal mark, thousands
// separator), surrounded by blanks allowed; nullopt when it is no number.
std::optional<double> ParseNumber(const QString &s);
bool IsNumeric(const QString &s);

// Rounding: half to even, as the run time's whole-number conversions and Round.
std::int16_t CInt(double d);         // error 6 outside -32768..32767
std::int32_t CLng(double d);         // error 6 outside the 32-bit range
std::int16_t CInt(const QString &s); // text under the regional settings, error 13 otherwise
std::int32_t CLng(const QString &s);
double Round(double d, int decimals = 0); // decimals < 0 is error 5
Currency Round(Currency c, int decimals = 0);
double Fix(double d); // towards zero
double Int(double d); // towards minus infinity

double CDbl(const QString &s);   // error 13 when not a number
Currency CCur(const QString &s); // error 13 when not a number, 6 when out of range
Currency CCur(double d);

} // namespace vb
