#include "FuzzSupport.h"

#include "Cp950.h"
#include "SystemPaths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

QString scratchFolder()
{
    static const QString folder = [] {
        static QTemporaryDir dir;  // removed when the fuzzer ends normally
        const QString root = dir.path();
        for (const char *sub : {"home", "config", "data", "program"})
            QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub));
        qputenv("HOME", (root + QStringLiteral("/home")).toUtf8());
        qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
        SystemPaths::setProgramFolder(root + QStringLiteral("/program"));
        return root;
    }();
    return folder;
}

void startWidgets()
{
    scratchFolder();
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the process
}

QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

QString writeInput(const uint8_t *data, size_t size, const QString &name)
{
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) != static_cast<qint64>(size)) {
        std::fprintf(stderr, "fuzz: cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

QString textOf(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    return Cp950::decodeText(bytes);
}

void require(bool holds, const char *promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz: broken promise: %s\n", promise);
    std::abort();
}

}  // namespace Fuzz
