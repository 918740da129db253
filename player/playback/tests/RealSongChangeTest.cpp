// Whole songs one after another in the real player (libmpv): at each song
// change the message line and the picture area's slide show, in both ways
// of changing pictures, as the screen shows them.
#include "Cp950.h"
#include "RealPlayerSession.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

struct Song
{
    QString title;  // as the title line shows it
    QString first, last;  // its first and last lyric lines
};

bool isLineOf(const Song &song, const QString &line) { return line == song.first || line == song.last; }

// Samples the panel until two songs were seen from their starts to the next one: the picture
// area never blank once a picture has shown, and the message line only ever shows lines of the
// song playing, its last one never before its first.
void watchSongs(RealPlayerSession &session, const QList<Song> &songs, const QList<QRgb> &pictures,
                const QString &phase)
{
    SCOPED_TRACE(phase.toStdString());
    QRect area;
    const Song *playing = nullptr;
    bool firstSeen = true;  // the song playing when the watch begins started unseen
    int blank = 0, shots = 0, changes = 0;
    QElapsedTimer watched;
    watched.start();
    while (changes < 4 && watched.elapsed() < 120000) {
        const QMap<QString, QString> panel = session.state();
        if (area.isEmpty()) {
            const QStringList r = panel.value("place(PictureArea)").split(' ');
            area = r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
        }
        for (const Song &song : songs)
            if (panel.value("Label2(2)").endsWith(song.title) && playing != &song) {
                firstSeen = !playing;
                playing = &song;
                ++changes;
            }
        const QString line = panel.value("Label1");
        if (playing) {
            for (const Song &song : songs)
                EXPECT_FALSE(&song != playing && isLineOf(song, line))
                    << line.toStdString() << " of another song while " << playing->title.toStdString() << " plays";
            firstSeen = firstSeen || line == playing->first;
            EXPECT_FALSE(line == playing->last && !firstSeen)
                << playing->title.toStdString() << " shows its last line before its first";
        }
        const QImage shot = session.screenshot(phase + ".png");
        if (!area.isEmpty() && !shot.isNull()) {
            const bool shown = pictures.contains(shot.pixel(area.center()));
            shots += shown || shots > 0;
            blank += !shown && shots > 0;
        }
    }
    EXPECT_EQ(changes, 4) << "the songs changed";
    EXPECT_GT(shots, 10);
    EXPECT_EQ(blank, 0) << "of " << shots << " looks at the picture area, after its first picture";
}

} // namespace

TEST(RealSongChange, LyricsAndSlidesFollowEachSongFromItsStart)
{
    RealPlayerSession session;
    if (const QString missing = session.unavailable(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    const QList<Song> songs{{"01first.wav", "甲一", "甲尾"}, {"02second.wav", "乙一", "乙尾"}};
    const QStringList tone = {"-f", "lavfi", "-i"};
    for (const char *name : {"01first.wav", "02second.wav"})
        ASSERT_TRUE(session.makeMedia(RealPlayerSession::music(name), tone + QStringList{"sine=frequency=440:duration=6", "-ar", "8000", "-ac", "1"}));
    // Short title lines, as the lyric timer's files have; the first line due after a while.
    ASSERT_TRUE(Cp950::writeTextFile(session.musicFolder() + "/01first.txt",
                                     Cp950::joinCrLf({"甲", "00:01:0甲一", "00:04:0甲尾"})));
    ASSERT_TRUE(Cp950::writeTextFile(session.musicFolder() + "/02second.txt",
                                     Cp950::joinCrLf({"乙", "00:02:0乙一", "00:04:0乙尾"})));
    // Two pictures beside the songs: the slide show takes the song's folder.
    const QList<QRgb> pictures{qRgb(220, 20, 20), qRgb(20, 20, 220)};
    for (int i = 0; i < pictures.size(); ++i) {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(pictures[i]);
        ASSERT_TRUE(picture.save(session.musicFolder() + QString("/%1.bmp").arg(QChar('a' + i))));
    }
    // Pictures by the share of the play time first.
    session.setting("ShowPic", "1");
    session.setting("ShowMode0", "False");
    session.setting("ShowMode1", "True");
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForState("Label2(2)", "01-01 01first.wav")) << session.output().toStdString();
    watchSongs(session, songs, pictures, "song-change-by-play-time");

    // Then one picture for each new lyric line, chosen in the settings dialog.
    ASSERT_TRUE(session.command("key PicButton 3"));
    ASSERT_TRUE(session.command("click 對著歌詞更換圖片"));
    ASSERT_TRUE(session.command("click 確定"));
    session.state();  // answered once the settings are in force
    watchSongs(session, songs, pictures, "song-change-by-lyrics");
    EXPECT_EQ(session.quit(), 0) << session.output().toStdString();
}
