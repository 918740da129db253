#pragma once
// Searches of the music library text: songs or song folders (albums) whose line holds a text.

#include <QString>
#include <QVector>

struct SongBookRow
{
    QString text;    // the song or album name
    QString second;  // the folder (songs) or the singer (albums)
    QString third;   // the song book title (songs) or the folder (albums)
};

struct SongBookSearchResult
{
    QVector<SongBookRow> rows;
    int count = 0;  // songs: every line read; albums: matching folders
};

// The singer and album parts of a folder text such as "/Pop/Singer-Album" or "(Singer)Album".
struct AlbumParts
{
    QString singer;
    QString album;
};
AlbumParts SplitAlbum(const QString& folder);

// Every line holding Search (any case; "" matches all), with the folder and title of the
// nearest header line above it.
SongBookSearchResult FindSongIn(const QString& musicLibText, const QString& search);
// Every header line holding Search, split into album and singer.
SongBookSearchResult FindAlbumIn(const QString& musicLibText, const QString& search);
