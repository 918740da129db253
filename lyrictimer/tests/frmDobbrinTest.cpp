// The lyric timer's window on the simulated media back end and virtual time:
// a folder's songs play, the lyric follows, lines are stamped and the saved
// file reads back in the player.
#include "frmDobbrin.h"

#include "Clock.h"
#include "Cp950.h"
#include "FullDisk.h"
#include "MciCommand.h"
#include "MessageBox.h"
#include "ModSongList.h"
#include "ModTools.h"
#include "SimulatedDisc.h"
#include "SimulatedMedia.h"
#include "ListBoxes.h"
#include "LyricList.h"
#include "frmSongList.h"

#include <QDir>
#include <QKeyEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class DobbrinTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        setMediaClock(&clock);
        mciResetDevices();
        setMciCommandObserver([this](const QString &command, int, const QString &) { commands << command; });
        MessageBox::setAnswerer([](const MessageBox::Request &) { return MessageBox::IdOk; });
        MessageBox::clearShownRequests();
        dialogs.openFile = [this](QWidget *, const QString &, const QString &name, const QString &) {
            openAskedName = name;
            return openAnswer;
        };
        dialogs.saveFile = [this](QWidget *, const QString &dir, const QString &name, const QString &) {
            saveAskedAt = QDir(dir).filePath(name);
            return saveAnswer;
        };
        dialogs.chooseColor = [this](QWidget *, const QColor &) { return colorAnswer; };
    }

    void TearDown() override
    {
        window.reset();
        mciResetDevices();
        setMciCommandObserver({});
        MessageBox::setAnswerer({});
        SimulatedMediaFiles::clear();
        setMediaClock(nullptr);
    }

    QString path(const QString &name) const { return folder.filePath(name); }

    void addSong(const QString &name, qint64 lengthMs)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ID3");
        SimulatedFileInfo info;
        info.lengthMs = lengthMs;
        SimulatedMediaFiles::describe(path(name), info);
    }

    void writeLyric(const QString &name, const QStringList &lines)
    {
        ASSERT_TRUE(Cp950::writeTextFile(path(name), Cp950::joinCrLf(lines)));
    }

    void open() { window = std::make_unique<frmDobbrin>(folder.path(), dialogs); }

    QStringList songLines() const
    {
        QStringList lines;
        for (int i = 0; i < window->SongList->count(); ++i)
            lines << window->SongList->item(i)->text();
        return lines;
    }

    QTemporaryDir folder;
    VirtualClock clock;
    DobbrinDialogs dialogs;
    QString openAnswer;
    QString openAskedName;
    QString saveAnswer;
    QString saveAskedAt;
    std::optional<QColor> colorAnswer;
    QStringList commands;
    std::unique_ptr<frmDobbrin> window;
};

const QStringList SongLyric = {"好歌", "00:01:0第一句", "00:02:0第二句", "00:04:0第三句"};

} // namespace

TEST_F(DobbrinTest, FolderSongStartsAtOnceAndTheLyricFollowsInPlayMode)
{
    addSong("song.mp3", 20000);
    writeLyric("song.txt", SongLyric);
    open();
    EXPECT_EQ(window->CurMediaFile, path("song.mp3"));
    EXPECT_EQ(window->LyricFile, path("song.txt"));
    EXPECT_EQ(window->List2->count(), 1);
    EXPECT_EQ(window->Command10->text(), "To 編輯模式");
    EXPECT_FALSE(window->FollowOff);
    EXPECT_TRUE(commands.contains("open \"" + path("song.mp3") + "\" alias MP3"));

    clock.advance(2600);
    EXPECT_EQ(window->Label1[0]->text(), "00:02:50");
    EXPECT_EQ(window->Label1[2]->text(), "00:20:00");
    EXPECT_EQ(window->SongList->currentRow(), 2);
    EXPECT_EQ(window->Label1[1]->text(), "第二句");
    EXPECT_EQ(window->Label1[3]->text(), "第三句");
    EXPECT_TRUE(window->Playing);
    EXPECT_TRUE(window->Command3->isEnabled());
    // 2.5 s reads as 2 whole seconds (halves round to even) of 20.
    EXPECT_EQ(window->Slider1->value(), 1000 * 2 / 20);
}

TEST_F(DobbrinTest, ModeSwitchShowsTheListAndEnablesEditing)
{
    open();
    EXPECT_TRUE(window->SongList->isHidden());
    EXPECT_FALSE(window->Command5->isEnabled());
    EXPECT_TRUE(window->Command9[3]->isEnabled());
    EXPECT_TRUE(window->Command6->isEnabled());
    window->Command10_Click();
    EXPECT_EQ(window->Command10->text(), "To 撥歌模式");
    EXPECT_TRUE(window->FollowOff);
    EXPECT_FALSE(window->SongList->isHidden());
    EXPECT_TRUE(window->Label1[1]->isHidden());
    for (QWidget *button : {(QWidget *)window->Command4, (QWidget *)window->Command5, (QWidget *)window->Command7,
                            (QWidget *)window->Command9[0], (QWidget *)window->Command9[1], (QWidget *)window->Command9[2]})
        EXPECT_TRUE(button->isEnabled());
    window->Command10_Click();
    EXPECT_EQ(window->Command10->text(), "To 編輯模式");
    EXPECT_FALSE(window->Command9[1]->isEnabled());
}

TEST_F(DobbrinTest, StampedLinesSavedAndReadBackByThePlayerAtTheirTimes)
{
    addSong("song.mp3", 30000);
    QDir().mkpath(path("plain"));
    writeLyric("plain/words.txt", {"好歌", "第一句", "第二句", "第三句"});
    open();
    window->Command10_Click();  // edit mode
    openAnswer = path("plain/words.txt");
    window->Command4_Click();
    ASSERT_EQ(songLines(), QStringList({"好歌", "第一句", "第二句", "第三句"}));
    EXPECT_EQ(window->ImportDir, path("plain"));

    window->editor().setCurrent(1);
    for (qint64 at : {1040, 3000, 5500}) {
        clock.advance(at - clock.now());
        window->Command5_Click();
    }
    // The clock steps in edit mode never moved the current line.
    EXPECT_EQ(songLines(), QStringList({"好歌", "00:01:0第一句", "00:03:0第二句", "00:05:5第三句"}));
    EXPECT_EQ(window->SongList->currentRow(), 3);

    saveAnswer = path("song.txt");
    window->Command6_Click();
    EXPECT_EQ(saveAskedAt, path("plain/words.txt"));  // the last lookup's file
    openAnswer.clear();
    window->Command4_Click();  // cancelled: the list stays
    EXPECT_EQ(openAskedName, "song.txt");  // the name the dialog showed last
    EXPECT_EQ(window->SongList->count(), 4);
    const QByteArray bytes = QByteArray(Cp950::encode(Cp950::joinCrLf(songLines())));
    QFile saved(saveAnswer);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), bytes);

    QListWidget playerList;
    ListWidgetLyricList lines(&playerList);
    ReadLyric(lines, saveAnswer);
    ASSERT_EQ(playerList.count(), 4);
    EXPECT_EQ(ChkLyric(lines, true, "00:00:50"), DueLine::none());
    EXPECT_EQ(ChkLyric(lines, true, "00:01:00"), DueLine::line(1));
    EXPECT_EQ(ChkLyric(lines, true, "00:04:99"), DueLine::line(2));
    EXPECT_EQ(ChkLyric(lines, true, "00:05:50"), DueLine::line(3));
}

TEST_F(DobbrinTest, SaveReplacesTheWholeFileAndDropsTextUpToEquals)
{
    open();
    window->Command10_Click();
    window->SongList->addItems({"01:00:0a=b", "", "01:01:0c"});
    writeLyric("out.txt", {"old", "lines", "that", "were", "longer"});
    saveAnswer = path("out.txt");
    window->Command6_Click();
    QFile saved(saveAnswer);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("b\r\n01:01:0c\r\n"));
}

TEST_F(DobbrinTest, FailedSaveIsReportedAndACancelledOneChangesNothing)
{
    open();
    window->SongList->addItems({"title", "00:01:0x"});
    saveAnswer = path("missing/folder/out.txt");
    window->Command6_Click();
    EXPECT_FALSE(QFile::exists(saveAnswer));
    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_TRUE(MessageBox::shownRequests().at(0).prompt.contains(saveAnswer));

    saveAnswer.clear();
    window->Command6_Click();
    EXPECT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_EQ(songLines(), QStringList({"title", "00:01:0x"}));
}

TEST_F(DobbrinTest, SavingOntoAFullDiskKeepsTheOldLyricFileAndSaysSo)
{
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    saveAnswer = disk.filePath("song.txt");
    ASSERT_TRUE(Cp950::writeTextFile(saveAnswer, "好歌\r\n00:01:0第一句\r\n"));
    disk.fill();

    open();
    window->SongList->addItems({"好歌", "00:01:0第一句", "00:02:0第二句"});
    window->Command6_Click();
    EXPECT_EQ(Cp950::readTextFile(saveAnswer), "好歌\r\n00:01:0第一句\r\n");
    EXPECT_EQ(disk.names(), QStringList({FullDisk::FillerName, "song.txt"}));
    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_EQ(MessageBox::shownRequests().at(0).prompt, "歌詞存檔失敗:" + saveAnswer);
}

TEST_F(DobbrinTest, EditBoxAndHalfSecondButtonsWorkOnTheCurrentLine)
{
    open();
    window->SongList->addItems({"title", "00:59:7abc"});
    window->SongList->setCurrentRow(1);
    EXPECT_EQ(window->Text1->text(), "00:59:7abc");
    window->Command9_Click(4);
    EXPECT_EQ(window->SongList->item(1)->text(), "01:00:2abc");
    EXPECT_EQ(window->Text1->text(), "01:00:2abc");  // the box follows, so Enter keeps the move
    window->Command9_Click(3);
    EXPECT_EQ(window->SongList->item(1)->text(), "00:59:7abc");
    window->Text1->setText("01:00:0new");
    window->Text1_Enter();
    EXPECT_EQ(window->SongList->item(1)->text(), "01:00:0new");
    window->Command5_Click();  // the last line stays current with its new stamp
    EXPECT_EQ(window->Text1->text(), "00:00:0new");
}

// A click on the current line copies it into the edit box again, so that a
// line moved by half a second is not put back by the next Enter.
TEST_F(DobbrinTest, ClickOnTheCurrentLineShowsItsTextAfterAStampMove)
{
    open();
    window->Command10->click();  // edit mode
    window->SongList->clear();
    window->SongList->addItems({"title", "00:59:7abc"});
    window->show();
    auto clickLine = [&](int row) {
        QWidget *view = window->SongList->viewport();
        const QPointF at = window->SongList->visualItemRect(window->SongList->item(row)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(view, &event);
        }
    };
    clickLine(1);
    ASSERT_EQ(window->Text1->text(), "00:59:7abc");
    window->Command9[4]->click();  // 加0.5秒
    clickLine(1);
    EXPECT_EQ(window->Text1->text(), "01:00:2abc");
    emit window->Text1->returnPressed();
    EXPECT_EQ(window->SongList->item(1)->text(), "01:00:2abc");
}

// Before any medium has played the play time reads zero: 記錄時間 still
// writes a stamp and never strips the one a line has.
TEST_F(DobbrinTest, StampBeforeAnyMediumKeepsTheLineStamped)
{
    open();
    ASSERT_EQ(window->List2->count(), 0);
    window->Command10->click();  // edit mode
    window->SongList->addItems({"title", "00:10:5abc", "def"});
    window->SongList->setCurrentRow(1);
    window->Command5->click();
    window->Command5->click();
    EXPECT_EQ(songLines(), QStringList({"title", "00:00:0abc", "00:00:0def"}));
}

TEST_F(DobbrinTest, EndOfSongPlaysTheNextEntryInPlayModeOnly)
{
    addSong("a.mp3", 3000);
    addSong("b.mp3", 3000);
    open();
    ASSERT_EQ(window->CurMediaFile, path("a.mp3"));
    clock.advance(3200);
    EXPECT_EQ(window->CurMediaFile, path("b.mp3"));
    EXPECT_EQ(window->List2->currentRow(), 1);
    clock.advance(3200);
    EXPECT_EQ(window->CurMediaFile, path("a.mp3"));  // wrapped to the first

    window->Command10_Click();  // edit mode: the song simply ends
    clock.advance(10000);
    EXPECT_EQ(window->CurMediaFile, path("a.mp3"));
}

// A file that cannot be played is said; its times are cleared; play mode goes
// on, and a list in which nothing plays stops after one round.
TEST_F(DobbrinTest, FileThatCannotBePlayedIsSaidAndPlayModeGoesOn)
{
    addSong("a.mp3", 3000);
    for (const QString name : {"b.mp3", "c.mp3"}) {
        addSong(name, 3000);
        SimulatedFileInfo broken;
        broken.openError = MediaPlayer::UnreadableFormat;
        SimulatedMediaFiles::describe(path(name), broken);
    }
    open();
    clock.advance(2000);
    ASSERT_FALSE(window->Label1[0]->text().isEmpty());
    clock.advance(1200);  // a.mp3 ends; b.mp3 cannot be played
    EXPECT_EQ(window->CurMediaFile, path("b.mp3"));
    EXPECT_EQ(window->StatusPanel1->text(), "播放媒體錯誤");
    EXPECT_EQ(window->Label1[0]->text(), "");
    EXPECT_EQ(window->Label1[2]->text(), "");
    clock.advance(2100);
    EXPECT_EQ(window->CurMediaFile, path("c.mp3"));
    clock.advance(2100);
    EXPECT_EQ(window->CurMediaFile, path("a.mp3"));  // and a.mp3 plays again

    // Now nothing plays: each entry is tried once, then the list stands.
    SimulatedFileInfo broken;
    broken.openError = MediaPlayer::UnreadableFormat;
    SimulatedMediaFiles::describe(path("a.mp3"), broken);
    clock.advance(3200);
    int opens = 0;
    setMciCommandObserver([&](const QString &command, int, const QString &) { opens += command.startsWith("open ") ? 1 : 0; });
    clock.advance(30000);
    EXPECT_EQ(opens, 2);  // c.mp3 and a.mp3, after b.mp3 failed first
    EXPECT_EQ(window->StatusPanel1->text(), "播放媒體錯誤");
    setMciCommandObserver({});
}

// A device may report the end before its last reading reaches the length
// (here 4.5 s of 4.6 s): stopping by itself after playing is the end.
TEST_F(DobbrinTest, SongThatStopsShortOfItsLengthStillMovesOnInPlayMode)
{
    addSong("a.mp3", 4600);
    addSong("b.mp3", 4600);
    open();
    ASSERT_EQ(window->CurMediaFile, path("a.mp3"));
    clock.advance(5000);
    EXPECT_EQ(window->CurMediaFile, path("b.mp3"));
    EXPECT_EQ(window->List2->currentRow(), 1);

    // Paused is not stopped; in edit mode the song simply ends.
    window->Command8_Click(1);
    clock.advance(10000);
    EXPECT_EQ(window->CurMediaFile, path("b.mp3"));
    window->Command8_Click(0);
    window->Command10_Click();
    clock.advance(10000);
    EXPECT_EQ(window->CurMediaFile, path("b.mp3"));
}

// Opening a song in edit mode leaves the list where the user puts it.
TEST_F(DobbrinTest, OpeningASongInEditModeKeepsTheListStill)
{
    addSong("a.mp3", 20000);
    addSong("b.mp3", 20000);
    writeLyric("b.txt", SongLyric);
    open();
    window->Command10_Click();
    ASSERT_EQ(window->Command10->text(), "To 撥歌模式");
    window->List2->setCurrentRow(1);
    window->List2_Click();
    ASSERT_EQ(window->CurMediaFile, path("b.mp3"));
    EXPECT_TRUE(window->FollowOff);
    EXPECT_TRUE(window->Command5->isEnabled());
    clock.advance(1500);
    EXPECT_EQ(window->SongList->currentRow(), 0);
    window->SongList->setCurrentRow(3);
    clock.advance(1500);
    EXPECT_EQ(window->SongList->currentRow(), 3);
    window->Command5_Click();
    EXPECT_EQ(window->SongList->item(3)->text(), "00:03:0第三句");
}

// Commas and double quotes are saved so that every reader gets the line whole;
// characters the file cannot hold are told before anything is written.
TEST_F(DobbrinTest, SavedLineReadsBackWholeAndUnstorableCharactersAreToldFirst)
{
    open();
    window->SongList->addItems({"歌名", "00:01:0你好,再見", "00:02:0他說\"愛\"我"});
    saveAnswer = path("out.txt");
    window->Command6_Click();
    bool read = false;
    EXPECT_EQ(Cp950::readTextFile(saveAnswer, &read), "歌名\r\n00:01:0你好，再見\r\n00:02:0他說“愛”我\r\n");
    QListWidget list;
    ListWidgetLyricList lines(&list);
    ReadLyric(lines, saveAnswer);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(1)->text(), "00:01:0你好，再見");
    EXPECT_EQ(list.item(2)->text(), "00:02:0他說“愛”我");
    EXPECT_TRUE(MessageBox::shownRequests().isEmpty());

    window->SongList->addItem("00:03:0사랑해 ☃ 사랑");
    saveAnswer = path("other.txt");
    window->Command6_Click();
    EXPECT_FALSE(QFile::exists(saveAnswer));
    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_TRUE(MessageBox::shownRequests().at(0).prompt.endsWith("사랑해☃")) << MessageBox::shownRequests().at(0).prompt.toStdString();
}

TEST_F(DobbrinTest, NextAndPreviousWrapAroundThePlayList)
{
    addSong("a.mp3", 9000);
    addSong("b.mp3", 9000);
    addSong("c.mp3", 9000);
    open();
    window->PreviousSong();
    EXPECT_EQ(window->CurMediaFile, path("c.mp3"));
    window->NextSong();
    EXPECT_EQ(window->CurMediaFile, path("a.mp3"));
    // An entry chosen with the keys starts as a clicked one does.
    for (const auto &[key, song] : {std::pair{Qt::Key_Down, "b.mp3"}, std::pair{Qt::Key_Up, "a.mp3"}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(window->List2, &press);
        EXPECT_EQ(window->CurMediaFile, path(song));
    }
    // Two Down keys at once, the second while the first entry opens: both taken, in order.
    bool secondSent = false;
    setMciCommandObserver([&](const QString &command, int, const QString &) {
        if (!secondSent && command.startsWith("open ") && command.contains("b.mp3")) {
            secondSent = true;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QCoreApplication::postEvent(window->List2, press.clone());
        }
    });
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(window->List2, &down);
    QCoreApplication::processEvents();
    EXPECT_TRUE(secondSent);
    EXPECT_EQ(window->CurMediaFile, path("c.mp3"));
    EXPECT_EQ(window->List2->currentRow(), 2);
    window->NextSong();
    EXPECT_EQ(window->CurMediaFile, path("a.mp3"));
    setMciCommandObserver({});

    window->List2->clear();
    window->NextSong();  // an empty list: nothing to play, nothing breaks
    window->PreviousSong();
    EXPECT_EQ(window->CurMediaFile, path("a.mp3"));
}

TEST_F(DobbrinTest, UntickedTypeLeavesTheCurrentListUntilTheFolderChanges)
{
    addSong("a.mp3", 9000);
    addSong("b.wav", 9000);
    open();
    ASSERT_EQ(window->List2->count(), 2);
    window->List1->item(2)->setCheckState(Qt::Unchecked);  // MP3
    EXPECT_FALSE(window->TypePattern.contains("*.mp3"));
    EXPECT_EQ(window->List2->count(), 2);
    window->Dir1_Change();
    ASSERT_EQ(window->List2->count(), 1);
    EXPECT_EQ(window->List2->item(0)->text(), "b.wav");
}

TEST_F(DobbrinTest, NoLyricShowsItsMessageAndDisablesTheLyricWindow)
{
    addSong("song.mp3", 9000);
    open();
    clock.advance(1000);
    EXPECT_EQ(window->Label1[1]->text(), "沒有歌詞");
    EXPECT_FALSE(window->Command3->isEnabled());
}

TEST_F(DobbrinTest, HeldSliderFreezesTheTimeAndLyricLabels)
{
    addSong("song.mp3", 20000);
    writeLyric("song.txt", SongLyric);
    open();
    clock.advance(1500);
    const QString time = window->Label1[0]->text();
    window->Slider1_MouseDown();
    clock.advance(3000);
    EXPECT_EQ(window->Label1[0]->text(), time);
    EXPECT_EQ(window->Label1[1]->text(), "第一句");
    // The song ends while the slider is held: it is not opened again (nor the next one).
    const qsizetype opened = commands.filter(" alias MP3").size();
    clock.advance(20000);
    EXPECT_EQ(commands.filter(" alias MP3").size(), opened);

    window->Slider1->setValue(500);
    window->Slider1_MouseMove();
    EXPECT_EQ(window->Label1[0]->text(), "00:10:00");
    window->Slider1_MouseUp();
    EXPECT_FALSE(window->SliderDrag);
    EXPECT_EQ(mciStatus("Status MP3 Mode"), "playing");
    clock.advance(300);
    EXPECT_EQ(window->PlayTimeText.left(5), "00:10");
    EXPECT_EQ(window->Label1[1]->text(), "第三句");
}

TEST_F(DobbrinTest, CdTrackFilePlaysItsTrackOnTheCdDevice)
{
    simulatedDisc().insertAudioDisc({60000, 60000, 60000, 60000, 60000, 60000});
    QFile track(path("Track05.cda"));
    ASSERT_TRUE(track.open(QIODevice::WriteOnly));
    track.close();
    open();
    EXPECT_EQ(window->media().MciDevice(), "CDaudio");
    EXPECT_TRUE(commands.contains("Seek CDaudio to 5"));
    EXPECT_TRUE(commands.contains("Play CDaudio to 05:01:00:00"));  // the track alone, not on into the next
    EXPECT_EQ(window->Label2->text(), "撥放清單");
    clock.advance(2100);
    EXPECT_EQ(window->PlayTimeText.left(5), "00:02");
    EXPECT_EQ(window->LengthText, "01:00:00");
    // In edit mode the track ends at its own end: the time stays there.
    window->Command10_Click();
    clock.advance(60000);
    EXPECT_EQ(mciStatus("Status CDaudio Mode"), "stopped");
    EXPECT_EQ(window->PlayTimeText, "01:00:00");  // the clock shows the end
    EXPECT_EQ(window->CurMediaFile, path("Track05.cda"));

    // No lyric file beside the track: the save offers the disc's folder in the program folder.
    saveAnswer.clear();
    window->Command6_Click();
    EXPECT_TRUE(saveAskedAt.startsWith(folder.path() + u'/')) << saveAskedAt.toStdString();
    EXPECT_TRUE(saveAskedAt.endsWith("/Track05.txt")) << saveAskedAt.toStdString();
    // Saved there, the disc's folder is made, and the track finds its lyric the next time.
    saveAnswer = saveAskedAt;
    window->Command6_Click();
    EXPECT_TRUE(QFile::exists(saveAnswer));
    window->List2_Click();
    EXPECT_EQ(window->LyricFile, saveAnswer);
}

TEST_F(DobbrinTest, TrayOpensWhenClosedAndClosesWhenOpen)
{
    simulatedDisc().insertAudioDisc({60000});
    open();
    window->Command13_Click();
    EXPECT_TRUE(simulatedDisc().trayOpen());
    EXPECT_EQ(window->StatusPanel1->text(), "退片中,請稍後...");
    EXPECT_TRUE(window->isEnabled());
    window->Command13_Click();
    EXPECT_FALSE(simulatedDisc().trayOpen());
    EXPECT_EQ(window->StatusPanel1->text(), "進片中,請稍後...");
    EXPECT_FALSE(window->Timer1->isActive());
}

TEST_F(DobbrinTest, ColoursKeptAtShutDownAndAppliedAtTheNextStart)
{
    open();
    EXPECT_EQ(window->colors().currentLine, QColor(255, 255, 0));
    colorAnswer = QColor(1, 2, 3);
    window->Command14_Click(2);
    colorAnswer = QColor(10, 20, 30);
    window->Command14_Click(0);
    colorAnswer.reset();  // cancelled: unchanged
    window->Command14_Click(1);
    EXPECT_EQ(window->SongList->palette().color(QPalette::Base), QColor(1, 2, 3));
    window->CloseForm();
    EXPECT_EQ(AppProduct(), "Dobbrin V1.0 Beta");
    EXPECT_EQ(GetAppSetting("BackColor"), QString::number(1 + 2 * 256 + 3 * 65536));
    EXPECT_EQ(GetAppSetting("SongColor"), QString::number(10 + 20 * 256 + 30 * 65536));
    EXPECT_EQ(GetAppSetting("SongColor1"), QString::number(0x00C0C0));

    open();
    EXPECT_EQ(window->colors().background, QColor(1, 2, 3));
    EXPECT_EQ(window->colors().currentLine, QColor(10, 20, 30));
    EXPECT_EQ(window->colors().nextLine, QColor(192, 192, 0));
    SaveAppSetting("BackColor", "");
    SaveAppSetting("SongColor", "");
}

TEST_F(DobbrinTest, LyricWindowShowsTheMediumsLines)
{
    addSong("song.mp3", 20000);
    writeLyric("song.txt", SongLyric);
    open();
    window->Command3_Click();
    EXPECT_TRUE(window->songListWindow()->isVisible());
    EXPECT_EQ(window->songListWindow()->SongList()->count(), 4);
    window->CloseForm();
    EXPECT_FALSE(window->songListWindow()->isVisible());
}

TEST_F(DobbrinTest, ResizingScalesTheControlsFromTheDesign)
{
    open();
    window->show();
    const QRect design = window->Command10->geometry();
    window->resize(window->reSizer().designSize().width() * 2, window->reSizer().designSize().height());
    EXPECT_EQ(window->Command10->x(), design.x() * 2);
    EXPECT_EQ(window->Command10->width(), design.width() * 2);
    EXPECT_EQ(window->Command10->y(), design.y());
    EXPECT_EQ(window->Command10->height(), design.height());
}

TEST_F(DobbrinTest, SeekWhilePausedStaysPaused)
{
    addSong("song.mp3", 20000);
    open();
    clock.advance(1000);
    window->Command8_Click(1);
    EXPECT_FALSE(window->Playing);
    EXPECT_FALSE(window->Timer1->isActive());
    window->Slider1_MouseDown();
    window->Slider1->setValue(250);
    window->Slider1_MouseUp();
    EXPECT_NE(mciStatus("Status MP3 Mode"), "playing");
    EXPECT_EQ(mciStatus("Status MP3 position"), "5000");
    window->Command8_Click(0);
    clock.advance(600);
    EXPECT_EQ(window->PlayTimeText.left(5), "00:05");
}

TEST_F(DobbrinTest, CdTrackAfterAFileStopsTheFile)
{
    simulatedDisc().insertAudioDisc({60000, 60000, 60000});
    addSong("a.mp3", 9000);
    QFile track(path("Track02.cda"));
    ASSERT_TRUE(track.open(QIODevice::WriteOnly));
    track.close();
    open();
    ASSERT_EQ(window->CurMediaFile, path("a.mp3"));
    EXPECT_EQ(mciStatus("Status MP3 Mode"), "playing");
    window->NextSong();
    EXPECT_EQ(window->CurMediaFile, path("Track02.cda"));
    EXPECT_EQ(mciStatus("Status MP3 Mode"), "");  // closed
    EXPECT_EQ(mciStatus("Status CDaudio Current Track"), "2");
}

TEST_F(DobbrinTest, MediaWindowPositionKeepsThePlayTimeForm)
{
    open();
    window->MCIWnd1_PositionChange(62345);
    EXPECT_EQ(window->PlayTimeText, "01:02:34");
    EXPECT_EQ(window->Label1[0]->text(), "01:02:34");
    EXPECT_EQ(window->LengthText, "00:00:00");
}

TEST_F(DobbrinTest, SongWithBlanksInItsNameOpensWhole)
{
    addSong("my first song.mp3", 9000);
    open();
    EXPECT_EQ(window->CurMediaFile, path("my first song.mp3"));
    EXPECT_EQ(mciStatus("Status MP3 Mode"), "playing");
}

TEST_F(DobbrinTest, DriveChangeNamesTheDiscKindAndListsItsRoot)
{
    open();
    // The drive shown at start is named too, before any choice.
    const QString atStart = window->labVolume->text();
    EXPECT_TRUE(atStart == "硬碟" || atStart.startsWith("光碟序號:")) << atStart.toStdString();
    window->Drive1_Change();
    EXPECT_EQ(window->Dir1->path(), window->Drive1->drive());
    const QString kind = window->labVolume->text();
    EXPECT_TRUE(kind == "硬碟" || kind.startsWith("光碟序號:")) << kind.toStdString();
}

TEST_F(DobbrinTest, ImportedFileOfAnotherKindIsLoadedAsItIs)
{
    addSong("song.mp3", 9000);
    writeLyric("song.txt", SongLyric);
    writeLyric("words.lrc", {"title", "first", "second"});
    open();
    window->Command10_Click();
    openAnswer = path("words.lrc");
    window->Command4_Click();
    EXPECT_EQ(songLines(), QStringList({"title", "first", "second"}));
    EXPECT_EQ(window->LyricFile, path("song.txt"));  // saving still offers the medium's file

    openAnswer = path("gone.txt");
    window->Command4_Click();
    EXPECT_EQ(window->SongList->count(), 0);
}

TEST_F(DobbrinTest, SeekOnACdTrackStaysInThatTrack)
{
    simulatedDisc().insertAudioDisc({60000, 80000, 60000});
    QFile track(path("Track02.cda"));
    ASSERT_TRUE(track.open(QIODevice::WriteOnly));
    track.close();
    open();
    clock.advance(1000);
    window->Slider1_MouseDown();
    window->Slider1->setValue(500);
    window->Slider1_MouseMove();
    EXPECT_EQ(window->Label1[0]->text(), "00:40:00");
    window->Slider1_MouseUp();
    EXPECT_TRUE(commands.contains("Seek CDaudio to 02:00:40 Wait"));
    EXPECT_EQ(mciStatus("Status CDaudio Mode"), "playing");
    clock.advance(600);
    EXPECT_EQ(window->PlayTimeText.left(5), "00:40");
    EXPECT_EQ(mciStatus("Status CDaudio Current Track"), "2");
}
