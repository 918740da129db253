#include "DiscWatcher.h"

#include "CdDrive.h"
#include "Clock.h"
#include "Drives.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

DiscWatcher::DiscWatcher(QObject *parent) : QObject(parent), m_timer(new ClockTimer(this))
{
    connect(m_timer, &ClockTimer::timeout, this, &DiscWatcher::poll);
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        const auto watchScreen = [this](QScreen *screen) {
            connect(screen, &QScreen::geometryChanged, this, &DiscWatcher::DisplayChanged);
        };
        for (QScreen *screen : QGuiApplication::screens())
            watchScreen(screen);
        connect(app, &QGuiApplication::screenAdded, this, [this, watchScreen](QScreen *screen) {
            watchScreen(screen);
            emit DisplayChanged();
        });
        connect(app, &QGuiApplication::screenRemoved, this, &DiscWatcher::DisplayChanged);
    }
}

void DiscWatcher::start(int intervalMs)
{
    m_known = presentMedia();
    m_timer->setInterval(intervalMs);
    m_timer->start();
}

void DiscWatcher::stop()
{
    m_timer->stop();
}

bool DiscWatcher::isActive() const
{
    return m_timer->isActive();
}

QMap<QString, QString> DiscWatcher::presentMedia()
{
    QMap<QString, QString> media;
    // A disc in an optical drive without a mounted volume counts once it is
    // read as an audio CD; a data disc counts when its volume is mounted, so
    // that it is not probed before its files can be seen. A disc image is
    // never mounted: its files are read from the image, so any disc counts.
    // The drive is looked up once: finding it reads the environment and the chosen path.
    CdDrive &optical = cdDrive();
    const QVector<CdTrack> tracks = optical.mediaPresent() ? optical.tracks() : QVector<CdTrack>();
    const bool audioDisc = !tracks.isEmpty() && tracks.first().audio;
    // A folder named as the drive is its disc, out while the drive's tray is.
    const QString chosen = Drives::ChosenOpticalDevice();
    const bool chosenOut = !chosen.isEmpty() && optical.state() == CdDrive::State::TrayOpen;
    for (const Drives::Drive &drive : Drives::List()) {
        if (drive.mounted) {
            if (chosenOut && drive.root == chosen)
                continue;
            media.insert(drive.root, drive.device);
            continue;
        }
        if (drive.type != Drives::TypeOptical)
            continue;
        const bool image = !drive.device.isEmpty() && QFileInfo(drive.device).isFile();
        if (audioDisc || (image && !tracks.isEmpty()))
            media.insert(drive.root, drive.device.isEmpty() ? drive.root : drive.device);
    }
    return media;
}

void DiscWatcher::poll()
{
    const QMap<QString, QString> now = presentMedia();
    const QMap<QString, QString> before = m_known;
    // Known before the handlers run: a handler that waits lets the next poll
    // in, which must not report the same change again.
    m_known = now;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!now.contains(it.key()))
            emit DeviceRemoveComplete(it.key(), it.value());
    }
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (!before.contains(it.key()))
            emit DeviceArrival(it.key(), it.value());
    }
}
