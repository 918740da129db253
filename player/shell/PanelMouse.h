#pragma once
// The mouse input of the borderless panel window: dragging the window by its background and
// logo labels, the pressed and released look of the keys, and the dispatch of a released key
// to its command (title buttons, number pad, control bar), with the menus, lists and font
// dialog that the other buttons open. Handlers keep the panel's event names; Button is
// 1 left, 2 right, 4 middle; X and Y are relative to the object (pixels, twips for labels).

#include "PanelCommands.h"

#include <QMouseEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

class PanelForm;
class QListWidget;
class QWidget;
struct MenuModel;
struct PanelState;
struct PlaybackState;

class PanelMouse : public QObject
{
    Q_OBJECT
public:
    enum Button { Left = 1, Right = 2, Middle = 4 };

    PanelMouse(PanelForm& panel, PlaybackState& playback, MenuModel& menu, PanelCommands& commands,
               QObject* parent = nullptr);

    // The lists the labels open over the picture area (the main window's SongList and PlayList).
    void setLists(QListWidget* songList, QListWidget* playList);
    // Routes the mouse events of the window and of every panel object to the handlers.
    void install();

    // Window
    void Form_MouseDown(int Button, int Shift, double X, double Y);
    void Form_MouseMove(int Button, int Shift, double X, double Y);
    // Labels (positions in twips)
    void Label1_MouseDown(int Button, int Shift, double X, double Y);
    void Label2_MouseDown(int Index, int Button, int Shift, double X, double Y);
    void Label3_MouseDown(int Index, int Button, int Shift, double X, double Y);
    void Label3_MouseMove(int Index, int Button, int Shift, double X, double Y);
    void LabNum_MouseDown(int Index, int Button, int Shift, double X, double Y);
    void LabNum_MouseUp(int Index, int Button, int Shift, double X, double Y);
    // Keys (positions in pixels)
    void PicButton_MouseDown(int Index, int Button, int Shift, double X, double Y);
    void PicButton_MouseUp(int Index, int Button, int Shift, double X, double Y);
    void PicNum_MouseDown(int Index, int Button, int Shift, double X, double Y);
    void PicNum_MouseUp(int Index, int Button, int Shift, double X, double Y);
    void PicCtl_MouseDown(int Index, int Button, int Shift, double X, double Y);
    void PicCtl_MouseMove(int Index, int Button, int Shift, double X, double Y);
    void PicCtl_MouseUp(int Index, int Button, int Shift, double X, double Y);

    // The window-drag step, the pointer in twips.
    void DragStep(int Button, double X, double Y);

    // The number of the mVolume element that stands for a volume level (0 = 100 %).
    static int VolumeItemOf(int volumeLevel);
    // Font size of the play list over a picture area of the given width (at least 8).
    static double PlayListFontSize(double imageWidth);

    // The timer of the desktop drag, restarted by moves over the logo labels.
    QTimer TimerDesk;

    // Drag state
    double DragX0 = 0, DragY0 = 0, DragLastX = 0, DragLastY = 0;
    bool WinMoving = false;
    double PressX = 0, PressY = 0;
    double LastMoveX = 0;
    int LastMoveY = 0;
    bool ObjMoving = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool dispatch(QWidget* object, QMouseEvent* event);
    bool route(QWidget* object, QMouseEvent* event);
    // Routes the events that waited, in order, while no key is being drawn pressed.
    void deliverHeld();
    // Draws a key pressed; the mouse events that arrive meanwhile wait (dispatch).
    void drawPressed(const std::function<void()>& draw);
    void releaseKey(int family, int index);
    void pressTitleButton(int index);
    void releaseTitleButton(int index);
    bool numberKeyEnabled(int index) const;
    void controlBarMenu(int index);
    void knobDrag(double X, double Y);
    QPointF dragPointer(double X, double Y) const;
    void grabForDrag();
    void runBusy(const std::function<void()>& command);
    void showLyrics();
    void chooseLyricFont();
    void togglePlayList();
    double tppX() const;
    double tppY() const;

    PanelForm& m_panel;
    PlaybackState& m_playback;
    MenuModel& m_menu;
    PanelCommands& m_commands;
    QListWidget* m_songList = nullptr;
    QListWidget* m_playList = nullptr;
    QPoint m_pointer;  // global position of the event being handled, where menus pop up
    QPointF m_dragPointer;  // the pointer on the screen (twips) at the last window-drag step
    // A key is being drawn pressed, and the mouse events that arrived since and still wait.
    bool m_drawingPressed = false;
    struct HeldEvent
    {
        QPointer<QWidget> object;
        std::unique_ptr<QMouseEvent> event;
    };
    std::deque<HeldEvent> m_held;
};
