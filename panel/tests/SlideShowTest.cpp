// The picture area's slide show: which picture each step shows, how it is
// fitted into the area, and what the timer and a click on the area do.

#include "PanelTestSupport.h"
#include "EventWait.h"
#include "SlideShow.h"

#include "ListBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QThread>
#include <QTimer>

namespace {

const QColor PanelColour(30, 120, 60);

class SlideShowTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        pictures = programDir.path() + QStringLiteral("/Pictures");
        QDir().mkpath(pictures);
        QImage panel(420, 300, QImage::Format_RGB32);
        panel.fill(PanelColour);
        form->obj().setFormPicture(panel);
        state.ImageVisible = true;
        state.ShowPic = true;
        state.ImageLeft = 20;
        state.ImageTop = 30;
        state.ImageWidth = 300;
        state.ImageHeight = 200;
        files = new FileListBox(&host->form);
        files->hide();
        files->setPattern(QStringLiteral("*.bmp;*.gif;*.jpg"));
        show = std::make_unique<SlideShow>(*form, *files, timer, picFolder);
    }
    void TearDown() override
    {
        show.reset();
        PanelTest::TearDown();
    }

    QString addPicture(const QString &name, int w, int h, QColor colour = Qt::white)
    {
        QImage picture(w, h, QImage::Format_RGB32);
        picture.fill(colour);
        const QString path = pictures + QLatin1Char('/') + name;
        picture.save(path);
        return path;
    }
    // The folder as the start points the list at it.
    void pointAtPictures()
    {
        files->setPath(pictures);
        if (files->listCount() > 0) {
            files->setListIndex(0);
            picFolder = pictures + QLatin1Char('/') + files->list(0);
        }
    }
    QLabel *image() { return form->obj().Image1; }
    bool frameShown() { return show->ImageBack->isVisibleTo(&host->form); }

    QString pictures;
    FileListBox *files = nullptr;
    QTimer timer;
    QString picFolder;
    std::unique_ptr<SlideShow> show;
};

TEST(FitPictureTest, NeverLargerThanTheAreaAndOnlySquaresAreEnlarged)
{
    const QSizeF area(3000, 2000);
    EXPECT_EQ(SlideShow::FitPicture({6000, 3000}, area), QSizeF(3000, 1500));
    EXPECT_EQ(SlideShow::FitPicture({1500, 3000}, area), QSizeF(1000, 2000));
    EXPECT_EQ(SlideShow::FitPicture({800, 600}, area), QSizeF(800, 600));
    EXPECT_EQ(SlideShow::FitPicture({500, 500}, area), QSizeF(2000, 2000));
    EXPECT_EQ(SlideShow::FitPicture({500, 500}, QSizeF(200, 200)), QSizeF(200, 200));
    // Wide but still too tall after fitting the width: the height rules.
    const QSizeF wideTall = SlideShow::FitPicture({4000, 3900}, area);
    EXPECT_NEAR(wideTall.width(), 2051.28, 0.01);
    EXPECT_EQ(wideTall.height(), 2000);
    // Portrait, narrow area: the width rules after the height.
    const QSizeF tallWide = SlideShow::FitPicture({900, 1000}, QSizeF(500, 2000));
    EXPECT_EQ(tallWide.width(), 500);
    EXPECT_NEAR(tallWide.height(), 555.56, 0.01);
    EXPECT_EQ(SlideShow::FitPicture({0, 10}, area), QSizeF(0, 0));
}

TEST(FitPictureTest, PlayTimeEntryTakesTheShareAfterTheCurrentOne)
{
    EXPECT_EQ(SlideShow::playTimeEntry(50, 0, 4), 0) << "no length";
    EXPECT_EQ(SlideShow::playTimeEntry(30, 100, 4), 2);
    EXPECT_EQ(SlideShow::playTimeEntry(0, 100, 4), 1);
    // From the middle of the last share on, and past the end, the last picture stays.
    EXPECT_EQ(SlideShow::playTimeEntry(95, 100, 4), 3);
    EXPECT_EQ(SlideShow::playTimeEntry(100, 100, 4), 3);
    EXPECT_EQ(SlideShow::playTimeEntry(1e9, 1e-9, 4), 3);
    EXPECT_EQ(SlideShow::playTimeEntry(60, 100, 3), 2);
    EXPECT_EQ(SlideShow::playTimeEntry(-50, 100, 3), 0) << "never below the first";
    EXPECT_EQ(SlideShow::playTimeEntry(50, 100, 0), 0) << "an empty folder";
}

TEST_F(SlideShowTest, StepsShowThePicturesInListOrderFittedAndCentredOnThePanelColour)
{
    const QString a = addPicture(QStringLiteral("a.bmp"), 600, 300, Qt::red);
    const QString b = addPicture(QStringLiteral("b.jpg"), 100, 400, Qt::blue);
    const QString c = addPicture(QStringLiteral("c.jpg"), 50, 50, Qt::green);
    pointAtPictures();

    show->Image1ADJ();
    EXPECT_EQ(show->LastPic, a);
    EXPECT_TRUE(frameShown());
    EXPECT_TRUE(image()->isVisibleTo(&host->form));
    EXPECT_EQ(image()->geometry(), QRect(20, 55, 300, 150)) << "landscape to the area's width, centred";
    EXPECT_EQ(show->ImageBack->geometry(), QRect(20, 30, 300, 200));
    EXPECT_EQ(show->ImageBack->palette().color(QPalette::Window), PanelColour);
    EXPECT_EQ(picFolder, b) << "the next step's picture is prepared";

    show->Image1ADJ();
    EXPECT_EQ(image()->geometry(), QRect(145, 30, 50, 200)) << "portrait to the area's height";
    show->Image1ADJ();
    EXPECT_EQ(show->LastPic, c);
    EXPECT_EQ(image()->geometry(), QRect(70, 30, 200, 200)) << "a square grows to the smaller side";
    EXPECT_EQ(files->listIndex(), 0) << "the cursor wraps";
    EXPECT_EQ(picFolder, a);
    host->form.show();
    QCoreApplication::processEvents();
    screenshot(host->form).save(testOutputFolder() + QStringLiteral("/slide-show.png"));
}

TEST_F(SlideShowTest, TheSamePictureTwiceLoadsNothingAndStaysShown)
{
    const QString only = addPicture(QStringLiteral("only.jpg"), 400, 300);
    pointAtPictures();
    show->Image1ADJ();
    EXPECT_TRUE(frameShown());
    EXPECT_EQ(files->listIndex(), 0) << "a list of one keeps its index";
    EXPECT_EQ(picFolder, only);

    const qint64 shownKey = image()->pixmap().cacheKey();
    show->Image1ADJ();
    EXPECT_TRUE(frameShown());
    EXPECT_TRUE(image()->isVisibleTo(&host->form));
    EXPECT_EQ(image()->pixmap().cacheKey(), shownKey) << "nothing is loaded again";
    EXPECT_EQ(show->LastPic, only);

    // Minimised and restored: the step after the restore shows the picture again, not an
    // empty frame.
    show->playerMinimized = [] { return true; };
    show->Image1ADJ();
    EXPECT_FALSE(frameShown());
    show->playerMinimized = [] { return false; };
    show->Image1ADJ();
    EXPECT_TRUE(frameShown());
    EXPECT_TRUE(image()->isVisibleTo(&host->form)) << "the restored area shows its picture";
    EXPECT_FALSE(image()->pixmap().isNull());

    // Another panel: the same picture is placed in the new area on the new panel's colour.
    const QColor otherPanel(200, 40, 160);
    QImage panel(420, 300, QImage::Format_RGB32);
    panel.fill(otherPanel);
    form->obj().setFormPicture(panel);
    state.ImageLeft = 10;
    state.ImageTop = 100;
    state.ImageWidth = 120;
    state.ImageHeight = 160;
    show->Image1ADJ();
    EXPECT_EQ(image()->pixmap().cacheKey(), shownKey) << "still not loaded again";
    EXPECT_EQ(show->ImageBack->geometry(), QRect(10, 100, 120, 160)) << "the frame covers the new area only";
    EXPECT_EQ(image()->geometry(), QRect(10, 100 + (160 - 90) / 2, 120, 90)) << "fitted with its shape kept";
    EXPECT_EQ(show->ImageBack->palette().color(QPalette::Window), otherPanel);
}

TEST_F(SlideShowTest, PlayTimeChoicePicksTheEntryOfThePlayPosition)
{
    QStringList paths;
    for (const char *name : {"p0.bmp", "p1.bmp", "p2.bmp", "p3.bmp"})
        paths << addPicture(QLatin1String(name), 20, 10);
    pointAtPictures();
    bool byPlayTime = true;
    show->followsPlayTime = [&byPlayTime] { return byPlayTime; };
    LoadedMedia &media = host->playback;

    media.MediaLength = 0;
    show->Image1ADJ();
    EXPECT_EQ(show->LastPic, paths[0]);

    media.MediaLength = 200;
    media.SeekPos = 60;  // 30 %
    show->Image1ADJ();
    EXPECT_EQ(show->LastPic, paths[2]);

    for (double at : {190, 199}) {  // to the end of the song the last picture stays in the area
        media.SeekPos = at;
        show->Image1ADJ();
        EXPECT_EQ(show->LastPic, paths[3]);
        EXPECT_TRUE(frameShown());
        EXPECT_FALSE(image()->pixmap().isNull());
    }

    byPlayTime = false;  // "對著歌詞更換圖片": the prepared picture
    const QString prepared = picFolder;
    show->Image1ADJ();
    EXPECT_EQ(show->LastPic, prepared);
}

TEST_F(SlideShowTest, NoAreaSwitchedOffOrMinimisedOnlyHidesTheFrame)
{
    addPicture(QStringLiteral("a.bmp"), 20, 10);
    addPicture(QStringLiteral("b.bmp"), 20, 10);
    pointAtPictures();
    show->Image1ADJ();
    ASSERT_TRUE(frameShown());
    const QString prepared = picFolder;

    state.ShowPic = false;
    show->Image1ADJ();
    EXPECT_FALSE(frameShown());
    EXPECT_EQ(picFolder, prepared) << "nothing advances";

    state.ShowPic = true;
    state.ImageVisible = false;
    show->Image1ADJ();
    EXPECT_EQ(picFolder, prepared);

    state.ImageVisible = true;
    show->playerMinimized = [] { return true; };
    show->Image1ADJ();
    EXPECT_EQ(picFolder, prepared);
    EXPECT_EQ(files->listIndex(), 1);
}

TEST_F(SlideShowTest, MissingDamagedAndEmptyFoldersClearThePictureWithoutStopping)
{
    addPicture(QStringLiteral("good.bmp"), 20, 10);
    QFile damaged(pictures + QStringLiteral("/bad.jpg"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\xff\xd8\xff\xe0 not really a picture");
    damaged.close();
    pointAtPictures();  // bad.jpg first

    show->Image1ADJ();
    EXPECT_TRUE(image()->pixmap().isNull());
    EXPECT_EQ(show->LastPic, pictures + QStringLiteral("/bad.jpg"));
    show->Image1ADJ();
    EXPECT_FALSE(image()->pixmap().isNull()) << "the next picture shows";

    picFolder = pictures + QStringLiteral("/gone.bmp");
    show->Image1ADJ();
    EXPECT_TRUE(image()->pixmap().isNull());
    EXPECT_FALSE(frameShown());

    const QString empty = programDir.path() + QStringLiteral("/Empty");
    QDir().mkpath(empty);
    files->setPath(empty);
    picFolder = empty;
    for (int i = 0; i < 3; ++i)
        show->Image1ADJ();
    EXPECT_TRUE(image()->pixmap().isNull());
    EXPECT_FALSE(frameShown());
}

TEST_F(SlideShowTest, TimerTicksStepAndAClickRestartsTheInterval)
{
    for (const char *name : {"a.bmp", "b.bmp", "c.bmp"})
        addPicture(QLatin1String(name), 20, 10);
    pointAtPictures();
    timer.setInterval(40);
    timer.start();
    QElapsedTimer clock;
    clock.start();
    while (show->LastPic.isEmpty() && clock.elapsed() < EventWaitMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_EQ(show->LastPic, pictures + QStringLiteral("/a.bmp")) << "a tick steps";

    timer.stop();
    timer.setTimerType(Qt::PreciseTimer);  // its remaining time to the millisecond
    timer.setInterval(60000);
    timer.start();
    // A tenth of a second of the interval passes; a click then starts it afresh, however long
    // the click itself takes.
    while (timer.remainingTime() > 60000 - 100)
        QThread::msleep(5);
    QElapsedTimer sinceClick;
    sinceClick.start();
    show->Image1_Click();
    const int remaining = timer.remainingTime();
    EXPECT_EQ(show->LastPic, pictures + QStringLiteral("/b.bmp")) << "a click steps at once";
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 60000);
    EXPECT_GE(remaining, 60000 - sinceClick.elapsed() - 2) << "the next tick is a full interval from the click";

    timer.stop();
    show->Image1_Click();
    EXPECT_EQ(show->LastPic, pictures + QStringLiteral("/c.bmp")) << "a click steps with the timer off";
    EXPECT_FALSE(timer.isActive());
}

}  // namespace
