#include "AssetWriter.h"

#include "DefinitionWriter.h"
#include "GifWriter.h"
#include "IconSet.h"
#include "MaskPainter.h"
#include "PanelDesigns.h"
#include "PanelPainter.h"
#include "ReadmeWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QList>
#include <QSaveFile>

namespace art {
namespace {

QString saveBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("cannot write %1").arg(path);
    return {};
}

std::optional<QByteArray> encodePicture(const PanelLayout &panel, const QImage &picture)
{
    if (panel.format == PictureFormat::Gif)
        return encodeGif(toIndexedWithKey(picture, panel.keyColour.rgb()));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool ok = panel.format == PictureFormat::Jpeg
                        ? picture.save(&buffer, "JPG", 92)
                        : picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    if (!ok)
        return std::nullopt;
    return bytes;
}

// Writes the picture into every folder given and the definition into the
// first, the Skin folder, where every definition is looked for.
QString writePanel(const PanelLayout &panel, const QList<QDir> &pictureDirs)
{
    const auto picture = encodePicture(panel, paintPanel(panel));
    if (!picture)
        return QStringLiteral("cannot encode %1").arg(panel.fileName);
    for (const QDir &dir : pictureDirs) {
        const QString error = saveBytes(dir.filePath(panel.fileName), *picture);
        if (!error.isEmpty())
            return error;
    }
    const auto definition = definitionFileBytes(panel);
    if (!definition)
        return QStringLiteral("definition of %1 has text outside CP950").arg(panel.fileName);
    return saveBytes(pictureDirs.first().filePath(definitionNameFor(panel.fileName)), *definition);
}

QString writeMasks(const QDir &maskDir)
{
    for (const MaskSpec &mask : drawMasks()) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!mask.image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"))
            return QStringLiteral("cannot encode %1").arg(mask.fileName);
        const QString error = saveBytes(maskDir.filePath(mask.fileName), bytes);
        if (!error.isEmpty())
            return error;
    }
    return {};
}

QString writeIcons(const QDir &iconDir)
{
    for (const IconSpec &icon : keyIcons()) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!paintIcon(icon).save(&buffer, "PNG"))
            return QStringLiteral("cannot encode %1").arg(icon.fileName);
        const QString error = saveBytes(iconDir.filePath(icon.fileName), bytes);
        if (!error.isEmpty())
            return error;
    }
    return {};
}

QString writeReadmes(const QDir &programDir, const QString &sourcePath)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1").arg(sourcePath);
    const QString text = QString::fromUtf8(source.readAll());
    const auto rtf = readmeRtf(text);
    const auto html = readmeHtml(text);
    if (!rtf || !html)
        return QStringLiteral("readme text has characters outside CP950");
    QString error = saveBytes(programDir.filePath(QStringLiteral("ReadMe.rtf")), *rtf);
    if (error.isEmpty())
        error = saveBytes(programDir.filePath(QStringLiteral("readme.htm")), *html);
    return error;
}

} // namespace

QString writeAllAssets(const QString &programDirPath, const QString &readmeSource)
{
    QDir programDir(programDirPath);
    for (const char *sub : {"Desk", "Skin", "Button Mask", "Icon"}) {
        if (!programDir.mkpath(QString::fromLatin1(sub)))
            return QStringLiteral("cannot create %1/%2").arg(programDirPath, QString::fromLatin1(sub));
    }
    const QDir skin(programDir.filePath(QStringLiteral("Skin")));
    const QDir desk(programDir.filePath(QStringLiteral("Desk")));
    const QString standard = defaultPanel().fileName;
    for (const PanelLayout &panel : skinPanels()) {
        // The default panel also lies in "Desk", where the player looks for it first.
        const QList<QDir> dirs = panel.fileName == standard ? QList<QDir>{skin, desk} : QList<QDir>{skin};
        const QString error = writePanel(panel, dirs);
        if (!error.isEmpty())
            return error;
    }
    QString error = writeMasks(QDir(programDir.filePath(QStringLiteral("Button Mask"))));
    if (error.isEmpty())
        error = writeIcons(QDir(programDir.filePath(QStringLiteral("Icon"))));
    if (error.isEmpty())
        error = writeReadmes(programDir, readmeSource);
    return error;
}

} // namespace art
