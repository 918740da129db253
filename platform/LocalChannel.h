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
class QTimer;

namespace LocalChannel {

// The folder a listener takes: $XDG_RUNTIME_DIR, else "pelloran-<user id>" in the temporary
// folder, else "pelloran-channels" in the user's cache folder (these two made with mode 0700
// when missing), the first of them that is a folder of this user's alone. A link, another
// user's folder or one the group or others may enter is passed over and said in `refused`
// (one text each, for the log); "" when none is left.
QString folder(QStringList *refused = nullptr);

// Every one of those folders that is there and of this user's alone, in the same order: a
// sender looks in each, since a folder may become private while a listener runs (a runtime
// folder a library puts right) and the listener stays where it began.
QStringList folders();

// The socket file of a channel name in folder(); "" when there is no folder to trust.
QString path(const QString &name);

// Sends one line (a line feed is added) to whoever listens on the channel, in whichever of
// the folders it listens; false when nobody takes it within timeoutMs. A listener of another
// user, or a socket file that is a link or another user's, counts as nobody: the line is not
// written to it.
bool send(const QString &name, const QString &line, int timeoutMs = 2000);

}  // namespace LocalChannel

// Listens on a channel and hands over every line any sender writes, in the event loop, in
// the order the senders connected: one sender's lines come before those of the next.
// Senders of another user are turned away unheard; a sender that says nothing for
// SilentLimitMs is let go, so that its place goes to the next.
class LocalListener : public QObject
{
    Q_OBJECT
public:
    // The senders held open at once; more wait, unread, until one of these is done or let go,
    // so that a peer that opens connections without end cannot use up the program's
    // descriptors.
    static constexpr int MaxSenders = 16;
    // How long a sender may say nothing before it is let go.
    static constexpr int SilentLimitMs = 3000;

    explicit LocalListener(QObject *parent = nullptr);
    ~LocalListener() override;

    // Replaces whatever lies at the name unless a listener of this user answers there (a
    // socket left by a copy that died, another user's socket, a link). False when the
    // channel cannot be opened (no folder to trust, a name too long for a socket, a live
    // listener of this user).
    bool listen(const QString &name);

    // Why the channel does not lie in the first of the usual folders (one line for each one
    // passed over), or that there was none to trust; "" when nothing was passed over.
    QString notice() const { return m_notice; }

signals:
    void lineReceived(const QString &line);

private:
    struct Client;
    void serve();
    void acceptWaiting();
    void takeLines(QStringList &lines);
    void watchSenders();
    void handOver(const QStringList &lines);

    int m_fd = -1;
    QString m_path;
    QString m_notice;
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_silence = nullptr;
    std::vector<std::unique_ptr<Client>> m_clients;  // in the order they connected
};
