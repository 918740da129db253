#pragma once
// The settings dialog. Its controls show the options for editing; the options in force are
// kept apart ("committed") so that "取消" gives back what was in force. The rest of the
// player reads the options in force through Options().

#include "PlayerOptions.h"

#include <QDialog>
#include <QVector>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class DriveListBox;
class DirListBox;
class FileListBox;
class SettingsHost;
class frmFindMusic;
struct PanelState;
struct PlaybackState;
struct ShellState;

class frmSet : public QDialog
{
    Q_OBJECT
public:
    // The song-book window is built on first use: findMusic builds it (and then calls
    // findMusicBuilt). lastPlayList hands the last play list's file to the play-list editor.
    frmSet(SettingsHost& host, ShellState& shell, PanelState& panel, PlaybackState& playback,
           std::function<frmFindMusic&()> findMusic, std::function<void(const QString&)> lastPlayList,
           QWidget* parent = nullptr);

    // The song-book window was just built: it follows this dialog's options for its two boxes.
    void findMusicBuilt(frmFindMusic& window);

    // Loading: fills the lists, reads every option (ReadSetData) and builds the song pattern.
    // Before the dialog's controls are built it only reads: they show what was read when built.
    void Form_Load();
    // Builds the dialog's controls (once), showing the options read so far.
    void buildWindow();

    // The options in force.
    const PlayerOptions& Options() const { return m_options; }

    // Stores the options in force, the song-book window's two boxes and the capture delay,
    // and refreshes the globals that follow them.
    void SaveSetData();
    // Finds the last optical drive of the drive list: CdDrive, VcdDir, message line.
    void FindCDROM();
    // "歌本管理": opens the song-book window with its disc list; this dialog waits disabled.
    void Command8_Click();
    // Deletes the key faces of the button cache (only the cache's own <panel>-NN.Bmp files).
    void DelButtonTemp();
    // Hides the dialog, gives back the options in force to its controls, enables the main window.
    void CloseForm();

    // A new panel picture was loaded: the panel box and the option follow it.
    void setDeskPic(const QString& path);
    // The volume bar and its label (0 to 100).
    void showVolume(int levelTenths);
    // The volume bar set as it is (a value off 0 to 100 is ignored), and its value (-1: never set).
    void setVolumeBar(int percent);
    int volumeBar() const { return m_volumeBar; }

    // The cache files DelButtonTemp would delete in a folder.
    static QStringList ButtonCacheFiles(const QString& folder, const QStringList& panelStems);
    // The version text of the caption.
    static QString VersionText();

    // Controls
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text6 = nullptr;        // panel picture
    QPushButton* Command7 = nullptr;
    QListWidget* List1 = nullptr;      // file types
    QLineEdit* Text4 = nullptr;
    QPushButton* Command5[4] = {};     // "加入", "刪除", "確定", "取消"
    QLineEdit* Text5 = nullptr;        // song folder
    QPushButton* Command6 = nullptr;
    QCheckBox* Check3 = nullptr;       // "自動建立歌詞影射目錄"
    QLineEdit* Text2 = nullptr;        // button cache folder
    QPushButton* Command4 = nullptr;
    QLineEdit* Text7 = nullptr;        // capture folder
    QPushButton* Command9 = nullptr;
    QVector<QRadioButton*> Option1, Option2, Option3, Option4;
    QComboBox* Combo1 = nullptr;       // device
    QCheckBox* Check1 = nullptr;       // "自動更換背景圖片"
    QCheckBox* Check2 = nullptr;       // "光碟機進片自動撥放"
    QCheckBox* Check4 = nullptr;       // "目錄明細檔作成"
    QCheckBox* Check5 = nullptr;       // "搜尋後自動撥放"
    QCheckBox* Check6 = nullptr;       // "MTV模式"
    QCheckBox* Check7 = nullptr;       // "檢查混合光碟(Game CD)"
    QScrollBar* VScroll1 = nullptr;    // picture interval 0..30
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text1 = nullptr;        // picture folder
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;   // "確定"
    QPushButton* Command3 = nullptr;   // "取消"
    QPushButton* Command10 = nullptr;  // "清除按鈕快取"
    QPushButton* Command8 = nullptr;   // "歌本管理"
    DriveListBox* Drive1 = nullptr;
    DirListBox* Dir1 = nullptr;
    FileListBox* File1 = nullptr;
    QLabel* Label2 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void buildControls();
    void showVolumeBar();
    QWidget* folderRow(const QString& caption, QLineEdit*& box, QPushButton*& button);
    void ReadSetData();
    void readFolders(const OptionStore& store, PlayerOptions& o);
    void readChecks(const OptionStore& store, PlayerOptions& o);
    void readPictureOptions(const OptionStore& store, PlayerOptions& o);
    void loadLastPlayList(const OptionStore& store);
    void DelTemp();
    void ChkPatten();
    void Command2_Click();
    void Command3_Click();
    void Command10_Click();
    void browseFolder(QLineEdit* box, const QString& pattern);
    void Command7_Click();
    void Command5_Click(int index);
    void List1_Click();
    void Check1_Click();
    void Check3_Click();
    void Option3_Click();
    void VScroll1_Change();
    void Drive1_Change();
    void Dir1_Change();

    // Controls <-> options
    void showOptions(const PlayerOptions& options);
    PlayerOptions editedOptions() const;
    void setFileTypes(const QVector<FileTypeEntry>& list);
    QVector<FileTypeEntry> fileTypes() const;
    void showDevice(const QString& drive);
    QStringList panelStems() const;

    SettingsHost& m_host;
    ShellState& m_shell;
    PanelState& m_panel;
    PlaybackState& m_playback;
    std::function<frmFindMusic&()> m_findMusic;
    std::function<void(const QString&)> m_lastPlayList;
    frmFindMusic* m_findMusicBuilt = nullptr;  // until it is built its boxes are m_options'
    PlayerOptions m_options;
    QButtonGroup* m_groups[4] = {};
    std::optional<QStringList> m_deviceEntries;  // the drive list as loading found it
    int m_volumeBar = -1;
    bool m_loaded = false;
};
