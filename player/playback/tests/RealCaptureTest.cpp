// Continuous capture from a real video decoded by the media engine and shown
// in the video window on an X display of its own. The engine's part runs in a
// child run of this test program on that display; the parent makes the video,
// starts the display and reads the verdict.
#include "FakeHost.h"
#include "FilePlayback.h"
#include "FrameCapture.h"
#include "FrmPlay.h"
#include "MciCommand.h"
#include "MciWnd.h"
#include "MediaBackend.h"
#include "PlaybackEngine.h"
#include "PlaybackState.h"
#include "XDisplaySession.h"
#include "Clock.h"
#include "frmCutSet.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

const char *const VideoVariable = "PELLORAN_CAPTURE_VIDEO";
const char *const FolderVariable = "PELLORAN_CAPTURE_FOLDER";

// One colour a second, each starting 50 ms before its whole second: a frame
// taken a little before its step shows the colour of the step before. A black
// second follows them: the engine's length of an MPEG file is an estimate, which
// on a busy machine falls short of the content by up to a second, and the run
// ends at that length.
const QList<QColor> Colours = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta};

bool makeColourVideo(const QString &path)
{
    // Segment n of the colours above; each channel is full where its colour has it.
    const QString n = QStringLiteral("floor(T+0.05)");
    const auto channel = [&](const QList<int> &segments) {
        QStringList terms;
        for (int segment : segments)
            terms << QStringLiteral("eq(%1,%2)").arg(n).arg(segment);
        return QStringLiteral("'255*(%1)'").arg(terms.join(u'+'));
    };
    const QString source = QStringLiteral("color=c=black:s=160x120:r=30:d=6,format=rgb24,geq=r=%1:g=%2:b=%3")
                               .arg(channel({0, 3, 4}), channel({1, 3}), channel({2, 4}));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-f", "lavfi", "-i", source, "-c:v", "mpeg1video",
                                            "-q:v", "2", "-f", "mpeg", path});
    return ffmpeg.waitForFinished(EventWaitMs) && ffmpeg.exitCode() == 0;
}

// The colour of Colours nearest to a pixel (the coding shifts colours a little).
int nearestColour(QRgb pixel)
{
    int best = -1;
    int bestDistance = INT_MAX;
    for (int i = 0; i < Colours.size(); ++i) {
        const QRgb c = Colours[i].rgb();
        const int d = qAbs(qRed(c) - qRed(pixel)) + qAbs(qGreen(c) - qGreen(pixel)) + qAbs(qBlue(c) - qBlue(pixel));
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

quint32 le32(const QByteArray &bytes, int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }
quint16 le16(const QByteArray &bytes, int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); }

} // namespace

TEST(RealCaptureTest, AContinuousRunOnARealVideoTakesEachStepsFrameAndTime)
{
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    QTemporaryDir temp;
    const QString video = temp.filePath(QStringLiteral("colours.mpg"));
    ASSERT_TRUE(makeColourVideo(video));
    XDisplaySession screen;
    if (const QString unavailable = screen.start({800, 900}, QSize(1024, 768)); !unavailable.isEmpty())
        GTEST_SKIP() << unavailable.toStdString();

    QProcessEnvironment child;
    child.insert(QLatin1String(VideoVariable), video);
    child.insert(QLatin1String(FolderVariable), temp.filePath(QStringLiteral("Cut")));
    const QString failed =
        screen.runTestsOnDisplay(programBesideTests(QStringLiteral("playback_tests")), "RealCaptureOnDisplay.*", child);
    EXPECT_TRUE(failed.isEmpty()) << failed.toStdString();
}

// The child run: only with the display and the video the parent made.
TEST(RealCaptureOnDisplay, ContinuousRun)
{
    const QString video = qEnvironmentVariable(VideoVariable);
    if (video.isEmpty())
        GTEST_SKIP() << "run by RealCaptureTest on a display of its own";
    setMediaBackend(MediaBackend::Real);
    setMediaClock(nullptr);
    const QString folder = qEnvironmentVariable(FolderVariable);
    {
        PlaybackState state;
        FakeHost host;
        host.seekEntry = QStringLiteral("1  Sec");
        PlaybackEngine engine(state, host);
        engine.setCommandSender([](const QString &, QString *, int) { return 0; });
        engine.connectControl(engine.frmPlay().MCIWnd1());
        state.MediaKind = QStringLiteral("VCD");
        state.MediaCount = 1;
        state.VcdFiles = {video};
        state.CutFolder = folder;
        state.CutFile = folder + QStringLiteral("/Cut0000.BMP");
        engine.filePlayback().PlayVCD(video);
        ASSERT_EQ(state.ActiveMci->naturalSize(), QSize(160, 120));
        // The run starts from the beginning of the video.
        state.ActiveMci->setCommand(QStringLiteral("stop"));
        state.ActiveMci->setPosition(0);
        engine.Delay(0.3);

        FrameCapture &capture = engine.frameCapture();
        frmCutSet &dialog = capture.cutSet();
        dialog.VScroll1->setValue(-3);
        dialog.Text8->setText(QStringLiteral("0.0"));
        dialog.Text4->setText(QStringLiteral("8"));
        // 確定 is clicked once the run shows the dialog, however long the run takes to get there.
        QTimer confirm;
        QObject::connect(&confirm, &QTimer::timeout, dialog.Command2, [&] {
            if (!dialog.isVisible())
                return;
            confirm.stop();
            dialog.Command2->click();
        });
        confirm.start(20);
        capture.mCutBmp_Click();
        EXPECT_FALSE(confirm.isActive()) << "the run went on without the dialog";

        // Steps at 0 to 4 seconds (and at 5 where the engine's length reaches past it), then
        // the end: one sheet of 3 x 3 cells.
        const QStringList stamps = capture.stamps();
        EXPECT_EQ(stamps.mid(0, 5).join(u'|').toStdString(), " 00:00:00| 00:00:01| 00:00:02| 00:00:03| 00:00:04");
        EXPECT_LE(stamps.size(), 6) << stamps.join(u'|').toStdString();
        EXPECT_EQ(host.prompts, QStringList{QStringLiteral("ok|圖片抓取完畢!,共抓取1張圖")});
        const QString sheetFile = folder + QStringLiteral("/Cut0000.BMP");
        const QImage sheet(sheetFile);
        ASSERT_EQ(sheet.size(), QSize(480, 360));
        for (int k = 0; k < Colours.size(); ++k) {
            const QPoint centre((k % 3) * 160 + 80, (k / 3) * 120 + 80);
            EXPECT_EQ(nearestColour(sheet.pixel(centre)), k) << "cell " << k << " shows "
                                                             << QColor(sheet.pixel(centre)).name().toStdString();
        }
        EXPECT_EQ(sheet.pixel(400, 300), QColor(Qt::black).rgb());  // a cell past the end stays blank

        // A Windows bitmap: file header, then a 40-byte information header.
        QFile file(sheetFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_GE(bytes.size(), 54);
        EXPECT_EQ(bytes.left(2), "BM");
        EXPECT_EQ(le32(bytes, 2), quint32(bytes.size()));
        EXPECT_EQ(le32(bytes, 10), 54u);
        EXPECT_EQ(le32(bytes, 14), 40u);
        EXPECT_EQ(le32(bytes, 18), 480u);
        EXPECT_EQ(le32(bytes, 22), 360u);
        EXPECT_EQ(le16(bytes, 26), 1);
        EXPECT_EQ(le16(bytes, 28), 24);
        EXPECT_EQ(bytes.size(), 54 + 480 * 3 * 360);
        state.ActiveMci->setFileName(QString());
    }
    mciResetDevices();
    setMediaBackend(MediaBackend::Simulated);
}
