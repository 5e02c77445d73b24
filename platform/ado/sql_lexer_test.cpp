#include "platform/ado/sql_lexer.h"

#include <gtest/gtest.h>

namespace {

// Each lexeme as its kind's letter and its text, "|" between them; a blank
// or comment holding a line break ends in "^", a quoted text or name with
// its closing mark doubled in "~".
std::string lexemes(const QString &text)
{
    static const char kinds[] = "_CSWQNP"; // Space, Comment, String, Word, QuotedName, Number, Punct
    QString out;
    ado::SqlLexer lexer(text);
    for (ado::SqlLexeme l{ado::SqlLexeme::Space}; lexer.next(l);) {
        if (!out.isEmpty())
            out += '|';
        out += QLatin1Char(kinds[l.kind]);
        out += ':';
        out += QStringView(text).mid(l.at, l.end - l.at);
        if (l.newline)
            out += '^';
        if (l.doubled)
            out += '~';
    }
    return out.toStdString();
}

TEST(SqlLexer, ReadsEachPieceAsTheServerDoes)
{
    struct Case
    {
        const char *nombre;
        const char16_t *text;
        const char *expected;
    };
    const Case cases[] = {
        {"a statement",
         u"SELECT a1,b FROM t WHERE x>=1;",
         "W:SELECT|_: |W:a1|P:,|W:b|_: |W:FROM|_: |W:t|_: |W:WHERE|_: "
         "|W:x|P:>=|N:1|P:;"},
        {"marks of two characters", u"a<>b!=c<=d||e!<f", "W:a|P:<>|W:b|P:!=|W:c|P:<=|W:d|P:|||W:e|P:!<|W:f"},
        {"marks of one", u"(a)+-*/%.", "P:(|W:a|P:)|P:+|P:-|P:*|P:/|P:%|P:."},
        {"word characters", u"_@#$x @v #t", "W:_@#$x|_: |W:@v|_: |W:#t"},
        {"quoted texts", u"'a''b' N'ñ' n'x' ''", "S:'a''b'~|_: |S:N'ñ'|_: |S:n'x'|_: |S:''"},
        {"N after a word or a number is a word", u"AN'3' 2N'z'", "W:AN|S:'3'|_: |N:2|W:N|S:'z'"},
        {"N at the start", u"N'a'", "S:N'a'"},
        {"a quote after an N word", u"NN'a'", "W:NN|S:'a'"},
        {"quoted names", u"[a]]b] \"c'd\"", "Q:[a]]b]~|_: |Q:\"c'd\""},
        {"numbers",
         u"1.5e3 .5 5. 1e 10E+2 2e-x 1.2.3",
         "N:1.5e3|_: |N:.5|_: |N:5.|_: |N:1|W:e|_: |N:10E+2|_: |N:2|W:e|P:-|W:x|_: |N:1.2.3"},
        {"a word that starts with digits", u"2B", "N:2|W:B"},
        {"comments", u"-- a\r\nx /* b\nc */y/**/", "C:-- a|_:\r\n^|W:x|_: |C:/* b\nc */^|W:y|C:/**/"},
        {"blanks of every kind", u"a\t\v\f b\u00a0c \u2003\nd", "W:a|_:\t\v\f |W:b|_:\u00a0|W:c|_: \u2003\n^|W:d"},
        {"letters beyond ASCII", u"ñandú=Äb", "W:ñandú|P:=|W:Äb"},
        {"digits beyond ASCII", u"\u0661\u0662 x\u0661", "N:\u0661\u0662|_: |W:x\u0661"},
        {"signs beyond ASCII", u"a\u00b1b", "W:a|P:\u00b1|W:b"},
        {"a control character",
         u"a\x01"
         "b",
         "W:a|P:\x01|W:b"},
        {"nothing", u"", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(lexemes(QString::fromUtf16(c.text)), c.expected);
    }
}

TEST(SqlLexer, RefusesWhatDoesNotClose)
{
    struct Case
    {
        const char *nombre;
        const char *text;
        const char *message;
    };
    const Case cases[] = {
        {"a quoted text", "SELECT 'a''b", "Unclosed quotation mark after the character string 'a'b'."},
        {"an N quoted text", "SELECT N'x", "Unclosed quotation mark after the character string 'x'."},
        {"a bracketed name", "SELECT [a]]b", "Unclosed quotation mark after the name 'a]b'."},
        {"a quoted name", "SELECT \"a", "Unclosed quotation mark in a quoted name."},
        {"a comment", "SELECT 1 /* a", "Missing end comment mark '*/'."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.nombre);
        try {
            lexemes(QString::fromUtf8(c.text));
            ADD_FAILURE() << "read without an error";
        } catch (const ado::DialectError &e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
}

} // namespace
