#include "PlainPanel.h"

#include "PanelGeometry.h"
#include "PanelObjects.h"

#include <QLinearGradient>
#include <QPainter>

namespace {
const QColor Ground(206, 210, 218);
const QColor CapTop(246, 247, 250);
const QColor CapBottom(168, 174, 186);
const QColor CapEdge(92, 98, 110);
const QColor Well(30, 36, 48);
constexpr int Margin = 8;
const QSize Smallest(160, 120);

QList<const PanelKey *> visibleKeys(const PanelObjects &objects)
{
    QList<const PanelKey *> keys;
    for (const auto *family : {&objects.PicCtl, &objects.PicNum, &objects.PicButton})
        for (const PanelKey *key : *family)
            if (visibleFlag(key))
                keys << key;
    return keys;
}

// Everything the panel shows once it is laid out: the visible keys, the labels
// and the picture area.
QRect panelArea(const PanelObjects &objects)
{
    QRect area(QPoint(0, 0), Smallest);
    for (const PanelKey *key : visibleKeys(objects))
        area |= key->geometry();
    for (const QWidget *control : objects.controls())
        if (qobject_cast<const QLabel *>(control) && control != objects.ImageDesk &&
            control->parentWidget() == objects.Image1->parentWidget())
            area |= control->geometry();
    return area.intersected(QRect(QPoint(0, 0), screenSpan()));
}
}  // namespace

QImage PlainPanelPicture(const PanelObjects &objects)
{
    const QRect area = panelArea(objects);
    QImage picture(area.right() + 1 + Margin, area.bottom() + 1 + Margin, QImage::Format_RGB32);
    picture.fill(Ground);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Dark wells behind the picture area and the message and time lines, whose light
    // texts would not stand out from the light ground.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Well);
    QList<QRect> wells{objects.Image1->geometry()};
    for (const QLabel *time : objects.Label2)
        wells << time->geometry();
    // A long message takes two lines, half a line above and below the one line.
    const QRect message = objects.Label1->geometry();
    wells << message.adjusted(0, -message.height() / 2, 0, message.height() / 2);
    for (const QRect &well : wells)
        painter.drawRoundedRect(QRectF(well).adjusted(-2, -2, 2, 2), 3, 3);
    for (const PanelKey *key : visibleKeys(objects)) {
        const QRectF cap = QRectF(key->geometry()).adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient fill(cap.topLeft(), cap.bottomLeft());
        fill.setColorAt(0, CapTop);
        fill.setColorAt(1, CapBottom);
        painter.setBrush(fill);
        painter.setPen(CapEdge);
        painter.drawRoundedRect(cap, 3, 3);
    }
    return picture;
}
