#include "platform/ado/odbc_provider.h"

#include "platform/ado/connection_string.h"
#include "platform/runtime/ini.h"

#include <QDateTime>

#include <algorithm>

#include <sql.h>
#include <sqlext.h>

namespace ado {

struct OdbcProvider::Handles
{
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
    ~Handles()
    {
        if (dbc != SQL_NULL_HDBC) {
            if (connected)
                SQLDisconnect(dbc);
            SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        }
        if (env != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
};

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC with 2-byte SQLWCHAR expected");

const SQLWCHAR *wide(const QString &s)
{
    return reinterpret_cast<const SQLWCHAR *>(s.utf16());
}
QString fromWide(const SQLWCHAR *p, qsizetype n)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(p), n);
}

bool ok(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

std::int32_t numberFor(const QString &state)
{
    if (state == "42S02" || state == "S0002")
        return DB_E_NOTABLE;
    if (state.startsWith("23"))
        return DB_E_INTEGRITYVIOLATION;
    if (state.startsWith("42") || state == "37000" || state == "S0022")
        return DB_E_ERRORSINCOMMAND;
    if (state == "HYT00" || state == "HYT01" || state == "S1T00")
        return DB_E_ABORTLIMITREACHED;
    return E_FAIL_;
}

// The diagnostics of a failed call as errors. Informational records (class
// 01) are not errors, unless they are all the driver left: the driver
// manager reports a driver it cannot load that way.
void collect(SQLSMALLINT type, SQLHANDLE handle, const QString &source, Errors &errors)
{
    std::vector<Error> all;
    bool anyError = false;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR message[2048];
        SQLSMALLINT len = 0;
        const SQLRETURN rc
            = SQLGetDiagRecW(type, handle, i, state, &native, message, SQLSMALLINT(std::size(message)), &len);
        if (!ok(rc))
            break;
        const QString st = fromWide(state, 5);
        anyError = anyError || !st.startsWith("01");
        all.push_back({numberFor(st),
                       fromWide(message, std::min<qsizetype>(len, qsizetype(std::size(message)) - 1)),
                       source,
                       st,
                       std::int32_t(native)});
    }
    for (Error &e : all)
        if (!anyError || !e.SQLState.startsWith("01"))
            errors.Add(std::move(e));
}

struct Stmt
{
    SQLHSTMT h = SQL_NULL_HSTMT;
    ~Stmt()
    {
        if (h != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, h);
    }
};

Column describe(SQLHSTMT st, SQLUSMALLINT i, SQLSMALLINT &sqlType, SQLSMALLINT &scale)
{
    SQLWCHAR name[512];
    SQLSMALLINT nameLen = 0, nullable = 0;
    SQLULEN size = 0;
    SQLDescribeColW(st, i, name, SQLSMALLINT(std::size(name)), &nameLen, &sqlType, &size, &scale, &nullable);
    Column c;
    c.name = fromWide(name, std::min<qsizetype>(nameLen, qsizetype(std::size(name)) - 1));
    auto attr = [&](SQLUSMALLINT field) {
        SQLWCHAR buf[512];
        SQLSMALLINT len = 0;
        if (!ok(SQLColAttributeW(st, i, field, buf, sizeof(buf), &len, nullptr)))
            return QString();
        return fromWide(buf, std::min<qsizetype>(len / 2, qsizetype(std::size(buf)) - 1));
    };
    c.baseTable = attr(SQL_DESC_BASE_TABLE_NAME);
    c.baseColumn = attr(SQL_DESC_BASE_COLUMN_NAME);
    if (c.baseColumn.isEmpty() && !c.baseTable.isEmpty())
        c.baseColumn = c.name;
    switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
        c.kind = ColumnKind::Text;
        c.definedSize = std::int32_t(std::min<SQLULEN>(size, 2147483647));
        break;
    case SQL_INTEGER:
        c.kind = ColumnKind::Integer;
        c.definedSize = 4;
        break;
    case SQL_SMALLINT:
        c.kind = ColumnKind::Integer;
        c.definedSize = 2;
        break;
    case SQL_TINYINT:
        c.kind = ColumnKind::Integer;
        c.definedSize = 1;
        break;
    case SQL_BIGINT:
        c.kind = ColumnKind::Integer;
        c.definedSize = 8;
        break;
    case SQL_BIT:
        c.kind = ColumnKind::Boolean;
        c.definedSize = 2;
        break;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        c.kind = ColumnKind::Real;
        c.definedSize = 8;
        break;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        if (scale == 0 && size > 0 && size <= 9) {
            c.kind = ColumnKind::Integer;
            c.definedSize = 4;
        } else {
            c.kind = ColumnKind::Money;
            c.definedSize = 19;
        }
        break;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIMESTAMP:
    case SQL_TYPE_TIME:
    case SQL_DATE:
    case SQL_TIMESTAMP:
        c.kind = ColumnKind::Date;
        c.definedSize = 16;
        break;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        c.kind = ColumnKind::Binary;
        c.definedSize = std::int32_t(std::min<SQLULEN>(size, 2147483647));
        break;
    default:
        c.kind = ColumnKind::Unknown;
        c.definedSize = std::int32_t(std::min<SQLULEN>(size, 2147483647));
        break;
    }
    return c;
}

::Currency parseCurrency(const QString &text)
{
    // Exact to four decimals, without going through a binary fraction.
    QString t = text.trimmed();
    const bool negative = t.startsWith('-');
    if (negative || t.startsWith('+'))
        t.remove(0, 1);
    const QString whole = t.section('.', 0, 0);
    QString frac = t.section('.', 1, 1);
    const bool roundUp = frac.size() > 4 && frac[4] >= '5';
    frac = frac.left(4).leftJustified(4, '0');
    std::int64_t scaled = whole.toLongLong() * 10000 + frac.toLongLong() + (roundUp ? 1 : 0);
    return ::Currency::fromScaled(negative ? -scaled : scaled);
}

bool fetchCell(SQLHSTMT st, SQLUSMALLINT i, const Column &c, SQLSMALLINT sqlType, Variant &out)
{
    SQLLEN ind = 0;
    switch (c.kind) {
    case ColumnKind::Integer: {
        SQLBIGINT v = 0;
        if (!ok(SQLGetData(st, i, SQL_C_SBIGINT, &v, 0, &ind)))
            return false;
        out = ind == SQL_NULL_DATA ? Variant::null() : Variant(static_cast<long long>(v));
        return true;
    }
    case ColumnKind::Boolean: {
        unsigned char v = 0;
        if (!ok(SQLGetData(st, i, SQL_C_BIT, &v, 0, &ind)))
            return false;
        out = ind == SQL_NULL_DATA ? Variant::null() : Variant(v != 0);
        return true;
    }
    case ColumnKind::Real: {
        double v = 0;
        if (!ok(SQLGetData(st, i, SQL_C_DOUBLE, &v, 0, &ind)))
            return false;
        out = ind == SQL_NULL_DATA ? Variant::null() : Variant(v);
        return true;
    }
    case ColumnKind::Date: {
        SQL_TIMESTAMP_STRUCT ts{};
        if (!ok(SQLGetData(st, i, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &ind)))
            return false;
        // The fraction counts nanoseconds; a date-time keeps milliseconds.
        out = ind == SQL_NULL_DATA
                  ? Variant::null()
                  : Variant(QDateTime(QDate(ts.year, ts.month, ts.day),
                                      QTime(ts.hour, ts.minute, ts.second, int(ts.fraction / 1000000))));
        return true;
    }
    default:
        break;
    }
    // Text (also of money, decimals and unknown types), in pieces.
    (void) sqlType;
    QString text;
    SQLWCHAR buf[4096];
    for (;;) {
        const SQLRETURN rc = SQLGetData(st, i, SQL_C_WCHAR, buf, sizeof buf, &ind);
        if (rc == SQL_NO_DATA)
            break;
        if (!ok(rc))
            return false;
        if (ind == SQL_NULL_DATA) {
            out = Variant::null();
            return true;
        }
        const qsizetype chars = (ind == SQL_NO_TOTAL || ind >= SQLLEN(sizeof buf)) ? qsizetype(std::size(buf)) - 1
                                                                                   : qsizetype(ind / 2);
        text += fromWide(buf, chars);
        if (rc == SQL_SUCCESS)
            break;
    }
    out = c.kind == ColumnKind::Money ? Variant(parseCurrency(text)) : Variant(text);
    return true;
}

// Parameters of an UPDATE, kept alive until it ran.
struct Param
{
    Param(Variant v, ColumnKind k)
        : value(std::move(v))
        , kind(k)
    {}
    Variant value;
    ColumnKind kind;
    QString text;
    SQLBIGINT integer = 0;
    double real = 0;
    SQL_TIMESTAMP_STRUCT ts{};
    SQLLEN ind = 0;
};

SQLRETURN bindParam(SQLHSTMT st, SQLUSMALLINT n, Param &p)
{
    const Variant &v = p.value;
    if (v.isNull() || v.isEmpty()) {
        p.ind = SQL_NULL_DATA;
        return SQLBindParameter(st, n, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 1, 0, nullptr, 0, &p.ind);
    }
    switch (v.type()) {
    case Variant::Type::Boolean:
    case Variant::Type::Integer:
    case Variant::Type::Long:
        p.integer = v.type() == Variant::Type::Boolean ? (v.toBool() ? 1 : 0) : v.rawInteger();
        return SQLBindParameter(st, n, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &p.integer, 0, nullptr);
    case Variant::Type::Double:
    case Variant::Type::Currency:
        p.real = v.toDouble();
        return SQLBindParameter(st, n, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, &p.real, 0, nullptr);
    case Variant::Type::Date: {
        const QDateTime d = v.toDate();
        p.ts.year = SQLSMALLINT(d.date().year());
        p.ts.month = SQLUSMALLINT(d.date().month());
        p.ts.day = SQLUSMALLINT(d.date().day());
        p.ts.hour = SQLUSMALLINT(d.time().hour());
        p.ts.minute = SQLUSMALLINT(d.time().minute());
        p.ts.second = SQLUSMALLINT(d.time().second());
        p.ts.fraction = SQLUINTEGER(d.time().msec()) * 1000000;
        // As SQL Server's datetime: to the millisecond.
        return SQLBindParameter(
            st, n, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23, 3, &p.ts, sizeof p.ts, nullptr);
    }
    default:
        p.text = v.toString();
        p.ind = SQLLEN(p.text.size() * 2);
        return SQLBindParameter(st,
                                n,
                                SQL_PARAM_INPUT,
                                SQL_C_WCHAR,
                                SQL_WVARCHAR,
                                SQLULEN(std::max<qsizetype>(1, p.text.size())),
                                0,
                                const_cast<SQLWCHAR *>(wide(p.text)),
                                p.ind,
                                &p.ind);
    }
}

} // namespace

QString OdbcProvider::driverFor(Platform platform)
{
    const bool oracle = platform == Platform::Oracle;
    const QString env
        = qEnvironmentVariable(oracle ? "ANULACION_ORACLE_DRIVER" : "ANULACION_SQLSERVER_DRIVER").trimmed();
    if (!env.isEmpty())
        return env;
    const QString fromIni = vb::ProfileString(QStringLiteral("VI000vi.INI"),
                                              QStringLiteral("ODBC"),
                                              oracle ? QStringLiteral("OracleDriver")
                                                     : QStringLiteral("SqlServerDriver"))
                                .trimmed();
    if (!fromIni.isEmpty())
        return fromIni;
    return oracle ? QStringLiteral("Oracle") : QStringLiteral("FreeTDS");
}

QString OdbcProvider::serverForDriver(const QString &server)
{
    QString s = server.trimmed();
    // "tcp:" (Microsoft's) or "tcp/" only names the protocol both drivers use.
    if (s.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive)
        || s.startsWith(QLatin1String("tcp/"), Qt::CaseInsensitive))
        s = s.mid(4);
    // FreeTDS takes "host:port" for a host name; "host,port" is the port for
    // both drivers. More than one ":" is an IPv6 address: left as written.
    const qsizetype colon = s.indexOf(QLatin1Char(':'));
    if (colon > 0 && colon == s.lastIndexOf(QLatin1Char(':')) && colon + 1 < s.size()
        && std::all_of(s.begin() + colon + 1, s.end(), [](QChar c) { return c.isDigit(); }))
        s[colon] = QLatin1Char(',');
    return s;
}

QString OdbcProvider::odbcConnectionString(Platform platform, const OdbcLogin &login)
{
    QString driver = driverFor(platform);
    if (driver.startsWith('{') && driver.endsWith('}'))
        driver = driver.mid(1, driver.size() - 2);
    QString s = QStringLiteral("DRIVER=") + ConnectionString::quoteOdbc(driver) + ';';
    if (platform == Platform::Oracle) {
        s += QStringLiteral("DBQ=") + ConnectionString::quoteOdbc(login.database) + ';';
    } else {
        s += QStringLiteral("SERVER=") + ConnectionString::quoteOdbc(serverForDriver(login.server)) + ';';
        s += QStringLiteral("DATABASE=") + ConnectionString::quoteOdbc(login.database) + ';';
    }
    s += QStringLiteral("UID=") + ConnectionString::quoteOdbc(login.user) + ';';
    s += QStringLiteral("PWD=") + ConnectionString::quoteOdbc(login.password) + ';';
    return s;
}

std::unique_ptr<OdbcProvider> OdbcProvider::open(Platform platform, const OdbcLogin &login, Errors &errors)
{
    std::unique_ptr<OdbcProvider> p = openOdbc(platform, odbcConnectionString(platform, login), errors);
    if (p) {
        Errors ignored;
        p->setCommandTimeout(login.commandTimeout, ignored);
    }
    return p;
}

std::unique_ptr<OdbcProvider> OdbcProvider::openOdbc(Platform platform,
                                                     const QString &odbcConnectionString,
                                                     Errors &errors)
{
    const QString source = QStringLiteral("ODBC");
    auto h = std::make_unique<Handles>();
    if (!ok(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h->env))
        || !ok(SQLSetEnvAttr(h->env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))
        || !ok(SQLAllocHandle(SQL_HANDLE_DBC, h->env, &h->dbc))) {
        errors.Add({E_FAIL_,
                    QStringLiteral("The ODBC driver manager could not be initialised."),
                    source,
                    QStringLiteral("HY001"),
                    0});
        return nullptr;
    }
    SQLSetConnectAttr(h->dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(15)), 0);
    SQLWCHAR out[1024];
    SQLSMALLINT outLen = 0;
    const SQLRETURN rc = SQLDriverConnectW(h->dbc,
                                           nullptr,
                                           const_cast<SQLWCHAR *>(wide(odbcConnectionString)),
                                           SQL_NTS,
                                           out,
                                           SQLSMALLINT(std::size(out)),
                                           &outLen,
                                           SQL_DRIVER_NOPROMPT);
    if (!ok(rc)) {
        const int before = errors.Count();
        collect(SQL_HANDLE_DBC, h->dbc, source, errors);
        if (errors.Count() == before)
            errors.Add(
                {E_FAIL_, QStringLiteral("The connection could not be opened."), source, QStringLiteral("08001"), 0});
        return nullptr;
    }
    h->connected = true;
    std::unique_ptr<OdbcProvider> p(new OdbcProvider(platform, std::move(h)));
    if (p->m_dbms == Dbms::SqlServer) {
        // The system writes day/month/year dates.
        Errors setup;
        if (!p->execute(QStringLiteral("SET DATEFORMAT dmy"), setup, nullptr, nullptr)) {
            for (int i = 0; i < setup.Count(); ++i)
                errors.Add(setup.Item(i));
            return nullptr;
        }
    }
    return p;
}

OdbcProvider::OdbcProvider(Platform platform, std::unique_ptr<Handles> handles)
    : m_platform(platform)
    , h(std::move(handles))
{
    SQLWCHAR buf[256];
    SQLSMALLINT len = 0;
    if (ok(SQLGetInfoW(h->dbc, SQL_DBMS_NAME, buf, sizeof buf, &len)))
        m_dbmsName = fromWide(buf, std::min<qsizetype>(len / 2, qsizetype(std::size(buf)) - 1));
    if (m_dbmsName.contains(QLatin1String("SQL Server"), Qt::CaseInsensitive))
        m_dbms = Dbms::SqlServer;
    else if (m_dbmsName.contains(QLatin1String("Oracle"), Qt::CaseInsensitive))
        m_dbms = Dbms::Oracle;
}

OdbcProvider::~OdbcProvider()
{
    close();
}

QString OdbcProvider::name() const
{
    return m_dbmsName.isEmpty() ? QStringLiteral("ODBC") : QStringLiteral("ODBC ") + m_dbmsName;
}

void OdbcProvider::close()
{
    if (h && h->connected && m_level > 0)
        SQLEndTran(SQL_HANDLE_DBC, h->dbc, SQL_ROLLBACK);
    h.reset();
    m_level = 0;
}

bool OdbcProvider::execute(const QString &sql, Errors &errors, std::int32_t *recordsAffected, RowSet *rows)
{
    if (!h) {
        errors.Add({E_FAIL_, QStringLiteral("The connection is closed."), name(), QStringLiteral("08003"), 0});
        return false;
    }
    Stmt st;
    if (!ok(SQLAllocHandle(SQL_HANDLE_STMT, h->dbc, &st.h))) {
        collect(SQL_HANDLE_DBC, h->dbc, name(), errors);
        return false;
    }
    if (m_timeoutSeconds >= 0)
        SQLSetStmtAttr(st.h, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(m_timeoutSeconds)), 0);
    std::int64_t affected = 0;
    bool gotRows = false;
    bool failed = false;
    SQLRETURN rc = SQLExecDirectW(st.h, const_cast<SQLWCHAR *>(wide(sql)), SQL_NTS);
    // Every result of a batch is drained, so an error in any statement is seen.
    for (;;) {
        if (rc == SQL_ERROR) {
            failed = true;
            collect(SQL_HANDLE_STMT, st.h, name(), errors);
        } else if (rc == SQL_INVALID_HANDLE) {
            failed = true;
            errors.Add({E_FAIL_, QStringLiteral("Invalid ODBC handle."), name(), QStringLiteral("HY000"), 0});
            break;
        } else if (ok(rc)) {
            SQLSMALLINT ncol = 0;
            SQLNumResultCols(st.h, &ncol);
            if (ncol > 0) {
                const bool want = rows && !gotRows;
                std::vector<SQLSMALLINT> types(static_cast<size_t>(ncol)), scales(static_cast<size_t>(ncol));
                if (want) {
                    rows->columns.clear();
                    rows->rows.clear();
                    for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(ncol); ++i)
                        rows->columns.push_back(describe(st.h, i, types[i - 1], scales[i - 1]));
                    gotRows = true;
                }
                SQLRETURN f;
                while (ok(f = SQLFetch(st.h))) {
                    if (!want)
                        continue;
                    std::vector<Variant> row(static_cast<size_t>(ncol));
                    for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(ncol); ++i)
                        if (!fetchCell(st.h, i, rows->columns[i - 1], types[i - 1], row[i - 1])) {
                            failed = true;
                            collect(SQL_HANDLE_STMT, st.h, name(), errors);
                        }
                    rows->rows.push_back(std::move(row));
                }
                if (f == SQL_ERROR) {
                    failed = true;
                    collect(SQL_HANDLE_STMT, st.h, name(), errors);
                }
            } else {
                SQLLEN n = 0;
                if (ok(SQLRowCount(st.h, &n)) && n > 0)
                    affected += n;
            }
        }
        // SQL_NO_DATA: a searched UPDATE or DELETE that touched nothing succeeds.
        rc = SQLMoreResults(st.h);
        if (rc == SQL_NO_DATA)
            break;
    }
    if (recordsAffected)
        *recordsAffected = std::int32_t(affected);
    return !failed;
}

bool OdbcProvider::beginTrans(Errors &errors)
{
    if (m_level == 0
        && !ok(SQLSetConnectAttr(h->dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0))) {
        collect(SQL_HANDLE_DBC, h->dbc, name(), errors);
        return false;
    }
    ++m_level;
    return true;
}

bool OdbcProvider::endTransaction(bool commit, Errors &errors)
{
    const bool done = ok(SQLEndTran(SQL_HANDLE_DBC, h->dbc, commit ? SQL_COMMIT : SQL_ROLLBACK));
    if (!done)
        collect(SQL_HANDLE_DBC, h->dbc, name(), errors);
    if (done || !commit) {
        m_level = 0;
        SQLSetConnectAttr(h->dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    }
    return done;
}

bool OdbcProvider::commitTrans(Errors &errors)
{
    if (m_level == 0) {
        errors.Add({E_FAIL_, QStringLiteral("No transaction is active."), name(), QStringLiteral("25000"), 3902});
        return false;
    }
    if (m_level > 1) {
        --m_level;
        return true;
    }
    return endTransaction(true, errors);
}

bool OdbcProvider::rollbackTrans(Errors &errors)
{
    if (m_level == 0) {
        errors.Add({E_FAIL_, QStringLiteral("No transaction is active."), name(), QStringLiteral("25000"), 3903});
        return false;
    }
    return endTransaction(false, errors);
}

bool OdbcProvider::updateRow(const QString &table,
                             const std::vector<Column> &columns,
                             const std::vector<Variant> &original,
                             const std::vector<Variant> &current,
                             const std::vector<bool> &changed,
                             Errors &errors,
                             std::int32_t &matched)
{
    matched = 0;
    auto quoted = [](const QString &n) {
        QString q = n;
        q.replace('"', QLatin1String("\"\""));
        return '"' + q + '"';
    };
    std::vector<Param> params;
    params.reserve(columns.size() * 2);
    QStringList sets, where;
    for (size_t i = 0; i < columns.size(); ++i)
        if (changed[i]) {
            sets << quoted(columns[i].baseColumn) + " = ?";
            params.emplace_back(current[i], columns[i].kind);
        }
    if (sets.isEmpty())
        return true;
    // With the table's key among the columns, the key and the changed columns
    // tell whether the row is still as read; without it, every column does.
    const QStringList keys = primaryKey(table);
    const bool byKey = !keys.isEmpty() && std::all_of(keys.begin(), keys.end(), [&](const QString &k) {
        return std::any_of(columns.begin(), columns.end(), [&](const Column &c) {
            return c.baseColumn.compare(k, Qt::CaseInsensitive) == 0;
        });
    });
    for (size_t i = 0; i < columns.size(); ++i) {
        const Column &c = columns[i];
        if (byKey && !changed[i] && !keys.contains(c.baseColumn, Qt::CaseInsensitive))
            continue;
        if (c.kind == ColumnKind::Binary || (c.kind == ColumnKind::Text && c.definedSize > 8000))
            continue;
        if (original[i].isNull() || original[i].isEmpty()) {
            where << quoted(c.baseColumn) + " IS NULL";
        } else {
            where << quoted(c.baseColumn) + " = ?";
            params.emplace_back(original[i], c.kind);
        }
    }
    QString sql = "UPDATE " + quoted(table) + " SET " + sets.join(", ");
    if (!where.isEmpty())
        sql += " WHERE " + where.join(" AND ");
    Stmt st;
    if (!ok(SQLAllocHandle(SQL_HANDLE_STMT, h->dbc, &st.h))) {
        collect(SQL_HANDLE_DBC, h->dbc, name(), errors);
        return false;
    }
    for (size_t i = 0; i < params.size(); ++i)
        if (!ok(bindParam(st.h, SQLUSMALLINT(i + 1), params[i]))) {
            collect(SQL_HANDLE_STMT, st.h, name(), errors);
            return false;
        }
    const SQLRETURN rc = SQLExecDirectW(st.h, const_cast<SQLWCHAR *>(wide(sql)), SQL_NTS);
    if (rc == SQL_NO_DATA)
        return true;
    if (!ok(rc)) {
        collect(SQL_HANDLE_STMT, st.h, name(), errors);
        return false;
    }
    SQLLEN n = 0;
    SQLRowCount(st.h, &n);
    matched = std::int32_t(std::max<SQLLEN>(0, n));
    return true;
}

QStringList OdbcProvider::primaryKey(const QString &table)
{
    QStringList keys;
    Stmt st;
    if (!ok(SQLAllocHandle(SQL_HANDLE_STMT, h->dbc, &st.h)))
        return keys;
    if (!ok(SQLPrimaryKeysW(st.h, nullptr, 0, nullptr, 0, const_cast<SQLWCHAR *>(wide(table)), SQL_NTS)))
        return keys;
    while (ok(SQLFetch(st.h))) {
        SQLWCHAR name[512];
        SQLLEN len = 0;
        if (ok(SQLGetData(st.h, 4, SQL_C_WCHAR, name, sizeof name, &len)) && len > 0)
            keys << fromWide(name, std::min<qsizetype>(len / 2, qsizetype(std::size(name)) - 1));
    }
    return keys;
}

bool OdbcProvider::openSchema(int schema, const std::vector<QString> &restrictions, RowSet &out, Errors &errors)
{
    if (schema != adSchemaTables && schema != adSchemaColumns) {
        errors.Add({E_FAIL_,
                    QStringLiteral("Object or provider is not capable of performing requested operation."),
                    name(),
                    QStringLiteral("HYC00"),
                    0});
        return false;
    }
    Stmt st;
    if (!ok(SQLAllocHandle(SQL_HANDLE_STMT, h->dbc, &st.h))) {
        collect(SQL_HANDLE_DBC, h->dbc, name(), errors);
        return false;
    }
    std::vector<QString> r = restrictions;
    r.resize(4);
    auto arg = [&](size_t i) { return r[i].isEmpty() ? nullptr : const_cast<SQLWCHAR *>(wide(r[i])); };
    auto len = [&](size_t i) { return r[i].isEmpty() ? SQLSMALLINT(0) : SQLSMALLINT(SQL_NTS); };
    SQLRETURN rc;
    if (schema == adSchemaTables) {
        const QString types = r[3].isEmpty() ? QStringLiteral("TABLE,VIEW") : r[3];
        rc = SQLTablesW(st.h,
                        arg(0),
                        len(0),
                        arg(1),
                        len(1),
                        arg(2),
                        len(2),
                        const_cast<SQLWCHAR *>(wide(types)),
                        SQL_NTS);
    } else {
        rc = SQLColumnsW(st.h, arg(0), len(0), arg(1), len(1), arg(2), len(2), arg(3), len(3));
    }
    if (!ok(rc)) {
        collect(SQL_HANDLE_STMT, st.h, name(), errors);
        return false;
    }
    // Catalog functions answer with ODBC's column names; ADO's are these.
    const std::vector<std::pair<int, QString>> wanted
        = schema == adSchemaTables ? std::vector<std::pair<int, QString>>{{1, "TABLE_CATALOG"},
                                                                          {2, "TABLE_SCHEMA"},
                                                                          {3, "TABLE_NAME"},
                                                                          {4, "TABLE_TYPE"}}
                                   : std::vector<std::pair<int, QString>>{{1, "TABLE_CATALOG"},
                                                                          {2, "TABLE_SCHEMA"},
                                                                          {3, "TABLE_NAME"},
                                                                          {4, "COLUMN_NAME"},
                                                                          {17, "ORDINAL_POSITION"},
                                                                          {6, "DATA_TYPE"},
                                                                          {7, "CHARACTER_MAXIMUM_LENGTH"},
                                                                          {18, "IS_NULLABLE"}};
    out = RowSet();
    std::vector<SQLSMALLINT> types(wanted.size()), scales(wanted.size());
    SQLSMALLINT ncol = 0;
    SQLNumResultCols(st.h, &ncol);
    for (size_t i = 0; i < wanted.size(); ++i) {
        Column c;
        if (wanted[i].first <= ncol)
            c = describe(st.h, SQLUSMALLINT(wanted[i].first), types[i], scales[i]);
        c.name = wanted[i].second;
        c.baseTable.clear();
        c.baseColumn.clear();
        if (c.kind == ColumnKind::Unknown)
            c.kind = ColumnKind::Text;
        out.columns.push_back(c);
    }
    while (ok(SQLFetch(st.h))) {
        std::vector<Variant> row(wanted.size());
        for (size_t i = 0; i < wanted.size(); ++i) {
            if (wanted[i].first > ncol) {
                row[i] = Variant::null();
                continue;
            }
            fetchCell(st.h, SQLUSMALLINT(wanted[i].first), out.columns[i], types[i], row[i]);
        }
        out.rows.push_back(std::move(row));
    }
    return true;
}

bool OdbcProvider::setCommandTimeout(int seconds, Errors &)
{
    // Applied to every statement; a driver that refuses it runs without.
    m_timeoutSeconds = std::max(0, seconds);
    return true;
}

bool OdbcProvider::setIsolationLevel(int level, Errors &errors)
{
    SQLULEN value = SQL_TXN_READ_COMMITTED;
    switch (level) {
    case adXactReadUncommitted:
        value = SQL_TXN_READ_UNCOMMITTED;
        break;
    case adXactRepeatableRead:
        value = SQL_TXN_REPEATABLE_READ;
        break;
    case adXactSerializable:
        value = SQL_TXN_SERIALIZABLE;
        break;
    default:
        break;
    }
    if (ok(SQLSetConnectAttr(h->dbc, SQL_ATTR_TXN_ISOLATION, reinterpret_cast<SQLPOINTER>(value), 0)))
        return true;
    if (m_dbms != Dbms::SqlServer)
        return true; // Oracle (and others) refuse some levels: not fatal
    collect(SQL_HANDLE_DBC, h->dbc, name(), errors);
    return errors.Count() == 0;
}

QString OdbcProvider::defaultDatabase() const
{
    if (!h)
        return {};
    SQLWCHAR buf[512];
    SQLINTEGER len = 0;
    if (!ok(SQLGetConnectAttrW(h->dbc, SQL_ATTR_CURRENT_CATALOG, buf, sizeof buf, &len)))
        return {};
    return fromWide(buf, std::min<qsizetype>(len / 2, qsizetype(std::size(buf)) - 1));
}

bool OdbcProvider::setDefaultDatabase(const QString &database, Errors &errors)
{
    if (m_dbms != Dbms::SqlServer || database.trimmed().isEmpty())
        return true; // Oracle and other drivers have no catalog to switch to
    if (ok(SQLSetConnectAttrW(h->dbc,
                              SQL_ATTR_CURRENT_CATALOG,
                              const_cast<SQLWCHAR *>(wide(database.trimmed())),
                              SQL_NTS)))
        return true;
    collect(SQL_HANDLE_DBC, h->dbc, name(), errors);
    return false;
}

} // namespace ado
