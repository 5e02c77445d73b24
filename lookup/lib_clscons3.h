#pragma once

#include "database/mascara_consulta.h"
#include "platform/runtime/variant.h"

#include <QList>
#include <QString>

#include <memory>

class ClsComponente;

// A collection of the run time: shared, and null where the original held Nothing.
using Coleccion = std::shared_ptr<QList<Variant>>;

// The lookup driver. Creation reads its configuration keys (Cfg), so the
// first use of gConsulta() must come after the connection is open.
class Lib_ClsCons3 {
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

protected:
    ClsComponente &mComponente();

    TipoMascaraConsulta mMascara;
    bool mUsaConsultaLIKE = false;

private:
    std::unique_ptr<ClsComponente> m_componente;
};

// The program's one lookup driver, created on first use.
Lib_ClsCons3 &gConsulta();
// Drops the driver so that the next gConsulta() creates a fresh one (tests,
// and a start-up that runs again on another connection).
void LiberaConsulta();
