#include "UserInputHold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>

#include <deque>
#include <memory>
#include <vector>

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

// The user's input held at the windows it came to (every input enters a program through its
// top-level windows, which hand it on to their widgets), and delivered to them again in order.
class HeldInput : public QObject {
public:
    static HeldInput &instance()
    {
        static HeldInput *held = new HeldInput;  // lives as long as the application
        return *held;
    }

    void begin()
    {
        if (m_holds++ > 0)
            return;
        // Windows shown meanwhile (a message the open has for the user) take input at once: it
        // is what the program waits on, and nothing else is held behind them.
        m_windowsHeld.clear();
        for (QWindow *window : QGuiApplication::topLevelWindows())
            if (window->isVisible())
                m_windowsHeld.push_back(window);
        QCoreApplication::instance()->installEventFilter(this);
    }

    void end()
    {
        if (--m_holds > 0)
            return;
        // From the event loop: the caller of the open goes on first with what it opened.
        QMetaObject::invokeMethod(this, [this] { deliver(); }, Qt::QueuedConnection);
    }

    bool active() const { return m_holds > 0; }

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        if (!isUserInput(event->type()) || !receiver->isWindowType() || !held(static_cast<QWindow *>(receiver)))
            return false;
        for (const QEvent *delivering : m_delivering)
            if (delivering == event)
                return false;  // one that waited, on its way now
        m_waiting.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
        // With no hold left, only earlier input still waiting: this one follows it.
        deliver();
        return true;
    }

private:
    bool held(QWindow *window) const
    {
        while (window->parent())
            window = window->parent();
        for (const QPointer<QWindow> &heldWindow : m_windowsHeld)
            if (heldWindow == window)
                return true;
        return false;
    }

    void deliver()
    {
        while (m_holds == 0 && !m_waiting.empty()) {
            Waiting next = std::move(m_waiting.front());
            m_waiting.pop_front();
            if (!next.receiver)
                continue;
            m_delivering.push_back(next.event.get());
            QCoreApplication::sendEvent(next.receiver, next.event.get());
            m_delivering.pop_back();
        }
        if (m_holds == 0 && m_waiting.empty() && m_delivering.empty())
            QCoreApplication::instance()->removeEventFilter(this);
    }

    struct Waiting {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    int m_holds = 0;
    std::vector<QPointer<QWindow>> m_windowsHeld;  // the windows shown as the first hold began
    std::deque<Waiting> m_waiting;
    std::vector<const QEvent *> m_delivering;  // events handed on by deliver(), innermost last
};

} // namespace

UserInputHold::UserInputHold() { HeldInput::instance().begin(); }

UserInputHold::~UserInputHold() { HeldInput::instance().end(); }

bool UserInputHold::active() { return HeldInput::instance().active(); }
