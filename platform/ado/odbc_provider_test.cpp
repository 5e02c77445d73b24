#include "platform/ado/odbc_provider.h"
#include "platform/ado/ado.h"
#include "platform/ado/connection_string.h"
#include "platform/runtime/app.h"
#include "platform/runtime/vberror.h"
#include "tests/support/controlador_odbc.h"
#include "tests/support/error_provocado.h"
#include "tests/support/impresion_qt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using ado::Connection;
using ado::Recordset;

// Sets an environment variable for the life of the object.
class EnvVar
{
public:
    EnvVar(const char *name, const QString &value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toUtf8());
    }
    ~EnvVar()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

// SQL Server's connection string, served by the SQLite ODBC driver: the whole
// ODBC road (driver choice, quoting, diagnostics, results) runs for real.
class OdbcSqlite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        driver = OdbcDriverLibrary("libsqlite3odbc.so");
        if (driver.isEmpty())
            GTEST_SKIP() << "SQLite ODBC driver (libsqliteodbc) not installed";
        path = dir.filePath("odbc.db");
        env = std::make_unique<EnvVar>("ANULACION_SQLSERVER_DRIVER", driver);
        cn.setCursorLocation(ado::adUseClient);
        cn.Open(connectionString());
    }
    QString connectionString() const
    {
        return "PROVIDER=SQLOLEDB;Server=localhost;Database =" + path + ";UId=ADMIN;Pwd=a;b}c;";
    }
    int count(const QString &sql)
    {
        Recordset rs;
        rs.Open(sql, cn, 0, 1);
        return rs.Fields(0).Value().toLong();
    }

    QTemporaryDir dir;
    QString driver, path;
    std::unique_ptr<EnvVar> env;
    Connection cn;
};

TEST_F(OdbcSqlite, OpensThroughTheNamedDriver)
{
    EXPECT_EQ(cn.platform(), ado::Platform::SqlServer);
    auto *p = dynamic_cast<ado::OdbcProvider *>(cn.provider());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->dbms(), ado::OdbcProvider::Dbms::Other); // no SQL Server session settings sent
    cn.setIsolationLevel(ado::adXactReadUncommitted);     // refused or not, never fatal here
    cn.setCommandTimeout(360);
}

TEST_F(OdbcSqlite, StatementsBatchesRecordsetsAndTypes)
{
    cn.Execute("CREATE TABLE T (C varchar(10) PRIMARY KEY, N integer, R double, F timestamp)");
    std::int32_t n = 0;
    cn.Execute("INSERT INTO T VALUES ('a', 1, 1.5, '2021-03-05 10:30:00')", &n);
    EXPECT_EQ(n, 1);
    cn.Execute("INSERT INTO T (C, N) VALUES ('b', 2)");
    cn.Execute("DELETE FROM T WHERE C = 'none'", &n); // nothing to delete is no error
    EXPECT_EQ(n, 0);
    EXPECT_EQ(cn.errors().Count(), 0);

    Recordset rs;
    rs.Open("SELECT C, N, R, F FROM T ORDER BY C", cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields("c").Value().toString(), "a");
    EXPECT_EQ(rs.Fields("N").Value().type(), Variant::Type::Long);
    EXPECT_EQ(rs.Fields("R").Value().toDouble(), 1.5);
    ASSERT_TRUE(rs.Fields("F").Value().isDate());
    EXPECT_EQ(rs.Fields("F").Value().toDate(), QDateTime(QDate(2021, 3, 5), QTime(10, 30)));
    rs.MoveLast();
    EXPECT_EQ(rs.AbsolutePosition(), 2);
    EXPECT_TRUE(rs.Fields("F").Value().isNull());
    const auto rows = (rs.MoveFirst(), rs.GetRows());
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].size(), 2);

    Recordset tables = cn.OpenSchema(ado::adSchemaTables);
    bool found = false;
    while (!tables.Eof()) {
        found = found || tables.Fields("TABLE_NAME").Value().toString() == "T";
        tables.MoveNext();
    }
    EXPECT_TRUE(found);
    Recordset columns = cn.OpenSchema(ado::adSchemaColumns, {Variant(), Variant(), Variant("T"), Variant()});
    EXPECT_EQ(columns.RecordCount(), 4);
}

TEST_F(OdbcSqlite, UpdateWritesBackAndRefusedBatchesAreErrors)
{
    cn.Execute("CREATE TABLE T (C varchar(10) PRIMARY KEY, N integer)");
    cn.Execute("INSERT INTO T VALUES ('x', 1)");
    cn.Execute("INSERT INTO T VALUES ('y', 2)");
    // This driver takes one statement per call; its refusal must surface, not pass as success.
    EXPECT_NE(RaisedError([&] { cn.Execute("DELETE FROM T WHERE C = 'x'; DELETE FROM T"); }).Number, 0);
    EXPECT_GE(cn.errors().Count(), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 2);

    Recordset rs;
    rs.Open("SELECT C, N FROM T WHERE C = 'y'", cn, ado::adOpenDynamic, ado::adLockOptimistic);
    rs.Fields("N").setValue(Variant(7));
    rs.Update();
    EXPECT_EQ(count("SELECT N FROM T WHERE C = 'y'"), 7);
    cn.Execute("UPDATE T SET N = 8 WHERE C = 'y'");
    rs.Fields("N").setValue(Variant(9));
    EXPECT_EQ(RaisedError([&] { rs.Update(); }).Number, ado::DB_E_CONCURRENCYVIOLATION);
}

// A numbering book stamped with milliseconds, as GETDATE() stamps it: the row
// reads back whole and an update finds it, by its key, or by every column
// when the table has none.
TEST_F(OdbcSqlite, UpdateFindsARowWhoseDateTimeHasAFraction)
{
    cn.Execute("CREATE TABLE LIBRO (CODIGO varchar(4), TALONARIO integer, UNEGOCIO varchar(4), A_ULTIMO_NRO "
               "integer, fechahora_modificacion datetime, PRIMARY KEY (CODIGO, TALONARIO, UNEGOCIO))");
    cn.Execute("CREATE TABLE SIN_CLAVE (CODIGO varchar(4), TALONARIO integer, UNEGOCIO varchar(4), A_ULTIMO_NRO "
               "integer, fechahora_modificacion datetime)");
    const QDateTime leida(QDate(2025, 3, 1), QTime(10, 0, 0, 123));
    const QDateTime escrita(QDate(2025, 3, 2), QTime(11, 30, 15, 456));
    for (const char *tabla : {"LIBRO", "SIN_CLAVE"}) {
        SCOPED_TRACE(tabla);
        cn.Execute(QStringLiteral("INSERT INTO %1 VALUES ('  RM', 1, '   1', 7, '2025-03-01 10:00:00.123')").arg(tabla));
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM %1 WHERE CODIGO = '  RM' AND TALONARIO = 1").arg(tabla),
                cn,
                ado::adOpenDynamic,
                ado::adLockOptimistic);
        EXPECT_EQ(rs.Fields("fechahora_modificacion").Value().toDate(), leida);
        rs.Fields("A_ULTIMO_NRO").setValue(Variant(8));
        rs.Update();
        rs.Fields("A_ULTIMO_NRO").setValue(Variant(9));
        rs.Fields("fechahora_modificacion").setValue(Variant(escrita));
        rs.Update();
        rs.Close();
        rs.Open(QStringLiteral("SELECT A_ULTIMO_NRO, fechahora_modificacion FROM %1").arg(tabla), cn, 0, 1);
        EXPECT_EQ(rs.Fields("A_ULTIMO_NRO").Value().toLong(), 9);
        EXPECT_EQ(rs.Fields("fechahora_modificacion").Value().toDate(), escrita);
    }
    // By the key, a column written meanwhile by someone else that this update
    // does not touch does not stop it; the one it changes does.
    Recordset rs;
    rs.Open("SELECT * FROM LIBRO", cn, ado::adOpenDynamic, ado::adLockOptimistic);
    cn.Execute("UPDATE LIBRO SET fechahora_modificacion = '2025-03-03 09:00:00.789'");
    rs.Fields("A_ULTIMO_NRO").setValue(Variant(10));
    rs.Update();
    EXPECT_EQ(count("SELECT A_ULTIMO_NRO FROM LIBRO"), 10);
    cn.Execute("UPDATE LIBRO SET A_ULTIMO_NRO = 11");
    rs.Fields("A_ULTIMO_NRO").setValue(Variant(12));
    EXPECT_EQ(RaisedError([&] { rs.Update(); }).Number, ado::DB_E_CONCURRENCYVIOLATION);
}

TEST_F(OdbcSqlite, TransactionsThroughTheDriver)
{
    cn.Execute("CREATE TABLE T (C varchar(10))");
    cn.BeginTrans();
    cn.Execute("INSERT INTO T VALUES ('a')");
    cn.RollbackTrans();
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 0);
    cn.BeginTrans();
    cn.BeginTrans();
    cn.Execute("INSERT INTO T VALUES ('a')");
    cn.CommitTrans();
    cn.CommitTrans();
    EXPECT_EQ(count("SELECT COUNT(*) FROM T"), 1);
    EXPECT_NE(RaisedError([&] { cn.CommitTrans(); }).Number, 0);
}

TEST_F(OdbcSqlite, FailuresCarryTheDriversDiagnostics)
{
    cn.Execute("CREATE TABLE T (C varchar(10) PRIMARY KEY)");
    cn.Execute("INSERT INTO T VALUES ('a')");
    const char *const bad[] = {"SELEC 1", "SELECT * FROM NO_SUCH_TABLE", "INSERT INTO T VALUES ('a')"};
    for (const char *sql : bad) {
        SCOPED_TRACE(sql);
        [&] {
            const ErrObject e = RaisedError([&] { cn.Execute(sql); });
            EXPECT_NE(e.Number, 0);
            ASSERT_GE(cn.errors().Count(), 1);
            EXPECT_FALSE(cn.errors().Item(0).Description.isEmpty());
            EXPECT_EQ(cn.errors().Item(0).SQLState.size(), 5);
            EXPECT_TRUE(cn.errors().Item(0).Source.startsWith("ODBC"));
        }();
    }
    cn.Execute("SELECT 1");
    EXPECT_EQ(cn.errors().Count(), 0);
}

TEST(OdbcOpen, AFailedOpenReportsTheDiagnosticsAndRaises)
{
    EnvVar env("ANULACION_SQLSERVER_DRIVER", "No Such Driver 9");
    Connection cn;
    const ErrObject e = RaisedError([&] { cn.Open("PROVIDER=SQLOLEDB;Server=db01;Database =EMPRESA;UId=sa;Pwd=x;"); });
    EXPECT_EQ(e.Number, ado::E_FAIL_);
    ASSERT_GE(cn.errors().Count(), 1);
    EXPECT_EQ(cn.errors().Item(0).SQLState.size(), 5);
    EXPECT_TRUE(cn.errors().Item(0).Description.contains("No Such Driver 9"));
    EXPECT_EQ(e.Description, cn.errors().Item(0).Description);
    EXPECT_EQ(cn.State(), ado::adStateClosed);
}

TEST(OdbcOpen, DriverNamesComeFromEnvironmentThenIniThenDefaults)
{
    QTemporaryDir app;
    const QString before = AppPath();
    SetAppPath(app.path());
    {
        EnvVar a("ANULACION_SQLSERVER_DRIVER", QString());
        EnvVar b("ANULACION_ORACLE_DRIVER", QString());
        EXPECT_EQ(ado::OdbcProvider::driverFor(ado::Platform::SqlServer), "FreeTDS");
        EXPECT_EQ(ado::OdbcProvider::driverFor(ado::Platform::Oracle), "Oracle");
        QFile ini(QDir(app.path()).filePath("VI000vi.INI"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Iconos]\nIconoDelSistema=x.ico\n[ODBC]\nSqlServerDriver=ODBC Driver 18 for SQL Server\n"
                  "OracleDriver=Oracle 19 ODBC driver\n");
        ini.close();
        EXPECT_EQ(ado::OdbcProvider::driverFor(ado::Platform::SqlServer), "ODBC Driver 18 for SQL Server");
        EXPECT_EQ(ado::OdbcProvider::driverFor(ado::Platform::Oracle), "Oracle 19 ODBC driver");
        EnvVar c("ANULACION_ORACLE_DRIVER", "OracleEnv");
        EXPECT_EQ(ado::OdbcProvider::driverFor(ado::Platform::Oracle), "OracleEnv");
    }
    SetAppPath(before);
}

TEST(OdbcOpen, ValuesAreQuotedSoTheyCannotAddKeywords)
{
    EnvVar env("ANULACION_SQLSERVER_DRIVER", "FreeTDS");
    ado::OdbcLogin login;
    login.server = "db01";
    login.database = "EMPRESA";
    login.user = "sa";
    login.password = "p;Driver={x}=1";
    const QString s = ado::OdbcProvider::odbcConnectionString(ado::Platform::SqlServer, login);
    EXPECT_EQ(s, "DRIVER=FreeTDS;SERVER=db01;DATABASE=EMPRESA;UID=sa;PWD={p;Driver={x}}=1};");
    const ado::ConnectionString parsed(s);
    EXPECT_EQ(parsed.value("pwd"), login.password);
    EXPECT_EQ(parsed.value("DRIVER"), "FreeTDS");
    EXPECT_EQ(parsed.values().size(), 5);

    login.database = "ORCL";
    EnvVar ora("ANULACION_ORACLE_DRIVER", "Oracle in OraClient19");
    EXPECT_EQ(ado::OdbcProvider::odbcConnectionString(ado::Platform::Oracle, login),
              "DRIVER={Oracle in OraClient19};DBQ=ORCL;UID=sa;PWD={p;Driver={x}}=1};");
    // The system's own connection strings, with the blank in "Database =".
    const ado::ConnectionString ado("PROVIDER=SQLOLEDB;Server=S;Database =D;UId=U;Pwd=P;");
    EXPECT_EQ(ado.value("database"), "D");
    EXPECT_EQ(ado.value("UID"), "U");
}

// Every form of @Server the README names, as the driver receives it.
TEST(OdbcOpen, ServerFormsReachTheDriverAsItReadsThem)
{
    struct Case
    {
        const char *nombre;
        const char *server;
        const char *enviado;
    };
    const Case cases[] = {
        {"host", "db01", "SERVER=db01;"},
        {"instance", "db01\\SQLEXPRESS", "SERVER=db01\\SQLEXPRESS;"},
        {"host_comma_port", "db01,1433", "SERVER={db01,1433};"},
        {"host_colon_port", "db01:1433", "SERVER={db01,1433};"},
        {"tcp_slash", "tcp/db01:1433", "SERVER={db01,1433};"},
        {"tcp_slash_without_port", "TCP/db01", "SERVER=db01;"},
        {"tcp_microsoft", "tcp:db01,1433", "SERVER={db01,1433};"},
        {"blanks", " db01:1433 ", "SERVER={db01,1433};"},
        {"ipv6_stays", "fe80::1", "SERVER=fe80::1;"},
        {"colon_without_port_stays", "db01:", "SERVER=db01:;"},
    };
    EnvVar env("ANULACION_SQLSERVER_DRIVER", "FreeTDS");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        ado::OdbcLogin login;
        login.server = c.server;
        login.database = "EMPRESA";
        login.user = "sa";
        login.password = "x";
        EXPECT_EQ(ado::OdbcProvider::odbcConnectionString(ado::Platform::SqlServer, login),
                  QStringLiteral("DRIVER=FreeTDS;%1DATABASE=EMPRESA;UID=sa;PWD=x;").arg(c.enviado));
    }
}

// A TCP port on 127.0.0.1 that nothing listens on.
int ClosedLocalPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0
                    && ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len) == 0;
    ::close(fd);
    return ok ? ntohs(a.sin_port) : 0;
}

// FreeTDS's own answer to each form: it looks for the named port (or asks
// the instance's port) instead of refusing the name as an unknown host.
TEST(OdbcOpen, FreeTdsTriesTheNamedPortOfEveryServerForm)
{
    const QString driver = OdbcDriverLibrary("libtdsodbc.so");
    if (driver.isEmpty())
        GTEST_SKIP() << "FreeTDS (tdsodbc) not installed";
    const int port = ClosedLocalPort();
    ASSERT_GT(port, 0);
    const QString p = QString::number(port);
    struct Case
    {
        QString nombre, server, intento;
    };
    const Case cases[] = {
        {"tcp_slash", "tcp/127.0.0.1:" + p, "Connecting to 127.0.0.1 port " + p},
        {"host_colon_port", "127.0.0.1:" + p, "Connecting to 127.0.0.1 port " + p},
        {"host_comma_port", "127.0.0.1," + p, "Connecting to 127.0.0.1 port " + p},
        {"tcp_microsoft", "tcp:127.0.0.1," + p, "Connecting to 127.0.0.1 port " + p},
        {"instance", "127.0.0.1\\ANULACION", "tds7_get_instance_port(127.0.0.1, ANULACION)"},
    };
    // The driver's own log of what it tries, one file for the process (the
    // driver opens it once).
    QTemporaryDir dir;
    const QString dump = dir.filePath("tdsdump.log");
    EnvVar tdsdump("TDSDUMP", dump);
    EnvVar env("ANULACION_SQLSERVER_DRIVER", driver);
    qint64 leido = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre.toStdString());
        [&] {
            Connection cn;
            const ErrObject e = RaisedError(
                [&] { cn.Open("PROVIDER=SQLOLEDB;Server=" + c.server + ";Database =X;UId=a;Pwd=b;"); });
            EXPECT_NE(e.Number, 0);
            ASSERT_GE(cn.errors().Count(), 1);
            for (int i = 0; i < cn.errors().Count(); ++i)
                EXPECT_FALSE(cn.errors().Item(i).Description.contains("Unknown host machine name"))
                    << cn.errors().Item(i).Description.toStdString();
            QFile log(dump);
            ASSERT_TRUE(log.open(QIODevice::ReadOnly)) << "no TDSDUMP from the driver";
            log.seek(leido);
            const QString intentos = QString::fromLatin1(log.readAll());
            leido = log.size();
            EXPECT_TRUE(intentos.contains(c.intento)) << c.intento.toStdString();
        }();
    }
}

// Real servers, when the environment names one:
// ANULACION_TEST_SQLSERVER / ANULACION_TEST_ORACLE hold an ADO connection string.
class RealServer : public ::testing::TestWithParam<const char *>
{};

TEST_P(RealServer, OpensQueriesAndRollsBack)
{
    const QString cs = qEnvironmentVariable(GetParam());
    if (cs.isEmpty())
        GTEST_SKIP() << GetParam() << " not set";
    Connection cn;
    cn.setCursorLocation(ado::adUseClient);
    cn.Open(cs);
    cn.setIsolationLevel(ado::adXactReadUncommitted);
    cn.setCommandTimeout(360);
    const bool oracle = cn.platform() == ado::Platform::Oracle;
    Recordset rs;
    rs.Open(oracle ? "SELECT 1 AS UNO FROM DUAL" : "SELECT 1 AS UNO", cn, 0, 1);
    EXPECT_EQ(rs.Fields("UNO").Value().toLong(), 1);
    if (!oracle) {
        // The session reads day/month/year.
        rs.Close();
        rs.Open("SELECT CAST('05/03/2021' AS datetime) AS F", cn, 0, 1);
        EXPECT_EQ(rs.Fields("F").Value().toDate().date(), QDate(2021, 3, 5));
    }
    cn.BeginTrans();
    cn.RollbackTrans();
    if (!oracle) {
        // Every result of a batch is drained: the failing second statement is seen.
        EXPECT_THROW(cn.Execute("DELETE FROM NO_SUCH_TABLE_X WHERE 1 = 0\r\nSELECT 1"), VbException);
        EXPECT_THROW(cn.Execute("SELECT 1\r\nSELECT * FROM NO_SUCH_TABLE_X"), VbException);
        EXPECT_EQ(cn.errors().Item(0).Number, ado::DB_E_NOTABLE);
        EXPECT_EQ(cn.errors().Item(0).NativeError, 208);
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, RealServer, ::testing::Values("ANULACION_TEST_SQLSERVER", "ANULACION_TEST_ORACLE"));

} // namespace
