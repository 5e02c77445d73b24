#include "startup/inicio.h"

#include "database/frm_acceso.h"
#include "platform/component/component.h"
#include "platform/runtime/app.h"
#include "startup/archivo_consultas.h"
#include "tests/support/consulta.h"
#include "tests/support/empresa.h"
#include "tests/support/sistema_pequeno.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {

struct ParamCase
{
    const char *nombre;
    const char *parametros;
    const char *clave;
    const char *absent;
    const char *expected;
};

TEST(LeeParametro, ReadsWholeKeysOnly)
{
    const ParamCase cases[] = {
        {"lower-case keys, blanks around values", "@server= SRV1 ; @dbname= VENTAS ;", "@Server", "", "SRV1"},
        {"database after server", "@server= SRV1 ; @dbname= VENTAS ;", "@DbName", "", "VENTAS"},
        {"a key inside a longer key is not it", "@UsuarioLogeado=ANA; @Usuario=sa;", "@Usuario", "", "sa"},
        {"the longer key itself", "@UsuarioLogeado=ANA; @Usuario=sa;", "@UsuarioLogeado", "", "ANA"},
        {"only the longer key present", "@UsuarioLogeado=ANA;", "@Usuario", "", ""},
        {"a value holding another key's text", "@Menu=@Caja=9; @Caja=2;", "@Caja", "1", "2"},
        {"an = inside the value is kept", "@Password=a=b;", "@Password", "", "a=b"},
        {"@Caja absent", "@Server=S;", "@Caja", "1", "1"},
        {"@Caja empty", "@Caja=;", "@Caja", "1", ""},
        {"@Caja without =", "@Caja;", "@Caja", "1", ""},
        {"no closing ; reads to the end", "@Server=S; @Caja=7", "@Caja", "1", "7"},
        {"blanks around the key", "  @SERVER  =  x  ;", "@Server", "", "x"},
        {"first entry wins", "@Menu=A;@Menu=B;", "@Menu", "", "A"},
        {"empty string", "", "@Server", "", ""},
        {"a value in double quotes", "@DbName= \"/datos/con blanco/q.db\" ;", "@DbName", "", "/datos/con blanco/q.db"},
        {"a lone quote is kept", "@Password=\"abc;", "@Password", "", "\"abc"},
    };
    for (const ParamCase &c : cases) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(LeeParametro(QString::fromUtf8(c.parametros), QString::fromUtf8(c.clave), QString::fromUtf8(c.absent)),
                  QString::fromUtf8(c.expected));
    }
}

TEST(ExtraeNombreServidor, CutsProtocolAndPort)
{
    const std::pair<const char *, const char *> cases[] = {
        {"tcp/HOST:1433", "HOST"},
        {"HOST\\INST", "HOST\\INST"},
        {"HOST:1433", "HOST"},
        {"tcp/HOST", "HOST"},
        {"SRV", "SRV"},
        {"", ""},
        {"a/b/c:1:2", "b/c"},
    };
    for (const auto &[in, out] : cases) {
        SCOPED_TRACE(in);
        EXPECT_EQ(ExtraeNombreServidor(QString::fromUtf8(in)), QString::fromUtf8(out));
    }
}

TEST(ArmaSeccionPC, UpperCasedAndCutTo50)
{
    EXPECT_EQ(ArmaSeccionPC(QStringLiteral("caja1"), QStringLiteral("ana")), QStringLiteral("CAJA1|ANA"));
    const QString largo = ArmaSeccionPC(QString(30, QLatin1Char('p')), QString(30, QLatin1Char('u')));
    EXPECT_EQ(largo.size(), 50);
    EXPECT_EQ(largo, QString(30, QLatin1Char('P')) + QStringLiteral("|") + QString(19, QLatin1Char('U')));
    EXPECT_EQ(ArmaSeccionPC(QString(25, QLatin1Char('p')), QString(24, QLatin1Char('u'))).size(), 50);
}

class InicializaSistemaTest : public SinConsulta<Empresa>
{
protected:
    InicializaSistemaTest()
        : SinConsulta<Empresa>({.abierta = false})
    {}

    void SetUp() override
    {
        SinConsulta::SetUp();
        QFile::remove(mascaras());
        FijaLineaDeComandos(QString());
    }
    void TearDown() override
    {
        FijaLineaDeComandos(std::nullopt);
        QFile::remove(mascaras());
        SinConsulta::TearDown();
    }
    static QString mascaras() { return AppPath() + QStringLiteral("/consultas.vgr"); }
    // Start-up as the main window calls it, with this parameter string.
    static void Inicia(const QString &parametros)
    {
        bool arma = false;
        QString cadena;
        InicializaSistema(arma, parametros, cadena, 3);
    }
    QString parametros(const QString &extra = {}) const
    {
        return QStringLiteral("@ParametroAdicional=X1; @Menu=M2; @Server=sqlite; @DbName=%1; @Usuario=ana; "
                              "@Password=; @UsuarioLogeado=OTRO; ")
                   .arg(empresa.path())
               + extra;
    }
};

TEST_F(InicializaSistemaTest, OpensTunesAndPreparesEverything)
{
    empresa.config(QStringLiteral("CFondo"), QStringLiteral("255"));
    bool arma = false;
    QString cadena;
    InicializaSistema(arma, parametros(QStringLiteral("@Caja=3;")), cadena, 3);

    EXPECT_EQ(finales, 0);
    DB_Dll &db = gDB();
    ASSERT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gCnn().State(), ado::adStateOpen);
    EXPECT_EQ(db.gCnn().CommandTimeout(), 360);
    EXPECT_EQ(db.gCnn().IsolationLevel(), 256);
    EXPECT_EQ(db.gCnn().CursorLocation(), 3);
    EXPECT_EQ(db.gServidor, QStringLiteral("sqlite"));
    EXPECT_EQ(gParametroAdicional, QStringLiteral("X1"));
    EXPECT_EQ(gMenu, QStringLiteral("M2"));
    EXPECT_EQ(gCaja, QStringLiteral("3"));
    EXPECT_EQ(gUsuarioLogeado, QStringLiteral("ana")) << "the database user replaces @UsuarioLogeado";
    EXPECT_EQ(gCadenaODBC, QStringLiteral("DSN=%1; UID=ana; PWD=").arg(empresa.path()));
    EXPECT_EQ(gConsulta().gConnString, db.gConnString);
    EXPECT_TRUE(gConsulta().gUsarMascarasConsultas);
    EXPECT_EQ(gConsulta().gRutaMascaraConsultas, mascaras());
    EXPECT_EQ(QFileInfo(mascaras()).size(), 8 * TipoMascaraConsulta::LargoRegistro);
    EXPECT_EQ(gTablaConfiguracion, QStringLiteral("ta_configuracion"));
    EXPECT_EQ(gColorFondoFoco, 255);
    EXPECT_EQ(gColorTextoFoco, 0);
    EXPECT_EQ(gUNegocio, QStringLiteral("   2"));
    EXPECT_EQ(gFlatToolbars.toDouble(), 1.0);
    EXPECT_TRUE(db.gEsAdmin);
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(InicializaSistemaTest, CajaDefaultsToOneAndExistingMaskFileIsKept)
{
    const QByteArray propio(TipoMascaraConsulta::LargoRegistro, 'p'); // one whole record of the company's own
    {
        QFile f(mascaras());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(propio);
    }
    bool arma = false;
    QString cadena;
    InicializaSistema(arma, parametros(), cadena, 3);
    EXPECT_EQ(gCaja, QStringLiteral("1"));
    QFile f(mascaras());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), propio);
}

// What an interrupted write leaves (nothing, or whole records and a
// fragment) is written again: the whole records stay, the fragment goes and
// the eight defaults follow.
TEST_F(InicializaSistemaTest, EmptyOrDamagedMaskFileIsWrittenAgain)
{
    const struct
    {
        const char *nombre;
        int registros, fragmento;
    } casos[] = {
        {"empty", 0, 0},
        {"a fragment of the first record", 0, 490},
        {"three records and a fragment", 3, 490},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            ReiniciaConexion();
            const QByteArray enteros(c.registros * TipoMascaraConsulta::LargoRegistro, 'p');
            {
                QFile f(mascaras());
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(enteros + QByteArray(c.fragmento, 'f'));
            }
            Inicia(parametros());
            QFile f(mascaras());
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            EXPECT_EQ(bytes.size(), (c.registros + 8) * TipoMascaraConsulta::LargoRegistro);
            EXPECT_TRUE(bytes.startsWith(enteros));
            EXPECT_TRUE(bytes.mid(enteros.size()).startsWith("ARTICULOS "));
            EXPECT_EQ(operador.requests().size(), 0u);
        }();
    }
}

// A folder that fills while the file is written: start-up says so through
// the error treatment and goes on; the file is whole or absent, never cut,
// and once there is room again the next start-up writes it whole.
TEST_F(InicializaSistemaTest, AFullFolderLeavesNoCutMaskFile)
{
    SistemaPequeno fs(256 * 1024);
    if (!fs.montado())
        GTEST_SKIP() << fs.motivo().toStdString();
    const QString carpeta = AppPath();
    SetAppPath(fs.ruta());
    const QString ruta = fs.archivo(QStringLiteral("consultas.vgr"));
    for (const qint64 libres : {qint64(4096), qint64(0)}) {
        SCOPED_TRACE(libres);
        [&] {
            operador.clear();
            ReiniciaConexion();
            ASSERT_TRUE(fs.DejaLibres(libres));
            operador.answer(ui::vbIgnore);
            Inicia(parametros());
            ASSERT_EQ(operador.prompts().size(), 1);
            EXPECT_TRUE(operador.prompts()[0].startsWith(QStringLiteral("Ha ocurrido el Siguiente Error (61)")))
                << operador.prompts()[0].toStdString();
            EXPECT_FALSE(QFileInfo::exists(ruta));
            EXPECT_EQ(QDir(fs.ruta()).entryList({QStringLiteral("consultas.vgr*")}, QDir::Files | QDir::Hidden),
                      QStringList())
                << "no temporary file left behind";
            EXPECT_EQ(gTablaConfiguracion, QStringLiteral("ta_configuracion")) << "start-up went on";
            EXPECT_EQ(finales, 0);
        }();
    }
    fs.Libera();
    operador.clear();
    ReiniciaConexion();
    Inicia(parametros());
    SetAppPath(carpeta);
    EXPECT_EQ(QFileInfo(ruta).size(), 9616);
    EXPECT_EQ(operador.requests().size(), 0u);
}

// A database path in double quotes is the path: the file opens and no later
// step says it is missing.
TEST_F(InicializaSistemaTest, AQuotedDatabasePathIsThePath)
{
    Inicia(QStringLiteral("@Server=sqlite; @DbName=\"%1\"; @Usuario=ana; @Password=; ").arg(empresa.path()));
    EXPECT_EQ(gDB().gDBName, empresa.path());
    EXPECT_EQ(gDB().gCnn().State(), ado::adStateOpen);
    EXPECT_EQ(gTablaConfiguracion, QStringLiteral("ta_configuracion"));
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join(u'\n').toStdString();
    EXPECT_EQ(finales, 0);
}

// A database that opens but is not the suite's gets one message naming it,
// and the program ends as when the connection fails, writing nothing.
TEST_F(InicializaSistemaTest, ADatabaseWithoutTheSuitesTablesGetsOneMessage)
{
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("otra.db"));
    {
        sqlite3 *otra = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(ruta).constData(), &otra), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(otra, "CREATE TABLE clientes (id INTEGER)", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(otra);
    }
    operador.answer(ui::vbOK);
    Inicia(QStringLiteral("@Server=sqlite; @DbName=%1; @Usuario=ADMIN; @Password=; ").arg(ruta));
    ASSERT_EQ(operador.requests().size(), 1u) << operador.prompts().join(u'\n').toStdString();
    EXPECT_TRUE(operador.prompts()[0].contains(ruta));
    EXPECT_TRUE(operador.prompts()[0].contains(QStringLiteral("TA_CONFIGURACION")));
    EXPECT_EQ(operador.requests()[0].title, QStringLiteral(" Error de Conexion a Base de Datos"));
    EXPECT_EQ(finales, 1);
    EXPECT_FALSE(QFileInfo::exists(mascaras()));
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(InicializaSistemaTest, CommandLineIsTheParameterString)
{
    FijaLineaDeComandos(parametros(QStringLiteral("@Caja=5;")));
    bool arma = false;
    QString cadena;
    InicializaSistema(arma, QString(), cadena, 3);
    EXPECT_TRUE(gDB().gOpenFlag);
    EXPECT_EQ(gCaja, QStringLiteral("5"));
}

TEST_F(InicializaSistemaTest, NoServerShowsTheLoginDialogAndCancelEndsTheProgram)
{
    bool arma = false;
    QString cadena;
    InicializaSistema(arma, QString(), cadena, 3);
    ASSERT_EQ(operador.requests().size(), 1u);
    EXPECT_EQ(operador.requests()[0].kind, ui::Request::Kind::Modal);
    EXPECT_EQ(operador.requests()[0].title, QStringLiteral("Control de Acceso"));
    EXPECT_FALSE(gDB().gOpenFlag);
    EXPECT_EQ(finales, 1);
    EXPECT_EQ(gCaja, QStringLiteral("1"));
    EXPECT_FALSE(QFileInfo::exists(mascaras())) << "nothing runs after the program ended";
}

TEST_F(InicializaSistemaTest, LoginDialogFillsTheMissingServer)
{
    const QString base = empresa.path();
    operador.drive([base](QDialog &d) {
        auto &f = static_cast<frmAcceso &>(d);
        EXPECT_TRUE(f.TxtServidor->text().isEmpty());
        EXPECT_EQ(f.TxtUserId->text(), QStringLiteral("ana"));
        f.TxtServidor->setText(QStringLiteral("sqlite"));
        f.TxtDbName->setText(base);
        f.bcAceptar_Click();
    });
    bool arma = false;
    QString cadena;
    InicializaSistema(arma, QStringLiteral("@Usuario=ana;"), cadena, 3);
    EXPECT_TRUE(gDB().gOpenFlag);
    EXPECT_EQ(finales, 0);
    EXPECT_EQ(gDB().gDBName, base);
}

struct OracleCase
{
    const char *nombre;
    const char *cadenaInicial;
    const char *cadenaFinal;
};

TEST_F(InicializaSistemaTest, OracleServerBuildsTheOracleStringUnlessOneIsReady)
{
    const OracleCase cases[] = {
        {"no ready string", "", "Provider=OraOLEDB.Oracle.1;Data Source=DB;User Id=u1;Password=p1;"},
        {"a ready string is kept", "Provider=Otro;", "Provider=Otro;"},
    };
    for (const OracleCase &c : cases) {
        SCOPED_TRACE(c.nombre);
        ReiniciaConexion();
        finales = 0;
        operador.clear();
        // The Oracle engine is not there: the retry question is answered No.
        operador.answer(ui::vbNo);
        bool arma = false;
        QString cadena = QString::fromUtf8(c.cadenaInicial);
        InicializaSistema(arma, QStringLiteral("@Server=#ORCL; @DbName=DB; @Usuario=u1; @Password=p1;"), cadena, 3);
        EXPECT_EQ(cadena, QString::fromUtf8(c.cadenaFinal));
        EXPECT_EQ(gDB().gServidor, QStringLiteral("ORCL"));
        EXPECT_EQ(gDB().gConnString, QString::fromUtf8(c.cadenaFinal));
        EXPECT_FALSE(gDB().gOpenFlag);
        EXPECT_EQ(finales, 1);
    }
}

TEST_F(InicializaSistemaTest, SecondCallKeepsTheOpenConnection)
{
    bool arma = false;
    QString cadena;
    InicializaSistema(arma, parametros(QStringLiteral("@Caja=3;")), cadena, 3);
    ASSERT_TRUE(gDB().gOpenFlag);
    InicializaSistema(arma, QStringLiteral("@Caja=9; @Server=otro;"), cadena, 3);
    EXPECT_EQ(gCaja, QStringLiteral("3"));
    EXPECT_EQ(gDB().gServidor, QStringLiteral("sqlite"));
    EXPECT_EQ(finales, 0);
}

TEST_F(InicializaSistemaTest, IniRoadOnlyWhenAskedFor)
{
    const QString ini = AppPath() + QStringLiteral("/VI000vi.INI");
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QString seccion = gEntorno().NombrePC().toUpper() + QStringLiteral("|") + gEntorno().UsuarioPC().toUpper()
                                + QStringLiteral("BaseDeDatos");
        f.write(QStringLiteral("[%1]\r\nServidor=sqlite\r\nDbName=%2\r\nUsuario=%3\r\n")
                    .arg(seccion, empresa.path(), gComponente().CodificaClave(QStringLiteral("luis")))
                    .toUtf8());
    }
    bool arma = true;
    QString cadena;
    InicializaSistema(arma, QString(), cadena, 3);
    EXPECT_TRUE(gDB().gOpenFlag);
    EXPECT_EQ(gDB().gUsuario, QStringLiteral("luis"));
    EXPECT_EQ(gDB().gUserPassWord, QStringLiteral("quenabo")) << "the compiled-in default password";
    EXPECT_EQ(gCaja, QStringLiteral("1"));

    ReiniciaConexion();
    arma = false;
    InicializaSistema(arma, QString(), cadena, 3);
    EXPECT_EQ(finales, 1) << "without the flag the INI is not read: login dialog, cancelled";
    QFile::remove(ini);
}

TEST_F(InicializaSistemaTest, AnErrorThatStopsStartUpIsShown)
{
    const QString carpeta = AppPath();
    SetAppPath(carpeta + QStringLiteral("/no/existe"));
    operador.answer(ui::vbAbort);
    bool arma = false;
    QString cadena;
    InicializaSistema(arma, parametros(), cadena, 3);
    SetAppPath(carpeta);
    ASSERT_EQ(operador.prompts().size(), 1);
    EXPECT_TRUE(operador.prompts()[0].startsWith(QStringLiteral("Ha ocurrido el Siguiente Error (76)")))
        << operador.prompts()[0].toStdString();
    EXPECT_TRUE(operador.requests()[0].title.contains(QStringLiteral("InicializaSistema")));
    // Start-up stopped there: the configuration was not loaded.
    EXPECT_NE(gTablaConfiguracion, QStringLiteral("ta_configuracion"));
    EXPECT_EQ(finales, 0) << "the connection is open, so the program goes on";
}

// A file that is no database, missing or empty, gets the connection's one
// question; No ends the program, and no file is made or written.
TEST_F(InicializaSistemaTest, AMissingOrEmptyDatabaseFileGetsOneQuestion)
{
    QTemporaryDir carpeta;
    const QString falta = carpeta.filePath(QStringLiteral("falta.db"));
    const QString vacia = carpeta.filePath(QStringLiteral("vacia.db"));
    QFile(vacia).open(QIODevice::WriteOnly);
    for (const QString &ruta : {falta, vacia}) {
        SCOPED_TRACE(ruta.toStdString());
        [&] {
            operador.clear();
            finales = 0;
            ReiniciaConexion();
            operador.answer(ui::vbNo);
            Inicia(QStringLiteral("@Server=sqlite; @DbName=%1; @Usuario=ADMIN; @Password=; ").arg(ruta));
            ASSERT_EQ(operador.requests().size(), 1u);
            EXPECT_EQ(operador.requests()[0].title, QStringLiteral(" Error de Conexion a Base de Datos"));
            EXPECT_TRUE(operador.requests()[0].prompt.contains(QStringLiteral("Cannot open database \"%1\"").arg(ruta)))
                << operador.requests()[0].prompt.toStdString();
            EXPECT_EQ(finales, 1);
            EXPECT_EQ(operador.unexpected(), 0);
        }();
    }
    EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files), QStringList{QStringLiteral("vacia.db")});
    EXPECT_EQ(QFileInfo(vacia).size(), 0);
}

// The flag says open but the connection is not: start-up runs its later steps
// and then ends the program rather than leave a window without a connection.
TEST_F(InicializaSistemaTest, NoOpenConnectionAtTheEndEndsTheProgram)
{
    gDB().gOpenFlag = true;
    bool arma = false;
    QString cadena;
    InicializaSistema(arma, parametros(), cadena, 3);
    EXPECT_NE(gDB().gCnn().State(), ado::adStateOpen);
    EXPECT_EQ(finales, 1);
}

} // namespace
