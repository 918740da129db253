#include "FullDisk.h"
#include "SafeFile.h"
#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SettingsStore, StoresTextsPerProductInQtsNativeFile) {
    SettingsStore::set("Pelloran", "Quorvel V1.1", "ButtonTempDir", "/tmp/設定, with comma");
    SettingsStore::set("Pelloran", "Quorvel Editor", "ButtonTempDir", "other");
    EXPECT_EQ(SettingsStore::get("Pelloran", "Quorvel V1.1", "ButtonTempDir", "d"), QStringLiteral("/tmp/設定, with comma"));
    EXPECT_EQ(SettingsStore::get("Pelloran", "Quorvel Editor", "ButtonTempDir", "d"), QStringLiteral("other"));
    EXPECT_EQ(SettingsStore::get("Pelloran", "Quorvel V1.1", "Never", "dflt"), QStringLiteral("dflt"));
    EXPECT_TRUE(QFile::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Pelloran/Quorvel V1.1.conf"));
}

TEST(SettingsStore, KeysAreFoundWithoutRegardToCase) {
    SettingsStore::set("Pelloran", "CaseTest", "ReadMe", "1");
    EXPECT_EQ(SettingsStore::get("Pelloran", "CaseTest", "README", "0"), QStringLiteral("1"));
    SettingsStore::set("Pelloran", "CaseTest", "readme", "2");
    EXPECT_EQ(SettingsStore::keys("Pelloran", "CaseTest"), QStringList{"ReadMe"});
    EXPECT_EQ(SettingsStore::get("Pelloran", "CaseTest", "ReadMe", "0"), QStringLiteral("2"));
    SettingsStore::remove("Pelloran", "CaseTest", "READme");
    EXPECT_EQ(SettingsStore::get("Pelloran", "CaseTest", "ReadMe", "0"), QStringLiteral("0"));
}

TEST(SettingsStore, ABatchSeesThisProgramsWritesAndAnotherProgramsAtItsOpening) {
    SettingsStore::set("Pelloran", "BatchTest", "Volume", "500");
    SettingsStore::Batch batch("Pelloran", "BatchTest");
    EXPECT_EQ(batch.get("VOLUME", "0"), QStringLiteral("500"));
    SettingsStore::set("Pelloran", "BatchTest", "Volume", "600");  // written meanwhile by this program
    EXPECT_EQ(batch.get("Volume", "0"), QStringLiteral("600"));
    ASSERT_TRUE(batch.set("volume", "700"));
    EXPECT_EQ(SettingsStore::get("Pelloran", "BatchTest", "Volume", "0"), QStringLiteral("700"));
    EXPECT_EQ(batch.keys(), QStringList{"Volume"});

    // Another program rewrites the file: the next batch reads what it wrote.
    QFile file(batch.fileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\nVolume=8000\n");
    file.close();
    EXPECT_EQ(SettingsStore::Batch("Pelloran", "BatchTest").get("Volume", "0"), QStringLiteral("8000"));
}

TEST(SettingsStore, EmptyTextsStayEmptyRatherThanDefault) {
    SettingsStore::set("Pelloran", "EmptyTest", "Folder", "");
    EXPECT_EQ(SettingsStore::get("Pelloran", "EmptyTest", "Folder", "dflt"), QString());
}

TEST(SettingsStore, ASaveThatFailsIsReportedAndKeepsTheFile) {
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    SettingsFolder onTheDisk(disk.path());
    ASSERT_TRUE(SettingsStore::set("Pelloran", "FullDisk", "SongTempDir", "/old"));
    const QString file = SettingsStore::fileName("Pelloran", "FullDisk");
    ASSERT_TRUE(file.startsWith(disk.path()));
    const QByteArray before = SafeFile::read(file);
    disk.fill();

    EXPECT_FALSE(SettingsStore::set("Pelloran", "FullDisk", "SongTempDir", "/new"));
    EXPECT_FALSE(SettingsStore::remove("Pelloran", "FullDisk", "SongTempDir"));
    EXPECT_EQ(SafeFile::read(file), before);
}

TEST(SettingsStore, AFolderThatCannotBeMadeIsReported) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath("Pelloran"));  // a file where the company folder would go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    SettingsFolder blocked(dir.path());
    EXPECT_FALSE(SettingsStore::set("Pelloran", "Blocked", "ReadMe", "1"));
    EXPECT_TRUE(SettingsStore::set("Other", "Blocked", "ReadMe", "1"));
}

TEST(SettingsStore, CopiesLeftByKilledSavesGoAtTheFirstOpeningUnlessASaveIsUnderWay) {
    QTemporaryDir dir;
    SettingsFolder folder(dir.path());
    QDir(dir.path()).mkpath("Pelloran");
    const QString base = dir.filePath("Pelloran/");
    for (const char* name : {"Leftover.conf", "Leftover.conf.kGFnIN", "Leftover.conf.XVbyCI", "Leftover.conf.backup",
                             "Busy.conf.rbVcks"})
        ASSERT_TRUE(SafeFile::write(base + name, "[General]\nVolume=5\n"));
    QLockFile saving(base + "Busy.conf.lock");  // another program saves that file right now
    ASSERT_TRUE(saving.lock());

    EXPECT_EQ(SettingsStore::get("Pelloran", "Leftover", "Volume", "0"), QStringLiteral("5"));
    EXPECT_EQ(SettingsStore::get("Pelloran", "Busy", "Volume", "0"), QStringLiteral("0"));
    EXPECT_EQ(QDir(base).entryList(QDir::Files),
              (QStringList{"Busy.conf.lock", "Busy.conf.rbVcks", "Leftover.conf", "Leftover.conf.backup"}));
}
