#include "platform/ado/sqlite_functions.h"

#include "platform/ado/sqlite_checks.h"
#include "platform/ado/sqlite_datetime.h"
#include "platform/ado/sqlite_dialect.h"

#include <QDateTime>
#include <QString>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <type_traits>

namespace ado {
namespace {

int rtrimmedLength(const char *s, int n)
{
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return n;
}

int compareText(void *, int na, const void *va, int nb, const void *vb)
{
    const auto *a = static_cast<const unsigned char *>(va);
    const auto *b = static_cast<const unsigned char *>(vb);
    na = rtrimmedLength(reinterpret_cast<const char *>(a), na);
    nb = rtrimmedLength(reinterpret_cast<const char *>(b), nb);
    // Byte by byte while both sides are ASCII: the first difference there
    // decides as the full compare would, case folded the same way.
    const int n = std::min(na, nb);
    int i = 0;
    // Equal ASCII runs eight bytes at a time: keys mostly share their start.
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    for (std::uint64_t x, y; i + 8 <= n; i += 8) {
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y || ((x | y) & kHigh) != 0)
            break;
    }
    for (; i < n; ++i) {
        int ca = a[i], cb = b[i];
        if ((ca | cb) >= 0x80)
            break;
        if (ca == cb)
            continue;
        if (ca >= 'A' && ca <= 'Z')
            ca += 32;
        if (cb >= 'A' && cb <= 'Z')
            cb += 32;
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i == n)
        return na == nb ? 0 : (na < nb ? -1 : 1);
    // From the first character beyond ASCII on, as Qt compares without regard to case.
    const int c = QString::compare(QString::fromUtf8(reinterpret_cast<const char *>(a) + i, na - i),
                                   QString::fromUtf8(reinterpret_cast<const char *>(b) + i, nb - i),
                                   Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

QString argText(sqlite3_value *v)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(p, sqlite3_value_bytes(v));
}

void resultText(sqlite3_context *ctx, const QString &s)
{
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

bool anyNull(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

// LEN leaves out trailing blanks, as SQL Server's does.
void fnLen(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    QString s = argText(argv[0]);
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    sqlite3_result_int64(ctx, n);
}

// CHARINDEX(needle, haystack[, start]): 1-based, 0 when absent, under the text collation's case rule.
void fnCharIndex(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const QString needle = argText(argv[0]);
    const QString hay = argText(argv[1]);
    qsizetype from = argc > 2 ? std::max<sqlite3_int64>(1, sqlite3_value_int64(argv[2])) - 1 : 0;
    if (needle.isEmpty())
        return sqlite3_result_int64(ctx, 0);
    const qsizetype at = hay.indexOf(needle, from, Qt::CaseInsensitive);
    sqlite3_result_int64(ctx, at < 0 ? 0 : at + 1);
}

void fnLeft(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const sqlite3_int64 n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return sqlite3_result_error(ctx, "Invalid length parameter passed to the left function.", -1);
    resultText(ctx, argText(argv[0]).left(qsizetype(n)));
}

void fnRight(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const sqlite3_int64 n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return sqlite3_result_error(ctx, "Invalid length parameter passed to the right function.", -1);
    resultText(ctx, argText(argv[0]).right(qsizetype(n)));
}

// SUBSTRING(text, start, length) as on the server: a start before the first
// character shortens the result instead of counting from the end.
void fnSubstring(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const QString s = argText(argv[0]);
    const sqlite3_int64 n = s.size();
    // Clamped so that start + length cannot overflow; the result is the same.
    const sqlite3_int64 limit = sqlite3_int64(1) << 62;
    const sqlite3_int64 start = std::clamp<sqlite3_int64>(sqlite3_value_int64(argv[1]), -limit, n + 1);
    const sqlite3_int64 length = sqlite3_value_int64(argv[2]);
    if (length < 0)
        return sqlite3_result_error(ctx, "Invalid length parameter passed to the substring function.", -1);
    const sqlite3_int64 first = std::max<sqlite3_int64>(start, 1);
    const sqlite3_int64 end = std::min<sqlite3_int64>(start + std::min(length, limit), n + 1); // exclusive
    resultText(ctx, end > first ? s.mid(qsizetype(first - 1), qsizetype(end - first)) : QString());
}

// UPPER and LOWER beyond ASCII (ñ, accented vowels).
void fnUpper(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, argText(argv[0]).toUpper());
}

void fnLower(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, argText(argv[0]).toLower());
}

// LTRIM and RTRIM remove blanks only; a number stays a number, so that a
// trimmed number column compares with a number as the server compares it
// (RTRIM(LTRIM(PERIODO)) = 2024).
void trimmed(sqlite3_context *ctx, sqlite3_value *v, bool leading)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return sqlite3_result_null(ctx);
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_result_value(ctx, v);
    default:
        break;
    }
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    int n = sqlite3_value_bytes(v);
    int from = 0;
    if (leading)
        while (from < n && p[from] == ' ')
            ++from;
    else
        n = rtrimmedLength(p, n);
    sqlite3_result_text(ctx, p + from, n - from, SQLITE_TRANSIENT);
}

void fnLTrim(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    trimmed(ctx, argv[0], true);
}
void fnRTrim(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    trimmed(ctx, argv[0], false);
}

void fnGetDate(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultText(ctx, sqlite_datetime::fromDateTime(QDateTime::currentDateTime()));
}

// Two date-times as the instants they name; a value that names none after every one that does.
int compareDates(void *, int na, const void *va, int nb, const void *vb)
{
    const auto *a = static_cast<const char *>(va);
    const auto *b = static_cast<const char *>(vb);
    char ka[sqlite_datetime::kStoredLengthWithMilliseconds], kb[sqlite_datetime::kStoredLengthWithMilliseconds];
    const int la = sqlite_datetime::comparable(a, na, ka), lb = sqlite_datetime::comparable(b, nb, kb);
    if (la == 0 || lb == 0) {
        if (la != lb)
            return la == 0 ? 1 : -1;
        const int c = std::memcmp(a, b, size_t(std::min(na, nb)));
        return c != 0 ? c : na - nb;
    }
    const int c = std::memcmp(ka, kb, size_t(std::min(la, lb)));
    return c != 0 ? c : la - lb;
}

// A value that goes into a date-time column, in the stored form: a text
// as the server reads it, a number as days from 1900-01-01; the server's
// conversion error otherwise.
void fnDateTime(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    using sqlite_datetime::Reading;
    sqlite3_value *v = argv[0];
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: {
        const double days = sqlite3_value_double(v);
        const QDateTime base(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC);
        const QString stored = std::abs(days) < 3000000.0 ? sqlite_datetime::fromDateTime(
                                   base.addMSecs(qint64(std::llround(days * 86400000.0))))
                                                          : QString();
        if (stored.isEmpty()) {
            sqlite3_result_error(ctx, "Arithmetic overflow error converting expression to data type datetime.", -1);
            return;
        }
        resultText(ctx, stored);
        return;
    }
    default: {
        QString stored;
        const Reading r = sqlite_datetime::fromText(argText(v), stored);
        if (r == Reading::Date) {
            resultText(ctx, stored);
            return;
        }
        const QByteArray message = r == Reading::Unsupported
                                       ? QStringLiteral("The embedded database does not support the date '%1' (write "
                                                        "yyyymmdd or dd/mm/yyyy).")
                                             .arg(argText(v))
                                             .toUtf8()
                                       : sqlite_datetime::conversionError(r).message.toUtf8();
        sqlite3_result_error(ctx, message.constData(), int(message.size()));
        return;
    }
    }
}

void refuse(sqlite3_context *ctx, const sqlite_checks::Refusal &r)
{
    const QByteArray message = r.message.toUtf8();
    sqlite3_result_error(ctx, message.constData(), int(message.size()));
}

// sqlsrv_text(value, length): the value, when it fits a text column of that
// length (blanks beyond it cut off, as the server cuts them); the server's
// refusal otherwise.
void fnText(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite_checks::Limit limit;
    limit.kind = sqlite_checks::Limit::Kind::Text;
    limit.length = sqlite3_value_int(argv[1]);
    // No more bytes than the length: no more characters either, nothing to read.
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_bytes(argv[0]) <= limit.length) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    const QString text = argText(argv[0]);
    if (!sqlite_checks::fits(text, limit)) {
        refuse(ctx, sqlite_checks::truncated());
        return;
    }
    if (text.size() > limit.length)
        resultText(ctx, sqlite_checks::kept(text, limit).toString());
    else
        sqlite3_result_value(ctx, argv[0]);
}

// sqlsrv_number(value): a text beside a number read as the server converts
// it (blanks around it allowed), its refusal when it is no number; numbers
// and nulls go as they are.
void fnNumberOfText(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    const QString text = argText(argv[0]);
    const QString number = text.trimmed();
    bool ok = false;
    const qlonglong whole = number.toLongLong(&ok);
    if (ok) {
        sqlite3_result_int64(ctx, whole);
        return;
    }
    const bool plain = std::all_of(number.begin(), number.end(), [](QChar c) {
        return c.isDigit() || c == '.' || c == '+' || c == '-';
    });
    const double value = number.toDouble(&ok);
    if (plain && ok) {
        sqlite3_result_double(ctx, value);
        return;
    }
    refuse(ctx, sqlite_checks::notANumber(text));
}

// sqlsrv_int(value, min, max, 0) and sqlsrv_money(value, min, max, decimals):
// a number as a whole-number or amount column keeps it (a whole number cut
// to its integer part, an amount rounded to its decimals), when it is within
// the column's range; the server's refusal otherwise. Texts and nulls go as they are.
template<sqlite_checks::Limit::Kind K>
void fnNumber(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int type = sqlite3_value_type(argv[0]);
    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    const sqlite_checks::Limit limit{K,
                                     0,
                                     sqlite3_value_double(argv[1]),
                                     sqlite3_value_double(argv[2]),
                                     sqlite3_value_int(argv[3])};
    const double value = type == SQLITE_INTEGER ? double(sqlite3_value_int64(argv[0])) : sqlite3_value_double(argv[0]);
    if (!sqlite_checks::fits(value, limit)) {
        refuse(ctx, sqlite_checks::overflow(limit));
        return;
    }
    if (K == sqlite_checks::Limit::Kind::Integer)
        sqlite3_result_int64(ctx, type == SQLITE_INTEGER ? sqlite3_value_int64(argv[0]) : sqlite3_int64(value));
    else if (type == SQLITE_INTEGER)
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
    else
        sqlite3_result_double(ctx, sqlite_checks::kept(value, limit));
}

// sqlsrv_sum(value): SUM as the server sums whole numbers and amounts:
// whole numbers exactly, amounts exact in ten-thousandths; a value with
// more decimals makes it a plain sum of reals.
struct ExactSum
{
    sqlite3_int64 whole = 0;  // of the whole numbers
    sqlite3_int64 scaled = 0; // of the reals, in ten-thousandths
    double real = 0;          // of everything, as reals
    bool any = false, reals = false, inexact = false;
};

void sumStep(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_NULL)
        return;
    auto *s = static_cast<ExactSum *>(sqlite3_aggregate_context(ctx, sizeof(ExactSum)));
    if (!s)
        return;
    s->any = true;
    const double v = sqlite3_value_double(argv[0]);
    s->real += v;
    if (type == SQLITE_INTEGER) {
        if (__builtin_add_overflow(s->whole, sqlite3_value_int64(argv[0]), &s->whole))
            s->inexact = true;
        return;
    }
    s->reals = true;
    const double scaled = std::round(v * 10000.0);
    if (std::abs(scaled) > 9.0e15 || scaled / 10000.0 != v
        || __builtin_add_overflow(s->scaled, sqlite3_int64(scaled), &s->scaled))
        s->inexact = true;
}

void sumFinal(sqlite3_context *ctx)
{
    const auto *s = static_cast<ExactSum *>(sqlite3_aggregate_context(ctx, 0));
    sqlite3_int64 total = 0;
    if (!s || !s->any)
        sqlite3_result_null(ctx);
    else if (s->inexact && !s->reals)
        sqlite3_result_error(ctx, "Arithmetic overflow error converting expression to data type bigint.", -1);
    else if (!s->reals)
        sqlite3_result_int64(ctx, s->whole);
    else if (s->inexact || __builtin_mul_overflow(s->whole, sqlite3_int64(10000), &total)
             || __builtin_add_overflow(total, s->scaled, &total))
        sqlite3_result_double(ctx, s->real);
    else
        sqlite3_result_double(ctx, double(total) / 10000.0);
}

// LIKE's own matching: "%" any run of characters, "_" one character, and
// with an escape character the one after it as itself. `same` compares two
// characters as the text collation does.
template<class C, class Same>
bool likeMatches(const C *p, qsizetype np, const C *s, qsizetype ns, bool hasEscape, C escape, Same same)
{
    qsizetype pi = 0, si = 0;
    qsizetype starP = -1, starS = 0; // the last "%" and where its run ends so far
    while (si < ns) {
        if (pi < np) {
            C c = p[pi];
            qsizetype step = 1;
            bool literal = false;
            if (hasEscape && c == escape && pi + 1 < np) {
                c = p[pi + 1];
                step = 2;
                literal = true;
            }
            if (!literal && c == C('%')) {
                starP = ++pi;
                starS = si;
                continue;
            }
            if ((!literal && c == C('_')) || same(c, s[si])) {
                pi += step;
                ++si;
                continue;
            }
        }
        if (starP < 0)
            return false;
        pi = starP;
        si = ++starS;
    }
    while (pi < np && p[pi] == C('%') && !(hasEscape && escape == C('%')))
        ++pi;
    return pi == np;
}

bool isAscii(const unsigned char *s, int n)
{
    for (int i = 0; i < n; ++i)
        if (s[i] >= 0x80)
            return false;
    return true;
}

// LIKE without regard to case for every letter, as the text collation
// compares (= 'ÑANDÚ SA' and LIKE '%ñandú%' find the same row).
void fnLike(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const auto *p = sqlite3_value_text(argv[0]);
    const int np = sqlite3_value_bytes(argv[0]);
    const auto *s = sqlite3_value_text(argv[1]);
    const int ns = sqlite3_value_bytes(argv[1]);
    QString escape;
    if (argc > 2) {
        escape = argText(argv[2]);
        if (escape.size() != 1)
            return sqlite3_result_error(ctx, "The escape character of LIKE must be one character.", -1);
    }
    if (isAscii(p, np) && isAscii(s, ns) && escape.size() <= 1 && (escape.isEmpty() || escape[0].unicode() < 0x80)) {
        const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        const auto esc = static_cast<unsigned char>(escape.isEmpty() ? 0 : escape[0].unicode());
        return sqlite3_result_int(ctx,
                                  likeMatches(p, np, s, ns, !escape.isEmpty(), esc, [&](unsigned char a, unsigned char b) {
                                      return lower(a) == lower(b);
                                  }));
    }
    // Whole characters, folded as the collation folds them.
    const auto pattern = argText(argv[0]).toCaseFolded().toUcs4();
    const auto text = argText(argv[1]).toCaseFolded().toUcs4();
    using Ucs = std::remove_cvref_t<decltype(pattern)>::value_type;
    const Ucs esc = escape.isEmpty() ? 0 : escape.toCaseFolded().toUcs4().value(0);
    sqlite3_result_int(ctx,
                       likeMatches(pattern.constData(),
                                   pattern.size(),
                                   text.constData(),
                                   text.size(),
                                   !escape.isEmpty(),
                                   esc,
                                   std::equal_to<>()));
}

} // namespace

void registerSqlServerFunctions(sqlite3 *db)
{
    sqlite3_create_collation(db, kTextCollation, SQLITE_UTF8, nullptr, compareText);
    sqlite3_create_collation(db, sqlite_datetime::kDateCollation, SQLITE_UTF8, nullptr, compareDates);
    const int det = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "LEN", 1, det, nullptr, fnLen, nullptr, nullptr);
    sqlite3_create_function(db, "CHARINDEX", 2, det, nullptr, fnCharIndex, nullptr, nullptr);
    sqlite3_create_function(db, "CHARINDEX", 3, det, nullptr, fnCharIndex, nullptr, nullptr);
    sqlite3_create_function(db, "sqlsrv_left", 2, det, nullptr, fnLeft, nullptr, nullptr);
    sqlite3_create_function(db, "sqlsrv_right", 2, det, nullptr, fnRight, nullptr, nullptr);
    sqlite3_create_function(db, "SUBSTRING", 3, det, nullptr, fnSubstring, nullptr, nullptr);
    sqlite3_create_function(db, "upper", 1, det, nullptr, fnUpper, nullptr, nullptr);
    sqlite3_create_function(db, "lower", 1, det, nullptr, fnLower, nullptr, nullptr);
    sqlite3_create_function(db, "LTRIM", 1, det, nullptr, fnLTrim, nullptr, nullptr);
    sqlite3_create_function(db, "RTRIM", 1, det, nullptr, fnRTrim, nullptr, nullptr);
    sqlite3_create_function(db, "GETDATE", 0, SQLITE_UTF8, nullptr, fnGetDate, nullptr, nullptr);
    sqlite3_create_function(db, "sqlsrv_datetime", 1, det, nullptr, fnDateTime, nullptr, nullptr);
    sqlite3_create_function(db, "sqlsrv_text", 2, det, nullptr, fnText, nullptr, nullptr);
    sqlite3_create_function(db, "sqlsrv_number", 1, det, nullptr, fnNumberOfText, nullptr, nullptr);
    using Kind = sqlite_checks::Limit::Kind;
    sqlite3_create_function(db, "sqlsrv_int", 4, det, nullptr, fnNumber<Kind::Integer>, nullptr, nullptr);
    sqlite3_create_function(db, "sqlsrv_money", 4, det, nullptr, fnNumber<Kind::Money>, nullptr, nullptr);
    sqlite3_create_function(db, "sqlsrv_sum", 1, det, nullptr, nullptr, sumStep, sumFinal);
    sqlite3_create_function(db, "like", 2, det, nullptr, fnLike, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, det, nullptr, fnLike, nullptr, nullptr);
}

} // namespace ado
