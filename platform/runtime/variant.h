#pragma once

#include "platform/runtime/currency.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <variant>

// A field or argument value that tells Empty, Null, numbers, text, dates and
// Booleans apart, as the run time's Variant does.
class Variant
{
public:
    enum class Type { Empty, Null, Boolean, Integer, Long, Double, Currency, Date, String };

    Variant() = default;
    static Variant null()
    {
        Variant v;
        v.m_type = Type::Null;
        return v;
    }
    Variant(bool b)
        : m_type(Type::Boolean)
        , m_value(b)
    {}
    Variant(std::int16_t i)
        : m_type(Type::Integer)
        , m_value(std::int64_t(i))
    {}
    Variant(int i)
        : m_type(Type::Long)
        , m_value(std::int64_t(i))
    {}
    Variant(long i)
        : m_type(Type::Long)
        , m_value(std::int64_t(i))
    {}
    Variant(long long i)
        : m_type(Type::Long)
        , m_value(std::int64_t(i))
    {}
    Variant(double d)
        : m_type(Type::Double)
        , m_value(d)
    {}
    Variant(::Currency c)
        : m_type(Type::Currency)
        , m_value(c)
    {}
    Variant(const QDateTime &d)
        : m_type(Type::Date)
        , m_value(d)
    {}
    Variant(const QString &s)
        : m_type(Type::String)
        , m_value(s)
    {}
    Variant(const char *s)
        : m_type(Type::String)
        , m_value(QString::fromUtf8(s))
    {}

    Type type() const { return m_type; }
    bool isEmpty() const { return m_type == Type::Empty; }
    bool isNull() const { return m_type == Type::Null; }
    bool isNumber() const; // Boolean, Integer, Long, Double or Currency
    bool isString() const { return m_type == Type::String; }
    bool isDate() const { return m_type == Type::Date; }

    // Conversions as the run time makes them: Null raises error 94, text that
    // holds no number raises 13, out-of-range raises 6; whole numbers round
    // half to even. Empty is "" or 0.
    QString toString() const;
    double toDouble() const;
    std::int32_t toLong() const;
    std::int16_t toInt() const;
    ::Currency toCurrency() const;
    bool toBool() const;
    QDateTime toDate() const;

    // The stored value without conversion (valid for the matching type only).
    std::int64_t rawInteger() const { return std::get<std::int64_t>(m_value); }
    double rawDouble() const { return std::get<double>(m_value); }
    const QString &rawString() const { return std::get<QString>(m_value); }

    friend bool operator==(const Variant &a, const Variant &b);

private:
    Type m_type = Type::Empty;
    std::variant<std::monostate, bool, std::int64_t, double, ::Currency, QDateTime, QString> m_value;
};
