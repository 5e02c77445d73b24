#include "platform/runtime/strings.h"
#include "tests/support/error_provocado.h"

#include <gtest/gtest.h>

using namespace vb;

namespace {

TEST(Strings, MidLeftRightCountFromOne)
{
    struct Case
    {
        const char *s;
        int start;
        int length;
        const char *expected;
    };
    const Case cases[] = {
        {"ABCDEF", 1, -1, "ABCDEF"},
        {"ABCDEF", 3, 2, "CD"},
        {"ABCDEF", 5, 10, "EF"},
        {"ABCDEF", 6, -1, "F"},
        {"ABCDEF", 7, -1, ""}, // past the end
        {"ABCDEF", 100, 3, ""},
        {"ABCDEF", 2, 0, ""},
        {"", 1, 1, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(c.s)).arg(c.start).arg(c.length).toStdString());
        EXPECT_EQ(Mid(QString::fromUtf8(c.s), c.start, c.length), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(Left(QStringLiteral("ñandú"), 2), QStringLiteral("ña"));
    EXPECT_EQ(Right(QStringLiteral("ñandú"), 2), QStringLiteral("dú"));
    EXPECT_EQ(Left(QStringLiteral("ab"), 9), QStringLiteral("ab"));
    EXPECT_EQ(Len(QStringLiteral("ñandú")), 5);
}

TEST(Strings, BadPositionsAreInvalidCall)
{
    EXPECT_EQ(RaisedNumber([] { Mid(QStringLiteral("abc"), 0); }), vberr::InvalidCall);
    EXPECT_EQ(RaisedNumber([] { Mid(QStringLiteral("abc"), 1, -2); }), 0); // negative length: to the end
    EXPECT_EQ(RaisedNumber([] { Left(QStringLiteral("abc"), -1); }), vberr::InvalidCall);
    EXPECT_EQ(RaisedNumber([] { InStr(0, QStringLiteral("abc"), QStringLiteral("a")); }), vberr::InvalidCall);
    EXPECT_EQ(RaisedNumber([] { Space(-1); }), vberr::InvalidCall);
}

TEST(Strings, InStrFindsFromStart)
{
    struct Case
    {
        int start;
        const char *s;
        const char *what;
        Compare cmp;
        int expected;
    };
    const Case cases[] = {
        {1, "abcabc", "c", Compare::Binary, 3},
        {4, "abcabc", "c", Compare::Binary, 6},
        {7, "abcabc", "c", Compare::Binary, 0},
        {1, "abcabc", "C", Compare::Binary, 0},
        {1, "abcabc", "C", Compare::Text, 3},
        {1, "abc", "", Compare::Binary, 1},
        {3, "abc", "", Compare::Binary, 3},
        {4, "abc", "", Compare::Binary, 0},
        {1, "", "a", Compare::Binary, 0},
        {1, "AÑO", "ño", Compare::Text, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.s) + " / " + c.what);
        EXPECT_EQ(InStr(c.start, QString::fromUtf8(c.s), QString::fromUtf8(c.what), c.cmp), c.expected);
    }
}

TEST(Strings, InStrRevSearchesBackwards)
{
    EXPECT_EQ(InStrRev(QStringLiteral("a\\b\\c"), QStringLiteral("\\")), 4);
    EXPECT_EQ(InStrRev(QStringLiteral("a\\b\\c"), QStringLiteral("\\"), 3), 2);
    EXPECT_EQ(InStrRev(QStringLiteral("abcabc"), QStringLiteral("bc"), 5), 2); // must end by the start
    EXPECT_EQ(InStrRev(QStringLiteral("abc"), QStringLiteral("x")), 0);
    EXPECT_EQ(InStrRev(QStringLiteral("abc"), QStringLiteral("a"), 9), 0);
    EXPECT_EQ(InStrRev(QStringLiteral("ABC"), QStringLiteral("b"), -1, Compare::Text), 2);
}

TEST(Strings, TrimRemovesBlanksOnly)
{
    EXPECT_EQ(Trim(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(Trim(QStringLiteral("\ta\n")), QStringLiteral("\ta\n"));
    EXPECT_EQ(LTrim(QStringLiteral("  a ")), QStringLiteral("a "));
    EXPECT_EQ(RTrim(QStringLiteral(" a  ")), QStringLiteral(" a"));
    EXPECT_EQ(Trim(QString(QChar(0x00A0)) + QStringLiteral("x ")), QString(QChar(0x00A0)) + QStringLiteral("x"));
    EXPECT_EQ(Trim(QStringLiteral("    ")), QString());
}

TEST(Strings, ReplaceScansLeftToRightWithoutOverlap)
{
    struct Case
    {
        const char *s;
        const char *find;
        const char *with;
        int start;
        int count;
        Compare cmp;
        const char *expected;
    };
    const Case cases[] = {
        {"aaaa", "aa", "b", 1, -1, Compare::Binary, "bb"},
        {"aaa", "aa", "b", 1, -1, Compare::Binary, "ba"},
        {"Select FROM from", "from", "X", 1, -1, Compare::Text, "Select X X"},
        {"Select FROM from", "from", "X", 1, -1, Compare::Binary, "Select FROM X"},
        {"a,b,c", ",", ".", 1, 1, Compare::Binary, "a.b,c"},
        {"abcabc", "a", "aa", 1, -1, Compare::Binary, "aabcaabc"}, // no rescanning of the replacement
        {"abcabc", "a", "x", 3, -1, Compare::Binary, "cxbc"},      // the result starts at start
        {"abc", "", "x", 1, -1, Compare::Binary, "abc"},
        {"abc", "b", "", 1, -1, Compare::Binary, "ac"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.s);
        EXPECT_EQ(Replace(QString::fromUtf8(c.s),
                          QString::fromUtf8(c.find),
                          QString::fromUtf8(c.with),
                          c.start,
                          c.count,
                          c.cmp),
                  QString::fromUtf8(c.expected));
    }
}

TEST(Strings, TextComparisonIgnoresCase)
{
    EXPECT_TRUE(EqualsText(QStringLiteral("si"), QStringLiteral("SI")));
    EXPECT_TRUE(EqualsText(QStringLiteral("año"), QStringLiteral("AÑO")));
    EXPECT_FALSE(EqualsText(QStringLiteral("si "), QStringLiteral("SI")));
    EXPECT_EQ(StrCompText(QStringLiteral("a"), QStringLiteral("B")), -1);
    EXPECT_EQ(StrCompText(QStringLiteral("b"), QStringLiteral("A")), 1);
    EXPECT_EQ(StrCompText(QStringLiteral("Rm"), QStringLiteral("rM")), 0);
    EXPECT_EQ(UCase(QStringLiteral("ñandú")), QStringLiteral("ÑANDÚ"));
}

TEST(Strings, OneOfTheCodesIgnoringCase)
{
    EXPECT_TRUE(EqualsAnyText(QStringLiteral("nc"), {"FC", "NC"}));
    EXPECT_TRUE(EqualsAnyText(QStringLiteral("Fc"), QStringList{"FC", "NC"}));
    // Blanks count: a stored type right-aligned to 4 is trimmed by the caller.
    EXPECT_FALSE(EqualsAnyText(QStringLiteral("  NC"), {"FC", "NC"}));
    EXPECT_FALSE(EqualsAnyText(QStringLiteral("NCP"), {"FC", "NC"}));
    EXPECT_FALSE(EqualsAnyText(QString(), {}));
    EXPECT_TRUE(EqualsAnyText(QString(), {""}));
}

TEST(Strings, SearchAndReplaceIgnoringCase)
{
    EXPECT_TRUE(ContainsText(QStringLiteral("begin Transaction"), QStringLiteral("TRANS")));
    EXPECT_FALSE(ContainsText(QStringLiteral("BEGIN"), QStringLiteral("TRANS")));
    EXPECT_TRUE(StartsWithText(QStringLiteral("if Not Exists ("), QStringLiteral("IF NOT EXIST")));
    EXPECT_FALSE(StartsWithText(QStringLiteral(" IF NOT EXIST"), QStringLiteral("IF NOT EXIST")));
    EXPECT_EQ(IndexOfText(QStringLiteral("select a Where b where c"), QStringLiteral("WHERE ")), 9);
    EXPECT_EQ(IndexOfText(QStringLiteral("select a Where b where c"), QStringLiteral("WHERE "), 10), 17);
    EXPECT_EQ(IndexOfText(QStringLiteral("select"), QStringLiteral("WHERE")), -1);

    // Found where Qt's case-blind search finds it, also where letters beyond
    // ASCII fold to ASCII ones (long s, Kelvin sign) and where only the case
    // bit tells two marks apart ("@" and "`").
    struct Busqueda
    {
        const char *nombre, *in, *what;
        qsizetype from;
    } busquedas[] = {
        {"al final", "x drop", "DROP", 0},
        {"cortada al final", "x DRO", "DROP", 0},
        {"desde más allá", "drop", "DROP", 5},
        {"desde el final", "drop", "DROP", 4},
        {"desde atrás", "drop drop", "DROP", -4},
        {"vacía", "abc", "", 1},
        {"en un texto vacío", "", "DROP", 0},
        {"marcas", "a`b @B", "@b", 0},
        {"corchetes", "{x} [X]", "[x]", 0},
        {"s larga", "TRAN\u017F", "TRANS", 0},
        {"signo kelvin", "BLOC\u212A", "block", 0},
        {"más allá de ASCII", "Año y AÑO", "AÑO", 1},
        {"ASCII tras otros", "ñandú DELETE", "delete", 0},
    };
    for (const Busqueda &b : busquedas) {
        SCOPED_TRACE(b.nombre);
        const QString in = QString::fromUtf8(b.in);
        const QString what = QString::fromUtf8(b.what);
        EXPECT_EQ(IndexOfText(in, what, b.from), in.indexOf(what, b.from, Qt::CaseInsensitive));
        if (b.from == 0) {
            EXPECT_EQ(ContainsText(in, what), in.contains(what, Qt::CaseInsensitive));
        }
    }

    struct Case
    {
        const char *in, *find, *replacement, *out;
    } cases[] = {
        {"Commit Trans; commit TRANS", "COMMIT TRANS", "COMMIT", "COMMIT; COMMIT"},
        {"aaaa", "AA", "b", "bb"},             // left to right, no overlap
        {"Año y AÑO", "año", "x", "x y x"},    // beyond ASCII
        {"sin cambio", "", "x", "sin cambio"}, // an empty find changes nothing
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(ReplaceText(QString::fromUtf8(c.in), QString::fromUtf8(c.find), QString::fromUtf8(c.replacement)),
                  QString::fromUtf8(c.out));
    }
    EXPECT_EQ(RemoveText(QStringLiteral("SET NOCOUNT ON select; set nocount on"), QStringLiteral("SET NOCOUNT ON")),
              QStringLiteral(" select; "));
}

TEST(Strings, ProperCaseStartsEveryWord)
{
    const struct
    {
        const char *in, *out;
    } cases[] = {
        {"CÓDIGO DE ARTÍCULO", "Código De Artículo"},
        {"pRODUCTO", "Producto"},
        {"  dos  blancos", "  Dos  Blancos"},
        {"tab\tlínea\nfin", "Tab\tLínea\nFin"},
        {"n-ésimo/parte.uno", "N-ésimo/parte.uno"}, // only blanks and breaks part words
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ProperCase(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(Strings, ChrAndAscUseTheSingleByteCodePage)
{
    EXPECT_EQ(Chr(255), QString(QChar(0x00FF)));
    EXPECT_EQ(Chr(0).size(), 1);
    EXPECT_EQ(Chr(0).at(0).unicode(), 0);
    EXPECT_EQ(Chr(241), QStringLiteral("ñ"));
    EXPECT_EQ(Asc(QStringLiteral("ñ")), 241);
    EXPECT_EQ(Asc(Chr(255)), 255);
    EXPECT_EQ(Asc(QStringLiteral("€")), 63);
    EXPECT_EQ(RaisedNumber([] { Chr(256); }), vberr::InvalidCall);
    EXPECT_EQ(RaisedNumber([] { Chr(-1); }), vberr::InvalidCall);
    EXPECT_EQ(RaisedNumber([] { Asc(QString()); }), vberr::InvalidCall);
    EXPECT_EQ(ChrW(0x20AC), QStringLiteral("€"));
    EXPECT_EQ(AscW(QStringLiteral("€")), 0x20AC);
    EXPECT_EQ(StringOf(3, QChar(0)).size(), 3);
    EXPECT_EQ(Space(3), QStringLiteral("   "));
}

} // namespace
