// The toolkit's writers on a full disk: settings, log, INI entries and registry strings keep
// what they held, and the user hears of settings that could not be saved.

#include "Cp950.h"
#include "FullDisk.h"
#include "MessageBox.h"
#include "ModIniFile.h"
#include "ModRegist.h"
#include "ModTools.h"
#include "SafeFile.h"
#include "SystemPaths.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

class ToolkitOnAFullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::setAnswerer([](const MessageBox::Request&) { return int(MessageBox::IdOk); });
        MessageBox::clearShownRequests();
    }
    void TearDown() override {
        MessageBox::setAnswerer({});
        MessageBox::clearShownRequests();
        SystemPaths::setProgramFolder(QString());
    }
    FullDisk disk_;
};

}  // namespace

TEST_F(ToolkitOnAFullDisk, SettingsThatCannotBeSavedAreToldOnceForAllTheKeysOfAStep) {
    if (!disk_.mounted()) GTEST_SKIP() << disk_.whyNot().toStdString();
    SettingsFolder onTheDisk(disk_.path());
    ASSERT_TRUE(SaveAppSetting("SongTempDir", "/old"));
    disk_.fill();

    EXPECT_FALSE(SaveAppSetting("SongTempDir", "/new"));
    EXPECT_FALSE(SaveAppSetting("CutDir", "/new"));
    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    const MessageBox::Request told = MessageBox::shownRequests().first();
    EXPECT_EQ(told.prompt, QStringLiteral("無法儲存設定:") + disk_.path() + "/Pelloran/Quorvel V1.1.conf");
    EXPECT_EQ(told.icon, MessageBox::Icon::Critical);

    // A later step that fails again is told again.
    QCoreApplication::processEvents();
    EXPECT_FALSE(SaveAppSetting("ShowTime", "9"));
    EXPECT_EQ(MessageBox::shownRequests().size(), 2);

    disk_.free();
    EXPECT_TRUE(SaveAppSetting("ShowTime", "9"));
}

TEST_F(ToolkitOnAFullDisk, TheLogGetsWholeLinesOrNothing) {
    if (!disk_.mounted()) GTEST_SKIP() << disk_.whyNot().toStdString();
    SystemPaths::setProgramFolder(disk_.path());
    StartLog();
    const QByteArray started = SafeFile::read(LogFilePath());
    disk_.fill();

    WriteLog(QString(6000, u'設'));  // more than the room left in the log's last block
    StartLog();
    EXPECT_EQ(SafeFile::read(LogFilePath()), started);
}

TEST_F(ToolkitOnAFullDisk, IniEntriesAndRegistryStringsStay) {
    if (!disk_.mounted()) GTEST_SKIP() << disk_.whyNot().toStdString();
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", disk_.path().toUtf8());
    const QString ini = disk_.filePath("CDROMLib.TXT");
    WriteIniString(ini, "CDROM", "DiscNum", "3");
    SaveAudioCDPlay("old command");
    disk_.fill();

    EXPECT_EQ(WriteIniString(ini, "CDROM", "DiscNum", "4"), 0);
    SaveAudioCDPlay("new command");
    EXPECT_EQ(GetIniString(ini, "CDROM", "DiscNum"), QStringLiteral("3"));
    EXPECT_EQ(GetSavedAudioCDPlay(), QStringLiteral("old command"));
    qputenv("XDG_CONFIG_HOME", configHome);
}
