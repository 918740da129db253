#include "PanelPreview.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

QString installedFace(const QString &name)
{
    return name == QStringLiteral("Arial") ? QStringLiteral("DejaVu Sans") : QStringLiteral("AR PL UMing TW");
}

QFont labelFont(const DefinitionSection &s, const QString &suffix, const QString &sharedSuffix)
{
    QFont font(installedFace(s.value(QStringLiteral("FontName") + sharedSuffix).value_or(QString())));
    font.setPixelSize(std::max(1, s.number(QStringLiteral("Size") + suffix)) * 4 / 3);
    font.setBold(s.value(QStringLiteral("FontBold") + sharedSuffix) == QStringLiteral("True"));
    return font;
}

int channel(double v) { return static_cast<int>(std::nearbyint(std::clamp(v, 0.0, 255.0))); }

void drawText(QPainter &p, const QFont &font, QPoint topLeft, const QString &text, QColor colour)
{
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRect(topLeft, QSize(1000, 200)), Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace

QRgb invertColour(QRgb background)
{
    const qint32 colour = static_cast<qint32>(qRed(background) | qGreen(background) << 8 | qBlue(background) << 16);
    const qint32 inverted = colour == 0 ? 0xFFFFFF : (std::abs(colour ^ 0xFFFFFF) % 0xFFFFFF) & 0xF0F0F0;
    return qRgb(inverted & 0xFF, (inverted >> 8) & 0xFF, (inverted >> 16) & 0xFF);
}

QImage buildKeyFace(const QImage &picture, const QRect &key, const QImage &mask, const DefinitionSection &edit)
{
    const QImage m = mask.scaled(key.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    QImage face = picture.copy(key).convertToFormat(QImage::Format_RGB32);
    const int mode = edit.number(QStringLiteral("Mode"));
    const int r0 = std::abs(edit.number(QStringLiteral("Color0")));
    const int g0 = std::abs(edit.number(QStringLiteral("Color1")));
    const int b0 = std::abs(edit.number(QStringLiteral("Color2")));
    const int light = -edit.number(QStringLiteral("Color3"));
    const QRgb keyColour = m.pixel(0, 0);
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) {
            const QRgb mp = m.pixel(x, y);
            if (mp == keyColour)
                continue;
            const QRgb f = face.pixel(x, y);
            double r, g, b;
            if (mode == 2) {
                r = qRed(mp), g = qGreen(mp), b = qBlue(mp);
            } else {
                r = (mode == 0 ? qRed(f) : 0) + r0 + light;
                g = (mode == 0 ? qGreen(f) : 0) + g0 + light;
                b = (mode == 0 ? qBlue(f) : 0) + b0 + light;
                if ((r + g + b) / 3 >= 210)
                    r -= 20, g -= 20, b -= 20;
                r = r * qRed(mp) / 255 * 2;
                g = g * qGreen(mp) / 255 * 2;
                b = b * qBlue(mp) / 255 * 2;
            }
            face.setPixel(x, y, qRgb(channel(r), channel(g), channel(b)));
        }
    }
    return face;
}

QImage renderPanelPreview(const QImage &picture, const DefinitionFile &definition, const QDir &maskDir)
{
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    const DefinitionSection *edit = definition.section(QStringLiteral("編輯"));
    QPainter p(&out);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRect track = definition.keyRect(QStringLiteral("控制台"), 13);
    for (const QString &family : {QStringLiteral("控制台"), QStringLiteral("選曲"), QStringLiteral("功能")}) {
        const DefinitionSection *s = definition.section(family);
        std::vector<int> order;
        for (int i = 0; s && s->value(QStringLiteral("X") + QString::number(i)); ++i)
            order.push_back(i);
        // The seek track lies under the knob.
        if (family == QStringLiteral("控制台") && order.size() > 13)
            std::rotate(order.begin(), order.begin() + 13, order.begin() + 14);
        for (const int i : order) {
            const QString n = QString::number(i);
            if (s->value(QStringLiteral("Visible") + n) != QStringLiteral("True"))
                continue;
            QRect key = definition.keyRect(family, i);
            if (family == QStringLiteral("控制台") && i == 9)   // the knob sits on the groove's centre line
                key.moveTop(track.top() + (track.height() - key.height()) / 2);
            const QImage mask(maskDir.filePath(s->value(QStringLiteral("File") + n).value_or(QString())));
            if (!mask.isNull() && edit)
                p.drawImage(key.topLeft(), buildKeyFace(picture, key, mask, *edit));
            if (family == QStringLiteral("控制台") && i == 13) {
                const int y = key.top() + key.height() / 2 - 1;
                p.setPen(QColor(64, 64, 64));
                p.drawLine(key.left() + 6, y, key.right() - 5, y);
                p.setPen(Qt::white);
                p.drawLine(key.left() + 6, y + 1, key.right() - 5, y + 1);
            }
            if (family == QStringLiteral("選曲")) {
                const DefinitionSection *caption = definition.section(QStringLiteral("數字"));
                p.setFont(labelFont(*caption, QString(), QString()));
                p.setPen(Qt::black);
                p.drawText(key, Qt::AlignCenter, i == 9 ? QStringLiteral(">>") : QString::number(i + 1));
            }
        }
    }

    const DefinitionSection *logo = definition.section(QStringLiteral("LOGO"));
    for (int i : {1, 0}) {
        const QString n = QString::number(i);
        drawText(p, labelFont(*logo, n, QString()),
                 QPoint(logo->number(QStringLiteral("X") + n), logo->number(QStringLiteral("Y") + n)),
                 QStringLiteral("Quorvel 卡拉OK"), i == 1 ? QColor(Qt::white) : QColor(20, 40, 90));
    }
    const DefinitionSection *times = definition.section(QStringLiteral("時間"));
    for (int i : {0, 1}) {
        const QString n = QString::number(i);
        drawText(p, labelFont(*times, n, n),
                 QPoint(times->number(QStringLiteral("X") + n), times->number(QStringLiteral("Y") + n)),
                 i == 0 ? QStringLiteral("01:23") : QStringLiteral("04:56"), Qt::black);
    }
    const DefinitionSection *text = definition.section(QStringLiteral("文字"));
    const QPoint textAt(text->number(QStringLiteral("X")), text->number(QStringLiteral("Y")));
    const QRgb under = picture.pixel(textAt.x() + text->number(QStringLiteral("W")) / 2, textAt.y());
    drawText(p, labelFont(*text, QString(), QString()), textAt, QStringLiteral("歡迎使用,請放入光碟片"),
             QColor(invertColour(under)));
    p.end();
    return out;
}
