#include "LocalChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

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

// Why a folder is not of this user's alone, where someone else could put a socket or a link;
// "" when it is.
QString whyNotPrivate(const QString &path)
{
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return QStringLiteral("不存在");
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("是連結");
    if (!S_ISDIR(status.st_mode))
        return QStringLiteral("不是資料夾");
    if (status.st_uid != ::geteuid())
        return QStringLiteral("屬於其他使用者");
    if ((status.st_mode & 077) != 0)
        return QStringLiteral("其他使用者可進入 (%1)").arg(status.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return QString();
}

// A folder the channels may lie in; the ones of the program's own are made where missing.
struct Place
{
    QString path;
    bool ours;
};

QList<Place> places()
{
    QList<Place> all;
    if (const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR"); !runtime.isEmpty())
        all.append({runtime, false});
    // By user id, since the sender must find it again; one someone else took first is refused.
    all.append({QDir::tempPath() + QStringLiteral("/pelloran-") + QString::number(::geteuid()), true});
    // Where even that is taken: a folder in the user's own home, which nobody else can take.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty())
        all.append({cache + QStringLiteral("/pelloran-channels"), true});
    return all;
}

void makePrivateFolder(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    ::mkdir(QFile::encodeName(path).constData(), S_IRWXU);
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

// Connects to a listener of this user at the name in whichever folder it listens; -1 when
// there is none.
int connectToChannel(const QString &name, const QDeadlineTimer &deadline)
{
    sockaddr_un address;
    for (const QString &channels : LocalChannel::folders()) {
        if (!socketAddress(channels + QLatin1Char('/') + name, address))
            continue;
        if (const int fd = connectToOwnListener(address, deadline); fd >= 0)
            return fd;
    }
    return -1;
}

}  // namespace

namespace LocalChannel {

QString folder(QStringList *refused)
{
    for (const Place &place : places()) {
        if (place.ours)
            makePrivateFolder(place.path);
        const QString why = whyNotPrivate(place.path);
        if (why.isEmpty())
            return place.path;
        if (refused)
            *refused << place.path + QLatin1Char(' ') + why;
    }
    return QString();
}

QStringList folders()
{
    QStringList usable;
    for (const Place &place : places())
        if (whyNotPrivate(place.path).isEmpty())
            usable << place.path;
    return usable;
}

QString path(const QString &name)
{
    const QString channels = folder();
    return channels.isEmpty() ? QString() : channels + QLatin1Char('/') + name;
}

bool send(const QString &name, const QString &line, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    const int fd = connectToChannel(name, deadline);
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
        while ((count = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
            pending.append(buffer, count);
            quietUntil.setRemainingTime(SilentLimitMs);
        }
        const bool open = count < 0 && (errno == EAGAIN || errno == EINTR);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1))
            lines << QString::fromUtf8(pending.left(end));
        return open && pending.size() <= MaxLine;
    }

    const int fd;
    QByteArray pending;  // the start of a line still being written
    QDeadlineTimer quietUntil{SilentLimitMs};  // let go when it has said nothing by then
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
    if (m_fd >= 0)
        return false;
    QStringList refused;
    const QString channels = LocalChannel::folder(&refused);
    const QString path = channels + QLatin1Char('/') + name;
    m_notice = refused.join(QStringLiteral(", "));
    if (channels.isEmpty()) {
        m_notice += QStringLiteral(", 沒有可用的資料夾");
        return false;
    }
    if (!refused.isEmpty())
        m_notice += QStringLiteral(", 改用 ") + channels;
    sockaddr_un address;
    if (!socketAddress(path, address))
        return false;
    if (const int running = connectToChannel(name, QDeadlineTimer(500)); running >= 0) {
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
    connect(m_notifier, &QSocketNotifier::activated, this, &LocalListener::serve);
    m_silence = new QTimer(this);
    m_silence->setSingleShot(true);
    connect(m_silence, &QTimer::timeout, this, &LocalListener::serve);
    return true;
}

// Every sender is read, in the order they connected, whichever of them woke the listener: a
// sender writes before the next one connects, so an earlier sender's lines are always in.
// Senders that are done or silent too long give their places to those waiting, first.
void LocalListener::serve()
{
    QStringList lines;
    takeLines(lines);
    std::erase_if(m_clients, [](const std::unique_ptr<Client> &client) { return client->quietUntil.hasExpired(); });
    acceptWaiting();
    takeLines(lines);
    watchSenders();
    handOver(lines);
}

void LocalListener::acceptWaiting()
{
    while (m_clients.size() < size_t(MaxSenders)) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        if (!peerIsThisUser(fd)) {
            ::close(fd);  // turned away unheard
            continue;
        }
        m_clients.push_back(std::make_unique<Client>(fd));
        connect(m_clients.back()->notifier.get(), &QSocketNotifier::activated, this, &LocalListener::serve);
    }
}

void LocalListener::takeLines(QStringList &lines)
{
    std::erase_if(m_clients, [&lines](const std::unique_ptr<Client> &client) { return !client->read(lines); });
}

// New senders are taken while there is room (the others wait in the socket's queue, which
// costs the program nothing), and the silent ones are looked at again when the first of
// them runs out of time.
void LocalListener::watchSenders()
{
    m_notifier->setEnabled(m_clients.size() < size_t(MaxSenders));
    if (m_clients.empty()) {
        m_silence->stop();
        return;
    }
    qint64 soonest = SilentLimitMs;
    for (const auto &client : m_clients)
        soonest = qMin(soonest, client->quietUntil.remainingTime());
    m_silence->start(int(soonest) + 1);
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
