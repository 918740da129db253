#include "CdAudioDevice.h"

#include "MciCommand.h"

using namespace mci;

namespace {
bool ready(CdDrive::State s)
{
    return s == CdDrive::State::Stopped || s == CdDrive::State::Playing || s == CdDrive::State::Paused;
}

QString modeText(CdDrive::State state)
{
    switch (state) {
    case CdDrive::State::Playing:
        return QStringLiteral("playing");
    case CdDrive::State::Paused:
        return QStringLiteral("paused");
    case CdDrive::State::Stopped:
        return QStringLiteral("stopped");
    case CdDrive::State::TrayOpen:
        return QStringLiteral("open");
    default:
        return QStringLiteral("not ready");
    }
}

qint64 discLength(const QVector<CdTrack> &toc) { return toc.isEmpty() ? 0 : toc.last().startMs + toc.last().lengthMs; }

int trackAt(const QVector<CdTrack> &toc, qint64 ms)
{
    int track = 1;
    for (int i = 0; i < toc.size(); ++i)
        if (toc[i].startMs <= ms)
            track = i + 1;
    return track;
}
} // namespace

void CdAudioDevice::close()
{
    m_open = false;
    m_format = TimeFormat::Msf;
}

void CdAudioDevice::autoOpen()
{
    // A command that names a closed device opens it first.
    if (!m_open) {
        m_open = true;
        m_format = TimeFormat::Msf;
    }
}

QString CdAudioDevice::positionText(qint64 ms) const
{
    switch (m_format) {
    case TimeFormat::Tmsf: {
        const QVector<CdTrack> toc = cdDrive().tracks();
        const int track = trackAt(toc, ms);
        const qint64 start = toc.isEmpty() ? 0 : toc[track - 1].startMs;
        return two(track) + QLatin1Char(':') + msfText(ms - start);
    }
    case TimeFormat::Msf:
        return msfText(ms);
    default:
        return QString::number(ms);
    }
}

QString CdAudioDevice::lengthText(qint64 ms) const
{
    return m_format == TimeFormat::Milliseconds ? QString::number(ms) : msfText(ms);
}

int CdAudioDevice::parsePosition(const QString &text, qint64 *ms) const
{
    const QVector<CdTrack> toc = cdDrive().tracks();
    const qint64 length = discLength(toc);
    if (same(text, "start")) {
        *ms = 0;
        return MciOk;
    }
    if (same(text, "end")) {
        *ms = length;
        return MciOk;
    }
    if (text.isEmpty())
        return MciErrMissingParameter;
    QStringList parts = text.split(QLatin1Char(':'));
    qint64 value = 0;
    switch (m_format) {
    case TimeFormat::Tmsf: {
        bool ok = false;
        const int track = parts.takeFirst().toInt(&ok);
        if (!ok || track < 1 || track > toc.size() || parts.size() > 3 || !partsToMs(parts, &value))
            return MciErrOutOfRange;
        value += toc[track - 1].startMs;
        break;
    }
    case TimeFormat::Msf:
        if (parts.size() > 3 || !partsToMs(parts, &value))
            return MciErrOutOfRange;
        break;
    default: {
        bool ok = false;
        value = text.toLongLong(&ok);
        if (!ok || value < 0)
            return MciErrOutOfRange;
    }
    }
    if (value > length)
        return MciErrOutOfRange;
    *ms = value;
    return MciOk;
}

int CdAudioDevice::trackArgument(const QStringList &args, int *track) const
{
    // "position track n", "length track n", "type track n"
    if (args.size() < 2 || !same(args[1], "track") ||
        !(same(args[0], "position") || same(args[0], "length") || same(args[0], "type")))
        return MciOk;
    const QString word = args.value(2);
    bool ok = false;
    *track = word.toInt(&ok);
    if (!ok)
        return MciErrMissingParameter;
    if (*track < 1 || *track > cdDrive().tracks().size())
        return MciErrOutOfRange;
    return MciOk;
}

int CdAudioDevice::status(const QStringList &args, QString *reply) const
{
    if (args.isEmpty())
        return MciErrMissingParameter;
    const QString item = args.join(QLatin1Char(' ')).toLower();
    CdDrive &drive = cdDrive();
    const CdDrive::State state = drive.state();
    if (item == QLatin1String("mode")) {
        *reply = modeText(state);
        return MciOk;
    }
    if (item == QLatin1String("media present")) {
        *reply = boolText(drive.mediaPresent());
        return MciOk;
    }
    if (item == QLatin1String("ready")) {
        *reply = boolText(ready(state));
        return MciOk;
    }
    if (item == QLatin1String("time format")) {
        *reply = timeFormatName(m_format);
        return MciOk;
    }
    if (!ready(state))
        return MciErrDeviceNotReady;

    const QVector<CdTrack> toc = drive.tracks();
    int track = 0;
    if (const int error = trackArgument(args, &track))
        return error;
    const QString first = args.first().toLower();
    if (item == QLatin1String("number of tracks")) {
        *reply = QString::number(toc.size());
    } else if (item == QLatin1String("current track")) {
        *reply = QString::number(trackAt(toc, drive.positionMs()));
    } else if (first == QLatin1String("position") && track > 0) {
        *reply = positionText(toc[track - 1].startMs);
    } else if (item == QLatin1String("position")) {
        *reply = positionText(drive.positionMs());
    } else if (item == QLatin1String("start position")) {
        *reply = positionText(0);
    } else if (first == QLatin1String("length") && track > 0) {
        *reply = lengthText(toc[track - 1].lengthMs);
    } else if (item == QLatin1String("length")) {
        *reply = lengthText(discLength(toc));
    } else if (first == QLatin1String("type") && track > 0) {
        *reply = toc[track - 1].audio ? QStringLiteral("audio") : QStringLiteral("other");
    } else {
        return MciErrUnrecognizedKeyword;
    }
    return MciOk;
}

int CdAudioDevice::play(const QStringList &args)
{
    CdDrive &drive = cdDrive();
    if (!ready(drive.state()))
        return MciErrDeviceNotReady;
    bool hasFrom = false, hasTo = false;
    const QString fromText = valueAfter(args, "from", &hasFrom);
    const QString toText = valueAfter(args, "to", &hasTo);
    qint64 from = drive.positionMs();
    qint64 to = -1;
    if (hasFrom)
        if (const int error = parsePosition(fromText, &from))
            return error;
    if (hasTo)
        if (const int error = parsePosition(toText, &to))
            return error;
    const QVector<CdTrack> toc = drive.tracks();
    if (from >= discLength(toc) || (to >= 0 && to <= from))
        return MciErrOutOfRange;
    if (!toc.isEmpty() && !toc[trackAt(toc, from) - 1].audio)
        return MciErrNoDataTrackPlay;
    return drive.play(from, to) ? MciOk : MciErrHardware;
}

int CdAudioDevice::seek(const QStringList &args)
{
    CdDrive &drive = cdDrive();
    if (!ready(drive.state()))
        return MciErrDeviceNotReady;
    bool hasTo = false;
    QString target = valueAfter(args, "to", &hasTo);
    if (!hasTo)
        return MciErrMissingParameter;
    qint64 ms = 0;
    if (const int error = parsePosition(target, &ms))
        return error;
    return drive.seek(ms) ? MciOk : MciErrHardware;
}

int CdAudioDevice::set(const QStringList &args)
{
    if (args.size() >= 3 && same(args[0], "time") && same(args[1], "format")) {
        TimeFormat format;
        if (!parseTimeFormat(args[2], &format) || format == TimeFormat::Frames)
            return MciErrBadTimeFormat;
        m_format = format;
        return MciOk;
    }
    if (args.size() >= 2 && same(args[0], "door")) {
        if (same(args[1], "open"))
            return cdDrive().setTrayOpen(true) ? MciOk : MciErrHardware;
        if (same(args[1], "closed"))
            return cdDrive().setTrayOpen(false) ? MciOk : MciErrHardware;
    }
    return args.isEmpty() ? MciErrMissingParameter : MciErrUnrecognizedKeyword;
}

int CdAudioDevice::transport(const QString &verb)
{
    CdDrive &drive = cdDrive();
    if (!ready(drive.state()))
        return MciErrDeviceNotReady;
    bool done = false;
    if (verb == QLatin1String("pause"))
        done = drive.pause();
    else if (verb == QLatin1String("resume"))
        done = drive.resume();
    else
        done = drive.stop();
    return done ? MciOk : MciErrHardware;
}

int CdAudioDevice::run(const QString &verb, const QStringList &args, QString *reply)
{
    if (verb == QLatin1String("close")) {
        close();
        return MciOk;
    }
    autoOpen();
    if (verb == QLatin1String("open"))
        return MciOk;
    if (verb == QLatin1String("status"))
        return status(args, reply);
    if (verb == QLatin1String("play"))
        return play(args);
    if (verb == QLatin1String("seek"))
        return seek(args);
    if (verb == QLatin1String("set"))
        return set(args);
    if (verb == QLatin1String("pause") || verb == QLatin1String("resume") || verb == QLatin1String("stop"))
        return transport(verb);
    return MciErrUnrecognizedCommand;
}
