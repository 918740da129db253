// The main window's check-box play list after a folder search: line k is play entry k, so a
// line unticked by the user disables the number key and entry of the very folder it shows.

#include "ShellTestSupport.h"

#include "Clock.h"
#include "Drives.h"
#include "MediaBackend.h"
#include "PanelForm.h"
#include "PanelMouse.h"
#include "frmVCD.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PlayListOrder, UntickingTheLineOfAFolderDisablesThatFoldersKey)
{
    const QString program = ShellTest::freshWorld();
    ShellTest::addPanel(program);
    setMediaBackend(MediaBackend::Simulated);
    VirtualClock clock;
    setMediaClock(&clock);

    // Found level by level (丙, 甲, 乙/甲, 乙/子/丁), played in name order (丙, 乙/子/丁, 乙/甲, 甲).
    QTemporaryDir tree;
    const QStringList songFolders{"丙", "乙/甲", "乙/子/丁", "甲"};
    for (const QString& folder : songFolders) {
        ASSERT_TRUE(QDir().mkpath(tree.filePath(folder)));
        QFile song(tree.filePath(folder + "/歌.mp3"));
        ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    }
    Drives::SetSource(std::make_shared<Drives::FixedSource>(
        QList<Drives::Drive>{{"/", "/dev/sda1", "", Drives::TypeFixed, true}}));

    frmVCD vcd;
    ASSERT_TRUE(vcd.Start());
    vcd.shellState().SongPattern = "*.MP3";
    vcd.playback().CdDrive = tree.path();
    vcd.playback().DriveKind = 3;
    vcd.CheckCdrom(true);
    ASSERT_EQ(vcd.playback().MediaKind, "MP3");
    ASSERT_EQ(vcd.PlayList->count(), songFolders.size());

    // The list on the screen (a right click on the panel), each line showing its entry.
    vcd.mouse().Form_MouseDown(PanelMouse::Right, 0, 1, 1);
    ASSERT_TRUE(vcd.PlayList->isVisible());
    for (int k = 0; k < vcd.PlayList->count(); ++k)
        EXPECT_EQ(vcd.PlayList->item(k)->text(), vcd.playback().PlayArray.at(k).toString()) << k;

    // The user unticks the line showing 乙/子/丁: the key showing its number goes dark.
    const QString folder = tree.filePath("乙/子/丁");
    const QList<QListWidgetItem*> lines = vcd.PlayList->findItems(folder, Qt::MatchExactly);
    ASSERT_EQ(lines.size(), 1);
    lines.first()->setCheckState(Qt::Unchecked);
    const int entry = vcd.playback().PlayArray.indexOf(folder);
    ASSERT_GE(entry, 0);
    const PanelObjects& obj = vcd.panel().obj();
    for (int i = 0; i < songFolders.size(); ++i)
        EXPECT_EQ(obj.LabNum[i]->isEnabled(), i != entry) << "key " << i + 1;

    vcd.CloseForm();
    setMediaClock(nullptr);
}
