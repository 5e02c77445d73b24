#include "platform/component/component.h"

#include "platform/ui/text_box.h"

#include <gtest/gtest.h>

namespace {

TEST(Teclado, EnterEscapeUpAndDownEndAnEdit)
{
    const struct
    {
        int key;
        bool ends;
    } cases[] = {{13, true},
                 {27, true},
                 {38, true},
                 {40, true},
                 {9, false},
                 {37, false},
                 {39, false},
                 {113, false},
                 {65, false},
                 {0, false}};
    for (const auto &k : cases)
        EXPECT_EQ(gTeclado().EsTeclaFinEdicion(k.key), k.ends) << k.key;
}

struct Filtrado
{
    const char *campo; // the box's DataField
    const char *texto; // what the box holds
    int desde;         // caret, or start of the selection
    int seleccion;     // selected characters from desde
    int tecla;
    int resultado; // 0: refused
    friend void PrintTo(const Filtrado &c, std::ostream *os)
    {
        *os << c.campo << " '" << c.texto << "' at " << c.desde << '+' << c.seleccion << " key " << c.tecla;
    }
};

class FiltraTecla : public ::testing::TestWithParam<Filtrado>
{};

TEST_P(FiltraTecla, LetsThroughWhatTheCellCanHold)
{
    const Filtrado &k = GetParam();
    ui::TextBox box;
    box.setDataField(QString::fromUtf8(k.campo));
    box.setText(QString::fromUtf8(k.texto));
    if (k.seleccion > 0)
        box.setSelection(k.desde, k.seleccion);
    else
        box.setCursorPosition(k.desde);
    int tecla = k.tecla;
    gTeclado().FiltraTecla(box, tecla);
    EXPECT_EQ(tecla, k.resultado);
    EXPECT_EQ(box.text(), QString::fromUtf8(k.texto)) << "the filter only judges the key";
}

INSTANTIATE_TEST_SUITE_P(Casos,
                         FiltraTecla,
                         ::testing::Values(
                             // Lots and serials: anything but the list separators.
                             Filtrado{"", "L1", 2, 0, '|', 0},
                             Filtrado{"", "L1", 2, 0, 255, 0},
                             Filtrado{"", "", 0, 0, 'A', 'A'},
                             Filtrado{"", "", 0, 0, '-', '-'},
                             Filtrado{"", "", 0, 0, ',', ','},
                             Filtrado{"", "", 0, 0, '*', '*'},
                             Filtrado{"", "", 0, 0, 0xF1, 0xF1},
                             Filtrado{"", "x", 1, 0, 8, 8},
                             // Quantities: digits, one decimal mark written ".", a leading "-".
                             Filtrado{"Cantidad", "", 0, 0, '7', '7'},
                             Filtrado{"cantidad ", "2", 1, 0, ',', '.'},
                             Filtrado{"Cantidad", "2", 1, 0, '.', '.'},
                             Filtrado{"Cantidad", "2.5", 3, 0, '.', 0},
                             Filtrado{"Cantidad", "2.5", 3, 0, ',', 0},
                             Filtrado{"Cantidad", "2.5", 1, 2, ',', '.'},
                             Filtrado{"Cantidad", "", 0, 0, '-', '-'},
                             Filtrado{"Cantidad", "5", 0, 0, '-', '-'},
                             Filtrado{"Cantidad", "5", 1, 0, '-', 0},
                             Filtrado{"Cantidad", "-5", 0, 0, '-', 0},
                             Filtrado{"Cantidad", "-5", 0, 1, '-', '-'},
                             Filtrado{"Cantidad", "5", 1, 0, 'a', 0},
                             Filtrado{"Cantidad", "5", 1, 0, ' ', 0},
                             Filtrado{"Cantidad", "5", 1, 0, '|', 0},
                             Filtrado{"Cantidad", "5", 1, 0, '+', 0},
                             Filtrado{"Cantidad", "5", 1, 0, 8, 8}));

} // namespace
