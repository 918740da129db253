#include "FontWarmUp.h"

#include <QFontDatabase>

FontWarmUp::FontWarmUp() : m_worker(QThread::create([] { QFontDatabase::families(); }))
{
    m_worker->setObjectName(QStringLiteral("FontWarmUp"));
    m_worker->start(QThread::LowPriority);
}

FontWarmUp::~FontWarmUp() { m_worker->wait(); }
