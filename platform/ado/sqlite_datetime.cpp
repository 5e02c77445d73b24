#include "platform/ado/sqlite_datetime.h"

#include <QDate>
#include <QTime>

#include <cstdio>
#include <cstring>

namespace ado::sqlite_datetime {
namespace {

struct Parts
{
    int y = 1900, mo = 1, d = 1, h = 0, mi = 0, s = 0, ms = 0;
};

bool isDigit(QChar c)
{
    return c >= '0' && c <= '9';
}

// The digits from `at` on: their value and how many.
int digits(QStringView s, qsizetype &at, int &count)
{
    int v = 0;
    count = 0;
    while (at < s.size() && isDigit(s[at]) && count < 9) {
        v = v * 10 + (s[at].unicode() - '0');
        ++at;
        ++count;
    }
    return v;
}

// The server's datetime keeps milliseconds in steps of 1/300 s.
int serverMilliseconds(int ms)
{
    const int ticks = (ms * 300 + 500) / 1000;
    return (ticks * 1000 + 150) / 300;
}

Reading checked(Parts p, QString &stored)
{
    if (p.y < 1753 || p.y > 9999 || !QDate::isValid(p.y, p.mo, p.d) || p.h > 23 || p.mi > 59 || p.s > 59)
        return Reading::OutOfRange;
    p.ms = serverMilliseconds(p.ms);
    if (p.ms == 1000) {
        const QDateTime next = QDateTime(QDate(p.y, p.mo, p.d), QTime(p.h, p.mi, p.s), Qt::UTC).addSecs(1);
        if (next.date().year() > 9999)
            return Reading::OutOfRange;
        p = {next.date().year(),
             next.date().month(),
             next.date().day(),
             next.time().hour(),
             next.time().minute(),
             next.time().second(),
             0};
    }
    char out[32];
    const int n
        = p.ms != 0
              ? std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d.%03d", p.y, p.mo, p.d, p.h, p.mi, p.s, p.ms)
              : std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d", p.y, p.mo, p.d, p.h, p.mi, p.s);
    stored = QString::fromLatin1(out, n);
    return Reading::Date;
}

// hh:mm[:ss[.fff | :mmm]] from `at` to the end, AM/PM refused.
Reading readTime(QStringView s, qsizetype at, Parts &p)
{
    int n = 0;
    p.h = digits(s, at, n);
    if (n < 1 || n > 2 || at >= s.size() || s[at] != ':')
        return Reading::NotADate;
    ++at;
    p.mi = digits(s, at, n);
    if (n != 2)
        return Reading::NotADate;
    if (at < s.size() && s[at] == ':') {
        ++at;
        p.s = digits(s, at, n);
        if (n != 2)
            return Reading::NotADate;
        if (at < s.size() && (s[at] == '.' || s[at] == ':')) {
            const bool fraction = s[at] == '.';
            ++at;
            const int f = digits(s, at, n);
            if (n < 1 || n > 3)
                return Reading::NotADate;
            p.ms = fraction ? f * (n == 1 ? 100 : n == 2 ? 10 : 1) : f;
            if (p.ms > 999)
                return Reading::OutOfRange;
        }
    }
    while (at < s.size() && s[at] == ' ')
        ++at;
    if (at == s.size())
        return Reading::Date;
    const QStringView rest = s.mid(at);
    if (rest.compare(QLatin1String("AM"), Qt::CaseInsensitive) == 0
        || rest.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0)
        return Reading::Unsupported;
    return Reading::NotADate;
}

Reading read(QStringView s, Parts &p)
{
    if (s.isEmpty())
        return Reading::Date;
    qsizetype at = 0;
    int n = 0;
    const int first = digits(s, at, n);
    if (at < s.size() && s[at] == ':')
        return readTime(s, 0, p); // a time alone: on 1900-01-01
    bool iso = false;
    if (n == 8 && (at == s.size() || s[at] == ' ')) {
        p.y = first / 10000;
        p.mo = first / 100 % 100;
        p.d = first % 100;
    } else if (n == 4 && at < s.size() && s[at] == '-') {
        iso = true;
        p.y = first;
        ++at;
        p.mo = digits(s, at, n);
        if (n < 1 || n > 2 || at >= s.size() || s[at] != '-')
            return Reading::NotADate;
        ++at;
        p.d = digits(s, at, n);
        if (n < 1 || n > 2)
            return Reading::NotADate;
    } else if ((n == 1 || n == 2) && at < s.size() && (s[at] == '/' || s[at] == '-' || s[at] == '.')) {
        const QChar separator = s[at];
        p.d = first;
        ++at;
        p.mo = digits(s, at, n);
        if (n < 1 || n > 2 || at >= s.size() || s[at] != separator)
            return Reading::NotADate;
        ++at;
        p.y = digits(s, at, n);
        if (n == 2)
            p.y += p.y < 50 ? 2000 : 1900;
        else if (n != 4)
            return Reading::NotADate;
    } else if (n == 4 && at < s.size() && (s[at] == '/' || s[at] == '.')) {
        return Reading::Unsupported; // year first with / or .: day and month by the server's settings
    } else if ((n == 4 || n == 6) && at == s.size()) {
        return Reading::Unsupported; // a year alone, yymmdd
    } else {
        return Reading::NotADate;
    }
    if (at == s.size())
        return Reading::Date;
    if (iso && s[at] == 'T')
        return readTime(s, at + 1, p);
    if (s[at] != ' ')
        return Reading::NotADate;
    while (at < s.size() && s[at] == ' ')
        ++at;
    return readTime(s, at, p);
}

bool looksStored(const char *p)
{
    return p[4] == '-' && p[7] == '-' && p[10] == ' ' && p[13] == ':' && p[16] == ':';
}

bool looksDay(const char *p)
{
    return p[4] == '-' && p[7] == '-';
}

} // namespace

Reading fromText(QStringView text, QString &stored)
{
    Parts p;
    const Reading r = read(text.trimmed(), p);
    return r == Reading::Date ? checked(p, stored) : r;
}

QString fromDateTime(const QDateTime &d)
{
    if (!d.isValid())
        return {};
    const QDate day = d.date();
    const QTime time = d.time();
    QString stored;
    checked({day.year(), day.month(), day.day(), time.hour(), time.minute(), time.second(), time.msec()}, stored);
    return stored;
}

int comparable(const char *p, int n, char (&out)[kStoredLengthWithMilliseconds])
{
    if (n == kStoredLength && looksStored(p)) {
        std::memcpy(out, p, kStoredLength);
        return kStoredLength;
    }
    if (n == kStoredLengthWithMilliseconds && looksStored(p) && p[19] == '.') {
        std::memcpy(out, p, kStoredLengthWithMilliseconds);
        return std::memcmp(p + 20, "000", 3) == 0 ? kStoredLength : kStoredLengthWithMilliseconds;
    }
    if (n == kOldDayLength && looksDay(p)) {
        std::memcpy(out, p, kOldDayLength);
        std::memcpy(out + kOldDayLength, " 00:00:00", 9);
        return kStoredLength;
    }
    // Anything else, as a literal would read.
    QString stored;
    if (fromText(QString::fromUtf8(p, n), stored) != Reading::Date)
        return 0;
    const QByteArray bytes = stored.toLatin1();
    std::memcpy(out, bytes.constData(), size_t(bytes.size()));
    return int(bytes.size());
}

QDateTime toDateTime(const char *p, int n)
{
    char c[kStoredLengthWithMilliseconds];
    const int length = comparable(p, n, c);
    if (length == 0)
        return {};
    auto number = [&](int from, int count) {
        int v = 0;
        for (int k = from; k < from + count; ++k) {
            if (c[k] < '0' || c[k] > '9')
                return -1;
            v = v * 10 + (c[k] - '0');
        }
        return v;
    };
    const int y = number(0, 4), mo = number(5, 2), d = number(8, 2), h = number(11, 2), mi = number(14, 2),
              s = number(17, 2), ms = length == kStoredLengthWithMilliseconds ? number(20, 3) : 0;
    if (y < 0 || mo < 0 || d < 0 || h < 0 || mi < 0 || s < 0 || ms < 0 || !QDate::isValid(y, mo, d)
        || !QTime::isValid(h, mi, s, ms))
        return {};
    const QTime time(h, mi, s, ms);
    QDateTime dt(QDate(y, mo, d), time);
    // A local time the clock skips is no time here.
    return dt.isValid() && dt.time() == time ? dt : QDateTime();
}

Conversion conversionError(Reading r)
{
    if (r == Reading::OutOfRange)
        return {QStringLiteral("The conversion of a varchar data type to a datetime data type resulted in an "
                               "out-of-range value."),
                QStringLiteral("22008"),
                242};
    return {QStringLiteral("Conversion failed when converting date and/or time from character string."),
            QStringLiteral("22007"),
            241};
}

bool isConversionError(const QString &message, Reading &r)
{
    for (const Reading candidate : {Reading::NotADate, Reading::OutOfRange})
        if (message == conversionError(candidate).message) {
            r = candidate;
            return true;
        }
    return false;
}

} // namespace ado::sqlite_datetime
