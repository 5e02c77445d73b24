#pragma once

#include <QString>
#include <QStringView>

// The list lookup's search rules that need no widget: the incremental search
// of a search box and the server-side filter (F5) that rebuilds the statement.

// Whether a list cell answers the text typed in its column's search box: the
// trimmed cell begins with the trimmed text, without regard to case. An empty
// text answers every cell.
bool CoincideBusqueda(QStringView celda, QStringView valor);

// The statement parts the dialog keeps between filters.
struct SentenciaFiltrada
{
    QString SQL;               // the statement with the new condition
    QString SentenciaSinOrden; // the same statement, kept for the next filter
    QString ClausulaOrden;     // the statement's ORDER BY part, empty when it has none
};

// The F5 filter of one search box: the condition on Campo (a LIKE on the text
// as typed) joined to the statement with " where " or " and ", in front of its
// ORDER BY part. Contiene: the text may stand anywhere in the column, else the
// column begins with it (its leading blanks skipped, so right-aligned codes are
// found by their first characters) and "*" stands for "%". A quote in the text
// is doubled, so no typed text can change the statement. SentenciaSinOrden is
// the statement of the last load: it stays the base when SQL holds "order"
// without "order by".
SentenciaFiltrada ArmaFiltroServidor(
    const QString &SQL, const QString &SentenciaSinOrden, const QString &Campo, const QString &Texto, bool Contiene);

// What the search box holds once the filter is sent: in the begins-with form
// every "*" becomes "%"; the contains form keeps the text as typed.
QString TextoCajaFiltro(const QString &Texto, bool Contiene);
