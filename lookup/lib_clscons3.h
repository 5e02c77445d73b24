#pragma once

#include "database/mascara_consulta.h"
#include "platform/runtime/variant.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class ClsComponente;

// A collection of the run time: shared, and null while it is Nothing.
using Coleccion = std::shared_ptr<QList<Variant>>;

// The lookup driver. Creation reads its configuration keys (Cfg), so the
// first use of gConsulta() must come after the connection is open.
class Lib_ClsCons3
{
public:
    Lib_ClsCons3();
    ~Lib_ClsCons3();
    Lib_ClsCons3(const Lib_ClsCons3 &) = delete;
    Lib_ClsCons3 &operator=(const Lib_ClsCons3 &) = delete;

    // Public variables, in their declared order.
    Variant StkNivel1;
    Variant StkNivel2;
    Variant StkNivel3;
    Variant StkNivel4;
    QString MuestraStock;
    Coleccion CmpsDevueltos;
    Coleccion Valores;
    Coleccion Cantidades;
    bool Checks = false;
    Variant ValorDevuelto;
    QString gConnString;
    QString gRutaMascaraConsultas;
    bool gUsarMascarasConsultas = false;
    bool UsaCantidades = false;
    QString CampoDevuelto;

    // The configuration switch "UsaConsultaLIKE" read at creation.
    bool UsaConsultaLIKE() const { return mUsaConsultaLIKE; }

    // The lookup: turns a table or view name (through its query mask, or its
    // own fields) or a whole SELECT into a pick list, shows it modally and
    // leaves the pick in ValorDevuelto, Valores and Cantidades. The pointers
    // are the caller's variables (by reference, null when not given):
    // CampoBusqueda is filled in when empty, Where comes back wrapped, and
    // CmpsDevueltos is emptied and set to null once a dialog was shown. Every
    // failing step is skipped.
    void ConsultaSearch(const QString &SQL,
                        Coleccion *CmpsDevueltos = nullptr,
                        const QString &Clave = {},
                        QString *CampoBusqueda = nullptr,
                        QString *Where = nullptr,
                        const QString &SentenciaOpcional = {},
                        bool TreeView = false,
                        const QString &ValoresDefault = {});

    // The statement of a lookup of SQL (a table or view name, or a SELECT):
    // through its query mask, or its own fields, or passed through.
    // CampoBusqueda is filled in when empty and Where comes back wrapped, as
    // the caller's variables; nullopt when the mask has too few columns to
    // search by (the operator has been told). Failing steps are skipped.
    std::optional<QString> ArmaSentenciaConsulta(const QString &SQL,
                                                 QString &CampoBusqueda,
                                                 QString &Where,
                                                 const QString &SentenciaOpcional);

protected:
    ClsComponente &mComponente();

    TipoMascaraConsulta mMascara;
    bool mUsaConsultaLIKE = false;

private:
    // The two roads of the dialog (lib_clscons3_busqueda.cpp, lib_clscons3_arbol.cpp).
    void MuestraLista(const QString &sentencia,
                      Coleccion *CmpsDevueltos,
                      const QString &Clave,
                      const QString &CampoBusqueda,
                      const QString &ValoresDefault);
    void MuestraArbol(const QString &sentencia);
    // Unloads the dialog a lookup showed and lets both dialogs' default
    // instances go, so the next lookup starts with fresh ones.
    void LiberaDialogos();

    // The record of the mask file whose view is the name; nullopt when there
    // is none, or no file, or the file cannot be read.
    std::optional<TipoMascaraConsulta> BuscaMascara(const QString &nombre);
    std::optional<QString> SentenciaMascara(QString &CampoBusqueda, const QString &Where, std::int32_t limite);
    QString SentenciaCampos(const QString &tabla, QString &CampoBusqueda, std::int32_t limite);

    std::unique_ptr<ClsComponente> m_componente;
};

// The program's one lookup driver, created on first use.
Lib_ClsCons3 &gConsulta();
// Drops the driver so that the next gConsulta() creates a fresh one (tests,
// and a start-up that runs again on another connection).
void LiberaConsulta();
