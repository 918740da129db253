#include "MediaTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

namespace {

constexpr int kRawSectorBytes = 2352;
constexpr int kForm1DataOffset = 24;  // sync, header and subheader before a Mode 2 Form 1 sector's data
constexpr int kDataBytes = 2048;
constexpr int kRootRecord = 156;      // in the primary volume descriptor
constexpr int kNameAt = 33;           // in a directory record, after its length at 32
constexpr quint32 k4GB = 0xFFFFF800;

QString binOf(const QString &cue)
{
    const QFileInfo info(cue);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".bin");
}

quint32 le32(const QByteArray &bytes, int at)
{
    return quint32(uchar(bytes[at])) | quint32(uchar(bytes[at + 1])) << 8 | quint32(uchar(bytes[at + 2])) << 16
           | quint32(uchar(bytes[at + 3])) << 24;
}

// A number recorded both ways round, as ISO 9660 records sizes and places.
void setBothEndian32(QByteArray &bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = char(value >> (8 * i));
        bytes[at + 7 - i] = char(value >> (8 * i));
    }
}

// Where the last record whose name starts with name lies in a folder sector.
int recordOf(const QByteArray &folder, const QByteArray &name)
{
    const int found = int(folder.lastIndexOf(name));
    return found < 33 ? -1 : found - 33;
}

// The folder sector with the record at `at` moved to its very end, where only its header and
// name fit, its length kept (so that it claims to run past the sector), and records of filler
// between the others and it; empty when there is no room.
QByteArray withRecordAtTheEnd(const QByteArray &folder, int at)
{
    const int length = uchar(folder[at]);
    const int kept = kNameAt + uchar(folder[at + 32]);
    QByteArray others;
    for (int record = 0; record < kDataBytes && uchar(folder[record]) > 0; record += uchar(folder[record]))
        if (record != at)
            others += folder.mid(record, uchar(folder[record]));
    const int room = kDataBytes - int(others.size()) - kept;
    if (kept >= length || room < kNameAt + 1)
        return {};
    for (int fillers = (room + 254) / 255, i = 0; i < fillers; ++i) {
        QByteArray filler(room / fillers + (i < room % fillers ? 1 : 0), '\0');
        filler[0] = char(filler.size());
        filler[32] = 1;
        filler[kNameAt] = 'F';
        others += filler;
    }
    return others + folder.mid(at, kept);
}

bool damage(const QString &cue, VideoCdDamage damage)
{
    QByteArray pvd = imageSector(cue, 16);
    if (pvd.size() != kDataBytes)
        return false;
    const int rootSector = int(le32(pvd, kRootRecord + 2));
    QByteArray root = imageSector(cue, rootSector);
    const int mpegav = recordOf(root, "MPEGAV");
    if (root.size() != kDataBytes || mpegav < 0)
        return false;
    const int mpegavSector = int(le32(root, mpegav + 2));
    switch (damage) {
    case VideoCdDamage::RecordOfLengthOne:
        root[0] = 1;
        return setImageSector(cue, rootSector, root);
    case VideoCdDamage::RootOf4GB:
        setBothEndian32(pvd, kRootRecord + 10, k4GB);
        return setImageSector(cue, 16, pvd);
    case VideoCdDamage::FolderOf4GB:
        setBothEndian32(root, mpegav + 10, k4GB);
        return setImageSector(cue, rootSector, root);
    case VideoCdDamage::FolderOfFFBytes:
        return setImageSector(cue, mpegavSector, QByteArray(kDataBytes, char(0xFF)));
    case VideoCdDamage::RecordPastItsSector:
        return setImageSector(cue, rootSector, withRecordAtTheEnd(root, mpegav));
    case VideoCdDamage::EndsInItsLastTrack: {
        const QByteArray tracks = imageSector(cue, mpegavSector);
        const int last = recordOf(tracks, "AVSEQ");
        if (last < 0)
            return false;
        const qint64 end = le32(tracks, last + 2) + le32(tracks, last + 10) / kDataBytes / 2;
        return QFile::resize(binOf(cue), end * kRawSectorBytes);
    }
    case VideoCdDamage::FirstTrackPastTheEnd:
    case VideoCdDamage::FirstTrackOfSizeZero:
    case VideoCdDamage::FirstTrackOfSizeOne: {
        QByteArray tracks = imageSector(cue, mpegavSector);
        const int first = recordOf(tracks, "AVSEQ01");
        if (first < 0)
            return false;
        if (damage == VideoCdDamage::FirstTrackPastTheEnd)
            setBothEndian32(tracks, first + 2, quint32(QFileInfo(binOf(cue)).size() / kRawSectorBytes + 1000));
        else
            setBothEndian32(tracks, first + 10, damage == VideoCdDamage::FirstTrackOfSizeOne ? 1 : 0);
        return setImageSector(cue, mpegavSector, tracks);
    }
    }
    return false;
}

} // namespace

const char *damageName(VideoCdDamage damage)
{
    switch (damage) {
    case VideoCdDamage::RecordOfLengthOne: return "record-of-length-one";
    case VideoCdDamage::RootOf4GB: return "root-of-4-GB";
    case VideoCdDamage::FolderOf4GB: return "folder-of-4-GB";
    case VideoCdDamage::FolderOfFFBytes: return "folder-of-FF-bytes";
    case VideoCdDamage::RecordPastItsSector: return "record-past-its-sector";
    case VideoCdDamage::EndsInItsLastTrack: return "ends-in-its-last-track";
    case VideoCdDamage::FirstTrackPastTheEnd: return "first-track-past-the-end";
    case VideoCdDamage::FirstTrackOfSizeZero: return "first-track-of-size-0";
    case VideoCdDamage::FirstTrackOfSizeOne: return "first-track-of-size-1";
    }
    return "";
}

QString damagedVideoCdImage(const QString &cue, const QString &folder, VideoCdDamage kind)
{
    const QString copy = folder + QLatin1Char('/') + QFileInfo(cue).fileName();
    QFile::remove(copy);
    QFile::remove(binOf(copy));
    // The copy's sheet names the copy's data file, which the damage is done to.
    QFile sheet(cue);
    if (!sheet.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(sheet.readAll());
    text.replace(QRegularExpression(QStringLiteral(R"re(FILE\s+"[^"]*")re")),
                 QStringLiteral("FILE \"%1\"").arg(QFileInfo(binOf(copy)).fileName()));
    QFile written(copy);
    if (!written.open(QIODevice::WriteOnly) || written.write(text.toUtf8()) < 0)
        return {};
    written.close();
    if (!QFile::copy(binOf(cue), binOf(copy)) || !damage(copy, kind))
        return {};
    return copy;
}

QByteArray imageSector(const QString &cue, int sector)
{
    QFile bin(binOf(cue));
    if (!bin.open(QIODevice::ReadOnly) || !bin.seek(qint64(sector) * kRawSectorBytes + kForm1DataOffset))
        return {};
    return bin.read(kDataBytes);
}

bool setImageSector(const QString &cue, int sector, const QByteArray &data)
{
    QFile bin(binOf(cue));
    return data.size() == kDataBytes && bin.open(QIODevice::ReadWrite)
           && bin.seek(qint64(sector) * kRawSectorBytes + kForm1DataOffset) && bin.write(data) == kDataBytes;
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
