#include "database/db_dll.h"

#include "platform/ado/provider.h"
#include "platform/ado/sql_lexer.h"
#include "platform/ado/sql_text.h"
#include "platform/component/cls_componente.h"
#include "platform/runtime/dates.h"
#include "platform/runtime/regional.h"
#include "platform/runtime/strings.h"

#include <QRegularExpression>
#include <QStringList>

#include <optional>

namespace {

// The arguments of a call whose "(" stands just before `from`: split at the
// commas of its own level, quoted texts and names, comments and inner calls
// kept whole. Returns the index of the closing ")" or -1 when the call is not
// closed.
int PartirArgumentos(const QString &text, int from, QStringList &args)
{
    const QString call = text.mid(from);
    ado::SqlLexer lexer(call);
    int depth = 0;
    qsizetype start = 0;
    try {
        for (ado::SqlLexeme l{ado::SqlLexeme::Space}; lexer.next(l);) {
            if (l.kind != ado::SqlLexeme::Punct)
                continue;
            const QChar c = call.at(l.at);
            if (c == QLatin1Char('(')) {
                ++depth;
            } else if (c == QLatin1Char(')')) {
                if (depth == 0) {
                    args << call.mid(start, l.at - start);
                    return from + int(l.at);
                }
                --depth;
            } else if (c == QLatin1Char(',') && depth == 0) {
                args << call.mid(start, l.at - start);
                start = l.end;
            }
        }
    } catch (const ado::DialectError &) {
        // An unclosed quote: the call does not close either.
    }
    return -1;
}

// TOP n to a ROWNUM limit. TOP counts only as the word right after
// SELECT, so columns such as STOPE or literals holding "TOP " are left alone;
// the clauses are looked for outside quoted texts.
QString ConvierteTop(const QString &text)
{
    static const QRegularExpression top(QStringLiteral(R"(\bSELECT\s+(TOP)\s+(\S+)\s)"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QString code = ado::codeOutsideQuotes(text);
    const QRegularExpressionMatch m = top.match(code);
    if (!m.hasMatch())
        return text;

    const QString select = text.left(m.capturedStart(0));
    const QString head = text.left(m.capturedStart(1));
    const QString number = text.mid(m.capturedStart(2), m.capturedLength(2));
    // The rest after TOP is trimmed before it is cut, so trailing blanks go.
    const QString tail = vb::RTrim(text.mid(m.capturedEnd(2) + 1));

    // A ROWNUM condition beside ORDER BY or GROUP BY would pick arbitrary rows
    // before ordering or grouping: limit the finished result instead.
    static const QRegularExpression ordered(QStringLiteral(R"(\b(ORDER|GROUP)\s+BY\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (ordered.match(code.mid(m.capturedEnd(2) + 1)).hasMatch()) {
        const QString inner = text.mid(select.size(), m.capturedStart(1) - select.size()) + tail;
        return select + QStringLiteral("SELECT * FROM (") + inner + QStringLiteral(") WHERE ROWNUM <= ") + number;
    }

    const QString limit = (vb::ContainsText(code, QStringLiteral(" WHERE ")) ? QStringLiteral(" AND ROWNUM <= ")
                                                                             : QStringLiteral(" WHERE ROWNUM <= "))
                          + number;
    // The joining blanks are harmless to the server and kept as they always were.
    return head + QLatin1Char(' ') + tail + QLatin1Char(' ') + limit + QLatin1Char(' ') + QLatin1Char(' ');
}

// A literal that is strictly a day/month/year date, optionally with a time.
std::optional<QString> LiteralFecha(const QString &literal)
{
    const QString sep = QRegularExpression::escape(QString(vb::Regional().dateSeparator));
    const QRegularExpression date(
        QStringLiteral(R"(^\d{1,2}%1\d{1,2}%1(\d{4}|\d{2})( +\d{1,2}:\d{2}(:\d{2})?)?$)").arg(sep));
    const QRegularExpressionMatch m = date.match(literal);
    if (!m.hasMatch())
        return std::nullopt;
    const std::optional<QDateTime> parsed = vb::ParseDate(literal);
    if (!parsed)
        return std::nullopt;
    if (m.capturedLength(2) > 0) {
        return QStringLiteral("TO_DATE('") + vb::FormatDate(*parsed, QStringLiteral("dd/mm/yyyy hh:nn:ss"))
               + QStringLiteral("','DD/MM/YYYY HH24:MI:SS')");
    }
    return QStringLiteral("TO_DATE('") + vb::FormatDate(*parsed, QStringLiteral("dd/mm/yyyy"))
           + QStringLiteral("','DD/MM/YYYY')");
}

// Quoted dates to TO_DATE calls; other literals stay as written.
QString ConvierteFechas(const QString &text)
{
    QString out;
    out.reserve(text.size() + 32);
    ado::SqlLexer lexer(text);
    qsizetype from = 0;
    try {
        for (ado::SqlLexeme l{ado::SqlLexeme::Space}; lexer.next(l);) {
            // A date holds no quote: a text with one doubled inside is no date.
            if (l.kind != ado::SqlLexeme::String || l.doubled)
                continue;
            const qsizetype open = text.at(l.at) == QLatin1Char('\'') ? l.at : l.at + 1;
            const auto converted = LiteralFecha(text.mid(open + 1, l.end - open - 2));
            if (!converted)
                continue;
            out += QStringView(text).mid(from, l.at - from);
            out += *converted;
            from = l.end;
        }
    } catch (const ado::DialectError &) {
        // An unclosed quote: the rest goes as it is, the server will say why.
    }
    out += QStringView(text).mid(from);
    // A date already written as a TO_DATE call must not be wrapped twice.
    while (vb::ContainsText(out, QStringLiteral("TO_DATE(TO_DATE("))) {
        out = vb::ReplaceText(out, QStringLiteral("TO_DATE(TO_DATE("), QStringLiteral("TO_DATE("));
        out = vb::ReplaceText(out, QStringLiteral("'DD/MM/YYYY'),'DD/MM/YYYY')"), QStringLiteral("'DD/MM/YYYY')"));
        out = vb::ReplaceText(out,
                              QStringLiteral("'DD/MM/YYYY HH24:MI:SS'),'DD/MM/YYYY HH24:MI:SS')"),
                              QStringLiteral("'DD/MM/YYYY HH24:MI:SS')"));
    }
    return out;
}

// CHARINDEX(find, in[, start]) is INSTR(in, find[, start]) on Oracle.
QString ConvierteCharindex(const QString &text)
{
    static const QRegularExpression call(QStringLiteral(R"(\bCHARINDEX\s*\()"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString out = text;
    int from = 0;
    for (;;) {
        const QRegularExpressionMatch m = call.match(ado::codeOutsideQuotes(out), from);
        if (!m.hasMatch())
            break;
        QStringList args;
        const int close = PartirArgumentos(out, m.capturedEnd(0), args);
        if (close < 0 || args.size() < 2 || args.size() > 3) {
            // Not a call we can read: rename only.
            out.replace(m.capturedStart(0), 9, QStringLiteral("InStr"));
            from = m.capturedStart(0) + 5;
            continue;
        }
        QStringList swapped{args.at(1).trimmed(), args.at(0).trimmed()};
        if (args.size() == 3)
            swapped << args.at(2).trimmed();
        // Inner calls are converted too.
        for (QString &a : swapped)
            a = ConvierteCharindex(a);
        const QString replacement = QStringLiteral("InStr(") + swapped.join(QStringLiteral(", ")) + QLatin1Char(')');
        out.replace(m.capturedStart(0), close + 1 - m.capturedStart(0), replacement);
        from = m.capturedStart(0) + replacement.size();
    }
    return out;
}

// Comparisons with the empty text after the first "WHERE ": "=" and an
// empty literal, both written as SQL (not inside a longer quoted text).
QString ConvierteComparacionesVacias(QString text)
{
    const QString vacio(2, QChar(ado::kQuotedMark));
    for (const QString &igual : {QStringLiteral("= "), QStringLiteral("=")}) {
        const QString code = ado::codeOutsideQuotes(text);
        const int p = vb::IndexOfText(code, QStringLiteral("WHERE "), 0);
        if (p < 0)
            return text;
        QString out = text.left(p);
        qsizetype from = p;
        for (qsizetype at = p; (at = code.indexOf(igual, at)) >= 0;) {
            const qsizetype q = at + igual.size();
            at = q;
            if (QStringView(text).mid(q, 2) != QLatin1String("''") || QStringView(code).mid(q, 2) != vacio
                || (q + 2 < code.size() && code.at(q + 2) == QChar(ado::kQuotedMark)))
                continue;
            out += QStringView(text).mid(from, q - igual.size() - from);
            out += QStringLiteral(" IS NULL ");
            from = at = q + 2;
        }
        out += QStringView(text).mid(from);
        text = out;
    }
    return text;
}

bool EsParteDeNombre(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.') || c == QLatin1Char('\'');
}

// The date style 103 as an argument of TO_CHAR. Only the number 103
// standing alone inside a TO_CHAR call that is still open is the style.
QString ConvierteEstilo103(QString text)
{
    int from = 0;
    for (;;) {
        const int p = text.indexOf(QStringLiteral("103"), from);
        if (p < 0)
            return text;
        from = p + 3;
        if (ado::codeOutsideQuotes(text).at(p) == QChar(ado::kQuotedMark))
            continue;
        const bool alone = (p == 0 || !EsParteDeNombre(text.at(p - 1)))
                           && (p + 3 >= text.size() || !EsParteDeNombre(text.at(p + 3)));
        const int q = text.lastIndexOf(QLatin1Char('('), p);
        if (!alone || q < 7)
            continue;
        const int closed = text.indexOf(QLatin1Char(')'), q);
        if (closed >= 0 && closed < p)
            continue; // that call closed before the number
        if (vb::EqualsText(text.mid(q - 7, 8), QStringLiteral("TO_CHAR(")))
            text.replace(p, 3, QStringLiteral("'DD/MM/YYYY'"));
    }
}

// The row-lock hint of a read that holds what it reads (a numbering book):
// Oracle takes those locks with FOR UPDATE, which hold until the transaction
// ends; outside a transaction the rows are read without locking.
QString ConvierteBloqueo(const QString &text, bool inTransaction)
{
    static const QRegularExpression hint(QStringLiteral(R"(\s+WITH\s*\(\s*UPDLOCK\s*,\s*ROWLOCK\s*\))"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QString code = ado::codeOutsideQuotes(text);
    if (!code.contains(hint))
        return text;
    QString s;
    qsizetype from = 0;
    for (const QRegularExpressionMatch &m : hint.globalMatch(code)) {
        s += QStringView(text).mid(from, m.capturedStart() - from);
        from = m.capturedEnd();
    }
    s += QStringView(text).mid(from);
    return inTransaction ? vb::RTrim(s) + QStringLiteral(" FOR UPDATE") : s;
}

} // namespace

QString DB_Dll::ORACLE_Dicc(const QString &SentenciaSQL)
{
    if (gCnn().platform() != ado::Platform::Oracle)
        return SentenciaSQL;

    if (mComponente().CuentaPalabras(SentenciaSQL) < 2)
        return SentenciaSQL.toUpper() == QStringLiteral("LEN") ? QStringLiteral("LENGTH") : SentenciaSQL;

    QString s = ConvierteTop(SentenciaSQL);

    for (const char *len : {" LEN(", " LEN (", " LEN  (", " LEN   (", " LEN    ("})
        s = ado::replaceOutsideQuotes(s, QLatin1String(len), QStringLiteral(" LENGTH("));

    s = ado::oracleQuotedNames(s);

    s = ConvierteFechas(s);
    s = ConvierteCharindex(s);

    s = ado::replaceOutsideQuotes(s, QStringLiteral("CONVERT(NVARCHAR,"), QStringLiteral("TO_CHAR("));
    s = ado::replaceOutsideQuotes(s, QStringLiteral("CONVERT(INT,"), QStringLiteral("TO_NUMBER("));

    s = ConvierteComparacionesVacias(s);
    s = ConvierteEstilo103(s);

    s = ado::replaceOutsideQuotes(s, QStringLiteral("SUBSTRING("), QStringLiteral("SUBSTR("));
    s = ado::replaceOutsideQuotes(s, QStringLiteral("ISNULL("), QStringLiteral("NVL("));
    return ConvierteBloqueo(s, gCnn().provider() && gCnn().provider()->transactionLevel() > 0);
}
