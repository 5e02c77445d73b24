#include "platform/runtime/strings.h"

#include "platform/runtime/vberror.h"

#include <algorithm>

namespace vb {

namespace {
constexpr Qt::CaseSensitivity kText = Qt::CaseInsensitive;

Qt::CaseSensitivity sensitivity(Compare c)
{
    return c == Compare::Text ? kText : Qt::CaseSensitive;
}

void requireNonNegative(int n)
{
    if (n < 0)
        Raise(vberr::InvalidCall);
}
} // namespace

int Len(const QString &s)
{
    return int(s.size());
}

QString Left(const QString &s, int length)
{
    requireNonNegative(length);
    return s.left(length);
}

QString Right(const QString &s, int length)
{
    requireNonNegative(length);
    return s.right(length);
}

QString Mid(const QString &s, int start, int length)
{
    if (start < 1)
        Raise(vberr::InvalidCall);
    if (start > s.size())
        return QString();
    return length < 0 ? s.mid(start - 1) : s.mid(start - 1, length);
}

int InStr(const QString &s, const QString &what, Compare compare)
{
    return InStr(1, s, what, compare);
}

int InStr(int start, const QString &s, const QString &what, Compare compare)
{
    if (start < 1)
        Raise(vberr::InvalidCall);
    if (start > s.size())
        return 0;
    if (what.isEmpty())
        return start;
    return int(s.indexOf(what, start - 1, sensitivity(compare))) + 1;
}

int InStrRev(const QString &s, const QString &what, int start, Compare compare)
{
    if (start == 0 || start < -1)
        Raise(vberr::InvalidCall);
    if (start == -1)
        start = int(s.size());
    if (start > s.size())
        return 0;
    if (what.isEmpty())
        return start;
    // The match must lie wholly within the first start characters.
    const int from = start - int(what.size());
    if (from < 0)
        return 0;
    return int(s.lastIndexOf(what, from, sensitivity(compare))) + 1;
}

QString LTrim(const QString &s)
{
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

QString RTrim(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
        --n;
    return s.left(n);
}

QStringView TrimView(QStringView s)
{
    qsizetype desde = 0;
    qsizetype hasta = s.size();
    while (hasta > 0 && s[hasta - 1] == u' ')
        --hasta;
    while (desde < hasta && s[desde] == u' ')
        ++desde;
    return s.sliced(desde, hasta - desde);
}

QString Trim(const QString &s)
{
    const QStringView t = TrimView(s);
    return t.size() == s.size() ? s : t.toString();
}

QString UCase(const QString &s)
{
    return s.toUpper();
}
QString LCase(const QString &s)
{
    return s.toLower();
}

QString ProperCase(const QString &s)
{
    QString out = s.toLower();
    bool wordStart = true;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        const bool separator = u == 0 || (u >= 9 && u <= 13) || u == ' ';
        if (wordStart && !separator)
            c = c.toUpper();
        wordStart = separator;
    }
    return out;
}

QString Space(int count)
{
    requireNonNegative(count);
    return QString(count, QLatin1Char(' '));
}

QString StringOf(int count, QChar ch)
{
    requireNonNegative(count);
    return QString(count, ch);
}

QString Replace(const QString &s, const QString &find, const QString &replacement, int start, int count, Compare compare)
{
    if (start < 1 || count < -1)
        Raise(vberr::InvalidCall);
    if (start > s.size())
        return QString();
    const QString tail = s.mid(start - 1);
    if (find.isEmpty() || count == 0)
        return tail;
    const Qt::CaseSensitivity cs = sensitivity(compare);
    QString out;
    out.reserve(tail.size());
    qsizetype pos = 0;
    int done = 0;
    while (count < 0 || done < count) {
        const qsizetype hit = tail.indexOf(find, pos, cs);
        if (hit < 0)
            break;
        out += QStringView(tail).mid(pos, hit - pos);
        out += replacement;
        pos = hit + find.size();
        ++done;
    }
    out += QStringView(tail).mid(pos);
    return out;
}

int StrCompText(const QString &a, const QString &b)
{
    const int c = a.compare(b, kText);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool EqualsText(const QString &a, const QString &b)
{
    return a.compare(b, kText) == 0;
}

bool EqualsAnyText(const QString &s, std::initializer_list<const char *> codes)
{
    for (const char *code : codes)
        if (EqualsText(s, QLatin1String(code)))
            return true;
    return false;
}

bool EqualsAnyText(const QString &s, const QStringList &codes)
{
    for (const QString &code : codes)
        if (EqualsText(s, code))
            return true;
    return false;
}

namespace {

// Beyond ASCII only U+017F folds to s and U+212A to k: a word of other ASCII
// characters is found case-blind, as Qt finds it, by lowering ASCII letters.
// Statements are searched for keywords this way, some of them very long.
bool BuscaEnAscii(QStringView what)
{
    if (what.isEmpty())
        return false;
    for (const QChar c : what) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || (u | 0x20) == u's' || (u | 0x20) == u'k')
            return false;
    }
    return true;
}

char16_t MinusculaAscii(char16_t u)
{
    return u >= u'A' && u <= u'Z' ? char16_t(u | 0x20) : u;
}

qsizetype IndiceAscii(QStringView s, QStringView what, qsizetype from)
{
    const char16_t *t = s.utf16();
    const char16_t *w = what.utf16();
    const qsizetype largo = what.size();
    // The places of the first character in each case, found by Qt's own
    // search; only there is the rest compared.
    const char16_t baja = MinusculaAscii(w[0]);
    const char16_t alta = baja >= u'a' && baja <= u'z' ? char16_t(baja & ~0x20) : baja;
    const qsizetype ultimo = s.size() - largo;
    qsizetype enBaja = s.indexOf(QChar(baja), from);
    qsizetype enAlta = alta == baja ? enBaja : s.indexOf(QChar(alta), from);
    while (enBaja >= 0 || enAlta >= 0) {
        const qsizetype i = enBaja < 0 ? enAlta : enAlta < 0 ? enBaja : std::min(enBaja, enAlta);
        if (i > ultimo)
            return -1;
        qsizetype k = 1;
        while (k < largo && MinusculaAscii(t[i + k]) == MinusculaAscii(w[k]))
            ++k;
        if (k == largo)
            return i;
        if (i == enBaja)
            enBaja = s.indexOf(QChar(baja), i + 1);
        if (i == enAlta)
            enAlta = alta == baja ? enBaja : s.indexOf(QChar(alta), i + 1);
    }
    return -1;
}

} // namespace

bool ContainsText(const QString &s, const QString &what)
{
    return IndexOfText(s, what) >= 0;
}

qsizetype IndexOfText(const QString &s, const QString &what, qsizetype from)
{
    if (from >= 0 && BuscaEnAscii(what))
        return IndiceAscii(s, what, from);
    return s.indexOf(what, from, kText);
}

QString ReplaceText(const QString &s, const QString &find, const QString &replacement)
{
    if (find.isEmpty())
        return s;
    return QString(s).replace(find, replacement, kText);
}

QString RemoveText(const QString &s, const QString &what)
{
    return ReplaceText(s, what, QString());
}

bool StartsWithText(QStringView s, QStringView prefix)
{
    return s.startsWith(prefix, kText);
}

QString Chr(int code)
{
    if (code < 0 || code > 255)
        Raise(vberr::InvalidCall);
    return QString(QChar(char16_t(code)));
}

int Asc(const QString &s)
{
    if (s.isEmpty())
        Raise(vberr::InvalidCall);
    const char16_t u = s.at(0).unicode();
    return u <= 0xFF ? int(u) : int('?');
}

QString ChrW(int code)
{
    if (code < -32768 || code > 65535)
        Raise(vberr::InvalidCall);
    return QString(QChar(char16_t(code < 0 ? code + 65536 : code)));
}

int AscW(const QString &s)
{
    if (s.isEmpty())
        Raise(vberr::InvalidCall);
    return int(s.at(0).unicode());
}

} // namespace vb
