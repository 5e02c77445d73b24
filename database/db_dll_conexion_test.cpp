#include "database/db_dll.h"

#include "database/frm_acceso.h"
#include "tests/support/empresa.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

class OpenServerTest : public Empresa
{
protected:
    OpenServerTest()
        : Empresa({.abierta = false})
    {}
};

struct CadenaCase
{
    const char *nombre;
    const char *servidor;
    const char *base;
    const char *usuario;
    const char *clave;
    const char *extended;
    const char *expected;
};

// The string is built before the open; the open itself fails (no such
// server), and the operator declines the retry.
TEST_F(OpenServerTest, BuildsTheConnectionString)
{
    const CadenaCase cases[] = {
        {"SQL Server", "SRV", "DB", "sa", "pw", "", "PROVIDER=SQLOLEDB;Server=SRV;Database =DB;UId=sa;Pwd=pw;"},
        {"extended appended as it is",
         "SRV",
         "DB",
         "sa",
         "",
         "App=X",
         "PROVIDER=SQLOLEDB;Server=SRV;Database =DB;UId=sa;Pwd=;App=X"},
        {"Oracle: a # anywhere",
         "OR#CL",
         "ORADB",
         "u",
         "p",
         "",
         "Provider=OraOLEDB.Oracle.1;Data Source=ORADB;User Id=u;Password=p;"},
    };
    for (const CadenaCase &c : cases) {
        SCOPED_TRACE(c.nombre);
        ReiniciaConexion();
        operador.clear();
        operador.answer(ui::vbNo);
        DB_Dll &db = gDB();
        db.gServidor = QString::fromUtf8(c.servidor);
        db.gDBName = QString::fromUtf8(c.base);
        db.gUsuario = QString::fromUtf8(c.usuario);
        db.gUserPassWord = QString::fromUtf8(c.clave);
        db.gExtended = QString::fromUtf8(c.extended);
        db.OpenServerADODB(false, 3, QString(), false);
        EXPECT_EQ(db.gConnString, QString::fromUtf8(c.expected));
        EXPECT_EQ(db.gProveedor, QStringLiteral("SQLOLEDB"));
        EXPECT_FALSE(db.gOpenFlag);
    }
}

TEST_F(OpenServerTest, ReadyStringOpensUnchanged)
{
    DB_Dll &db = gDB();
    db.gServidor = QStringLiteral("ignorado");
    const QString cadena = empresa.connString(QStringLiteral("luis"));
    db.gUsuario = QStringLiteral("luis");
    db.OpenServerADODB(false, 3, cadena, true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gConnString, cadena);
    EXPECT_EQ(db.gCnn().State(), ado::adStateOpen);
    EXPECT_FALSE(db.gEsAdmin) << "Administrador 0";
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(OpenServerTest, AdministratorComesFromTheUsersTable)
{
    const std::pair<const char *, bool> cases[] = {{"ana", true}, {"luis", false}, {"nadie", false}};
    for (const auto &[usuario, admin] : cases) {
        SCOPED_TRACE(usuario);
        [&] {
            ReiniciaConexion();
            DB_Dll &db = gDB();
            db.gUsuario = QString::fromUtf8(usuario);
            db.OpenServerADODB(false, 3, empresa.connString(db.gUsuario), true);
            ASSERT_TRUE(db.gOpenFlag);
            EXPECT_EQ(db.gEsAdmin, admin);
        }();
    }
    ReiniciaConexion();
    gDB().gUsuario = QStringLiteral("nadie");
    gDB().OpenServerADODB(false, 3, empresa.connString(), false);
    EXPECT_TRUE(gDB().gEsAdmin) << "without validation every user is an administrator";
}

TEST_F(OpenServerTest, CancelInTheFirstDialogTriesNothing)
{
    DB_Dll &db = gDB();
    db.OpenServerADODB(true, 3, empresa.connString(), true);
    EXPECT_FALSE(db.gOpenFlag);
    EXPECT_NE(db.gCnn().State(), ado::adStateOpen);
    ASSERT_EQ(operador.requests().size(), 1u);
    EXPECT_EQ(operador.requests()[0].kind, ui::Request::Kind::Modal);
}

TEST_F(OpenServerTest, DialogRebuildsTheStringFromItsBoxes)
{
    const QString base = empresa.path();
    operador.drive([base](QDialog &d) {
        auto &f = static_cast<frmAcceso &>(d);
        f.TxtServidor->setText(QStringLiteral("sqlite"));
        f.TxtDbName->setText(base);
        f.TxtUserId->setText(QStringLiteral("ana"));
        f.bcAceptar_Click();
    });
    DB_Dll &db = gDB();
    db.OpenServerADODB(true, 3, QStringLiteral("Provider=Nada;"), true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gConnString, empresa.connString());
    EXPECT_TRUE(db.gEsAdmin);
}

TEST_F(OpenServerTest, RetryWithOracleChosenTwiceAddsOneHash)
{
    const auto eligeOracle = [](QDialog &d) {
        auto &f = static_cast<frmAcceso &>(d);
        EXPECT_EQ(f.CboPlataformaDB->currentIndex(), 0) << "each dialog starts at SQL Server";
        f.TxtServidor->setText(f.TxtServidor->text().isEmpty() ? QStringLiteral("ORCL") : f.TxtServidor->text());
        f.TxtDbName->setText(QStringLiteral("ORADB"));
        f.CboPlataformaDB->setCurrentIndex(1);
        f.bcAceptar_Click();
    };
    operador.drive(eligeOracle).answer(ui::vbYes).drive(eligeOracle).answer(ui::vbNo);
    DB_Dll &db = gDB();
    db.OpenServerADODB(true, 3, QString(), false);
    EXPECT_EQ(db.gServidor, QStringLiteral("#ORCL"));
    EXPECT_EQ(db.gProveedor, QStringLiteral("OraOLEDB.Oracle.1"));
    EXPECT_TRUE(db.gConnString.startsWith(QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORADB;")));
    EXPECT_FALSE(db.gOpenFlag);
    EXPECT_EQ(operador.pending(), 0);
    EXPECT_EQ(operador.unexpected(), 0);
}

TEST_F(OpenServerTest, RetryThenSuccess)
{
    const QString base = empresa.path();
    operador.answer(ui::vbYes).drive([base](QDialog &d) {
        auto &f = static_cast<frmAcceso &>(d);
        EXPECT_EQ(f.TxtServidor->text(), QStringLiteral("malo"));
        f.TxtServidor->setText(QStringLiteral("sqlite"));
        f.TxtDbName->setText(base);
        f.bcAceptar_Click();
    });
    DB_Dll &db = gDB();
    db.gServidor = QStringLiteral("malo");
    db.gDBName = QStringLiteral("/no/existe/base.db");
    db.gUsuario = QStringLiteral("ana");
    db.OpenServerADODB(false, 3, QString(), true);
    ASSERT_GE(operador.requests().size(), 1u);
    const ui::Request &pregunta = operador.requests()[0];
    EXPECT_EQ(pregunta.style, 20);
    EXPECT_EQ(pregunta.title, QStringLiteral(" Error de Conexion a Base de Datos"));
    EXPECT_TRUE(pregunta.prompt.startsWith(QStringLiteral(" Estado de Sql: ")));
    EXPECT_TRUE(pregunta.prompt.contains(QStringLiteral("\rNumero de Error: ")));
    EXPECT_TRUE(pregunta.prompt.contains(QStringLiteral("\rDescripcion: ")));
    EXPECT_TRUE(pregunta.prompt.contains(QStringLiteral("\rCodigo Nativo: ")));
    EXPECT_TRUE(pregunta.prompt.endsWith(QStringLiteral("\r - Desea Intentarlo Nuevamente??? ")));
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gCnn().State(), ado::adStateOpen);
    EXPECT_EQ(db.gCnn().errors().Count(), 0);
    EXPECT_TRUE(db.gEsAdmin);
}

TEST_F(OpenServerTest, RetryQuestionQuotesTheFirstProviderError)
{
    operador.answer(ui::vbNo);
    DB_Dll &db = gDB();
    db.gServidor = QStringLiteral("malo");
    db.gDBName = QStringLiteral("/no/existe/base.db");
    db.OpenServerADODB(false, 3, QString(), false);
    ASSERT_EQ(operador.requests().size(), 1u);
    ASSERT_GE(db.gCnn().errors().Count(), 1) << "No leaves the collection as it was";
    const ado::Error &e = db.gCnn().errors().Item(0);
    const QString esperado
        = QStringLiteral(" Estado de Sql: %1\rNumero de Error: %2\rDescripcion: %3\rCodigo Nativo: %4\r"
                         " - Desea Intentarlo Nuevamente??? ")
              .arg(e.SQLState, QString::number(e.Number), e.Description, QString::number(e.NativeError));
    EXPECT_EQ(operador.requests()[0].prompt, esperado);
    EXPECT_EQ(operador.requests()[0].style, ui::vbYesNo + ui::vbCritical);
    EXPECT_FALSE(db.gOpenFlag);
}

TEST_F(OpenServerTest, RetryCancelledInTheDialogGivesUp)
{
    operador.answer(ui::vbYes); // then the dialog is left untouched: Cancel
    DB_Dll &db = gDB();
    db.gServidor = QStringLiteral("malo");
    db.OpenServerADODB(false, 3, QString(), false);
    EXPECT_FALSE(db.gOpenFlag);
    ASSERT_EQ(operador.requests().size(), 2u);
    EXPECT_EQ(operador.requests()[1].kind, ui::Request::Kind::Modal);
}

// A failure that leaves the error collection empty (here the dialog's own
// failing call): reported with OK, and no connection means the flag is False.
TEST_F(OpenServerTest, FailureWithoutProviderErrorsLeavesTheFlagFalse)
{
    operador.drive([](QDialog &) { Raise(vberr::InternalError, QStringLiteral("Falta el controlador")); });
    DB_Dll &db = gDB();
    db.OpenServerADODB(true, 3, QString(), true);
    EXPECT_FALSE(db.gOpenFlag);
    ASSERT_EQ(operador.requests().size(), 2u);
    const ui::Request &aviso = operador.requests()[1];
    EXPECT_EQ(aviso.prompt, QStringLiteral("Falta el controlador"));
    EXPECT_EQ(aviso.style, ui::vbOKOnly);
    EXPECT_TRUE(aviso.title.isNull()) << "the program's own title";
}

TEST_F(OpenServerTest, OpenLocalDoesNothing)
{
    const QString cadena = empresa.connString();
    gDB().OpenLocalADODB(cadena, QStringLiteral("ana"), QStringLiteral("clave"));
    EXPECT_FALSE(gDB().gOpenFlag);
    EXPECT_NE(gDB().gCnn().State(), ado::adStateOpen);
    EXPECT_TRUE(gDB().gConnString.isEmpty());
    EXPECT_EQ(operador.requests().size(), 0u);
}

} // namespace
