#pragma once
// Readies the font database on a worker thread while a program builds its windows. The first
// text a window measures would otherwise wait on the main thread while fontconfig reads its
// whole configuration and font list. Qt guards the database with its own lock: a measurement
// that comes before the worker is done waits for it, never races it.

#include <QThread>

#include <memory>

class FontWarmUp
{
public:
    FontWarmUp();   // after the application object exists
    ~FontWarmUp();  // waits for the worker, long done by then

    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

private:
    std::unique_ptr<QThread> m_worker;
};
