#pragma once

// A company database made from the suite's schema (and, when asked, the demo
// data), open on gDB() as start-up leaves it: administrator, configuration
// table, business unit "   1". The texts it sends are recorded; a scripted
// operator answers. Header only: compiled against the folders a test links.

#include "database/db_dll.h"
#include "database/globals.h"
#include "platform/runtime/dates.h"
#include "platform/ui/scripted_responder.h"
#include "tests/support/fixture_db.h"
#include "tests/support/sqlite_spy.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class EmpresaEsquema : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        base.path = m_dir.filePath(QStringLiteral("empresa.db"));
        base.connectionString = SqliteConnectionString(base.path);
        ASSERT_TRUE(QFile::copy(Plantilla(conDemo()), base.path));
        QFile(base.path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        ado::Errors errors;
        auto inner = ado::SqliteProvider::open(base.path, errors);
        ASSERT_TRUE(inner);
        gDB().gCnn().attachProvider(std::make_unique<SpyProvider>(std::move(inner), enviadas));
        gDB().gOpenFlag = true;
        gDB().gEsAdmin = true;
        gTablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
        gUNegocio = QStringLiteral("   1");
        ui::SetResponder(&operador);
    }
    void TearDown() override
    {
        ui::SetResponder(nullptr);
        vb::SetClock({});
        gDB().gCnn().Close();
        gDB().gCnn().errors().Clear();
        gDB().gOpenFlag = false;
        gDB().gEsAdmin = false;
        gTablaConfiguracion.clear();
        gUNegocio.clear();
    }
    // With the demo data (users, configuration, vouchers, books).
    virtual bool conDemo() const { return false; }

    // Set-up statements, not recorded.
    void Ejecuta(const QStringList &sentencias)
    {
        for (const QString &s : sentencias)
            gDB().gCnn().Execute(s);
        enviadas.clear();
    }
    void Ejecuta(const QString &sentencia) { Ejecuta(QStringList{sentencia}); }

    // The first column of the first row, Empty when there is none.
    Variant Valor(const QString &consulta)
    {
        ado::Recordset rs;
        rs.Open(consulta, gDB().gCnn());
        return rs.Eof() ? Variant() : rs.Fields(0).Value();
    }
    long long Cuenta(const QString &consulta) { return Valor(consulta).toLong(); }

    // Texts sent that contain the word.
    QStringList EnviadasCon(const QString &palabra) const { return enviadas.filter(palabra, Qt::CaseInsensitive); }

    FixtureDb base;
    QStringList enviadas;
    ui::ScriptedResponder operador;

private:
    // The schema is made once per test program; each test gets a copy.
    static QString Plantilla(bool demo)
    {
        static QTemporaryDir carpeta;
        static QString rutas[2];
        QString &ruta = rutas[demo ? 1 : 0];
        if (ruta.isEmpty())
            ruta = MakeFixtureDb(carpeta.path(), demo, 20, demo ? QStringLiteral("demo.db") : QStringLiteral("vacia.db")).path;
        return ruta;
    }
    QTemporaryDir m_dir;
};
