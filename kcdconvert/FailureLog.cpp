#include "FailureLog.h"

#include "Cp950.h"

bool FailureLog::open(const QString& path)
{
    close();
    if (!Cp950::writeTextFile(path, QString()))
        return false;
    m_path = path;
    return true;
}

bool FailureLog::write(const QString& line)
{
    return isOpen() && Cp950::appendTextFile(m_path, line + QStringLiteral("\r\n"));
}

void FailureLog::close()
{
    m_path.clear();
}
