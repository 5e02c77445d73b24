#include "database/db_dll.h"
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

// Applies `rewrite` to the text outside quoted literals only: a value such
// as 'COMMIT TRANSACTION' or one holding a line break is sent as written.
QString FueraDeLiterales(const QString &text, const std::function<QString(const QString &)> &rewrite)
{
    QString out;
    int pos = 0;
    while (pos < text.size()) {
        const int open = text.indexOf(QLatin1Char('\''), pos);
        if (open < 0)
            break;
        int close = text.indexOf(QLatin1Char('\''), open + 1);
        if (close < 0)
            close = int(text.size()) - 1; // unclosed: the rest is the literal
        out += rewrite(text.mid(pos, open - pos));
        out += text.mid(open, close - open + 1);
        pos = close + 1;
    }
    out += rewrite(text.mid(pos));
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
    bool quoted = false;
    int depth = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (depth == 0 && PalabraClaveEn(text, i) > 0) {
            starts.push_back(i);
        }
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
    bool quoted = false;
    int depth = 0;
    for (int i = pos; i < statement.size(); ++i) {
        const QChar c = statement.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && --depth == 0) {
            g.query = statement.mid(pos + 1, i - pos - 1).trimmed();
            g.guarded = statement.mid(i + 1).trimmed();
            return g;
        }
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
