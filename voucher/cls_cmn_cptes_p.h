#pragma once

// Helpers shared by the files of ClsCmnCptes.

#include "platform/runtime/strings.h"
#include "platform/ui/flex_grid.h"

#include <QString>

#include <cstdint>

class ClsCmnCptes;
class Steps;

namespace ado {
class Recordset;
}

namespace cptes {

// A row of an entry grid is a line when its trimmed code (column 0) is not empty.
inline bool EsLinea(const ui::FlexGrid &grilla, int fila)
{
    return !vb::Trim(grilla.TextMatrix(fila, 0)).isEmpty();
}

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

// Loading a stored voucher (cls_cmn_cptes_carga.cpp and the files of its steps).

// What the loader knows of the voucher while it writes an article line.
struct Carga
{
    QString TC; // as the caller gave them
    QString SucNroLetra;
    bool Compras = false;
    bool entregaParcial = false;   // EntregaParcialRemito (a missing key is on)
    bool cantidadNegativa = false; // the caller marked the load with -98
    bool repartoPendiente = false; // the header's IdReparto is -1
};

// What later deliveries already took of a line (cls_cmn_cptes_pendientes.cpp):
// the quantity applied, the quantity the line shows (ColCantidad) and the
// rest still to apply (AuxRestoPorAplicar).
double CantidadAplicada(ClsCmnCptes &cptes, const Carga &carga, const QString &IdArticulo, double Cantidad, Steps &paso);
QString CantidadMostrada(const Carga &carga, double Cantidad, double aplicada);
QString RestoPorAplicar(double Cantidad, double aplicada);

// The timber measures of the article grid's last row, then its merging into
// the first earlier row of the same board (cls_cmn_cptes_maderas.cpp). The
// row that holds the line afterwards: the last one, or the one it went into.
int MedidasMadera(ui::FlexGrid &grilla, ado::Recordset &linea, Steps &paso);

// For the grid's current article line, the quantity in the configured BL, M3
// and KG units, written as number text into their hidden columns (in that
// order). A blank configured unit writes "0". Failures, a grid access among
// them, are raised to the caller (cls_cmn_cptes_equivalencias.cpp).
void CalculaEquivalenciasFila(ui::FlexGrid &Grilla);

} // namespace cptes
