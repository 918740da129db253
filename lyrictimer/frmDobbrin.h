#pragma once

#include "DobbrinColors.h"
#include "DobbrinDialogs.h"
#include "LyricEditor.h"
#include "MediaSession.h"
#include "ModReSize.h"

#include <QStringList>
#include <QVector>
#include <QWidget>

class ClockTimer;
class DirListBox;
class DriveListBox;
class FileListBox;
class MciWnd;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSlider;
class QStatusBar;
class QToolButton;
class frmSongList;

// Dobbrin's one window: a play list built from a folder's media files, the
// song playing with its time, and the lyric list whose lines are stamped with
// the play time and saved as the timed lyric file the player reads.
class frmDobbrin : public QWidget
{
    Q_OBJECT
public:
    // programFolder: where the drive and folder lists start.
    explicit frmDobbrin(const QString &programFolder, DobbrinDialogs dialogs = DobbrinDialogs::standard(),
                        QWidget *parent = nullptr);
    ~frmDobbrin() override;

    static QString programTitle();
    static constexpr int SliderMax = 1000;  // the seek slider's resolution

    // State the window's parts share.
    QString PlayTimeText = QStringLiteral("00:00:00");  // before any medium too: a stamp is always a stamp
    QString LengthText;
    QString LyricFile;
    QString LyricDir;
    QString DiscLyricDir;
    QString CurMediaFile;
    QString ImportDir;
    QString TypePattern;
    bool FollowOff = false;
    bool SliderDrag = false;
    bool Playing = false;
    int PlayIndex = 0;

    // Controls, by their names.
    DriveListBox *Drive1 = nullptr;
    DirListBox *Dir1 = nullptr;
    FileListBox *File1 = nullptr;
    QListWidget *List1 = nullptr;   // media types, checkable
    QListWidget *List2 = nullptr;   // play list: file names
    QListWidget *List3 = nullptr;   // the folder of each List2 entry (hidden)
    QListWidget *SongList = nullptr;
    QLineEdit *Text1 = nullptr;
    QVector<QLabel *> Label1;       // 0 time, 1 current line, 2 length, 3 next line
    QLabel *Label2 = nullptr;
    QLabel *labVolume = nullptr;
    QSlider *Slider1 = nullptr;
    QVector<QToolButton *> Command8;  // 0 play, 1 pause
    QToolButton *Command11 = nullptr;
    QToolButton *Command12 = nullptr;
    QToolButton *Command13 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command10 = nullptr;
    QVector<QPushButton *> Command9;   // 0 insert before, 1 delete, 2 insert after, 3 -0.5 s, 4 +0.5 s
    QVector<QPushButton *> Command14;  // 0 line colour, 1 next-line colour, 2 background
    MciWnd *MCIWnd1 = nullptr;
    QLabel *Picture1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *StatusPanel1 = nullptr;
    ClockTimer *Timer1 = nullptr;
    frmSongList *songListWindow() const { return m_songListWindow; }

    MediaSession &media() { return m_media; }
    LyricEditor &editor() { return m_editor; }
    ReSizer &reSizer() { return m_reSizer; }
    DobbrinColors colors() const;

    // Window procedures.
    void PlayMci();
    void NextSong();
    void PreviousSong();
    void ShowTime();
    void ChkPatten();
    void ShowFileList();
    void CloseForm();
    void Timer1_Timer();
    void Delay(double seconds);

    // Buttons and events.
    void Command10_Click();
    void Command5_Click();
    void Command9_Click(int Index);
    void Command7_Click();
    void Command4_Click();
    void Command6_Click();
    void Command14_Click(int Index);
    void Command8_Click(int Index);
    void Command13_Click();
    void Command3_Click();
    void Command1_Click();
    void SongList_Click();
    void Text1_Enter();
    void Drive1_Change();
    void Dir1_Change();
    void List2_Click();
    void Slider1_MouseDown();
    void Slider1_MouseMove();
    void Slider1_MouseUp();
    void MCIWnd1_PositionChange(qint64 position);

    // Applies colours to the window, its lists and the lyric labels.
    void applyColors(const DobbrinColors &colors);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void createTransport();
    void createEditButtons();
    void connectControls();
    void Form_Load(const QString &programFolder);
    void enableEditButtons();
    bool inEditMode() const;  // the mode button offers the way back to play mode
    void showLyricLabels();
    // Plays entry index of the play list; one chosen while another opens waits for it.
    void playEntry(int index);
    // The entry last chosen: the one playing, or one waiting for the open under way.
    int chosenEntry() const;
    // The entry could not be played: said, its times cleared, and in play mode the next one.
    void mediaFailed();
    void findLyric(QListWidget *list, const QString &mediaPath);
    void checkLyric();
    void setLabelText(QLabel *label, const QString &text);
    // labVolume: the disc key of an optical drive, else "硬碟".
    void showDriveKind(const QString &drive);

    DobbrinDialogs m_dialogs;
    QString m_programFolder;  // holds the disc-key lyric folders
    MediaSession m_media;
    LyricEditor m_editor;
    ReSizer m_reSizer;
    frmSongList *m_songListWindow = nullptr;
    QColor m_background;
    QString m_dialogFileName;  // the name the file dialogs last showed
    bool m_playMciRunning = false;
    bool m_entryChosenWhileOpening = false;
    int m_openings = 0;          // entries opened so far
    int m_firstFailedEntry = -1;  // where a run of entries that could not be played began
    bool m_clockStepRunning = false;
    bool m_playingWhenHeld = false;  // the song played when the seek slider was pressed
    bool m_closed = false;
};
