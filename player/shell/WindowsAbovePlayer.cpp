#include "WindowsAbovePlayer.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

WindowsAbovePlayer::WindowsAbovePlayer(QWidget& player) : QObject(&player), m_player(player)
{
    qApp->installEventFilter(this);
}

WindowsAbovePlayer::~WindowsAbovePlayer() { qApp->removeEventFilter(this); }

bool WindowsAbovePlayer::opensOverThePlayer(const QWidget& window) const
{
    if (&window == &m_player || !window.isWindow()) return false;
    // Menus, tool tips and the like are stacked by Qt itself.
    const Qt::WindowType type = window.windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

void WindowsAbovePlayer::keepAbove(QWidget& window) const
{
    QWindow* own = window.windowHandle();
    QWindow* panel = m_player.windowHandle();
    if (!own || !panel || own == panel) return;
    // A window owned by another of the program's windows keeps its owner.
    if (own->transientParent() && own->transientParent() != panel) return;
    own->setTransientParent(panel);
    // The windowing system keeps only dialogs above their owners: a plain window opened over
    // the panel (the browser, the capture settings, the video window) is one to it.
    if (own->type() == Qt::Window) own->setFlags((own->flags() & ~Qt::WindowType_Mask) | Qt::Dialog);
}

bool WindowsAbovePlayer::eventFilter(QObject* watched, QEvent* event)
{
    // The show event comes before the native window is mapped: the window manager learns of
    // the owner with the window itself.
    if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget == &m_player) {
        // The panel's window was made anew: the windows shown over it are linked again and
        // brought up again.
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && opensOverThePlayer(*top)) {
                keepAbove(*top);
                top->raise();
            }
    } else if (opensOverThePlayer(*widget)) {
        keepAbove(*widget);
    }
    return false;
}
