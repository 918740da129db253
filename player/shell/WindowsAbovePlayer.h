#pragma once
// The windows the player opens over itself stay above it: the player's panel stays on top of
// other programs while a video CD plays, and a window manager keeps a window above another
// only when it is a dialog transient for it. Every top-level window of the program that has no
// owner of its own becomes a dialog of the panel when it is shown, and again when the
// panel's own window is made anew (staying on top or not re-creates it), so that no dialog,
// browser or video window opens or stays under the panel.

#include <QObject>

class QWidget;

class WindowsAbovePlayer : public QObject
{
    Q_OBJECT
public:
    // Watches the whole application's windows for the player's panel.
    explicit WindowsAbovePlayer(QWidget& player);
    ~WindowsAbovePlayer() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool opensOverThePlayer(const QWidget& window) const;
    void keepAbove(QWidget& window) const;

    QWidget& m_player;
};
