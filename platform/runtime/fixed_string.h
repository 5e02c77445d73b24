#pragma once

#include <QString>

namespace vb {

// A fixed-length text of the run time: always N characters. It starts filled
// with the character of code 0; a text assigned to it is cut to N characters
// or padded with blanks on the right.
template<int N>
class FixedString
{
public:
    static_assert(N > 0);

    FixedString()
        : m_text(N, QChar(0))
    {}
    FixedString(const QString &text) { *this = text; }

    FixedString &operator=(const QString &text)
    {
        m_text = text.left(N).leftJustified(N, QLatin1Char(' '));
        return *this;
    }

    const QString &text() const { return m_text; }
    operator const QString &() const { return m_text; }

    friend bool operator==(const FixedString &a, const FixedString &b) { return a.m_text == b.m_text; }

private:
    QString m_text;
};

} // namespace vb
