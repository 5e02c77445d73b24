#include "platform/runtime/dates.h"

#include "platform/runtime/regional.h"
#include "platform/runtime/strings.h"
#include "platform/runtime/vberror.h"

#include <QRegularExpression>

#include <cmath>

namespace vb {

namespace {

constexpr qint64 kDayMs = 86400000;

std::function<QDateTime()> &clock()
{
    static std::function<QDateTime()> c;
    return c;
}

// Two-digit years as the platform windows them.
int windowYear(int year, int digits)
{
    if (digits > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

bool validYear(int year)
{
    return year >= 100 && year <= 9999;
}

std::optional<QTime> parseTime(const QString &hh, const QString &mm, const QString &ss, const QString &ampm)
{
    int h = hh.toInt();
    const int m = mm.toInt();
    const int s = ss.isEmpty() ? 0 : ss.toInt();
    if (!ampm.isEmpty()) {
        if (h < 1 || h > 12)
            return std::nullopt;
        const bool pm = ampm.at(0).toUpper() == QLatin1Char('P');
        h = (h % 12) + (pm ? 12 : 0);
    }
    if (h > 23 || m > 59 || s > 59)
        return std::nullopt;
    return QTime(h, m, s);
}

const QStringList &monthNames()
{
    static const QStringList names = {QStringLiteral("enero"),
                                      QStringLiteral("febrero"),
                                      QStringLiteral("marzo"),
                                      QStringLiteral("abril"),
                                      QStringLiteral("mayo"),
                                      QStringLiteral("junio"),
                                      QStringLiteral("julio"),
                                      QStringLiteral("agosto"),
                                      QStringLiteral("septiembre"),
                                      QStringLiteral("octubre"),
                                      QStringLiteral("noviembre"),
                                      QStringLiteral("diciembre")};
    return names;
}

const QStringList &dayNames()
{
    // Monday first, as QDate::dayOfWeek counts.
    static const QStringList names = {QStringLiteral("lunes"),
                                      QStringLiteral("martes"),
                                      QStringLiteral("miércoles"),
                                      QStringLiteral("jueves"),
                                      QStringLiteral("viernes"),
                                      QStringLiteral("sábado"),
                                      QStringLiteral("domingo")};
    return names;
}

QString two(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

// A piece of a Format pattern: a literal, or a date or time part written as
// many letters long as `text`.
enum class Kind { Literal, Day, Month, Year, Hour, Minute, Second, AmPm, Other };
struct Token
{
    Kind kind;
    QString text; // the pattern text, or the literal
};

// `twelveHour` when the pattern holds an AM/PM mark.
QList<Token> tokensOf(const QString &pattern, bool &twelveHour)
{
    // Cut the pattern into tokens first: "m" means minutes only by its neighbours.
    QList<Token> tokens;
    twelveHour = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        const QChar lower = c.toLower();
        auto run = [&](QChar ch) {
            qsizetype j = i;
            while (j < pattern.size() && pattern.at(j).toLower() == ch)
                ++j;
            return pattern.mid(i, j - i);
        };
        if (c == QLatin1Char('"')) {
            const qsizetype end = pattern.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            tokens.append({Kind::Literal, pattern.mid(i + 1, stop - i - 1)});
            i = stop + 1;
        } else if (c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            tokens.append({Kind::Literal, QString(pattern.at(i + 1))});
            i += 2;
        } else if (vb::EqualsText(pattern.mid(i, 5), QLatin1String("AM/PM"))) {
            tokens.append({Kind::AmPm, pattern.mid(i, 5)});
            twelveHour = true;
            i += 5;
        } else if (vb::EqualsText(pattern.mid(i, 3), QLatin1String("A/P"))) {
            tokens.append({Kind::AmPm, pattern.mid(i, 3)});
            twelveHour = true;
            i += 3;
        } else if (lower == QLatin1Char('d') || lower == QLatin1Char('m') || lower == QLatin1Char('y')
                   || lower == QLatin1Char('h') || lower == QLatin1Char('n') || lower == QLatin1Char('s')) {
            const QString t = run(lower);
            const Kind k = lower == QLatin1Char('d')   ? Kind::Day
                           : lower == QLatin1Char('m') ? Kind::Month
                           : lower == QLatin1Char('y') ? Kind::Year
                           : lower == QLatin1Char('h') ? Kind::Hour
                           : lower == QLatin1Char('n') ? Kind::Minute
                                                       : Kind::Second;
            tokens.append({k, t});
            i += t.size();
        } else if (lower == QLatin1Char('c')) {
            tokens.append({Kind::Other, QStringLiteral("c")});
            ++i;
        } else {
            tokens.append({Kind::Literal,
                           c == QLatin1Char('/')   ? QString(Regional().dateSeparator)
                           : c == QLatin1Char(':') ? QString(Regional().timeSeparator)
                                                   : QString(c)});
            ++i;
        }
    }
    auto neighbour = [&](qsizetype i, int step) -> Kind {
        for (qsizetype j = i + step; j >= 0 && j < tokens.size(); j += step)
            if (tokens[j].kind != Kind::Literal)
                return tokens[j].kind;
        return Kind::Literal;
    };
    for (qsizetype i = 0; i < tokens.size(); ++i)
        if (tokens[i].kind == Kind::Month && tokens[i].text.size() <= 2
            && (neighbour(i, -1) == Kind::Hour || neighbour(i, 1) == Kind::Second))
            tokens[i].kind = Kind::Minute;
    return tokens;
}

QString formatToken(const Token &t, const QDateTime &d, bool twelveHour)
{
    const QDate date = d.date();
    const QTime time = d.time();
    const qsizetype n = t.text.size();
    QString out;
    switch (t.kind) {
    case Kind::Literal:
        out += t.text;
        break;
    case Kind::Day:
        if (n == 1)
            out += QString::number(date.day());
        else if (n == 2)
            out += two(date.day());
        else if (n == 3)
            out += dayNames().at(date.dayOfWeek() - 1).left(3);
        else if (n == 4)
            out += dayNames().at(date.dayOfWeek() - 1);
        else
            out += FormatDate(d, QStringLiteral("dd/mm/yyyy"));
        break;
    case Kind::Month:
        if (n == 1)
            out += QString::number(date.month());
        else if (n == 2)
            out += two(date.month());
        else if (n == 3)
            out += monthNames().at(date.month() - 1).left(3);
        else
            out += monthNames().at(date.month() - 1);
        break;
    case Kind::Year:
        if (n <= 2)
            out += two(date.year() % 100);
        else
            out += QString::number(date.year()).rightJustified(4, QLatin1Char('0'));
        break;
    case Kind::Hour: {
        int h = time.hour();
        if (twelveHour)
            h = h % 12 == 0 ? 12 : h % 12;
        out += n == 1 ? QString::number(h) : two(h);
        break;
    }
    case Kind::Minute:
        out += n == 1 ? QString::number(time.minute()) : two(time.minute());
        break;
    case Kind::Second:
        out += n == 1 ? QString::number(time.second()) : two(time.second());
        break;
    case Kind::AmPm: {
        const bool pm = time.hour() >= 12;
        const bool upper = t.text.at(0).isUpper();
        QString mark = t.text.size() == 3 ? (pm ? QStringLiteral("P") : QStringLiteral("A"))
                                          : (pm ? QStringLiteral("PM") : QStringLiteral("AM"));
        out += upper ? mark : mark.toLower();
        break;
    }
    case Kind::Other:
        out += GeneralDate(d);
        break;
    }
    return out;
}

} // namespace

QDate DayZero()
{
    return QDate(1899, 12, 30);
}

std::optional<QDateTime> ParseDate(const QString &text)
{
    const QString s = text.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    const QString sep = QRegularExpression::escape(QString(Regional().dateSeparator));
    static const QString timePart = QStringLiteral("(?:(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*([AaPp][Mm]?)?)");
    // Day-month-year, year-month-day, day-month; each with an optional time.
    const QRegularExpression dmy(
        QStringLiteral("^(\\d{1,2})([/\\-%1])(\\d{1,2})(?:\\2(\\d{1,4}))?(?:\\s+%2)?$").arg(sep, timePart));
    const QRegularExpression ymd(
        QStringLiteral("^(\\d{3,4})([/\\-])(\\d{1,2})\\2(\\d{1,2})(?:(?:\\s+|T)%1)?$").arg(timePart));
    const QRegularExpression timeOnly(QStringLiteral("^%1$").arg(timePart));

    int year = 0, month = 0, day = 0;
    int timeGroup = 0;
    QRegularExpressionMatch m;
    if ((m = timeOnly.match(s)).hasMatch()) {
        const auto t = parseTime(m.captured(1), m.captured(2), m.captured(3), m.captured(4));
        if (!t)
            return std::nullopt;
        return QDateTime(DayZero(), *t);
    }
    if ((m = ymd.match(s)).hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(3).toInt();
        day = m.captured(4).toInt();
        timeGroup = 5;
    } else if ((m = dmy.match(s)).hasMatch()) {
        day = m.captured(1).toInt();
        month = m.captured(3).toInt();
        if (m.captured(4).isEmpty())
            year = Date().date().year();
        else
            year = windowYear(m.captured(4).toInt(), int(m.captured(4).size()));
        timeGroup = 5;
    } else {
        return std::nullopt;
    }
    if (!validYear(year))
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (!m.captured(timeGroup).isEmpty()) {
        const auto t = parseTime(m.captured(timeGroup),
                                 m.captured(timeGroup + 1),
                                 m.captured(timeGroup + 2),
                                 m.captured(timeGroup + 3));
        if (!t)
            return std::nullopt;
        time = *t;
    }
    return QDateTime(date, time);
}

bool IsDate(const QString &s)
{
    return ParseDate(s).has_value();
}

QDateTime CDate(const QString &s)
{
    const auto d = ParseDate(s);
    if (!d)
        Raise(vberr::TypeMismatch);
    return *d;
}

QDateTime DateValue(const QString &s)
{
    return QDateTime(CDate(s).date(), QTime(0, 0));
}

QDateTime TimeValue(const QString &s)
{
    return QDateTime(DayZero(), CDate(s).time());
}

double ToSerial(const QDateTime &d)
{
    const double days = double(DayZero().daysTo(d.date()));
    const double fraction = double(d.time().msecsSinceStartOfDay()) / double(kDayMs);
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime FromSerial(double serial)
{
    if (!std::isfinite(serial) || serial < -657434.0 || serial >= 2958466.0)
        Raise(vberr::Overflow);
    double whole = std::trunc(serial);
    qint64 ms = std::llround(std::fabs(serial - whole) * double(kDayMs));
    if (ms >= kDayMs) {
        ms -= kDayMs;
        whole += serial < 0 ? -1 : 1;
    }
    return QDateTime(DayZero().addDays(qint64(whole)), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QString GeneralDate(const QDateTime &d)
{
    const QChar ds = Regional().dateSeparator;
    const QChar ts = Regional().timeSeparator;
    const QTime t = d.time();
    const QDate day = d.date();
    // The common case written in place, in one allocation: a list shows each
    // of its rows' dates through here.
    if (t.isValid() && day.isValid() && day.year() >= 0 && day.year() <= 9999) {
        char16_t out[20];
        qsizetype n = 0;
        const auto put = [&](int value, int digits) {
            for (int k = digits - 1; k >= 0; --k, value /= 10)
                out[n + k] = char16_t(u'0' + value % 10);
            n += digits;
        };
        const auto time = [&] {
            put(t.hour(), 2);
            out[n++] = ts.unicode();
            put(t.minute(), 2);
            out[n++] = ts.unicode();
            put(t.second(), 2);
        };
        if (!(day == DayZero() && t != QTime(0, 0))) {
            put(day.day(), 2);
            out[n++] = ds.unicode();
            put(day.month(), 2);
            out[n++] = ds.unicode();
            put(day.year(), 4);
            if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
                return QString(reinterpret_cast<const QChar *>(out), n);
            out[n++] = u' ';
        }
        time();
        return QString(reinterpret_cast<const QChar *>(out), n);
    }
    const QString time = two(t.hour()) + ts + two(t.minute()) + ts + two(t.second());
    if (d.date() == DayZero() && t != QTime(0, 0))
        return time;
    const QString date = two(d.date().day()) + ds + two(d.date().month()) + ds
                         + QString::number(d.date().year()).rightJustified(4, QLatin1Char('0'));
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return date;
    return date + QLatin1Char(' ') + time;
}

QString FormatDate(const QDateTime &d, const QString &pattern)
{
    bool twelveHour = false;
    QString out;
    for (const Token &t : tokensOf(pattern, twelveHour))
        out += formatToken(t, d, twelveHour);
    return out;
}

QString ErrorLogDate(const QDateTime &d)
{
    return d.toString(QStringLiteral("MM-dd-yyyy"));
}

QString ErrorLogTime(const QDateTime &d)
{
    return d.toString(QStringLiteral("HH:mm:ss"));
}

QString ShortDateTime(const QDateTime &d)
{
    return FormatDate(d, QStringLiteral("dd/mm/yy hh:mm"));
}

QDateTime Now()
{
    QDateTime now = clock() ? clock()() : QDateTime::currentDateTime();
    return QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()));
}

QDateTime Date()
{
    return QDateTime(Now().date(), QTime(0, 0));
}

QDateTime Time()
{
    return QDateTime(DayZero(), Now().time());
}

void SetClock(std::function<QDateTime()> c)
{
    clock() = std::move(c);
}

void FixClock(const QDateTime &at)
{
    clock() = [at] { return at; };
}

QDateTime DateSerial(int year, int month, int day)
{
    if (year >= 0 && year < 100)
        year = windowYear(year, 2);
    // Months and days beyond their range carry over, as the run time does.
    const QDate date = QDate(year, 1, 1).addMonths(month - 1).addDays(day - 1);
    if (!date.isValid() || !validYear(date.year()))
        Raise(vberr::InvalidCall);
    return QDateTime(date, QTime(0, 0));
}

QDateTime DateAdd(const QDateTime &d, int days)
{
    return d.addDays(days);
}

} // namespace vb
