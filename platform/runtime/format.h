#pragma once

#include "platform/runtime/currency.h"

#include <QString>

#include <concepts>

class Variant;

// Numbers as text. Number formats round half away from zero; the decimal
// mark and thousands separator of the output follow the regional settings.
namespace vb {

// Digit patterns: "0" a digit always written, "#" a digit written only when
// significant, "." the decimal mark, "," between digit placeholders groups
// thousands. Other characters are copied as they stand. A pattern that ends
// in "." keeps the mark even with no decimals ("0." gives "3.").
// An empty pattern gives the same text as CStr.
QString Format(double value, const QString &pattern);
QString Format(Currency value, const QString &pattern);
// Null and Empty give ""; a text that is a number under the regional
// settings is formatted as that number, any other text comes back unchanged;
// a date takes the date patterns of FormatDate.
QString Format(const Variant &value, const QString &pattern);

// The run time's CStr: up to 15 significant digits, the regional decimal
// mark, exponent form ("1E+15", "1E-05") outside the plain range.
QString CStr(double value);
QString CStr(float value);    // a Single: up to 7 significant digits
QString CStr(Currency value); // up to four decimals, no trailing zeros
QString CStr(bool value);     // "True" / "False", as the suite's files and SQL hold them
template<std::integral T>
QString CStr(T value)
{
    return QString::number(static_cast<long long>(value));
}
// The run time's Str: "." as decimal point, a leading blank for a value that
// is not negative, no zero before the point (" .5").
QString Str(double value);

} // namespace vb
