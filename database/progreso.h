#pragma once

#include "platform/runtime/variant.h"

#include <QString>

#include <cstdint>

namespace ui {
class PictureBox;
}

// Paints a progress strip into the picture: the caption (text, " ", the
// percentage rounded, "%") centred, and a bar from the left edge to the
// percentage in the colour (RGB, 255 is red), combined Not-Xor-Pen with what
// lies under it. Repaints at once.
void MuestraProgreso(ui::PictureBox &picture, const Variant &percentage, std::int32_t colour, const QString &text);

// The strip's caption: text, " ", the percentage rounded to a whole number
// (nothing for 0) and "%".
QString TextoProgreso(const QString &text, double percentage);
