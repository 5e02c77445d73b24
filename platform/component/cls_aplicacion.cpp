#include "platform/component/cls_aplicacion.h"

void ClsAplicacion::RutaAplicacion(const QString &folder)
{
    m_ruta = folder;
}
