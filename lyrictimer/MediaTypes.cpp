#include "MediaTypes.h"

#include "ModFiles.h"
#include "VbRuntime.h"

#include <QRegularExpression>

namespace MediaTypes {

QStringList TypeNames()
{
    return {
        QStringLiteral("Audio (*.wav,*.snd,*.au,*.alf,*.aifc,*.aiff)"),
        QStringLiteral("MIDI (*.mid,*.rmi)"),
        QStringLiteral("MP3 (*.mp3)"),
        QStringLiteral("Real Media (*.ra,*.rm,*.rmm)"),
        QStringLiteral("Windows Media (*.asf,*.asx)"),
        QStringLiteral("Audio CD (*.cda)"),
    };
}

QString typePattern(const QStringList &tickedNames)
{
    QString pattern;
    for (const QString &name : tickedNames)
        pattern += name + QStringLiteral("\r\n");
    return pattern;
}

bool matchesPattern(const QString &fileName, const QString &pattern)
{
    const QString extension = GetExtName(fileName);
    if (extension.isEmpty())
        return false;
    // Compared without regard to case: discs spell extensions freely.
    return pattern.contains(QStringLiteral("*.") + extension, Qt::CaseInsensitive);
}

QStringList playableFiles(const QStringList &fileNames, const QString &pattern)
{
    QStringList playable;
    for (const QString &name : fileNames)
        if (matchesPattern(name, pattern))
            playable << name;
    return playable;
}

QString entryPath(const QString &folder, const QString &name)
{
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

bool isCdTrack(const QString &path) { return GetExtName(path) == QStringLiteral("cda"); }

int cdTrackNumber(const QString &path)
{
    // "Track05.cda": the one or two digits just before the extension.
    static const QRegularExpression trackDigits(QStringLiteral("(\\d{1,2})\\.[^.]*$"));
    const QRegularExpressionMatch match = trackDigits.match(GetFileName(path));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QString lastFolderName(const QString &folder)
{
    QString path = folder;
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    if (path == QStringLiteral("/") || path == GetDrive(path))
        return {};
    return path.mid(path.lastIndexOf(u'/') + 1);
}

} // namespace MediaTypes
