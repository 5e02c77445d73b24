#include "platform/ado/sql_text.h"

#include "platform/ado/sql_lexer.h"
#include "platform/ado/sqlite_dialect.h"

#include <algorithm>

namespace ado {

QString codeOutsideQuotes(const QString &sql)
{
    QString out = sql;
    SqlLexer lexer(sql);
    qsizetype from = 0;
    try {
        for (SqlLexeme l{SqlLexeme::Space}; lexer.next(l); from = l.end) {
            if (l.kind == SqlLexeme::String || l.kind == SqlLexeme::QuotedName || l.kind == SqlLexeme::Comment)
                std::fill(out.begin() + l.at, out.begin() + l.end, QChar(kQuotedMark));
        }
    } catch (const DialectError &) {
        std::fill(out.begin() + from, out.end(), QChar(kQuotedMark));
    }
    return out;
}

QString replaceOutsideQuotes(const QString &sql, const QString &find, const QString &replacement)
{
    if (find.isEmpty())
        return sql;
    const QString codigo = codeOutsideQuotes(sql);
    QString out;
    qsizetype from = 0;
    for (qsizetype at; (at = codigo.indexOf(find, from, Qt::CaseInsensitive)) >= 0; from = at + find.size()) {
        out += QStringView(sql).mid(from, at - from);
        out += replacement;
    }
    out += QStringView(sql).mid(from);
    return out;
}

QString oracleQuotedNames(const QString &sql)
{
    QString out;
    out.reserve(sql.size());
    SqlLexer lexer(sql);
    qsizetype from = 0;
    try {
        for (SqlLexeme l{SqlLexeme::Space}; lexer.next(l);) {
            if (l.kind != SqlLexeme::QuotedName || sql.at(l.at) != QLatin1Char('['))
                continue;
            out += QStringView(sql).mid(from, l.at - from);
            out += QLatin1Char('"');
            out += sqllex::undoubled(QStringView(sql).mid(l.at + 1, l.end - l.at - 2), l.doubled, "]]").toUpper();
            out += QLatin1Char('"');
            from = l.end;
        }
    } catch (const DialectError &) {
        // What follows an unclosed quote goes as written: the server tells why.
    }
    out += QStringView(sql).mid(from);
    return out;
}

int statementCount(const QString &sql)
{
    // Only ";" and line breaks end a statement: a text without them, as a
    // query mostly is, is one statement unless it is blank, begins with a
    // comment or is a GO.
    if (std::none_of(sql.begin(), sql.end(), [](QChar c) { return c == u';' || c == u'\n' || c == u'\r'; })) {
        const auto first = std::find_if(sql.begin(), sql.end(), [](QChar c) { return !c.isSpace(); });
        if (first == sql.end())
            return 0;
        const char16_t c = first->unicode(), d = first + 1 < sql.end() ? first[1].unicode() : u' ';
        if (!(c == u'-' && d == u'-') && !(c == u'/' && d == u'*') && !((c | 0x20) == u'g' && (d | 0x20) == u'o'))
            return 1;
    }
    try {
        return int(SqliteDialect::statements(sql).at.size());
    } catch (const DialectError &) {
        return 1;
    }
}

} // namespace ado
