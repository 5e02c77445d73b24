#pragma once

// An older name of the company fixture, kept while the branches that use it
// land: new tests take Empresa (tests/support/empresa.h).

#include "tests/support/empresa.h"

using ConEmpresaDelEsquema = Empresa;
