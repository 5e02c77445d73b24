#pragma once

#include <QDateTime>
#include <QString>

// The stock-shortage report of an article list (F12): the question put to the
// operator and the row it records in V_MV_FALTANTES.

inline constexpr char16_t kTituloFaltante[] = u"Atención!";

// "Desea informar el articulo A1 TORNILLO" and, on a second line, "como un
// faltante de stock?".
QString PreguntaFaltante(const QString &articulo, const QString &descripcion);

// The INSERT of one shortage: the moment as the general date text, the article
// 25 wide, the trimmed description and the user, each quote doubled.
QString SentenciaFaltante(const QString &articulo,
                          const QString &descripcion,
                          const QString &usuario,
                          const QDateTime &momento);
