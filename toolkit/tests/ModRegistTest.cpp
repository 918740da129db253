#include "Cp950.h"
#include "MessageBox.h"
#include "ModRegist.h"
#include "SystemPaths.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
class ModRegistTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(SystemPaths::RegistryFile());
        MessageBox::setAnswerer([](const MessageBox::Request&) { return MessageBox::IdOk; });
    }
    void TearDown() override {
        MessageBox::setAnswerer({});
        MessageBox::clearShownRequests();
    }
};
}  // namespace

TEST_F(ModRegistTest, DoubleByteValuesAreStoredAndReadBackWhole) {
    const QString value = QStringLiteral("D:\\卡拉OK\\功能設定.exe /play %1");
    SaveRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Pelloran\\Test", "Cmd", value);
    const QString back = GetRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Pelloran\\Test", "Cmd");
    EXPECT_EQ(back, value);
    EXPECT_FALSE(back.endsWith(QChar(0)));
}

TEST_F(ModRegistTest, MissingKeysAndValuesGiveEmptyTextsSilently) {
    EXPECT_EQ(GetAudioCDPlay(), QString());
    EXPECT_EQ(GetWinVersion(), QString());
    SaveRegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "Other", "x");
    EXPECT_EQ(GetWinVersion(), QString());
    EXPECT_EQ(GetSavedAudioCDPlay(), QString());
    EXPECT_TRUE(MessageBox::shownRequests().isEmpty());
}

TEST_F(ModRegistTest, WrappersUseTheirFixedPlaces) {
    SetAudioCDPlay(QStringLiteral("xdg-open %1"));
    SaveAudioCDPlay(QStringLiteral("saved command"));
    EXPECT_EQ(GetAudioCDPlay(), QStringLiteral("xdg-open %1"));
    EXPECT_EQ(GetSavedAudioCDPlay(), QStringLiteral("saved command"));
    EXPECT_EQ(GetRegString(HKEY_CLASSES_ROOT, "AudioCD\\shell\\play\\command", ""), QStringLiteral("xdg-open %1"));
    EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Pelloran\\Quorvel\\1.0", "AudioCD"), QStringLiteral("saved command"));
}

TEST_F(ModRegistTest, AnEmptyCommandLeavesTheValuePresentAndEmpty) {
    SetAudioCDPlay(QStringLiteral("something"));
    SetAudioCDPlay(QString());
    EXPECT_EQ(GetAudioCDPlay(), QString());
    const QString file = Cp950::readTextFile(SystemPaths::RegistryFile());
    EXPECT_TRUE(file.contains(QStringLiteral("[HKEY_CLASSES_ROOT\\AudioCD\\shell\\play\\command]\r\n@=\"\"\r\n")));
}
