#include "lots/lista_pipe.h"

#include "tests/support/empresa.h"
#include "tests/support/error_provocado.h"

#include <gtest/gtest.h>

namespace {

using namespace ListaPipe;

const QString Y = QString(QChar(0xFF)); // CHR(255), the lot and serial separator

QStringList L(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *i : items)
        out << QString::fromUtf8(i);
    return out;
}

// The codec reports a malformed list through the error treatment; a test sees
// its box and answers it.
class Codec : public Empresa
{
protected:
    Codec()
        : Empresa({.abierta = false})
    {}

    void esperaUnError(int numero, const QString &rutina)
    {
        ASSERT_EQ(operador.requests().size(), 1u);
        const ui::Request &r = operador.requests().front();
        EXPECT_TRUE(r.prompt.startsWith(QStringLiteral("Ha ocurrido el Siguiente Error (%1) ").arg(numero)))
            << r.prompt.toStdString();
        EXPECT_TRUE(r.title.contains(QStringLiteral(" - ") + rutina)) << r.title.toStdString();
        EXPECT_EQ(r.style, ui::vbAbortRetryIgnore + ui::vbCritical);
    }
    void sinMensajes() { EXPECT_EQ(operador.requests().size(), 0u) << operador.prompts().join('\n').toStdString(); }
};

struct SplitCase
{
    const char *lista;
    QStringList arreglo;
    friend void PrintTo(const SplitCase &c, std::ostream *os) { *os << '"' << c.lista << '"'; }
};

class Descompone : public Codec, public ::testing::WithParamInterface<SplitCase>
{};

TEST_P(Descompone, TrimmedItemsAndOneTrailingEmptySlot)
{
    QStringList arreglo{QStringLiteral("lo que había")};
    DescomponeSerieLote(QString::fromUtf8(GetParam().lista), arreglo);
    EXPECT_EQ(arreglo, GetParam().arreglo);
    sinMensajes();
}

INSTANTIATE_TEST_SUITE_P(Listas,
                         Descompone,
                         ::testing::Values(SplitCase{"", L({""})},
                                           SplitCase{"|", L({""})},
                                           SplitCase{"ABC", L({""})},
                                           SplitCase{"||", L({"", ""})},
                                           SplitCase{"|A| |", L({"A", "", ""})},
                                           SplitCase{"|A|B|", L({"A", "B", ""})},
                                           SplitCase{"A|B|", L({"A", "B", ""})},
                                           SplitCase{"  |A|B|   ", L({"A", "B", ""})},
                                           SplitCase{"| a |-|", L({"a", "-", ""})},
                                           SplitCase{"|||", L({"", "", ""})}));

// Retry cannot get past the fault, so every answer keeps the items before it
// and the walk ends after one box.
class ListaMalFormada : public Codec, public ::testing::WithParamInterface<int>
{};

TEST_P(ListaMalFormada, EveryAnswerKeepsTheItemsBeforeTheFault)
{
    operador.answer(GetParam());
    QStringList arreglo;
    DescomponeSerieLote(QStringLiteral("|A|B|C"), arreglo);
    EXPECT_EQ(arreglo, L({"A", "B", ""}));
    esperaUnError(5, QStringLiteral("Cuenta_Series_Y_Lotes%"));

    operador.clear();
    operador.answer(GetParam());
    QStringList posiciones, cantidades, lotes;
    DescomponePosicionCantidadLote(QStringLiteral("|A*1|B|C*3|"), QStringLiteral("|L|"), posiciones, cantidades, lotes);
    EXPECT_EQ(posiciones, L({"A", ""}));
    EXPECT_EQ(cantidades, L({"1", ""}));
    EXPECT_EQ(lotes, L({""}));
    esperaUnError(5, QStringLiteral("Cuenta_Series_Y_Lotes%"));

    operador.clear();
    operador.answer(GetParam());
    EXPECT_EQ(Busca_Lotes_Series(QStringLiteral("|A|B|C"), QStringLiteral("Z")), 0);
    esperaUnError(5, QStringLiteral("Cuenta_Series_Lotes"));
}

INSTANTIATE_TEST_SUITE_P(Respuestas,
                         ListaMalFormada,
                         ::testing::Values(int(ui::vbAbort), int(ui::vbRetry), int(ui::vbIgnore)));

TEST_F(Codec, ASeparatorBeyondPosition32767IsTheOverflowError)
{
    const QString largo = QStringLiteral("|") + QString(40000, QLatin1Char('x')) + QStringLiteral("|");
    QStringList arreglo;
    operador.answer(ui::vbAbort);
    DescomponeSerieLote(QStringLiteral("|A") + largo, arreglo);
    EXPECT_EQ(arreglo, L({"A", ""}));
    esperaUnError(6, QStringLiteral("Cuenta_Series_Y_Lotes%"));
    EXPECT_EQ(RaisedNumber([&] { ExtraeSerieLote(largo, 1); }), 6);
    // Just inside the limit reads as any list.
    const QString cabe = QStringLiteral("|") + QString(32765, QLatin1Char('y')) + QStringLiteral("|");
    EXPECT_EQ(ExtraeSerieLote(cabe, 1).size(), 32765);
}

struct TextoCase
{
    const char *lista;
    const char *texto;
    friend void PrintTo(const TextoCase &c, std::ostream *os) { *os << '"' << c.lista << '"'; }
};

class Str : public Codec, public ::testing::WithParamInterface<TextoCase>
{};

TEST_P(Str, DistinctNonBlankItemsEachAfterABlank)
{
    EXPECT_EQ(StrSerieLote(QString::fromUtf8(GetParam().lista)), QString::fromUtf8(GetParam().texto));
    sinMensajes();
}

INSTANTIATE_TEST_SUITE_P(Listas,
                         Str,
                         ::testing::Values(TextoCase{"|B|a|A| |D|", " B a D"},
                                           TextoCase{"", ""},
                                           TextoCase{"| |  |", ""},
                                           TextoCase{"|-|-|", " -"},
                                           TextoCase{"|A|B|C", " A B"},
                                           TextoCase{"A|B|", " A B"},
                                           TextoCase{"| x1 |X1|", " x1"}));

struct CuentaCase
{
    const char *series;
    const char *lotes;
    bool sinConsolidar;
    int cuenta;
    friend void PrintTo(const CuentaCase &c, std::ostream *os)
    {
        *os << '"' << c.series << "\" \"" << c.lotes << '"' << (c.sinConsolidar ? " not consolidated" : "");
    }
};

class Cuenta : public Codec, public ::testing::WithParamInterface<CuentaCase>
{};

TEST_P(Cuenta, StockRowsOfALine)
{
    const CuentaCase &c = GetParam();
    EXPECT_EQ(Cuenta_Series_Lotes(QString::fromUtf8(c.series), QString::fromUtf8(c.lotes), c.sinConsolidar), c.cuenta);
    sinMensajes();
}

INSTANTIATE_TEST_SUITE_P(Listas,
                         Cuenta,
                         ::testing::Values(CuentaCase{"|S1|S2|S1|", "|L1|L2|L3|", false, 2},
                                           CuentaCase{"|S1|S2|S1|", "|L1|L2|L3|", true, 3},
                                           CuentaCase{"", "|L1|L1|-|", false, 2},
                                           CuentaCase{"", "|L1|L1|-|", true, 3},
                                           CuentaCase{"|s1|S1| |", "", false, 1},
                                           CuentaCase{"", "|L1|| |", true, 3},
                                           CuentaCase{"", "|L1|| |", false, 1},
                                           CuentaCase{"  ", "|L1|L2|", false, 0},
                                           CuentaCase{"", "", false, 0},
                                           CuentaCase{"", "", true, 0}));

struct ExtraeCase
{
    const char *lista;
    int posicion;
    const char *item;
    int error;
    friend void PrintTo(const ExtraeCase &c, std::ostream *os) { *os << '"' << c.lista << "\" at " << c.posicion; }
};

class Extrae : public Codec, public ::testing::WithParamInterface<ExtraeCase>
{};

TEST_P(Extrae, ItemKUntrimmed)
{
    const ExtraeCase &c = GetParam();
    QString item = QStringLiteral("sin tocar");
    EXPECT_EQ(RaisedNumber([&] { item = ExtraeSerieLote(QString::fromUtf8(c.lista), std::int16_t(c.posicion)); }),
              c.error);
    if (c.error == 0) {
        EXPECT_EQ(item, QString::fromUtf8(c.item));
    }
    sinMensajes(); // no handler of its own: the caller reports
}

INSTANTIATE_TEST_SUITE_P(Listas,
                         Extrae,
                         ::testing::Values(ExtraeCase{"|A|  B  |", 2, "  B  ", 0},
                                           ExtraeCase{"|A|B|", 3, "", 0},
                                           ExtraeCase{"|A|B|", 0, "", 0},
                                           ExtraeCase{"|A|B|", -1, "", 0},
                                           ExtraeCase{"|A|B", 1, "A", 0},
                                           ExtraeCase{"|A|B", 2, "", 5},
                                           ExtraeCase{"", 1, "", 0},
                                           ExtraeCase{"||", 1, "", 0},
                                           ExtraeCase{"  |A|B|  ", 1, "A", 0}));

TEST_F(Codec, CantidadCountsEmptyItemsAndShowsNothing)
{
    EXPECT_EQ(Cantidad_Series_Lotes(QString()), 0);
    EXPECT_EQ(Cantidad_Series_Lotes(QStringLiteral("   ")), 0);
    EXPECT_EQ(Cantidad_Series_Lotes(QStringLiteral("||")), 1);
    EXPECT_EQ(Cantidad_Series_Lotes(QStringLiteral("|A| |B|")), 3);
    sinMensajes();
}

TEST_F(Codec, InsertaCHR255ClosesEveryItemWithTheSeparator)
{
    EXPECT_EQ(InsertaCHR255(QStringLiteral("|X|")), QStringLiteral("|X") + Y + QStringLiteral("|"));
    EXPECT_EQ(InsertaCHR255(QStringLiteral("|A|B|")), QStringLiteral("|A") + Y + QStringLiteral("|B") + Y + "|");
    EXPECT_EQ(InsertaCHR255(QString()), QStringLiteral("|"));
    // A list without its leading bar keeps its first item.
    EXPECT_EQ(InsertaCHR255(QStringLiteral("A|B|")), QStringLiteral("|A") + Y + QStringLiteral("|B") + Y + "|");
    EXPECT_EQ(SeparadorLoteSerie(), Y);
}

// The reader of a caller that refuses to guess: every item once, and why a
// list does not read cleanly, with no box.
TEST_F(Codec, LeeItemsTellsAListThatDoesNotReadCleanly)
{
    const QString largaBien = QStringLiteral("|") + QString(32765, QLatin1Char('A')) + QStringLiteral("|");
    const QString larga = QStringLiteral("|") + QString(32766, QLatin1Char('A')) + QStringLiteral("|");
    struct Caso
    {
        QString lista;
        Lectura lectura;
        QStringList items;
    };
    const std::vector<Caso> casos{
        {QStringLiteral("|A| B |  "), Lectura::Bien, L({"A", " B "})},
        {QStringLiteral("A|B|"), Lectura::Bien, L({"A", "B"})},
        {QStringLiteral("||"), Lectura::Bien, L({""})},
        {QString(), Lectura::Bien, {}},
        {QStringLiteral("|"), Lectura::Bien, {}},
        {QStringLiteral("|S1|S2|S3"), Lectura::SinCerrar, L({"S1", "S2"})},
        {QStringLiteral("|L1") + Y + QStringLiteral("S1|L2") + Y, Lectura::SinCerrar, {QStringLiteral("L1") + Y + "S1"}},
        {largaBien, Lectura::Bien, {largaBien.mid(1, 32765)}},
        {larga, Lectura::Larga, {}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.lista.left(40).toStdString());
        QStringList items{QStringLiteral("antes")};
        EXPECT_EQ(LeeItems(c.lista, items), c.lectura);
        EXPECT_EQ(items, c.items);
    }
    sinMensajes();
}

struct BuscaCase
{
    const char *lista;
    const char *buscado;
    int lugar;
    friend void PrintTo(const BuscaCase &c, std::ostream *os) { *os << '"' << c.lista << "\" " << c.buscado; }
};

class Busca : public Codec, public ::testing::WithParamInterface<BuscaCase>
{};

TEST_P(Busca, PlaceOfTheItemOrWhereANewOneWouldGo)
{
    const BuscaCase &c = GetParam();
    EXPECT_EQ(Busca_Lotes_Series(QString::fromUtf8(c.lista), QString::fromUtf8(c.buscado)), c.lugar);
    sinMensajes();
}

INSTANTIATE_TEST_SUITE_P(Listas,
                         Busca,
                         ::testing::Values(BuscaCase{"|A|B|C|", "D", 4},
                                           BuscaCase{"|A|b|C|", " B ", 2},
                                           BuscaCase{"", "A", 0},
                                           BuscaCase{"|", "A", 0},
                                           BuscaCase{"|A||C|", "", 2},
                                           BuscaCase{"|A|B", "a", 1},
                                           BuscaCase{"||", "X", 2}));

TEST_F(Codec, LotKeysAreFoundWholeAndPositionsSplitAtTheFirstStar)
{
    const QString claves = QStringLiteral("|A") + Y + QStringLiteral("S1|B") + Y + QStringLiteral("|");
    EXPECT_EQ(Busca_Lotes_Series(claves, QStringLiteral("B") + Y), 2);
    EXPECT_EQ(Busca_Lotes_Series(claves, QStringLiteral("A") + Y), 3);

    QStringList posiciones, cantidades, lotes;
    DescomponePosicionCantidadLote(QStringLiteral("|A1*2*3| P2* 5 |*2|"),
                                   QStringLiteral("|L1||"),
                                   posiciones,
                                   cantidades,
                                   lotes);
    EXPECT_EQ(posiciones, L({"A1", "P2", "", ""}));
    EXPECT_EQ(cantidades, L({"2*3", " 5", "2", ""}));
    EXPECT_EQ(lotes, L({"L1", "", ""}));

    DescomponePosicionCantidadLote(QString(), QString(), posiciones, cantidades, lotes);
    EXPECT_EQ(posiciones, L({""}));
    EXPECT_EQ(cantidades, L({""}));
    EXPECT_EQ(lotes, L({""}));
    sinMensajes();
}

} // namespace
