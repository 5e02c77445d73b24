#include "platform/ui/key_codes.h"

#include <QKeyEvent>
#include <Qt>

namespace ui {

int VirtualKeyCode(int qtKey, int qtModifiers)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (qtModifiers & Qt::KeypadModifier) ? vbKeyNumpad0 + (qtKey - Qt::Key_0) : qtKey;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey; // Qt's letters are the upper-case codes 65-90
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return vbKeyF1 + (qtKey - Qt::Key_F1);
    const bool keypad = qtModifiers & Qt::KeypadModifier;
    switch (qtKey) {
    case Qt::Key_Backspace:
        return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return vbKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vbKeyReturn;
    case Qt::Key_Shift:
        return vbKeyShift;
    case Qt::Key_Control:
        return vbKeyControl;
    case Qt::Key_Alt:
        return vbKeyMenu;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return vbKeyEscape;
    case Qt::Key_Space:
        return vbKeySpace;
    case Qt::Key_PageUp:
        return vbKeyPageUp;
    case Qt::Key_PageDown:
        return vbKeyPageDown;
    case Qt::Key_End:
        return vbKeyEnd;
    case Qt::Key_Home:
        return vbKeyHome;
    case Qt::Key_Left:
        return vbKeyLeft;
    case Qt::Key_Up:
        return vbKeyUp;
    case Qt::Key_Right:
        return vbKeyRight;
    case Qt::Key_Down:
        return vbKeyDown;
    case Qt::Key_Print:
        return 44;
    case Qt::Key_Insert:
        return vbKeyInsert;
    case Qt::Key_Delete:
        return vbKeyDelete;
    case Qt::Key_Meta:
        return 91;
    case Qt::Key_Menu:
        return 93;
    case Qt::Key_Asterisk:
        return keypad ? vbKeyMultiply : 0;
    case Qt::Key_Plus:
        return keypad ? vbKeyAdd : 187;
    case Qt::Key_Minus:
        return keypad ? vbKeySubtract : 189;
    case Qt::Key_Period:
        return keypad ? vbKeyDecimal : 190;
    case Qt::Key_Slash:
        return keypad ? vbKeyDivide : 191;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    // The punctuation keys of a US keyboard.
    case Qt::Key_Semicolon:
        return 186;
    case Qt::Key_Equal:
        return 187;
    case Qt::Key_Comma:
        return 188;
    case Qt::Key_QuoteLeft:
        return 192;
    case Qt::Key_BracketLeft:
        return 219;
    case Qt::Key_Backslash:
        return 220;
    case Qt::Key_BracketRight:
        return 221;
    case Qt::Key_Apostrophe:
        return 222;
    default:
        return 0;
    }
}

int ShiftState(int qtModifiers)
{
    int state = 0;
    if (qtModifiers & Qt::ShiftModifier)
        state |= vbShiftMask;
    if (qtModifiers & Qt::ControlModifier)
        state |= vbCtrlMask;
    if (qtModifiers & Qt::AltModifier)
        state |= vbAltMask;
    return state;
}

KeyOutcome DispatchKey(QKeyEvent &event,
                       const std::function<void(int &KeyCode, int Shift)> &keyDown,
                       const std::function<void(int &KeyAscii)> &keyPress)
{
    KeyOutcome outcome;
    const int modifiers = int(event.modifiers());
    int code = VirtualKeyCode(event.key(), modifiers);
    if (code != 0) {
        keyDown(code, ShiftState(modifiers));
        if (code == 0) {
            outcome.cancelled = true;
            event.accept();
            return outcome;
        }
    }
    if (!keyPress || event.text().isEmpty())
        return outcome;
    outcome.typed = event.text().at(0).unicode();
    outcome.keyAscii = outcome.typed;
    keyPress(outcome.keyAscii);
    outcome.cancelled = outcome.keyAscii == 0;
    if (outcome.cancelled)
        event.accept();
    return outcome;
}

} // namespace ui
