#include "MciCommand.h"

#include "CdAudioDevice.h"
#include "FileAliasDevice.h"
#include "MciWords.h"

#include <QHash>

#include <map>

using namespace mci;

namespace {

// The devices by name: "cdaudio" and the file aliases.
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

    CdAudioDevice m_cd;
    std::map<QString, FileAliasDevice> m_aliases;  // keyed by lower-case alias
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
    FileAliasDevice file;
    if (const int error = file.open(target))
        return error;
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
