#include "platform/runtime/variant.h"

#include "platform/runtime/dates.h"
#include "platform/runtime/format.h"
#include "platform/runtime/numbers.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"

#include <cmath>
#include <limits>

bool Variant::isNumber() const
{
    switch (m_type) {
    case Type::Boolean:
    case Type::Integer:
    case Type::Long:
    case Type::Double:
    case Type::Currency:
        return true;
    default:
        return false;
    }
}

QString Variant::toString() const
{
    switch (m_type) {
    case Type::Empty:
        return QString();
    case Type::Null:
        Raise(vberr::InvalidUseOfNull);
    case Type::Boolean:
        return vb::CStr(std::get<bool>(m_value));
    case Type::Integer:
    case Type::Long:
        return vb::CStr(std::get<std::int64_t>(m_value));
    case Type::Double:
        return vb::CStr(std::get<double>(m_value));
    case Type::Currency:
        return vb::CStr(std::get<::Currency>(m_value));
    case Type::Date:
        return vb::GeneralDate(std::get<QDateTime>(m_value));
    case Type::String:
        return std::get<QString>(m_value);
    }
    return QString();
}

double Variant::toDouble() const
{
    switch (m_type) {
    case Type::Empty:
        return 0;
    case Type::Null:
        Raise(vberr::InvalidUseOfNull);
    case Type::Boolean:
        return std::get<bool>(m_value) ? -1 : 0;
    case Type::Integer:
    case Type::Long:
        return double(std::get<std::int64_t>(m_value));
    case Type::Double:
        return std::get<double>(m_value);
    case Type::Currency:
        return std::get<::Currency>(m_value).toDouble();
    case Type::Date:
        return vb::ToSerial(std::get<QDateTime>(m_value));
    case Type::String:
        return vb::CDbl(std::get<QString>(m_value));
    }
    return 0;
}

std::int32_t Variant::toLong() const
{
    if (m_type == Type::Currency)
        return vb::CLng(vb::Round(std::get<::Currency>(m_value), 0).toDouble());
    return vb::CLng(toDouble());
}

std::int16_t Variant::toInt() const
{
    if (m_type == Type::Currency)
        return vb::CInt(vb::Round(std::get<::Currency>(m_value), 0).toDouble());
    return vb::CInt(toDouble());
}

::Currency Variant::toCurrency() const
{
    switch (m_type) {
    case Type::Currency:
        return std::get<::Currency>(m_value);
    case Type::Integer:
    case Type::Long:
        return ::Currency::fromScaled(std::get<std::int64_t>(m_value)) * ::Currency::fromScaled(10000 * 10000);
    // Exact reading of the digits: a Double would lose those of large amounts.
    case Type::String:
        return vb::CCur(std::get<QString>(m_value));
    default:
        return ::Currency::fromDouble(toDouble());
    }
}

bool Variant::toBool() const
{
    if (m_type == Type::Boolean)
        return std::get<bool>(m_value);
    if (m_type == Type::String) {
        const QString s = vb::Trim(std::get<QString>(m_value));
        if (vb::EqualsText(s, QStringLiteral("True")) || vb::EqualsText(s, QStringLiteral("Verdadero")))
            return true;
        if (vb::EqualsText(s, QStringLiteral("False")) || vb::EqualsText(s, QStringLiteral("Falso")))
            return false;
    }
    return toDouble() != 0;
}

QDateTime Variant::toDate() const
{
    switch (m_type) {
    case Type::Date:
        return std::get<QDateTime>(m_value);
    case Type::Null:
        Raise(vberr::InvalidUseOfNull);
    case Type::String: {
        const QString &text = std::get<QString>(m_value);
        if (const auto d = vb::ParseDate(text))
            return *d;
        // A number written as text is a serial date, as the run time reads it.
        if (const auto n = vb::ParseNumber(text))
            return vb::FromSerial(*n);
        Raise(vberr::TypeMismatch);
    }
    default:
        return vb::FromSerial(toDouble());
    }
}

bool operator==(const Variant &a, const Variant &b)
{
    return a.m_type == b.m_type && a.m_value == b.m_value;
}
