#pragma once

#include <QString>

// The company configuration: key/value rows of the configuration table.

// VALOR of the key's row (null-safe); one blank when no row has the key, the
// empty text when the read failed and was not ignored. ValorAux receives the
// row's valoraux (empty when there is no row).
QString Cfg(const QString &Clave, QString &ValorAux);
QString Cfg(const QString &Clave);

// The four ways a configuration value reads as a switch (case ignored).
// On when the value equals "SI" (untrimmed).
bool CfgSi(const QString &valor);
// On when the trimmed value equals "SI".
bool CfgSiRecortado(const QString &valor);
// On unless the trimmed value is "NO": a missing key is on.
bool CfgNoEsNo(const QString &valor);
// Off when the trimmed value is blank or the value equals "NO": a missing key is off.
bool CfgDefinidoYNoEsNo(const QString &valor);

// Reads the company settings (database/globales.h) once at start-up.
// RutaAplicacion ends in the folder separator.
void CargaConfiguracion(const QString &RutaAplicacion);
