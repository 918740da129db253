// The generator as a whole: what it writes into a program folder and how it
// reports what it cannot write.

#include "AssetWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString readmeSource() { return QStringLiteral(ASSETS_README_SOURCE); }

TEST(ArtGenerator, WritesEveryListedFileIntoAFreshProgramFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(art::writeAllAssets(dir.path(), readmeSource()), QString());
    for (const QString &file : QStringLiteral(ASSETS_EXPECTED_FILES).split(QLatin1Char('|')))
        EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath(file))) << qPrintable(file);
}

TEST(ArtGenerator, DrawsTheSameFilesOnEveryRun)
{
    QTemporaryDir first, second;
    ASSERT_EQ(art::writeAllAssets(first.path(), readmeSource()), QString());
    ASSERT_EQ(art::writeAllAssets(second.path(), readmeSource()), QString());
    for (const QString &file : QStringLiteral(ASSETS_EXPECTED_FILES).split(QLatin1Char('|'))) {
        QFile a(QDir(first.path()).filePath(file)), b(QDir(second.path()).filePath(file));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << qPrintable(file);
        EXPECT_EQ(a.readAll(), b.readAll()) << qPrintable(file);
    }
}

TEST(ArtGenerator, ReportsAMissingReadmeSource)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("nowhere.txt"));
    const QString error = art::writeAllAssets(dir.path(), missing);
    EXPECT_TRUE(error.contains(missing)) << qPrintable(error);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("ReadMe.rtf"))));
}

TEST(ArtGenerator, ReportsAProgramFolderItCannotCreate)
{
    QTemporaryDir dir;
    const QString blocked = dir.filePath(QStringLiteral("file"));
    QFile plain(blocked);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString error = art::writeAllAssets(blocked, readmeSource());
    EXPECT_TRUE(error.startsWith(QStringLiteral("cannot create"))) << qPrintable(error);
}

} // namespace
