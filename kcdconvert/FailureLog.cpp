#include "FailureLog.h"

#include "Cp950.h"

bool FailureLog::open(const QString& path)
{
    close();
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void FailureLog::write(const QString& line)
{
    if (!m_file.isOpen())
        return;
    m_file.write(Cp950::encode(line + QStringLiteral("\r\n")));
    m_file.flush();
}

void FailureLog::close()
{
    if (m_file.isOpen())
        m_file.close();
}
