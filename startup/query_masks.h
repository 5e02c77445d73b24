#pragma once

#include "database/mascara_consulta.h"

#include <QString>

// Writes the eight default masks into gConsulta().gRutaMascaraConsultas: the
// whole file or nothing (written beside it, then renamed into place). Raises
// the run-time error when the file cannot be written.
void CreaArchivoConsultas();

// Whether the query-mask file at the path is missing or empty (and so must be written).
bool FaltaArchivoConsultas(const QString &ruta);
