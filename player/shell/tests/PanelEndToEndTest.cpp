// The panel in the running player: Tavrin on a virtual X display of its own, driven with the
// pointer and its test commands, checked by screenshots, its log and its files.

#include "ShellTestSupport.h"
#include "TavrinSandbox.h"

#include "MediaTestSupport.h"
#include "TestMidi.h"
#include "ModIniFile.h"

#include <QColor>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTime>
#include <gtest/gtest.h>

namespace {

constexpr unsigned long KeyDown = 0xff54, KeyEscape = 0xff1b, KeyPageUp = 0xff55, KeyPageDown = 0xff56,
                        KeyRight = 0xff53, KeyReturn = 0xff0d;
constexpr int StopKey = 1, BackKey = 2, PageKey = 9;
const QSize Screen(1024, 768);
const QByteArray Junk = "this is no picture at all";

double luminance(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

class PanelEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ShellTest::app();
        player.copyBesideTests({"Icon"});
        if (const QString missing = player.unavailable(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
        player.setting("ReadMe", "1");  // the readme was confirmed before
    }

    QString skin() const { return player.programFile("Skin"); }

    // Starts the player and waits for its main window drawn on the screen.
    void startPlayer()
    {
        // A second start waits for its own log, not for the line the first one left.
        QFile::remove(player.programFile("Quorvel.log"));
        ASSERT_TRUE(player.start());
        ASSERT_TRUE(player.waitForLog("進入主程式")) << player.report();
        const QImage shown = player.screenshotWhen("panel-start.png", [](const QImage& shot) {
            return distinctColours(shot, shot.rect()) > 8;
        });
        ASSERT_GT(distinctColours(shown, shown.rect()), 8) << "the window is drawn";
    }

    // The window's top left corner on the screen, from control key 0 and the panel's definition.
    QPoint windowOrigin(const QString& definition)
    {
        const QString bar = QStringLiteral("控制台");
        return player.key("PicCtl", 0).topLeft() -
               QPoint(GetIniString(definition, bar, "X0").toInt(), GetIniString(definition, bar, "Y0").toInt());
    }

    // The screen once area looks the same on two screenshots in a row: drawing there is done.
    QImage settled(const QString& name, const QRect& area)
    {
        QImage last;
        return player.screenshotWhen(name, [&](const QImage& shot) {
            const bool same = !last.isNull() && shot.copy(area) == last.copy(area);
            last = shot;
            return same;
        });
    }

    // Files under the test's folders whose names contain text.
    QStringList filesNamed(const QString& text) const
    {
        QStringList found;
        QDirIterator it(player.root(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            if (const QString path = it.next(); QFileInfo(path).fileName().contains(text)) found << path;
        return found;
    }

    // The real back end, playing at start what the music folder holds, with WAV and MPEG
    // files counted as songs.
    void useTheMusicFolder()
    {
        player.setMedia(ProgramSandbox::Media::Real);
        player.requireTool("ffmpeg");
        for (const auto& [key, value] : QList<std::pair<QString, QString>>{
                 {"ScanType1", "False"}, {"ScanType2", "True"}, {"ScanType3", "False"},
                 {"DiskName", player.filePath("music")}, {"AutoPlay", "1"}, {"FileType6", "True"},
                 {"FileType7", "True"}, {"FileTypeText7", "MPEG (*.mpg)"}})
            player.setting(key, value);
    }

    QString shown(const QString& name) const { return player.state().value(name); }
    std::string why() const { return QStringList(player.state().values()).join(" | ").toStdString() + '\n' + player.report(); }

    // Clicks with the real pointer in the middle of a panel key.
    void clickKey(const QString& family, int index, bool quickly = false)
    {
        const QPoint at = player.key(family, index).center();
        if (quickly)
            player.input().tap(at.x(), at.y());
        else
            player.input().click(at.x(), at.y());
    }

    // Pops up a menu with a click of the right button and walks it with the keys given.
    bool chooseFromMenu(QPoint at, const QList<unsigned long>& keys)
    {
        const qsizetype windows = player.windows().size();
        player.input().click(at.x(), at.y(), 3);
        if (!player.waitFor([&] { return player.windows().size() > windows; })) return false;
        for (unsigned long key : keys) player.input().type(key);
        return true;
    }
    QPoint onTheLogo() const { return player.stateRect("place(Label3)").center(); }

    // Message boxes shown as a user sees them, for the test to read and answer.
    void showMessageBoxes() { player.setVariable("PELLORAN_MSGBOX_ANSWER", ""); }

    // 連續抓圖 from the logo's menu on the video that plays, two by two cells a step of two
    // seconds apart (the seek step chosen from the back key's menu); the stop key clicked two
    // seconds in ends the run within a step, and the sheet of the cells taken is written.
    void captureFromTheMenuUntilTheStopKey()
    {
        // "2  Sec" is the sixth step after the menu's title.
        ASSERT_TRUE(chooseFromMenu(player.key("PicCtl", BackKey).center(),
                                   {KeyDown, KeyDown, KeyDown, KeyDown, KeyDown, KeyDown, KeyDown, KeyReturn}));
        // 畫面尺寸, then its title, 單張抓圖, 連續抓圖.
        ASSERT_TRUE(chooseFromMenu(onTheLogo(), {KeyDown, KeyDown, KeyRight, KeyDown, KeyDown, KeyReturn}));
        ASSERT_TRUE(player.waitFor([&] { return player.windowTitled(QStringLiteral("抓圖參數設定")).isValid(); }))
            << why();
        const QTime start = QTime::fromString(shown("Label2(0)"), "hh:mm:ss");
        ASSERT_TRUE(start.isValid()) << why();
        ASSERT_TRUE(player.command(QStringLiteral("click 確定")));
        ASSERT_TRUE(player.waitForState("Label2(0)", [&](const QString& at) {
            return start.secsTo(QTime::fromString(at, "hh:mm:ss")) >= 2;
        })) << why();
        clickKey("PicCtl", StopKey);
        ASSERT_TRUE(player.waitForState("MessageBox", [](const QString& box) { return box.contains("圖片抓取完畢"); }))
            << why();
        EXPECT_EQ(shown("MessageBox"), QStringLiteral("圖片抓取完畢!,共抓取1張圖")) << "one sheet, not the whole video";
        const QStringList sheets = filesNamed("Cut");
        ASSERT_EQ(sheets.size(), 1) << sheets.join(' ').toStdString();
        const QImage sheet(sheets[0]);
        ASSERT_FALSE(sheet.isNull());
        sheet.save(ShellTest::outputFolder() + "/capture-sheet-" + shown("MediaKind") + ".png");
        const QSize cell = sheet.size() / 2;
        EXPECT_NE(sheet.pixel(cell.width() / 2, cell.height() / 2), QColor(Qt::black).rgb()) << "the first cell taken";
        EXPECT_EQ(sheet.pixel(sheet.width() - cell.width() / 2, sheet.height() - cell.height() / 2),
                  QColor(Qt::black).rgb())
            << "the last cell is left blank: the run ended within a step of the stop key";
        ASSERT_TRUE(player.command("click 確定"));
        ASSERT_TRUE(player.waitFor([&] { return !player.state().contains("MessageBox"); }));
        QFile::remove(sheets[0]);
    }

    // The test channel's answer time in milliseconds.
    qint64 answerTime() const
    {
        const QString file = player.filePath("answer.txt");
        QFile::remove(file);
        QElapsedTimer clock;
        clock.start();
        if (!player.command("state " + file)) return EventWaitMs;
        while (!QFileInfo::exists(file) && clock.elapsed() < EventWaitMs) QThread::msleep(5);
        return clock.elapsed();
    }

    TavrinSandbox player{{400, 460}, Screen};
};


// Pixels of the icons' dark ink in the middle of a key on a screenshot.
int inkAt(const QImage& shot, const QRect& keyRect)
{
    int ink = 0;
    const QRect middle(keyRect.center() - QPoint(7, 7), QSize(15, 15));
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x) ink += luminance(shot.pixel(x, y)) < 70;
    return ink;
}

// Dark pixels on the middle column of the play key: the play triangle has them, the pause
// face's two bars leave the middle light.
int inkOnTheMiddleColumn(const QImage& shot, const QRect& keyRect)
{
    int ink = 0;
    const QPoint c = keyRect.center();
    for (int y = c.y() - 4; y <= c.y() + 4; ++y)
        ink += luminance(shot.pixel(c.x(), y)) < 70 && luminance(shot.pixel(c.x() + 1, y)) < 70;
    return ink;
}

}  // namespace

// The shipped panel pictures carry no symbols: every control and title key shows its icon, and
// the play key changes between its play and pause faces as an audio CD plays and pauses.
TEST_F(PanelEndToEnd, EveryKeyShowsItsIconAndThePlayKeyBothFaces)
{
    startPlayer();
    const QImage shot = player.screenshot("panel-icons.png");
    ASSERT_FALSE(shot.isNull());
    for (int code : {0, 1, 2, 3, 4, 5, 7, 8, 10, 11, 12}) {
        const QRect rect = player.key("PicCtl", code);
        ASSERT_FALSE(rect.isEmpty()) << code;
        EXPECT_GT(inkAt(shot, rect), 6) << "control key " << code << " shows no icon";
    }
    const QString definition = skin() + "/Quorvel.INI";
    const QPoint origin = windowOrigin(definition);
    const QString titles = QStringLiteral("功能");
    for (int i = 0; i < 4; ++i) {
        const QRect rect(origin + QPoint(GetIniString(definition, titles, QString("X%1").arg(i)).toInt(),
                                         GetIniString(definition, titles, QString("Y%1").arg(i)).toInt()),
                         QSize(GetIniString(definition, titles, QString("W%1").arg(i)).toInt(),
                               GetIniString(definition, titles, QString("H%1").arg(i)).toInt()));
        EXPECT_GT(inkAt(shot, rect), 6) << "title button " << i << " shows no icon";
    }

    // A disc of ten tracks plays (the page key is enabled); the play key pauses it and plays it
    // again, its face following.
    ASSERT_TRUE(player.command("disc 180000 200000 240000 60000 60000 60000 60000 60000 60000 60000"));
    ASSERT_TRUE(player.waitForState("MediaKind", "CDAudio"));
    ASSERT_TRUE(player.waitForState("Label2(0)", [](const QString& time) { return time != "00:00:00"; }));
    XInput& pointer = player.input();
    ASSERT_TRUE(pointer.usable());
    const QRect play = player.key("PicCtl", 0);
    const auto faceShown = [&](const QString& name) {
        const QImage shot = player.screenshot(name + ".png");
        const QString face = inkOnTheMiddleColumn(shot, play) >= 3 ? "play" : "pause";
        shot.copy(play.adjusted(-4, -4, 4, 4)).scaled(play.size() * 4).save(
            ShellTest::outputFolder() + "/" + name + "-" + face + ".png");
        return face;
    };
    QStringList faces{faceShown("play-key-0")};
    for (int click = 1; click <= 2; ++click) {
        pointer.click(play.center().x(), play.center().y());
        QString face;
        player.waitFor([&] { return (face = faceShown(QString("play-key-%1").arg(click))) != faces.last(); });
        faces << face;
    }
    EXPECT_EQ(faces, QStringList({faces[0], faces[0] == "play" ? "pause" : "play", faces[0]}))
        << "each press of the play key switches between its two faces";

    // Quick clicks (press and release together, as a touchpad taps) on number key 4 and twice on
    // the page key leave both drawn as after a held click: up, faces and captions in place.
    const QRect key4 = player.key("PicNum", 3), page = player.key("PicNum", 9);
    pointer.click(key4.center().x(), key4.center().y());
    // Track 4 plays: its number turns green.
    ASSERT_TRUE(player.waitForState("Label2(2)", "<4>")) << player.state().value("Label2(2)").toStdString();
    const QImage held = settled("quick-click-held.png", key4.united(page));
    for (int tap = 0; tap < 3; ++tap) pointer.tap(key4.center().x(), key4.center().y());
    for (int tap = 0; tap < 2; ++tap) pointer.tap(page.center().x(), page.center().y());
    const auto same = [&](const QImage& shot, const QRect& r) { return shot.copy(r) == held.copy(r); };
    const QImage tapped = player.screenshotWhen("quick-click-tapped.png", [&](const QImage& shot) {
        return same(shot, key4) && same(shot, page);
    });
    EXPECT_TRUE(same(tapped, key4)) << "number key 4 after quick clicks";
    EXPECT_TRUE(same(tapped, page)) << "the page key after quick clicks";

    // Dragged by its background in even steps, the window keeps the pointer where it was grabbed.
    const QPoint before = windowOrigin(definition);
    const QPoint grab = before + QPoint(6, 345);  // left of the control bar
    pointer.drag(grab, grab + QPoint(80, 40));
    player.waitFor([&] { return windowOrigin(definition) == before + QPoint(80, 40); });
    EXPECT_EQ(windowOrigin(definition), before + QPoint(80, 40));
}

// A panel picture that cannot be decoded: the default panel is worn instead, its faces cached
// under its own name; with the default panel broken too, a light plain ground with every key
// drawn, and the logo still opens the main menu.
TEST_F(PanelEndToEnd, AnUndecodablePanelFallsBackAndTheMenuStaysReachable)
{
    const QString broken = skin() + "/Broken.JPG";
    ASSERT_TRUE(player.writeFile("program/Skin/Broken.JPG", Junk));
    ASSERT_TRUE(QFile::copy(skin() + "/Larkspan.INI", skin() + "/Broken.INI"));
    player.setting("DeskPic", broken);
    startPlayer();
    EXPECT_TRUE(player.log().contains(QStringLiteral("這個面板格式錯誤") + broken));
    const QImage fallback = player.screenshot("panel-fallback-default.png");
    const QPoint origin = windowOrigin(skin() + "/Quorvel.INI");
    EXPECT_GT(distinctColours(fallback, QRect(origin, QSize(260, 470))), 50) << "the default panel is shown";
    EXPECT_TRUE(filesNamed("Broken-").isEmpty()) << filesNamed("Broken-").join(' ').toStdString();
    EXPECT_FALSE(filesNamed("Quorvel-00.Bmp").isEmpty());
    ASSERT_TRUE(player.command("quit"));
    ASSERT_EQ(player.waitForEnd(), 0) << player.report();

    ASSERT_TRUE(player.writeFile("program/Desk/Quorvel.JPG", Junk));
    ASSERT_TRUE(player.writeFile("program/Skin/Quorvel.JPG", Junk));
    player.setting("DeskPic", broken);
    startPlayer();
    const QImage plain = player.screenshot("panel-fallback-plain.png");
    const QString definition = skin() + "/Broken.INI";
    const QPoint corner = windowOrigin(definition);
    const QRgb ground = plain.pixel(corner + QPoint(2, 2));
    EXPECT_GT(luminance(ground), 150) << "a light ground, not a black window";
    for (int code : {0, 1, 2, 3, 4, 5, 7, 10, 11}) {
        const QRect rect = player.key("PicCtl", code);
        EXPECT_NE(plain.pixel(rect.topLeft() + QPoint(rect.width() / 4, 2)), ground) << "key " << code << " is drawn";
    }
    EXPECT_TRUE(filesNamed("Broken-").isEmpty());

    // The logo (right button) opens the main menu.
    const QString logo = QStringLiteral("LOGO");
    const QPoint onLogo = corner + QPoint(GetIniString(definition, logo, "X0").toInt() + 12,
                                          GetIniString(definition, logo, "Y0").toInt() + 10);
    XInput& pointer = player.input();
    ASSERT_TRUE(pointer.usable());
    pointer.click(onLogo.x(), onLogo.y(), 3);
    const QRect below(onLogo + QPoint(4, 4), QSize(120, 120));
    const QImage menu = player.screenshotWhen("panel-fallback-menu.png", [&](const QImage& shot) {
        return changedPixels(shot, plain, below) > 500;
    });
    EXPECT_GT(changedPixels(menu, plain, below), 500) << "the main menu opened at the logo";
    pointer.type(KeyEscape);
}

// The browser at 6x6 with 42 pictures: each page's thumbnails lie in the grid area left of the
// browser's controls, and every picture can be seen.
TEST_F(PanelEndToEnd, BrowserThumbnailsStayInTheGridAreaAtSixBySix)
{
    QVector<QRgb> colours;
    for (int i = 0; i < 42; ++i) {
        QImage picture(64, 48, QImage::Format_RGB32);
        const QColor colour = QColor::fromHsv(i * 360 / 42, 255, 90 + (i % 3) * 70);
        picture.fill(colour);
        ASSERT_TRUE(picture.save(skin() + QString("/Pic%1.bmp").arg(i, 2, 10, QChar('0')), "BMP"));
        colours << colour.rgb();
    }
    startPlayer();
    const QString definition = skin() + "/Quorvel.INI";
    const QString titles = QStringLiteral("功能");
    const QPoint panelButton = windowOrigin(definition) +
                               QPoint(GetIniString(definition, titles, "X2").toInt() + 6,
                                      GetIniString(definition, titles, "Y2").toInt() + 6);
    XInput& pointer = player.input();
    ASSERT_TRUE(pointer.usable());
    pointer.click(panelButton.x(), panelButton.y());
    QRect browser;
    player.waitFor([&] { return (browser = player.windows().value(0)).width() > 600; });
    ASSERT_GT(browser.width(), 600) << "the panel picture browser opened\n" << player.report();

    // The drive list has the focus: the page keys turn the pages all the same. A user types once
    // the window has the keyboard.
    const auto firstShown = [&] { return player.state().value("Picture1(0)").section(' ', 4); };
    ASSERT_TRUE(player.waitFor([&] {
        const QMap<QString, QString> state = player.state();
        return !state.value("BrowserWindow").isEmpty() && state.value("ActiveWindow") == state.value("BrowserWindow");
    })) << "the browser takes the keyboard\n" << player.report();
    pointer.type(KeyPageDown);
    player.waitFor([&] { return firstShown() == "Pic01.bmp"; });
    EXPECT_EQ(firstShown(), "Pic01.bmp") << "Page Down shows the next page";
    pointer.type(KeyPageUp);
    player.waitFor([&] { return firstShown() == "Ferrowin.BMP"; });
    EXPECT_EQ(firstShown(), "Ferrowin.BMP") << "Page Up shows the first page again";

    // The grid size list stands in the control column at the right edge: 2x2 to 6x6.
    const QPoint sizeList = browser.topLeft() + QPoint(browser.width() - 208 + 104 + 30, 316 + 12);
    pointer.click(sizeList.x(), sizeList.y());
    for (int i = 0; i < 4; ++i) pointer.type(KeyDown);

    // The folder holds the shipped panels too: the first page (33 pictures after three panels)
    // and the last one, reached with the page bar's arrow, show every picture between them.
    const QRect controls(browser.right() - 210, browser.top(), 211, browser.height() - 22);
    QSet<QRgb> seen;
    for (int page = 0; page < 2; ++page) {
        QSet<QRgb> onPage;
        int onControls = 0;
        player.screenshotWhen(QString("panel-browser-6x6-%1.png").arg(page), [&](const QImage& shot) {
            onPage.clear();
            onControls = 0;
            for (int y = browser.top(); y <= browser.bottom(); ++y)
                for (int x = browser.left(); x <= browser.right(); ++x) {
                    const QRgb c = shot.pixel(x, y);
                    if (!colours.contains(c)) continue;
                    onPage.insert(c);
                    onControls += controls.contains(x, y);
                }
            return onPage.size() >= 33 && (page == 0 || onPage.contains(colours.last()));
        });
        EXPECT_EQ(onControls, 0) << "thumbnails cover the browser's controls on page " << page;
        seen |= onPage;
        pointer.click(browser.right() - 6, browser.bottom() - 10);
    }
    for (int i = 0; i < colours.size(); ++i) EXPECT_TRUE(seen.contains(colours[i])) << "picture " << i << " unseen";
}

// On a GIF panel a left press on the window's background freezes the desktop over the whole
// screen; the window follows the pointer and lands where it was let go.
TEST_F(PanelEndToEnd, PressingAGifPanelsBackgroundDragsItOverTheFrozenDesktop)
{
    player.setting("DeskPic", skin() + "/Nimbrel.GIF");
    startPlayer();
    const QString definition = skin() + "/Nimbrel.INI";
    const QPoint before = windowOrigin(definition);
    // Between the back and play keys: the panel's own background.
    const QPoint grab = before + QPoint(72, 331);
    XInput& pointer = player.input();
    ASSERT_TRUE(pointer.usable());
    pointer.moveTo(grab.x(), grab.y());
    pointer.press();
    const QRect frozen(QPoint(0, 0), Screen);
    player.waitFor([&] { return player.windows().value(0) == frozen; });
    EXPECT_EQ(player.windows().value(0), frozen) << "the frozen desktop covers the screen while held";
    pointer.moveTo(grab.x() + 4, grab.y() + 3);  // under 8 pixels: the frame stays
    pointer.moveTo(grab.x() + 100, grab.y() + 75);
    player.screenshot("panel-desk-drag.png");
    pointer.release();
    player.waitFor([&] { return windowOrigin(definition) == before + QPoint(100, 75); });
    EXPECT_EQ(windowOrigin(definition), before + QPoint(100, 75));
    EXPECT_LT(player.windows().value(0).width(), Screen.width()) << "the window has its own size again";
    player.screenshot("panel-desk-dropped.png");
}

// On the real back end, commands chosen from the menus leave the panel answering: while the
// folder picker of 搜尋目錄 is open the stop and page keys act at once; the stop key ends a
// continuous capture of an MPEG file; a quick tap on a number key acts once and a double click
// twice; and while a long MIDI song loads the window answers its channel.
TEST_F(PanelEndToEnd, MenuCommandsAndLoadingSongsLeaveThePanelAnswering)
{
    useTheMusicFolder();
    showMessageBoxes();
    if (const QString missing = player.unavailable(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
    // Eleven song folders, so that the number pad has a second page: a minute of video, nine
    // minutes of silence, and the long MIDI song.
    ASSERT_TRUE(player.makeMedia("music/01/clip.mpg", {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=60",
                                                       "-c:v", "mpeg1video", "-q:v", "8", "-f", "mpeg"}));
    for (int folder = 2; folder <= 10; ++folder)
        ASSERT_TRUE(player.makeMedia(QString("music/%1/song%1.wav").arg(folder, 2, 10, QChar('0')),
                                     {"-f", "lavfi", "-i", "anullsrc=r=8000:cl=mono", "-t", "60", "-c:a", "pcm_u8"}));
    ASSERT_TRUE(player.writeFile("music/11/long.mid", denseMidiFile(1'000'000)));
    startPlayer();
    ASSERT_TRUE(player.input().usable());
    ASSERT_TRUE(player.waitForState("Label2(0)", [](const QString& at) { return at >= "00:00:01"; })) << why();
    ASSERT_EQ(player.songsStarted(), QStringList{"clip.mpg"});
    // The video started again from its key, which offers the capture.
    clickKey("PicNum", 0);
    ASSERT_TRUE(player.waitFor([&] { return player.songsStarted().size() == 2; })) << why();
    ASSERT_TRUE(player.waitForState("Label2(0)", [](const QString& at) { return at >= "00:00:01"; })) << why();

    captureFromTheMenuUntilTheStopKey();

    // A quick tap on number key 2 plays its song once, a double click on key 3 twice.
    clickKey("PicNum", 1, true);
    ASSERT_TRUE(player.waitFor([&] { return player.songsStarted().size() == 3; })) << why();
    const QPoint key3 = player.key("PicNum", 2).center();
    player.input().tap(key3.x(), key3.y());
    player.input().tap(key3.x(), key3.y());
    ASSERT_TRUE(player.waitFor([&] { return player.songsStarted().size() >= 5; })) << why();
    EXPECT_EQ(player.songsStarted(), (QStringList{"clip.mpg", "clip.mpg", "song02.wav", "song03.wav", "song03.wav"}));

    // 搜尋目錄: with its folder picker open, the stop key stops and the page key turns the page.
    ASSERT_NE(shown("Label1"), QStringLiteral("停止"));
    ASSERT_TRUE(chooseFromMenu(onTheLogo(), {KeyDown, KeyRight, KeyDown, KeyReturn}));
    ASSERT_TRUE(player.waitFor([&] { return player.windowTitled(QStringLiteral("指定目錄")).isValid(); })) << why();
    // It opens over the panel: the user moves it aside to reach the keys.
    ASSERT_TRUE(player.moveWindowTitled(QStringLiteral("指定目錄"), {player.key("PicNum", PageKey).right() + 40, 0})) << why();
    clickKey("PicCtl", StopKey);
    EXPECT_TRUE(player.waitForState("Label1", QStringLiteral("停止"))) << why();
    clickKey("PicNum", PageKey);
    EXPECT_TRUE(player.waitForState("LabNum(0)", "10")) << why();
    ASSERT_TRUE(player.command(QStringLiteral("click 取消")));
    EXPECT_EQ(shown("LabNum(0)"), "10") << "the page key acted once, when it was clicked";

    // The long MIDI song (second key of the second page) loads and plays; the window answers
    // its channel all the while.
    clickKey("PicNum", 1, true);
    ASSERT_TRUE(player.waitFor([&] { return player.songsStarted().value(5) == "long.mid"; })) << why();
    qint64 slowest = 0;
    ASSERT_TRUE(player.waitFor([&] {
        slowest = std::max(slowest, answerTime());
        return shown("Label2(1)").startsWith("17:21");
    })) << why();
    EXPECT_LT(slowest, 500) << "the window did not answer for " << slowest << " ms while the song loaded";
}

// The stop key ends a continuous capture of a video-CD track started from the menu.
TEST_F(PanelEndToEnd, TheStopKeyEndsAContinuousCaptureOfAVideoCdTrack)
{
    player.setMedia(ProgramSandbox::Media::Real);
    QString failure;
    const QString cue = makeVideoCdImage(player.root(), {60, 3}, &failure);
    if (cue.isEmpty()) GTEST_SKIP() << failure.toStdString();
    for (const auto& [key, value] : QList<std::pair<QString, QString>>{
             {"ScanType1", "True"}, {"ScanType2", "False"}, {"ScanType3", "False"}, {"AutoPlay", "0"}})
        player.setting(key, value);
    player.setVariable("PELLORAN_CD_DEVICE", cue);
    showMessageBoxes();
    startPlayer();
    ASSERT_TRUE(player.input().usable());
    ASSERT_TRUE(player.waitForState("Label1", "請選擇播放曲目 1~2")) << why();
    clickKey("PicNum", 0);
    ASSERT_TRUE(player.waitFor([&] {
        const QMap<QString, QString> panel = player.state();
        return panel.value("Label2(2)") == "AVSEQ01.DAT" && panel.value("Label2(0)") >= "00:00:01";
    })) << why();
    captureFromTheMenuUntilTheStopKey();
}
