#pragma once

#include <QString>

// The application folder: where the suite's shared files (logs, query masks,
// VI000vi.INI) live. It is the executable's folder unless the environment
// variable ANULACION_APPDIR names another; tests set their own.
// The path comes without a trailing separator, as the run time gave it.
QString AppPath();
void SetAppPath(const QString &folder);
