// Starts the real Dobbrin program on a virtual X display (the simulated media
// back end, or libmpv where media behaviour is tested), looks at what it shows
// (screenshots), clicks it as a user would and checks what it keeps.
#include "Cp950.h"

#include "ListHighlight.h"
#include "MediaTestSupport.h"
#include "TestMidi.h"
#include "XDisplaySession.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QString outputFile(const QString &name)
{
    const QString folder = QStringLiteral(LYRICTIMER_TEST_OUTPUT);
    QDir().mkpath(folder);
    return folder + u'/' + name;
}

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

// Dobbrin started on a virtual X display of its own, in a program folder of
// songs made at test time.
class DobbrinOnScreen : public ::testing::Test
{
protected:
    // Skips the test when ffmpeg or the display is missing.
    void prepare(const QList<std::pair<QString, QString>> &songs)
    {
        const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        if (ffmpeg.isEmpty())
            GTEST_SKIP() << "ffmpeg is not installed";
        for (const auto &[name, tone] : songs) {
            QProcess make;
            make.start(ffmpeg, {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y"),
                                QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), tone,
                                QStringLiteral("-b:a"), QStringLiteral("64k"), m_program.filePath(name)});
            ASSERT_TRUE(make.waitForFinished(EventWaitMs));
            ASSERT_EQ(make.exitCode(), 0);
        }
        const QString unavailable = m_screen.start({460, 700}, QSize(1024, 700));
        if (!unavailable.isEmpty())
            GTEST_SKIP() << unavailable.toStdString();
    }

    void TearDown() override
    {
        if (m_dobbrin.state() != QProcess::NotRunning) {
            m_dobbrin.kill();
            m_dobbrin.waitForFinished(EventWaitMs);
        }
        m_screen.stop();
    }

    // realMedia: libmpv plays the songs; otherwise the simulated back end.
    // cdDevice: a disc image taken as the optical drive.
    void startDobbrin(bool realMedia = false, const QString &cdDevice = {})
    {
        QProcessEnvironment env = m_screen.programEnvironment();
        if (realMedia)
            env.remove(QStringLiteral("PELLORAN_MEDIA"));
        else
            env.insert(QStringLiteral("PELLORAN_MEDIA"), QStringLiteral("sim"));
        if (!cdDevice.isEmpty())
            env.insert(QStringLiteral("PELLORAN_CD_DEVICE"), cdDevice);
        // The file dialogs open in the program folder.
        m_dobbrin.setWorkingDirectory(m_program.path());
        env.insert(QStringLiteral("PELLORAN_PROGRAM_DIR"), m_program.path());
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        m_dobbrin.setProcessEnvironment(env);
        m_dobbrin.setProcessChannelMode(QProcess::MergedChannels);
        m_dobbrin.start(programBesideTests(QStringLiteral("Dobbrin")), {});
        ASSERT_TRUE(m_dobbrin.waitForStarted(EventWaitMs));
    }

    QImage screenshot(const QString &path) { return m_screen.screenshot(path); }

    // The play-list rows the highlight stood on, in the order it went there, until
    // there are `count` of them or 30 s have passed.
    QList<int> playListRows(int count, const QString &shotPath)
    {
        const QRect playList(10, 362, 218, 124);
        QList<int> rows;
        waitUntil([&] {
            const QImage shot = screenshot(shotPath);
            const int row = shot.isNull() ? -1 : highlightedRow(shot, playList);
            if (row >= 0 && (rows.isEmpty() || qAbs(rows.last() - row) > 4))
                rows << row;
            return rows.size() >= count;
        }, EventWaitMs, 150);
        return rows;
    }

    QTemporaryDir m_program;
    QTemporaryDir m_home;
    XDisplaySession m_screen;
    QProcess m_dobbrin;
};

// One 30 s song with its lyric file.
class DobbrinEndToEnd : public DobbrinOnScreen
{
protected:
    void SetUp() override
    {
        const QStringList lyric = {QStringLiteral("好歌"), QStringLiteral("00:00:0第一句歌詞"),
                                   QStringLiteral("00:01:0第二句歌詞"), QStringLiteral("00:25:0第三句歌詞")};
        ASSERT_TRUE(Cp950::writeTextFile(m_program.filePath(QStringLiteral("song.txt")), Cp950::joinCrLf(lyric)));
        prepare({{QStringLiteral("song.mp3"), QStringLiteral("sine=frequency=440:duration=30")}});
    }
};

// Three short songs of different pitch, 2.6 s each: the length reads as 3 whole
// seconds, which the last clock reading before the device stops never reaches.
class DobbrinRealMedia : public DobbrinOnScreen
{
protected:
    void SetUp() override
    {
        prepare({{QStringLiteral("a.mp3"), QStringLiteral("sine=frequency=440:duration=2.6")},
                 {QStringLiteral("b.mp3"), QStringLiteral("sine=frequency=550:duration=2.6")},
                 {QStringLiteral("c.mp3"), QStringLiteral("sine=frequency=660:duration=2.6")}});
    }
};

// A 3 s MIDI song and, after it, a 20 s one in a RIFF wrapper (.rmi) with its
// lyric lines not stamped yet.
class DobbrinMidi : public DobbrinOnScreen
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeFile(m_program.filePath(QStringLiteral("a.mid")), testMidiFile({0, 8, 120, 240})));
        ASSERT_TRUE(writeFile(m_program.filePath(QStringLiteral("b.rmi")), riffMidiFile(testMidiFile({1, 20, 60, 60}))));
        ASSERT_TRUE(Cp950::writeTextFile(m_program.filePath(QStringLiteral("b.txt")),
                                         Cp950::joinCrLf({QStringLiteral("電子琴"), QStringLiteral("第一句")})));
        prepare({});
    }
};

} // namespace

TEST_F(DobbrinEndToEnd, PlaysTheFoldersSongShowsItsLyricAndKeepsColoursAtTheEnd)
{
    startDobbrin();
    XInput pointer(m_screen.display().toLocal8Bit());
    ASSERT_TRUE(pointer.usable()) << "the X test extension could not be loaded";

    // The window sits at the top left of the display; the current lyric line
    // is drawn in yellow below the buttons while the song plays.
    const QRect lyricLine(240, 204, 472, 64);
    const QString playShot = outputFile(QStringLiteral("dobbrin-play.png"));
    QImage shown;
    waitUntil([&] {
        shown = screenshot(playShot);
        return !shown.isNull() && yellowPixels(shown, lyricLine) > 150;
    }, EventWaitMs, 200);
    ASSERT_FALSE(shown.isNull());
    EXPECT_GT(yellowPixels(shown, lyricLine), 150) << "no lyric line shown; see " << playShot.toStdString();

    pointer.click(500, 78);  // "To 編輯模式": the lyric list replaces the big line
    const QString editShot = outputFile(QStringLiteral("dobbrin-edit.png"));
    waitUntil([&] {
        shown = screenshot(editShot);
        return !shown.isNull() && yellowPixels(shown, lyricLine) < 50;
    }, EventWaitMs, 200);
    EXPECT_LT(yellowPixels(shown, lyricLine), 50) << "still in play mode; see " << editShot.toStdString();

    pointer.click(459, 189);  // "結束"
    ASSERT_TRUE(m_dobbrin.waitForFinished(EventWaitMs));
    EXPECT_EQ(m_dobbrin.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_dobbrin.exitCode(), 0);
    QFile settings(m_home.filePath(QStringLiteral("config/Pelloran/Dobbrin V1.0 Beta.conf")));
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
    ASSERT_TRUE(QFile::copy(m_program.filePath(QStringLiteral("song.mp3")), m_program.filePath(QStringLiteral("tune.mp3"))));
    QStringList lyric = {QStringLiteral("曲名")};
    for (int i = 0; i < 14; ++i)  // a line every half second
        lyric << QStringLiteral("00:%1:%2第%3句").arg(i / 2, 2, 10, QLatin1Char('0')).arg(i % 2 * 5).arg(i + 1);
    ASSERT_TRUE(Cp950::writeTextFile(m_program.filePath(QStringLiteral("tune.txt")), Cp950::joinCrLf(lyric)));
    startDobbrin();
    XInput pointer(m_screen.display().toLocal8Bit());
    ASSERT_TRUE(pointer.usable()) << "the X test extension could not be loaded";
    const QRect lyricList(242, 206, 460, 228);
    const QString shotPath = outputFile(QStringLiteral("dobbrin-edit-open.png"));
    QImage shown;
    waitUntil([&] {
        shown = screenshot(shotPath);
        return !shown.isNull() && yellowPixels(shown, QRect(240, 204, 472, 64)) > 150;
    }, EventWaitMs, 200);

    pointer.click(500, 78);  // "To 編輯模式"
    QThread::msleep(300);
    pointer.click(60, 381);  // tune.mp3, the second entry of the play list
    QThread::msleep(1000);
    shown = screenshot(shotPath);
    const int top = highlightedRow(shown, lyricList);
    ASSERT_GE(top, 0) << "no current lyric line; see " << shotPath.toStdString();
    const int clicked = top + 4 * 18;  // the fifth line: rows are 18 pixels high
    pointer.click(400, clicked);
    // Several clock steps later, with later lines falling due every half second.
    QThread::msleep(2500);
    shown = screenshot(shotPath);
    EXPECT_LE(qAbs(highlightedRow(shown, lyricList) - clicked), 5)
        << "the lyric list followed the play time; see " << shotPath.toStdString();
}

// On the real media back end (libmpv) play mode plays the folder's songs one
// after another, each to its end, and then the first again.
TEST_F(DobbrinRealMedia, PlayModePlaysTheFoldersSongsOneAfterAnother)
{
    startDobbrin(true);
    const QRect playList(10, 362, 218, 124);
    const QString shotPath = m_program.filePath(QStringLiteral("shot.png"));
    const QList<int> rows = playListRows(4, shotPath);
    ASSERT_GE(rows.size(), 3) << "the play list did not move on";
    EXPECT_LT(rows[0], rows[1]);
    EXPECT_LT(rows[1], rows[2]);
    ASSERT_EQ(rows.size(), 4) << "the last song did not end";
    EXPECT_LE(qAbs(rows[3] - rows[0]), 4) << "after the last song the first plays again";
    EXPECT_EQ(m_dobbrin.state(), QProcess::Running);

    // The seek slider held past the end of the song: the list stays on that
    // song, and the release seeks it (half way), not the next one.
    XInput pointer(m_screen.display().toLocal8Bit());
    ASSERT_TRUE(pointer.usable()) << "the X test extension could not be loaded";
    pointer.moveTo(300, 47);
    pointer.press();
    QThread::msleep(300);
    const int held = highlightedRow(screenshot(shotPath), playList);
    QThread::msleep(4000);  // longer than a song
    EXPECT_LE(qAbs(highlightedRow(screenshot(shotPath), playList) - held), 4) << "the list moved on while held";
    pointer.moveTo(476, 47);
    pointer.release();
    EXPECT_LE(qAbs(highlightedRow(screenshot(shotPath), playList) - held), 4) << "the release left the song";
    int later = held;
    waitUntil([&] {
        later = highlightedRow(screenshot(shotPath), playList);
        return later >= 0 && qAbs(later - held) > 4;
    }, EventWaitMs, 150);
    EXPECT_GT(qAbs(later - held), 4) << "the song sought by the release did not play to its end";
}

// libmpv is loaded while the window shows; the folder's song, opened at once, plays on the
// real engine: the lyric line moves on from the first line to the second.
TEST_F(DobbrinEndToEnd, OnTheRealEngineTheSongOpenedAtStartPlays)
{
    startDobbrin(true);
    const QRect lyricLine(240, 204, 472, 64);
    const QString shot = outputFile(QStringLiteral("dobbrin-real-start.png"));
    QImage first;
    waitUntil([&] {
        first = screenshot(shot);
        return !first.isNull() && yellowPixels(first, lyricLine) > 150;
    }, EventWaitMs, 100);
    ASSERT_GT(yellowPixels(first, lyricLine), 150) << "no lyric line shown; see " << shot.toStdString();
    const QImage firstLine = first.copy(lyricLine);
    QImage later;
    waitUntil([&] {
        later = screenshot(shot);
        return !later.isNull() && yellowPixels(later, lyricLine) > 150 && later.copy(lyricLine) != firstLine;
    }, EventWaitMs, 200);
    EXPECT_NE(later.copy(lyricLine), firstLine) << "the lyric line never moved on; see " << shot.toStdString();
    const QString output = QString::fromLocal8Bit(m_dobbrin.readAll());
    EXPECT_FALSE(output.contains(QStringLiteral("libmpv could not be loaded"))) << output.toStdString();
}

// On the real engine a MIDI song plays to its end and the next, an .rmi, follows;
// a line stamped while it plays is saved with the time it was stamped at.
TEST_F(DobbrinMidi, PlaysAMidAndAnRmiAndStampsALine)
{
    startDobbrin(true);
    XInput pointer(m_screen.display().toLocal8Bit());
    ASSERT_TRUE(pointer.usable()) << "the X test extension could not be loaded";
    const QString shot = outputFile(QStringLiteral("dobbrin-midi.png"));
    const QList<int> rows = playListRows(2, shot);
    ASSERT_EQ(rows.size(), 2) << "a.mid did not play to its end; see " << shot.toStdString();
    EXPECT_LT(rows[0], rows[1]);

    // b.rmi plays: two seconds in, in edit mode, its first lyric line is stamped and saved.
    QThread::msleep(2000);
    pointer.click(500, 78);  // "To 編輯模式"
    QThread::msleep(500);
    pointer.click(400, 206 + 18 + 9);  // the lyric list's second line, "第一句"
    QThread::msleep(300);
    pointer.click(459, 109);  // "記錄時間"
    QThread::msleep(300);
    pointer.click(663, 149);  // "歌詞存檔": the dialog offers b.txt
    QThread::msleep(1500);
    pointer.type(0xff0d);  // Return
    QThread::msleep(1000);
    pointer.type('y');  // yes, replace it
    const QString lyric = m_program.filePath(QStringLiteral("b.txt"));
    QStringList lines;
    waitUntil([&] {
        lines = Cp950::splitLines(Cp950::readTextFile(lyric));
        return lines.size() == 2 && lines[1] != QStringLiteral("第一句");
    }, EventWaitMs, 200);
    ASSERT_EQ(lines.size(), 2) << screenshot(shot).isNull();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("第一句"))) << lines[1].toStdString();
    const QString stamp = lines[1].left(7);
    EXPECT_TRUE(stamp > QStringLiteral("00:01:0") && stamp < QStringLiteral("00:20:0"))
        << lines[1].toStdString() << "; see " << shot.toStdString();
    EXPECT_EQ(m_dobbrin.state(), QProcess::Running);
}

namespace {

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

} // namespace

// An audio CD (a .cue image on libcdio and libmpv) as a user meets it: the
// drive's root lists its tracks, track 2 plays and is sought, and lines are
// stamped with the time inside that track as it plays.
TEST_F(DobbrinOnScreen, AnAudioCdListsItsTracksPlaysAndSeeksOneAndStampsLines)
{
    prepare({});
    QString why;
    ASSERT_TRUE(QDir().mkpath(m_program.filePath(QStringLiteral("disc"))));
    const QString cue = makeAudioCdImage(m_program.filePath(QStringLiteral("disc")), {6, 60, 6}, &why);
    if (cue.isEmpty())
        GTEST_SKIP() << why.toStdString();
    ASSERT_TRUE(Cp950::writeTextFile(m_program.filePath(QStringLiteral("lyric.txt")),
                                     Cp950::joinCrLf({QStringLiteral("光碟之歌"), QStringLiteral("第一句"),
                                                      QStringLiteral("第二句"), QStringLiteral("第三句")})));
    startDobbrin(true, cue);
    XInput input(m_screen.display().toLocal8Bit());
    ASSERT_TRUE(input.usable()) << "the X test extension could not be loaded";
    QThread::msleep(1500);

    // The disc image is the last drive of the list; its first track starts at once.
    const QRect playList(10, 362, 218, 124);
    const QString shotPath = outputFile(QStringLiteral("dobbrin-audio-cd.png"));
    input.click(119, 21);
    input.type(0xff57);  // End
    input.type(0xff0d);  // Return
    int first = -1;
    waitUntil([&] {
        first = highlightedRow(screenshot(shotPath), playList);
        return first >= 0;
    }, EventWaitMs, 200);
    ASSERT_GE(first, 0) << "no track listed; see " << shotPath.toStdString();
    // Rows are 14 pixels high: the third track is there; then track 2 plays.
    input.click(60, first + 28);
    EXPECT_LE(qAbs(highlightedRow(screenshot(shotPath), playList) - (first + 28)), 4) << "no third track";
    input.click(60, first + 14);
    QThread::msleep(1000);

    // A file dialog opens in the program folder; a name is typed into it.
    auto answerFileDialog = [&](const QString &name) {
        QThread::msleep(3000);
        input.type(0x61, 0xffe3);  // Ctrl+A: the offered name goes
        for (const QChar c : name)
            input.type(c.unicode());
        input.type(0xff0d);
        QThread::msleep(1500);
    };
    input.click(500, 78);  // "To 編輯模式"
    input.click(561, 149); // "匯入歌詞"
    answerFileDialog(QStringLiteral("lyric.txt"));
    input.click(400, 233); // the lyric list's second line, 第一句

    // Seek to about 70 % of the 60 s track, then stamp three lines as it plays.
    const int knob = sliderKnobX(screenshot(shotPath));
    input.drag(QPoint(knob, 47), QPoint(248 + 456 * 7 / 10, 47));
    QThread::msleep(1000);
    for (int i = 0; i < 3; ++i) {
        input.click(459, 109);  // "記錄時間"
        QThread::msleep(700);
    }
    screenshot(shotPath);
    input.click(663, 149);  // "歌詞存檔"
    answerFileDialog(QStringLiteral("stamped.txt"));
    const QString saved = m_program.filePath(QStringLiteral("stamped.txt"));
    waitUntil([&] { return QFile::exists(saved); }, EventWaitMs, 200);
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "nothing saved; see " << shotPath.toStdString();
    const QStringList lines = Cp950::decode(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("光碟之歌"));
    QString before = QStringLiteral("00:35:0");
    for (int i = 1; i <= 3; ++i) {
        // A time inside track 2 past the sought place; each stamp after the one before.
        const QString stamp = lines[i].left(7);
        EXPECT_TRUE(stamp.startsWith(QStringLiteral("00:")) && stamp >= before) << lines[i].toStdString();
        EXPECT_EQ(lines[i].mid(7), QStringLiteral("第%1句").arg(QStringList{"一", "二", "三"}[i - 1]));
        before = stamp;
    }
    EXPECT_EQ(m_dobbrin.state(), QProcess::Running);
}
