#pragma once

#include <QString>

class QWidget;
struct PlaybackState;

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
    virtual PlaybackState &playbackState() = 0;

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
};
