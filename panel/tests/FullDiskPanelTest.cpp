// The key-face cache on a full disk: a face that did not reach the disk is not reported
// saved nor left as an empty file.

#include "PanelTestSupport.h"

#include "FullDisk.h"

TEST(KeyFaceCacheOnAFullDisk, AFaceIsNotSavedEmpty)
{
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    disk.fill();
    QImage face(40, 22, QImage::Format_RGB32);
    face.fill(Qt::darkCyan);
    const QString cacheFile = disk.filePath(QStringLiteral("Quorvel-00.Bmp"));
    EXPECT_FALSE(SaveKeyFaceBitmap(face, cacheFile));
    EXPECT_EQ(disk.names(), QStringList{FullDisk::FillerName});

    disk.free();
    EXPECT_TRUE(SaveKeyFaceBitmap(face, cacheFile));
    EXPECT_EQ(LoadKeyFaceBitmap(cacheFile).size(), face.size());
}
