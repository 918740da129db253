#pragma once
// Path, file and disc helpers shared by every program.
//
// Paths are native: "/" is the only separator these helpers know. A drive is
// the root of the mounted volume that holds a path (GetDrive); where a caller
// would take "the first two characters" of a path as its drive, it calls
// GetDrive instead. Wildcard names ("*", "?") and names spelt with a fixed case
// are matched without regard to case; names starting with "." are hidden.
// None of these functions throws.

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

// Set by GetPicSize: the pixel size of the last picture measured, 0 x 0 when
// the file could not be measured.
extern int PictureWidth;
extern int PictureHeight;

// The Windows folder stand-in, without a trailing "/".
QString GetWinDir();

// The first name a directory search for Path finds, folders included, hidden
// names not; "" when nothing matches. Path may end in a wildcard name; a Path
// ending in "/" names the folder itself ("." for an existing folder that is not
// a drive root, the first entry for a drive root).
QString DirEx(const QString& path);

QString UCaseStr(const QString& text);

// Path below the root of the volume that holds it ("" for a drive root);
// Path unchanged when it is not an absolute path.
QString CutDrive(const QString& path);

// The drive (mount root) that holds Path; "" for an empty or relative path.
QString GetDrive(const QString& path);

// A drive (mount root) and a path below it joined with exactly one "/"; the
// drive alone when Below is empty. The root "/" gives "/tmp/x", never "//tmp/x".
QString BelowDrive(const QString& drive, const QString& below);

// The part after the last "/"; the whole Path when it has none.
QString GetFileName(const QString& path);

// When Path contains a ".": the part before its last "/"; otherwise, or when
// it holds no "/", Path unchanged.
QString GetFilePath(const QString& path);

// Up to three characters after the first "." among the last five characters,
// in lower case; "" for names shorter than five characters or without such a ".".
QString GetExtName(const QString& name);

// True when Path is not empty, contains ".", and a search among ordinary
// (not hidden) files finds a first name that contains ".".
bool FileExist(const QString& path);

// Path when it names an existing folder, else "". A wildcard Path is judged by
// the first name found.
QString ChkDir(const QString& path);

// Creates the one folder Path (its parent must exist); failures are ignored.
void MakeDir(const QString& path);

// Deletes the file Path (found without regard to case) when its name contains
// ".", clearing its read-only state first. False when nothing was deleted.
bool DelFile(const QString& path);

// Folder joined with the file-name part of File, without doubling a "/";
// Folder alone when that part is empty.
QString AddPath(const QString& folder, const QString& file);

// The next numbered file name: Name ends in a four-character extension
// (".BMP"), the number is the digit run before it. Digits is updated to the
// length of that run when there is one. Step 0 restarts at 0.
// ("Panel-00.Bmp", 1, 2) -> "Panel-01.Bmp"; ("Cut99.BMP", 1, 2) -> "Cut100.BMP".
QString AddFileNum(const QString& name, int step, int& digits);

// The number with ten digits and leading zeros, cut to its last Width characters.
QString ZeroFill(qint64 number, int width);

// Text padded with blanks or cut to exactly Length characters.
QString FixLen(const QString& text, int length);

// The volume serial of the drive (any path on it will do) as eight upper-case
// hex digits; "00000000" when it cannot be read.
QString GetVolSerial(const QString& drive);

// Four letters made from the volume serial: one upper-case, three lower-case.
QString GetVolCode(const QString& drive);
// The same code for a given serial (serial 0 gives "Aaaa", 0xFFFFFFFF "Bbbb").
QString VolCodeOfSerial(quint32 serial);

// Measures a BMP, GIF or JPG picture (the kind from the name's extension) and
// leaves its size in PictureWidth / PictureHeight; 0 x 0 for other kinds and
// for damaged or missing files.
void GetPicSize(const QString& file);
// The same measurement as a value, from the file's bytes and the kind ("BMP",
// "GIF" or "JPG"); an empty size when it cannot be read.
QSize PictureSizeOf(const QByteArray& bytes, const QString& kind);

// What ListDiscFiles reports to the window that shows the scan; every member is optional.
struct DiscScanView {
    // The video-CD folder: files found on its drive enable their number-pad labels.
    QString vcdFolder;
    std::function<void(int)> disableNumberLabel;  // called for 1 to 9 before the scan
    std::function<void(int)> enableNumberLabel;   // called with each found file's index
    std::function<void(const QString&)> showScanName;  // each name found, then ""
};

// Lists the files matching Pattern (a folder and a wildcard name) into Names
// as full paths, in name order, and returns their number. Names ends with an
// empty entry and has at least eleven entries; unused ones among the first
// eleven hold 20 blanks.
int ListDiscFiles(const QString& pattern, QStringList& names, const DiscScanView& view = {});
