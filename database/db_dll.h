#pragma once

#include "platform/ado/ado.h"
#include "platform/runtime/steps.h"
#include "platform/runtime/variant.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class ClsComponente;
class ClsDialogoArchivo;

// The one database connection object of the program (held in gDB()).
// Every statement, query and recordset of every subsystem goes through it.
// Texts taken as QString& may come back rewritten: the caller sees the
// statement as it was sent.
// The members are defined by topic in db_dll_*.cpp: busquedas (ExisteEnTabla,
// DatosTabla, BuscaMaximo...), conexion, literales (SQLValue, field-type
// families), controles_esquema (schema helpers and names, AddField), ejecucion,
// dialecto_oracle, script_oracle, sinonimos and tratamiento_errores.
class DB_Dll
{
public:
    DB_Dll();
    ~DB_Dll();
    DB_Dll(const DB_Dll &) = delete;
    DB_Dll &operator=(const DB_Dll &) = delete;

    // Public variables, in their declared order. CmdDlg and gCnn are created on first use.
    ClsDialogoArchivo &CmdDlg();
    bool gOpenFlag = false;
    Variant gIgnoraPassWord;
    ado::Connection &gCnn();
    ado::Recordset glrcs;
    Variant gCursorLocation;
    QString gProveedor;
    QString gDsn;
    QString gServidor;
    QString gDBName;
    QString gUsuario;
    bool gEsAdmin = false;
    QString gUserPassWord;
    QString gConnString;
    QString gExtended;
    QString gLogErr;

    // Value lookups.
    Variant BuscaMaximo(const QString &QueTabla,
                        const QString &QueCampo,
                        const Variant &Tipo = {},
                        const Variant &Condicion = {});
    Variant BuscaMinimo(const QString &QueTabla,
                        const QString &QueCampo,
                        const Variant &Tipo = {},
                        const Variant &Condicion = {});

    // Connection opening.
    void OpenServerADODB(bool PideParametrosSQL = false,
                         std::int32_t lCursor = 0,
                         const QString &ConnString = {},
                         bool ValidaAdmin = false);
    // A second way of opening that does nothing.
    void OpenLocalADODB(const QString &ConnString, const QString &CadenaID, const QString &CadenaPWD);

    bool ExisteEnTablaST(const QString &Tabla,
                         const QString &ValorBuscado,
                         const QString &Campo = QStringLiteral("Codigo"),
                         ado::Recordset *Lrcs = nullptr,
                         const Variant &Tipodato = 8,
                         const QString &Condicion = {},
                         bool SoloLectura = false);
    bool ExisteEnTabla(const QString &Tabla,
                       const QString &ValorBuscado,
                       const QString &Campo = QStringLiteral("Codigo"),
                       ado::Recordset *Lrcs = nullptr,
                       const Variant &Tipodato = 8,
                       const QString &Condicion = {});
    Variant DatosTabla(const QString &Tabla,
                       const QString &ValorBuscado,
                       const QString &CampoDevuelto,
                       const QString &Campo = QStringLiteral("Codigo"),
                       const Variant &Tipodato = 8,
                       const QString &Condicion = {},
                       bool UsaTrim = true);

    // Field-type families.
    bool adodate(const Variant &Qtype);
    bool ADOText(const Variant &Qtype);
    bool ADONumeric(const Variant &Qtype);
    bool ADOCurrency(const Variant &Qtype);
    bool ADOBoolean(const Variant &Qtype);

    void CierraRecordset(ado::Recordset *LRCSTEMP);

    // Schema helpers and names.
    void QConsulta(const QString &TB,
                   const Variant &Rsp,
                   const QString &Cl1,
                   const QString &Cl2,
                   const QString &CmpDisplay = QStringLiteral("Codigo"),
                   const Variant &SQLWHERE = {});
    void QGridConsulta(const QString &Sentencia,
                       const QString &CampoDevuelto1,
                       const QString &gCnnString,
                       const Variant &CampoDevuelto2 = {},
                       const Variant &CampoDevuelto3 = {});
    QString stSTF(QString &rsName, std::int16_t rnPart);
    QString AddBrackets(QString &rObjName);
    QString StripConnect(QString &rsTblName);
    QString StripBrackets(QString &rsObjName);
    QString StripOwner(QString &rsTblName);
    QString StripFileName(QString &rsFileName);

    // Statements and recordsets.
    void EjecutaConsultaSQL(QString &SentenciaSQL, std::int32_t *RecordsAffected = nullptr);
    // Convenience for a statement the caller does not need back.
    void EjecutaConsultaSQL(const QString &SentenciaSQL, std::int32_t *RecordsAffected = nullptr)
    {
        QString s = SentenciaSQL;
        EjecutaConsultaSQL(s, RecordsAffected);
    }
    void AbrirRecordset(QString &SentenciaSQL,
                        ado::Recordset &Lrcs,
                        ado::Connection *ConexionActiva = nullptr,
                        int CursorType = ado::adOpenForwardOnly,
                        int LockType = ado::adLockReadOnly,
                        int Options = -1,
                        bool ConvOracle = true);
    QString ORACLE_Dicc(const QString &SentenciaSQL);

    Variant BuscaUltimoCodigo(const QString &QueTabla,
                              const QString &QueCampo,
                              const Variant &Tipo = 8,
                              const QString &Condicion = {});

    QString pJETOLEDB40() const { return QStringLiteral("Microsoft.Jet.OLEDB.4.0"); }
    QString pJETOLEDB35() const { return QStringLiteral("Microsoft.Jet.OLEDB.3.51"); }
    QString pSQLOLEDB() const { return QStringLiteral("SQLOLEDB"); }

    Variant SQLValue(const Variant &Valor, const QString &Tipo = QStringLiteral("'"));

    void AddField(const QString &Tabla,
                  const QString &Campo,
                  const QString &Tipo,
                  bool PermiteNulos,
                  const Variant &ValorDefault = {});
    bool ExisteTablaDB(const QString &Tabla);
    bool ExisteCampoDB(const QString &Tabla, const QString &Campo);
    bool VerCampoDB(const QString &Tabla,
                    const QString &Campo,
                    bool Agregar = true,
                    const QString &Tipo = {},
                    bool PermiteNulos = false,
                    const Variant &ValorDefault = {});

    QString SS_TSinonimos(const QString &Sentencia);

    // Error treatment.
    Variant ArchivoErrores() const { return Variant(gLogErr); }
    void setArchivoErrores(const Variant &vNewValue) { gLogErr = vNewValue.toString(); }
    // Botones: the message-box style, 18 (Abort/Retry/Ignore, critical) when not given.
    std::int16_t TratamientoErrores(const ErrObject &CodErr,
                                    std::optional<int> Botones = std::nullopt,
                                    std::optional<QString> Rutina = std::nullopt);

    // Oracle script runner (used by EjecutaConsultaSQL; public for the tests).
    bool EjecutaScriptOracle(QString &SentenciaSQL, std::int32_t *RecordsAffected);
    QString FiltraSentenciaOracle(const QString &Sentencia);

private:
    ClsComponente &mComponente();

    std::unique_ptr<ClsDialogoArchivo> m_cmdDlg;
    std::unique_ptr<ado::Connection> m_cnn;
    std::unique_ptr<ClsComponente> m_componente;
};

// The program's one connection object, created on first use.
DB_Dll &gDB();

// Whether EjecutaConsultaSQL keeps this failure to itself, leaving it in the
// connection's Errors for the caller: the four provider numbers it does not
// show, and a refused truncation.
bool FallaNoInformada(const ado::Error &error);

// The steps of a procedure whose errors go to TratamientoErrores with the
// routine's label (the default message-box style): Pasos(QStringLiteral("Cfg")).
Steps Pasos(const QString &rutina, DB_Dll &db = gDB());
