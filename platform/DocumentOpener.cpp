#include "DocumentOpener.h"

#include <QCoreApplication>
#include <QProcess>

#include <memory>
#include <utility>

namespace DocumentOpener {

void Open(const QString& path, std::function<void()> cannotOpen)
{
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    opener->setStandardOutputFile(QProcess::nullDevice());
    // Told once, whether it could not start or ended in failure.
    auto tell = std::make_shared<std::function<void()>>(std::move(cannotOpen));
    QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, tell](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        if (*tell) std::exchange(*tell, {})();
        opener->deleteLater();
    });
    QObject::connect(opener, &QProcess::finished, opener, [opener, tell](int code, QProcess::ExitStatus status) {
        if ((code != 0 || status != QProcess::NormalExit) && *tell) std::exchange(*tell, {})();
        opener->deleteLater();
    });
    opener->start(QStringLiteral("xdg-open"), {path});
}

}  // namespace DocumentOpener
