// The tree road of the lookup: the tree dialog shown on the statement, its
// pick read back (ConsultaSearch has emptied the driver's pick before).
// The tree dialog's default instance is let go with the list's in
// LiberaDialogos (lib_clscons3_search.cpp).
#include "lookup/lib_clscons3.h"

void Lib_ClsCons3::MuestraArbol(const QString &sentencia)
{
    // Not built yet: a tree lookup shows nothing and leaves the pick empty.
    (void)sentencia;
}
