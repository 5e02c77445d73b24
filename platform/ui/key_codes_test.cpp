#include "platform/ui/key_codes.h"
#include "platform/ui/combo_box_array.h"
#include "platform/ui/list_view.h"
#include "platform/ui/text_box.h"

#include <QTest>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace {

using namespace ui;

struct KeyCase
{
    const char *nombre;
    int qtKey;
    Qt::KeyboardModifiers mods;
    int code;
    int shift;
    friend void PrintTo(const KeyCase &c, std::ostream *os) { *os << c.nombre; }
};

// The code and shift state a control's KeyDown received (-1: it was not raised).
struct Seen
{
    int code = -1;
    int shift = -1;
};

// Each control that raises KeyDown, built and listened to.
struct Control
{
    const char *nombre;
    std::function<std::unique_ptr<QWidget>(Seen &)> crea;
};

template<typename W>
std::unique_ptr<QWidget> Escuchado(std::unique_ptr<W> w, Seen &seen)
{
    QObject::connect(w.get(), &W::KeyDown, [&seen](int &k, int s) {
        seen.code = k;
        seen.shift = s;
    });
    return w;
}

const Control kControles[] = {
    {"ListView",
     [](Seen &seen) {
         auto list = std::make_unique<ListView>();
         list->ColumnHeaders().Add(QStringLiteral("A"));
         return Escuchado(std::move(list), seen);
     }},
    {"TextBox", [](Seen &seen) { return Escuchado(std::make_unique<TextBox>(), seen); }},
    {"ComboBox", [](Seen &seen) { return Escuchado(std::make_unique<ComboBox>(0), seen); }},
};

class VirtualKeys : public ::testing::TestWithParam<KeyCase>
{};

// Every control gives a key the same code and shift state: the keypad's keys
// included, whose codes depend on the keypad modifier.
TEST_P(VirtualKeys, QtKeysBecomeThePlatformsCodesAndShiftMaskInEveryControl)
{
    const KeyCase &c = GetParam();
    EXPECT_EQ(VirtualKeyCode(c.qtKey, int(c.mods)), c.code);
    EXPECT_EQ(ShiftState(int(c.mods)), c.shift);
    for (const Control &control : kControles) {
        SCOPED_TRACE(control.nombre);
        Seen seen;
        const std::unique_ptr<QWidget> w = control.crea(seen);
        QTest::keyClick(w.get(), Qt::Key(c.qtKey), c.mods);
        EXPECT_EQ(seen.code, c.code == 0 ? -1 : c.code);
        EXPECT_EQ(seen.shift, c.code == 0 ? -1 : c.shift);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys,
    VirtualKeys,
    ::testing::Values(KeyCase{"letter_a", Qt::Key_A, Qt::NoModifier, 65, 0},
                      KeyCase{"shifted_letter_is_upper_code", Qt::Key_Z, Qt::ShiftModifier, 90, 1},
                      KeyCase{"ctrl_letter", Qt::Key_C, Qt::ControlModifier, 67, 2},
                      KeyCase{"digit_0", Qt::Key_0, Qt::NoModifier, 48, 0},
                      KeyCase{"digit_9", Qt::Key_9, Qt::NoModifier, 57, 0},
                      KeyCase{"keypad_1_no_shift_state", Qt::Key_1, Qt::KeypadModifier, 97, 0},
                      KeyCase{"keypad_9", Qt::Key_9, Qt::KeypadModifier, 105, 0},
                      KeyCase{"keypad_0", Qt::Key_0, Qt::KeypadModifier, 96, 0},
                      KeyCase{"shift_keypad_5", Qt::Key_5, Qt::KeypadModifier | Qt::ShiftModifier, 101, 1},
                      KeyCase{"keypad_multiply", Qt::Key_Asterisk, Qt::KeypadModifier, 106, 0},
                      KeyCase{"keypad_add", Qt::Key_Plus, Qt::KeypadModifier, 107, 0},
                      KeyCase{"main_plus", Qt::Key_Plus, Qt::ShiftModifier, 187, 1},
                      KeyCase{"keypad_subtract", Qt::Key_Minus, Qt::KeypadModifier, 109, 0},
                      KeyCase{"main_minus", Qt::Key_Minus, Qt::NoModifier, 189, 0},
                      KeyCase{"keypad_decimal", Qt::Key_Period, Qt::KeypadModifier, 110, 0},
                      KeyCase{"ctrl_keypad_divide", Qt::Key_Slash, Qt::KeypadModifier | Qt::ControlModifier, 111, 2},
                      KeyCase{"f1", Qt::Key_F1, Qt::NoModifier, 112, 0},
                      KeyCase{"f5", Qt::Key_F5, Qt::NoModifier, 116, 0},
                      KeyCase{"f12", Qt::Key_F12, Qt::NoModifier, 123, 0},
                      KeyCase{"insert", Qt::Key_Insert, Qt::NoModifier, 45, 0},
                      KeyCase{"shift_insert", Qt::Key_Insert, Qt::ShiftModifier, 45, 1},
                      KeyCase{"ctrl_insert", Qt::Key_Insert, Qt::ControlModifier, 45, 2},
                      KeyCase{"alt_insert", Qt::Key_Insert, Qt::AltModifier, 45, 4},
                      KeyCase{"ctrl_shift_insert", Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier, 45, 3},
                      KeyCase{"delete", Qt::Key_Delete, Qt::NoModifier, 46, 0},
                      KeyCase{"return", Qt::Key_Return, Qt::NoModifier, 13, 0},
                      KeyCase{"keypad_enter", Qt::Key_Enter, Qt::KeypadModifier, 13, 0},
                      KeyCase{"backspace", Qt::Key_Backspace, Qt::NoModifier, 8, 0},
                      KeyCase{"escape", Qt::Key_Escape, Qt::NoModifier, 27, 0},
                      KeyCase{"space", Qt::Key_Space, Qt::NoModifier, 32, 0},
                      KeyCase{"page_up", Qt::Key_PageUp, Qt::NoModifier, 33, 0},
                      KeyCase{"page_down", Qt::Key_PageDown, Qt::NoModifier, 34, 0},
                      KeyCase{"up", Qt::Key_Up, Qt::NoModifier, 38, 0},
                      KeyCase{"down", Qt::Key_Down, Qt::NoModifier, 40, 0},
                      KeyCase{"not_in_the_table", Qt::Key_VolumeUp, Qt::NoModifier, 0, 0}),
    [](const auto &info) { return std::string(info.param.nombre); });

} // namespace
