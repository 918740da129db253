// The player's folder search as a user runs it: a real Tavrin on a virtual X display, its
// context menu opened on the panel's title with the right button and walked with the keys,
// the folder picker confirmed; then its log tells how many song folders the search found.

#include "Cp950.h"
#include "LibraryTestSupport.h"
#include "ProfileFile.h"

#include "XDisplaySession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// X key symbols.
constexpr unsigned long Down = 0xff54, Right = 0xff53, Return = 0xff0d, Escape = 0xff1b;

QString outputFile(const QString& name)
{
    const QString folder = QStringLiteral(LIBRARY_TEST_OUTPUT);
    QDir().mkpath(folder);
    return folder + u'/' + name;
}

bool copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files))
        if (!QFile::copy(source.filePath(name), to + u'/' + name)) return false;
    return true;
}

// Three levels of Chinese-named folders, 10 x 6 x 5 of them; about half hold songs (and a
// lyric file), the rest only other files. Returns the number of song folders.
int makeSongTree(const QString& root)
{
    const QStringList names{"流行", "經典", "情歌", "搖滾", "民謠", "爵士", "台語", "粵語", "兒歌", "合唱"};
    int songFolders = 0;
    QStringList level{root};
    for (int depth = 0; depth < 3; ++depth) {
        QStringList next;
        const int width = depth == 0 ? 10 : depth == 1 ? 6 : 5;
        for (const QString& parent : level)
            for (int i = 0; i < width; ++i) {
                const QString folder = parent + u'/' + names[(i + depth) % names.size()] + QString::number(i);
                if ((i + depth) % 2 == 0) {
                    makeFile(folder + "/第一首.mp3");
                    makeFile(folder + "/第一首.txt");
                    ++songFolders;
                } else {
                    makeFile(folder + "/封面.jpg");
                }
                next << folder;
            }
        level = next;
    }
    return songFolders;
}

class FolderSearchEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString bin = QCoreApplication::applicationDirPath();
        if (!QFile::exists(programBesideTests("Tavrin")) || !QDir(bin + "/Skin").exists())
            GTEST_SKIP() << "Tavrin and its panels are not built beside the tests";
        if (QStandardPaths::findExecutable("xwininfo").isEmpty()) GTEST_SKIP() << "xwininfo is not installed";
        const QString unavailable = m_screen.start({720, 900}, QSize(1024, 768));
        if (!unavailable.isEmpty()) GTEST_SKIP() << unavailable.toStdString();

        m_program = m_root.filePath("program");
        for (const char* folder : {"Skin", "Button Mask", "Desk"})
            ASSERT_TRUE(copyFolder(bin + u'/' + folder, m_program + u'/' + folder));
        for (const char* folder : {"home", "config/Pelloran", "data", "runtime"}) QDir().mkpath(m_root.filePath(folder));
        QFile::setPermissions(m_root.filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile settings(m_root.filePath("config/Pelloran/Quorvel V1.1.conf"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nReadMe=1\n");  // the readme was confirmed before
    }

    void TearDown() override
    {
        if (m_player.state() != QProcess::NotRunning) {
            m_player.kill();
            m_player.waitForFinished(EventWaitMs);
        }
        m_screen.stop();
    }

    // Starts the player in Folder: a new folder picker opens where the program runs.
    void startPlayer(const QString& folder)
    {
        QProcessEnvironment env = m_screen.programEnvironment();
        env.insert("HOME", m_root.filePath("home"));
        env.insert("XDG_CONFIG_HOME", m_root.filePath("config"));
        env.insert("XDG_DATA_HOME", m_root.filePath("data"));
        env.insert("XDG_RUNTIME_DIR", m_root.filePath("runtime"));
        env.insert("PELLORAN_PROGRAM_DIR", m_program);
        env.insert("PELLORAN_MEDIA", "sim");
        env.insert("PELLORAN_MSGBOX_ANSWER", "7");  // a question nobody expected is answered No
        m_player.setProcessEnvironment(env);
        m_player.setWorkingDirectory(folder);
        m_player.setProcessChannelMode(QProcess::MergedChannels);
        m_player.start(programBesideTests("Tavrin"), {});
        ASSERT_TRUE(m_player.waitForStarted(EventWaitMs));
    }

    QStringList log() const
    {
        return Cp950::readTextFile(m_program + "/Quorvel.log").split("\r\n", Qt::SkipEmptyParts);
    }

    // The place of the top-level window with this title on the screen; null when none.
    QRect windowNamed(const QString& title) const
    {
        QProcess info;
        info.setProcessEnvironment(m_screen.programEnvironment());
        info.start("xwininfo", {"-root", "-tree"});
        info.waitForFinished(EventWaitMs);
        static const QRegularExpression geometry(QStringLiteral("(\\d+)x(\\d+)\\+(-?\\d+)\\+(-?\\d+)\\s+\\+(-?\\d+)\\+(-?\\d+)"));
        for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split(u'\n')) {
            if (!line.contains(u'"' + title + u'"')) continue;
            const QRegularExpressionMatch m = geometry.match(line);
            if (m.hasMatch())
                return QRect(m.captured(5).toInt(), m.captured(6).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
        }
        return {};
    }

    QTemporaryDir m_root;
    QString m_program;
    XDisplaySession m_screen;
    QProcess m_player;
};

}  // namespace

TEST_F(FolderSearchEndToEnd, SearchOfAWideChineseTreeFindsEverySongFolder)
{
    QTemporaryDir tree;
    const int songFolders = makeSongTree(tree.path());
    ASSERT_EQ(songFolders, 5 + 10 * 3 + 60 * 3);
    startPlayer(tree.path());
    waitUntil([&] { return log().join(u'\n').contains("進入主程式"); }, EventWaitMs);
    ASSERT_TRUE(log().join(u'\n').contains("進入主程式")) << m_player.readAll().toStdString();

    XInput input(m_screen.display().toLocal8Bit());
    ASSERT_TRUE(input.usable()) << "the X test extension could not be loaded";
    QRect panel;
    waitUntil([&] { return !(panel = windowNamed("Quorvel")).isNull(); }, EventWaitMs);
    ASSERT_FALSE(panel.isNull());

    // The right button on the panel's title opens the menu: 播放選單 > 搜尋目錄.
    const QString skin = m_program + "/Skin/Quorvel.INI";
    const QPoint title(ProfileFile::getString(skin, "LOGO", "X0").toInt() + 20,
                       ProfileFile::getString(skin, "LOGO", "Y0").toInt() + 8);
    // A busy machine may be slow to open the menu: keys typed before it shows are lost, so
    // the menu is closed and opened again.
    QRect picker;
    for (int attempt = 0; attempt < 3 && picker.isNull(); ++attempt) {
        for (int i = 0; attempt > 0 && i < 3; ++i) input.type(Escape);
        input.click(panel.x() + title.x(), panel.y() + title.y(), 3);
        QThread::msleep(500 + 1000 * attempt);
        for (unsigned long key : {Down, Right, Down, Return}) input.type(key);
        // The picker opens on the player's folder, the tree; its default button takes it.
        waitUntil([&] { return !(picker = windowNamed("指定目錄")).isNull(); }, EventWaitMs);
    }
    ASSERT_FALSE(picker.isNull()) << "the folder picker did not open";
    const auto searching = [&] { return log().join(u'\n').contains("開始搜尋音樂檔"); };
    for (int attempt = 0; attempt < 3 && !searching(); ++attempt) {
        input.click(picker.center().x(), picker.bottom() - 8);  // beside the buttons: the picker takes the keys
        input.type(Return);
        waitUntil(searching, EventWaitMs);
    }

    static const QRegularExpression found(QStringLiteral("找到 (\\d+)目錄下有音樂檔"));
    QRegularExpressionMatch match;
    waitUntil([&] { return (match = found.match(log().join(u'\n'))).hasMatch() || m_player.state() != QProcess::Running; },
              30000);
    m_screen.screenshot(outputFile("folder-search.png"));
    ASSERT_TRUE(match.hasMatch()) << "no search result in the log; see folder-search.png\n"
                                  << log().join(u'\n').toStdString();
    EXPECT_EQ(match.captured(1).toInt(), songFolders);
    EXPECT_EQ(m_player.state(), QProcess::Running) << "the player ended during the search";
    // Every song folder was logged with its count, each once.
    int logged = 0;
    for (const QString& line : log()) logged += line.contains(" [1] ") ? 1 : 0;
    EXPECT_EQ(logged, songFolders);
}
