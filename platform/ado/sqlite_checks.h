#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// What the server checks of a value written into a column, as the embedded
// engine checks it, and the server's words when it refuses one.
namespace ado {

// The error families of values the server refuses: no value of the
// column's type (a text that names no date), or out of its range.
constexpr std::int32_t DB_E_CANTCONVERTVALUE = std::int32_t(0x80040E07);
constexpr std::int32_t DB_E_DATAOVERFLOW = std::int32_t(0x80040E57);

namespace sqlite_checks {

struct Limit
{
    enum class Kind : char { None, Text, Integer, Money };
    Kind kind = Kind::None;
    int length = 0;                  // Text: characters, blanks at the end not counted
    double minimum = 0, maximum = 0; // Integer, Money: the smallest and largest it holds
    int scale = 0;                   // Money: the decimals it keeps
    bool operator==(const Limit &) const = default;
};

// The limit of a declared type: char/varchar(n), int, smallint, tinyint,
// money, smallmoney, decimal/numeric(p,s); None for any other.
Limit limitOf(const QString &declared);

// Whether a text, a number fits.
bool fits(QStringView text, const Limit &limit);
bool fits(double number, const Limit &limit);
// A value as the column keeps it: a text that fits without its blanks
// beyond the length (the server cuts those silently), an amount rounded to
// its decimals.
QStringView kept(QStringView text, const Limit &limit);
double kept(double number, const Limit &limit);

struct Refusal
{
    QString message;
    std::int32_t number = 0;
    QString sqlState;
    int nativeError = 0;
};

// A text longer than its column (8152); a number out of its column's range (8115).
Refusal truncated();
Refusal overflow(const Limit &limit);
// A text added to or compared with a number that is no number (245).
Refusal notANumber(const QString &text);

// The refusal, of these or of a date conversion, whose words the engine
// handed back from a check; none for any other message.
std::optional<Refusal> refusalOf(const QString &message);

} // namespace sqlite_checks
} // namespace ado
