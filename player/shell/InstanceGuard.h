#pragma once
// One running copy per user: the first copy listens on a local socket; a later copy asks it
// to come forward and ends. With PELLORAN_TEST_CONTROL=1 the socket also takes the commands
// an automated test gives ("click <caption>", "close", "quit", "minimize", "restore").

#include <QObject>
#include <QQueue>
#include <QString>

class LocalListener;

class InstanceGuard : public QObject
{
    Q_OBJECT
public:
    explicit InstanceGuard(QObject* parent = nullptr);

    // The socket name of this user's (this config folder's) player.
    static QString ServerName();

    // True when no other copy runs (this copy now listens); false when another copy runs and
    // was asked to come forward.
    bool claim();

    // After claim: why this copy listens elsewhere than in the usual folder, or not at all
    // (later copies then cannot find it); "" when nothing is amiss.
    QString notice() const { return m_notice; }

    // Sends one line to the running copy; false when none answers.
    static bool send(const QString& line, int timeoutMs = 2000);

signals:
    void comeForward();
    void testCommand(const QString& command);

private:
    void take(const QString& line);
    void queueTestCommand(const QString& command);
    void runTestCommand();
    LocalListener* m_listener = nullptr;
    QString m_notice;
    QQueue<QString> m_testCommands;
};
