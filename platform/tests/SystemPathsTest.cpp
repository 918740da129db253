#include "SystemPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(SystemPaths, FixedPlacesLieInTheUsersFolders) {
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    EXPECT_EQ(SystemPaths::ConfigFolder(), config + "/Pelloran");
    EXPECT_EQ(SystemPaths::WindowsFolder(), config + "/Pelloran/Windows");
    EXPECT_TRUE(QFileInfo(SystemPaths::WindowsFolder()).isDir());
    EXPECT_EQ(SystemPaths::TempFolder(), data + "/Pelloran/Temp");
    EXPECT_TRUE(QFileInfo(SystemPaths::TempFolder()).isDir());
    EXPECT_EQ(SystemPaths::RegistryFile(), config + "/Pelloran/registry.ini");
}

TEST(SystemPaths, MapsFixedWindowsPlaces) {
    EXPECT_EQ(SystemPaths::mapWindowsPlace("C:\\Temp"), SystemPaths::TempFolder());
    EXPECT_EQ(SystemPaths::mapWindowsPlace("c:\\TEMP\\"), SystemPaths::TempFolder());
    EXPECT_EQ(SystemPaths::mapWindowsPlace("C:\\Temp\\Song\\a.mp3"), SystemPaths::TempFolder() + "/Song/a.mp3");
    EXPECT_EQ(SystemPaths::mapWindowsPlace("C:/Windows"), SystemPaths::WindowsFolder());
    EXPECT_EQ(SystemPaths::mapWindowsPlace("C:\\Temporary"), QStringLiteral("C:\\Temporary"));
    EXPECT_EQ(SystemPaths::mapWindowsPlace("/home/x"), QStringLiteral("/home/x"));
}

TEST(SystemPaths, ProgramFolderCanBeSetAndFallsBackToTheExecutable) {
    SystemPaths::setProgramFolder("/tmp/prog/");
    EXPECT_EQ(SystemPaths::ProgramFolder(), QStringLiteral("/tmp/prog"));
    SystemPaths::setProgramFolder(QString());
    qputenv("PELLORAN_PROGRAM_DIR", "/opt/x");
    EXPECT_EQ(SystemPaths::ProgramFolder(), QStringLiteral("/opt/x"));
    qunsetenv("PELLORAN_PROGRAM_DIR");
    EXPECT_TRUE(QFileInfo(SystemPaths::ProgramFolder() + "/" + QFileInfo(QCoreApplication::applicationFilePath()).fileName()).exists());
}
