// The media probe: what is in the player's drive or the chosen folder, and
// the arrival and removal of a disc.
#include "PlaybackEngine.h"

#include "Drives.h"
#include "FilePlayback.h"
#include "FrmPlay.h"
#include "ModFiles.h"
#include "ModTools.h"
#include "PlaybackHost.h"
#include "PlaybackState.h"
#include "VbRuntime.h"
#include "VcdDisc.h"

#include <algorithm>

namespace {

constexpr int CdRomDrive = 5;

// "1A2B-3C4D" of a volume serial's eight digits.
QString discKey(const QString &serial)
{
    const QString upper = serial.toUpper();
    return upper.left(4) + QLatin1Char('-') + upper.right(4);
}

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

// The track files of a video CD: as the file system lists them where the
// disc is mounted (or a folder is probed), else from the disc's own file
// system, read through the drive's device or the disc image.
int listTrackFiles(const QString &pattern, QStringList &names)
{
    const int listed = ListDiscFiles(pattern, names);
    if (listed > 0)
        return listed;
    const QStringList onDisc = unmountedDiscFiles(pattern);
    if (!onDisc.isEmpty())
        names = onDisc;
    return int(onDisc.size());
}

} // namespace

void PlaybackEngine::CheckCdrom(bool autoPlay)
{
    prepareProbe();
    if (m_state.DriveKind == CdRomDrive)
        readDiscIdentity();
    Delay(0.1);
    m_state.MediaCount = 0;
    m_state.MixedDisc = false;

    if (!probeVideoCd(autoPlay) && !probeAudioCd(autoPlay))
        probeMusicFiles();
    m_host.setMainEnabled(true);
}

void PlaybackEngine::prepareProbe()
{
    frmPlay().hide();
    m_state.MediaLength = 0;
    m_state.SeekPos = 0;
    m_state.TrackIndex = 0;
    m_state.MediaCount = 0;
    m_host.ChkLab(true);
    m_host.ChkLabColor(-1);
    m_host.setCaptureMenusEnabled(false);
    m_host.setMainEnabled(false);
    m_host.setPictureAreaVisible(false);
    for (int label : {0, 1, 2})
        m_host.setTimeLabelVisible(label, true);
    m_host.showSpeedKeyIcons();
    StopMedia();
    m_state.MciReply = QString(20, QLatin1Char(' '));
    m_state.MediaKind.clear();
    m_host.setControlToolTip(11, QStringLiteral("左鍵下一首,右鍵速度選單"));
    m_host.setControlToolTip(10, QStringLiteral("左鍵上一首,右鍵速度選單"));
    m_state.FrameRate = 1000;
}

void PlaybackEngine::readDiscIdentity()
{
    const QString serial = m_serialOf(m_state.CdDrive);
    const QString key = discKey(serial);
    m_host.setMessage(QStringLiteral("讀取裝置資訊中..."));
    WriteLog(QStringLiteral("讀取裝置資訊中..."));
    m_host.AdjLabel();
    Delay(0.1);
    m_host.setMessage(QStringLiteral("光碟序號 ") + key);
    if (key != QLatin1String("0000-0000"))
        WriteLog(QStringLiteral("找到裝置序號") + key);
    // The disc's captures are named after it.
    bool ok = false;
    const quint32 number = serial.toUInt(&ok, 16);
    m_state.CutFile = AddPath(m_state.CutFolder, VolCodeOfSerial(ok ? number : 0) + QStringLiteral("000.BMP"));
    m_host.repaintMessage();
}

bool PlaybackEngine::probeVideoCd(bool autoPlay)
{
    WriteLog(QStringLiteral("檢查是否是VCD"));
    QStringList names;
    if (m_host.probeVideoCds() && m_state.DriveKind == CdRomDrive && m_state.MediaCount == 0) {
        if (m_state.VcdDir.isEmpty())
            m_state.VcdDir = AddPath(m_state.CdDrive, QStringLiteral("Mpegav"));
        m_state.MediaCount = qint16(listTrackFiles(AddPath(m_state.VcdDir, QStringLiteral("*.Dat")), names));
    }
    if (m_state.MediaCount < 1)
        return false;

    WriteLog(QStringLiteral("找到VCD"));
    // The tracks in name order, as the sorted list box gives them.
    QStringList tracks = names.mid(0, m_state.MediaCount);
    std::sort(tracks.begin(), tracks.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    m_state.VcdFiles = tracks;
    m_state.PlayArray.clear();
    for (const QString &track : tracks)
        m_state.PlayArray << QVariant(track);

    m_state.MediaKind = QStringLiteral("VCD");
    m_host.setMessage(QStringLiteral("影音光碟"));
    m_host.repaintMessage();
    m_host.ChkLab(true);
    m_host.setControlToolTip(11, QStringLiteral("加速"));
    m_host.setControlToolTip(10, QStringLiteral("減速"));
    if (m_host.autoPlayAfterSearch() && autoPlay) {
        PlayCd(1);
    } else {
        m_host.setMessage(QStringLiteral("請選擇播放曲目 1~") + QString::number(m_state.MediaCount));
        m_host.AdjLabel();
    }
    return true;
}

bool PlaybackEngine::isAudioTrack(int track)
{
    return query(QStringLiteral("Status CDAudio type track ") + QString::number(track)).trimmed()
           == QLatin1String("audio");
}

int PlaybackEngine::countAudioTracks(int tracks)
{
    int audio = 0;
    for (int track = 1; track <= tracks; ++track)
        audio += isAudioTrack(track) ? 1 : 0;
    return audio;
}

bool PlaybackEngine::probeAudioCd(bool autoPlay)
{
    WriteLog(QStringLiteral("檢查是否是音樂光碟"));
    m_state.MciReply = QString(20, QLatin1Char(' '));
    const int tracks = int(Vb::Val(query(QStringLiteral("Status CDAudio number of tracks"))));
    // One track is a data disc unless that track is audio (a CD single, a live set in one
    // track): the drive tells each track's kind here, so the count need not guess it.
    if (tracks < 1 || (tracks == 1 && !isAudioTrack(1)))
        return false;

    QString title;
    if (m_state.DriveKind == CdRomDrive) {
        QStringList names;
        int trackFiles = ListDiscFiles(AddPath(m_state.CdDrive, QStringLiteral("*.cda")), names);
        // An audio CD is never mounted here, so its track files are not in a folder: a disc
        // that starts with an audio track shows its audio tracks, not the data track an
        // enhanced CD keeps after them.
        if (trackFiles == 0 && isAudioTrack(1))
            trackFiles = countAudioTracks(tracks);
        m_state.MediaCount = qint16(trackFiles);
    }
    if (m_state.MediaCount != 0) {
        m_state.MsgAnswer = 6;
        title = QStringLiteral("音樂光碟 ");
    } else if (m_host.askAboutMixedDiscs()) {
        m_state.MsgAnswer = qint16(m_host.ShowMsg(QStringLiteral("找到混合光碟\r\n是否要播放音軌 ? "),
                                                  QStringLiteral("Yesno")));
        if (m_state.MsgAnswer == 6) {
            m_state.MediaCount = qint16(tracks);
            m_state.MixedDisc = true;
            title = QStringLiteral("混合光碟");
        }
    }
    if (m_state.MediaCount < 1 || m_state.MsgAnswer != 6)
        return false;

    m_state.MediaKind = QStringLiteral("CDAudio");
    m_host.ChkLab(true);
    m_host.setMessage(title);
    m_host.repaintMessage();
    WriteLog(QStringLiteral("找到") + title);
    Delay(0);
    if (autoPlay)
        PlayACD(m_state.MixedDisc ? 2 : 1);
    return true;
}

void PlaybackEngine::probeMusicFiles()
{
    m_host.setMessage(QStringLiteral("搜尋音樂檔中..."));
    WriteLog(QStringLiteral("開始搜尋音樂檔"));
    m_host.repaintMessage();
    m_state.MediaCount = int(m_host.ScanMp3(BelowDrive(m_state.CdDrive, m_host.cdromSubPath())));
    if (m_state.MediaCount != 0)
        m_host.applySongPattern();
    if (m_state.MediaCount >= 1) {
        WriteLog(QStringLiteral("在") + m_state.CdDrive + QStringLiteral("找到 ") + QString::number(m_state.MediaCount)
                 + QStringLiteral("目錄下有音樂檔"));
        m_filePlayback->PlayMp31();
        return;
    }
    m_state.MediaKind = QStringLiteral("CDROM");
    m_host.ChkLab(true);
    m_state.MsgAnswer = qint16(m_host.ShowMsg(
        QStringLiteral("在") + m_state.CdDrive + QStringLiteral("上找不到可供播放的媒體!"), QStringLiteral("Error")));
    WriteLog(QStringLiteral("在") + m_state.CdDrive + QStringLiteral("上找不到可供播放的媒體"));
}

bool PlaybackEngine::isPlayerDrive(const QString &drive, const QString &device)
{
    const QString player = withoutTrailingSlash(m_state.CdDrive);
    if (player.isEmpty())
        return false;
    // An optical drive keeps its device node while its disc is mounted,
    // unmounted or changed, and the drive's name changes with it.
    if (const auto known = Drives::Find(player);
        known && known->type == Drives::TypeOptical && !known->device.isEmpty())
        m_cdDevice = known->device;
    if (withoutTrailingSlash(drive) == player)
        return true;
    return !device.isEmpty() && (device == player || device == m_cdDevice);
}

void PlaybackEngine::SysInfo1_DeviceArrival(const QString &drive, const QString &device)
{
    if (!isPlayerDrive(drive, device))
        return;
    // A data disc is reached at the folder it is mounted on, an audio CD at
    // the drive's device: the player's drive is where the medium now is.
    m_state.CdDrive = drive;
    m_state.VcdDir = AddPath(m_state.CdDrive, QStringLiteral("Mpegav"));
    m_state.DriveKind = qint16(Drives::DriveType(m_state.CdDrive));
    Delay(0.1);
    CheckCdrom(true);
}

void PlaybackEngine::SysInfo1_DeviceRemoveComplete(const QString &drive, const QString &device)
{
    if (!isPlayerDrive(drive, device))
        return;
    m_state.MediaKind.clear();
    m_state.MediaCount = 0;
    m_host.ChkLab(true);
    StopMedia();
    m_host.setMessage(QStringLiteral("-請放入光碟片-"));
    Delay(0.1);
    m_state.PlayingFlag = false;
}
