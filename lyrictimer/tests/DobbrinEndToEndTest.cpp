// Starts the real Dobbrin program on a virtual X display (the simulated media
// back end, or libmpv where media behaviour is tested), looks at what it shows
// (screenshots), clicks it as a user would and checks what it keeps.
#include "Cp950.h"

#include "ListHighlight.h"
#include "MediaTestSupport.h"
#include "ProgramSandbox.h"
#include "TestMidi.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr unsigned long KeyReturn = 0xff0d, KeyEnd = 0xff57, KeyHome = 0xff50, KeyDown = 0xff54, KeyControl = 0xffe3;

// The window sits at the top left of the display. In play mode the current lyric line is
// drawn big in yellow below the buttons and the next one in dark yellow below it; in edit
// mode the lyric list is there. The play time and the length stand above the slider.
// Entries of a list are chosen with keys or found from its highlight: how high an entry
// is, the font decides.
const QRect LyricLine(240, 204, 472, 64);
const QRect NextLyricLine(240, 272, 472, 48);
const QRect LyricList(242, 206, 460, 228);
const QRect PlayList(10, 362, 218, 124);
const QRect TimeLabels(240, 8, 230, 24);
// The seek slider's groove: its knob is at the left end at the start of a song.
constexpr int GrooveLeft = 248, GrooveWidth = 456;

// Pixels of the current-line colour (yellow) in a part of the picture.
int yellowPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) < 90 ? 1 : 0;
        }
    return count;
}

bool showsLyricLine(const QImage &shot) { return yellowPixels(shot, LyricLine) > 150; }

// Pixels of the next-line colour (dark yellow) in a part of the picture.
int darkYellowPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qRed(p) > 150 && qRed(p) < 215 && qGreen(p) > 150 && qGreen(p) < 215 && qBlue(p) < 60 ? 1 : 0;
        }
    return count;
}

// Bright (text) pixels in a part of the picture: the labels' text on the dark background.
int brightPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) > 160 ? 1 : 0;
    return count;
}

// Where the seek slider's knob is: just right of the coloured part of its groove.
int sliderKnobX(const QImage &shot)
{
    int x = 240;
    for (int at = 240; at < 712 && at < shot.width(); ++at) {
        const QColor c = QColor::fromRgb(shot.pixel(at, 46));
        if (c.saturation() > 100 && c.value() > 120)
            x = at;
    }
    return x + 8;
}

// The knob's place seconds later in a song that lasts length seconds, from the start or from a place.
int knobAt(double seconds, double length, int from = GrooveLeft) { return from + int(GrooveWidth * seconds / length); }

// Dobbrin started on a virtual X display of its own, in a program folder of
// songs made at test time.
class DobbrinOnScreen : public ::testing::Test
{
protected:
    // Skips the test when ffmpeg or the display is missing.
    void prepare(const QList<std::pair<QString, QString>> &songs)
    {
        m_dobbrin.requireTool(QStringLiteral("ffmpeg"));
        if (!m_dobbrin.unavailable().isEmpty())
            GTEST_SKIP() << m_dobbrin.unavailable().toStdString();
        for (const auto &[name, tone] : songs)
            ASSERT_TRUE(m_dobbrin.makeMedia(QStringLiteral("program/") + name,
                                            {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), tone,
                                             QStringLiteral("-b:a"), QStringLiteral("64k")}));
        // The file dialogs open in the program folder.
        m_dobbrin.setWorkingFolder(m_dobbrin.programFolder());
    }

    QString programFile(const QString &name) const { return m_dobbrin.programFile(name); }

    // realMedia: libmpv plays the songs; otherwise the simulated back end.
    // cdDevice: a disc image taken as the optical drive.
    void startDobbrin(bool realMedia = false, const QString &cdDevice = {})
    {
        m_dobbrin.setMedia(realMedia ? ProgramSandbox::Media::Real : ProgramSandbox::Media::Simulated);
        m_dobbrin.setVariable(QStringLiteral("PELLORAN_CD_DEVICE"), cdDevice);
        ASSERT_TRUE(m_dobbrin.start());
        ASSERT_TRUE(m_dobbrin.input().usable()) << "the X test extension could not be loaded";
    }

    // The play-list rows the highlight stood on, in the order it went there, until
    // there are `count` of them or the wait's limit has passed.
    QList<int> playListRows(int count, const QString &shot) const
    {
        QList<int> rows;
        ProgramSandbox::waitFor([&] {
            const int row = highlightedRow(m_dobbrin.screenshot(shot), PlayList);
            if (row >= 0 && (rows.isEmpty() || qAbs(rows.last() - row) > 4))
                rows << row;
            return rows.size() >= count;
        });
        return rows;
    }

    // Waits until the play list's highlight stands on row; whether it did.
    bool playListOn(int row, const QString &shot) const
    {
        const auto on = [row](const QImage &now) { return qAbs(highlightedRow(now, PlayList) - row) <= 4; };
        return on(m_dobbrin.screenshotWhen(shot, on));
    }

    // Clicks into a list at its highlighted entry (none: its top), then moves in it with keys.
    void chooseInList(const QRect &list, std::initializer_list<unsigned long> keys, const QString &shot)
    {
        const int row = highlightedRow(m_dobbrin.screenshot(shot), list);
        m_dobbrin.input().click(list.left() + 50, row >= 0 ? row : list.top() + 5);
        for (const unsigned long key : keys)
            m_dobbrin.input().type(key);
    }

    // Waits until a window titled title covers a good part of what the screen showed before:
    // it is drawn, and keys reach it. That screen, or a null picture when it did not come.
    QImage windowOver(const QImage &before, const QString &title, const QString &shot) const
    {
        bool shown = false;
        const QImage screen = m_dobbrin.screenshotWhen(shot, [&](const QImage &now) {
            const QRect place = m_dobbrin.windowTitled(title);
            shown = place.isValid() && changedPixels(before, now, place) > 2000;
            return shown;
        });
        return shown ? screen : QImage();
    }

    ProgramSandbox m_dobbrin{QStringLiteral("Dobbrin"), {460, 700}, QSize(1024, 700)};
};

// One 30 s song with its lyric file.
class DobbrinEndToEnd : public DobbrinOnScreen
{
protected:
    void SetUp() override
    {
        const QStringList lyric = {QStringLiteral("好歌"), QStringLiteral("00:00:0第一句歌詞"),
                                   QStringLiteral("00:01:0第二句歌詞"), QStringLiteral("00:25:0第三句歌詞")};
        ASSERT_TRUE(Cp950::writeTextFile(programFile(QStringLiteral("song.txt")), Cp950::joinCrLf(lyric)));
        prepare({{QStringLiteral("song.mp3"), QStringLiteral("sine=frequency=440:duration=30")}});
    }
};

// Three short songs of different pitch, 2.6 s each: the length reads as 3 whole
// seconds, which the last clock reading before the device stops never reaches.
// Between the second and the third a file that is no song at all.
class DobbrinRealMedia : public DobbrinOnScreen
{
protected:
    void SetUp() override
    {
        prepare({{QStringLiteral("a.mp3"), QStringLiteral("sine=frequency=440:duration=2.6")},
                 {QStringLiteral("b.mp3"), QStringLiteral("sine=frequency=550:duration=2.6")},
                 {QStringLiteral("c.mp3"), QStringLiteral("sine=frequency=660:duration=2.6")}});
        ASSERT_TRUE(m_dobbrin.writeFile(QStringLiteral("program/bb.mp3"), QByteArray(4000, 'x')));
    }
};

// A 3 s MIDI song and, after it, a 20 s one in a RIFF wrapper (.rmi) with its
// lyric lines not stamped yet.
class DobbrinMidi : public DobbrinOnScreen
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dobbrin.writeFile(QStringLiteral("program/a.mid"), testMidiFile({0, 8, 120, 240})));
        ASSERT_TRUE(m_dobbrin.writeFile(QStringLiteral("program/b.rmi"), riffMidiFile(testMidiFile({1, 20, 60, 60}))));
        ASSERT_TRUE(Cp950::writeTextFile(programFile(QStringLiteral("b.txt")),
                                         Cp950::joinCrLf({QStringLiteral("電子琴"), QStringLiteral("第一句")})));
        prepare({});
    }
};

} // namespace

TEST_F(DobbrinEndToEnd, PlaysTheFoldersSongShowsItsLyricAndKeepsColoursAtTheEnd)
{
    startDobbrin();
    XInput &pointer = m_dobbrin.input();
    const QImage playing = m_dobbrin.screenshotWhen(QStringLiteral("dobbrin-play.png"), showsLyricLine);
    ASSERT_FALSE(playing.isNull());
    EXPECT_GT(yellowPixels(playing, LyricLine), 150) << "no lyric line shown; see dobbrin-play.png";

    pointer.click(500, 78);  // "To 編輯模式": the lyric list replaces the big line
    const QImage editing = m_dobbrin.screenshotWhen(QStringLiteral("dobbrin-edit.png"), [](const QImage &shot) {
        return yellowPixels(shot, LyricLine) < 50;
    });
    EXPECT_LT(yellowPixels(editing, LyricLine), 50) << "still in play mode; see dobbrin-edit.png";

    pointer.click(459, 189);  // "結束"
    const int exitCode = m_dobbrin.waitForEnd();
    ASSERT_FALSE(m_dobbrin.running()) << "Dobbrin did not end";
    EXPECT_NE(exitCode, -1) << "Dobbrin crashed: " << m_dobbrin.report();
    EXPECT_EQ(exitCode, 0);
    QFile settings(m_dobbrin.settingsFolder() + QStringLiteral("/Dobbrin V1.0 Beta.conf"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly)) << "no settings kept";
    const QByteArray kept = settings.readAll();
    EXPECT_TRUE(kept.contains("BackColor=4194304")) << kept.toStdString();
    EXPECT_TRUE(kept.contains("SongColor=65535")) << kept.toStdString();
    EXPECT_TRUE(kept.contains("SongColor1=49344")) << kept.toStdString();
}

// In edit mode a song opened from the play list keeps the lyric list still:
// the line the user clicks stays current while the song plays on.
TEST_F(DobbrinEndToEnd, OpeningASongInEditModeLeavesTheLyricListWhereTheUserPutsIt)
{
    ASSERT_TRUE(QFile::copy(programFile(QStringLiteral("song.mp3")), programFile(QStringLiteral("tune.mp3"))));
    QStringList lyric = {QStringLiteral("曲名")};
    for (int i = 0; i < 14; ++i)  // a line every half second
        lyric << QStringLiteral("00:%1:%2第%3句").arg(i / 2, 2, 10, QLatin1Char('0')).arg(i % 2 * 5).arg(i + 1);
    ASSERT_TRUE(Cp950::writeTextFile(programFile(QStringLiteral("tune.txt")), Cp950::joinCrLf(lyric)));
    startDobbrin();
    XInput &pointer = m_dobbrin.input();
    const QString shot = QStringLiteral("dobbrin-edit-open.png");
    ASSERT_TRUE(showsLyricLine(m_dobbrin.screenshotWhen(shot, showsLyricLine))) << "song.mp3 did not play";

    pointer.click(500, 78);  // "To 編輯模式"
    const int song = highlightedRow(m_dobbrin.screenshot(shot), PlayList);
    const int tune = song + entryStep(m_dobbrin.screenshot(shot), PlayList);  // the second entry
    ASSERT_GT(tune, song) << "no play-list entry highlighted; see " << shot.toStdString();
    pointer.click(60, tune);  // tune.mp3: it opens
    QImage shown = m_dobbrin.screenshotWhen(shot, [&](const QImage &now) {
        return qAbs(highlightedRow(now, PlayList) - tune) <= 4 && highlightedRow(now, LyricList) >= 0;
    });
    const int top = highlightedRow(shown, LyricList);
    ASSERT_GE(top, 0) << "no current lyric line; see " << shot.toStdString();
    pointer.click(400, top + 80);  // a line some way down
    shown = m_dobbrin.screenshotWhen(shot, [&](const QImage &now) { return highlightedRow(now, LyricList) > top + 4; });
    const int clicked = highlightedRow(shown, LyricList);
    ASSERT_GT(clicked, top + 4) << "the clicked line did not become current; see " << shot.toStdString();
    // Several clock steps later, with later lines falling due every half second.
    const int knob = sliderKnobX(m_dobbrin.screenshot(shot));
    shown = m_dobbrin.screenshotWhen(shot, [&](const QImage &now) {
        return sliderKnobX(now) >= knobAt(2.5, 30, knob);
    });
    EXPECT_GE(sliderKnobX(shown), knobAt(2.5, 30, knob)) << "tune.mp3 did not play on";
    EXPECT_LE(qAbs(highlightedRow(shown, LyricList) - clicked), 2)
        << "the lyric list followed the play time; see " << shot.toStdString();
}

// On the real media back end (libmpv) play mode plays the folder's songs one
// after another, each to its end, and then the first again; the file that
// cannot be played is said, its entry shows no times, and the list goes on.
TEST_F(DobbrinRealMedia, PlayModePlaysTheFoldersSongsOneAfterAnother)
{
    startDobbrin(true);
    const QString shot = QStringLiteral("dobbrin-real-play-list.png");
    const QList<int> rows = playListRows(2, shot);
    ASSERT_EQ(rows.size(), 2) << "the play list did not move on";
    ASSERT_LT(rows[0], rows[1]);
    const int step = rows[1] - rows[0];
    const QImage failed = m_dobbrin.screenshotWhen(shot, [&](const QImage &now) {
        return qAbs(highlightedRow(now, PlayList) - (rows[1] + step)) <= 4 && brightPixels(now, TimeLabels) == 0;
    });
    EXPECT_LE(qAbs(highlightedRow(failed, PlayList) - (rows[1] + step)), 4) << "bb.mp3 was not tried";
    EXPECT_EQ(brightPixels(failed, TimeLabels), 0) << "b.mp3's times stayed; see " << shot.toStdString();
    EXPECT_TRUE(playListOn(rows[1] + 2 * step, shot)) << "the list stood still at bb.mp3";
    EXPECT_TRUE(playListOn(rows[0], shot)) << "after the last song the first did not play again";
    EXPECT_TRUE(m_dobbrin.running());

    // The seek slider held past the end of the song: the list stays on that
    // song, and the release seeks it (half way), not the next one.
    XInput &pointer = m_dobbrin.input();
    pointer.moveTo(300, 47);
    pointer.press();
    const int held = highlightedRow(m_dobbrin.screenshot(shot), PlayList);
    auto movedOn = [&] {
        const int row = highlightedRow(m_dobbrin.screenshot(shot), PlayList);
        return row >= 0 && qAbs(row - held) > 4;
    };
    EXPECT_FALSE(ProgramSandbox::waitFor(movedOn, 4000)) << "the list moved on while held (longer than a song)";
    pointer.moveTo(476, 47);
    pointer.release();
    EXPECT_FALSE(movedOn()) << "the release left the song";
    EXPECT_TRUE(ProgramSandbox::waitFor(movedOn)) << "the song sought by the release did not play to its end";
}

// libmpv is loaded while the window shows; the folder's song, opened at once, plays on the
// real engine: the lyric line moves on from the first line to the second.
TEST_F(DobbrinEndToEnd, OnTheRealEngineTheSongOpenedAtStartPlays)
{
    startDobbrin(true);
    const QString shot = QStringLiteral("dobbrin-real-start.png");
    const QImage first = m_dobbrin.screenshotWhen(shot, showsLyricLine);
    ASSERT_GT(yellowPixels(first, LyricLine), 150) << "no lyric line shown; see " << shot.toStdString();
    const QImage firstLine = first.copy(LyricLine);
    const QImage later = m_dobbrin.screenshotWhen(shot, [&](const QImage &now) {
        return showsLyricLine(now) && now.copy(LyricLine) != firstLine;
    });
    EXPECT_NE(later.copy(LyricLine), firstLine) << "the lyric line never moved on; see " << shot.toStdString();
    EXPECT_FALSE(m_dobbrin.output().contains(QStringLiteral("libmpv could not be loaded"))) << m_dobbrin.report();
}

// On the real engine a MIDI song plays to its end and the next, an .rmi, follows;
// a line stamped while it plays is saved with the time it was stamped at.
TEST_F(DobbrinMidi, PlaysAMidAndAnRmiAndStampsALine)
{
    startDobbrin(true);
    XInput &pointer = m_dobbrin.input();
    const QString shot = QStringLiteral("dobbrin-midi.png");
    const QList<int> rows = playListRows(2, shot);
    ASSERT_EQ(rows.size(), 2) << "a.mid did not play to its end; see " << shot.toStdString();
    EXPECT_LT(rows[0], rows[1]);

    // b.rmi plays: two seconds in, in edit mode, its first lyric line is stamped and saved.
    // (Not yet nine: a.mid's knob, still shown as b.rmi starts, stood near its end.)
    const QImage twoSecondsIn = m_dobbrin.screenshotWhen(shot, [](const QImage &now) {
        return sliderKnobX(now) >= knobAt(2, 20) && sliderKnobX(now) < knobAt(9, 20);
    });
    EXPECT_GE(sliderKnobX(twoSecondsIn), knobAt(2, 20)) << "b.rmi did not play on";
    pointer.click(500, 78);                                   // "To 編輯模式"
    chooseInList(LyricList, {KeyHome, KeyDown}, shot);  // the lyric list's second line, "第一句"
    pointer.click(459, 109);                                  // "記錄時間"
    const QImage stamped = m_dobbrin.screenshot(shot);
    pointer.click(663, 149);  // "歌詞存檔": the dialog offers b.txt
    const QString dialogShot = QStringLiteral("dobbrin-midi-dialog.png");
    const QImage dialog = windowOver(stamped, QStringLiteral("另存新檔"), dialogShot);
    ASSERT_FALSE(dialog.isNull()) << "no file dialog; see " << dialogShot.toStdString();
    pointer.type(KeyReturn);
    ASSERT_FALSE(windowOver(dialog, QStringLiteral("另存新檔"), dialogShot).isNull()) << "not asked to replace b.txt";
    pointer.type('y');  // yes, replace it
    const QString lyric = programFile(QStringLiteral("b.txt"));
    QStringList lines;
    ProgramSandbox::waitFor([&] {
        lines = Cp950::splitLines(Cp950::readTextFile(lyric));
        return lines.size() == 2 && lines[1] != QStringLiteral("第一句");
    });
    ASSERT_EQ(lines.size(), 2) << m_dobbrin.screenshot(shot).isNull();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("第一句"))) << lines[1].toStdString();
    const QString stamp = lines[1].left(7);
    EXPECT_TRUE(stamp > QStringLiteral("00:01:0") && stamp < QStringLiteral("00:20:0"))
        << lines[1].toStdString() << "; see " << shot.toStdString();
    EXPECT_TRUE(m_dobbrin.running());
}

// An audio CD (a .cue image on libcdio and libmpv) as a user meets it, after a
// song with lyrics: the drive's root lists its tracks, each entry plays its own
// track to that track's end and no further, two quick keys are taken in order,
// and lines are stamped with the time inside the listed track as it plays, also
// after the slider was held past the track's end.
TEST_F(DobbrinOnScreen, AnAudioCdListsItsTracksPlaysAndSeeksOneAndStampsLines)
{
    prepare({{QStringLiteral("song.mp3"), QStringLiteral("sine=frequency=440:duration=30")}});
    QString why;
    ASSERT_TRUE(QDir().mkpath(programFile(QStringLiteral("disc"))));
    const QString cue = makeAudioCdImage(programFile(QStringLiteral("disc")), {6, 60, 6}, &why);
    if (cue.isEmpty())
        GTEST_SKIP() << why.toStdString();
    ASSERT_TRUE(Cp950::writeTextFile(programFile(QStringLiteral("song.txt")),
                                     Cp950::joinCrLf({QStringLiteral("好歌"), QStringLiteral("00:00:0第一句歌詞"),
                                                      QStringLiteral("00:01:0第二句歌詞"),
                                                      QStringLiteral("00:29:0第三句歌詞")})));
    ASSERT_TRUE(Cp950::writeTextFile(programFile(QStringLiteral("lyric.txt")),
                                     Cp950::joinCrLf({QStringLiteral("光碟之歌"), QStringLiteral("第一句"),
                                                      QStringLiteral("第二句"), QStringLiteral("第三句")})));
    startDobbrin(true, cue);
    XInput &input = m_dobbrin.input();
    const QString shot = QStringLiteral("dobbrin-audio-cd.png");
    // The folder's song plays, its next lyric line in dark yellow under the current one.
    const QImage song = m_dobbrin.screenshotWhen(shot, [](const QImage &now) {
        return showsLyricLine(now) && darkYellowPixels(now, NextLyricLine) > 100;
    });
    ASSERT_GT(darkYellowPixels(song, NextLyricLine), 100) << "song.mp3 showed no next line; see " << shot.toStdString();

    // The disc image is the last drive of the list; its first track starts at once,
    // and the song's next line goes with the song.
    input.click(119, 21);
    input.type(KeyEnd);
    input.type(KeyReturn);
    const QImage track = m_dobbrin.screenshotWhen(shot, [](const QImage &now) {
        return highlightedRow(now, PlayList) >= 0 && darkYellowPixels(now, NextLyricLine) == 0;
    });
    EXPECT_EQ(darkYellowPixels(track, NextLyricLine), 0) << "the song's next line stayed; see " << shot.toStdString();
    const int first = highlightedRow(track, PlayList);
    const int step = entryStep(track, PlayList);
    ASSERT_GE(first, 0) << "no track listed; see " << shot.toStdString();

    // A file dialog opens in the program folder; a name is typed into it, and it goes.
    auto answerFileDialog = [&](const QImage &before, const QString &title, const QString &name) {
        if (windowOver(before, title, QStringLiteral("dobbrin-audio-cd-dialog.png")).isNull())
            return false;
        input.type(0x61, KeyControl);  // Ctrl+A: the offered name goes
        for (const QChar c : name)
            input.type(c.unicode());
        input.type(KeyReturn);
        return ProgramSandbox::waitFor([&] { return !m_dobbrin.windowTitled(title).isValid(); });
    };
    input.click(500, 78);  // "To 編輯模式": no entry follows another by itself now
    const auto savedLines = [&](const QString &name) {
        const QString saved = programFile(name);
        ProgramSandbox::waitFor([&] { return QFile::exists(saved); });
        QFile file(saved);
        file.open(QIODevice::ReadOnly);
        return Cp950::decode(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    };
    const auto importLyric = [&] {
        const QImage shown = m_dobbrin.screenshot(shot);
        input.click(561, 149);  // "匯入歌詞"
        return answerFileDialog(shown, QStringLiteral("開啟"), QStringLiteral("lyric.txt"));
    };
    const auto saveLyric = [&](const QString &name) {
        const QImage shown = m_dobbrin.screenshot(shot);
        input.click(663, 149);  // "歌詞存檔"
        return answerFileDialog(shown, QStringLiteral("另存新檔"), name) && !savedLines(name).isEmpty();
    };
    const auto stampLine = [&] { input.click(459, 109); };  // "記錄時間": the next line becomes current
    const auto knobOff = [](double seconds, double length) {
        return [seconds, length](const QImage &now) { return sliderKnobX(now) >= knobAt(seconds, length); };
    };

    // Two Down keys at once from the first track: the third plays, to its end, and stays listed.
    chooseInList(PlayList, {KeyHome}, shot);
    ASSERT_TRUE(playListOn(first, shot));
    input.type(KeyDown);
    input.type(KeyDown);
    EXPECT_TRUE(playListOn(first + 2 * step, shot)) << "the second key was lost";
    const QImage thirdEnd = m_dobbrin.screenshotWhen(shot, knobOff(5.5, 6));
    EXPECT_GE(sliderKnobX(thirdEnd), knobAt(5.5, 6)) << "the third track did not play; see " << shot.toStdString();
    EXPECT_LE(qAbs(highlightedRow(thirdEnd, PlayList) - (first + 2 * step)), 4);

    // The first track, its slider held past the track's end: the release seeks inside it,
    // and it plays to its own end, where it stays: the disc's next track does not start.
    input.type(KeyHome);
    ASSERT_TRUE(playListOn(first, shot));
    const int start = sliderKnobX(m_dobbrin.screenshotWhen(shot, [](const QImage &now) {
        return sliderKnobX(now) < knobAt(3, 6);
    }));
    input.moveTo(start, 47);
    input.press();
    const auto leftFirst = [&] { return qAbs(highlightedRow(m_dobbrin.screenshot(shot), PlayList) - first) > 4; };
    EXPECT_FALSE(ProgramSandbox::waitFor(leftFirst, 7000))  // longer than the track
        << "the list left the held track";
    input.moveTo(knobAt(3, 6), 47);
    input.release();
    const QImage ended = m_dobbrin.screenshotWhen(shot, knobOff(5.5, 6));
    EXPECT_GE(sliderKnobX(ended), knobAt(5.5, 6)) << "the first track did not play to its end";
    EXPECT_FALSE(ProgramSandbox::waitFor([&] { return sliderKnobX(m_dobbrin.screenshot(shot)) < knobAt(5, 6); }, 3000))
        << "the disc played on past the track's end; see " << shot.toStdString();
    EXPECT_TRUE(playListOn(first, shot));
    // A line stamped now takes the track's end, not a time of the track after it.
    ASSERT_TRUE(importLyric());
    chooseInList(LyricList, {KeyHome, KeyDown}, shot);  // 第一句
    stampLine();
    ASSERT_TRUE(saveLyric(QStringLiteral("first.txt")));
    const QStringList firstTrack = savedLines(QStringLiteral("first.txt"));
    ASSERT_EQ(firstTrack.size(), 4) << firstTrack.join(u'|').toStdString();
    EXPECT_TRUE(firstTrack[1].left(7) >= QStringLiteral("00:05:0") && firstTrack[1].left(7) <= QStringLiteral("00:06:0"))
        << "not the first track's end: " << firstTrack[1].toStdString();

    // Track 2: seek to about 70 % of its 60 s, then stamp three lines as it plays.
    chooseInList(PlayList, {KeyDown}, shot);
    EXPECT_TRUE(playListOn(first + step, shot)) << "track 2 not chosen";
    ASSERT_TRUE(importLyric());
    const int knob = sliderKnobX(m_dobbrin.screenshot(shot));
    input.drag(QPoint(knob, 47), QPoint(GrooveLeft + GrooveWidth * 7 / 10, 47));
    const QImage sought = m_dobbrin.screenshotWhen(shot, knobOff(36, 60));
    EXPECT_GE(sliderKnobX(sought), knobAt(36, 60)) << "the seek did not take";
    chooseInList(LyricList, {KeyHome, KeyDown}, shot);
    for (int i = 0; i < 3; ++i)
        stampLine();
    ASSERT_TRUE(saveLyric(QStringLiteral("stamped.txt")));
    const QStringList lines = savedLines(QStringLiteral("stamped.txt"));
    ASSERT_EQ(lines.size(), 4) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("光碟之歌"));
    QString earlier = QStringLiteral("00:35:0");
    for (int i = 1; i <= 3; ++i) {
        // A time inside track 2 past the sought place; each stamp after the one before.
        const QString stamp = lines[i].left(7);
        EXPECT_TRUE(stamp.startsWith(QStringLiteral("00:")) && stamp >= earlier) << lines[i].toStdString();
        EXPECT_EQ(lines[i].mid(7), QStringLiteral("第%1句").arg(QStringList{"一", "二", "三"}[i - 1]));
        earlier = stamp;
    }
    EXPECT_TRUE(m_dobbrin.running());
}
