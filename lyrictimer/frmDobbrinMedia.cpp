// The playing side of the lyric timer's window: the play list built from a
// folder, opening and playing the medium, the clock and the lyric display
// that follows it, the seek slider and the CD tray.
#include "frmDobbrin.h"

#include "Clock.h"
#include "Drives.h"
#include "ListBoxes.h"
#include "LyricList.h"
#include "LyricStamp.h"
#include "MciCommand.h"
#include "MciWnd.h"
#include "MediaTypes.h"
#include "ModFiles.h"
#include "ModSongList.h"
#include "ModTools.h"
#include "frmSongList.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

namespace {

void processEvents() { QCoreApplication::processEvents(); }

// How long "播放媒體錯誤" stands before play mode goes on to the next entry.
constexpr int FailedMediaMessageMs = 2000;

} // namespace

// ---- lyric lookup and display ----

void frmDobbrin::findLyric(QListWidget *list, const QString &mediaPath)
{
    ListWidgetLyricList lines(list);
    LyricLookupSettings settings;
    settings.mode = LyricLookupMode::LyricTimer;
    settings.ProgramFolder = m_programFolder;
    FindLyric(lines, mediaPath, LyricPlace{LyricFile, LyricDir, DiscLyricDir}, settings);
}

void frmDobbrin::checkLyric()
{
    ListWidgetLyricList lines(SongList);
    ChkLyric(lines, false, PlayTimeText, FollowOff ? SelectionPolicy::Keep : SelectionPolicy::Follow);
}

void frmDobbrin::setLabelText(QLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}

void frmDobbrin::showLyricLabels()
{
    if (SongList->count() < 2) {
        setLabelText(Label1[1], QStringLiteral("沒有歌詞"));
        return;
    }
    const int current = SongList->currentRow();
    const QString line = current >= 0 && current < SongList->count() ? SongList->item(current)->text() : QString();
    if (line.size() <= 8) {
        setLabelText(Label1[1], QString());
        return;
    }
    const QListWidgetItem *next = SongList->item(current + 1);
    setLabelText(Label1[1], LyricStamp::lyricText(line));
    setLabelText(Label1[3], next ? LyricStamp::lyricText(next->text()) : QString());
    setWindowTitle(isMinimized() ? LyricStamp::lyricText(line) : programTitle());
}

void frmDobbrin::ShowTime()
{
    if (SliderDrag)
        return;
    processEvents();
    Label1[0]->setText(PlayTimeText);
    Label1[2]->setText(LengthText);
    const int c = LyricStamp::MscToSec(PlayTimeText);
    const int l = LyricStamp::MscToSec(LengthText);
    if (!FollowOff && l != 0 && c >= l)
        NextSong();
    checkLyric();
    showLyricLabels();
    if (l != 0)
        Slider1->setValue(qMin(SliderMax, int(qint64(SliderMax) * c / l)));
    Command3->setEnabled(SongList->count() >= 2);
}

void frmDobbrin::Command3_Click()
{
    findLyric(m_songListWindow->SongList(), CurMediaFile);
    m_songListWindow->show();
    m_songListWindow->raise();
}

void frmDobbrin::Command1_Click()
{
    ShowMsg(QStringLiteral("1. 選擇歌曲所在的資料夾，歌曲會自動撥放。\n"
                           "2. 按「To 編輯模式」，匯入歌詞或在清單中編輯歌詞。\n"
                           "3. 歌曲撥放時，每句歌詞開始時按「記錄時間」。\n"
                           "4. 用「減0.5秒」「加0.5秒」微調時間，最後按「歌詞存檔」。"),
            QStringLiteral("info"));
}

// ---- media list ----

void frmDobbrin::Drive1_Change()
{
    const QString drive = Drive1->drive();
    if (drive.isEmpty())
        return;
    showDriveKind(drive);
    Dir1->setPath(drive);
}

void frmDobbrin::showDriveKind(const QString &drive)
{
    const QString serial = GetVolSerial(drive);
    const QString key = (serial.left(4) + u'-' + serial.right(4)).toUpper();
    labVolume->setText(Drives::DriveType(drive) == 5 ? QStringLiteral("光碟序號:") + key : QStringLiteral("硬碟"));
}

void frmDobbrin::Dir1_Change()
{
    File1->setPath(Dir1->path());
    PlayIndex = 0;
    ShowFileList();
    if (List2->count() >= 2)
        List2->setCurrentRow(0);
}

void frmDobbrin::ChkPatten()
{
    QStringList ticked;
    for (int i = 0; i < List1->count(); ++i)
        if (List1->item(i)->checkState() == Qt::Checked)
            ticked << List1->item(i)->text();
    TypePattern = MediaTypes::typePattern(ticked);
}

void frmDobbrin::ShowFileList()
{
    {
        // A half-built list starts nothing: entry 0 is started below.
        const QSignalBlocker quiet(List2);
        List2->clear();
        List3->clear();
        for (int i = 0; i < File1->listCount(); ++i) {
            const QString name = File1->list(i);
            if (MediaTypes::matchesPattern(name, TypePattern)) {
                List2->addItem(name);
                List3->addItem(File1->path());
            }
        }
    }
    PlayIndex = 0;
    if (List2->count() > 0) {
        List2->setCurrentRow(0);
        List2_Click();
    }
}

void frmDobbrin::List2_Click()
{
    m_firstFailedEntry = -1;  // the user's choice is tried, whatever failed before
    playEntry(List2->currentRow());
}

void frmDobbrin::playEntry(int index)
{
    {
        const QSignalBlocker quiet(List2);  // the entry is started here, not by the list's signal
        List2->setCurrentRow(index);
    }
    // An entry chosen while another one opens (two quick keys) is played after
    // it, in the order chosen: the open under way has taken its path already.
    if (m_playMciRunning) {
        m_entryChosenWhileOpening = true;
        return;
    }
    PlayIndex = index;
    PlayMci();
}

int frmDobbrin::chosenEntry() const { return m_entryChosenWhileOpening ? List2->currentRow() : PlayIndex; }

void frmDobbrin::NextSong()
{
    const int n = List2->count();
    if (n == 0)
        return;  // nothing to go to
    playEntry((chosenEntry() + 1) % n);
}

void frmDobbrin::PreviousSong()
{
    const int n = List2->count();
    if (n == 0)
        return;
    playEntry((chosenEntry() - 1 + n) % n);
}

// ---- playing ----

void frmDobbrin::PlayMci()
{
    if (m_playMciRunning || PlayIndex < 0 || PlayIndex >= List2->count())
        return;
    m_playMciRunning = true;
    ++m_openings;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FollowOff = true;
    if (SongList->count() > 0)
        SongList->setCurrentRow(0);
    MCIWnd1->setCommand(QStringLiteral("Close"));
    const QString path = MediaTypes::entryPath(List3->item(PlayIndex)->text(), List2->item(PlayIndex)->text());
    Picture1->show();
    bool played = true;
    if (MediaTypes::isCdTrack(path)) {
        CurMediaFile = path;
        findLyric(SongList, CurMediaFile);
        PlayTimeText = QStringLiteral("00:00:00");
        // The song before may have had lyrics: its lines are not this track's.
        Label1[1]->clear();
        Label1[3]->clear();
        played = m_media.playCdTrack(MediaTypes::cdTrackNumber(path));
        Timer1->start();
        Label2->setText(QStringLiteral("撥放清單"));
    } else {
        Label2->setText(MediaTypes::lastFolderName(Dir1->path()));
        m_media.stopAndClose();
        Timer1->stop();
        Label1[1]->clear();
        CurMediaFile = path;
        StatusPanel1->setText(path);
        findLyric(SongList, CurMediaFile);
        Command3->setEnabled(FileExist(LyricFile));
        processEvents();
        PlayTimeText = QStringLiteral("00:00:00");
        LengthText = QStringLiteral("99:99:99");
        Label1[1]->clear();
        Label1[3]->clear();
        played = m_media.playFile(CurMediaFile);
        Timer1->start();
    }
    // The list goes on in the mode its button shows: in edit mode it stays where the user puts it.
    FollowOff = inEditMode();
    Playing = false;  // not yet seen playing: a file that never plays is no finished song
    StatusPanel1->setText(QStringLiteral("歌詞檔 : ") + LyricFile);
    if (!played)
        mediaFailed();
    QApplication::restoreOverrideCursor();
    m_playMciRunning = false;
    if (m_entryChosenWhileOpening) {
        m_entryChosenWhileOpening = false;
        playEntry(List2->currentRow());
    }
}

void frmDobbrin::mediaFailed()
{
    // Said, and the last song's time and length go: they are not this entry's.
    Timer1->stop();
    StatusPanel1->setText(QStringLiteral("播放媒體錯誤"));
    PlayTimeText = QStringLiteral("00:00:00");
    LengthText.clear();
    Label1[0]->clear();
    Label1[2]->clear();
    Slider1->setValue(0);
    if (FollowOff)
        return;  // edit mode: the list stays where the user put it
    // Play mode goes on to the next entry, once the message could be read; a
    // round in which nothing played ends at the entry where the failures began.
    if (m_firstFailedEntry < 0)
        m_firstFailedEntry = PlayIndex;
    if ((PlayIndex + 1) % List2->count() == m_firstFailedEntry)
        return;
    const int opening = m_openings;
    mediaClock().singleShot(FailedMediaMessageMs, [this, opening] {
        if (opening == m_openings)  // unless the user started something else meanwhile
            NextSong();
    }, this);
}

void frmDobbrin::Timer1_Timer()
{
    // While the slider is held the song stays: a song that ends meanwhile is
    // not left, so the release seeks the song the user is dragging on.
    if (m_clockStepRunning || SliderDrag)
        return;
    m_clockStepRunning = true;
    const bool wasPlaying = Playing;
    Playing = false;
    processEvents();
    if (SliderDrag) {  // held while events ran
        Playing = wasPlaying;
        m_clockStepRunning = false;
        return;
    }
    const MediaSession::ClockReading reading = m_media.readClock();
    // A device that stops by itself after playing has reached the end of the
    // medium, though its last reading may have fallen short of the length.
    if (!reading.playing && wasPlaying && m_media.reachedEnd()) {
        m_clockStepRunning = false;
        if (!FollowOff) {
            NextSong();
            return;
        }
        // Edit mode: the medium simply ends, and the clock shows where: at its end,
        // not at the last reading a step before it.
        PlayTimeText = m_media.endPlayTime();
        ShowTime();
        return;
    }
    if (reading.playing) {
        Playing = true;
        m_firstFailedEntry = -1;  // something plays: a later failure starts a new round
        PlayTimeText = reading.playTimeText;
        LengthText = reading.lengthText;
        ShowTime();
        processEvents();
        Playing = true;
    }
    m_clockStepRunning = false;
}

void frmDobbrin::Command8_Click(int Index)
{
    if (Index == 0) {
        Timer1->start();
        m_media.play();
    } else {
        Timer1->stop();
        Playing = false;
        m_media.pause();
    }
}

void frmDobbrin::Command13_Click()
{
    Timer1->stop();
    setEnabled(false);
    MCIWnd1->setCommand(QStringLiteral("Close"));
    mciSendString(QStringLiteral("Close ") + m_media.MciDevice());
    Delay(0.25);
    const bool opened = m_media.toggleTray([this](const QString &message) { StatusPanel1->setText(message); });
    if (!opened)
        Drive1->refresh();
    setEnabled(true);
    Delay(0.5);
}

void frmDobbrin::Delay(double seconds) { mediaClock().wait(int(seconds * 1000)); }

void frmDobbrin::MCIWnd1_PositionChange(qint64 position)
{
    // The control counts milliseconds here; the play time keeps its "mm:ss:cc" form.
    PlayTimeText = LyricStamp::msToPlayTime(position);
    LengthText = LyricStamp::msToPlayTime(MCIWnd1->Length());
    ShowTime();
}

// ---- seek slider ----

void frmDobbrin::Slider1_MouseDown()
{
    SliderDrag = true;
    // A song playing now plays on after the release, even one that ends while held.
    m_playingWhenHeld = Playing || m_media.isPlaying();
}

void frmDobbrin::Slider1_MouseMove()
{
    Label1[0]->setText(m_media.timeAtFraction(double(Slider1->value()) / Slider1->maximum()));
}

void frmDobbrin::Slider1_MouseUp()
{
    Timer1->stop();
    // Whether to play on is asked of the device itself: a clock step that is
    // letting events run has Playing cleared for that moment.
    const bool resume = m_playingWhenHeld || Playing || m_media.isPlaying();
    m_media.seekToFraction(double(Slider1->value()) / Slider1->maximum(), resume);
    SliderDrag = false;
    Timer1->start();
}

bool frmDobbrin::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Slider1) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            Slider1_MouseDown();
            break;
        case QEvent::MouseMove:
            if (static_cast<QMouseEvent *>(event)->buttons() & Qt::LeftButton)
                QTimer::singleShot(0, this, &frmDobbrin::Slider1_MouseMove);
            break;
        case QEvent::MouseButtonRelease:
            // After the slider has taken its final value from the release.
            QTimer::singleShot(0, this, &frmDobbrin::Slider1_MouseUp);
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- re-layout ----

void frmDobbrin::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_reSizer.ReSizeAll(this);
}
