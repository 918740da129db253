#include "FullDisk.h"
#include "ProfileFile.h"
#include "RegistryStore.h"
#include "SafeFile.h"
#include "SystemPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray contentOf(const QString& path) { return SafeFile::read(path); }

// Lines bigger than the slack left in the last page of a small file, so that an append
// on a full disk gets part of its bytes in before the disk says no.
QByteArray manyLines() {
    QByteArray lines;
    for (int i = 0; i < 200; ++i) lines += "a song name of some length " + QByteArray::number(i) + "\r\n";
    return lines;
}

}  // namespace

TEST(SafeFileOnAFullDisk, AWriteFailsAndKeepsTheOldFileSmallOrLarge) {
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    const QString file = disk.filePath("list.m3u");
    ASSERT_TRUE(SafeFile::write(file, "old\r\n"));
    disk.fill();

    // A write smaller than the file buffer used to be renamed over the file empty.
    EXPECT_FALSE(SafeFile::write(file, "new\r\n"));
    EXPECT_EQ(contentOf(file), QByteArray("old\r\n"));
    EXPECT_FALSE(SafeFile::write(file, QByteArray(64 * 1024, 'x')));
    EXPECT_EQ(contentOf(file), QByteArray("old\r\n"));
    EXPECT_FALSE(SafeFile::write(file, QByteArray(64 * 1024, 'x'), false));  // not synced: just as whole
    EXPECT_EQ(contentOf(file), QByteArray("old\r\n"));
    EXPECT_FALSE(SafeFile::write(file, "new\r\n", false));
    EXPECT_EQ(contentOf(file), QByteArray("old\r\n"));
    EXPECT_FALSE(SafeFile::write(disk.filePath("new.txt"), "x"));
    EXPECT_EQ(disk.names(), QStringList({FullDisk::FillerName, "list.m3u"}));  // no temporary file left

    disk.free();
    EXPECT_TRUE(SafeFile::write(file, "new\r\n"));
    EXPECT_EQ(contentOf(file), QByteArray("new\r\n"));
    EXPECT_EQ(disk.names(), QStringList({"list.m3u"}));
}

TEST(SafeFile, AWriteWithoutSyncReplacesTheFileWholeAndKeepsItsPermissions) {
    QTemporaryDir folder;
    const QString file = folder.filePath("Quorvel.log");
    ASSERT_TRUE(SafeFile::write(file, "first\r\n", false));
    EXPECT_EQ(contentOf(file), QByteArray("first\r\n"));
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(SafeFile::write(file, "second, longer\r\n", false));
    EXPECT_EQ(contentOf(file), QByteArray("second, longer\r\n"));
    EXPECT_EQ(QFileInfo(file).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"Quorvel.log"});  // no temporary file left
    EXPECT_FALSE(SafeFile::write(folder.filePath("missing/folder/x.log"), "x", false));
}

TEST(SafeFileOnAFullDisk, AnAppendAddsAllOrNothing) {
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    const QString file = disk.filePath("MusicLib.TXT");
    ASSERT_TRUE(SafeFile::append(file, "<Dir> /\t [old]\r\n"));
    disk.fill();

    // Part of these lines fit in the file's last page; they are taken back.
    EXPECT_FALSE(SafeFile::append(file, manyLines()));
    EXPECT_EQ(contentOf(file), QByteArray("<Dir> /\t [old]\r\n"));
    // A file the failed append would have created is not left behind empty.
    EXPECT_FALSE(SafeFile::append(disk.filePath("new.log"), manyLines()));
    EXPECT_EQ(disk.names(), QStringList({"MusicLib.TXT", FullDisk::FillerName}));

    disk.free();
    EXPECT_TRUE(SafeFile::append(file, manyLines()));
    EXPECT_EQ(contentOf(file), "<Dir> /\t [old]\r\n" + manyLines());
}

TEST(SafeFileOnAFullDisk, IniFilesAndTheRegistryStoreKeepTheirEntries) {
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    const QString ini = disk.filePath("WIN.INI");
    ASSERT_TRUE(ProfileFile::writeString(ini, "mci", "MPEGVideo", "mciqtz.drv"));
    const QByteArray registryFolder = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", disk.path().toUtf8());
    ASSERT_TRUE(RegistryStore::setString(RegistryStore::LocalMachine, "SOFTWARE\\Pelloran", "AudioCD", "old"));
    const QByteArray registryBefore = contentOf(SystemPaths::RegistryFile());
    disk.fill();

    EXPECT_FALSE(ProfileFile::writeString(ini, "mci", "CDAudio", "mcicda.drv"));
    EXPECT_FALSE(ProfileFile::deleteKey(ini, "mci", "MPEGVideo"));
    EXPECT_EQ(ProfileFile::getString(ini, "mci", "MPEGVideo"), "mciqtz.drv");
    EXPECT_EQ(ProfileFile::getString(ini, "mci", "CDAudio"), "");
    EXPECT_FALSE(RegistryStore::setString(RegistryStore::LocalMachine, "SOFTWARE\\Pelloran", "AudioCD", "new"));
    EXPECT_EQ(contentOf(SystemPaths::RegistryFile()), registryBefore);
    EXPECT_EQ(RegistryStore::getString(RegistryStore::LocalMachine, "SOFTWARE\\Pelloran", "AudioCD"), "old");
    qputenv("XDG_CONFIG_HOME", registryFolder);
}
