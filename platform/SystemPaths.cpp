#include "SystemPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString& programFolderOverride() {
    static QString folder;
    return folder;
}

QString withoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    return path;
}

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
QString xdgFolder(const char* variable, const QString& fallbackBelowHome) {
    QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value)) return withoutTrailingSlash(value);
    return withoutTrailingSlash(QDir::homePath()) + u'/' + fallbackBelowHome;
}

QString executableFolder() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    QFileInfo self(QStringLiteral("/proc/self/exe"));
    return self.exists() ? QFileInfo(self.symLinkTarget()).absolutePath() : QDir::currentPath();
}

}  // namespace

namespace SystemPaths {

QString ProgramFolder() {
    if (!programFolderOverride().isEmpty()) return programFolderOverride();
    QString fromEnv = qEnvironmentVariable("PELLORAN_PROGRAM_DIR");
    if (!fromEnv.isEmpty()) return withoutTrailingSlash(QDir(fromEnv).absolutePath());
    return withoutTrailingSlash(executableFolder());
}

void setProgramFolder(const QString& folder) {
    programFolderOverride() = folder.isEmpty() ? QString() : withoutTrailingSlash(QDir(folder).absolutePath());
}

QString ConfigFolder() { return xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/Pelloran"); }

QString DataFolder() { return xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/Pelloran"); }

QString WindowsFolder() {
    QString folder = ConfigFolder() + QStringLiteral("/Windows");
    ensureFolder(folder);
    return folder;
}

QString TempFolder() {
    QString folder = DataFolder() + QStringLiteral("/Temp");
    ensureFolder(folder);
    return folder;
}

QString RegistryFile() { return ConfigFolder() + QStringLiteral("/registry.ini"); }

QString mapWindowsPlace(const QString& path) {
    static const QRegularExpression place(
        QStringLiteral("^[Cc]:[\\\\/](temp|windows)(?:[\\\\/]+(.*))?$"),
        QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatch m = place.match(path);
    if (!m.hasMatch()) return path;
    QString base = m.captured(1).compare(QStringLiteral("temp"), Qt::CaseInsensitive) == 0
                       ? TempFolder()
                       : WindowsFolder();
    QString rest = m.captured(2);
    rest.replace(u'\\', u'/');
    rest = withoutTrailingSlash(rest);
    if (rest.isEmpty() || rest == QStringLiteral("/")) return base;
    return base + u'/' + rest;
}

bool ensureFolder(const QString& folder) {
    if (folder.isEmpty()) return false;
    return QDir().mkpath(folder);
}

}  // namespace SystemPaths
