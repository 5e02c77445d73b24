#pragma once

#include <QString>
#include <QTextStream>

// leebase's work, apart from its command line: one query of SQL Server's
// syntax run on a database file as the program reads it (its collation,
// functions and dialect), its rows written as the sqlite3 shell lists
// them: the column names, then a line a row, the values between "|" and
// NULL as nothing. Only a SELECT runs: the tool reads, it never writes.
// 0, or 1 with the reason in `error`.
int LeeBase(const QString &ruta, const QString &consulta, QTextStream &salida, QString &error);
