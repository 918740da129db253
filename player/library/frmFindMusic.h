#pragma once
// The song-book window: the recorded discs, song and album searches of the music library, and
// the two options the song-book scan reads when it proposes the label of a new disc.

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTreeWidget;

class frmFindMusic : public QWidget
{
    Q_OBJECT
public:
    explicit frmFindMusic(QWidget* parent = nullptr);

    // Fills the disc list from the CD-ROM library file: "DiscNum" of section "CDROM", then one
    // row per numbered entry "serial,label,date" (entries without "," are skipped).
    void ReadDiscList(const QString& cdromLibFile);

    // The library files the searches read (the song folder's CDROMLib.TXT and MusicLib.TXT);
    // ReadDiscList names both from the CD-ROM library's folder.
    void SetLibraryFiles(const QString& cdromLibFile, const QString& musicLibFile);
    // The caption "歌本管理 - " and the song book title.
    void SetSongBookTitle(const QString& title);

    // Song and album searches with the text of Text1; the status line shows the count.
    void FindSong();
    void FindAlbum();

    // Hides the window and gives the windows it disabled back to the user.
    void CloseForm();

    // Sorts a list by a column; each click flips the order, the first one ascending.
    void ListView_ColumnClick(QTreeWidget* list, int column);

    int DiscCount = 0;
    int MusicCount = 0;

    QLineEdit* Text1 = nullptr;       // search text
    QPushButton* Command1 = nullptr;  // "開始搜尋" songs
    QPushButton* Command3 = nullptr;  // "開始搜尋" albums
    QCheckBox* Check1 = nullptr;      // "自動編號"
    QCheckBox* Check2 = nullptr;      // "加入原光碟標籤"
    QLineEdit* Text2 = nullptr;       // volume prefix
    QTreeWidget* ListView1 = nullptr; // search results
    QTreeWidget* ListView2 = nullptr; // discs
    QStatusBar* StatusBar1 = nullptr;
    QPushButton* Command2[3] = {};    // "匯出歌本", "匯入歌本", "放棄"

signals:
    // Hidden by CloseForm: the opener enables itself (and the main window when needed).
    void closed();
    // Closed by its close box: the player's options, these boxes among them, are stored.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void readCounts();
    void showRows(const struct SongBookSearchResult& result, const QString& countText);

    QString cdromLibFile_;
    QString musicLibFile_;
};
