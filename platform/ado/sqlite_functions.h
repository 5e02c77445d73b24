#pragma once

struct sqlite3;

namespace ado {

// The text collation and the SQL Server functions that translated statements
// rely on. Every handle on the suite's database files needs them: the data
// layer's own, the demo generator's, a benchmark's or a test's.
void registerSqlServerFunctions(sqlite3 *db);

} // namespace ado
