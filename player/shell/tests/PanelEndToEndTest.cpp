// The panel in the running player: Tavrin on a virtual X display of its own, driven with the
// pointer and its test commands, checked by screenshots, its log and its files.

#include "ShellTestSupport.h"

#include "Cp950.h"
#include "InstanceGuard.h"
#include "ModIniFile.h"
#include "XDisplaySession.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

constexpr unsigned long KeyDown = 0xff54, KeyEscape = 0xff1b, KeyPageUp = 0xff55, KeyPageDown = 0xff56;
const QSize Screen(1024, 768);

double luminance(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

// The windows the X server lists, one a line with its name, class and geometry.
QString windowList(const QString& display)
{
    QProcess info;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    info.setProcessEnvironment(env);
    info.start("xwininfo", {"-root", "-tree"});
    info.waitForFinished(EventWaitMs);
    return QString::fromLocal8Bit(info.readAllStandardOutput());
}

// The widest window of the player that the X server lists (the frozen desktop during a
// drag, the panel picture browser while it is open).
QRect widestWindow(const QString& display)
{
    static const QRegularExpression geometry(R"((\d+)x(\d+)\+(-?\d+)\+(-?\d+))");
    QRect widest;
    for (const QString& line : windowList(display).split('\n')) {
        const QRegularExpressionMatch m = geometry.match(line);
        if (!line.contains("(\"Tavrin\" \"Tavrin\")") || !m.hasMatch()) continue;
        const QRect window(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
        if (window.width() > widest.width()) widest = window;
    }
    return widest;
}

class PanelEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ShellTest::app();
        const QString bin = QCoreApplication::applicationDirPath();
        if (!QFile::exists(bin + "/Tavrin") || !QDir(bin + "/Icon").exists())
            GTEST_SKIP() << "Tavrin and its art are not built beside the tests";
        const QString unavailable = m_screen.start({400, 460}, Screen);
        if (!unavailable.isEmpty()) GTEST_SKIP() << unavailable.toStdString();
        for (const char* folder : {"home", "config/Pelloran", "data", "runtime", "program"})
            QDir().mkpath(m_root.filePath(folder));
        QFile::setPermissions(m_root.filePath("runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        for (const char* folder : {"Skin", "Button Mask", "Desk", "Icon"})
            ASSERT_EQ(QProcess::execute("cp", {"-R", bin + "/" + folder, program()}), 0);
        setting("ReadMe", "1");  // the readme was confirmed before
    }

    void TearDown() override
    {
        if (m_player.state() != QProcess::NotRunning) {
            command("quit");
            if (!m_player.waitForFinished(EventWaitMs)) {
                m_player.kill();
                m_player.waitForFinished(EventWaitMs);
            }
        }
        m_screen.stop();
    }

    QString program() const { return m_root.filePath("program"); }
    QString skin() const { return program() + "/Skin"; }
    void setting(const QString& key, const QString& value)
    {
        QSettings(m_root.filePath("config/Pelloran/Quorvel V1.1.conf"), QSettings::IniFormat).setValue(key, value);
    }
    QString log() const { return Cp950::readTextFile(program() + "/Quorvel.log"); }

    void startPlayer()
    {
        // A second start waits for its own log, not for the line the first one left.
        QFile::remove(program() + "/Quorvel.log");
        QProcessEnvironment env = m_screen.programEnvironment();
        env.insert("HOME", m_root.filePath("home"));
        env.insert("XDG_CONFIG_HOME", m_root.filePath("config"));
        env.insert("XDG_DATA_HOME", m_root.filePath("data"));
        env.insert("XDG_RUNTIME_DIR", m_root.filePath("runtime"));
        env.insert("PELLORAN_PROGRAM_DIR", program());
        env.insert("PELLORAN_TEST_CONTROL", "1");
        env.insert("PELLORAN_MEDIA", "sim");
        env.insert("PELLORAN_MSGBOX_ANSWER", "7");
        m_player.setProcessEnvironment(env);
        m_player.setProcessChannelMode(QProcess::MergedChannels);
        m_player.start(QCoreApplication::applicationDirPath() + "/Tavrin", {});
        ASSERT_TRUE(m_player.waitForStarted(EventWaitMs));
        waitUntil([&] { return log().contains("進入主程式"); }, EventWaitMs, 200);
        ASSERT_TRUE(log().contains("進入主程式")) << m_player.readAll().toStdString();
        QThread::msleep(800);  // the first paint
    }

    // A test command through the player's single-copy socket, which lies in its runtime folder
    // and is named after its config folder.
    bool command(const QString& line)
    {
        const QByteArray own = qgetenv("XDG_CONFIG_HOME"), ownRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_CONFIG_HOME", m_root.filePath("config").toUtf8());
        qputenv("XDG_RUNTIME_DIR", m_root.filePath("runtime").toUtf8());
        const bool sent = InstanceGuard::send(line);
        qputenv("XDG_CONFIG_HOME", own);
        qputenv("XDG_RUNTIME_DIR", ownRuntime);
        return sent;
    }

    // The panel's state as the player's "state" command writes it.
    QMap<QString, QString> state()
    {
        const QString file = m_root.filePath("state.txt");
        QFile::remove(file);
        QMap<QString, QString> values;
        if (!command("state " + file)) return values;
        waitUntil([&] { return QFile(file).size() > 0; }, EventWaitMs);
        QThread::msleep(100);
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) return values;
        for (const QString& line : QString::fromUtf8(f.readAll()).split('\n'))
            if (const int eq = line.indexOf('='); eq > 0) values[line.left(eq)] = line.mid(eq + 1);
        return values;
    }

    // A control-bar or number key's place on the screen.
    QRect key(const QString& family, int index)
    {
        const QStringList r = state().value(QString("%1(%2)").arg(family, QString::number(index))).split(' ');
        return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
    }

    // The window's top left corner on the screen, from control key 0 and the panel's definition.
    QPoint windowOrigin(const QString& definition)
    {
        const QString bar = QStringLiteral("控制台");
        return key("PicCtl", 0).topLeft() -
               QPoint(GetIniString(definition, bar, "X0").toInt(), GetIniString(definition, bar, "Y0").toInt());
    }

    QImage screenshot(const QString& name)
    {
        return m_screen.screenshot(ShellTest::outputFolder() + "/" + name).convertToFormat(QImage::Format_RGB32);
    }

    // Files under the test's folders whose names contain text.
    QStringList filesNamed(const QString& text) const
    {
        QStringList found;
        QDirIterator it(m_root.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            if (const QString path = it.next(); QFileInfo(path).fileName().contains(text)) found << path;
        return found;
    }

    void writeJunk(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("this is no picture at all");
    }

    QTemporaryDir m_root;
    XDisplaySession m_screen;
    QProcess m_player;
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
    const QImage shot = screenshot("panel-icons.png");
    ASSERT_FALSE(shot.isNull());
    for (int code : {0, 1, 2, 3, 4, 5, 7, 8, 10, 11, 12}) {
        const QRect rect = key("PicCtl", code);
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
    ASSERT_TRUE(command("disc 180000 200000 240000 60000 60000 60000 60000 60000 60000 60000"));
    waitUntil([&] { return state().value("MediaKind") == "CDAudio"; }, EventWaitMs, 300);
    ASSERT_EQ(state().value("MediaKind"), "CDAudio");
    XInput pointer(m_screen.display().toLatin1());
    ASSERT_TRUE(pointer.usable());
    const QRect play = key("PicCtl", 0);
    const auto faceShown = [&](const QString& name) {
        const QImage shot = screenshot(name + ".png");
        const QString face = inkOnTheMiddleColumn(shot, play) >= 3 ? "play" : "pause";
        shot.copy(play.adjusted(-4, -4, 4, 4)).scaled(play.size() * 4).save(
            ShellTest::outputFolder() + "/" + name + "-" + face + ".png");
        return face;
    };
    QThread::msleep(500);
    QStringList faces{faceShown("play-key-0")};
    for (int click = 1; click <= 2; ++click) {
        pointer.click(play.center().x(), play.center().y());
        QString face;
        waitUntil([&] { return (face = faceShown(QString("play-key-%1").arg(click))) != faces.last(); }, EventWaitMs, 200);
        faces << face;
    }
    EXPECT_EQ(faces, QStringList({faces[0], faces[0] == "play" ? "pause" : "play", faces[0]}))
        << "each press of the play key switches between its two faces";

    // Quick clicks (press and release together, as a touchpad taps) on number key 4 and twice on
    // the page key leave both drawn as after a held click: up, faces and captions in place.
    const QRect key4 = key("PicNum", 3), page = key("PicNum", 9);
    pointer.click(key4.center().x(), key4.center().y());
    QThread::msleep(1500);  // track 4 plays: its number turns green
    const QImage held = screenshot("quick-click-held.png");
    for (int tap = 0; tap < 3; ++tap) pointer.tap(key4.center().x(), key4.center().y());
    for (int tap = 0; tap < 2; ++tap) pointer.tap(page.center().x(), page.center().y());
    QImage tapped;
    const auto same = [&](const QRect& r) { return tapped.copy(r) == held.copy(r); };
    waitUntil([&] { return tapped = screenshot("quick-click-tapped.png"), same(key4) && same(page); }, 10000, 300);
    EXPECT_TRUE(same(key4)) << "number key 4 after quick clicks";
    EXPECT_TRUE(same(page)) << "the page key after quick clicks";

    // Dragged by its background in even steps, the window keeps the pointer where it was grabbed.
    const QPoint before = windowOrigin(definition);
    const QPoint grab = before + QPoint(6, 345);  // left of the control bar
    pointer.drag(grab, grab + QPoint(80, 40));
    waitUntil([&] { return windowOrigin(definition) == before + QPoint(80, 40); }, 5000, 200);
    EXPECT_EQ(windowOrigin(definition), before + QPoint(80, 40));
}

// A panel picture that cannot be decoded: the default panel is worn instead, its faces cached
// under its own name; with the default panel broken too, a light plain ground with every key
// drawn, and the logo still opens the main menu.
TEST_F(PanelEndToEnd, AnUndecodablePanelFallsBackAndTheMenuStaysReachable)
{
    const QString broken = skin() + "/Broken.JPG";
    writeJunk(broken);
    ASSERT_TRUE(QFile::copy(skin() + "/Larkspan.INI", skin() + "/Broken.INI"));
    setting("DeskPic", broken);
    startPlayer();
    EXPECT_TRUE(log().contains(QStringLiteral("這個面板格式錯誤") + broken));
    const QImage fallback = screenshot("panel-fallback-default.png");
    const QPoint origin = windowOrigin(skin() + "/Quorvel.INI");
    QSet<QRgb> colours;
    for (int y = origin.y(); y < origin.y() + 470; y += 3)
        for (int x = origin.x(); x < origin.x() + 260; x += 3) colours.insert(fallback.pixel(x, y));
    EXPECT_GT(colours.size(), 50) << "the default panel is shown";
    EXPECT_TRUE(filesNamed("Broken-").isEmpty()) << filesNamed("Broken-").join(' ').toStdString();
    EXPECT_FALSE(filesNamed("Quorvel-00.Bmp").isEmpty());
    command("quit");
    ASSERT_TRUE(m_player.waitForFinished(EventWaitMs));

    writeJunk(program() + "/Desk/Quorvel.JPG");
    writeJunk(skin() + "/Quorvel.JPG");
    setting("DeskPic", broken);
    startPlayer();
    const QImage plain = screenshot("panel-fallback-plain.png");
    const QString definition = skin() + "/Broken.INI";
    const QPoint corner = windowOrigin(definition);
    const QRgb ground = plain.pixel(corner + QPoint(2, 2));
    EXPECT_GT(luminance(ground), 150) << "a light ground, not a black window";
    for (int code : {0, 1, 2, 3, 4, 5, 7, 10, 11}) {
        const QRect rect = key("PicCtl", code);
        EXPECT_NE(plain.pixel(rect.topLeft() + QPoint(rect.width() / 4, 2)), ground) << "key " << code << " is drawn";
    }
    EXPECT_TRUE(filesNamed("Broken-").isEmpty());

    // The logo (right button) opens the main menu.
    const QString logo = QStringLiteral("LOGO");
    const QPoint onLogo = corner + QPoint(GetIniString(definition, logo, "X0").toInt() + 12,
                                          GetIniString(definition, logo, "Y0").toInt() + 10);
    XInput pointer(m_screen.display().toLatin1());
    ASSERT_TRUE(pointer.usable());
    pointer.click(onLogo.x(), onLogo.y(), 3);
    const QRect below(onLogo + QPoint(4, 4), QSize(120, 120));
    int changed = 0;
    waitUntil([&] {
        const QImage menu = screenshot("panel-fallback-menu.png");
        changed = 0;
        for (int y = below.top(); y < below.bottom(); y += 2)
            for (int x = below.left(); x < below.right(); x += 2) changed += menu.pixel(x, y) != plain.pixel(x, y);
        return changed > 500;
    }, EventWaitMs, 200);
    EXPECT_GT(changed, 500) << "the main menu opened at the logo";
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
    XInput pointer(m_screen.display().toLatin1());
    ASSERT_TRUE(pointer.usable());
    pointer.click(panelButton.x(), panelButton.y());
    QRect browser;
    waitUntil([&] { return (browser = widestWindow(m_screen.display())).width() > 600; }, EventWaitMs, 300);
    ASSERT_GT(browser.width(), 600) << "the panel picture browser opened\n" << windowList(m_screen.display()).toStdString();

    // The drive list has the focus: the page keys turn the pages all the same.
    const auto firstShown = [&] { return state().value("Picture1(0)").section(' ', 4); };
    pointer.type(KeyPageDown);
    waitUntil([&] { return firstShown() == "Pic01.bmp"; }, EventWaitMs, 300);
    EXPECT_EQ(firstShown(), "Pic01.bmp") << "Page Down shows the next page";
    pointer.type(KeyPageUp);
    waitUntil([&] { return firstShown() == "Ferrowin.BMP"; }, EventWaitMs, 300);
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
        waitUntil([&] {
            const QImage shot = screenshot(QString("panel-browser-6x6-%1.png").arg(page));
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
        }, EventWaitMs, 300);
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
    setting("DeskPic", skin() + "/Nimbrel.GIF");
    startPlayer();
    const QString definition = skin() + "/Nimbrel.INI";
    const QPoint before = windowOrigin(definition);
    // Between the back and play keys: the panel's own background.
    const QPoint grab = before + QPoint(72, 331);
    XInput pointer(m_screen.display().toLatin1());
    ASSERT_TRUE(pointer.usable());
    pointer.moveTo(grab.x(), grab.y());
    pointer.press();
    const QRect frozen(QPoint(0, 0), Screen);
    waitUntil([&] { return widestWindow(m_screen.display()) == frozen; }, EventWaitMs, 200);
    EXPECT_EQ(widestWindow(m_screen.display()), frozen) << "the frozen desktop covers the screen while held";
    pointer.moveTo(grab.x() + 4, grab.y() + 3);  // under 8 pixels: the frame stays
    pointer.moveTo(grab.x() + 100, grab.y() + 75);
    screenshot("panel-desk-drag.png");
    pointer.release();
    waitUntil([&] { return windowOrigin(definition) == before + QPoint(100, 75); }, EventWaitMs, 200);
    EXPECT_EQ(windowOrigin(definition), before + QPoint(100, 75));
    EXPECT_LT(widestWindow(m_screen.display()).width(), Screen.width()) << "the window has its own size again";
    screenshot("panel-desk-dropped.png");
}
