#include "platform/ado/ado.h"

#include "platform/ado/connection_string.h"
#include "platform/ado/odbc_provider.h"
#include "platform/ado/provider.h"
#include "platform/ado/sql_text.h"
#include "platform/ado/sqlite_provider.h"
#include "platform/runtime/vberror.h"

#include <QHash>

namespace ado {
namespace {

[[noreturn]] void raise(std::int32_t number, const QString &description, const QString &source = QStringLiteral("ADODB"))
{
    ErrObject e;
    e.Number = number;
    e.Description = description;
    e.Source = source;
    throw VbException(e);
}

// Whether a field still holds the value it was read with.
bool sameValue(const Variant &a, const Variant &b)
{
    if (a.type() != b.type())
        return false;
    switch (a.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return true;
    case Variant::Type::String:
        return a.rawString() == b.rawString();
    case Variant::Type::Double:
        return a.rawDouble() == b.rawDouble();
    case Variant::Type::Integer:
    case Variant::Type::Long:
        return a.rawInteger() == b.rawInteger();
    default:
        return a == b;
    }
}

} // namespace

const Error &Errors::Item(int index) const
{
    if (index < 0 || index >= Count())
        Raise(vberr::SubscriptOutOfRange);
    return m_items[size_t(index)];
}

// ---------------------------------------------------------------- Recordset

struct Recordset::Impl
{
    Connection *connection = nullptr;
    QString source;
    int cursorType = adOpenForwardOnly;
    int lockType = adLockReadOnly;
    bool countKnown = true;
    RowSet data;
    std::vector<Field> fields;
    // The names asked for in a recordset of several rows, as asked, and the
    // field each found: a read of many rows asks for the same few in every row.
    QHash<QString, size_t> asked;
    qsizetype pos = 0;       // -1 before the first row, size() after the last
    std::uint64_t moves = 0; // a field's value made at another move is of another row

    qsizetype size() const { return qsizetype(data.rowCount()); }
    bool current() const { return pos >= 0 && pos < size(); }

    void load(RowSet &&rows)
    {
        data = std::move(rows);
        fields.clear();
        asked.clear();
        fields.reserve(data.columns.size());
        for (size_t i = 0; i < data.columns.size(); ++i)
            fields.push_back(Field(this, i, data.columns[i].name, data.columns[i].definedSize));
        moveTo(0);
    }

    // The fields show the row at `at` from now on, each made when it is read.
    void moveTo(qsizetype at)
    {
        pos = at;
        ++moves;
    }

    // Every row as Variants, to be written back.
    std::vector<std::vector<Variant>> &rows()
    {
        if (data.stored) {
            data.rows.assign(data.stored->size(), {});
            for (size_t r = 0; r < data.rows.size(); ++r)
                for (size_t c = 0; c < data.columns.size(); ++c)
                    data.rows[r].push_back(data.stored->value(r, c));
            data.stored.reset();
        }
        return data.rows;
    }
};

namespace {

[[noreturn]] void raiseClosed()
{
    raise(vberr::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
}

[[noreturn]] void raiseNoCurrent()
{
    raise(vberr::NoCurrentRecord,
          QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                         "Requested operation requires a current record."));
}

} // namespace

const Variant &Field::Value() const
{
    if (!m_owner->current())
        raiseNoCurrent();
    if (m_shown != m_owner->moves) {
        m_value = m_owner->data.value(size_t(m_owner->pos), m_index);
        m_shown = m_owner->moves;
    }
    return m_value;
}

void Field::setValue(const Variant &v)
{
    if (!m_owner->current())
        raiseNoCurrent();
    m_value = v;
    m_shown = m_owner->moves;
}

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset &&) noexcept = default;
Recordset &Recordset::operator=(Recordset &&) noexcept = default;

void Recordset::Open(const QString &source, Connection &activeConnection, int cursorType, int lockType, int)
{
    if (d)
        raise(adErrObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
    activeConnection.requireOpen();
    activeConnection.m_errors.Clear();
    // A query is one statement: a text that holds more (a typed text let out
    // of its quotes) runs nothing at all.
    if (const int statements = statementCount(source); statements > 1) {
        activeConnection.m_errors.Add(
            {DB_E_ERRORSINCOMMAND,
             QStringLiteral("The command text holds %1 statements; a recordset opens one.").arg(statements),
             activeConnection.m_provider->name(),
             QStringLiteral("42000"),
             0});
        activeConnection.raiseErrors();
    }
    RowSet rows;
    rows.takesStored = true;
    if (!activeConnection.m_provider->execute(source, activeConnection.m_errors, nullptr, &rows))
        activeConnection.raiseErrors();
    if (!rows.hasColumns())
        return; // a statement without rows leaves the recordset closed, as ADO does
    auto impl = std::make_unique<Impl>();
    impl->connection = &activeConnection;
    impl->source = source;
    // Client-side cursors are static: every row is at hand, so count and position work.
    if (activeConnection.CursorLocation() == adUseClient) {
        impl->cursorType = adOpenStatic;
        impl->lockType = (lockType == adLockUnspecified || lockType == adLockReadOnly) ? adLockReadOnly
                         : lockType == adLockPessimistic                               ? adLockOptimistic
                                                                                       : lockType;
        impl->countKnown = true;
    } else {
        impl->cursorType = cursorType == adOpenUnspecified ? adOpenForwardOnly : cursorType;
        impl->lockType = lockType == adLockUnspecified ? adLockReadOnly : lockType;
        impl->countKnown = impl->cursorType != adOpenForwardOnly;
    }
    impl->load(std::move(rows));
    d = std::move(impl);
}

void Recordset::Close()
{
    if (!d)
        raiseClosed();
    d.reset();
}

int Recordset::State() const
{
    return d ? adStateOpen : adStateClosed;
}

bool Recordset::Bof() const
{
    if (!d)
        raiseClosed();
    return d->pos < 0 || d->size() == 0;
}

bool Recordset::Eof() const
{
    if (!d)
        raiseClosed();
    return d->pos >= d->size();
}

void Recordset::MoveNext()
{
    if (!d)
        raiseClosed();
    if (d->pos >= d->size())
        raiseNoCurrent();
    d->moveTo(d->pos + 1);
}

void Recordset::MoveFirst()
{
    if (!d)
        raiseClosed();
    if (d->size() == 0)
        raiseNoCurrent();
    d->moveTo(0);
}

void Recordset::MoveLast()
{
    if (!d)
        raiseClosed();
    if (d->size() == 0)
        raiseNoCurrent();
    d->moveTo(d->size() - 1);
}

std::int32_t Recordset::RecordCount() const
{
    if (!d)
        raiseClosed();
    return d->countKnown ? std::int32_t(d->size()) : -1;
}

std::int32_t Recordset::AbsolutePosition() const
{
    if (!d)
        raiseClosed();
    if (!d->countKnown)
        return -1; // adPosUnknown
    if (d->size() == 0 || d->pos < 0)
        return -2; // adPosBOF
    if (d->pos >= d->size())
        return -3; // adPosEOF
    return std::int32_t(d->pos + 1);
}

QList<QList<Variant>> Recordset::GetRows()
{
    return GetRows(-1);
}

QList<QList<Variant>> Recordset::GetRows(int rows)
{
    if (!d)
        raiseClosed();
    if (!d->current())
        raiseNoCurrent();
    const qsizetype end = rows < 0 ? d->size() : std::min(d->size(), d->pos + rows);
    QList<QList<Variant>> out(qsizetype(d->fields.size()));
    for (qsizetype r = d->pos; r < end; ++r)
        for (size_t c = 0; c < d->fields.size(); ++c)
            out[qsizetype(c)].append(d->data.value(size_t(r), c));
    d->moveTo(end);
    return out;
}

int Recordset::FieldCount() const
{
    if (!d)
        raiseClosed();
    return int(d->fields.size());
}

Field &Recordset::Fields(int index)
{
    if (!d)
        raiseClosed();
    if (index < 0 || size_t(index) >= d->fields.size())
        raise(vberr::ItemNotFound,
              QStringLiteral("Item cannot be found in the collection corresponding to the "
                             "requested name or ordinal."));
    return d->fields[size_t(index)];
}

Field &Recordset::Fields(const QString &name)
{
    if (!d)
        raiseClosed();
    if (const auto at = d->asked.constFind(name); at != d->asked.cend())
        return d->fields[*at];
    const QString wanted = name.trimmed();
    // Names equal but for case are as long: the length tells most apart at once.
    for (size_t i = 0; i < d->fields.size(); ++i)
        if (d->fields[i].m_name.size() == wanted.size()
            && d->fields[i].m_name.compare(wanted, Qt::CaseInsensitive) == 0) {
            if (d->size() > 1)
                d->asked.insert(name, i);
            return d->fields[i];
        }
    raise(vberr::ItemNotFound,
          QStringLiteral("Item cannot be found in the collection corresponding to the "
                         "requested name or ordinal."));
}

void Recordset::Update()
{
    if (!d)
        raiseClosed();
    if (d->lockType == adLockReadOnly)
        raise(adErrFeatureNotAvailable,
              QStringLiteral("Current Recordset does not support updating. This may be a limitation of the "
                             "provider, or of the selected locktype."));
    if (!d->current())
        raiseNoCurrent();
    std::vector<Variant> &original = d->rows()[size_t(d->pos)];
    std::vector<Variant> current;
    std::vector<bool> changed;
    QString table;
    bool any = false;
    for (size_t i = 0; i < d->fields.size(); ++i) {
        const Column &c = d->data.columns[i];
        current.push_back(d->fields[i].Value());
        const bool differs = !sameValue(current.back(), original[i]);
        changed.push_back(differs);
        any = any || differs;
        if (c.baseTable.isEmpty()) {
            if (differs)
                raise(E_FAIL_,
                      QStringLiteral("Field '%1' is not updatable: it is not a column of a table.").arg(c.name));
            continue;
        }
        if (table.isEmpty())
            table = c.baseTable;
        else if (table.compare(c.baseTable, Qt::CaseInsensitive) != 0)
            raise(E_FAIL_, QStringLiteral("Insufficient base table information for updating or refreshing."));
    }
    if (!any)
        return;
    if (table.isEmpty())
        raise(E_FAIL_, QStringLiteral("Insufficient base table information for updating or refreshing."));
    // Only the table's own columns take part; expression columns were checked above.
    std::vector<Column> cols;
    std::vector<Variant> orig, cur;
    std::vector<bool> chg;
    for (size_t i = 0; i < d->fields.size(); ++i) {
        if (d->data.columns[i].baseTable.isEmpty())
            continue;
        cols.push_back(d->data.columns[i]);
        orig.push_back(original[i]);
        cur.push_back(current[i]);
        chg.push_back(changed[i]);
    }
    Connection &cn = *d->connection;
    cn.requireOpen();
    cn.m_errors.Clear();
    std::int32_t matched = 0;
    if (!cn.m_provider->updateRow(table, cols, orig, cur, chg, cn.m_errors, matched))
        cn.raiseErrors();
    if (matched == 0) {
        cn.m_errors.Add({DB_E_CONCURRENCYVIOLATION,
                         QStringLiteral("Row cannot be located for updating. Some values may have been changed "
                                        "since it was last read."),
                         cn.m_provider->name(),
                         QString(),
                         0});
        cn.raiseErrors();
    }
    original = current;
}

int Recordset::CursorType() const
{
    if (!d)
        raiseClosed();
    return d->cursorType;
}

int Recordset::LockType() const
{
    if (!d)
        raiseClosed();
    return d->lockType;
}

QString Recordset::Source() const
{
    return d ? d->source : QString();
}

// --------------------------------------------------------------- Connection

Connection::Connection() = default;
Connection::~Connection()
{
    if (m_provider)
        m_provider->close();
}

void Connection::raiseErrors() const
{
    if (m_errors.Count() == 0)
        raise(E_FAIL_, QStringLiteral("Unspecified error"));
    throw VbException(m_errors.Item(0));
}

void Connection::requireOpen()
{
    if (!m_provider)
        raise(adErrInvalidConnection,
              QStringLiteral("The connection cannot be used to perform this operation. "
                             "It is either closed or invalid in this context."));
}

void Connection::Open(const QString &connectionString, const QString &userId, const QString &password, int)
{
    if (m_provider)
        raise(adErrObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
    const QString text = connectionString.isEmpty() ? m_connectionString : connectionString;
    m_connectionString = text;
    m_errors.Clear();
    const ado::ConnectionString cs(text);
    const QString providerName = cs.value("PROVIDER");
    OdbcLogin login;
    login.user = userId.isEmpty() ? (cs.has("UID") ? cs.value("UID") : cs.value("USER ID")) : userId;
    login.password = password.isEmpty() ? (cs.has("PWD") ? cs.value("PWD") : cs.value("PASSWORD")) : password;
    login.commandTimeout = m_commandTimeout;
    login.isolationLevel = m_isolationLevel;

    std::unique_ptr<Provider> p;
    Platform platform = Platform::None;
    if (providerName.contains(QLatin1String("ORACLE"), Qt::CaseInsensitive)) {
        login.database = cs.value("DATA SOURCE");
        platform = Platform::Oracle;
        p = OdbcProvider::open(Platform::Oracle, login, m_errors);
    } else if (providerName.isEmpty() || providerName.startsWith(QLatin1String("SQLOLEDB"), Qt::CaseInsensitive)
               || providerName.startsWith(QLatin1String("SQLNCLI"), Qt::CaseInsensitive)) {
        const QString server = cs.has("SERVER") ? cs.value("SERVER") : cs.value("DATA SOURCE");
        login.server = server;
        login.database = cs.has("DATABASE") ? cs.value("DATABASE") : cs.value("INITIAL CATALOG");
        if (server.trimmed().compare(QLatin1String("sqlite"), Qt::CaseInsensitive) == 0) {
            platform = Platform::SQLite;
            p = SqliteProvider::open(login.database, m_errors);
        } else {
            platform = Platform::SqlServer;
            p = OdbcProvider::open(Platform::SqlServer, login, m_errors);
        }
    } else {
        m_errors.Add({adErrProviderNotFound,
                      QStringLiteral("Provider cannot be found. It may not be properly installed."),
                      QStringLiteral("ADODB.Connection"),
                      QString(),
                      0});
    }
    if (!p)
        raiseErrors();
    Errors ignored;
    p->setCommandTimeout(m_commandTimeout, ignored);
    m_provider = std::move(p);
    m_platform = platform;
    m_defaultDatabase = m_provider->defaultDatabase();
}

void Connection::attachProvider(std::unique_ptr<Provider> provider, Platform platform)
{
    if (m_provider)
        m_provider->close();
    m_provider = std::move(provider);
    m_platform = m_provider ? platform : Platform::None;
    m_errors.Clear();
}

void Connection::attachProvider(std::unique_ptr<Provider> provider)
{
    const Platform platform = provider ? provider->platform() : Platform::None;
    attachProvider(std::move(provider), platform);
}

void Connection::Close()
{
    if (m_provider)
        m_provider->close();
    m_provider.reset();
    m_platform = Platform::None;
}

int Connection::State() const
{
    return m_provider ? adStateOpen : adStateClosed;
}

void Connection::Execute(const QString &commandText, std::int32_t *recordsAffected, int)
{
    requireOpen();
    m_errors.Clear();
    std::int32_t affected = 0;
    const bool ok = m_provider->execute(commandText, m_errors, &affected, nullptr);
    if (recordsAffected)
        *recordsAffected = affected;
    if (!ok)
        raiseErrors();
}

std::int32_t Connection::BeginTrans()
{
    requireOpen();
    m_errors.Clear();
    if (!m_provider->beginTrans(m_errors))
        raiseErrors();
    return m_provider->transactionLevel();
}

void Connection::CommitTrans()
{
    requireOpen();
    m_errors.Clear();
    if (!m_provider->commitTrans(m_errors))
        raiseErrors();
}

void Connection::RollbackTrans()
{
    requireOpen();
    m_errors.Clear();
    if (!m_provider->rollbackTrans(m_errors))
        raiseErrors();
}

void Connection::setCommandTimeout(int seconds)
{
    m_commandTimeout = seconds;
    if (m_provider) {
        m_errors.Clear();
        if (!m_provider->setCommandTimeout(seconds, m_errors))
            raiseErrors();
    }
}

void Connection::setIsolationLevel(int level)
{
    m_isolationLevel = level;
    if (m_provider) {
        m_errors.Clear();
        if (!m_provider->setIsolationLevel(level, m_errors))
            raiseErrors();
    }
}

QString Connection::DefaultDatabase() const
{
    return m_provider ? m_provider->defaultDatabase() : m_defaultDatabase;
}

void Connection::setDefaultDatabase(const QString &name)
{
    if (!m_provider) {
        m_defaultDatabase = name;
        return;
    }
    m_errors.Clear();
    if (!m_provider->setDefaultDatabase(name, m_errors))
        raiseErrors();
}

Recordset Connection::OpenSchema(int schema)
{
    return OpenSchema(schema, {});
}

Recordset Connection::OpenSchema(int schema, const QList<Variant> &restrictions)
{
    requireOpen();
    m_errors.Clear();
    std::vector<QString> r;
    for (const Variant &v : restrictions)
        r.push_back(v.isNull() || v.isEmpty() ? QString() : v.toString());
    RowSet rows;
    if (!m_provider->openSchema(schema, r, rows, m_errors))
        raiseErrors();
    Recordset rs;
    rs.d = std::make_unique<Recordset::Impl>();
    rs.d->connection = this;
    rs.d->cursorType = adOpenStatic;
    rs.d->lockType = adLockReadOnly;
    rs.d->load(std::move(rows));
    return rs;
}

Platform Connection::platform() const
{
    return m_platform;
}

} // namespace ado
