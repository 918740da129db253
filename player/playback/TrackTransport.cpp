// Track play, the control-bar commands and the audio-CD transport.
#include "PlaybackEngine.h"

#include "Clock.h"
#include "FileTransport.h"
#include "FrmPlay.h"
#include "MciWnd.h"
#include "ModFiles.h"
#include "PlaybackHost.h"
#include "PlaybackState.h"
#include "VbRuntime.h"

namespace {

const QString KindVcd = QStringLiteral("VCD");
const QString KindCd = QStringLiteral("CDAudio");
const QString KindMusic = QStringLiteral("MP3");
const QString TooSlowWarning = QStringLiteral("喂!已經夠慢了吧?");

QString speedText(int playSpeed)
{
    return QStringLiteral("播放速度") + QString::number(qint64(Vb::Int(playSpeed / 10.0))) + QLatin1Char('%');
}

} // namespace

void PlaybackEngine::PlayCd(int track)
{
    m_state.BusyFlag = true;
    m_host.setMessage(QString());
    m_host.repaintMessage();
    m_host.setMousePointer(11);

    m_state.TrackIndex = track - 1;
    m_timer1->stop();
    for (int label : {0, 1}) {
        m_host.setTimeLabel(label, QStringLiteral("00:00:00"));
        m_host.setTimeLabelEnabled(label, false);
    }
    m_state.SeekPos = 0;
    ShowPoint();
    m_timer1->stop();

    const int entry = track - 1;
    if (m_state.MediaKind == KindVcd) {
        m_host.setOnTop(true);
        if (entry >= 0 && entry < m_state.VcdFiles.size()) {
            m_state.VcdFile = m_state.VcdFiles.at(entry);
            if (m_files)
                m_files->PlayVCD(m_state.VcdFile);
        }
    } else if (m_state.MediaKind == KindCd) {
        m_host.setOnTop(false);
        PlayACD(track);
        m_timer1->setInterval(500);
        m_timer1->start();
    } else if (m_state.MediaKind == KindMusic) {
        m_host.setOnTop(false);
        m_state.SongIndex = m_state.TrackIndex;
        playEntry(entry, 0);
    }

    m_host.setTimeLabelEnabled(0, true);
    m_host.setTimeLabelEnabled(1, true);
    m_host.setMousePointer(0);
    // The first clock tick after a track start only clears this.
    m_state.BusyFlag = true;
}

void PlaybackEngine::playEntry(int entry, int song)
{
    if (!m_files || entry < 0 || entry >= m_state.PlayArray.size())
        return;
    m_files->PlayMp3(m_state.PlayArray.at(entry).toString(), song);
}

void PlaybackEngine::PlayACD(int track)
{
    frmPlay().hide();
    m_host.setMessage(QString());
    frmPlay().hide();

    m_labelScan = query(QStringLiteral("Status CDAudio Mode")).toUpper();
    query(QStringLiteral("Stop CDAudio"));
    if (m_labelScan != QLatin1String("PLAYING")) {
        query(QStringLiteral("Close CDAudio"));
        query(QStringLiteral("Open CDAudio Shareable"));
    }
    query(QStringLiteral("Stop CDAudio "));

    m_labelScan = QString::number(track);
    m_state.MediaTitle = QStringLiteral("Track") + QString::number(track);
    m_state.CurMediaFile.clear();
    findLyric(PlaybackRules::CdTrackPath(m_state.CdDrive, track));
    ShowTime();

    query(QStringLiteral("Set CDAudio Time format tmsf"));
    query(QStringLiteral("Seek CDAudio to ") + QString::number(track));
    query(QStringLiteral("Play CDAudio"));
    m_timer1->start();

    showLyricOrSlides();
    m_host.setQuickSongMenuEnabled(false);
    m_host.setPlayListMenuEnabled(false);
}

void PlaybackEngine::showLyricOrSlides()
{
    if (FileExist(m_state.LyricFile)) {
        m_host.setSlideShowEnabled(false);
        return;
    }
    // Tell the user where the lyric file would have to be; pictures instead.
    m_host.setTimeLabelToolTip(2, QStringLiteral("歌詞須放在:") + m_state.LyricFile);
    m_state.LyricFile.clear();
    m_host.setSlideShowEnabled(true);
}

int PlaybackEngine::firstAudioTrack()
{
    if (!m_state.MixedDisc)
        return 1;
    for (int track = 1; track <= m_state.MediaCount; ++track) {
        if (query(QStringLiteral("Status CDAudio type track ") + QString::number(track)).trimmed()
            == QLatin1String("audio"))
            return track;
    }
    return 2;  // a mixed disc holds its data on track 1
}

void PlaybackEngine::showVolume()
{
    const int percent = m_state.VolumeLevel / 10;
    m_host.setVolumeBar(percent);
    m_host.setTimeLabel(2, PlaybackRules::VolumeText(m_state.VolumeLevel));
}

void PlaybackEngine::ChkCD(int code)
{
    const QString &kind = m_state.MediaKind;
    switch (code) {
    case 3:
        m_state.VolumeLevel = qint16(qMax(0, m_state.VolumeLevel - 100));
        SetVolume();
        showVolume();
        return;
    case 4:
        m_state.VolumeLevel = qint16(qMin(1000, m_state.VolumeLevel + 100));
        SetVolume();
        showVolume();
        return;
    case 7:
        EjectCd();
        return;
    case 8:
    case 9:
        return;
    case 10:
        if (kind == KindCd) {
            // Never back onto the data track of a mixed disc.
            const int first = firstAudioTrack();
            m_state.TrackIndex = qMax(double(first - 1), m_state.TrackIndex - 1);
            PlayCd(int(m_state.TrackIndex) + 1);
        } else if (kind == KindVcd) {
            slowerVideo();
        } else if (kind == KindMusic) {
            previousSong();
        }
        return;
    case 11:
        if (kind == KindCd) {
            // After the last track the disc starts again; the device is never
            // asked for a track beyond the disc.
            m_state.TrackIndex = m_state.TrackIndex + 1;
            if (m_state.TrackIndex + 1 > m_state.MediaCount)
                m_state.TrackIndex = firstAudioTrack() - 1;
            PlayCd(int(m_state.TrackIndex) + 1);
        } else if (kind == KindVcd) {
            fasterVideo();
        } else if (kind == KindMusic) {
            nextSong();
        }
        return;
    default:
        break;
    }
    m_state.BusyFlag = true;
    if (kind == KindVcd) {
        if (m_files)
            m_files->ChkVCD(code);
    } else if (kind == KindCd) {
        ChkACD(code);
    } else if (kind == KindMusic) {
        if (m_files)
            m_files->ChkMP3(code);
    }
    m_state.BusyFlag = false;
}

void PlaybackEngine::slowerVideo()
{
    MciWnd *control = m_state.ActiveMci;
    if (!control)
        return;
    const int speed = control->Speed();
    if (speed > 100) {
        control->setSpeed(PlaybackRules::SlowerSpeed(speed, m_state.PlaySpeed));
        m_state.PlaySpeed = qint16(control->Speed());
        m_host.setMessage(speedText(m_state.PlaySpeed));
    } else if (speed > 50) {
        if (m_host.message() != TooSlowWarning) {
            m_host.setMessage(TooSlowWarning);
            m_host.beep();
        } else {
            control->setSpeed(50);
            m_state.PlaySpeed = qint16(control->Speed());
            m_host.setMessage(QStringLiteral("真不死心!好吧?\n播放速度降為")
                              + QString::number(qint64(Vb::Int(m_state.PlaySpeed / 10.0))) + QLatin1Char('%'));
        }
    } else {
        const double seconds = m_state.MediaLength / 0.05;
        const QString prompt = QStringLiteral("喂!喂!喂!#@$%!*&") + QString(19, QLatin1Char(' '))
                               + QStringLiteral("\r\n你知道這種速度要看多久嗎?\r\n總共須要")
                               + QString::number(qint64(Vb::Int(seconds))) + QStringLiteral("秒 (")
                               + QString::number(qint64(Vb::Int(seconds / 3600))) + QStringLiteral("多小時)");
        m_state.MsgAnswer = qint16(m_host.ShowMsg(prompt, QStringLiteral("error")));
    }
}

void PlaybackEngine::fasterVideo()
{
    MciWnd *control = m_state.ActiveMci;
    if (!control)
        return;
    m_state.SeekPos = double(control->Position());
    if (control->Speed() < PlaybackRules::MaxSpeed) {
        control->setSpeed(PlaybackRules::FasterSpeed(m_state.PlaySpeed));
        Delay(0.1);
        m_state.PlaySpeed = qint16(control->Speed());
        m_host.setMessage(speedText(m_state.PlaySpeed));
    } else {
        m_host.setMessage(QStringLiteral("播放速度已到極限!"));
        m_host.beep();
    }
}

void PlaybackEngine::previousSong()
{
    m_state.SongIndex = m_state.SongIndex - 1;
    // From any song but the first the folder's earlier song plays; from the
    // first, the first song of the previous entry.
    if (m_state.SongIndex >= 0 && m_state.SongCount > 0) {
        if (m_files)
            m_files->PlayMp3(m_state.CurFolder, int(m_state.SongIndex));
        return;
    }
    m_state.TrackIndex = m_state.TrackIndex > 0 ? m_state.TrackIndex - 1 : 0;
    m_state.SongIndex = 0;
    playEntry(int(m_state.TrackIndex), 0);
}

void PlaybackEngine::nextSong()
{
    m_state.SongIndex = m_state.SongIndex + 1;
    if (m_state.SongIndex < m_state.SongCount) {
        if (m_files)
            m_files->PlayMp3(m_state.CurFolder, int(m_state.SongIndex));
        return;
    }
    // After the last entry the first one plays: never past the array's end.
    const int last = qMin<int>(m_state.MediaCount, int(m_state.PlayArray.size())) - 1;
    m_state.TrackIndex = m_state.TrackIndex < last ? m_state.TrackIndex + 1 : 0;
    m_state.SongIndex = 0;
    playEntry(int(m_state.TrackIndex), 0);
}

void PlaybackEngine::ChkACD(int code)
{
    m_host.setMessage(QString());
    switch (code) {
    case 0:
        if (!m_state.CdPaused) {
            m_host.setPlayKeyFace(1);
            query(QStringLiteral("Play CDAudio"));
        } else {
            m_host.setPlayKeyFace(0);
            query(QStringLiteral("Pause CDAudio"));
        }
        m_state.CdPaused = !m_state.CdPaused;
        break;
    case 1:
        query(QStringLiteral("Stop CDAudio"));
        m_state.CdPaused = false;
        break;
    case 2:
    case 5:
    case 6:
        query(QStringLiteral("Status CDAudio position"));
        if (code == 2)
            m_state.SeekTarget = m_state.SeekPos - 60;
        else if (code == 5)
            m_state.SeekTarget = m_state.SeekPos + 60;
        m_state.SeekTarget = qBound(0.0, m_state.SeekTarget, qMax(0.0, m_state.MediaLength));
        ChkSeek();
        break;
    default:
        break;
    }
}

void PlaybackEngine::ChkSeekNum(double frameRate)
{
    m_state.SeekStep = PlaybackRules::SeekStepOf(m_host.checkedSeekEntry(), frameRate, musicInHundredths());
}

bool PlaybackEngine::musicInHundredths() const
{
    if (m_state.MediaKind != KindMusic)
        return false;
    // A video met among the songs counts frames; every other music file
    // counts milliseconds, whatever its type.
    return !(m_state.ActiveMci && m_state.ActiveMci->TimeFormat() == QLatin1String("frames"));
}
