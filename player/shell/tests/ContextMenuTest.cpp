// The context menu: its tree, the branches the keys pop up, and every item's handler, against
// a recording host.

#include "ShellTestSupport.h"

#include "MenuHost.h"
#include "MessageBox.h"
#include "SystemPaths.h"
#include "MenuModel.h"
#include "ModFiles.h"
#include "PanelState.h"
#include "PlaybackState.h"
#include "ShellState.h"
#include "frmMenu.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <gtest/gtest.h>
#include <memory>

namespace {

class RecordingMenuHost : public MenuHost
{
public:
    QStringList calls;
    QString deviceType;
    bool videoShown = false;
    QString chosenFolder;                       // "" cancels the picker
    QString listFile = "/songs/unknow.m3u";
    QStringList handedOver;                     // what the play-list editor hands over
    QMap<QString, QStringList> folders;         // song files by folder
    QStringList playList;

    void CheckCdrom(bool autoPlay) override { calls << QString("CheckCdrom %1").arg(autoPlay); }
    void PlayMp3(const QString& folder, int track) override { calls << QString("PlayMp3 %1 %2").arg(folder).arg(track); }
    void PlayMp31() override { calls << "PlayMp31"; }
    void SetVolume() override { calls << "SetVolume"; }
    void ChkVCDSize() override { calls << "ChkVCDSize"; }
    void setControlSpeed(int speed) override { calls << QString("speed %1").arg(speed); }
    QString activeDeviceType() const override { return deviceType; }
    bool videoWindowVisible() const override { return videoShown; }
    void captureFrame(bool continuous) override { calls << QString("capture %1").arg(continuous); }
    void DeskShow() override { calls << "DeskShow"; }
    void ShowSettings() override { calls << "ShowSettings"; }
    void SongBookManager() override { calls << "SongBookManager"; }
    void PrintLyrics() override { calls << "PrintLyrics"; }
    QString chooseFolder(const QString& start, const QString& pattern) override
    {
        calls << QString("chooseFolder %1 %2").arg(start, pattern);
        return chosenFolder;
    }
    QString lastListFile() const override { return listFile; }
    QStringList runPlayListEditor(const QString& file) override
    {
        calls << "editor " + file;
        return handedOver;
    }
    void addToPlayListEditor(const QString& name, const QString& folder) override
    {
        calls << QString("addRow %1 %2").arg(name, folder);
    }
    void fillPlayList(const QStringList& entries) override { playList = entries; }
    void showVolumePercent(int percent) override { calls << QString("volume %1%").arg(percent); }
    int driveType(const QString& drive) const override { return drive.startsWith("/dev/sr") ? 5 : 3; }
    QStringList songFilesIn(const QString& folder) const override { return folders.value(folder); }
    void openDocument(const QString& path, std::function<void()> cannotOpen) override
    {
        calls << "open " + path;
        cannotOpenDocument = std::move(cannotOpen);
    }
    std::function<void()> cannotOpenDocument;
    void writeLog(const QString& line) override { calls << "log " + line; }
};

class ContextMenuTest : public ::testing::Test
{
protected:
    ContextMenuTest()
    {
        ShellTest::freshWorld();
        model.Form_Load();
        menu = std::make_unique<frmMenu>(model, playback, panel, shell, host);
    }

    // The action of a menu (or its submenus) with this text; nullptr when none.
    static QAction* find(QMenu* menu, const QString& text)
    {
        for (QAction* a : menu->actions()) {
            if (a->text() == text) return a;
            if (a->menu())
                if (QAction* inner = find(a->menu(), text)) return inner;
        }
        return nullptr;
    }

    static QStringList texts(QMenu* menu)
    {
        QStringList list;
        for (QAction* a : menu->actions()) list << (a->isSeparator() ? QString("-") : a->text());
        return list;
    }

    MenuModel model;
    PlaybackState playback;
    PanelState panel;
    ShellState shell;
    RecordingMenuHost host;
    std::unique_ptr<frmMenu> menu;
};

}  // namespace

TEST_F(ContextMenuTest, WholeTreeAndTheBranchesPoppedUpAlone)
{
    std::unique_ptr<QMenu> main(menu->build(frmMenu::Branch::Main));
    EXPECT_EQ(texts(main.get()), (QStringList{"播放選單", "畫面尺寸", "更換面版", "設定參數", "前進/後退", "播放速度",
                                              "音量控制", "播放清單"}));
    std::unique_ptr<QMenu> disk(menu->build(frmMenu::Branch::Disk));
    const QStringList diskTexts = texts(disk.get());
    EXPECT_EQ(diskTexts.first(), "搜尋裝置");
    EXPECT_TRUE(diskTexts.contains("清單檔播放(m3u)"));
    EXPECT_TRUE(diskTexts.contains("說明文件"));
    EXPECT_FALSE(find(disk.get(), "選擇播放清單")->isEnabled());  // disabled until media load
    EXPECT_FALSE(find(disk.get(), "快速選曲")->isEnabled());

    std::unique_ptr<QMenu> seek(menu->build(frmMenu::Branch::Seek));
    EXPECT_EQ(texts(seek.get()).mid(0, 3), (QStringList{"前進/後退", "-", "1   Frame"}));
    EXPECT_EQ(seek->actions().size(), 18);
    EXPECT_TRUE(find(seek.get(), "1  Min")->isChecked());

    std::unique_ptr<QMenu> list(menu->build(frmMenu::Branch::List));
    EXPECT_EQ(texts(list.get()), (QStringList{"播放清單", "-", "加入清單中", "由清單中刪除"}));
}

TEST_F(ContextMenuTest, HeadersAndTheDeleteItemDoNothing)
{
    std::unique_ptr<QMenu> list(menu->build(frmMenu::Branch::List));
    find(list.get(), "由清單中刪除")->trigger();
    find(list.get(), "播放清單")->trigger();
    std::unique_ptr<QMenu> speed(menu->build(frmMenu::Branch::Speed));
    find(speed.get(), "播放速度")->trigger();
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(ContextMenuTest, SpeedItemSetsBothControlsAndMovesTheTick)
{
    std::unique_ptr<QMenu> speed(menu->build(frmMenu::Branch::Speed));
    find(speed.get(), "110%")->trigger();
    EXPECT_EQ(host.calls, QStringList{"speed 1100"});
    EXPECT_FALSE(model.mSpeed1[9].checked);
    EXPECT_TRUE(model.mSpeed1[10].checked);
    EXPECT_EQ(model.SpeedIndex, 10);
    EXPECT_EQ(playback.PlaySpeed, 1100) << "the faster and slower keys step on from the menu's speed";
    menu->mSpeed1_Click(0);
    EXPECT_EQ(host.calls.last(), "speed 100");
    menu->mSpeed1_Click(19);  // 200%: "faster" then goes to 225%, not down to 125%
    EXPECT_EQ(playback.PlaySpeed, 2000);
    menu->mSpeed1_Click(21);
    EXPECT_EQ(host.calls.last(), "speed 2200");
    EXPECT_EQ(playback.PlaySpeed, 2200);
    EXPECT_EQ(std::count_if(model.mSpeed1.begin(), model.mSpeed1.end(), [](const MenuItem& i) { return i.checked; }),
              1);
}

TEST_F(ContextMenuTest, VolumeItemSetsTheLevelShowsItAndLeavesNoTick)
{
    model.mVolume[3].checked = true;
    menu->mVolume_Click(10);  // 0%
    EXPECT_EQ(playback.VolumeLevel, 0);
    EXPECT_EQ(host.calls, (QStringList{"SetVolume", "volume 0%"}));
    for (const MenuItem& item : model.mVolume) EXPECT_FALSE(item.checked);

    // A MIDI sequencer is not sent the level, but the display follows.
    host.calls.clear();
    host.deviceType = "sequencer";
    menu->mVolume_Click(3);
    EXPECT_EQ(playback.VolumeLevel, 700);
    EXPECT_EQ(host.calls, QStringList{"volume 70%"});
}

TEST_F(ContextMenuTest, QuickSelectionFollowsTheFolderAndKeepsItsItemsWhenAFolderIsEmpty)
{
    host.folders["/m/five"] = QStringList{"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"};
    host.folders["/m/three"] = QStringList{"x.mp3", "y.mp3", "z.mp3"};
    EXPECT_EQ(menu->UpdateMenu("/m/five"), 5);
    playback.SongIndex = 1;
    EXPECT_EQ(menu->UpdateMenu("/m/three"), 3);
    ASSERT_EQ(model.mSeleItem.size(), 5);
    EXPECT_EQ(model.mSeleItem[0].caption, "<01>x.mp3");
    EXPECT_EQ(model.mSeleItem[2].caption, "<03>z.mp3");
    EXPECT_TRUE(model.mSeleItem[2].visible);
    EXPECT_FALSE(model.mSeleItem[3].visible);
    EXPECT_FALSE(model.mSeleItem[4].visible);
    EXPECT_TRUE(model.mSeleItem[1].checked);
    EXPECT_FALSE(model.mSeleItem[0].checked);

    // A folder without songs (or one that is gone) leaves the list and its tick alone.
    EXPECT_EQ(menu->UpdateMenu("/m/gone"), 0);
    EXPECT_EQ(model.mSeleItem[0].caption, "<01>x.mp3");
    EXPECT_TRUE(model.mSeleItem[1].checked);
}

TEST_F(ContextMenuTest, TitleButtonBranchesAreRefreshedBeforeTheyPopUp)
{
    model.mDiskC = {MenuItem("/ [ROOT]"), MenuItem("/dev/sr0"), MenuItem("/data [DATA]")};
    model.mDiskC[0].tag = "/";
    model.mDiskC[1].tag = "/dev/sr0";
    model.mDiskC[2].tag = "/data";
    model.mDiskC[2].visible = false;
    playback.CdDrive = "/dev/sr0";
    EXPECT_TRUE(menu->prepareBranch(0));
    EXPECT_FALSE(model.mDiskC[0].checked);  // "/" is part of every path, but not this drive
    EXPECT_TRUE(model.mDiskC[1].checked);
    EXPECT_TRUE(model.mDiskC[2].visible);

    EXPECT_TRUE(menu->prepareBranch(1));
    for (const MenuItem& item : model.mSize) EXPECT_FALSE(item.enabled);
    host.videoShown = true;
    menu->prepareBranch(1);
    for (const MenuItem& item : model.mSize) EXPECT_TRUE(item.enabled);
    EXPECT_FALSE(menu->prepareBranch(3));
}

TEST_F(ContextMenuTest, VideoSizeItems)
{
    playback.NaturalWidth = 352;
    playback.NaturalHeight = 240;
    menu->mSize_Click(2);
    EXPECT_EQ(playback.VideoWidth, 528);
    EXPECT_EQ(playback.VideoHeight, 360);
    panel.ScreenClass = 1024;
    panel.ScreenHeight = 768;
    menu->mSize_Click(4);
    EXPECT_EQ(playback.VideoWidth, 1024);
    EXPECT_EQ(playback.VideoHeight, 768);
    menu->mSize_Click(0);
    EXPECT_EQ(playback.VideoWidth, 176);
    EXPECT_EQ(host.calls, (QStringList{"ChkVCDSize", "ChkVCDSize", "ChkVCDSize"}));
}

TEST_F(ContextMenuTest, SeekItemsKeepExactlyOneTick)
{
    menu->mSeek_Click(4);
    for (int i = 0; i < model.mSeek.size(); ++i) EXPECT_EQ(model.mSeek[i].checked, i == 4);
    menu->mSeek_Click(16);  // no such item: the tick stays
    EXPECT_TRUE(model.mSeek[4].checked);
}

TEST_F(ContextMenuTest, DriveItemProbesThatDrive)
{
    shell.SearchFolder = "Music";
    MenuModel::element(model.mDiskC, 1) = MenuItem("/dev/sr0");
    model.mDiskC[1].tag = "/dev/sr0";
    menu->mDiskC_Click(1);
    EXPECT_EQ(playback.CdDrive, "/dev/sr0");
    EXPECT_EQ(playback.VcdDir, "/dev/sr0/Mpegav");
    EXPECT_EQ(playback.DriveKind, 5);
    EXPECT_TRUE(shell.SearchFolder.isEmpty());
    EXPECT_EQ(host.calls, QStringList{"CheckCdrom 1"});
}

TEST_F(ContextMenuTest, FolderSearchProbesTheChosenFolderAndShowsItInTheCaption)
{
    shell.SongPattern = "*.MP3";
    model.mPath.caption = FixLen(model.mPath.caption, 9) + " /data/Old";
    playback.MixedDisc = true;
    menu->mPath_Click();  // cancelled
    EXPECT_EQ(host.calls, QStringList{"chooseFolder /data/Old *.MP3"});
    EXPECT_TRUE(playback.MixedDisc);

    host.chosenFolder = "/data/Music";
    menu->mPath_Click();
    EXPECT_FALSE(playback.MixedDisc);
    EXPECT_EQ(playback.CdDrive, "/data");
    EXPECT_EQ(shell.SearchDrive, "/data");
    EXPECT_EQ(shell.SearchFolder, "Music");
    EXPECT_EQ(model.mPath.caption, QString("搜尋目錄") + QString(5, ' ') + " /data/Music");
    EXPECT_EQ(playback.DriveKind, 3);
    EXPECT_EQ(host.calls.last(), "CheckCdrom 1");

    // A folder several levels below its drive shows whole, and the next search starts there.
    host.chosenFolder = "/data/x/media/Music";
    menu->mPath_Click();
    EXPECT_EQ(shell.SearchFolder, "x/media/Music");
    EXPECT_EQ(model.mPath.caption, QString("搜尋目錄") + QString(5, ' ') + " /data/x/media/Music");
    host.chosenFolder.clear();
    menu->mPath_Click();
    EXPECT_EQ(host.calls.last(), "chooseFolder /data/x/media/Music *.MP3");
}

TEST_F(ContextMenuTest, HelpItemOpensTheReadmeOrSaysItIsMissing)
{
    MessageBox::setAnswerer([](const MessageBox::Request&) { return int(MessageBox::IdOk); });
    MessageBox::clearShownRequests();
    const QString readme = AddPath(SystemPaths::ProgramFolder(), "readme.htm");
    QFile::remove(readme);
    menu->mReadme_Click();
    EXPECT_TRUE(host.calls.isEmpty());
    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_TRUE(MessageBox::shownRequests()[0].prompt.contains(readme));

    QFile file(readme);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    menu->mReadme_Click();
    EXPECT_EQ(host.calls, QStringList{"open " + readme});
    EXPECT_EQ(MessageBox::shownRequests().size(), 1);
    // No program opened it: the user is told.
    ASSERT_TRUE(host.cannotOpenDocument);
    host.cannotOpenDocument();
    ASSERT_EQ(MessageBox::shownRequests().size(), 2);
    EXPECT_EQ(MessageBox::shownRequests()[1].prompt, "無法開啟說明文件:\r\n" + readme);
    MessageBox::setAnswerer({});
}

TEST_F(ContextMenuTest, PlayListItemPlaysTheHandedOverEntries)
{
    playback.MixedDisc = true;
    menu->mPath1_Click();  // "放棄": nothing plays, nothing changes
    EXPECT_EQ(host.calls, QStringList{"editor /songs/unknow.m3u"});
    EXPECT_TRUE(playback.MixedDisc);
    EXPECT_EQ(model.mSele1M.caption, "選擇播放清單");

    host.handedOver = QStringList{"/m/a.mp3", "/m/b.mp3"};
    menu->mPath1_Click();
    EXPECT_FALSE(playback.MixedDisc);
    EXPECT_EQ(playback.MediaCount, 2);
    EXPECT_EQ(playback.ListEntryCount, 2);
    ASSERT_EQ(playback.PlayArray.size(), 2);
    EXPECT_EQ(playback.PlayArray[1].toString(), "/m/b.mp3");
    EXPECT_EQ(model.mSele1M.caption, "清單檔:/songs/unknow.m3u");
    EXPECT_EQ(host.playList, host.handedOver);
    EXPECT_EQ(host.calls.last(), "PlayMp31");
}

TEST_F(ContextMenuTest, PlayListPastSixteenBitsKeepsItsWholeCount)
{
    // A 16-bit count wrapped negative here, so the end of each song went back to the first.
    for (int i = 0; i < 40000; ++i) host.handedOver << QString("/m/%1.mp3").arg(i);
    menu->mPath1_Click();
    EXPECT_EQ(playback.MediaCount, 40000);
    EXPECT_EQ(playback.ListEntryCount, 40000);
    EXPECT_EQ(playback.PlayArray.size(), 40000);
}

TEST_F(ContextMenuTest, SongItemsPlayFromTheRightEntry)
{
    playback.PlayArray = {QString("/m/0"), QString("/m/1"), QString("/m/2"), QString("/m/3")};
    playback.MediaCount = 4;
    menu->mSeleItem1_Click(3);  // the first file of entry 3
    EXPECT_EQ(playback.TrackIndex, 3);
    EXPECT_EQ(playback.SongIndex, 0);
    menu->mSeleItem_Click(5);  // file 5 of the playing entry
    EXPECT_EQ(playback.SongIndex, 5);
    model.mSele2M.caption = "/m/1";
    menu->mSeleItem2_Click(2);
    EXPECT_EQ(playback.TrackIndex, 1);
    model.mSele2M.caption = "/elsewhere";
    menu->mSeleItem2_Click(4);  // no entry matches: the playing entry
    EXPECT_EQ(playback.TrackIndex, 1);
    menu->mSeleItem1_Click(9);  // past the list: nothing
    EXPECT_EQ(host.calls, (QStringList{"PlayMp3 /m/3 0", "PlayMp3 /m/3 5", "PlayMp3 /m/1 2", "PlayMp3 /m/1 4"}));
}

TEST_F(ContextMenuTest, PanelToolsAndWindowsItems)
{
    MenuModel::element(model.mDeskPic, 0).tag = "/p/Skin/Blue.jpg";
    menu->mDeskPic_Click(0);
    EXPECT_EQ(panel.DeskPicFile, "/p/Skin/Blue.jpg");
    menu->mTool_Click();
    menu->mFindMusic_Click();
    menu->mSongText_Click();
    menu->mCutBmp1_Click();
    menu->mCutBmp_Click();
    menu->mADDList_Click();  // nothing plays: no empty row
    playback.CurMediaFile = "/m/a/song.mp3";
    menu->mADDList_Click();
    EXPECT_EQ(host.calls, (QStringList{"log 更換面板為/p/Skin/Blue.jpg", "DeskShow", "ShowSettings", "SongBookManager",
                                       "PrintLyrics", "capture 0", "capture 1", "addRow song.mp3 /m/a"}));
}

TEST_F(ContextMenuTest, PercentCaptionsToLevels)
{
    EXPECT_EQ(frmMenu::LevelOf("110%"), 1100);
    EXPECT_EQ(frmMenu::LevelOf("0%"), 0);
    EXPECT_EQ(frmMenu::LevelOf("100%"), 1000);
    EXPECT_EQ(frmMenu::LevelOf("x"), 0);
}
