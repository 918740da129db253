#pragma once
// The song book scan: finds the song folders of a disc or folder and makes them the play
// folders; a CD-ROM disc seen before takes its folders from the CD-ROM library, a new one is
// recorded there (and in the music library) under a label the user confirms.

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class FrmSongLib;
class frmFindMusic;
class LibraryHost;

// The song book window's options for the label proposed for a new disc.
struct SongBookLabelOptions
{
    bool autoNumber = true;                     // "自動編號"
    QString prefix = QStringLiteral("MP3_");    // "冊號:"
    bool addVolumeLabel = true;                 // "加入原光碟標籤"
};

// The label proposed for the disc recorded after DiscCount others: "MP3_004(MYDISC)",
// "MP3_004", "MYDISC" or "".
QString ProposedSongBookLabel(const SongBookLabelOptions& options, int discCount, const QString& volumeLabel);

class SongBookScan
{
public:
    explicit SongBookScan(LibraryHost& host);
    ~SongBookScan();

    // Scans Path (a drive root or a folder) and returns the number of play folders put in
    // PlayArray (sorted by name). Prompts, messages and library files as the host says.
    int ScanMp3(const QString& Path, const SongBookLabelOptions& options);
    // The same with the song book window's options; its caption gets the song book title.
    int ScanMp3(const QString& Path, frmFindMusic& window);

    // Shows the label prompt and returns the answer; tests replace it.
    std::function<bool(FrmSongLib&)> askLabel;

    QStringList PlayArray;
    QString Title;          // the song book title of the last scan ("" when none)
    int DiscCount = 0;
    int MusicCount = 0;
    int MsgAnswer = 0;
    QDate FirstSongDate;
    QDate LastSongDate;

    FrmSongLib& prompt();

private:
    bool isDiscRoot(const QString& path) const;
    void readKnownDisc(const QString& discKey);
    void reuseFolders(const QString& path, const QString& discKey);
    // ForMusicLibrary: keep each folder's song files, as the scan lists them, for the music library.
    void scanFolders(const QString& path, bool forMusicLibrary);
    void recordDisc(const QString& path, const QString& discKey, const SongBookLabelOptions& options);
    // StoredFolders: the play folders as stored, below the disc's root.
    void appendToMusicLibrary(const QStringList& storedFolders);
    void finish();

    LibraryHost& host_;
    FrmSongLib* prompt_ = nullptr;
    QHash<QString, QStringList> songFiles_;  // of each folder the last scan found
    bool askingLabel_ = false;               // a scan waits for the label prompt
};
