#include "platform/ado/sqlite_provider.h"

#include "platform/ado/sqlite_dialect.h"
#include "platform/ado/sqlite_functions.h"

#include <QDateTime>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace ado {
namespace {

// --- types and values --------------------------------------------------------

// The kind of a declared type, by SQLite's own affinity words and the server's names.
ColumnKind describeType(const QString &declared)
{
    const QString decl = declared.toUpper();
    if (decl.isEmpty())
        return ColumnKind::Unknown;
    if (decl.contains("CHAR") || decl.contains("TEXT"))
        return ColumnKind::Text;
    if (decl.contains("DATE") || decl.contains("TIME"))
        return ColumnKind::Date;
    if (decl.contains("MONEY") || decl.contains("DEC") || decl.contains("NUMERIC"))
        return ColumnKind::Money;
    if (decl.startsWith("BIT"))
        return ColumnKind::Boolean;
    if (decl.contains("INT"))
        return ColumnKind::Integer;
    if (decl.contains("REAL") || decl.contains("FLOA") || decl.contains("DOUB"))
        return ColumnKind::Real;
    if (decl.contains("BLOB") || decl.contains("BINARY") || decl.contains("IMAGE"))
        return ColumnKind::Binary;
    return ColumnKind::Unknown;
}

Column describe(sqlite3_stmt *st, int i)
{
    Column c;
    c.name = QString::fromUtf8(sqlite3_column_name(st, i));
    if (const char *t = sqlite3_column_table_name(st, i))
        c.baseTable = QString::fromUtf8(t);
    if (const char *o = sqlite3_column_origin_name(st, i))
        c.baseColumn = QString::fromUtf8(o);
    const char *declared = sqlite3_column_decltype(st, i);
    const QString decl = declared ? QString::fromUtf8(declared).toUpper() : QString();
    auto sizeIn = [&](std::int32_t fallback) {
        const qsizetype open = decl.indexOf('(');
        if (open < 0)
            return fallback;
        bool ok = false;
        const int n = decl.mid(open + 1, decl.indexOf(')', open) - open - 1).section(',', 0, 0).trimmed().toInt(&ok);
        return ok ? std::int32_t(n) : fallback;
    };
    c.kind = describeType(decl);
    switch (c.kind) {
    case ColumnKind::Text:
        c.definedSize = sizeIn(decl.contains("TEXT") ? 2147483647 : 1);
        break;
    case ColumnKind::Date:
        c.definedSize = 16;
        break;
    case ColumnKind::Money:
        c.definedSize = decl.contains("MONEY") ? 8 : 19;
        break;
    case ColumnKind::Boolean:
        c.definedSize = 2;
        break;
    case ColumnKind::Integer:
        c.definedSize = decl.contains("BIGINT") ? 8 : decl.contains("SMALLINT") ? 2 : decl.contains("TINYINT") ? 1 : 4;
        break;
    case ColumnKind::Real:
        c.definedSize = 8;
        break;
    case ColumnKind::Binary:
        c.definedSize = sizeIn(2147483647);
        break;
    default:
        break;
    }
    return c;
}

bool looksStoredDate(const char *p, int n)
{
    return n == 19 && p[4] == '-' && p[7] == '-' && p[10] == ' ' && p[13] == ':' && p[16] == ':';
}

// "YYYY-MM-DD HH:MM:SS" read straight from the engine's bytes: invalid when
// it is not that (or names a local time the clock skips), for parseStored to decide.
QDateTime quickStored(const char *p, int n)
{
    if (!looksStoredDate(p, n))
        return {};
    auto number = [&](int from, int digits) {
        int v = 0;
        for (int k = from; k < from + digits; ++k) {
            if (p[k] < '0' || p[k] > '9')
                return -1;
            v = v * 10 + (p[k] - '0');
        }
        return v;
    };
    const int y = number(0, 4), mo = number(5, 2), d = number(8, 2), h = number(11, 2), mi = number(14, 2),
              sec = number(17, 2);
    if (y < 0 || mo < 0 || d < 0 || h < 0 || mi < 0 || sec < 0 || !QDate::isValid(y, mo, d)
        || !QTime::isValid(h, mi, sec))
        return {};
    const QTime time(h, mi, sec);
    QDateTime dt(QDate(y, mo, d), time);
    return dt.isValid() && dt.time() == time ? dt : QDateTime();
}

QDateTime parseStored(const QString &s)
{
    static const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    QDateTime d = QDateTime::fromString(s, format);
    if (!d.isValid()) {
        const QString normal = SqliteDialect::storedDate(s);
        if (!normal.isEmpty())
            d = QDateTime::fromString(normal, format);
    }
    return d;
}

Variant cell(sqlite3_stmt *st, int i, const Column &c)
{
    const int type = sqlite3_column_type(st, i);
    if (type == SQLITE_NULL)
        return Variant::null();
    auto textValue = [&] {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        return QString::fromUtf8(p, sqlite3_column_bytes(st, i));
    };
    switch (c.kind) {
    case ColumnKind::Text:
        return Variant(textValue());
    case ColumnKind::Integer:
        if (type == SQLITE_INTEGER)
            return Variant(static_cast<long long>(sqlite3_column_int64(st, i)));
        break;
    case ColumnKind::Boolean:
        if (type == SQLITE_INTEGER)
            return Variant(sqlite3_column_int64(st, i) != 0);
        break;
    case ColumnKind::Real:
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            return Variant(sqlite3_column_double(st, i));
        break;
    case ColumnKind::Money:
        if (type == SQLITE_INTEGER)
            return Variant(::Currency::fromScaled(sqlite3_column_int64(st, i) * 10000));
        if (type == SQLITE_FLOAT)
            return Variant(::Currency::fromDouble(sqlite3_column_double(st, i)));
        break;
    case ColumnKind::Date:
        if (type == SQLITE_TEXT) {
            const QDateTime quick = quickStored(reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                                                sqlite3_column_bytes(st, i));
            if (quick.isValid())
                return Variant(quick);
            const QDateTime d = parseStored(textValue());
            if (d.isValid())
                return Variant(d);
        }
        break;
    default:
        break;
    }
    switch (type) {
    case SQLITE_INTEGER:
        return Variant(static_cast<long long>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
        return Variant(sqlite3_column_double(st, i));
    default: {
        // An expression over a date column (MAX(FECHA)) comes back as the stored text.
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        const int n = sqlite3_column_bytes(st, i);
        if (c.kind == ColumnKind::Unknown && looksStoredDate(p, n)) {
            const QDateTime quick = quickStored(p, n);
            if (quick.isValid())
                return Variant(quick);
            const QDateTime d = parseStored(QString::fromUtf8(p, n));
            if (d.isValid())
                return Variant(d);
        }
        return Variant(QString::fromUtf8(p, n));
    }
    }
}

void bind(sqlite3_stmt *st, int index, const Variant &v, ColumnKind kind)
{
    switch (v.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        sqlite3_bind_null(st, index);
        return;
    case Variant::Type::Boolean:
        sqlite3_bind_int(st, index, v.toBool() ? 1 : 0);
        return;
    case Variant::Type::Integer:
    case Variant::Type::Long:
        sqlite3_bind_int64(st, index, v.rawInteger());
        return;
    case Variant::Type::Double:
        sqlite3_bind_double(st, index, v.rawDouble());
        return;
    case Variant::Type::Currency:
        sqlite3_bind_double(st, index, v.toCurrency().toDouble());
        return;
    case Variant::Type::Date: {
        const QByteArray u = v.toDate().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
        sqlite3_bind_text(st, index, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return;
    }
    case Variant::Type::String: {
        QString s = v.rawString();
        if (kind == ColumnKind::Date) {
            // A text written into a date column means the day it names (day/month/year).
            const QString stored = SqliteDialect::storedDate(s.trimmed());
            if (!stored.isEmpty())
                s = stored;
        }
        const QByteArray u = s.toUtf8();
        sqlite3_bind_text(st, index, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

QString quoted(const QString &name)
{
    QString q = name;
    q.replace('"', QLatin1String("\"\""));
    return '"' + q + '"';
}

// The rollback journal stays between transactions (its header zeroed, and
// synced, at each commit) instead of being created and deleted each time:
// a transaction is as atomic and a killed one rolls back the same way, since
// an engine that opens the file treats only a journal with a header as hot.
// Only for files left in the default mode: one its users put in WAL stays so.
void keepJournal(sqlite3 *db)
{
    sqlite3_stmt *st = nullptr;
    bool deleting = false;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        deleting = qstricmp(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)), "delete") == 0;
    sqlite3_finalize(st);
    if (!deleting)
        return;
    // A large transaction does not leave a large file behind.
    sqlite3_exec(db, "PRAGMA journal_mode = PERSIST; PRAGMA journal_size_limit = 1048576", nullptr, nullptr, nullptr);
}

struct Finalizer
{
    sqlite3_stmt *st;
    ~Finalizer() { sqlite3_finalize(st); }
};

} // namespace

// A text of a kept translation, prepared once and reset after every use.
struct SqliteProvider::Kept
{
    sqlite3_stmt *st = nullptr;
    bool unprepared = false; // it did not prepare: the written-out form runs instead
    bool described = false;
    std::vector<Column> columns;
    Kept() = default;
    Kept(const Kept &) = delete;
    Kept &operator=(const Kept &) = delete;
    ~Kept() { sqlite3_finalize(st); }
};

// A statement translated for reuse, kept by its own shape: the batches it
// appears in share it, so a batch of many statements of a few shapes
// prepares each shape once.
struct SqliteProvider::StatementTranslation
{
    ReusableBatch translation;                // of the statement alone: one statement, or none (SET NOCOUNT ON)
    std::vector<DialectParameter> parameters; // also in IF's condition and body
    std::unordered_map<const QString *, std::unique_ptr<Kept>> kept; // by the text in `translation`

    Kept &keptFor(const QString &sql)
    {
        std::unique_ptr<Kept> &k = kept[&sql];
        if (!k)
            k = std::make_unique<Kept>();
        return *k;
    }
    // Whether the statement reads the same with a batch's literals from
    // `first` on: the ones written into the text must be the ones it was
    // translated with.
    bool fits(const std::vector<DialectLiteral> &literals, size_t first) const
    {
        const std::vector<DialectLiteral> &own = translation.literals;
        if (literals.size() < first + own.size())
            return false;
        for (size_t i = 0; i < own.size(); ++i)
            if (!translation.bound[i] && !(literals[first + i] == own[i]))
                return false;
        return true;
    }
};

// A batch translated for reuse: its statements that run, each with the place
// of its first literal among the batch's.
struct SqliteProvider::Translation
{
    struct Part
    {
        std::shared_ptr<StatementTranslation> statement;
        size_t first = 0;
    };
    std::vector<Part> parts;
    size_t literals = 0;

    bool fits(const std::vector<DialectLiteral> &batch) const
    {
        return batch.size() == literals && std::all_of(parts.begin(), parts.end(), [&](const Part &p) {
                   return p.statement->fits(batch, p.first);
               });
    }
};

namespace {

// Kept things by shape, most recent first, at most `limit`; one shape may
// have several, that differ in the literals written into their text.
template<class T>
class Recent
{
public:
    explicit Recent(size_t limit)
        : m_limit(limit)
    {}
    template<class Fits>
    std::shared_ptr<T> find(const QString &shape, const Fits &fits)
    {
        for (auto it = m_byShape.constFind(shape); it != m_byShape.cend() && it.key() == shape; ++it)
            if (fits(*(*it)->second)) {
                m_order.splice(m_order.begin(), m_order, *it);
                return (*it)->second;
            }
        return nullptr;
    }
    void add(const QString &shape, std::shared_ptr<T> kept)
    {
        m_order.push_front({shape, std::move(kept)});
        m_byShape.insert(shape, m_order.begin());
        while (m_order.size() > m_limit) {
            m_byShape.remove(m_order.back().first, std::prev(m_order.end()));
            m_order.pop_back();
        }
    }
    void clear()
    {
        m_byShape.clear();
        m_order.clear();
    }

private:
    using Order = std::list<std::pair<QString, std::shared_ptr<T>>>;
    size_t m_limit;
    Order m_order;
    QMultiHash<QString, typename Order::iterator> m_byShape;
};

} // namespace

// The batches last run and their statements, by shape.
struct SqliteProvider::Translations
{
    Recent<Translation> batches{256};
    Recent<StatementTranslation> statements{512};
    void clear()
    {
        batches.clear();
        statements.clear();
    }
};

std::unique_ptr<SqliteProvider> SqliteProvider::open(const QString &path, Errors &errors)
{
    const QString source = QStringLiteral("SQLite");
    const QFileInfo info(path);
    // An empty file would open as an empty database: it is as missing as no file.
    if (path.trimmed().isEmpty() || !info.exists() || !info.isFile() || info.size() == 0) {
        errors.Add({E_FAIL_,
                    QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed.").arg(path),
                    source,
                    QStringLiteral("08004"),
                    SQLITE_CANTOPEN});
        return nullptr;
    }
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(),
                                   &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc == SQLITE_OK)
        sqlite3_extended_result_codes(db, 1);
    // A file that is not a database shows only at the first read.
    const int check = rc == SQLITE_OK
                          ? sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr)
                          : rc;
    if (check != SQLITE_OK) {
        errors.Add({E_FAIL_,
                    QStringLiteral("Cannot open database \"%1\": %2")
                        .arg(path, QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc))),
                    source,
                    QStringLiteral("08004"),
                    db ? sqlite3_extended_errcode(db) : rc});
        sqlite3_close(db);
        return nullptr;
    }
    registerSqlServerFunctions(db);
    keepJournal(db);
    std::unique_ptr<SqliteProvider> p(new SqliteProvider(db, path));
    p->setCommandTimeout(30, errors);
    return p;
}

SqliteProvider::SqliteProvider(sqlite3 *db, QString path)
    : m_db(db)
    , m_path(std::move(path))
    , m_kept(std::make_unique<Translations>())
{
    // The time-out of a running statement: the engine asks now and then.
    sqlite3_progress_handler(
        m_db,
        10000,
        [](void *self) -> int {
            auto *p = static_cast<SqliteProvider *>(self);
            return p->m_deadline != 0 && QDateTime::currentMSecsSinceEpoch() > p->m_deadline ? 1 : 0;
        },
        this);
}

SqliteProvider::~SqliteProvider()
{
    close();
}

void SqliteProvider::close()
{
    forget();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_level = 0;
}

void SqliteProvider::addError(Errors &errors, int rc, const QString &message) const
{
    const int primary = rc & 0xff;
    Error e;
    e.Source = name();
    e.NativeError = rc;
    e.Description = message;
    if (primary == SQLITE_CONSTRAINT) {
        e.Number = DB_E_INTEGRITYVIOLATION;
        e.SQLState = QStringLiteral("23000");
    } else if (primary == SQLITE_INTERRUPT || primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
        e.Number = DB_E_ABORTLIMITREACHED;
        e.SQLState = QStringLiteral("HYT00");
        if (primary == SQLITE_INTERRUPT)
            e.Description = QStringLiteral("Query timeout expired");
    } else if (primary == SQLITE_ERROR && (message.startsWith("no such table") || message.startsWith("no such view"))) {
        e.Number = DB_E_NOTABLE;
        e.SQLState = QStringLiteral("42S02");
    } else if (primary == SQLITE_ERROR) {
        // syntax, unknown column or function, an object that already exists, ...
        e.Number = DB_E_ERRORSINCOMMAND;
        e.SQLState = message.startsWith("no such column") ? QStringLiteral("42S22") : QStringLiteral("42000");
    } else {
        e.Number = E_FAIL_;
        e.SQLState = QStringLiteral("HY000");
    }
    errors.Add(std::move(e));
}

void SqliteProvider::syncLevel()
{
    // Some failures make the engine roll the whole transaction back itself.
    if (m_level > 0 && sqlite3_get_autocommit(m_db))
        m_level = 0;
}

// A literal's value as it is bound.
struct SqliteProvider::Bound
{
    enum class Kind { Text, Integer, Real } kind = Kind::Text;
    QByteArray text;
    sqlite3_int64 integer = 0;
    double real = 0;

    // False when the literal cannot stand where the translation put it (a
    // quoted day that is no day, a number the engine would not read).
    bool set(const DialectLiteral &literal, DialectParameter::As as)
    {
        switch (as) {
        case DialectParameter::As::Text:
            kind = Kind::Text;
            text = literal.text.toUtf8();
            return true;
        case DialectParameter::As::Date: {
            const QString stored = SqliteDialect::storedDate(literal.text);
            kind = Kind::Text;
            text = stored.toUtf8();
            return !stored.isEmpty();
        }
        case DialectParameter::As::Number: {
            bool ok = false;
            const QString &t = literal.text;
            if (std::all_of(t.begin(), t.end(), [](QChar c) { return c >= '0' && c <= '9'; })) {
                integer = t.toLongLong(&ok);
                if (ok) {
                    kind = Kind::Integer;
                    return true;
                }
            }
            // With a point or an exponent, or too large for an integer: a real, as the engine reads it.
            real = t.toDouble(&ok);
            kind = Kind::Real;
            return ok;
        }
        }
        return false;
    }
};

// What one call runs: a kept translation with the values of this batch's
// literals, or the batch written out with its literals in the text.
struct SqliteProvider::Plan
{
    std::shared_ptr<Translation> kept;
    std::vector<Bound> values; // literal by literal, for `kept`
    std::vector<DialectStatement> writtenOut;
    bool hasWrittenOut = false;

    size_t size() const { return kept ? kept->parts.size() : writtenOut.size(); }
    const DialectStatement &statement(size_t i) const
    {
        return kept ? kept->parts[i].statement->translation.statements.front() : writtenOut[i];
    }

    // The values of this batch's literals for the translation's parameters; false when one cannot be bound.
    bool bind(const Translation &t, const std::vector<DialectLiteral> &literals)
    {
        values.resize(literals.size());
        for (const Translation::Part &part : t.parts)
            for (const DialectParameter &p : part.statement->parameters) {
                const size_t at = part.first + size_t(p.literal);
                if (!values[at].set(literals[at], p.as))
                    return false;
            }
        return true;
    }
};

void SqliteProvider::forget()
{
    m_kept->clear();
    for (auto &[sql, st] : m_plain)
        sqlite3_finalize(st);
    m_plain.clear();
}

bool SqliteProvider::plain(const char *sql, Errors &errors)
{
    sqlite3_stmt *&st = m_plain[sql];
    if (!st && sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) != SQLITE_OK) {
        addError(errors, sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
        sqlite3_finalize(st);
        m_plain.erase(sql);
        return false;
    }
    const int rc = sqlite3_step(st);
    const bool ok = rc == SQLITE_DONE || rc == SQLITE_ROW;
    if (!ok)
        addError(errors, sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
    sqlite3_reset(st);
    return ok;
}

bool SqliteProvider::runStatement(const QString &sql, Errors &errors, std::int64_t &affected, RowSet *rows, bool *gotRows)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *st = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &st, nullptr);
    if (rc != SQLITE_OK) {
        addError(errors, sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
        return false;
    }
    if (!st)
        return true; // nothing but a comment
    Finalizer guard{st};
    return stepRows(st, nullptr, errors, affected, rows, gotRows);
}

bool SqliteProvider::stepRows(sqlite3_stmt *st,
                              std::vector<Column> *described,
                              Errors &errors,
                              std::int64_t &affected,
                              RowSet *rows,
                              bool *gotRows)
{
    int rc = SQLITE_OK;
    const int ncol = sqlite3_column_count(st);
    const bool wantRows = ncol > 0 && rows && gotRows && !*gotRows;
    if (wantRows) {
        rows->rows.clear();
        if (described && !described->empty()) {
            rows->columns = *described;
        } else {
            rows->columns.clear();
            for (int i = 0; i < ncol; ++i)
                rows->columns.push_back(describe(st, i));
            if (described)
                *described = rows->columns;
        }
    }
    m_deadline = m_timeoutSeconds > 0 ? QDateTime::currentMSecsSinceEpoch() + qint64(m_timeoutSeconds) * 1000 : 0;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (!wantRows)
            continue;
        std::vector<Variant> row;
        row.reserve(size_t(ncol));
        for (int i = 0; i < ncol; ++i)
            row.push_back(cell(st, i, rows->columns[size_t(i)]));
        rows->rows.push_back(std::move(row));
    }
    m_deadline = 0;
    if (rc != SQLITE_DONE) {
        addError(errors, sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
        syncLevel();
        return false;
    }
    if (wantRows) {
        *gotRows = true;
        // Expressions declare no size: the widest value stands for it.
        for (size_t c = 0; c < rows->columns.size(); ++c) {
            Column &col = rows->columns[c];
            if (col.kind != ColumnKind::Unknown)
                continue;
            std::int32_t size = 0;
            for (const auto &r : rows->rows) {
                const Variant &v = r[c];
                if (v.isString())
                    size = std::max(size, std::int32_t(v.rawString().size()));
                else if (v.isDate())
                    size = std::max(size, std::int32_t(16));
                else if (v.type() == Variant::Type::Double)
                    size = std::max(size, std::int32_t(8));
                else if (v.isNumber())
                    size = std::max(size, std::int32_t(4));
            }
            col.definedSize = size;
        }
    }
    if (!sqlite3_stmt_readonly(st))
        affected += sqlite3_changes64(m_db);
    return true;
}

bool SqliteProvider::runKept(StatementTranslation &statement,
                             size_t first,
                             const QString &sql,
                             const std::vector<DialectParameter> &parameters,
                             const Plan &plan,
                             const std::function<const DialectStatement &()> &written,
                             bool condition,
                             Errors &errors,
                             std::int64_t &affected,
                             RowSet *rows,
                             bool *gotRows)
{
    Kept &kept = statement.keptFor(sql);
    if (!kept.st && !kept.unprepared) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &kept.st, nullptr) != SQLITE_OK || !kept.st) {
            sqlite3_finalize(kept.st);
            kept.st = nullptr;
            kept.unprepared = true;
        }
    }
    if (kept.unprepared) {
        // The engine's own words about it, as for any statement written out.
        const DialectStatement &w = written();
        return runStatement(condition ? w.condition : w.sql, errors, affected, rows, gotRows);
    }
    sqlite3_stmt *st = kept.st;
    for (size_t i = 0; i < parameters.size(); ++i) {
        const Bound &v = plan.values[first + size_t(parameters[i].literal)];
        const int at = int(i) + 1;
        switch (v.kind) {
        case Bound::Kind::Text:
            sqlite3_bind_text(st, at, v.text.constData(), int(v.text.size()), SQLITE_STATIC);
            break;
        case Bound::Kind::Integer:
            sqlite3_bind_int64(st, at, v.integer);
            break;
        case Bound::Kind::Real:
            sqlite3_bind_double(st, at, v.real);
            break;
        }
    }
    const bool ok = stepRows(st, &kept.columns, errors, affected, rows, gotRows);
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    return ok;
}

bool SqliteProvider::run(const DialectStatement &st,
                         const Plan &plan,
                         size_t part,
                         const std::function<const DialectStatement &()> &written,
                         Errors &errors,
                         std::int64_t &affected,
                         RowSet *rows,
                         bool *gotRows)
{
    switch (st.kind) {
    case DialectStatement::Kind::Begin:
        return beginTrans(errors);
    case DialectStatement::Kind::Commit:
        return commitTrans(errors);
    case DialectStatement::Kind::Rollback:
        return rollbackTrans(errors);
    case DialectStatement::Kind::IfExists: {
        RowSet test;
        bool got = false;
        std::int64_t none = 0;
        const bool ran = plan.kept ? runKept(*plan.kept->parts[part].statement,
                                             plan.kept->parts[part].first,
                                             st.condition,
                                             st.conditionParameters,
                                             plan,
                                             written,
                                             true,
                                             errors,
                                             none,
                                             &test,
                                             &got)
                                   : runStatement(st.condition, errors, none, &test, &got);
        if (!ran)
            return false;
        const bool exists = !test.rows.empty() && test.rows[0][0].type() == Variant::Type::Long
                            && test.rows[0][0].rawInteger() != 0;
        if (exists != st.negate)
            for (size_t b = 0; b < st.body.size(); ++b)
                if (!run(
                        st.body[b],
                        plan,
                        part,
                        [&]() -> const DialectStatement & { return written().body[b]; },
                        errors,
                        affected,
                        rows,
                        gotRows))
                    return false;
        return true;
    }
    case DialectStatement::Kind::Sql:
        if (plan.kept)
            return runKept(*plan.kept->parts[part].statement,
                           plan.kept->parts[part].first,
                           st.sql,
                           st.parameters,
                           plan,
                           written,
                           false,
                           errors,
                           affected,
                           rows,
                           gotRows);
        return runStatement(st.sql, errors, affected, rows, gotRows);
    }
    return true;
}

bool SqliteProvider::makePlan(const QString &sql, Plan &plan, bool &checked, Errors &errors)
{
    plan = Plan();
    const BatchShape shape = SqliteDialect::shape(sql);
    bool kept = false; // a translation of this shape fits, but these literals cannot be bound to it
    auto fits = [&](const Translation &candidate) { return candidate.fits(shape.literals); };
    if (std::shared_ptr<Translation> t = shape.key.isEmpty() ? nullptr : m_kept->batches.find(shape.key, fits)) {
        if (plan.bind(*t, shape.literals)) {
            plan.kept = std::move(t);
            return true;
        }
        kept = true;
    }
    // Translated now, with the schema as it is.
    if (!checked) {
        checked = true;
        refreshSchema();
    }
    std::shared_ptr<Translation> t;
    if (!kept && !shape.key.isEmpty() && !translate(sql, shape, t, errors))
        return false;
    if (t) {
        m_kept->batches.add(shape.key, t);
        if (plan.bind(*t, shape.literals)) {
            plan.kept = std::move(t);
            return true;
        }
    }
    return writeOut(sql, plan, errors);
}

bool SqliteProvider::translate(const QString &sql,
                               const BatchShape &shape,
                               std::shared_ptr<Translation> &out,
                               Errors &errors)
{
    BatchStatements split;
    try {
        split = SqliteDialect::statements(sql);
    } catch (const DialectError &e) {
        errors.Add({DB_E_ERRORSINCOMMAND, e.message(), name(), QStringLiteral("42000"), SQLITE_ERROR});
        return false;
    }
    if (!split.reusable)
        return true;
    auto t = std::make_shared<Translation>();
    t->literals = shape.literals.size();
    // A statement's shape is the batch's key from its start to its end: a
    // place outside any literal lies as far past the last literal before it
    // in both.
    size_t before = 0; // literals that end before the place
    auto keyAt = [&](qsizetype at) {
        while (before < size_t(shape.places.size()) && shape.places[qsizetype(before)].end <= at)
            ++before;
        return before == 0 ? at : at - shape.places[before - 1].end + shape.places[before - 1].keyEnd;
    };
    for (const auto &[from, to] : split.at) {
        const qsizetype keyFrom = keyAt(from);
        const size_t first = before;
        const QString key = shape.key.mid(keyFrom, keyAt(to) - keyFrom);
        // A literal across the statement's start: the shape and the statements read the batch apart.
        if (first < before && shape.places[first].at < from)
            return true;
        auto fits = [&](const StatementTranslation &candidate) { return candidate.fits(shape.literals, first); };
        std::shared_ptr<StatementTranslation> s = m_kept->statements.find(key, fits);
        if (!s) {
            s = std::make_shared<StatementTranslation>();
            try {
                s->translation = SqliteDialect::translateReusableStatement(sql.mid(from, to - from), m_dates);
            } catch (const DialectError &e) {
                errors.Add({DB_E_ERRORSINCOMMAND, e.message(), name(), QStringLiteral("42000"), SQLITE_ERROR});
                return false;
            }
            // The shape is read apart from the translation: only where both
            // read the same literals may other statements of the shape use it.
            const std::vector<DialectLiteral> &own = s->translation.literals;
            if (own.size() != before - first
                || !std::equal(own.begin(), own.end(), shape.literals.begin() + qsizetype(first)))
                return true;
            std::function<void(const DialectStatement &)> collect = [&](const DialectStatement &st) {
                s->parameters.insert(s->parameters.end(), st.parameters.begin(), st.parameters.end());
                s->parameters.insert(s->parameters.end(), st.conditionParameters.begin(), st.conditionParameters.end());
                for (const DialectStatement &b : st.body)
                    collect(b);
            };
            for (const DialectStatement &st : s->translation.statements)
                collect(st);
            m_kept->statements.add(key, s);
        }
        if (!s->translation.statements.empty())
            t->parts.push_back({s, first});
    }
    if (before != shape.literals.size())
        return true;
    out = std::move(t);
    return true;
}

bool SqliteProvider::writeOut(const QString &sql, Plan &plan, Errors &errors)
{
    plan = Plan();
    try {
        plan.writtenOut = SqliteDialect::translateBatch(sql, m_dates);
    } catch (const DialectError &e) {
        errors.Add({DB_E_ERRORSINCOMMAND, e.message(), name(), QStringLiteral("42000"), SQLITE_ERROR});
        return false;
    }
    plan.hasWrittenOut = true;
    return true;
}

bool SqliteProvider::execute(const QString &sql, Errors &errors, std::int32_t *recordsAffected, RowSet *rows)
{
    if (!m_db) {
        errors.Add(
            {E_FAIL_, QStringLiteral("The connection is closed."), name(), QStringLiteral("08003"), SQLITE_MISUSE});
        return false;
    }
    Plan plan;
    bool checked = false; // whether the schema was read during this call
    if (!makePlan(sql, plan, checked, errors))
        return false;
    std::int64_t affected = 0;
    bool gotRows = false;
    // Kept statements fall back on the batch written out, translated when first needed.
    Plan written;
    const std::vector<DialectStatement> *writtenOut = nullptr;
    auto writtenBatch = [&]() -> const std::vector<DialectStatement> & {
        if (!writtenOut) {
            if (plan.hasWrittenOut) {
                writtenOut = &plan.writtenOut;
            } else {
                written.writtenOut = SqliteDialect::translateBatch(sql, m_dates); // it translated before: it does again
                writtenOut = &written.writtenOut;
            }
        }
        return *writtenOut;
    };
    // The batch stops at its first failing statement; the caller decides about the transaction.
    bool ok = true;
    size_t i = 0;
    while (ok && i < plan.size()) {
        const DialectStatement &st = plan.statement(i);
        const bool usesSchema = st.kind == DialectStatement::Kind::Sql || st.kind == DialectStatement::Kind::IfExists;
        // A kept translation is checked against the schema before its first
        // statement that reads tables: after BEGIN, under the same lock as that statement.
        if (usesSchema && !checked) {
            checked = true;
            if (refreshSchema()) {
                if (!makePlan(sql, plan, checked, errors))
                    return false;
                continue; // the same statement, translated again
            }
        }
        ok = run(
            st,
            plan,
            i,
            [&, i]() -> const DialectStatement & { return writtenBatch()[i]; },
            errors,
            affected,
            rows,
            &gotRows);
        ++i;
    }
    if (recordsAffected)
        *recordsAffected = std::int32_t(affected);
    return ok;
}

bool SqliteProvider::refreshSchema()
{
    int version = -1;
    sqlite3_stmt *&st = m_plain["PRAGMA schema_version"];
    if (!st)
        sqlite3_prepare_v2(m_db, "PRAGMA schema_version", -1, &st, nullptr);
    if (st && sqlite3_step(st) == SQLITE_ROW)
        version = sqlite3_column_int(st, 0);
    sqlite3_reset(st);
    if (version == m_schemaVersion)
        return false;
    // Every translation depends on the date columns; statements of another schema would be prepared again anyway.
    m_kept->clear();
    loadDateColumns();
    m_schemaVersion = version;
    return true;
}

void SqliteProvider::loadDateColumns()
{
    auto each = [&](const QByteArray &sql, const std::function<void(sqlite3_stmt *)> &row) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
            return;
        Finalizer g{st};
        while (sqlite3_step(st) == SQLITE_ROW)
            row(st);
    };
    auto textAt = [](sqlite3_stmt *st, int i) {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
    };
    m_dates = DateColumns();
    QStringList tables;
    each("SELECT name FROM sqlite_master WHERE type IN ('table','view') AND name NOT LIKE 'sqlite_%'",
         [&](sqlite3_stmt *st) { tables << textAt(st, 0); });
    for (const QString &table : tables) {
        // Every table has its entry, so a table without dates answers for itself.
        QSet<QString> &columns = m_dates.byTable[table.toUpper()];
        QStringList &order = m_dates.order[table.toUpper()];
        each(("PRAGMA table_info(" + quoted(table) + ")").toUtf8(), [&](sqlite3_stmt *st) {
            order << textAt(st, 1).toUpper();
            if (describeType(textAt(st, 2)) == ColumnKind::Date)
                columns.insert(order.back());
        });
    }
}

bool SqliteProvider::beginTrans(Errors &errors)
{
    // The write lock is taken at once: what a transaction reads (a numbering
    // book, say) cannot be read and changed by another writer before it ends.
    // A second writer waits here, within the command time-out.
    if (m_level == 0 && !plain("BEGIN IMMEDIATE", errors))
        return false;
    ++m_level;
    return true;
}

bool SqliteProvider::commitTrans(Errors &errors)
{
    if (m_level == 0) {
        errors.Add({E_FAIL_,
                    QStringLiteral("The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."),
                    name(),
                    QStringLiteral("25000"),
                    3902});
        return false;
    }
    if (m_level > 1) {
        --m_level;
        return true;
    }
    const bool ok = plain("COMMIT", errors);
    if (ok)
        m_level = 0;
    syncLevel();
    return ok;
}

bool SqliteProvider::rollbackTrans(Errors &errors)
{
    if (m_level == 0) {
        errors.Add({E_FAIL_,
                    QStringLiteral("The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."),
                    name(),
                    QStringLiteral("25000"),
                    3903});
        return false;
    }
    m_level = 0;
    if (sqlite3_get_autocommit(m_db))
        return true; // the engine already rolled back
    return plain("ROLLBACK", errors);
}

bool SqliteProvider::updateRow(const QString &table,
                               const std::vector<Column> &columns,
                               const std::vector<Variant> &original,
                               const std::vector<Variant> &current,
                               const std::vector<bool> &changed,
                               Errors &errors,
                               std::int32_t &matched)
{
    matched = 0;
    // Key columns of the table: with a key, the key and the changed columns
    // tell whether the row is still as read; without one, every column does.
    QStringList keys;
    {
        sqlite3_stmt *st = nullptr;
        const QByteArray q = ("PRAGMA table_info(" + quoted(table) + ")").toUtf8();
        if (sqlite3_prepare_v2(m_db, q.constData(), -1, &st, nullptr) == SQLITE_OK) {
            Finalizer g{st};
            while (sqlite3_step(st) == SQLITE_ROW)
                if (sqlite3_column_int(st, 5) > 0)
                    keys << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1))).toUpper();
        }
    }
    QStringList sets, where;
    std::vector<std::pair<const Variant *, ColumnKind>> params;
    for (size_t i = 0; i < columns.size(); ++i)
        if (changed[i]) {
            sets << quoted(columns[i].baseColumn) + " = ?";
            params.push_back({&current[i], columns[i].kind});
        }
    if (sets.isEmpty())
        return true;
    for (size_t i = 0; i < columns.size(); ++i) {
        const Column &c = columns[i];
        if (!keys.isEmpty() && !changed[i] && !keys.contains(c.baseColumn.toUpper()))
            continue;
        if (c.kind == ColumnKind::Binary)
            continue;
        const QString col = quoted(c.baseColumn);
        if (original[i].isNull() || original[i].isEmpty()) {
            where << col + " IS NULL";
        } else if (c.kind == ColumnKind::Money || c.kind == ColumnKind::Real) {
            where << "abs(" + col + " - ?) < 0.00005";
            params.push_back({&original[i], c.kind});
        } else {
            where << col + " = ?";
            params.push_back({&original[i], c.kind});
        }
    }
    QString sql = "UPDATE " + quoted(table) + " SET " + sets.join(", ");
    if (!where.isEmpty())
        sql += " WHERE " + where.join(" AND ");
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK) {
        addError(errors, sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
        return false;
    }
    Finalizer guard{st};
    for (size_t i = 0; i < params.size(); ++i)
        bind(st, int(i) + 1, *params[i].first, params[i].second);
    if (sqlite3_step(st) != SQLITE_DONE) {
        addError(errors, sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
        syncLevel();
        return false;
    }
    matched = std::int32_t(sqlite3_changes64(m_db));
    return true;
}

bool SqliteProvider::openSchema(int schema, const std::vector<QString> &restrictions, RowSet &out, Errors &errors)
{
    auto restriction = [&](size_t i) { return i < restrictions.size() ? restrictions[i].trimmed() : QString(); };
    auto textColumn = [](const char *name) { return Column{QString::fromLatin1(name), ColumnKind::Text, 128, {}, {}}; };
    // One file is one catalog: the catalog restriction is not compared.
    const QString catalog = QFileInfo(m_path).completeBaseName();
    std::vector<std::pair<QString, QString>> objects; // name, type
    {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(m_db,
                               "SELECT name, type FROM sqlite_master WHERE type IN ('table','view') "
                               "AND name NOT LIKE 'sqlite_%' ORDER BY name",
                               -1,
                               &st,
                               nullptr)
            != SQLITE_OK) {
            addError(errors, sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
            return false;
        }
        Finalizer g{st};
        while (sqlite3_step(st) == SQLITE_ROW)
            objects.push_back({QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))),
                               QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1))).toUpper()});
    }
    const QString schemaR = restriction(1), nameR = restriction(2);
    auto wanted = [&](const QString &name) {
        return (schemaR.isEmpty() || schemaR.compare("dbo", Qt::CaseInsensitive) == 0)
               && (nameR.isEmpty() || name.compare(nameR, Qt::CaseInsensitive) == 0);
    };
    out = RowSet();
    if (schema == adSchemaTables) {
        for (const char *c : {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE"})
            out.columns.push_back(textColumn(c));
        const QString typeR = restriction(3);
        for (const auto &[name, type] : objects) {
            if (!wanted(name) || (!typeR.isEmpty() && typeR.compare(type, Qt::CaseInsensitive) != 0))
                continue;
            out.rows.push_back({Variant(catalog), Variant("dbo"), Variant(name), Variant(type)});
        }
        return true;
    }
    if (schema == adSchemaColumns) {
        for (const char *c : {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "COLUMN_NAME"})
            out.columns.push_back(textColumn(c));
        out.columns.push_back({QStringLiteral("ORDINAL_POSITION"), ColumnKind::Integer, 4, {}, {}});
        out.columns.push_back(textColumn("DATA_TYPE"));
        out.columns.push_back({QStringLiteral("CHARACTER_MAXIMUM_LENGTH"), ColumnKind::Integer, 4, {}, {}});
        out.columns.push_back({QStringLiteral("IS_NULLABLE"), ColumnKind::Boolean, 2, {}, {}});
        const QString columnR = restriction(3);
        for (const auto &object : objects) {
            const QString &name = object.first;
            if (!wanted(name))
                continue;
            sqlite3_stmt *st = nullptr;
            const QByteArray q = ("PRAGMA table_info(" + quoted(name) + ")").toUtf8();
            if (sqlite3_prepare_v2(m_db, q.constData(), -1, &st, nullptr) != SQLITE_OK) {
                addError(errors, sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
                return false;
            }
            Finalizer g{st};
            while (sqlite3_step(st) == SQLITE_ROW) {
                const QString column = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
                if (!columnR.isEmpty() && column.compare(columnR, Qt::CaseInsensitive) != 0)
                    continue;
                const QString type = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 2)));
                Variant length = Variant::null();
                const qsizetype open = type.indexOf('(');
                if (open > 0 && (type.contains("CHAR", Qt::CaseInsensitive)))
                    length = Variant(type.mid(open + 1, type.indexOf(')') - open - 1).toInt());
                out.rows.push_back({Variant(catalog),
                                    Variant("dbo"),
                                    Variant(name),
                                    Variant(column),
                                    Variant(sqlite3_column_int(st, 0) + 1),
                                    Variant(type.section('(', 0, 0).trimmed()),
                                    length,
                                    Variant(sqlite3_column_int(st, 3) == 0)});
            }
        }
        return true;
    }
    errors.Add({E_FAIL_,
                QStringLiteral("Object or provider is not capable of performing requested operation."),
                name(),
                QStringLiteral("HYC00"),
                SQLITE_MISUSE});
    return false;
}

bool SqliteProvider::setCommandTimeout(int seconds, Errors &)
{
    m_timeoutSeconds = std::max(0, seconds);
    // Waiting for another writer counts against the same time-out.
    sqlite3_busy_timeout(m_db, m_timeoutSeconds > 0 ? m_timeoutSeconds * 1000 : 24 * 3600 * 1000);
    return true;
}

bool SqliteProvider::setDefaultDatabase(const QString &database, Errors &errors)
{
    const QString wanted = database.trimmed();
    if (wanted.isEmpty() || wanted == m_path || QFileInfo(wanted) == QFileInfo(m_path)
        || wanted.compare(QFileInfo(m_path).completeBaseName(), Qt::CaseInsensitive) == 0)
        return true;
    errors.Add(
        {E_FAIL_,
         QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.").arg(wanted),
         name(),
         QStringLiteral("42000"),
         SQLITE_ERROR});
    return false;
}

} // namespace ado
