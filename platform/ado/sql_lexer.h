#pragma once

#include "platform/ado/sqlite_dialect.h"

#include <QString>
#include <QStringView>

#include <array>

// How SQL Server's text is read, piece by piece: quoted texts ('...' and
// N'...', quotes doubled inside), quoted names ([...] and "..."), comments
// (-- and /* */), words, numbers and marks. The dialect and the search for
// keywords outside quotes read it alike.
namespace ado {
namespace sqllex {

// A token as written, without a text of its own: splitting a batch needs no more.
struct SqlLexeme
{
    enum Kind { Space, Comment, String, Word, QuotedName, Number, Punct };
    Kind kind;
    qsizetype at = 0, end = 0;
    bool newline = false; // Space or Comment holding a line break
    bool doubled = false; // String or [name] with its closing quote doubled inside

    bool significant() const { return kind != SqlLexeme::Space && kind != SqlLexeme::Comment; }
};

// What an ASCII character may start or continue: a word (letters, digits,
// _ @ # $), a number (digits) or a run of blanks. Others are read by QChar.
enum : unsigned char { kAsciiWord = 1, kAsciiDigit = 2, kAsciiSpace = 4 };

inline constexpr auto kAsciiClass = [] {
    std::array<unsigned char, 128> t{};
    for (int c = 'a'; c <= 'z'; ++c)
        t[size_t(c)] = t[size_t(c - 'a' + 'A')] = kAsciiWord;
    for (int c = '0'; c <= '9'; ++c)
        t[size_t(c)] = kAsciiWord | kAsciiDigit;
    for (char c : {'_', '@', '#', '$'})
        t[size_t(c)] = kAsciiWord;
    for (int c = 0x09; c <= 0x0d; ++c)
        t[size_t(c)] = kAsciiSpace;
    t[' '] = kAsciiSpace;
    return t;
}();

// Inlined: the shape of every batch reads its text char by char with it.
[[gnu::always_inline]] inline bool isWordChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0x80)
        return c.isLetterOrNumber();
    return kAsciiClass[u] & kAsciiWord;
}

[[gnu::always_inline]] inline bool isDigit(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 0x80 ? c.isDigit() : (kAsciiClass[u] & kAsciiDigit) != 0;
}

[[gnu::always_inline]] inline bool isSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 0x80 ? c.isSpace() : (kAsciiClass[u] & kAsciiSpace) != 0;
}

inline bool isPair(QChar a, QChar b)
{
    return (a == '<' && (b == '=' || b == '>')) || (a == '>' && b == '=') || (a == '|' && b == '|')
           || (a == '!' && (b == '=' || b == '<' || b == '>'));
}

inline QString undoubled(QStringView text, bool doubled, const char *pair)
{
    QString out = text.toString();
    if (doubled)
        out.replace(QLatin1String(pair), QLatin1String(pair + 1));
    return out;
}

// Where a quoted text ('...') or name ([...]) whose content starts at `from`
// ends: its closing mark, written twice inside for itself (`doubled` is then
// set); -1 when the text ends first.
[[gnu::always_inline]] inline qsizetype closing(QStringView s, qsizetype from, QChar mark, bool &doubled)
{
    const qsizetype n = s.size();
    for (qsizetype j = from; j < n; ++j) {
        if (s[j] != mark)
            continue;
        if (j + 1 < n && s[j + 1] == mark) {
            doubled = true;
            ++j;
            continue;
        }
        return j;
    }
    return -1;
}

// Where a number starting at `i` ends: digits and points, then an exponent
// when digits follow its e (and sign).
[[gnu::always_inline]] inline qsizetype numberEnd(const QChar *p, qsizetype n, qsizetype i)
{
    while (i < n && (isDigit(p[i]) || p[i] == '.'))
        ++i;
    if (i < n && (p[i] == 'e' || p[i] == 'E')) {
        qsizetype k = i + 1;
        if (k < n && (p[k] == '+' || p[k] == '-'))
            ++k;
        if (k < n && isDigit(p[k])) {
            i = k;
            while (i < n && isDigit(p[i]))
                ++i;
        }
    }
    return i;
}

// Reads a batch's lexemes one at a time: a long batch is never held as
// lexemes all at once.
class SqlLexer
{
public:
    explicit SqlLexer(const QString &text)
        : s(text)
    {}
    // False at the end of the text. Blanks, words and marks, most of any
    // text, are read inline; the rest by other().
    [[gnu::always_inline]] bool next(SqlLexeme &l)
    {
        const QChar *const p = s.constData();
        const qsizetype n = s.size();
        qsizetype i = m_at;
        if (i >= n)
            return false;
        const char16_t u = p[i].unicode();
        if (u >= 0x80)
            return other(l);
        const unsigned char kind = kAsciiClass[u];
        bool newline = false;
        if (kind & kAsciiSpace) {
            for (; i < n && isSpace(p[i]); ++i)
                newline = newline || p[i] == '\r' || p[i] == '\n';
            l = SqlLexeme{SqlLexeme::Space, m_at, i, newline};
        } else if (kind == kAsciiWord && !((u == 'N' || u == 'n') && i + 1 < n && p[i + 1] == '\'')) {
            // (N' after a word is a word and a quote: other() reads it.)
            for (++i; i < n && isWordChar(p[i]);)
                ++i;
            l = SqlLexeme{SqlLexeme::Word, m_at, i};
        } else if (kind == 0 && (u == '(' || u == ')' || u == ',' || u == '=' || u == ';')) {
            l = SqlLexeme{SqlLexeme::Punct, m_at, ++i};
        } else if (u == '\'') {
            bool doubled = false;
            const qsizetype close = closing(s, i + 1, '\'', doubled);
            if (close < 0)
                return other(l); // to say why
            i = close + 1;
            l = SqlLexeme{SqlLexeme::String, m_at, i, false, doubled};
        } else if (kind & kAsciiDigit) {
            i = numberEnd(p, n, i);
            l = SqlLexeme{SqlLexeme::Number, m_at, i};
        } else {
            return other(l);
        }
        m_at = i;
        return true;
    }

private:
    bool other(SqlLexeme &l);

    const QString &s;
    qsizetype m_at = 0;
};

inline bool SqlLexer::other(SqlLexeme &l)
{
    const QChar *const p = s.constData();
    const qsizetype n = s.size();
    qsizetype i = m_at;
    SqlLexeme out{SqlLexeme::Punct, i};
    const QChar c = p[i];
    if (isSpace(c)) {
        out.kind = SqlLexeme::Space;
        for (; i < n && isSpace(p[i]); ++i)
            out.newline = out.newline || p[i] == '\r' || p[i] == '\n';
    } else if (c == '-' && i + 1 < n && p[i + 1] == '-') {
        out.kind = SqlLexeme::Comment;
        while (i < n && p[i] != '\r' && p[i] != '\n')
            ++i;
    } else if (c == '/' && i + 1 < n && p[i + 1] == '*') {
        const qsizetype end = s.indexOf(QLatin1String("*/"), i + 2);
        if (end < 0)
            throw DialectError(QStringLiteral("Missing end comment mark '*/'."));
        out.kind = SqlLexeme::Comment;
        const QStringView body = QStringView(s).mid(i, end + 2 - i);
        out.newline = body.contains('\n') || body.contains('\r');
        i = end + 2;
    } else if (c == '\''
               || ((c == 'N' || c == 'n') && i + 1 < n && p[i + 1] == '\'' && (i == 0 || !isWordChar(p[i - 1])))) {
        out.kind = SqlLexeme::String;
        const qsizetype open = c == '\'' ? i : i + 1;
        const qsizetype close = closing(s, open + 1, '\'', out.doubled);
        if (close < 0)
            throw DialectError(QStringLiteral("Unclosed quotation mark after the character string '%1'.")
                                   .arg(undoubled(QStringView(s).mid(open + 1), out.doubled, "''")));
        i = close + 1;
    } else if (c == '[') {
        out.kind = SqlLexeme::QuotedName;
        const qsizetype close = closing(s, i + 1, ']', out.doubled);
        if (close < 0)
            throw DialectError(QStringLiteral("Unclosed quotation mark after the name '%1'.")
                                   .arg(undoubled(QStringView(s).mid(i + 1), out.doubled, "]]")));
        i = close + 1;
    } else if (c == '"') {
        const qsizetype end = s.indexOf('"', i + 1);
        if (end < 0)
            throw DialectError(QStringLiteral("Unclosed quotation mark in a quoted name."));
        out.kind = SqlLexeme::QuotedName;
        i = end + 1;
    } else if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(p[i + 1]))) {
        out.kind = SqlLexeme::Number;
        i = numberEnd(p, n, i);
    } else if (isWordChar(c)) {
        out.kind = SqlLexeme::Word;
        while (i < n && isWordChar(p[i]))
            ++i;
    } else {
        i += i + 1 < n && isPair(c, p[i + 1]) ? 2 : 1;
    }
    out.end = i;
    m_at = i;
    l = out;
    return true;
}

} // namespace sqllex
using sqllex::SqlLexeme;
using sqllex::SqlLexer;
} // namespace ado
