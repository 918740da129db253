#include "ShellTestSupport.h"

#include "Drives.h"
#include "ListBoxes.h"
#include "MessageBox.h"
#include "ModTools.h"
#include "PanelState.h"
#include "SystemPaths.h"
#include "FrameCapture.h"
#include "PlaybackEngine.h"
#include "frmCutSet.h"
#include "frmFindMusic.h"
#include "frmSet.h"
#include "frmSongSet.h"
#include "frmVCD.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString setting(const QString& key) { return GetAppSetting(key, QStringLiteral("<missing>")); }

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

void pressReturn(QWidget* box)
{
    box->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &release);
}

}  // namespace

TEST(SettingsDialog, FirstStartDefaults)
{
    ShellTest::freshWorld();
    frmVCD vcd;
    vcd.settings().Form_Load();
    const PlayerOptions& o = vcd.settings().Options();
    EXPECT_EQ(o.SongTempDir, SystemPaths::TempFolder());
    EXPECT_EQ(o.CutDir, SystemPaths::TempFolder());
    EXPECT_EQ(o.ButtonTempDir, SystemPaths::WindowsFolder() + "/Temp/Quorvel Temp");
    EXPECT_TRUE(QDir(o.ButtonTempDir).exists());
    EXPECT_EQ(o.ScanType, 2);
    EXPECT_EQ(o.StopMode, 0);
    EXPECT_EQ(o.ShowMode, 0);
    EXPECT_EQ(o.History, 0);
    EXPECT_TRUE(vcd.settings().Option1[2]->isChecked());
    EXPECT_EQ(vcd.settings().Check3->checkState(), Qt::Unchecked);
    EXPECT_EQ(vcd.settings().Check7->checkState(), Qt::Unchecked);
    for (QCheckBox* box : {vcd.settings().Check1, vcd.settings().Check2, vcd.settings().Check4,
                           vcd.settings().Check5, vcd.settings().Check6})
        EXPECT_EQ(box->checkState(), Qt::Checked) << box->text().toStdString();
    EXPECT_EQ(vcd.settings().VScroll1->value(), 5);
    EXPECT_EQ(vcd.TimerBMP.interval(), 5000);
    EXPECT_EQ(vcd.shellState().SongPattern, "*.CDA;*.DAT;*.AVI;*.MP3;*.MID");
    EXPECT_EQ(vcd.settings().windowTitle(), "設定組態 - Quorvel V1.1");
    EXPECT_EQ(vcd.shellState().CdromLibFile, SystemPaths::TempFolder() + "/CDROMLib.TXT");
    EXPECT_EQ(vcd.songSet().CurListFile, SystemPaths::TempFolder() + "/unknow.m3u");
    EXPECT_EQ(vcd.playback().VolumeLevel, 1000);
    EXPECT_EQ(vcd.settings().Label4->text(), "100%");
    // Every box and bar that holds a setting is named by a caption beside it.
    QMap<QWidget*, QString> captions;
    for (const QLabel* label : vcd.settings().findChildren<QLabel*>())
        if (label->buddy()) captions[label->buddy()] = label->text();
    EXPECT_EQ(captions.value(vcd.settings().VScroll1), "換圖間隔(秒)");
    EXPECT_EQ(captions.value(vcd.settings().Text1), "背景圖片目錄");
    EXPECT_EQ(captions.value(vcd.settings().Text6), "工作中面版");
    vcd.settings().show();
    vcd.settings().grab().save(ShellTest::outputFolder() + "/settings-dialog.png");
}

TEST(SettingsDialog, EveryOptionRoundTripsThroughTheStore)
{
    const QString program = ShellTest::freshWorld();
    const QString songs = program + "/songs";
    const QString cache = program + "/cache";
    const QString cuts = program + "/cuts";
    QDir().mkpath(songs);
    {
        frmVCD vcd;
        frmSet& s = vcd.settings();
        s.Form_Load();
        s.show();
        s.Text6->setText(program + "/Skin/Blue.jpg");
        s.Text5->setText(songs);
        s.Check3->setCheckState(Qt::Checked);
        s.Text2->setText(cache);
        s.Text7->setText(cuts);
        s.Option1[0]->setChecked(true);
        s.Option2[1]->setChecked(true);
        s.Option3[1]->setChecked(true);
        s.Option4[2]->setChecked(true);
        s.Combo1->setCurrentIndex(1);  // "/data [DATA]"
        s.Check1->setCheckState(Qt::Unchecked);
        s.Check2->setCheckState(Qt::Unchecked);
        s.Check4->setCheckState(Qt::Unchecked);
        s.Check5->setCheckState(Qt::Unchecked);
        s.Check6->setCheckState(Qt::Unchecked);
        s.Check7->setCheckState(Qt::Checked);
        vcd.findMusic().Check1->setChecked(false);
        vcd.findMusic().Check2->setChecked(false);
        s.VScroll1->setValue(12);
        s.Text1->setText(program + "/pics/a.jpg");
        s.List1->item(3)->setSelected(true);
        s.List1->item(0)->setSelected(false);
        s.Command5[0]->click();
        s.Text4->setText("OGG (*.ogg)");
        s.Command5[2]->click();
        s.Command2->click();  // "確定"

        EXPECT_FALSE(s.isVisible());
        EXPECT_EQ(vcd.panelState().ButtonCacheDir, cache);  // in use at once
        EXPECT_EQ(vcd.playback().CutFolder, SystemPaths::TempFolder());  // from the next start on
        EXPECT_EQ(vcd.shellState().SongTempDir, SystemPaths::TempFolder());
        EXPECT_EQ(vcd.playback().CdDrive, "/data");
        EXPECT_EQ(vcd.TimerBMP.interval(), 12000);
    }
    EXPECT_EQ(setting("DeskPic"), program + "/Skin/Blue.jpg");
    EXPECT_EQ(setting("SongTempDir"), songs);
    EXPECT_EQ(setting("CreatSongDir"), "1");
    EXPECT_EQ(setting("ButtonTempDir"), cache);
    EXPECT_EQ(setting("CutDir"), cuts);
    EXPECT_EQ(setting("ScanType1"), "True");
    EXPECT_EQ(setting("ScanType3"), "False");
    EXPECT_EQ(setting("StopMode2"), "True");
    EXPECT_EQ(setting("ShowMode1"), "True");
    EXPECT_EQ(setting("History2"), "True");
    EXPECT_EQ(setting("DiskName"), "/data");
    EXPECT_EQ(setting("ShowPic"), "0");
    EXPECT_EQ(setting("AutoScan"), "0");
    EXPECT_EQ(setting("SongBook"), "0");
    EXPECT_EQ(setting("AutoPlay"), "0");
    EXPECT_EQ(setting("MtvMode"), "0");
    EXPECT_EQ(setting("GameCD"), "1");
    EXPECT_EQ(setting("AutoNum"), "0");
    EXPECT_EQ(setting("DiscVol"), "0");
    EXPECT_EQ(setting("ShowTime"), "12");
    EXPECT_EQ(setting("ShowPicFIle"), program + "/pics/a.jpg");
    EXPECT_EQ(setting("FileTypeText8"), "OGG (*.ogg)");
    EXPECT_EQ(setting("FileTypeText9"), "");
    EXPECT_EQ(setting("FileType3"), "True");
    EXPECT_EQ(setting("FileType0"), "False");
    EXPECT_EQ(setting("CutDelay"), "1.0");

    // The next start reads every option back into the same controls.
    frmVCD again;
    frmSet& s = again.settings();
    s.Form_Load();
    const PlayerOptions& o = s.Options();
    EXPECT_EQ(o.DeskPic, program + "/Skin/Blue.jpg");
    EXPECT_EQ(o.SongTempDir, songs);
    EXPECT_EQ(o.ButtonTempDir, cache);
    EXPECT_EQ(o.CutDir, cuts);
    EXPECT_EQ(o.ScanType, 0);
    EXPECT_EQ(o.StopMode, 1);
    EXPECT_EQ(o.ShowMode, 1);
    EXPECT_EQ(o.History, 2);
    EXPECT_EQ(o.DiskName, "/data");
    EXPECT_EQ(s.Combo1->currentText(), "/data [DATA]");
    EXPECT_EQ(o.CreatSongDir, 1);
    EXPECT_EQ(o.ShowPic, 0);
    EXPECT_EQ(o.GameCD, 1);
    EXPECT_FALSE(again.findMusic().Check1->isChecked());
    EXPECT_FALSE(again.findMusic().Check2->isChecked());
    EXPECT_EQ(o.ShowTime, 12);
    EXPECT_EQ(o.ShowPicFile, program + "/pics/a.jpg");
    ASSERT_EQ(o.FileTypes.size(), 9);
    EXPECT_EQ(o.FileTypes[8].text, "OGG (*.ogg)");
    EXPECT_TRUE(o.FileTypes[3].selected);
    EXPECT_FALSE(o.FileTypes[0].selected);
    EXPECT_TRUE(s.Check6->isEnabled());  // timed pictures chosen: MTV mode can be set
    EXPECT_TRUE(s.Text5->isEnabled());
    EXPECT_FALSE(s.Text1->isEnabled());
}

TEST(SettingsDialog, CancelGivesBackWhatWasInForce)
{
    ShellTest::freshWorld();
    frmVCD vcd;
    frmSet& s = vcd.settings();
    s.Form_Load();
    const PlayerOptions before = s.Options();
    const QString patternBefore = vcd.shellState().SongPattern;
    s.show();
    s.Text7->setText("/somewhere/else");
    s.Option1[0]->setChecked(true);
    s.Check5->setCheckState(Qt::Unchecked);
    s.List1->item(4)->setSelected(false);
    s.VScroll1->setValue(20);
    s.Command3->click();  // "取消"

    EXPECT_FALSE(s.isVisible());
    EXPECT_EQ(s.Options(), before);
    EXPECT_EQ(vcd.shellState().SongPattern, patternBefore);
    EXPECT_EQ(s.Text7->text(), before.CutDir);
    EXPECT_TRUE(s.Option1[2]->isChecked());
    EXPECT_EQ(s.Check5->checkState(), Qt::Checked);
    EXPECT_TRUE(s.List1->item(4)->isSelected());
    EXPECT_EQ(s.VScroll1->value(), 5);
    EXPECT_EQ(vcd.TimerBMP.interval(), 5000);
    EXPECT_EQ(setting("CutDir"), "<missing>");

    // Closing the window by its close box is a cancel too.
    s.show();
    s.Text7->setText("/again/elsewhere");
    s.close();
    EXPECT_EQ(s.Text7->text(), before.CutDir);
    EXPECT_TRUE(vcd.isEnabled());
}

TEST(SettingsDialog, SongBookWindowStoresTheOptionsInForceNotTheEdits)
{
    ShellTest::freshWorld();
    frmVCD vcd;
    frmSet& s = vcd.settings();
    s.Form_Load();
    s.show();
    s.Text7->setText("/an/unconfirmed/edit");
    s.Command8->click();  // "歌本管理"
    EXPECT_FALSE(s.isEnabled());
    EXPECT_TRUE(vcd.findMusic().isVisible());
    vcd.findMusic().Check1->setChecked(false);
    vcd.findMusic().close();
    EXPECT_TRUE(s.isEnabled());
    EXPECT_EQ(setting("AutoNum"), "0");
    EXPECT_EQ(setting("CutDir"), SystemPaths::TempFolder());
}

TEST(SettingsDialog, ClearingTheCacheDeletesOnlyKeyFaces)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program, "Quorvel.JPG");
    frmVCD vcd;
    vcd.panelState().SkinDir = program + "/Skin";
    vcd.settings().Form_Load();
    const QString cache = vcd.panelState().ButtonCacheDir;
    for (const char* name : {"Quorvel-00.Bmp", "Quorvel-01.bmp", "holiday.bmp", "photo-01.bmp", "Quorvel-1.Bmp"})
        touch(cache + "/" + name);
    EXPECT_EQ(frmSet::ButtonCacheFiles(cache, {"Quorvel"}).size(), 2);
    vcd.settings().DelButtonTemp();
    EXPECT_FALSE(QFile::exists(cache + "/Quorvel-00.Bmp"));
    EXPECT_FALSE(QFile::exists(cache + "/Quorvel-01.bmp"));
    EXPECT_TRUE(QFile::exists(cache + "/holiday.bmp"));
    EXPECT_TRUE(QFile::exists(cache + "/photo-01.bmp"));
    EXPECT_TRUE(QFile::exists(cache + "/Quorvel-1.Bmp"));
}

TEST(SettingsDialog, FirstRunAsksBeforeClearingAnOldCache)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    const QString cache = SystemPaths::WindowsFolder() + "/Temp/Quorvel Temp";
    QDir().mkpath(cache);
    touch(cache + "/Quorvel-00.Bmp");
    touch(cache + "/Quorvel-01.Bmp");
    MessageBox::setAnswerer([](const MessageBox::Request&) { return int(MessageBox::IdNo); });
    frmVCD vcd;
    vcd.panelState().SkinDir = program + "/Skin";
    vcd.settings().Form_Load();
    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_EQ(MessageBox::shownRequests()[0].prompt, "第一次執行,您是否要清除舊的快取資料?");
    EXPECT_TRUE(QFile::exists(cache + "/Quorvel-00.Bmp"));  // answered No
}

TEST(SettingsDialog, StoredValuesThatAreNoNumbersFallBack)
{
    ShellTest::freshWorld();
    for (auto [k, v] : {std::pair{"Volume", "abc"}, {"ShowTime", "99"}, {"ScanType3", "maybe"}, {"GameCD", "x"},
                        {"CutDelay", "soon"}, {"ShowPic", "7"}, {"SongTempDir", ""}})
        SaveAppSetting(k, v);
    frmVCD vcd;
    vcd.settings().Form_Load();
    const PlayerOptions& o = vcd.settings().Options();
    EXPECT_EQ(vcd.playback().VolumeLevel, 1000);
    EXPECT_EQ(o.ShowTime, 5);
    EXPECT_EQ(o.ScanType, 2);
    EXPECT_EQ(o.GameCD, 0);
    EXPECT_EQ(o.ShowPic, 1);
    EXPECT_EQ(o.CutDelay, "1.0");
    EXPECT_EQ(o.SongTempDir, SystemPaths::TempFolder());
}

TEST(SettingsDialog, FindCdromTakesTheLastOpticalDrive)
{
    ShellTest::freshWorld();
    Drives::SetSource(std::make_shared<Drives::FixedSource>(QList<Drives::Drive>{
        {"/", "/dev/sda1", "", Drives::TypeFixed, true},
        {"/media/cd1", "/dev/sr0", "ONE", Drives::TypeOptical, true},
        {"/media/cd2", "/dev/sr1", "TWO", Drives::TypeOptical, true}}));
    frmVCD vcd;
    vcd.settings().Form_Load();
    EXPECT_EQ(vcd.playback().CdDrive, "/media/cd2");
    EXPECT_EQ(vcd.playback().VcdDir, "/media/cd2/Mpegav");
    EXPECT_EQ(vcd.settings().Options().DiskName, "/media/cd2");  // the default device
}

TEST(SettingsDialog, FileTypesAddAndDelete)
{
    ShellTest::freshWorld();
    MessageBox::setAnswerer([](const MessageBox::Request&) { return int(MessageBox::IdYes); });
    frmVCD vcd;
    frmSet& s = vcd.settings();
    s.Form_Load();
    s.List1->setCurrentRow(2, QItemSelectionModel::NoUpdate);
    EXPECT_FALSE(s.Command5[1]->isEnabled());  // a built-in type cannot be deleted
    s.Command5[1]->click();
    EXPECT_EQ(s.List1->count(), 8);
    s.List1->setCurrentRow(7, QItemSelectionModel::NoUpdate);
    EXPECT_TRUE(s.Command5[1]->isEnabled());
    s.Command5[1]->click();
    EXPECT_EQ(s.List1->count(), 7);
    EXPECT_TRUE(MessageBox::shownRequests().last().prompt.endsWith("是否確定要刪除本格式?"));

    for (int i = 0; i < s.List1->count(); ++i) s.List1->item(i)->setSelected(false);
    EXPECT_EQ(s.Text4->text(), "");

    // After adding, the box is back to browsing and shows the pattern, not the typed entry.
    s.List1->item(4)->setSelected(true);
    s.Command5[0]->click();
    s.Text4->setText("OGG (*.ogg)");
    s.Command5[2]->click();
    EXPECT_EQ(s.List1->count(), 8);
    EXPECT_FALSE(s.Text4->isEnabled());
    EXPECT_EQ(s.Text4->text(), "*.MP3");
}

TEST(SettingsDialog, SmallHandlersFollowTheirBoxes)
{
    ShellTest::freshWorld();
    frmVCD vcd;
    frmSet& s = vcd.settings();
    s.Form_Load();
    EXPECT_TRUE(s.Text1->isEnabled());       // pictures change automatically
    s.Check1->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(s.Text1->isEnabled());
    EXPECT_FALSE(s.Command1->isEnabled());
    EXPECT_FALSE(s.Text5->isEnabled());      // no lyric mapping folder
    s.Check3->setCheckState(Qt::Checked);
    EXPECT_TRUE(s.Text5->isEnabled());
    EXPECT_TRUE(s.Command6->isEnabled());
    EXPECT_FALSE(s.Check6->isEnabled());     // MTV mode only with timed pictures
    s.Option3[1]->setChecked(true);
    EXPECT_TRUE(s.Check6->isEnabled());
    s.VScroll1->setValue(17);
    EXPECT_EQ(s.Text3->text(), "17");
}

TEST(SettingsDialog, ADeviceNotPresentNowIsKept)
{
    ShellTest::freshWorld();
    SaveAppSetting("DiskName", "/media/gone");
    frmVCD vcd;
    frmSet& s = vcd.settings();
    s.Form_Load();
    EXPECT_EQ(s.Options().DiskName, "/media/gone");
    EXPECT_EQ(s.Combo1->currentText(), "/media/gone");
    s.show();
    s.Command2->click();
    EXPECT_EQ(GetAppSetting("DiskName", ""), "/media/gone");
}

TEST(SettingsDialog, AnEmptyFileTypeIsNeitherAddedNorWrittenSoLaterTypesSurvive)
{
    ShellTest::freshWorld();
    frmVCD vcd;
    frmSet& s = vcd.settings();
    s.Form_Load();
    s.Command5[0]->click();  // "加入" with nothing typed
    s.Command5[2]->click();
    EXPECT_EQ(s.List1->count(), 8);
    EXPECT_TRUE(s.Command5[0]->isVisible() || !s.Command5[2]->isVisibleTo(&s));  // back to browsing

    s.Command5[0]->click();
    s.Text4->setText("OGG (*.ogg)");
    s.Command5[2]->click();
    // An empty entry already in the list (from an older version) is skipped when written.
    s.List1->insertItem(8, "");
    s.show();
    s.Command2->click();
    EXPECT_EQ(setting("FileTypeText8"), "OGG (*.ogg)");
    EXPECT_EQ(setting("FileTypeText9"), "");

    frmVCD next;
    next.settings().Form_Load();
    ASSERT_EQ(next.settings().Options().FileTypes.size(), 9);
    EXPECT_EQ(next.settings().Options().FileTypes[8].text, "OGG (*.ogg)");
}

TEST(SettingsDialog, ConfirmingAppliesTheLyricFolderBoxAndAZeroPictureIntervalStopsTheSlides)
{
    ShellTest::freshWorld();
    frmVCD vcd;
    frmSet& s = vcd.settings();
    s.Form_Load();
    vcd.setSlideShowEnabled(true);  // a song without lyrics plays
    ASSERT_TRUE(vcd.TimerBMP.isActive());

    s.show();
    s.Check3->setCheckState(Qt::Checked);
    s.VScroll1->setValue(0);
    s.Command2->click();
    EXPECT_EQ(vcd.creatSongDir(), 1) << "the lyric lookup reads the box from now on";
    EXPECT_FALSE(vcd.TimerBMP.isActive()) << "a timer of 0 ms would fire on every pass";
    vcd.setSlideShowEnabled(true);  // the next song
    EXPECT_FALSE(vcd.TimerBMP.isActive());

    s.show();
    s.VScroll1->setValue(3);
    s.Command2->click();
    EXPECT_TRUE(vcd.TimerBMP.isActive()) << "the song playing goes on changing pictures";
    EXPECT_EQ(vcd.TimerBMP.interval(), 3000);
}

TEST(SettingsDialog, TheEnterKeyInATextBoxPressesNoButton)
{
    ShellTest::freshWorld();
    frmVCD vcd;
    frmSet& s = vcd.settings();
    s.Form_Load();
    s.show();
    // Any window that Enter would open is recorded and closed, so that the test goes on.
    QStringList opened;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened << modal->metaObject()->className();
            modal->close();
        }
    });
    watch.start(20);
    const QString panelPicture = s.Text6->text();

    s.Command5[0]->click();  // "加入"
    s.Text4->setText("OGG (*.ogg)");
    pressReturn(s.Text4);
    s.Text2->setText("/tmp/cache");
    pressReturn(s.Text2);

    EXPECT_TRUE(opened.isEmpty()) << opened.join(", ").toStdString();
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.Text6->text(), panelPicture);
    EXPECT_EQ(setting("ButtonTempDir"), "<missing>") << "nothing was confirmed";
}

// Start reads the options, the last play list and the capture delay without building the
// settings dialog's controls, the song-book window, the play-list editor or the capture
// settings window; each is built at its first use and shows what start read.
TEST(SettingsDialog, WindowsBuiltOnFirstUseShowWhatStartRead)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    const QString list = SystemPaths::TempFolder() + "/last.m3u";
    QDir().mkpath(SystemPaths::TempFolder());
    {
        QFile f(list);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("/music/a.mp3\r\n/music/b.mp3\r\n");
    }
    SaveAppSetting("ListFile", list);
    SaveAppSetting("AutoNum", "0");
    SaveAppSetting("DiscVol", "2");
    SaveAppSetting("CutDelay", "2");
    SaveAppSetting("Volume", "700");
    SaveAppSetting("ShowTime", "12");
    SaveAppSetting("DiskName", "/data");
    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    const auto built = [](const char* className) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits(className)) return true;
        return false;
    };
    EXPECT_FALSE(built("frmFindMusic"));
    EXPECT_FALSE(built("frmSongSet"));
    EXPECT_FALSE(built("frmCutSet"));
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->inherits("frmSet")) {
            EXPECT_TRUE(w->findChildren<QCheckBox*>().isEmpty());
        }
    }
    vcd.showVolumePercent(55);  // the volume command before the dialog was ever shown

    // Storing the options before the song-book window was ever opened keeps its two boxes.
    vcd.settings().SaveSetData();
    EXPECT_FALSE(built("frmFindMusic"));
    EXPECT_EQ(setting("AutoNum"), "0");
    EXPECT_EQ(setting("DiscVol"), "2");
    EXPECT_EQ(setting("CutDelay"), "2.0");  // the delay bar's own reading of "2"

    // The list file changed after start: the editor shows the list as start read it.
    QFile::remove(list);
    EXPECT_EQ(ListRows::FullPaths(vcd.songSet().rows()), QStringList({"/music/a.mp3", "/music/b.mp3"}));
    EXPECT_EQ(vcd.songSet().CurListFile, list);
    EXPECT_EQ(vcd.songSet().Command13->toolTip(), list);
    EXPECT_EQ(vcd.findMusic().Check1->checkState(), Qt::Unchecked);
    EXPECT_EQ(vcd.findMusic().Check2->checkState(), Qt::PartiallyChecked);
    const frmCutSet& cut = vcd.engine().frameCapture().cutSet();
    EXPECT_EQ(cut.Text8->text(), "2.0");
    EXPECT_EQ(cut.VScroll3->value(), -20);
    frmSet& dialog = vcd.settings();
    EXPECT_EQ(dialog.ProgressBar1->value(), 55);
    EXPECT_EQ(dialog.Label4->text(), "55%");
    EXPECT_EQ(dialog.VScroll1->value(), 12);
    EXPECT_EQ(dialog.Text3->text(), "12");
    EXPECT_EQ(dialog.Combo1->currentText(), "/data [DATA]");
    EXPECT_EQ(dialog.Combo1->count(), vcd.Drive1->listCount());
    EXPECT_TRUE(dialog.Option1[2]->isChecked());
    EXPECT_EQ(dialog.windowTitle(), "設定組態 - Quorvel V1.1");
}
