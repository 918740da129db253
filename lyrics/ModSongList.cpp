#include "ModSongList.h"

#include "FieldReader.h"
#include "LyricPaths.h"

#include <QFileInfo>

namespace {

constexpr int StampLength = 7;   // "mm:ss:t"
constexpr int CdRomDrive = 5;

QString serialOf(const QString &mediaPath, const LyricLookupSettings &settings)
{
    return settings.volumeSerialOf ? settings.volumeSerialOf(mediaPath)
                                   : LyricPaths::volumeSerialOf(mediaPath);
}

QString driveRootOf(const QString &mediaPath, const LyricLookupSettings &settings)
{
    return settings.driveRootOf ? settings.driveRootOf(mediaPath) : LyricPaths::driveRootOf(mediaPath);
}

// The name of the folder the medium lies in; empty for a drive's root folder.
QString mediaFolderName(const QString &mediaPath, const LyricLookupSettings &settings)
{
    const QString folder = LyricPaths::filePath(mediaPath);
    if (LyricPaths::samePath(folder, driveRootOf(mediaPath, settings)))
        return {};
    return LyricPaths::fileName(folder);
}

// The folder the player looks in when there is no lyric file beside the medium.
QString playerLyricDir(const QString &mediaPath, const LyricPlace &place, const LyricLookupSettings &settings)
{
    if (LyricPaths::dirExists(place.DiscLyricDir) || settings.DriveKind != CdRomDrive)
        return place.DiscLyricDir;
    if (settings.CreatSongDir != 1)
        return settings.ProgramFolder;

    // A folder that cannot be created is not reported: the lookup then simply
    // finds no file there.
    LyricPaths::makeDir(place.DiscLyricDir);
    const QString folderName = mediaFolderName(mediaPath, settings);
    if (folderName.isEmpty())
        return place.DiscLyricDir;
    const QString subFolder = LyricPaths::addPath(place.DiscLyricDir, folderName);
    if (!LyricPaths::dirExists(subFolder))
        LyricPaths::makeDir(subFolder);
    return subFolder;
}

} // namespace

QString DiscKey(const QString &serial)
{
    const QString upper = serial.toUpper();
    return upper.left(4) + QLatin1Char('-') + upper.right(4);
}

bool IsTimedLine(const QString &item)
{
    return item.size() >= 3 && item.at(2) == QLatin1Char(':');
}

void ReadLyric(LyricList &list, const QString &name)
{
    list.clear();
    if (!LyricPaths::fileExists(name))
        return;
    // The existence test ignores case; the file is read as it is spelt on the disc.
    const QString fileName = LyricPaths::existingSpelling(name);
    if (QFileInfo(fileName).size() == 0)
        return;
    bool ok = false;
    const QString text = LyricPaths::readText(fileName, &ok);
    if (!ok)
        return;
    // A damaged field (an unclosed quote) ends the load with what was read so far.
    const FieldReadResult read = ReadFields(text);
    for (const QString &field : read.fields) {
        if (!field.isEmpty())
            list.addItem(field);
    }
    if (list.count() > 0)
        list.setCurrentIndex(0);
}

void FindLyric(LyricList &list, const QString &mediaPath, const LyricPlace &place,
               const LyricLookupSettings &settings)
{
    list.clear();
    if (mediaPath.size() < 4)
        return;

    // First choice: beside the medium, its last three characters replaced by "txt".
    place.LyricFile = mediaPath.left(mediaPath.size() - 3) + QStringLiteral("txt");
    if (!LyricPaths::fileExists(place.LyricFile)) {
        const QString lyricName = LyricPaths::fileName(place.LyricFile);
        const QString key = DiscKey(serialOf(mediaPath, settings));
        if (settings.mode == LyricLookupMode::LyricTimer) {
            // The disc key "under the current drive's root" is the program's own
            // place, never the file system's root, where no user may write; a
            // caller without a program folder has the medium's folder.
            const QString home = settings.ProgramFolder.isEmpty() ? LyricPaths::filePath(mediaPath)
                                                                  : settings.ProgramFolder;
            place.DiscLyricDir = LyricPaths::addPath(home, key);
            place.LyricDir = place.DiscLyricDir;
        } else {
            place.DiscLyricDir = LyricPaths::addPath(settings.SongTempDir, key);
            place.LyricDir = playerLyricDir(mediaPath, place, settings);
        }
        place.LyricFile = LyricPaths::addPath(place.LyricDir, lyricName);
    }
    if (LyricPaths::fileExists(place.LyricFile)) {
        // The file found is the one remembered (and the one the lyric timer saves over).
        place.LyricFile = LyricPaths::existingSpelling(place.LyricFile);
        ReadLyric(list, place.LyricFile);
    }
}

DueLine ChkLyric(LyricList &list, bool check, const QString &playTimeText, SelectionPolicy policy)
{
    const int n = list.count();
    if (check) {
        for (int i = n - 1; i >= 1; --i) {
            const QString item = list.item(i);
            if (!item.isEmpty() && !IsTimedLine(item))
                return DueLine::damaged();
        }
    }

    const QString playStamp = playTimeText.left(StampLength);
    int due = 0;
    for (int i = n - 1; i >= 1; --i) {
        const QString item = list.item(i);
        if (IsTimedLine(item) && item.left(StampLength) <= playStamp) {
            due = i;
            break;
        }
    }

    const bool follow = policy == SelectionPolicy::Follow;
    if (due == 0) {
        if (follow && n >= 1)
            list.setCurrentIndex(0);
        return DueLine::none();
    }
    if (follow && due != list.currentIndex()) {
        // Selecting the next line first scrolls it into view below the due one.
        if (due + 1 < n)
            list.setCurrentIndex(due + 1);
        list.setCurrentIndex(due);
    }
    return DueLine::line(due);
}
