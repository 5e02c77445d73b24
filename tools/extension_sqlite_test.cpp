// The standard SQLite clients on a database the demo generator made: with
// the engine's loadable extension, the sqlite3 shell (".load") and the SQLite
// ODBC driver (LoadExt) check it and read every table and view as the program
// does; without it they stop at the text collation.
#include "platform/ado/ado.h"
#include "platform/ado/odbc_provider.h"
#include "platform/ado/sqlite_functions.h"
#include "tests/support/controlador_odbc.h"
#include "tests/support/error_provocado.h"
#include "tests/support/impresion_qt.h"
#include "tools/datos_demo.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace {

const QString kExtension = QStringLiteral(EXTENSION_SQLITE);

// Statements of plain SQLite that lean on the collation and the functions:
// text compared without regard to case or trailing blanks, grouped, matched
// with LIKE, and the functions the views call.
const char *const kConsultas[] = {
    "SELECT COUNT(*) FROM V_MV_CPTE WHERE TC = '  rm   '",
    "SELECT TC, COUNT(*) FROM V_MV_CPTE GROUP BY TC ORDER BY TC",
    "SELECT COUNT(*) FROM VT_CLIENTES WHERE RAZON_SOCIAL LIKE '%s%'",
    "SELECT LEN('ab  '), CHARINDEX('b', 'abc'), SUBSTRING('abcdef', 2, 3), upper('ñandú')",
};

// What a statement answers on a handle with the program's collation and
// functions, written as the shell lists it: a line a row, values between "|".
QString ComoElPrograma(const QString &base, const QStringList &consultas)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(base).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    ado::registerSqlServerFunctions(db);
    QString salida;
    for (const QString &consulta : consultas) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, consulta.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            salida += QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db)) + '\n';
            continue;
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList valores;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                valores << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
            salida += valores.join('|') + '\n';
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return salida;
}

QStringList Objetos(const QString &base)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(base).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite_%' "
                       "ORDER BY name",
                       -1,
                       &st,
                       nullptr);
    QStringList nombres;
    while (sqlite3_step(st) == SQLITE_ROW)
        nombres << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return nombres;
}

struct Corrida
{
    int codigo = -1;
    QString salida, errores;
};

// The sqlite3 shell on `base`, `sql` on its standard input, stopping at the first error.
Corrida Shell(const QString &base, const QStringList &antes, const QString &sql)
{
    QProcess p;
    QStringList argumentos{QStringLiteral("-batch"), QStringLiteral("-bail")};
    for (const QString &c : antes)
        argumentos << QStringLiteral("-cmd") << c;
    argumentos << base;
    p.start(QStandardPaths::findExecutable(QStringLiteral("sqlite3")), argumentos);
    p.write(sql.toUtf8());
    p.closeWriteChannel();
    const bool termino = p.waitForFinished(120000);
    return {termino && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

class ClientesSqlite : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        carpeta = new QTemporaryDir;
        demodata::Options o;
        o.vouchers = 40;
        o.lookupSamples = true;
        o.entrySamples = true;
        demodata::CreateDemoDatabase(base(), o);
        objetos = new QStringList(Objetos(base()));
        for (const QString &o : *objetos)
            cuentas << QStringLiteral("SELECT '%1', COUNT(*) FROM \"%1\"").arg(o);
        for (const char *c : kConsultas)
            cuentas << QString::fromUtf8(c);
    }
    static void TearDownTestSuite()
    {
        delete objetos;
        delete carpeta;
        cuentas.clear();
    }
    static QString base() { return carpeta->filePath(QStringLiteral("demo.db")); }

    static inline QTemporaryDir *carpeta = nullptr;
    static inline QStringList *objetos = nullptr;
    static inline QStringList cuentas;
};

TEST_F(ClientesSqlite, TheShellWithTheExtensionChecksAndReadsEveryTableAndView)
{
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
        GTEST_SKIP() << "sqlite3 shell not installed";
    ASSERT_GT(objetos->size(), 20);
    const QString carga = QStringLiteral(".load ") + kExtension;

    const Corrida sin = Shell(base(), {}, QStringLiteral("PRAGMA integrity_check;\n"));
    EXPECT_NE(sin.codigo, 0);
    EXPECT_TRUE(sin.errores.contains(QStringLiteral("no such collation sequence: SQLTEXT")))
        << sin.errores.toStdString();

    const Corrida chequeo = Shell(base(), {carga}, QStringLiteral("PRAGMA integrity_check;\n"));
    EXPECT_EQ(chequeo.codigo, 0) << chequeo.errores.toStdString();
    EXPECT_EQ(chequeo.salida, QStringLiteral("ok\n"));

    const Corrida lectura = Shell(base(), {carga}, cuentas.join(QStringLiteral(";\n")) + QStringLiteral(";\n"));
    EXPECT_EQ(lectura.codigo, 0) << lectura.errores.toStdString();
    EXPECT_EQ(lectura.salida, ComoElPrograma(base(), cuentas));
}

TEST_F(ClientesSqlite, TheOdbcDriverWithLoadExtChecksAndReadsEveryTableAndView)
{
    const QString driver = OdbcDriverLibrary("libsqlite3odbc.so");
    if (driver.isEmpty())
        GTEST_SKIP() << "SQLite ODBC driver (libsqliteodbc) not installed";
    auto abre = [&](const QString &extra) {
        ado::Errors errores;
        auto p = ado::OdbcProvider::openOdbc(ado::Platform::SqlServer,
                                             "DRIVER=" + driver + ";DATABASE=" + base() + ";" + extra,
                                             errores);
        EXPECT_NE(p, nullptr) << (errores.Count() ? errores.Item(0).Description.toStdString() : std::string());
        auto cn = std::make_unique<ado::Connection>();
        cn->setCursorLocation(ado::adUseClient);
        if (p)
            cn->attachProvider(std::move(p), ado::Platform::SqlServer);
        return cn;
    };
    auto lee = [](ado::Connection &cn, const QString &consulta) {
        ado::Recordset rs;
        rs.Open(consulta, cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
        QString salida;
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList valores;
            for (int i = 0; i < rs.FieldCount(); ++i)
                valores << rs.Fields(i).Value().toString();
            salida += valores.join('|') + '\n';
        }
        return salida;
    };

    {
        auto sin = abre(QString());
        const ErrObject e = RaisedError([&] { lee(*sin, QStringLiteral("PRAGMA integrity_check")); });
        EXPECT_TRUE(e.Description.contains(QStringLiteral("no such collation sequence: SQLTEXT")))
            << e.Description.toStdString();
    }
    auto cn = abre(QStringLiteral("LoadExt=") + kExtension + ';');
    EXPECT_EQ(lee(*cn, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok\n"));
    QString salida;
    for (const QString &c : cuentas)
        salida += lee(*cn, c);
    EXPECT_EQ(salida, ComoElPrograma(base(), cuentas));
}

} // namespace
