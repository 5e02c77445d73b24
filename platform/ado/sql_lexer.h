#pragma once

#include "platform/ado/sqlite_dialect.h"

#include <QString>
#include <QStringView>

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

// Inlined: the shape of every batch reads its text char by char with it.
[[gnu::always_inline]] inline bool isWordChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0x80)
        return c.isLetterOrNumber();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '@'
           || u == '#' || u == '$';
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

// Reads a batch's lexemes one at a time: a long batch is never held as
// lexemes all at once.
class SqlLexer
{
public:
    explicit SqlLexer(const QString &text)
        : s(text)
    {}
    // False at the end of the text.
    bool next(SqlLexeme &l);

private:
    const QString &s;
    qsizetype i = 0;
};

inline bool SqlLexer::next(SqlLexeme &l)
{
    const qsizetype n = s.size();
    if (i >= n)
        return false;
    {
        const QChar c = s[i];
        l = SqlLexeme{SqlLexeme::Punct, i};
        if (c.isSpace()) {
            l.kind = SqlLexeme::Space;
            while (i < n && s[i].isSpace()) {
                l.newline = l.newline || s[i] == '\r' || s[i] == '\n';
                ++i;
            }
        } else if (c == '-' && i + 1 < n && s[i + 1] == '-') {
            l.kind = SqlLexeme::Comment;
            while (i < n && s[i] != '\r' && s[i] != '\n')
                ++i;
        } else if (c == '/' && i + 1 < n && s[i + 1] == '*') {
            const qsizetype end = s.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0)
                throw DialectError(QStringLiteral("Missing end comment mark '*/'."));
            l.kind = SqlLexeme::Comment;
            const QStringView body = QStringView(s).mid(i, end + 2 - i);
            l.newline = body.contains('\n') || body.contains('\r');
            i = end + 2;
        } else if (c == '\''
                   || ((c == 'N' || c == 'n') && i + 1 < n && s[i + 1] == '\'' && (i == 0 || !isWordChar(s[i - 1])))) {
            l.kind = SqlLexeme::String;
            const qsizetype open = c == '\'' ? i : i + 1;
            const qsizetype close = closing(s, open + 1, '\'', l.doubled);
            if (close < 0)
                throw DialectError(QStringLiteral("Unclosed quotation mark after the character string '%1'.")
                                       .arg(undoubled(QStringView(s).mid(open + 1), l.doubled, "''")));
            i = close + 1;
        } else if (c == '[') {
            l.kind = SqlLexeme::QuotedName;
            const qsizetype close = closing(s, i + 1, ']', l.doubled);
            if (close < 0)
                throw DialectError(QStringLiteral("Unclosed quotation mark after the name '%1'.")
                                       .arg(undoubled(QStringView(s).mid(i + 1), l.doubled, "]]")));
            i = close + 1;
        } else if (c == '"') {
            const qsizetype end = s.indexOf('"', i + 1);
            if (end < 0)
                throw DialectError(QStringLiteral("Unclosed quotation mark in a quoted name."));
            l.kind = SqlLexeme::QuotedName;
            i = end + 1;
        } else if (c.isDigit() || (c == '.' && i + 1 < n && s[i + 1].isDigit())) {
            l.kind = SqlLexeme::Number;
            while (i < n && (s[i].isDigit() || s[i] == '.'))
                ++i;
            if (i < n && (s[i] == 'e' || s[i] == 'E')) {
                qsizetype k = i + 1;
                if (k < n && (s[k] == '+' || s[k] == '-'))
                    ++k;
                if (k < n && s[k].isDigit()) {
                    i = k;
                    while (i < n && s[i].isDigit())
                        ++i;
                }
            }
        } else if (isWordChar(c)) {
            l.kind = SqlLexeme::Word;
            while (i < n && isWordChar(s[i]))
                ++i;
        } else {
            i += i + 1 < n && isPair(c, s[i + 1]) ? 2 : 1;
        }
        l.end = i;
    }
    return true;
}

} // namespace sqllex
using sqllex::SqlLexeme;
using sqllex::SqlLexer;
} // namespace ado
