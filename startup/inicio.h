#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Start-up: reads the parameter string, opens the connection, tunes it,
// prepares the lookup driver and its query-mask file and loads the company
// configuration. When no connection could be opened the program ends.
// ArmaParametros: build a default parameter string from the INI file when the
// string is blank. Parametros: the parameter string (empty: the command line).
// CadenaConexion: a ready connection string; receives the Oracle string when
// empty and the server names an Oracle database.
void InicializaSistema(bool &ArmaParametros,
                       const QString &Parametros,
                       QString &CadenaConexion,
                       std::int32_t CursorLocation);

// The server name within a server parameter: after the first "/", before the first ":".
QString ExtraeNombreServidor(const QString &Servidor);

// The value of one key of the parameter string ("@Key=value;"): keys match
// whole and without regard to case, only the separating "=" is dropped, the
// value is trimmed, and one in double quotes reads without them. Absent gives
// `absent`; a key with no closing ";" reads to the end of the string.
QString LeeParametro(const QString &Parametros, const QString &Clave, const QString &absent = {});

// The INI section of this workstation: "PC|USER" upper-cased, cut to 50 characters.
QString ArmaSeccionPC(const QString &NombrePC, const QString &UsuarioPC);

// The code that opens the main window; the default parameter string ends
// with it, as the suite writes it.
inline const QString kCodigoAcceso = QStringLiteral("tesk@");

// The program's command line after its name, arguments joined by blanks.
QString LineaDeComandos();
// Tests replace the command line (nullopt restores the real one).
void FijaLineaDeComandos(std::optional<QString> linea);
