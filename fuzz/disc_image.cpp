// A video CD or disc image in the player's drive: a real video-CD image made by vcdimager
// whose file-system sectors (16 to 23: volume descriptors, folders, path tables) come from
// the input, read as the probe and the player read a disc: its folders listed, its files
// found, their sectors streamed to the media engine.

#include "FuzzSupport.h"
#include "MediaTestSupport.h"
#include "VcdDisc.h"
#include "VcdStream.h"

#include <QFile>
#include <QFileInfo>

#include <mpv/stream_cb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kFirstSector = 16;
constexpr int kSectors = 8;
constexpr int kSectorBytes = 2048;
constexpr qint64 kRawSectorBytes = 2352;

struct Image {
    QString cue;
    QList<QByteArray> fileSystem;  // the sectors as vcdimager wrote them
    qint64 sectors = 0;
};

const Image &image()
{
    static const Image made = [] {
        Fuzz::startWidgets();  // the tools run as processes
        Image image;
        QString why;
        image.cue = makeVideoCdImage(Fuzz::scratchFolder(), {1, 1}, &why);
        if (image.cue.isEmpty()) {
            std::fprintf(stderr, "fuzz: no video-CD image to damage: %s\n", qPrintable(why));
            std::abort();
        }
        for (int i = 0; i < kSectors; ++i)
            image.fileSystem << imageSector(image.cue, kFirstSector + i);
        image.sectors = QFileInfo(image.cue.chopped(4) + QStringLiteral(".bin")).size() / kRawSectorBytes;
        return image;
    }();
    return made;
}

// The file streamed as the media engine reads it: its start, then from near its end on
// until the stream says it has ended.
void stream(const DiscFile &file)
{
    mpv_stream_cb_info info{};
    if (VcdStream::open(VcdStream::locationOf(file), &info) != 0)
        return;
    Fuzz::require(info.size_fn(info.cookie) == file.bytes, "the stream is as long as the file");
    static char buffer[16 * 1024];
    info.read_fn(info.cookie, buffer, sizeof buffer);
    Fuzz::require(info.seek_fn(info.cookie, std::max<int64_t>(0, file.bytes - 10000)) >= 0, "a seek on the file lands");
    int64_t read = 0;
    for (int64_t got; (got = info.read_fn(info.cookie, buffer, sizeof buffer)) > 0;)
        read += got;
    Fuzz::require(read <= 10000, "no read goes past the end");
    info.close_fn(info.cookie);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Image &disc = image();
    const QByteArray input = Fuzz::bytesOf(data, size);
    for (int i = 0; i < kSectors; ++i) {
        const QByteArray given = input.mid(i * kSectorBytes, kSectorBytes);
        setImageSector(disc.cue, kFirstSector + i, given + disc.fileSystem[i].mid(given.size()));
    }
    const VcdDisc reader(QFile::encodeName(disc.cue));
    Fuzz::require(reader.isOpen(), "the image opens");
    // Each file found is checked; one is streamed, as opening a stream costs more than
    // reading the file system.
    bool streamed = false;
    for (const QString &folder : {QStringLiteral("/"), QStringLiteral("/Mpegav")}) {
        for (const QString &name : reader.files(folder, QStringLiteral("*"))) {
            const std::optional<DiscFile> file = reader.file(folder + QLatin1Char('/') + name);
            if (!file)
                continue;
            Fuzz::require(file->firstSector >= 0 && file->firstSector + qint64(file->sectors) <= disc.sectors,
                          "a file lies on the disc");
            if (!streamed)
                stream(*file);
            streamed = true;
        }
    }
    return 0;
}
