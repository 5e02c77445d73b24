#pragma once

#include "platform/ui/flex_grid.h"

#include <QString>

#include <initializer_list>
#include <map>
#include <vector>

// A grid built from a table of cells: one map (column -> text) per row,
// row 0 first (the titles). Cells not named are empty.
using FilaDeGrilla = std::map<int, QString>;

inline void LlenaGrilla(ui::FlexGrid &grilla, int columnas, const std::vector<FilaDeGrilla> &filas)
{
    grilla.setCols(columnas);
    grilla.setRows(int(filas.size()));
    grilla.Clear();
    for (int fila = 0; fila < int(filas.size()); ++fila)
        for (const auto &[columna, texto] : filas[std::size_t(fila)])
            grilla.setTextMatrix(fila, columna, texto);
}
