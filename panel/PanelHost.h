#pragma once

#include <QString>

class QWidget;
struct LoadedMedia;

// The window that carries a panel: the player's main window or the panel
// editor's canvas. Panel operations reach that window only through here.
// Window positions and sizes passed here are twips, like the window's own
// Left/Top/Width/Height; everything inside the window is pixels.
class PanelHost
{
public:
    virtual ~PanelHost() = default;

    // The form that carries the panel; every panel object is its child.
    virtual QWidget *panelWidget() = 0;

    // The playback globals the number pad reads (MediaKind, MediaCount,
    // MixedDisc, PlayArray as the media files, MciReply).
    virtual LoadedMedia &loadedMedia() = 0;

    // 1440 divided by the logical DPI of the screen the form is on (15 at 96 DPI).
    virtual double twipsPerPixelX() const;
    virtual double twipsPerPixelY() const;

    // The form's outer size and place in twips.
    virtual double formWidthTwips() const;
    virtual double formHeightTwips() const;
    virtual void setFormSizeTwips(double width, double height);
    virtual void moveFormTwips(double left, double top);

    virtual void showForm();
    virtual void hideForm();

    // One MCI command string; the reply is what the device answers ("" when
    // there is no device). The default answers "" and does nothing.
    virtual QString mciSendString(const QString &command);

    // A new panel picture was loaded: the player shows its path in the
    // settings dialog's panel box (frmSet.Text6). Default: nothing.
    virtual void deskPicFileChanged(const QString &path);

    // The window moves to its desktop-drag frame (ImageDesk) and takes the
    // desktop under it as its background. The colour tool calls it on closing
    // over a GIF panel. Default: nothing.
    virtual void DeskTopRef();

    // The screen's size in twips. Default: the form's screen.
    virtual double screenWidthTwips() const;
    virtual double screenHeightTwips() const;

    // Places a dialog of the player (FrmCenter). Default: centred on the screen.
    virtual void FrmCenter(QWidget *form);

    // The media window control, for the panel choice: "Stop" sent to it and
    // where it stood. Default: no media, position and length 0.
    struct MediaWindowPlace
    {
        qint64 position = 0;
        double length = 0;
    };
    virtual MediaWindowPlace stopMediaWindow();
    // After a new panel: a video plays again from the fraction of its length
    // (FrmPlay hidden, PlayVCD of the current file, ChkSeekTime, ChkSeek).
    // Default: nothing.
    virtual void replayVideoAt(double fraction);
    // After a new panel: "PLAY" sent to the media window control. Default: nothing.
    virtual void playMediaWindow();
};
