#pragma once

#include <QColor>
#include <QString>

class QFont;
class QWidget;

// The suite's units: colours as it stores them, twips, and widths given as
// "n X" (the width of n capital letters X in a form's font).
namespace ui {

// Colours as the suite stores them: &HBBGGRR; with the high bit set, a
// system colour of the palette.
QColor FromBGR(long bgr);
long ToBGR(const QColor &color);

// 1440 twips to the inch, at the screen's logical resolution.
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);

// The width of a text in the widget's font, in twips: a form's TextWidth,
// by which the voucher grids measure their columns.
int TextWidth(const QWidget &obj, const QString &text);

// The width in pixels of n capital letters "X" in the font (0 for n <= 0):
// column widths are written in this unit so they follow the form's font.
int WidthOfX(const QFont &font, int n);

} // namespace ui
