#include "PanelPainter.h"

#include "MaskPainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRandomGenerator>
#include <algorithm>

namespace art {
namespace {

QPainterPath bodyShape(const PanelLayout &panel)
{
    QPainterPath path;
    const QRectF all(QPointF(0, 0), QSizeF(panel.size));
    if (panel.rounded) {
        const QRectF inner = all.adjusted(6, 6, -6, -6);
        path.addRoundedRect(inner, panel.bodyRadius, panel.bodyRadius);
    } else {
        path.addRect(all);
    }
    return path;
}

// Fine horizontal streaks, as on brushed metal. Fixed seed: same picture on
// every build.
void brush(QPainter &p, const PanelLayout &panel)
{
    QRandomGenerator random(0x5eed);
    for (int y = 0; y < panel.size.height(); ++y) {
        const int alpha = static_cast<int>(random.bounded(14));
        const bool light = random.bounded(2) == 0;
        p.setPen(light ? QColor(255, 255, 255, alpha) : QColor(0, 0, 0, alpha));
        p.drawLine(0, y, panel.size.width(), y);
    }
}

void paintBody(QPainter &p, const PanelLayout &panel)
{
    const Theme &t = panel.theme;
    const QPainterPath body = bodyShape(panel);
    QLinearGradient fill(0, 0, 0, panel.size.height());
    fill.setColorAt(0.0, t.bodyTop);
    fill.setColorAt(1.0, t.bodyBottom);
    // Hard outer edge: the key-colour margin of a shaped panel stays exact.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(body, fill);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.save();
    p.setClipPath(body);
    if (panel.format != PictureFormat::Gif)
        brush(p, panel);
    const QRectF box = body.boundingRect();
    // Raised edge: light from the top left, shade to the bottom right.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(t.bevelLight, 2));
    p.drawPath(body.translated(1, 1));
    p.setPen(QPen(t.bevelDark, 2));
    p.drawPath(body.translated(-1, -1));
    p.setPen(QPen(t.bevelDark.darker(140), 1));
    if (panel.rounded)
        p.drawPath(body);
    else
        p.drawRect(box.adjusted(0, 0, -1, -1));
    p.restore();
}

// A recess in the body: filled, with its upper edge in shade and its lower
// edge catching the light.
void paintWell(QPainter &p, const QRect &rect, const QColor &top, const QColor &bottom, const Theme &t,
               qreal radius = 4)
{
    if (rect.isEmpty())
        return;
    QPainterPath well;
    well.addRoundedRect(QRectF(rect), radius, radius);
    QLinearGradient fill(0, rect.top(), 0, rect.bottom());
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    p.fillPath(well, fill);
    p.save();
    p.setClipPath(well);
    p.setPen(QPen(QColor(0, 0, 0, 150), 2));
    p.drawPath(well.translated(1, 1));
    p.restore();
    p.setPen(QPen(t.bevelLight, 1));
    p.drawPath(well.translated(0, 1));
    p.setPen(QPen(t.bevelDark.darker(150), 1));
    p.drawPath(well);
}

// Two beamed notes, faint, in the middle of the empty screen.
void paintNoteMark(QPainter &p, const QRectF &area, QColor colour)
{
    const qreal s = std::min(area.width(), area.height()) * 0.36;
    const QPointF c = area.center();
    QPainterPath notes;
    notes.addEllipse(QPointF(c.x() - s * 0.32, c.y() + s * 0.34), s * 0.16, s * 0.12);
    notes.addEllipse(QPointF(c.x() + s * 0.30, c.y() + s * 0.26), s * 0.16, s * 0.12);
    notes.addRect(QRectF(c.x() - s * 0.19, c.y() - s * 0.42, s * 0.05, s * 0.76));
    notes.addRect(QRectF(c.x() + s * 0.43, c.y() - s * 0.50, s * 0.05, s * 0.76));
    QPolygonF beam;
    beam << QPointF(c.x() - s * 0.19, c.y() - s * 0.42) << QPointF(c.x() + s * 0.48, c.y() - s * 0.50)
         << QPointF(c.x() + s * 0.48, c.y() - s * 0.36) << QPointF(c.x() - s * 0.19, c.y() - s * 0.28);
    notes.addPolygon(beam);
    notes.setFillRule(Qt::WindingFill);
    colour.setAlpha(46);
    p.fillPath(notes, colour);
}

void paintScreen(QPainter &p, const PanelLayout &panel)
{
    const Theme &t = panel.theme;
    paintWell(p, panel.screenWell, t.well, t.well.darker(130), t, 6);
    const QRectF area(panel.pictureArea);
    QLinearGradient glass(0, area.top(), 0, area.bottom());
    glass.setColorAt(0.0, QColor(18, 30, 48));
    glass.setColorAt(1.0, QColor(6, 10, 18));
    p.fillRect(area, glass);
    // A soft diagonal reflection across the upper part of the glass.
    QPainterPath shine;
    shine.moveTo(area.topLeft());
    shine.lineTo(area.left() + area.width() * 0.62, area.top());
    shine.lineTo(area.left(), area.top() + area.height() * 0.55);
    shine.closeSubpath();
    QLinearGradient shineFill(area.topLeft(), area.topLeft() + QPointF(area.width() * 0.3, area.height() * 0.3));
    shineFill.setColorAt(0.0, QColor(255, 255, 255, 38));
    shineFill.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillPath(shine, shineFill);
    paintNoteMark(p, area, panel.theme.accent);
}

void paintReadouts(QPainter &p, const PanelLayout &panel)
{
    const Theme &t = panel.theme;
    paintWell(p, panel.messageWell, t.well, t.well.lighter(120), t);
    paintWell(p, panel.timeWell, t.lcd, t.lcd.darker(112), t, 3);
    paintWell(p, panel.knobTimeWell, t.lcd, t.lcd.darker(112), t, 3);
    if (!panel.logoBand.isEmpty()) {
        QPainterPath plate;
        plate.addRoundedRect(QRectF(panel.logoBand), 5, 5);
        QLinearGradient fill(0, panel.logoBand.top(), 0, panel.logoBand.bottom());
        fill.setColorAt(0.0, t.bodyTop.lighter(112));
        fill.setColorAt(1.0, t.bodyTop.darker(104));
        p.fillPath(plate, fill);
        p.setPen(QPen(t.bevelDark, 1));
        p.drawPath(plate);
        p.setPen(QPen(t.accent, 2));
        p.drawLine(QPointF(panel.logoBand.left() + 6, panel.logoBand.bottom() - 3),
                   QPointF(panel.logoBand.right() - 6, panel.logoBand.bottom() - 3));
    }
}

// The seek track: a slot with a thin centre line. The knob is not drawn: its
// face is taken from the slot under it and lit by its own mask.
void paintGroove(QPainter &p, const QRectF &track, const Theme &t)
{
    const qreal h = track.height();
    QPainterPath slot;
    slot.addRoundedRect(track.adjusted(1, h * 0.18, -1, -h * 0.18), h * 0.32, h * 0.32);
    QLinearGradient fill(0, track.top(), 0, track.bottom());
    fill.setColorAt(0.0, t.bodyBottom.darker(150));
    fill.setColorAt(1.0, t.bodyBottom.darker(115));
    p.fillPath(slot, fill);
    p.setPen(QPen(t.bevelDark.darker(130), 1));
    p.drawPath(slot);
    const qreal mid = track.center().y();
    p.setPen(QPen(t.accent, 2));
    p.drawLine(QPointF(track.left() + h * 0.5, mid), QPointF(track.right() - h * 0.5, mid));
    // Tick marks along the lower edge mark tenths of the song.
    p.setPen(QPen(t.bevelDark, 1));
    for (int i = 0; i <= 10; ++i) {
        const qreal x = track.left() + h * 0.5 + (track.width() - h) * i / 10.0;
        p.drawLine(QPointF(x, track.bottom() + 1), QPointF(x, track.bottom() + (i % 5 == 0 ? 4 : 2)));
    }
}

void paintCap(QPainter &p, const KeySpec &key, const QColor &top, const QColor &bottom, const Theme &t)
{
    const QRectF rect(key.rect);
    const QPainterPath cap = maskShapeOver(key.mask, rect.adjusted(0.5, 0.5, -0.5, -0.5));
    p.fillPath(cap.translated(0, 1.5), QColor(0, 0, 0, 70));   // drop shade under the cap
    QLinearGradient fill(0, rect.top(), 0, rect.bottom());
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    p.fillPath(cap, fill);
    p.setPen(QPen(t.bevelDark.darker(130), 1));
    p.drawPath(cap);
}

void paintKeys(QPainter &p, const PanelLayout &panel)
{
    const Theme &t = panel.theme;
    for (const KeySpec &key : panel.controlKeys) {
        if (!key.visible || key.glyph == Glyph::Knob)
            continue;
        if (key.glyph == Glyph::Groove) {
            paintGroove(p, QRectF(key.rect), t);
            continue;
        }
        paintCap(p, key, t.keyTop, t.keyBottom, t);  // the player puts the icons on
    }
    for (const KeySpec &key : panel.numberKeys)
        paintCap(p, key, t.padTop, t.padBottom, t);   // the player writes the numbers
    for (const KeySpec &key : panel.titleKeys)
        paintCap(p, key, t.keyTop, t.keyBottom, t);
}

void paintEngraving(QPainter &p, const PanelLayout &panel)
{
    if (panel.engraving.isEmpty())
        return;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(font);
    const int bottom = panel.rounded ? panel.size.height() - 14 : panel.size.height() - 4;
    const QRect box = panel.engravingBox.isEmpty() ? QRect(0, bottom - 16, panel.size.width(), 16)
                                                   : panel.engravingBox;
    p.setPen(panel.theme.bevelLight);
    p.drawText(box.translated(0, 1), Qt::AlignCenter, panel.engraving);
    p.setPen(panel.theme.bevelDark.darker(120));
    p.drawText(box, Qt::AlignCenter, panel.engraving);
}

} // namespace

QImage paintPanel(const PanelLayout &panel)
{
    QImage image(panel.size, QImage::Format_RGB32);
    image.fill(panel.keyColour);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    paintBody(p, panel);
    paintScreen(p, panel);
    paintReadouts(p, panel);
    paintKeys(p, panel);
    paintEngraving(p, panel);
    p.end();
    return image;
}

} // namespace art
