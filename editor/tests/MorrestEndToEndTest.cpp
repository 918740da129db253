// Starts the real Morrest on a virtual X display, opens a panel from the
// recent-files list as a user would, looks at the screen and closes it.
#include "EditorTestSupport.h"

#include "ModIniFile.h"
#include "ProgramSandbox.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>

// Failures show places as x,y.
void PrintTo(const QPoint &point, std::ostream *out) { *out << point.x() << ',' << point.y(); }

namespace {

constexpr unsigned long KeyDown = 0xff54, KeyUp = 0xff52, KeyReturn = 0xff0d, KeyQ = 0x71, KeyControl = 0xffe3;
constexpr unsigned long KeyC = 0x63, KeyS = 0x73, KeyZ = 0x7a;

// The panel is drawn on the canvas in the top left of the main window, its origin here.
const QPoint Origin(4, 86);
const QRect PanelArea(10, 100, 260, 300);

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
        m_morrest.writeFile(QStringLiteral("config/Pelloran/") + SettingsFile,
                            "[General]\nEditFile1=" + panelPicture().toUtf8()
                                + "\nEditLeft=0\nEditTop=0\nEditWidth=14400\nEditHeight=10500\n");
    }

    QString panelPicture() const { return m_morrest.programFile(QStringLiteral("Skin/Quorvel.JPG")); }

    void startMorrest()
    {
        ASSERT_TRUE(m_morrest.start());
        ASSERT_TRUE(m_morrest.input().usable()) << "no X test extension";
        const QImage shown = m_morrest.screenshotWhen(QStringLiteral("morrest-start.png"), [](const QImage &shot) {
            return distinctColours(shot, QRect(0, 0, 300, 60)) > 3;
        });
        ASSERT_GT(distinctColours(shown, QRect(0, 0, 300, 60)), 3) << "Morrest showed no window";
    }

    // 檔案 → the first recent file (the items between are disabled or hidden); the panel
    // is read for the reads-th time.
    bool openRecentPanel(int reads)
    {
        XInput &input = m_morrest.input();
        input.click(20, 10);
        input.type(KeyDown);
        input.type(KeyDown);
        input.type(KeyReturn);
        const QString read = QStringLiteral("面板設定檔讀取完成");
        return ProgramSandbox::waitFor([&] { return m_morrest.log().count(read) >= reads; });
    }

    // The screen once the panel is drawn and stays so between two looks.
    QImage drawnPanel(const QString &name) const
    {
        QImage before;
        return m_morrest.screenshotWhen(name, [&](const QImage &shot) {
            const bool steady = !before.isNull() && changedPixels(before, shot, PanelArea) == 0;
            before = shot;
            return steady && distinctColours(shot, PanelArea) > 40;
        });
    }

    static inline const QString SettingsFile = QStringLiteral("Quorvel Editor.conf");
    ProgramSandbox m_morrest{QStringLiteral("Morrest"), {600, 700}};
};

}  // namespace

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
    startMorrest();
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(openRecentPanel(1)) << m_morrest.report();
    const QImage shot = drawnPanel(QStringLiteral("morrest-end-to-end.png"));
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(distinctColours(shot, PanelArea), 40);

    // Ctrl+Q ends the program and stores the window and the recent files.
    XInput &input = m_morrest.input();
    input.click(600, 10);  // the menu bar, nothing under it
    input.type(KeyQ, KeyControl);
    if (m_morrest.waitForEnd() == -1) {
        ADD_FAILURE() << "Morrest did not end well on Ctrl+Q: " << m_morrest.report();
        return;
    }
    QFile settings(m_morrest.settingsFolder() + u'/' + SettingsFile);
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
    auto chooseZoom = [&](unsigned long key) {
        input.click(110, 41);  // the zoom box, then the item beside 100 %
        input.type(key);
        input.type(KeyReturn);
    };
    auto fileCommand = [&](unsigned long mnemonic) {
        input.click(20, 10);
        input.type(mnemonic);
    };
    // 儲存: the definition is written anew and put in its place.
    auto save = [&] {
        const QDateTime before = QFileInfo(definition).lastModified();
        fileCommand(KeyS);
        return ProgramSandbox::waitFor([&] { return QFileInfo(definition).lastModified() != before; });
    };
    ASSERT_TRUE(openRecentPanel(1)) << m_morrest.report();
    drawnPanel(QStringLiteral("morrest-opened.png"));

    // Drag the LOGO label (panel place 18,9) and undo: label and shadow are back side by side.
    input.drag(Origin + QPoint(18 + 10, 9 + 8), Origin + QPoint(18 + 34, 9 + 20));
    input.type(KeyZ, KeyControl);
    ASSERT_TRUE(save()) << "not saved";
    const QString logo = QStringLiteral("LOGO");
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("X0")), QStringLiteral("18"));
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("Y0")), QStringLiteral("9"));
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("X1")), QStringLiteral("20")) << "the shadow stayed";
    EXPECT_EQ(GetIniString(definition, logo, QStringLiteral("Y1")), QStringLiteral("10")) << "the shadow stayed";

    // Press number key 3 (panel place 112,396, 40 x 24) at 100 %, zoom to 200 %, undo, save.
    const QImage full = drawnPanel(QStringLiteral("morrest-full.png"));
    input.click(4 + 112 + 20, 86 + 396 + 12);
    chooseZoom(KeyUp);
    auto zoomedIn = [&](const QImage &shot) { return showsTwiceAsLarge(full, shot, Origin, QSize(120, 150)); };
    EXPECT_TRUE(zoomedIn(m_morrest.screenshotWhen(QStringLiteral("morrest-zoom-200.png"), zoomedIn)))
        << "the 200 % choice did not take";
    input.type(KeyZ, KeyControl);
    ASSERT_TRUE(save()) << "not saved";
    EXPECT_EQ(place(2), filed[2]) << "undo after the zoom moved the key";

    // Close the panel at 200 %, open it again and save: nothing moves.
    chooseZoom(KeyUp);
    EXPECT_TRUE(zoomedIn(m_morrest.screenshotWhen(QStringLiteral("morrest-zoom-200-again.png"), zoomedIn)));
    fileCommand(KeyC);  // 關閉
    ASSERT_TRUE(openRecentPanel(2)) << m_morrest.report();
    drawnPanel(QStringLiteral("morrest-reopened.png"));
    ASSERT_TRUE(save()) << "not saved";
    for (int key = 0; key < 10; ++key)
        EXPECT_EQ(place(key), filed[key]) << "number key " << key + 1;
}
