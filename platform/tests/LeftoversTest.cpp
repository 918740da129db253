#include "Leftovers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/time.h>

namespace {

// A file (or folder) last written an hour ago, as one a killed run left.
void ageByAnHour(const QString& path)
{
    const qint64 then = QDateTime::currentSecsSinceEpoch() - 3600;
    const timeval times[2] = {{time_t(then), 0}, {time_t(then), 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(path).constData(), times), 0) << path.toStdString();
}

void makeFile(const QString& path, bool old)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    if (old) ageByAnHour(path);
}

QStringList namesIn(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

}  // namespace

// The log's copies that killed starts left go; a user's copy and a save under way stay.
TEST(Leftovers, TheLogsCopiesLeftByKilledSavesGo)
{
    QTemporaryDir dir;
    makeFile(dir.filePath("Quorvel.log"), true);
    makeFile(dir.filePath("Quorvel.log.Ab12Cd"), true);   // left by a killed run
    makeFile(dir.filePath("Quorvel.log.XVbyCI"), true);
    makeFile(dir.filePath("Quorvel.log.backup"), true);   // the user's
    makeFile(dir.filePath("Quorvel.log.Zq9XYw"), false);  // a save under way
    makeFile(dir.filePath("Other.log.Ab12Cd"), true);     // not this file's
    Leftovers::removeSaveCopies(dir.filePath("Quorvel.log"));
    EXPECT_EQ(namesIn(dir.path()),
              (QStringList{"Other.log.Ab12Cd", "Quorvel.log", "Quorvel.log.Zq9XYw", "Quorvel.log.backup"}));
}

// The panel editor's unfinished saves in the panel folder go; the panels and other files stay.
TEST(Leftovers, UnfinishedPanelSavesGo)
{
    QTemporaryDir dir;
    for (const char* name : {"Button.INI", "Button.INI.saving", "Mine.ini.saving", "notes.saving"})
        makeFile(dir.filePath(name), true);
    makeFile(dir.filePath("Busy.INI.saving"), false);  // being saved right now
    Leftovers::removeUnfinishedPanelSaves(dir.path());
    EXPECT_EQ(namesIn(dir.path()), (QStringList{"Busy.INI.saving", "Button.INI", "notes.saving"}));
}

// Alias folders of ended runs go (their links, never the disc images they point to); a living
// run's folder, one being made and folders not of ours stay.
TEST(Leftovers, CueAliasFoldersOfEndedRunsGo)
{
    QTemporaryDir temp;
    const QByteArray before = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    ASSERT_EQ(QDir::tempPath(), temp.path());
    makeFile(temp.filePath("disc.bin"), true);

    // A run that ended: its lock names a process that is gone.
    QProcess ended;
    ended.start("sleep", {"60"});
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 endedId = ended.processId();
    ended.kill();
    ASSERT_TRUE(ended.waitForFinished());
    const QString dead = temp.filePath("pelloran-cue-Dead01");
    QDir().mkpath(dead);
    ASSERT_TRUE(QFile::link(temp.filePath("disc.bin"), dead + "/0.bin"));
    QFile lockFile(dead + "/" + Leftovers::cueAliasFolderLockName());
    ASSERT_TRUE(lockFile.open(QIODevice::WriteOnly));
    lockFile.write(QByteArray::number(endedId) + "\nsleep\n\n");
    lockFile.close();
    // A run killed before it took its lock, long ago.
    const QString unlocked = temp.filePath("pelloran-cue-Old123");
    QDir().mkpath(unlocked);
    ageByAnHour(unlocked);
    // A living run's folder, one being made this moment, and others' folders.
    const QString living = temp.filePath("pelloran-cue-Live01");
    QDir().mkpath(living);
    QLockFile held(living + "/" + Leftovers::cueAliasFolderLockName());
    ASSERT_TRUE(held.tryLock(0));
    QDir().mkpath(temp.filePath("pelloran-cue-New123"));
    QDir().mkpath(temp.filePath("pelloran-other"));
    QDir().mkpath(temp.filePath("pelloran-cue-mine"));  // not six letters: not a folder of ours

    Leftovers::removeCueAliasFolders();
    EXPECT_EQ(namesIn(temp.path()), (QStringList{"disc.bin", "pelloran-cue-Live01", "pelloran-cue-New123",
                                                 "pelloran-cue-mine", "pelloran-other"}));
    EXPECT_TRUE(QFile::exists(temp.filePath("disc.bin")));
    qputenv("TMPDIR", before);
}
