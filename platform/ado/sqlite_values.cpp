#include "platform/ado/sqlite_values.h"

#include "platform/ado/sqlite_datetime.h"

#include <QDateTime>
#include <QHash>

#include <sqlite3.h>

#include <cstring>

namespace ado::sqlite_values {
namespace {

bool looksStoredDate(const char *p, int n)
{
    return (n == sqlite_datetime::kStoredLength || n == sqlite_datetime::kStoredLengthWithMilliseconds) && p[4] == '-'
           && p[7] == '-' && p[10] == ' ' && p[13] == ':' && p[16] == ':';
}

// A stored date-time as the system's date value; invalid when it is none.
// Making a local date-time asks the C library for the zone's offset, which
// looks at the zone file each time (mktime, tzset): the values made are kept
// by their stored form, so each distinct date-time of a read pays that once,
// not every cell that holds it.
QDateTime storedDateTime(const char *p, int n)
{
    char stored[sqlite_datetime::kStoredLengthWithMilliseconds];
    const int length = sqlite_datetime::comparable(p, n, stored);
    if (length == 0)
        return {};
    // Its digits as one number, the milliseconds zero when it has none.
    qint64 key = 0;
    for (int k = 0; k < length; ++k)
        if (stored[k] >= '0' && stored[k] <= '9')
            key = key * 10 + (stored[k] - '0');
    if (length == sqlite_datetime::kStoredLength)
        key *= 1000;
    thread_local QHash<qint64, QDateTime> made;
    if (const auto it = made.constFind(key); it != made.cend())
        return *it;
    const QDateTime d = sqlite_datetime::toDateTime(stored, length);
    if (!d.isValid())
        return d;
    // A read of many days keeps the last few thousand, not all.
    if (made.size() >= 4096)
        made.clear();
    made.insert(key, d);
    return d;
}

} // namespace

// The kind of a declared type, by SQLite's own affinity words and the server's names.
ColumnKind describeType(const QString &declared)
{
    const QString decl = declared.toUpper();
    if (decl.isEmpty())
        return ColumnKind::Unknown;
    if (decl.contains("CHAR") || decl.contains("TEXT"))
        return ColumnKind::Text;
    if (decl.contains("DATE") || decl.contains("TIME"))
        return ColumnKind::Date;
    if (decl.contains("MONEY") || decl.contains("DEC") || decl.contains("NUMERIC"))
        return ColumnKind::Money;
    if (decl.startsWith("BIT"))
        return ColumnKind::Boolean;
    if (decl.contains("INT"))
        return ColumnKind::Integer;
    if (decl.contains("REAL") || decl.contains("FLOA") || decl.contains("DOUB"))
        return ColumnKind::Real;
    if (decl.contains("BLOB") || decl.contains("BINARY") || decl.contains("IMAGE"))
        return ColumnKind::Binary;
    return ColumnKind::Unknown;
}

Column describe(sqlite3_stmt *st, int i)
{
    Column c;
    c.name = QString::fromUtf8(sqlite3_column_name(st, i));
    if (const char *t = sqlite3_column_table_name(st, i))
        c.baseTable = QString::fromUtf8(t);
    if (const char *o = sqlite3_column_origin_name(st, i))
        c.baseColumn = QString::fromUtf8(o);
    const char *declared = sqlite3_column_decltype(st, i);
    const QString decl = declared ? QString::fromUtf8(declared).toUpper() : QString();
    auto sizeIn = [&](std::int32_t fallback) {
        const qsizetype open = decl.indexOf('(');
        if (open < 0)
            return fallback;
        bool ok = false;
        const int n = decl.mid(open + 1, decl.indexOf(')', open) - open - 1).section(',', 0, 0).trimmed().toInt(&ok);
        return ok ? std::int32_t(n) : fallback;
    };
    c.kind = describeType(decl);
    switch (c.kind) {
    case ColumnKind::Text:
        c.definedSize = sizeIn(decl.contains("TEXT") ? 2147483647 : 1);
        break;
    case ColumnKind::Date:
        c.definedSize = 16;
        break;
    case ColumnKind::Money:
        c.definedSize = decl.contains("MONEY") ? 8 : 19;
        break;
    case ColumnKind::Boolean:
        c.definedSize = 2;
        break;
    case ColumnKind::Integer:
        c.definedSize = decl.contains("BIGINT") ? 8 : decl.contains("SMALLINT") ? 2 : decl.contains("TINYINT") ? 1 : 4;
        break;
    case ColumnKind::Real:
        c.definedSize = 8;
        break;
    case ColumnKind::Binary:
        c.definedSize = sizeIn(2147483647);
        break;
    default:
        break;
    }
    return c;
}

namespace {

// A cell as the engine gave it: what the Variant is made from.
struct Raw
{
    int type = SQLITE_NULL;
    std::int64_t integer = 0;
    double real = 0;
    const char *text = nullptr;
    int bytes = 0;
};

// Whether a cell's value is made from its text: a text column's number reads as the engine writes it.
bool fromText(int type, ColumnKind kind)
{
    return type == SQLITE_TEXT || type == SQLITE_BLOB || (type != SQLITE_NULL && kind == ColumnKind::Text);
}

// Column `i` of the current row, as much of it as a column of `kind` makes its value from.
Raw read(sqlite3_stmt *st, int i, ColumnKind kind)
{
    Raw r;
    r.type = sqlite3_column_type(st, i);
    if (fromText(r.type, kind)) {
        r.text = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        r.bytes = sqlite3_column_bytes(st, i);
    } else if (r.type == SQLITE_INTEGER) {
        r.integer = sqlite3_column_int64(st, i);
    } else if (r.type == SQLITE_FLOAT) {
        r.real = sqlite3_column_double(st, i);
    }
    return r;
}

Variant decode(const Raw &r, ColumnKind kind)
{
    if (r.type == SQLITE_NULL)
        return Variant::null();
    switch (kind) {
    case ColumnKind::Text:
        return Variant(QString::fromUtf8(r.text, r.bytes));
    case ColumnKind::Integer:
        if (r.type == SQLITE_INTEGER)
            return Variant(static_cast<long long>(r.integer));
        break;
    case ColumnKind::Boolean:
        if (r.type == SQLITE_INTEGER)
            return Variant(r.integer != 0);
        break;
    case ColumnKind::Real:
        if (r.type == SQLITE_INTEGER)
            return Variant(double(r.integer));
        if (r.type == SQLITE_FLOAT)
            return Variant(r.real);
        break;
    case ColumnKind::Money:
        if (r.type == SQLITE_INTEGER)
            return Variant(::Currency::fromScaled(r.integer * 10000));
        if (r.type == SQLITE_FLOAT)
            return Variant(::Currency::fromDouble(r.real));
        break;
    case ColumnKind::Date:
        if (r.type == SQLITE_TEXT) {
            const QDateTime d = storedDateTime(r.text, r.bytes);
            if (d.isValid())
                return Variant(d);
        }
        break;
    default:
        break;
    }
    switch (r.type) {
    case SQLITE_INTEGER:
        return Variant(static_cast<long long>(r.integer));
    case SQLITE_FLOAT:
        return Variant(r.real);
    default:
        // An expression over a date column (MAX(FECHA)) comes back as the stored text.
        if (kind == ColumnKind::Unknown && looksStoredDate(r.text, r.bytes)) {
            const QDateTime d = storedDateTime(r.text, r.bytes);
            if (d.isValid())
                return Variant(d);
        }
        return Variant(QString::fromUtf8(r.text, r.bytes));
    }
}

} // namespace

Variant cell(sqlite3_stmt *st, int i, const Column &c)
{
    return decode(read(st, i, c.kind), c.kind);
}

Rows::Rows(const std::vector<Column> &columns)
{
    m_columns.reserve(columns.size());
    for (const Column &c : columns)
        m_columns.push_back(c.kind);
}

void Rows::add(sqlite3_stmt *st)
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const Raw r = read(st, int(i), m_columns[i]);
        Cell c;
        c.type = r.type;
        c.bytes = r.bytes;
        if (fromText(r.type, m_columns[i])) {
            c.offset = m_text.size();
            m_text.append(r.text ? r.text : "", size_t(r.bytes));
        } else if (r.type == SQLITE_FLOAT) {
            c.real = r.real;
        } else {
            c.integer = r.integer;
        }
        m_cells.push_back(c);
    }
}

Variant Rows::value(size_t row, size_t column) const
{
    const ColumnKind kind = m_columns[column];
    const Cell &c = m_cells[row * m_columns.size() + column];
    Raw r;
    r.type = c.type;
    if (fromText(c.type, kind)) {
        r.text = m_text.data() + c.offset;
        r.bytes = c.bytes;
    } else if (c.type == SQLITE_FLOAT) {
        r.real = c.real;
    } else {
        r.integer = c.integer;
    }
    return decode(r, kind);
}

bool bind(sqlite3_stmt *st, int index, const Variant &v, ColumnKind kind, QString *refused)
{
    switch (v.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        sqlite3_bind_null(st, index);
        return true;
    case Variant::Type::Boolean:
        sqlite3_bind_int(st, index, v.toBool() ? 1 : 0);
        return true;
    case Variant::Type::Integer:
    case Variant::Type::Long:
        sqlite3_bind_int64(st, index, v.rawInteger());
        return true;
    case Variant::Type::Double:
        sqlite3_bind_double(st, index, v.rawDouble());
        return true;
    case Variant::Type::Currency:
        sqlite3_bind_double(st, index, v.toCurrency().toDouble());
        return true;
    case Variant::Type::Date: {
        const QByteArray u = sqlite_datetime::fromDateTime(v.toDate()).toLatin1();
        if (u.isEmpty()) {
            *refused = sqlite_datetime::conversionError(sqlite_datetime::Reading::OutOfRange).message;
            return false;
        }
        sqlite3_bind_text(st, index, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return true;
    }
    case Variant::Type::String: {
        QString s = v.rawString();
        if (kind == ColumnKind::Date) {
            // A text written into a date column means the date-time it names, as the server reads it.
            QString stored;
            const sqlite_datetime::Reading r = sqlite_datetime::fromText(s, stored);
            if (r != sqlite_datetime::Reading::Date) {
                *refused = sqlite_datetime::conversionError(r).message;
                return false;
            }
            s = stored;
        }
        const QByteArray u = s.toUtf8();
        sqlite3_bind_text(st, index, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return true;
    }
    }
    return true;
}

} // namespace ado::sqlite_values
