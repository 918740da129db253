#pragma once
// A named channel for lines of text between processes of one user on this machine: a Unix
// domain socket in the temporary folder, readable and writable by the user alone. Qt's own
// local sockets would bring its network module, and a dozen libraries with it, into the
// start of every program that only wants to find its running copy.

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QSocketNotifier;

namespace LocalChannel {

// The socket file of a channel name.
QString path(const QString &name);

// Sends one line (a line feed is added) to whoever listens on the channel; false when nobody
// takes it within timeoutMs.
bool send(const QString &name, const QString &line, int timeoutMs = 2000);

}  // namespace LocalChannel

// Listens on a channel and hands over every line any sender writes, in the event loop, in
// the order the senders connected: one sender's lines come before those of the next.
class LocalListener : public QObject
{
    Q_OBJECT
public:
    explicit LocalListener(QObject *parent = nullptr);
    ~LocalListener() override;

    // Replaces a socket file a process that died left behind. False when the channel cannot
    // be opened (no temporary folder, a name too long for a socket).
    bool listen(const QString &name);

signals:
    void lineReceived(const QString &line);

private:
    struct Client;
    void acceptClients();
    void readClients();

    int m_fd = -1;
    QString m_path;
    QSocketNotifier *m_notifier = nullptr;
    std::vector<std::unique_ptr<Client>> m_clients;  // in the order they connected
};
