#include "platform/component/cls_teclado.h"

#include "platform/runtime/strings.h"
#include "platform/ui/key_codes.h"
#include "platform/ui/text_box.h"

namespace {

// The box's text as it will be once the selection is replaced by what is typed.
QString TextoSinSeleccion(const ui::TextBox &box)
{
    QString text = box.text();
    if (box.hasSelectedText())
        text.remove(box.selectionStart(), box.selectedText().size());
    return text;
}

int PosicionDeEscritura(const ui::TextBox &box)
{
    return box.hasSelectedText() ? box.selectionStart() : box.cursorPosition();
}

} // namespace

bool ClsTeclado::EsTeclaFinEdicion(int KeyCode) const
{
    return KeyCode == ui::vbKeyReturn || KeyCode == ui::vbKeyEscape || KeyCode == ui::vbKeyUp
           || KeyCode == ui::vbKeyDown;
}

void ClsTeclado::FiltraTecla(const ui::TextBox &Texto, int &KeyAscii) const
{
    if (KeyAscii < 32)
        return;
    if (!vb::EqualsText(Texto.DataField().trimmed(), QStringLiteral("Cantidad"))) {
        if (KeyAscii == '|' || KeyAscii == 255)
            KeyAscii = 0;
        return;
    }
    if (KeyAscii >= '0' && KeyAscii <= '9')
        return;
    const QString resto = TextoSinSeleccion(Texto);
    if (KeyAscii == '.' || KeyAscii == ',') {
        KeyAscii = resto.contains(QLatin1Char('.')) ? 0 : '.';
        return;
    }
    if (KeyAscii == '-') {
        if (PosicionDeEscritura(Texto) != 0 || resto.contains(QLatin1Char('-')))
            KeyAscii = 0;
        return;
    }
    KeyAscii = 0;
}
