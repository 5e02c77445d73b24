#include "platform/ado/sqlite_functions.h"

// The entry point SQLite derives from the file name anulacion.so, as the
// sqlite3 shell's ".load" and the SQLite ODBC driver's LoadExt call it.
SQLITE_EXTENSION_INIT1

extern "C" __attribute__((visibility("default"))) int sqlite3_anulacion_init(sqlite3 *db,
                                                                             char **,
                                                                             const sqlite3_api_routines *api)
{
    SQLITE_EXTENSION_INIT2(api);
    ado::registerSqlServerFunctions(db);
    return SQLITE_OK;
}
