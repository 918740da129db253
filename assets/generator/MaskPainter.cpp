#include "MaskPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace art {
namespace {

// Relief of a mask: greys at the top and bottom of the fill, and of the rim.
struct Relief {
    int top;
    int bottom;
    int rim;
    int gloss;   // highlight line just inside the rim, 0 for none
};

QColor grey(int value) { return QColor(value, value, value); }

// Shapes stay one pixel inside the bitmap, so pixel (0, 0) is always outside.
QRectF innerBox(QSize size) { return QRectF(1, 1, size.width() - 2, size.height() - 2); }

QImage paintMask(QSize size, const QPainterPath &shape, const Relief &relief)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    // Hard edges: the key colour region stays exactly black.
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0.0, grey(relief.top));
    fill.setColorAt(1.0, grey(relief.bottom));
    p.fillPath(shape, fill);
    p.setClipPath(shape);
    p.strokePath(shape, QPen(grey(relief.rim), 3));
    if (relief.gloss > 0) {
        const QRectF box = shape.boundingRect();
        QTransform shrink;
        shrink.translate(box.center().x(), box.center().y());
        shrink.scale((box.width() - 6) / box.width(), (box.height() - 6) / box.height());
        shrink.translate(-box.center().x(), -box.center().y());
        QLinearGradient glossPen(0, box.top(), 0, box.center().y());
        glossPen.setColorAt(0.0, grey(relief.gloss));
        glossPen.setColorAt(1.0, grey((relief.top + relief.bottom) / 2));
        p.setClipRect(QRectF(box.left(), box.top(), box.width(), box.height() / 2));
        p.strokePath(shrink.map(shape), QPen(QBrush(glossPen), 1));
    }
    p.end();
    return image;
}

QPainterPath roundedBox(QSize size, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(innerBox(size), radius, radius);
    return path;
}

QPainterPath ellipse(QSize size)
{
    QPainterPath path;
    path.addEllipse(innerBox(size));
    return path;
}

QPainterPath octagon(QSize size)
{
    const QRectF b = innerBox(size);
    const qreal c = std::min(b.width(), b.height()) * 0.29;
    QPolygonF poly;
    poly << QPointF(b.left() + c, b.top()) << QPointF(b.right() - c, b.top())
         << QPointF(b.right(), b.top() + c) << QPointF(b.right(), b.bottom() - c)
         << QPointF(b.right() - c, b.bottom()) << QPointF(b.left() + c, b.bottom())
         << QPointF(b.left(), b.bottom() - c) << QPointF(b.left(), b.top() + c);
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

constexpr Relief raised{172, 104, maskRimGrey, 210};
constexpr Relief dome{244, 168, 96, 0};
constexpr Relief sunken{108, 144, 80, 0};

enum class Outline { Ellipse, Rounded, Octagon };

// One mask of the set: its bitmap size, outline, corner radius and relief.
struct MaskDesign {
    const char *name;
    QSize size;
    Outline outline;
    qreal radius;
    Relief relief;
};

constexpr MaskDesign maskSet[] = {
    {"Round.bmp", {64, 64}, Outline::Ellipse, 0, raised},
    {"Oval.bmp", {80, 56}, Outline::Ellipse, 0, raised},
    {"RoundRect.bmp", {80, 48}, Outline::Rounded, 10, raised},
    {"Square.bmp", {64, 64}, Outline::Rounded, 5, raised},
    {"Pill.bmp", {96, 48}, Outline::Rounded, 23, raised},
    {"Octagon.bmp", {64, 64}, Outline::Octagon, 0, raised},
    {"Knob.bmp", {48, 32}, Outline::Ellipse, 0, dome},
    {"Groove.bmp", {240, 24}, Outline::Rounded, 11, sunken},
};

QPainterPath outlineOf(const MaskDesign &design)
{
    switch (design.outline) {
    case Outline::Ellipse:
        return ellipse(design.size);
    case Outline::Rounded:
        return roundedBox(design.size, design.radius);
    case Outline::Octagon:
        return octagon(design.size);
    }
    return {};
}

} // namespace

std::vector<MaskSpec> drawMasks()
{
    std::vector<MaskSpec> masks;
    for (const MaskDesign &design : maskSet)
        masks.push_back({QString::fromLatin1(design.name), paintMask(design.size, outlineOf(design), design.relief)});
    return masks;
}

QPainterPath maskShapeOver(const QString &maskName, const QRectF &key)
{
    for (const MaskDesign &design : maskSet) {
        if (maskName.compare(QLatin1String(design.name), Qt::CaseInsensitive) != 0)
            continue;
        QTransform stretch;
        stretch.translate(key.left(), key.top());
        stretch.scale(key.width() / design.size.width(), key.height() / design.size.height());
        return stretch.map(outlineOf(design));
    }
    QPainterPath plain;
    plain.addRect(key);
    return plain;
}

} // namespace art
