#include "platform/ui/units.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using namespace ui;

TEST(Colours, BGRNumbersAndBack)
{
    struct Case
    {
        long bgr;
        QColor rgb;
    } cases[] = {{0x000000, QColor(0, 0, 0)},
                 {0xFFFFFF, QColor(255, 255, 255)},
                 {0x0000FF, QColor(255, 0, 0)},
                 {0x00FF00, QColor(0, 255, 0)},
                 {0xFF0000, QColor(0, 0, 255)},
                 {0xC0E0FF, QColor(0xFF, 0xE0, 0xC0)}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bgr);
        EXPECT_EQ(FromBGR(c.bgr), c.rgb);
        EXPECT_EQ(ToBGR(c.rgb), c.bgr);
    }
    // A system colour (high bit set) is the palette's, not a stray blue.
    EXPECT_EQ(FromBGR(long(0x8000000F)), QGuiApplication::palette().color(QPalette::Button));
    EXPECT_EQ(FromBGR(-2147483633L), QGuiApplication::palette().color(QPalette::Button));
}

TEST(Twips, OneInchIsTheScreensLogicalDpi)
{
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    EXPECT_EQ(TwipsToPixels(1440), qRound(dpi));
    EXPECT_EQ(TwipsToPixels(0), 0);
    EXPECT_EQ(TwipsToPixels(720), qRound(dpi / 2));
}

TEST(WidthOfX, FollowsTheFontAndZeroHides)
{
    QFont small = QGuiApplication::font();
    small.setPointSize(8);
    QFont large = small;
    large.setPointSize(24);
    EXPECT_EQ(WidthOfX(small, 0), 0);
    EXPECT_EQ(WidthOfX(small, -3), 0);
    EXPECT_EQ(WidthOfX(small, 11), QFontMetrics(small).horizontalAdvance(QStringLiteral("XXXXXXXXXXX")));
    EXPECT_GT(WidthOfX(large, 11), WidthOfX(small, 11));
    EXPECT_GT(WidthOfX(small, 12), WidthOfX(small, 11));
}

// The forms size their columns in twips, in their own font.
TEST(WidthOfX, InTwipsIsTheWidgetsFontsWidth)
{
    QWidget w;
    QFont f = QGuiApplication::font();
    f.setPointSize(8);
    w.setFont(f);
    EXPECT_EQ(WidthOfX(w, 0), 0);
    EXPECT_EQ(WidthOfX(w, 11), TextWidth(w, QStringLiteral("XXXXXXXXXXX")));
    EXPECT_EQ(WidthOfX(w, 11), PixelsToTwips(WidthOfX(f, 11)));
    const int chica = WidthOfX(w, 11);
    f.setPointSize(24);
    w.setFont(f);
    EXPECT_GT(WidthOfX(w, 11), chica);
}

} // namespace
