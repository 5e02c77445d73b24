#pragma once

// The lookup dialogs' tests: gDB() open on a fresh database made from the
// suite's schema, behind a provider that records every text it is sent, and a
// scripted operator. Header only (it needs the database folder).

#include "database/db_dll.h"
#include "tests/support/sqlite_spy.h"
#include "platform/ado/sqlite_provider.h"
#include "platform/ui/scripted_responder.h"
#include "tests/support/fixture_db.h"
#include "tools/demodata.h"

#include <QDialog>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class ConsultaDb : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const FixtureDb db = MakeFixtureDb(m_dir.path());
        ado::Errors errors;
        auto inner = ado::SqliteProvider::open(db.path, errors);
        ASSERT_TRUE(inner) << (errors.Count() ? errors.Item(0).Description.toStdString() : std::string());
        gDB().gCnn().attachProvider(std::make_unique<SpyProvider>(std::move(inner), sent));
        gDB().gEsAdmin = true;
        gDB().gConnString.clear();
        gDB().gProveedor = gDB().pSQLOLEDB();
        gDB().gDBName = QStringLiteral("prueba");
        ui::SetResponder(&operador);
    }
    void TearDown() override
    {
        ui::SetResponder(nullptr);
        gDB().gCnn().Close();
        gDB().gCnn().errors().Clear();
        gDB().gProveedor.clear();
        gDB().gDBName.clear();
    }

    // Puts the demo database in place of the empty one.
    void UsaDemo(const demodata::Options &opciones)
    {
        demodata::Options o = opciones;
        o.overwrite = true;
        const QString path = m_dir.filePath(QStringLiteral("demo.db"));
        demodata::CreateDemoDatabase(path, o);
        ado::Errors errors;
        auto inner = ado::SqliteProvider::open(path, errors);
        ASSERT_TRUE(inner);
        gDB().gCnn().attachProvider(std::make_unique<SpyProvider>(std::move(inner), sent));
        sent.clear();
    }

    // Runs set-up statements without recording them.
    void Run(const QStringList &statements)
    {
        for (const QString &s : statements)
            gDB().gCnn().Execute(s);
        sent.clear();
    }

    // Shows the dialog through the seam, as its caller does, and lets the
    // script act as the operator while it is open; `respuestas` answer the
    // message boxes that come up meanwhile, in order.
    void Muestra(QDialog &dialog, ui::ScriptedResponder::DialogScript script, std::initializer_list<int> respuestas = {})
    {
        operador.drive(std::move(script));
        for (int r : respuestas)
            operador.answer(r);
        ui::ShowModal(dialog);
    }

    QStringList sent;
    ui::ScriptedResponder operador;

private:
    QTemporaryDir m_dir;
};
