#include "platform/ado/sqlite_dialect.h"

#include "platform/ado/sql_batch.h"
#include "platform/ado/sql_lexer.h"
#include "platform/ado/sqlite_datetime.h"
#include "platform/ado/sqlite_values.h"

#include <QSet>

#include <algorithm>
#include <functional>
#include <optional>

namespace ado {
namespace {

struct Token
{
    using Kind = SqlLexeme::Kind;
    static constexpr Kind Space = SqlLexeme::Space, Comment = SqlLexeme::Comment, String = SqlLexeme::String,
                          Word = SqlLexeme::Word, QuotedName = SqlLexeme::QuotedName, Number = SqlLexeme::Number,
                          Punct = SqlLexeme::Punct;
    Kind kind;
    QString text; // as written (for String: the content, quotes removed and '' undone; none for Space and Comment)
    bool newline = false; // Space or Comment holding a line break
    int literal = -1;     // String or Number: its place among the batch's literals
    QString upper() const { return text.toUpper(); }
    bool significant() const { return kind != Space && kind != Comment; }
    bool is(const char *word) const
    {
        return kind == Word && text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool punct(QChar c) const { return kind == Punct && text.size() == 1 && text[0] == c; }
};

using Tokens = std::vector<Token>;

using Lexeme = SqlLexeme;
using Lexemes = std::vector<Lexeme>;
using Lexer = SqlLexer;
using sqlbatch::definesNothing;
using sqlbatch::splitBatch;
using sqllex::isWordChar;
using sqllex::undoubled;

Lexemes lex(const QString &s)
{
    Lexemes out;
    Lexer lexer(s);
    for (Lexeme l{Token::Space}; lexer.next(l);)
        out.push_back(l);
    return out;
}

// The tokens of lex(), with their texts; `literals` counts the literals before them.
Tokens tokensOf(const QString &s, const Lexemes &lexemes, int &literals)
{
    Tokens out;
    out.reserve(lexemes.size());
    for (const Lexeme &l : lexemes) {
        const QStringView written = QStringView(s).mid(l.at, l.end - l.at);
        Token t{l.kind, {}, l.newline};
        switch (l.kind) {
        case Token::Space:
        case Token::Comment:
            break;
        case Token::String: {
            const qsizetype open = written.front() == '\'' ? 1 : 2;
            t.text = undoubled(written.mid(open, written.size() - open - 1), l.doubled, "''");
            t.literal = literals++;
            break;
        }
        case Token::QuotedName:
            t.text = undoubled(written.mid(1, written.size() - 2), l.doubled, "]]");
            break;
        case Token::Number:
            t.literal = literals++;
            t.text = written.toString();
            break;
        default:
            t.text = written.toString();
            break;
        }
        out.push_back(std::move(t));
    }
    return out;
}

// Significant tokens of a statement, with their paren depth.
struct Sig
{
    const Token *tok;
    int depth;
    bool spaced; // written with blanks (or a comment) in front
};

std::vector<Sig> significant(const Tokens &toks)
{
    std::vector<Sig> out;
    int depth = 0;
    bool spaced = false;
    for (const Token &t : toks) {
        if (!t.significant()) {
            spaced = true;
            continue;
        }
        if (t.punct(')'))
            --depth;
        out.push_back({&t, depth, spaced});
        spaced = false;
        if (t.punct('('))
            ++depth;
    }
    return out;
}

// A batch's statements as splitBatch cuts them, as tokens.
std::vector<Tokens> read(const QString &batch)
{
    std::vector<Tokens> out;
    int literals = 0;
    splitBatch(batch, [&](const Lexemes &statement) { out.push_back(tokensOf(batch, statement, literals)); });
    return out;
}

QString quoteString(const QString &s)
{
    QString q = s;
    q.replace('\'', QLatin1String("''"));
    return '\'' + q + '\'';
}

QString quoteName(const QString &s)
{
    QString q = s;
    q.replace('"', QLatin1String("\"\""));
    return '"' + q + '"';
}

QString text(const Token &t)
{
    switch (t.kind) {
    case Token::String:
        return quoteString(t.text);
    case Token::QuotedName:
        return quoteName(t.text);
    default:
        return t.text;
    }
}

const QSet<QString> &textTypes()
{
    static const QSet<QString> types = {"CHAR", "VARCHAR", "NCHAR", "NVARCHAR", "TEXT", "NTEXT"};
    return types;
}

bool isName(const Token &t)
{
    return t.kind == Token::Word || t.kind == Token::QuotedName;
}

// The type names the engine reads back as dates (see the provider's columns).
bool isDateType(const QString &type)
{
    const QString up = type.toUpper();
    return up.contains(QLatin1String("DATE")) || up.contains(QLatin1String("TIME"));
}

// The parts of a dotted name starting at `j` (a, a.b, a.b.c); `after` is the
// index past it.
QStringList dottedName(const std::vector<Sig> &sig, size_t j, size_t &after)
{
    QStringList parts;
    while (j < sig.size() && isName(*sig[j].tok)) {
        parts << sig[j].tok->text.toUpper();
        ++j;
        if (j + 1 >= sig.size() || !sig[j].tok->punct('.'))
            break;
        ++j;
    }
    after = j;
    return parts;
}

QString lastPart(const std::vector<Sig> &sig, size_t j, size_t &after)
{
    const QStringList parts = dottedName(sig, j, after);
    return parts.isEmpty() ? QString() : parts.back();
}

bool isComparison(const Token &t)
{
    static const QSet<QString> ops = {"=", "<>", "!=", "<", "<=", ">", ">="};
    return t.kind == Token::Punct && ops.contains(t.text);
}

// For each token, where the run of plain values and commas that ends just
// before it begins at its depth: IN ('a', 'b', ...) lists are read in one
// pass, not by walking back from each of their items.
std::vector<size_t> plainRunStarts(const std::vector<Sig> &sig)
{
    std::vector<size_t> from(sig.size());
    for (size_t i = 0; i < sig.size(); ++i) {
        const Token *prev = i > 0 ? sig[i - 1].tok : nullptr;
        const bool plain = prev && sig[i - 1].depth == sig[i].depth
                           && (prev->kind == Token::String || prev->kind == Token::Number || prev->punct(','));
        from[i] = plain ? from[i - 1] : i;
    }
    return from;
}

// Where a statement meets its date columns, and the values it writes into
// columns the server checks. A string literal compared with a date column,
// set into one (UPDATE ... SET) or inserted at one's place names a
// date-time; any other literal is text. The date column of such a
// comparison compares as a date-time (a bare day equal to its midnight).
// A literal written into a column with a limit is checked against it; any
// other value written into a date column or one with a limit goes through
// the engine's conversion or check on its way.
struct DatePlaces
{
    std::vector<bool> literal;               // a string literal that names a date-time
    std::vector<bool> collate;               // a date column compared with a literal
    std::vector<sqlite_checks::Limit> limit; // a literal written into a column with a limit
    std::vector<QString> open;               // a value converted or checked starts here
    std::vector<QString> close;              // and ends here
    explicit DatePlaces(size_t n)
        : literal(n, false)
        , collate(n, false)
        , limit(n)
        , open(n)
        , close(n)
    {}
};

[[noreturn]] void refuse(const QString &what);

// Finds the places of DatePlaces in one statement.
class DatePlaceFinder
{
public:
    DatePlaceFinder(const std::vector<Sig> &sig, const DateColumns &dates)
        : sig(sig)
        , dates(dates)
        , places(sig.size())
    {}

    DatePlaces find()
    {
        if ((dates.byTable.isEmpty() && dates.limits.isEmpty()) || sig.empty())
            return std::move(places);
        first = sig.front().tok->upper();
        size_t after = 0;
        // UPDATE's own columns go unqualified in its SET and WHERE.
        updated = first == "UPDATE" ? lastPart(sig, 1, after) : QString();
        // UPDATE's SET: the column at `j` is one it sets, not one it compares.
        for (size_t k = 0; first == "UPDATE" && k < sig.size(); ++k)
            if (sig[k].depth == 0 && sig[k].tok->is("SET")) {
                setAt = k;
                break;
            }
        literals();
        dateLists();
        if (setAt != 0)
            setValues();
        if (first == "INSERT")
            insertValues();
        return std::move(places);
    }

private:
    QString tableOf(const QStringList &parts, int depth) const
    {
        if (parts.size() >= 2)
            return parts[parts.size() - 2];
        return depth == 0 ? updated : QString();
    }
    // Where the dotted name ending at `j` starts.
    size_t nameStart(size_t j) const
    {
        while (j >= 2 && sig[j - 1].tok->punct('.') && isName(*sig[j - 2].tok))
            j -= 2;
        return j;
    }
    // A column reference ending at `j` / starting at `j`.
    bool columnEndingAt(size_t j) const
    {
        if (j >= sig.size() || !isName(*sig[j].tok))
            return false;
        QStringList parts{sig[j].tok->text.toUpper()};
        while (j >= 2 && sig[j - 1].tok->punct('.') && isName(*sig[j - 2].tok)) {
            parts.prepend(sig[j - 2].tok->text.toUpper());
            j -= 2;
        }
        if (j >= 1 && sig[j - 1].tok->punct('.'))
            return false;
        return dates.has(tableOf(parts, sig[j].depth), parts.back());
    }
    // Its last token, or 0 when there is none.
    size_t columnStartingAt(size_t j) const
    {
        size_t end = 0;
        const QStringList parts = dottedName(sig, j, end);
        if (parts.isEmpty() || (end < sig.size() && sig[end].tok->punct('(')))
            return 0;
        return dates.has(tableOf(parts, sig[j].depth), parts.back()) ? end - 1 : 0;
    }
    // The column in front of a keyword at `k` (col [NOT] BETWEEN, col [NOT] IN): its last token, or 0.
    size_t columnBefore(size_t k) const
    {
        if (k >= 1 && sig[k - 1].tok->is("NOT"))
            --k;
        return k >= 1 && columnEndingAt(k - 1) ? k - 1 : 0;
    }
    bool assigned(size_t j) const
    {
        const size_t start = nameStart(j);
        return setAt != 0 && start > setAt && sig[start].depth == 0
               && (start == setAt + 1 || sig[start - 1].tok->punct(','));
    }
    void compared(size_t column)
    {
        if (column != 0)
            places.collate[column] = true;
    }

    // String literals compared with a date column, or between or in a list
    // beside one.
    void literals()
    {
        std::vector<bool> &at = places.literal;
        std::vector<size_t> runFrom;
        for (size_t i = 0; i < sig.size(); ++i) {
            if (sig[i].tok->kind != Token::String)
                continue;
            size_t column = 0;
            if (i >= 2 && isComparison(*sig[i - 1].tok) && columnEndingAt(i - 2)) {
                at[i] = true;
                if (!(sig[i - 1].tok->punct('=') && assigned(i - 2)))
                    compared(i - 2);
            } else if (i + 2 < sig.size() && isComparison(*sig[i + 1].tok) && (column = columnStartingAt(i + 2)) != 0) {
                at[i] = true;
                compared(column);
            } else if (i >= 1 && sig[i - 1].tok->is("BETWEEN") && (column = columnBefore(i - 1)) != 0) {
                at[i] = true;
                compared(column);
            } else if (i >= 3 && sig[i - 1].tok->is("AND") && sig[i - 3].tok->is("BETWEEN")
                       && (column = columnBefore(i - 3)) != 0) {
                at[i] = true;
                compared(column);
            } else {
                // IN ('...', '...'): a list of plain values only, never a subquery.
                if (runFrom.empty())
                    runFrom = plainRunStarts(sig);
                const size_t j = runFrom[i];
                if (j >= 2 && sig[j - 1].tok->punct('(') && sig[j - 2].tok->is("IN")
                    && (column = columnBefore(j - 2)) != 0) {
                    at[i] = true;
                    compared(column);
                }
            }
        }
    }

    // A date column's IN list whose texts are not all plain items, as in
    // IN ('1/2/24', ('2/2/24')): the others would be compared as texts, not
    // as days, so the list is refused rather than answered otherwise.
    void dateLists()
    {
        const std::vector<bool> &at = places.literal;
        for (size_t k = 2; k + 1 < sig.size(); ++k) {
            if (!sig[k].tok->punct('(') || !sig[k - 1].tok->is("IN") || columnBefore(k - 1) == 0
                || sig[k + 1].tok->is("SELECT"))
                continue;
            const int items = sig[k].depth + 1;
            for (size_t j = k + 1; j < sig.size() && sig[j].depth >= items; ++j) {
                if (sig[j].tok->kind != Token::String || at[j])
                    continue;
                const bool wrapped = sig[j - 1].tok->punct('(') && j + 1 < sig.size() && sig[j + 1].tok->punct(')');
                if (sig[j].depth == items || wrapped)
                    refuse(QStringLiteral("this list of dates (write each day as a plain item)"));
            }
        }
    }

    // A value written into a column, from `from` to `to`: a lone literal is
    // read or checked here, anything else by the engine.
    void into(const QString &table, const QString &column, size_t from, size_t to)
    {
        std::vector<bool> &at = places.literal;
        if (from >= to)
            return;
        const Token &only = *sig[from].tok;
        const bool lone = to == from + 1;
        if (lone && only.is("NULL"))
            return;
        using Kind = sqlite_checks::Limit::Kind;
        const sqlite_checks::Limit limit = dates.limit(table, column);
        QString open, close;
        if (dates.has(table, column)) {
            if (lone && only.kind == Token::String) {
                at[from] = true;
                return;
            }
            open = QStringLiteral("sqlsrv_datetime(");
            close = QStringLiteral(")");
        } else if (limit.kind == Kind::None) {
            return;
        } else if (lone && (only.kind == Token::String || only.kind == Token::Number)) {
            places.limit[from] = limit;
            return;
        } else if (limit.kind == Kind::Text) {
            open = QStringLiteral("sqlsrv_text(");
            close = QStringLiteral(", %1)").arg(limit.length);
        } else {
            open = limit.kind == Kind::Integer ? QStringLiteral("sqlsrv_int(") : QStringLiteral("sqlsrv_money(");
            close = QStringLiteral(", %1, %2, %3)")
                        .arg(QString::number(limit.minimum, 'f', limit.scale),
                             QString::number(limit.maximum, 'f', limit.scale))
                        .arg(limit.scale);
        }
        places.open[from] += open;
        places.close[to - 1] += close;
    }

    // SET c = value, ...: each value at depth 0 up to the next comma, FROM or WHERE.
    void setValues()
    {
        for (size_t j = setAt + 1; j + 2 < sig.size(); ++j) {
            if (!(sig[j + 1].tok->punct('=') && sig[j + 1].depth == 0 && assigned(j)))
                continue;
            const size_t start = nameStart(j);
            QStringList parts;
            for (size_t k = start; k <= j; k += 2)
                parts << sig[k].tok->text.toUpper();
            size_t end = j + 2;
            while (end < sig.size()
                   && !(sig[end].depth == 0
                        && (sig[end].tok->punct(',') || sig[end].tok->is("FROM") || sig[end].tok->is("WHERE"))))
                ++end;
            into(tableOf(parts, 0), parts.back(), j + 2, end);
            j = end;
        }
    }

    void insertValues()
    {
        size_t j = 1;
        if (j < sig.size() && sig[j].tok->is("INTO"))
            ++j;
        size_t after = 0;
        const QString table = lastPart(sig, j, after);
        j = after;
        QStringList columns;
        if (j < sig.size() && sig[j].tok->punct('(')) {
            for (++j; j < sig.size() && !sig[j].tok->punct(')'); ++j)
                if (isName(*sig[j].tok))
                    columns << sig[j].tok->text.toUpper();
            ++j;
        } else {
            columns = dates.order.value(table);
        }
        auto intoItem = [&](qsizetype item, size_t from, size_t to) {
            if (item < columns.size())
                into(table, columns[item], from, to);
        };
        if (j < sig.size() && sig[j].tok->is("VALUES")) {
            qsizetype item = 0;
            size_t itemFrom = j + 2;
            for (++j; j < sig.size(); ++j) {
                const Token &t = *sig[j].tok;
                if (sig[j].depth == 0 && t.punct('(')) {
                    item = 0;
                    itemFrom = j + 1;
                } else if ((sig[j].depth == 1 && t.punct(',')) || (sig[j].depth == 0 && t.punct(')'))) {
                    intoItem(item, itemFrom, j);
                    ++item;
                    itemFrom = j + 1;
                }
            }
        } else if (j < sig.size() && sig[j].tok->is("SELECT")) {
            insertSelect(j, intoItem);
        }
    }

    // INSERT ... SELECT: the items of its own select list, each up to its
    // AS; a list with * goes as it is.
    void insertSelect(size_t j, const std::function<void(qsizetype, size_t, size_t)> &intoItem)
    {
        size_t k = j + 1;
        if (k < sig.size() && (sig[k].tok->is("DISTINCT") || sig[k].tok->is("ALL")))
            ++k;
        if (k + 1 < sig.size() && sig[k].tok->is("TOP"))
            k += 2;
        static const QSet<QString> listEnds
            = {"FROM", "WHERE", "GROUP", "HAVING", "ORDER", "UNION", "EXCEPT", "INTERSECT"};
        std::vector<std::pair<size_t, size_t>> items;
        size_t itemFrom = k, valueEnd = 0;
        bool star = false;
        for (; k <= sig.size(); ++k) {
            const bool end = k == sig.size() || (sig[k].depth == 0 && listEnds.contains(sig[k].tok->upper()));
            if (end || (sig[k].depth == 0 && sig[k].tok->punct(','))) {
                items.push_back({itemFrom, valueEnd != 0 ? valueEnd : k});
                itemFrom = k + 1;
                valueEnd = 0;
                if (end)
                    break;
            } else if (sig[k].depth == 0 && sig[k].tok->punct('*') && (k == itemFrom || sig[k - 1].tok->punct('.'))) {
                star = true;
            } else if (sig[k].depth == 0 && valueEnd == 0 && k > itemFrom && sig[k].tok->is("AS")) {
                valueEnd = k;
            }
        }
        for (qsizetype item = 0; !star && item < qsizetype(items.size()); ++item)
            intoItem(item, items[size_t(item)].first, items[size_t(item)].second);
    }

    const std::vector<Sig> &sig;
    const DateColumns &dates;
    DatePlaces places;
    QString first;
    QString updated;
    size_t setAt = 0;
};

DatePlaces datePlaces(const std::vector<Sig> &sig, const DateColumns &dates)
{
    return DatePlaceFinder(sig, dates).find();
}

// What a CREATE, ALTER or DROP TABLE does to the date columns.
void learnSchema(const std::vector<Sig> &sig, DateColumns &dates)
{
    size_t k = 0;
    while (k + 1 < sig.size()
           && !(sig[k].depth == 0 && sig[k + 1].tok->is("TABLE")
                && (sig[k].tok->is("CREATE") || sig[k].tok->is("ALTER") || sig[k].tok->is("DROP"))))
        ++k;
    if (k + 1 >= sig.size())
        return;
    size_t j = 0;
    const QString table = lastPart(sig, k + 2, j);
    if (table.isEmpty())
        return;
    const QString verb = sig[k].tok->upper();
    if (verb == "DROP") {
        dates.byTable.remove(table);
        dates.order.remove(table);
        dates.limits.remove(table);
        dates.types.remove(table);
        return;
    }
    auto define = [&](size_t c) {
        if (c + 1 < sig.size() && isName(*sig[c].tok) && sig[c + 1].tok->kind == Token::Word) {
            const QString column = sig[c].tok->text.toUpper();
            if (!dates.order[table].contains(column))
                dates.order[table] << column;
            if (isDateType(sig[c + 1].tok->text))
                dates.byTable[table].insert(column);
            else
                dates.byTable[table].remove(column);
            QString type = sig[c + 1].tok->text;
            for (size_t k = c + 2; k < sig.size() && sig[c + 2].tok->punct('('); ++k) {
                type += sig[k].tok->text;
                if (sig[k].tok->punct(')'))
                    break;
            }
            dates.types[table].insert(column, type.toUpper());
            const sqlite_checks::Limit limit = sqlite_checks::limitOf(type);
            if (limit.kind != sqlite_checks::Limit::Kind::None)
                dates.limits[table].insert(column, limit);
            else
                dates.limits[table].remove(column);
        }
    };
    if (verb == "CREATE") {
        dates.byTable.insert(table, {});
        dates.order.insert(table, {});
        dates.limits.insert(table, {});
        dates.types.insert(table, {});
        static const QSet<QString> constraints = {"CONSTRAINT", "PRIMARY", "UNIQUE", "FOREIGN", "CHECK"};
        for (; j < sig.size(); ++j)
            if (sig[j].depth == 1 && (sig[j - 1].tok->punct('(') || sig[j - 1].tok->punct(','))
                && !constraints.contains(sig[j].tok->upper()))
                define(j);
        return;
    }
    // ALTER TABLE t ADD [COLUMN] c type / ALTER COLUMN c type / DROP COLUMN c
    if (j >= sig.size())
        return;
    const QString action = sig[j].tok->upper();
    if (++j < sig.size() && sig[j].tok->is("COLUMN"))
        ++j;
    if (action == "DROP" && j < sig.size()) {
        dates.byTable[table].remove(sig[j].tok->text.toUpper());
        dates.limits[table].remove(sig[j].tok->text.toUpper());
        dates.types[table].remove(sig[j].tok->text.toUpper());
        dates.order[table].removeAll(sig[j].tok->text.toUpper());
    } else if (action == "ADD" || action == "ALTER") {
        define(j);
    }
}

[[noreturn]] void refuse(const QString &what)
{
    throw DialectError(QStringLiteral("The embedded database does not support %1.").arg(what));
}

// Whether the call at `i` is SUM(DISTINCT ...), which the engine's own SUM keeps.
bool sumsDistinct(const std::vector<Sig> &sig, size_t i)
{
    return i + 2 < sig.size() && sig[i + 2].tok->is("DISTINCT");
}

// A literal written into a column with a limit: the server's refusal when it does not fit.
void checkLimit(const Token &t, const sqlite_checks::Limit &limit)
{
    using namespace sqlite_checks;
    if (t.kind == Token::String ? fits(t.text, limit) : fits(t.text.toDouble(), limit))
        return;
    const Refusal r = t.kind == Token::String ? truncated() : overflow(limit);
    throw DialectError(r.message, r.number, r.sqlState, r.nativeError);
}

// A quoted date-time in the stored form; the server's conversion error when it names none.
QString storedDate(const QString &text)
{
    using sqlite_datetime::Reading;
    QString stored;
    const Reading r = sqlite_datetime::fromText(text, stored);
    if (r == Reading::Date)
        return stored;
    if (r == Reading::Unsupported)
        refuse(QStringLiteral("the date '%1' (write yyyymmdd or dd/mm/yyyy)").arg(text));
    const sqlite_datetime::Conversion error = sqlite_datetime::conversionError(r);
    throw DialectError(error.message, DB_E_CANTCONVERTVALUE, error.sqlState, error.nativeError);
}

// Which literals of a statement can be bound instead of written: those that
// stand for a value (compared, set, inserted, listed after IN), outside any
// select list, whose text names the column of an unnamed expression. Other
// literals may be where the engine wants one written (a type's size, a column
// number in ORDER BY), and statements that define things take none.
std::vector<bool> valueLiterals(const std::vector<Sig> &sig)
{
    std::vector<bool> at(sig.size(), false);
    const QString first = sig.front().tok->upper();
    if (first != "SELECT" && first != "INSERT" && first != "UPDATE" && first != "DELETE")
        return at;
    static const QSet<QString> listEnds
        = {"FROM", "INTO", "WHERE", "GROUP", "HAVING", "ORDER", "UNION", "EXCEPT", "INTERSECT"};
    auto valueWord = [](const Token &t) { return t.is("LIKE") || t.is("BETWEEN"); };
    std::vector<char> selecting(1, 0); // depth by depth: inside a select list
    bool values = false;               // past INSERT's VALUES
    std::vector<size_t> runFrom;
    for (size_t i = 0; i < sig.size(); ++i) {
        const Token &t = *sig[i].tok;
        const size_t depth = size_t(sig[i].depth);
        if (selecting.size() < depth + 2)
            selecting.resize(depth + 2, 0);
        if (t.punct('(')) {
            selecting[depth + 1] = 0;
            continue;
        }
        if (t.kind == Token::Word) {
            if (t.is("SELECT"))
                selecting[depth] = 1;
            else if (listEnds.contains(t.upper()))
                selecting[depth] = 0;
            if (depth == 0 && t.is("VALUES") && first == "INSERT")
                values = true;
            continue;
        }
        if (t.kind != Token::String && t.kind != Token::Number)
            continue;
        if (std::any_of(selecting.begin(), selecting.begin() + qsizetype(depth) + 1, [](char c) { return c != 0; }))
            continue;
        const Token *prev = i > 0 ? sig[i - 1].tok : nullptr;
        const Token *next = i + 1 < sig.size() ? sig[i + 1].tok : nullptr;
        const bool item = prev && next && (prev->punct('(') || prev->punct(','))
                          && (next->punct(',') || next->punct(')'));
        if (prev && (isComparison(*prev) || valueWord(*prev)))
            at[i] = true;
        else if (prev && prev->is("AND") && i >= 3 && sig[i - 3].tok->is("BETWEEN"))
            at[i] = true;
        else if (next && isComparison(*next) && !(prev && prev->punct('.')))
            at[i] = true;
        else if (item && values && depth == 1)
            at[i] = true;
        else if (item) {
            // IN ('...', 2): a list of plain values only.
            if (runFrom.empty())
                runFrom = plainRunStarts(sig);
            const size_t j = runFrom[i];
            at[i] = j >= 2 && sig[j - 1].tok->punct('(') && sig[j - 2].tok->is("IN");
        }
    }
    return at;
}

// What an operand of + or of a comparison is, as the server types it.
enum class Operand : char { Unknown, Null, Text, Number, Date };

Operand operandOfType(const QString &declared)
{
    switch (sqlite_values::describeType(declared)) {
    case ColumnKind::Text:
        return Operand::Text;
    case ColumnKind::Integer:
    case ColumnKind::Boolean:
    case ColumnKind::Real:
    case ColumnKind::Money:
        return Operand::Number;
    case ColumnKind::Date:
        return Operand::Date;
    default:
        return Operand::Unknown;
    }
}

// How each + of a statement is written: the server joins two texts and adds
// anything else, turning a text beside a number into a number (or failing
// with 245). A text compared with a number compares as a number too. Where
// an operand's type is not known the statement is refused: a guess would
// join what the server adds or the other way round.
struct Arithmetic
{
    std::vector<bool> joins; // a + that joins texts
    std::vector<Operand> result;
};

// Types the operands of every + and comparison of one statement.
class OperandTyper
{
public:
    OperandTyper(const std::vector<Sig> &sig, const DateColumns &dates, DatePlaces &places)
        : sig(sig)
        , dates(dates)
        , places(places)
        , n(sig.size())
        , a{std::vector<bool>(n, false), std::vector<Operand>(n, Operand::Unknown)}
        , match(n, n)
        , decided(n, false)
    {}

    Arithmetic run()
    {
        std::vector<size_t> open;
        bool any = false;
        for (size_t k = 0; k < n; ++k) {
            if (sig[k].tok->punct('('))
                open.push_back(k);
            else if (sig[k].tok->punct(')') && !open.empty()) {
                match[k] = open.back();
                match[open.back()] = k;
                open.pop_back();
            }
            any = any || (sig[k].tok->punct('+') || isComparison(*sig[k].tok));
        }
        if (!any)
            return std::move(a);
        // A column of no named table (unqualified, or through an alias) is the
        // statement's own tables' one, when they agree on its type.
        for (const Sig &s : sig)
            if (isName(*s.tok) && dates.types.contains(s.tok->upper()))
                tables.insert(s.tok->upper());
        operands();
        return std::move(a);
    }

private:
    QString columnType(const QString &table, const QString &column) const
    {
        if (dates.types.contains(table))
            return dates.types.value(table).value(column);
        QString found;
        for (const QString &own : tables) {
            const QString type = dates.types.value(own).value(column);
            if (type.isEmpty())
                continue;
            if (!found.isEmpty() && sqlite_values::describeType(found) != sqlite_values::describeType(type))
                return QString();
            found = type;
        }
        return found.isEmpty() ? dates.type(QString(), column) : found;
    }

    // The kind of an expression from `s` to `e`: one operand, or a sum.
    Operand expression(size_t s, size_t e)
    {
        if (s > e || s >= n)
            return Operand::Unknown;
        if (sig[s].tok->is("SELECT"))
            return Operand::Unknown;
        size_t lastPlus = n;
        for (size_t k = s; k <= e; ++k) {
            if (sig[k].depth != sig[s].depth)
                continue;
            if (sig[k].tok->punct('+'))
                lastPlus = k;
            else if (sig[k].tok->kind == Token::Punct && QStringLiteral("-*/%").contains(sig[k].tok->text)
                     && sig[k].tok->text.size() == 1)
                return Operand::Number;
        }
        if (lastPlus != n)
            return decide(lastPlus);
        return primary(s, e);
    }

    Operand primary(size_t s, size_t e)
    {
        const Token &t = *sig[s].tok;
        if (s == e) {
            if (t.kind == Token::String)
                return Operand::Text;
            if (t.kind == Token::Number)
                return Operand::Number;
            if (t.is("NULL"))
                return Operand::Null;
        }
        if (t.punct('(') && match[s] == e)
            return expression(s + 1, e - 1);
        if (isName(t) && s + 1 < n && sig[s + 1].tok->punct('(') && match[s + 1] == e)
            return functionOperand(s, e);
        // A column: name or table.name.
        size_t end = 0;
        const QStringList parts = dottedName(sig, s, end);
        if (parts.isEmpty() || end != e + 1)
            return Operand::Unknown;
        return operandOfType(columnType(parts.size() >= 2 ? parts[parts.size() - 2] : QString(), parts.back()));
    }

    // A function call from `s` to `e`: what it gives.
    Operand functionOperand(size_t s, size_t e)
    {
        const Token &t = *sig[s].tok;
        const QString f = t.upper();
        static const QSet<QString> texts = {"LTRIM",
                                            "RTRIM",
                                            "SUBSTRING",
                                            "LEFT",
                                            "RIGHT",
                                            "UPPER",
                                            "LOWER",
                                            "REPLACE",
                                            "REPLICATE",
                                            "STR",
                                            "CHAR",
                                            "SPACE"};
        static const QSet<QString> numbers = {"LEN",
                                              "CHARINDEX",
                                              "PATINDEX",
                                              "COUNT",
                                              "DATEDIFF",
                                              "DATEPART",
                                              "YEAR",
                                              "MONTH",
                                              "DAY",
                                              "ABS",
                                              "ROUND",
                                              "FLOOR",
                                              "CEILING",
                                              "SUM",
                                              "AVG"};
        if (texts.contains(f))
            return Operand::Text;
        if (numbers.contains(f))
            return Operand::Number;
        if (f == "GETDATE" || f == "DATEADD")
            return Operand::Date;
        // The first argument's type; ISNULL and COALESCE pass over a NULL.
        size_t from = s + 2;
        if (f == "CAST") {
            for (size_t k = from; k < e; ++k)
                if (sig[k].depth == sig[s + 1].depth + 1 && sig[k].tok->is("AS") && k + 1 < e)
                    return operandOfType(sig[k + 1].tok->text);
            return Operand::Unknown;
        }
        if (f == "CONVERT")
            return operandOfType(sig[from].tok->text);
        if (f != "ISNULL" && f != "COALESCE" && f != "MAX" && f != "MIN" && f != "NULLIF")
            return Operand::Unknown;
        Operand kind = Operand::Null;
        while (from < e && kind == Operand::Null) {
            size_t to = from;
            while (to < e && !(sig[to].depth == sig[s + 1].depth + 1 && sig[to].tok->punct(',')))
                ++to;
            kind = expression(from, to - 1);
            if (f != "ISNULL" && f != "COALESCE")
                break;
            from = to + 1;
        }
        return kind;
    }

    // The operand ending at `e`, and where it starts.
    Operand before(size_t e, size_t &s)
    {
        s = e;
        if (sig[e].tok->punct(')') && match[e] < n) {
            s = match[e];
            if (s >= 1 && isName(*sig[s - 1].tok))
                --s;
        } else {
            while (s >= 2 && sig[s - 1].tok->punct('.') && isName(*sig[s - 2].tok))
                s -= 2;
        }
        return primary(s, e);
    }
    // The operand starting at `s`, and where it ends.
    Operand behind(size_t s, size_t &e)
    {
        e = s;
        if (sig[s].tok->punct('(') && match[s] < n)
            e = match[s];
        else if (isName(*sig[s].tok) && s + 1 < n && sig[s + 1].tok->punct('(') && match[s + 1] < n)
            e = match[s + 1];
        else {
            size_t end = 0;
            if (!dottedName(sig, s, end).isEmpty())
                e = end - 1;
        }
        return primary(s, e);
    }
    void asNumber(size_t s, size_t e)
    {
        places.open[s] += QStringLiteral("sqlsrv_number(");
        places.close[e] += QStringLiteral(")");
    }
    [[noreturn]] void unknown(size_t i) const
    {
        QString text;
        for (size_t k = i >= 3 ? i - 3 : 0; k < std::min(n, i + 4); ++k)
            text += sig[k].tok->text + ' ';
        throw DialectError(QStringLiteral("The embedded database does not know the types of the operands of + in '%1'.")
                               .arg(text.trimmed()));
    }

    Operand decide(size_t i)
    {
        if (decided[i])
            return a.result[i];
        decided[i] = true;
        if (i == 0 || i + 1 >= n)
            unknown(i);
        size_t ls = 0, re = 0;
        Operand left = before(i - 1, ls);
        bool chained = false;
        if (ls >= 1 && sig[ls - 1].depth == sig[i].depth) {
            const Token &op = *sig[ls - 1].tok;
            if (op.punct('+')) {
                left = decide(ls - 1);
                chained = true;
            } else if (op.kind == Token::Punct
                       && (op.text == "-" || op.text == "*" || op.text == "/" || op.text == "%")) {
                left = Operand::Number;
                chained = true;
            }
        }
        Operand right = behind(i + 1, re);
        if (re + 1 < n && sig[re + 1].tok->kind == Token::Punct
            && (sig[re + 1].tok->text == "*" || sig[re + 1].tok->text == "/" || sig[re + 1].tok->text == "%"))
            right = Operand::Number;
        if (left == Operand::Null)
            left = right == Operand::Null ? Operand::Number : right;
        if (right == Operand::Null)
            right = left;
        Operand result = Operand::Unknown;
        if (left == Operand::Text && right == Operand::Text) {
            a.joins[i] = true;
            result = Operand::Text;
        } else if (left == Operand::Number && right == Operand::Number) {
            result = Operand::Number;
        } else if (left == Operand::Number && right == Operand::Text) {
            asNumber(i + 1, re);
            result = Operand::Number;
        } else if (left == Operand::Text && right == Operand::Number && !chained) {
            asNumber(ls, i - 1);
            result = Operand::Number;
        } else {
            unknown(i);
        }
        a.result[i] = result;
        return result;
    }

    // Each + decided; a text column compared with a number, compared as a number.
    void operands()
    {
        const QString first = sig.front().tok->upper();
        // An UPDATE's SET up to its WHERE assigns rather than compares.
        size_t setAt = n, whereAt = n;
        for (size_t k = 0; first == "UPDATE" && k < n; ++k) {
            if (sig[k].depth == 0 && sig[k].tok->is("SET") && setAt == n)
                setAt = k;
            if (sig[k].depth == 0 && sig[k].tok->is("WHERE") && setAt != n) {
                whereAt = k;
                break;
            }
        }
        for (size_t i = 0; i < n; ++i) {
            if (sig[i].tok->punct('+')) {
                decide(i);
                continue;
            }
            if (!isComparison(*sig[i].tok) || i == 0 || i + 1 >= n)
                continue;
            if (sig[i].depth == 0 && i > setAt && i < whereAt)
                continue;
            // A text column compared with a number: compared as a number.
            size_t s = 0, e = 0;
            const bool numberAfter = sig[i + 1].tok->kind == Token::Number
                                     && (i + 2 >= n
                                         || !(sig[i + 2].tok->kind == Token::Punct
                                              && QStringLiteral("+-*/%").contains(sig[i + 2].tok->text)));
            const bool numberBefore = sig[i - 1].tok->kind == Token::Number
                                      && (i < 2
                                          || !(sig[i - 2].tok->kind == Token::Punct
                                               && QStringLiteral("+-*/%").contains(sig[i - 2].tok->text)));
            if (numberAfter && before(i - 1, s) == Operand::Text
                && (s == 0
                    || !(sig[s - 1].tok->kind == Token::Punct
                         && QStringLiteral("+-*/%").contains(sig[s - 1].tok->text))))
                asNumber(s, i - 1);
            else if (numberBefore && behind(i + 1, e) == Operand::Text
                     && (e + 1 >= n
                         || !(sig[e + 1].tok->kind == Token::Punct
                              && QStringLiteral("+-*/%").contains(sig[e + 1].tok->text))))
                asNumber(i + 1, e);
        }
    }

    const std::vector<Sig> &sig;
    const DateColumns &dates;
    DatePlaces &places;
    const size_t n;
    Arithmetic a;
    std::vector<size_t> match;
    std::vector<bool> decided;
    QSet<QString> tables;
};

Arithmetic arithmetic(const std::vector<Sig> &sig, const DateColumns &dates, DatePlaces &places)
{
    return OperandTyper(sig, dates, places).run();
}

// Translates one ordinary statement (no transaction word, no IF). With
// `parameters`, the literals that can be bound become "?" and are listed there.
// Writes one statement's significant tokens in the engine's SQL, token by
// token; each kind of clause the translation changes has its own method,
// which answers whether it wrote the token (and any it took after it).
class PlainWriter
{
public:
    PlainWriter(const std::vector<Sig> &sig, const DateColumns &dates, std::vector<DialectParameter> *parameters)
        : sig(sig)
        , parameters(parameters)
        , first(sig.front().tok->upper())
        , tableDdl((first == "CREATE" || first == "ALTER") && sig.size() > 1 && sig[1].tok->is("TABLE"))
        , places(datePlaces(sig, dates))
        , sums(tableDdl ? Arithmetic{std::vector<bool>(sig.size(), false), {}} : arithmetic(sig, dates, places))
        , boundAt(parameters ? valueLiterals(sig) : std::vector<bool>(sig.size(), false))
    {}

    QString write()
    {
        // TRUNCATE TABLE t is DELETE FROM t.
        if (first == "TRUNCATE") {
            if (sig.size() < 3 || !sig[1].tok->is("TABLE"))
                refuse(QStringLiteral("this TRUNCATE statement"));
            out = QStringLiteral("DELETE FROM");
            i = 2;
        }
        finished = i;
        for (; i < sig.size(); ++i) {
            const Token &t = *sig[i].tok;
            finishBefore(i);
            spaced = sig[i].spaced || carrySpace;
            carrySpace = false;
            if (!places.open[i].isEmpty()) {
                put(places.open[i]);
                spaced = false;
            }
            if (owner(t))
                continue;
            if (t.kind == Token::Word) {
                word(t);
                continue;
            }
            if (boundAt[i]) {
                parameter(t);
                continue;
            }
            if (places.limit[i].kind != sqlite_checks::Limit::Kind::None)
                checkLimit(t, places.limit[i]);
            if (t.kind == Token::String) {
                string(t);
                continue;
            }
            if (t.kind == Token::Punct) {
                punct(t);
                continue;
            }
            put(text(t));
        }
        finishBefore(sig.size());
        spaced = true;
        if (pendingLimit[0])
            put(QStringLiteral("LIMIT ") + *pendingLimit[0]);
        return out;
    }

private:
    const Token *next() const { return i + 1 < sig.size() ? sig[i + 1].tok : nullptr; }
    const Token *prev() const { return i > 0 ? sig[i - 1].tok : nullptr; }

    // Pieces keep the blanks of the original; words the translation adds get
    // one. Two words never touch: a keyword written right after a literal
    // ('a'OR) stays apart from the COLLATE clause the literal gets.
    void put(const QString &piece)
    {
        if (!out.isEmpty() && !out.endsWith(' ')
            && (spaced || (!piece.isEmpty() && isWordChar(out.back()) && isWordChar(piece.front()))))
            out += ' ';
        out += piece;
        spaced = true;
    }

    // What follows a token: the date collation of a compared date column,
    // the end of a value turned into a date-time.
    void finishBefore(size_t k)
    {
        for (; finished < k; ++finished) {
            if (places.collate[finished])
                out += QStringLiteral(" COLLATE ") + QLatin1String(sqlite_datetime::kDateCollation);
            out += places.close[finished];
        }
    }

    // Owners: dbo.T names the table of this database.
    bool owner(const Token &t)
    {
        if ((t.kind != Token::Word && t.kind != Token::QuotedName)
            || t.text.compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0 || !next() || !next()->punct('.'))
            return false;
        ++i;
        carrySpace = spaced;
        return true;
    }

    void word(const Token &t)
    {
        const QString up = t.upper();
        if (up.startsWith('@'))
            refuse(QStringLiteral("variables (%1)").arg(t.text));
        if (function(up) || up == "CLUSTERED" || up == "NONCLUSTERED")
            return;
        if (up == "IDENTITY")
            refuse(QStringLiteral("IDENTITY columns"));
        if (tableHint(up) || top(up) || deleteStatement(up) || alterAdd(up) || textColumnType(t, up))
            return;
        put(t.text);
    }

    // A call of a function the engine names otherwise, or one it lacks.
    bool function(const QString &up)
    {
        if (!next() || !next()->punct('('))
            return false;
        if (up == "CONVERT" || up == "DATEADD" || up == "DATEDIFF" || up == "DATEPART" || up == "DATENAME"
            || up == "REPLICATE" || up == "STR" || up == "PATINDEX")
            refuse(QStringLiteral("the function %1").arg(up));
        static const QSet<QString> textFunctions
            = {"ISNULL", "LEFT", "RIGHT", "LTRIM", "RTRIM", "SUBSTRING", "UPPER", "LOWER", "REPLACE"};
        if (!tableDdl && textFunctions.contains(up))
            collateNextCall = true;
        if (up == "SUM" && !sumsDistinct(sig, i))
            put(QStringLiteral("sqlsrv_sum"));
        else if (up == "ISNULL")
            put(QStringLiteral("IFNULL"));
        else if (up == "LEFT")
            put(QStringLiteral("sqlsrv_left"));
        else if (up == "RIGHT")
            put(QStringLiteral("sqlsrv_right"));
        else
            return false;
        return true;
    }

    // Locking hints go: a transaction here holds the whole file's write lock
    // from its start (BEGIN IMMEDIATE).
    bool tableHint(const QString &up)
    {
        if (up != "WITH" || !next() || !next()->punct('('))
            return false;
        static const QSet<QString> locks
            = {"UPDLOCK", "ROWLOCK", "HOLDLOCK", "NOLOCK", "XLOCK", "PAGLOCK", "TABLOCK", "TABLOCKX", "READUNCOMMITTED"};
        size_t j = i + 2;
        while (j < sig.size() && (locks.contains(sig[j].tok->upper()) || sig[j].tok->punct(',')))
            ++j;
        if (j == i + 2 || j >= sig.size() || !sig[j].tok->punct(')'))
            refuse(QStringLiteral("table hints (WITH (...))"));
        i = j;
        return true;
    }

    // TOP n becomes the LIMIT of its SELECT, written where that ends.
    bool top(const QString &up)
    {
        if (up != "TOP" || !prev() || !(prev()->is("SELECT") || prev()->is("DISTINCT") || prev()->is("ALL")))
            return false;
        const Token *n = next();
        QString count;
        if (n && n->kind == Token::Number) {
            count = n->text;
            i += 1;
        } else if (n && n->punct('(') && i + 3 < sig.size() && sig[i + 2].tok->kind == Token::Number
                   && sig[i + 3].tok->punct(')')) {
            count = sig[i + 2].tok->text;
            i += 3;
        } else {
            refuse(QStringLiteral("TOP without a number"));
        }
        bool whole = false;
        count.toLongLong(&whole);
        if (!whole)
            refuse(QStringLiteral("TOP %1").arg(count));
        if (i + 1 < sig.size() && (sig[i + 1].tok->is("PERCENT") || sig[i + 1].tok->is("WITH")))
            refuse(QStringLiteral("TOP ... %1").arg(sig[i + 1].tok->upper()));
        pendingLimit[size_t(depth)] = count;
        return true;
    }

    // DELETE t is DELETE FROM t.
    bool deleteStatement(const QString &up)
    {
        if (up != "DELETE" || i != 0)
            return false;
        put(QStringLiteral("DELETE"));
        if (next() && !next()->is("FROM")) {
            // DELETE t FROM t JOIN ... has no SQLite form.
            size_t j = i + 2;
            while (j + 1 < sig.size() && sig[j].tok->punct('.'))
                j += 2;
            if (j < sig.size() && sig[j].tok->is("FROM"))
                refuse(QStringLiteral("DELETE with a FROM clause of its own"));
            put(QStringLiteral("FROM"));
        }
        return true;
    }

    // ALTER TABLE t ADD c is ADD COLUMN, one column at a time.
    bool alterAdd(const QString &up)
    {
        if (first != "ALTER" || up != "ADD" || !tableDdl)
            return false;
        for (size_t j = i + 1; j < sig.size(); ++j)
            if (sig[j].depth == 0 && sig[j].tok->punct(','))
                refuse(QStringLiteral("ALTER TABLE ... ADD of several columns"));
        const Token *n = next();
        if (n && (n->is("CONSTRAINT") || n->is("PRIMARY") || n->is("UNIQUE") || n->is("FOREIGN") || n->is("CHECK")))
            refuse(QStringLiteral("ALTER TABLE ... ADD of a table constraint"));
        put(QStringLiteral("ADD COLUMN"));
        if (n && n->is("COLUMN"))
            ++i;
        return true;
    }

    // A text column's type, with its size, gets the text collation.
    bool textColumnType(const Token &t, const QString &up)
    {
        const Token *p = prev();
        if (!tableDdl || !textTypes().contains(up) || !p || (p->kind != Token::Word && p->kind != Token::QuotedName)
            || i < 2
            || !(sig[i - 2].tok->punct('(') || sig[i - 2].tok->punct(',') || sig[i - 2].tok->is("ADD")
                 || sig[i - 2].tok->is("COLUMN")))
            return false;
        put(t.text);
        if (next() && next()->punct('(')) {
            size_t j = i + 1;
            QString size;
            while (j < sig.size() && !sig[j].tok->punct(')'))
                size += sig[j++].tok->text;
            out += size + ')';
            i = j;
        }
        put(QStringLiteral("COLLATE %1").arg(QLatin1String(kTextCollation)));
        return true;
    }

    // A value literal, taken as a parameter.
    void parameter(const Token &t)
    {
        using As = DialectParameter::As;
        const As as = t.kind == Token::Number ? As::Number : places.literal[i] ? As::Date : As::Text;
        parameters->push_back({t.literal, as, places.limit[i]});
        put(as == As::Text ? QStringLiteral("? COLLATE ") + QLatin1String(kTextCollation) : QStringLiteral("?"));
    }

    void string(const Token &t)
    {
        if (places.literal[i])
            put(quoteString(storedDate(t.text)));
        else if (tableDdl)
            put(quoteString(t.text));
        else
            put(quoteString(sqlite_checks::kept(t.text, places.limit[i]).toString()) + QStringLiteral(" COLLATE ")
                + QLatin1String(kTextCollation));
    }

    void punct(const Token &t)
    {
        if (t.text == "+" && sums.joins[i]) {
            put(QStringLiteral("||"));
        } else if (t.text == "(") {
            put(QStringLiteral("("));
            ++depth;
            pendingLimit.resize(size_t(depth) + 1);
            pendingLimit[size_t(depth)].reset();
            collateAfter.resize(size_t(depth) + 1);
            collateAfter[size_t(depth)] = collateNextCall;
            collateNextCall = false;
        } else if (t.text == ")") {
            if (depth > 0 && pendingLimit[size_t(depth)]) {
                spaced = true;
                put(QStringLiteral("LIMIT ") + *pendingLimit[size_t(depth)]);
            }
            out += ')';
            if (depth > 0) {
                if (collateAfter[size_t(depth)])
                    out += QStringLiteral(" COLLATE ") + QLatin1String(kTextCollation);
                --depth;
            }
        } else if (t.text == "." || t.text == ",") {
            out += t.text;
        } else {
            if (t.text == "!<" || t.text == "!>")
                refuse(t.text);
            put(t.text);
        }
    }

    const std::vector<Sig> &sig;
    std::vector<DialectParameter> *parameters;
    const QString first;
    const bool tableDdl;
    DatePlaces places;
    const Arithmetic sums;
    const std::vector<bool> boundAt;
    QString out;
    bool spaced = false;
    bool carrySpace = false; // the blank in front of a dropped "dbo."
    std::vector<std::optional<QString>> pendingLimit = std::vector<std::optional<QString>>(1);
    // Text functions lose the column's collation: their result gets it back,
    // so trimmed or cut values still compare as the server compares them.
    std::vector<bool> collateAfter = std::vector<bool>(1, false);
    bool collateNextCall = false;
    int depth = 0;
    size_t i = 0;
    size_t finished = 0;
};

QString translatePlain(const std::vector<Sig> &sig,
                       const DateColumns &dates,
                       std::vector<DialectParameter> *parameters = nullptr)
{
    return PlainWriter(sig, dates, parameters).write();
}

std::optional<DialectStatement> translateStatement(const Tokens &toks, const DateColumns &dates, bool bind = false)
{
    const std::vector<Sig> sig = significant(toks);
    if (sig.empty())
        return std::nullopt;
    const QString first = sig.front().tok->upper();
    DialectStatement st;

    auto transactionTail = [&](size_t from) {
        size_t i = from;
        if (i < sig.size() && (sig[i].tok->is("TRAN") || sig[i].tok->is("TRANSACTION") || sig[i].tok->is("WORK")))
            ++i;
        if (i < sig.size() && (sig[i].tok->kind == Token::Word || sig[i].tok->kind == Token::QuotedName))
            ++i; // a transaction name
        return i == sig.size();
    };

    if (first == "SET") {
        const QString what = sig.size() > 1 ? sig[1].tok->upper() : QString();
        const QString value = sig.size() > 2 ? sig[2].tok->upper() : QString();
        if (sig.size() == 3 && what == "NOCOUNT" && (value == "ON" || value == "OFF"))
            return std::nullopt;
        if (sig.size() == 3 && what == "DATEFORMAT" && value == "DMY")
            return std::nullopt;
        refuse(QStringLiteral("SET %1").arg(what));
    }
    if (first == "BEGIN") {
        if (sig.size() < 2 || !(sig[1].tok->is("TRAN") || sig[1].tok->is("TRANSACTION")) || !transactionTail(1))
            refuse(QStringLiteral("BEGIN ... END blocks"));
        st.kind = DialectStatement::Kind::Begin;
        return st;
    }
    if (first == "COMMIT" || first == "ROLLBACK") {
        if (!transactionTail(1))
            refuse(first + QStringLiteral(" with these words"));
        st.kind = first == "COMMIT" ? DialectStatement::Kind::Commit : DialectStatement::Kind::Rollback;
        return st;
    }
    if (first == "IF") {
        size_t i = 1;
        if (i < sig.size() && sig[i].tok->is("NOT")) {
            st.negate = true;
            ++i;
        }
        if (i + 1 >= sig.size() || !sig[i].tok->is("EXISTS") || !sig[i + 1].tok->punct('('))
            refuse(QStringLiteral("IF without EXISTS (query)"));
        const size_t open = i + 1;
        size_t close = open + 1;
        while (close < sig.size() && !(sig[close].depth == 0 && sig[close].tok->punct(')')))
            ++close;
        if (close >= sig.size())
            throw DialectError(QStringLiteral("Incorrect syntax near 'EXISTS'."));
        // Rebuild the inner query and the body from the original tokens.
        const Token *innerFirst = sig[open + 1].tok;
        const Token *innerEnd = sig[close].tok;
        const Token *bodyFirst = close + 1 < sig.size() ? sig[close + 1].tok : nullptr;
        if (!bodyFirst)
            throw DialectError(QStringLiteral("Incorrect syntax near ')': IF EXISTS needs a statement."));
        Tokens inner, body;
        bool inInner = false, inBody = false;
        for (const Token &t : toks) {
            if (&t == innerFirst)
                inInner = true;
            if (&t == innerEnd)
                inInner = false;
            if (&t == bodyFirst)
                inBody = true;
            if (inInner)
                inner.push_back(t);
            if (inBody)
                body.push_back(t);
        }
        const std::vector<Sig> innerSig = significant(inner);
        if (innerSig.empty() || !innerSig.front().tok->is("SELECT"))
            refuse(QStringLiteral("IF EXISTS without a query"));
        st.kind = DialectStatement::Kind::IfExists;
        st.condition = QStringLiteral("SELECT EXISTS (")
                       + translatePlain(innerSig, dates, bind ? &st.conditionParameters : nullptr) + ')';
        const std::optional<DialectStatement> inside = translateStatement(body, dates, bind);
        if (inside)
            st.body.push_back(*inside);
        return st;
    }
    if (first == "EXEC" || first == "EXECUTE" || first == "DECLARE" || first == "PRINT" || first == "GRANT")
        refuse(first);
    st.sql = translatePlain(sig, dates, bind ? &st.parameters : nullptr);
    return st;
}

} // namespace

sqlite_checks::Limit DateColumns::limit(const QString &table, const QString &column) const
{
    const auto own = limits.constFind(table);
    return own == limits.constEnd() ? sqlite_checks::Limit() : own->value(column);
}

QString DateColumns::type(const QString &table, const QString &column) const
{
    const auto own = types.constFind(table);
    if (own != types.constEnd())
        return own->value(column);
    QString found;
    for (const QHash<QString, QString> &columns : types) {
        const auto c = columns.constFind(column);
        if (c == columns.constEnd())
            continue;
        if (!found.isEmpty() && sqlite_values::describeType(found) != sqlite_values::describeType(*c))
            return {};
        found = *c;
    }
    return found;
}

bool DateColumns::has(const QString &table, const QString &column) const
{
    const auto own = byTable.constFind(table);
    if (own != byTable.constEnd())
        return own->contains(column);
    for (const QSet<QString> &columns : byTable)
        if (columns.contains(column))
            return true;
    return false;
}

std::vector<DialectStatement> SqliteDialect::translateBatch(const QString &batch, const DateColumns &given)
{
    std::vector<DialectStatement> out;
    DateColumns dates = given;
    for (const Tokens &statement : read(batch)) {
        if (std::optional<DialectStatement> st = translateStatement(statement, dates))
            out.push_back(std::move(*st));
        learnSchema(significant(statement), dates);
    }
    return out;
}

namespace {

// Writes a batch's shape from its lexemes, in order: the text between
// literals goes to the key in one piece. A literal's text is the batch's
// own characters, not a copy, unless its quotes are doubled.
class ShapeWriter
{
public:
    explicit ShapeWriter(const QString &batch)
        : m_s(batch.constData())
        , m_size(batch.size())
    {
        // Written in place: a blank is never longer than its literal, so the
        // key is never longer than the batch.
        m_out.key.resize(batch.size());
        m_key = m_out.key.data();
    }
    void add(const Lexeme &l)
    {
        if (l.kind == Token::String)
            string(l);
        else if (l.kind == Token::Number)
            number(l);
    }
    BatchShape finish()
    {
        copy(m_size);
        m_out.key.truncate(m_written);
        return std::move(m_out);
    }

private:
    void string(const Lexeme &l)
    {
        const qsizetype open = m_s[l.at] == '\'' ? l.at : l.at + 1;
        if (l.doubled)
            m_out.literals.push_back(
                {QString(m_s + open + 1, l.end - open - 2).replace(QLatin1String("''"), QLatin1String("'")), true});
        else
            m_out.literals.push_back({QString::fromRawData(m_s + open + 1, l.end - open - 2), true});
        literal(open, l.end, u"''");
    }
    void number(const Lexeme &l)
    {
        m_out.literals.push_back({QString::fromRawData(m_s + l.at, l.end - l.at), false});
        literal(l.at, l.end, u"0");
    }
    // The batch's text up to `to` not yet in the key.
    void copy(qsizetype to)
    {
        std::copy(m_s + m_pending, m_s + to, m_key + m_written);
        m_written += to - m_pending;
    }
    template<size_t N>
    void literal(qsizetype from, qsizetype to, const char16_t (&blank)[N])
    {
        copy(from);
        for (size_t k = 0; k + 1 < N; ++k)
            m_key[m_written++] = QChar(blank[k]);
        m_out.places.push_back({from, to, m_written});
        m_pending = to;
    }
    const QChar *m_s;
    qsizetype m_size;
    QChar *m_key;
    qsizetype m_written = 0; // the key's length so far
    qsizetype m_pending = 0; // start of the text not yet in the key
    BatchShape m_out;
};

// Where a statement of splitBatch() is, from its first significant lexeme to past its last.
std::pair<qsizetype, qsizetype> extent(const Lexemes &statement)
{
    const auto significant = [](const Lexeme &l) { return l.significant(); };
    const auto first = std::find_if(statement.begin(), statement.end(), significant);
    const auto last = std::find_if(statement.rbegin(), statement.rend(), significant);
    return {first->at, last->end};
}

} // namespace

BatchShape SqliteDialect::shape(const QString &batch)
{
    // Reads the text as lex() does, without building tokens.
    ShapeWriter writer(batch);
    try {
        Lexer lexer(batch);
        for (Lexeme l{Token::Space}; lexer.next(l);)
            writer.add(l);
    } catch (const DialectError &) {
        return {}; // an unclosed quote or comment
    }
    return writer.finish();
}

BatchReading SqliteDialect::shapeAndStatements(const QString &batch)
{
    // The statements' lexemes hold every literal of the batch: what lies
    // between statements is blanks, comments, ";" and GO.
    ShapeWriter writer(batch);
    BatchReading out;
    out.statements.reusable = true;
    try {
        splitBatch(batch, [&](const Lexemes &statement) {
            for (const Lexeme &l : statement)
                writer.add(l);
            out.statements.reusable = out.statements.reusable && definesNothing(batch, statement);
            out.statements.at.push_back(extent(statement));
        });
    } catch (const DialectError &) {
        return {}; // an unclosed quote or comment
    }
    out.shape = writer.finish();
    return out;
}

namespace {

ReusableBatch translateForReuse(const std::vector<Tokens> &statements, bool reusable, const DateColumns &given)
{
    ReusableBatch out;
    for (const Tokens &statement : statements)
        for (const Token &t : statement)
            if (t.literal >= 0)
                out.literals.push_back({t.text, t.kind == Token::String});
    out.reusable = reusable;
    DateColumns dates = given;
    for (const Tokens &statement : statements) {
        if (std::optional<DialectStatement> st = translateStatement(statement, dates, out.reusable))
            out.statements.push_back(std::move(*st));
        learnSchema(significant(statement), dates);
    }
    out.bound.assign(out.literals.size(), false);
    std::function<void(const DialectStatement &)> mark = [&](const DialectStatement &st) {
        for (const DialectParameter &p : st.parameters)
            out.bound[size_t(p.literal)] = true;
        for (const DialectParameter &p : st.conditionParameters)
            out.bound[size_t(p.literal)] = true;
        for (const DialectStatement &b : st.body)
            mark(b);
    };
    for (const DialectStatement &st : out.statements)
        mark(st);
    return out;
}

} // namespace

BatchStatements SqliteDialect::statements(const QString &batch)
{
    BatchStatements out;
    out.reusable = true;
    splitBatch(batch, [&](const Lexemes &statement) {
        out.reusable = out.reusable && definesNothing(batch, statement);
        out.at.push_back(extent(statement));
    });
    return out;
}

ReusableBatch SqliteDialect::translateReusableStatement(const QString &statement, const DateColumns &dates)
{
    const Lexemes lexemes = lex(statement);
    int literals = 0;
    return translateForReuse({tokensOf(statement, lexemes, literals)}, definesNothing(statement, lexemes), dates);
}

} // namespace ado
