#include "lots/lotes_grilla.h"

#include "platform/runtime/regional.h"
#include "tests/support/grilla.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace LotesGrilla;

const QString Y = QString(QChar(0xFF));

TEST(LotesGrilla, OneQuantityTextWhateverTheRegionalMark)
{
    for (bool coma : {false, true}) {
        SCOPED_TRACE(coma);
        std::optional<vb::ScopedRegional> regional;
        if (coma)
            regional.emplace(vb::CommaDecimalSettings());
        EXPECT_EQ(TextoCantidad(0.1 + 0.2), QStringLiteral("0.3"));
        EXPECT_EQ(TextoCantidad(2.5), QStringLiteral("2.5"));
        EXPECT_EQ(TextoCantidad(40000.0), QStringLiteral("40000"));
        EXPECT_EQ(TextoCantidad(-0.0), QStringLiteral("0"));
        EXPECT_EQ(TextoCantidad(Currency::fromScaled(12345)), QStringLiteral("1.2345"));
        EXPECT_EQ(TextoCantidad(Currency::fromScaled(-20000)), QStringLiteral("-2"));
        // What is written reads back the same both ways.
        EXPECT_EQ(ValorInicial(TextoCantidad(1.25)), Cantidad(TextoCantidad(1.25)));
    }
}

TEST(LotesGrilla, AColumnsListHasOneItemPerRowAndNothingWhenAllAreBlank)
{
    const struct
    {
        const char *nombre;
        std::vector<FilaDeGrilla> filas;
        QString lista;
    } casos[] = {
        {"Values", {{}, {{2, "L1"}}, {{2, " L2 "}}}, QStringLiteral("|L1|L2|")},
        {"BlankIsDash", {{}, {{2, "L1"}}, {}, {{2, "  "}}}, QStringLiteral("|L1|-|-|")},
        {"AllBlank", {{}, {}, {{2, " "}}}, QString()},
        {"NoRows", {{}}, QString()},
        {"SeparatorsNeverReachAnItem", {{}, {{2, "A|B"}}, {{2, "C" + Y}}, {{2, "|"}}}, QStringLiteral("|AB|C|-|")},
    };
    for (const auto &k : casos) {
        SCOPED_TRACE(k.nombre);
        ui::FlexGrid g;
        LlenaGrilla(g, 4, k.filas);
        EXPECT_EQ(ListaDeColumna(g, 2), k.lista);
    }
}

TEST(LotesGrilla, StockKeysJoinTheTrimmedLotAndSerial)
{
    ui::FlexGrid g;
    LlenaGrilla(g, 4, {{}, {{0, " L1 "}, {1, "S1 "}}, {{0, "L2"}}, {{1, "S3"}}, {}});
    EXPECT_EQ(ClaveDeFila(g, 1), "L1" + Y + "S1");
    EXPECT_EQ(ListaDeClaves(g), "|L1" + Y + "S1|L2" + Y + "|" + Y + "S3|" + Y + "|");
    LlenaGrilla(g, 4, {{}});
    EXPECT_EQ(ListaDeClaves(g), QString());
}

} // namespace
