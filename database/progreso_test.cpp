#include "database/progreso.h"

#include "platform/runtime/vberror.h"
#include "platform/ui/picture_box.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

constexpr QRgb kBlanco = 0xFFFFFFFF;
constexpr QRgb kRojo = 0xFFFF0000;
constexpr QRgb kNegro = 0xFF000000;
constexpr QRgb kCian = 0xFF00FFFF; // the bar over black text

class ProgressStrip : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pic.resize(200, 24);
        pic.setBackColor(Qt::white);
        pic.setForeColor(Qt::black);
    }
    // Colours that occur in the columns [from, to).
    QSet<QRgb> colores(int from, int to) const
    {
        QSet<QRgb> out;
        const QImage &img = pic.Image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = from; x < to; ++x)
                out.insert(img.pixel(x, y));
        return out;
    }
    ui::PictureBox pic;
};

TEST(TextoProgreso, RoundsAndShowsNothingForZero)
{
    const std::pair<double, const char *> cases[] = {{0, "Borrando %"},
                                                     {33.4, "Borrando 33%"},
                                                     {99.5, "Borrando 100%"},
                                                     {100, "Borrando 100%"},
                                                     {0.4, "Borrando %"}};
    for (const auto &[pct, texto] : cases) {
        SCOPED_TRACE(pct);
        EXPECT_EQ(TextoProgreso(QStringLiteral("Borrando"), pct), QString::fromUtf8(texto));
    }
}

TEST_F(ProgressStrip, BarEndsAtThePercentage)
{
    struct Case
    {
        double pct;
        int lastBarColumn; // -1: no bar
    };
    const Case cases[] = {{0, -1}, {33.4, 66}, {50, 99}, {100, 199}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pct);
        MuestraProgreso(pic, c.pct, 255, QStringLiteral("Comprobantes borrados"));
        EXPECT_TRUE(pic.AutoRedraw());
        EXPECT_EQ(pic.ScaleWidth(), 100.0);
        EXPECT_EQ(pic.DrawMode(), ui::PictureBox::vbNotXorPen);
        const QImage &img = pic.Image();
        // Row 0 holds no text: red under the bar, white after it.
        if (c.lastBarColumn >= 0) {
            EXPECT_EQ(img.pixel(0, 0), kRojo);
            EXPECT_EQ(img.pixel(c.lastBarColumn, 0), kRojo);
        }
        if (c.lastBarColumn < 199) {
            EXPECT_EQ(img.pixel(c.lastBarColumn + 1, 0), kBlanco);
        }
    }
}

TEST_F(ProgressStrip, CaptionUnderTheBarShowsInverted)
{
    MuestraProgreso(pic, 100, 255, QStringLiteral("Comprobantes borrados"));
    const QSet<QRgb> todo = colores(0, 200);
    EXPECT_TRUE(todo.contains(kRojo));
    EXPECT_TRUE(todo.contains(kCian)) << "the caption is drawn and combined with the bar";
    EXPECT_FALSE(todo.contains(kBlanco));
    EXPECT_FALSE(todo.contains(kNegro));

    MuestraProgreso(pic, 0, 255, QStringLiteral("Comprobantes borrados"));
    const QSet<QRgb> sinBarra = colores(0, 200);
    EXPECT_TRUE(sinBarra.contains(kNegro)) << "the caption shows in its own colour";
    EXPECT_FALSE(sinBarra.contains(kRojo));
}

TEST_F(ProgressStrip, EachCallRepaintsTheWholeStrip)
{
    MuestraProgreso(pic, 90, 255, QStringLiteral("x"));
    MuestraProgreso(pic, 10, 255, QStringLiteral("x"));
    EXPECT_EQ(pic.Image().pixel(150, 0), kBlanco);
    EXPECT_EQ(pic.Image().pixel(10, 0), kRojo);
}

TEST_F(ProgressStrip, CaptionIsCentred)
{
    MuestraProgreso(pic, 0, 255, QStringLiteral("Comprobantes borrados"));
    int left = 200, right = -1, top = 24, bottom = -1;
    const QImage &img = pic.Image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != kBlanco) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right) / 2.0, 100.0, 4.0);
    EXPECT_NEAR((top + bottom) / 2.0, 12.0, 4.0);
    pic.grab().save(QStringLiteral("/tmp/progress_0.png"));
    MuestraProgreso(pic, 33.4, 255, QStringLiteral("Comprobantes borrados"));
    pic.grab().save(QStringLiteral("/tmp/progress_33.png"));
    MuestraProgreso(pic, 66, 255, QStringLiteral("Comprobantes borrados"));
    pic.grab().save(QStringLiteral("/tmp/progress_66.png"));
}

TEST_F(ProgressStrip, PercentageThatIsNoNumberRaises)
{
    EXPECT_THROW(MuestraProgreso(pic, Variant("mucho"), 255, QStringLiteral("x")), VbException);
}

} // namespace
