#include "Cp950.h"
#include "RegistryStore.h"
#include "SystemPaths.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(SystemPaths::RegistryFile()); }
};
}  // namespace

TEST_F(RegistryStoreTest, ValuesReadBackExactlyAsWritten) {
    const QStringList values = {
        QStringLiteral("  blanks at both ends  "),
        QStringLiteral("\"quoted\""),
        QStringLiteral("C:\\Program Files\\播放器\\play.exe /play \"%1\""),
        QStringLiteral("功能設定"),
        QStringLiteral("two\r\nlines"),
        QString(),
        QStringLiteral("utf8:not really"),
        QStringLiteral("/home/José/Música/play %1"),  // characters outside code page 950
    };
    int n = 0;
    for (const QString& v : values) {
        const QString name = QStringLiteral("v%1").arg(n++);
        ASSERT_TRUE(RegistryStore::setString(RegistryStore::LocalMachine, "SOFTWARE\\Test", name, v));
        EXPECT_EQ(RegistryStore::getString(RegistryStore::LocalMachine, "SOFTWARE\\Test", name), v) << name.toStdString();
    }
}

TEST_F(RegistryStoreTest, KeysAreKeptPerRootAndFoundWithoutRegardToCase) {
    ASSERT_TRUE(RegistryStore::setString(RegistryStore::ClassesRoot, "AudioCD\\shell", "", "a"));
    ASSERT_TRUE(RegistryStore::setString(RegistryStore::LocalMachine, "AudioCD\\shell", "", "b"));
    EXPECT_EQ(RegistryStore::getString(RegistryStore::ClassesRoot, "audiocd\\SHELL", ""), QStringLiteral("a"));
    EXPECT_EQ(RegistryStore::getString(RegistryStore::LocalMachine, "AudioCD\\shell\\", ""), QStringLiteral("b"));
    EXPECT_TRUE(RegistryStore::keyExists(RegistryStore::ClassesRoot, "AUDIOCD\\Shell"));
    EXPECT_FALSE(RegistryStore::keyExists(RegistryStore::Users, "AudioCD\\shell"));

    // The file is a plain profile file in code page 950, one section per root and key path.
    const QByteArray file = Cp950::encode(Cp950::readTextFile(SystemPaths::RegistryFile()));
    EXPECT_TRUE(file.contains("[HKEY_CLASSES_ROOT\\AudioCD\\shell]\r\n@=\"a\"\r\n"));
}

TEST_F(RegistryStoreTest, MissingThingsHaveNoValue) {
    EXPECT_FALSE(RegistryStore::getString(RegistryStore::LocalMachine, "Nothing", "x").has_value());
    ASSERT_TRUE(RegistryStore::setString(RegistryStore::LocalMachine, "Something", "x", "1"));
    EXPECT_FALSE(RegistryStore::getString(RegistryStore::LocalMachine, "Something", "y").has_value());
    EXPECT_FALSE(RegistryStore::getString(0x1234, "Something", "x").has_value());
    EXPECT_FALSE(RegistryStore::setString(0x1234, "Something", "x", "1"));
}
