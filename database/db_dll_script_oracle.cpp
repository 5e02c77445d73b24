#include "database/db_dll.h"
#include "platform/ado/sql_lexer.h"
#include "platform/ado/sql_text.h"
#include "platform/runtime/strings.h"

#include <QStringList>

#include <array>
#include <functional>
#include <vector>

namespace {

// The words at which a batch is cut into statements; the nearest one wins.
constexpr std::array<const char *, 12> kPalabrasClave{
    "INSERT ",
    "DELETE ",
    "UPDATE ",
    "CREATE ",
    "DROP ",
    "ALTER ",
    "SET TRANSACTION",
    "COMMIT",
    "ROLLBACK",
    "IF NOT EXIST",
    "IF EXIST",
    "GRANT ",
};

bool EsCaracterDeNombre(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#')
           || c == QLatin1Char('$') || c == QLatin1Char('.');
}

// Applies `rewrite` to what is written as SQL only: quoted texts and names
// go as written (a value such as 'COMMIT TRANSACTION' or one holding a line
// break is sent as it is). Comments go: the script is joined into one line,
// where a "--" would run over the rest of its statement.
QString FueraDeLiterales(const QString &text, const std::function<QString(const QString &)> &rewrite)
{
    QString out, code;
    ado::SqlLexer lexer(text);
    qsizetype from = 0;
    try {
        for (ado::SqlLexeme l{ado::SqlLexeme::Space}; lexer.next(l); from = l.end) {
            const QStringView written = QStringView(text).mid(l.at, l.end - l.at);
            if (l.kind == ado::SqlLexeme::String || l.kind == ado::SqlLexeme::QuotedName) {
                out += rewrite(code);
                out += written;
                code.clear();
            } else if (l.kind == ado::SqlLexeme::Comment) {
                // A comment between two words parts them as a blank would.
                const QChar before = code.isEmpty() ? (out.isEmpty() ? QChar(' ') : out.back()) : code.back();
                if (!before.isSpace() && l.end < text.size() && !text.at(l.end).isSpace())
                    code += QLatin1Char(' ');
            } else {
                code += written;
            }
        }
    } catch (const ado::DialectError &) {
        // Unclosed: the rest is the literal.
        out += rewrite(code);
        out += QStringView(text).mid(from);
        return out;
    }
    out += rewrite(code);
    return out;
}

QString Prepara(const QString &script)
{
    return FueraDeLiterales(script, [](QString s) {
        s = vb::RemoveText(s, QStringLiteral("SET NOCOUNT ON"));
        s = vb::RemoveText(s, QStringLiteral("SET NOCOUNT OFF"));
        s = vb::ReplaceText(s, QStringLiteral(" GO "), QStringLiteral(" "));
        s = vb::ReplaceText(s, QStringLiteral("\r\nGO "), QStringLiteral(" "));
        s = vb::ReplaceText(s, QStringLiteral("\r\nGO "), QStringLiteral(" "));
        s = vb::ReplaceText(s, QStringLiteral("\r\nGO\r\n"), QStringLiteral(" "));
        s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        s.replace(QLatin1Char('\r'), QLatin1Char(' '));
        s = vb::ReplaceText(s, QStringLiteral("BEGIN TRANSACTION"), QStringLiteral("SET TRANSACTION"));
        s = vb::ReplaceText(s, QStringLiteral("BEGIN TRANS"), QStringLiteral("SET TRANSACTION"));
        s = vb::ReplaceText(s, QStringLiteral("COMMIT TRANSACTION"), QStringLiteral("COMMIT"));
        s = vb::ReplaceText(s, QStringLiteral("COMMIT TRANS"), QStringLiteral("COMMIT"));
        s = vb::ReplaceText(s, QStringLiteral("ROLLBACK TRANSACTION"), QStringLiteral("ROLLBACK"));
        s = vb::ReplaceText(s, QStringLiteral("ROLLBACK TRANS"), QStringLiteral("ROLLBACK"));
        return s;
    });
}

// Length of the keyword standing as a word at `i`, or 0.
int PalabraClaveEn(const QString &text, int i)
{
    if (i > 0 && EsCaracterDeNombre(text.at(i - 1)))
        return 0;
    for (const char *keyword : kPalabrasClave) {
        const QLatin1String k(keyword);
        if (!vb::EqualsText(text.mid(i, k.size()), k))
            continue;
        int end = i + int(k.size());
        if (k.endsWith(QLatin1String("EXIST")) && end < text.size() && text.at(end).toUpper() == QLatin1Char('S'))
            ++end;
        if (!k.endsWith(QLatin1Char(' ')) && end < text.size() && EsCaracterDeNombre(text.at(end)))
            continue;
        return int(k.size());
    }
    return 0;
}

// Where statements start: keywords standing as words, outside literals and
// outside brackets (a guard's query or a sub-query never starts one).
std::vector<int> ComienzosDeSentencia(const QString &text)
{
    std::vector<int> starts;
    int depth = 0;
    ado::SqlLexer lexer(text);
    try {
        for (ado::SqlLexeme l{ado::SqlLexeme::Space}; lexer.next(l);) {
            if (l.kind == ado::SqlLexeme::Punct && text.at(l.at) == QLatin1Char('('))
                ++depth;
            else if (l.kind == ado::SqlLexeme::Punct && text.at(l.at) == QLatin1Char(')'))
                depth = depth > 0 ? depth - 1 : 0;
            else if (l.kind == ado::SqlLexeme::Word && depth == 0 && PalabraClaveEn(text, int(l.at)) > 0)
                starts.push_back(int(l.at));
        }
    } catch (const ado::DialectError &) {
        // An unclosed quote: the rest is its literal.
    }
    return starts;
}

// An IF [NOT] EXISTS (query) guard, read apart: its query and what follows it.
struct Condicion
{
    bool negated = false;
    QString query;
    QString guarded;
};

std::optional<Condicion> LeeCondicion(const QString &statement)
{
    Condicion g;
    int pos = 0;
    if (vb::StartsWithText(statement, u"IF NOT EXIST")) {
        g.negated = true;
        pos = 12;
    } else if (vb::StartsWithText(statement, u"IF EXIST")) {
        pos = 8;
    } else {
        return std::nullopt;
    }
    if (pos < statement.size() && statement.at(pos).toUpper() == QLatin1Char('S'))
        ++pos;
    while (pos < statement.size() && statement.at(pos).isSpace())
        ++pos;
    if (pos >= statement.size() || statement.at(pos) != QLatin1Char('('))
        return std::nullopt;
    const QString guard = statement.mid(pos);
    ado::SqlLexer lexer(guard);
    int depth = 0;
    try {
        for (ado::SqlLexeme l{ado::SqlLexeme::Space}; lexer.next(l);) {
            if (l.kind != ado::SqlLexeme::Punct)
                continue;
            if (guard.at(l.at) == QLatin1Char('(')) {
                ++depth;
            } else if (guard.at(l.at) == QLatin1Char(')') && --depth == 0) {
                g.query = guard.mid(1, l.at - 1).trimmed();
                g.guarded = guard.mid(l.end).trimmed();
                return g;
            }
        }
    } catch (const ado::DialectError &) {
        // An unclosed quote: the guard does not close either.
    }
    return std::nullopt;
}

// The OLE DB status a statement without a result leaves behind.
constexpr std::int32_t DB_S_NORESULT = 265929;

} // namespace

QString DB_Dll::FiltraSentenciaOracle(const QString &Sentencia)
{
    // A quoted text holding those words is data: the statement runs.
    const QString code = ado::codeOutsideQuotes(Sentencia);
    if (vb::ContainsText(code, QStringLiteral("SET NOCOUNT")) || vb::ContainsText(code, QStringLiteral("IF NOT EXIST")))
        return {};
    return Sentencia;
}

bool DB_Dll::EjecutaScriptOracle(QString &SentenciaSQL, std::int32_t *RecordsAffected)
{
    // The caller's text is consumed as the run goes: on a failure it holds the
    // rest of the script from the failing statement on.
    SentenciaSQL = Prepara(SentenciaSQL);
    const QString script = SentenciaSQL;
    const std::vector<int> starts = ComienzosDeSentencia(script);

    auto execute = [&](const QString &statement) {
        const QString sql = FiltraSentenciaOracle(ORACLE_Dicc(statement));
        if (sql.trimmed().isEmpty())
            return;
        std::int32_t rows = 0;
        gCnn().Execute(sql, &rows, -1);
        if (RecordsAffected)
            *RecordsAffected += rows;
    };
    auto found = [&](const QString &query) {
        ado::Recordset rs;
        rs.Open(ORACLE_Dicc(query), gCnn(), ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
        const bool any = !rs.Eof();
        rs.Close();
        return any;
    };

    bool skipNext = false;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const int first = starts[i];
        const int next = i + 1 < starts.size() ? starts[i + 1] : int(script.size());
        SentenciaSQL = script.mid(first);
        const QString statement = script.mid(first, next - first).trimmed();

        if (skipNext) {
            skipNext = false;
        } else if (vb::EqualsText(statement, QLatin1String("SET TRANSACTION"))) {
            gCnn().BeginTrans();
        } else if (vb::EqualsText(statement, QLatin1String("COMMIT"))) {
            gCnn().CommitTrans();
        } else if (vb::EqualsText(statement, QLatin1String("ROLLBACK"))) {
            gCnn().RollbackTrans();
        } else if (const std::optional<Condicion> guard = LeeCondicion(statement)) {
            // The guarded statement runs only when the guard holds.
            const bool holds = found(guard->query) != guard->negated;
            if (!guard->guarded.isEmpty()) {
                if (holds)
                    execute(guard->guarded);
            } else {
                skipNext = !holds;
            }
        } else {
            execute(statement);
        }
    }
    if (!starts.empty())
        SentenciaSQL.clear();

    ado::Errors &errors = gCnn().errors();
    if (errors.Count() == 1 && errors.Item(0).Number == DB_S_NORESULT)
        errors.Clear();
    return true;
}
