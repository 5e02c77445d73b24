#include "lookup/filtros_consulta.h"

#include "database/armado_sql.h"
#include "platform/ado/sql_text.h"
#include "platform/component/component.h"
#include "platform/runtime/strings.h"

namespace {

QStringView SinBlancos(QStringView s)
{
    qsizetype a = 0;
    qsizetype b = s.size();
    while (a < b && s[a] == u' ')
        ++a;
    while (b > a && s[b - 1] == u' ')
        --b;
    return s.sliced(a, b - a);
}

} // namespace

bool CoincideBusqueda(QStringView celda, QStringView valor)
{
    // Runs once per row on every keystroke: views, no copies.
    return vb::StartsWithText(SinBlancos(celda), SinBlancos(valor));
}

QString TextoCajaFiltro(const QString &Texto, bool Contiene)
{
    return Contiene ? Texto : gComponente().Reemplaza(Texto, QStringLiteral("*"), QStringLiteral("%"));
}

SentenciaFiltrada ArmaFiltroServidor(
    const QString &SQL, const QString &SentenciaSinOrden, const QString &Campo, const QString &Texto, bool Contiene)
{
    using vb::Compare;
    SentenciaFiltrada r;
    r.SentenciaSinOrden = SentenciaSinOrden;
    // Only what is written as SQL counts: a typed text stays inside its quotes.
    const QString codigo = ado::codeOutsideQuotes(SQL);
    if (vb::InStr(codigo, QStringLiteral("order"), Compare::Text) > 0) {
        const int p = vb::InStr(codigo, QStringLiteral("order by"), Compare::Text);
        if (p > 0) {
            r.ClausulaOrden = vb::Mid(SQL, p);
            r.SentenciaSinOrden = vb::Left(SQL, p - 1);
        }
    }

    const QString codigoSinOrden = ado::codeOutsideQuotes(r.SentenciaSinOrden);
    QString prefijo;
    if (vb::InStr(codigoSinOrden, QStringLiteral("stk_ma_articulos."), Compare::Text) > 0)
        prefijo = QStringLiteral("stk_ma_articulos.");
    if (vb::InStr(codigoSinOrden, QStringLiteral("v_ma_articulos."), Compare::Text) > 0)
        prefijo = QStringLiteral("v_ma_articulos.");

    const QString conector = vb::InStr(codigo, QStringLiteral("where"), Compare::Text) > 0 ? QStringLiteral(" and ")
                                                                                           : QStringLiteral(" where ");
    const QString texto = TextoCajaFiltro(Texto, Contiene);
    const QString condicion = Contiene ? prefijo + Campo + QStringLiteral(" like ")
                                             + TextoSQL(QLatin1Char('%') + texto + QLatin1Char('%')) + QLatin1Char(' ')
                                       : QStringLiteral("LTRIM(") + prefijo + Campo + QStringLiteral(") like ")
                                             + TextoSQL(texto + QLatin1Char('%')) + QLatin1Char(' ');

    r.SQL = r.SentenciaSinOrden + conector + condicion + r.ClausulaOrden;
    r.SentenciaSinOrden = r.SQL;
    return r;
}
