// Draws the voucher lookup's row icons (a sheet of paper per voucher type,
// with the type's letters, and the voided, approved and guarantee marks) at
// 16 and 32 pixels into lookup/iconos/, or, with --sistema, the program's own
// icon into database/iconos/. Run it again after changing a design; the
// program links the PNG files it writes, not this program.
//
// Usage: dibuja_iconos <folder of lookup/iconos>
//        dibuja_iconos --sistema <folder of database/iconos>

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

enum class Marca { Ninguna, Anulado, Aprobado, Garantia };

struct Icono
{
    const char *tag;
    const char *letras; // the band's letters; empty: ruled lines
    QColor banda;
    Marca marca;
};

// A sheet from (l, t) to (r, b) with its top right corner folded by f: the
// sheet's outline, and the fold's two edges (filled as a triangle).
struct Hoja
{
    QPainterPath sheet, fold;
};

Hoja hojaDoblada(double l, double t, double r, double b, double f)
{
    Hoja h;
    h.sheet.moveTo(l, t);
    h.sheet.lineTo(r - f, t);
    h.sheet.lineTo(r, t + f);
    h.sheet.lineTo(r, b);
    h.sheet.lineTo(l, b);
    h.sheet.closeSubpath();
    h.fold.moveTo(r - f, t);
    h.fold.lineTo(r - f, t + f);
    h.fold.lineTo(r, t + f);
    return h;
}

void hoja(QPainter &p, double s)
{
    const Hoja h = hojaDoblada(s * 0.16, s * 0.06, s * 0.84, s * 0.94, s * 0.24);
    p.setPen(QPen(QColor(0x55, 0x57, 0x53), s / 16.0));
    p.setBrush(QColor(0xfb, 0xfb, 0xf8));
    p.drawPath(h.sheet);
    p.setBrush(QColor(0xd3, 0xd7, 0xcf));
    p.drawPath(h.fold);
}

void rayas(QPainter &p, double s)
{
    p.setPen(QPen(QColor(0x88, 0x8a, 0x85), s / 16.0));
    for (double y = 0.42; y < 0.86; y += 0.14)
        p.drawLine(QPointF(s * 0.28, s * y), QPointF(s * 0.72, s * y));
}

void banda(QPainter &p, double s, const QColor &color, const QString &letras)
{
    // At 16 pixels the letters need most of the sheet's lower half to be read.
    const bool small = s < 24;
    const QRectF band = small ? QRectF(0, s * 0.44, s, s * 0.52) : QRectF(s * 0.04, s * 0.46, s * 0.92, s * 0.40);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRoundedRect(band, s * 0.06, s * 0.06);
    if (small)
        p.setRenderHint(QPainter::TextAntialiasing, false);
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setBold(true);
    font.setPixelSize(small ? 8 : int(s * 0.36));
    font.setHintingPreference(QFont::PreferFullHinting);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(band, Qt::AlignCenter, letras);
}

void marca(QPainter &p, double s, Marca m)
{
    const QRectF disc(s * 0.46, s * 0.02, s * 0.52, s * 0.52);
    switch (m) {
    case Marca::Ninguna:
        return;
    case Marca::Anulado: {
        p.setPen(QPen(Qt::white, s / 16.0));
        p.setBrush(QColor(0xcc, 0x00, 0x00));
        p.drawEllipse(disc);
        p.setPen(QPen(Qt::white, s * 0.09, Qt::SolidLine, Qt::RoundCap));
        const double in = s * 0.15;
        p.drawLine(disc.topLeft() + QPointF(in, in), disc.bottomRight() - QPointF(in, in));
        p.drawLine(disc.topRight() + QPointF(-in, in), disc.bottomLeft() + QPointF(in, -in));
        return;
    }
    case Marca::Aprobado: {
        p.setPen(QPen(Qt::white, s / 16.0));
        p.setBrush(QColor(0x4e, 0x9a, 0x06));
        p.drawEllipse(disc);
        p.setPen(QPen(Qt::white, s * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(disc.left() + disc.width() * 0.24, disc.top() + disc.height() * 0.52);
        tick.lineTo(disc.left() + disc.width() * 0.44, disc.top() + disc.height() * 0.72);
        tick.lineTo(disc.left() + disc.width() * 0.78, disc.top() + disc.height() * 0.30);
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        return;
    }
    case Marca::Garantia: {
        // A gold shield.
        QPainterPath shield;
        const double l = disc.left(), t = disc.top(), w = disc.width(), h = disc.height();
        shield.moveTo(l + w * 0.5, t);
        shield.lineTo(l + w, t + h * 0.18);
        shield.cubicTo(l + w, t + h * 0.65, l + w * 0.75, t + h * 0.85, l + w * 0.5, t + h);
        shield.cubicTo(l + w * 0.25, t + h * 0.85, l, t + h * 0.65, l, t + h * 0.18);
        shield.closeSubpath();
        p.setPen(QPen(QColor(0x8f, 0x59, 0x02), s / 16.0));
        p.setBrush(QColor(0xed, 0xd4, 0x00));
        p.drawPath(shield);
        return;
    }
    }
}

QImage dibuja(const Icono &icono, int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double s = size;
    hoja(p, s);
    const QString letras = QString::fromLatin1(icono.letras);
    if (letras.isEmpty())
        rayas(p, s);
    else
        banda(p, s, icono.banda, letras);
    marca(p, s, icono.marca);
    return image;
}

// The program's own mark: a blue tile holding a sheet with its corner
// folded and two ruled lines, plain enough to be read at 16 pixels.
QImage dibujaSistema(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QRectF tile(s * 0.03, s * 0.03, s * 0.94, s * 0.94);
    p.setPen(QPen(QColor(0x17, 0x36, 0x66), s / 16.0));
    p.setBrush(QColor(0x34, 0x65, 0xa4));
    p.drawRoundedRect(tile, s * 0.18, s * 0.18);

    // At 16 pixels the sheet's edges fall on whole pixels, to stay sharp.
    const auto px = [size](double v) { return size < 24 ? std::round(v) : v; };
    const Hoja h = hojaDoblada(px(s * 0.27), px(s * 0.17), px(s * 0.73), px(s * 0.83), px(s * 0.19));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(h.sheet);
    p.setBrush(QColor(0xb8, 0xc7, 0xdc));
    p.drawPath(h.fold);

    // Whole pixels at 16, so that the lines stay sharp.
    p.setRenderHint(QPainter::Antialiasing, size >= 24);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x4a, 0x87));
    const double grosor = std::max(1.0, std::round(s / 16.0));
    for (double y : {0.50, 0.66})
        p.drawRect(QRectF(std::round(s * 0.36), std::round(s * y), std::round(s * 0.28), grosor));
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--sistema")) {
        const QDir out(QString::fromLocal8Bit(argv[2]));
        for (int size : {16, 32}) {
            const QString folder = QString::number(size);
            out.mkpath(folder);
            const QString path = out.filePath(folder + QStringLiteral("/ICONVELGORA.png"));
            if (!dibujaSistema(size).save(path)) {
                std::fprintf(stderr, "no se pudo escribir %s\n", qPrintable(path));
                return 1;
            }
        }
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr,
                     "uso: dibuja_iconos <carpeta lookup/iconos>\n"
                     "     dibuja_iconos --sistema <carpeta database/iconos>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const Icono iconos[] = {
        {"PR", "PR", QColor(0x06, 0x98, 0x9a), Marca::Ninguna},
        {"Anulado", "", QColor(), Marca::Anulado},
        {"Aprobado", "", QColor(), Marca::Aprobado},
        {"FC", "FC", QColor(0x34, 0x65, 0xa4), Marca::Ninguna},
        {"NC", "NC", QColor(0x4e, 0x9a, 0x06), Marca::Ninguna},
        {"ND", "ND", QColor(0xce, 0x5c, 0x00), Marca::Ninguna},
        {"OT", "OT", QColor(0x75, 0x50, 0x7b), Marca::Ninguna},
        {"Generico", "", QColor(), Marca::Ninguna},
        {"T3", "T3", QColor(0x55, 0x57, 0x53), Marca::Ninguna},
        {"OC", "OC", QColor(0x20, 0x4a, 0x87), Marca::Ninguna},
        {"OCG", "OC", QColor(0x20, 0x4a, 0x87), Marca::Garantia},
    };
    for (int size : {16, 32}) {
        const QString folder = QString::number(size);
        out.mkpath(folder);
        for (const Icono &icono : iconos) {
            const QString path = out.filePath(folder + QLatin1Char('/') + QString::fromLatin1(icono.tag)
                                              + QStringLiteral(".png"));
            if (!dibuja(icono, size).save(path)) {
                std::fprintf(stderr, "no se pudo escribir %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}
