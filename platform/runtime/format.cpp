#include "platform/runtime/format.h"

#include "platform/runtime/dates.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/regional.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/variant.h"

#include <cmath>
#include <string>

namespace vb {

namespace {

// A non-negative decimal: its digits with the point after `point` of them
// (point may lie before the first digit or past the last).
struct Digits
{
    bool negative = false;
    std::string digits;
    int point = 0;
};

// Fifteen significant digits, as the run time sees a Double before it
// formats it (so 2.675 formats as 2.68, not as its binary neighbour).
Digits digitsOf(double value)
{
    Digits d;
    d.negative = std::signbit(value) && value != 0;
    d.digits.reserve(16);
    if (value == 0) {
        d.digits.push_back('0');
        d.point = 1;
        return d;
    }
    const QByteArray e = QByteArray::number(std::fabs(value), 'e', 14); // d.dddddddddddddde+XX
    const qsizetype ePos = e.indexOf('e');
    for (qsizetype i = 0; i < ePos; ++i)
        if (e.at(i) != '.')
            d.digits += e.at(i);
    d.point = e.mid(ePos + 1).toInt() + 1;
    return d;
}

Digits digitsOf(Currency value)
{
    Digits d;
    const std::int64_t s = value.scaled();
    d.negative = s < 0;
    unsigned long long magnitude = s < 0 ? 0ull - static_cast<unsigned long long>(s)
                                         : static_cast<unsigned long long>(s);
    std::string text = std::to_string(magnitude);
    while (text.size() < 5)
        text.insert(text.begin(), '0');
    d.digits = text;
    d.point = int(text.size()) - 4;
    return d;
}

// Integer and fraction texts rounded to `decimals`, half away from zero.
void roundAway(const Digits &d, int decimals, std::string &intPart, std::string &fracPart)
{
    std::string digits = d.digits;
    int point = d.point;
    // Make the point fall inside the digit string.
    if (point < 0) {
        digits.insert(0, std::size_t(-point), '0');
        point = 0;
    }
    const int keep = point + decimals;
    if (keep < int(digits.size())) {
        const bool up = digits[std::size_t(keep)] >= '5';
        digits.resize(std::size_t(keep));
        if (up) {
            int i = keep - 1;
            for (; i >= 0; --i) {
                if (digits[std::size_t(i)] == '9') {
                    digits[std::size_t(i)] = '0';
                } else {
                    ++digits[std::size_t(i)];
                    break;
                }
            }
            if (i < 0) {
                digits.insert(digits.begin(), '1');
                ++point;
            }
        }
    }
    while (int(digits.size()) < point + decimals)
        digits += '0';
    intPart = digits.substr(0, std::size_t(point));
    fracPart = digits.substr(std::size_t(point));
    const std::size_t lead = intPart.find_first_not_of('0');
    intPart = lead == std::string::npos ? std::string() : intPart.substr(lead);
}

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('0') || c == QLatin1Char('#');
}

QString formatDigits(const Digits &value, const QString &pattern)
{
    const RegionalSettings &r = Regional();
    // Literal text before the first and after the last placeholder.
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (isPlaceholder(c) || c == QLatin1Char('.')) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    const QString prefix = pattern.left(first);
    const QString suffix = pattern.mid(last + 1);
    const QString body = pattern.mid(first, last - first + 1);

    const qsizetype dot = body.indexOf(QLatin1Char('.'));
    const QString intPattern = dot < 0 ? body : body.left(dot);
    const QString fracPattern = dot < 0 ? QString() : body.mid(dot + 1);

    int minInt = 0;
    bool grouping = false;
    for (qsizetype i = 0; i < intPattern.size(); ++i) {
        if (intPattern.at(i) == QLatin1Char('0'))
            ++minInt;
        else if (intPattern.at(i) == QLatin1Char(',') && i > 0 && i + 1 < intPattern.size())
            grouping = true;
    }
    int decimals = 0, minDecimals = 0;
    for (qsizetype i = 0; i < fracPattern.size(); ++i) {
        if (fracPattern.at(i) == QLatin1Char('0'))
            minDecimals = ++decimals;
        else if (fracPattern.at(i) == QLatin1Char('#'))
            ++decimals;
    }

    std::string intPart, fracPart;
    roundAway(value, decimals, intPart, fracPart);
    while (int(fracPart.size()) > minDecimals && fracPart.back() == '0')
        fracPart.pop_back();
    const bool zero = intPart.empty() && fracPart.find_first_not_of('0') == std::string::npos;
    while (int(intPart.size()) < minInt)
        intPart.insert(intPart.begin(), '0');

    QString integer = QString::fromLatin1(intPart.data(), qsizetype(intPart.size()));
    if (grouping)
        for (qsizetype i = integer.size() - 3; i > 0; i -= 3)
            integer.insert(i, r.thousandsSeparator);

    QString out;
    // A value that rounds to zero carries no sign.
    if (value.negative && !zero)
        out += QLatin1Char('-');
    out += prefix;
    out += integer;
    if (dot >= 0)
        out += r.decimalMark;
    out += QString::fromLatin1(fracPart.data(), qsizetype(fracPart.size()));
    out += suffix;
    return out;
}

// The named number formats the run time knows; empty when the pattern is none.
QString namedPattern(const QString &pattern)
{
    if (vb::EqualsText(pattern, QLatin1String("Fixed")))
        return QStringLiteral("0.00");
    if (vb::EqualsText(pattern, QLatin1String("Standard")))
        return QStringLiteral("#,##0.00");
    return pattern;
}

bool hasPlaceholder(const QString &pattern)
{
    for (const QChar c : pattern)
        if (isPlaceholder(c) || c == QLatin1Char('.'))
            return true;
    return false;
}

QString exponentForm(QString text)
{
    // Qt writes 1e+15 / 1e-05; the run time 1E+15 / 1E-05.
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e < 0)
        return text;
    QString mantissa = text.left(e);
    QString exp = text.mid(e + 1);
    const QChar sign = exp.at(0) == QLatin1Char('-') ? QLatin1Char('-') : QLatin1Char('+');
    if (exp.at(0) == QLatin1Char('-') || exp.at(0) == QLatin1Char('+'))
        exp.remove(0, 1);
    while (exp.size() > 2 && exp.startsWith(QLatin1Char('0')))
        exp.remove(0, 1);
    while (exp.size() < 2)
        exp.prepend(QLatin1Char('0'));
    return mantissa + QLatin1Char('E') + sign + exp;
}

QString plainNumber(double value, int digits = 15)
{
    if (value == 0)
        return QStringLiteral("0");
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    return exponentForm(QString::number(value, 'g', digits));
}

} // namespace

QString Format(double value, const QString &pattern)
{
    const QString p = namedPattern(pattern);
    if (p.isEmpty() || vb::EqualsText(p, QLatin1String("General Number")))
        return CStr(value);
    if (!hasPlaceholder(p))
        return p;
    return formatDigits(digitsOf(value), p);
}

QString Format(Currency value, const QString &pattern)
{
    const QString p = namedPattern(pattern);
    if (p.isEmpty() || vb::EqualsText(p, QLatin1String("General Number")))
        return CStr(value);
    if (!hasPlaceholder(p))
        return p;
    return formatDigits(digitsOf(value), p);
}

QString Format(const Variant &value, const QString &pattern)
{
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return QString();
    case Variant::Type::Currency:
        return Format(value.toCurrency(), pattern);
    case Variant::Type::Date:
        return pattern.isEmpty() ? GeneralDate(value.toDate()) : FormatDate(value.toDate(), pattern);
    case Variant::Type::String: {
        const QString &text = value.rawString();
        if (const auto d = ParseNumber(text); d && std::isfinite(*d))
            return Format(*d, pattern);
        if (const auto dt = ParseDate(text); dt && !pattern.isEmpty() && !hasPlaceholder(pattern))
            return FormatDate(*dt, pattern);
        return text;
    }
    default:
        return Format(value.toDouble(), pattern);
    }
}

QString CStr(double value)
{
    QString text = plainNumber(value);
    const QChar mark = Regional().decimalMark;
    if (mark != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), mark);
    return text;
}

QString CStr(float value)
{
    QString text = plainNumber(double(value), 7);
    const QChar mark = Regional().decimalMark;
    if (mark != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), mark);
    return text;
}

QString CStr(Currency value)
{
    std::string intPart, fracPart;
    roundAway(digitsOf(value), 4, intPart, fracPart);
    while (!fracPart.empty() && fracPart.back() == '0')
        fracPart.pop_back();
    QString out;
    if (value.scaled() < 0)
        out += QLatin1Char('-');
    out += intPart.empty() ? QStringLiteral("0") : QString::fromLatin1(intPart.data(), qsizetype(intPart.size()));
    if (!fracPart.empty())
        out += Regional().decimalMark + QString::fromLatin1(fracPart.data(), qsizetype(fracPart.size()));
    return out;
}

QString CStr(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString Str(double value)
{
    QString text = plainNumber(value);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return value < 0 ? text : QLatin1Char(' ') + text;
}

} // namespace vb
