// The panel's mouse dispatch: every key and button reaches its command, with the pressed
// look, the guards and the knob drag, against a recording command set.

#include "ShellTestSupport.h"

#include "ButtonColorSettings.h"
#include "MenuModel.h"
#include "PanelForm.h"
#include "PanelHost.h"
#include "PanelMouse.h"
#include "PanelState.h"
#include "PlaybackState.h"

#include <QApplication>
#include <QFont>
#include <QListWidget>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

class TestWindow : public PanelHost
{
public:
    QWidget window;
    PlaybackState playback;
    QWidget* panelWidget() override { return &window; }
    LoadedMedia& loadedMedia() override { return playback; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
};

class RecordingCommands : public PanelCommands
{
public:
    explicit RecordingCommands(PlaybackState& playback) : m_playback(playback) {}
    QStringList calls;
    QList<bool> busyDuringCall;  // BusyFlag as each command saw it
    bool fontChosen = false;
    QFont chosenFont;
    std::function<void()> whileMenuOpen;  // what the user does while a popped-up menu's command runs

    void CheckCdrom(bool autoPlay) override { record(QString("CheckCdrom %1").arg(autoPlay)); }
    void ChkVCDSize() override { record("ChkVCDSize"); }
    void SeleDesk() override { record("SeleDesk"); }
    void ShowSettings() override { record("ShowSettings"); }
    void ChkMenu(int kind, const QPoint&) override { record(QString("ChkMenu %1").arg(kind)); }
    void PlayCd(int track) override { record(QString("PlayCd %1").arg(track)); }
    void ChkMp3Menu(int key, const QPoint&) override { record(QString("ChkMp3Menu %1").arg(key)); }
    void ChkCD(int code) override { record(QString("ChkCD %1").arg(code)); }
    void ChkSeek() override { record("ChkSeek"); }
    void ChkSeekTime(double ratio) override { record(QString("ChkSeekTime %1").arg(ratio, 0, 'f', 3)); }
    void CloseForm() override { record("CloseForm"); }
    void MinimiseToTaskBar() override { record("MinimiseToTaskBar"); }
    void PictureAreaClick() override { record("PictureAreaClick"); }
    void PopUpMenu(Menu menu, const QPoint&) override
    {
        record(QString("PopUpMenu %1").arg(int(menu)));
        if (whileMenuOpen) whileMenuOpen();
    }
    void SongBookManager() override { record("SongBookManager"); }
    bool ChooseFont(QFont& font) override
    {
        record("ChooseFont");
        if (fontChosen) font = chosenFont;
        return fontChosen;
    }

private:
    void record(const QString& call)
    {
        calls << call;
        busyDuringCall << m_playback.BusyFlag;
    }
    PlaybackState& m_playback;
};

class PanelMouseTest : public ::testing::Test
{
protected:
    PanelMouseTest()
    {
        panel = std::make_unique<PanelForm>(host, state, colors);
        mouse = std::make_unique<PanelMouse>(*panel, host.playback, menu, commands);
        mouse->setLists(&songList, &playList);
        mouse->install();
        menu.Form_Load();
        songList.setParent(&host.window);
        playList.setParent(&host.window);
        songList.hide();
        playList.hide();
        PanelObjects& o = panel->obj();
        // A seek track from 100 to 300 with a knob 20 wide.
        o.PicCtl[13]->setGeometry(100, 50, 200, 10);
        o.PicCtl[9]->setGeometry(100, 45, 20, 20);
        state.ImageLeft = 10;
        state.ImageTop = 20;
        state.ImageWidth = 480;
        state.ImageHeight = 300;
        for (int i = 0; i < o.LabNum.size(); ++i) {
            o.LabNum[i]->setText(QString::number(i + 11));
            o.LabNum[i]->setEnabled(true);
        }
    }

    PanelObjects& obj() { return panel->obj(); }
    PlaybackState& playback() { return host.playback; }

    struct AppFirst
    {
        AppFirst() { ShellTest::app(); }
    } appFirst;  // widgets need the application
    TestWindow host;
    PanelState state;
    ButtonColorSettings colors;
    MenuModel menu;
    RecordingCommands commands{host.playback};
    std::unique_ptr<PanelForm> panel;
    std::unique_ptr<PanelMouse> mouse;
    QListWidget songList;
    QListWidget playList;
};

void click(QWidget* target, Qt::MouseButton button, QPointF at = {2, 2})
{
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

QMouseEvent* mouseEvent(QWidget* target, QEvent::Type type, Qt::MouseButton button)
{
    const QPointF at(2, 2);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    return new QMouseEvent(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
}

// Events the window system has already queued for a widget, as a quick click leaves them.
void queueEvents(QWidget* target, const QList<QEvent::Type>& types, Qt::MouseButton button = Qt::LeftButton)
{
    for (QEvent::Type type : types) QCoreApplication::postEvent(target, mouseEvent(target, type, button));
}

}  // namespace

TEST_F(PanelMouseTest, TitleButtonsRunTheirActionsOnALeftRelease)
{
    obj().Label1->setText("message");
    for (int i = 0; i < 4; ++i) click(obj().PicButton[i], Qt::LeftButton);
    EXPECT_EQ(commands.calls, (QStringList{"CheckCdrom 1", "ChkVCDSize", "SeleDesk", "ShowSettings"}));
    EXPECT_EQ(obj().Label1->text(), "");  // a release clears the message line

    // The icon of a key acts as the key.
    commands.calls.clear();
    click(obj().ImageButton[0], Qt::LeftButton);
    EXPECT_EQ(commands.calls, QStringList{"CheckCdrom 1"});
}

TEST_F(PanelMouseTest, RightPressOnTitleButtonsPopsTheirMenusButNotForTheSettingsButton)
{
    for (int i = 0; i < 4; ++i) click(obj().PicButton[i], Qt::RightButton);
    EXPECT_EQ(commands.calls, (QStringList{"ChkMenu 0", "ChkMenu 1", "ChkMenu 2"}));
}

TEST_F(PanelMouseTest, TitleButtonOneEnlargesTheVideoByAQuarterRoundingDown)
{
    playback().VideoWidth = 352;
    playback().VideoHeight = 240;
    mouse->PicButton_MouseUp(1, PanelMouse::Left, 0, 0, 0);
    EXPECT_EQ(playback().VideoWidth, 440);
    EXPECT_EQ(playback().VideoHeight, 300);
    playback().VideoWidth = 441;
    playback().VideoHeight = 301;
    mouse->PicButton_MouseUp(1, PanelMouse::Left, 0, 0, 0);
    EXPECT_EQ(playback().VideoWidth, 551);
    EXPECT_EQ(playback().VideoHeight, 376);
}

TEST_F(PanelMouseTest, PressedKeyShowsItsPressedFaceAndTheReleaseRestoresIt)
{
    QImage face(30, 20, QImage::Format_RGB32);
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 20; ++y) face.setPixel(x, y, qRgb(x * 8, y * 12, 0));
    obj().PicButton[2]->resize(30, 20);
    obj().PicButton[2]->setPicture(face);
    mouse->PicButton_MouseDown(2, PanelMouse::Left, 0, 1, 1);
    EXPECT_NE(obj().PicButton[2]->Picture(), face);  // drawn one pixel on
    mouse->PicButton_MouseUp(2, PanelMouse::Left, 0, 1, 1);
    EXPECT_EQ(obj().PicButton[2]->Picture(), face);
    const QLabel* icon = obj().ImageButton[2];
    EXPECT_EQ(icon->x(), (30 - icon->width()) / 2);
    EXPECT_EQ(icon->y(), (20 - icon->height()) / 2);
}

// A quick double click leaves its release, second press and release queued behind the first
// press: they wait while the key is drawn pressed, then act in order, and the key ends up.
TEST_F(PanelMouseTest, EventsQueuedBehindAPressWaitUntilTheKeyIsDrawnPressed)
{
    QImage face(30, 20, QImage::Format_RGB32);
    face.fill(qRgb(200, 120, 40));
    PanelKey* key = obj().PicNum[2];
    key->setGeometry(0, 0, 30, 20);
    key->setPicture(face);
    queueEvents(key, {QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease});
    std::unique_ptr<QMouseEvent> press(mouseEvent(key, QEvent::MouseButtonPress, Qt::LeftButton));
    QApplication::sendEvent(key, press.get());
    EXPECT_EQ(commands.calls, (QStringList{"PlayCd 13", "PlayCd 13"}));
    EXPECT_EQ(key->Picture(), face) << "the key is drawn up again";
    const QLabel* caption = obj().LabNum[2];
    EXPECT_EQ(caption->pos(), QPoint((30 - caption->width()) / 2, (20 - caption->height()) / 2)) << "and centred";
}

// A menu popped up by a press runs its chosen command inside that press; a key clicked
// meanwhile acts at once, not after the command.
TEST_F(PanelMouseTest, AKeyClickedWhileAMenusCommandRunsActsAtOnce)
{
    commands.whileMenuOpen = [this] {
        queueEvents(obj().PicCtl[1], {QEvent::MouseButtonPress, QEvent::MouseButtonRelease});
        queueEvents(obj().PicNum[4], {QEvent::MouseButtonPress, QEvent::MouseButtonRelease});
        QCoreApplication::processEvents();
        commands.calls << "the command ends";
    };
    std::unique_ptr<QMouseEvent> press(mouseEvent(obj().Label3[0], QEvent::MouseButtonPress, Qt::RightButton));
    QApplication::sendEvent(obj().Label3[0], press.get());
    EXPECT_EQ(commands.calls, (QStringList{QString("PopUpMenu %1").arg(int(PanelCommands::Menu::Main)), "ChkCD 1",
                                           "PlayCd 15", "the command ends"}));
}

TEST_F(PanelMouseTest, NumberKeysPlayTheNumberOnTheirCaptionAndTheLastKeyTurnsThePage)
{
    click(obj().PicNum[2], Qt::LeftButton);
    EXPECT_EQ(commands.calls, QStringList{"PlayCd 13"});  // the caption's number, not the index

    // A click on the caption acts as a click on the key.
    click(obj().LabNum[4], Qt::LeftButton);
    EXPECT_EQ(commands.calls.last(), "PlayCd 15");

    commands.calls.clear();
    const int last = obj().PicNum.size() - 1;
    mouse->PicNum_MouseDown(last, PanelMouse::Left, 0, 0, 0);
    mouse->PicNum_MouseUp(last, PanelMouse::Left, 0, 0, 0);
    EXPECT_TRUE(commands.calls.isEmpty());  // the page turns; nothing plays
}

TEST_F(PanelMouseTest, DisabledNumberKeysIgnoreEveryButton)
{
    obj().LabNum[3]->setEnabled(false);
    click(obj().PicNum[3], Qt::LeftButton);
    click(obj().PicNum[3], Qt::RightButton);
    mouse->LabNum_MouseDown(3, PanelMouse::Left, 0, 5, 5);
    mouse->LabNum_MouseUp(3, PanelMouse::Left, 0, 5, 5);
    EXPECT_TRUE(commands.calls.isEmpty());

    click(obj().PicNum[5], Qt::RightButton);
    click(obj().PicNum[6], Qt::MiddleButton);
    EXPECT_EQ(commands.calls, (QStringList{"ChkMp3Menu 5", "ChkMp3Menu 6"}));
}

TEST_F(PanelMouseTest, ControlBarCodesReachTheEngineWhileBusy)
{
    const QList<int> codes{0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 13};
    for (int code : codes) click(obj().PicCtl[code], Qt::LeftButton);
    QStringList expected;
    for (int code : codes) expected << QString("ChkCD %1").arg(code);
    EXPECT_EQ(commands.calls, expected);
    for (bool busy : commands.busyDuringCall) EXPECT_TRUE(busy);
    EXPECT_FALSE(playback().BusyFlag);
}

TEST_F(PanelMouseTest, ControlBarCloseSeekAndMinimise)
{
    click(obj().PicCtl[9], Qt::LeftButton);
    click(obj().PicCtl[12], Qt::LeftButton);
    click(obj().PicCtl[8], Qt::LeftButton);
    EXPECT_EQ(commands.calls, (QStringList{"ChkSeek", "MinimiseToTaskBar", "CloseForm"}));
    EXPECT_TRUE(commands.busyDuringCall[0]);
    EXPECT_TRUE(commands.busyDuringCall[1]);

    // A video CD inside the visible picture area keeps the panel up.
    commands.calls.clear();
    playback().MediaKind = "VCD";
    state.ImageVisible = true;
    click(obj().PicCtl[12], Qt::LeftButton);
    EXPECT_TRUE(commands.calls.isEmpty());
    state.ImageVisible = false;
    click(obj().PicCtl[12], Qt::LeftButton);
    EXPECT_EQ(commands.calls, QStringList{"MinimiseToTaskBar"});
}

TEST_F(PanelMouseTest, RightPressOnControlKeysPopsTheirMenus)
{
    for (int i : {0, 1, 2, 5, 3, 10, 11, 13}) click(obj().PicCtl[i], Qt::RightButton);
    using M = PanelCommands::Menu;
    EXPECT_EQ(commands.calls,
              (QStringList{QString("PopUpMenu %1").arg(int(M::PlayLists)), QString("PopUpMenu %1").arg(int(M::SeekStep)),
                           QString("PopUpMenu %1").arg(int(M::SeekStep)), QString("PopUpMenu %1").arg(int(M::Volume)),
                           QString("PopUpMenu %1").arg(int(M::Speed)), QString("PopUpMenu %1").arg(int(M::Speed))}));
}

TEST_F(PanelMouseTest, VolumeMenuTicksOnlyTheItemOfTheCurrentLevel)
{
    menu.mVolume[0].checked = true;
    playback().VolumeLevel = 700;
    mouse->PicCtl_MouseDown(4, PanelMouse::Right, 0, 0, 0);
    for (int i = 0; i < menu.mVolume.size(); ++i) EXPECT_EQ(menu.mVolume[i].checked, i == 3) << i;
    EXPECT_EQ(PanelMouse::VolumeItemOf(1000), 0);
    EXPECT_EQ(PanelMouse::VolumeItemOf(0), 10);
    EXPECT_EQ(PanelMouse::VolumeItemOf(650), 4);  // 3.5 rounds to the even 4
}

TEST_F(PanelMouseTest, KnobIsHeldFromALeftPressUntilAnyControlBarRelease)
{
    mouse->PicCtl_MouseDown(9, PanelMouse::Left, 0, 5, 5);
    EXPECT_TRUE(playback().KnobHeld);
    mouse->PicCtl_MouseUp(4, PanelMouse::Right, 0, 0, 0);  // another key, another button
    EXPECT_FALSE(playback().KnobHeld);
    EXPECT_TRUE(commands.calls.isEmpty());
    mouse->PicCtl_MouseDown(9, PanelMouse::Right, 0, 7, 8);
    EXPECT_FALSE(playback().KnobHeld);
    EXPECT_EQ(mouse->PressX, 7);  // every press records where it was
    EXPECT_EQ(mouse->PressY, 8);
}

TEST_F(PanelMouseTest, KnobDragFollowsThePointerWithinTheTrackAndOnlyShowsTheTime)
{
    PanelKey* knob = obj().PicCtl[9];
    mouse->PicCtl_MouseDown(9, PanelMouse::Left, 0, 10, 5);
    mouse->PicCtl_MouseMove(9, PanelMouse::Left, 0, 100, 5);  // 90 pixels on
    EXPECT_EQ(knob->x(), 190);
    EXPECT_EQ(commands.calls, QStringList{"ChkSeekTime 0.500"});

    mouse->PicCtl_MouseMove(9, PanelMouse::Left, 0, 400, 5);  // past the right end
    EXPECT_EQ(knob->x(), 280);
    EXPECT_EQ(commands.calls.last(), "ChkSeekTime 1.000");

    mouse->PicCtl_MouseMove(9, PanelMouse::Left, 0, 400, 5);  // no travel: no step
    EXPECT_EQ(commands.calls.size(), 2);

    knob->move(104, knob->y());
    mouse->PicCtl_MouseMove(9, PanelMouse::Left, 0, 8, 5);  // 2 left of the press: 102, snaps
    EXPECT_EQ(knob->x(), 100);
    EXPECT_EQ(commands.calls.last(), "ChkSeekTime 0.000");

    // Other keys and other buttons never move; the seek waits for the release.
    mouse->PicCtl_MouseMove(4, PanelMouse::Left, 0, 50, 5);
    mouse->PicCtl_MouseMove(9, PanelMouse::Right, 0, 90, 5);
    EXPECT_EQ(commands.calls.size(), 3);
    EXPECT_FALSE(commands.calls.contains("ChkSeek"));
    EXPECT_FALSE(obj().ObjBox->isVisible());
}

TEST_F(PanelMouseTest, WindowDragStartsAfterTwoTwipsAndKeepsTheGrabOffset)
{
    host.window.move(300, 200);
    mouse->Form_MouseDown(PanelMouse::Left, 0, 10, 10);  // 150, 150 twips
    mouse->DragStep(PanelMouse::Left, 151, 150);
    EXPECT_EQ(host.window.pos(), QPoint(300, 200));
    mouse->DragStep(PanelMouse::Right, 450, 300);
    EXPECT_EQ(host.window.pos(), QPoint(300, 200));
    mouse->DragStep(PanelMouse::Left, 450, 300);  // 20 and 10 pixels on
    EXPECT_EQ(host.window.pos(), QPoint(320, 210));
    EXPECT_EQ(mouse->DragX0, 150);  // the grab point stays
    EXPECT_EQ(mouse->DragLastX, 450);

    // The logo labels are handles too, with their own twip positions.
    mouse->Label3_MouseDown(0, PanelMouse::Left, 0, 30, 30);
    mouse->Label3_MouseMove(0, PanelMouse::Left, 0, 60, 45);
    EXPECT_EQ(host.window.pos(), QPoint(322, 211));
    EXPECT_TRUE(mouse->TimerDesk.isActive());
    EXPECT_EQ(mouse->TimerDesk.interval(), 250);
}

TEST_F(PanelMouseTest, RightClickOnTheBackgroundTogglesThePlayListOverThePictureArea)
{
    mouse->Form_MouseDown(PanelMouse::Right, 0, 5, 5);
    EXPECT_TRUE(playList.isVisibleTo(&host.window));
    EXPECT_EQ(playList.geometry(), QRect(10, 20, 480, 300));
    EXPECT_EQ(playList.font().pointSizeF(), 20);
    mouse->Form_MouseDown(PanelMouse::Right, 0, 5, 5);
    EXPECT_FALSE(playList.isVisibleTo(&host.window));
    EXPECT_EQ(PanelMouse::PlayListFontSize(96), 8);
    EXPECT_EQ(PanelMouse::PlayListFontSize(240), 10);
}

TEST_F(PanelMouseTest, LeftClickOnTheMessageLineShowsAndHidesTheWholeLyrics)
{
    mouse->Label1_MouseDown(PanelMouse::Left, 0, 0, 0);  // no lyric file: only the list toggles
    EXPECT_TRUE(songList.isVisibleTo(&host.window));
    EXPECT_EQ(songList.geometry(), QRect(10, 20, 480, 300)) << "on the picture area, clear of the logo";
    EXPECT_TRUE(obj().Label1->toolTip().isEmpty());
    mouse->Label1_MouseDown(PanelMouse::Left, 0, 0, 0);

    playback().LyricFile = "/songs/a.txt";
    obj().Image1->show();
    mouse->Label1_MouseDown(PanelMouse::Left, 0, 0, 0);
    EXPECT_TRUE(songList.isVisibleTo(&host.window));
    EXPECT_EQ(songList.geometry(), QRect(10, 20, 480, 300));
    EXPECT_EQ(obj().Label1->toolTip(), "隱藏整篇歌詞");
    EXPECT_FALSE(obj().Image1->isVisibleTo(&host.window));
    mouse->Label1_MouseDown(PanelMouse::Left, 0, 0, 0);
    EXPECT_FALSE(songList.isVisibleTo(&host.window));
    EXPECT_EQ(obj().Label1->toolTip(), "顯示整篇歌詞");
    EXPECT_TRUE(obj().Image1->isVisibleTo(&host.window));
}

TEST_F(PanelMouseTest, FontDialogChangesBothFontsOnlyWhenConfirmed)
{
    const QFont before = obj().Label1->font();
    mouse->Label1_MouseDown(PanelMouse::Right, 0, 0, 0);
    EXPECT_EQ(obj().Label1->font(), before);

    commands.fontChosen = true;
    commands.chosenFont = QFont("Serif", 17);
    commands.chosenFont.setItalic(true);
    mouse->Label1_MouseDown(PanelMouse::Middle, 0, 0, 0);
    for (const QWidget* w : {static_cast<QWidget*>(obj().Label1), static_cast<QWidget*>(&songList)}) {
        EXPECT_EQ(w->font().pointSizeF(), 17);
        EXPECT_TRUE(w->font().italic());
    }
    EXPECT_EQ(commands.calls, (QStringList{"ChooseFont", "ChooseFont"}));
}

TEST_F(PanelMouseTest, LabelsOpenTheMainMenuAndTheSongBook)
{
    mouse->Label3_MouseDown(1, PanelMouse::Right, 0, 0, 0);
    mouse->Label2_MouseDown(0, PanelMouse::Left, 0, 0, 0);
    mouse->Label2_MouseDown(0, PanelMouse::Right, 0, 0, 0);
    click(obj().Image1, Qt::LeftButton);
    EXPECT_EQ(commands.calls, (QStringList{QString("PopUpMenu %1").arg(int(PanelCommands::Menu::Main)),
                                           "SongBookManager", "PictureAreaClick"}));
}

TEST_F(PanelMouseTest, KnobAsWideAsItsTrackStillGivesARatioWithinTheTrack)
{
    // The track is widened to three knobs before the knob is placed: the ratio never divides by 0.
    obj().PicCtl[9]->setGeometry(100, 45, 200, 20);
    mouse->PicCtl_MouseDown(9, PanelMouse::Left, 0, 10, 5);
    mouse->PicCtl_MouseMove(9, PanelMouse::Left, 0, 40, 5);
    EXPECT_EQ(obj().PicCtl[13]->width(), 600);
    EXPECT_EQ(obj().PicCtl[9]->x(), 130);
    EXPECT_EQ(commands.calls, QStringList{"ChkSeekTime 0.075"});
}

TEST_F(PanelMouseTest, KeysThatDoNotExistAreIgnored)
{
    mouse->PicButton_MouseDown(7, PanelMouse::Left, 0, 0, 0);
    mouse->PicButton_MouseUp(-1, PanelMouse::Left, 0, 0, 0);
    mouse->PicCtl_MouseDown(20, PanelMouse::Left, 0, 0, 0);
    mouse->PicCtl_MouseUp(20, PanelMouse::Left, 0, 0, 0);
    mouse->PicNum_MouseDown(30, PanelMouse::Left, 0, 0, 0);
    mouse->PicNum_MouseUp(30, PanelMouse::Left, 0, 0, 0);
    EXPECT_TRUE(commands.calls.isEmpty());
}
