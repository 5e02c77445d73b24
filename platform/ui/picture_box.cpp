#include "platform/ui/picture_box.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ui {

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
{
    m_backColor = palette().color(QPalette::Window);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize PictureBox::sizeHint() const
{
    return {200, 24};
}

void PictureBox::setBackColor(const QColor &c)
{
    m_backColor = c;
    Cls();
}

void PictureBox::ensureImage()
{
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (m_image.size() == wanted)
        return;
    // The kept drawing survives a resize; the new area takes the back colour.
    QImage grown(wanted, QImage::Format_RGB32);
    grown.fill(m_backColor);
    if (!m_image.isNull()) {
        QPainter p(&grown);
        p.drawImage(0, 0, m_image);
    }
    m_image = grown;
}

double PictureBox::ScaleWidth() const
{
    return m_scaleWidth > 0 ? m_scaleWidth : double(width());
}

void PictureBox::setScaleWidth(double units)
{
    m_scaleWidth = units;
}

double PictureBox::ScaleHeight() const
{
    return m_scaleHeight > 0 ? m_scaleHeight : double(height());
}

void PictureBox::setScaleHeight(double units)
{
    m_scaleHeight = units;
}

double PictureBox::toPixelsX(double x) const
{
    return width() > 0 ? x * width() / ScaleWidth() : 0.0;
}

double PictureBox::toPixelsY(double y) const
{
    return height() > 0 ? y * height() / ScaleHeight() : 0.0;
}

double PictureBox::TextWidth(const QString &text) const
{
    const double px = QFontMetricsF(font()).horizontalAdvance(text);
    return width() > 0 ? px * ScaleWidth() / width() : px;
}

double PictureBox::TextHeight(const QString &) const
{
    const double px = QFontMetricsF(font()).height();
    return height() > 0 ? px * ScaleHeight() / height() : px;
}

void PictureBox::Cls()
{
    ensureImage();
    m_image.fill(m_backColor);
    m_currentX = 0;
    m_currentY = 0;
    update();
}

void PictureBox::Print(const QString &text)
{
    ensureImage();
    {
        QPainter p(&m_image);
        p.setFont(font());
        p.setPen(m_foreColor);
        const QFontMetricsF fm(font());
        p.drawText(QPointF(toPixelsX(m_currentX), toPixelsY(m_currentY) + fm.ascent()), text);
    }
    m_currentX = 0;
    m_currentY += TextHeight(text);
    update();
}

void PictureBox::LineBoxFilled(double x1, double y1, double x2, double y2, const QColor &colour)
{
    ensureImage();
    // Pixel columns [left, right): a box of zero width paints nothing.
    const int left = std::clamp(int(std::lround(toPixelsX(std::min(x1, x2)))), 0, m_image.width());
    const int right = std::clamp(int(std::lround(toPixelsX(std::max(x1, x2)))), 0, m_image.width());
    const int top = std::clamp(int(std::lround(toPixelsY(std::min(y1, y2)))), 0, m_image.height());
    const int bottom = std::clamp(int(std::lround(toPixelsY(std::max(y1, y2)))), 0, m_image.height());
    const QRgb pen = colour.rgb();
    for (int y = top; y < bottom; ++y) {
        auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        for (int x = left; x < right; ++x) {
            if (m_drawMode == vbNotXorPen)
                line[x] = ~(pen ^ line[x]) | 0xFF000000u;
            else
                line[x] = pen;
        }
    }
    update();
}

void PictureBox::Refresh()
{
    // At once: the caller is in the middle of a long loop with no idle moment.
    repaint();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    ensureImage();
    QPainter p(this);
    p.drawImage(event->rect(), m_image, event->rect());
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    ensureImage();
    QWidget::resizeEvent(event);
}

} // namespace ui
