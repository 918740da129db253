#include "ModFiles.h"

#include "DirSearch.h"

#include <Drives.h>
#include <SystemPaths.h>
#include <VbRuntime.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstdlib>

int PictureWidth = 0;
int PictureHeight = 0;

namespace {

QString trimTrailingSlashes(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

bool isDriveRoot(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    return !clean.isEmpty() && Drives::RootOf(clean) == clean;
}

}  // namespace

QString GetWinDir() {
    return trimTrailingSlashes(SystemPaths::WindowsFolder().trimmed());
}

QString DirEx(const QString& path) {
    const auto found = DirSearch::First(path, DirSearch::FilesAndFolders);
    return found ? found->name : QString();
}

QString UCaseStr(const QString& text) { return text.toUpper(); }

QString GetDrive(const QString& path) {
    if (!path.startsWith(QLatin1Char('/'))) return {};
    return Drives::RootOf(path);
}

QString BelowDrive(const QString& drive, const QString& below) {
    QString rest = below;
    while (rest.startsWith(QLatin1Char('/'))) rest.remove(0, 1);
    if (rest.isEmpty()) return drive;
    QString root = drive;
    while (root.endsWith(QLatin1Char('/'))) root.chop(1);
    return root + QLatin1Char('/') + rest;
}

QString CutDrive(const QString& path) {
    if (!path.startsWith(QLatin1Char('/'))) return path;
    const QString root = GetDrive(path);
    QString below = path.startsWith(root) ? path.mid(root.size()) : path;
    while (below.startsWith(QLatin1Char('/'))) below.remove(0, 1);
    return below;
}

QString GetFileName(const QString& path) {
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString GetFilePath(const QString& path) {
    if (!path.contains(QLatin1Char('.'))) return path;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.left(slash);
}

QString GetExtName(const QString& name) {
    if (name.size() < 5) return {};
    const QString tail = name.right(5);
    const int dot = tail.indexOf(QLatin1Char('.'));
    if (dot < 0) return {};
    return tail.mid(dot + 1, 3).toLower();
}

bool FileExist(const QString& path) {
    if (path.isEmpty() || !path.contains(QLatin1Char('.'))) return false;
    const auto found = DirSearch::First(path, DirSearch::Files);
    return found && found->name.contains(QLatin1Char('.'));
}

QString ChkDir(const QString& path) {
    const auto found = DirSearch::First(path, DirSearch::FilesAndFolders);
    if (!found) return {};
    if (isDriveRoot(path)) return path;
    // The entry's own kind decides: a file without an extension is no folder,
    // and a folder named like "Vol.001" is one.
    return found->isFolder ? path : QString();
}

void MakeDir(const QString& path) {
    if (path.isEmpty()) return;
    QDir().mkdir(path);
}

bool DelFile(const QString& path) {
    // One named file only: a wildcard here would delete more than the caller named.
    if (DirSearch::HasWildcard(GetFileName(path))) return false;
    const auto found = DirSearch::First(path, DirSearch::Files);
    if (!found || !found->name.contains(QLatin1Char('.'))) return false;
    QFile file(found->path);
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    return file.remove();
}

QString AddPath(const QString& folder, const QString& file) {
    const QString name = GetFileName(file);
    if (name.isEmpty()) return folder;
    if (folder.endsWith(QLatin1Char('/'))) return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString AddFileNum(const QString& name, int step, int& digits) {
    int run = 0;
    for (int i = name.size() - 5; i >= 0 && name[i].isDigit() && name[i].unicode() < 128; --i) ++run;
    if (run > 0) digits = run;
    if (digits < 0 || name.size() <= digits) return {};
    // The number lives in the file name: a field that would reach into the folder is cut
    // to the name's own stem, and a name whose extension is not "." and three characters
    // has no place to number that would not take part of the folder or the extension.
    const int nameStart = name.lastIndexOf(QLatin1Char('/')) + 1;
    const int nameStem = name.size() - 4 - nameStart;
    if (run == 0 && (nameStem < 0 || name[name.size() - 4] != QLatin1Char('.'))) return {};
    const int stemLength = name.size() - 4 - std::min(digits, qMax(nameStem, 0));
    if (stemLength < 0) return {};
    const QString field = name.mid(stemLength, name.size() - 4 - stemLength);
    const qint64 number = step == 0 ? 0 : qint64(Vb::Val(field)) + step;
    const int places = std::min(digits, 5);
    const QString text = places == 0 ? QString::number(number)
                                     : (number < 0 ? QStringLiteral("-") : QString()) +
                                           QString::number(std::llabs(number)).rightJustified(places, QLatin1Char('0'));
    return name.left(stemLength) + text + name.right(4);
}

QString ZeroFill(qint64 number, int width) {
    if (width <= 0) return {};
    QString text = QString::number(std::llabs(number)).rightJustified(10, QLatin1Char('0'));
    if (number < 0) text.prepend(QLatin1Char('-'));
    return text.right(width);
}

QString FixLen(const QString& text, int length) {
    if (length <= 0) return {};
    return text.leftJustified(length, QLatin1Char(' '), true);
}

QString GetVolSerial(const QString& drive) {
    const quint32 serial = Drives::VolumeSerial(drive).value_or(0);
    return QStringLiteral("%1").arg(serial, 8, 16, QLatin1Char('0')).toUpper();
}

QString VolCodeOfSerial(quint32 serial) {
    const qint32 signedSerial = qint32(serial);
    QString code;
    for (int k = 3; k >= 0; --k) {
        // An arithmetic shift is floor division by 256^k, also for negative serials.
        const qint64 quotient = qint64(signedSerial) >> (8 * k);
        const int letter = int(std::llabs(quotient) % 26);
        code += QChar((k == 3 ? 'A' : 'a') + letter);
    }
    return code;
}

QString GetVolCode(const QString& drive) {
    return VolCodeOfSerial(Drives::VolumeSerial(drive).value_or(0));
}

// ------------------------------------------------------------ picture size

namespace {

const uchar* at(const QByteArray& b, int offset) { return reinterpret_cast<const uchar*>(b.constData()) + offset; }

QSize bmpSize(const QByteArray& b) {
    if (b.size() < 26 || !b.startsWith("BM")) return {};
    const quint32 headerSize = qFromLittleEndian<quint32>(at(b, 14));
    qint64 width, height;
    if (headerSize == 12) {  // the old OS/2 header keeps 16-bit sizes
        width = qFromLittleEndian<quint16>(at(b, 18));
        height = qFromLittleEndian<quint16>(at(b, 20));
    } else {
        width = qFromLittleEndian<qint32>(at(b, 18));
        height = qFromLittleEndian<qint32>(at(b, 22));
        height = std::llabs(height);  // negative height: rows stored top-down
    }
    if (width <= 0 || width > INT_MAX || height > INT_MAX) return {};
    return QSize(int(width), int(height));
}

QSize gifSize(const QByteArray& b) {
    if (b.size() < 10 || !(b.startsWith("GIF87a") || b.startsWith("GIF89a"))) return {};
    return QSize(qFromLittleEndian<quint16>(at(b, 6)), qFromLittleEndian<quint16>(at(b, 8)));
}

bool isStartOfFrame(uchar marker) {
    // SOF0 to SOF15, except the Huffman table (C4), the reserved JPG (C8) and arithmetic table (CC) markers.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

QSize jpegSize(const QByteArray& b) {
    if (b.size() < 4 || uchar(b[0]) != 0xFF || uchar(b[1]) != 0xD8) return {};
    int pos = 2;
    while (pos < b.size()) {
        if (uchar(b[pos]) != 0xFF) return {};  // not at a marker: damaged
        while (pos < b.size() && uchar(b[pos]) == 0xFF) ++pos;  // fill bytes
        if (pos >= b.size()) return {};
        const uchar marker = uchar(b[pos++]);
        if (marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD9 || marker == 0xDA) return {};  // image data before any frame header
        if (pos + 2 > b.size()) return {};
        const int length = qFromBigEndian<quint16>(at(b, pos));
        if (length < 2) return {};
        if (isStartOfFrame(marker)) {
            if (length < 7 || pos + 7 > b.size()) return {};
            return QSize(qFromBigEndian<quint16>(at(b, pos + 5)), qFromBigEndian<quint16>(at(b, pos + 3)));
        }
        pos += length;
    }
    return {};
}

// Where the header nearly always lies, and enough for any header, also behind large
// metadata segments. The panel list measures every panel picture at each start: most are
// known from their first bytes, and only a picture with long metadata is read further.
constexpr qint64 kFirstHeaderRead = 64 * 1024;
constexpr qint64 kMaxHeaderRead = 8 * 1024 * 1024;

}  // namespace

QSize PictureSizeOf(const QByteArray& bytes, const QString& kind) {
    if (kind == QLatin1String("BMP")) return bmpSize(bytes);
    if (kind == QLatin1String("GIF")) return gifSize(bytes);
    if (kind == QLatin1String("JPG")) return jpegSize(bytes);
    return {};
}

void GetPicSize(const QString& file) {
    PictureWidth = 0;
    PictureHeight = 0;
    const QString kind = UCaseStr(GetExtName(file));
    if (kind != QLatin1String("BMP") && kind != QLatin1String("GIF") && kind != QLatin1String("JPG")) return;
    QFile picture(DirSearch::ResolveCase(file));
    if (!picture.open(QIODevice::ReadOnly)) return;
    QByteArray head = picture.read(kFirstHeaderRead);
    QSize size = PictureSizeOf(head, kind);
    if (!size.isValid() && head.size() == kFirstHeaderRead) {
        head += picture.read(kMaxHeaderRead - kFirstHeaderRead);
        size = PictureSizeOf(head, kind);
    }
    if (!size.isValid()) return;
    PictureWidth = size.width();
    PictureHeight = size.height();
}

// ------------------------------------------------------------ disc listing

int ListDiscFiles(const QString& pattern, QStringList& names, const DiscScanView& view) {
    constexpr int kFirstEntries = 11;
    const QString blanks(20, QLatin1Char(' '));
    names.clear();
    for (int i = 0; i < kFirstEntries; ++i) names << blanks;
    if (view.disableNumberLabel)
        for (int i = 1; i <= 9; ++i) view.disableNumberLabel(i);
    names[0] = QString();

    // The folder is the part before the last "/" even for a pattern without a "." ("*").
    const int slash = pattern.lastIndexOf(QLatin1Char('/'));
    const QString folder = DirSearch::ResolveCase(slash <= 0 ? pattern.left(slash + 1) : pattern.left(slash));
    const QStringList found = DirSearch::Names(folder, {GetFileName(pattern)}, DirSearch::Files);
    const bool onVcdDrive = !view.vcdFolder.isEmpty() && GetDrive(pattern) == GetDrive(view.vcdFolder);
    int count = 0;
    for (const QString& name : found) {
        if (view.showScanName) view.showScanName(name);
        while (names.size() <= count + 1) names << QString();
        names[count] = AddPath(folder, name);
        if (onVcdDrive && view.enableNumberLabel) view.enableNumberLabel(count);
        ++count;
    }
    names[count] = QString();
    if (view.showScanName) view.showScanName(QString());
    return count;
}
