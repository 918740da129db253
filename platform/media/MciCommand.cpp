#include "MciCommand.h"

#include "CdDrive.h"
#include "MediaPlayer.h"

#include <QHash>
#include <QStringList>

#include <cmath>
#include <map>
#include <memory>

namespace {

constexpr qint64 kCdFramesPerSecond = 75;

// ---- words --------------------------------------------------------------

// Splits a command into words at blanks; a double-quoted word may hold blanks.
QStringList splitWords(const QString &command)
{
    QStringList words;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (QChar c : command) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && c.isSpace()) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

bool same(const QString &a, const char *b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; }

// Drops the flags that change nothing here (every command completes before
// it returns; devices are always shared).
QStringList withoutFlags(QStringList words)
{
    words.removeIf([](const QString &w) { return same(w, "wait") || same(w, "notify") || same(w, "shareable"); });
    return words;
}

// The word after keyword, or empty; found tells whether the keyword was there.
QString valueAfter(const QStringList &words, const char *keyword, bool *found = nullptr)
{
    for (int i = 0; i < words.size(); ++i) {
        if (same(words[i], keyword)) {
            if (found)
                *found = true;
            return i + 1 < words.size() ? words[i + 1] : QString();
        }
    }
    if (found)
        *found = false;
    return {};
}

QString two(qint64 n) { return QString::number(n).rightJustified(2, QLatin1Char('0')); }

QString msfText(qint64 ms)
{
    const qint64 frames = ms * kCdFramesPerSecond / 1000;
    const qint64 seconds = frames / kCdFramesPerSecond;
    return two(seconds / 60) + QLatin1Char(':') + two(seconds % 60) + QLatin1Char(':') +
           two(frames % kCdFramesPerSecond);
}

// Milliseconds of "mm:ss:ff"-style parts; the frame part is rounded up so
// that it reads back as the same frame.
bool partsToMs(const QStringList &parts, qint64 *ms)
{
    static const qint64 kScale[] = {60000, 1000};
    qint64 total = 0;
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const qint64 n = parts[i].toLongLong(&ok);
        if (!ok || n < 0)
            return false;
        total += i < 2 ? n * kScale[i] : (n * 1000 + kCdFramesPerSecond - 1) / kCdFramesPerSecond;
    }
    *ms = total;
    return true;
}

enum class TimeFormat { Msf, Tmsf, Milliseconds, Frames };

bool parseTimeFormat(const QString &word, TimeFormat *format)
{
    if (same(word, "msf"))
        *format = TimeFormat::Msf;
    else if (same(word, "tmsf"))
        *format = TimeFormat::Tmsf;
    else if (same(word, "milliseconds") || same(word, "ms"))
        *format = TimeFormat::Milliseconds;
    else if (same(word, "frames"))
        *format = TimeFormat::Frames;
    else
        return false;
    return true;
}

QString timeFormatName(TimeFormat format)
{
    switch (format) {
    case TimeFormat::Msf:
        return QStringLiteral("msf");
    case TimeFormat::Tmsf:
        return QStringLiteral("tmsf");
    case TimeFormat::Frames:
        return QStringLiteral("frames");
    case TimeFormat::Milliseconds:
        break;
    }
    return QStringLiteral("milliseconds");
}

QString boolText(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

// ---- the CD device --------------------------------------------------------

class CdDevice {
public:
    int run(const QString &verb, const QStringList &args, QString *reply);
    void close()
    {
        m_open = false;
        m_format = TimeFormat::Msf;
    }

private:
    void autoOpen()
    {
        if (!m_open) {
            m_open = true;
            m_format = TimeFormat::Msf;
        }
    }
    static bool ready(CdDrive::State s)
    {
        return s == CdDrive::State::Stopped || s == CdDrive::State::Playing || s == CdDrive::State::Paused;
    }
    int status(const QStringList &args, QString *reply);
    int play(const QStringList &args);
    int seek(const QStringList &args);
    int set(const QStringList &args);
    int parsePosition(const QString &text, qint64 *ms) const;
    QString positionText(qint64 ms) const;
    QString lengthText(qint64 ms) const;
    int trackArgument(const QStringList &args, int *track) const;

    bool m_open = false;
    TimeFormat m_format = TimeFormat::Msf;
};

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

QString CdDevice::positionText(qint64 ms) const
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

QString CdDevice::lengthText(qint64 ms) const
{
    return m_format == TimeFormat::Milliseconds ? QString::number(ms) : msfText(ms);
}

int CdDevice::parsePosition(const QString &text, qint64 *ms) const
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

int CdDevice::trackArgument(const QStringList &args, int *track) const
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

int CdDevice::status(const QStringList &args, QString *reply)
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

int CdDevice::play(const QStringList &args)
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

int CdDevice::seek(const QStringList &args)
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

int CdDevice::set(const QStringList &args)
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

int CdDevice::run(const QString &verb, const QStringList &args, QString *reply)
{
    if (verb == QLatin1String("close")) {
        close();
        return MciOk;
    }
    autoOpen();
    CdDrive &drive = cdDrive();
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
    if (verb == QLatin1String("pause") || verb == QLatin1String("resume") || verb == QLatin1String("stop")) {
        if (!ready(drive.state()))
            return MciErrDeviceNotReady;
        const bool done = verb == QLatin1String("pause") ? drive.pause()
                          : verb == QLatin1String("resume") ? drive.resume()
                                                            : drive.stop();
        return done ? MciOk : MciErrHardware;
    }
    return MciErrUnrecognizedCommand;
}

// ---- file aliases ---------------------------------------------------------

// A media file opened under an alias. Positions count milliseconds in every
// time format.
struct FileAlias {
    std::unique_ptr<MediaPlayer> player;
    TimeFormat format = TimeFormat::Milliseconds;

    int run(const QString &verb, const QStringList &args, QString *reply);
    int parseTarget(const QString &text, qint64 *ms) const;
};

int FileAlias::parseTarget(const QString &text, qint64 *ms) const
{
    if (same(text, "start")) {
        *ms = 0;
        return MciOk;
    }
    if (same(text, "end")) {
        *ms = player->lengthMs();
        return MciOk;
    }
    if (text.isEmpty())
        return MciErrMissingParameter;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || value < 0 || value > player->lengthMs())
        return MciErrOutOfRange;
    *ms = qint64(value);
    return MciOk;
}

int FileAlias::run(const QString &verb, const QStringList &args, QString *reply)
{
    MediaPlayer &p = *player;
    if (verb == QLatin1String("play")) {
        bool hasFrom = false, hasTo = false;
        const QString fromText = valueAfter(args, "from", &hasFrom);
        valueAfter(args, "to", &hasTo);
        if (hasTo)
            return MciErrUnsupportedFunction;
        if (hasFrom) {
            qint64 from = 0;
            if (const int error = parseTarget(fromText, &from))
                return error;
            p.seek(from);
        }
        p.play();
        return MciOk;
    }
    if (verb == QLatin1String("pause")) {
        p.pause();
        return MciOk;
    }
    if (verb == QLatin1String("resume")) {
        if (p.state() == MediaPlayer::State::Paused)
            p.play();
        return MciOk;
    }
    if (verb == QLatin1String("stop")) {
        p.stop();
        return MciOk;
    }
    if (verb == QLatin1String("seek")) {
        bool hasTo = false;
        const QString target = valueAfter(args, "to", &hasTo);
        if (!hasTo)
            return MciErrMissingParameter;
        qint64 ms = 0;
        if (const int error = parseTarget(target, &ms))
            return error;
        p.stop();  // a seek leaves the file stopped at the target
        p.seek(ms);
        return MciOk;
    }
    if (verb == QLatin1String("set")) {
        if (args.size() >= 3 && same(args[0], "time") && same(args[1], "format")) {
            TimeFormat f;
            if (!parseTimeFormat(args[2], &f) || f == TimeFormat::Msf || f == TimeFormat::Tmsf)
                return MciErrBadTimeFormat;
            format = f;
            return MciOk;
        }
        return args.isEmpty() ? MciErrMissingParameter : MciErrUnrecognizedKeyword;
    }
    if (verb == QLatin1String("status")) {
        const QString item = args.join(QLatin1Char(' ')).toLower();
        if (item == QLatin1String("mode")) {
            switch (p.state()) {
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
            *reply = QString::number(p.positionMs());
        } else if (item == QLatin1String("length")) {
            *reply = QString::number(p.lengthMs());
        } else if (item == QLatin1String("time format")) {
            *reply = timeFormatName(format);
        } else if (item == QLatin1String("ready") || item == QLatin1String("media present")) {
            *reply = boolText(true);
        } else {
            return args.isEmpty() ? MciErrMissingParameter : MciErrUnrecognizedKeyword;
        }
        return MciOk;
    }
    if (verb == QLatin1String("open"))
        return MciOk;
    return MciErrUnrecognizedCommand;
}

// ---- the interpreter ------------------------------------------------------

class Interpreter {
public:
    int run(const QString &command, QString *reply);
    void reset()
    {
        m_cd.close();
        m_aliases.clear();
    }
    MciCommandObserver observer;

private:
    int open(const QStringList &words);
    int close(const QString &device);

    CdDevice m_cd;
    std::map<QString, FileAlias> m_aliases;  // keyed by lower-case alias
};

int Interpreter::open(const QStringList &words)
{
    // open <device or file> [type <t>] [alias <name>]; the file runs up to the
    // first keyword, so an unquoted name with blanks still opens.
    int keywordAt = words.size();
    for (int i = 2; i < words.size(); ++i) {
        if (same(words[i], "type") || same(words[i], "alias")) {
            keywordAt = i;
            break;
        }
    }
    const QString target = words.mid(1, keywordAt - 1).join(QLatin1Char(' '));
    const QStringList rest = words.mid(keywordAt);
    if (same(target, "cdaudio") || same(valueAfter(rest, "type"), "cdaudio"))
        return m_cd.run(QStringLiteral("open"), {}, nullptr);
    QString alias = valueAfter(rest, "alias");
    if (alias.isEmpty())
        alias = target;
    const QString key = alias.toLower();
    if (key == QLatin1String("cdaudio") || key == QLatin1String("all"))
        return MciErrDuplicateAlias;
    if (m_aliases.count(key))
        return MciErrDuplicateAlias;
    FileAlias file;
    file.player = createMediaPlayer();
    const MediaPlayer::OpenResult result = file.player->open(target);
    if (result == MediaPlayer::NoDriver)
        return MciErrCannotLoadDriver;
    if (result != MediaPlayer::Opened)
        return MciErrFileNotFound;
    m_aliases.emplace(key, std::move(file));
    return MciOk;
}

int Interpreter::close(const QString &device)
{
    if (same(device, "all")) {
        reset();
        return MciOk;
    }
    if (same(device, "cdaudio"))
        return m_cd.run(QStringLiteral("close"), {}, nullptr);
    const auto it = m_aliases.find(device.toLower());
    if (it == m_aliases.end())
        return MciErrInvalidDeviceName;
    m_aliases.erase(it);
    return MciOk;
}

int Interpreter::run(const QString &command, QString *reply)
{
    const QStringList words = splitWords(command);
    if (words.isEmpty())
        return MciErrUnrecognizedCommand;
    const QString verb = words[0].toLower();
    if (words.size() < 2)
        return MciErrMissingDeviceName;
    if (verb == QLatin1String("open"))
        return open(withoutFlags(words));
    const QStringList args = withoutFlags(words.mid(2));
    const QString device = words[1];
    if (verb == QLatin1String("close"))
        return close(device);
    if (same(device, "cdaudio"))
        return m_cd.run(verb, args, reply);
    const auto it = m_aliases.find(device.toLower());
    if (it == m_aliases.end())
        return MciErrInvalidDeviceName;
    return it->second.run(verb, args, reply);
}

Interpreter &interpreter()
{
    static Interpreter instance;
    return instance;
}

} // namespace

int mciSendString(const QString &command, QString *reply, int replyLength)
{
    QString text;
    int result = interpreter().run(command, &text);
    if (result != MciOk)
        text.clear();
    if (reply)
        *reply = replyLength > 0 ? text.left(replyLength) : QString();
    if (interpreter().observer)
        interpreter().observer(command, result, text);
    return result;
}

void setMciCommandObserver(MciCommandObserver observer) { interpreter().observer = std::move(observer); }

void mciResetDevices() { interpreter().reset(); }

QString mciErrorText(int code)
{
    static const QHash<int, QString> kTexts = {
        {MciOk, QStringLiteral("no error")},
        {MciErrUnrecognizedKeyword, QStringLiteral("unrecognized keyword")},
        {MciErrUnrecognizedCommand, QStringLiteral("unrecognized command")},
        {MciErrHardware, QStringLiteral("the drive refused the action")},
        {MciErrInvalidDeviceName, QStringLiteral("no such device or alias is open")},
        {MciErrOutOfRange, QStringLiteral("position out of range")},
        {MciErrMissingParameter, QStringLiteral("a parameter is missing")},
        {MciErrUnsupportedFunction, QStringLiteral("not supported")},
        {MciErrFileNotFound, QStringLiteral("file missing or format unreadable")},
        {MciErrDeviceNotReady, QStringLiteral("device not ready")},
        {MciErrDuplicateAlias, QStringLiteral("alias already in use")},
        {MciErrBadTimeFormat, QStringLiteral("time format not supported")},
        {MciErrCannotLoadDriver, QStringLiteral("no media engine could be started")},
        {MciErrMissingDeviceName, QStringLiteral("no device named")},
        {MciErrDeviceNotOpen, QStringLiteral("device not open")},
        {MciErrNoDataTrackPlay, QStringLiteral("cannot play a data track")},
    };
    return kTexts.value(code, QStringLiteral("media error %1").arg(code));
}
