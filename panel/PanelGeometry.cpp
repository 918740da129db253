#include "PanelGeometry.h"

#include "PanelObjects.h"
#include "VbRuntime.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QPalette>
#include <QRegularExpression>

#include <limits>

int toPixels(double value)
{
    const double rounded = Vb::RoundHalfEven(value);
    constexpr double limit = 1 << 20;  // far beyond any screen; keeps garbage harmless
    if (!(rounded == rounded))
        return 0;
    return int(qBound(-limit, rounded, limit));
}

QSize screenSpan()
{
    QRect span;
    for (const QScreen *screen : QGuiApplication::screens())
        span |= screen->geometry();
    return span.isEmpty() ? QSize(4096, 4096) : span.size();
}

void setLeft(QWidget *control, double value) { control->move(toPixels(value), control->y()); }
void setTop(QWidget *control, double value) { control->move(control->x(), toPixels(value)); }
void setWidth(QWidget *control, double value) { control->resize(qMax(0, toPixels(value)), control->height()); }
void setHeight(QWidget *control, double value) { control->resize(control->width(), qMax(0, toPixels(value))); }

double fontSize(const QLabel *label)
{
    const double points = label->font().pointSizeF();
    return points > 0 ? points : 9;
}

void setFontSize(QLabel *label, double points)
{
    if (!(points > 0) || points > 2048)
        return;
    QFont font = label->font();
    font.setPointSizeF(points);
    label->setFont(font);
}

void autoSizeLabel(QLabel *label)
{
    const QFontMetrics metrics(label->font());
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));  // compiled once: labels are sized often
    const QStringList lines = label->text().split(lineBreak);
    int width = 0;
    for (const QString &line : lines)
        width = qMax(width, metrics.horizontalAdvance(line));
    // A huge font from a damaged definition gives no label larger than the screens.
    const QSize span = screenSpan();
    label->resize(qMin(width + 2, span.width()), qMin(metrics.height() * qMax<int>(1, lines.size()), span.height()));
}

void centreIn(QWidget *item, const QWidget *key)
{
    item->move(toPixels((key->width() - item->width()) / 2.0), toPixels((key->height() - item->height()) / 2.0));
}

// The label's own colour, as set, whether or not it is enabled just now.
QColor foreColor(const QLabel *label)
{
    return label->palette().color(QPalette::Active, QPalette::WindowText);
}

// Only the enabled look takes the colour: a disabled label keeps the greyed text that tells
// the user it cannot be chosen.
void setForeColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, color);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, color);
    label->setPalette(palette);
}

void fillBacking(BackingPicture &backing, const PanelKey &key)
{
    backing.Picture = key.Picture();
    backing.Width = key.width();
    backing.Height = key.height();
}

QString fitReply(const QString &reply)
{
    return reply.left(20).leftJustified(20, QLatin1Char(' '));
}

bool autoSizeOn(const QLabel *label)
{
    return label->property("AutoSize").toBool();
}

void setAutoSizeFlag(QLabel *label, bool on)
{
    label->setProperty("AutoSize", on);
}

void setAutoSizeOn(QLabel *label, bool on)
{
    setAutoSizeFlag(label, on);
    if (on)
        autoSizeLabel(label);
}

void setCaption(QLabel *label, const QString &text)
{
    label->setText(text);
    if (autoSizeOn(label))
        autoSizeLabel(label);
}

bool visibleFlag(const QWidget *control)
{
    if (!control->testAttribute(Qt::WA_WState_ExplicitShowHide))
        return true;
    return !control->isHidden();
}
