#pragma once
// Small helpers the editor's windows share: screen units and the hourglass.

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace EditorUi {

// 1440 divided by the logical DPI of the screen the widget is on (15 at 96 DPI).
inline double twipsPerPixel(const QWidget *widget, bool horizontal)
{
    const QScreen *screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? (horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY()) : 96;
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

// Lets pending events run, as the file commands do between their steps.
inline void letEventsRun()
{
    QCoreApplication::processEvents();
}

// The hourglass for the length of one routine.
class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

}  // namespace EditorUi
