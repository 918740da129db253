// Media control: stopping and closing media, the event-pumping wait, volumes,
// the media controls' events, and the tray.
#include "PlaybackEngine.h"

#include "CdDrive.h"
#include "Clock.h"
#include "DiscWatcher.h"
#include "Drives.h"
#include "FilePlayback.h"
#include "FrameCapture.h"
#include "FrmPlay.h"
#include "MciCommand.h"
#include "MciWnd.h"
#include "ModFiles.h"
#include "ModSongList.h"
#include "PlaybackHost.h"
#include "PlaybackState.h"
#include "VbRuntime.h"


namespace {

constexpr int ReplyLength = 20;
constexpr int FixedDisk = 3;
constexpr int CdRomDrive = 5;

// Without device-level mixers the media engine's volume is the device
// volume: the wave-out mapper sets both media controls, the auxiliary mapper
// (where the CD audio line is) the engine that plays the audio CD.
class ControlDeviceVolumes : public DeviceVolumes
{
public:
    explicit ControlDeviceVolumes(PlaybackEngine &engine) : m_engine(engine) {}
    int deviceCount(PlaybackRules::DeviceFamily) const override { return 0; }
    void setVolume(PlaybackRules::DeviceFamily family, int device, quint32 packed) override
    {
        const int level = int(Vb::RoundHalfEven((packed & 0xFFFF) * 1000.0 / 0xFFFF));
        if (family == PlaybackRules::DeviceFamily::Auxiliary && device == -1)
            cdDrive().setVolume(level);
        if (family != PlaybackRules::DeviceFamily::WaveOut || device != -1)
            return;
        m_engine.frmPlay().MCIWnd1()->setVolume(level);
        if (MciWnd *main = m_engine.host().mainMci())
            main->setVolume(level);
    }

private:
    PlaybackEngine &m_engine;
};

} // namespace

PlaybackEngine::PlaybackEngine(PlaybackState &state, PlaybackHost &host, QObject *parent)
    : QObject(parent), m_state(state), m_host(host), m_timer1(new ClockTimer(this))
{
    m_send = [](const QString &command, QString *reply, int replyLength) {
        return mciSendString(command, reply, replyLength);
    };
    m_ownVolumes = std::make_unique<ControlDeviceVolumes>(*this);
    m_volumes = m_ownVolumes.get();
    m_serialOf = [](const QString &drive) { return GetVolSerial(drive); };
    m_timer1->setInterval(500);
    connect(m_timer1, &ClockTimer::timeout, this, &PlaybackEngine::Timer1_Timer);
    m_filePlayback = std::make_unique<FilePlayback>(*this);
    m_files = m_filePlayback.get();
    m_discWatcher = new DiscWatcher(this);
    connect(m_discWatcher, &DiscWatcher::DeviceArrival, this, &PlaybackEngine::SysInfo1_DeviceArrival);
    connect(m_discWatcher, &DiscWatcher::DeviceRemoveComplete, this,
            &PlaybackEngine::SysInfo1_DeviceRemoveComplete);
}

PlaybackEngine::~PlaybackEngine() = default;

void PlaybackEngine::setFileTransport(FileTransport *transport)
{
    m_files = transport ? transport : m_filePlayback.get();
}

FrameCapture &PlaybackEngine::frameCapture()
{
    if (!m_frameCapture)
        m_frameCapture = std::make_unique<FrameCapture>(*this);
    return *m_frameCapture;
}

void PlaybackEngine::setCommandSender(CommandSender sender) { m_send = std::move(sender); }

void PlaybackEngine::setDeviceVolumes(DeviceVolumes *volumes)
{
    m_volumes = volumes ? volumes : m_ownVolumes.get();
}

void PlaybackEngine::setVolumeSerialSource(std::function<QString(const QString &)> serialOf)
{
    m_serialOf = std::move(serialOf);
}

FrmPlay &PlaybackEngine::frmPlay()
{
    if (!m_frmPlay)
        m_frmPlay = std::make_unique<FrmPlay>(*this);
    return *m_frmPlay;
}

void PlaybackEngine::connectControl(MciWnd *control)
{
    connect(control, &MciWnd::ExtendedError, this, &PlaybackEngine::MCIWnd1_ExtendedError);
    connect(control, &MciWnd::ExtendedModeChange, this, &PlaybackEngine::MCIWnd1_ExtendedModeChange);
    connect(control, &MciWnd::Error, this, &PlaybackEngine::MCIWnd1_Error);
    connect(control, &MciWnd::PositionChange, this, [this](qint64) { MCIWnd1_PositionChange(); });
}

void PlaybackEngine::send(const QString &command)
{
    m_send(command, nullptr, 0);
}

QString PlaybackEngine::query(const QString &command)
{
    QString reply;
    m_send(command, &reply, ReplyLength);
    m_state.MciReply = reply;
    return reply;
}

namespace {

// Stops a media control and lets go of its file.
void release(MciWnd *control)
{
    control->setCommand(QStringLiteral("Stop"));
    control->setFileName(QString());
    control->setCommand(QStringLiteral("Close"));
}

} // namespace

void PlaybackEngine::StopMedia()
{
    m_host.setSlideShowEnabled(false);
    m_host.hideBackPicture();
    release(frmPlay().MCIWnd1());
    if (MciWnd *main = m_host.mainMci())
        release(main);
    m_host.hideVideoPicture();
    send(QStringLiteral("Stop CDAudio wait"));
    send(QStringLiteral("close CDAudio wait"));
}

void PlaybackEngine::ResetMedia()
{
    m_host.setSlideShowEnabled(false);
    m_host.hideBackPicture();
    release(frmPlay().MCIWnd1());
    frmPlay().hide();
    if (MciWnd *main = m_host.mainMci())
        release(main);
    m_host.hideVideoPicture();
    send(QStringLiteral("Stop CDAudio wait"));
    send(QStringLiteral("close CDAudio wait"));
    frmPlay().hide();
    m_state.MediaCount = 0;
    m_host.ChkLab(true);
}

void PlaybackEngine::Delay(double seconds)
{
    // A wait that rounds to no time lets events run once instead of never ending.
    const double ms = Vb::RoundHalfEven(seconds * 1000.0);
    mediaClock().wait(ms > 0 ? int(qMin(ms, 3600000.0)) : 0);
}

void PlaybackEngine::SetVolume()
{
    if (MciWnd *control = m_state.ActiveMci) {
        const QString type = control->DeviceType();
        // A sequencer or a wave file follows the device volumes only.
        if (!type.toUpper().contains(QLatin1String("SEQ")) && type != QLatin1String("waveaudio"))
            control->setVolume(m_state.VolumeLevel);
    }
    SetAllVolume(m_state.VolumeLevel);
}

void PlaybackEngine::SetAllVolume(int level)
{
    using PlaybackRules::DeviceFamily;
    const auto calls = PlaybackRules::DeviceVolumeCalls(level, m_volumes->deviceCount(DeviceFamily::Auxiliary),
                                                        m_volumes->deviceCount(DeviceFamily::WaveOut),
                                                        m_volumes->deviceCount(DeviceFamily::MidiOut));
    for (const auto &call : calls)
        m_volumes->setVolume(call.family, call.device, call.packed);
}

void PlaybackEngine::MCIWnd1_ExtendedError(int code)
{
    m_state.MediaError = true;
    const QString name = GetFileName(m_state.CurMediaFile);
    if (code == MciWnd::ErrorUnreadableFormat) {
        m_host.setMessage(QStringLiteral("格式錯誤") + name);
        m_host.repaintMessage();
    } else if (code == MciWnd::ErrorNoDriver) {
        m_host.setMessage(QStringLiteral("錯誤") + name);
        m_host.repaintMessage();
        const QStringList advice = {
            QStringLiteral("找不到可供播放") + m_state.MediaKind + QStringLiteral("的驅動程式"),
            QStringLiteral("強烈建議安裝 MicroSoft Active Movie V1.0 以上版本! "),
            QStringLiteral("或安裝好Win95(98)時,不要再安裝其它VCD播放程式."),
            QStringLiteral("使用Win95(98)內建Active Movie V1.0(2.0)."),
            QStringLiteral("若您安裝的是其它的驅動程是可能導致部份功能喪失或當機!"),
        };
        m_state.MsgAnswer = qint16(m_host.ShowMsg(advice.join(QStringLiteral("\r\n")), QStringLiteral("ERROR")));
        // Only a file known to lie on a fixed disk may be offered for deletion:
        // the drive that matters is the file's, not the player's drive.
        const QString file = m_state.CurMediaFile;
        if (!file.isEmpty() && FileExist(file) && Drives::DriveType(file) == FixedDisk) {
            const QString prompt = QStringLiteral("若您已安裝驅動程式表式此檔以損壞!\r\n是否要刪除此檔?\r\n") + file;
            m_state.MsgAnswer = qint16(m_host.ShowMsg(prompt, QStringLiteral("yesno")));
            if (m_state.MsgAnswer == 6)
                DelFile(file);
        }
    } else {
        m_host.setMessage(QStringLiteral("ERROR:") + QString::number(code));
    }
    StopMedia();
    m_host.setMainEnabled(true);
}

void PlaybackEngine::MCIWnd1_ExtendedModeChange(int mode)
{
    if (mode == ModePlaying)
        m_state.PlayingFlag = true;
}

void PlaybackEngine::MCIWnd1_Error(int) {}

void PlaybackEngine::MCIWnd1_PositionChange()
{
    ShowTime();
}

void PlaybackEngine::EjectCd()
{
    frmPlay().hide();
    if (m_state.DriveKind == CdRomDrive) {
        m_state.MediaKind.clear();
        m_host.setMessage(QString());
        m_host.setMainEnabled(false);
        StopMedia();
        Delay(0.1);
    }
    const QString mode = query(QStringLiteral("Status CDAudio Mode")).trimmed().left(4).toUpper();
    query(QStringLiteral("Status CDAudio media present"));
    if (mode == QLatin1String("OPEN")) {
        m_host.setMessage(QStringLiteral("進片中,請稍後..."));
        m_host.repaintMessage();
        query(QStringLiteral("Open CDAudio "));
        query(QStringLiteral("Set CDAudio Door Closed"));
        Delay(0.1);
        query(QStringLiteral("Status CDAudio media present"));
    } else {
        m_state.SeekPos = 0;
        m_state.MediaLength = 0;
        m_state.TrackIndex = 0;
        m_state.MediaCount = 0;
        m_host.ChkLab(true);
        m_host.ChkLabColor(-1);
        m_host.setMessage(QStringLiteral("退片中,請稍後..."));
        m_host.repaintMessage();
        StopMedia();
        Delay(0.5);
        query(QStringLiteral("Open CDAudio "));
        query(QStringLiteral("Set CDAudio Door Open"));
        Delay(0.1);
    }
    Delay(0.1);
    m_host.setMainEnabled(true);
}

LyricLookupSettings PlaybackEngine::lyricSettings() const
{
    LyricLookupSettings settings;
    settings.SongTempDir = m_host.songTempDir();
    settings.CreatSongDir = m_host.creatSongDir();
    settings.DriveKind = m_state.DriveKind;
    settings.ProgramFolder = m_host.programFolder();
    // An audio-CD track is named under the player's drive, which is no mounted
    // folder: the disc is known by that drive.
    const QString cdDrive = m_state.CdDrive;
    const auto driveOf = [cdDrive](const QString &path) {
        if (!cdDrive.isEmpty() && path.startsWith(cdDrive))
            return cdDrive;
        return GetDrive(path);
    };
    const auto serialOf = m_serialOf;
    settings.volumeSerialOf = [driveOf, serialOf](const QString &path) { return serialOf(driveOf(path)); };
    settings.driveRootOf = driveOf;
    return settings;
}

void PlaybackEngine::findLyric(const QString &mediaPath)
{
    // A new medium starts at play time zero, and the line of the one before is no longer due.
    m_state.PlayTimeText = QStringLiteral("00:00:00");
    if (!m_state.LyricLine.isEmpty() && m_host.message() == m_state.LyricLine)
        m_host.setMessage(QString());
    m_state.LyricLine.clear();
    const LyricPlace place{m_state.LyricFile, m_state.LyricDir, m_state.DiscLyricDir};
    FindLyric(m_host.songList(), mediaPath, place, lyricSettings());
}
