#include "SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SafeFile {

QByteArray read(const QString& path, bool* ok) {
    QFile file(path);
    bool opened = !path.isEmpty() && file.open(QIODevice::ReadOnly);
    if (ok) *ok = opened;
    if (!opened) return QByteArray();
    QByteArray bytes = file.readAll();
    if (ok) *ok = file.error() == QFileDevice::NoError;
    return bytes;
}

namespace {
// The programs rewrite several files at every start (the media-driver entries, the built-in
// panel layout) that mostly hold these very bytes already; replacing such a file costs a
// flush to disk and a rename for nothing.
bool alreadyHolds(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != bytes.size()) return false;
    bool ok = false;
    return read(path, &ok) == bytes && ok;
}
}  // namespace

bool write(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return false;
    if (alreadyHolds(path, bytes)) return true;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool append(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    return file.write(bytes) == bytes.size();
}

}  // namespace SafeFile
