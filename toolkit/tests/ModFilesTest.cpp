#include <ModFiles.h>

#include <Drives.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

void touch(const QString& path, const QByteArray& bytes = "x") {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

// --------------------------------------------------------------- path texts

TEST(PathTexts, FileNameAndFilePath) {
    EXPECT_EQ(GetFileName("song.mp3"), "song.mp3");
    EXPECT_EQ(GetFileName("/music/album/"), "");
    EXPECT_EQ(GetFileName("/music/album/song.mp3"), "song.mp3");
    EXPECT_EQ(GetFilePath("/music/Album"), "/music/Album");  // no "." anywhere: unchanged
    EXPECT_EQ(GetFilePath("/my.dir/sub"), "/my.dir");
    EXPECT_EQ(GetFilePath("/music/a/song.mp3"), "/music/a");
    EXPECT_EQ(GetFilePath("song.mp3"), "song.mp3");
}

TEST(PathTexts, ExtensionFromTheLastFiveCharacters) {
    EXPECT_EQ(GetExtName("song.MP3"), "mp3");
    EXPECT_EQ(GetExtName("cover.jpeg"), "jpe");
    EXPECT_EQ(GetExtName("a.b.c"), "b.c");
    EXPECT_EQ(GetExtName("x.ab"), "");
    EXPECT_EQ(GetExtName("a.mp"), "");
    EXPECT_EQ(GetExtName("x.tar.gz"), "gz");
    EXPECT_EQ(GetExtName("/a.b/README"), "");
}

TEST(PathTexts, AddPathNeverDoublesTheSeparator) {
    EXPECT_EQ(AddPath("/", "x/y.bmp"), "/y.bmp");
    EXPECT_EQ(AddPath("/skin/", "y.bmp"), "/skin/y.bmp");
    EXPECT_EQ(AddPath("/skin", "/other/y.bmp"), "/skin/y.bmp");
    EXPECT_EQ(AddPath("/skin", ""), "/skin");
    EXPECT_EQ(AddPath("/skin", "/other/"), "/skin");
}

TEST(PathTexts, FixedWidthTexts) {
    EXPECT_EQ(ZeroFill(123456, 4), "3456");
    EXPECT_EQ(ZeroFill(1, 2), "01");
    EXPECT_EQ(ZeroFill(7, 12), "0000000007");
    EXPECT_EQ(ZeroFill(5, 0), "");
    EXPECT_EQ(FixLen("abc", 5), "abc  ");
    EXPECT_EQ(FixLen("abcdef", 3), "abc");
    EXPECT_EQ(FixLen("搜尋目錄", 9), QString("搜尋目錄") + QString(5, ' '));
    EXPECT_EQ(FixLen("abc", 0), "");
    EXPECT_EQ(UCaseStr("Mpegav.dat"), "MPEGAV.DAT");
}

TEST(PathTexts, AddFileNumCountsTheDigitsBeforeTheExtension) {
    int digits = 2;
    EXPECT_EQ(AddFileNum("Panel-00.Bmp", 1, digits), "Panel-01.Bmp");
    digits = 3;
    EXPECT_EQ(AddFileNum("Cut0009.BMP", 1, digits), "Cut0010.BMP");
    EXPECT_EQ(digits, 4);
    EXPECT_EQ(AddFileNum("Cut0042.BMP", 0, digits), "Cut0000.BMP");
    digits = 2;
    EXPECT_EQ(AddFileNum("Cut99.BMP", 1, digits), "Cut100.BMP");
    EXPECT_EQ(AddFileNum("Cut100.BMP", 1, digits), "Cut101.BMP");
    EXPECT_EQ(digits, 3);
    // No digit run: the caller's Digits characters before the extension become the number.
    digits = 3;
    EXPECT_EQ(AddFileNum("Sgkcabc.BMP", 1, digits), "Sgkc001.BMP");
    EXPECT_EQ(digits, 3);
    digits = 8;
    EXPECT_EQ(AddFileNum("ab.BMP", 1, digits), "");  // not longer than Digits
    // A stem shorter than the field is numbered whole; the folder is never part of the number.
    digits = 4;
    EXPECT_EQ(AddFileNum("x.BMP", 1, digits), "0001.BMP");
    digits = 3;
    EXPECT_EQ(AddFileNum("/tmp/cuts/b.BMP", 1, digits), "/tmp/cuts/001.BMP");
    EXPECT_EQ(AddFileNum("/tmp/cuts/001.BMP", 1, digits), "/tmp/cuts/002.BMP");
    EXPECT_EQ(AddFileNum("/tmp/cuts/.BMP", 1, digits), "/tmp/cuts/001.BMP");
    // An extension that is not a dot and three letters leaves nothing safe to number.
    EXPECT_EQ(AddFileNum("/tmp/cuts/shot.jpeg", 1, digits), "");
    EXPECT_EQ(AddFileNum("/tmp/cuts/b", 1, digits), "");
}

// --------------------------------------------------------------- drives and discs

class WithDrives : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = QDir(dir_.path()).canonicalPath();
        source_ = std::make_shared<Drives::FixedSource>(
            QList<Drives::Drive>{
                Drives::Drive{"/", "", "", Drives::TypeFixed, true},
                Drives::Drive{root_, "/dev/sr0", "VCD", Drives::TypeOptical, true},
                Drives::Drive{"/dev/sr1", "/dev/sr1", "", Drives::TypeOptical, false},
            },
            QMap<QString, quint32>{{root_, 0x12345678u}});
        Drives::SetSource(source_);
    }
    void TearDown() override { Drives::SetSource(nullptr); }

    QTemporaryDir dir_;
    QString root_;
    std::shared_ptr<Drives::FixedSource> source_;
};

TEST_F(WithDrives, CutDriveGivesThePathBelowTheVolumeRoot) {
    EXPECT_EQ(CutDrive(root_ + "/Mpegav/x.dat"), "Mpegav/x.dat");
    EXPECT_EQ(CutDrive(root_), "");
    EXPECT_EQ(CutDrive(root_ + "/"), "");
    EXPECT_EQ(CutDrive("/home/user/a.mp3"), "home/user/a.mp3");
    EXPECT_EQ(CutDrive("no drive here"), "no drive here");
    EXPECT_EQ(GetDrive(root_ + "/Mpegav/x.dat"), root_);
    EXPECT_EQ(GetDrive("relative/x"), "");
}

TEST(BelowDrive, JoinsDriveAndFolderWithOneSlash) {
    EXPECT_EQ(BelowDrive("/", "tmp/x/songs"), "/tmp/x/songs");  // the root drive: no "//"
    EXPECT_EQ(BelowDrive("/media/disc/", "/Songs/A"), "/media/disc/Songs/A");
    EXPECT_EQ(BelowDrive("/media/disc", ""), "/media/disc");
}

TEST_F(WithDrives, VolumeSerialAndDiscCode) {
    EXPECT_EQ(GetVolSerial(root_), "12345678");
    EXPECT_EQ(GetVolSerial(root_ + "/Mpegav"), "12345678");
    EXPECT_EQ(GetVolCode(root_), "Sgkc");
    EXPECT_EQ(GetVolSerial("/dev/sr1"), "00000000");  // no readable volume
    EXPECT_EQ(GetVolCode("/dev/sr1"), "Aaaa");
    EXPECT_EQ(GetVolSerial("nowhere"), "00000000");
}

TEST(DiscCode, LettersFromTheSignedSerial) {
    EXPECT_EQ(VolCodeOfSerial(0), "Aaaa");
    EXPECT_EQ(VolCodeOfSerial(0xFFFFFFFFu), "Bbbb");  // -1: every quotient floors to -1
    EXPECT_EQ(VolCodeOfSerial(0x80000000u), "Yiuy");
    EXPECT_EQ(VolCodeOfSerial(25), "Aaaz");
    EXPECT_EQ(VolCodeOfSerial(26), "Aaaa");
}

// --------------------------------------------------------------- searches

TEST_F(WithDrives, FileExistWantsAVisibleFileWithAnExtension) {
    touch(root_ + "/song.MP3");
    touch(root_ + "/README");
    touch(root_ + "/.hidden.txt");
    QDir(root_).mkdir("folder.dir");
    EXPECT_TRUE(FileExist(root_ + "/song.MP3"));
    EXPECT_TRUE(FileExist(root_ + "/SONG.mp3"));  // case does not matter
    EXPECT_TRUE(FileExist(root_ + "/*.mp3"));
    EXPECT_FALSE(FileExist(""));
    EXPECT_FALSE(FileExist(root_ + "/README"));
    EXPECT_FALSE(FileExist(root_ + "/.hidden.txt"));
    EXPECT_FALSE(FileExist(root_ + "/folder.dir"));
    EXPECT_FALSE(FileExist(root_ + "/missing.mp3"));
    EXPECT_FALSE(FileExist(root_ + "/*.wav"));
}

TEST_F(WithDrives, DirExFindsFoldersAndFiles) {
    QDir(root_).mkpath("Music/Album");
    touch(root_ + "/Music/b.mp3");
    EXPECT_EQ(DirEx(root_ + "/Music"), "Music");
    EXPECT_EQ(DirEx(root_ + "/MUSIC/album"), "Album");
    EXPECT_EQ(DirEx(root_ + "/Music/"), ".");
    EXPECT_EQ(DirEx(root_ + "/Music/*.mp3"), "b.mp3");
    EXPECT_EQ(DirEx(root_ + "/"), "Music");  // a drive root has no "." entry
    EXPECT_EQ(DirEx(root_ + "/Nothing"), "");
    EXPECT_EQ(DirEx(""), "");
}

TEST_F(WithDrives, ChkDirTellsFoldersFromFiles) {
    QDir(root_).mkpath("Music/Vol.001");
    touch(root_ + "/Music/a.mp3");
    touch(root_ + "/Music/NOTES");
    EXPECT_EQ(ChkDir(root_ + "/Music"), root_ + "/Music");
    EXPECT_EQ(ChkDir(root_ + "/Music/a.mp3"), "");
    EXPECT_EQ(ChkDir(root_ + "/Music/Missing"), "");
    // The entry's own kind decides, not the look of its name.
    EXPECT_EQ(ChkDir(root_ + "/Music/NOTES"), "");
    EXPECT_EQ(ChkDir(root_ + "/Music/Vol.001"), root_ + "/Music/Vol.001");
    EXPECT_EQ(ChkDir(root_), root_);  // a drive root that holds anything
    EXPECT_EQ(ChkDir(""), "");
}

TEST_F(WithDrives, MakeDirCreatesOneLevelAndIgnoresFailures) {
    MakeDir(root_ + "/Temp");
    EXPECT_TRUE(QFileInfo(root_ + "/Temp").isDir());
    MakeDir(root_ + "/Temp");  // exists already
    MakeDir(root_ + "/No/Parent");
    EXPECT_FALSE(QFileInfo(root_ + "/No").exists());
    MakeDir("");
}

TEST_F(WithDrives, DelFileDeletesOneNamedFileAndReportsFailureAsFalse) {
    const QString locked = root_ + "/Cut0000.BMP";
    touch(locked);
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    EXPECT_TRUE(DelFile(root_ + "/cut0000.bmp"));
    EXPECT_FALSE(QFile::exists(locked));

    EXPECT_FALSE(DelFile(root_ + "/missing.bmp"));
    touch(root_ + "/NOEXT");
    EXPECT_FALSE(DelFile(root_ + "/NOEXT"));
    EXPECT_TRUE(QFile::exists(root_ + "/NOEXT"));
    touch(root_ + "/a.bmp");
    EXPECT_FALSE(DelFile(root_ + "/*.bmp"));
    EXPECT_TRUE(QFile::exists(root_ + "/a.bmp"));
    QDir(root_).mkdir("x.dir");
    EXPECT_FALSE(DelFile(root_ + "/x.dir"));
    EXPECT_TRUE(QFileInfo(root_ + "/x.dir").isDir());
}

TEST(WindowsFolder, IsTheConfigFolderStandInWithoutTrailingSlash) {
    const QString folder = GetWinDir();
    EXPECT_TRUE(folder.endsWith("/Pelloran/Windows")) << folder.toStdString();
    EXPECT_TRUE(folder.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
}

// --------------------------------------------------------------- picture size

QByteArray imageBytes(const QSize& size, const char* format, bool progressive = false, bool withComment = false) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    if (withComment) writer.setText("Description", QString(3000, 'k'));  // a segment before the frame header
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
}

// A complete one-colour GIF: Qt reads GIF but does not write it.
QByteArray gifBytes(quint16 width, quint16 height) {
    QByteArray b("GIF89a");
    auto le16 = [&](quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    le16(width);
    le16(height);
    b.append(char(0x80)).append('\0').append('\0');             // global table of two colours
    b.append(QByteArray::fromHex("000000ffffff"));
    b.append(',');                                               // image descriptor
    le16(0);
    le16(0);
    le16(1);
    le16(1);
    b.append('\0');
    b.append(QByteArray::fromHex("0202440100"));                 // LZW data of one pixel
    b.append(';');
    return b;
}

class PictureSize : public WithDrives {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = root_ + "/" + name;
        touch(path, bytes);
        return path;
    }
    QSize measured(const QString& path) {
        PictureWidth = -1;
        PictureHeight = -1;
        GetPicSize(path);
        return QSize(PictureWidth, PictureHeight);
    }
};

TEST_F(PictureSize, RealJpegBmpAndGifPictures) {
    EXPECT_EQ(measured(write("a.jpg", imageBytes({1234, 567}, "jpg"))), QSize(1234, 567));
    EXPECT_EQ(measured(write("b.JPG", imageBytes({70, 300}, "jpg", true, true))), QSize(70, 300));
    EXPECT_EQ(measured(write("c.bmp", imageBytes({704, 480}, "bmp"))), QSize(704, 480));
    const QByteArray gif = gifBytes(320, 200);
    ASSERT_FALSE(QImage::fromData(gif, "GIF").isNull());  // a picture Qt itself can read
    EXPECT_EQ(measured(write("d.gif", gif)), QSize(320, 200));

    // A frame header behind more metadata than the first read takes in is still found.
    const QByteArray plain = imageBytes({800, 600}, "jpg");
    QByteArray tagged = plain.left(2);
    for (int i = 0; i < 4; ++i)
        tagged += QByteArray::fromHex("ffe1f000") + QByteArray(0xf000 - 2, 'x');
    tagged += plain.mid(2);
    ASSERT_GT(tagged.indexOf(QByteArray::fromHex("ffc0")), 200 * 1024);
    EXPECT_EQ(measured(write("tagged.jpg", tagged)), QSize(800, 600));
}

TEST_F(PictureSize, BmpSizesUseTheWhole32BitFields) {
    QByteArray header = imageBytes({2, 2}, "bmp");
    qToLittleEndian<qint32>(70000, reinterpret_cast<uchar*>(header.data()) + 18);
    qToLittleEndian<qint32>(-90000, reinterpret_cast<uchar*>(header.data()) + 22);  // stored top-down
    EXPECT_EQ(PictureSizeOf(header, "BMP"), QSize(70000, 90000));
}

TEST_F(PictureSize, DamagedUnknownAndMissingFilesGiveZero) {
    const QByteArray jpeg = imageBytes({640, 480}, "jpg", false, true);
    const int frame = jpeg.indexOf(QByteArray::fromHex("ffc0"));
    ASSERT_GT(frame, 0);
    EXPECT_EQ(measured(write("cut.jpg", jpeg.left(frame + 4))), QSize(0, 0));  // frame header cut short
    EXPECT_EQ(measured(write("head.jpg", jpeg.left(3))), QSize(0, 0));
    EXPECT_EQ(measured(write("png.jpg", imageBytes({10, 10}, "png"))), QSize(0, 0));
    EXPECT_EQ(measured(write("short.bmp", QByteArray("BM\x10"))), QSize(0, 0));
    EXPECT_EQ(measured(write("short.gif", QByteArray("GIF89a\x01"))), QSize(0, 0));
    EXPECT_EQ(measured(write("empty.gif", QByteArray())), QSize(0, 0));
    EXPECT_EQ(measured(write("photo.jpeg", jpeg)), QSize(0, 0));  // the kind comes from the name: "JPE"
    EXPECT_EQ(measured(root_ + "/missing.jpg"), QSize(0, 0));
    // A segment length that points past the end is not followed.
    QByteArray runaway = QByteArray::fromHex("ffd8ffe0fff0");
    EXPECT_EQ(PictureSizeOf(runaway, "JPG"), QSize());
}

// --------------------------------------------------------------- disc listing

class DiscListing : public WithDrives {
protected:
    void SetUp() override {
        WithDrives::SetUp();
        QDir(root_).mkdir("MPEGAV");
        touch(root_ + "/MPEGAV/AVSEQ02.DAT");
        touch(root_ + "/MPEGAV/avseq01.dat");
        touch(root_ + "/MPEGAV/readme.txt");
    }
};

TEST_F(DiscListing, NamesAreFullPathsInNameOrderEndingWithAnEmptyEntry) {
    QStringList names{"stale"};
    EXPECT_EQ(ListDiscFiles(root_ + "/Mpegav/*.Dat", names), 2);
    ASSERT_EQ(names.size(), 11);
    EXPECT_EQ(names[0], root_ + "/MPEGAV/avseq01.dat");
    EXPECT_EQ(names[1], root_ + "/MPEGAV/AVSEQ02.DAT");
    EXPECT_EQ(names[2], "");
    for (int i = 3; i <= 10; ++i) EXPECT_EQ(names[i], QString(20, ' '));
}

TEST_F(DiscListing, NoMatchLeavesAnEmptyFirstEntryAndBlankRest) {
    QStringList names;
    EXPECT_EQ(ListDiscFiles(root_ + "/MPEGAV/*.cda", names), 0);
    ASSERT_EQ(names.size(), 11);
    EXPECT_EQ(names[0], "");
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(names[i], QString(20, ' '));
    EXPECT_EQ(ListDiscFiles(root_ + "/Nowhere/*.Dat", names), 0);
    EXPECT_EQ(ListDiscFiles("*.Dat", names), 0);
    ASSERT_EQ(ListDiscFiles(root_ + "/mpegav/*", names), 3);  // a wildcard name without "."
    EXPECT_EQ(names[2], root_ + "/MPEGAV/readme.txt");
}

TEST_F(DiscListing, TheListGrowsForDiscsWithManyTracks) {
    for (int i = 3; i <= 14; ++i) touch(root_ + QString("/MPEGAV/AVSEQ%1.DAT").arg(i, 2, 10, QChar('0')));
    QStringList names;
    EXPECT_EQ(ListDiscFiles(root_ + "/MPEGAV/*.DAT", names), 14);
    ASSERT_EQ(names.size(), 15);
    EXPECT_EQ(names[13], root_ + "/MPEGAV/AVSEQ14.DAT");
    EXPECT_EQ(names[14], "");
}

TEST_F(DiscListing, NumberLabelsAreEnabledOnlyForFilesOnTheVideoCdDrive) {
    QList<int> disabled, enabled;
    QStringList shown;
    DiscScanView view;
    view.disableNumberLabel = [&](int i) { disabled << i; };
    view.enableNumberLabel = [&](int i) { enabled << i; };
    view.showScanName = [&](const QString& name) { shown << name; };
    view.vcdFolder = root_ + "/MPEGAV";
    QStringList names;
    ListDiscFiles(root_ + "/MPEGAV/*.DAT", names, view);
    EXPECT_EQ(disabled, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(enabled, (QList<int>{0, 1}));
    EXPECT_EQ(shown, (QStringList{"avseq01.dat", "AVSEQ02.DAT", ""}));

    enabled.clear();
    view.vcdFolder = "/elsewhere/MPEGAV";
    ListDiscFiles(root_ + "/MPEGAV/*.DAT", names, view);
    EXPECT_TRUE(enabled.isEmpty());
}

}  // namespace
