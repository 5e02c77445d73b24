#include "database/globales.h"
#include "database/armado_sql.h"
#include "tests/support/base_prueba.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString Fuente(const QString &archivo)
{
    QFile f(SourceDir() + QStringLiteral("/database/") + archivo);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << archivo.toStdString();
    return QString::fromUtf8(f.readAll());
}

// A global declared and not put back would carry one test's value into the
// next: every one the two headers declare is named in the reset.
TEST(Globales, TheResetNamesEveryGlobalTheHeadersDeclare)
{
    const QString fuente = Fuente(QStringLiteral("globales.cpp"));
    const qsizetype inicio = fuente.indexOf(QStringLiteral("void ReiniciaGlobales()"));
    ASSERT_GE(inicio, 0);
    const QString reinicio = fuente.mid(inicio);
    const QRegularExpression declarada(QStringLiteral(R"(^extern [^;(]*\b(g\w+);)"),
                                       QRegularExpression::MultilineOption);
    int globales = 0;
    for (const QString &cabecera : {QStringLiteral("globales.h"), QStringLiteral("armado_sql.h")}) {
        for (const QRegularExpressionMatch &m : declarada.globalMatch(Fuente(cabecera))) {
            ++globales;
            const QString nombre = m.captured(1);
            EXPECT_TRUE(reinicio.contains(QRegularExpression(QStringLiteral(R"(\b%1\b)").arg(nombre))))
                << nombre.toStdString() << " (" << cabecera.toStdString() << ")";
        }
    }
    EXPECT_GT(globales, 40);
}

} // namespace
