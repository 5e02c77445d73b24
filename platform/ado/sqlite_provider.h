#pragma once

#include "platform/ado/provider.h"
#include "platform/ado/sqlite_dialect.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;
namespace ado {

// The embedded engine: one database file, spoken to in SQL Server's syntax
// through SqliteDialect.
class SqliteProvider : public Provider
{
public:
    // Opens an existing file (a missing one is an error, never a new empty
    // database); null with `errors` filled when it cannot.
    static std::unique_ptr<SqliteProvider> open(const QString &path, Errors &errors);
    ~SqliteProvider() override;

    QString name() const override { return QStringLiteral("SQLite"); }
    Platform platform() const override { return Platform::SQLite; }
    void close() override;

    bool execute(const QString &sql, Errors &errors, std::int32_t *recordsAffected, RowSet *rows) override;
    bool beginTrans(Errors &errors) override;
    bool commitTrans(Errors &errors) override;
    bool rollbackTrans(Errors &errors) override;
    int transactionLevel() const override { return m_level; }
    bool updateRow(const QString &table,
                   const std::vector<Column> &columns,
                   const std::vector<Variant> &original,
                   const std::vector<Variant> &current,
                   const std::vector<bool> &changed,
                   Errors &errors,
                   std::int32_t &matched) override;
    bool openSchema(int schema, const std::vector<QString> &restrictions, RowSet &out, Errors &errors) override;
    bool setCommandTimeout(int seconds, Errors &errors) override;
    QString defaultDatabase() const override { return m_path; }
    bool setDefaultDatabase(const QString &name, Errors &errors) override;

    sqlite3 *handle() const { return m_db; }

private:
    struct StatementTranslation;
    struct Translation;
    struct Translations;
    struct Kept;
    struct Plan;
    struct Bound;

    SqliteProvider(sqlite3 *db, QString path);
    bool makePlan(const QString &sql, Plan &plan, bool &checked, Errors &errors);
    bool translate(const QString &sql, const BatchReading &reading, std::shared_ptr<Translation> &out, Errors &errors);
    bool writeOut(const QString &sql, Plan &plan, Errors &errors);
    // Where a statement of a call takes its values from and puts what it gives.
    struct Call
    {
        const Plan &plan;
        Errors &errors;
        std::int64_t &affected;
        RowSet *rows;
        bool *gotRows;
    };
    // A statement of a kept translation, or the condition of its IF: its text
    // and parameters, the place of its first literal among the batch's, and
    // the batch written out to fall back on.
    struct KeptRun
    {
        StatementTranslation &statement;
        size_t first;
        const QString &sql;
        const std::vector<DialectParameter> &parameters;
        const std::function<const DialectStatement &()> &written;
        bool condition;
    };
    bool run(const DialectStatement &st,
             size_t part,
             const std::function<const DialectStatement &()> &written,
             const Call &call);
    bool runKept(const KeptRun &statement, const Call &call);
    bool runStatement(const QString &sql, Errors &errors, std::int64_t &affected, RowSet *rows, bool *gotRows);
    bool stepRows(sqlite3_stmt *st, Kept *kept, Errors &errors, std::int64_t &affected, RowSet *rows, bool *gotRows);
    bool plain(const char *sql, Errors &errors);
    bool onItsFile(Errors &errors);
    bool begin(Errors &errors);
    bool commit(Errors &errors);
    void addError(Errors &errors, int rc, const QString &message) const;
    void syncLevel();
    bool refreshSchema();
    bool schemaMoved(bool now);
    void loadDateColumns();
    void forget();

    sqlite3 *m_db = nullptr;
    QString m_path;
    int m_level = 0;
    int m_timeoutSeconds = 30;
    DateColumns m_dates;
    int m_schemaVersion = -1; // of m_dates and the kept translations; any DDL, from any handle, changes it
    // The call's first statement that reads tables checks the schema when it
    // runs (schemaMoved); one that finds it changed ran nothing and runs again.
    bool m_schemaUnchecked = false;
    bool m_schemaMoved = false;
    std::int64_t m_deadline = 0; // ms since epoch while a statement runs under a time-out
    // Translations of the batches and statements last run, and the
    // statements that need no translation (BEGIN, COMMIT, ...), prepared once.
    std::unique_ptr<Translations> m_kept;
    std::unordered_map<std::string, sqlite3_stmt *> m_plain;
};

} // namespace ado
