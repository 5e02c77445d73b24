#pragma once

// An older name of the company fixture with the statement spy, kept while the
// branches that use it land: new tests take EmpresaEspiada (tests/support/empresa.h).

#include "tests/support/empresa.h"

class ConsultaDb : public EmpresaEspiada {
protected:
    void Run(const QStringList &sentencias) { Ejecuta(sentencias); }
    QStringList &sent = enviadas;
};
