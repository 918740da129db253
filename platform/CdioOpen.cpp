#include "CdioOpen.h"

#include "Cp950.h"
#include "Leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QMutex>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cdio/cdio.h>

namespace {

// The data file the first FILE line of a cue sheet names, resolved beside the sheet; "" when
// the sheet names none or cannot be read. A sheet is a few lines: more is not a cue sheet.
QString cueDataFile(const QString& cue)
{
    QFile file(cue);
    if (file.size() > 64 * 1024 || !file.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression fileLine(QStringLiteral(R"re(^\s*FILE\s+(?:"([^"]+)"|(\S+)))re"),
                                             QRegularExpression::CaseInsensitiveOption
                                                 | QRegularExpression::MultilineOption);
    const auto match = fileLine.match(Cp950::decodeText(file.readAll()));
    if (!match.hasMatch()) return {};
    const QString named = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    return QFileInfo(QFileInfo(cue).dir(), named).absoluteFilePath();
}

// One private folder for the process; removed with it. The lock it holds inside tells a later
// start that a folder left by a killed run is no longer in use.
QTemporaryDir& aliasFolder()
{
    static QTemporaryDir folder(Leftovers::cueAliasFolderTemplate());
    static QLockFile owner(folder.filePath(Leftovers::cueAliasFolderLockName()));
    if (folder.isValid() && !owner.isLocked()) owner.tryLock(0);
    return folder;
}

QString aliasFor(const QString& cue, const QString& data)
{
    static QMutex lock;
    static QHash<QString, QString> made;
    const QMutexLocker guard(&lock);
    if (const auto found = made.constFind(cue); found != made.constEnd()) return *found;
    QTemporaryDir& folder = aliasFolder();
    if (!folder.isValid()) return {};
    const QString stem = folder.filePath(QString::number(made.size()));
    // The sheet is copied, not linked: the audio reader resolves a device that is a link
    // back to its target, whose name is the one libcdio cannot pair.
    if (!QFile::copy(cue, stem + QStringLiteral(".cue")) || !QFile::link(data, stem + QStringLiteral(".bin")))
        return {};
    made.insert(cue, stem + QStringLiteral(".cue"));
    return stem + QStringLiteral(".cue");
}

}  // namespace

QByteArray CdioSourcePath(const QByteArray& device)
{
    const QString path = QFile::decodeName(device);
    const QFileInfo info(path);
    if (info.suffix().compare(QLatin1String("cue"), Qt::CaseInsensitive) != 0 || !info.isFile()) return device;
    const QString cue = info.absoluteFilePath();
    const QString data = cueDataFile(cue);
    const QString expected = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".bin");
    if (data.isEmpty() || data == expected || !QFileInfo(data).isFile()) return device;
    const QString alias = aliasFor(cue, data);
    return alias.isEmpty() ? device : QFile::encodeName(alias);
}

CdIo_t* OpenCdio(const QByteArray& device)
{
    return cdio_open(CdioSourcePath(device).constData(), DRIVER_UNKNOWN);
}
