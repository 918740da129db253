#include "LocalChannel.h"

#include "EventWait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString freshName() { return QStringLiteral("channel-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12); }

// The lines a listener hands over, from the moment this is made.
struct Received
{
    explicit Received(LocalListener &listener)
    {
        QObject::connect(&listener, &LocalListener::lineReceived, &listener, [this](const QString &line) { lines << line; });
    }
    QStringList waitFor(int count)
    {
        const QDeadlineTimer deadline(EventWaitMs);
        while (lines.size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return lines;
    }
    QStringList lines;
};

sockaddr_un addressOf(const QString &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
    return address;
}

// A raw connection to the channel, as any process could open one; -1 when refused.
int connectRaw(const QString &name)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = addressOf(LocalChannel::path(name));
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return fd;
    ::close(fd);
    return -1;
}

// A raw sender that writes its bytes in the pieces given, as a slow peer would.
void sendInPieces(const QString &name, const QList<QByteArray> &pieces)
{
    const int fd = connectRaw(name);
    ASSERT_GE(fd, 0);
    for (const QByteArray &piece : pieces) {
        ASSERT_EQ(::write(fd, piece.constData(), size_t(piece.size())), piece.size());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    ::close(fd);
}

// Points the channels at a fresh runtime folder of this user's alone, and the temporary
// folder (where the channels go without one) at a fresh folder too, for one scope.
class ChannelFolders
{
public:
    ChannelFolders() : m_runtime(qgetenv("XDG_RUNTIME_DIR")), m_temp(qgetenv("TMPDIR"))
    {
        ::chmod(QFile::encodeName(runtime()).constData(), S_IRWXU);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime()));
        qputenv("TMPDIR", QFile::encodeName(m_root.path()));
    }
    ~ChannelFolders()
    {
        qputenv("XDG_RUNTIME_DIR", m_runtime);
        qputenv("TMPDIR", m_temp);
    }
    QString runtime() const { return m_root.path(); }
    // Where the channels go when the session names no runtime folder.
    QString fallback() const { return m_root.filePath(QStringLiteral("pelloran-") + QString::number(::geteuid())); }

private:
    QTemporaryDir m_root;
    QByteArray m_runtime, m_temp;
};

// The user "nobody", standing for another local user: a process forked from this one (which
// needs root's right to change its user) runs a body as nobody. The body reports through
// report(), then ends with its exit code, or waits to be ended.
class OtherUser
{
public:
    OtherUser()
    {
        const passwd *entry = ::getpwnam("nobody");
        if (entry && ::geteuid() == 0 && entry->pw_uid != 0) {
            m_uid = entry->pw_uid;
            m_gid = entry->pw_gid;
        }
    }
    ~OtherUser()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_pipe[0] >= 0)
            ::close(m_pipe[0]);
    }
    bool available() const { return m_uid != 0; }

    // The body gets the descriptor it reports to; it makes system calls only, since the
    // parent has threads.
    template<typename Body> void start(Body body)
    {
        ASSERT_EQ(::pipe(m_pipe), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            if (::syscall(SYS_setgid, m_gid) != 0 || ::syscall(SYS_setuid, m_uid) != 0)
                ::_exit(99);
            ::_exit(body(m_pipe[1]));
        }
        ::close(m_pipe[1]);
    }
    // The next byte the body reported; 0 when none came within a generous time.
    char report()
    {
        pollfd entry{m_pipe[0], POLLIN, 0};
        char byte = 0;
        return ::poll(&entry, 1, 30000) == 1 && ::read(m_pipe[0], &byte, 1) == 1 ? byte : 0;
    }
    // The body's exit code; -1 when it has not ended within a generous time.
    int result()
    {
        for (QDeadlineTimer deadline(30000); !deadline.hasExpired(); QThread::msleep(20)) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
        }
        return -1;
    }

private:
    uid_t m_uid = 0;
    gid_t m_gid = 0;
    pid_t m_pid = 0;
    int m_pipe[2] = {-1, -1};
};

// Whether the raw connection is closed by the other end, waiting for it as long as given and
// letting events run meanwhile.
bool closedByPeer(int fd, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        char byte;
        if (::poll(&entry, 1, 0) == 1 && ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0)
            return true;
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

mode_t modeOf(const QString &path)
{
    struct stat status{};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 07777;
}

}  // namespace

TEST(LocalChannel, NobodyListeningIsToldAtOnce)
{
    const QDeadlineTimer deadline(EventWaitMs);
    EXPECT_FALSE(LocalChannel::send(freshName(), QStringLiteral("raise")));
    EXPECT_FALSE(deadline.hasExpired());
    EXPECT_FALSE(LocalChannel::send(QString(200, QLatin1Char('x')), QStringLiteral("raise")));  // no such socket name
}

TEST(LocalChannel, LinesFromSeveralSendersArriveWholeAndInOrder)
{
    const QString name = freshName();
    LocalListener listener;
    Received received(listener);
    ASSERT_TRUE(listener.listen(name));
    EXPECT_EQ(QFileInfo(LocalChannel::path(name)).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup),
              QFile::Permissions());
    EXPECT_TRUE(LocalChannel::send(name, QStringLiteral("raise")));
    EXPECT_TRUE(LocalChannel::send(name, QStringLiteral("click 設定")));
    sendInPieces(name, {"key Pic", "Num 0\nsta", "te /tmp/a b\n"});
    EXPECT_EQ(received.waitFor(4),
              (QStringList{"raise", "click 設定", "key PicNum 0", "state /tmp/a b"}));
}

TEST(LocalChannel, AListenerReplacesASocketLeftBehindAndRemovesItsOwn)
{
    const QString name = freshName();
    const QString path = LocalChannel::path(name);
    {
        // A copy that died: its socket file stays, with nobody behind it.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const sockaddr_un address = addressOf(path);
        ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
    }
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_FALSE(LocalChannel::send(name, QStringLiteral("raise")));
    {
        LocalListener listener;
        Received received(listener);
        ASSERT_TRUE(listener.listen(name));
        EXPECT_TRUE(LocalChannel::send(name, QStringLiteral("raise")));
        EXPECT_EQ(received.waitFor(1), QStringList{"raise"});
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(LocalChannel, ChannelsLieInAFolderOfTheUsersAloneOrNowhere)
{
    ChannelFolders folders;
    EXPECT_EQ(LocalChannel::folder(), folders.runtime());
    EXPECT_EQ(LocalChannel::path(QStringLiteral("a")), folders.runtime() + QStringLiteral("/a"));

    // A runtime folder others can enter is passed over for one of the user's own, made private.
    ::chmod(QFile::encodeName(folders.runtime()).constData(), 0755);
    EXPECT_EQ(LocalChannel::folder(), folders.fallback());
    EXPECT_EQ(modeOf(folders.fallback()), mode_t(0700));

    // A fallback that is open to others, a link, or another user's is refused: no channel at all.
    qunsetenv("XDG_RUNTIME_DIR");
    const QByteArray fallback = QFile::encodeName(folders.fallback());
    ::chmod(fallback.constData(), 0755);
    EXPECT_EQ(LocalChannel::folder(), QString());
    EXPECT_FALSE(LocalChannel::send(QStringLiteral("a"), QStringLiteral("raise")));
    LocalListener listener;
    EXPECT_FALSE(listener.listen(QStringLiteral("a")));
    ::rmdir(fallback.constData());
    ASSERT_EQ(::symlink(QFile::encodeName(folders.runtime() + QStringLiteral("/private")).constData(), fallback.constData()), 0);
    ASSERT_EQ(::mkdir(QFile::encodeName(folders.runtime() + QStringLiteral("/private")).constData(), 0700), 0);
    EXPECT_EQ(LocalChannel::folder(), QString());
    ::unlink(fallback.constData());
    if (OtherUser().available()) {
        ASSERT_EQ(::mkdir(fallback.constData(), 0700), 0);
        ASSERT_EQ(::chown(fallback.constData(), ::getpwnam("nobody")->pw_uid, 0), 0);
        EXPECT_EQ(LocalChannel::folder(), QString());
    }
}

TEST(LocalChannel, AnotherUserNeitherHearsTheLinesNorIsHeard)
{
    ChannelFolders folders;
    OtherUser squatter, sender;
    if (!squatter.available())
        GTEST_SKIP() << "changing to another user needs root";
    const QString name = freshName();
    const QByteArray path = QFile::encodeName(LocalChannel::path(name));

    // Another user's listener at the name (bound here, listening as nobody) reports "L" once
    // it listens, then "1" when a line reached it or "0" when its caller went without one.
    const int squat = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = addressOf(QFile::decodeName(path));
    ASSERT_EQ(::bind(squat, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    squatter.start([squat](int report) {
        if (::listen(squat, 8) != 0 || ::write(report, "L", 1) != 1)
            return 2;
        const int peer = ::accept(squat, nullptr, nullptr);
        pollfd entry{peer, POLLIN, 0};
        char byte;
        const bool heard = ::poll(&entry, 1, 20000) == 1 && ::recv(peer, &byte, 1, 0) > 0;
        if (::write(report, heard ? "1" : "0", 1) != 1)
            return 2;
        for (;;)
            ::pause();
    });
    ::close(squat);
    ASSERT_EQ(squatter.report(), 'L');
    EXPECT_FALSE(LocalChannel::send(name, QStringLiteral("raise")));
    EXPECT_EQ(squatter.report(), '0');

    // The name is ours to take while the squatter still sits there.
    LocalListener listener;
    Received received(listener);
    ASSERT_TRUE(listener.listen(name));

    // A sender of another user, given a way to the socket, is turned away unheard: the line
    // it wrote never comes, and the next sender's does.
    const QByteArray runtime = QFile::encodeName(folders.runtime());
    ::chmod(runtime.constData(), 0711);
    ::chmod(path.constData(), 0666);
    sender.start([path](int) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un to{};
        to.sun_family = AF_UNIX;
        qstrncpy(to.sun_path, path.constData(), sizeof to.sun_path);
        const bool sent = ::connect(fd, reinterpret_cast<const sockaddr *>(&to), sizeof to) == 0
                          && ::write(fd, "raise\n", 6) == 6;
        return sent ? 0 : 1;
    });
    EXPECT_EQ(sender.result(), 0);
    ::chmod(runtime.constData(), 0700);
    EXPECT_TRUE(LocalChannel::send(name, QStringLiteral("mine")));
    EXPECT_EQ(received.waitFor(1), QStringList{"mine"});
}

TEST(LocalChannel, ALinkAtTheNameIsNoAnswerAndIsReplacedNotFollowed)
{
    ChannelFolders folders;
    LocalListener elsewhere;
    Received reachedElsewhere(elsewhere);
    const QString other = freshName();
    ASSERT_TRUE(elsewhere.listen(other));
    const QString name = freshName();
    ASSERT_EQ(::symlink(QFile::encodeName(LocalChannel::path(other)).constData(),
                        QFile::encodeName(LocalChannel::path(name)).constData()), 0);

    EXPECT_FALSE(LocalChannel::send(name, QStringLiteral("raise")));
    LocalListener listener;
    Received received(listener);
    ASSERT_TRUE(listener.listen(name));
    EXPECT_TRUE(LocalChannel::send(name, QStringLiteral("raise")));
    EXPECT_TRUE(LocalChannel::send(other, QStringLiteral("other")));
    EXPECT_EQ(received.waitFor(1), QStringList{"raise"});
    EXPECT_EQ(reachedElsewhere.waitFor(1), QStringList{"other"});  // the link's target was left alone
}

TEST(LocalChannel, ALiveListenerKeepsItsNameAndSendersBeyondTheCapAreTurnedAway)
{
    ChannelFolders folders;
    const QString name = freshName();
    LocalListener listener;
    Received received(listener);
    ASSERT_TRUE(listener.listen(name));

    std::vector<int> senders;
    for (int i = 0; i < LocalListener::MaxSenders + 3; ++i)
        senders.push_back(connectRaw(name));
    for (int i = LocalListener::MaxSenders; i < int(senders.size()); ++i)
        EXPECT_TRUE(closedByPeer(senders[size_t(i)], 20000)) << "sender " << i;
    for (int i = 0; i < LocalListener::MaxSenders; ++i)
        EXPECT_FALSE(closedByPeer(senders[size_t(i)], 0)) << "sender " << i;
    for (int fd : senders)
        ::close(fd);
    LocalListener second;
    EXPECT_FALSE(second.listen(name));
    EXPECT_TRUE(LocalChannel::send(name, QStringLiteral("raise")));
    EXPECT_EQ(received.waitFor(1), QStringList{"raise"});
}
