#pragma once

#include "CdDrive.h"
#include "MciWords.h"

#include <QStringList>

// The "cdaudio" device of the command interpreter: the CD drive (cdDrive())
// driven by command words. Its own state is whether it is open and its time
// format; playing belongs to the drive, so closing the device does not stop it.
class CdAudioDevice {
public:
    // verb in lower case; args without the device name and the ignored flags.
    int run(const QString &verb, const QStringList &args, QString *reply);
    void close();

private:
    void autoOpen();
    int status(const QStringList &args, QString *reply) const;
    int play(const QStringList &args);
    int seek(const QStringList &args);
    int set(const QStringList &args);
    int transport(const QString &verb);
    int parsePosition(const QString &text, qint64 *ms) const;
    QString positionText(qint64 ms) const;
    QString lengthText(qint64 ms) const;
    int trackArgument(const QStringList &args, int *track) const;

    bool m_open = false;
    mci::TimeFormat m_format = mci::TimeFormat::Msf;  // a freshly opened device counts in msf
};
