#pragma once

#include "platform/ado/provider.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace ado {

struct OdbcLogin
{
    QString server;   // SQL Server
    QString database; // SQL Server database, Oracle data source
    QString user;
    QString password;
    int commandTimeout = 30;
    int isolationLevel = adXactReadCommitted;
};

// SQL Server or Oracle through unixODBC. The driver is named by the
// environment (ANULACION_SQLSERVER_DRIVER, ANULACION_ORACLE_DRIVER), else by
// VI000vi.INI in the application folder ([ODBC] SqlServerDriver,
// OracleDriver), else "FreeTDS" and "Oracle"; a driver may also be the path
// of its library. The provider asks the driver which server it reached, so
// session settings that belong to SQL Server are only sent to SQL Server.
class OdbcProvider : public Provider
{
public:
    enum class Dbms { SqlServer, Oracle, Other };

    static QString driverFor(Platform platform);
    // The SQL Server as the drivers read it: "host", "host\INSTANCE" and
    // "host,port" as written; "host:port", "tcp:host,port" and
    // "tcp/host:port" as "host,port".
    static QString serverForDriver(const QString &server);
    // The ODBC connection string for `login` (every value quoted as needed).
    static QString odbcConnectionString(Platform platform, const OdbcLogin &login);
    // Null with the driver's diagnostics in `errors` when the connection fails.
    static std::unique_ptr<OdbcProvider> open(Platform platform, const OdbcLogin &login, Errors &errors);
    // Connects with a ready ODBC connection string (tests, tools).
    static std::unique_ptr<OdbcProvider> openOdbc(Platform platform,
                                                  const QString &odbcConnectionString,
                                                  Errors &errors);
    ~OdbcProvider() override;

    QString name() const override;
    Platform platform() const override { return m_platform; }
    Dbms dbms() const { return m_dbms; }
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
    bool setIsolationLevel(int level, Errors &errors) override;
    QString defaultDatabase() const override;
    bool setDefaultDatabase(const QString &name, Errors &errors) override;

    struct Handles;

private:
    OdbcProvider(Platform platform, std::unique_ptr<Handles> handles);
    bool endTransaction(bool commit, Errors &errors);
    // The table's primary key columns, as the driver's catalog names them.
    QStringList primaryKey(const QString &table);

    Platform m_platform;
    Dbms m_dbms = Dbms::Other;
    QString m_dbmsName;
    std::unique_ptr<Handles> h;
    int m_level = 0;
    int m_timeoutSeconds = 30;
};

} // namespace ado
