#pragma once
// What the settings dialog needs of the main window it belongs to.

#include <QString>

class frmProg;

class SettingsHost
{
public:
    virtual ~SettingsHost() = default;

    // The message line of the panel (Label1), repainted at once.
    virtual void showMessageLine(const QString& text) = 0;
    // The picture-area timer (TimerBMP) interval in milliseconds.
    virtual void setPictureInterval(int milliseconds) = 0;
    // The picture area shown or hidden by the panel's picture-area visibility.
    virtual void applyPictureArea() = 0;
    // The picture area emptied and hidden.
    virtual void clearPictureArea() = 0;
    // The main window takes input again.
    virtual void enableMainWindow() = 0;
    // Every key face built afresh (DeskUpdate with Rebuild).
    virtual void rebuildButtonFaces() = 0;
    // The progress window of the key-face builder; nullptr when there is none.
    virtual frmProg* progressWindow() = 0;
    // The capture settings window's delay box (Text8) and its scroll bar (VScroll3).
    virtual QString captureDelayText() = 0;
    virtual void setCaptureDelay(const QString& text, int scrollValue) = 0;
    // Centres a dialog beside the panel window (FrmCenter).
    virtual void centreDialog(QWidget* dialog) = 0;
};
