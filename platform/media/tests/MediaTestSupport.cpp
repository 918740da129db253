#include "MediaTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

bool makeMediaWithFfmpeg(const QStringList &arguments, const QString &output)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{"-hide_banner", "-loglevel", "error", "-y"} + arguments + QStringList{output});
    if (!ffmpeg.waitForFinished(20000))
        return false;
    return ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

QString makeVideoCdImage(const QString &folder, const QList<double> &seconds, QString *why)
{
    QStringList tracks;
    for (int i = 0; i < seconds.size(); ++i) {
        const QString duration = QString::number(seconds[i]);
        const QString track = QStringLiteral("%1/track%2.mpg").arg(folder).arg(i + 1);
        if (!makeMediaWithFfmpeg({"-f", "lavfi", "-i", "testsrc2=size=352x240:rate=30000/1001:duration=" + duration,
                                  "-f", "lavfi", "-i", QStringLiteral("sine=frequency=%1:duration=").arg(440 + 220 * i) + duration,
                                  "-target", "ntsc-vcd"},
                                 track)) {
            *why = QStringLiteral("ffmpeg could not make an MPEG-1 track");
            return {};
        }
        tracks << track;
    }
    const QString cue = folder + QStringLiteral("/vcd.cue");
    QProcess vcdimager;
    vcdimager.setWorkingDirectory(folder);
    vcdimager.start(QStringLiteral("vcdimager"),
                    QStringList{"-t", "vcd2", "-c", cue, "-b", folder + QStringLiteral("/vcd.bin")} + tracks);
    if (!vcdimager.waitForFinished(30000) || vcdimager.exitStatus() != QProcess::NormalExit
        || vcdimager.exitCode() != 0) {
        *why = QStringLiteral("vcdimager could not make the image: ") + QString::fromLocal8Bit(vcdimager.readAllStandardError());
        return {};
    }
    return cue;
}

bool waitUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

void ensureApplication()
{
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "media_tests";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
}
