#pragma once

#include "platform/component/cls_aplicacion.h"
#include "platform/component/cls_cartel.h"
#include "platform/component/cls_componente.h"
#include "platform/component/cls_dialogo_archivo.h"
#include "platform/component/cls_entorno.h"
#include "platform/component/cls_ini.h"
#include "platform/component/cls_teclado.h"

// The component's module objects, each created on first use and kept for the
// program's life. Only the user-interface thread uses them.
ClsComponente &gComponente();
ClsEntorno &gEntorno();
ClsIni &gIni();
ClsAplicacion &gAplicacion();
ClsCartel &gCartel();
ClsTeclado &gTeclado();
