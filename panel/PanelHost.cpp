#include "PanelHost.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
constexpr double TwipsPerInch = 1440.0;

double twipsPerPixel(const QWidget *form, bool across)
{
    const QScreen *screen = form ? form->screen() : nullptr;
    if (!screen)
        return 15.0;
    const double dpi = across ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? TwipsPerInch / dpi : 15.0;
}
}

double PanelHost::twipsPerPixelX() const
{
    return twipsPerPixel(const_cast<PanelHost *>(this)->panelWidget(), true);
}

double PanelHost::twipsPerPixelY() const
{
    return twipsPerPixel(const_cast<PanelHost *>(this)->panelWidget(), false);
}

double PanelHost::formWidthTwips() const
{
    return const_cast<PanelHost *>(this)->panelWidget()->width() * twipsPerPixelX();
}

double PanelHost::formHeightTwips() const
{
    return const_cast<PanelHost *>(this)->panelWidget()->height() * twipsPerPixelY();
}

void PanelHost::setFormSizeTwips(double width, double height)
{
    const int w = qMax(1, qRound(width / twipsPerPixelX()));
    const int h = qMax(1, qRound(height / twipsPerPixelY()));
    panelWidget()->resize(w, h);
}

void PanelHost::moveFormTwips(double left, double top)
{
    panelWidget()->move(qRound(left / twipsPerPixelX()), qRound(top / twipsPerPixelY()));
}

void PanelHost::showForm()
{
    panelWidget()->show();
}

void PanelHost::hideForm()
{
    panelWidget()->hide();
}

QString PanelHost::mciSendString(const QString &)
{
    return QString();
}

void PanelHost::deskPicFileChanged(const QString &)
{
}

void PanelHost::DeskTopRef()
{
}

namespace {
QRect screenOf(const QWidget *form)
{
    const QScreen *screen = form && form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}
}

double PanelHost::screenWidthTwips() const
{
    return screenOf(const_cast<PanelHost *>(this)->panelWidget()).width() * twipsPerPixelX();
}

double PanelHost::screenHeightTwips() const
{
    return screenOf(const_cast<PanelHost *>(this)->panelWidget()).height() * twipsPerPixelY();
}

void PanelHost::FrmCenter(QWidget *form)
{
    if (!form)
        return;
    const QRect screen = screenOf(panelWidget());
    form->move(screen.center() - QPoint(form->width() / 2, form->height() / 2));
}

PanelHost::MediaWindowPlace PanelHost::stopMediaWindow()
{
    return {};
}

void PanelHost::replayVideoAt(double)
{
}

void PanelHost::playMediaWindow()
{
}
