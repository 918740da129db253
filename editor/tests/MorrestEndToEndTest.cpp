// Starts the real Morrest on a virtual X display, opens a panel from the
// recent-files list as a user would, looks at the screen and closes it.
#include "EditorTestSupport.h"

#include "ModIniFile.h"
#include "ProgramSandbox.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <limits>

// Failures show places as x,y.
void PrintTo(const QPoint &point, std::ostream *out) { *out << point.x() << ',' << point.y(); }

namespace {

constexpr unsigned long KeyDown = 0xff54, KeyUp = 0xff52, KeyReturn = 0xff0d, KeyQ = 0x71, KeyControl = 0xffe3;
constexpr unsigned long KeyC = 0x63, KeyD = 0x64, KeyS = 0x73, KeyZ = 0x7a, KeyF3 = 0xffc0;

// The panel is drawn on the canvas in the top left of the main window, below the menu bar,
// the tool bar and the canvas window's title, as high as their fonts make them.
const QRect PanelArea(10, 110, 250, 280);
// The colour tool's designed size: its tool window shows it whole.
const QSize ColorTool(406, 412);

// The longest run of black pixels along a row of an area: the colour tool's sample bar
// (加入的顏色, 228 pixels of black across) shows whole, or cut by its window.
int longestBlackRun(const QImage &shot, const QRect &area)
{
    int longest = 0;
    for (int y = area.top(); y <= area.bottom() && y < shot.height(); ++y) {
        int run = 0;
        for (int x = qMax(0, area.left()); x <= area.right() && x < shot.width(); ++x) {
            run = qGray(shot.pixel(x, y)) < 30 ? run + 1 : 0;
            longest = qMax(longest, run);
        }
    }
    return longest;
}
constexpr int SampleBarWidth = 228;

// Where the panel picture's top left stands on the screen: the place where the screen
// matches the picture best (the keys drawn over parts of it match nowhere).
QPoint pictureOrigin(const QImage &shot, const QImage &picture)
{
    QPoint best;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (int y = 30; y < 200; ++y)
        for (int x = 0; x < 40; ++x) {
            qint64 distance = 0;
            for (int py = 3; py < picture.height() && y + py < shot.height(); py += 17)
                for (int px = 3; px < picture.width() && x + px < shot.width(); px += 13) {
                    const QRgb p = shot.pixel(x + px, y + py), q = picture.pixel(px, py);
                    distance += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
                }
            if (distance < bestDistance) {
                bestDistance = distance;
                best = QPoint(x, y);
            }
        }
    return best;
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
        m_morrest.copyBesideTests({QStringLiteral("Skin"), QStringLiteral("Button Mask"), QStringLiteral("Desk"),
                                   QStringLiteral("ReadMe.rtf")});
        if (!m_morrest.unavailable().isEmpty())
            GTEST_SKIP() << m_morrest.unavailable().toStdString();
        m_morrest.setLogFile(QStringLiteral("Quorvel.log"));
        // The settings a user left: the panel among the recent files, the window at the top left.
        leaveSettings("\nEditLeft=0\nEditTop=0\nEditWidth=14400\nEditHeight=10500\n");
    }

    void leaveSettings(const QByteArray &place)
    {
        m_morrest.writeFile(QStringLiteral("config/Pelloran/") + SettingsFile,
                            "[General]\nEditFile1=" + panelPicture().toUtf8() + place);
    }

    // The panel's top left on the screen, once it is drawn there.
    QPoint panelOrigin(const QImage &shot) const { return pictureOrigin(shot, QImage(panelPicture())); }

    QString panelPicture() const { return m_morrest.programFile(QStringLiteral("Skin/Quorvel.JPG")); }

    void startMorrest()
    {
        ASSERT_TRUE(m_morrest.start());
        ASSERT_TRUE(m_morrest.input().usable()) << "no X test extension";
        const QImage shown = m_morrest.screenshotWhen(QStringLiteral("morrest-start.png"), [this](const QImage &shot) {
            const QList<QRect> windows = m_morrest.windows();
            return !windows.isEmpty() && distinctColours(shot, windows.first().intersected(shot.rect())) > 3;
        });
        ASSERT_FALSE(m_morrest.windows().isEmpty()) << "Morrest showed no window";
        m_corner = m_morrest.windows().first().topLeft();
        ASSERT_GT(distinctColours(shown, QRect(m_corner, QSize(300, 60))), 3) << "Morrest showed no window";
    }

    // A click at a place of the main window (from its top left corner).
    void click(int x, int y) { m_morrest.input().click(m_corner.x() + x, m_corner.y() + y); }

    // 檔案 → the first recent file (the items between are disabled or hidden); the panel
    // is read for the reads-th time.
    bool openRecentPanel(int reads)
    {
        XInput &input = m_morrest.input();
        // The keys go to the menu once it has dropped down under its title.
        const QRect dropDown(m_corner + QPoint(0, 24), QSize(120, 60));
        const QImage closed = m_morrest.screenshot(QStringLiteral("morrest-menu-closed.png"));
        click(20, 10);
        m_morrest.screenshotWhen(QStringLiteral("morrest-menu.png"),
                                 [&](const QImage &now) { return changedPixels(closed, now, dropDown) > 200; });
        input.type(KeyDown);
        input.type(KeyDown);
        input.type(KeyReturn);
        const QString read = QStringLiteral("面板設定檔讀取完成");
        return ProgramSandbox::waitFor([&] { return m_morrest.log().count(read) >= reads; });
    }

    // The screen once the panel is drawn and stays so between two looks. The main
    // window takes the panel's name as the last step of building its keys and the
    // colour tool's samples: two equal looks before that are only a busy program.
    QImage drawnPanel(const QString &name) const
    {
        const QString named = panelPicture() + QStringLiteral(" - ");
        if (!ProgramSandbox::waitFor([&] { return m_morrest.windowTitleStarting(named).isValid(); }))
            ADD_FAILURE() << "the main window never named the panel: " << m_morrest.report();
        QImage before;
        return m_morrest.screenshotWhen(name, [&](const QImage &shot) {
            const bool steady = !before.isNull() && changedPixels(before, shot, PanelArea) == 0;
            before = shot;
            return steady && distinctColours(shot, PanelArea) > 40;
        });
    }

    static inline const QString SettingsFile = QStringLiteral("Quorvel Editor.conf");
    ProgramSandbox m_morrest{QStringLiteral("Morrest"), {600, 700}};
    QPoint m_corner;  // the main window's top left on the screen
};

}  // namespace

// A first start (no window place kept yet): the window opens where both tool
// windows show whole, and hiding and showing the mask gallery (F3 twice) takes
// nothing from the colour tool.
TEST_F(MorrestEndToEnd, OpensARecentPanelShowsItAndKeepsItsPlaceAtExit)
{
    // A panel save that a killed run left unfinished, an hour ago: gone at the start.
    const QString leftover = m_morrest.programFile(QStringLiteral("Skin/Button.INI.saving"));
    ASSERT_TRUE(m_morrest.writeFile(QStringLiteral("program/Skin/Button.INI.saving"), "[killed"));
    {
        QFile old(leftover);
        ASSERT_TRUE(old.open(QIODevice::ReadWrite));
        ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }
    leaveSettings("\n");
    startMorrest();
    EXPECT_FALSE(QFile::exists(leftover));
    const QImage firstStart = m_morrest.screenshot(QStringLiteral("morrest-first-start.png"));
    const QList<QRect> windows = m_morrest.windows();
    ASSERT_FALSE(windows.isEmpty());
    const QRect window = windows.first();
    EXPECT_GE(window.width(), qMax(640, ColorTool.width() + 120)) << "see morrest-first-start.png";
    EXPECT_GE(window.height(), qMax(480, ColorTool.height() + 60)) << "see morrest-first-start.png";
    EXPECT_TRUE(QRect(QPoint(0, 0), firstStart.size()).contains(window)) << "not on the screen";
    // The colour tool stands whole left of the gallery (120 pixels wide, at the right).
    const QRect colorTool(window.right() - 130 - ColorTool.width(), window.top() + 40, ColorTool.width(), window.height() - 60);
    EXPECT_GE(longestBlackRun(firstStart, colorTool), SampleBarWidth - 4) << "the colour tool is cut; see morrest-first-start.png";
    EXPECT_TRUE(openRecentPanel(1)) << m_morrest.report();
    const QImage shot = drawnPanel(QStringLiteral("morrest-end-to-end.png"));
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(distinctColours(shot, PanelArea), 40);

    // F3 twice: the tool windows come back as they were, the colour tool not squeezed.
    XInput &input = m_morrest.input();
    // The gallery is the right-most tool window, 120 pixels wide; the colour tool stands left of it.
    const QRect gallery(window.right() - 115, window.top() + 100, 100, 250);
    input.type(KeyF3);
    const QImage hidden = m_morrest.screenshotWhen(QStringLiteral("morrest-f3.png"), [&](const QImage &now) {
        return changedPixels(shot, now, gallery) > 1000;
    });
    EXPECT_GT(changedPixels(shot, hidden, gallery), 1000) << "F3 did not hide the gallery";
    input.type(KeyF3);
    const QImage shownAgain = m_morrest.screenshotWhen(QStringLiteral("morrest-f3-twice.png"), [&](const QImage &now) {
        return changedPixels(hidden, now, gallery) > 1000 && changedPixels(shot, now, colorTool) == 0;
    });
    EXPECT_EQ(changedPixels(shot, shownAgain, colorTool), 0) << "the colour tool changed; see morrest-f3-twice.png";
    EXPECT_GE(longestBlackRun(shownAgain, colorTool), SampleBarWidth - 4) << "the colour tool is cut; see morrest-f3-twice.png";

    // Ctrl+Q ends the program and stores the window and the recent files.
    click(600, 10);  // the menu bar, nothing under it
    input.type(KeyQ, KeyControl);
    if (m_morrest.waitForEnd() == -1) {
        ADD_FAILURE() << "Morrest did not end well on Ctrl+Q: " << m_morrest.report();
        return;
    }
    QFile settings(m_morrest.settingsFolder() + u'/' + SettingsFile);
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QString stored = QString::fromUtf8(settings.readAll());
    EXPECT_TRUE(stored.contains(QStringLiteral("EditFile1=") + panelPicture())) << stored.toStdString();
    EXPECT_TRUE(stored.contains(QStringLiteral("EditLeft=%1").arg(window.left() * 15))) << stored.toStdString();
    EXPECT_TRUE(stored.contains(QStringLiteral("EditWidth=%1").arg(window.width() * 15))) << stored.toStdString();
}

// Undo after a zoom change, and closing a zoomed panel, as a user meets them:
// each time the saved definition keeps the keys' panel positions.
TEST_F(MorrestEndToEnd, UndoAcrossAZoomAndAPanelClosedWhileZoomedSaveTheirTruePlaces)
{
    const QString definition = m_morrest.programFile(QStringLiteral("Skin/Quorvel.INI"));
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
    XInput &input = m_morrest.input();
    auto chooseZoom = [&](std::initializer_list<unsigned long> keys) {
        click(110, 41);  // the zoom box, then the item as many steps from the one shown
        for (const unsigned long key : keys)
            input.type(key);
        input.type(KeyReturn);
    };
    auto fileCommand = [&](unsigned long mnemonic) {
        click(20, 10);
        input.type(mnemonic);
    };
    // 儲存: the definition is written anew and put in its place.
    auto save = [&] {
        const QDateTime before = QFileInfo(definition).lastModified();
        fileCommand(KeyS);
        return ProgramSandbox::waitFor([&] { return QFileInfo(definition).lastModified() != before; });
    };
    ASSERT_TRUE(openRecentPanel(1)) << m_morrest.report();
    const QPoint origin = panelOrigin(drawnPanel(QStringLiteral("morrest-opened.png")));
    // The mask gallery hidden and shown again (F3 twice): the colour tool keeps its own width.
    const QRect window = m_morrest.windows().value(0);
    const QRect colorTool(window.right() - 130 - ColorTool.width(), window.top() + 40, ColorTool.width(), window.height() - 60);
    const QRect gallery(window.right() - 115, window.top() + 100, 100, 250);
    const QImage opened = m_morrest.screenshot(QStringLiteral("morrest-f3-twice-wide.png"));
    input.type(KeyF3);
    m_morrest.screenshotWhen(QStringLiteral("morrest-f3-twice-wide.png"), [&](const QImage &now) {
        return changedPixels(opened, now, gallery) > 1000;  // the gallery is gone
    });
    input.type(KeyF3);
    const QImage again = m_morrest.screenshotWhen(QStringLiteral("morrest-f3-twice-wide.png"), [&](const QImage &now) {
        return longestBlackRun(now, colorTool) >= SampleBarWidth - 4;
    });
    EXPECT_GE(longestBlackRun(again, colorTool), SampleBarWidth - 4) << "the colour tool is cut; see morrest-f3-twice-wide.png";

    // Drag the LOGO label (panel place 18,9) and undo: label and shadow are back side by side.
    input.drag(origin + QPoint(18 + 10, 9 + 8), origin + QPoint(18 + 34, 9 + 20));
    input.type(KeyZ, KeyControl);
    ASSERT_TRUE(save()) << "not saved";
    const QString logo = QStringLiteral("LOGO");
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("X0")), QStringLiteral("18"));
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("Y0")), QStringLiteral("9"));
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("X1")), QStringLiteral("20")) << "the shadow stayed";
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("Y1")), QStringLiteral("10")) << "the shadow stayed";

    // Press number key 3 (panel place 112,396, 40 x 24) at 100 %, zoom to 200 %, undo, save.
    const QImage full = drawnPanel(QStringLiteral("morrest-full.png"));
    input.click(origin.x() + 112 + 20, origin.y() + 396 + 12);
    chooseZoom({KeyUp});
    auto zoomedIn = [&](const QImage &shot) { return showsTwiceAsLarge(full, shot, origin, QSize(120, 150)); };
    EXPECT_TRUE(zoomedIn(m_morrest.screenshotWhen(QStringLiteral("morrest-zoom-200.png"), zoomedIn)))
        << "the 200 % choice did not take";
    input.type(KeyZ, KeyControl);
    ASSERT_TRUE(save()) << "not saved";
    EXPECT_EQ(place(2), filed[2]) << "undo after the zoom moved the key";

    // Close the panel at 200 %, open it again and save: nothing moves.
    chooseZoom({KeyUp});
    EXPECT_TRUE(zoomedIn(m_morrest.screenshotWhen(QStringLiteral("morrest-zoom-200-again.png"), zoomedIn)));
    fileCommand(KeyC);  // 關閉
    ASSERT_TRUE(openRecentPanel(2)) << m_morrest.report();
    drawnPanel(QStringLiteral("morrest-reopened.png"));
    ASSERT_TRUE(save()) << "not saved";
    for (int key = 0; key < 10; ++key)
        EXPECT_EQ(place(key), filed[key]) << "number key " << key + 1;

    // To 300 % and back; the LOGO label made smaller again and again: it stops at 3 points.
    const QImage full2 = drawnPanel(QStringLiteral("morrest-before-300.png"));
    chooseZoom({KeyUp, KeyUp});
    m_morrest.screenshotWhen(QStringLiteral("morrest-zoom-300.png"), [&](const QImage &now) {
        return changedPixels(full2, now, PanelArea) > 5000;
    });
    chooseZoom({KeyDown, KeyDown});
    drawnPanel(QStringLiteral("morrest-back-to-100.png"));
    input.click(origin.x() + 18 + 10, origin.y() + 9 + 8);  // the LOGO label takes the font commands
    for (int i = 0; i < 15; ++i)
        input.type(KeyD, KeyControl);  // 字型縮小
    ASSERT_TRUE(save()) << "not saved";
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("Size0")), QStringLiteral("3"));
}
