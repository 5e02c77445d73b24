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
// The same in twips, in the widget's font: how the forms size their columns.
int WidthOfX(const QWidget &obj, int n);

// The primary screen's width in twips.
double ScreenWidthTwips();

// A widget's position and size in twips. What is set reads back unchanged
// until the widget is moved or resized by other means (the user, a layout);
// then its pixels are read back. A window's Width and Height are its outer
// size, title bar and borders included. A negative width or height raises
// error 380 and leaves the widget as it was.
double Left(const QWidget &w);
double Top(const QWidget &w);
double Width(const QWidget &w);
double Height(const QWidget &w);
void SetLeft(QWidget &w, double twips);
void SetTop(QWidget &w, double twips);
void SetWidth(QWidget &w, double twips);
void SetHeight(QWidget &w, double twips);
void Move(QWidget &w, double left, double top, double width, double height);

} // namespace ui
