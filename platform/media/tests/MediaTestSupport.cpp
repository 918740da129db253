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

namespace {
QByteArray be32(quint32 v) { return QByteArray(1, char(v >> 24)) + char(v >> 16) + char(v >> 8) + char(v); }
QByteArray le32(quint32 v) { return QByteArray(1, char(v)) + char(v >> 8) + char(v >> 16) + char(v >> 24); }
QByteArray chunk(const char *id, const QByteArray &body) { return id + be32(quint32(body.size())) + body; }

QByteArray tempoEvent(int beatsAMinute)
{
    const quint32 microseconds = quint32(60000000 / beatsAMinute);
    return QByteArray("\xff\x51\x03", 3) + char(microseconds >> 16) + char(microseconds >> 8) + char(microseconds);
}

// A delta time as a variable-length number.
QByteArray delta(int ticks)
{
    QByteArray bytes(1, char(ticks & 0x7f));
    while (ticks >>= 7)
        bytes.prepend(char(0x80 | (ticks & 0x7f)));
    return bytes;
}

constexpr int kTicksABeat = 96;
const QByteArray kEndOfTrack("\x00\xff\x2f\x00", 4);
} // namespace

QByteArray testMidiFile(const TestMidiSong &song)
{
    static const char kScale[] = {60, 62, 64, 65, 67, 69, 71, 72};
    const int half = song.beats / 2;
    const QByteArray piano("\x00\xc0\x00", 3);
    // A beat's note: its status named when running status cannot carry it.
    const auto note = [&](int beat, bool named) {
        const char key = kScale[beat % 8];
        return QByteArray(1, '\0') + (named ? QByteArray("\x90", 1) : QByteArray()) + key + char(100)
               + delta(kTicksABeat) + key + char(0);
    };
    QByteArray tracks;
    if (song.format == 0) {
        QByteArray track = QByteArray(1, '\0') + tempoEvent(song.tempo) + piano;
        int silent = 0;  // ticks since the last event
        for (int beat = 0; beat < song.beats; ++beat) {
            if (beat == half)
                track += delta(silent) + tempoEvent(song.laterTempo), silent = 0;
            if (song.notes)
                track += note(beat, beat == 0 || beat == half);  // a meta event ends running status
            else
                silent += kTicksABeat;
        }
        tracks = chunk("MTrk", track + delta(silent) + QByteArray("\xff\x2f\x00", 3));
    } else {
        const QByteArray tempoMap = QByteArray(1, '\0') + tempoEvent(song.tempo) + delta(half * kTicksABeat)
                                    + tempoEvent(song.laterTempo) + delta((song.beats - half) * kTicksABeat)
                                    + QByteArray("\xff\x2f\x00", 3);
        QByteArray notes = piano;
        for (int beat = 0; beat < song.beats && song.notes; ++beat)
            notes += note(beat, beat == 0);
        tracks = chunk("MTrk", tempoMap) + chunk("MTrk", notes + kEndOfTrack);
    }
    const QByteArray header = QByteArray(1, '\0') + char(song.format) + QByteArray(1, '\0')
                              + char(song.format == 0 ? 1 : 2) + QByteArray(1, '\0') + char(kTicksABeat);
    return chunk("MThd", header) + tracks;
}

QByteArray riffMidiFile(const QByteArray &midi)
{
    QByteArray data = "data" + le32(quint32(midi.size())) + midi;
    if (midi.size() % 2)
        data += '\0';
    return "RIFF" + le32(quint32(data.size() + 4)) + "RMID" + data;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}
