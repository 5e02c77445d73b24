#pragma once

#include "platform/ado/sql_lexer.h"

#include <QString>

#include <functional>
#include <vector>

// Where one statement of a batch ends and the next begins, as SQL Server
// reads a batch the system writes.
namespace ado::sqlbatch {

using Lexemes = std::vector<SqlLexeme>;

// Hands each statement of a batch to `statement`, as its lexemes with a
// significant one: ";", GO lines, and a line that starts a new statement end one.
void splitBatch(const QString &s, const std::function<void(const Lexemes &)> &statement);

// Anything that defines things (also as the body of an IF) changes what the
// later statements mean: whether no lexeme of a statement does.
bool definesNothing(const QString &s, const Lexemes &lexemes);

} // namespace ado::sqlbatch
