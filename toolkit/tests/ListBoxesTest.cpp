#include <ListBoxes.h>

#include <Drives.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Counts the emissions of one signal.
struct SignalCount {
    template <typename Sender, typename Signal>
    SignalCount(Sender* sender, Signal signal) {
        QObject::connect(sender, signal, sender, [this] { ++n; });
    }
    int count() const { return n; }
    int n = 0;
};

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

// A temporary folder that is a drive of its own, beside a second drive and an empty optical drive.
class ListBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = QDir(dir_.path()).canonicalPath();
        QDir(root_).mkpath("Music/Album B");
        QDir(root_).mkpath("Music/album a");
        QDir(root_).mkpath("Music/.cache");
        for (const char* name : {"b.JPG", "a.bmp", "c.gif", "d.txt", "NOEXT", ".hidden.jpg"})
            touch(root_ + "/Music/" + name);
        source_ = std::make_shared<Drives::FixedSource>(QList<Drives::Drive>{
            Drives::Drive{"/", "", "", Drives::TypeFixed, true},
            Drives::Drive{root_, "/dev/sdb1", "STICK", Drives::TypeRemovable, true},
            Drives::Drive{"/dev/sr0", "/dev/sr0", "", Drives::TypeOptical, false},
        });
        Drives::SetSource(source_);
    }
    void TearDown() override { Drives::SetSource(nullptr); }

    QTemporaryDir dir_;
    QString root_;
    std::shared_ptr<Drives::FixedSource> source_;
};

TEST_F(ListBoxes, FileListFiltersByPatternsJoinedBySemicolonsWithoutRegardToCase) {
    FileListBox files;
    ASSERT_TRUE(files.setPath(root_ + "/Music"));
    files.setPattern("*.jpg; *.BMP;*.gif");
    ASSERT_EQ(files.listCount(), 3);
    EXPECT_EQ(files.list(0), "a.bmp");
    EXPECT_EQ(files.list(1), "b.JPG");
    EXPECT_EQ(files.list(2), "c.gif");
    EXPECT_EQ(files.list(3), "");
    files.setPattern("*.*");  // every visible file, also one without an extension; no folders
    EXPECT_EQ(files.listCount(), 5);
    files.setPattern("*.wav");
    EXPECT_EQ(files.listCount(), 0);

    // The same names without a list, for a folder spelt in another case; none for no folder.
    EXPECT_EQ(FileListBox::filesIn(root_ + "/MUSIC", "*.jpg; *.BMP;*.gif"), (QStringList{"a.bmp", "b.JPG", "c.gif"}));
    EXPECT_EQ(FileListBox::filesIn(root_ + "/Missing", "*.*"), QStringList());
    EXPECT_EQ(FileListBox::filesIn(root_ + "/Music/d.txt", "*.*"), QStringList());
}

TEST_F(ListBoxes, FileListKeepsItsFolderWhenANewOneCannotBeRead) {
    FileListBox files;
    SignalCount pathChanges(&files, &FileListBox::PathChange);
    SignalCount patternChanges(&files, &FileListBox::PatternChange);
    ASSERT_TRUE(files.setPath(root_ + "/MUSIC"));  // the folder is found without regard to case
    EXPECT_EQ(files.path(), root_ + "/Music");
    EXPECT_FALSE(files.setPath(root_ + "/Missing"));
    EXPECT_FALSE(files.setPath(root_ + "/Music/d.txt"));
    EXPECT_EQ(files.path(), root_ + "/Music");
    EXPECT_TRUE(files.setPath(root_ + "/Music"));  // the same folder again: read again, no change
    EXPECT_EQ(pathChanges.count(), 1);
    files.setPattern("*.txt");
    files.setPattern("*.txt");
    EXPECT_EQ(patternChanges.count(), 1);
    EXPECT_EQ(files.listCount(), 1);
}

TEST_F(ListBoxes, FileListSelection) {
    FileListBox files;
    files.setPath(root_ + "/Music");
    files.setPattern("*.jpg;*.bmp;*.gif");
    EXPECT_EQ(files.listIndex(), -1);
    EXPECT_EQ(files.fileName(), "");
    SignalCount clicks(&files, &FileListBox::Click);
    EXPECT_TRUE(files.setFileName("C.GIF"));
    EXPECT_EQ(files.listIndex(), 2);
    EXPECT_EQ(files.fileName(), "c.gif");
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(files.setFileName("d.txt"));
    files.setMultiSelect(true);
    files.setSelected(0, true);
    files.setSelected(1, true);
    EXPECT_TRUE(files.selected(0));
    EXPECT_TRUE(files.selected(1));
    EXPECT_FALSE(files.selected(7));
    files.refresh();
    EXPECT_EQ(files.listIndex(), -1);
}

TEST_F(ListBoxes, FolderListShowsAncestorsUpToTheDriveRootAndVisibleSubfolders) {
    DirListBox folders;
    ASSERT_TRUE(folders.setPath(root_ + "/Music"));
    EXPECT_EQ(folders.list(-1), root_ + "/Music");
    EXPECT_EQ(folders.list(-2), root_);
    EXPECT_EQ(folders.list(-3), "");  // the root of this drive is the top
    ASSERT_EQ(folders.listCount(), 2);
    EXPECT_EQ(folders.list(0), root_ + "/Music/album a");
    EXPECT_EQ(folders.list(1), root_ + "/Music/Album B");
    EXPECT_EQ(folders.listIndex(), -1);
}

TEST_F(ListBoxes, FolderListChangesOnlyToReadableFolders) {
    DirListBox folders;
    SignalCount changes(&folders, &DirListBox::Change);
    ASSERT_TRUE(folders.setPath(root_));
    EXPECT_FALSE(folders.setPath("/dev/sr0"));  // an optical drive without a disc
    EXPECT_FALSE(folders.setPath(""));
    EXPECT_EQ(folders.path(), root_);
    EXPECT_TRUE(folders.setPath(root_ + "/"));
    EXPECT_EQ(changes.count(), 1);

    folders.setPath(root_ + "/Music");
    folders.setListIndex(1);
    EXPECT_EQ(folders.listIndex(), 1);
    emit folders.itemActivated(folders.currentItem());  // a double click opens the entry
    EXPECT_EQ(folders.path(), root_ + "/Music/Album B");
    EXPECT_EQ(changes.count(), 3);

    // An audio disc arrives: its root is a folder that holds one name per audio track.
    source_->setAudioTracks("/dev/sr0", {1, 2, 10});
    EXPECT_TRUE(folders.setPath("/dev/sr0"));
    EXPECT_EQ(folders.list(-1), "/dev/sr0");
    EXPECT_EQ(folders.listCount(), 0);
    FileListBox files;
    ASSERT_TRUE(files.setPath("/dev/sr0"));
    files.setPattern("*.mp3;*.CDA");
    EXPECT_EQ(FileListBox::filesIn("/dev/sr0/", "*.*"), (QStringList{"Track01.cda", "Track02.cda", "Track10.cda"}));
    EXPECT_EQ(files.listCount(), 3);
    EXPECT_EQ(Drives::RootOf("/dev/sr0/Track02.cda"), "/dev/sr0");  // a track lies on its disc
    EXPECT_FALSE(files.setPath(root_ + "/Music/b.JPG/Track01.cda"));
}

TEST_F(ListBoxes, DriveListNamesDrivesByRootAndLabel) {
    DriveListBox drives;
    ASSERT_EQ(drives.listCount(), 3);
    EXPECT_EQ(drives.list(1), root_ + " [STICK]");
    EXPECT_EQ(drives.list(2), "/dev/sr0");
    SignalCount changes(&drives, &DriveListBox::Change);
    EXPECT_TRUE(drives.setDrive(root_ + "/Music/Album B"));  // any path on the drive
    EXPECT_EQ(drives.drive(), root_);
    EXPECT_EQ(drives.listIndex(), 1);
    EXPECT_TRUE(drives.setDrive("/dev/sr0"));
    EXPECT_EQ(changes.count(), 2);
    EXPECT_FALSE(drives.setDrive("no such drive"));
    EXPECT_EQ(drives.drive(), "/dev/sr0");
}

// A shown list carries each drive's icon, also for drives listed after it was shown.
TEST_F(ListBoxes, AShownDriveListCarriesTheDriveIcons) {
    DriveListBox drives;
    drives.show();
    ASSERT_EQ(drives.listCount(), 3);
    for (int i = 0; i < drives.listCount(); ++i) EXPECT_FALSE(drives.itemIcon(i).isNull()) << i;
    source_->setDrives({Drives::Drive{"/", "", "", Drives::TypeFixed, true},
                        Drives::Drive{"/dev/sr1", "/dev/sr1", "", Drives::TypeOptical, false}});
    drives.refresh();
    ASSERT_EQ(drives.listCount(), 2);
    EXPECT_FALSE(drives.itemIcon(1).isNull());
}

TEST_F(ListBoxes, DriveListRefreshKeepsTheChosenDriveWhileItIsThere) {
    DriveListBox drives;
    drives.setDrive(root_);
    SignalCount changes(&drives, &DriveListBox::Change);
    drives.refresh();
    EXPECT_EQ(drives.drive(), root_);
    EXPECT_EQ(changes.count(), 0);

    source_->setDrives({Drives::Drive{"/", "", "", Drives::TypeFixed, true}});  // the stick was pulled
    drives.refresh();
    EXPECT_EQ(drives.listCount(), 1);
    EXPECT_EQ(drives.drive(), "/");
    EXPECT_EQ(changes.count(), 1);
}

}  // namespace
