#include "MciWnd.h"

#include "Clock.h"
#include "MediaBackend.h"
#include "MediaPlayer.h"
#include "VideoHost.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPalette>
#include <QPlatformSurfaceEvent>
#include <QWindow>

#include <cmath>

MciWnd::MciWnd(QWidget *parent) : QWidget(parent), m_positionTimer(new ClockTimer(this))
{
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    connect(m_positionTimer, &ClockTimer::timeout, this, &MciWnd::onPositionTick);
}

MciWnd::~MciWnd()
{
    m_positionTimer->stop();
    if (m_player)
        m_player->disconnect(this);
    m_player.reset();  // the engine lets go of its picture window before that window goes
    m_videoHost.reset();
}

void MciWnd::ensurePlayer()
{
    if (m_player)
        return;
    m_player = createMediaPlayer();
    // The picture goes into this widget's own window on a real display. The
    // widgets that hold it get windows of their own too (a native window in a
    // plain widget stays where it was made when that widget moves while
    // hidden, as the panel's picture box does before a video starts), but
    // their neighbours stay plain: the panel draws them over its picture.
    if (mediaBackend() == MediaBackend::Real && mediaCanEmbedVideo()) {
        auto host = std::make_unique<VideoHost>();
        if (host->valid()) {
            QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
            m_videoHost = std::move(host);
            setAttribute(Qt::WA_NativeWindow);
            winId();
            bindVideoWindow();
            m_player->setVideoWindow(m_videoHost->id());
        }
    }
    connect(m_player.get(), &MediaPlayer::ended, this, &MciWnd::onEnded);
    connect(m_player.get(), &MediaPlayer::failed, this, [this](int code) {
        stopPositionTicks();
        updateMode();
        raiseError(code);
    });
}

// The engine draws into a window of our own (VideoHost), kept inside this widget's native window.
// Qt ends that native window whenever it makes a window around it anew (or closes one) and makes
// another when the widget shows again; the X server would take everything inside along with it.
// So the picture window is taken out when Qt announces the end, and laid into the new window as
// soon as that exists: the engine keeps drawing into the same window all along.
void MciWnd::bindVideoWindow()
{
    if (!m_videoHost)
        return;
    QWindow *native = internalWinId() ? windowHandle() : nullptr;
    if (native && native != m_watchedWindow) {
        if (m_watchedWindow)
            m_watchedWindow->removeEventFilter(this);
        m_watchedWindow = native;
        native->installEventFilter(this);
    }
    if (native)
        m_videoHost->enter(quintptr(internalWinId()), nativeSize());
    else
        m_videoHost->leave();
}

QSize MciWnd::nativeSize() const { return size() * devicePixelRatio(); }

bool MciWnd::event(QEvent *event)
{
    if (event->type() == QEvent::WinIdChange)
        bindVideoWindow();
    return QWidget::event(event);
}

bool MciWnd::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watchedWindow && event->type() == QEvent::PlatformSurface && m_videoHost &&
        static_cast<QPlatformSurfaceEvent *>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
        m_videoHost->leave();  // while the window is still there
    return QWidget::eventFilter(watched, event);
}

void MciWnd::resizeEvent(QResizeEvent *event)
{
    if (m_videoHost)
        m_videoHost->resize(nativeSize());
    QWidget::resizeEvent(event);
}

void MciWnd::releaseFile()
{
    stopPositionTicks();
    if (m_player && m_open)
        m_player->close();
    m_open = false;
    m_fileName.clear();
    m_extension.clear();
    m_frames = false;
    updateMode();
}

void MciWnd::raiseError(int code)
{
    emit ExtendedError(code);
    emit Error(code);
}

void MciWnd::setFileName(const QString &path)
{
    releaseFile();
    if (path.isEmpty())
        return;
    ensurePlayer();
    const MediaPlayer::OpenResult result = m_player->open(path);
    if (result != MediaPlayer::Opened) {
        updateMode();
        raiseError(result);
        return;
    }
    m_open = true;
    m_fileName = path;
    m_extension = QFileInfo(path).suffix().toLower();
    // The players treat every .mp3 as sound counted in milliseconds, even one
    // that carries a picture stream.
    m_frames = m_player->hasVideo() && m_extension != QLatin1String("mp3");
    m_player->setSpeed(m_speed / 1000.0);
    m_player->setVolume(m_volume);
    if (m_autosize && m_player->hasVideo())
        resize(m_player->videoSize());
    updateMode();
}

void MciWnd::setCommand(const QString &command)
{
    m_lastCommand = command;
    const QString word = command.trimmed().toLower();
    if (word == QLatin1String("close")) {
        releaseFile();
        return;
    }
    if (!m_open)
        return;  // every command on an empty control is harmless
    if (word == QLatin1String("play")) {
        m_player->play();
        startPositionTicks();
    } else if (word == QLatin1String("stop")) {
        m_player->stop();
        stopPositionTicks();
    } else if (word == QLatin1String("pause")) {
        m_player->pause();
        stopPositionTicks();
    } else if (word == QLatin1String("resume")) {
        if (m_player->state() == MediaPlayer::State::Paused) {
            m_player->play();
            startPositionTicks();
        }
    } else if (word == QLatin1String("seek") || word == QLatin1String("home")) {
        m_player->seek(0);
    } else if (word == QLatin1String("end")) {
        m_player->seek(m_player->lengthMs());
    }
    updateMode();
}

QString MciWnd::DeviceType() const
{
    if (!m_open)
        return {};
    if (m_extension == QLatin1String("wav"))
        return QStringLiteral("waveaudio");
    if (m_extension == QLatin1String("mid") || m_extension == QLatin1String("midi") ||
        m_extension == QLatin1String("rmi"))
        return QStringLiteral("sequencer");
    if (!m_player->hasVideo())
        return QStringLiteral("MPEGAudio");
    return m_extension == QLatin1String("avi") ? QStringLiteral("AVIVideo") : QStringLiteral("MPEGVideo");
}

double MciWnd::unitsPerSecond() const
{
    if (!m_frames)
        return 1000.0;
    if (m_extension == QLatin1String("avi"))
        return 10.0;
    if (m_extension == QLatin1String("mov"))
        return 15.0;
    return 30.0;
}

void MciWnd::setTimeFormat(const QString &format)
{
    const QString f = format.trimmed().toLower();
    if (f == QLatin1String("frames"))
        m_frames = true;
    else if (f == QLatin1String("ms") || f == QLatin1String("milliseconds"))
        m_frames = false;
}

QString MciWnd::TimeFormat() const { return m_frames ? QStringLiteral("frames") : QStringLiteral("ms"); }

qint64 MciWnd::toUnits(qint64 ms) const
{
    return m_frames ? qint64(std::floor(double(ms) * unitsPerSecond() / 1000.0)) : ms;
}

qint64 MciWnd::toMs(qint64 units) const
{
    return m_frames ? qint64(std::ceil(double(units) * 1000.0 / unitsPerSecond())) : units;
}

qint64 MciWnd::Length() const { return m_open ? toUnits(m_player->lengthMs()) : 0; }

qint64 MciWnd::Position() const
{
    if (!m_open)
        return 0;
    // At the end the position reads the length exactly, so that "position
    // >= length" tells the end of the file.
    return m_player->atEnd() ? Length() : qMin(Length(), toUnits(m_player->positionMs()));
}

void MciWnd::setPosition(qint64 position)
{
    if (!m_open)
        return;
    // The last unit is the end itself, whatever the rounding of the units.
    const qint64 ms = position >= Length() ? m_player->lengthMs() : toMs(position);
    m_player->seek(qBound<qint64>(0, ms, m_player->lengthMs()));
    updateMode();
}

bool MciWnd::isSeeking() const { return m_open && m_player->seeking(); }

int MciWnd::modeCode() const
{
    if (!m_open)
        return ModeNotReady;
    switch (m_player->state()) {
    case MediaPlayer::State::Playing:
        return ModePlaying;
    case MediaPlayer::State::Paused:
        return ModePaused;
    case MediaPlayer::State::Stopped:
        return ModeStopped;
    case MediaPlayer::State::Closed:
        break;
    }
    return ModeNotReady;
}

QString MciWnd::Mode() const
{
    switch (modeCode()) {
    case ModePlaying:
        return QStringLiteral("playing");
    case ModePaused:
        return QStringLiteral("paused");
    case ModeStopped:
        return QStringLiteral("stopped");
    default:
        return QStringLiteral("not ready");
    }
}

void MciWnd::setSpeed(int speed)
{
    m_speed = qBound(10, speed, 10000);
    if (m_player)
        m_player->setSpeed(m_speed / 1000.0);
}

void MciWnd::setVolume(int volume)
{
    m_volume = qBound(0, volume, 1000);
    if (m_player)
        m_player->setVolume(m_volume);
}

void MciWnd::setPositionInterval(int ms)
{
    m_positionInterval = qMax(1, ms);
    if (m_positionTimer->isActive())
        startPositionTicks();
}

QSize MciWnd::naturalSize() const { return m_open ? m_player->videoSize() : QSize(); }

QImage MciWnd::currentFrame() { return m_open ? m_player->currentFrame() : QImage(); }

void MciWnd::updateMode()
{
    const int code = modeCode();
    if (code == m_lastMode)
        return;
    m_lastMode = code;
    emit ExtendedModeChange(code);
}

void MciWnd::startPositionTicks()
{
    if (m_player && m_player->state() == MediaPlayer::State::Playing)
        m_positionTimer->start(m_positionInterval);
}

void MciWnd::stopPositionTicks() { m_positionTimer->stop(); }

void MciWnd::onPositionTick()
{
    if (!m_open)
        return;
    m_player->refresh();
    emit PositionChange(Position());
}

void MciWnd::onEnded()
{
    stopPositionTicks();
    updateMode();
    // One last report at the end; listeners may open the next file from it,
    // so nothing of this control is touched afterwards.
    if (m_open)
        emit PositionChange(Position());
}

void MciWnd::mousePressEvent(QMouseEvent *event)
{
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton:
        button = 1;
        break;
    case Qt::RightButton:
        button = 2;
        break;
    case Qt::MiddleButton:
        button = 4;
        break;
    default:
        break;
    }
    int shift = 0;
    if (event->modifiers() & Qt::ShiftModifier)
        shift |= 1;
    if (event->modifiers() & Qt::ControlModifier)
        shift |= 2;
    if (event->modifiers() & Qt::AltModifier)
        shift |= 4;
    const QPoint at = event->position().toPoint();
    emit MouseDown(button, shift, at.x(), at.y());
    QWidget::mousePressEvent(event);
}
