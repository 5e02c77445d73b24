#pragma once

#include <functional>

class QKeyEvent;

// Keys as the suite's handlers receive them: the platform's virtual-key codes
// and a shift mask.
namespace ui {

enum KeyCodeConstants : int {
    vbKeyBack = 8,
    vbKeyTab = 9,
    vbKeyReturn = 13,
    vbKeyShift = 16,
    vbKeyControl = 17,
    vbKeyMenu = 18,
    vbKeyEscape = 27,
    vbKeySpace = 32,
    vbKeyPageUp = 33,
    vbKeyPageDown = 34,
    vbKeyEnd = 35,
    vbKeyHome = 36,
    vbKeyLeft = 37,
    vbKeyUp = 38,
    vbKeyRight = 39,
    vbKeyDown = 40,
    vbKeyInsert = 45,
    vbKeyDelete = 46,
    vbKey0 = 48,
    vbKeyA = 65,
    vbKeyNumpad0 = 96,
    vbKeyMultiply = 106,
    vbKeyAdd = 107,
    vbKeySubtract = 109,
    vbKeyDecimal = 110,
    vbKeyDivide = 111,
    vbKeyF1 = 112,
    vbKeyF5 = 116,
    vbKeyF12 = 123,
};

enum ShiftConstants : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

// The platform's virtual-key code of a Qt key and its modifiers; 0 for a key
// it has none for. Letters are 65-90 whatever the case, digits 48-57; digits
// typed on the keypad are 96-105, and any other keypad key has the code of its
// main-keyboard twin.
int VirtualKeyCode(int qtKey, int qtModifiers = 0);

// The shift state of Qt modifiers: Shift 1, Ctrl 2, Alt 4, added together;
// the keypad is no shift state.
int ShiftState(int qtModifiers);

// What a control's handlers made of a key.
struct KeyOutcome
{
    // A handler set what it was given to 0: the control does nothing with the key.
    bool cancelled = false;
    // The character the key types (0: none), and what KeyPress left of it.
    int typed = 0;
    int keyAscii = 0;
};

// A key's way through a control's handlers: KeyDown with its code and shift
// state (only a key that has a code), then, unless cancelled, KeyPress with
// the character it types. A control without KeyPress passes none. A cancelled
// key's event is accepted: it goes no further.
KeyOutcome DispatchKey(QKeyEvent &event,
                       const std::function<void(int &KeyCode, int Shift)> &keyDown,
                       const std::function<void(int &KeyAscii)> &keyPress = {});

} // namespace ui
