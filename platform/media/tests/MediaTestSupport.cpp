#include "MediaTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
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

QString makeAudioCdImage(const QString &folder, const QList<double> &seconds, QString *why)
{
    constexpr int kSectorBytes = 2352;  // one 1/75 s sector of CD audio
    QByteArray disc;
    QString cueText = QStringLiteral("FILE \"audio.bin\" BINARY\n");
    for (int i = 0; i < seconds.size(); ++i) {
        const QString raw = QStringLiteral("%1/track%2.raw").arg(folder).arg(i + 1);
        if (!makeMediaWithFfmpeg({"-f", "lavfi", "-i",
                                  QStringLiteral("sine=frequency=%1:duration=%2").arg(440 + 220 * i).arg(seconds[i]),
                                  "-ar", "44100", "-ac", "2", "-f", "s16le"},
                                 raw)) {
            *why = QStringLiteral("ffmpeg could not make the disc's sound");
            return {};
        }
        const int sector = int(disc.size() / kSectorBytes);
        cueText += QString::asprintf("  TRACK %02d AUDIO\n    INDEX 01 %02d:%02d:%02d\n", i + 1, sector / 75 / 60,
                                     sector / 75 % 60, sector % 75);
        QFile file(raw);
        file.open(QIODevice::ReadOnly);
        disc += file.readAll();
        disc.append(QByteArray((kSectorBytes - disc.size() % kSectorBytes) % kSectorBytes, '\0'));
    }
    QFile bin(folder + QStringLiteral("/audio.bin"));
    QFile cue(folder + QStringLiteral("/audio.cue"));
    if (!bin.open(QIODevice::WriteOnly) || bin.write(disc) != disc.size() || !cue.open(QIODevice::WriteOnly)
        || cue.write(cueText.toLatin1()) < 0) {
        *why = QStringLiteral("the image could not be written");
        return {};
    }
    return cue.fileName();
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
