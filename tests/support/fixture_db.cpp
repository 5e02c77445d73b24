#include "tests/support/fixture_db.h"

#include "tools/demodata.h"

#include <QDir>

#include <gtest/gtest.h>

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
