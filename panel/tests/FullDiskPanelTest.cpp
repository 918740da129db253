// The panel engine's writers on a full disk: the panel definition keeps its entries, and a
// key face that did not reach the disk is not reported saved nor left as an empty file.

#include "ModButtonIni.h"
#include "PanelTestSupport.h"

#include "FullDisk.h"
#include "ModIniFile.h"
#include "SafeFile.h"

namespace {

class PanelOnAFullDisk : public PanelTest
{
protected:
    FullDisk disk;
};

}  // namespace

TEST_F(PanelOnAFullDisk, TheDefinitionStaysAsItWasAndTheSaveSaysSo)
{
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    IniFile = disk.filePath(QStringLiteral("Quorvel.INI"));
    ASSERT_TRUE(SaveButtonIni(*form));
    const QByteArray before = SafeFile::read(IniFile);
    disk.fill();

    form->obj().PicCtl[0]->move(form->obj().PicCtl[0]->pos() + QPoint(7, 7));
    EXPECT_FALSE(SaveButtonIni(*form));
    EXPECT_EQ(SafeFile::read(IniFile), before);
}

TEST_F(PanelOnAFullDisk, AKeyFaceIsNotSavedEmpty)
{
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    disk.fill();
    QImage face(40, 22, QImage::Format_RGB32);
    face.fill(Qt::darkCyan);
    EXPECT_FALSE(SaveKeyFaceBitmap(face, disk.filePath(QStringLiteral("Quorvel-00.Bmp"))));
    EXPECT_EQ(disk.names(), QStringList{FullDisk::FillerName});

    disk.free();
    EXPECT_TRUE(SaveKeyFaceBitmap(face, disk.filePath(QStringLiteral("Quorvel-00.Bmp"))));
    EXPECT_EQ(LoadKeyFaceBitmap(disk.filePath(QStringLiteral("Quorvel-00.Bmp"))).size(), face.size());
}
