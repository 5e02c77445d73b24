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

Variant cell(sqlite3_stmt *st, int i, const Column &c)
{
    const int type = sqlite3_column_type(st, i);
    if (type == SQLITE_NULL)
        return Variant::null();
    auto textValue = [&] {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        return QString::fromUtf8(p, sqlite3_column_bytes(st, i));
    };
    switch (c.kind) {
    case ColumnKind::Text:
        return Variant(textValue());
    case ColumnKind::Integer:
        if (type == SQLITE_INTEGER)
            return Variant(static_cast<long long>(sqlite3_column_int64(st, i)));
        break;
    case ColumnKind::Boolean:
        if (type == SQLITE_INTEGER)
            return Variant(sqlite3_column_int64(st, i) != 0);
        break;
    case ColumnKind::Real:
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            return Variant(sqlite3_column_double(st, i));
        break;
    case ColumnKind::Money:
        if (type == SQLITE_INTEGER)
            return Variant(::Currency::fromScaled(sqlite3_column_int64(st, i) * 10000));
        if (type == SQLITE_FLOAT)
            return Variant(::Currency::fromDouble(sqlite3_column_double(st, i)));
        break;
    case ColumnKind::Date:
        if (type == SQLITE_TEXT) {
            const QDateTime d = storedDateTime(reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                                               sqlite3_column_bytes(st, i));
            if (d.isValid())
                return Variant(d);
        }
        break;
    default:
        break;
    }
    switch (type) {
    case SQLITE_INTEGER:
        return Variant(static_cast<long long>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
        return Variant(sqlite3_column_double(st, i));
    default: {
        // An expression over a date column (MAX(FECHA)) comes back as the stored text.
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        const int n = sqlite3_column_bytes(st, i);
        if (c.kind == ColumnKind::Unknown && looksStoredDate(p, n)) {
            const QDateTime d = storedDateTime(p, n);
            if (d.isValid())
                return Variant(d);
        }
        return Variant(QString::fromUtf8(p, n));
    }
    }
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
