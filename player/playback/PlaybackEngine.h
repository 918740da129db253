#pragma once

#include "PlaybackRules.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class ClockTimer;
class DiscWatcher;
class FilePlayback;
class FileTransport;
class FrameCapture;
class FrmPlay;
class MciWnd;
class PlaybackHost;
struct LyricLookupSettings;
struct PlaybackState;

// The device volumes that SetAllVolume sets: each family's device count and
// the call that sets one device to a packed value.
class DeviceVolumes
{
public:
    virtual ~DeviceVolumes() = default;
    virtual int deviceCount(PlaybackRules::DeviceFamily family) const = 0;
    virtual void setVolume(PlaybackRules::DeviceFamily family, int device, quint32 packed) = 0;
};

// The playback engine of the player: media control, the media probe and
// disc events, track play and the transport commands, audio CDs, the play
// clock with its seek bar, file playback and frame capture. The
// main window owns it together with the state object of the playback globals
// and reaches it by the operation names below.
class PlaybackEngine : public QObject
{
    Q_OBJECT
public:
    // Sends one command string; the reply receives at most replyLength characters.
    using CommandSender = std::function<int(const QString &command, QString *reply, int replyLength)>;

    PlaybackEngine(PlaybackState &state, PlaybackHost &host, QObject *parent = nullptr);
    ~PlaybackEngine() override;

    PlaybackState &state() { return m_state; }
    PlaybackHost &host() { return m_host; }

    // Seams: file playback (PlayVCD, PlayMp3, ChkVCD, ChkMP3), the command
    // string channel, the device volumes, and the volume serial of a drive
    // (the lyric lookup's disc key). Each has a working default; nullptr
    // gives file playback back to filePlayback().
    void setFileTransport(FileTransport *transport);
    void setCommandSender(CommandSender sender);
    void setDeviceVolumes(DeviceVolumes *volumes);
    void setVolumeSerialSource(std::function<QString(const QString &drive)> serialOf);

    // The video window, made on first use.
    FrmPlay &frmPlay();
    // File playback and video sizing (PlayVCD, PlayMp3, PlayMp31, VCDResize,
    // ChkVCDSize, ChkVCD, ChkMP3), made with the engine.
    FilePlayback &filePlayback() { return *m_filePlayback; }
    // Frame capture and its settings dialog frmCutSet, made on first use.
    FrameCapture &frameCapture();
    // The watcher of disc arrival and removal; start() it once the window is up.
    DiscWatcher &discWatcher() { return *m_discWatcher; }
    // The 500 ms play clock of audio CDs.
    ClockTimer &Timer1() { return *m_timer1; }
    // Routes a media control's events to the handlers below.
    void connectControl(MciWnd *control);

    // --- Media control -------------------------------------------------
    void StopMedia();
    void ResetMedia();
    // Waits while events run; 0 or less lets events run once.
    void Delay(double seconds);
    void SetVolume();
    void SetAllVolume(int level);
    void MCIWnd1_ExtendedError(int code);
    void MCIWnd1_ExtendedModeChange(int mode);
    void MCIWnd1_Error(int code);
    void MCIWnd1_PositionChange();

    // --- Media probe, disc events and the tray ---------------------------
    void CheckCdrom(bool autoPlay);
    // A medium arrived in, or left, the drive named by its root; device, when
    // known, is the drive's device node, so that a disc mounted at a folder
    // still counts as the player's drive "/dev/sr0". Other drives are ignored.
    void SysInfo1_DeviceArrival(const QString &drive, const QString &device = {});
    void SysInfo1_DeviceRemoveComplete(const QString &drive, const QString &device = {});
    void EjectCd();

    // --- Track play and transport commands ----------------------------
    void PlayCd(int track);
    void PlayACD(int track);
    void ChkCD(int code);
    void ChkACD(int code);
    void ChkSeekNum(double frameRate);
    // Music-file mode with a file that is no video: its positions (ms at 10
    // units a second) read as hundredths, shown "mm:ss:cc", and its seek
    // step counts in hundredths, as the song files' rules say.
    bool musicInHundredths() const;

    // --- Play clock and seek bar ------------------------------------------
    // A song of music-file mode: its PlayArray entry and its index there.
    struct SongPlace
    {
        int entry = 0;
        int song = 0;
        bool operator==(const SongPlace &) const = default;
    };
    // The song that follows the current one at its end: the folder's next
    // song, else the next entry's first, and after the last entry the first.
    SongPlace songAfterCurrent() const;
    // Plays that song, as the clock does at the end of a song.
    void playSongAfterCurrent();
    // The video-CD track after the current one (after the last: the first), and its playing as
    // at the end of a track: the next track, else what the settings say at the end of the disc.
    int videoCdTrackAfterCurrent() const;
    void playVideoCdTrackAfterCurrent();

    void Timer1_Timer();
    void ShowTime();
    void ShowPoint();
    void ChkSeekTime(double ratio);
    void ChkSeek();

    // Sends one command string without a reply (file playback's tray command).
    void sendCommand(const QString &command) { send(command); }

    // The lookup settings of the lyric routines, as they stand now.
    LyricLookupSettings lyricSettings() const;
    // Looks up and loads the lyric file of a medium into SongList.
    void findLyric(const QString &mediaPath);
    // Slide show off when the lyric file exists; else the tool tip tells
    // where it would have to be and the slide show runs.
    void showLyricOrSlides();

    static constexpr int ModePlaying = 526;

private:
    // Command strings.
    void send(const QString &command);
    QString query(const QString &command);

    // Volume display after a volume command.
    void showVolume();
    // Speed commands of a video.
    void slowerVideo();
    void fasterVideo();
    // Previous and next in music-file mode.
    void previousSong();
    void nextSong();
    void playEntry(int entry, int song);
    // The first audio track of the disc (2 or later on a mixed disc).
    int firstAudioTrack();

    // Steps of the media probe; each returns true when it settled the kind.
    void prepareProbe();
    void readDiscIdentity();
    bool probeVideoCd(bool autoPlay);
    bool probeAudioCd(bool autoPlay);
    bool isAudioTrack(int track);
    int countAudioTracks(int tracks);
    void probeMusicFiles();
    bool isPlayerDrive(const QString &drive, const QString &device);

    // One clock step, by kind. A file's steps take the control's position and length as the
    // step read them: each reading of the position asks the media engine, which stops its
    // own work to answer.
    void clockStep();
    bool videoCdStep(qint64 position, qint64 length);    // true when the end of a file was handled
    bool audioCdStep(QString &cdMode);
    bool musicFileStep(qint64 position, qint64 length);  // true when the end of a file was handled
    void lyricStep(const QString &cdMode);
    void noMediumStep();
    void endOfVideoDisc();
    // Stops the ended item and waits a moment; false when the user started
    // another item meanwhile, which the clock then leaves playing.
    bool waitAtTheEnd(MciWnd *control);

    PlaybackState &m_state;
    PlaybackHost &m_host;
    FileTransport *m_files = nullptr;
    std::unique_ptr<FilePlayback> m_filePlayback;
    std::unique_ptr<FrameCapture> m_frameCapture;
    DiscWatcher *m_discWatcher = nullptr;
    CommandSender m_send;
    DeviceVolumes *m_volumes = nullptr;
    std::unique_ptr<DeviceVolumes> m_ownVolumes;
    std::function<QString(const QString &)> m_serialOf;
    std::unique_ptr<FrmPlay> m_frmPlay;
    ClockTimer *m_timer1 = nullptr;
    QString m_labelScan;        // LabelScan: scratch caption
    QString m_cdDevice;         // device node of the player's drive, once known
    int m_clockStepDepth = 0;   // a running clock step; nested steps do nothing
    bool m_stepMissed = false;  // a step came while one ran: one more follows it
};
