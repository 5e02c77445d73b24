#pragma once

#include "platform/runtime/vberror.h"

#include <functional>

// The run-time error a call raises; Number 0 when it raises none.
inline ErrObject RaisedError(const std::function<void()> &call)
{
    try {
        call();
    } catch (const VbException &e) {
        return e.err();
    }
    return {};
}

// Just its number.
inline int RaisedNumber(const std::function<void()> &call)
{
    return RaisedError(call).Number;
}
