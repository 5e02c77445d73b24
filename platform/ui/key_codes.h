#pragma once

namespace ui {

// The platform's virtual-key code of a Qt key (Enter 13, Escape 27, Up 38,
// Down 40, F2 113, letters 65-90, digits 48-57); 0 for a key it has none for.
int VirtualKeyCode(int qtKey);

// The shift state of Qt modifiers: Shift 1, Ctrl 2, Alt 4, added together.
int ShiftState(int qtModifiers);

} // namespace ui
