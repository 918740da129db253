// Starts the real Morrest on a virtual X display, opens a panel from the
// recent-files list as a user would, looks at the screen and closes it.
#include "EditorTestSupport.h"

#include "Cp950.h"
#include "ModIniFile.h"

#include "XDisplaySession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

// Failures show places as x,y.
void PrintTo(const QPoint &point, std::ostream *out) { *out << point.x() << ',' << point.y(); }

namespace {

constexpr unsigned long KeyDown = 0xff54, KeyUp = 0xff52, KeyReturn = 0xff0d, KeyQ = 0x71, KeyControl = 0xffe3;
constexpr unsigned long KeyC = 0x63, KeyS = 0x73, KeyZ = 0x7a;

// Pixels of many different colours: a drawn panel, not a bare window.
int distinctColours(const QImage &image, const QRect &area)
{
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); y += 2)
        for (int x = area.left(); x <= area.right() && x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

// The panel drawn at origin in full shows twice as large in zoomed: its places
// match their doubled places far better than the same places.
bool showsTwiceAsLarge(const QImage &full, const QImage &zoomed, QPoint origin, QSize area)
{
    auto distance = [](QRgb p, QRgb q) {
        return qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
    };
    int doubled = 0, same = 0;
    for (int y = 4; y < area.height(); y += 5)
        for (int x = 4; x < area.width(); x += 5) {
            const QRgb was = full.pixel(origin + QPoint(x, y));
            doubled += distance(was, zoomed.pixel(origin + QPoint(2 * x, 2 * y)));
            same += distance(was, zoomed.pixel(origin + QPoint(x, y)));
        }
    return doubled * 2 < same;
}

class MorrestEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString unavailable = m_screen.start({600, 700}, QSize(1024, 768));
        if (!unavailable.isEmpty())
            GTEST_SKIP() << unavailable.toStdString();

        const QString shipped = shippedProgramFolder();
        for (const char *folder : {"Skin", "Button Mask", "Desk"})
            copyFolder(shipped + u'/' + QString::fromLatin1(folder), m_program.filePath(QString::fromLatin1(folder)));
        QFile::copy(shipped + QStringLiteral("/ReadMe.rtf"), m_program.filePath(QStringLiteral("ReadMe.rtf")));
    }

    void TearDown() override
    {
        if (m_morrest.state() != QProcess::NotRunning) {
            m_morrest.kill();
            m_morrest.waitForFinished(EventWaitMs);
        }
        m_screen.stop();
    }

    QString settingsFile() const { return m_home.filePath(QStringLiteral("config/Pelloran/Quorvel Editor.conf")); }
    QString panelPicture() const { return m_program.filePath(QStringLiteral("Skin/Quorvel.JPG")); }

    // The settings a user left: the panel among the recent files, the window at the top left.
    void writeSettings()
    {
        QDir().mkpath(QFileInfo(settingsFile()).path());
        QFile file(settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\nEditFile1=" + panelPicture().toUtf8() +
                   "\nEditLeft=0\nEditTop=0\nEditWidth=14400\nEditHeight=10500\n");
    }

    void startMorrest()
    {
        QProcessEnvironment env = m_screen.programEnvironment();
        env.insert(QStringLiteral("PELLORAN_PROGRAM_DIR"), m_program.path());
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        m_morrest.setProcessEnvironment(env);
        m_morrest.start(programBesideTests(QStringLiteral("Morrest")), {});
        ASSERT_TRUE(m_morrest.waitForStarted(EventWaitMs));
        bool shown = false;
        waitUntil([&] {
            const QImage shot = screenshot(QStringLiteral("start.png"));
            shown = !shot.isNull() && distinctColours(shot, QRect(0, 0, 300, 60)) > 3;
            return shown;
        }, EventWaitMs, 200);
        if (!shown)
            FAIL() << "Morrest showed no window";
    }

    QImage screenshot(const QString &name) { return m_screen.screenshot(m_program.filePath(name)); }

    QString logText() const
    {
        QFile log(m_program.filePath(QStringLiteral("Quorvel.log")));
        return log.open(QIODevice::ReadOnly) ? Cp950::decode(log.readAll()) : QString();
    }

    QTemporaryDir m_program;
    QTemporaryDir m_home;
    XDisplaySession m_screen;
    QProcess m_morrest;
};

}  // namespace

TEST_F(MorrestEndToEnd, OpensARecentPanelShowsItAndKeepsItsPlaceAtExit)
{
    writeSettings();
    startMorrest();
    XInput input(m_screen.display().toLatin1());
    ASSERT_TRUE(input.usable()) << "no X test extension";

    // 檔案 → the first recent file (the items between are disabled or hidden).
    input.click(20, 10);
    input.type(KeyDown);
    input.type(KeyDown);
    input.type(KeyReturn);
    waitUntil([&] { return logText().contains(QStringLiteral("面板設定檔讀取完成")); }, EventWaitMs, 200);
    EXPECT_TRUE(logText().contains(QStringLiteral("面板設定檔讀取完成")));
    QThread::msleep(1500);

    const QImage shot = screenshot(QStringLiteral("panel.png"));
    ASSERT_FALSE(shot.isNull());
    shot.save(testOutputFolder() + QStringLiteral("/morrest-end-to-end.png"));
    // The panel is drawn on the canvas in the top left of the main window.
    EXPECT_GT(distinctColours(shot, QRect(10, 100, 260, 300)), 40);

    // Ctrl+Q ends the program and stores the window and the recent files.
    input.click(600, 10);  // the menu bar, nothing under it
    input.type(KeyQ, KeyControl);
    if (!m_morrest.waitForFinished(EventWaitMs)) {
        ADD_FAILURE() << "Morrest did not end on Ctrl+Q";
        return;
    }
    QFile settings(settingsFile());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QString stored = QString::fromUtf8(settings.readAll());
    EXPECT_TRUE(stored.contains(QStringLiteral("EditFile1=") + panelPicture())) << stored.toStdString();
    EXPECT_TRUE(stored.contains(QStringLiteral("EditLeft=0"))) << stored.toStdString();
    EXPECT_TRUE(stored.contains(QStringLiteral("EditWidth=14400"))) << stored.toStdString();
}

// Undo after a zoom change, and closing a zoomed panel, as a user meets them:
// each time the saved definition keeps the keys' panel positions.
TEST_F(MorrestEndToEnd, UndoAcrossAZoomAndAPanelClosedWhileZoomedSaveTheirTruePlaces)
{
    writeSettings();
    const QString definition = m_program.filePath(QStringLiteral("Skin/Quorvel.INI"));
    const QString section = QStringLiteral("選曲");
    auto place = [&](int key) {
        return QPoint(GetIniString(definition, section, QStringLiteral("X%1").arg(key)).toInt(),
                      GetIniString(definition, section, QStringLiteral("Y%1").arg(key)).toInt());
    };
    QVector<QPoint> filed;
    for (int key = 0; key < 10; ++key)
        filed << place(key);
    ASSERT_EQ(filed[2], QPoint(112, 396));
    startMorrest();
    XInput input(m_screen.display().toLatin1());
    ASSERT_TRUE(input.usable()) << "no X test extension";
    auto openRecentPanel = [&](int reads) {
        input.click(20, 10);  // 檔案, then the first recent file
        input.type(KeyDown);
        input.type(KeyDown);
        input.type(KeyReturn);
        waitUntil([&] { return logText().count(QStringLiteral("面板設定檔讀取完成")) >= reads; }, EventWaitMs, 200);
        QThread::msleep(1000);
    };
    auto chooseZoom = [&](unsigned long key) {
        input.click(110, 41);  // the zoom box, then the item beside 100 %
        QThread::msleep(400);
        input.type(key);
        input.type(KeyReturn);
        QThread::msleep(1200);
    };
    auto fileCommand = [&](unsigned long mnemonic) {
        input.click(20, 10);
        QThread::msleep(300);
        input.type(mnemonic);
        QThread::msleep(1500);
    };
    openRecentPanel(1);

    // The panel's origin lies at (4, 86) on the screen. Drag the LOGO label
    // (panel place 18,9) and undo: label and shadow are back side by side.
    const QPoint origin(4, 86);
    input.drag(origin + QPoint(18 + 10, 9 + 8), origin + QPoint(18 + 34, 9 + 20));
    input.type(KeyZ, KeyControl);
    QThread::msleep(300);
    fileCommand(KeyS);  // 儲存
    const QString logo = QStringLiteral("LOGO");
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("X0")), QStringLiteral("18"));
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("Y0")), QStringLiteral("9"));
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("X1")), QStringLiteral("20")) << "the shadow stayed";
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("Y1")), QStringLiteral("10")) << "the shadow stayed";

    // Press number key 3 (panel place 112,396, 40 x 24) at 100 %, zoom to 200 %, undo, save.
    const QImage full = screenshot(QStringLiteral("full.png"));
    input.click(4 + 112 + 20, 86 + 396 + 12);
    QThread::msleep(300);
    chooseZoom(KeyUp);
    const QImage zoomed = screenshot(QStringLiteral("zoomed.png"));
    zoomed.save(testOutputFolder() + QStringLiteral("/morrest-zoom-200.png"));
    EXPECT_TRUE(showsTwiceAsLarge(full, zoomed, origin, QSize(120, 150))) << "the 200 % choice did not take";
    input.type(KeyZ, KeyControl);
    QThread::msleep(300);
    fileCommand(KeyS);  // 儲存
    EXPECT_EQ(place(2), filed[2]) << "undo after the zoom moved the key";

    // Close the panel at 200 %, open it again and save: nothing moves.
    chooseZoom(KeyUp);
    fileCommand(KeyC);  // 關閉
    openRecentPanel(2);
    fileCommand(KeyS);
    for (int key = 0; key < 10; ++key)
        EXPECT_EQ(place(key), filed[key]) << "number key " << key + 1;
    screenshot(QStringLiteral("reopened.png")).save(testOutputFolder() + QStringLiteral("/morrest-reopened.png"));
}
