#include "stock/saldos.h"

#include "tests/support/empresa_stock.h"
#include "tests/support/error_provocado.h"

namespace {

class Saldos : public StockDb
{
protected:
    void SetUp() override
    {
        StockDb::SetUp();
        Articulo(QStringLiteral("CEMENTO"), QStringLiteral("UN"));
        Saldo(QStringLiteral("CEMENTO"), QStringLiteral("1"), QStringLiteral("UN"), 120);
        Saldo(QStringLiteral("CEMENTO"), QStringLiteral("2"), QStringLiteral("UN"), 40);
        Saldo(QStringLiteral("CEMENTO"), QStringLiteral("1"), QStringLiteral("KG"), 6000);
        const QString cemento = Codigo(QStringLiteral("CEMENTO"), 25);
        Ejecuta(
            QStringList{QStringLiteral(
                            "INSERT INTO STK_STOCK_UDKG (IDARTICULO, IDDEPOSITO, CantidadUd) VALUES ('%1', '   1', 7)")
                            .arg(cemento),
                        QStringLiteral(
                            "INSERT INTO STK_STOCK_UDKG (IDARTICULO, IDDEPOSITO, CantidadUd) VALUES ('%1', '    ', 3)")
                            .arg(cemento)});
    }
    void Saldo(const QString &articulo, const QString &deposito, const QString &unidad, double stock)
    {
        Ejecuta(QStringLiteral("INSERT INTO STK_SALDOS_UNIDADES (IDARTICULO, IDDEPOSITO, EQUIVALENCIA, STOCK) "
                               "VALUES ('%1', '%2', '%3', %4)")
                    .arg(Codigo(articulo, 25), Codigo(deposito, 4), Codigo(unidad, 4))
                    .arg(stock));
    }
};

TEST_F(Saldos, OneDepositOrTheSumOverAll)
{
    struct Caso
    {
        bool udKg;
        const char *deposito;
        const char *unidad;
        double stock;
    };
    const Caso casos[] = {
        {false, "1", "UN", 120},
        {false, "   2", "un", 40},
        {false, "", "UN", 160},
        {false, "  ", "KG", 6000},
        {false, "3", "UN", 0}, // no row
        {false, "", "M3", 0},  // a sum over no row
        {true, "1", "KG", 7},  // units and kilograms: the unit plays no part
        {true, "", "UN", 3},   // only the row kept under the blank deposit code
        {true, "2", "UN", 0},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 [%2] %3")
                         .arg(c.udKg)
                         .arg(QLatin1String(c.deposito), QLatin1String(c.unidad))
                         .toStdString());
        gUsaStockUdKg = c.udKg;
        double stock = -1;
        ControlStock(QLatin1String(c.deposito), QStringLiteral("CEMENTO"), QLatin1String(c.unidad), stock);
        EXPECT_EQ(stock, c.stock);
    }
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Saldos, ABlankArticleLeavesTheResultAlone)
{
    for (const bool udKg : {false, true}) {
        gUsaStockUdKg = udKg;
        double stock = -1;
        ControlStock(QStringLiteral("1"), QStringLiteral("   "), QStringLiteral("UN"), stock);
        EXPECT_EQ(stock, -1);
    }
    EXPECT_TRUE(enviadas.isEmpty());
    QString deposito = kIgnorar, unidad = QStringLiteral("UN");
    EXPECT_EQ(ObtieneStock(QString(), deposito, kIgnorar, kIgnorar, QString(), unidad), 0);
}

TEST_F(Saldos, IgnorarTakesTheDefaultDepositAndTheArticlesUnitAndHandsThemBack)
{
    Ejecuta(QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('DepositoDefault', ' 2 ')"));
    struct Caso
    {
        const char *deposito, *unidad;
        double stock;
        const char *depositoDevuelto, *unidadDevuelta;
    };
    const Caso casos[] = {
        {"Ignorar", "UN", 40, "   2", "UN"},
        {"1", "IGNORAR", 120, "1", "  UN"},
        {"ignorar", "Ignorar", 40, "   2", "  UN"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(QLatin1String(c.deposito), QLatin1String(c.unidad)).toStdString());
        QString deposito = QLatin1String(c.deposito), unidad = QLatin1String(c.unidad);
        EXPECT_EQ(ObtieneStock(QStringLiteral("CEMENTO"),
                               deposito,
                               QStringLiteral("ignorar"),
                               kIgnorar,
                               QStringLiteral("X"),
                               unidad),
                  c.stock);
        EXPECT_EQ(deposito, QLatin1String(c.depositoDevuelto));
        EXPECT_EQ(unidad, QLatin1String(c.unidadDevuelta));
    }
    EXPECT_TRUE(EnviadasCon(QStringLiteral("STK_SERIES_Y_LOTES")).isEmpty());
}

class SaldosPorLote : public Saldos
{
protected:
    void SetUp() override
    {
        Saldos::SetUp();
        Articulo(QStringLiteral("PINTURA"), QStringLiteral("UN"), 1, 0);
        Articulo(QStringLiteral("TALADRO"), QStringLiteral("UN"), 0, 1);
        Articulo(QStringLiteral("MIXTO"), QStringLiteral("UN"), 1, 1);
        Lote("PINTURA", "1", "L1", nullptr, "A", 5);
        Lote("PINTURA", "1", "L2", nullptr, "B", 10);
        Lote("PINTURA", "2", "L1", nullptr, nullptr, 7);
        Lote("PINTURA", "1", "L1", "S9", "A", 100); // a serial on an article without serials
        Lote("TALADRO", "1", nullptr, "S1", nullptr, 1);
        Lote("TALADRO", "1", nullptr, "S2", nullptr, 1);
        Lote("TALADRO", "1", "LX", "S3", nullptr, 50); // a lot on an article without lots
        Lote("MIXTO", "1", "L1", "S1", nullptr, 2);
        Lote("MIXTO", "1", "L1", "S2", nullptr, 3);
    }
    void Lote(const char *articulo,
              const char *deposito,
              const char *lote,
              const char *serie,
              const char *posicion,
              double cantidad)
    {
        auto texto = [](const char *v, int ancho) {
            return v ? QStringLiteral("'") + Codigo(QLatin1String(v), ancho) + QStringLiteral("'")
                     : QStringLiteral("NULL");
        };
        Ejecuta(QStringLiteral("INSERT INTO STK_SERIES_Y_LOTES (IdArticulo, IdDeposito, NroLote, NroSerie, IdPosicion, "
                               "CANTIDAD) VALUES (%1, %2, %3, %4, %5, %6)")
                    .arg(texto(articulo, 25), texto(deposito, 4), texto(lote, 25), texto(serie, 25), texto(posicion, 15))
                    .arg(cantidad));
    }
};

TEST_F(SaldosPorLote, EveryGivenFilterAndTheIsNullRule)
{
    struct Caso
    {
        const char *articulo, *deposito, *lote, *serie, *posicion;
        double stock;
    };
    const Caso casos[] = {
        {"PINTURA", "1", "L1", "Ignorar", "Ignorar", 5},
        {"PINTURA", "Ignorar", " L1 ", "Ignorar", "", 12},
        {"PINTURA", "1", "Ignorar", "", "B", 10},
        {"PINTURA", "", "L2", "ignorar", "  ", 10},
        {"PINTURA", "1", "L9", "Ignorar", "", 0},
        {"TALADRO", "1", "Ignorar", "S1", "", 1},
        {"TALADRO", "1", "", "Ignorar", "", 2},
        {"MIXTO", "1", "L1", "Ignorar", "", 5},
        {"MIXTO", "1", "L1", "S2", "", 3},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3 %4 %5")
                         .arg(QLatin1String(c.articulo),
                              QLatin1String(c.deposito),
                              QLatin1String(c.lote),
                              QLatin1String(c.serie),
                              QLatin1String(c.posicion))
                         .toStdString());
        QString deposito = QLatin1String(c.deposito), unidad = kIgnorar;
        EXPECT_EQ(ObtieneStock(QLatin1String(c.articulo),
                               deposito,
                               QLatin1String(c.lote),
                               QLatin1String(c.serie),
                               QLatin1String(c.posicion),
                               unidad),
                  c.stock);
        EXPECT_EQ(deposito, QLatin1String(c.deposito)); // only the per-unit balance resolves them
        EXPECT_EQ(unidad, kIgnorar);
    }
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(SaldosPorLote, AnArticleWithoutRowGoesToTheTreatment)
{
    for (const int respuesta : {ui::vbIgnore, ui::vbAbort}) {
        SCOPED_TRACE(respuesta);
        [&] {
            operador.clear();
            operador.answer(respuesta);
            QString deposito = QStringLiteral("1"), unidad;
            EXPECT_EQ(ObtieneStock(QStringLiteral("NOEXISTE"),
                                   deposito,
                                   QStringLiteral("L1"),
                                   kIgnorar,
                                   QString(),
                                   unidad),
                      0);
            ASSERT_EQ(operador.requests().size(), 1u);
            EXPECT_TRUE(operador.last().title.contains(QStringLiteral(" - ObtieneStock ")))
                << operador.last().title.toStdString();
            // Going on, the balance is still asked for, without the flags' rule.
            EXPECT_EQ(EnviadasCon(QStringLiteral("SUM(CANTIDAD)")).size(), respuesta == ui::vbIgnore ? 1 : 0);
            enviadas.clear();
        }();
    }
}

// The answers to the treatment of a failed query (see SinLaTabla).
struct Respuesta
{
    const char *nombre;
    int tratamiento;
};
const Respuesta kRespuestas[] = {
    {"abort", ui::vbAbort},
    {"ignore", ui::vbIgnore},
    {"retry", ui::vbRetry},
};

TEST_F(SaldosPorLote, FailuresOfTheBalancesByAnswer)
{
    struct Caso
    {
        const char *tabla;
        const char *rutina;
        std::function<double()> consulta;
        double sinRespuesta; // what abort and ignore give
        double reparado;
    };
    const Caso casos[] = {
        {"STK_SALDOS_UNIDADES",
         " - ControlStock ",
         [] {
             double stock = -1;
             ControlStock(QStringLiteral("1"), QStringLiteral("CEMENTO"), QStringLiteral("UN"), stock);
             return stock;
         },
         -1,
         120},
        {"STK_SERIES_Y_LOTES",
         " - ObtieneStock ",
         [] {
             QString deposito = QStringLiteral("1"), unidad;
             return ObtieneStock(QStringLiteral("PINTURA"), deposito, QStringLiteral("L1"), kIgnorar, QString(), unidad);
         },
         0,
         5},
    };
    for (const Caso &c : casos) {
        for (const Respuesta &r : kRespuestas) {
            SCOPED_TRACE(QStringLiteral("%1 %2").arg(QLatin1String(c.tabla), QLatin1String(r.nombre)).toStdString());
            SinLaTabla(QLatin1String(c.tabla), QLatin1String(c.rutina), r.tratamiento, [&] {
                EXPECT_EQ(c.consulta(), r.tratamiento == ui::vbRetry ? c.reparado : c.sinRespuesta);
            });
        }
    }
}

class Pendiente : public StockDb
{
protected:
    void SetUp() override
    {
        StockDb::SetUp();
        Linea("A", 6);
        Linea("A", 4);
        Movimiento("A", -3);
        Movimiento("A", -1);
        Linea("B", 10);
        Movimiento("B", -12);
        Linea("C", 2.5);
        Linea("D", 0.3);
        Movimiento("D", 0.1);
    }
    void Linea(const char *articulo, double cantidad)
    {
        Ejecuta(QStringLiteral("INSERT INTO V_MV_CPTEINSUMOS (TC, IDCOMPROBANTE, RENGLON, IDARTICULO, CANTIDAD) "
                               "VALUES ('  RM', '000100000010A', %1, '%2', %3)")
                    .arg(++m_renglon)
                    .arg(Codigo(QLatin1String(articulo), 25))
                    .arg(cantidad));
    }
    void Movimiento(const char *articulo, double cantidad)
    {
        Ejecuta(QStringLiteral("INSERT INTO V_MV_STOCK (TC, IdComprobante, Secuencia, Fecha, IdArticulo, Cantidad) "
                               "VALUES ('  RM', '000100000010A', %1, '2024-03-01', '%2', %3)")
                    .arg(++m_secuencia)
                    .arg(Codigo(QLatin1String(articulo), 25))
                    .arg(cantidad));
    }
    int m_renglon = 0;
    int m_secuencia = 0;
};

TEST_F(Pendiente, OrderedLessMovedNeverBelowZero)
{
    struct Caso
    {
        const char *tc, *comprobante, *articulo;
        double pendiente;
    };
    const Caso casos[] = {
        {"RM", "000100000010A", "A", 6},     // the type as callers pass it
        {"  RM", " 000100000010A ", "A", 6}, // as the tables keep it
        {"rm", "000100000010A", "A", 6},
        {"RM", "000100000010A", "B", 0},   // more moved than ordered
        {"RM", "000100000010A", "C", 2.5}, // nothing moved yet
        {"RM", "000100000010A", "D", 0.2}, // exactly, in fixed point
        {"RM", "000100000010A", "E", 0},   // in neither view
        {"FC", "000100000010A", "A", 0},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(QLatin1String(c.tc), QLatin1String(c.articulo)).toStdString());
        EXPECT_EQ(CantRepartoPend(QLatin1String(c.tc), QLatin1String(c.comprobante), QLatin1String(c.articulo)),
                  c.pendiente);
    }
}

TEST_F(Pendiente, AFailureReachesTheCaller)
{
    Ejecuta(QStringLiteral("DROP VIEW VT_V_MV_Stock_Cons"));
    operador.answer(ui::vbIgnore);
    EXPECT_EQ(RaisedNumber(
                  [] { CantRepartoPend(QStringLiteral("RM"), QStringLiteral("000100000010A"), QStringLiteral("A")); }),
              vberr::ObjectClosed);
    EXPECT_EQ(operador.requests().size(), 1u); // the recordset's own box; no treatment
}

} // namespace
