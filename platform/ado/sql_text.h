#pragma once

#include <QString>

// Searching SQL Server's text for what is written as SQL, not as data: a
// keyword inside a quoted text, a quoted name or a comment is no keyword.
namespace ado {

// The mark that stands for every character of a quoted text, a quoted name
// or a comment in codeOutsideQuotes: no word, blank or mark matches it.
inline constexpr char16_t kQuotedMark = u'\x01';

// `sql` with every quoted text ('...', N'...'), quoted name ([...], "...")
// and comment (--, /* */) written over with kQuotedMark, quotes included,
// and every other character as it is: what a search finds in it is written as
// SQL, at the same place as in `sql`. An unclosed quote or comment is written
// over to the end of the text.
QString codeOutsideQuotes(const QString &sql);

// How many statements the text holds, cut as a batch is cut (";" outside
// quotes, GO lines, a line that begins a new statement). A text that cannot
// be read (an unclosed quote) counts as one: running it fails anyway.
int statementCount(const QString &sql);

// `sql` with every name in brackets ([name]) written as Oracle keeps a name
// written without quotes: upper case, in double quotes ("NAME"), so that
// [Numero Asiento] and [NUMERO ASIENTO] name one column. Brackets inside
// quoted texts and comments stay.
QString oracleQuotedNames(const QString &sql);

// `sql` with every `find` written outside quotes and comments, in any case,
// made `replacement`; what the quotes hold stays as it is.
QString replaceOutsideQuotes(const QString &sql, const QString &find, const QString &replacement);

} // namespace ado
