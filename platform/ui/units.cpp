#include "platform/ui/units.h"

#include "platform/runtime/vberror.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QVariant>
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
    case 5:
        return pal.color(QPalette::Base); // window background
    case 8:
        return pal.color(QPalette::Text); // window text
    case 13:
        return pal.color(QPalette::Highlight);
    case 14:
        return pal.color(QPalette::HighlightedText);
    case 15:
        return pal.color(QPalette::Button); // button face
    case 16:
        return pal.color(QPalette::Dark); // button shadow
    case 17:
        return pal.color(QPalette::PlaceholderText);
    case 18:
        return pal.color(QPalette::ButtonText);
    case 20:
        return pal.color(QPalette::Light); // button highlight
    case 24:
        return pal.color(QPalette::ToolTipBase);
    case 23:
        return pal.color(QPalette::ToolTipText);
    default:
        return pal.color(QPalette::Window);
    }
}

int toPixels(double twips)
{
    return TwipsToPixels(int(std::lround(twips)));
}

enum class Edge { Left, Top, Width, Height };

const char *propertyName(Edge e)
{
    switch (e) {
    case Edge::Left:
        return "twipsLeft";
    case Edge::Top:
        return "twipsTop";
    case Edge::Width:
        return "twipsWidth";
    case Edge::Height:
        return "twipsHeight";
    }
    return "";
}

// A window's outer frame beyond its client area (nothing until it is shown).
QSize frameExtra(const QWidget &w)
{
    if (!w.isWindow())
        return {0, 0};
    const QRect outer = w.frameGeometry();
    const QRect inner = w.geometry();
    return {outer.width() - inner.width(), outer.height() - inner.height()};
}

int pixelsOf(const QWidget &w, Edge e)
{
    const QRect r = w.isWindow() ? w.frameGeometry() : w.geometry();
    switch (e) {
    case Edge::Left:
        return r.x();
    case Edge::Top:
        return r.y();
    case Edge::Width:
        return r.width();
    case Edge::Height:
        return r.height();
    }
    return 0;
}

double read(const QWidget &w, Edge e)
{
    const int now = pixelsOf(w, e);
    // Stored as (twips set, pixels they gave).
    const QVariant kept = w.property(propertyName(e));
    if (kept.isValid()) {
        const QPointF p = kept.toPointF();
        if (int(p.y()) == now)
            return p.x();
    }
    return PixelsToTwips(now);
}

void write(QWidget &w, Edge e, double twips)
{
    if ((e == Edge::Width || e == Edge::Height) && twips < 0)
        Raise(vberr::InvalidPropertyValue);
    const int px = toPixels(twips);
    // Kept before the widget moves: its own resize handler reads it back.
    w.setProperty(propertyName(e), QPointF(twips, px));
    const QSize extra = frameExtra(w);
    switch (e) {
    case Edge::Left:
        w.move(px, w.isWindow() ? w.frameGeometry().y() : w.y());
        break;
    case Edge::Top:
        w.move(w.isWindow() ? w.frameGeometry().x() : w.x(), px);
        break;
    case Edge::Width:
        w.resize(std::max(0, px - extra.width()), w.height());
        break;
    case Edge::Height:
        w.resize(w.width(), std::max(0, px - extra.height()));
        break;
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

int WidthOfX(const QWidget &obj, int n)
{
    return PixelsToTwips(WidthOfX(obj.font(), n));
}

double ScreenWidthTwips()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return screen->geometry().width() * 1440.0 / screen->logicalDotsPerInchX();
    return 0;
}

double Left(const QWidget &w)
{
    return read(w, Edge::Left);
}
double Top(const QWidget &w)
{
    return read(w, Edge::Top);
}
double Width(const QWidget &w)
{
    return read(w, Edge::Width);
}
double Height(const QWidget &w)
{
    return read(w, Edge::Height);
}
void SetLeft(QWidget &w, double twips)
{
    write(w, Edge::Left, twips);
}
void SetTop(QWidget &w, double twips)
{
    write(w, Edge::Top, twips);
}
void SetWidth(QWidget &w, double twips)
{
    write(w, Edge::Width, twips);
}
void SetHeight(QWidget &w, double twips)
{
    write(w, Edge::Height, twips);
}

void Move(QWidget &w, double left, double top, double width, double height)
{
    SetLeft(w, left);
    SetTop(w, top);
    SetWidth(w, width);
    SetHeight(w, height);
}

} // namespace ui
