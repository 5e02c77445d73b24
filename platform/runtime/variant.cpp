#include "platform/runtime/variant.h"

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
    case Type::Empty: return QString();
    case Type::Null: Raise(vberr::InvalidUseOfNull);
    case Type::Boolean: return std::get<bool>(m_value) ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Integer:
    case Type::Long: return QString::number(std::get<std::int64_t>(m_value));
    case Type::Double: return QString::number(std::get<double>(m_value), 'g', 15);
    case Type::Currency: return QString::number(std::get<::Currency>(m_value).toDouble(), 'g', 19);
    case Type::Date: return std::get<QDateTime>(m_value).toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    case Type::String: return std::get<QString>(m_value);
    }
    return QString();
}

double Variant::toDouble() const
{
    switch (m_type) {
    case Type::Empty: return 0;
    case Type::Null: Raise(vberr::InvalidUseOfNull);
    case Type::Boolean: return std::get<bool>(m_value) ? -1 : 0;
    case Type::Integer:
    case Type::Long: return double(std::get<std::int64_t>(m_value));
    case Type::Double: return std::get<double>(m_value);
    case Type::Currency: return std::get<::Currency>(m_value).toDouble();
    case Type::Date: {
        const QDateTime base(QDate(1899, 12, 30), QTime(0, 0));
        return double(base.msecsTo(std::get<QDateTime>(m_value))) / 86400000.0;
    }
    case Type::String: {
        bool ok = false;
        const double d = std::get<QString>(m_value).trimmed().toDouble(&ok);
        if (!ok)
            Raise(vberr::TypeMismatch);
        return d;
    }
    }
    return 0;
}

std::int32_t Variant::toLong() const
{
    const double d = std::nearbyint(toDouble());
    if (!(d >= std::numeric_limits<std::int32_t>::min() && d <= std::numeric_limits<std::int32_t>::max()))
        Raise(vberr::Overflow);
    return std::int32_t(d);
}

std::int16_t Variant::toInt() const
{
    const double d = std::nearbyint(toDouble());
    if (!(d >= std::numeric_limits<std::int16_t>::min() && d <= std::numeric_limits<std::int16_t>::max()))
        Raise(vberr::Overflow);
    return std::int16_t(d);
}

::Currency Variant::toCurrency() const
{
    if (m_type == Type::Currency)
        return std::get<::Currency>(m_value);
    return ::Currency::fromDouble(toDouble());
}

bool Variant::toBool() const
{
    if (m_type == Type::Boolean)
        return std::get<bool>(m_value);
    if (m_type == Type::String) {
        const QString s = std::get<QString>(m_value).trimmed();
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || s.compare(QLatin1String("Verdadero"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || s.compare(QLatin1String("Falso"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return toDouble() != 0;
}

QDateTime Variant::toDate() const
{
    switch (m_type) {
    case Type::Date: return std::get<QDateTime>(m_value);
    case Type::Null: Raise(vberr::InvalidUseOfNull);
    case Type::String: {
        const QDateTime d = QDateTime::fromString(std::get<QString>(m_value).trimmed(), QStringLiteral("d/M/yyyy H:m:s"));
        if (d.isValid())
            return d;
        const QDate day = QDate::fromString(std::get<QString>(m_value).trimmed(), QStringLiteral("d/M/yyyy"));
        if (day.isValid())
            return QDateTime(day, QTime(0, 0));
        Raise(vberr::TypeMismatch);
    }
    default: {
        const QDateTime base(QDate(1899, 12, 30), QTime(0, 0));
        return base.addMSecs(std::llround(toDouble() * 86400000.0));
    }
    }
}

bool operator==(const Variant &a, const Variant &b)
{
    return a.m_type == b.m_type && a.m_value == b.m_value;
}
