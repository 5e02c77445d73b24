#pragma once

#include <QString>

// A fresh database file for a test: the suite's schema, optionally with the
// demo data (users ADMIN and OPERADOR, configuration rows, vouchers of the
// types RM, FC, NC and OC with their lines and stock movements).
struct FixtureDb
{
    QString path;
    QString connectionString; // "PROVIDER=SQLOLEDB;Server=sqlite;Database =<path>;UId=ADMIN;Pwd=;"
};

// Creates `folder`/`fileName` (replacing an earlier one). `vouchers` demo
// vouchers are added when `withDemoData` is set. Fails the test on error.
FixtureDb MakeFixtureDb(const QString &folder,
                        bool withDemoData = false,
                        int vouchers = 20,
                        const QString &fileName = QStringLiteral("suite.db"));

// The connection string of the embedded engine for a database file.
QString SqliteConnectionString(const QString &path, const QString &user = QStringLiteral("ADMIN"));

// Runs SQLite text (one statement or several) straight on a database file,
// beside any connection the program holds on it: set-up the data layer would
// not take (triggers, raw rows), and the suite's SQL functions are there as
// the engine has them. A failure fails the test.
void EjecutaEnArchivo(const QString &path, const QString &sql);

// The folder of the project's sources (esquema.sql lives in database/).
QString SourceDir();
