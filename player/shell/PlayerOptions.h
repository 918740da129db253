#pragma once
// The player's option list: every option with its store key, its default and the range a
// stored value must keep to. The settings dialog shows these values in its controls; the
// rest of the player reads the options that are in force from the dialog's committed set.

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace OptionKeys {
inline const QString Volume = QStringLiteral("Volume");
inline const QString DeskPic = QStringLiteral("DeskPic");
inline const QString FileTypeText = QStringLiteral("FileTypeText");
inline const QString FileType = QStringLiteral("FileType");
inline const QString SongTempDir = QStringLiteral("SongTempDir");
inline const QString CreatSongDir = QStringLiteral("CreatSongDir");
inline const QString ButtonTempDir = QStringLiteral("ButtonTempDir");
inline const QString CutDir = QStringLiteral("CutDir");
inline const QString DiskName = QStringLiteral("DiskName");
inline const QString ShowPic = QStringLiteral("ShowPic");
inline const QString AutoScan = QStringLiteral("AutoScan");
inline const QString SongBook = QStringLiteral("SongBook");
inline const QString AutoPlay = QStringLiteral("AutoPlay");
inline const QString MtvMode = QStringLiteral("MtvMode");
inline const QString GameCD = QStringLiteral("GameCD");
inline const QString AutoNum = QStringLiteral("AutoNum");
inline const QString DiscVol = QStringLiteral("DiscVol");
inline const QString ShowTime = QStringLiteral("ShowTime");
inline const QString ShowPicFile = QStringLiteral("ShowPicFIle");
inline const QString CutDelay = QStringLiteral("CutDelay");
inline const QString ListFile = QStringLiteral("ListFile");
}  // namespace OptionKeys

// One entry of the searched file types: "name (*.ext)" and whether it is selected.
struct FileTypeEntry
{
    QString text;
    bool selected = false;
    bool operator==(const FileTypeEntry&) const = default;
};

// A group of option buttons stored as one "True"/"False" key per button.
struct OptionGroup
{
    QStringList keys;        // one per button, in index order
    int designIndex = 0;     // the button chosen in the design (-1: none)
};

namespace OptionGroups {
const OptionGroup& ScanType();   // start-up probe: 0 search the CD drive, 1 the chosen device, 2 none
const OptionGroup& StopMode();   // end of disc: 0 repeat, 1 eject, 2 stop
const OptionGroup& ShowMode();   // picture change: 0 with the lyrics, 1 timed
const OptionGroup& History();    // CD-ROM song book: 0 automatic, 1 ask, 2 not used
}  // namespace OptionGroups

// The options of the settings dialog as plain values.
struct PlayerOptions
{
    QString DeskPic;
    QVector<FileTypeEntry> FileTypes;
    QString SongTempDir;
    int CreatSongDir = 0;
    QString ButtonTempDir;
    QString CutDir;
    int ScanType = 2;
    int StopMode = 0;
    int ShowMode = 0;
    int History = 0;
    QString DiskName;          // the chosen device (a drive root)
    int ShowPic = 1;
    int AutoScan = 1;
    int SongBook = 1;
    int AutoPlay = 1;
    int MtvMode = 1;
    int GameCD = 0;
    int AutoNum = 1;           // the song-book window's "自動編號"
    int DiscVol = 1;           // the song-book window's "加入原光碟標籤"
    int ShowTime = 5;          // seconds between pictures, 0 to 30
    QString ShowPicFile;
    QString CutDelay = QStringLiteral("1.0");
    bool operator==(const PlayerOptions&) const = default;
};

// Reads and writes single store values; the player uses the per-user settings store.
struct OptionStore
{
    std::function<QString(const QString& key, const QString& defaultValue)> get;
    std::function<void(const QString& key, const QString& value)> set;
};

namespace OptionRules {

// The eight built-in file types, always listed first.
const QVector<FileTypeEntry>& BuiltInFileTypes();
// Entries from this index on can be deleted; entries from BuiltInCount on are the user's.
inline constexpr int FirstDeletable = 7;
inline constexpr int BuiltInCount = 8;

// "True"/"False" of an option button; nullopt-like: *ok false when the text is neither.
bool parseButton(const QString& text, bool* ok);
// The chosen button after reading each key in index order (a button set True takes the
// choice; a chosen button read False leaves the group without a choice). A value that is
// neither "True" nor "False" keeps the button as it was.
int readGroup(const OptionStore& store, const OptionGroup& group);
void writeGroup(const OptionStore& store, const OptionGroup& group, int chosen);

// A check-box value 0, 1 or 2; anything else (no number, out of range) gives fallback.
int readCheck(const OptionStore& store, const QString& key, int fallback);
// The volume 0 to 1000; anything else gives 1000.
int readVolume(const OptionStore& store);
// The picture interval 0 to 30 seconds; anything else keeps current.
int readShowTime(const OptionStore& store, int current);
// The capture delay text, 0 to 10 seconds; anything else keeps current.
QString readCutDelay(const OptionStore& store, const QString& current);
// A folder option: an empty stored text counts as missing.
QString readFolder(const OptionStore& store, const QString& key, const QString& fallback);

// The file-type list: the built-in entries, then the user's; each entry's selection from
// "FileType" & i. An entry the user added that moved down to index 7 (after the built-in
// "MPEG (*.mpg)" was deleted) is kept as the user's entry.
QVector<FileTypeEntry> readFileTypes(const OptionStore& store);
// Every entry's selection and text, then the end mark "FileTypeText" & n = "". Entries
// without text are skipped (they would read as the end mark).
void writeFileTypes(const OptionStore& store, const QVector<FileTypeEntry>& list);

// The pattern of one entry: the five characters before the first ")" when the text holds
// "(*." and ")"; "" otherwise.
QString ChkExtName(const QString& text);
// The selected entries' patterns in list order, joined by ";", upper case.
QString ChkPatten(const QVector<FileTypeEntry>& list);

}  // namespace OptionRules
