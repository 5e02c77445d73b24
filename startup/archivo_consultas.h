#pragma once

#include "database/mascara_consulta.h"

#include <QString>

// Writes the eight default masks into gConsulta().gRutaMascaraConsultas,
// after the whole records already there: the whole file or nothing (written
// beside it, synced, then renamed into place). Raises the run-time error when
// the file cannot be written (61 when the disk is full).
void CreaArchivoConsultas();

// Whether the query-mask file at the path must be written: missing, empty,
// or damaged (its length not a whole number of records).
bool FaltaArchivoConsultas(const QString &ruta);
