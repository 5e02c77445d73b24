#pragma once

#include "platform/ado/provider.h"
#include "platform/runtime/variant.h"

#include <QString>

#include <string>
#include <vector>

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

// The rows of a statement as the engine gives them: every row's text in one
// buffer, each cell made the Variant `cell` would make only when it is read.
class Rows : public StoredRows
{
public:
    explicit Rows(const std::vector<Column> &columns);
    // The statement's current row.
    void add(sqlite3_stmt *st);
    size_t size() const override { return m_columns.empty() ? 0 : m_cells.size() / m_columns.size(); }
    Variant value(size_t row, size_t column) const override;

private:
    struct Cell
    {
        union {
            std::int64_t integer;
            double real;
            size_t offset; // of a text in m_text
        };
        std::int32_t bytes;
        std::int32_t type;
    };
    std::vector<ColumnKind> m_columns;
    std::vector<Cell> m_cells; // row after row
    std::string m_text;
};

// `v` bound to parameter `index`; a date-time, and a text bound for a date
// column, in the stored form. False, with the server's words in `refused`,
// for a text that names no date-time.
bool bind(sqlite3_stmt *st, int index, const Variant &v, ColumnKind kind, QString *refused);

} // namespace ado::sqlite_values
