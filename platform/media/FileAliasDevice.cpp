#include "FileAliasDevice.h"

#include "MciCommand.h"

using namespace mci;

int FileAliasDevice::open(const QString &path)
{
    m_player = createMediaPlayer();
    const MediaPlayer::OpenResult result = m_player->open(path);
    if (result == MediaPlayer::NoDriver)
        return MciErrCannotLoadDriver;
    return result == MediaPlayer::Opened ? MciOk : MciErrFileNotFound;
}

int FileAliasDevice::parseTarget(const QString &text, qint64 *ms) const
{
    if (same(text, "start")) {
        *ms = 0;
        return MciOk;
    }
    if (same(text, "end")) {
        *ms = m_player->lengthMs();
        return MciOk;
    }
    if (text.isEmpty())
        return MciErrMissingParameter;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || value < 0 || value > m_player->lengthMs())
        return MciErrOutOfRange;
    *ms = qint64(value);
    return MciOk;
}

int FileAliasDevice::play(const QStringList &args)
{
    bool hasFrom = false, hasTo = false;
    const QString fromText = valueAfter(args, "from", &hasFrom);
    valueAfter(args, "to", &hasTo);
    if (hasTo)
        return MciErrUnsupportedFunction;
    if (hasFrom) {
        qint64 from = 0;
        if (const int error = parseTarget(fromText, &from))
            return error;
        m_player->seek(from);
    }
    m_player->play();
    return MciOk;
}

int FileAliasDevice::seek(const QStringList &args)
{
    bool hasTo = false;
    const QString target = valueAfter(args, "to", &hasTo);
    if (!hasTo)
        return MciErrMissingParameter;
    qint64 ms = 0;
    if (const int error = parseTarget(target, &ms))
        return error;
    m_player->stop();  // a seek leaves the file stopped at the target
    m_player->seek(ms);
    return MciOk;
}

int FileAliasDevice::set(const QStringList &args)
{
    if (args.size() >= 3 && same(args[0], "time") && same(args[1], "format")) {
        TimeFormat format;
        if (!parseTimeFormat(args[2], &format) || format == TimeFormat::Msf || format == TimeFormat::Tmsf)
            return MciErrBadTimeFormat;
        m_format = format;
        return MciOk;
    }
    return args.isEmpty() ? MciErrMissingParameter : MciErrUnrecognizedKeyword;
}

int FileAliasDevice::status(const QStringList &args, QString *reply) const
{
    const QString item = args.join(QLatin1Char(' ')).toLower();
    if (item == QLatin1String("mode")) {
        switch (m_player->state()) {
        case MediaPlayer::State::Playing:
            *reply = QStringLiteral("playing");
            break;
        case MediaPlayer::State::Paused:
            *reply = QStringLiteral("paused");
            break;
        default:
            *reply = QStringLiteral("stopped");
        }
    } else if (item == QLatin1String("position")) {
        *reply = QString::number(m_player->positionMs());
    } else if (item == QLatin1String("length")) {
        *reply = QString::number(m_player->lengthMs());
    } else if (item == QLatin1String("time format")) {
        *reply = timeFormatName(m_format);
    } else if (item == QLatin1String("ready") || item == QLatin1String("media present")) {
        *reply = boolText(true);
    } else {
        return args.isEmpty() ? MciErrMissingParameter : MciErrUnrecognizedKeyword;
    }
    return MciOk;
}

int FileAliasDevice::run(const QString &verb, const QStringList &args, QString *reply)
{
    if (verb == QLatin1String("play"))
        return play(args);
    if (verb == QLatin1String("seek"))
        return seek(args);
    if (verb == QLatin1String("set"))
        return set(args);
    if (verb == QLatin1String("status"))
        return status(args, reply);
    if (verb == QLatin1String("pause"))
        m_player->pause();
    else if (verb == QLatin1String("resume") && m_player->state() == MediaPlayer::State::Paused)
        m_player->play();
    else if (verb == QLatin1String("stop"))
        m_player->stop();
    else if (verb != QLatin1String("resume") && verb != QLatin1String("open"))
        return MciErrUnrecognizedCommand;
    return MciOk;
}
