#pragma once

// An older name of the company fixture as start-up leaves it, kept while the
// branches that use it land: new tests take Empresa (tests/support/empresa.h)
// with {.espia = true, .demo = ..., .comoArranque = true}.

#include "tests/support/empresa.h"

class EmpresaEsquema : public Empresa {
protected:
    EmpresaEsquema() : Empresa({.espia = true, .comoArranque = true}) {}
    virtual bool conDemo() const { return false; }
    void SetUp() override
    {
        Empresa::SetUp();
        if (conDemo()) {
            demodata::Options opciones;
            opciones.vouchers = 20;
            UsaDemo(opciones);
        }
    }
};
