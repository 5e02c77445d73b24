#pragma once

#include <QString>

// What the tree lookup does to texts, apart from its window.

// The query after F5: the condition "<columna> like '%<texto>%' " joined
// with " where " (or " and " when the query has a WHERE already) in front of
// the query's ORDER BY clause, which stays at the end. A quote in the typed
// text is doubled; "%" and "_" keep their LIKE meaning. SentenciaSinOrden
// and ClausulaOrden receive the two parts the query was cut into.
QString FiltraConsultaArbol(const QString &sql,
                            const QString &columna,
                            const QString &texto,
                            QString &SentenciaSinOrden,
                            QString &ClausulaOrden);

// Whether a node's text ("code - description") is found by what the
// operator typed: the trimmed code or the trimmed description starts with
// it, without regard to case. A text without "-" is all description.
bool NodoCoincide(const QString &textoNodo, const QString &buscado);
