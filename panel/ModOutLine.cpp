#include "ModOutLine.h"

#include <QPolygon>
#include <QVector>
#include <QWidget>

namespace {

// Pixels compared with their alpha, so a transparent GIF margin never
// matches an opaque colour that happens to share its RGB value.
class PixelGrid
{
public:
    explicit PixelGrid(const QImage &picture)
        : m_image(picture.convertToFormat(QImage::Format_ARGB32))
    {
        m_rows.reserve(m_image.height());
        for (int y = 0; y < m_image.height(); ++y)
            m_rows.append(reinterpret_cast<const QRgb *>(m_image.constScanLine(y)));
    }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    QRgb at(int x, int y) const { return m_rows[y][x]; }

private:
    QImage m_image;
    QVector<const QRgb *> m_rows;
};

QRegion polygonRegion(const QPolygon &polygon)
{
    return QRegion(polygon, Qt::OddEvenFill);
}

}  // namespace

QRegion PlainOutLine(int width, int height)
{
    const int w1 = width - 1;
    const int h1 = height - 1;
    return polygonRegion(QPolygon({QPoint(0, 0), QPoint(w1, 0), QPoint(w1, h1), QPoint(0, h1)}));
}

QRegion FormOutLine(const QImage &picture)
{
    if (picture.isNull() || picture.width() < 1 || picture.height() < 1)
        return QRegion();
    const PixelGrid grid(picture);
    const int w1 = grid.width() - 1;
    const int h1 = grid.height() - 1;
    const QRgb key = grid.at(0, 0);
    QRegion region = PlainOutLine(grid.width(), grid.height());

    // Each margin follows, line by line, the first pixel that is not the key
    // colour as seen from one side; a line that is all key colour adds nothing.
    QPolygon left{QPoint(0, 0)};
    for (int y = 0; y <= h1; ++y)
        for (int x = 0; x <= w1; ++x)
            if (grid.at(x, y) != key) {
                if (x != w1)
                    left << QPoint(x, y);
                break;
            }
    left << QPoint(0, h1);
    region = region.subtracted(polygonRegion(left));

    QPolygon bottom{QPoint(0, h1)};
    for (int x = 0; x <= w1; ++x)
        for (int y = h1; y >= 0; --y)
            if (grid.at(x, y) != key) {
                if (y != 0)
                    bottom << QPoint(x, y);
                break;
            }
    bottom << QPoint(w1, h1);
    region = region.subtracted(polygonRegion(bottom));

    QPolygon right{QPoint(w1, h1)};
    for (int y = h1; y >= 0; --y)
        for (int x = w1; x >= 0; --x)
            if (grid.at(x, y) != key) {
                if (x != 0)
                    right << QPoint(x, y);
                break;
            }
    right << QPoint(w1, 0);
    region = region.subtracted(polygonRegion(right));

    QPolygon top{QPoint(w1, 0)};
    for (int x = w1; x >= 0; --x)
        for (int y = 0; y <= h1; ++y)
            if (grid.at(x, y) != key) {
                if (y != h1)
                    top << QPoint(x, y);
                break;
            }
    top << QPoint(0, 0);
    region = region.subtracted(polygonRegion(top));
    return region;
}

void SetFormOutLine(QWidget *form, const QImage &picture)
{
    form->setMask(FormOutLine(picture));
}

void ClearFormOutLine(QWidget *form, int width, int height)
{
    form->setMask(PlainOutLine(width, height));
}
