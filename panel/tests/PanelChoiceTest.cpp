// Choosing a panel: the panel list, the screen-size class, applying a panel,
// and the thumbnail browser that lists pictures and picks one.

#include "ModButtonIni.h"
#include "PanelChoice.h"
#include "PanelTestSupport.h"
#include "frmDir.h"

#include "ListBoxes.h"
#include "MessageBox.h"
#include "ModIniFile.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QPushButton>
#include <QFile>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QApplication>

namespace {

// A host whose screen has a chosen size and whose media window can be watched.
class ScreenHost : public TestHost
{
public:
    double screenWidthTwips() const override { return screenWidth * 15; }
    double screenHeightTwips() const override { return screenHeight * 15; }
    MediaWindowPlace stopMediaWindow() override
    {
        ++stops;
        return place;
    }
    void replayVideoAt(double fraction) override { replayedAt = fraction; }
    void playMediaWindow() override { ++plays; }

    int screenWidth = 1280, screenHeight = 1024;
    MediaWindowPlace place;
    int stops = 0;
    double replayedAt = -1;
    int plays = 0;
};

class PanelChoiceTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        form.reset();
        screen = new ScreenHost;
        host.reset(screen);
        form = std::make_unique<PanelForm>(*host, state, colors);
        choice = std::make_unique<PanelChoice>(*form);
        MessageBox::setAnswerer([](const MessageBox::Request &) { return MessageBox::IdOk; });
    }
    void TearDown() override
    {
        MessageBox::setAnswerer({});
        choice.reset();
        PanelTest::TearDown();
    }

    QString picture(const QString &folder, const QString &name, int w, int h)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(QColor(60, 90, 140));
        const QString path = folder + QLatin1Char('/') + name;
        image.save(path);
        return path;
    }
    QStringList shownMessages() const
    {
        QStringList texts;
        for (const MessageBox::Request &r : MessageBox::shownRequests())
            texts << r.prompt;
        return texts;
    }

    ScreenHost *screen = nullptr;
    std::unique_ptr<PanelChoice> choice;
};

TEST_F(PanelChoiceTest, ScreenHeightGivesTheSizeClassElseTheWidthStays)
{
    EXPECT_EQ(PanelChoice::ScreenClassOf(1280, 768), 1024);
    EXPECT_EQ(PanelChoice::ScreenClassOf(1280, 720), 1280);
    EXPECT_EQ(PanelChoice::ScreenClassOf(1920, 1200), 1600);
    EXPECT_EQ(PanelChoice::ScreenClassOf(800, 480), 640);

    screen->screenWidth = 1280;
    screen->screenHeight = 768;
    choice->ScreenResize();
    EXPECT_EQ(state.ScreenClass, 1024);
    EXPECT_EQ(state.ScreenHeight, 768);
}

TEST_F(PanelChoiceTest, PanelListCaptionsSizesAndEnablesWhatFits)
{
    state.ScreenClass = 800;
    state.ScreenHeight = 600;
    picture(skinDir(), QStringLiteral("Blue.jpg"), 640, 480);
    picture(skinDir(), QStringLiteral("Exact.bmp"), 800, 600);
    picture(skinDir(), QStringLiteral("Wide.jpg"), 801, 600);
    picture(skinDir(), QStringLiteral("Tall.JPG"), 800, 601);
    QFile::copy(skinDir() + QStringLiteral("/Blue.jpg"), skinDir() + QStringLiteral("/notes.txt"));

    const QVector<DeskMenuEntry> entries = choice->ChkDeskFile();
    ASSERT_EQ(entries.size(), 4) << "pictures only, any case of extension";
    QMap<QString, DeskMenuEntry> byName;
    for (const DeskMenuEntry &e : entries)
        byName[QFileInfo(e.Tag).fileName()] = e;
    EXPECT_EQ(byName[QStringLiteral("Blue.jpg")].Caption, QStringLiteral("Blue.jpg (W640 x H480)"));
    EXPECT_EQ(byName[QStringLiteral("Blue.jpg")].Tag, skinDir() + QStringLiteral("/Blue.jpg"));
    EXPECT_TRUE(byName[QStringLiteral("Exact.bmp")].Enabled);
    EXPECT_FALSE(byName[QStringLiteral("Wide.jpg")].Enabled);
    EXPECT_FALSE(byName[QStringLiteral("Tall.JPG")].Enabled);

    QVector<DeskMenuEntry> told;
    choice->deskMenuChanged = [&told](const QVector<DeskMenuEntry> &e) { told = e; };
    choice->ScreenResize();
    EXPECT_EQ(told.size(), 4);
}

TEST_F(PanelChoiceTest, ScanWritesAtMost255NamesButCountsAll)
{
    const QString many = programDir.path() + QStringLiteral("/Many");
    QDir().mkpath(many);
    for (int i = 0; i < 300; ++i) {
        QFile f(many + QStringLiteral("/p%1.Jpg").arg(i, 3, 10, QLatin1Char('0')));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QStringList names;
    int count = PanelChoice::ScanFIleA(many + QStringLiteral("/*.Jpg"), names, 0);
    EXPECT_EQ(count, 300);
    EXPECT_EQ(names.size(), 255);
    count = PanelChoice::ScanFIleA(many + QStringLiteral("/*.Gif"), names, count);
    EXPECT_EQ(count, 300);
    count = PanelChoice::ScanFIleA(programDir.path() + QStringLiteral("/None/*.Bmp"), names, 0);
    EXPECT_EQ(count, 0);
}

TEST_F(PanelChoiceTest, PanelTooLargeForANewScreenHidesTheWindowAndOpensTheBrowser)
{
    state.DeskPicWidth = 1024.0;
    state.DeskPicHeight = 768;
    host->form.show();
    screen->screenWidth = 800;
    screen->screenHeight = 600;
    choice->ScreenResize();
    EXPECT_TRUE(shownMessages().contains(QStringLiteral("現在的畫面大小被更改,請重新選擇面版!")));
    EXPECT_FALSE(host->form.isVisible());
    EXPECT_TRUE(choice->browser().isVisible());
    EXPECT_TRUE(QRect(0, 0, 800, 600).contains(choice->browser().frameGeometry())) << "whole on the new screen";
    EXPECT_EQ(choice->browser().Picture1[0]->isVisibleTo(&choice->browser()), false)
        << "no thumbnails before a page is read";

    choice->browser().close();  // closed without a choice: the player's window comes back
    EXPECT_TRUE(host->form.isVisible());
    EXPECT_TRUE(host->form.isEnabled());
}

TEST_F(PanelChoiceTest, DeskShowReadsTheChosenPanelsDefinitionAndShowsIt)
{
    const QString path = picture(skinDir(), QStringLiteral("Green.jpg"), 420, 300);
    form->obj().PicCtl[1]->move(77, 66);
    colors.setVScroll1(2, -30);
    IniFile = skinDir() + QStringLiteral("/Green.INI");
    SaveButtonIni(*form);
    form->obj().PicCtl[1]->move(0, 0);
    colors.setVScroll1(2, 0);

    state.DeskPicFile = path;
    choice->DeskShow();
    EXPECT_EQ(state.DeskIniFile, skinDir() + QStringLiteral("/Green.INI"));
    EXPECT_EQ(form->obj().PicCtl[1]->pos(), QPoint(77, 66));
    EXPECT_EQ(colors.VScroll1(2), -30);
    EXPECT_EQ(state.DeskPicWidth.toDouble(), 420);
    EXPECT_TRUE(host->form.isVisible());
    EXPECT_TRUE(form->obj().PicCtl[1]->isVisible());
}

TEST_F(PanelChoiceTest, SeleDeskStopsTheMediaFillsAPageAndDisablesTheWindow)
{
    picture(skinDir(), QStringLiteral("a.jpg"), 64, 48);
    picture(skinDir(), QStringLiteral("b.jpg"), 48, 64);
    state.ImageVisible = true;
    screen->place = {1234, 5000};
    choice->SeleDesk();
    frmDir &dir = choice->browser();
    EXPECT_EQ(screen->stops, 1);
    EXPECT_EQ(choice->SavedPosition, 1234);
    EXPECT_EQ(choice->SavedLength, 5000);
    EXPECT_TRUE(choice->SavedImageVisible);
    EXPECT_TRUE(dir.isVisible());
    EXPECT_FALSE(host->form.isEnabled());
    EXPECT_EQ(dir.File1->path(), skinDir()) << "the browser starts in the skin folder";
    EXPECT_EQ(dir.Label1->text(), QStringLiteral("共2個檔"));
    EXPECT_EQ(dir.Picture1[0]->Tag, QStringLiteral("0064-0048"));
    dir.grab().save(testOutputFolder() + QStringLiteral("/panel-browser.png"));

    dir.close();
    EXPECT_TRUE(host->form.isEnabled());
    EXPECT_TRUE(dir.Picture1[0]->pixmap().isNull()) << "pictures are released";
}

// On a 640 x 480 screen the browser opened by its title button lies whole on the
// screen, its grid and controls inside it.
TEST_F(PanelChoiceTest, SeleDeskOnASmallScreenKeepsTheBrowserWholeOnIt)
{
    for (int i = 0; i < 12; ++i)
        picture(skinDir(), QStringLiteral("p%1.jpg").arg(i), 64, 48);
    screen->screenWidth = 640;
    screen->screenHeight = 480;
    choice->SeleDesk();
    frmDir &dir = choice->browser();
    const QRect shown = dir.frameGeometry();
    EXPECT_TRUE(QRect(0, 0, 640, 480).contains(shown)) << shown.x() << "," << shown.y() << " " << shown.width()
                                                        << "x" << shown.height();
    const QRect inside = dir.rect();
    for (QWidget *control : {static_cast<QWidget *>(dir.SizeList), static_cast<QWidget *>(dir.Command3),
                             static_cast<QWidget *>(dir.HScroll1), static_cast<QWidget *>(dir.Picture1[3])})
        EXPECT_TRUE(inside.contains(control->geometry())) << control->objectName().toStdString();
    dir.close();
}

// ---------------------------------------------------------------- the browser

class BrowserTest : public PanelChoiceTest
{
protected:
    void SetUp() override
    {
        PanelChoiceTest::SetUp();
        folder = programDir.path() + QStringLiteral("/Pics");
        QDir().mkpath(folder);
    }
    frmDir &dir() { return choice->browser(); }
    void openFolder()
    {
        dir().Dir1->setPath(folder);
        dir().File1->refresh();
    }
    void chooseGrid(int index)
    {
        dir().SizeList->setCurrentIndex(index);
        dir().SizeList_Click();
    }
    int visibleCells()
    {
        int n = 0;
        for (PictureCell *c : dir().Picture1)
            n += c->isVisibleTo(&dir()) ? 1 : 0;
        return n;
    }
    QString folder;
};

TEST_F(BrowserTest, SmallFolderFillsItsCellsAndHidesThePageBar)
{
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
        picture(folder, QLatin1String(name), 800, 600);
    openFolder();
    chooseGrid(0);  // 2x2
    EXPECT_EQ(visibleCells(), 3);
    EXPECT_FALSE(dir().Picture1[3]->isVisibleTo(&dir()));
    EXPECT_FALSE(dir().HScroll1->isVisibleTo(&dir()));
    EXPECT_EQ(dir().Picture1[1]->toolTip(), folder + QStringLiteral("/b.jpg"));
    // Cells fill a column top to bottom, then the next column.
    EXPECT_EQ(dir().Picture1[1]->x(), dir().Picture1[0]->x());
    EXPECT_GT(dir().Picture1[1]->y(), dir().Picture1[0]->y());
    EXPECT_GT(dir().Picture1[2]->x(), dir().Picture1[0]->x());
    EXPECT_EQ(dir().CellWidth, dir().CellHeight) << "cells are square";
}

// The page bar is still while a page is read: a turn of the wheel or a page key in the
// middle of the read would leave a page of two halves that matches no place of the bar.
TEST_F(BrowserTest, APageIsReadWholeAtThePlaceTheBarShows)
{
    for (int i = 0; i < 20; ++i)
        picture(folder, QStringLiteral("p%1.bmp").arg(i, 2, 10, QLatin1Char('0')), 16, 16);
    openFolder();
    chooseGrid(0);  // 2x2
    dir().show();
    QScrollBar *bar = dir().HScroll1;
    QTimer::singleShot(0, bar, [bar] {
        const QPointF middle = QRectF(bar->rect()).center();
        QWheelEvent wheel(middle, bar->mapToGlobal(middle), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
    });
    QTimer::singleShot(0, &dir(), [this] { dir().Form_KeyPress(34); });
    dir().Command1_Click();  // "目錄重整" reads the page
    const int v = bar->value();
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(dir().Picture1[k]->toolTip().toStdString(),
                  (folder + QStringLiteral("/p%1.bmp").arg(v + k, 2, 10, QLatin1Char('0'))).toStdString())
            << "cell " << k << " at bar place " << v;
    EXPECT_TRUE(bar->isEnabled());
}

TEST_F(BrowserTest, PagesTurnByWholePagesAndTheLastShowsTheTail)
{
    for (int i = 0; i < 20; ++i)
        picture(folder, QStringLiteral("p%1.bmp").arg(i, 2, 10, QLatin1Char('0')), 16, 16);
    openFolder();
    chooseGrid(1);  // 3x3
    EXPECT_EQ(dir().HScroll1->maximum(), 11);
    EXPECT_EQ(dir().HScroll1->singleStep(), 9);
    EXPECT_TRUE(dir().HScroll1->isVisibleTo(&dir()));

    dir().Form_KeyPress(34);
    EXPECT_EQ(dir().HScroll1->value(), 9);
    EXPECT_EQ(dir().Picture1[0]->toolTip(), folder + QStringLiteral("/p09.bmp"));
    dir().Form_KeyPress(34);  // 18 is beyond the last page start: no turn
    EXPECT_EQ(dir().HScroll1->value(), 9);
    dir().HScroll1->setValue(11);
    EXPECT_EQ(dir().Picture1[0]->toolTip(), folder + QStringLiteral("/p11.bmp"));
    EXPECT_EQ(dir().Picture1[8]->toolTip(), folder + QStringLiteral("/p19.bmp"));
    dir().Form_KeyPress(33);
    EXPECT_EQ(dir().HScroll1->value(), 2);

    chooseGrid(2);  // 4x4 fills 16 cells in four columns of four
    dir().HScroll1->setValue(0);
    EXPECT_EQ(visibleCells(), 16);
    EXPECT_EQ(dir().Picture1[4]->y(), dir().Picture1[0]->y());
    EXPECT_GT(dir().Picture1[4]->x(), dir().Picture1[3]->x());
}

// Every cell of a page lies in the grid area, clear of the browser's own controls,
// at every grid size and at the sizes a small screen gives the browser.
TEST_F(BrowserTest, CellsStayInTheGridAreaAtEveryGridSizeAndOnSmallScreens)
{
    for (int i = 0; i < 42; ++i)
        picture(folder, QStringLiteral("p%1.bmp").arg(i, 2, 10, QLatin1Char('0')), 40, 30);
    openFolder();
    QList<QWidget *> controls;
    controls << dir().Drive1 << dir().Dir1 << dir().File1 << dir().PattenList << dir().SizeList << dir().Command1
             << dir().Command2 << dir().Command3 << dir().Label1 << dir().HScroll1;
    for (const QSize screenSize : {QSize(1280, 1024), QSize(800, 600), QSize(640, 480)}) {
        dir().fitToScreen(QRect(QPoint(0, 0), screenSize));
        EXPECT_TRUE(QRect(QPoint(0, 0), screenSize).contains(dir().frameGeometry())) << screenSize.width();
        for (QWidget *control : controls)
            EXPECT_TRUE(dir().rect().contains(control->geometry())) << qPrintable(control->objectName());
        for (int grid = 0; grid < 5; ++grid) {
            chooseGrid(grid);
            const int cells = (grid + 2) * (grid + 2);
            EXPECT_EQ(visibleCells(), cells) << screenSize.width() << " grid " << grid + 2;
            for (PictureCell *c : dir().Picture1) {
                if (!c->isVisibleTo(&dir()))
                    continue;
                EXPECT_TRUE(dir().gridArea().contains(c->geometry()))
                    << screenSize.width() << " grid " << grid + 2 << " cell " << c->Index();
                for (QWidget *control : controls)
                    EXPECT_FALSE(c->geometry().intersects(control->geometry()))
                        << "cell " << c->Index() << " covers " << qPrintable(control->objectName());
            }
        }
        // 42 pictures at 6x6: the second page shows the last six.
        dir().HScroll1->setValue(dir().HScroll1->maximum());
        EXPECT_EQ(dir().Picture1[35]->toolTip(), folder + QStringLiteral("/p41.bmp"));
        EXPECT_TRUE(dir().gridArea().contains(dir().Picture1[35]->geometry()));
        dir().HScroll1->setValue(0);
    }
}

TEST_F(BrowserTest, ThumbnailsKeepProportionsAndTagTheSize)
{
    picture(folder, QStringLiteral("wide.jpg"), 800, 600);
    openFolder();
    dir().CellWidth = dir().CellHeight = 120;
    dir().ReadPic();
    PictureCell *c = dir().Picture1[0];
    EXPECT_EQ(c->Tag, QStringLiteral("0800-0600"));
    const QImage drawn = c->pixmap().toImage();
    ASSERT_EQ(drawn.size(), QSize(120, 120));
    // Drawn 120 x 90 at (0, 15): the picture's colour from row 15 to 104 only.
    EXPECT_EQ(drawn.pixelColor(60, 16), QColor(60, 90, 140));
    EXPECT_EQ(drawn.pixelColor(60, 103), QColor(60, 90, 140));
    EXPECT_NE(drawn.pixelColor(60, 5), QColor(60, 90, 140));
    EXPECT_NE(drawn.pixelColor(60, 110), QColor(60, 90, 140));
}

TEST_F(BrowserTest, EmptyFolderDamagedPictureAndOtherFilesShowTheirLook)
{
    openFolder();
    dir().ReadPic();
    EXPECT_EQ(dir().Label1->text(), QStringLiteral("共0個檔"));
    EXPECT_TRUE(dir().Picture1[0]->text().contains(QStringLiteral("不完全?")));
    EXPECT_TRUE(dir().Picture1[0]->isVisibleTo(&dir()));

    picture(folder, QStringLiteral("a.jpg"), 30, 20);
    QFile bad(folder + QStringLiteral("/b.jpg"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("no picture here");
    bad.close();
    QFile text(folder + QStringLiteral("/c.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.close();
    dir().PattenList->setCurrentIndex(0);  // "*.*"
    dir().PattenList_Click();
    dir().Command1_Click();
    EXPECT_EQ(dir().Picture1[0]->Tag, QStringLiteral("0030-0020"));
    EXPECT_TRUE(dir().Picture1[1]->text().contains(QStringLiteral("檔案儲存")));
    EXPECT_TRUE(dir().Picture1[2]->text().contains(QStringLiteral("c.txt")));
    EXPECT_EQ(visibleCells(), 3) << "a failure does not stop the page";
}

TEST_F(BrowserTest, PickingAPanelThatFitsAppliesItAndResumesTheMusic)
{
    const QString path = picture(folder, QStringLiteral("Fits.jpg"), 400, 300);
    host->playback.MediaKind = QStringLiteral("MP3");
    choice->SeleDesk();
    openFolder();
    dir().ReadPic();
    dir().Picture1_MouseDown(0);
    EXPECT_EQ(state.DeskPicFile, path);
    EXPECT_FALSE(dir().isVisible());
    EXPECT_TRUE(host->form.isEnabled());
    EXPECT_EQ(state.DeskPicWidth.toDouble(), 400);
    EXPECT_EQ(screen->plays, 1);
}

TEST_F(BrowserTest, AVideoPlaysAgainWhenTheNewPanelChangesThePictureArea)
{
    picture(folder, QStringLiteral("Fits.jpg"), 400, 300);
    host->playback.MediaKind = QStringLiteral("VCD");
    state.ImageVisible = true;
    WriteIniString(skinDir() + QStringLiteral("/Fits.INI"), QStringLiteral("圖形"), QStringLiteral("Visible"),
                   QStringLiteral("False"));  // the new panel has no picture area
    screen->place = {250, 1000};
    choice->SeleDesk();
    openFolder();
    dir().ReadPic();
    dir().Picture1_MouseDown(0);
    EXPECT_FALSE(state.ImageVisible);
    EXPECT_DOUBLE_EQ(screen->replayedAt, 0.25);
}

TEST_F(BrowserTest, TooLargeAPictureIsRefusedAndTheBrowserStays)
{
    state.ScreenClass = 800;
    screen->screenHeight = 600;
    const QString old = state.DeskPicFile;
    picture(folder, QStringLiteral("Big.jpg"), 1024, 768);
    choice->SeleDesk();
    openFolder();
    dir().ReadPic();
    dir().Picture1_MouseDown(0);
    EXPECT_TRUE(shownMessages().contains(QStringLiteral("這個面板太大了!\r\n現在暫時無法使用")));
    EXPECT_EQ(state.DeskPicFile, old);
    EXPECT_TRUE(dir().isVisible());
    dir().CloseForm();
}

// A cell that shows a file name keeps the size of the picture it showed
// before; picking it must not make a text file the panel.
TEST_F(BrowserTest, ACellWithoutAPictureIsNeverAppliedAsAPanel)
{
    picture(folder, QStringLiteral("a.jpg"), 40, 30);
    openFolder();
    dir().ReadPic();
    QFile::remove(folder + QStringLiteral("/a.jpg"));
    QFile text(folder + QStringLiteral("/a.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.close();
    dir().PattenList->setCurrentIndex(0);
    dir().PattenList_Click();
    dir().ReadPic();
    EXPECT_EQ(dir().Picture1[0]->Tag, QStringLiteral("0040-0030")) << "the Tag stays";
    const QString old = state.DeskPicFile;
    dir().Picture1_MouseDown(0);
    EXPECT_EQ(state.DeskPicFile, old);
}

TEST_F(BrowserTest, AGridSizeWithoutANumberShowsOneCellAPage)
{
    for (const char *name : {"a.jpg", "b.jpg"})
        picture(folder, QLatin1String(name), 20, 20);
    openFolder();
    dir().SizeList->setEditText(QStringLiteral("big"));
    dir().SizeList_Click();
    EXPECT_EQ(dir().PageLast, 0);
    EXPECT_EQ(visibleCells(), 1);
    EXPECT_EQ(dir().HScroll1->maximum(), 1);
    EXPECT_GT(dir().CellWidth, 1);
}

// A typed grid larger than the grid area has pixels gets cells of one pixel, no more of
// them than the area holds: the page size stays a number the page bar can take.
TEST_F(BrowserTest, AHugeTypedGridIsHeldToCellsOfOnePixel)
{
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
        picture(folder, QLatin1String(name), 20, 20);
    openFolder();
    dir().SizeList->setEditText(QStringLiteral("50000x50000"));
    dir().SizeList_Click();
    const QRect grid = dir().gridArea();
    EXPECT_LE(dir().GridCols, grid.width());
    EXPECT_LE(dir().GridRows, grid.height());
    EXPECT_EQ(dir().HScroll1->singleStep(), int(dir().PageLast) + 1);
    EXPECT_EQ(visibleCells(), 3);
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(grid.contains(dir().Picture1[k]->geometry())) << k;
}

TEST_F(BrowserTest, GridAndFolderLastUntilTheCloseBoxUnloadsTheWindow)
{
    openFolder();
    chooseGrid(2);
    choice->browser().CloseForm();  // a choice closes it without unloading
    EXPECT_EQ(dir().GridCols, 4);
    EXPECT_EQ(dir().Dir1->path(), folder);
    dir().show();
    dir().close();
    EXPECT_EQ(dir().GridCols, 2);
    EXPECT_EQ(dir().Dir1->path(), skinDir());
}

TEST_F(BrowserTest, NextFolderGoesToTheFollowingSiblingAndStopsAtTheLast)
{
    for (const char *sub : {"A", "B", "C"}) {
        QDir().mkpath(folder + QLatin1Char('/') + QLatin1String(sub));
        picture(folder + QLatin1Char('/') + QLatin1String(sub), QStringLiteral("x.jpg"), 10, 10);
    }
    dir().Dir1->setPath(folder + QStringLiteral("/A"));
    dir().Command3_Click();
    EXPECT_EQ(dir().Dir1->path(), folder + QStringLiteral("/B"));
    EXPECT_EQ(dir().Picture1[0]->toolTip(), folder + QStringLiteral("/B/x.jpg"));
    dir().Command3_Click();
    dir().Command3_Click();  // C is the last: the page shows the parent
    EXPECT_EQ(dir().Dir1->path(), folder);
    EXPECT_TRUE(dir().HScroll1->isEnabled());
}

}  // namespace
