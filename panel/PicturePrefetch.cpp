#include "PicturePrefetch.h"

PicturePrefetch::~PicturePrefetch()
{
    finish();
}

void PicturePrefetch::start(const QList<std::pair<QString, Decoder>> &files)
{
    clear();
    m_worker = std::thread([this, files] {
        for (const auto &[path, decode] : files) {
            const QImage picture = decode(path);
            if (!picture.isNull())
                m_pictures.insert(path, picture);
        }
    });
}

std::optional<QImage> PicturePrefetch::take(const QString &path)
{
    finish();
    const auto found = m_pictures.constFind(path);
    if (found == m_pictures.constEnd())
        return std::nullopt;
    const QImage picture = *found;
    m_pictures.erase(found);
    return picture;
}

void PicturePrefetch::clear()
{
    finish();
    m_pictures.clear();
}

void PicturePrefetch::finish()
{
    if (m_worker.joinable())
        m_worker.join();
}
