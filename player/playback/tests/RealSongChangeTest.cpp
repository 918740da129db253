// Whole songs one after another in the real player (libmpv): at each song
// change the message line and the picture area's slide show, in both ways
// of changing pictures, as the screen shows them.
#include "Cp950.h"
#include "RealPlayerSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

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

// The bounding box of the pixels of one colour inside an area of a screenshot.
QRect pixelsOf(const QImage &shot, const QRect &area, QRgb colour)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (shot.valid(x, y) && shot.pixel(x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The play clock's seconds ("mm:ss:cc" for song files).
int playSeconds(const QMap<QString, QString> &panel)
{
    const QStringList parts = panel.value("Label2(0)").split(u':');
    return parts.size() == 3 ? parts[0].toInt() * 60 + parts[1].toInt() : -1;
}

// The program's top-level X windows: id and geometry (mapped or not).
QList<QPair<QString, QRect>> programWindows(const RealPlayerSession &session)
{
    QProcess info;
    info.setProcessEnvironment(session.environment());
    info.start("xwininfo", {"-root", "-children"});
    info.waitForFinished(EventWaitMs);
    static const QRegularExpression line(R"(^\s*(0x[0-9a-f]+) .*\("Tavrin" "Tavrin"\)\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+))");
    QList<QPair<QString, QRect>> found;
    for (const QString &text : QString::fromUtf8(info.readAllStandardOutput()).split(u'\n'))
        if (const QRegularExpressionMatch m = line.match(text); m.hasMatch())
            found.append({m.captured(1), QRect(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(2).toInt(),
                                               m.captured(3).toInt())});
    return found;
}

// The window an X window is transient for (its owner, which the window manager keeps it above).
QString transientFor(const RealPlayerSession &session, const QString &window)
{
    QProcess prop;
    prop.setProcessEnvironment(session.environment());
    prop.start("xprop", {"-id", window, "WM_TRANSIENT_FOR"});
    prop.waitForFinished(EventWaitMs);
    const QString text = QString::fromUtf8(prop.readAllStandardOutput());
    const int at = text.indexOf("# ");
    return at < 0 ? QString() : text.mid(at + 2).trimmed();
}

// Where the panel's window lies on the screen.
QPoint panelOrigin(const RealPlayerSession &session)
{
    const QString id = session.state().value("PanelWindow");
    for (const auto &window : programWindows(session))
        if (window.first == id)
            return window.second.topLeft();
    return {};
}

// Opens the panel browser with the panel's title button; its X window and geometry.
QPair<QString, QRect> openBrowser(RealPlayerSession &session)
{
    const QRect button = session.key("PicButton", 2);
    session.input().click(button.center().x(), button.center().y());
    if (!session.waitForState("Picture1(0)", [](const QString &v) { return !v.isEmpty(); }))
        return {};
    const QString id = session.state().value("BrowserWindow");
    for (const auto &window : programWindows(session))
        if (window.first == id)
            return window;
    return {};
}

} // namespace

// The picture setting names a picture: songs in a folder without pictures show the pictures of
// its folder, here one picture, shown step after step, also after a panel change, when the
// same picture is placed in the new panel's area with its shape kept. The panel browser opens
// over the player, as its transient, at the same size each time.
TEST(RealSongChange, APictureNamedInTheSettingsShowsItsFolderAcrossAPanelChange)
{
    RealPlayerSession session;
    if (const QString missing = session.unavailable(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    if (!session.input().usable())
        GTEST_SKIP() << "the X test extension drives the pointer";
    ASSERT_TRUE(session.makeMedia(RealPlayerSession::music("01long.wav"),
                                  {"-f", "lavfi", "-i", "sine=frequency=440:duration=120", "-ar", "8000", "-ac", "1"}));
    const QRgb red = qRgb(230, 10, 10);
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(red);
    QDir().mkpath(session.filePath("pictures"));
    ASSERT_TRUE(picture.save(session.filePath("pictures/only.bmp")));
    session.setting("ShowPic", "1");
    session.setting("ShowTime", "1");
    session.setting("ShowPicFIle", session.filePath("pictures/only.bmp"));
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForState("Label2(2)", "01-01 01long.wav")) << session.output().toStdString();

    // One step after another for four seconds of the song: the picture stays in the area.
    // The area is read at every look: after a panel change the panel takes its new size first
    // and its place on the screen after.
    const auto watchArea = [&](const QString &name) {
        const auto centre = [&] { return session.stateRect("place(PictureArea)").center(); };
        QImage shot = session.screenshotWhen(name + ".png", [&](const QImage &s) { return s.pixel(centre()) == red; });
        EXPECT_EQ(shot.pixel(centre()), red) << name.toStdString() << ": the picture is shown";
        const int from = playSeconds(session.state());
        int blank = 0;
        QElapsedTimer watched;
        watched.start();
        while (playSeconds(session.state()) < from + 4 && watched.elapsed() < EventWaitMs) {
            shot = session.screenshot(name + ".png");
            blank += shot.pixel(centre()) != red;
        }
        EXPECT_GE(playSeconds(session.state()), from + 4) << name.toStdString() << ": the song plays on";
        EXPECT_EQ(blank, 0) << name.toStdString() << ": looks at an empty area";
        return shot;
    };
    const QRect firstArea = session.stateRect("place(PictureArea)");
    const QImage firstShot = watchArea("slides-named-picture");
    EXPECT_TRUE(firstArea.contains(pixelsOf(firstShot, firstArea.adjusted(-40, -40, 40, 40), red))) << "within the area";
    // The frame around the picture, in the panel's colour.
    const QRgb frame = firstShot.pixel(firstArea.topLeft() + QPoint(2, 2));
    ASSERT_NE(frame, red);
    const QPoint firstOrigin = panelOrigin(session);

    // The browser, over the player; the player's window is its owner.
    const QPair<QString, QRect> browser = openBrowser(session);
    ASSERT_FALSE(browser.first.isEmpty()) << session.report();
    EXPECT_EQ(transientFor(session, browser.first), session.state().value("PanelWindow"))
        << "the browser is kept above the player";

    // Another panel chosen: its picture area lies elsewhere and has another size.
    QPoint other;
    for (int i = 0; other.isNull() && i < 36; ++i) {
        const QStringList cell = session.state().value(QString("Picture1(%1)").arg(i)).split(u' ');
        if (cell.size() == 5 && cell[4] == "Ferrowin.BMP")
            other = QRect(cell[0].toInt(), cell[1].toInt(), cell[2].toInt(), cell[3].toInt()).center();
    }
    ASSERT_FALSE(other.isNull()) << "the browser shows the panel Ferrowin";
    session.input().click(other.x(), other.y());
    ASSERT_TRUE(session.waitForState("place(PictureArea)", [&](const QString &) {
        return session.stateRect("place(PictureArea)").size() != firstArea.size();
    }));
    const QImage afterShot = watchArea("slides-after-panel-change");
    // Where the new panel settled: it takes its size first, then its place on the screen.
    const QRect area = session.stateRect("place(PictureArea)");
    const QRect shown = pixelsOf(afterShot, area.adjusted(-40, -40, 40, 40), red);
    // Where the old panel's area lay in the window: no frame is left there.
    const QRect oldPlace = firstArea.translated(panelOrigin(session) - firstOrigin);
    int oldFrame = 0;
    for (int y = oldPlace.top(); y <= oldPlace.bottom(); ++y)
        for (int x = oldPlace.left(); x <= oldPlace.right(); ++x)
            oldFrame += !area.contains(x, y) && afterShot.pixel(x, y) == frame;
    EXPECT_LT(oldFrame, oldPlace.width() * oldPlace.height() / 20) << "the old panel's frame is gone";
    EXPECT_TRUE(area.contains(shown)) << "the picture lies in the new area only";
    EXPECT_NEAR(double(shown.width()) / qMax(1, shown.height()), 2.0, 0.1) << "with its shape kept";
    EXPECT_LE(qAbs(shown.center().x() - area.center().x()), 1) << "centred";
    EXPECT_LE(qAbs(shown.center().y() - area.center().y()), 1) << "centred";

    // Opened again after the choice: the same size.
    const QPair<QString, QRect> again = openBrowser(session);
    EXPECT_EQ(again.second.size(), browser.second.size()) << "the browser keeps its size";
    session.screenshot("slides-browser-again.png");
    EXPECT_EQ(session.quit(), 0) << session.output().toStdString();
}

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
