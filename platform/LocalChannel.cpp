#include "LocalChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A line that never ends is not kept without bound.
constexpr qsizetype MaxLine = 64 * 1024;

bool socketAddress(const QString &path, sockaddr_un &address)
{
    const QByteArray bytes = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || size_t(bytes.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
    return true;
}

int streamSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

// Waits until the socket is ready for the events, or the deadline passes.
bool readyFor(int fd, short events, const QDeadlineTimer &deadline)
{
    pollfd entry{fd, events, 0};
    for (;;) {
        const int result = ::poll(&entry, 1, int(qMin<qint64>(deadline.remainingTime(), INT_MAX)));
        if (result > 0)
            return !(entry.revents & (POLLERR | POLLNVAL));
        if (result == 0 || errno != EINTR)
            return false;
    }
}

// A file of this user's, as lstat sees it (a link is the link, not what it names).
bool ownEntry(const QByteArray &path, mode_t type, struct stat &status)
{
    return ::lstat(path.constData(), &status) == 0 && (status.st_mode & S_IFMT) == type && status.st_uid == ::geteuid();
}

// A folder of this user's alone: nobody else can put a socket or a link into it.
bool privateFolder(const QString &path)
{
    struct stat status;
    return !path.isEmpty() && ownEntry(QFile::encodeName(path), S_IFDIR, status) && (status.st_mode & 077) == 0;
}

// The process at the other end of a connected socket runs as this user.
bool peerIsThisUser(int fd)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 && credentials.uid == ::geteuid();
}

bool connectTo(int fd, const sockaddr_un &address, const QDeadlineTimer &deadline)
{
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return true;
    if (errno != EAGAIN && errno != EINPROGRESS)
        return false;  // nobody listens
    int error = 0;
    socklen_t length = sizeof error;
    return readyFor(fd, POLLOUT, deadline) && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0
           && error == 0;
}

bool writeAll(int fd, const QByteArray &bytes, const QDeadlineTimer &deadline)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::send(fd, bytes.constData() + written, size_t(bytes.size() - written), MSG_NOSIGNAL);
        if (count > 0)
            written += count;
        else if (count < 0 && errno == EINTR)
            continue;
        else if (count < 0 && errno == EAGAIN && readyFor(fd, POLLOUT, deadline))
            continue;
        else
            return false;
    }
    return true;
}

// Connects to a listener of this user at the address; -1 when there is none (nothing there,
// a socket left behind, another user's socket, a link or another user's file at the name).
int connectToOwnListener(const sockaddr_un &address, const QDeadlineTimer &deadline)
{
    struct stat status;
    if (!ownEntry(QByteArray(address.sun_path), S_IFSOCK, status))
        return -1;
    const int fd = streamSocket();
    if (fd >= 0 && connectTo(fd, address, deadline) && peerIsThisUser(fd))
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// Private from its creation: on Linux a socket file takes the mode of the socket it is bound
// from, so nobody else can connect in the moment between the bind and a chmod.
bool bindPrivately(int fd, const sockaddr_un &address)
{
    return ::fchmod(fd, S_IRUSR | S_IWUSR) == 0
           && ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
}

}  // namespace

namespace LocalChannel {

QString folder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (privateFolder(runtime))
        return runtime;
    // Where the session gives no runtime folder: one of the user's own, by user id, since the
    // sender must find it again. A name someone else took first is refused, never used.
    const QString own = QDir::tempPath() + QStringLiteral("/pelloran-") + QString::number(::geteuid());
    ::mkdir(QFile::encodeName(own).constData(), S_IRWXU);
    return privateFolder(own) ? own : QString();
}

QString path(const QString &name)
{
    const QString channels = folder();
    return channels.isEmpty() ? QString() : channels + QLatin1Char('/') + name;
}

bool send(const QString &name, const QString &line, int timeoutMs)
{
    sockaddr_un address;
    if (!socketAddress(path(name), address))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    const int fd = connectToOwnListener(address, deadline);
    if (fd < 0)
        return false;
    const bool sent = writeAll(fd, line.toUtf8() + '\n', deadline);
    ::close(fd);
    return sent;
}

}  // namespace LocalChannel

struct LocalListener::Client
{
    explicit Client(int socket) : fd(socket), notifier(std::make_unique<QSocketNotifier>(qintptr(socket), QSocketNotifier::Read)) {}
    ~Client()
    {
        notifier.reset();  // no longer watched before the descriptor goes
        ::close(fd);
    }

    // Takes what arrived; false once the sender is done (or writes a line without end).
    bool read(QStringList &lines)
    {
        char buffer[4096];
        ssize_t count;
        while ((count = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
            pending.append(buffer, count);
        const bool open = count < 0 && (errno == EAGAIN || errno == EINTR);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1))
            lines << QString::fromUtf8(pending.left(end));
        return open && pending.size() <= MaxLine;
    }

    const int fd;
    QByteArray pending;  // the start of a line still being written
    std::unique_ptr<QSocketNotifier> notifier;
};

LocalListener::LocalListener(QObject *parent) : QObject(parent) {}

LocalListener::~LocalListener()
{
    m_clients.clear();
    if (m_fd >= 0) {
        ::close(m_fd);
        QFile::remove(m_path);
    }
}

bool LocalListener::listen(const QString &name)
{
    const QString path = LocalChannel::path(name);
    sockaddr_un address;
    if (m_fd >= 0 || !socketAddress(path, address))
        return false;
    const int running = connectToOwnListener(address, QDeadlineTimer(500));
    if (running >= 0) {
        ::close(running);
        return false;  // the name is taken by a copy that still answers
    }
    const int fd = streamSocket();
    if (fd < 0)
        return false;
    ::unlink(address.sun_path);  // nobody of ours answers there: whatever lies there goes, never what a link names
    if (!bindPrivately(fd, address) || ::listen(fd, SOMAXCONN) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LocalListener::acceptClients);
    return true;
}

void LocalListener::acceptClients()
{
    QStringList lines;
    takeLines(lines);  // senders that are done give their places to the new ones first
    for (int fd; (fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) {
        if (!peerIsThisUser(fd) || m_clients.size() >= size_t(MaxSenders)) {
            ::close(fd);  // turned away unheard
            continue;
        }
        m_clients.push_back(std::make_unique<Client>(fd));
        connect(m_clients.back()->notifier.get(), &QSocketNotifier::activated, this, &LocalListener::readClients);
    }
    takeLines(lines);
    handOver(lines);
}

void LocalListener::readClients()
{
    QStringList lines;
    takeLines(lines);
    handOver(lines);
}

// Every sender is read, in the order they connected, whichever of them woke the listener: a
// sender writes before the next one connects, so an earlier sender's lines are always in.
void LocalListener::takeLines(QStringList &lines)
{
    std::erase_if(m_clients, [&lines](const std::unique_ptr<Client> &client) { return !client->read(lines); });
}

// Handed over last: a receiver may run the event loop, or end the listener.
void LocalListener::handOver(const QStringList &lines)
{
    const QPointer<LocalListener> alive(this);
    for (const QString &line : lines) {
        emit lineReceived(line);
        if (!alive)
            return;
    }
}
