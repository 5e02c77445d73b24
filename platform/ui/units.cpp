#include "platform/ui/units.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <cstdint>

namespace ui {

namespace {

// System colours are stored with the high bit set and the colour index below.
QColor systemColour(std::uint32_t index)
{
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 5: return pal.color(QPalette::Base);          // window background
    case 8: return pal.color(QPalette::Text);          // window text
    case 13: return pal.color(QPalette::Highlight);
    case 14: return pal.color(QPalette::HighlightedText);
    case 15: return pal.color(QPalette::Button);       // button face
    case 16: return pal.color(QPalette::Dark);         // button shadow
    case 17: return pal.color(QPalette::PlaceholderText);
    case 18: return pal.color(QPalette::ButtonText);
    case 20: return pal.color(QPalette::Light);        // button highlight
    case 24: return pal.color(QPalette::ToolTipBase);
    case 23: return pal.color(QPalette::ToolTipText);
    default: return pal.color(QPalette::Window);
    }
}

} // namespace

QColor FromBGR(long bgr)
{
    const auto value = static_cast<std::uint32_t>(bgr);
    if (value & 0x80000000u)
        return systemColour(value & 0xFFu);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

long ToBGR(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return long(rgb.red()) | (long(rgb.green()) << 8) | (long(rgb.blue()) << 16);
}

int TwipsToPixels(int twips)
{
    double dpi = 96.0;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchX();
    return int(std::lround(twips * dpi / 1440.0));
}

int PixelsToTwips(int pixels)
{
    double dpi = 96.0;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchX();
    return int(std::lround(pixels * 1440.0 / dpi));
}

int TextWidth(const QWidget &obj, const QString &text)
{
    return PixelsToTwips(QFontMetrics(obj.font()).horizontalAdvance(text));
}

int WidthOfX(const QFont &font, int n)
{
    if (n <= 0)
        return 0;
    return QFontMetrics(font).horizontalAdvance(QString(n, QLatin1Char('X')));
}

} // namespace ui
