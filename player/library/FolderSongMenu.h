#pragma once
// In music-file mode: the song menu of a number-pad key's folder (a right click on the key),
// and the play list's ticks mirrored on the number pad and the entry menu.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

class QAction;
class QMenu;
class QWidget;

// The songs of one folder as the menu shows them.
struct FolderSongs
{
    QString folder;
    QStringList songs;      // file names in list order
    QVector<bool> ticked;   // the song now playing
};

// The songs of Folder matching Pattern; ticked is the song whose full path is CurMediaFile.
// False when Folder names no readable folder.
bool ReadFolderSongs(const QString& folder, const QString& pattern, const QString& curMediaFile,
                     FolderSongs& songs);

// The first entry of PlayArray equal to Folder; Fallback when there is none.
int EntryIndexOf(const QStringList& playArray, const QString& folder, int fallback);

// The number-pad labels whose caption shows entry Item (caption number minus 1 equals Item).
QVector<int> LabelsShowingEntry(const QStringList& labelCaptions, int item);

// The menus of the folder song menu: mSele2 with its caption line mSele2M and song items
// mSeleItem2 (kept loaded, hidden when not needed).
class FolderSongMenu : public QObject
{
    Q_OBJECT
public:
    explicit FolderSongMenu(QObject* parent = nullptr);
    ~FolderSongMenu() override;

    // Does nothing unless MediaKind is "MP3". Key 9 pops up EntryMenu (mSele1) when Popup;
    // another key fills the song menu from the folder in its tool tip and pops it up when
    // Popup. Returns whether a menu was prepared.
    bool ChkMp3Menu(int Index, bool Popup, const QString& mediaKind, const QString& keyToolTip,
                    const QString& pattern, const QString& curMediaFile, QMenu* entryMenu = nullptr);

    // Fills the menu from a folder's songs; a folder without songs keeps item 0 as it was.
    void Fill(const FolderSongs& songs);

    QMenu* mSele2 = nullptr;
    QAction* mSele2M = nullptr;
    QVector<QAction*> mSeleItem2;

    // False in tests: the menus are prepared but not popped up.
    bool popupsEnabled = true;
    int popupCount = 0;  // menus popped up (or that would have been)

signals:
    // A song item chosen: mSeleItem2_Click(Index) with the folder of mSele2M.
    void songChosen(int index, const QString& folder);

private:
    void popup(QMenu* menu);
};
