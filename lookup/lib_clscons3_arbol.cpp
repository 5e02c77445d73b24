// The tree road of the lookup.
#include "lookup/lib_clscons3.h"

void Lib_ClsCons3::MuestraArbol(const QString &sentencia)
{
    // The tree dialog is not there yet: a tree lookup shows nothing and
    // leaves the pick empty.
    (void)sentencia;
}
