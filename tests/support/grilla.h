#pragma once

#include "platform/ui/flex_grid.h"
#include "platform/ui/flex_grid_view.h"

#include <QHeaderView>

#include <QString>
#include <QStringList>

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

// The texts of one column, from the row below the titles to the last.
inline QStringList Columna(const ui::FlexGrid &grilla, int columna)
{
    QStringList textos;
    for (int fila = 1; fila < grilla.Rows(); ++fila)
        textos << grilla.TextMatrix(fila, columna);
    return textos;
}

// The same without the last row: the empty one an entry grid keeps for the
// next line.
inline QStringList ColumnaCargada(const ui::FlexGrid &grilla, int columna)
{
    QStringList textos = Columna(grilla, columna);
    if (!textos.isEmpty())
        textos.removeLast();
    return textos;
}

// The titles of every column (row 0).
inline QStringList Titulos(const ui::FlexGrid &grilla)
{
    QStringList titulos;
    for (int c = 0; c < grilla.Cols(); ++c)
        titulos << grilla.TextMatrix(0, c);
    return titulos;
}

// The titles of the columns shown narrower than the title needs.
inline QStringList TitulosCortados(const ui::FlexGridView &vista)
{
    QStringList cortados;
    const ui::FlexGrid &grilla = vista.grid();
    for (int c = 0; c < grilla.Cols(); ++c)
        if (!vista.isColumnHidden(c) && !grilla.TextMatrix(0, c).isEmpty()
            && vista.columnWidth(c) < vista.horizontalHeader()->sectionSizeHint(c))
            cortados << grilla.TextMatrix(0, c);
    return cortados;
}
