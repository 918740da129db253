// The player on a full disk: its settings can't be saved, and it says so.

#include "ShellTestSupport.h"

#include "FullDisk.h"
#include "MessageBox.h"
#include "ModTools.h"
#include "SafeFile.h"
#include "SettingsStore.h"
#include "frmSet.h"
#include "frmVCD.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(SettingsOnAFullDisk, TheSettingsDialogTellsTheUserOnceAndTheOldFileStays)
{
    const QString program = ShellTest::freshWorld();
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    SettingsFolder onTheDisk(disk.path());
    ASSERT_TRUE(SaveAppSetting("CutDir", "/old/cuts"));
    const QString file = SettingsStore::fileName(AppCompany(), AppProduct());
    const QByteArray before = SafeFile::read(file);
    disk.fill();

    frmVCD vcd;
    frmSet& s = vcd.settings();
    s.Form_Load();
    s.show();
    s.Text7->setText("/new/cuts");
    s.Command2->click();  // "確定": some thirty keys saved in a row

    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_EQ(MessageBox::shownRequests().first().prompt, QStringLiteral("無法儲存設定:") + file);
    EXPECT_EQ(MessageBox::shownRequests().first().icon, MessageBox::Icon::Critical);
    EXPECT_EQ(SafeFile::read(file), before);

    // The window data the player saves as it closes: told too, and logged.
    QCoreApplication::processEvents();
    vcd.CloseForm();
    ASSERT_EQ(MessageBox::shownRequests().size(), 2);
    EXPECT_EQ(MessageBox::shownRequests().last().prompt, QStringLiteral("無法儲存設定:") + file);
    const QStringList log = ShellTest::logTexts(program);
    EXPECT_EQ(log.indexOf(QStringLiteral("無法儲存設定:") + file), log.indexOf(QStringLiteral("儲存個人參數")) + 1)
        << log.join(u'\n').toStdString();
    EXPECT_EQ(SafeFile::read(file), before);
}
