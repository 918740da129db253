#include "LocalChannel.h"

#include "EventWait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
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

// A raw sender that writes its bytes in the pieces given, as a slow peer would.
void sendInPieces(const QString &name, const QList<QByteArray> &pieces)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(LocalChannel::path(name));
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    for (const QByteArray &piece : pieces) {
        ASSERT_EQ(::write(fd, piece.constData(), size_t(piece.size())), piece.size());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    ::close(fd);
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
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
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
