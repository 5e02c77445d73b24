#include "stock/unidades.h"

#include "stock/saldos.h"
#include "tests/support/empresa_stock.h"
#include "tests/support/error_provocado.h"

#include <vector>

namespace {

class Equivalencias : public StockDb
{
protected:
    void SetUp() override
    {
        StockDb::SetUp();
        Articulo(QStringLiteral("CLAVO"), QStringLiteral("UN"));
        Equivalencia(QStringLiteral("CLAVO"), QStringLiteral("KG"), QStringLiteral("UN"), 1000);
    }
};

TEST_F(Equivalencias, FoundAsAskedOrReversedWithTheUnitUsedWrittenBack)
{
    struct Caso
    {
        const char *unidad;
        const char *otra;
        bool encontrada;
        const char *operador; // "?": left as it was
        double coeficiente;
        const char *unidadDevuelta;
    };
    const Caso casos[] = {
        {"KG", "UN", true, "/", 1000, "KG"},
        {"UN", "KG", true, "*", 1000, "UN"},
        {"kg", "un", true, "/", 1000, "kg"},        // codes compare without regard to case
        {"  KG ", "UN ", true, "/", 1000, "  KG "}, // trimmed in the query, written back as given
        {"", "KG", true, "*", 1000, "UN"},          // the article's own unit
        {"UN", "M3", false, "?", 0, "UN"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 -> %2").arg(QLatin1String(c.unidad), QLatin1String(c.otra)).toStdString());
        QString operador = QStringLiteral("?");
        QString unidad = QLatin1String(c.unidad);
        double coeficiente = -1;
        bool sinUnidad = true;
        EXPECT_EQ(IdArticuloTieneEquivalencias(QStringLiteral("CLAVO"),
                                               QLatin1String(c.otra),
                                               operador,
                                               unidad,
                                               coeficiente,
                                               sinUnidad),
                  c.encontrada);
        EXPECT_EQ(operador, QLatin1String(c.operador));
        EXPECT_EQ(coeficiente, c.coeficiente);
        EXPECT_EQ(unidad, QLatin1String(c.unidadDevuelta));
        EXPECT_FALSE(sinUnidad);
    }
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Equivalencias, AskedDirectionFirstThenTheReverse)
{
    QString op, unidad = QStringLiteral("UN");
    double coeficiente = 0;
    bool sinUnidad = false;
    IdArticuloTieneEquivalencias(QStringLiteral(" CLAVO"), QStringLiteral("KG"), op, unidad, coeficiente, sinUnidad);
    const QString articulo = QStringLiteral("'") + Codigo(QStringLiteral("CLAVO"), 25) + QStringLiteral("'");
    EXPECT_EQ(EnviadasCon(QStringLiteral("S_TA_EQUIV")),
              QStringList({QStringLiteral("SELECT * FROM  S_TA_EQUIV WHERE IdArticulo = ") + articulo
                               + QStringLiteral(" AND IDUNIDAD = '  UN' AND IDUNIDAD_EQUIV = '  KG'"),
                           QStringLiteral("SELECT * FROM  S_TA_EQUIV WHERE IdArticulo = ") + articulo
                               + QStringLiteral(" AND IDUNIDAD = '  KG' AND IDUNIDAD_EQUIV = '  UN'")}));
}

TEST_F(Equivalencias, NoUnitAnywhereSetsTheFlagWithoutLookingUp)
{
    Articulo(QStringLiteral("SINUD"), QString());
    for (const char *dada : {"", "   "}) {
        SCOPED_TRACE(dada);
        enviadas.clear();
        QString op = QStringLiteral("?"), unidad = QLatin1String(dada);
        double coeficiente = 5;
        bool sinUnidad = false;
        EXPECT_FALSE(IdArticuloTieneEquivalencias(QStringLiteral("SINUD"),
                                                  QStringLiteral("KG"),
                                                  op,
                                                  unidad,
                                                  coeficiente,
                                                  sinUnidad));
        EXPECT_TRUE(sinUnidad);
        EXPECT_EQ(coeficiente, 0);
        EXPECT_EQ(op, QStringLiteral("?"));
        EXPECT_EQ(unidad, QLatin1String(dada));
        EXPECT_TRUE(EnviadasCon(QStringLiteral("S_TA_EQUIV")).isEmpty());
    }
}

TEST_F(Equivalencias, ConversionsThereAndBack)
{
    struct Caso
    {
        const char *desde;
        double cantidad;
        const char *hasta;
        double a;          // ConvierteAUnidadEquivalente(desde, cantidad, hasta)
        double desdeEquiv; // ConvierteDesdeUnidadEquivalente(desde, cantidad, hasta)
    };
    const Caso casos[] = {
        {"UN", 2, "KG", 0.002, 2000},
        {"KG", 2, "UN", 2000, 0.002},
        {"KG", 2000, "UN", 2000000, 2},
        {"UN", 2, "M3", 0, 0}, // no equivalence
        {"kg", 5, "KG", 5, 5}, // the same unit
        {"UN", -3, "KG", -0.003, -3000},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3")
                         .arg(QLatin1String(c.desde))
                         .arg(c.cantidad)
                         .arg(QLatin1String(c.hasta))
                         .toStdString());
        QString desde = QLatin1String(c.desde);
        EXPECT_DOUBLE_EQ(ConvierteAUnidadEquivalente(QStringLiteral("CLAVO"), desde, c.cantidad, QLatin1String(c.hasta)),
                         c.a);
        EXPECT_DOUBLE_EQ(ConvierteDesdeUnidadEquivalente(QStringLiteral("CLAVO"),
                                                         desde,
                                                         c.cantidad,
                                                         QLatin1String(c.hasta)),
                         c.desdeEquiv);
    }

    // Each undoes the other for the same pair of units.
    for (const char *par : {"UN KG", "KG UN"}) {
        const QStringList unidades = QString::fromLatin1(par).split(QLatin1Char(' '));
        for (double q : {2.0, 0.5, 1234.5, 0.0001}) {
            SCOPED_TRACE(QStringLiteral("%1 %2").arg(QLatin1String(par)).arg(q).toStdString());
            QString u = unidades[0];
            const double ida = ConvierteAUnidadEquivalente(QStringLiteral("CLAVO"), u, q, unidades[1]);
            EXPECT_DOUBLE_EQ(ConvierteDesdeUnidadEquivalente(QStringLiteral("CLAVO"), u, ida, unidades[1]), q);
        }
    }
}

TEST_F(Equivalencias, NothingToConvertRunsNoQuery)
{
    QString desde = QStringLiteral("UN");
    EXPECT_EQ(ConvierteAUnidadEquivalente(QStringLiteral("CLAVO"), desde, 0, QStringLiteral("KG")), 0);
    EXPECT_EQ(ConvierteDesdeUnidadEquivalente(QStringLiteral("CLAVO"), desde, 0, QStringLiteral("KG")), 0);
    QString misma = QStringLiteral("kg");
    EXPECT_EQ(ConvierteAUnidadEquivalente(QStringLiteral("CLAVO"), misma, 7, QStringLiteral("KG")), 7);
    EXPECT_TRUE(enviadas.isEmpty()) << enviadas.join(QLatin1Char('\n')).toStdString();
}

TEST_F(Equivalencias, ABlankFromUnitIsTheArticlesOwnAndComesBack)
{
    QString desde;
    EXPECT_DOUBLE_EQ(ConvierteAUnidadEquivalente(QStringLiteral("CLAVO"), desde, 3, QStringLiteral("KG")), 0.003);
    EXPECT_EQ(desde, QStringLiteral("UN"));
    // Towards its own unit it looks for the pair (UN, UN), which has no row.
    QString otra;
    EXPECT_EQ(ConvierteAUnidadEquivalente(QStringLiteral("CLAVO"), otra, 3, QStringLiteral("UN")), 0);
    EXPECT_EQ(otra, QStringLiteral("UN"));
}

TEST_F(Equivalencias, AZeroCoefficientIsADivisionByZeroOnlyWhenDividing)
{
    Articulo(QStringLiteral("CAJA"), QStringLiteral("UN"));
    Equivalencia(QStringLiteral("CAJA"), QStringLiteral("CJ"), QStringLiteral("UN"), 0);
    auto a = [](const char *desde, const char *hasta) {
        QString d = QLatin1String(desde);
        return ConvierteAUnidadEquivalente(QStringLiteral("CAJA"), d, 2, QLatin1String(hasta));
    };
    auto desde = [](const char *unidad, const char *equiv) {
        QString u = QLatin1String(unidad);
        return ConvierteDesdeUnidadEquivalente(QStringLiteral("CAJA"), u, 2, QLatin1String(equiv));
    };
    EXPECT_EQ(RaisedNumber([&] { a("UN", "CJ"); }), vberr::DivisionByZero);
    EXPECT_EQ(RaisedNumber([&] { desde("CJ", "UN"); }), vberr::DivisionByZero);
    EXPECT_EQ(a("CJ", "UN"), 0);
    EXPECT_EQ(desde("UN", "CJ"), 0);
    EXPECT_EQ(operador.requests().size(), 0u); // raised to the caller, not treated
}

TEST_F(Equivalencias, AnArticleWithoutRowFailsTheOwnUnitRead)
{
    EXPECT_EQ(RaisedNumber([] { ObtieneUnidadArticulo(QStringLiteral("NOEXISTE")); }), vberr::NoCurrentRecord);
    EXPECT_EQ(ObtieneUnidadArticulo(QStringLiteral("CLAVO")), QStringLiteral("UN"));
}

TEST_F(Equivalencias, FailuresGoToTheTreatmentUnderItsName)
{
    struct Caso
    {
        const char *nombre;
        std::vector<int> respuestas; // pairs: the recordset's own box, then the treatment
        bool repara;                 // the table comes back while the treatment asks
        bool encontrada;
        const char *operador;
        double coeficiente;
        int preguntas;
    };
    const Caso casos[] = {
        {"abort leaves", {ui::vbIgnore, ui::vbAbort}, false, false, "?", 0, 2},
        {"ignore tries the reverse", {ui::vbIgnore, ui::vbIgnore, ui::vbIgnore, ui::vbIgnore}, false, false, "?", 0, 4},
        {"retry runs the lookup again", {ui::vbIgnore, ui::vbRetry}, true, true, "/", 1000, 2},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            Ejecuta(QStringLiteral("ALTER TABLE S_TA_EQUIV RENAME TO S_TA_EQUIV_FUERA"));
            operador.clear();
            ReparaAlPreguntar repara(operador, 2, [&] {
                if (c.repara)
                    Ejecuta(QStringLiteral("ALTER TABLE S_TA_EQUIV_FUERA RENAME TO S_TA_EQUIV"));
            });
            for (int r : c.respuestas)
                operador.answer(r);
            QString op = QStringLiteral("?"), unidad = QStringLiteral("KG");
            double coeficiente = -1;
            bool sinUnidad = false;
            EXPECT_EQ(IdArticuloTieneEquivalencias(QStringLiteral("CLAVO"),
                                                   QStringLiteral("UN"),
                                                   op,
                                                   unidad,
                                                   coeficiente,
                                                   sinUnidad),
                      c.encontrada);
            EXPECT_EQ(op, QLatin1String(c.operador));
            EXPECT_EQ(coeficiente, c.coeficiente);
            ASSERT_EQ(int(operador.requests().size()), c.preguntas);
            EXPECT_EQ(operador.unexpected(), 0);
            EXPECT_TRUE(operador.requests()[1].title.contains(QStringLiteral(" - IdArticuloTieneEquivalencias ")))
                << operador.requests()[1].title.toStdString();
            EXPECT_TRUE(operador.requests()[1].prompt.startsWith(QStringLiteral("Ha ocurrido el Siguiente Error (")));
            if (!c.repara)
                Ejecuta(QStringLiteral("ALTER TABLE S_TA_EQUIV_FUERA RENAME TO S_TA_EQUIV"));
        }();
    }
}

TEST_F(Equivalencias, AConfiguredUnitOrNoQuantity)
{
    Articulo(QStringLiteral("TABLA"), QStringLiteral("UN"));
    Equivalencia(QStringLiteral("TABLA"), QStringLiteral("UN"), QStringLiteral("M3"), 0.0042);
    Equivalencia(QStringLiteral("TABLA"), QStringLiteral("BL"), QStringLiteral("UN"), 50);
    Equivalencia(QStringLiteral("TABLA"), QStringLiteral("UN"), QStringLiteral("KG"), 2.5);
    struct Caso
    {
        const char *nombre;
        const char *unidad;
        double cantidad;
        const char *configurada;
        double esperada;
    };
    const Caso casos[] = {
        {"divided", "UN", 100, "BL", 2},
        {"multiplied", "UN", 100, "M3", 0.42},
        {"other unit", "UN", 100, "KG", 250},
        {"unit of the column", "M3", 3, "M3", 3},
        {"no equivalence", "M3", 3, "KG", 0},
        {"blank configured unit", "UN", 100, "", 0},
        {"blank configured unit, blank unit", "", 100, " ", 0},
        {"blank unit", "", 100, "BL", 2}, // the article's own unit
        {"no quantity", "UN", 0, "M3", 0},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_DOUBLE_EQ(CantidadEnUnidadConfigurada(QStringLiteral("TABLA"),
                                                     QLatin1String(c.unidad),
                                                     c.cantidad,
                                                     QLatin1String(c.configurada)),
                         c.esperada);
    }
    EXPECT_EQ(operador.requests().size(), 0u);
}

class StockEquivalente : public Equivalencias
{};

TEST_F(StockEquivalente, BaseAndEquivalentUnit)
{
    Ejecuta(QStringLiteral("INSERT INTO STK_SALDOS_UNIDADES (IDARTICULO, IDDEPOSITO, EQUIVALENCIA, STOCK) VALUES "
                           "('%1', '   1', '  UN', 4000)")
                .arg(Codigo(QStringLiteral("CLAVO"), 25)));
    struct Caso
    {
        const char *articulo;
        const char *equiv;
        double base, equivalente;
    };
    const Caso casos[] = {
        {"CLAVO", "KG", 4000, 4},
        {"CLAVO", "", 4000, 0},
        {"CLAVO", "M3", 4000, 0},
        {"  ", "KG", 0, 0},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(QLatin1String(c.articulo), QLatin1String(c.equiv)).toStdString());
        QString base = QStringLiteral("UN");
        double stockBase = -1, stockEquiv = -1;
        ObtieneStockxEquiv(QStringLiteral("1"),
                           QLatin1String(c.articulo),
                           base,
                           QLatin1String(c.equiv),
                           stockBase,
                           stockEquiv);
        EXPECT_EQ(stockBase, c.base);
        EXPECT_DOUBLE_EQ(stockEquiv, c.equivalente);
    }
}

} // namespace
