#pragma once

#include "platform/runtime/variant.h"
#include "platform/runtime/vberror.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// The data layer: what the system uses of a Connection, Recordset, Field and
// Errors, over two providers (the embedded SQLite engine and ODBC). A failing
// call fills the connection's Errors and raises a VbException whose number is
// the first error's.
namespace ado {

enum CursorLocationEnum { adUseServer = 2, adUseClient = 3 };
enum CursorTypeEnum {
    adOpenUnspecified = -1,
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3
};
enum LockTypeEnum {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4
};
enum ObjectStateEnum { adStateClosed = 0, adStateOpen = 1 };
enum SchemaEnum { adSchemaColumns = 4, adSchemaTables = 20 };
enum IsolationLevelEnum {
    adXactReadUncommitted = 256,
    adXactReadCommitted = 4096,
    adXactRepeatableRead = 65536,
    adXactSerializable = 1048576,
};

// Error-number families.
constexpr std::int32_t E_FAIL_ = std::int32_t(0x80004005);                   // anything else
constexpr std::int32_t DB_E_INTEGRITYVIOLATION = std::int32_t(0x80040E2F);   // constraint
constexpr std::int32_t DB_E_NOTABLE = std::int32_t(0x80040E37);              // unknown table or view
constexpr std::int32_t DB_E_ERRORSINCOMMAND = std::int32_t(0x80040E14);      // syntax, unknown column or function
constexpr std::int32_t DB_E_ABORTLIMITREACHED = std::int32_t(0x80040E31);    // time-out
constexpr std::int32_t DB_E_CONCURRENCYVIOLATION = std::int32_t(0x80040E38); // row changed since it was read
constexpr std::int32_t adErrProviderNotFound = 3706;
constexpr std::int32_t adErrObjectOpen = 3705;
constexpr std::int32_t adErrIllegalOperation = 3219;
constexpr std::int32_t adErrFeatureNotAvailable = 3251;
constexpr std::int32_t adErrInvalidConnection = 3709;

// The database platform a connection was opened on.
enum class Platform { None, SQLite, SqlServer, Oracle };

// A provider's error is the run-time error object itself: what a failing call
// raises is the first entry of the collection, as it is.
using Error = ErrObject;

class Errors
{
public:
    int Count() const { return int(m_items.size()); }
    const Error &Item(int index) const; // error 9 when out of range
    const Error &operator[](int index) const { return Item(index); }
    void Clear() { m_items.clear(); }
    void Add(Error e) { m_items.push_back(std::move(e)); }

private:
    std::vector<Error> m_items;
};

class Connection;
class Field;
class Provider;

class Recordset
{
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset &&) noexcept;
    Recordset &operator=(Recordset &&) noexcept;

    void Open(const QString &source,
              Connection &activeConnection,
              int cursorType = adOpenUnspecified,
              int lockType = adLockUnspecified,
              int options = -1);
    void Close(); // error 3704 when already closed
    int State() const;

    bool Bof() const;
    bool Eof() const;
    void MoveNext();
    void MoveFirst();
    void MoveLast();
    std::int32_t RecordCount() const;      // -1 when the cursor cannot tell
    std::int32_t AbsolutePosition() const; // 1-based
    // All rows from the current one on: [field][row]; leaves the cursor at the end.
    QList<QList<Variant>> GetRows();
    // At most `rows` rows (all when negative).
    QList<QList<Variant>> GetRows(int rows);

    int FieldCount() const;
    Field &Fields(int index);           // error 3265 when out of range
    Field &Fields(const QString &name); // case-insensitive; the first of equal names wins; error 3265
    // Writes the current row back (single-table recordsets opened with an updatable lock).
    void Update();

    int CursorType() const;
    int LockType() const;
    QString Source() const;

    struct Impl;

private:
    friend class Connection;

private:
    std::unique_ptr<Impl> d;
};

class Field
{
public:
    QString Name() const { return m_name; }
    // Error 3021 when the recordset has no current row.
    const Variant &Value() const;
    void setValue(const Variant &v);
    // The declared size: characters for text, 4 for integers, 8 for reals, 16 for dates.
    std::int32_t DefinedSize() const { return m_definedSize; }

private:
    friend class Recordset;
    friend struct Recordset::Impl;
    Field(const Recordset::Impl *owner, size_t index, QString name, std::int32_t definedSize)
        : m_owner(owner)
        , m_index(index)
        , m_name(std::move(name))
        , m_definedSize(definedSize)
    {}
    const Recordset::Impl *m_owner;
    size_t m_index;
    QString m_name;
    std::int32_t m_definedSize = 0;
    // The value of the current row, made when first asked for after a move.
    mutable Variant m_value;
    mutable std::uint64_t m_shown = 0; // the move it was made at
};

class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void Open(const QString &connectionString,
              const QString &userId = {},
              const QString &password = {},
              int options = -1);
    void Close();
    int State() const;

    void Execute(const QString &commandText, std::int32_t *recordsAffected = nullptr, int options = -1);
    std::int32_t BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    Errors &errors() { return m_errors; }
    const Errors &errors() const { return m_errors; }

    QString ConnectionString() const { return m_connectionString; }
    void setConnectionString(const QString &s) { m_connectionString = s; }
    int CursorLocation() const { return m_cursorLocation; }
    void setCursorLocation(int v) { m_cursorLocation = v; }
    int CommandTimeout() const { return m_commandTimeout; }
    void setCommandTimeout(int seconds);
    int IsolationLevel() const { return m_isolationLevel; }
    void setIsolationLevel(int level);
    QString DefaultDatabase() const;
    void setDefaultDatabase(const QString &name);

    Recordset OpenSchema(int schema);
    // Restrictions as ADO takes them: tables (catalog, schema, name, type),
    // columns (catalog, schema, table, column); empty entries restrict nothing.
    Recordset OpenSchema(int schema, const QList<Variant> &restrictions);

    // Puts a provider of the caller's own in place of the one Open would
    // choose (tests: see RecordingProvider). The connection is then open on
    // `platform`; the connection string stays as set.
    void attachProvider(std::unique_ptr<Provider> provider, Platform platform);
    void attachProvider(std::unique_ptr<Provider> provider);

    Platform platform() const;
    Provider *provider() const { return m_provider.get(); }

private:
    friend struct Recordset::Impl;
    friend class Recordset;
    [[noreturn]] void raiseErrors() const;
    void requireOpen();
    QString m_connectionString;
    QString m_defaultDatabase;
    Platform m_platform = Platform::None;
    int m_cursorLocation = adUseServer;
    int m_commandTimeout = 30;
    int m_isolationLevel = adXactReadCommitted;
    Errors m_errors;
    std::unique_ptr<Provider> m_provider;
};

} // namespace ado
