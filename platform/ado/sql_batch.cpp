#include "platform/ado/sql_batch.h"

#include <algorithm>

namespace ado::sqlbatch {
namespace {

using Lexeme = SqlLexeme;

// Whether `p` spells the given word (upper-case letters) in any case. An
// ASCII character matches only its own letter; one beyond ASCII may fold to
// one (the Kelvin sign to K), so such a text is compared as Qt folds it.
bool spells(const QChar *p, QLatin1String word)
{
    for (qsizetype k = 0; k < word.size(); ++k) {
        const char16_t u = p[k].unicode();
        if (u >= 0x80)
            return QStringView(p, word.size()).compare(word, Qt::CaseInsensitive) == 0;
        if ((u | 0x20) != (word[k].unicode() | 0x20))
            return false;
    }
    return true;
}

// A lexeme of `s` that is the given word, in any case.
[[gnu::always_inline]] inline bool isWord(const QString &s, const Lexeme &l, QLatin1String word)
{
    return l.kind == SqlLexeme::Word && l.end - l.at == word.size() && spells(s.constData() + l.at, word);
}

template<size_t N>
bool isWord(const QString &s, const Lexeme &l, const char (&word)[N])
{
    return isWord(s, l, QLatin1String(word, N - 1));
}

bool isPunct(const QString &s, const Lexeme &l, QChar c)
{
    return l.kind == SqlLexeme::Punct && l.end == l.at + 1 && s[l.at] == c;
}

bool isStatementStarter(const QString &s, const Lexeme &l)
{
    static const QLatin1String words[] = {QLatin1String("SELECT"),
                                          QLatin1String("INSERT"),
                                          QLatin1String("UPDATE"),
                                          QLatin1String("DELETE"),
                                          QLatin1String("CREATE"),
                                          QLatin1String("ALTER"),
                                          QLatin1String("DROP"),
                                          QLatin1String("IF"),
                                          QLatin1String("BEGIN"),
                                          QLatin1String("COMMIT"),
                                          QLatin1String("ROLLBACK"),
                                          QLatin1String("SET"),
                                          QLatin1String("TRUNCATE"),
                                          QLatin1String("EXEC"),
                                          QLatin1String("EXECUTE"),
                                          QLatin1String("DECLARE"),
                                          QLatin1String("PRINT"),
                                          QLatin1String("GRANT")};
    return std::any_of(std::begin(words), std::end(words), [&](QLatin1String w) { return isWord(s, l, w); });
}

using Significant = std::vector<std::pair<const Lexeme *, int>>; // with its paren depth

// Whether a line that starts with the word `next` still belongs to the
// statement gathered so far, `lexemes` of `s` (UPDATE ... / SET ...,
// INSERT ... / SELECT ..., IF EXISTS (...) / body). `sig` is room for the
// statement's significant lexemes, kept from one call to the next and
// filled only when a rule needs them: most lines end their statement by
// its first and last lexemes alone.
bool continues(const QString &s, const Lexemes &lexemes, const Lexeme &next, Significant &sig)
{
    const auto significant = [](const Lexeme &l) { return l.significant(); };
    const auto firstAt = std::find_if(lexemes.begin(), lexemes.end(), significant);
    if (firstAt == lexemes.end())
        return true;
    const Lexeme &first = *firstAt;
    const Lexeme &last = *std::find_if(lexemes.rbegin(), lexemes.rend(), significant);
    sig.clear();
    auto depths = [&]() -> const Significant & {
        if (sig.empty()) {
            int depth = 0;
            for (const Lexeme &l : lexemes) {
                if (!l.significant())
                    continue;
                if (isPunct(s, l, ')'))
                    --depth;
                sig.push_back({&l, depth});
                if (isPunct(s, l, '('))
                    ++depth;
            }
        }
        return sig;
    };
    auto topLevel = [&](QLatin1String word) {
        return std::any_of(depths().begin(), depths().end(), [&](const auto &x) {
            return x.second == 0 && isWord(s, *x.first, word);
        });
    };
    if (isWord(s, first, "SET") && !isPunct(s, last, ','))
        return false; // SET NOCOUNT ON, SET DATEFORMAT dmy: one line each
    static const QLatin1String joiners[] = {QLatin1String("UNION"),
                                            QLatin1String("ALL"),
                                            QLatin1String("EXCEPT"),
                                            QLatin1String("INTERSECT"),
                                            QLatin1String("AS"),
                                            QLatin1String("AND"),
                                            QLatin1String("OR"),
                                            QLatin1String("NOT"),
                                            QLatin1String("THEN"),
                                            QLatin1String("ELSE"),
                                            QLatin1String("WHEN"),
                                            QLatin1String("IN"),
                                            QLatin1String("EXISTS"),
                                            QLatin1String("ON"),
                                            QLatin1String("WHERE"),
                                            QLatin1String("FROM")};
    if (std::any_of(std::begin(joiners), std::end(joiners), [&](QLatin1String w) { return isWord(s, last, w); }))
        return true;
    if (last.kind == SqlLexeme::Punct && !isPunct(s, last, ')'))
        return true;
    if (isWord(s, next, "SET") && isWord(s, first, "UPDATE") && !topLevel(QLatin1String("SET")))
        return true;
    if (isWord(s, next, "SELECT") && isWord(s, first, "INSERT") && !topLevel(QLatin1String("VALUES"))
        && !topLevel(QLatin1String("SELECT")))
        return true;
    if (isWord(s, first, "IF")) {
        // The body has not begun while the statement ends with the guard's ")".
        depths();
        for (size_t i = 1; i < sig.size(); ++i) {
            if (sig[i].second == 0 && isPunct(s, *sig[i].first, '(')) {
                size_t j = i + 1;
                while (j < sig.size() && !(sig[j].second == 0 && isPunct(s, *sig[j].first, ')')))
                    ++j;
                return j == sig.size() - 1;
            }
        }
        return true;
    }
    return false;
}

} // namespace

bool definesNothing(const QString &s, const Lexemes &lexemes)
{
    return std::none_of(lexemes.begin(), lexemes.end(), [&](const Lexeme &l) {
        if (l.kind != SqlLexeme::Word)
            return false;
        switch (l.end - l.at) {
        case 6:
            return isWord(s, l, "CREATE");
        case 5:
            return isWord(s, l, "ALTER");
        case 4:
            return isWord(s, l, "DROP");
        default:
            return false;
        }
    });
}

void splitBatch(const QString &s, const std::function<void(const Lexemes &)> &statement)
{
    Lexemes cur; // the statement gathered so far
    Significant sig;
    bool any = false; // it has a significant lexeme
    int depth = 0;
    auto finish = [&] {
        if (any)
            statement(cur);
        cur.clear();
        any = false;
    };
    bool atLineStart = true;
    SqlLexer lexer(s);
    for (Lexeme l{SqlLexeme::Space}; lexer.next(l);) {
        if (l.kind == SqlLexeme::Punct && l.end == l.at + 1) {
            const QChar c = s[l.at];
            if (c == '(') {
                ++depth;
            } else if (c == ')') {
                depth = std::max(0, depth - 1);
            } else if (c == ';' && depth == 0) {
                finish();
                continue;
            }
        }
        if (l.newline)
            atLineStart = true;
        if (l.kind == SqlLexeme::Word && atLineStart && depth == 0) {
            // GO alone on its line ends the batch's statement.
            if (isWord(s, l, "GO")) {
                SqlLexer ahead = lexer;
                Lexeme a{SqlLexeme::Space}, b{SqlLexeme::Space};
                if (!ahead.next(a) || a.newline || (a.kind == SqlLexeme::Comment && (!ahead.next(b) || b.newline))) {
                    finish();
                    atLineStart = false;
                    continue;
                }
            }
            if (isStatementStarter(s, l) && !continues(s, cur, l, sig))
                finish();
        }
        if (l.significant()) {
            atLineStart = false;
            any = true;
        }
        cur.push_back(l);
    }
    finish();
}

} // namespace ado::sqlbatch
