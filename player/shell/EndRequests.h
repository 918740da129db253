#pragma once
// Requests to end the player that do not come through one of its windows: SIGTERM (a kill,
// a system shut-down), SIGINT (Ctrl+C in its terminal), SIGHUP (its terminal or session went
// away) and the end of the desktop session. Each arrives as one Qt signal on the event loop,
// so that the player can take the same road as when the window manager closes its window.

#include <QObject>

class QSocketNotifier;

class EndRequests : public QObject
{
    Q_OBJECT
public:
    // Catches the three process signals for as long as this object lives (one at a time).
    explicit EndRequests(QObject* parent = nullptr);
    ~EndRequests() override;

signals:
    void requested();

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};
