#include "EditRules.h"

#include "ModFiles.h"
#include "VbRuntime.h"

#include <cmath>
#include <cstdlib>

namespace EditRules {

QString deskIniFileFor(const QString &skinDir, const QString &picturePath)
{
    const QString name = GetFileName(picturePath);
    return AddPath(skinDir, name.left(qMax(0, name.size() - 3)) + QStringLiteral("INI"));
}

QString firstCacheFileFor(const QString &tempFolder, const QString &picturePath)
{
    const QString name = GetFileName(picturePath);
    return AddPath(tempFolder, name.left(qMax(0, name.size() - 4)) + QStringLiteral("-00.Bmp"));
}

QStringList addRecentFile(const QStringList &entries, const QString &fileName)
{
    QStringList list;
    if (!fileName.isEmpty())
        list << fileName;
    for (const QString &entry : entries)
        if (!entry.isEmpty() && entry != fileName && list.size() < RecentCount)
            list << entry;
    while (list.size() < RecentCount)
        list << QString();
    return list;
}

double zoomFromText(const QString &text)
{
    return Vb::Val(text) / 100.0;
}

int gridStepFromText(const QString &text)
{
    return int(Vb::Int(Vb::Val(text)));
}

QStringList zoomItems()
{
    return {QStringLiteral("800%"), QStringLiteral("700%"), QStringLiteral("600%"), QStringLiteral("500%"),
            QStringLiteral("400%"), QStringLiteral("300%"), QStringLiteral("200%"), QStringLiteral("100%"),
            QStringLiteral(" 75%"), QStringLiteral(" 50%"), QStringLiteral(" 25%")};
}

QStringList gridStepItems()
{
    QStringList items;
    for (int i = 1; i <= 16; ++i)
        items << QString::number(i) + QStringLiteral("點");
    return items;
}

double snapDown(double position, double grid)
{
    if (!(grid > 0))
        return position;
    return std::floor(position / grid) * grid;
}

bool dragStepDue(double x, double y, double lastX, double lastY, double gridStep)
{
    return std::abs(x - lastX) >= gridStep || std::abs(y - lastY) >= gridStep;
}

Handles handlesAround(const QRectF &rect)
{
    const double l = rect.left(), t = rect.top();
    const double r = l + rect.width(), b = t + rect.height();
    const double mx = (l + r) / 2, my = (t + b) / 2;
    return {QPointF(l, t), QPointF(r, t), QPointF(l, b), QPointF(r, b),
            QPointF(mx, t), QPointF(mx, b), QPointF(l, my), QPointF(r, my)};
}

void dragHandle(Handles &h, int index, double dx, double dy)
{
    if (index < 0 || index > 7)
        return;
    h[index] += QPointF(dx, dy);
    const QPointF p = h[index];
    switch (index) {
    case 1: h[0].setY(p.y()); break;                       // top edge and right edge
    case 2: h[0].setX(p.x()); break;                       // left edge and bottom edge
    case 3: h[1].setX(p.x()); h[2].setY(p.y()); break;     // right edge and bottom edge
    case 4: h[0].setY(p.y()); h[1].setY(p.y()); break;
    case 5: h[2].setY(p.y()); h[3].setY(p.y()); break;
    case 6: h[0].setX(p.x()); h[2].setX(p.x()); break;
    case 7: h[1].setX(p.x()); h[3].setX(p.x()); break;
    default: break;
    }
}

QRectF rectFromHandles(const Handles &h)
{
    return QRectF(h[0].x(), h[0].y(), std::abs(h[1].x() - h[0].x()), std::abs(h[2].y() - h[0].y()));
}

QPointF keepInside(QPointF p, QSizeF size, double canvasWidth, double canvasHeight, bool toTopRow)
{
    if (p.x() >= canvasWidth - size.width()) {
        if (toTopRow)
            p = QPointF(0, 0);
        p.setX(canvasWidth - size.width());
    }
    if (p.y() >= canvasHeight - size.height())
        p.setY(canvasHeight - size.height());
    return p;
}

std::optional<double> largerFont(double size, double zoom)
{
    if (size + zoom < 48 * zoom)
        return size + zoom;
    return std::nullopt;
}

std::optional<double> smallerFont(double size, double zoom)
{
    if (size - 1 > 2 * zoom)
        return size - zoom;
    return std::nullopt;
}

VbColor InvertColor(VbColor color)
{
    const qint64 value = std::llabs(qint64(color ^ 0xFFFFFF));
    return VbColor(value % 0xFFFFFF);
}

QSizeF zoomedCanvasWindow(double pictureWidth, double pictureHeight, double tppX, double tppY,
                          const WindowLimits &limits)
{
    double width = pictureWidth * tppX + 270 + 120;
    double height = std::round(pictureHeight) * tppY + 375 + 270;
    const double widthLimit = limits.galleryLeft ? *limits.galleryLeft : limits.screenWidth - 165;
    const double heightLimit = limits.screenHeight - 1425 + 60;
    if (width >= widthLimit)
        width = widthLimit;
    if (height >= heightLimit)
        height = heightLimit;
    return QSizeF(width, height);
}

namespace {
QString number(double value)
{
    return Vb::CStr(value);
}
}

QString selectionStatus(double left, double top, double width, double height, double zoom,
                        const QString &toolTip, const QString &maskPath)
{
    return QStringLiteral(" X=") + number(Vb::Int(left / zoom)) + QStringLiteral(" Y=") + number(Vb::Int(top / zoom)) +
           QStringLiteral(" W=") + number(width) + QStringLiteral(" H=") + number(height) + QStringLiteral(" 按鈕=[") +
           toolTip + QStringLiteral("] 遮罩:") + maskPath;
}

QString dragStatus(double left, double top, double zoom)
{
    return QStringLiteral("X=") + number(Vb::Int(left / zoom)) + QStringLiteral(" Y=") + number(Vb::Int(top / zoom));
}

QString pointerStatus(double x, double y)
{
    return QStringLiteral("X=") + number(x) + QStringLiteral(" Y=") + number(y);
}

}  // namespace EditRules
