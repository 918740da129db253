#include "PictureFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace PictureFile {

namespace {

QImage readAs(QIODevice *device, const QByteArray &kind)
{
    QImageReader reader(device, kind.toLower());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace

QImage read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QImage picture = readAs(&file, QFileInfo(path).suffix().toLatin1());
    if (!picture.isNull())
        return picture;
    file.seek(0);
    return QImageReader(&file).read();
}

QImage fromData(const QByteArray &bytes, const char *kind)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readAs(&buffer, kind);
}

}  // namespace PictureFile
