#include "SafeFile.h"

#include <QFile>
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

bool write(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return false;
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
