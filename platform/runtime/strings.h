#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>

// Text functions with the run time's rules: positions are 1-based, "trim"
// removes blanks (U+0020) only, and a bad position or length raises error 5.
namespace vb {

enum class Compare { Binary, Text };

int Len(const QString &s);
QString Left(const QString &s, int length);
QString Right(const QString &s, int length);
// From 1-based start to the end, or at most length characters (length < 0:
// to the end). Start beyond the end gives "".
QString Mid(const QString &s, int start, int length = -1);

// 1-based position of what in s, searching from start; 0 when not found.
int InStr(const QString &s, const QString &what, Compare compare = Compare::Binary);
int InStr(int start, const QString &s, const QString &what, Compare compare = Compare::Binary);
// Searches backwards from start (-1: from the end); 1-based, 0 when not found.
int InStrRev(const QString &s, const QString &what, int start = -1, Compare compare = Compare::Binary);

QString Trim(const QString &s);
// Trim's text as a view into s: no copy, for callers that only look or append.
QStringView TrimView(QStringView s);
QString LTrim(const QString &s);
QString RTrim(const QString &s);
QString UCase(const QString &s);
QString LCase(const QString &s);
// StrConv's proper case: the first letter of every word upper case, the others
// lower case; words are parted by blanks, tabs, line breaks and Chr(0).
QString ProperCase(const QString &s);
QString Space(int count);
QString StringOf(int count, QChar ch);

// Every occurrence of find, scanned left to right without overlap, from the
// 1-based start (the result begins there, as the run time's Replace does);
// count < 0 replaces all.
QString Replace(const QString &s,
                const QString &find,
                const QString &replacement,
                int start = 1,
                int count = -1,
                Compare compare = Compare::Binary);

// The text comparison (letter case ignored), the one the whole system uses:
// -1, 0 or 1; equality; and its kin for searching and replacing.
int StrCompText(const QString &a, const QString &b);
bool EqualsText(const QString &a, const QString &b);
// Whether s equals one of the codes (ASCII), ignoring case: "is the type one of these".
bool EqualsAnyText(const QString &s, std::initializer_list<const char *> codes);
bool EqualsAnyText(const QString &s, const QStringList &codes);
// Whether s begins with prefix, ignoring case (no copies: for searches over many rows).
bool StartsWithText(QStringView s, QStringView prefix);
bool ContainsText(const QString &s, const QString &what);
// 0-based position of what at from or after it; -1 when absent.
qsizetype IndexOfText(const QString &s, const QString &what, qsizetype from = 0);
// Every occurrence, left to right without overlap; an empty find changes nothing.
QString ReplaceText(const QString &s, const QString &find, const QString &replacement);
QString RemoveText(const QString &s, const QString &what);

// Characters of the suite's single-byte code page (Latin-1).
QString Chr(int code);      // 0..255, else error 5
int Asc(const QString &s);  // first character's byte; "" is error 5; outside Latin-1 gives 63 ("?")
QString ChrW(int code);     // -32768..65535 (negative as the unsigned unit), else error 5
int AscW(const QString &s); // first UTF-16 unit, 0..65535; "" is error 5

} // namespace vb
