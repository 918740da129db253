#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

struct _CdIo;

// Where a file lies on a disc, to be read sector by sector through libcdio.
struct DiscFile {
    QByteArray device;      // what libcdio opens: a drive's device node or a disc image
    qint32 firstSector = 0;
    quint32 sectors = 0;
    bool form2 = false;     // Mode 2 Form 2 sectors (the tracks of a video CD), else 2048-byte data sectors
    qint64 bytes = 0;       // the data the file holds

    static constexpr int Form2Bytes = 2324;  // data bytes of a Mode 2 Form 2 sector
    static constexpr int DataBytes = 2048;
    int sectorBytes() const { return form2 ? Form2Bytes : DataBytes; }
};

// The ISO 9660 file system of a disc in a drive or of a disc image, read
// through libcdio whether the disc is mounted or not. A video CD keeps its
// tracks (MPEGAV/AVSEQnn.DAT) in Mode 2 Form 2 sectors that a mounted file
// system does not deliver, so they are found and read here. Names are matched
// without regard to case, as discs spell them freely. Every size and place the
// disc records is checked against the disc before it is read: a damaged file
// system lists nothing, and a file recorded as longer than the disc ends
// where the disc ends.
class VcdDisc {
public:
    explicit VcdDisc(const QByteArray &device);
    ~VcdDisc();
    VcdDisc(const VcdDisc &) = delete;
    VcdDisc &operator=(const VcdDisc &) = delete;

    bool isOpen() const { return m_cdio != nullptr; }
    // The names of the files in folder whose names match wildcard ("*.Dat"),
    // as the disc records them (without the version), in name order.
    QStringList files(const QString &folder, const QString &wildcard) const;
    // The file at path ("/Mpegav/Avseq01.dat"); nullopt when there is none.
    std::optional<DiscFile> file(const QString &path) const;

private:
    QByteArray m_device;
    _CdIo *m_cdio = nullptr;
    quint32 m_sectors = 0;  // on the disc, as its table of contents gives it
};

// A path of the programs that names a file on an optical drive's disc read
// through libcdio: "<drive>/<path on the disc>", where the drive is a device
// node or disc image (its root is that path) or the folder a disc with a
// device node is mounted at. Nullopt for any other path or a missing file.
std::optional<DiscFile> discFileAt(const QString &path);

// The files matching pattern ("<drive>/Mpegav/*.Dat") on the disc of an
// optical drive that has no mounted volume, as full paths "<drive>/<folder as
// given>/<name as recorded>" in name order. Empty for other drives.
QStringList unmountedDiscFiles(const QString &pattern);
