// Discs as a user meets them (video CDs, audio CDs, mixed discs): the real player on its own X display with
// the real back end (libmpv, libcdio), the disc named by PELLORAN_CD_DEVICE
// (a disc image made at test time, or a folder laid out as a mounted disc),
// driven by its number keys and its seek knob, checked by what its panel
// shows and by screenshots of its picture area.
#include "Cp950.h"
#include "MediaTestSupport.h"
#include "TavrinSandbox.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <csignal>

#include <gtest/gtest.h>

namespace {

// Drags the seek knob to the start of its groove. The knob moves right as the track plays:
// it is taken near its right edge, and a press that came too late for it (the player held
// by a busy machine while the knob moved on) is let go and made again where the knob is now.
// The knob is let go once the player shows it dragged.
bool dragKnobToTheStart(TavrinSandbox &player)
{
    XInput &input = player.input();
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QRect knob = player.key("PicCtl", 9);
        const QRect groove = player.key("PicCtl", 13);
        if (!input.usable() || knob.isEmpty() || groove.isEmpty())
            return false;
        input.moveTo(knob.right() - 3, knob.center().y());
        input.press();
        if (!ProgramSandbox::waitFor([&] { return player.state().value("KnobHeld") == "1"; }, 5000)) {
            input.release();
            continue;
        }
        constexpr int Steps = 8;
        for (int step = 1; step <= Steps; ++step)
            input.moveTo(knob.right() - 3 + (groove.left() - knob.right() + 3) * step / Steps, knob.center().y());
        ProgramSandbox::waitFor([&] { return player.key("PicCtl", 9).left() < knob.left(); });
        input.release();
        return true;
    }
    return false;
}

// The player's start-up probe logs the disc's key, which names its lyric folder.
QString discKeyIn(const QString &log)
{
    static const QRegularExpression found(QStringLiteral("找到裝置序號\\s*([0-9A-F]{4}-[0-9A-F]{4})"));
    const auto match = found.match(log);
    return match.hasMatch() ? match.captured(1) : QString();
}

// Whether a window whose caption starts with caption is on the screen.
bool windowShown(const QMap<QString, QString> &state, const QString &caption)
{
    const QString key = "window(" + caption;
    return std::any_of(state.keyBegin(), state.keyEnd(), [&](const QString &name) { return name.startsWith(key); });
}

class VideoCdEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(player.unavailable(), "");
        player.setMedia(ProgramSandbox::Media::Real);
        // The player's settings: the readme was read; at start the optical
        // drive is searched and probed; a probe does not start playing; at
        // the end of the disc it starts again.
        for (const auto &[key, value] : QList<std::pair<QString, QString>>{
                 {"ReadMe", "1"}, {"ScanType1", "True"}, {"ScanType2", "False"}, {"ScanType3", "False"},
                 {"AutoPlay", "0"}, {"StopMode1", "True"}, {"StopMode2", "False"}, {"StopMode3", "False"}})
            player.setting(key, value);
    }

    // answer: how a question is answered (6 Yes, 7 No).
    void startPlayer(const QString &disc, const QString &answer = "7")
    {
        // A fifth panel, the last of the skin folder's files.
        ASSERT_TRUE(addPanelWithoutPictureArea("Zplain"));
        player.setVariable("PELLORAN_CD_DEVICE", disc);
        player.setVariable("PELLORAN_MSGBOX_ANSWER", answer);
        ASSERT_TRUE(player.start());
    }

    QString shown(const QString &name) const { return player.state().value(name); }
    // What the panel shows, then what the player printed and logged.
    std::string why() const
    {
        return QStringList(player.state().values()).join(" | ").toStdString() + '\n' + player.report();
    }

    // The picture area of the panel on the screen and how the panel's own picture looks there.
    struct StillArt {
        QRect area;
        QImage shot;  // the whole screen, the panel's picture in the area
    };
    // The panel's picture in its picture area, drawn from the panel's image file where the panel
    // shows it on the screen (the video may cover it already).
    StillArt stillArtOf(const QString &panelImage) const
    {
        const QRect panel = player.stateRect("place(Panel)");
        StillArt art{player.stateRect("place(PictureArea)").adjusted(4, 4, -4, -4), {}};
        const QImage image = QImage(player.programFile("Skin/" + panelImage)).convertToFormat(QImage::Format_RGB32);
        if (panel.isEmpty() || image.isNull())
            return art;
        art.shot = QImage(QSize(1024, 768), QImage::Format_RGB32);
        art.shot.fill(Qt::black);
        QPainter(&art.shot).drawImage(panel.topLeft(), image);
        return art;
    }

    // After what a user did while track 1 plays: the video shows in the picture area, not the
    // panel's picture, and moves; its clock runs; number key 2 (clicked with the pointer) plays
    // track 2, after whose end the disc starts again; and the player lives on.
    // The video shows within the track that played when the step ended, before any new track
    // or new start of it could bring a new picture output: the test pattern's colours fill the
    // area, where a lost picture leaves it black.
    void expectTheVideoGoesOn(const StillArt &art, const QString &step)
    {
        SCOPED_TRACE(step.toStdString());
        const std::string track = shown("Label2(2)").toStdString(), since = shown("Label2(0)").toStdString();
        const int enough = art.area.width() * art.area.height() / 4 / 10;
        const QImage first = player.screenshotWhen(step + "-1.png", [&](const QImage &shot) {
            return changedPixels(art.shot, shot, art.area) > enough && litShare(shot, art.area) > 0.5;
        });
        const QMap<QString, QString> state = player.state();
        const std::string clock = state.value("Label2(0)").toStdString(), length = state.value("Label2(1)").toStdString();
        ASSERT_EQ(state.value("Label2(2)").toStdString(), track) << "the same track plays\n" << why();
        ASSERT_GE(clock, since) << "and was not started again\n" << why();
        ASSERT_LT(clock, length) << "nor came to its end\n" << why();
        ASSERT_GT(litShare(first, art.area), 0.5) << "the video shows\n" << why();
        ASSERT_GT(changedPixels(art.shot, first, art.area), enough) << "the video shows\n" << why();
        const QImage later = player.screenshotWhen(
            step + "-2.png", [&](const QImage &shot) { return changedPixels(first, shot, art.area) > enough; });
        ASSERT_GT(changedPixels(first, later, art.area), enough) << "the video moves\n" << why();
        const QString at = shown("Label2(0)");
        EXPECT_TRUE(player.waitForState("Label2(0)", [&](const QString &now) { return now != at; })) << why();

        ASSERT_TRUE(clickKey("PicNum", 1));
        ASSERT_TRUE(player.waitForState("Label2(2)", "AVSEQ02.DAT")) << why();
        ASSERT_TRUE(player.waitForState("Label2(2)", "AVSEQ01.DAT")) << "the disc starts again\n" << why();
        EXPECT_TRUE(player.waitForState("Label2(0)", [](const QString &now) { return now >= "00:00:01"; })) << why();
        ASSERT_TRUE(player.running()) << why();
    }

    // The share of an area's pixels (every fourth, as changedPixels counts) that are not near black.
    static double litShare(const QImage &shot, const QRect &area)
    {
        int lit = 0, all = 0;
        for (int y = area.top(); y <= area.bottom(); y += 2)
            for (int x = area.left(); x <= area.right(); x += 2, ++all)
                lit += shot.valid(x, y) && qGray(shot.pixel(x, y)) > 40;
        return all ? double(lit) / all : 0.0;
    }

    // A left click with the pointer on a panel key.
    bool clickKey(const QString &family, int index, int button = 1)
    {
        const QRect key = player.key(family, index);
        if (!player.input().usable() || key.isEmpty())
            return false;
        player.input().click(key.center().x(), key.center().y(), button);
        return true;
    }

    // The settings dialog opened by title button 3, then by 設定參數 of the logo's menu.
    bool settingsOpen() const { return player.waitFor([&] { return windowShown(player.state(), "設定組態"); }); }
    bool settingsClosed() const { return player.waitFor([&] { return !windowShown(player.state(), "設定組態"); }); }
    void openSettingsFromTheLogosMenu()
    {
        constexpr unsigned long Down = 0xff54, Return = 0xff0d;
        const QRect logo = player.stateRect("place(Label3)");
        ASSERT_FALSE(logo.isEmpty());
        const QImage closed = player.screenshot("videocd-menu-closed.png");
        player.input().click(logo.center().x(), logo.center().y(), 3);
        const QRect menuArea(logo.center(), QSize(120, 120));
        const QImage menu = player.screenshotWhen(
            "videocd-menu.png", [&](const QImage &shot) { return changedPixels(closed, shot, menuArea) > 500; });
        ASSERT_GT(changedPixels(closed, menu, menuArea), 500) << "the menu opened";
        // 播放選單, 畫面尺寸, 更換面版, 設定參數.
        for (const unsigned long key : {Down, Down, Down, Down, Return})
            player.input().type(key);
    }

    // Title button 2 opens the panel browser; a click on a panel's picture chooses it, on the
    // page that begins with the folder's file firstFile.
    void choosePanel(const QString &image, int firstFile = 0)
    {
        ASSERT_TRUE(clickKey("PicButton", 2));
        if (firstFile > 0) {
            ASSERT_TRUE(player.waitFor([&] { return player.state().contains("Picture1(0)"); })) << why();
            ASSERT_TRUE(player.command(QString("value HScroll1 %1").arg(firstFile)));
        }
        QStringList cell;
        ASSERT_TRUE(player.waitFor([&] {
            const QMap<QString, QString> state = player.state();
            for (auto it = state.begin(); it != state.end(); ++it)
                if (it.key().startsWith("Picture1(") && (cell = it.value().split(' ')).value(4) == image)
                    return true;
            return false;
        })) << why();
        player.input().click(cell[0].toInt() + cell[2].toInt() / 2, cell[1].toInt() + cell[3].toInt() / 2);
        ASSERT_TRUE(player.waitFor([&] { return !player.state().contains("Picture1(0)"); })) << "the browser closed";
    }

    // The steps a user takes while a video CD plays, each followed by a look at the video.
    void changeTheWindowsAroundTheVideo(const QString &name)
    {
        const StillArt quorvel = stillArtOf("Quorvel.JPG");
        ASSERT_TRUE(clickKey("PicButton", 3));
        ASSERT_TRUE(settingsOpen()) << why();
        ASSERT_TRUE(player.command("click 取消"));
        ASSERT_TRUE(settingsClosed()) << why();
        ASSERT_NO_FATAL_FAILURE(expectTheVideoGoesOn(quorvel, name + "-settings-cancelled"));

        openSettingsFromTheLogosMenu();
        ASSERT_TRUE(settingsOpen()) << why();
        ASSERT_TRUE(player.command("click 確定"));
        ASSERT_TRUE(settingsClosed()) << why();
        ASSERT_NO_FATAL_FAILURE(expectTheVideoGoesOn(quorvel, name + "-settings-confirmed"));

        // The same panel chosen again in the panel browser: the picture area keeps its place and
        // the video, stopped while the browser was open, goes on.
        choosePanel("Quorvel.JPG");
        ASSERT_NO_FATAL_FAILURE(expectTheVideoGoesOn(quorvel, name + "-same-panel"));
        // Another panel, its picture area elsewhere and of another size.
        choosePanel("Larkspan.JPG");
        ASSERT_TRUE(player.waitFor([&] { return stillArtOf("Larkspan.JPG").area != quorvel.area; })) << why();
        const StillArt larkspan = stillArtOf("Larkspan.JPG");
        ASSERT_NO_FATAL_FAILURE(expectTheVideoGoesOn(larkspan, name + "-another-panel"));

        // The size key (title button 1) sizes the picture.
        ASSERT_TRUE(clickKey("PicButton", 1));
        ASSERT_NO_FATAL_FAILURE(expectTheVideoGoesOn(larkspan, name + "-sized"));

        // Minimized and restored.
        ASSERT_TRUE(player.command("minimize"));
        ASSERT_TRUE(player.command("restore"));
        ASSERT_NO_FATAL_FAILURE(expectTheVideoGoesOn(larkspan, name + "-restored"));

        // A panel without a picture area: the video goes on in a window of its own, which the
        // size key makes larger.
        choosePanel("Zplain.JPG", 1);
        QRect natural;
        ASSERT_TRUE(player.waitFor([&] { return !(natural = videoWindow()).isEmpty(); })) << why();
        ASSERT_NO_FATAL_FAILURE(expectTheVideoGoesOn(blackScreen(natural), name + "-video-window"));
        ASSERT_TRUE(clickKey("PicButton", 1));
        QRect larger;
        ASSERT_TRUE(player.waitFor([&] { return (larger = videoWindow()).width() > natural.width(); })) << why();
        ASSERT_NO_FATAL_FAILURE(expectTheVideoGoesOn(blackScreen(larger), name + "-video-window-sized"));
    }

    // The default panel again, under another name and with its picture area switched off.
    bool addPanelWithoutPictureArea(const QString &name)
    {
        if (QFile::exists(player.programFile("Skin/" + name + ".INI")))
            return true;
        QFile definition(player.programFile("Skin/Quorvel.INI"));
        if (!definition.open(QIODevice::ReadOnly))
            return false;
        QByteArray text = definition.readAll();
        const qsizetype area = text.indexOf(Cp950::encode("[圖形]"));
        const qsizetype visible = text.indexOf("Visible=True", area);
        if (area < 0 || visible < 0)
            return false;
        text.replace(visible, 12, "Visible=False");
        return QFile::copy(player.programFile("Skin/Quorvel.JPG"), player.programFile("Skin/" + name + ".JPG"))
               && player.writeFile("program/Skin/" + name + ".INI", text);
    }

    // The separate video window on the screen (captioned with the track, its size and its own).
    QRect videoWindow() const
    {
        const QMap<QString, QString> state = player.state();
        for (auto it = state.begin(); it != state.end(); ++it)
            if (it.key().startsWith("window(") && it.key().contains("AVSEQ")) {
                const QStringList r = it.value().split(' ');
                return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
            }
        return {};
    }

    // A window's inside before any picture: black.
    static StillArt blackScreen(const QRect &window)
    {
        StillArt art{window.adjusted(4, 4, -4, -4), QImage(QSize(1024, 768), QImage::Format_RGB32)};
        art.shot.fill(Qt::black);
        return art;
    }

    // Ended while a track plays (asked to quit, or told to end by a signal): a normal end, with
    // no failed display request.
    void endWhileATrackPlays(const std::function<bool()> &end)
    {
        ASSERT_EQ(shown("Label2(2)"), "AVSEQ01.DAT");
        ASSERT_TRUE(end());
        EXPECT_EQ(player.waitForEnd(), 0) << why();
        EXPECT_FALSE(player.output().contains("X Error")) << why();
    }

    // The disc in the drive has two tracks: 30 s and 3 s. The first is long, so that its seek
    // knob moves slowly enough to be taken where the panel last showed it on a busy machine.
    void playTheDisc()
    {
        // The start-up probe finds the video CD and its two tracks.
        ASSERT_TRUE(player.waitForState("Label1", "請選擇播放曲目 1~2")) << why();
        EXPECT_EQ(shown("MediaKind"), "VCD");
        // Before any video: the picture area shows the panel's own picture.
        const StillArt art = stillArtOf("Quorvel.JPG");
        ASSERT_FALSE(art.shot.isNull());
        const QImage idle = player.screenshot("videocd-still-art.png");
        EXPECT_LT(changedPixels(art.shot, idle, art.area), art.area.width() * art.area.height() / 4 / 100);

        // Number key 1: track 1 plays, moving pictures in the picture area.
        ASSERT_TRUE(player.pressKey("PicNum", 0));
        ASSERT_TRUE(player.waitFor([&] {
            return shown("Label2(2)") == "AVSEQ01.DAT" && shown("Label2(0)") >= "00:00:01";
        })) << why();
        EXPECT_EQ(shown("Label2(1)"), "00:00:30");
        const QRect area = player.stateRect("place(PictureArea)").adjusted(4, 4, -4, -4);
        ASSERT_TRUE(area.isValid());
        // The pictures move: a later screenshot differs in a tenth of the area (a busy machine
        // may show the same frame for a while, so it is looked at again until it does).
        const QImage first = player.screenshot("videocd-first.png");
        ASSERT_FALSE(first.isNull());
        const int enough = area.width() * area.height() / 4 / 10;
        const QImage later = player.screenshotWhen(
            "videocd-later.png", [&](const QImage &shot) { return changedPixels(first, shot, area) > enough; });
        EXPECT_GT(changedPixels(first, later, area), enough)
            << "picture area " << area.x() << "," << area.y() << " " << area.width() << "x" << area.height();

        // The seek knob dragged to the start of its track seeks back: the first earlier time
        // shown is the seek's, on the same track (its end would show the next one).
        ASSERT_TRUE(player.waitForState("Label2(0)", [](const QString &at) { return at >= "00:00:03"; }));
        const QString before = shown("Label2(0)");
        ASSERT_TRUE(dragKnobToTheStart(player));
        QMap<QString, QString> panel;
        EXPECT_TRUE(player.waitFor([&] { return (panel = player.state()).value("Label2(0)") < before; })) << why();
        EXPECT_EQ(panel.value("Label2(2)"), "AVSEQ01.DAT");

        // Number key 2: track 2 plays and shows its length; at its end, the
        // last of the disc, the disc starts again as the settings say.
        ASSERT_TRUE(player.pressKey("PicNum", 1));
        ASSERT_TRUE(player.waitForState("Label2(2)", "AVSEQ02.DAT")) << why();
        EXPECT_TRUE(player.waitForState("Label2(1)", "00:00:03"));
        EXPECT_TRUE(player.waitForState("Label2(2)", "AVSEQ01.DAT")) << why();
        EXPECT_TRUE(player.running());
    }

    TavrinSandbox player{DisplayNumbers{700, 800}};
};

TEST_F(VideoCdEndToEnd, AVideoCdImageAsTheDrive)
{
    QString failure;
    const QString cue = makeVideoCdImage(player.root(), {30, 3}, &failure);
    ASSERT_FALSE(cue.isEmpty()) << failure.toStdString();
    startPlayer(cue);
    playTheDisc();
    ASSERT_NO_FATAL_FAILURE(changeTheWindowsAroundTheVideo("videocd"));
    endWhileATrackPlays([&] { return player.command("quit"); });
}

// MPEG videos of a song folder play first, in the panel's picture area; then the optical drive
// is named in the settings and the disc key (title button 0) finds the video CD in it, whose
// tracks play with their pictures through the same steps.
TEST_F(VideoCdEndToEnd, AVideoCdAfterAFolderOfMpegVideos)
{
    QString failure;
    const QString cue = makeVideoCdImage(player.root(), {30, 3}, &failure);
    ASSERT_FALSE(cue.isEmpty()) << failure.toStdString();
    const QStringList tone = {"-f", "lavfi", "-i"};
    for (const char *name : {"music/01video.mpg", "music/02video.mpg"})
        ASSERT_TRUE(player.makeMedia(name, tone + QStringList{"testsrc=duration=3:size=160x120:rate=25"} + tone
                                               + QStringList{"sine=frequency=330:duration=3", "-c:v", "mpeg1video",
                                                             "-c:a", "mp2", "-f", "mpeg"}));
    // The chosen device is the song folder, whose MPEG files are songs; what it holds plays at once.
    for (const auto &[key, value] : QList<std::pair<QString, QString>>{
             {"ScanType1", "False"}, {"ScanType2", "True"}, {"DiskName", player.filePath("music")},
             {"AutoPlay", "1"}, {"FileType7", "True"}, {"FileTypeText7", "MPEG (*.mpg)"}})
        player.setting(key, value);
    startPlayer(cue);
    ASSERT_TRUE(player.waitFor([&] { return player.songsStarted().contains("02video.mpg"); })) << why();

    // The drive chosen in the settings; the disc key finds the video CD and plays its first track.
    ASSERT_TRUE(clickKey("PicButton", 3));
    ASSERT_TRUE(settingsOpen()) << why();
    ASSERT_TRUE(player.command("text Combo1 " + cue));
    ASSERT_TRUE(player.command("click 確定"));
    ASSERT_TRUE(settingsClosed()) << why();
    ASSERT_TRUE(clickKey("PicButton", 0));
    ASSERT_TRUE(player.waitFor([&] {
        return shown("Label2(2)") == "AVSEQ01.DAT" && shown("Label2(0)") >= "00:00:01";
    })) << why();
    ASSERT_NO_FATAL_FAILURE(expectTheVideoGoesOn(stillArtOf("Quorvel.JPG"), "mpeg-first-track-1"));
    ASSERT_NO_FATAL_FAILURE(changeTheWindowsAroundTheVideo("mpeg-first"));
    endWhileATrackPlays([&] { return player.signal(SIGTERM); });
}

// A disc mounted at a folder whose file system delivers the tracks' data (as
// a disc copied to a hard disk, or mounted by a reader that gives Form 2
// data): the drive's root is that folder and the tracks are its files.
TEST_F(VideoCdEndToEnd, AFolderLaidOutAsAMountedDisc)
{
    QString failure;
    ASSERT_FALSE(makeVideoCdImage(player.root(), {30, 3}, &failure).isEmpty()) << failure.toStdString();
    const QString disc = player.filePath("VIDEOCD");
    ASSERT_TRUE(QDir().mkpath(disc + "/MPEGAV"));
    ASSERT_TRUE(QFile::copy(player.filePath("track1.mpg"), disc + "/MPEGAV/AVSEQ01.DAT"));
    ASSERT_TRUE(QFile::copy(player.filePath("track2.mpg"), disc + "/MPEGAV/AVSEQ02.DAT"));
    startPlayer(disc);
    playTheDisc();
}

// A damaged disc in the drive, its file system unreadable: at every start the
// player probes it, finds nothing to play, says so as for any such disc, and
// goes on until it is told to quit. Then a disc whose first track's record is
// damaged: that track cannot be played, and the player goes on to the good one.
TEST_F(VideoCdEndToEnd, ADamagedVideoCdImageAsTheDrive)
{
    QString failure;
    const QString cue = makeVideoCdImage(player.root(), {1}, &failure);
    ASSERT_FALSE(cue.isEmpty()) << failure.toStdString();
    // A damaged copy of the image in a folder named after its damage, as the drive.
    const auto startOnADamagedCopy = [&](const QString &image, VideoCdDamage damage) {
        const QString folder = player.filePath(damageName(damage));
        QDir().mkpath(folder);
        const QString damaged = damagedVideoCdImage(image, folder, damage);
        if (!damaged.isEmpty())
            startPlayer(damaged);
        return damaged;
    };
    for (const VideoCdDamage damage : kUnreadableFileSystems) {
        SCOPED_TRACE(damageName(damage));
        const QString damaged = startOnADamagedCopy(cue, damage);
        ASSERT_FALSE(damaged.isEmpty());
        player.waitFor([&] { return !player.running() || shown("MediaKind") == "CDROM"; });
        ASSERT_EQ(shown("MediaKind"), "CDROM") << why();
        EXPECT_TRUE(player.log().contains("在" + damaged + "上找不到可供播放的媒體")) << why();
        ASSERT_TRUE(player.command("quit"));
        ASSERT_TRUE(player.waitFor([&] { return !player.running(); })) << why();
        EXPECT_EQ(player.waitForEnd(), 0) << why();  // a normal end, no crash
    }

    const QString twoTracks = player.filePath("two-tracks");
    QDir().mkpath(twoTracks);
    const QString good = makeVideoCdImage(twoTracks, {3, 3}, &failure);
    ASSERT_FALSE(good.isEmpty()) << failure.toStdString();
    for (const VideoCdDamage damage : kDamagedFirstTracks) {
        SCOPED_TRACE(damageName(damage));
        ASSERT_FALSE(startOnADamagedCopy(good, damage).isEmpty());
        ASSERT_TRUE(player.waitFor([&] { return !player.running() || shown("MediaKind") == "VCD"; })) << why();
        // Track 1 chosen: it cannot be played, and track 2 plays after it.
        ASSERT_TRUE(player.pressKey("PicNum", 0));
        EXPECT_TRUE(player.waitFor([&] {
            return shown("Label2(2)") == "AVSEQ02.DAT" && shown("Label2(0)") >= "00:00:01";
        })) << why();
        EXPECT_EQ(player.quit(), 0) << why();
    }
}

// An audio CD image as the drive, on the real back end: the probe finds it, a number key plays
// a track with its lyrics from the disc's own lyric folder, the knob seeks, the next and
// previous keys change the track; then a mixed disc (a data track before its sound) is asked
// about and plays its audio track.
TEST_F(VideoCdEndToEnd, AnAudioCdImageAndAMixedDiscAsTheDrive)
{
    QString failure;
    const QString audio = player.filePath("audio");
    QDir().mkpath(audio);
    // Track 1 is long enough that the knob, not the end of the track, brings the time back.
    const QString cue = makeAudioCdImage(audio, {40, 4}, &failure);
    ASSERT_FALSE(cue.isEmpty()) << failure.toStdString();
    startPlayer(cue);
    // The start-up probe finds the disc and plays it from its first track.
    ASSERT_TRUE(player.waitFor([&] { return shown("MediaKind") == "CDAudio" && shown("Label2(2)") == "<1>"; })) << why();
    EXPECT_TRUE(player.log().contains("找到音樂光碟 "));
    const QString key = discKeyIn(player.log());
    ASSERT_FALSE(key.isEmpty()) << why();
    const QString lyricFolder = player.filePath("data/Pelloran/Temp/" + key);
    ASSERT_TRUE(QDir().mkpath(lyricFolder));
    ASSERT_TRUE(Cp950::writeTextFile(lyricFolder + "/Track01.txt",
                                     Cp950::joinCrLf({"第一首", "00:00:5第一句", "00:02:0第二句"})));

    // Number key 1 starts the track again, now with its lyric lines.
    ASSERT_TRUE(player.pressKey("PicNum", 0));
    EXPECT_TRUE(player.waitForState("Label1", "第二句")) << why();

    // The knob dragged to the start of its groove goes back in the track.
    ASSERT_TRUE(player.waitForState("Label2(0)", [](const QString &at) { return at >= "00:04"; })) << why();
    const QString before = shown("Label2(0)");
    ASSERT_TRUE(dragKnobToTheStart(player));
    EXPECT_TRUE(player.waitFor([&] { return shown("Label2(0)") < before && shown("Label2(2)") == "<1>"; }))
        << before.toStdString() << " " << why();

    // Next and previous track.
    ASSERT_TRUE(player.pressKey("PicCtl", 11));
    EXPECT_TRUE(player.waitForState("Label2(2)", "<2>")) << why();
    ASSERT_TRUE(player.pressKey("PicCtl", 10));
    EXPECT_TRUE(player.waitForState("Label2(2)", "<1>")) << why();
    ASSERT_EQ(player.quit(), 0) << why();

    // A mixed disc: a data track longer than all its sound (as on a game disc), then the audio
    // image's two tracks (40 s of 440 Hz, 4 s of 660 Hz). The sound the engine plays is where
    // the clock says: each track's own tone, the last one to its end.
    QFile sound(audio + "/audio.bin");
    ASSERT_TRUE(sound.open(QIODevice::ReadOnly));
    ASSERT_TRUE(player.writeFile("audio/mixed.bin", QByteArray(50 * 75 * 2352, '\0') + sound.readAll()));
    ASSERT_TRUE(player.writeFile("audio/mixed.cue", "FILE \"mixed.bin\" BINARY\n"
                                                    "  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                                                    "  TRACK 02 AUDIO\n    INDEX 01 00:50:00\n"
                                                    "  TRACK 03 AUDIO\n    INDEX 01 01:30:00\n"));
    player.setting("GameCD", "1");
    startPlayer(player.filePath("audio/mixed.cue"), "6");  // "找到混合光碟 ... 是否要播放音軌 ?" answered Yes
    ASSERT_TRUE(player.waitForState("MediaKind", "CDAudio")) << why();
    EXPECT_TRUE(player.log().contains("找到混合光碟"));
    // The tone heard while the panel shows track and time. The meter hears what the engine
    // decodes, a little ahead of what it plays: it is asked a second or more from a track's
    // ends, where a busy machine cannot have it hear the next track (or the silence after the
    // last) yet.
    const auto heardAt = [&](const QString &track, const QString &from) {
        int tone = -1;
        const bool heard = player.waitFor([&] {
            const QMap<QString, QString> panel = player.state();
            tone = panel.value("CdTone").toInt();
            return panel.value("Label2(2)") == track && panel.value("Label2(0)") >= from && tone > 0;
        });
        return heard ? tone : -1;
    };
    ASSERT_TRUE(player.pressKey("PicNum", 1));
    EXPECT_NEAR(heardAt("<2>", "00:01"), 440, 40) << why();
    ASSERT_TRUE(player.pressKey("PicCtl", 11));
    EXPECT_NEAR(heardAt("<3>", "00:01"), 660, 40) << why();
    EXPECT_NEAR(heardAt("<3>", "00:02"), 660, 40) << why();
    // The last track's clock runs to its end; then the disc starts again from its first audio
    // track.
    EXPECT_TRUE(player.waitFor([&] { return shown("Label2(2)") == "<3>" && shown("Label2(0)") >= "00:03"; }))
        << why();
    EXPECT_TRUE(player.waitForState("Label2(2)", "<2>")) << why();
    EXPECT_EQ(player.quit(), 0) << why();
}

} // namespace
