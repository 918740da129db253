#pragma once

#include <QString>

class LyricList;
class MciWnd;

// The main window as the playback engine sees it: the panel objects, menus,
// settings and neighbouring windows that playing touches. frmVCD implements
// it; tests implement it with a recording fake. Every call runs on the
// user-interface thread.
//
// Wiring, in the main window:
//   PlaybackEngine engine(playbackState, *this);
//   engine.connectControl(MCIWnd1);           // its events drive the clock
//   engine.setFileTransport(&filePlayback);   // PlayVCD, PlayMp3, ChkVCD, ChkMP3
// The control bar calls ChkCD (codes other than 8, 9, 12), key 9's release
// ChkSeek, a knob drag ChkSeekTime; the number pad calls PlayCd.
class PlaybackHost
{
public:
    virtual ~PlaybackHost() = default;

    // --- Message line Label1 -------------------------------------------
    virtual QString message() const = 0;
    virtual void setMessage(const QString &text) = 0;
    virtual void repaintMessage() = 0;
    virtual void setMessageToolTip(const QString &text) = 0;
    enum class MessagePointer { Cross, LyricIcon };
    // The cross, or the custom pointer made from PicIcon's picture.
    virtual void setMessagePointer(MessagePointer pointer) = 0;
    virtual void bringMessageToFront() = 0;
    // Refits Label1 into the panel's text box after its text changed.
    virtual void AdjLabel() = 0;

    // --- Time labels Label2(0) position, (1) length, (2) title line ----
    virtual QString timeLabel(int index) const = 0;
    virtual void setTimeLabel(int index, const QString &text) = 0;
    virtual bool timeLabelEnabled(int index) const = 0;
    virtual void setTimeLabelEnabled(int index, bool enabled) = 0;
    virtual void setTimeLabelToolTip(int index, const QString &text) = 0;
    virtual void setTimeLabelVisible(int index, bool visible) = 0;

    // --- Seek bar: knob PicCtl(9) moving along the groove PicCtl(13) ---
    struct SeekBarGeometry
    {
        double grooveLeft = 0;   // twips
        double grooveWidth = 0;
        double knobWidth = 0;
    };
    virtual SeekBarGeometry seekBarGeometry() const = 0;
    virtual void setKnobLeft(double left) = 0;

    // --- Number pad ------------------------------------------------------
    // Renumbers the pad for the current MediaKind and MediaCount.
    virtual void ChkLab(bool reset) = 0;
    // Marks the key of Index + 1 (-1: every key in its normal colour).
    virtual void ChkLabColor(int index) = 0;
    // LabNum(0) enabled: a medium was loaded.
    virtual bool numberPadLoaded() const = 0;

    // --- Play key face: ImagePause(1) while playing, ImagePause(0) paused
    virtual void setPlayKeyFace(int pauseFaceIndex) = 0;

    // --- Pictures ----------------------------------------------------------
    virtual void hideBackPicture() = 0;       // ImageBack
    virtual void hideVideoPicture() = 0;      // VcdPic
    virtual void clearPictureArea() = 0;      // Image1: no picture, hidden
    virtual void Image1ADJ() = 0;             // next slide-show picture
    virtual void setSlideShowEnabled(bool on) = 0;  // TimerBMP

    // --- Lyric list SongList -------------------------------------------
    virtual LyricList &songList() = 0;
    virtual bool songListVisible() const = 0;
    virtual void setSongListVisible(bool visible) = 0;

    // --- Main window and the task-bar window frmTemp ---------------------
    virtual void setOnTop(bool onTop) = 0;            // FormOnTop
    virtual void setMousePointer(int pointer) = 0;    // 0 default, 11 hourglass, 13 arrow+hourglass
    virtual bool mainEnabled() const = 0;
    virtual void setMainEnabled(bool enabled) = 0;
    virtual bool mainVisible() const = 0;
    virtual void setMainVisible(bool visible) = 0;
    virtual int taskWindowState() const = 0;          // 1 minimized, 0 normal
    virtual void setTaskWindowState(int state) = 0;
    virtual void setTaskCaption(const QString &text) = 0;
    // The main window's own media control over the picture area (MCIWnd1).
    virtual MciWnd *mainMci() = 0;

    // --- Context menu frmMenu ---------------------------------------------
    virtual void setQuickSongMenuEnabled(bool enabled) = 0;   // mSele
    virtual void setPlayListMenuEnabled(bool enabled) = 0;    // mSele1
    // Caption of the first ticked seek-menu entry; "" when none is ticked.
    virtual QString checkedSeekEntry() const = 0;

    // --- Settings dialog frmSet, read live ---------------------------------
    // ProgressBar1 value and its caption Label4 ("70%").
    virtual void setVolumeBar(int percent) = 0;
    enum EndOfDisc { Repeat = 0, Eject = 1, Stop = 2 };   // Option2(0..2)
    virtual EndOfDisc endOfDiscChoice() const = 0;
    virtual QString songTempDir() const = 0;              // SongTempDir
    virtual int creatSongDir() const = 0;                 // CreatSongDir, 1 ticked
    virtual QString programFolder() const = 0;

    // --- Messages -----------------------------------------------------------
    // ShowMsg: kinds "ok", "info", "error", "exc", "yesno"; returns the button (6 = Yes).
    virtual int ShowMsg(const QString &prompt, const QString &kind) = 0;
    virtual void beep() = 0;
};
