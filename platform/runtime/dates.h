#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

// Dates as the run time handles them, under the regional settings (day,
// month, year). Dates are local QDateTime values; a time alone stands on the
// run time's day zero, 30/12/1899.
namespace vb {

QDate DayZero(); // 30/12/1899

// Recognises d/m/yyyy, d/m/yy, d/m (this year), d-m-yyyy, yyyy-mm-dd, each
// with an optional time h:mm[:ss] [AM|PM], or a time alone. Two-digit years
// 00-29 are 2000-2029, 30-99 are 1930-1999. The day-month order is never
// swapped: 12/25/2020 is no date.
std::optional<QDateTime> ParseDate(const QString &s);
bool IsDate(const QString &s);
QDateTime CDate(const QString &s);     // error 13 when no date
QDateTime DateValue(const QString &s); // the date part only; error 13 when no date
QDateTime TimeValue(const QString &s); // the time part on day zero; error 13

// The run time's serial number of a date: days since day zero, the time as
// the fraction (before day zero the fraction still counts forward).
double ToSerial(const QDateTime &d);
QDateTime FromSerial(double serial); // error 6 outside years 100..9999

// The general date text: "dd/mm/yyyy" at midnight, "hh:mm:ss" for a time on
// day zero, otherwise "dd/mm/yyyy hh:mm:ss" (24-hour), with the regional
// date separator.
QString GeneralDate(const QDateTime &d);

// The run time's date patterns: d dd ddd dddd, m mm mmm mmmm (minutes
// when right after an hour or before a second), yy yyyy, h hh, n nn, s ss,
// AM/PM; "/" is the regional date separator and ":" the time separator;
// other characters are copied. Month and day names are Spanish.
QString FormatDate(const QDateTime &d, const QString &pattern);

// The fixed forms the error log and the voucher trail use.
QString ErrorLogDate(const QDateTime &d);  // "mm-dd-yyyy"
QString ErrorLogTime(const QDateTime &d);  // "hh:mm:ss"
QString ShortDateTime(const QDateTime &d); // "dd/mm/yy hh:mm"

// The clock: whole seconds, as the run time's; tests fix it.
QDateTime Now();
QDateTime Date();                                // today at midnight
QDateTime Time();                                // the time of day on day zero
void SetClock(std::function<QDateTime()> clock); // empty: the system clock
void FixClock(const QDateTime &at);

QDateTime DateSerial(int year, int month, int day); // error 5 when no date
QDateTime DateAdd(const QDateTime &d, int days);

} // namespace vb
