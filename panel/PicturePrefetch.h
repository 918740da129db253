#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <thread>

// Pictures decoded on a worker thread while the main thread goes on building the
// window, and taken by path where they are needed. What was not asked for, or could
// not be read, is not there: the caller then reads it itself, as it would without.
class PicturePrefetch
{
public:
    using Decoder = std::function<QImage(const QString &)>;

    PicturePrefetch() = default;
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch &) = delete;
    PicturePrefetch &operator=(const PicturePrefetch &) = delete;

    // Decodes each file of the list with its decoder; what an earlier start left is dropped.
    void start(const QList<std::pair<QString, Decoder>> &files);
    // The picture decoded for the path (once), waiting for the worker when it is still at it.
    std::optional<QImage> take(const QString &path);
    // Waits for the worker and forgets what was not taken: files may change afterwards.
    void clear();

private:
    void finish();

    std::thread m_worker;
    QHash<QString, QImage> m_pictures;  // filled by the worker, read after it has ended
};
