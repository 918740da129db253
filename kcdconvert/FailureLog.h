#pragma once

#include <QString>

// The failure log of a conversion run: one line per song whose file was not
// written, in code page 950 with CR LF line ends. Each line reaches the disk at
// once, so the log holds the failures so far whenever the run ends; a write
// that fails leaves the log as it was before it.
class FailureLog
{
public:
    // Starts a new, empty log file in place of an old one. False when it cannot
    // be made; the old file then stays and nothing is logged.
    bool open(const QString& path);
    // Appends one whole line; false when it could not be written.
    bool write(const QString& line);
    void close();
    bool isOpen() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }

private:
    QString m_path;
};
