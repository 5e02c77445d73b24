#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

namespace ui {

// A picture box: a surface that keeps what is drawn on it (a persistent
// image), with the run time's drawing members. Coordinates are in scale
// units: horizontally ScaleWidth units span the width, vertically ScaleHeight
// units the height; both start as pixels.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    // Draw modes used by the suite.
    static constexpr int vbCopyPen = 13;
    static constexpr int vbNotXorPen = 10;

    explicit PictureBox(QWidget *parent = nullptr);

    bool AutoRedraw() const { return m_autoRedraw; }
    void setAutoRedraw(bool on) { m_autoRedraw = on; }

    QColor BackColor() const { return m_backColor; }
    void setBackColor(const QColor &c);
    QColor ForeColor() const { return m_foreColor; }
    void setForeColor(const QColor &c) { m_foreColor = c; }

    double ScaleWidth() const;
    void setScaleWidth(double units);
    double ScaleHeight() const;
    void setScaleHeight(double units);

    int DrawMode() const { return m_drawMode; }
    void setDrawMode(int mode) { m_drawMode = mode; }

    double CurrentX() const { return m_currentX; }
    void setCurrentX(double x) { m_currentX = x; }
    double CurrentY() const { return m_currentY; }
    void setCurrentY(double y) { m_currentY = y; }

    // Text extent in scale units, in the box's font.
    double TextWidth(const QString &text) const;
    double TextHeight(const QString &text) const;

    // Clears to the back colour; CurrentX and CurrentY go back to 0.
    void Cls();
    // Writes the text at CurrentX, CurrentY in the fore colour; then the
    // position moves to the start of the next line.
    void Print(const QString &text);
    // A filled box between two corners in the colour, combined with the
    // surface by the draw mode (the "BF" form of Line).
    void LineBoxFilled(double x1, double y1, double x2, double y2, const QColor &colour);
    // Shows the drawing now, not at the next idle moment.
    void Refresh();

    // What is drawn (for callers that save or test it).
    const QImage &Image() const { return m_image; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void ensureImage();
    double toPixelsX(double x) const;
    double toPixelsY(double y) const;

    QImage m_image;
    bool m_autoRedraw = false;
    QColor m_backColor;
    QColor m_foreColor = Qt::black;
    double m_scaleWidth = 0;  // 0: pixels
    double m_scaleHeight = 0; // 0: pixels
    int m_drawMode = vbCopyPen;
    double m_currentX = 0;
    double m_currentY = 0;
};

} // namespace ui
