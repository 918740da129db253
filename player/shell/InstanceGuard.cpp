#include "InstanceGuard.h"

#include "LocalChannel.h"
#include "SystemPaths.h"

#include <QCryptographicHash>
#include <QTimer>

InstanceGuard::InstanceGuard(QObject* parent) : QObject(parent) {}

QString InstanceGuard::ServerName()
{
    // Per user and config folder, so that test runs with their own folders do not meet.
    const QByteArray key = SystemPaths::ConfigFolder().toUtf8();
    return QStringLiteral("Quorvel-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

bool InstanceGuard::send(const QString& line, int timeoutMs) { return LocalChannel::send(ServerName(), line, timeoutMs); }

bool InstanceGuard::claim()
{
    if (send(QStringLiteral("raise"), 500)) return false;
    m_listener = new LocalListener(this);
    const bool listening = m_listener->listen(ServerName());
    m_notice = m_listener->notice();
    if (!listening) {
        if (m_notice.isEmpty()) m_notice = QStringLiteral("無法開啟");
        return true;  // run all the same
    }
    connect(m_listener, &LocalListener::lineReceived, this, &InstanceGuard::take);
    return true;
}

void InstanceGuard::take(const QString& received)
{
    const QString line = received.trimmed();
    if (line == QLatin1String("raise"))
        emit comeForward();
    else if (qEnvironmentVariableIntValue("PELLORAN_TEST_CONTROL") == 1)
        queueTestCommand(line);
}

// One command a turn of the event loop, as a user acts: what one command started (a window
// being shown, its fields filled) has happened before the next command looks for it, even
// when a test sends several at once.
void InstanceGuard::queueTestCommand(const QString& command)
{
    m_testCommands.enqueue(command);
    if (m_testCommands.size() == 1) QTimer::singleShot(0, this, &InstanceGuard::runTestCommand);
}

void InstanceGuard::runTestCommand()
{
    emit testCommand(m_testCommands.head());
    m_testCommands.dequeue();
    if (!m_testCommands.isEmpty()) QTimer::singleShot(0, this, &InstanceGuard::runTestCommand);
}
