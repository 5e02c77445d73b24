#pragma once

#include "stock/lotes_insumos.h"

#include <vector>

// The components of the line whose inputs the posting is consuming, as
// IdArticuloTieneInsumos fills them: one record per component and a last
// empty one. It keeps the last line's components after the run.
extern std::vector<TipoArticuloCantidad> gInsumos;
