#pragma once

#include "LoadedMedia.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class MciWnd;

// The playback engine's globals, one instance owned by the main window; what the panel reads
// of them too is in LoadedMedia. Names are the ones the rest of the player knows them by.
struct PlaybackState : LoadedMedia
{
    // What is loaded
    QString CdDrive;                // the drive being played (a mount root)
    qint16 DriveKind = 0;           // 3 fixed disk, 5 optical
    QString VcdDir;                 // folder of video-CD track files
    QStringList VcdFiles;           // the track files found
    QString VcdFile;                // path or folder last handed to video playback

    // Where play stands
    double TrackIndex = 0;          // chosen track or entry minus 1
    double SongIndex = 0;           // song within a folder entry
    double SongCount = 0;           // songs in the current folder
    QString CurFolder;
    QString CurMediaFile;           // the file being played, "" for a CD track
    QString CurFileExt;             // its upper-case extension
    QString MediaTitle;
    double SeekTarget = 0;
    double SeekStep = 0;
    float FrameRate = 1000;         // position units per second of the loaded file

    // Volume and speed
    qint16 VolumeLevel = 1000;      // 0..1000
    qint16 PlaySpeed = 1000;        // 1000 = normal

    // Flags
    bool PlayingFlag = false;
    bool CdPaused = false;
    bool MediaError = false;
    bool BusyFlag = false;
    bool KnobHeld = false;          // the user holds the seek knob
    bool StoppedFlag = false;

    MciWnd *ActiveMci = nullptr;    // the media window control in use

    // Video
    double VideoWidth = 0;
    double VideoHeight = 0;
    double NaturalWidth = 354;
    double NaturalHeight = 242;

    // Lyrics
    QString LyricFile;
    QString PlayTimeText;
    QString LyricDir;               // the folder the last lyric lookup looked in
    QString DiscLyricDir;           // the disc-key folder under the song folder
    QString LyricLine;              // the lyric line last shown, without its stamp

    // Play clock
    QString PosText;                // position text shown in Label2(0)
    QString LenText;                // length text shown in Label2(1)
    qint16 LastTrack = 0;           // audio-CD track whose lyric file was last looked up

    // Frame capture
    QString CutFolder;
    QString CutFile;
    qint16 CutGrid = 0;
    double CaptureWidth = 0;
    double CaptureHeight = 0;
    QString CutPicFile;

    // Video window frame allowances and the first sizing of a video (set at start-up)
    double VideoBorderWidth = 8;
    double VideoBorderHeight = 27;
    bool VideoFirstSizing = true;

    qint16 MsgAnswer = 0;           // last answer of ShowMsg (6 = Yes)
    int ListEntryCount = 0;         // entries handed over by the play-list editor
};
