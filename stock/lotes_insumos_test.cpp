#include "stock/lotes_insumos.h"

#include "database/armado_sql.h"
#include "platform/runtime/strings.h"
#include "tests/support/empresa_stock.h"

#include <algorithm>
#include <vector>

namespace {

const QString kNul = vb::Chr(0);

// What a record should hold: a lot (blank for none) and its quantity.
struct Esperado
{
    const char *codigo;
    double cantidad;
};

TipoArticuloCantidad Centinela()
{
    TipoArticuloCantidad r;
    r.Codigo = QStringLiteral("ANTERIOR");
    r.Cantidad = 99;
    return r;
}

TEST(TipoArticuloCantidad, FixedWidthTexts)
{
    TipoArticuloCantidad r;
    EXPECT_EQ(r.Codigo.text(), QString(25, QChar(0)));
    EXPECT_EQ(r.Unidad.text(), QString(4, QChar(0)));
    EXPECT_EQ(r.Cantidad, 0);

    struct Caso
    {
        const char *dado;
        const char *codigo;
        const char *unidad;
    };
    const Caso casos[] = {
        {"", "                         ", "    "},
        {"L1", "L1                       ", "L1  "},
        {"  KG", "  KG                     ", "  KG"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "ABCDEFGHIJKLMNOPQRSTUVWXY", "ABCD"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.dado);
        r.Codigo = QLatin1String(c.dado);
        r.Unidad = QLatin1String(c.dado);
        EXPECT_EQ(r.Codigo.text(), QLatin1String(c.codigo));
        EXPECT_EQ(r.Unidad.text(), QLatin1String(c.unidad));
    }
}

class Lotes : public StockDb
{
protected:
    void SetUp() override
    {
        StockDb::SetUp();
        // Stored out of order: the list follows the lot number.
        Lote("PINTURA", "1", "L2", 10);
        Lote("PINTURA", "1", "L1", 5);
        Lote("PINTURA", "1", "L0", 0);     // spent
        Lote("PINTURA", "1", nullptr, 50); // not a lot
        Lote("PINTURA", "2", "L3", 4);
        Lote("RESINA", "1", "R1", 0.1);
        Lote("RESINA", "1", "R2", 0.2);
    }
    void Lote(const char *articulo, const char *deposito, const char *lote, double cantidad)
    {
        Ejecuta(QStringLiteral("INSERT INTO STK_SERIES_Y_LOTES (IdArticulo, IdDeposito, NroLote, CANTIDAD) "
                               "VALUES ('%1', '%2', %3, %4)")
                    .arg(Codigo(QLatin1String(articulo), 25),
                         Codigo(QLatin1String(deposito), 4),
                         lote ? QStringLiteral("'") + Codigo(QLatin1String(lote), 25) + QStringLiteral("'")
                              : QStringLiteral("NULL"))
                    .arg(cantidad));
    }
    static void Compara(const std::vector<TipoArticuloCantidad> &lista, const std::vector<Esperado> &esperados)
    {
        ASSERT_EQ(lista.size(), esperados.size());
        for (size_t i = 0; i < lista.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(lista[i].Codigo.text(), Codigo(QLatin1String(esperados[i].codigo), 25).leftJustified(25));
            EXPECT_EQ(lista[i].Unidad.text(), QStringLiteral("    "));
            EXPECT_EQ(lista[i].Cantidad, esperados[i].cantidad);
        }
    }
};

TEST_F(Lotes, TheListHoldsExactlyTheRowsToPost)
{
    struct Caso
    {
        const char *articulo;
        const char *deposito;
        double cantidad;
        bool tiene;
        std::vector<Esperado> lista;
    };
    const Caso casos[] = {
        {"PINTURA", "'   1'", 8, true, {{"L1", 5}, {"L2", 3}}},
        {"PINTURA", "'   1'", 5, true, {{"L1", 5}}},                       // the first lot completes it
        {"PINTURA", "'   1'", 15, true, {{"L1", 5}, {"L2", 10}}},          // the last lot completes it
        {"PINTURA", "'   1'", 20, true, {{"L1", 5}, {"L2", 10}, {"", 5}}}, // short: the rest without lot
        {"PINTURA", "'   1'", 0, true, {}},
        {"PINTURA", "'   1'", -3, true, {{"L1", -3}}},
        {"PINTURA", "'   2'", 3, true, {{"L3", 3}}},
        {"PINTURA", "2", 4, true, {{"L3", 4}}}, // a plain code
        {"PINTURA", " 2 ", 6, true, {{"L3", 4}, {"", 2}}},
        {"PINTURA", "'1'", 8, true, {{"L1", 5}, {"L2", 3}}}, // a literal not at width
        {"PINTURA", "'   9'", 7, false, {{"", 7}}},          // no lot in the deposit
        {"CLAVO", "1", 2, false, {{"", 2}}},
        {"RESINA", "1", 0.3, true, {{"R1", 0.1}, {"R2", 0.2}}}, // summed in fixed point
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 [%2] %3")
                         .arg(QLatin1String(c.articulo), QLatin1String(c.deposito))
                         .arg(c.cantidad)
                         .toStdString());
        std::vector<TipoArticuloCantidad> lista{Centinela(), Centinela()};
        EXPECT_EQ(ArticuloTieneLotes(QLatin1String(c.articulo), QLatin1String(c.deposito), lista, c.cantidad), c.tiene);
        Compara(lista, c.lista);
    }
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Lotes, TheDepositIsComparedAsText)
{
    std::vector<TipoArticuloCantidad> lista;
    ArticuloTieneLotes(QStringLiteral("PINTURA"), QStringLiteral("1"), lista, 1);
    const QStringList consultas = EnviadasCon(QStringLiteral("STK_SERIES_Y_LOTES"));
    ASSERT_EQ(consultas.size(), 1);
    EXPECT_TRUE(consultas[0].endsWith(QStringLiteral(" AND CANTIDAD > 0  AND IDDEPOSITO = '   1' and not nrolote is "
                                                     "null ORDER BY NROLOTE")))
        << consultas[0].toStdString();
}

TEST_F(Lotes, TheGridsDepositLooksUpNothing)
{
    for (const char *deposito : {"ELDELGRID", "eldelgrid"}) {
        SCOPED_TRACE(deposito);
        [&] {
            std::vector<TipoArticuloCantidad> lista{Centinela()};
            EXPECT_FALSE(ArticuloTieneLotes(QStringLiteral("PINTURA"), QLatin1String(deposito), lista, 8));
            ASSERT_EQ(lista.size(), 1u);
            EXPECT_EQ(lista[0].Codigo.text(), Centinela().Codigo.text());
            EXPECT_EQ(lista[0].Cantidad, 99);
        }();
    }
    EXPECT_TRUE(enviadas.isEmpty());
}

TEST_F(Lotes, FailuresByAnswer)
{
    struct Caso
    {
        const char *nombre;
        int tratamiento;
        bool tiene;
        std::vector<Esperado> lista; // {"ANTERIOR", 99}: untouched
    };
    const Caso casos[] = {
        {"abort keeps the caller's list", ui::vbAbort, false, {{"ANTERIOR", 99}}},
        {"ignore goes on as if no lot", ui::vbIgnore, false, {{"", 8}}},
        {"retry reads the lots", ui::vbRetry, true, {{"L1", 5}, {"L2", 3}}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            SinLaTabla(QStringLiteral("STK_SERIES_Y_LOTES"),
                       QStringLiteral(" - ArticuloTieneLotes "),
                       c.tratamiento,
                       [&] {
                           std::vector<TipoArticuloCantidad> lista{Centinela()};
                           EXPECT_EQ(ArticuloTieneLotes(QStringLiteral("PINTURA"), QStringLiteral("'   1'"), lista, 8),
                                     c.tiene);
                           if (c.lista.size() == 1 && QLatin1String(c.lista[0].codigo) == QLatin1String("ANTERIOR")) {
                               ASSERT_EQ(lista.size(), 1u);
                               EXPECT_EQ(lista[0].Cantidad, 99);
                           } else {
                               Compara(lista, c.lista);
                           }
                       });
        }();
    }
}

class Insumos : public StockDb
{
protected:
    void SetUp() override
    {
        StockDb::SetUp();
        Insumo("KIT", "PINTURA", "UN", 1);
        Insumo("KIT", "BROCHA", "UN", 2);
        Insumo("KIT", "LIJA", nullptr, 0.5);
        Insumo("O'BRIEN", "PINTURA", "LT", 4);
    }
    void Insumo(const char *articulo, const char *insumo, const char *unidad, double cantidad)
    {
        auto literal = [](const char *v, int ancho) {
            return v ? TextoSQL(Codigo(QString::fromLatin1(v), ancho)) : QStringLiteral("NULL");
        };
        Ejecuta(QStringLiteral("INSERT INTO V_MA_INSUMOS (IDARTICULO, IdArticuloInsumo, IdUnidadInsumo, CANTIDAD) "
                               "VALUES (%1, %2, %3, %4)")
                    .arg(literal(articulo, 25), literal(insumo, 25), literal(unidad, 4))
                    .arg(cantidad));
    }
};

TEST_F(Insumos, OneRecordPerComponentAndATrailingEmptyOne)
{
    std::vector<TipoArticuloCantidad> lista{Centinela()};
    EXPECT_TRUE(IdArticuloTieneInsumos(QStringLiteral(" KIT "), lista, false));
    ASSERT_EQ(lista.size(), 4u);
    const struct
    {
        const char *codigo, *unidad;
        double cantidad;
    } esperados[] = {{"BROCHA", "UN", 2}, {"LIJA", "", 0.5}, {"PINTURA", "UN", 1}};
    // The order is the engine's; compare as a set of the three.
    for (const auto &e : esperados) {
        SCOPED_TRACE(e.codigo);
        [&] {
            const auto it = std::find_if(lista.begin(), lista.end() - 1, [&](const TipoArticuloCantidad &r) {
                return r.Codigo.text() == Codigo(QLatin1String(e.codigo), 25);
            });
            ASSERT_NE(it, lista.end() - 1);
            EXPECT_EQ(it->Unidad.text(), Codigo(QLatin1String(e.unidad), 4).leftJustified(4));
            EXPECT_EQ(it->Cantidad, e.cantidad);
        }();
    }
    EXPECT_EQ(lista.back().Codigo.text(), QString(25, QChar(0)));
    EXPECT_EQ(lista.back().Cantidad, 0);
}

TEST_F(Insumos, OnlyCheckingOrNoneLeavesJustTheEmptyRecord)
{
    struct Caso
    {
        const char *articulo;
        bool soloVerifica;
        bool tiene;
    };
    const Caso casos[] = {{"KIT", true, true}, {"PINTURA", false, false}, {"PINTURA", true, false}};
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(QLatin1String(c.articulo)).arg(c.soloVerifica).toStdString());
        [&] {
            std::vector<TipoArticuloCantidad> lista{Centinela(), Centinela()};
            EXPECT_EQ(IdArticuloTieneInsumos(QLatin1String(c.articulo), lista, c.soloVerifica), c.tiene);
            ASSERT_EQ(lista.size(), 1u);
            EXPECT_EQ(lista[0].Codigo.text(), QString(25, QChar(0)));
        }();
    }
}

TEST_F(Insumos, QuotesAndEmptyRecordsNeverBreakAStatement)
{
    std::vector<TipoArticuloCantidad> lista;
    EXPECT_TRUE(IdArticuloTieneInsumos(QStringLiteral("O'BRIEN"), lista, false));
    ASSERT_EQ(lista.size(), 2u);
    EXPECT_EQ(lista[0].Unidad.text(), QStringLiteral("  LT"));
    EXPECT_EQ(lista[0].Cantidad, 4);

    // The trailing empty record handed back as an article, as a careless reader would.
    const QString vacio = TipoArticuloCantidad().Codigo;
    EXPECT_FALSE(IdArticuloTieneInsumos(vacio, lista, false));
    std::vector<TipoArticuloCantidad> lotes;
    EXPECT_FALSE(ArticuloTieneLotes(vacio, QString(4, QChar(0)), lotes, 1));
    for (const QString &s : enviadas)
        EXPECT_FALSE(s.contains(kNul)) << s.toStdString();
    EXPECT_EQ(enviadas.size(), 3);
    EXPECT_EQ(operador.requests().size(), 0u);
}

TEST_F(Insumos, FailuresByAnswer)
{
    struct Caso
    {
        const char *nombre;
        int tratamiento;
        bool tiene;
        size_t elementos; // 1 with the sentinel: untouched
    };
    const Caso casos[] = {
        {"abort keeps the caller's list", ui::vbAbort, false, 1},
        {"ignore goes on as if none", ui::vbIgnore, false, 1},
        {"retry reads the components", ui::vbRetry, true, 4},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        [&] {
            SinLaTabla(QStringLiteral("V_MA_INSUMOS"), QStringLiteral(" - IdArticuloTieneInsumos "), c.tratamiento, [&] {
                std::vector<TipoArticuloCantidad> lista{Centinela()};
                EXPECT_EQ(IdArticuloTieneInsumos(QStringLiteral("KIT"), lista, false), c.tiene);
                ASSERT_EQ(lista.size(), c.elementos);
                EXPECT_EQ(lista[0].Cantidad == 99, c.tratamiento == ui::vbAbort);
            });
        }();
    }
}

class DemoStock : public StockDb
{
protected:
    DemoStock()
        : StockDb(true)
    {}
};

TEST_F(DemoStock, TheDemoCompanyHasLotsAndComponentsToPost)
{
    std::vector<TipoArticuloCantidad> lotes;
    EXPECT_TRUE(ArticuloTieneLotes(QStringLiteral("ART0006"), QStringLiteral("'   1'"), lotes, 25));
    ASSERT_EQ(lotes.size(), 3u);
    EXPECT_EQ(lotes[2].Codigo.text(), Codigo(QStringLiteral("L2024-003"), 25));
    EXPECT_EQ(lotes[0].Cantidad + lotes[1].Cantidad + lotes[2].Cantidad, 25);

    std::vector<TipoArticuloCantidad> insumos;
    EXPECT_TRUE(IdArticuloTieneInsumos(QStringLiteral("ART0008"), insumos, false));
    EXPECT_EQ(insumos.size(), 3u);
    EXPECT_EQ(operador.requests().size(), 0u);
}

} // namespace
