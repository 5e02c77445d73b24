#include "lookup/consulta_arbol.h"

#include "database/armado_sql.h"
#include "platform/ado/sql_text.h"
#include "platform/runtime/strings.h"

#include <QRegularExpression>

QString FiltraConsultaArbol(const QString &sql,
                            const QString &columna,
                            const QString &texto,
                            QString &SentenciaSinOrden,
                            QString &ClausulaOrden)
{
    // Only a real ORDER BY is cut: a column such as ORDEN stays where it is.
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    ClausulaOrden.clear();
    // Only what is written as SQL counts: a typed text stays inside its quotes.
    const QString codigo = ado::codeOutsideQuotes(sql);
    const QRegularExpressionMatch m = orderBy.match(codigo);
    if (m.hasMatch()) {
        ClausulaOrden = sql.mid(m.capturedStart());
        SentenciaSinOrden = sql.left(m.capturedStart());
    } else {
        SentenciaSinOrden = sql;
    }
    const QString union_ = vb::ContainsText(codigo, QStringLiteral("where")) ? QStringLiteral(" and ")
                                                                             : QStringLiteral(" where ");
    // TextoSQL doubles the quotes; the wildcards go around the text inside them.
    const QString literal = TextoSQL(QStringLiteral("%") + texto + QStringLiteral("%"));
    return SentenciaSinOrden + union_ + columna + QStringLiteral(" like ") + literal + QStringLiteral(" ")
           + ClausulaOrden;
}

bool NodoCoincide(const QString &textoNodo, const QString &buscado)
{
    const qsizetype guion = textoNodo.indexOf(QLatin1Char('-'));
    const QString codigo = guion < 0 ? QString() : textoNodo.left(guion).trimmed();
    const QString descripcion = (guion < 0 ? textoNodo : textoNodo.mid(guion + 1)).trimmed();
    return vb::StartsWithText(codigo, buscado) || vb::StartsWithText(descripcion, buscado);
}
