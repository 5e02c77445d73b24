#include "platform/runtime/numbers.h"

#include "platform/runtime/regional.h"
#include "platform/runtime/vberror.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vb {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// &H / &O numbers: 16-bit when the digits fit in 16 bits, else 32-bit, both
// read as signed (so &HFFFF is -1); a trailing "&" forces 32 bits.
// pos stands after the "&". Returns nullopt when no prefix is there.
std::optional<double> radixNumber(const QString &s, qsizetype pos)
{
    int base = 8;
    if (pos < s.size() && (s.at(pos) == QLatin1Char('H') || s.at(pos) == QLatin1Char('h'))) {
        base = 16;
        ++pos;
    } else if (pos < s.size() && (s.at(pos) == QLatin1Char('O') || s.at(pos) == QLatin1Char('o'))) {
        ++pos;
    } else if (!(pos < s.size() && s.at(pos) >= QLatin1Char('0') && s.at(pos) <= QLatin1Char('7'))) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    bool any = false;
    for (; pos < s.size(); ++pos) {
        const int d = hexDigit(s.at(pos));
        if (d < 0 || d >= base)
            break;
        value = value * std::uint64_t(base) + std::uint64_t(d);
        if (value > 0xFFFFFFFFull)
            Raise(vberr::Overflow);
        any = true;
    }
    if (!any)
        return 0.0;
    const bool forceLong = pos < s.size() && s.at(pos) == QLatin1Char('&');
    if (!forceLong && value <= 0xFFFFull)
        return double(std::int16_t(std::uint16_t(value)));
    return double(std::int32_t(std::uint32_t(value)));
}

// A decimal number in plain form: sign, digits, ".", digits, exponent.
struct Decimal
{
    bool negative = false;
    std::string intDigits;
    std::string fracDigits;
    long exponent = 0;
    bool hasExponent = false;

    bool empty() const { return intDigits.empty() && fracDigits.empty(); }

    double toDouble() const
    {
        std::string text = (intDigits.empty() ? std::string("0") : intDigits);
        if (!fracDigits.empty())
            text += '.' + fracDigits;
        if (hasExponent)
            text += 'e' + std::to_string(exponent);
        double d = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), d);
        if (r.ec == std::errc::result_out_of_range) {
            // Too large overflows; too small is zero.
            const std::size_t lead = intDigits.find_first_not_of('0');
            const long magnitude = exponent + (lead == std::string::npos ? 0 : long(intDigits.size() - lead));
            if (magnitude > 0)
                return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
            d = 0;
        }
        return negative ? -d : d + 0.0;
    }
};

// Reads an exponent "E+12" / "D-3" at pos; leaves pos unchanged when the
// exponent letter is not followed by digits.
void readExponent(const QString &s, qsizetype &pos, Decimal &out)
{
    if (pos >= s.size())
        return;
    const QChar e = s.at(pos).toUpper();
    if (e != QLatin1Char('E') && e != QLatin1Char('D'))
        return;
    qsizetype p = pos + 1;
    bool negative = false;
    if (p < s.size() && (s.at(p) == QLatin1Char('+') || s.at(p) == QLatin1Char('-'))) {
        negative = s.at(p) == QLatin1Char('-');
        ++p;
    }
    if (p >= s.size() || !isDigit(s.at(p)))
        return;
    long value = 0;
    for (; p < s.size() && isDigit(s.at(p)); ++p)
        value = std::min(value * 10 + (s.at(p).unicode() - '0'), 100000L);
    out.exponent = negative ? -value : value;
    out.hasExponent = true;
    pos = p;
}

// Text under the regional settings: blanks and tabs around, sign, digits
// with thousands separators, the decimal mark, exponent. Nothing may follow.
std::optional<Decimal> regionalDecimal(const QString &text)
{
    const RegionalSettings &r = Regional();
    QString s = text;
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    qsizetype b = 0, e = s.size();
    while (b < e && blank(s.at(b)))
        ++b;
    while (e > b && blank(s.at(e - 1)))
        --e;
    s = s.mid(b, e - b);
    Decimal d;
    qsizetype pos = 0;
    if (pos < s.size() && (s.at(pos) == QLatin1Char('+') || s.at(pos) == QLatin1Char('-'))) {
        d.negative = s.at(pos) == QLatin1Char('-');
        ++pos;
    }
    for (; pos < s.size(); ++pos) {
        const QChar c = s.at(pos);
        if (isDigit(c))
            d.intDigits += char(c.unicode());
        else if (c == r.thousandsSeparator && !d.intDigits.empty())
            continue;
        else
            break;
    }
    if (pos < s.size() && s.at(pos) == r.decimalMark) {
        for (++pos; pos < s.size() && isDigit(s.at(pos)); ++pos)
            d.fracDigits += char(s.at(pos).unicode());
    }
    if (d.empty())
        return std::nullopt;
    readExponent(s, pos, d);
    if (pos != s.size())
        return std::nullopt;
    return d;
}

std::optional<double> regionalNumber(const QString &s)
{
    const QString t = s.trimmed();
    if (t.startsWith(QLatin1Char('&'))) {
        // A radix number must be the whole text (an optional "&" suffix aside).
        qsizetype end = 1;
        if (end < t.size() && (t.at(end).toUpper() == QLatin1Char('H') || t.at(end).toUpper() == QLatin1Char('O')))
            ++end;
        const int base = t.size() > 1 && t.at(1).toUpper() == QLatin1Char('H') ? 16 : 8;
        const qsizetype digitsFrom = end;
        while (end < t.size() && hexDigit(t.at(end)) >= 0 && hexDigit(t.at(end)) < base)
            ++end;
        if (end == digitsFrom)
            return std::nullopt;
        if (end < t.size() && t.at(end) == QLatin1Char('&'))
            ++end;
        if (end != t.size())
            return std::nullopt;
        return radixNumber(t, 1);
    }
    const auto d = regionalDecimal(s);
    if (!d)
        return std::nullopt;
    return d->toDouble();
}

double checkedWhole(double d, double lo, double hi)
{
    const double r = std::nearbyint(d);
    if (!(r >= lo && r <= hi))
        Raise(vberr::Overflow);
    return r;
}

double requireNumber(const QString &s)
{
    const auto d = regionalNumber(s);
    if (!d)
        Raise(vberr::TypeMismatch);
    if (!std::isfinite(*d))
        Raise(vberr::Overflow);
    return *d;
}

} // namespace

double Val(const QString &text)
{
    QString s;
    s.reserve(text.size());
    for (const QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            s += c;
    if (s.startsWith(QLatin1Char('&'))) {
        const auto r = radixNumber(s, 1);
        return r ? *r : 0.0;
    }
    Decimal d;
    qsizetype pos = 0;
    if (pos < s.size() && (s.at(pos) == QLatin1Char('+') || s.at(pos) == QLatin1Char('-'))) {
        d.negative = s.at(pos) == QLatin1Char('-');
        ++pos;
    }
    for (; pos < s.size() && isDigit(s.at(pos)); ++pos)
        d.intDigits += char(s.at(pos).unicode());
    if (pos < s.size() && s.at(pos) == QLatin1Char('.'))
        for (++pos; pos < s.size() && isDigit(s.at(pos)); ++pos)
            d.fracDigits += char(s.at(pos).unicode());
    if (d.empty())
        return 0.0;
    readExponent(s, pos, d);
    const double v = d.toDouble();
    if (!std::isfinite(v))
        Raise(vberr::Overflow);
    return v;
}

std::optional<double> ParseNumber(const QString &s)
{
    return regionalNumber(s);
}

bool IsNumeric(const QString &s)
{
    try {
        const auto d = regionalNumber(s);
        return d && std::isfinite(*d);
    } catch (const VbException &) {
        return false; // a radix number beyond 32 bits
    }
}

std::int16_t CInt(double d)
{
    return std::int16_t(checkedWhole(d, -32768.0, 32767.0));
}

std::int32_t CLng(double d)
{
    return std::int32_t(checkedWhole(d, -2147483648.0, 2147483647.0));
}

std::int16_t CInt(const QString &s)
{
    return CInt(requireNumber(s));
}

std::int32_t CLng(const QString &s)
{
    return CLng(requireNumber(s));
}

double Round(double d, int decimals)
{
    if (decimals < 0)
        Raise(vberr::InvalidCall);
    if (!std::isfinite(d))
        return d;
    if (decimals == 0)
        return std::nearbyint(d) + 0.0;
    const double scale = std::pow(10.0, decimals);
    const double scaled = d * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9007199254740992.0)
        return d; // already finer than the digits asked for
    return std::nearbyint(scaled) / scale + 0.0;
}

Currency Round(Currency c, int decimals)
{
    if (decimals < 0)
        Raise(vberr::InvalidCall);
    if (decimals >= 4)
        return c;
    const int drop = 4 - decimals;
    __int128 q = Currency::divideHalfEven(c.scaled(), drop);
    for (int i = 0; i < drop; ++i)
        q *= 10;
    if (q > std::numeric_limits<std::int64_t>::max() || q < std::numeric_limits<std::int64_t>::min())
        Raise(vberr::Overflow);
    return Currency::fromScaled(std::int64_t(q));
}

double Fix(double d)
{
    return std::trunc(d) + 0.0;
}

double Int(double d)
{
    return std::floor(d) + 0.0;
}

double CDbl(const QString &s)
{
    return requireNumber(s);
}

Currency CCur(double d)
{
    return Currency::fromDouble(d);
}

Currency CCur(const QString &s)
{
    const auto d = regionalDecimal(s);
    if (!d) {
        if (s.trimmed().startsWith(QLatin1Char('&')))
            return Currency::fromDouble(requireNumber(s));
        Raise(vberr::TypeMismatch);
    }
    if (d->hasExponent)
        return Currency::fromDouble(requireNumber(s));
    // Exact decimal reading: a double would lose the last digits of large amounts.
    const std::size_t lead = d->intDigits.find_first_not_of('0');
    const std::string intPart = lead == std::string::npos ? std::string() : d->intDigits.substr(lead);
    if (intPart.size() > 15)
        Raise(vberr::Overflow);
    __int128 v = 0;
    for (char c : intPart)
        v = v * 10 + (c - '0');
    std::string frac = d->fracDigits.substr(0, 20);
    int drop = 0;
    for (int i = 0; i < int(frac.size()); ++i) {
        v = v * 10 + (frac[std::size_t(i)] - '0');
        if (i >= 4)
            ++drop;
    }
    for (int i = int(frac.size()); i < 4; ++i)
        v *= 10;
    if (d->fracDigits.size() > frac.size() && d->fracDigits.find_first_not_of('0', frac.size()) != std::string::npos)
        v += 1; // digits beyond the twentieth only break a tie upwards
    v = Currency::divideHalfEven(v, drop);
    if (d->negative)
        v = -v;
    if (v > std::numeric_limits<std::int64_t>::max() || v < std::numeric_limits<std::int64_t>::min())
        Raise(vberr::Overflow);
    return Currency::fromScaled(std::int64_t(v));
}

} // namespace vb
