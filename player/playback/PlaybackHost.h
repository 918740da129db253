#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

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
//   engine.discWatcher().start();             // disc arrival and removal
// The control bar calls ChkCD (codes other than 8, 9, 12), key 9's release
// ChkSeek, a knob drag ChkSeekTime; the number pad calls PlayCd. File
// playback and video sizing are engine.filePlayback(), frame capture and its
// settings dialog engine.frameCapture().
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

    // ======================================================================
    // Media probe, file playback, video sizing and frame capture. Each has a
    // harmless default so that a main window without them still builds.
    // ======================================================================

    // --- Panel pieces the probe and file playback show or hide -----------
    virtual void setPictureAreaVisible(bool) {}             // Image1
    virtual void showSpeedKeyIcons() {}                      // ImageButton1(10), (11) shown
    // Tool tip of a control-bar key PicCtl(key) (10 and 11 here).
    virtual void setControlToolTip(int, const QString &) {}
    // The panel shows its picture area (PictureAreaShown) and where, in pixels
    // of the main window.
    virtual bool pictureAreaShown() const { return false; }
    virtual QRect pictureArea() const { return {}; }
    // VcdPic placed over the picture area and shown, under the video.
    virtual void showVideoPicture(const QRect &) {}
    // The picture box PicCut takes the video size.
    virtual void setCutPictureSize(int, int) {}
    // The main window's place and size on the screen, in pixels.
    virtual QRect mainWindowRect() const { return {}; }
    // ScreenClass and ScreenHeight of the panel engine; 0 lets the engine
    // take them from the primary screen.
    virtual int screenClass() const { return 0; }
    virtual int screenHeight() const { return 0; }

    // --- Context menu --------------------------------------------------------
    virtual void setCaptureMenusEnabled(bool) {}             // mCutBmp, mCutBmp1
    // mSeleItem1: one caption per play-array entry, the entry `checked` ticked;
    // items past the list are hidden.
    virtual void setPlayListItems(const QStringList &, int) {}
    // Lists the folder's songs into File1 and the quick song menu mSeleItem
    // (SongIndex ticked); returns their number.
    virtual int UpdateMenu(const QString &) { return 0; }
    // File1.List(index): the name of a song listed by UpdateMenu; "" past the end.
    virtual QString songListEntry(int) const { return {}; }
    // The folder song menu; popUp false only refreshes it.
    virtual void ChkMp3Menu(int, bool) {}

    // --- Slide-show pictures FileBMP -------------------------------------------
    virtual QString slideFolder() const { return {}; }      // FileBMP.Path
    virtual void setSlideFolder(const QString &) {}
    virtual QStringList slidePictures() const { return {}; } // FileBMP.List
    virtual void setSlidePicture(const QString &) {}        // SlidePicFile
    virtual QString backgroundPictureFolder() const { return {}; }  // setting "ShowPicFIle"

    // --- Settings dialog frmSet, read live (media probe) ----------------------
    // File-type list List1: entry 1 "VCD (*.dat)" selected, in a list of two or more.
    virtual bool probeVideoCds() const { return true; }
    virtual bool autoPlayAfterSearch() const { return false; }      // Check5 "搜尋後自動撥放"
    virtual bool askAboutMixedDiscs() const { return false; }       // Check7
    virtual QString cdromSubPath() const { return {}; }             // setting CDROMPATH
    // The song book scan of a disc or folder tree: fills PlayArray with one
    // entry per folder holding songs and returns their number.
    virtual int ScanMp3(const QString &) { return 0; }
    // File1 takes the song pattern SongPattern.
    virtual void applySongPattern() {}
    // frmSet.SaveSetData: every option written, the capture folder created.
    virtual void SaveSetData() {}
};
