#include "platform/ado/sqlite_checks.h"

#include "platform/ado/sqlite_datetime.h"

#include <QRegularExpression>

#include <cmath>
#include <iterator>

namespace ado::sqlite_checks {

Limit limitOf(const QString &declared)
{
    static const QRegularExpression typed(QStringLiteral(R"(^\s*(\w+)\s*(?:\(\s*(\d+)\s*(?:,\s*(\d+)\s*)?\))?)"));
    const QRegularExpressionMatch m = typed.match(declared);
    if (!m.hasMatch())
        return {};
    const QString type = m.captured(1).toUpper();
    Limit l;
    if (type == "CHAR" || type == "VARCHAR" || type == "NCHAR" || type == "NVARCHAR") {
        // Without a length (or with max) the column takes any text here.
        if (const int length = m.captured(2).toInt(); length > 0)
            l = {Limit::Kind::Text, length, 0, 0, 0};
    } else if (type == "INT" || type == "INTEGER") {
        l = {Limit::Kind::Integer, 0, -2147483648.0, 2147483647.0, 0};
    } else if (type == "SMALLINT") {
        l = {Limit::Kind::Integer, 0, -32768, 32767, 0};
    } else if (type == "TINYINT") {
        l = {Limit::Kind::Integer, 0, 0, 255, 0};
    } else if (type == "MONEY") {
        l = {Limit::Kind::Money, 0, -922337203685477.5808, 922337203685477.5807, 4};
    } else if (type == "SMALLMONEY") {
        l = {Limit::Kind::Money, 0, -214748.3648, 214748.3647, 4};
    } else if (type == "DECIMAL" || type == "NUMERIC") {
        const int precision = m.captured(2).isEmpty() ? 18 : m.captured(2).toInt();
        const int scale = m.captured(3).toInt();
        const double top = std::pow(10.0, precision - scale) - std::pow(10.0, -scale);
        l = {Limit::Kind::Money, 0, -top, top, scale};
    }
    return l;
}

bool fits(QStringView text, const Limit &limit)
{
    if (limit.kind != Limit::Kind::Text || text.size() <= limit.length)
        return true;
    qsizetype n = text.size();
    while (n > limit.length && text[n - 1] == ' ')
        --n;
    return n <= limit.length;
}

bool fits(double number, const Limit &limit)
{
    switch (limit.kind) {
    case Limit::Kind::Integer:
        return std::trunc(number) >= limit.minimum && std::trunc(number) <= limit.maximum;
    case Limit::Kind::Money: {
        const double k = kept(number, limit);
        return k >= limit.minimum && k <= limit.maximum;
    }
    default:
        return true;
    }
}

QStringView kept(QStringView text, const Limit &limit)
{
    return limit.kind == Limit::Kind::Text && text.size() > limit.length ? text.left(limit.length) : text;
}

double kept(double number, const Limit &limit)
{
    if (limit.kind != Limit::Kind::Money)
        return number;
    // The powers of ten a double holds exactly, as pow() gives them: a posting checks every amount.
    static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double scale = limit.scale >= 0 && limit.scale < int(std::size(kExact)) ? kExact[limit.scale]
                                                                                  : std::pow(10.0, limit.scale);
    return std::round(number * scale) / scale;
}

Refusal truncated()
{
    return {QStringLiteral("String or binary data would be truncated."),
            DB_E_DATAOVERFLOW,
            QStringLiteral("22001"),
            8152};
}

Refusal overflow(const Limit &limit)
{
    return {limit.kind == Limit::Kind::Money
                ? QStringLiteral("Arithmetic overflow error converting numeric to data type money.")
                : QStringLiteral("Arithmetic overflow error converting expression to data type int."),
            DB_E_DATAOVERFLOW,
            QStringLiteral("22003"),
            8115};
}

Refusal notANumber(const QString &text)
{
    return {QStringLiteral("Conversion failed when converting the varchar value '%1' to data type int.").arg(text),
            DB_E_CANTCONVERTVALUE,
            QStringLiteral("22018"),
            245};
}

std::optional<Refusal> refusalOf(const QString &message)
{
    static const QString conversion = QStringLiteral("Conversion failed when converting the varchar value '");
    if (message.startsWith(conversion) && message.endsWith(QLatin1String("' to data type int.")))
        return Refusal{message, DB_E_CANTCONVERTVALUE, QStringLiteral("22018"), 245};
    for (const Refusal &r : {truncated(), overflow({Limit::Kind::Integer}), overflow({Limit::Kind::Money})})
        if (message == r.message)
            return r;
    sqlite_datetime::Reading reading;
    if (sqlite_datetime::isConversionError(message, reading)) {
        const sqlite_datetime::Conversion c = sqlite_datetime::conversionError(reading);
        return Refusal{c.message, DB_E_CANTCONVERTVALUE, c.sqlState, c.nativeError};
    }
    return std::nullopt;
}

} // namespace ado::sqlite_checks
