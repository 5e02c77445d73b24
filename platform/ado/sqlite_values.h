#pragma once

#include "platform/ado/provider.h"
#include "platform/runtime/variant.h"

#include <QString>

struct sqlite3_stmt;

// The engine's values as the system's and back: declared types as column
// kinds, cells as Variants, Variants bound as parameters.
namespace ado::sqlite_values {

// The kind of a declared type, by SQLite's own affinity words and the server's names.
ColumnKind describeType(const QString &declared);

// Column `i` of a prepared statement: name, kind, size and where it comes from.
Column describe(sqlite3_stmt *st, int i);

// The value of column `i` in the current row, read as column `c` is.
Variant cell(sqlite3_stmt *st, int i, const Column &c);

// `v` bound to parameter `index`; a date-time, and a text bound for a date
// column, in the stored form. False, with the server's words in `refused`,
// for a text that names no date-time.
bool bind(sqlite3_stmt *st, int index, const Variant &v, ColumnKind kind, QString *refused);

} // namespace ado::sqlite_values
