#include "lookup/faltantes_stock.h"

#include "tests/support/impresion_qt.h"

#include <gtest/gtest.h>

namespace {

TEST(Faltantes, QuestionOnTwoLines)
{
    EXPECT_EQ(PreguntaFaltante(QStringLiteral("  A1 "), QStringLiteral("TORNILLO  ")),
              QStringLiteral("Desea informar el articulo A1 TORNILLO\r\ncomo un faltante de stock?"));
}

TEST(Faltantes, StatementWithQuotesDoubled)
{
    const QDateTime momento(QDate(2024, 3, 5), QTime(14, 7, 9));
    EXPECT_EQ(SentenciaFaltante(QStringLiteral("A1"),
                                QStringLiteral(" TORNILLO 1/4\" "),
                                QStringLiteral("ADMIN"),
                                momento),
              QStringLiteral("INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) values('05/03/2024 "
                             "14:07:09','                       A1','TORNILLO 1/4\"','ADMIN')"));
    EXPECT_EQ(SentenciaFaltante(QStringLiteral("D'AG"),
                                QStringLiteral("MADERA O'HIGGINS"),
                                QStringLiteral("o'neil"),
                                momento),
              QStringLiteral("INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) values('05/03/2024 "
                             "14:07:09','                     D''AG','MADERA O''HIGGINS','o''neil')"));
}

} // namespace
