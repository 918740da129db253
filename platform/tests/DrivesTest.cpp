#include <DriveTableWatch.h>
#include <Drives.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

using Drives::Drive;

class DrivesWithFixedTable : public ::testing::Test {
protected:
    void SetUp() override {
        source_ = std::make_shared<Drives::FixedSource>(
            QList<Drive>{
                Drive{"/", "/dev/vda1", "", Drives::TypeFixed, true},
                Drive{"/media/cd", "/dev/sr0", "KARAOKE 1", Drives::TypeOptical, true},
                Drive{"/media/usb", "/dev/sdb1", "", Drives::TypeRemovable, true},
                Drive{"/dev/sr1", "/dev/sr1", "", Drives::TypeOptical, false},
            },
            QMap<QString, quint32>{{"/media/cd", 0x1234ABCDu}});
        Drives::SetSource(source_);
    }
    void TearDown() override { Drives::SetSource(nullptr); }

    std::shared_ptr<Drives::FixedSource> source_;
};

TEST_F(DrivesWithFixedTable, RootOfIsTheLongestMountRootAtAFolderBoundary) {
    EXPECT_EQ(Drives::RootOf("/media/cd/Mpegav/AVSEQ01.DAT"), "/media/cd");
    EXPECT_EQ(Drives::RootOf("/media/cd"), "/media/cd");
    EXPECT_EQ(Drives::RootOf("/media/cdrom/x"), "/");  // "/media/cd" is no folder of it
    EXPECT_EQ(Drives::RootOf("/media/cd/../usb/a"), "/media/usb");
    EXPECT_EQ(Drives::RootOf("/home/user"), "/");
    EXPECT_EQ(Drives::RootOf("relative/path"), "");
    EXPECT_EQ(Drives::RootOf(""), "");
}

TEST_F(DrivesWithFixedTable, DrivesAreFoundByRootDeviceEntryTextOrAnyPathOnThem) {
    EXPECT_EQ(Drives::RootOf("/dev/sr0"), "/media/cd");
    EXPECT_EQ(Drives::RootOf("/media/cd [KARAOKE 1]"), "/media/cd");
    EXPECT_EQ(Drives::RootOf("/dev/sr1"), "/dev/sr1");  // an empty optical drive is still a drive
    EXPECT_EQ(Drives::DriveType("/media/cd/a/b"), Drives::TypeOptical);
    EXPECT_EQ(Drives::DriveType("/dev/sr1"), Drives::TypeOptical);
    EXPECT_EQ(Drives::DriveType("/media/usb"), Drives::TypeRemovable);
    EXPECT_EQ(Drives::DriveType("/etc"), Drives::TypeFixed);
    EXPECT_EQ(Drives::DriveType("nowhere"), Drives::TypeNoRoot);
    // Brackets in a root or label: the listed drive's own text is recognised whole.
    source_->setDrives({Drive{"/media/x [1]", "", "Disc [2]", Drives::TypeOptical, true}});
    EXPECT_EQ(Drives::DriveOfEntry("/media/x [1] [Disc [2]]"), "/media/x [1]");
    EXPECT_EQ(Drives::RootOf("/media/x [1] [Disc [2]]"), "/media/x [1]");
}

TEST_F(DrivesWithFixedTable, SerialOfAVolumeAndOfAnUnreadableDrive) {
    EXPECT_EQ(Drives::VolumeSerial("/media/cd/Mpegav"), std::optional<quint32>(0x1234ABCDu));
    EXPECT_FALSE(Drives::VolumeSerial("/dev/sr1").has_value());
    EXPECT_FALSE(Drives::VolumeSerial("").has_value());
}

TEST(DriveEntryText, LabelledAndUnlabelledEntriesGiveTheirRootBack) {
    const Drive labelled{"/media/my disc", "", "MY [1]", Drives::TypeOptical, true};
    EXPECT_EQ(Drives::EntryText(labelled), "/media/my disc [MY [1]]");
    EXPECT_EQ(Drives::EntryText(Drive{"/", "", "", Drives::TypeFixed, true}), "/");
    EXPECT_EQ(Drives::DriveOfEntry("/media/usb [STICK]"), "/media/usb");
    EXPECT_EQ(Drives::DriveOfEntry("/media/usb"), "/media/usb");
}

TEST(DriveSerials, UuidTextsOfTheCommonFileSystems) {
    EXPECT_EQ(Drives::SerialFromUuid("ABCD-1234"), std::optional<quint32>(0xABCD1234u));  // FAT
    EXPECT_EQ(Drives::SerialFromUuid("0123456789ABCDEF"), std::optional<quint32>(0x89ABCDEFu));  // NTFS
    EXPECT_EQ(Drives::SerialFromUuid("c0ffee00-1111-2222-3333-444455556666"), std::optional<quint32>(0xC0FFEE00u));
    // An ISO 9660 "UUID" is a date: hashed, and stable.
    const auto iso = Drives::SerialFromUuid("2023-01-01-12-00-00-00");
    ASSERT_TRUE(iso.has_value());
    EXPECT_EQ(iso, Drives::SerialFromUuid("2023-01-01-12-00-00-00"));
    EXPECT_NE(iso, Drives::SerialFromUuid("2023-01-01-12-00-00-01"));
    EXPECT_FALSE(Drives::SerialFromUuid("").has_value());
}

QByteArray bootSector() {
    QByteArray b(512, '\0');
    b[0] = char(0xEB);
    b[510] = char(0x55);
    b[511] = char(0xAA);
    return b;
}

void putLe32(QByteArray& b, int at, quint32 value) {
    qToLittleEndian(value, reinterpret_cast<uchar*>(b.data()) + at);
}

TEST(DriveSerials, VolumeHeadersOfFatNtfsAndIso9660) {
    QByteArray fat32 = bootSector();
    fat32.replace(82, 8, "FAT32   ");
    fat32[66] = char(0x29);
    putLe32(fat32, 67, 0x5A5AC3C3u);
    EXPECT_EQ(Drives::SerialFromHeader(fat32), std::optional<quint32>(0x5A5AC3C3u));

    QByteArray fat16 = bootSector();
    fat16[38] = char(0x29);
    putLe32(fat16, 39, 0x00C0FFEEu);
    fat16.replace(54, 8, "FAT16   ");
    EXPECT_EQ(Drives::SerialFromHeader(fat16), std::optional<quint32>(0x00C0FFEEu));

    QByteArray ntfs = bootSector();
    ntfs.replace(3, 8, "NTFS    ");
    putLe32(ntfs, 0x48, 0xDEADBEEFu);
    putLe32(ntfs, 0x4C, 0x01020304u);  // high half of the 64-bit number: not used
    EXPECT_EQ(Drives::SerialFromHeader(ntfs), std::optional<quint32>(0xDEADBEEFu));

    QByteArray iso(34816, '\0');
    iso[32768] = 1;
    iso.replace(32769, 5, "CD001");
    for (int i = 32768 + 40; i < 32768 + 72; ++i) iso[i] = char(i & 0xFF);
    const auto serial = Drives::SerialFromHeader(iso);
    ASSERT_TRUE(serial.has_value());
    iso[32768 + 100] = 7;
    EXPECT_NE(Drives::SerialFromHeader(iso), serial);

    EXPECT_FALSE(Drives::SerialFromHeader(QByteArray(600, 'x')).has_value());
    EXPECT_FALSE(Drives::SerialFromHeader(QByteArray()).has_value());
    EXPECT_FALSE(Drives::SerialFromHeader(iso.left(33000)).has_value());  // cut before the descriptor ends
}

TEST(DriveSerials, AudioDiscTableOfContentsGivesAStableNumber) {
    const QList<qint32> tracks{0, 15000, 31000};
    EXPECT_EQ(Drives::SerialFromToc(tracks, 45000), Drives::SerialFromToc(tracks, 45000));
    EXPECT_NE(Drives::SerialFromToc(tracks, 45000), Drives::SerialFromToc(tracks, 45001));
    EXPECT_NE(Drives::SerialFromToc({0, 15000}, 45000), Drives::SerialFromToc(tracks, 45000));
}

TEST(SystemDrives, TheSystemRootIsListedAndHoldsEveryAbsolutePath) {
    Drives::SetSource(nullptr);
    const QList<Drive> drives = Drives::List();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_TRUE(std::any_of(drives.begin(), drives.end(), [](const Drive& d) { return d.root == "/"; }));
    EXPECT_FALSE(Drives::RootOf("/no/such/folder/here").isEmpty());
    EXPECT_EQ(Drives::DriveType("/"), Drives::TypeFixed);
}

TEST(SystemDrives, TheChosenDriveIsListedLastAsAnOpticalDrive) {
    QTemporaryDir place;
    // A folder stands for a disc mounted there; its files lie on that drive.
    const QString folder = place.filePath("VIDEOCD");
    QDir().mkpath(folder + "/MPEGAV");
    qputenv("PELLORAN_CD_DEVICE", folder.toUtf8());
    Drives::SetSource(nullptr);
    Drive last = Drives::List().last();
    EXPECT_EQ(last.root, folder);
    EXPECT_EQ(last.type, Drives::TypeOptical);
    EXPECT_TRUE(last.mounted);
    EXPECT_EQ(Drives::RootOf(folder + "/MPEGAV/AVSEQ01.DAT"), folder);
    EXPECT_EQ(Drives::DriveType(folder), Drives::TypeOptical);

    // A disc image is a drive without a mounted volume, reached at its own path.
    const QString image = place.filePath("disc.cue");
    QFile(image).open(QIODevice::WriteOnly);
    qputenv("PELLORAN_CD_DEVICE", image.toUtf8());
    Drives::SetSource(nullptr);
    last = Drives::List().last();
    EXPECT_EQ(last.root, image);
    EXPECT_EQ(last.device, image);
    EXPECT_FALSE(last.mounted);
    // An enhanced disc: its first track holds data, which is no track to play.
    QFile bin(place.filePath("disc.bin"));
    ASSERT_TRUE(bin.open(QIODevice::WriteOnly));
    bin.write(QByteArray(375 * 2352, '\0'));
    bin.close();
    QFile sheet(image);
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write("FILE \"disc.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                "  TRACK 02 AUDIO\n    INDEX 01 00:04:00\n");
    sheet.close();
    EXPECT_EQ(Drives::AudioTrackNames(image), QStringList{"Track02.cda"});

    qunsetenv("PELLORAN_CD_DEVICE");
    Drives::SetSource(nullptr);
    const QList<Drive> drives = Drives::List();
    EXPECT_TRUE(std::none_of(drives.begin(), drives.end(), [&](const Drive& d) { return d.root == image; }));
}

// The drive list is read again only when the mount table or the device folder says it may have
// changed. A plain file stands for a mount table that reports nothing.
TEST(DriveTableWatch, SaysChangedFirstThenOnlyAfterTheDeviceFolderChanges) {
    QTemporaryDir place;
    const QString quietTable = place.filePath("mountinfo");
    QFile(quietTable).open(QIODevice::WriteOnly);
    const QString devices = place.filePath("dev");
    QDir().mkpath(devices);
    // The folder's time is set by hand: two changes within one tick of the file system's clock
    // would otherwise look alike.
    const auto touchFolder = [&](long seconds) {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(devices).constData(), times, 0), 0);
    };
    touchFolder(1000);

    DriveTableWatch watch(quietTable, devices);
    EXPECT_TRUE(watch.changed());  // nothing was read yet
    EXPECT_FALSE(watch.changed());
    EXPECT_FALSE(watch.changed());

    QFile(devices + "/sr1").open(QIODevice::WriteOnly);  // a drive plugged in
    touchFolder(1001);
    EXPECT_TRUE(watch.changed());
    EXPECT_FALSE(watch.changed());

    QFile::remove(devices + "/sr1");  // and out again
    touchFolder(1002);
    EXPECT_TRUE(watch.changed());
    EXPECT_FALSE(watch.changed());
}

TEST(DriveTableWatch, AMountTableThatCannotBeOpenedSaysChangedEveryTime) {
    QTemporaryDir place;
    DriveTableWatch watch(place.filePath("no-such-table"), place.path());
    EXPECT_TRUE(watch.changed());
    EXPECT_TRUE(watch.changed());
}

}  // namespace
