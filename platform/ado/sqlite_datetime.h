#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

// How the embedded engine stores a date-time, and the texts that name one.
//
// The stored form: text, "YYYY-MM-DD HH:MM:SS" (19 bytes), or
// "YYYY-MM-DD HH:MM:SS.mmm" (23 bytes) when the milliseconds are not zero,
// the milliseconds at the server's steps of 1/300 s (.000, .003, .007, ...,
// .997; .999 is the next second). Every digit in its place, zero-padded; the
// year 1753 to 9999. Compared as bytes, stored values sort in time order.
//
// Files written before may also hold a bare day "YYYY-MM-DD" (midnight of
// that day). It reads, compares and sorts as the same instant as the stored
// form; nothing writes it any more.
namespace ado::sqlite_datetime {

inline constexpr int kStoredLength = 19;
inline constexpr int kStoredLengthWithMilliseconds = 23;
inline constexpr int kOldDayLength = 10;

// The collation of a date-time compared with a date-time: the bare day
// equal to its midnight.
inline constexpr const char *kDateCollation = "SQLDATE";

// What a text written where a date-time goes comes to.
enum class Reading {
    Date,        // `stored` holds it
    NotADate,    // the server: 241, conversion failed (22007)
    OutOfRange,  // the server: 242, out-of-range value (22008)
    Unsupported, // a form the server reads by its settings or language: refused here
};

// A text as a server set to day/month/year reads it for a datetime:
// yyyymmdd, dd/mm/yyyy, dd-mm-yyyy, dd.mm.yyyy (two-digit years 00-49 in
// 2000, 50-99 in 1900), ISO yyyy-mm-dd (year, month, day) and
// yyyy-mm-ddThh:mm:ss, each optionally with hh:mm[:ss[.mmm]]; a time alone
// is on 1900-01-01, an empty text is 1900-01-01.
Reading fromText(QStringView text, QString &stored);

// `d` in the stored form; empty when it is no valid date-time.
QString fromDateTime(const QDateTime &d);

// A stored value (any form above) as a date-time; invalid when it is none.
QDateTime toDateTime(const char *p, int n);

// The stored form of a value for comparing: the canonical bytes, into
// `out`, and their length; 0 when the value is no date-time.
int comparable(const char *p, int n, char (&out)[kStoredLengthWithMilliseconds]);

// The server's error for a text that is no date-time (NotADate) or out of
// range: its words, SQL state and number.
struct Conversion
{
    QString message;
    QString sqlState;
    int nativeError = 0;
};
Conversion conversionError(Reading r);

// Whether `message` is the words of such an error, as the engine hands
// them back from the conversion function; which one into `r`.
bool isConversionError(const QString &message, Reading &r);

} // namespace ado::sqlite_datetime
