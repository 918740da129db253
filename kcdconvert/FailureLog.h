#pragma once

#include <QFile>
#include <QString>

// The failure log of a batch run: one line per song whose file was not written,
// in code page 950 with CR LF line ends. Each line reaches the disk at once, so
// the log holds the failures so far whenever the run ends.
class FailureLog
{
public:
    // Starts a new log file, replacing an old one. False when it cannot be made.
    bool open(const QString& path);
    void write(const QString& line);
    void close();
    bool isOpen() const { return m_file.isOpen(); }

private:
    QFile m_file;
};
