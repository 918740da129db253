#include "FilePlayback.h"

#include "Clock.h"
#include "FrmPlay.h"
#include "MciWnd.h"
#include "ModFiles.h"
#include "ModTools.h"
#include "PlaybackEngine.h"
#include "PlaybackHost.h"
#include "PlaybackRules.h"
#include "PlaybackState.h"
#include "VbRuntime.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

const QString KindVcd = QStringLiteral("VCD");
const QString KindMusic = QStringLiteral("MP3");
// How long the message of a song that cannot be played stays before the next song starts.
constexpr int FailedSongMessageMs = 2000;

using PlaybackRules::NumberText;

QSize primaryScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

} // namespace

FilePlayback::FilePlayback(PlaybackEngine &engine)
    : m_engine(engine), m_state(engine.state()), m_host(engine.host())
{
}

int FilePlayback::screenClass() const
{
    if (const int fromPanel = m_host.screenClass())
        return fromPanel;
    const QSize screen = primaryScreenSize();
    return PlaybackRules::ScreenClassOf(screen.width(), screen.height());
}

int FilePlayback::screenHeight() const
{
    if (const int fromPanel = m_host.screenHeight())
        return fromPanel;
    return primaryScreenSize().height();
}

void FilePlayback::letEventsRun()
{
    m_engine.Delay(0);
}

// --- Videos ---------------------------------------------------------------

void FilePlayback::PlayVCD(const QString &file)
{
    const quint64 start = ++m_starts;
    if (!m_movingOn)
        m_firstFailed.reset();
    m_host.setCaptureMenusEnabled(true);
    m_engine.StopMedia();
    m_state.MediaError = false;  // set while the file is opened when it cannot be played
    m_state.CurMediaFile.clear();
    WriteLog(QStringLiteral("播放") + file);

    m_state.CurFileExt = UCaseStr(GetExtName(file));
    if (m_state.CurFileExt == QLatin1String("AVI"))
        m_state.FrameRate = 10;
    else if (m_state.CurFileExt == QLatin1String("MOV"))
        m_state.FrameRate = 15;
    else
        m_state.FrameRate = 30;

    const bool started =
        videoControl() == m_host.mainMci() ? playInPanel(file, start) : playInVideoWindow(file, start);
    if (!started)
        return;

    m_state.VcdFile = m_state.MediaKind == KindVcd ? file : GetFilePath(file);
    m_state.MediaTitle = m_state.VcdFile;
    if (m_state.MediaError && m_state.MediaKind == KindVcd)
        moveOnFromFailedTrack(start);
}

MciWnd *FilePlayback::videoControl()
{
    if (m_host.pictureAreaShown() && m_host.mainMci())
        return m_host.mainMci();
    return m_engine.frmPlay().MCIWnd1();
}

bool FilePlayback::playInVideoWindow(const QString &file, quint64 start)
{
    letEventsRun();
    m_engine.Delay(0.1);
    if (start != m_starts)
        return false;
    m_host.setPictureAreaVisible(false);
    MciWnd *control = m_engine.frmPlay().MCIWnd1();
    m_state.ActiveMci = control;

    control->setFileName(QString());
    control->setCommand(QStringLiteral("Close"));
    letEventsRun();
    m_engine.Delay(0.5);
    if (start != m_starts)
        return false;

    // The control takes the video's own size when it opens it.
    control->setAutosizeWindow(true);
    control->setFileName(file);
    control->setSpeed(m_state.PlaySpeed);
    m_state.NaturalWidth = control->width();
    m_state.NaturalHeight = control->height();

    // Every new file starts at its own size unless full screen was chosen.
    if (m_state.VideoWidth != screenClass()) {
        m_state.VideoWidth = m_state.NaturalWidth;
        m_state.VideoHeight = m_state.NaturalHeight;
    }
    VCDResize();
    m_engine.frmPlay().show();
    return playOpened(control, start);
}

bool FilePlayback::playInPanel(const QString &file, quint64 start)
{
    MciWnd *control = m_host.mainMci();
    m_state.ActiveMci = control;
    m_engine.Delay(0.5);
    if (start != m_starts)
        return false;

    control->setFileName(file);
    control->setSpeed(m_state.PlaySpeed);
    placeInPanel(control);
    m_host.setMainVisible(true);
    return playOpened(control, start);
}

void FilePlayback::placeInPanel(MciWnd *control)
{
    m_host.clearPictureArea();
    const QRect area = m_host.pictureArea();
    control->resize(area.size());
    m_host.showVideoPicture(area);
    control->show();
}

void FilePlayback::showVideoInPanel()
{
    MciWnd *control = m_host.mainMci();
    if (control && m_state.ActiveMci == control && m_host.pictureAreaShown() && !control->naturalSize().isEmpty())
        placeInPanel(control);
}

// The opened file plays at the user's volume, unless another start came meanwhile.
bool FilePlayback::playOpened(MciWnd *control, quint64 start)
{
    m_engine.SetVolume();
    m_engine.Delay(0.5);
    if (start != m_starts)
        return false;
    control->setCommand(QStringLiteral("Play"));
    letEventsRun();
    return true;
}

void FilePlayback::VCDResize()
{
    const int screenWide = screenClass();
    const int screenHigh = screenHeight();
    const QRect main = m_host.mainWindowRect();
    const double panelRight = main.x() + main.width();

    VideoLeft = panelRight;
    VideoTop = (screenHigh - m_state.VideoHeight) / 2;
    const double outerWidth = m_state.VideoWidth + m_state.VideoBorderWidth;
    const double outerHeight = m_state.VideoHeight + m_state.VideoBorderHeight;

    FrmPlay &window = m_engine.frmPlay();
    if (outerHeight < screenHigh) {
        window.setWindowTitle(m_state.VcdFile + QStringLiteral(" - ") + NumberText(m_state.VideoWidth)
                              + QStringLiteral(" X ") + NumberText(m_state.VideoHeight) + QStringLiteral(" (")
                              + NumberText(m_state.NaturalWidth) + QStringLiteral(" X ")
                              + NumberText(m_state.NaturalHeight) + QLatin1Char(')'));
    } else {
        window.setWindowTitle(QString());
    }

    // Nothing changed since the last sizing.
    if (m_state.ActiveMci && m_state.ActiveMci->width() == m_state.VideoWidth
        && LastVideoWidth == m_state.VideoWidth)
        return;

    if (panelRight + outerWidth > screenWide) {
        // No room right of the panel: centred on the screen.
        VideoLeft = qMax(0.0, (screenWide - outerWidth) / 2);
        VideoTop = (screenHigh - outerHeight) / 2;
    } else {
        // Centred in the free space right of the panel.
        const double screenWidth = primaryScreenSize().width();
        VideoLeft = panelRight + (screenWidth - panelRight - outerWidth) / 2;
    }
    letEventsRun();

    if (outerHeight < screenHigh) {
        window.setWindowState(Qt::WindowNoState);
        window.move(int(VideoLeft), int(VideoTop));
    } else {
        window.move(0, 0);
    }
    // The window manager draws the frame: the window's inside is the video.
    MciWnd *control = window.MCIWnd1();
    control->resize(int(m_state.VideoWidth), int(m_state.VideoHeight));
    window.resize(control->size());
    LastVideoWidth = m_state.VideoWidth;
}

void FilePlayback::ChkVCDSize()
{
    const int screenWide = screenClass();
    const double panelWidth = m_host.mainWindowRect().width();
    const double secondStep = Vb::Int(Vb::Int(m_state.NaturalHeight * 1.25) * 1.25);

    if (m_state.VideoHeight == secondStep && m_state.VideoWidth > 0) {
        // The width left beside the panel, keeping the picture's shape.
        const double ratio = m_state.VideoHeight / m_state.VideoWidth;
        m_state.VideoWidth = screenWide - panelWidth - 4 - 4;
        m_state.VideoHeight = Vb::Int(m_state.VideoWidth * ratio);
    }
    if (m_state.VideoWidth >= screenWide * 1.25) {
        m_state.VideoWidth = m_state.NaturalWidth;
        m_state.VideoHeight = m_state.NaturalHeight;
    }
    if (m_state.VideoWidth > screenWide - panelWidth - 8) {
        m_state.VideoWidth = screenWide;
        m_state.VideoHeight = screenHeight();
    }
    m_host.setCutPictureSize(int(m_state.VideoWidth), int(m_state.VideoHeight));
    VCDResize();
    m_host.setMessage(NumberText(m_state.VideoWidth) + QLatin1Char('X') + NumberText(m_state.VideoHeight));
}

// --- Transport --------------------------------------------------------------

void FilePlayback::ChkVCD(int code)
{
    fileTransport(code, true);
}

void FilePlayback::ChkMP3(int code)
{
    fileTransport(code, false);
}

void FilePlayback::fileTransport(int code, bool video)
{
    m_host.setMessage(QString());
    MciWnd *control = m_state.ActiveMci;
    switch (code) {
    case 0:
        if (control && !m_state.VcdFile.isEmpty()) {
            control->setCommand(QStringLiteral("Play"));
            m_host.setMessage(QStringLiteral("播放中"));
        }
        break;
    case 1:
        m_host.setMessage(QStringLiteral("停止"));
        if (control)
            control->setCommand(QStringLiteral("Stop"));
        m_state.PlayingFlag = false;
        // Ends a continuous frame capture, of a video-CD track or of a video met among songs.
        m_state.StoppedFlag = true;
        break;
    case 2:
    case 5:
        if (control)
            seekBy(code == 5);
        break;
    case 7:
        m_host.setMousePointer(13);
        m_engine.StopMedia();
        m_engine.frmPlay().hide();
        letEventsRun();
        m_engine.sendCommand(QStringLiteral("Set CDAudio Door Open Wait"));
        m_host.setMousePointer(0);
        break;
    default:
        break;
    }
}

void FilePlayback::seekBy(bool forward)
{
    MciWnd *control = m_state.ActiveMci;
    m_engine.ChkSeekNum(m_state.FrameRate);
    const double position = Vb::RoundHalfEven(double(control->Position()));
    m_state.MediaLength = Vb::RoundHalfEven(double(control->Length()));
    // The step in the control's position units.
    const double step = m_state.FrameRate * m_state.SeekStep;
    if (forward)
        m_state.SeekPos = qMin(position + step, m_state.MediaLength);
    else
        m_state.SeekPos = qMax(position - step, 0.0);

    control->setCommand(QStringLiteral("Stop"));
    control->setPosition(qint64(m_state.SeekPos));
    m_engine.Delay(0.1);
    if (m_state.PlayingFlag)
        control->setCommand(QStringLiteral("Play"));
}

// --- Music files ------------------------------------------------------------

void FilePlayback::PlayMp31()
{
    m_state.MediaKind = KindMusic;
    letEventsRun();
    m_host.ChkLab(true);
    m_engine.Delay(0.1);
    if (m_host.autoPlayAfterSearch()) {
        m_state.TrackIndex = 0;
        if (!m_state.PlayArray.isEmpty())
            PlayMp3(m_state.PlayArray.at(0).toString(), 0);
        m_engine.ShowTime();
        m_host.ChkMp3Menu(9, false);
    } else {
        m_host.setMessage(QStringLiteral("請選擇播放曲目 1~") + QString::number(m_state.MediaCount));
        m_host.AdjLabel();
    }
}

void FilePlayback::PlayMp3(const QString &folder, int song)
{
    const quint64 start = ++m_starts;
    if (!m_movingOn)
        m_firstFailed.reset();
    m_state.BusyFlag = true;
    m_state.FrameRate = 10;
    m_host.setMessage(QString());
    m_engine.StopMedia();

    m_state.CurFolder = folder;
    if (DirEx(m_state.CurFolder).isEmpty()) {
        m_state.MsgAnswer = qint16(m_host.ShowMsg(QStringLiteral("找不到 '") + m_state.CurFolder
                                                      + QStringLiteral("' 目錄"),
                                                  QStringLiteral("error")));
        moveOnFromFailedSong(start);
    } else {
        m_state.SongIndex = song;
        m_state.MediaTitle = folder;
        // A song may turn out to be a video: it is opened only on the
        // control that would show it, never on one that stays hidden.
        m_state.ActiveMci = videoControl();
        m_state.ActiveMci->setCommand(QStringLiteral("Stop"));
        m_state.ActiveMci->setCommand(QStringLiteral("Close"));

        const QString path = chooseSong();
        fillEntryMenu();
        m_state.CurMediaFile = path;
        m_state.CurFileExt = UCaseStr(GetExtName(path));
        WriteLog(QStringLiteral("播放-") + path);

        m_engine.findLyric(m_state.CurMediaFile);
        m_engine.showLyricOrSlides();
        followSlideFolder(path);

        if (!FileExist(path)) {
            // A play-list entry whose file has gone since: told, then on as from any song
            // that cannot be played.
            m_host.setMessage(QStringLiteral("找不到'") + path + QLatin1Char('\''));
            moveOnFromFailedSong(start);
        } else {
            openSong(path, start);
        }
    }
    m_host.setMainEnabled(true);
    m_state.BusyFlag = false;
}

QString FilePlayback::chooseSong()
{
    m_state.VcdFile = m_state.CurFolder;
    if (!m_state.VcdFile.isEmpty() && ChkDir(m_state.VcdFile) == m_state.VcdFile) {
        m_state.SongCount = m_host.UpdateMenu(m_state.VcdFile);
        m_host.setQuickSongMenuEnabled(true);
        return AddPath(m_state.VcdFile, m_host.songListEntry(int(m_state.SongIndex)));
    }
    m_state.SongCount = 0;
    m_host.setQuickSongMenuEnabled(false);
    return m_state.CurFolder;
}

void FilePlayback::fillEntryMenu()
{
    QStringList captions;
    for (int i = 0; i < m_state.MediaCount && i < m_state.PlayArray.size(); ++i)
        captions << QLatin1Char('<') + ZeroFill(i + 1, 2) + QLatin1Char('>') + m_state.PlayArray.at(i).toString();
    m_host.setPlayListItems(captions, int(m_state.TrackIndex));
    m_host.setPlayListMenuEnabled(m_state.MediaCount > 0);
}

void FilePlayback::followSlideFolder(const QString &song)
{
    const QString folder = GetFilePath(song);
    if (folder != m_host.slideFolder())
        m_host.setSlideFolder(folder);
    const QStringList pictures = m_host.slidePictures();
    if (pictures.size() >= 2) {
        m_host.setSlidePicture(AddPath(m_host.slideFolder(), pictures.first()));
        m_host.Image1ADJ();
    } else {
        const QString background = m_host.backgroundPictureFolder();
        if (!background.isEmpty() && !DirEx(background).isEmpty())
            m_host.setSlideFolder(background);
    }
}

void FilePlayback::openSong(const QString &song, quint64 start)
{
    MciWnd *control = m_state.ActiveMci;
    control->setCommand(QStringLiteral("Stop"));
    control->setCommand(QStringLiteral("Close"));
    control->setFileName(QString());
    letEventsRun();
    m_engine.Delay(0.5);
    if (start != m_starts)
        return;
    // Cleared before the file is opened: the control reports a bad file while
    // it opens it, and that report must not be lost.
    m_state.MediaError = false;
    control->setFileName(song);

    const bool video = control->DeviceType().contains(QLatin1String("Video"))
                       && !m_state.CurFileExt.contains(QLatin1String("MP3"));
    if (video) {
        control->setFileName(QString());
        PlayVCD(song);
        return;
    }
    m_engine.frmPlay().hide();
    // A song without pictures: nothing to capture until a video plays again.
    m_host.setCaptureMenusEnabled(false);
    m_engine.SetVolume();
    if (!m_state.MediaError) {
        m_engine.Delay(0.5);
        if (start != m_starts)
            return;
        control->setCommand(QStringLiteral("Play"));
    } else {
        m_host.setMessage(QStringLiteral("播放媒體錯誤"));
        moveOnFromFailedSong(start);
    }
}

void FilePlayback::moveOnFromFailedSong(quint64 start)
{
    moveOnFromFailure({int(m_state.TrackIndex), int(m_state.SongIndex)}, m_engine.songAfterCurrent(), KindMusic,
                      start, [this] { m_engine.playSongAfterCurrent(); });
}

void FilePlayback::moveOnFromFailedTrack(quint64 start)
{
    moveOnFromFailure({int(m_state.TrackIndex), 0}, {m_engine.videoCdTrackAfterCurrent(), 0}, KindVcd, start,
                      [this] { m_engine.playVideoCdTrackAfterCurrent(); });
}

void FilePlayback::moveOnFromFailure(PlaybackEngine::SongPlace failed, PlaybackEngine::SongPlace next,
                                     const QString &kind, quint64 start, std::function<void()> playNext)
{
    if (!m_firstFailed)
        m_firstFailed = failed;
    // A round in which nothing played ends here rather than going round again.
    if (next == *m_firstFailed)
        return;
    // Later, from the event loop: a long run of such songs must not nest one
    // start inside the other.
    mediaClock().singleShot(FailedSongMessageMs, [this, start, kind, playNext] {
        // Unless the user started something else meanwhile.
        if (start != m_starts || m_state.MediaKind != kind)
            return;
        m_movingOn = true;
        playNext();
        m_movingOn = false;
    }, &m_engine);
}
