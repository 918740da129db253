#pragma once

#include "FileTransport.h"
#include "PlaybackEngine.h"

#include <QString>

#include <functional>
#include <optional>

class MciWnd;
class PlaybackHost;
struct PlaybackState;

// Media files through the media window control: the tracks of a video CD and
// other videos (PlayVCD), songs of a folder or play list (PlayMp3, PlayMp31),
// their transport commands (ChkVCD, ChkMP3), and the size and place of the
// video picture (VCDResize, ChkVCDSize). A video plays inside the panel when
// the panel shows its picture area, else in the video window FrmPlay.
class FilePlayback : public FileTransport
{
public:
    explicit FilePlayback(PlaybackEngine &engine);

    void PlayVCD(const QString &file) override;
    void PlayMp3(const QString &folder, int song) override;
    void ChkVCD(int code) override;
    void ChkMP3(int code) override;
    void PlayMp31();
    void VCDResize();
    void ChkVCDSize();
    // A video playing inside the panel goes (back) into the panel's picture area as it is now:
    // after the panel's objects were hidden and laid out again, as a panel change does.
    void showVideoInPanel();

    // The screen-size class and height in pixels as the sizing uses them.
    int screenClass() const;
    int screenHeight() const;

    // Where VCDResize last placed the video window, in pixels.
    double VideoLeft = 0;
    double VideoTop = 0;
    double LastVideoWidth = 0;

private:
    // ChkVCD and ChkMP3 are one routine; only ChkVCD notes a user's stop.
    void fileTransport(int code, bool video);
    void seekBy(bool forward);
    // Each returns false when a later start began while it waited.
    bool playInVideoWindow(const QString &file, quint64 start);
    bool playInPanel(const QString &file, quint64 start);
    bool playOpened(MciWnd *control, quint64 start);
    void placeInPanel(MciWnd *control);
    // Songs of a folder entry, or the entry itself; returns the song path.
    QString chooseSong();
    void fillEntryMenu();
    void followSlideFolder(const QString &song);
    void openSong(const QString &song, quint64 start);
    // A song that cannot be played: after a moment to read why, the next one
    // plays, as at the end of a song, until a whole round has failed.
    void moveOnFromFailedSong(quint64 start);
    // The same for a video-CD track that cannot be played (a damaged disc's).
    void moveOnFromFailedTrack(quint64 start);
    // What both share: the failed place, the place that would play next, the kind of
    // medium that must still be playing when the moment is over, and how to play on.
    void moveOnFromFailure(PlaybackEngine::SongPlace failed, PlaybackEngine::SongPlace next, const QString &kind,
                           quint64 start, std::function<void()> playNext);
    // The control a video of the current panel shows on: the panel's own
    // over its picture area, else the video window's.
    MciWnd *videoControl();
    void letEventsRun();

    PlaybackEngine &m_engine;
    PlaybackState &m_state;
    PlaybackHost &m_host;
    // Starts of a song or video so far. A start lets events run while it
    // waits, so a key pressed meanwhile can begin a later one; the earlier
    // start then gives up rather than open its file under the later title.
    quint64 m_starts = 0;
    // The first of the songs that failed one after another since a song was
    // last chosen or reached by playing on; moving on stops before it.
    std::optional<PlaybackEngine::SongPlace> m_firstFailed;
    bool m_movingOn = false;  // PlayMp3 or PlayVCD is moving on from a failed song or track
};
