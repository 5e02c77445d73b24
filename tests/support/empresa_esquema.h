#pragma once

// The program's connection open on a company database made from the
// suite's schema (copied per test from one built per program), with a scripted operator.

#include "database/db_dll.h"
#include "tests/support/empresa.h"
#include "tests/support/fixture_db.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class ConEmpresaDelEsquema : public ConOperador {
protected:
    void SetUp() override
    {
        ConOperador::SetUp();
        // The schema is built once per test program; each test gets a copy.
        static QTemporaryDir plantillas;
        static const FixtureDb plantilla = MakeFixtureDb(plantillas.path());
        base.path = dir.filePath(QStringLiteral("empresa.db"));
        base.connectionString = SqliteConnectionString(base.path);
        ASSERT_TRUE(QFile::copy(plantilla.path, base.path));
        gDB().gCnn().Open(base.connectionString);
        gDB().gOpenFlag = true;
    }
    // Runs seed SQL on the program's connection, past the rewriting road.
    void Ejecuta(const QString &sql) const
    {
        try {
            gDB().gCnn().Execute(sql);
        } catch (const VbException &e) {
            ADD_FAILURE() << e.what() << " in " << sql.toStdString();
        }
    }
    void Configura(const QString &clave, const QString &valor) const
    {
        Ejecuta(QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('%1', '%2')").arg(clave, valor));
    }
    QTemporaryDir dir;
    FixtureDb base;
};
