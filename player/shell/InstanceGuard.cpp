#include "InstanceGuard.h"

#include "SystemPaths.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

InstanceGuard::InstanceGuard(QObject* parent) : QObject(parent) {}

QString InstanceGuard::ServerName()
{
    // Per user and config folder, so that test runs with their own folders do not meet.
    const QByteArray key = SystemPaths::ConfigFolder().toUtf8();
    return QStringLiteral("Quorvel-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

bool InstanceGuard::send(const QString& line, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(line.toUtf8() + '\n');
    socket.flush();
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool InstanceGuard::claim()
{
    if (send(QStringLiteral("raise"), 500)) return false;
    QLocalServer::removeServer(ServerName());  // a socket left by a copy that died
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(ServerName())) return true;  // cannot listen: run all the same
    connect(m_server, &QLocalServer::newConnection, this, &InstanceGuard::readClient);
    return true;
}

void InstanceGuard::readClient()
{
    while (QLocalSocket* client = m_server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            while (client->canReadLine()) {
                const QString line = QString::fromUtf8(client->readLine()).trimmed();
                if (line == QLatin1String("raise"))
                    emit comeForward();
                else if (qEnvironmentVariableIntValue("PELLORAN_TEST_CONTROL") == 1)
                    emit testCommand(line);
            }
        });
    }
}
