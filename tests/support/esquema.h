#pragma once

// The company fixture (tests/support/empresa.h) as start-up leaves it, with
// every text sent recorded: the library's tests start from here. A fixture
// that wants the demo data overrides conDemo().

#include "tests/support/empresa.h"

class EmpresaEsquema : public Empresa
{
protected:
    EmpresaEsquema()
        : Empresa({.espia = true, .comoArranque = true})
    {}
};
