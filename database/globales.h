#pragma once

#include "platform/runtime/currency.h"
#include "platform/runtime/variant.h"

#include <QString>

#include <cstdint>

// Module-wide values that start-up and the company configuration fill once and
// every subsystem reads. Only the user-interface thread touches them.

// Start-up values.
extern std::int32_t gColorTextoFoco; // BGR; 0 at start-up
extern std::int32_t gColorFondoFoco; // BGR; &HFFFFFF at start-up, &HFFFF00 once configured
extern QString gSeccionPC;           // "PC|USER" upper-cased, at most 50 characters
extern Variant gFlatToolbars;        // a Double: the toolbar style of this workstation
extern QString gParametroAdicional;
extern QString gMenu;
extern QString gUsuarioLogeado; // the database user once connected
extern QString gCaja;           // "1" when the parameter string gives none
extern QString gCadenaODBC;

// Name of the configuration table that Cfg reads ("TA_CONFIGURACION" when blank).
extern QString gTablaConfiguracion;

// Company settings, in the order CargaConfiguracion fills them.
extern bool gMostrarStockEnConsultas;
extern QString gTituloClientes;
extern QString gTituloProveedores;
extern QString gArchivoDocTareas;
extern bool gExigeClaveConsultaLike;
extern bool gUsaConsultaLike;
extern QString gCantidadDecimales;
extern bool gUsaMultilesMonedas;
extern bool gUsaFacturaProforma;
extern bool gUsaCCosto;
extern bool gUsaStockUdKg;
extern QString gUNegocio; // 4 characters, right-aligned; "   1" when the user has none
extern QString gUnidadM3;
extern QString gUnidadBL;
extern QString gUnidadKG;
extern std::int16_t gPeriodo;
extern bool gValidaCodigoBarra;
// gColorFondoFoco and gColorTextoFoco (above) come next.
extern bool gModuloOrdenDeTrabajo;
extern bool gVModificaCPrecio;
extern bool gCModificaCPrecio;
extern bool gMaderera;
extern QString gMadTiras;
extern QString gMadP2;
extern QString gMadML;
extern QString gMadM2;
extern QString gMadHojas;
extern QString gMadMLP2;
extern QString gMadM2P2;
extern QString gMadMLM2;
extern QString gCuentaCtroDist;
extern Currency gMaxDto;
extern bool gPideClaveStockNeg;
extern bool gPideClaveMarkUpBase;
extern bool gPideClaveLimiteCredito;
extern bool gSSBloqueoActivo;
extern QString gTopDefault;

// Every global of this file, and the statement builders' lists, back to the
// values they hold before start-up. Tests call it between cases; a global
// added above gets its line there, beside its definition.
void ReiniciaGlobales();
