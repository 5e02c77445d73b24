#include "platform/component/component.h"

ClsComponente &gComponente()
{
    static ClsComponente instance;
    return instance;
}

ClsEntorno &gEntorno()
{
    static ClsEntorno instance;
    return instance;
}

ClsIni &gIni()
{
    static ClsIni instance;
    return instance;
}

ClsAplicacion &gAplicacion()
{
    static ClsAplicacion instance;
    return instance;
}

ClsCartel &gCartel()
{
    static ClsCartel instance;
    return instance;
}

ClsTeclado &gTeclado()
{
    static ClsTeclado instance;
    return instance;
}
