#include "GlyphPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace art {
namespace {

// Glyphs are drawn in a square of side 1 centred on the origin, then scaled.
QPainterPath triangleRight(qreal left, qreal width)
{
    QPainterPath path;
    path.moveTo(left, -0.5);
    path.lineTo(left + width, 0.0);
    path.lineTo(left, 0.5);
    path.closeSubpath();
    return path;
}

QPainterPath triangleLeft(qreal right, qreal width)
{
    QPainterPath path;
    path.moveTo(right, -0.5);
    path.lineTo(right - width, 0.0);
    path.lineTo(right, 0.5);
    path.closeSubpath();
    return path;
}

QPainterPath bar(qreal left, qreal top, qreal width, qreal height)
{
    QPainterPath path;
    path.addRect(QRectF(left, top, width, height));
    return path;
}

QPainterPath speaker()
{
    QPainterPath path;
    path.addRect(QRectF(-0.5, -0.17, 0.2, 0.34));
    QPolygonF cone;
    cone << QPointF(-0.32, -0.17) << QPointF(-0.05, -0.42) << QPointF(-0.05, 0.42) << QPointF(-0.32, 0.17);
    path.addPolygon(cone);
    path.closeSubpath();
    return path;
}

QPainterPath plusOrMinus(bool plus)
{
    QPainterPath path = bar(0.08, -0.07, 0.42, 0.14);
    if (plus)
        path = path.united(bar(0.22, -0.21, 0.14, 0.42));
    return path;
}

QPainterPath cross()
{
    QPainterPath one = bar(-0.5, -0.08, 1.0, 0.16);
    QTransform a;
    a.rotate(45);
    QTransform b;
    b.rotate(-45);
    return a.map(one).united(b.map(one));
}

QPainterPath disc()
{
    QPainterPath path;
    path.addEllipse(QPointF(0, 0), 0.5, 0.5);
    path.addEllipse(QPointF(0, 0), 0.12, 0.12);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

QPainterPath screen()
{
    QPainterPath frame;
    frame.addRect(QRectF(-0.5, -0.42, 1.0, 0.66));
    frame.addRect(QRectF(-0.38, -0.31, 0.76, 0.44));
    frame.setFillRule(Qt::OddEvenFill);
    frame.addRect(QRectF(-0.08, 0.24, 0.16, 0.12));
    frame.addRect(QRectF(-0.28, 0.36, 0.56, 0.08));
    return frame;
}

// Three overlapping cards: the choice of panel faces.
QPainterPath panelCards()
{
    QPainterPath path;
    for (int i = 0; i < 3; ++i) {
        const qreal o = i * 0.16;
        QPainterPath card;
        card.addRect(QRectF(-0.5 + o, -0.42 + o, 0.62, 0.5));
        card.addRect(QRectF(-0.42 + o, -0.34 + o, 0.46, 0.34));
        card.setFillRule(Qt::OddEvenFill);
        path.addPath(card);
    }
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

QPainterPath gear()
{
    QPainterPath path;
    const int teeth = 8;
    QPolygonF outline;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal angle = M_PI * i / teeth;
        const qreal r = (i % 2 == 0) ? 0.5 : 0.38;
        const qreal half = M_PI / teeth / 2.2;
        outline << QPointF(r * std::cos(angle - half), r * std::sin(angle - half))
                << QPointF(r * std::cos(angle + half), r * std::sin(angle + half));
    }
    path.addPolygon(outline);
    path.closeSubpath();
    path.addEllipse(QPointF(0, 0), 0.15, 0.15);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

QPainterPath glyphPath(Glyph glyph)
{
    switch (glyph) {
    case Glyph::PlayPause:
        return triangleRight(-0.5, 0.5).united(bar(0.12, -0.45, 0.13, 0.9)).united(bar(0.35, -0.45, 0.13, 0.9));
    case Glyph::Stop:
        return bar(-0.36, -0.36, 0.72, 0.72);
    case Glyph::Back:
        return triangleLeft(0.0, 0.48).united(triangleLeft(0.48, 0.48));
    case Glyph::Forward:
        return triangleRight(-0.48, 0.48).united(triangleRight(0.0, 0.48));
    case Glyph::Previous:
        return bar(-0.5, -0.45, 0.14, 0.9).united(triangleLeft(0.1, 0.46)).united(triangleLeft(0.5, 0.4));
    case Glyph::Next:
        return triangleRight(-0.5, 0.4).united(triangleRight(-0.1, 0.46)).united(bar(0.36, -0.45, 0.14, 0.9));
    case Glyph::VolumeDown:
        return speaker().united(plusOrMinus(false));
    case Glyph::VolumeUp:
        return speaker().united(plusOrMinus(true));
    case Glyph::Eject: {
        QPainterPath path;
        path.moveTo(-0.45, 0.12);
        path.lineTo(0.0, -0.42);
        path.lineTo(0.45, 0.12);
        path.closeSubpath();
        return path.united(bar(-0.45, 0.26, 0.9, 0.16));
    }
    case Glyph::Close:
        return cross();
    case Glyph::Minimize:
        return bar(-0.42, 0.2, 0.84, 0.18);
    case Glyph::Disc:
        return disc();
    case Glyph::Screen:
        return screen();
    case Glyph::PanelChoice:
        return panelCards();
    case Glyph::Settings:
        return gear();
    case Glyph::Play:
        return triangleRight(-0.4, 0.8);
    case Glyph::Pause:
        return bar(-0.4, -0.45, 0.28, 0.9).united(bar(0.12, -0.45, 0.28, 0.9));
    case Glyph::None:
    case Glyph::Knob:
    case Glyph::Groove:
        break;
    }
    return {};
}

// The path scaled and centred in a square of the given side.
QPainterPath placed(Glyph glyph, const QPointF &centre, qreal side)
{
    QTransform place;
    place.translate(centre.x(), centre.y());
    place.scale(side, side);
    return place.map(glyphPath(glyph));
}

} // namespace

QImage drawIcon(Glyph glyph, int side)
{
    QImage icon(side, side, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    const qreal rim = 1.5;
    const QPainterPath shape = placed(glyph, QPointF(side / 2.0, side / 2.0), side - 2 * rim - 1);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.strokePath(shape, QPen(QColor(255, 255, 255, 220), 2 * rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(shape, QColor(28, 30, 36));
    p.end();
    return icon;
}

} // namespace art
