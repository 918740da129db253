#pragma once
// The two song book files in the song folder: the CD-ROM library (an INI file of recorded
// discs and their song folders) and the music library (a growing list of folder header lines,
// each followed by the names of that folder's songs). Both are code page 950 with CR LF.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// "1A2B3C4D" -> "1A2B-3C4D": the disc key under which a disc is recorded.
QString DiscKeyOf(const QString& serial);

// A date in the system's short form, as the date range of a disc is stored.
QString ShortDate(const QDate& date);

// The CD-ROM library "CDROMLib.TXT": section "CDROM" with "DiscNum" and entries 1..DiscNum
// ("key,title,first~last"), and one section per disc key with "Title", "DirNumbers" and the
// folders 1..DirNumbers (below the disc's root, starting with "/").
class CdromLibrary
{
public:
    explicit CdromLibrary(QString path);

    // "DiscNum" of "CDROM"; 0 when missing or not a number (its leading digits count).
    int discCount() const;
    // "Title" of the disc's section; "" for a disc not yet recorded.
    QString title(const QString& discKey) const;
    // The stored folders 1..DirNumbers of the disc; a missing entry gives "". DirNumbers counts
    // no further than the section's own entries.
    QStringList folders(const QString& discKey) const;
    // The disc entries 1..DiscNum of "CDROM" ("key,title,first~last"; a missing one ""),
    // DiscNum bounded likewise.
    QStringList discEntries() const;

    // The stored folders that would not read back as written: code page 950 lacks one of
    // their characters, or blanks at their end (values are read trimmed).
    static QStringList foldersItCannotHold(const QStringList& storedFolders);

    // Records a new disc as number discCount() + 1: the "CDROM" count and entry and the
    // disc's own section, written together and safely. False when the file cannot be written
    // (the old file is then unchanged).
    bool recordDisc(const QString& discKey, const QString& title, const QString& dateRange,
                    const QStringList& storedFolders);

private:
    QString path_;
};

// One song folder as it goes into the music library.
struct MusicLibFolder
{
    QString storedFolder;   // the folder below the disc's root, starting with "/"
    QStringList songNames;  // file names without folder, in list order
};

namespace MusicLibrary {

// "NUM" of section "Music"; 0 when missing.
int readCount(const QString& path);

// The header line of a folder: "<Dir> " folder TAB " [" title "]".
QString headerLine(const QString& storedFolder, const QString& title);

// Appends each folder's header line and song names (one line each, CR LF) in one write,
// creating the file when missing. MusicCount grows by one per line written. False when the
// file cannot be written.
bool appendFolders(const QString& path, const QString& title, const QVector<MusicLibFolder>& folders,
                   int& musicCount);

}  // namespace MusicLibrary
