#include "KcdTestFiles.h"
#include "ListBoxes.h"
#include "MessageBox.h"
#include "frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QApplication& application()
{
    static int argc = 1;
    static char name[] = "kcdconvert_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

class frmMainTest : public ::testing::Test
{
protected:
    void SetUp() override { application(); }

    QString songFolder() const { return m_folder.filePath(QStringLiteral("歌詞")); }
    QString library() const { return m_folder.filePath(QStringLiteral("SongLib")); }

    void addAlbums(const QStringList& names)
    {
        QDir().mkpath(songFolder());
        for (const QString& name : names)
            KcdTestFiles::writeKcd(songFolder() + u'/' + name, KcdTestFiles::albumOfTwoSongs(QFileInfo(name).baseName()));
    }

    QStringList entries(const QListWidget* list) const
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(frmMainTest, StartsInTheSongFolderWithTheFirstFileListed)
{
    addAlbums({"a.KCD", "b.KCD", "c.kcd"});
    frmMain form(m_folder.path());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("KCD轉單曲歌詞 "));
    EXPECT_EQ(QFileInfo(form.Dir1->path()), QFileInfo(songFolder()));
    EXPECT_EQ(form.Label2->text(), QStringLiteral("3個檔"));
    EXPECT_EQ(form.File1->listIndex(), 0);
    EXPECT_TRUE(form.Command1->isEnabled());
    EXPECT_TRUE(form.Command2->isEnabled());
    EXPECT_EQ(form.Label1->text(), QStringLiteral("a"));
    EXPECT_EQ(entries(form.List1), (QStringList{QStringLiteral("01_情人的眼淚"), QStringLiteral("02_第二首")}));
}

TEST_F(frmMainTest, WithoutSongFolderStartsInTheProgramFolder)
{
    frmMain form(m_folder.path());
    EXPECT_EQ(QFileInfo(form.Dir1->path()), QFileInfo(m_folder.path()));
    EXPECT_EQ(form.Label2->text(), QStringLiteral("0個檔"));
    EXPECT_FALSE(form.Command1->isEnabled());
    EXPECT_FALSE(form.Command2->isEnabled());
}

TEST_F(frmMainTest, SingleFileCanBeConverted)
{
    addAlbums({"a.KCD"});
    frmMain form(m_folder.path());
    EXPECT_EQ(form.Label2->text(), QStringLiteral("1個檔"));
    ASSERT_TRUE(form.Command1->isEnabled());
    form.Command1->click();
    EXPECT_EQ(QDir(library() + QStringLiteral("/a")).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(form.List1->currentRow(), 1);
}

TEST_F(frmMainTest, ClickingASongShowsItsLines)
{
    addAlbums({"a.KCD"});
    frmMain form(m_folder.path());
    form.List1->setCurrentRow(0);
    EXPECT_EQ(entries(form.List2).value(3), QStringLiteral("00:18:0 ---End---"));
}

TEST_F(frmMainTest, BatchFromTheSecondFileConvertsTheRestAndRestoresTheWindow)
{
    addAlbums({"a.KCD", "b.KCD", "c.KCD"});
    frmMain form(m_folder.path());
    form.File1->setListIndex(1);
    bool hiddenDuringRun = false;
    bool buttonsOffDuringRun = false;
    form.converter().setLetEventsRun([&] {
        hiddenDuringRun = form.List2->isHidden();
        buttonsOffDuringRun = !form.Command1->isEnabled() && !form.Command2->isEnabled();
    });
    form.Command2->click();
    EXPECT_TRUE(hiddenDuringRun);
    EXPECT_TRUE(buttonsOffDuringRun);
    EXPECT_FALSE(QFileInfo::exists(library() + QStringLiteral("/a")));
    EXPECT_TRUE(QFileInfo::exists(library() + QStringLiteral("/b")));
    EXPECT_TRUE(QFileInfo::exists(library() + QStringLiteral("/c")));
    EXPECT_EQ(form.File1->listIndex(), 2);
    EXPECT_FALSE(form.List2->isHidden());
    EXPECT_TRUE(form.Command1->isEnabled());
    EXPECT_TRUE(form.Command2->isEnabled());
}

TEST_F(frmMainTest, StopButtonDuringTheFirstFileEndsTheRunAfterItAndListsItsFailures)
{
    QDir().mkpath(songFolder());
    for (const char* name : {"a.KCD", "b.KCD", "c.KCD"})
        KcdTestFiles::writeKcd(songFolder() + u'/' + name,
                               {QStringLiteral("10,甲＠專＠"), QStringLiteral("00:01:0 ,一＠"), QStringLiteral("11,乙")});
    frmMain form(m_folder.path());
    form.converter().setLetEventsRun([] { QCoreApplication::processEvents(); });
    QMetaObject::invokeMethod(form.Command3, &QPushButton::click, Qt::QueuedConnection);
    form.Command2->click();
    EXPECT_EQ(entries(form.List4), (QStringList{QStringLiteral("a.KCD 02_乙.txt")}));
    EXPECT_EQ(KcdTestFiles::readBytes(m_folder.filePath(QStringLiteral("Harlune.logo"))),
              QByteArray("a.KCD 02_") + Cp950::encode(QStringLiteral("乙")) + ".txt\r\n");
    EXPECT_EQ(form.File1->listIndex(), 0);
}

TEST_F(frmMainTest, EditButtonOpensTheSelectedFileOrSaysWhyNot)
{
    addAlbums({"a.KCD", "b.KCD"});
    frmMain form(m_folder.path());
    form.File1->setListIndex(1);
    QString opened;
    form.setEditorLauncher([&](const QString& path) {
        opened = path;
        return false;
    });
    MessageBox::setAnswerer([](const MessageBox::Request&) { return int(MessageBox::IdOk); });
    MessageBox::clearShownRequests();
    form.Command5->click();
    MessageBox::setAnswerer({});
    EXPECT_EQ(QFileInfo(opened), QFileInfo(songFolder() + QStringLiteral("/b.KCD")));
    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_TRUE(MessageBox::shownRequests().first().prompt.contains(QStringLiteral("b.KCD")));
}

// 開始轉換 starts a new failure list, as the log does; a log that cannot be made is told.
TEST_F(frmMainTest, ConvertButtonClearsTheFailureListAndTellsWhenTheLogCannotBeMade)
{
    QDir().mkpath(songFolder());
    KcdTestFiles::writeKcd(songFolder() + QStringLiteral("/a.KCD"),
                           {QStringLiteral("10,甲＠專＠"), QStringLiteral("00:01:0 ,一＠"), QStringLiteral("11,乙")});
    frmMain form(m_folder.path());
    form.Command1->click();
    form.Command1->click();
    EXPECT_EQ(entries(form.List4), (QStringList{QStringLiteral("a.KCD 02_乙.txt")}));

    QFile::remove(m_folder.filePath(QStringLiteral("Harlune.logo")));
    QDir().mkpath(m_folder.filePath(QStringLiteral("Harlune.logo")));
    MessageBox::setAnswerer([](const MessageBox::Request&) { return int(MessageBox::IdOk); });
    MessageBox::clearShownRequests();
    form.Command1->click();
    MessageBox::setAnswerer({});
    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_TRUE(MessageBox::shownRequests().first().prompt.contains(QStringLiteral("Harlune.logo")));
    EXPECT_EQ(entries(form.List4), (QStringList{QStringLiteral("a.KCD 02_乙.txt")}));
}

TEST_F(frmMainTest, ClosingDuringARunWaitsForItToEnd)
{
    addAlbums({"a.KCD", "b.KCD"});
    frmMain form(m_folder.path());
    form.show();
    bool closedDuringRun = false;
    form.converter().setLetEventsRun([&] {
        if (form.converter().state().KcdPath.endsWith(QStringLiteral("a.KCD")) && form.isVisible()) {
            form.Command4->click();
            closedDuringRun = !form.isVisible();
        }
    });
    form.Command2->click();
    EXPECT_FALSE(closedDuringRun);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(QFileInfo::exists(library() + QStringLiteral("/b")));
}

// The source edited after it was listed (as 編輯原始檔 lets the user do): a
// click on a song and 開始轉換 both go by the file as it is now.
TEST_F(frmMainTest, SongClickedAfterTheFileWasEditedShowsAndConvertsTheEditedFile)
{
    addAlbums({"a.KCD"});
    frmMain form(m_folder.path());
    ASSERT_EQ(entries(form.List1).size(), 2);
    QStringList edited = KcdTestFiles::albumOfTwoSongs(QStringLiteral("a"));
    edited.prepend(QStringLiteral("00:03:0 ,新的一句＠"));
    edited.prepend(QStringLiteral("10,新歌＠a＠"));
    edited[2] = QStringLiteral("12,情人的眼淚");
    KcdTestFiles::writeKcd(songFolder() + QStringLiteral("/a.KCD"), edited);
    form.List1->setCurrentRow(1);
    EXPECT_EQ(entries(form.List1),
              (QStringList{QStringLiteral("01_新歌"), QStringLiteral("02_情人的眼淚"), QStringLiteral("03_第二首")}));
    EXPECT_EQ(form.List1->currentRow(), 1);
    EXPECT_EQ(entries(form.List2).value(0), QStringLiteral("00:00:0 02_情人的眼淚"));
    form.Command1->click();
    EXPECT_TRUE(QFileInfo::exists(library() + QStringLiteral("/a/03_第二首.txt")));
    EXPECT_FALSE(QFileInfo::exists(library() + QStringLiteral("/a/01_情人的眼淚.txt")));
}
