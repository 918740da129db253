#include "EngineFixture.h"

#include "EventWait.h"
#include "FilePlayback.h"
#include "FrameCapture.h"
#include "FrmPlay.h"
#include "FullDisk.h"
#include "ModFiles.h"
#include "frmCutSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QProcess>
#include <QScrollBar>
#include <QSet>
#include <QStandardPaths>
#include <QWheelEvent>

// A small video playing in the video window, captured into a folder of the
// test's own; the capture dialog is answered by a timer on the virtual clock.
class FrameCaptureTest : public EngineTest
{
protected:
    QString clip;
    QString cutFolder;
    FrameCapture *capture = nullptr;
    frmCutSet *dialog = nullptr;

    void SetUp() override
    {
        EngineTest::SetUp();
        engine->setFileTransport(nullptr);
        clip = temp.filePath("clip.avi");
        QFile file(clip);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        // 4.5 seconds at ten frames a second: 45 frames.
        SimulatedMediaFiles::describe(clip, {4500, QSize(64, 48), 0});
        state.MediaKind = "VCD";
        state.MediaCount = 1;
        state.VcdFiles = {clip};
        host.seekEntry = "1  Sec";
        cutFolder = temp.filePath("Cut");
        state.CutFolder = cutFolder;
        state.CutFile = AddPath(cutFolder, "Cut0000.BMP");
        engine->filePlayback().PlayVCD(clip);
        state.SeekPos = 0;
        capture = &engine->frameCapture();
        dialog = &capture->cutSet();
    }

    // The dialog's button pressed once the capture waits for it.
    void answerDialogWith(QPushButton *button)
    {
        clock.singleShot(200, [button] { button->click(); });
    }

    QSize imageSize(const QString &name) const { return QImage(cutFolder + "/" + name).size(); }
};

TEST_F(FrameCaptureTest, ARunFillsSheetsOfTheGridAndWritesWhatIsLeftAtTheEnd)
{
    dialog->VScroll1->setValue(-2);
    answerDialogWith(dialog->Command2);
    capture->mCutBmp_Click();

    EXPECT_EQ(state.CutGrid, 2);
    EXPECT_EQ(capture->CellWidth, 64);
    EXPECT_EQ(capture->CellHeight, 48);
    // Five frames (0 to 4 seconds): a full sheet and one with a single cell.
    EXPECT_EQ(imageSize("Cut0000.BMP"), QSize(128, 96));
    EXPECT_EQ(imageSize("Cut0001.BMP"), QSize(128, 96));
    EXPECT_FALSE(QFile::exists(cutFolder + "/Cut0002.BMP"));
    EXPECT_EQ(state.CutFile, cutFolder + "/Cut0002.BMP");
    EXPECT_EQ(host.prompts, QStringList{"ok|圖片抓取完畢!,共抓取2張圖"});
    EXPECT_EQ(engine->frmPlay().windowTitle(), cutFolder + "/Cut0001.BMP - 128 x 96");
    EXPECT_EQ(host.saveSetDataCalls, 1);
    EXPECT_NE(state.ActiveMci->Mode(), "playing");
    EXPECT_TRUE(host.visible);

    // Frames of different places differ; cells past the last frame stay blank.
    const QImage first(cutFolder + "/Cut0000.BMP");
    EXPECT_NE(first.pixel(60, 44), first.pixel(124, 44));
    const QImage last(cutFolder + "/Cut0001.BMP");
    EXPECT_NE(last.pixel(60, 44), last.pixel(124, 44));
    EXPECT_EQ(last.pixel(124, 44), last.pixel(124, 92));
}

TEST_F(FrameCaptureTest, AGridOfOneWritesEveryFrameAsItsOwnPicture)
{
    dialog->VScroll1->setValue(-1);
    answerDialogWith(dialog->Command2);
    // A second click while the run goes on starts nothing.
    clock.singleShot(1000, [this] { capture->mCutBmp_Click(); });
    capture->mCutBmp_Click();
    for (const QString name : {"Cut0000.BMP", "Cut0001.BMP", "Cut0002.BMP", "Cut0003.BMP", "Cut0004.BMP"})
        EXPECT_EQ(imageSize(name), QSize(64, 48)) << name.toStdString();
    EXPECT_FALSE(QFile::exists(cutFolder + "/Cut0005.BMP"));
    EXPECT_EQ(host.prompts, QStringList{"ok|圖片抓取完畢!,共抓取5張圖"});
}

TEST_F(FrameCaptureTest, TheStopKeyEndsARunOfAVideoCdTrackAndOfAVideoAmongSongs)
{
    for (const char *kind : {"VCD", "MP3"}) {
        SCOPED_TRACE(kind);
        state.MediaKind = kind;
        state.CutFile = AddPath(cutFolder, QString(kind) + "000.BMP");
        dialog->VScroll1->setValue(-1);
        answerDialogWith(dialog->Command2);
        clock.singleShot(1500, [this, kind] {
            QString(kind) == "VCD" ? engine->filePlayback().ChkVCD(1) : engine->filePlayback().ChkMP3(1);
        });
        capture->mCutBmp_Click();
        EXPECT_TRUE(QFile::exists(cutFolder + "/" + kind + "000.BMP"));
        EXPECT_FALSE(QFile::exists(cutFolder + "/" + kind + "003.BMP")) << "the run went on after the stop key";
        engine->filePlayback().PlayVCD(clip);
        state.SeekPos = 0;
    }
}

TEST_F(FrameCaptureTest, AnExistingFileAnsweredNoMovesOnToTheFirstFreeName)
{
    QDir().mkpath(cutFolder);
    for (const QString name : {"Cut0000.BMP", "Cut0001.BMP"}) {
        QFile file(cutFolder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    host.answer = 7;
    dialog->VScroll1->setValue(-10);
    answerDialogWith(dialog->Command2);
    capture->mCutBmp_Click();
    EXPECT_EQ(host.prompts.value(0), "yesno|檔案已存在,是否要覆蓋?");
    EXPECT_EQ(imageSize("Cut0002.BMP"), QSize(640, 480));
    QFile old(cutFolder + "/Cut0000.BMP");
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
}

TEST_F(FrameCaptureTest, CancelLeavesTheVideoStoppedAndWritesNothing)
{
    answerDialogWith(dialog->Command3);
    capture->mCutBmp_Click();
    EXPECT_EQ(state.CutGrid, 0);
    EXPECT_FALSE(QDir(cutFolder).exists() && !QDir(cutFolder).isEmpty());
    EXPECT_EQ(state.ActiveMci->Mode(), "stopped");
    EXPECT_TRUE(host.prompts.isEmpty());
    EXPECT_EQ(host.saveSetDataCalls, 0);
}

TEST_F(FrameCaptureTest, ASingleCaptureBeforeAnyRunTakesOneFrameOfTheVideosSize)
{
    QDir().mkpath(cutFolder);
    capture->mCutBmp1_Click();
    EXPECT_EQ(imageSize("Cut0000.BMP"), QSize(64, 48));
    EXPECT_EQ(state.CutFile, cutFolder + "/Cut0001.BMP");
    EXPECT_EQ(capture->filesWritten(), 1);
    EXPECT_TRUE(host.visible);
}

TEST_F(FrameCaptureTest, AFailedWriteIsToldAndTheNameKept)
{
    state.CutFile = temp.filePath("no-such-folder/Cut0000.BMP");
    capture->mCutBmp1_Click();
    EXPECT_EQ(host.prompts, QStringList{"error|無法寫入 " + state.CutFile});
    EXPECT_EQ(state.CutFile, temp.filePath("no-such-folder/Cut0000.BMP"));
    EXPECT_EQ(capture->filesWritten(), 0);
}

TEST_F(FrameCaptureTest, OnAFullDiskNoEmptyPictureIsLeftAndTheUserIsTold)
{
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    disk.fill();
    state.CutFile = disk.filePath("Cut0000.BMP");
    capture->mCutBmp1_Click();  // a picture smaller than a file buffer
    EXPECT_EQ(host.prompts, QStringList{"error|無法寫入 " + state.CutFile});
    EXPECT_EQ(disk.names(), QStringList{FullDisk::FillerName});
    EXPECT_EQ(capture->filesWritten(), 0);
}

TEST_F(FrameCaptureTest, TheTimeStampIsDrawnOnlyWhenTicked)
{
    QDir().mkpath(cutFolder);
    host.labels[0] = "00:00:01";
    dialog->Text4->setText("40");
    dialog->Check1->setChecked(false);
    capture->mCutBmp1_Click();
    dialog->Check1->setChecked(true);
    capture->mCutBmp1_Click();
    EXPECT_NE(QImage(cutFolder + "/Cut0000.BMP"), QImage(cutFolder + "/Cut0001.BMP"));
}

TEST_F(FrameCaptureTest, EachCellHoldsTheFrameAndTheTimeOfItsOwnStep)
{
    dialog->VScroll1->setValue(-2);
    answerDialogWith(dialog->Command2);
    capture->mCutBmp_Click();
    // Cells at 0, 1, 2, 3 and 4 seconds, each stamped with its own time.
    EXPECT_EQ(capture->stamps(),
              QStringList({" 00:00:00", " 00:00:01", " 00:00:02", " 00:00:03", " 00:00:04"}));
    // The simulated picture's shade follows the place: 40 ms a step of 256.
    const QImage sheet(cutFolder + "/Cut0000.BMP");
    const QPoint cells[] = {{50, 40}, {114, 40}, {50, 88}, {114, 88}};
    for (int k = 0; k < 4; ++k) {
        const int shade = (k * 1000 / 40) % 256;
        EXPECT_EQ(qRed(sheet.pixel(cells[k])), shade) << "cell " << k;
    }
}

TEST_F(FrameCaptureTest, TheSheetIsWrittenAtTheCellSizeTheDialogShowed)
{
    // The panel shows the video wider than its own shape: the dialog's shape
    // rule turns the control's 80 x 48 into 64 x 48, and that is what is written.
    state.ActiveMci->resize(80, 48);
    dialog->VScroll1->setValue(-1);
    QString shown;
    clock.singleShot(200, [&] {
        shown = dialog->Text2->text() + "x" + dialog->Text3->text();
        dialog->Command2->click();
    });
    capture->mCutBmp_Click();
    EXPECT_EQ(shown, "64x48");
    EXPECT_EQ(imageSize("Cut0000.BMP"), QSize(64, 48));
}

// --- The settings dialog ------------------------------------------------------

TEST_F(FrameCaptureTest, CellAndPictureSizesFollowEachOtherWithTheShapeKept)
{
    state.NaturalWidth = 352;
    state.NaturalHeight = 240;
    dialog->VScroll1->setValue(-2);
    dialog->Text2->setText("704");
    EXPECT_EQ(dialog->Text3->text(), "480");
    EXPECT_EQ(dialog->Text5->text(), "1408");
    EXPECT_EQ(dialog->Text6->text(), "960");

    dialog->Text5->setText("704");
    EXPECT_EQ(dialog->Text6->text(), "480");
    EXPECT_EQ(dialog->Text2->text(), "352");
    EXPECT_EQ(dialog->Text3->text(), "240");

    // Without the lock only the changed pair moves.
    dialog->Check2->setChecked(false);
    dialog->Text3->setText("100");
    EXPECT_EQ(dialog->Text2->text(), "352");
    EXPECT_EQ(dialog->Text6->text(), "200");

    // A disabled box (video inside the panel) does not drive the others.
    dialog->Text2->setEnabled(false);
    dialog->Text2->setText("50");
    EXPECT_EQ(dialog->Text5->text(), "704");
}

TEST_F(FrameCaptureTest, SpinBarsShowTheirNumbers)
{
    dialog->VScroll3->setValue(-11);
    EXPECT_EQ(dialog->Text8->text(), "1.1");
    dialog->VScroll3->setValue(-9);
    EXPECT_EQ(dialog->Text8->text(), "0.9");
    dialog->VScroll3->setValue(0);
    EXPECT_EQ(dialog->Text8->text(), "0.0");
    dialog->VScroll2->setValue(-72);
    EXPECT_EQ(dialog->Text4->text(), "72");
    dialog->VScroll1->setValue(-10);
    EXPECT_EQ(dialog->Text1->text(), "10");
    EXPECT_EQ(dialog->windowTitle(), "抓圖參數設定");

    // The grid bar's arrows, pressed as a user presses them: 1 stands at its top.
    dialog->show();
    QScrollBar *grid = dialog->VScroll1;
    const auto pressAt = [grid](int y) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(grid->width() / 2, y), grid->mapToGlobal(QPointF(grid->width() / 2, y)),
                              Qt::LeftButton, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(grid, &event);
        }
    };
    grid->setValue(-2);
    pressAt(1);
    EXPECT_EQ(dialog->Text1->text(), "1") << "the up arrow";
    pressAt(grid->height() - 2);
    pressAt(grid->height() - 2);
    EXPECT_EQ(dialog->Text1->text(), "3") << "the down arrow";
    // The wheel turned up moves toward 1 as well, turned down away from it.
    const auto turnWheel = [grid](int notches) {
        const QPointF middle(grid->width() / 2, grid->height() / 2);
        QWheelEvent event(middle, grid->mapToGlobal(middle), {}, QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid, &event);
    };
    grid->setValue(-5);
    turnWheel(1);
    EXPECT_LT(dialog->Text1->text().toInt(), 5) << "the wheel turned up";
    grid->setValue(-5);
    turnWheel(-1);
    EXPECT_GT(dialog->Text1->text().toInt(), 5) << "the wheel turned down";
    dialog->hide();
}

TEST_F(FrameCaptureTest, OkTakesTheBoxesAndRefusesACellOfNoSize)
{
    dialog->Text9->setText("Mine000.BMP");
    dialog->Text7->setText(cutFolder);
    dialog->Check2->setChecked(false);
    dialog->Text2->setText("0");
    dialog->show();
    dialog->Command2_Click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(host.prompts.size(), 1);
    EXPECT_EQ(host.saveSetDataCalls, 0);

    dialog->Text2->setText("120");
    dialog->Text3->setText("90");
    dialog->Text4->setText("5");
    dialog->VScroll1->setValue(-3);
    // A delay outside 0.0 to 10.0 seconds and a name without an extension are refused.
    for (const auto &[delay, name] : {std::pair{"25", "Mine000.BMP"}, std::pair{"-1", "Mine000.BMP"},
                                      std::pair{"1.0", "Mine000"}}) {
        dialog->Text8->setText(delay);
        dialog->Text9->setText(name);
        dialog->Command2_Click();
        EXPECT_TRUE(dialog->isVisible()) << delay << " " << name;
    }
    EXPECT_EQ(host.prompts.size(), 4);
    EXPECT_EQ(host.saveSetDataCalls, 0);
    dialog->Text8->setText("10.0");
    dialog->Text9->setText("Mine000.BMP");
    dialog->Command2_Click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(state.CutFile, "Mine000.BMP");
    EXPECT_EQ(state.CutFolder, cutFolder);
    EXPECT_EQ(state.CutGrid, 3);
    EXPECT_EQ(state.VideoWidth, 120);
    EXPECT_EQ(state.VideoHeight, 90);
    EXPECT_EQ(engine->frmPlay().MCIWnd1()->size(), QSize(120, 90));
    EXPECT_EQ(dialog->Text4->text(), "12");
    EXPECT_EQ(host.saveSetDataCalls, 1);
}

// --- A real video decoded by the media engine ---------------------------------

TEST(RealFrameCaptureTest, ASingleCaptureWritesTheDecodedPicture)
{
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    if (ffmpeg.isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    QTemporaryDir temp;
    const QString track = temp.filePath("AVSEQ01.DAT");
    QProcess encoder;
    encoder.start(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=352x240:rate=30", "-t", "1",
                           "-c:v", "mpeg1video", "-f", "mpeg", track});
    ASSERT_TRUE(encoder.waitForFinished(EventWaitMs));
    ASSERT_EQ(encoder.exitCode(), 0);

    setMediaBackend(MediaBackend::Real);
    setMediaClock(nullptr);
    {
        PlaybackState state;
        FakeHost host;
        PlaybackEngine engine(state, host);
        engine.setCommandSender([](const QString &, QString *, int) { return 0; });
        state.MediaKind = "VCD";
        state.CutFile = temp.filePath("Cut0000.BMP");
        engine.filePlayback().PlayVCD(track);
        ASSERT_EQ(state.ActiveMci->naturalSize(), QSize(352, 240));

        engine.frameCapture().cutSet().Text8->setText("0");
        engine.frameCapture().mCutBmp1_Click();
        const QImage written(temp.filePath("Cut0000.BMP"));
        ASSERT_EQ(written.size(), QSize(352, 240));
        // The test picture's colour bars, not a blank cell.
        QSet<QRgb> colours;
        for (int x = 0; x < written.width(); x += 16)
            colours.insert(written.pixel(x, 120));
        EXPECT_GT(colours.size(), 4);
        state.ActiveMci->setFileName(QString());
    }
    mciResetDevices();
    setMediaBackend(MediaBackend::Simulated);
}
