#pragma once

// Helpers shared by the files of ClsCmnCptes.

#include "platform/runtime/strings.h"
#include "platform/ui/flex_grid.h"

#include <cstdint>

namespace cptes {

// A row of an entry grid is a line when its trimmed code (column 0) is not empty.
inline bool EsLinea(const ui::FlexGrid &grilla, int fila) { return !vb::Trim(grilla.TextMatrix(fila, 0)).isEmpty(); }

// The lines of a grid; an absent grid has none.
inline std::int32_t CuentaLineas(const ui::FlexGrid *grilla)
{
    std::int32_t lineas = 0;
    if (grilla)
        for (int fila = 1; fila < grilla->Rows(); ++fila)
            if (EsLinea(*grilla, fila))
                ++lineas;
    return lineas;
}

} // namespace cptes
