#pragma once

#include "MciWords.h"
#include "MediaPlayer.h"

#include <QStringList>

#include <memory>

// A media file opened under an alias of the command interpreter. Positions
// count milliseconds in every time format.
class FileAliasDevice {
public:
    // Opens path; MciOk or the error of the refusal.
    int open(const QString &path);
    int run(const QString &verb, const QStringList &args, QString *reply);

private:
    int status(const QStringList &args, QString *reply) const;
    int play(const QStringList &args);
    int seek(const QStringList &args);
    int set(const QStringList &args);
    int parseTarget(const QString &text, qint64 *ms) const;

    std::unique_ptr<MediaPlayer> m_player;
    mci::TimeFormat m_format = mci::TimeFormat::Milliseconds;
};
