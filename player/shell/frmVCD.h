#pragma once
// The player's main window: a borderless window whose face is the panel. It owns the state
// objects of the panel engine, the playback engine and the shell, the panel's object set,
// the settings dialog and the song-library windows, and runs the start and the shut-down.

#include "ButtonColorSettings.h"
#include "LazyWindow.h"
#include "LibraryHost.h"
#include "ListRows.h"
#include "MenuHost.h"
#include "MenuModel.h"
#include "PanelChoice.h"
#include "PanelCommands.h"
#include "PanelHost.h"
#include "PlaybackHost.h"
#include "PanelState.h"
#include "PlaybackState.h"
#include "SettingsHost.h"
#include "ShellState.h"

#include <QPointF>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

class DriveListBox;
class FileListBox;
class FrmReadme;
class ListWidgetLyricList;
class MciWnd;
class ColorToolCanvas;
class DeskDrag;
class PanelChoice;
class FolderSongMenu;
class FrmColor;
class SlideShow;
class PanelForm;
class SongBookScan;
class frmMenu;
class QMenu;
class PanelMouse;
class PlaybackEngine;
class QLabel;
class QListWidget;
class frmFindMusic;
class frmSet;
class frmSongSet;
class frmTemp;

class frmVCD : public QWidget,
               public PanelHost,
               public SettingsHost,
               public PlaybackHost,
               public PanelCommands,
               public MenuHost,
               public LibraryHost
{
    Q_OBJECT
public:
    explicit frmVCD(QWidget* parent = nullptr);
    ~frmVCD() override;

    // Builds the running player (panel folders, settings, window data, panel, first probe).
    // False when the program must end at once (no panel picture at all).
    bool Start();

    // The orderly shut-down: window data saved, media stopped, autoplay command given back,
    // logged, every window closed and the program ended.
    void CloseForm() override;
    void SaveFormData();
    void ReadFormData();

    // Places a dialog: centred in the strip right of the panel when it fits there, else in
    // the middle of the screen.
    void FrmCenter(QWidget* form) override;
    // The same placement in twips, from the screen size, the panel's width and the dialog's size.
    static QPointF FrmCenterPlace(double screenWidth, double screenHeight, double mainWidth, double formWidth,
                                  double formHeight);

    // Panel choice
    // Adds the full paths of the files matching "<folder>/<pattern>" to names from index start;
    // returns start + the number of matches.
    int ScanFIleA(const QString& pathPattern, QStringList& names, int start);
    // The panel menu mDeskPic shows these panels.
    void showDeskMenu(const QVector<DeskMenuEntry>& entries);
    void ScreenResize();
    // The size class of a screen height (640 for 480 ...), or the width when none matches.
    static int ScreenClassOf(int widthPixels, int heightPixels);

    // Title button 3: the settings dialog over a disabled panel.
    void ShowSettings() override;
    // The display changed: the screen-size class and the panel list follow it.
    void SysInfo1_DisplayChanged();

    // The end of the program was reached (CloseForm, the unrequested close).
    bool ended() const { return m_ended; }

    // The objects other parts reach
    PlaybackState& playback() { return m_playback; }
    PanelState& panelState() { return m_panelState; }
    ShellState& shellState() { return m_shell; }
    ButtonColorSettings& colors() { return m_colors; }
    MenuModel& menu() { return m_menu; }
    PanelForm& panel() { return *m_panel; }
    // The settings dialog, its controls built.
    frmSet& settings();
    frmFindMusic& findMusic() { return *m_findMusic; }
    frmSongSet& songSet() { return *m_songSet; }
    frmTemp& taskEntry() { return *m_temp; }
    FrmReadme& readme();
    bool readmeShown() const;
    // The button colour tool, built at its first use: nothing at start reads it.
    FrmColor& colorTool();
    PlaybackEngine& engine() { return *m_engine; }
    PanelMouse& mouse() { return *m_mouse; }
    frmMenu& contextMenu() { return *m_frmMenu; }
    PanelChoice& panelChoice() { return *m_choice; }
    FolderSongMenu& folderSongMenu() { return *m_folderSongMenu; }

    // PanelHost
    QWidget* panelWidget() override { return this; }
    LoadedMedia& loadedMedia() override { return m_playback; }
    void deskPicFileChanged(const QString& path) override;
    QString mciSendString(const QString& command) override;
    void DeskTopRef() override;
    MediaWindowPlace stopMediaWindow() override;
    void replayVideoAt(double fraction) override;
    void playMediaWindow() override;

    // SettingsHost
    void showMessageLine(const QString& text) override;
    void setPictureInterval(int milliseconds) override;
    void applyPictureArea() override;
    void clearPictureArea() override;
    void enableMainWindow() override;
    void rebuildButtonFaces() override;
    frmProg* progressWindow() override;
    QString captureDelayText() override;
    void setCaptureDelay(const QString& text, int scrollValue) override;
    void centreDialog(QWidget* dialog) override;

    // PlaybackHost
    QString message() const override;
    void setMessage(const QString& text) override;
    void repaintMessage() override;
    void setMessageToolTip(const QString& text) override;
    void setMessagePointer(MessagePointer pointer) override;
    void bringMessageToFront() override;
    void AdjLabel() override;
    QString timeLabel(int index) const override;
    void setTimeLabel(int index, const QString& text) override;
    bool timeLabelEnabled(int index) const override;
    void setTimeLabelEnabled(int index, bool enabled) override;
    void setTimeLabelToolTip(int index, const QString& text) override;
    void setTimeLabelVisible(int index, bool visible) override;
    SeekBarGeometry seekBarGeometry() const override;
    void setKnobLeft(double left) override;
    void ChkLab(bool reset) override;
    void ChkLabColor(int index) override;
    bool numberPadLoaded() const override;
    void setPlayKeyFace(int pauseFaceIndex) override;
    void hideBackPicture() override;
    void hideVideoPicture() override;
    void Image1ADJ() override;
    void setSlideShowEnabled(bool on) override;
    LyricList& songList() override;
    bool songListVisible() const override;
    void setSongListVisible(bool visible) override;
    void setOnTop(bool onTop) override;
    void setMousePointer(int pointer) override;
    bool mainEnabled() const override;
    void setMainEnabled(bool enabled) override;
    bool mainVisible() const override;
    void setMainVisible(bool visible) override;
    int taskWindowState() const override;
    void setTaskWindowState(int state) override;
    void setTaskCaption(const QString& text) override;
    MciWnd* mainMci() override { return MCIWnd1; }
    void setQuickSongMenuEnabled(bool enabled) override;
    void setPlayListMenuEnabled(bool enabled) override;
    QString checkedSeekEntry() const override;
    void setVolumeBar(int percent) override;
    EndOfDisc endOfDiscChoice() const override;
    QString songTempDir() const override;
    int creatSongDir() const override;
    QString programFolder() const override;
    int ShowMsg(const QString& prompt, const QString& kind) override;
    void beep() override;

    // PanelCommands: what the keys and the mouse buttons ask for
    void CheckCdrom(bool autoPlay) override;
    void ChkVCDSize() override;
    void SeleDesk() override;
    void ChkMenu(int kind, const QPoint& globalPos) override;
    void PlayCd(int track) override;
    void ChkMp3Menu(int key, const QPoint& globalPos) override;
    void ChkCD(int code) override;
    void ChkSeek() override;
    void ChkSeekTime(double ratio) override;
    void MinimiseToTaskBar() override;
    void PopUpMenu(Menu menu, const QPoint& globalPos) override;
    void SongBookManager() override;
    bool ChooseFont(QFont& font) override;
    void PictureAreaClick() override;

    // PlaybackHost: probe, file playback, video sizing and capture
    void setPictureAreaVisible(bool visible) override;
    void showSpeedKeyIcons() override;
    void setControlToolTip(int key, const QString& text) override;
    bool pictureAreaShown() const override;
    QRect pictureArea() const override;
    void showVideoPicture(const QRect& area) override;
    QRect mainWindowRect() const override;
    int screenClass() const override;
    int screenHeight() const override;
    void setCaptureMenusEnabled(bool enabled) override;
    void setPlayListItems(const QStringList& captions, int checked) override;
    int UpdateMenu(const QString& folder) override;
    QString songListEntry(int index) const override;
    void ChkMp3Menu(int index, bool popUp) override;
    QString slideFolder() const override;
    void setSlideFolder(const QString& folder) override;
    QStringList slidePictures() const override;
    void setSlidePicture(const QString& path) override;
    QString backgroundPictureFolder() const override;
    bool probeVideoCds() const override;
    bool autoPlayAfterSearch() const override;
    bool askAboutMixedDiscs() const override;
    QString cdromSubPath() const override;
    int ScanMp3(const QString& path) override;
    void applySongPattern() override;
    void SaveSetData() override;

    // MenuHost
    void PlayMp3(const QString& folder, int track) override;
    void PlayMp31() override;
    void SetVolume() override;
    void setControlSpeed(int speed) override;
    QString activeDeviceType() const override;
    bool videoWindowVisible() const override;
    void captureFrame(bool continuous) override;
    void DeskShow() override;
    void PrintLyrics() override;
    QString chooseFolder(const QString& startFolder, const QString& pattern) override;
    QString lastListFile() const override;
    QStringList runPlayListEditor(const QString& listFile) override;
    void addToPlayListEditor(const QString& fileName, const QString& folder) override;
    void fillPlayList(const QStringList& entries) override;
    void showVolumePercent(int percent) override;
    int driveType(const QString& drive) const override;
    QStringList songFilesIn(const QString& folder) const override;
    void openDocument(const QString& path, std::function<void()> cannotOpen) override;
    void writeLog(const QString& line) override;

    // LibraryHost
    int driveKind() const override;
    QString songPattern() const override;
    QString cdromLibFile() const override;
    QString musicLibFile() const override;
    int historyMode() const override;
    bool songBookTicked() const override;
    void showMessage(const QString& text) override;
    void delay(double seconds) override;
    void setSongBookTitle(const QString& title) override;
    QWidget* mainWindow() override { return this; }

    // The main window's media control over the picture area, and its two lists.
    MciWnd* MCIWnd1 = nullptr;
    QLabel* VcdPic = nullptr;          // the ground under a video in the picture area
    QListWidget* SongList = nullptr;   // the whole lyric text
    QListWidget* PlayList = nullptr;   // the play list, mirrored on the number pad

    // Hidden lists and timers of the window
    DriveListBox* Drive1 = nullptr;
    FileListBox* File1 = nullptr;      // the songs of the playing folder
    FileListBox* FileBMP = nullptr;
    QTimer TimerBMP;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // ---- Playback engine calls: the one place where the start and the shut-down reach the
    // playback engine (CheckCdrom, ShowPoint, VCDResize, Delay, StopMedia, ResetMedia).
    // Until the engine is connected they do what can be done without it. The capture
    // settings window's delay (captureDelayText/setCaptureDelay) and the picture timer
    // TimerBMP are the other two places the engine's windows take over.
    void playbackCheckCdrom(bool autoPlay);
    void playbackShowPoint();
    void playbackVCDResize();
    void playbackDelay(double seconds);
    void playbackStopMedia();
    void playbackResetMedia();

    // The media control, the lists and the engine behind them, and the mouse handlers.
    void createPlayback();
    void createMenusAndLibrary();
    void createPanelHelpers();
    // The song-book window and the play-list editor, built on first use.
    frmFindMusic* makeFindMusic();
    frmSongSet* makeSongSet();
    // The last play list, read at start while the editor may not exist yet.
    void loadLastPlayList(const QString& listFile);
    void showLastPlayList(frmSongSet& editor);
    // A changed tick of play-list line Item: its number-pad key and entry item follow it.
    void PlayList_ItemCheck(int Item);

    // The phases of the start, in their order.
    bool checkPanelFolders();
    void buildMenusAndSettings();
    void readWindowState();
    void layOutPanel();
    void showAndProbe();
    void finishStart();
    void startupProbe();
    void UnloadAllForms();
    void QuitPlayer();
    void endProgram();
    double screenWidthTwips() const override;
    double screenHeightTwips() const override;

    PlaybackState m_playback;
    PanelState m_panelState;
    ShellState m_shell;
    ButtonColorSettings m_colors;
    MenuModel m_menu;
    std::unique_ptr<PanelForm> m_panel;
    std::unique_ptr<PlaybackEngine> m_engine;
    std::unique_ptr<ListWidgetLyricList> m_lyrics;
    std::unique_ptr<PanelMouse> m_mouse;
    std::unique_ptr<frmMenu> m_frmMenu;
    std::unique_ptr<SlideShow> m_slides;
    bool m_slideTimerEnabled = false;  // the playback engine wants the slide timer to run
    std::unique_ptr<PanelChoice> m_choice;
    std::unique_ptr<DeskDrag> m_deskDrag;
    std::unique_ptr<ColorToolCanvas> m_colorCanvas;
    FrmColor* m_colorTool = nullptr;   // hidden; see colorTool()
    std::unique_ptr<SongBookScan> m_songBookScan;
    std::unique_ptr<FolderSongMenu> m_folderSongMenu;
    QMenu* m_entryMenu = nullptr;      // mSele1 as the number pad's page key pops it up
    LazyWindow<frmFindMusic> m_findMusic{[this] { return makeFindMusic(); }};
    LazyWindow<frmSongSet> m_songSet{[this] { return makeSongSet(); }};
    struct LastPlayList
    {
        QString file;
        std::optional<QVector<ListRow>> rows;  // nullopt: the file could not be opened
    };
    std::optional<LastPlayList> m_lastPlayList;  // read, not yet in the editor
    frmSet* m_set = nullptr;
    frmTemp* m_temp = nullptr;
    FrmReadme* m_readme = nullptr;
    bool m_ended = false;
};
