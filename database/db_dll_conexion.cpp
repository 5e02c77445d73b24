#include "database/db_dll.h"

#include "database/campos.h"
#include "database/frm_acceso.h"
#include "platform/runtime/numbers.h"
#include "platform/ui/default_instance.h"
#include "platform/ui/ui.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

const QString kProveedorOracle = QStringLiteral("OraOLEDB.Oracle.1");

// Builds gConnString from the object's variables: Oracle when the server holds "#".
void ArmaCadenaConexion(DB_Dll &db)
{
    if (db.gServidor.contains(QLatin1Char('#'))) {
        db.gConnString = QStringLiteral("Provider=") + kProveedorOracle + QStringLiteral(";Data Source=") + db.gDBName
                         + QStringLiteral(";User Id=") + db.gUsuario + QStringLiteral(";Password=") + db.gUserPassWord
                         + QStringLiteral(";");
        return;
    }
    QString s = QStringLiteral("PROVIDER=") + db.pSQLOLEDB() + QStringLiteral(";");
    s += QStringLiteral("Server=") + db.gServidor + QStringLiteral(";");
    s += QStringLiteral("Database =") + db.gDBName + QStringLiteral(";");
    s += QStringLiteral("UId=") + db.gUsuario + QStringLiteral(";");
    s += QStringLiteral("Pwd=") + db.gUserPassWord + QStringLiteral(";");
    s += db.gExtended;
    db.gConnString = s;
}

// Asks for the connection values; false when the operator cancelled.
bool PideDatosAcceso(DB_Dll &db)
{
    frmAcceso &dlg = ui::DefaultInstance<frmAcceso>::Get();
    dlg.TxtDbName->setText(db.gDBName);
    dlg.TxtServidor->setText(db.gServidor);
    dlg.TxtUserId->setText(db.gUsuario);
    dlg.TxtUserPassword->setText(db.gUserPassWord);
    dlg.CboPlataformaDB->setCurrentIndex(0);
    ui::ShowModal(dlg);
    if (dlg.Aceptar) {
        db.gOpenFlag = true;
        db.gDBName = dlg.TxtDbName->text();
        db.gServidor = dlg.TxtServidor->text();
        db.gUsuario = dlg.TxtUserId->text();
        db.gUserPassWord = dlg.TxtUserPassword->text();
        if (dlg.CboPlataformaDB->currentIndex() > 0) {
            db.gProveedor = kProveedorOracle;
            if (!db.gServidor.contains(QLatin1Char('#')))
                db.gServidor.prepend(QLatin1Char('#'));
        } else {
            db.gProveedor = db.pSQLOLEDB();
        }
    } else {
        db.gOpenFlag = false;
    }
    ui::DefaultInstance<frmAcceso>::Unload();
    return db.gOpenFlag;
}

// Whether the open database holds the suite's configuration table. Oracle's
// users reach the suite's tables through synonyms, which the list of tables
// does not hold: there the question is not asked.
bool TieneTablasDelSistema(DB_Dll &db)
{
    if (db.gCnn().platform() == ado::Platform::Oracle)
        return true;
    return db.ExisteTablaDB(QStringLiteral("TA_CONFIGURACION"));
}

} // namespace

void DB_Dll::OpenServerADODB(bool PideParametrosSQL, std::int32_t lCursor, const QString &ConnString, bool ValidaAdmin)
{
    Steps steps([this](const ErrObject &err) -> int {
        ado::Errors &errs = gCnn().errors();
        if (errs.Count() > 0) {
            const ado::Error &e = errs.Item(0);
            const QString cr = QStringLiteral("\r");
            const QString msg = QStringLiteral(" Estado de Sql: ") + e.SQLState + cr
                                + QStringLiteral("Numero de Error: ") + QString::number(e.Number) + cr
                                + QStringLiteral("Descripcion: ") + e.Description + cr
                                + QStringLiteral("Codigo Nativo: ") + QString::number(e.NativeError) + cr
                                + QStringLiteral(" - Desea Intentarlo Nuevamente??? ");
            const int answer = ui::MsgBox(msg,
                                          ui::vbYesNo + ui::vbCritical,
                                          QStringLiteral(" Error de Conexion a Base de Datos"));
            if (answer == ui::vbYes) {
                errs.Clear();
                if (!PideDatosAcceso(*this))
                    return ui::vbCancel;
                ArmaCadenaConexion(*this);
                return Steps::Retry;
            }
            gOpenFlag = false;
            return ui::vbNo;
        }
        ui::MsgBox(err.Description, ui::vbOKOnly);
        // Whatever failed, the flag says whether there is a connection to work on.
        gOpenFlag = gCnn().State() == ado::adStateOpen;
        return ui::vbOK;
    });

    steps([&] { gOpenFlag = true; });
    steps([&] {
        if (gProveedor.isEmpty())
            gProveedor = pSQLOLEDB();
    });
    steps([&] {
        if (ConnString.trimmed().isEmpty())
            ArmaCadenaConexion(*this);
        else
            gConnString = ConnString;
    });
    steps([&] {
        if (!PideParametrosSQL)
            return;
        if (!PideDatosAcceso(*this)) {
            steps.leave();
            return;
        }
        ArmaCadenaConexion(*this);
    });
    steps([&] { gCnn().setCursorLocation(lCursor); });
    steps([&] { gCnn().Open(gConnString, QString(), QString(), -1); });
    // A database that is not the suite's would answer every configuration
    // key with an error box and the window would open on nothing: one
    // message, and the opening fails as a refused connection does.
    steps([&] {
        if (TieneTablasDelSistema(*this))
            return;
        ui::MsgBox(QStringLiteral("La base de datos \"") + gDBName
                       + QStringLiteral("\" no tiene las tablas del sistema (falta TA_CONFIGURACION). "
                                        "Verifique el nombre de la base de datos."),
                   ui::vbCritical,
                   QStringLiteral(" Error de Conexion a Base de Datos"));
        gCnn().Close();
        gOpenFlag = false;
        steps.leave();
    });
    steps([&] {
        if (!ValidaAdmin) {
            gEsAdmin = true;
            return;
        }
        const Variant v = DatosTabla(QStringLiteral("ta_usuarios"),
                                     gUsuario,
                                     QStringLiteral("Administrador"),
                                     QStringLiteral("nombre"),
                                     8,
                                     QString(),
                                     true);
        gEsAdmin = vb::Val(TextoNoNulo(v)) == 1;
    });
}

// A second way of opening that the suite keeps for its callers; it has nothing to do.
void DB_Dll::OpenLocalADODB(const QString &ConnString, const QString &CadenaID, const QString &CadenaPWD)
{
    (void) ConnString, (void) CadenaID, (void) CadenaPWD;
}
