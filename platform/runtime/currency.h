#pragma once

#include <cstdint>

// Fixed-point amount with four decimals in a 64-bit integer, as the run time's Currency.
class Currency
{
public:
    constexpr Currency() = default;
    static constexpr Currency fromScaled(std::int64_t scaled)
    {
        Currency c;
        c.m_scaled = scaled;
        return c;
    }
    // Rounds half to even at the fourth decimal; error 6 when out of range.
    static Currency fromDouble(double value);
    // value / 10^drop, rounded half to even: the one rounding rule of the
    // fixed-point amounts (products, fewer decimals, exact decimal texts).
    static __int128 divideHalfEven(__int128 value, int drop);

    constexpr std::int64_t scaled() const { return m_scaled; }
    double toDouble() const { return double(m_scaled) / 10000.0; }

    Currency operator+(Currency o) const;
    Currency operator-(Currency o) const;
    Currency operator*(Currency o) const;
    Currency operator/(Currency o) const; // error 11 on zero
    Currency operator-() const { return fromScaled(-m_scaled); }
    Currency &operator+=(Currency o) { return *this = *this + o; }
    Currency &operator-=(Currency o) { return *this = *this - o; }

    friend constexpr bool operator==(Currency a, Currency b) = default;
    friend constexpr auto operator<=>(Currency a, Currency b) = default;

private:
    std::int64_t m_scaled = 0;
};
