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
