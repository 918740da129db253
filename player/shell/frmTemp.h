#pragma once
// The player's task-bar entry. The borderless main window carries the entry itself; this
// adapter gives it the proxy window's contract: the caption "Quorvel", minimise and
// restore acting on the main window, and a close from outside (task bar, window manager,
// session end) taking the unrequested way out.

#include <QObject>
#include <QString>

class QWidget;

class frmTemp : public QObject
{
    Q_OBJECT
public:
    explicit frmTemp(QWidget& mainWindow);

    // The task-bar caption.
    QString Caption() const;
    void setCaption(const QString& caption);

    // 1 minimised, 0 normal.
    int WindowState() const;
    void setWindowState(int state);

    // The window state changed: minimised hides the panel, anything else shows it.
    void Form_Resize();

    // Set by the orderly shut-down before it closes the windows.
    bool UnloadRequested = false;

private:
    QWidget& m_main;
};
