#pragma once
// A named channel for lines of text between processes of one user on this machine: a Unix
// domain socket in the user's runtime folder, which only that user can reach, and whose
// ends talk only to processes of that same user. Qt's own local sockets would bring its
// network module, and a dozen libraries with it, into the start of every program that only
// wants to find its running copy.

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QSocketNotifier;

namespace LocalChannel {

// The folder of the channels: $XDG_RUNTIME_DIR when it is a folder of this user's alone,
// else "pelloran-<user id>" in the temporary folder, made with mode 0700 when missing. A
// folder that is a link, another user's or open to others is never used: "" then.
QString folder();

// The socket file of a channel name; "" when there is no folder to trust.
QString path(const QString &name);

// Sends one line (a line feed is added) to whoever listens on the channel; false when nobody
// takes it within timeoutMs. A listener of another user, or a socket file that is a link or
// another user's, counts as nobody: the line is not written to it.
bool send(const QString &name, const QString &line, int timeoutMs = 2000);

}  // namespace LocalChannel

// Listens on a channel and hands over every line any sender writes, in the event loop, in
// the order the senders connected: one sender's lines come before those of the next.
// Senders of another user are turned away unheard.
class LocalListener : public QObject
{
    Q_OBJECT
public:
    // The senders held open at once; one more is turned away, so that a peer that opens
    // connections without end cannot use up the program's descriptors.
    static constexpr int MaxSenders = 16;

    explicit LocalListener(QObject *parent = nullptr);
    ~LocalListener() override;

    // Replaces whatever lies at the name unless a listener of this user answers there (a
    // socket left by a copy that died, another user's socket, a link). False when the
    // channel cannot be opened (no folder to trust, a name too long for a socket, a live
    // listener of this user).
    bool listen(const QString &name);

signals:
    void lineReceived(const QString &line);

private:
    struct Client;
    void acceptClients();
    void readClients();
    void takeLines(QStringList &lines);
    void handOver(const QStringList &lines);

    int m_fd = -1;
    QString m_path;
    QSocketNotifier *m_notifier = nullptr;
    std::vector<std::unique_ptr<Client>> m_clients;  // in the order they connected
};
