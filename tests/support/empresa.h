#pragma once

// The company fixture of every test that needs the database: a company
// database made from the suite's schema (database/esquema.sql through the demo
// data code, optionally with the demo data), a scripted operator, an observed
// End, configuration and user rows given as tables, the statement spy as an
// option, and gDB() and the globals back to their start between tests.
//
// Header only: a test program compiles it against the folders it links. The
// folders above add what they own: SinConsulta (tests/support/consulta.h)
// also drops the lookup driver, and the purge tests open the connection
// through start-up (tests/support/base_anulacion.h).

#include "database/armado_sql.h"
#include "database/db_dll.h"
#include "database/globales.h"
#include "platform/ado/sqlite_provider.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/end.h"
#include "platform/runtime/strings.h"
#include "platform/ui/scripted_responder.h"
#include "tests/support/base_prueba.h"
#include "tests/support/espia_sqlite.h"
#include "tools/datos_demo.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>

// A row of ta_usuarios; a null business unit is NULL.
struct FilaUsuario
{
    const char *nombre;
    int administrador;
    const char *unegocio;
};

// A row of the configuration table; a null aux is NULL.
struct FilaConfiguracion
{
    const char *clave;
    const char *valor;
    const char *aux = nullptr;
};

// The connection object back to its state before start-up.
inline void ReiniciaConexion()
{
    DB_Dll &db = gDB();
    if (db.gCnn().State() == ado::adStateOpen)
        db.gCnn().Close();
    db.gCnn().errors().Clear();
    db.gOpenFlag = false;
    db.gIgnoraPassWord = Variant();
    db.gProveedor.clear();
    db.gDsn.clear();
    db.gServidor.clear();
    db.gDBName.clear();
    db.gUsuario.clear();
    db.gUserPassWord.clear();
    db.gConnString.clear();
    db.gExtended.clear();
    db.gLogErr.clear();
    db.gEsAdmin = false;
}

// The company database file: a copy of one made from the schema once per
// test program (with or without the demo data), plus the rows a test gives.
// Its rows are written straight into the file, so they can be given before
// the connection opens as well as while it is open.
class BaseEmpresa
{
public:
    // The two users of the small company: "ana" administers business unit
    // "2", "luis" has no business unit.
    static constexpr FilaUsuario kAnaYLuis[] = {{"ana", 1, "2"}, {"luis", 0, nullptr}};

    explicit BaseEmpresa(bool demo = false)
    {
        EXPECT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("empresa.db"));
        copia(demo);
    }

    // Starts again from a fresh copy, with or without the demo data.
    void copia(bool demo)
    {
        QFile::remove(m_path);
        EXPECT_TRUE(QFile::copy(Plantilla(demo), m_path));
        QFile(m_path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (!demo) {
            for (const FilaUsuario &u : kAnaYLuis)
                usuario(u);
        }
    }

    const QString &path() const { return m_path; }
    FixtureDb fixture() const { return {m_path, SqliteConnectionString(m_path)}; }
    // The connection string of the embedded engine in the SQL Server form.
    QString connString(const QString &user = QStringLiteral("ana")) const
    {
        return SqliteConnectionString(m_path, user);
    }

    // Sets a configuration key (replacing its row); a null aux is NULL.
    void config(const QString &clave, const QString &valor, const QString &aux = {}) const
    {
        EjecutaEnArchivo(m_path,
                         QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE = %1; "
                                        "INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux) VALUES (%1, %2, %3);")
                             .arg(TextoSQL(clave),
                                  TextoSQL(valor),
                                  aux.isNull() ? QStringLiteral("NULL") : TextoSQL(aux)));
    }
    void configuracion(std::initializer_list<FilaConfiguracion> filas) const
    {
        for (const FilaConfiguracion &f : filas)
            config(QString::fromUtf8(f.clave), QString::fromUtf8(f.valor), f.aux ? QString::fromUtf8(f.aux) : QString());
    }
    void usuarios(std::initializer_list<FilaUsuario> filas) const
    {
        for (const FilaUsuario &u : filas)
            usuario(u);
    }

private:
    void usuario(const FilaUsuario &u) const
    {
        EjecutaEnArchivo(
            m_path,
            QStringLiteral("INSERT OR REPLACE INTO ta_usuarios (nombre, Administrador, UNegocio) VALUES (%1, %2, %3);")
                .arg(TextoSQL(QString::fromUtf8(u.nombre)),
                     QString::number(u.administrador),
                     u.unegocio ? TextoSQL(QString::fromUtf8(u.unegocio)) : QStringLiteral("NULL")));
    }

    // The schema is made once per test program; each test gets a copy.
    static QString Plantilla(bool demo)
    {
        static QTemporaryDir carpeta;
        static QString rutas[2];
        QString &ruta = rutas[demo ? 1 : 0];
        if (ruta.isEmpty())
            ruta = MakeFixtureDb(carpeta.path(), demo, 20, demo ? QStringLiteral("demo.db") : QStringLiteral("vacia.db"))
                       .path;
        return ruta;
    }

    QTemporaryDir m_dir;
    QString m_path;
};

// What a test asks of the fixture.
struct OpcionesEmpresa
{
    bool abierta = true;        // gDB() open on the company
    bool espia = false;         // every text the connection sends is kept in `enviadas`
    bool demo = false;          // the demo data (users ADMIN and OPERADOR, vouchers, books...)
    bool administrador = false; // gEsAdmin: statements name the tables, not their synonyms
    bool comoArranque = false;  // as start-up leaves it: administrator, configuration table, business unit "   1"
};

class Empresa : public ::testing::Test
{
protected:
    explicit Empresa(OpcionesEmpresa opciones = {})
        : m_opciones(opciones)
        , empresa(opciones.demo)
    {}

    // Whether the company holds the demo data; a fixture may decide it here.
    virtual bool conDemo() const { return m_opciones.demo; }

    void SetUp() override
    {
        ReiniciaConexion();
        ReiniciaGlobales();
        ui::SetResponder(&operador);
        vb::SetEndHandler([this] { ++finales; });
        const bool demo = conDemo();
        if (demo != m_opciones.demo)
            empresa.copia(demo);
        base = empresa.fixture();
        if (m_opciones.abierta)
            Abre(base.path, demo ? QStringLiteral("ADMIN") : QStringLiteral("ana"));
        gDB().gEsAdmin = m_opciones.administrador || m_opciones.comoArranque;
        if (m_opciones.comoArranque) {
            gTablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
            gUNegocio = QStringLiteral("   1");
        }
    }
    void TearDown() override
    {
        vb::SetEndHandler({});
        ui::SetResponder(nullptr);
        vb::SetClock({});
        ReiniciaConexion();
        ReiniciaGlobales();
    }

    // Puts a demo database made with these options in place of the company
    // (the connection, when open, moves to it).
    void UsaDemo(demodata::Options opciones)
    {
        opciones.overwrite = true;
        const QString ruta = m_demo.filePath(QStringLiteral("demo.db"));
        demodata::CreateDemoDatabase(ruta, opciones);
        base = {ruta, SqliteConnectionString(ruta)};
        if (m_opciones.abierta)
            Abre(ruta, QStringLiteral("ADMIN"));
    }

    // Set-up statements through the connection (SQL Server syntax), not kept
    // in `enviadas`; a failure fails the test.
    void Ejecuta(const QStringList &sentencias)
    {
        for (const QString &s : sentencias) {
            try {
                gDB().gCnn().Execute(s);
            } catch (const VbException &e) {
                ADD_FAILURE() << e.what() << " in " << s.toStdString();
            }
        }
        enviadas.clear();
    }
    void Ejecuta(const QString &sentencia) { Ejecuta(QStringList{sentencia}); }

    // Makes a table again, empty, from the schema's own definition with one
    // column of another type: the one way a test departs from the schema.
    void CambiaTipoDeColumna(const QString &tabla, const QString &columna, const QString &tipo)
    {
        const QRegularExpression crea(QStringLiteral(R"(CREATE TABLE dbo\.%1 \(.*?\n\);)")
                                          .arg(QRegularExpression::escape(tabla)),
                                      QRegularExpression::DotMatchesEverythingOption);
        QString definicion = crea.match(demodata::SchemaSql()).captured(0);
        const QRegularExpression columnaYTipo(
            QStringLiteral(R"((\n\s+%1 )\w+(\(\w+\))?)").arg(QRegularExpression::escape(columna)));
        if (!columnaYTipo.match(definicion).hasMatch()) {
            ADD_FAILURE() << "the schema has no column " << columna.toStdString() << " in " << tabla.toStdString();
            return;
        }
        definicion.replace(columnaYTipo, QStringLiteral("\\1") + tipo);
        Ejecuta({QStringLiteral("DROP TABLE ") + tabla, definicion});
    }
    void Configura(const QString &clave, const QString &valor, const QString &aux = {}) const
    {
        empresa.config(clave, valor, aux);
    }

    // The first column of the first row, Empty when there is none.
    Variant Valor(const QString &consulta)
    {
        ado::Recordset rs;
        rs.Open(consulta, gDB().gCnn());
        return rs.Eof() ? Variant() : rs.Fields(0).Value();
    }
    long long Cuenta(const QString &consulta) { return Valor(consulta).toLong(); }

    // Texts sent that contain the word (any case).
    QStringList EnviadasCon(const QString &palabra) const
    {
        QStringList con;
        for (const QString &s : enviadas)
            if (vb::ContainsText(s, palabra))
                con << s;
        return con;
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

private:
    // Opens gDB() on the file: behind the spy, or as start-up opens it.
    void Abre(const QString &ruta, const QString &usuario)
    {
        DB_Dll &db = gDB();
        if (db.gCnn().State() == ado::adStateOpen)
            db.gCnn().Close();
        if (m_opciones.espia) {
            ado::Errors errores;
            auto motor = ado::SqliteProvider::open(ruta, errores);
            ASSERT_TRUE(motor) << (errores.Count() ? errores.Item(0).Description.toStdString() : std::string());
            db.gCnn().attachProvider(std::make_unique<SpyProvider>(std::move(motor), enviadas));
            db.gCnn().setConnectionString(SqliteConnectionString(ruta));
            db.gProveedor = db.pSQLOLEDB();
            db.gDBName = QFileInfo(ruta).completeBaseName();
        } else {
            db.gCnn().Open(SqliteConnectionString(ruta, usuario));
        }
        db.gOpenFlag = true;
        enviadas.clear();
    }

    OpcionesEmpresa m_opciones;
    QTemporaryDir m_demo;

protected:
    BaseEmpresa empresa;
    FixtureDb base;
    QStringList enviadas;
    ui::ScriptedResponder operador;
    int finales = 0;
};

// The fixture for tests that read the statements as built: every text sent is
// kept in `enviadas`, and the statements name the tables themselves.
class EmpresaEspiada : public Empresa
{
protected:
    explicit EmpresaEspiada(OpcionesEmpresa opciones = {.espia = true, .administrador = true})
        : Empresa(opciones)
    {}
};
