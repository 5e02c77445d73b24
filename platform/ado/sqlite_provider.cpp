#include "platform/ado/sqlite_provider.h"

#include "platform/ado/sqlite_checks.h"
#include "platform/ado/sqlite_dialect.h"
#include "platform/ado/sqlite_functions.h"
#include "platform/ado/sqlite_kept.h"
#include "platform/ado/sqlite_values.h"

#include <QDateTime>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace ado {
namespace {

using sqlite_values::bind;
using sqlite_values::cell;
using sqlite_values::describe;
using sqlite_values::describeType;

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
    } else if (const auto refused = primary == SQLITE_ERROR ? sqlite_checks::refusalOf(message) : std::nullopt) {
        // a value the server refuses, in its words
        e.Number = refused->number;
        e.SQLState = refused->sqlState;
        e.NativeError = refused->nativeError;
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
        // The engine's words before the schema check puts its own in their place.
        const int code = sqlite3_extended_errcode(m_db);
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        if (!schemaMoved(true))
            addError(errors, code, message);
        return false;
    }
    if (!st)
        return true; // nothing but a comment
    Finalizer guard{st};
    return stepRows(st, nullptr, errors, affected, rows, gotRows);
}

bool SqliteProvider::stepRows(
    sqlite3_stmt *st, Kept *kept, Errors &errors, std::int64_t &affected, RowSet *rows, bool *gotRows)
{
    int rc = SQLITE_OK;
    const int ncol = sqlite3_column_count(st);
    const bool wantRows = ncol > 0 && rows && gotRows && !*gotRows;
    std::shared_ptr<sqlite_values::Rows> stored;
    if (wantRows) {
        rows->rows.clear();
        rows->stored.reset();
        if (kept && !kept->columns.empty()) {
            rows->columns = kept->columns;
        } else {
            rows->columns.clear();
            for (int i = 0; i < ncol; ++i)
                rows->columns.push_back(describe(st, i));
            if (kept)
                kept->columns = rows->columns;
        }
        if (rows->takesStored)
            stored = std::make_shared<sqlite_values::Rows>(rows->columns);
    }
    // A read is checked against the schema after its first step, under the
    // lock that step took (outside a transaction, a check before it would take
    // the lock once more); anything else before it runs.
    const bool reads = sqlite3_stmt_readonly(st);
    if (schemaMoved(!reads))
        return false;
    m_deadline = m_timeoutSeconds > 0 ? QDateTime::currentMSecsSinceEpoch() + qint64(m_timeoutSeconds) * 1000 : 0;
    rc = sqlite3_step(st);
    int code = 0;
    QString message;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        code = sqlite3_extended_errcode(m_db);
        message = QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    // The engine prepares a statement again when it finds the schema changed
    // since it was prepared: a kept read it did not prepare again since its
    // last check ran on the schema of that check, and needs none.
    const int prepared = kept && reads ? sqlite3_stmt_status(st, SQLITE_STMTSTATUS_REPREPARE, 0) : -1;
    if (prepared >= 0 && prepared == kept->checkedAt && (rc == SQLITE_ROW || rc == SQLITE_DONE))
        m_schemaUnchecked = false;
    const bool checking = m_schemaUnchecked;
    if (schemaMoved(true)) {
        m_deadline = 0;
        return false;
    }
    if (checking && prepared >= 0)
        kept->checkedAt = prepared;
    for (; rc == SQLITE_ROW; rc = sqlite3_step(st)) {
        if (!wantRows)
            continue;
        if (stored) {
            stored->add(st);
            continue;
        }
        std::vector<Variant> row;
        row.reserve(size_t(ncol));
        for (int i = 0; i < ncol; ++i)
            row.push_back(cell(st, i, rows->columns[size_t(i)]));
        rows->rows.push_back(std::move(row));
    }
    m_deadline = 0;
    if (rc != SQLITE_DONE) {
        if (code == 0) {
            code = sqlite3_extended_errcode(m_db);
            message = QString::fromUtf8(sqlite3_errmsg(m_db));
        }
        addError(errors, code, message);
        syncLevel();
        return false;
    }
    if (wantRows) {
        *gotRows = true;
        rows->stored = std::move(stored);
        // Expressions declare no size: the widest value stands for it.
        for (size_t c = 0; c < rows->columns.size(); ++c) {
            Column &col = rows->columns[c];
            if (col.kind != ColumnKind::Unknown)
                continue;
            std::int32_t size = 0;
            for (size_t r = 0; r < rows->rowCount(); ++r) {
                const Variant v = rows->value(r, c);
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

bool SqliteProvider::run(const DialectStatement &st,
                         size_t part,
                         const std::function<const DialectStatement &()> &written,
                         const Call &call)
{
    switch (st.kind) {
    case DialectStatement::Kind::Begin:
        return begin(call.errors);
    case DialectStatement::Kind::Commit:
        return commit(call.errors);
    case DialectStatement::Kind::Rollback:
        return rollbackTrans(call.errors);
    case DialectStatement::Kind::IfExists: {
        RowSet test;
        bool got = false;
        std::int64_t none = 0;
        const Call condition{call.plan, call.errors, none, &test, &got};
        const bool ran = call.plan.kept ? runKept({*call.plan.kept->parts[part].statement,
                                                   call.plan.kept->parts[part].first,
                                                   st.condition,
                                                   st.conditionParameters,
                                                   written,
                                                   true},
                                                  condition)
                                        : runStatement(st.condition, call.errors, none, &test, &got);
        if (!ran)
            return false;
        const bool exists = !test.rows.empty() && test.rows[0][0].type() == Variant::Type::Long
                            && test.rows[0][0].rawInteger() != 0;
        if (exists != st.negate)
            for (size_t b = 0; b < st.body.size(); ++b)
                if (!run(
                        st.body[b], part, [&]() -> const DialectStatement & { return written().body[b]; }, call))
                    return false;
        return true;
    }
    case DialectStatement::Kind::Sql:
        if (call.plan.kept)
            return runKept({*call.plan.kept->parts[part].statement,
                            call.plan.kept->parts[part].first,
                            st.sql,
                            st.parameters,
                            written,
                            false},
                           call);
        return runStatement(st.sql, call.errors, call.affected, call.rows, call.gotRows);
    }
    return true;
}

bool SqliteProvider::execute(const QString &sql, Errors &errors, std::int32_t *recordsAffected, RowSet *rows)
{
    if (!m_db) {
        errors.Add(
            {E_FAIL_, QStringLiteral("The connection is closed."), name(), QStringLiteral("08003"), SQLITE_MISUSE});
        return false;
    }
    if (!onItsFile(errors))
        return false;
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
    // The batch stops at its first failing statement and takes back the
    // transaction levels it opened itself: all of the batch's work since its
    // BEGIN, and never a transaction left open behind it (here that would
    // lock every other connection out of the whole file). The floor is the
    // level it started at, or the lowest its own COMMIT or ROLLBACK brought
    // it to; a BEGIN that opens above the floor inside an outer transaction
    // marks its start with a savepoint, so the outer work stays.
    int floor = m_level;
    bool marked = false;
    bool ok = true;
    size_t i = 0;
    while (ok && i < plan.size()) {
        const DialectStatement &st = plan.statement(i);
        const bool usesSchema = st.kind == DialectStatement::Kind::Sql || st.kind == DialectStatement::Kind::IfExists;
        // A kept translation is checked against the schema at its first
        // statement that reads tables, under the same lock as that statement
        // (stepRows): after BEGIN, or after its first step outside a transaction.
        if (usesSchema && !checked) {
            checked = true;
            m_schemaUnchecked = true;
        }
        if (st.kind == DialectStatement::Kind::Begin && !marked && m_level > 0 && m_level == floor) {
            ok = marked = plain("SAVEPOINT lote", errors);
            if (!ok)
                break;
        }
        ok = run(st,
                 i,
                 [&, i]() -> const DialectStatement & { return writtenBatch()[i]; },
                 {plan, errors, affected, rows, &gotRows});
        m_schemaUnchecked = false;
        if (m_schemaMoved) {
            // Nothing of the statement ran: it runs again, translated for the schema as it is.
            m_schemaMoved = false;
            writtenOut = nullptr;
            if (!makePlan(sql, plan, checked, errors))
                return false;
            ok = true;
            continue;
        }
        if (marked && m_level <= floor) {
            // Back at the floor: a COMMIT keeps the work in the outer transaction, a ROLLBACK took the savepoint too.
            if (m_level == floor)
                ok = plain("RELEASE lote", errors) && ok;
            marked = false;
        }
        floor = std::min(floor, m_level);
        ++i;
    }
    if (recordsAffected)
        *recordsAffected = std::int32_t(affected);
    if (!ok && m_level > floor) {
        // The first error stays first; the undo's own, if any, follow it.
        if (marked) {
            plain("ROLLBACK TO lote", errors);
            plain("RELEASE lote", errors);
            m_level = floor;
        } else {
            rollbackTrans(errors);
        }
        syncLevel();
    }
    return ok;
}

bool SqliteProvider::schemaMoved(bool now)
{
    if (!now || !m_schemaUnchecked)
        return false;
    m_schemaUnchecked = false;
    m_schemaMoved = refreshSchema();
    return m_schemaMoved;
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
        QHash<QString, sqlite_checks::Limit> &limits = m_dates.limits[table.toUpper()];
        each(("PRAGMA table_info(" + quoted(table) + ")").toUtf8(), [&](sqlite3_stmt *st) {
            order << textAt(st, 1).toUpper();
            m_dates.types[table.toUpper()].insert(order.back(), textAt(st, 2).toUpper());
            if (describeType(textAt(st, 2)) == ColumnKind::Date)
                columns.insert(order.back());
            if (const sqlite_checks::Limit limit = sqlite_checks::limitOf(textAt(st, 2));
                limit.kind != sqlite_checks::Limit::Kind::None)
                limits.insert(order.back(), limit);
        });
    }
}

bool SqliteProvider::onItsFile(Errors &errors)
{
    // A file deleted or replaced under the connection still takes its writes
    // and commits, into the old file that no one opens again: they would be
    // lost at close. The engine tells by the path's file, not the one held.
    int moved = 0;
    if (sqlite3_file_control(m_db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK || !moved)
        return true;
    errors.Add({E_FAIL_,
                QStringLiteral("Database '%1' cannot be opened due to inaccessible files or insufficient memory or "
                               "disk space. Its file was deleted or replaced while the connection held it open.")
                    .arg(m_path),
                name(),
                QStringLiteral("42000"),
                945});
    // What the open transaction wrote has nowhere to go.
    if (m_level > 0) {
        Errors ignored;
        rollbackTrans(ignored);
    }
    return false;
}

bool SqliteProvider::beginTrans(Errors &errors)
{
    return onItsFile(errors) && begin(errors);
}

bool SqliteProvider::commitTrans(Errors &errors)
{
    return onItsFile(errors) && commit(errors);
}

bool SqliteProvider::begin(Errors &errors)
{
    // The write lock is taken at once: what a transaction reads (a numbering
    // book, say) cannot be read and changed by another writer before it ends.
    // A second writer waits here, within the command time-out.
    if (m_level == 0 && !plain("BEGIN IMMEDIATE", errors))
        return false;
    ++m_level;
    return true;
}

bool SqliteProvider::commit(Errors &errors)
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
    if (!onItsFile(errors))
        return false;
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
            // A text longer than its column is refused here as in a statement.
            const sqlite_checks::Limit limit = m_dates.limit(table.toUpper(), columns[i].baseColumn.toUpper());
            sets << quoted(columns[i].baseColumn)
                        + (limit.kind == sqlite_checks::Limit::Kind::Text
                               ? QStringLiteral(" = sqlsrv_text(?, %1)").arg(limit.length)
                               : QStringLiteral(" = ?"));
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
        if (QString refused; !bind(st, int(i) + 1, *params[i].first, params[i].second, &refused)) {
            addError(errors, SQLITE_ERROR, refused);
            return false;
        }
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
    if (!onItsFile(errors))
        return false;
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
