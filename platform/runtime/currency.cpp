#include "platform/runtime/currency.h"

#include "platform/runtime/vberror.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kMax = 922337203685477.5807;

Currency checked(long double scaled)
{
    if (!(scaled >= (long double) std::numeric_limits<std::int64_t>::min()
          && scaled <= (long double) std::numeric_limits<std::int64_t>::max()))
        Raise(vberr::Overflow);
    return Currency::fromScaled(std::int64_t(scaled));
}
} // namespace

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > kMax)
        Raise(vberr::Overflow);
    return checked(std::nearbyint((long double) value * 10000.0L));
}

__int128 Currency::divideHalfEven(__int128 value, int drop)
{
    __int128 unit = 1;
    for (int i = 0; i < drop; ++i)
        unit *= 10;
    __int128 q = value / unit;
    __int128 r = value % unit;
    const bool negative = value < 0;
    if (r < 0)
        r = -r;
    if (2 * r > unit || (2 * r == unit && (q & 1)))
        q += negative ? -1 : 1;
    return q;
}

Currency Currency::operator+(Currency o) const
{
    std::int64_t r;
    if (__builtin_add_overflow(m_scaled, o.m_scaled, &r))
        Raise(vberr::Overflow);
    return fromScaled(r);
}

Currency Currency::operator-(Currency o) const
{
    std::int64_t r;
    if (__builtin_sub_overflow(m_scaled, o.m_scaled, &r))
        Raise(vberr::Overflow);
    return fromScaled(r);
}

Currency Currency::operator*(Currency o) const
{
    const __int128 q = divideHalfEven((__int128) m_scaled * o.m_scaled, 4);
    if (q > std::numeric_limits<std::int64_t>::max() || q < std::numeric_limits<std::int64_t>::min())
        Raise(vberr::Overflow);
    return fromScaled(std::int64_t(q));
}

Currency Currency::operator/(Currency o) const
{
    if (o.m_scaled == 0)
        Raise(vberr::DivisionByZero);
    return checked(std::nearbyint((long double) m_scaled * 10000.0L / (long double) o.m_scaled));
}
