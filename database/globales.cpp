#include "database/globales.h"

#include "database/armado_sql.h"

#include <initializer_list>

std::int32_t gColorTextoFoco = 0;
std::int32_t gColorFondoFoco = 0;
QString gSeccionPC;
Variant gFlatToolbars;
QString gParametroAdicional;
QString gMenu;
QString gUsuarioLogeado;
QString gCaja;
QString gCadenaODBC;

QString gTablaConfiguracion;

bool gMostrarStockEnConsultas = false;
QString gTituloClientes;
QString gTituloProveedores;
QString gArchivoDocTareas;
bool gExigeClaveConsultaLike = false;
bool gUsaConsultaLike = false;
QString gCantidadDecimales;
bool gUsaMultilesMonedas = false;
bool gUsaFacturaProforma = false;
bool gUsaCCosto = false;
bool gUsaStockUdKg = false;
QString gUNegocio;
QString gUnidadM3;
QString gUnidadBL;
QString gUnidadKG;
std::int16_t gPeriodo = 0;
bool gValidaCodigoBarra = false;
bool gModuloOrdenDeTrabajo = false;
bool gVModificaCPrecio = false;
bool gCModificaCPrecio = false;
bool gMaderera = false;
QString gMadTiras;
QString gMadP2;
QString gMadML;
QString gMadM2;
QString gMadHojas;
QString gMadMLP2;
QString gMadM2P2;
QString gMadMLM2;
QString gCuentaCtroDist;
Currency gMaxDto;
bool gPideClaveStockNeg = false;
bool gPideClaveMarkUpBase = false;
bool gPideClaveLimiteCredito = false;
bool gSSBloqueoActivo = false;
QString gTopDefault;

void ReiniciaGlobales()
{
    gColorTextoFoco = 0;
    gColorFondoFoco = 0;
    gSeccionPC.clear();
    gFlatToolbars = Variant();
    gParametroAdicional.clear();
    gMenu.clear();
    gUsuarioLogeado.clear();
    gCaja.clear();
    gCadenaODBC.clear();
    gTablaConfiguracion.clear();
    gMostrarStockEnConsultas = false;
    gTituloClientes.clear();
    gTituloProveedores.clear();
    gArchivoDocTareas.clear();
    gExigeClaveConsultaLike = false;
    gUsaConsultaLike = false;
    gCantidadDecimales.clear();
    gUsaMultilesMonedas = false;
    gUsaFacturaProforma = false;
    gUsaCCosto = false;
    gUsaStockUdKg = false;
    gUNegocio.clear();
    gUnidadM3.clear();
    gUnidadBL.clear();
    gUnidadKG.clear();
    gPeriodo = 0;
    gValidaCodigoBarra = false;
    gModuloOrdenDeTrabajo = false;
    gVModificaCPrecio = false;
    gCModificaCPrecio = false;
    gMaderera = false;
    for (QString *s : {&gMadTiras, &gMadP2, &gMadML, &gMadM2, &gMadHojas, &gMadMLP2, &gMadM2P2, &gMadMLM2})
        s->clear();
    gCuentaCtroDist.clear();
    gMaxDto = Currency();
    gPideClaveStockNeg = false;
    gPideClaveMarkUpBase = false;
    gPideClaveLimiteCredito = false;
    gSSBloqueoActivo = false;
    gTopDefault.clear();
    gCamposValores.clear();
    gTotalesAgrupados.clear();
}
