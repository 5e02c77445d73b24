#pragma once

// Put in front of every source of the loadable extension: each call of the
// engine's API goes through the table the loading engine hands over, so the
// extension works with whichever copy of SQLite loads it.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
