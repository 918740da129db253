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

// Points the channels at a fresh runtime folder of this user's alone, and the temporary and
// cache folders (where the channels go without one) at fresh folders too, for one scope.
class ChannelFolders
{
public:
    ChannelFolders() : m_saved{qgetenv("XDG_RUNTIME_DIR"), qgetenv("TMPDIR"), qgetenv("XDG_CACHE_HOME")}
    {
        ::chmod(QFile::encodeName(runtime()).constData(), S_IRWXU);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime()));
        qputenv("TMPDIR", QFile::encodeName(m_root.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_root.filePath(QStringLiteral("cache"))));
    }
    ~ChannelFolders()
    {
        for (int i = 0; i < 3; ++i)
            qputenv(Variables[i], m_saved[i]);
    }
    QString runtime() const { return m_root.path(); }
    // Where the channels go when the session names no runtime folder of the user's alone.
    QString fallback() const { return m_root.filePath(QStringLiteral("pelloran-") + QString::number(::geteuid())); }
    // Where they go when someone else took that one first.
    QString cached() const { return m_root.filePath(QStringLiteral("cache/pelloran-channels")); }

private:
    static constexpr const char *Variables[] = {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_CACHE_HOME"};
    QTemporaryDir m_root;
    QByteArray m_saved[3];
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

namespace {

// One copy listens at the name; a later copy finds it there and cannot take the name, and
// its lines arrive.
void expectOneCopy(const QString &name, const QString &folder)
{
    LocalListener first;
    Received received(first);
    ASSERT_TRUE(first.listen(name)) << first.notice().toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder + QLatin1Char('/') + name));
    LocalListener second;
    EXPECT_FALSE(second.listen(name));
    EXPECT_TRUE(LocalChannel::send(name, QStringLiteral("raise")));
    EXPECT_EQ(received.waitFor(1), QStringList{"raise"});
}

}  // namespace

TEST(LocalChannel, ChannelsLieInAFolderOfTheUsersAloneOrNowhere)
{
    ChannelFolders folders;
    EXPECT_EQ(LocalChannel::folder(), folders.runtime());
    EXPECT_EQ(LocalChannel::path(QStringLiteral("a")), folders.runtime() + QStringLiteral("/a"));
    EXPECT_FALSE(QFileInfo::exists(folders.cached()));  // made only when needed

    // A runtime folder the group or others may enter or write is passed over for one of the
    // user's own, made private.
    const QByteArray runtime = QFile::encodeName(folders.runtime());
    for (const mode_t mode : {0750, 0770, 0710, 0705, 0701, 0755}) {
        ::chmod(runtime.constData(), mode);
        QStringList refused;
        EXPECT_EQ(LocalChannel::folder(&refused), folders.fallback()) << std::oct << mode;
        EXPECT_EQ(refused, QStringList{folders.runtime() + QStringLiteral(" 其他使用者可進入 (0%1)").arg(mode, 3, 8)});
    }
    EXPECT_EQ(modeOf(folders.fallback()), mode_t(0700));

    // A copy that started while the runtime folder was open listens in the fallback; the
    // folder is then put right (as a library does with a runtime folder of the wrong mode),
    // and a later copy, which would listen in it, still finds the first.
    {
        const QString name = freshName();
        LocalListener first;
        Received received(first);
        ASSERT_TRUE(first.listen(name));
        EXPECT_EQ(first.notice(), folders.runtime() + QStringLiteral(" 其他使用者可進入 (0755), 改用 ") + folders.fallback());
        ::chmod(runtime.constData(), 0700);
        LocalListener second;
        EXPECT_FALSE(second.listen(name));
        EXPECT_TRUE(LocalChannel::send(name, QStringLiteral("raise")));
        EXPECT_EQ(received.waitFor(1), QStringList{"raise"});
    }

    // Without a runtime folder, a fallback that someone made first, open to others, a link or
    // another user's, is passed over for a folder in the user's own home, made private.
    qunsetenv("XDG_RUNTIME_DIR");
    expectOneCopy(freshName(), folders.fallback());
    const QByteArray fallback = QFile::encodeName(folders.fallback());
    ::chmod(fallback.constData(), 0777);
    EXPECT_EQ(LocalChannel::folder(), folders.cached());
    EXPECT_EQ(modeOf(folders.cached()), mode_t(0700));
    expectOneCopy(freshName(), folders.cached());
    ::rmdir(fallback.constData());
    const QByteArray elsewhere = QFile::encodeName(folders.runtime() + QStringLiteral("/private"));
    ASSERT_EQ(::mkdir(elsewhere.constData(), 0700), 0);
    ASSERT_EQ(::symlink(elsewhere.constData(), fallback.constData()), 0);
    EXPECT_EQ(LocalChannel::folder(), folders.cached());
    ::unlink(fallback.constData());
    QFile plain(folders.fallback());  // a file of the user's own, which only the user may read
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    ::chmod(fallback.constData(), 0600);
    EXPECT_EQ(LocalChannel::folder(), folders.cached());
    ::unlink(fallback.constData());
    if (OtherUser().available()) {
        ASSERT_EQ(::mkdir(fallback.constData(), 0700), 0);
        ASSERT_EQ(::chown(fallback.constData(), ::getpwnam("nobody")->pw_uid, 0), 0);
        QStringList refused;
        EXPECT_EQ(LocalChannel::folder(&refused), folders.cached());
        EXPECT_EQ(refused, QStringList{folders.fallback() + QStringLiteral(" 屬於其他使用者")});
        expectOneCopy(freshName(), folders.cached());
    }

    // With both of them links, there is nowhere to trust: no channel at all, and the listener
    // says why.
    const QByteArray cached = QFile::encodeName(folders.cached());
    ::rmdir(fallback.constData());
    ::rmdir(cached.constData());
    ASSERT_EQ(::symlink(elsewhere.constData(), fallback.constData()), 0);
    ASSERT_EQ(::symlink(elsewhere.constData(), cached.constData()), 0);
    EXPECT_EQ(LocalChannel::folder(), QString());
    EXPECT_FALSE(LocalChannel::send(QStringLiteral("a"), QStringLiteral("raise")));
    LocalListener listener;
    EXPECT_FALSE(listener.listen(QStringLiteral("a")));
    EXPECT_EQ(listener.notice(), folders.fallback() + QStringLiteral(" 是連結, ") + folders.cached()
                                     + QStringLiteral(" 是連結, 沒有可用的資料夾"));
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

TEST(LocalChannel, ALiveListenerKeepsItsNameAndSilentSendersGiveWayToLaterOnes)
{
    ChannelFolders folders;
    const QString name = freshName();
    LocalListener listener;
    Received received(listener);
    ASSERT_TRUE(listener.listen(name));

    // As many senders as the listener holds, and some more, connect and say nothing; then a
    // real sender comes. Its line gets through once silent ones are let go, and not before:
    // the listener never holds more than its cap, so by then at least as many of them as it
    // could not hold were let go, the first ones first. In time every one of them is.
    std::vector<int> silent;
    for (int i = 0; i < LocalListener::MaxSenders + 3; ++i)
        silent.push_back(connectRaw(name));
    EXPECT_TRUE(LocalChannel::send(name, QStringLiteral("raise")));
    EXPECT_EQ(received.waitFor(1), QStringList{"raise"});
    for (int i = 0; i < int(silent.size()) + 1 - LocalListener::MaxSenders; ++i)
        EXPECT_TRUE(closedByPeer(silent[size_t(i)], 0)) << "sender " << i;
    for (size_t i = 0; i < silent.size(); ++i)
        EXPECT_TRUE(closedByPeer(silent[i], EventWaitMs)) << "sender " << i;
    for (int fd : silent)
        ::close(fd);

    LocalListener second;
    EXPECT_FALSE(second.listen(name));
    EXPECT_TRUE(LocalChannel::send(name, QStringLiteral("again")));
    EXPECT_EQ(received.waitFor(2), (QStringList{"raise", "again"}));
}
