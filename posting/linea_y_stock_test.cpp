// What a voucher posts to stock is what its lines say, in their direction,
// and its journal values those same movements: on both paths, a line whose
// lists do not match it refuses the voucher, and a voucher posted twice never
// doubles its entry.

#include "tests/support/posteo.h"

#include "database/transaccion.h"
#include "platform/ado/ado.h"
#include "tests/support/impresion_qt.h"
#include "tests/support/lotes.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace posteo;

// A line valued at its article's cost, so that the journal values what
// stock moves.
FilaDeGrilla Costeada(const char *articulo, const char *cantidad, const FilaDeGrilla &celdas = {})
{
    static const std::map<QString, QString> costos{{"A1", "10"}, {"A2", "2.5"}, {"A3", "4"}};
    const QString codigo = QString::fromLatin1(articulo);
    FilaDeGrilla linea = Linea(codigo, QString::fromLatin1(cantidad), {{ColAux38, costos.at(codigo)}});
    for (const auto &[columna, texto] : celdas)
        linea[columna] = texto;
    return linea;
}

QString Claves(std::initializer_list<const char *> lotes)
{
    QString lista = QStringLiteral("|");
    for (const char *lote : lotes)
        lista += posteo::Clave(QString::fromLatin1(lote)) + QLatin1Char('|');
    return lista;
}

class LineaYStock : public BaseAsiento
{
protected:
    static QString DelTipo(const QString &tc) { return TextoSQL(tc.rightJustified(4)); }

    // The journal rows of the stock accounts, "account side amount".
    QStringList CuentasDeStock(const QString &tc)
    {
        return FilasDe(QStringLiteral("SELECT CUENTA, [DEBE-HABER], SUM(IMPORTE) FROM MV_ASIENTOS WHERE TC = %1 "
                                      "AND CUENTA LIKE '1.3.%' GROUP BY CUENTA, [DEBE-HABER] ORDER BY CUENTA")
                           .arg(DelTipo(tc)));
    }
    // What the stock rows moved, at the articles' cost.
    double ValorMovido(const QString &tc)
    {
        return Valor(QStringLiteral("SELECT SUM(m.Cantidad * a.costo) FROM V_MV_STOCK m JOIN V_MA_ARTICULOS a "
                                    "ON a.IDARTICULO = m.IdArticulo WHERE m.TC = %1")
                         .arg(DelTipo(tc)))
            .toDouble();
    }
    // What the journal says the stock accounts gained.
    double ValorAsentado(const QString &tc)
    {
        return Valor(QStringLiteral("SELECT SUM(CASE [DEBE-HABER] WHEN 'D' THEN IMPORTE ELSE -IMPORTE END) "
                                    "FROM MV_ASIENTOS WHERE TC = %1 AND CUENTA LIKE '1.3.%'")
                         .arg(DelTipo(tc)))
            .toDouble();
    }
    long long FilasDelDiario(const QString &tc)
    {
        return Cuenta(QStringLiteral("SELECT COUNT(*) FROM MV_ASIENTOS WHERE TC = %1").arg(DelTipo(tc)));
    }
};

struct CasoLinea
{
    const char *nombre;
    std::function<void(Comprobante &)> argumentos;
    std::vector<FilaDeGrilla> lineas;
    QStringList movimientos; // the stock rows, as Movimientos gives them
    QStringList cuentas;     // the journal rows of the stock accounts
    const char *falla = "";  // the refusal; empty when the voucher posts
};

void PrintTo(const CasoLinea &c, std::ostream *os)
{
    *os << c.nombre;
}

auto Tipo(const char *tc)
{
    return [=](Comprobante &v) { v.TC = QString::fromLatin1(tc); };
}

auto Traslado(const char *destino)
{
    return [=](Comprobante &v) {
        v.TC = QStringLiteral("TR");
        v.EsTransferencia = true;
        v.IdDepositoDestino = QString::fromLatin1(destino);
    };
}

const FilaDeGrilla kSerie{{AuxPideSerie, "-1"}};

FilaDeGrilla Series(const char *lista)
{
    return {{AuxPideSerie, "-1"}, {ColNroSerie, QString::fromLatin1(lista)}};
}

const CasoLinea kCasos[] = {
    {"a return spread over two lots enters each of them",
     Tipo("RM"),
     {Costeada("A1", "-5", {{ColNroLote, Claves({"L1", "L2"})}, {ColNroSerie, "|2|3|"}})},
     {"1 1>- L1/- 2", "2 1>- L2/- 3"},
     {"1.3.01 D 50"}},
    {"a return whose lots carry its sign",
     Tipo("RM"),
     {Costeada("A1", "-5", {{ColNroLote, Claves({"L1", "L2"})}, {ColNroSerie, "|-2|-3|"}})},
     {"1 1>- L1/- 2", "2 1>- L2/- 3"},
     {"1.3.01 D 50"}},
    {"a return without lots", Tipo("RM"), {Costeada("A1", "-5")}, {"1 1>- -/- 5"}, {"1.3.01 D 50"}},
    {"an issue whose lots are negative",
     Tipo("RM"),
     {Costeada("A1", "5", {{ColNroLote, Claves({"L1", "L2"})}, {ColNroSerie, "|-2|-3|"}})},
     {},
     {},
     "el artículo A1 (línea 1) tiene cantidades negativas en sus lotes y la línea es positiva"},
    {"an issue of lots of both signs",
     Tipo("RM"),
     {Costeada("A1", "5", {{ColNroLote, Claves({"L1", "L2"})}, {ColNroSerie, "|8|-3|"}})},
     {},
     {},
     "el artículo A1 (línea 1) tiene cantidades positivas y negativas en sus lotes"},
    {"a negative entry by sizes leaves stock",
     Tipo("IR"),
     {Costeada("A1", "-5", {{AuxPideTalle, "1"}, {ColNroLote, Claves({"T1", "T2"})}, {ColNroSerie, "|2|3|"}})},
     {"1 1>- T1/- -2", "2 1>- T2/- -3"},
     {"1.3.01 H 50"}},
    {"one unit per serial",
     Tipo("IR"),
     {Costeada("A1", "3", Series("|S1|S2|S3|"))},
     {"1 1>- -/S1 1", "2 1>- -/S2 1", "3 1>- -/S3 1"},
     {"1.3.01 D 30"}},
    {"serials of a negative entry leave stock",
     Tipo("IR"),
     {Costeada("A1", "-2", Series("|S1|S2|"))},
     {"1 1>- -/S1 -1", "2 1>- -/S2 -1"},
     {"1.3.01 H 20"}},
    {"more serials than units",
     Tipo("IR"),
     {Costeada("A1", "2", Series("|S1|S2|S3|"))},
     {},
     {},
     "el artículo A1 (línea 1) tiene 3 números de serie y la línea es de 2"},
    {"fewer serials than units",
     Tipo("IR"),
     {Costeada("A1", "4", Series("|S1|S2|S3|"))},
     {},
     {},
     "el artículo A1 (línea 1) tiene 3 números de serie y la línea es de 4"},
    {"no serials at all",
     Tipo("IR"),
     {Costeada("A1", "2", kSerie)},
     {},
     {},
     "el artículo A1 (línea 1) tiene 0 números de serie y la línea es de 2"},
    {"one serial named twice, the case aside",
     Tipo("IR"),
     {Costeada("A1", "3", Series("|S1|S2|s1|"))},
     {},
     {},
     "el artículo A1 (línea 1) tiene el número de serie s1 más de una vez"},
    {"part of a serial unit",
     Tipo("IR"),
     {Costeada("A1", "2.5", Series("|S1|S2|S3|"))},
     {},
     {},
     "el artículo A1 (línea 1) es de un artículo con número de serie y su cantidad no es entera"},
    {"a blank serial cell",
     Tipo("IR"),
     {Costeada("A1", "3", Series("|S1|-|S3|"))},
     {},
     {},
     "el artículo A1 (línea 1) tiene una unidad sin número de serie"},
    {"a blank lot cell of an article without lots goes without lot",
     Tipo("IR"),
     {Costeada("A1", "3", {{AuxPidelote, "0"}, {ColNroLote, "|-|L2|L2|"}})},
     {"1 1>- -/- 1", "2 1>- L2/- 1", "3 1>- L2/- 1"},
     {"1.3.01 D 30"}},
    {"a blank lot cell takes the fixed lot",
     [](Comprobante &v) {
         v.TC = QStringLiteral("IR");
         v.LoteFijo = QStringLiteral("F1");
     },
     {Costeada("A1", "2", {{AuxPidelote, "-1"}, {ColNroLote, "|-|L2|"}})},
     {"1 1>- F1/- 1", "2 1>- L2/- 1"},
     {"1.3.01 D 20"}},
    {"a blank lot cell of an article kept by lot",
     Tipo("IR"),
     {Costeada("A1", "3", {{AuxPidelote, "-1"}, {ColNroLote, "|-|L2|L2|"}})},
     {},
     {},
     "el artículo A1 (línea 1) tiene una unidad sin número de lote"},
    {"a transfer without destination",
     Traslado(""),
     {Costeada("A1", "4")},
     {},
     {},
     "el artículo A1 (línea 1) sale por traslado sin depósito de destino"},
    {"a transfer into the deposit it leaves",
     Traslado(" 1"),
     {Costeada("A3", "1", {{ColDeposito, "7"}}), Costeada("A1", "4")},
     {},
     {},
     "el artículo A1 (línea 2) sale por traslado hacia el mismo depósito 1"},
};

class Lineas : public LineaYStock, public ::testing::WithParamInterface<std::tuple<CasoLinea, bool>>
{};

TEST_P(Lineas, StockMovesWhatTheLineSaysAndTheJournalValuesIt)
{
    const auto &[c, recolecta] = GetParam();
    Comprobante v;
    if (c.argumentos)
        c.argumentos(v);
    const QString tc = v.TC;
    Grilla(c.lineas);
    if (*c.falla) {
        Postea(v, recolecta);
        EXPECT_TRUE(hayError);
        EXPECT_TRUE(sqlTemp.isEmpty()) << sqlTemp.left(300).toStdString();
        EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK")), 0);
        EXPECT_EQ(FilasDelDiario(tc), 0);
        EXPECT_EQ(operador.prompts(),
                  QStringList{QStringLiteral("No se grabó el comprobante: ") + QString::fromUtf8(c.falla) + "."});
        return;
    }
    PosteaYGraba(v, recolecta);
    EXPECT_FALSE(hayError);
    EXPECT_EQ(Movimientos(tc), c.movimientos);
    EXPECT_EQ(CuentasDeStock(tc), c.cuentas);
    EXPECT_DOUBLE_EQ(ValorAsentado(tc), ValorMovido(tc));
    EXPECT_EQ(DebeMenosHaber(tc), 0);
    EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Casos, Lineas, ::testing::Combine(::testing::ValuesIn(kCasos), ::testing::Bool()), PorCamino());

// A lot code one character longer than its column is refused when the
// voucher's statements run, and nothing of the voucher is written.
TEST_F(LineaYStock, ALotCodeLongerThanItsColumnWritesNothing)
{
    const QString lote = QString(25, QLatin1Char('L')) + QLatin1Char('1');
    Comprobante v;
    v.TC = QStringLiteral("IR");
    Grilla({Costeada("A1", "1", {{AuxPidelote, "-1"}, {ColNroLote, "|" + lote + "|"}})});
    Postea(v, true);
    EXPECT_FALSE(hayError);
    {
        Transaccion transaccion(gDB().gCnn());
        gDB().EjecutaConsultaSQL(sqlTemp);
        ASSERT_GT(gDB().gCnn().errors().Count(), 0);
        EXPECT_EQ(gDB().gCnn().errors().Item(0).NativeError, 8152);
    }
    EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_STOCK")), 0);
    EXPECT_EQ(FilasDelDiario(QStringLiteral("IR")), 0);
}

// Posted again after its stock rows were lost, a voucher gets them back but
// not a second entry: its journal stays as it was, and the operator is told.
TEST_F(LineaYStock, ASecondPostingNeverDoublesTheJournal)
{
    for (bool recolecta : {false, true}) {
        SCOPED_TRACE(recolecta ? "collected" : "run");
        [&] {
            Ejecuta(QStringLiteral("DELETE FROM MV_ASIENTOS"));
            const std::vector<FilaDeGrilla> lineas{Costeada("A1", "2"), Costeada("A3", "1")};
            DeNuevo(lineas);
            Comprobante v;
            PosteaYGraba(v, recolecta);
            const QStringList diario = Diario(QStringLiteral("RM"));
            EXPECT_EQ(diario.size(), 3);

            DeNuevo(lineas);
            clase.emplace();
            Comprobante otra;
            PosteaYGraba(otra, recolecta);
            EXPECT_FALSE(hayError);
            EXPECT_EQ(Movimientos(), (QStringList{"1 1>- -/- -2", "2 1>- -/- -1"}));
            EXPECT_EQ(Diario(QStringLiteral("RM")), diario);
            EXPECT_EQ(Cuenta(QStringLiteral("SELECT COUNT(*) FROM MV_ASIENTOS")), 3);
            ASSERT_EQ(operador.prompts().size(), 1);
            EXPECT_TRUE(operador.prompts()[0].startsWith(QStringLiteral("El comprobante ya ha Sido Cargado. Asiento ")))
                << operador.prompts()[0].toStdString();
        }();
    }
}

// Each row of an entry carries the entry's total, whether the lines were
// valued one by one or all at once.
TEST_F(LineaYStock, EveryRowOfAnEntryCarriesItsTotal)
{
    for (bool recolecta : {false, true}) {
        SCOPED_TRACE(recolecta ? "collected" : "run");
        Ejecuta(QStringLiteral("DELETE FROM MV_ASIENTOS"));
        DeNuevo({Costeada("A1", "2"), Costeada("A3", "1"), Costeada("A2", "4")});
        clase.emplace();
        Comprobante v;
        PosteaYGraba(v, recolecta);
        EXPECT_FALSE(hayError);
        EXPECT_EQ(CuentasDeStock(QStringLiteral("RM")), (QStringList{"1.3.01 H 30", "1.3.02 H 4"}));
        EXPECT_EQ(FilasDe(QStringLiteral("SELECT DISTINCT CABImporte FROM MV_ASIENTOS")), QStringList{"34"});
        EXPECT_EQ(FilasDelDiario(QStringLiteral("RM")), 3);
    }
}

// A return of 5 that the operator spreads over two lots, 2 and 3: the
// dialog hands back the magnitudes and the line keeps its sign, and posting
// puts them back into stock with a journal that values a return.
TEST_F(LineaYStock, AReturnSpreadOverTwoLotsEndToEnd)
{
    for (const char *lote : {"L1", "L2"})
        Ejecuta(
            QStringLiteral("INSERT INTO STK_SERIES_Y_LOTES (IdArticulo, IdDeposito, NroLote, CANTIDAD) "
                           "VALUES (%1, '   1', %2, 10)")
                .arg(TextoSQL(Codigo(QStringLiteral("A1"))), TextoSQL(QString::fromLatin1(lote).rightJustified(25))));
    for (bool recolecta : {false, true}) {
        SCOPED_TRACE(recolecta ? "collected" : "run");
        Ejecuta(QStringLiteral("DELETE FROM MV_ASIENTOS"));
        DeNuevo({Costeada("A1", "-5")});
        clase.emplace();
        grilla.MoveTo(1, ColCantidad);
        operador.drive([&](QDialog &d) {
            EnPantalla p(d);
            EXPECT_EQ(p.columna(0), (QStringList{"L1", "L2", ""}));
            p.pone(1, 3, QStringLiteral("2"));
            p.pone(2, 3, QStringLiteral("3"));
            p.tecla(Qt::Key_F2);
        });
        double cantidad = -5;
        QString deposito = QStringLiteral("1");
        QString lotes, cantidades;
        clase->PideSerieLote_Salidas(grilla,
                                     Codigo(QStringLiteral("A1")),
                                     QStringLiteral("TORNILLO"),
                                     cantidad,
                                     QString(),
                                     QString(),
                                     lotes,
                                     cantidades,
                                     true,
                                     false,
                                     false,
                                     deposito,
                                     true);
        EXPECT_EQ(operador.unexpected(), 0);
        EXPECT_EQ(cantidad, -5);
        EXPECT_EQ(lotes, "|" + posteo::Clave("L1") + "|" + posteo::Clave("L2") + "|" + posteo::Clave("") + "|");
        EXPECT_EQ(cantidades, QStringLiteral("|2|3|0|"));

        grilla.setTextMatrix(1, ColNroLote, lotes);
        grilla.setTextMatrix(1, ColNroSerie, cantidades);
        Comprobante v;
        PosteaYGraba(v, recolecta);
        EXPECT_FALSE(hayError);
        EXPECT_EQ(Movimientos(), (QStringList{"1 1>- L1/- 2", "2 1>- L2/- 3"}));
        EXPECT_EQ(CuentasDeStock(QStringLiteral("RM")), QStringList{"1.3.01 D 50"});
        EXPECT_EQ(DebeMenosHaber(QStringLiteral("RM")), 0);
    }
}

} // namespace
