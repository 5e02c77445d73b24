#pragma once

#include "platform/runtime/vberror.h"

#include <functional>

// The run-time error number a call raises; 0 when it raises none.
inline int RaisedNumber(const std::function<void()> &call)
{
    try {
        call();
    } catch (const VbException &e) {
        return e.err().Number;
    }
    return 0;
}
