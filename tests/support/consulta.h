#pragma once

#include "lookup/lib_clscons3.h"

// Adds the lookup driver to what a fixture resets, for the test programs that
// link the lookup folder: the next gConsulta() of a test is a fresh driver.
template<class Base>
class SinConsulta : public Base
{
protected:
    using Base::Base;
    void SetUp() override
    {
        LiberaConsulta();
        Base::SetUp();
    }
    void TearDown() override
    {
        Base::TearDown();
        LiberaConsulta();
    }
};
