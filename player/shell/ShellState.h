#pragma once
// The player shell's globals, one instance owned by the main window. The panel engine's and
// the playback engine's globals live in their own state objects.

#include <QString>

struct ShellState
{
    QString WinVersion;      // "" here: there is no Windows version

    // Option globals the settings dialog fills
    QString SongTempDir;     // the song folder: song books and lyric folders lie in it
    QString PlayerTempDir;   // the Windows folder's Temp/Quorvel Temp
    QString CdromLibFile;    // SongTempDir/CDROMLib.TXT
    QString MusicLibFile;    // SongTempDir/MusicLib.TXT
    QString PicFolder;       // picture folder of the picture area (or its first picture)
    QString SongPattern;     // selected song-file patterns joined by ";", upper case
    qint16 CreatSongDir = 0; // build the lyric mapping folder

    // The last folder search, shown in the context menu
    QString SearchDrive;
    QString SearchFolder;
};
