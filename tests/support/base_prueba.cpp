#include "tests/support/base_prueba.h"

#include "platform/ado/sqlite_functions.h"
#include "tools/datos_demo.h"

#include <QDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

QString SqliteConnectionString(const QString &path, const QString &user)
{
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=sqlite;Database =%1;UId=%2;Pwd=;").arg(path, user);
}

QString SourceDir()
{
    return QStringLiteral(ANULACION_SOURCE_DIR);
}

FixtureDb MakeFixtureDb(const QString &folder, bool withDemoData, int vouchers, const QString &fileName)
{
    QDir().mkpath(folder);
    FixtureDb db;
    db.path = QDir(folder).filePath(fileName);
    db.connectionString = SqliteConnectionString(db.path);
    try {
        if (withDemoData) {
            demodata::Options options;
            options.vouchers = vouchers;
            options.overwrite = true;
            demodata::CreateDemoDatabase(db.path, options);
        } else {
            demodata::CreateSchema(db.path, true);
        }
    } catch (const std::exception &e) {
        ADD_FAILURE() << "fixture database " << db.path.toStdString() << ": " << e.what();
    }
    return db;
}

void EjecutaEnArchivo(const QString &path, const QString &sql)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << path.toStdString() << ": " << sqlite3_errmsg(db);
        sqlite3_close(db);
        return;
    }
    sqlite3_busy_timeout(db, 10000);
    ado::registerSqlServerFunctions(db);
    char *error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
        ADD_FAILURE() << (error ? error : "?") << " in " << sql.toStdString();
    sqlite3_free(error);
    sqlite3_close(db);
}
