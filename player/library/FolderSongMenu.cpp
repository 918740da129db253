#include "FolderSongMenu.h"

#include "ModFiles.h"
#include "SongFolderScan.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

bool ReadFolderSongs(const QString& folder, const QString& pattern, const QString& curMediaFile,
                     FolderSongs& songs)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable()) return false;
    songs.folder = folder;
    songs.songs = ListSongFiles(folder, pattern);
    songs.ticked.clear();
    // The full path is compared, so a name that is only part of another song's path is not ticked.
    for (const QString& name : songs.songs)
        songs.ticked << (!curMediaFile.isEmpty() && QDir::cleanPath(AddPath(folder, name)) == QDir::cleanPath(curMediaFile));
    return true;
}

int EntryIndexOf(const QStringList& playArray, const QString& folder, int fallback)
{
    const int index = playArray.indexOf(folder);
    return index < 0 ? fallback : index;
}

QVector<int> LabelsShowingEntry(const QStringList& labelCaptions, int item)
{
    QVector<int> labels;
    for (int i = 0; i < labelCaptions.size(); ++i) {
        bool ok = false;
        const int number = labelCaptions.at(i).trimmed().toInt(&ok);
        if (ok && number - 1 == item) labels << i;
    }
    return labels;
}

FolderSongMenu::FolderSongMenu(QObject* parent) : QObject(parent)
{
    mSele2 = new QMenu(QStringLiteral("選擇播放清單"));
    mSele2M = mSele2->addAction(QStringLiteral("選擇播放清單"));
    mSele2M->setEnabled(false);
    mSele2->addSeparator();
    QAction* first = mSele2->addAction(QStringLiteral("<1>"));
    first->setCheckable(true);
    connect(first, &QAction::triggered, this, [this] { emit songChosen(0, mSele2M->text()); });
    mSeleItem2 << first;
}

FolderSongMenu::~FolderSongMenu()
{
    delete mSele2;
}

void FolderSongMenu::Fill(const FolderSongs& songs)
{
    mSele2M->setText(songs.folder);
    for (int i = 1; i < mSeleItem2.size(); ++i) mSeleItem2.at(i)->setVisible(false);
    for (int i = 0; i < songs.songs.size(); ++i) {
        if (i >= mSeleItem2.size()) {
            QAction* item = mSele2->addAction(QString());
            item->setCheckable(true);
            connect(item, &QAction::triggered, this, [this, i] { emit songChosen(i, mSele2M->text()); });
            mSeleItem2 << item;
        }
        QAction* item = mSeleItem2.at(i);
        item->setText(songs.songs.at(i));
        item->setVisible(true);
        item->setChecked(songs.ticked.value(i));
    }
}

bool FolderSongMenu::ChkMp3Menu(int Index, bool Popup, const QString& mediaKind, const QString& keyToolTip,
                                const QString& pattern, const QString& curMediaFile, QMenu* entryMenu)
{
    if (mediaKind != QLatin1String("MP3")) return false;
    if (Index == 9) {
        if (Popup && entryMenu) popup(entryMenu);
        return entryMenu != nullptr;
    }
    QApplication::setOverrideCursor(Qt::BusyCursor);
    FolderSongs songs;
    const bool found = ReadFolderSongs(keyToolTip, pattern, curMediaFile, songs);
    if (found) Fill(songs);
    QApplication::restoreOverrideCursor();
    if (found && Popup) popup(mSele2);
    return found;
}

void FolderSongMenu::popup(QMenu* menu)
{
    ++popupCount;
    if (popupsEnabled) menu->popup(QCursor::pos());
}
