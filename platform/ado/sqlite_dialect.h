#pragma once

#include "platform/ado/ado.h"
#include "platform/ado/sqlite_checks.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVarLengthArray>

#include <stdexcept>
#include <vector>

// SQL Server's syntax, as the system writes it, turned into statements the
// embedded SQLite engine runs with SQL Server's meaning. What it does not
// know it refuses (DialectError) rather than guess.
namespace ado {

class DialectError : public std::runtime_error
{
public:
    explicit DialectError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {}
    // An error the server itself gives, with its family, state and number.
    DialectError(const QString &message, std::int32_t number, QString sqlState, std::int32_t nativeError)
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_number(number)
        , m_sqlState(std::move(sqlState))
        , m_nativeError(nativeError)
    {}
    const QString &message() const { return m_message; }
    // As the Errors collection holds it, from `source`.
    Error error(const QString &source) const { return {m_number, m_message, source, m_sqlState, m_nativeError}; }

private:
    QString m_message;
    std::int32_t m_number = DB_E_ERRORSINCOMMAND;
    QString m_sqlState = QStringLiteral("42000");
    std::int32_t m_nativeError = 1; // the engine's SQLITE_ERROR
};

// The collation of text columns and text literals: case-insensitive and
// blind to trailing blanks, as SQL Server's default collation.
inline constexpr const char *kTextCollation = "SQLTEXT";

// A literal of a batch: a quoted text (its content, quotes removed and ''
// undone) or a number (as written). A batch's literals are numbered in the
// order they are written.
struct DialectLiteral
{
    QString text;
    bool isString = false;
    bool operator==(const DialectLiteral &) const = default;
};

// Where a statement takes a literal of its batch as a bound parameter, in the
// order of its "?" marks.
struct DialectParameter
{
    enum class As {
        Text,   // the literal's text
        Date,   // a quoted day, bound as stored; one that is no day cannot be bound
        Number, // an integer when it has no point or exponent and fits, else a real
    };
    int literal = -1;
    As as = As::Text;
    sqlite_checks::Limit limit; // of the column it is written into
};

struct DialectStatement
{
    enum class Kind {
        Sql,      // `sql` runs as it is
        Begin,    // BEGIN TRAN[SACTION]
        Commit,   // COMMIT [TRAN[SACTION]]
        Rollback, // ROLLBACK [TRAN[SACTION]]
        IfExists, // runs `body` when `condition` (a SELECT EXISTS) gives 1, or 0 with `negate`
    };
    Kind kind = Kind::Sql;
    QString sql;
    QString condition;
    bool negate = false;
    std::vector<DialectStatement> body;                // one statement for IfExists
    std::vector<DialectParameter> parameters;          // of `sql`
    std::vector<DialectParameter> conditionParameters; // of `condition`
};

// A batch's text with the value of every literal blanked ('' and 0), and the
// literals: batches of one shape differ only in their literals.
struct BatchShape
{
    QString key; // empty when the text cannot be read (an unclosed quote or comment)
    // Their texts are the batch's own characters, not copies (but for a text
    // with its quotes doubled): read them only while the batch lives unchanged.
    std::vector<DialectLiteral> literals;
    // Where each literal is written in the batch, and where its blank ends in
    // the key; held inline, since most batches have few.
    struct Place
    {
        qsizetype at, end, keyEnd;
    };
    QVarLengthArray<Place, 32> places;
};

// A batch translated for reuse: the literals that stand for values (compared
// with, set, inserted, listed after IN) are parameters; the others stay in the
// text. Batches of its shape whose other literals are the same translate the
// same way, as long as the schema does not change.
struct ReusableBatch
{
    std::vector<DialectStatement> statements;
    std::vector<DialectLiteral> literals; // every literal of the batch, in order
    std::vector<bool> bound;              // literal by literal: taken as a parameter
    bool reusable = false;                // false when a statement changes the schema
};

// Where a batch's statements are, each from its first significant character
// to past its last, and whether the batch defines nothing: no statement
// creates, alters or drops anything, so that each can be translated for reuse.
struct BatchStatements
{
    std::vector<std::pair<qsizetype, qsizetype>> at;
    bool reusable = false;
};

// A batch read once: its shape and its statements. Both are empty when the
// text cannot be read.
struct BatchReading
{
    BatchShape shape;
    BatchStatements statements;
};

// The date columns of the database, upper-case, table by table, and the
// limits of the others. A quoted date means a day only where it meets one
// of these.
struct DateColumns
{
    QHash<QString, QSet<QString>> byTable;
    QHash<QString, QStringList> order; // every column, as declared: INSERT without a column list
    // With a table this database has, its own columns; otherwise (an alias,
    // a subquery, no table at all) a date column of any table.
    bool has(const QString &table, const QString &column) const;
    // What the server checks of a value written into a column (see
    // sqlite_checks.h), table by table; and of one column, None when unknown.
    QHash<QString, QHash<QString, sqlite_checks::Limit>> limits;
    sqlite_checks::Limit limit(const QString &table, const QString &column) const;
    // Every column's declared type, table by table; and of one column as
    // has() finds it, empty when unknown or when the tables that have it
    // disagree.
    QHash<QString, QHash<QString, QString>> types;
    QString type(const QString &table, const QString &column) const;
};

namespace SqliteDialect {

// Splits a batch at ";", GO lines and line breaks that start a new
// statement, and translates each statement. SET NOCOUNT and SET
// DATEFORMAT DMY vanish. Tables the batch creates, alters or drops
// count for its later statements.
std::vector<DialectStatement> translateBatch(const QString &batch, const DateColumns &dates = {});

// The shape of a batch, read far faster than it is translated.
BatchShape shape(const QString &batch);

// The statements of a batch as translateBatch splits it, each to be
// translated with translateReusableStatement.
BatchStatements statements(const QString &batch);

// shape() and statements() in one reading of the text, for a batch too long
// to read twice.
BatchReading shapeAndStatements(const QString &batch);

// One statement of statements() translated for reuse, as it reads within
// its batch (of a batch that defines nothing), its literals counted from
// its own first. SET NOCOUNT and the like give none. A statement that
// defines things is not `reusable` and takes no parameters.
ReusableBatch translateReusableStatement(const QString &statement, const DateColumns &dates);

} // namespace SqliteDialect

} // namespace ado
