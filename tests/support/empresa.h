#pragma once

#include "database/db_dll.h"
#include "database/globals.h"
#include "platform/runtime/end.h"
#include "tests/support/fixture_db.h"
#include "platform/ui/scripted_responder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

// A small company database on the embedded engine (users and configuration),
// a scripted operator and an observed program end, for the tests of the
// database layer and of the folders above it. Header only: each test program
// compiles it against what it links; the lookup driver and start-up are reset
// by the fixtures of the folders that link them.
class EmpresaDemo {
public:
    EmpresaDemo()
    {
        m_path = m_dir.filePath(QStringLiteral("empresa.db"));
        exec("CREATE TABLE ta_usuarios (nombre TEXT, Administrador INTEGER, UNegocio TEXT);"
             "CREATE TABLE ta_configuracion (CLAVE TEXT, VALOR TEXT, valoraux TEXT);"
             "INSERT INTO ta_usuarios VALUES ('ana', 1, '2');"
             "INSERT INTO ta_usuarios VALUES ('luis', 0, NULL);");
    }
    const QString &path() const { return m_path; }
    void exec(const QString &sql) const
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(m_path.toUtf8().constData(), &db), SQLITE_OK);
        char *msg = nullptr;
        const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg);
        EXPECT_EQ(rc, SQLITE_OK) << (msg ? msg : "");
        sqlite3_free(msg);
        sqlite3_close(db);
    }
    void config(const QString &clave, const QString &valor, const QString &aux = {}) const
    {
        exec(QStringLiteral("INSERT INTO ta_configuracion VALUES ('%1', '%2', '%3');").arg(clave, valor, aux));
    }
    // The connection string of the embedded engine in the SQL Server form.
    QString connString(const QString &user = QStringLiteral("ana")) const
    {
        return SqliteConnectionString(m_path, user);
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// The one connection object back to its state before start-up.
inline void ReiniciaConexion()
{
    DB_Dll &db = gDB();
    if (db.gCnn().State() == ado::adStateOpen)
        db.gCnn().Close();
    db.gCnn().errors().Clear();
    db.gOpenFlag = false;
    db.gProveedor.clear();
    db.gServidor.clear();
    db.gDBName.clear();
    db.gUsuario.clear();
    db.gUserPassWord.clear();
    db.gConnString.clear();
    db.gExtended.clear();
    db.gEsAdmin = false;
    gTablaConfiguracion.clear();
}

// A fixture with a scripted operator, an observed End and a fresh connection.
class ConOperador : public ::testing::Test {
protected:
    void SetUp() override
    {
        ReiniciaConexion();
        ui::SetResponder(&operador);
        vb::SetEndHandler([this] { ++finales; });
    }
    void TearDown() override
    {
        vb::SetEndHandler({});
        ui::SetResponder(nullptr);
        ReiniciaConexion();
    }
    ui::ScriptedResponder operador;
    int finales = 0;
};

// A scripted operator on a connection already open to the small company
// database, as start-up leaves it.
class ConEmpresaAbierta : public ConOperador {
protected:
    void SetUp() override
    {
        ConOperador::SetUp();
        gDB().gCnn().Open(empresa.connString());
        gDB().gOpenFlag = true;
    }
    EmpresaDemo empresa;
};
