// The play clock: one step reads the position, writes the time labels and the
// seek knob, shows the due lyric line and moves on at the end of a medium.
#include "PlaybackEngine.h"

#include "Clock.h"
#include "FileTransport.h"
#include "MciWnd.h"
#include "ModFiles.h"
#include "ModSongList.h"
#include "ModTools.h"
#include "PlaybackHost.h"
#include "PlaybackState.h"
#include "VbRuntime.h"

#include <QCoreApplication>

#include <utility>

namespace {

const QString KindVcd = QStringLiteral("VCD");
const QString KindCd = QStringLiteral("CDAudio");
const QString KindMusic = QStringLiteral("MP3");
constexpr int StampLength = 7;

// Marks a clock step as running for as long as it lasts; the guard flag is
// cleared when the step ends, however it ends.
class ClockStep
{
public:
    ClockStep(int &depth, bool &busy) : m_depth(depth), m_busy(busy) { ++m_depth; }
    ~ClockStep()
    {
        m_busy = false;
        --m_depth;
    }

private:
    int &m_depth;
    bool &m_busy;
};

} // namespace

void PlaybackEngine::Timer1_Timer()
{
    ShowTime();
}

void PlaybackEngine::ShowTime()
{
    // A step that starts inside another one (through a wait that lets events
    // run) would clear the outer step's guard and let one end of a file
    // advance twice: it does nothing at all. One step is made up for it once
    // the running step is over: the control's last report of a medium (its
    // end) may be the one that came, and no other would follow.
    if (m_clockStepDepth > 0) {
        m_stepMissed = true;
        return;
    }
    clockStep();
    if (std::exchange(m_stepMissed, false))
        mediaClock().singleShot(0, [this] { ShowTime(); }, this);
}

void PlaybackEngine::clockStep()
{
    ClockStep step(m_clockStepDepth, m_state.BusyFlag);
    if (m_state.BusyFlag)
        return;

    const QString kind = m_state.MediaKind;
    qint64 position = 0;
    qint64 length = 0;
    if (kind != KindCd) {
        MciWnd *control = m_state.ActiveMci;
        const QString mode = control ? control->Mode() : QString();
        position = control ? control->Position() : 0;
        length = control ? control->Length() : 0;
        if (mode != QLatin1String("playing") && !(position >= length && length > 0)) {
            m_state.SeekPos = 0;
            m_state.MediaLength = 0;
            ShowPoint();
            return;
        }
    }

    m_state.BusyFlag = true;
    QString cdMode;
    if (kind.isEmpty()) {
        noMediumStep();
    } else {
        if (kind == KindVcd) {
            if (videoCdStep(position, length))
                return;
        } else if (kind == KindCd) {
            if (audioCdStep(cdMode))
                return;
        } else if (kind == KindMusic) {
            if (musicFileStep(position, length))
                return;
        }
        lyricStep(cdMode);
    }

    if (m_state.MediaLength <= 0) {
        m_host.setTimeLabelEnabled(0, false);
        m_host.setTimeLabelEnabled(1, false);
    } else {
        m_host.setTimeLabelEnabled(0, true);
        m_host.setTimeLabelEnabled(1, true);
        m_host.ChkLabColor(int(m_state.TrackIndex));
    }
}

bool PlaybackEngine::videoCdStep(qint64 position, qint64 length)
{
    MciWnd *control = m_state.ActiveMci;
    const double rate = m_state.FrameRate != 0 ? m_state.FrameRate : 1;
    m_state.SeekPos = position / rate;
    m_state.PosText = SecToTime(m_state.SeekPos);
    m_state.MediaLength = length / rate;
    m_state.LenText = SecToTime(m_state.MediaLength);
    // Set again only when it differs: an auto-sized label measures its text at every setting.
    const QString name = GetFileName(m_state.VcdFile);
    if (m_host.timeLabel(2) != name)
        m_host.setTimeLabel(2, name);
    ShowPoint();
    if (m_state.MediaLength == 0 || m_state.SeekPos < m_state.MediaLength)
        return false;

    if (waitAtTheEnd(control))
        playVideoCdTrackAfterCurrent();
    return true;
}

int PlaybackEngine::videoCdTrackAfterCurrent() const
{
    const int next = int(m_state.TrackIndex) + 1;
    return next < m_state.MediaCount && next < m_state.VcdFiles.size() ? next : 0;
}

void PlaybackEngine::playVideoCdTrackAfterCurrent()
{
    const int next = videoCdTrackAfterCurrent();
    if (next == 0) {
        endOfVideoDisc();
        return;
    }
    m_state.TrackIndex = next;
    m_state.VcdFile = m_state.VcdFiles.at(next);
    if (m_files)
        m_files->PlayVCD(m_state.VcdFile);
}

bool PlaybackEngine::waitAtTheEnd(MciWnd *control)
{
    control->setCommand(QStringLiteral("Stop"));
    const QString ended = control->FileName();
    Delay(0.2);
    // Events ran meanwhile: a song or track the user started then is kept.
    return m_state.ActiveMci == control && control->FileName() == ended
           && control->Mode() != QLatin1String("playing");
}

void PlaybackEngine::endOfVideoDisc()
{
    switch (m_host.endOfDiscChoice()) {
    case PlaybackHost::Repeat:
        if (m_state.VcdFiles.isEmpty())
            return;
        m_state.TrackIndex = 0;
        m_state.VcdFile = m_state.VcdFiles.at(0);
        if (m_files)
            m_files->PlayVCD(m_state.VcdFile);
        return;
    case PlaybackHost::Eject:
        EjectCd();
        return;
    case PlaybackHost::Stop:
        return;
    }
}

bool PlaybackEngine::audioCdStep(QString &cdMode)
{
    cdMode = query(QStringLiteral("Status CDAudio mode")).left(7);
    // The disc tells whether it plays; a knob seek resumes play only then.
    m_state.PlayingFlag = cdMode.toUpper() == QLatin1String("PLAYING");

    query(QStringLiteral("Set CDAudio time format tmsf Wait"));
    const int track = int(Vb::Val(query(QStringLiteral("Status CDAudio Current Track Wait"))));
    m_state.TrackIndex = track;
    const QString position = query(QStringLiteral("Status CDAudio position Wait")).trimmed().mid(3, 8);
    const QString length =
        query(QStringLiteral("Status CDAudio length Track ") + QString::number(track)).left(8);
    m_state.SeekPos = PlaybackRules::CdTimeToSeconds(position);
    m_state.MediaLength = PlaybackRules::CdTimeToSeconds(length);

    m_state.PosText = position;
    m_state.LenText = length;
    m_host.setTimeLabel(2, QLatin1Char('<') + QString::number(track) + QLatin1Char('>'));
    ShowPoint();
    m_state.PlayTimeText = position;

    // The end of the last track restarts the disc. A status that failed or a
    // disc still spinning up gives no length and must not restart it.
    if (m_state.MediaLength > 0 && m_state.SeekPos >= m_state.MediaLength) {
        const int first = firstAudioTrack();
        PlayACD(first);
        m_state.TrackIndex = first - 1;
        return true;
    }

    if (track != m_state.LastTrack) {
        m_state.MediaTitle = QStringLiteral("Track") + QString::number(track);
        findLyric(PlaybackRules::CdTrackPath(m_state.CdDrive, track));
    }
    m_state.LastTrack = qint16(track);
    m_state.TrackIndex = track - 1;
    return false;
}

bool PlaybackEngine::musicFileStep(qint64 position, qint64 length)
{
    MciWnd *control = m_state.ActiveMci;
    const double rate = m_state.FrameRate != 0 ? m_state.FrameRate : 1;
    m_state.SeekPos = position / rate;
    // Every file's length is read, so that any file (not only an "MP3") can
    // reach its end and move on.
    m_state.MediaLength = length / rate;
    if (musicInHundredths()) {
        m_state.PosText = HsecToTime(m_state.SeekPos);
        m_state.PlayTimeText = m_state.PosText;
        m_state.LenText = HsecToTime(m_state.MediaLength);
    } else {
        m_state.PosText = SecToTime(m_state.SeekPos);
        m_state.LenText = SecToTime(m_state.MediaLength);
    }

    const QString name = GetFileName(control->FileName());
    if (name.isEmpty())
        return false;
    const QString title = m_state.SongCount == 0
        ? ZeroFill(qint64(m_state.TrackIndex) + 1, 2) + QLatin1Char('/') + ZeroFill(m_state.MediaCount, 2)
              + QLatin1Char(' ') + name
        : ZeroFill(qint64(m_state.TrackIndex) + 1, 2) + QLatin1Char('-') + ZeroFill(qint64(m_state.SongIndex) + 1, 2)
              + QLatin1Char(' ') + name;
    if (m_host.timeLabel(2) != title)
        m_host.setTimeLabel(2, title);
    ShowPoint();

    if (m_state.MediaLength == 0 || m_state.SeekPos < m_state.MediaLength)
        return false;
    // From here on the next song starts: its lyrics are not due at this song's play time.
    if (waitAtTheEnd(control))
        playSongAfterCurrent();
    return true;
}

PlaybackEngine::SongPlace PlaybackEngine::songAfterCurrent() const
{
    if (m_state.SongIndex + 1 < m_state.SongCount)
        return {int(m_state.TrackIndex), int(m_state.SongIndex) + 1};
    // Music files play on in a loop: after the last entry the first.
    const int last = qMin<int>(m_state.MediaCount, int(m_state.PlayArray.size())) - 1;
    return {m_state.TrackIndex < last ? int(m_state.TrackIndex) + 1 : 0, 0};
}

void PlaybackEngine::playSongAfterCurrent()
{
    const SongPlace next = songAfterCurrent();
    if (next.song > 0) {
        m_state.SongIndex = next.song;
        if (m_files)
            m_files->PlayMp3(m_state.VcdFile, next.song);
        return;
    }
    m_state.TrackIndex = next.entry;
    if (next.entry >= m_state.PlayArray.size())
        return;
    m_state.VcdFile = m_state.PlayArray.at(next.entry).toString();
    if (m_files)
        m_files->PlayMp3(m_state.VcdFile, 0);
}

void PlaybackEngine::lyricStep(const QString &cdMode)
{
    const QString &kind = m_state.MediaKind;
    const bool shown = m_state.MediaLength != 0
                       && ((kind == KindCd && cdMode.left(4) != QLatin1String("stop")) || kind == KindMusic)
                       && m_state.LyricFile.size() > 4;
    if (!shown) {
        m_host.setSongListVisible(false);
        m_host.setTimeLabelVisible(2, true);
        return;
    }

    LyricList &list = m_host.songList();
    ChkLyric(list, false, m_state.PlayTimeText);
    m_state.LyricLine = list.item(list.currentIndex());
    if (m_state.LyricLine.size() > StampLength) {
        m_state.LyricLine = m_state.LyricLine.mid(StampLength);
        m_host.setMessageToolTip(QStringLiteral("顯示整篇歌詞"));
        m_host.setMessagePointer(PlaybackHost::MessagePointer::LyricIcon);
    } else {
        m_state.LyricLine.clear();
        m_host.setMessagePointer(PlaybackHost::MessagePointer::Cross);
    }
    QCoreApplication::processEvents();
    if (!m_state.LyricLine.isEmpty() && m_state.LyricLine != m_host.message()) {
        m_host.setMessage(QString());
        m_host.setMessage(m_state.LyricLine);
        m_host.AdjLabel();
        if (!m_host.songListVisible())
            m_host.Image1ADJ();
        else
            m_host.clearPictureArea();
        if (m_host.taskWindowState() == 1)
            m_host.setTaskCaption(m_host.message());
    }
    QCoreApplication::processEvents();
    m_host.setTimeLabelVisible(2, true);
}

void PlaybackEngine::noMediumStep()
{
    m_state.SeekPos = 0;
    m_state.MediaLength = 0;
    ShowPoint();
    if (m_host.numberPadLoaded()) {
        StopMedia();
        m_state.PlayingFlag = false;
        m_host.setMessage(QStringLiteral("請放入光碟片"));
        m_host.bringMessageToFront();
    }
}

void PlaybackEngine::ShowPoint()
{
    if (!m_state.KnobHeld) {
        const PlaybackHost::SeekBarGeometry bar = m_host.seekBarGeometry();
        m_host.setKnobLeft(PlaybackRules::KnobLeft(bar.grooveLeft, bar.grooveWidth, bar.knobWidth,
                                                   m_state.SeekPos, m_state.MediaLength));
    }
    if (m_state.MediaLength == 0) {
        m_host.setTimeLabel(0, QStringLiteral("00:00:00"));
        m_host.setTimeLabel(1, QStringLiteral("00:00:00"));
        m_host.setTimeLabel(2, QString());
        m_host.setTimeLabelEnabled(0, false);
        m_host.setTimeLabelEnabled(1, false);
        return;
    }
    if (m_host.timeLabel(0) != m_state.PosText)
        m_host.setTimeLabel(0, m_state.PosText);
    if (m_host.timeLabel(1) != m_state.LenText)
        m_host.setTimeLabel(1, m_state.LenText);
    for (int label : {0, 1}) {
        if (!m_host.timeLabelEnabled(label))
            m_host.setTimeLabelEnabled(label, true);
    }
}

void PlaybackEngine::ChkSeekTime(double ratio)
{
    ratio = PlaybackRules::ClampRatio(ratio);
    const QString &kind = m_state.MediaKind;
    MciWnd *control = m_state.ActiveMci;
    if (kind == KindCd) {
        m_state.SeekTarget = m_state.MediaLength * ratio;
        m_host.setTimeLabel(0, SecToTime(m_state.SeekTarget * 60));
    } else if (kind == KindMusic && control && musicInHundredths()) {
        m_state.SeekTarget = control->Length() * ratio;
        m_host.setTimeLabel(0, SecToTime(m_state.SeekTarget / 10 / 100 * 60));
    } else if ((kind == KindVcd || kind == KindMusic) && control) {
        // A video, also one met among the songs, counts in frames.
        m_state.SeekTarget = control->Length() * ratio;
        const double rate = m_state.FrameRate != 0 ? m_state.FrameRate : 1;
        m_host.setTimeLabel(0, SecToTime(m_state.SeekTarget / rate));
    }
}

void PlaybackEngine::ChkSeek()
{
    const QString &kind = m_state.MediaKind;
    MciWnd *control = m_state.ActiveMci;
    if (kind == KindCd) {
        send(QStringLiteral("Stop CDAudio"));
        send(QStringLiteral("Set CDAudio time format tmsf"));
        const QString trackPart = query(QStringLiteral("Status CDAudio position")).left(3);
        const QString target = trackPart + SecToTime(m_state.SeekTarget * 60);
        send(QStringLiteral("Seek CDAudio to ") + target + QStringLiteral(" Wait"));
        query(QStringLiteral("Status CDAudio position"));
        if (m_state.PlayingFlag)
            send(QStringLiteral("play CDAudio"));
    } else if (kind == KindVcd && control) {
        control->setPosition(qint64(m_state.SeekTarget));
        if (m_state.PlayingFlag)
            control->setCommand(QStringLiteral("play"));
    } else if (kind == KindMusic && control) {
        control->setCommand(QStringLiteral("Stop"));
        control->setPosition(qint64(m_state.SeekTarget));
        if (m_state.PlayingFlag)
            control->setCommand(QStringLiteral("play"));
    }
    ShowTime();
}
