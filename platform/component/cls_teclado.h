#pragma once

namespace ui {
class TextBox;
}

// Keys of the in-cell editors: which keys end an edit, and which characters a
// box lets through.
class ClsTeclado
{
public:
    // Enter (13), Escape (27), Up (38) and Down (40) end an edit.
    bool EsTeclaFinEdicion(int KeyCode) const;

    // Filters a character typed into the box; KeyAscii 0 refuses it. Control
    // characters (below 32) always pass. A box whose DataField is "Cantidad"
    // takes digits, one decimal mark ("," becomes ".") and a leading "-";
    // any other box refuses "|" and CHR(255), the separators of the pipe
    // lists its value ends up in.
    void FiltraTecla(const ui::TextBox &Texto, int &KeyAscii) const;
};
