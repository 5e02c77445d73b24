#pragma once

#include "platform/ado/ado.h"
#include "platform/runtime/variant.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// The seam between the ADO-shaped objects and one database engine. A
// provider runs statements and reports the engine's errors in the ADO
// families; the Connection turns them into its Errors collection and a
// raised error. Tests may attach a provider of their own to a Connection
// (Connection::attachProvider), such as the RecordingProvider.
namespace ado {

// What a column holds, as the Field values report it.
enum class ColumnKind { Unknown, Text, Integer, Boolean, Real, Money, Date, Binary };

struct Column
{
    QString name;
    ColumnKind kind = ColumnKind::Unknown;
    std::int32_t definedSize = 0;
    QString baseTable; // empty when the column is not a plain table column
    QString baseColumn;
};

// Rows a provider keeps in its own form, each cell made a Variant only when
// it is read: a read of many rows and columns takes few of them.
class StoredRows
{
public:
    virtual ~StoredRows() = default;
    virtual size_t size() const = 0;
    virtual Variant value(size_t row, size_t column) const = 0;
};

// A fully fetched result: what a client-side cursor holds.
struct RowSet
{
    std::vector<Column> columns;
    std::vector<std::vector<Variant>> rows;
    // In place of `rows`, from a provider that keeps its own, when the caller takes them.
    std::shared_ptr<const StoredRows> stored;
    bool takesStored = false;

    bool hasColumns() const { return !columns.empty(); }
    size_t rowCount() const { return stored ? stored->size() : rows.size(); }
    Variant value(size_t row, size_t column) const { return stored ? stored->value(row, column) : rows[row][column]; }
};

class Provider
{
public:
    virtual ~Provider() = default;

    // Source of the errors this provider reports.
    virtual QString name() const = 0;
    virtual Platform platform() const = 0;
    virtual void close() = 0;

    // Runs one statement or a batch. Errors go to `errors` (informational
    // messages never do); the result is false when there was any.
    // `rows` (may be null) receives the first result that has columns;
    // `recordsAffected` the rows changed by the batch's statements.
    virtual bool execute(const QString &sql, Errors &errors, std::int32_t *recordsAffected, RowSet *rows) = 0;

    // Nested as on SQL Server: only the outermost commit ends the
    // transaction; a rollback ends every level.
    virtual bool beginTrans(Errors &errors) = 0;
    virtual bool commitTrans(Errors &errors) = 0;
    virtual bool rollbackTrans(Errors &errors) = 0;
    virtual int transactionLevel() const = 0;

    // Writes the current row of a single-table recordset back to `table`:
    // the `changed` columns take their `current` values, provided the row
    // still holds what it was read with (`original`; the provider compares
    // the key columns and the changed ones, or every column when the table
    // has no key). `matched` receives the number of rows written: 0 means
    // someone else changed or deleted the row.
    virtual bool updateRow(const QString &table,
                           const std::vector<Column> &columns,
                           const std::vector<Variant> &original,
                           const std::vector<Variant> &current,
                           const std::vector<bool> &changed,
                           Errors &errors,
                           std::int32_t &matched)
        = 0;

    // adSchemaTables (TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE) or
    // adSchemaColumns (TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME,
    // ORDINAL_POSITION, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, IS_NULLABLE);
    // restrictions as in ADO (empty entries restrict nothing).
    virtual bool openSchema(int schema, const std::vector<QString> &restrictions, RowSet &out, Errors &errors) = 0;

    virtual bool setCommandTimeout(int /*seconds*/, Errors & /*errors*/) { return true; }
    virtual bool setIsolationLevel(int /*level*/, Errors & /*errors*/) { return true; }
    virtual QString defaultDatabase() const { return {}; }
    virtual bool setDefaultDatabase(const QString & /*name*/, Errors & /*errors*/) { return true; }
};

} // namespace ado
