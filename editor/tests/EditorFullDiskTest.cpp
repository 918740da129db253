// The editor saving a panel definition onto a full disk: the file there stays whole, no
// temporary file is left, and the user is told.
#include "EditorTestSupport.h"

#include "EditorDialogs.h"
#include "frmMain.h"

#include "FullDisk.h"
#include "MessageBox.h"
#include "SafeFile.h"

#include <memory>

TEST_F(EditorTest, SavingOntoAFullDiskKeepsTheDefinitionThereAndSaysSo)
{
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    MessageBox::setAnswerer([](const MessageBox::Request &) { return MessageBox::IdOk; });
    MessageBox::clearShownRequests();
    const QString target = disk.filePath(QStringLiteral("Mine.INI"));
    ASSERT_TRUE(SafeFile::write(target, "[Form]\r\nWidth=100\r\n"));
    disk.fill();

    auto main = std::make_unique<frmMain>(state);
    main->show();
    ASSERT_TRUE(main->OpenFile(skinFile(QStringLiteral("Quorvel.JPG"))));
    EditorDialogs::setFileAnswerer([target](const EditorDialogs::FileRequest &) { return target; });
    main->mnuFileSaveAs_Click();

    EXPECT_EQ(SafeFile::read(target), QByteArray("[Form]\r\nWidth=100\r\n"));
    EXPECT_EQ(disk.names(), QStringList({QStringLiteral("Mine.INI"), FullDisk::FillerName}));
    ASSERT_EQ(MessageBox::shownRequests().size(), 1);
    EXPECT_EQ(MessageBox::shownRequests().first().prompt, QStringLiteral("無法儲存按鈕設定檔:") + target);

    main.reset();
    EditorDialogs::setFileAnswerer({});
    MessageBox::setAnswerer({});
}
