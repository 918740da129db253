#pragma once

#include <QMap>
#include <QObject>
#include <QString>

class ClockTimer;

// Tells of media arriving in and leaving the drives: it looks at the mount
// table and at the optical drive's media state at an interval and reports
// each change once. A volume mounted or unmounted counts as arrival or
// removal of its root; an audio CD inserted into or taken out of an optical
// drive that has no mounted volume counts for that drive's device node, and
// so does any disc of a disc image used as the drive.
// Also passes on changes of the screens.
class DiscWatcher : public QObject
{
    Q_OBJECT
public:
    explicit DiscWatcher(QObject *parent = nullptr);

    // Takes the present state as known and starts looking every intervalMs.
    void start(int intervalMs = 1000);
    void stop();
    bool isActive() const;
    // Looks once now; the timer calls this.
    void poll();

signals:
    void DeviceArrival(const QString &root, const QString &device);
    void DeviceRemoveComplete(const QString &root, const QString &device);
    // A screen was added, removed or changed its size.
    void DisplayChanged();

private:
    // Roots holding a medium now, each with its device node.
    static QMap<QString, QString> presentMedia();

    ClockTimer *m_timer;
    QMap<QString, QString> m_known;
};
