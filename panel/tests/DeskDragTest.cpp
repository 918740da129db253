// Moving the panel window over a frozen copy of the desktop.

#include "DeskDrag.h"
#include "PanelTestSupport.h"
#include "XDisplaySession.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QWindow>

namespace {

const QColor DesktopColour(200, 180, 40);
const QColor PanelColour(20, 40, 160);

class DragHost : public TestHost
{
public:
    double screenWidthTwips() const override { return 1024 * 15; }
    double screenHeightTwips() const override { return 768 * 15; }
};

class DeskDragTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        form.reset();
        host = std::make_unique<DragHost>();
        form = std::make_unique<PanelForm>(*host, state, colors);
        QImage panel(300, 200, QImage::Format_RGB32);
        panel.fill(PanelColour);
        form->obj().setFormPicture(panel);
        host->form.setGeometry(100, 120, 300, 200);
        host->form.show();
        form->obj().ShowObj(true);
        drag = std::make_unique<DeskDrag>(*form);
        drag->grabDesktop = [this](const QRect &area) {
            grabs << area;
            QImage desktop(area.size(), QImage::Format_RGB32);
            desktop.fill(DesktopColour);
            return desktop;
        };
    }
    void TearDown() override
    {
        drag.reset();
        PanelTest::TearDown();
    }
    QLabel *frame() { return form->obj().ImageDesk; }

    std::unique_ptr<DeskDrag> drag;
    QList<QRect> grabs;
};

TEST_F(DeskDragTest, RightButtonStartsNoDrag)
{
    drag->ImageDesk_MouseDown(Qt::RightButton, QPoint(10, 10));
    EXPECT_FALSE(drag->frozen());
    EXPECT_EQ(host->form.geometry(), QRect(100, 120, 300, 200));
    EXPECT_TRUE(grabs.isEmpty());
}

TEST_F(DeskDragTest, PressFreezesTheDesktopWithTheFrameWhereTheWindowWas)
{
    drag->ImageDesk_MouseDown(Qt::LeftButton, QPoint(10, 12));
    EXPECT_TRUE(drag->frozen());
    EXPECT_FALSE(drag->DeskDragBusy);
    EXPECT_EQ(drag->GrabPoint, QPoint(10, 12));
    EXPECT_EQ(host->form.geometry(), QRect(0, 0, 1024, 768));
    EXPECT_EQ(drag->DesktopCopy, QRect(0, 0, 1024, 768));
    EXPECT_EQ(form->obj().FormPicture().pixelColor(500, 500), DesktopColour);
    EXPECT_EQ(frame()->geometry(), QRect(100, 120, 300, 200));
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_FALSE(form->obj().PicCtl[0]->isVisibleTo(&host->form)) << "the panel objects are hidden";
    EXPECT_EQ(frame()->cursor().shape(), Qt::SizeAllCursor);
}

TEST_F(DeskDragTest, FrameFollowsThePointerOnlyInStepsOfEight)
{
    drag->ImageDesk_MouseDown(Qt::LeftButton, QPoint(10, 10));
    drag->ImageDesk_MouseMove(Qt::LeftButton, QPoint(17, 17));
    EXPECT_EQ(frame()->pos(), QPoint(100, 120)) << "7 and 7 do not move it";
    drag->ImageDesk_MouseMove(Qt::LeftButton | Qt::RightButton, QPoint(40, 40));
    EXPECT_EQ(frame()->pos(), QPoint(100, 120)) << "only the left button alone drags";
    drag->ImageDesk_MouseMove(Qt::LeftButton, QPoint(18, 10));
    EXPECT_EQ(frame()->pos(), QPoint(108, 120));
    EXPECT_EQ(drag->LastPoint, QPoint(18, 10));
}

TEST_F(DeskDragTest, ReleaseMovesTheWindowToTheFrameWithThePanelOverTheDesktop)
{
    drag->ImageDesk_MouseDown(Qt::LeftButton, QPoint(10, 10));
    drag->ImageDesk_MouseMove(Qt::LeftButton, QPoint(60, 90));
    ASSERT_EQ(frame()->pos(), QPoint(150, 200));
    drag->ImageDesk_MouseUp(Qt::LeftButton, QPoint(60, 90));

    EXPECT_FALSE(drag->frozen());
    EXPECT_EQ(host->form.geometry(), QRect(150, 200, 300, 200));
    EXPECT_EQ(grabs.last(), QRect(150, 200, 300, 200)) << "the desktop under the window";
    const QImage background = form->obj().FormPicture();
    EXPECT_EQ(background.size(), QSize(300, 200));
    EXPECT_EQ(background.pixelColor(150, 100), PanelColour) << "the panel stays the window's face";
    EXPECT_FALSE(frame()->isVisibleTo(&host->form));
    EXPECT_EQ(frame()->pos(), QPoint(0, 0));
    EXPECT_TRUE(form->obj().PicCtl[0]->isVisibleTo(&host->form));
    EXPECT_TRUE(host->form.isVisible());
}

// The colour tool refreshes the background this way over a GIF panel: the
// window must not jump to the screen's corner.
TEST_F(DeskDragTest, RefreshOutsideADragKeepsTheWindowsPlaceAndSize)
{
    frame()->move(0, 0);
    drag->DeskTopRef();
    EXPECT_EQ(host->form.geometry(), QRect(100, 120, 300, 200));
    EXPECT_EQ(form->obj().FormPicture().pixelColor(5, 5), PanelColour);
}

TEST_F(DeskDragTest, WithoutAGrabberTheScreensOwnPictureOrAPlainGroundServes)
{
    drag->grabDesktop = nullptr;
    drag->ImageDesk_MouseDown(Qt::LeftButton, QPoint(1, 1));
    EXPECT_EQ(form->obj().FormPicture().size(), QSize(1024, 768));
    drag->ImageDesk_MouseUp(Qt::LeftButton, QPoint(1, 1));
    EXPECT_EQ(host->form.geometry(), QRect(100, 120, 300, 200));
    EXPECT_EQ(form->obj().FormPicture().pixelColor(10, 10), PanelColour);
}

}  // namespace

// On a GIF panel the panel image lies under the keys as the drag frame: a left press
// there starts the drag (the player's end-to-end test drags it), other buttons go on
// to the window's background handlers. Other panels have no frame.
TEST_F(DeskDragTest, AGifPanelsBackgroundIsTheDragFrameForTheLeftButtonOnly)
{
    QWidget &window = host->form;
    const QPoint background(150, 100);
    state.DeskPicFile = skinDir() + QStringLiteral("/Round.jpg");
    form->obj().ShowObj(true);
    EXPECT_FALSE(frame()->isVisible()) << "a JPG panel has no drag frame";
    state.DeskPicFile = skinDir() + QStringLiteral("/Round.gif");
    form->obj().ShowObj(true);
    ASSERT_EQ(window.childAt(background), frame());
    EXPECT_EQ(frame()->geometry(), QRect(0, 0, 300, 200));

    const auto press = [&](Qt::MouseButton button) {
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(background), window.mapToGlobal(QPointF(background)),
                          button, button, Qt::NoModifier);
        QApplication::sendEvent(frame(), &event);
        return event.isAccepted();
    };
    EXPECT_FALSE(press(Qt::RightButton)) << "left to the window under the frame";
    EXPECT_FALSE(drag->frozen());
    EXPECT_TRUE(press(Qt::LeftButton));
    EXPECT_TRUE(drag->frozen());
    EXPECT_EQ(window.geometry(), QRect(0, 0, 1024, 768)) << "the frozen desktop covers the screen";
}

// A press while the desktop is frozen (the release of the press before was missed) goes on
// with the drag: freezing again would take the frozen desktop for the panel.
TEST_F(DeskDragTest, APressOnTheFrozenDesktopTakesTheDragUpAndKeepsThePanel)
{
    drag->ImageDesk_MouseDown(Qt::LeftButton, QPoint(10, 10));
    drag->ImageDesk_MouseDown(Qt::LeftButton, QPoint(20, 30));
    EXPECT_EQ(grabs.size(), 1) << "the desktop is copied once";
    EXPECT_EQ(drag->GrabPoint, QPoint(20, 30));
    drag->ImageDesk_MouseMove(Qt::LeftButton, QPoint(60, 30));
    drag->ImageDesk_MouseUp(Qt::LeftButton, QPoint(60, 30));
    EXPECT_FALSE(drag->frozen());
    EXPECT_EQ(host->form.geometry(), QRect(140, 120, 300, 200));
    EXPECT_EQ(form->obj().FormPicture().pixelColor(150, 100), PanelColour);
}

// A release that comes while the press handler still runs ends the drag once the press is
// done: the window stays where it was, with its panel.
TEST_F(DeskDragTest, AReleaseDuringThePressEndsTheDragWhereItBegan)
{
    bool released = false;
    drag->grabDesktop = [&, grab = drag->grabDesktop](const QRect &area) {
        if (!released) {
            released = true;
            drag->ImageDesk_MouseUp(Qt::LeftButton, QPoint(10, 10));
        }
        return grab(area);
    };
    drag->ImageDesk_MouseDown(Qt::LeftButton, QPoint(10, 10));
    EXPECT_FALSE(drag->frozen());
    EXPECT_EQ(host->form.geometry(), QRect(100, 120, 300, 200));
    EXPECT_EQ(form->obj().FormPicture().pixelColor(150, 100), PanelColour);
    EXPECT_TRUE(form->obj().PicCtl[0]->isVisibleTo(&host->form));
}

namespace {
const char *const OnDisplayVariable = "PELLORAN_DESK_DRAG_ON_DISPLAY";
class DeskDragOnX : public DeskDragTest
{
};
}  // namespace

// A quick click on a GIF panel's background, on a real display: the window is hidden
// while the desktop is copied, and the release then reaches no window of the player.
TEST(DeskDragOnADisplay, AQuickClickLeavesThePanelWhereItWas)
{
    XDisplaySession screen;
    if (const QString unavailable = screen.start({1000, 1100}, QSize(1024, 768)); !unavailable.isEmpty())
        GTEST_SKIP() << unavailable.toStdString();
    QProcessEnvironment child;
    child.insert(QLatin1String(OnDisplayVariable), QStringLiteral("1"));
    const QString failed = screen.runTestsOnDisplay(programBesideTests(QStringLiteral("panel_tests")),
                                                    "DeskDragOnX.*", child);
    EXPECT_TRUE(failed.isEmpty()) << failed.toStdString();
}

// The child run, on the display the parent started.
TEST_F(DeskDragOnX, QuickClickOnTheBackground)
{
    if (!qEnvironmentVariableIsSet(OnDisplayVariable))
        GTEST_SKIP() << "run by DeskDragOnADisplay on a display of its own";
    XInput pointer(qgetenv("DISPLAY"));
    ASSERT_TRUE(pointer.usable());
    state.DeskPicFile = skinDir() + QStringLiteral("/Round.gif");
    form->obj().ShowObj(true);
    waitUntil([&] {
        QCoreApplication::processEvents();
        return host->form.isVisible() && host->form.windowHandle()->isExposed();
    }, EventWaitMs, 20);
    // The button comes up while the window is hidden for the desktop copy.
    bool released = false;
    drag->grabDesktop = [&, grab = drag->grabDesktop](const QRect &area) {
        QCoreApplication::processEvents();
        if (!released)
            pointer.release();
        released = true;
        return grab(area);
    };
    pointer.moveTo(100 + 150, 120 + 100);
    pointer.press();
    waitUntil([&] {
        QCoreApplication::processEvents();
        return released && !drag->DeskDragBusy;
    }, EventWaitMs, 20);
    waitUntil([&] {
        QCoreApplication::processEvents();
        return !drag->frozen();
    }, EventWaitMs, 20);
    EXPECT_FALSE(drag->frozen()) << "the desktop stays frozen after the click";
    EXPECT_EQ(host->form.geometry(), QRect(100, 120, 300, 200));
    EXPECT_EQ(form->obj().FormPicture().pixelColor(150, 100), PanelColour);
}
