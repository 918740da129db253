#include "Cp950.h"
#include "ProfileFile.h"
#include "SafeFile.h"
#include "SystemPaths.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    QString path(const QString& name = QStringLiteral("test.ini")) const { return dir_.filePath(name); }
    void writeBytes(const QByteArray& bytes) { ASSERT_TRUE(SafeFile::write(path(), bytes)); }
    QByteArray bytes() const { return SafeFile::read(path()); }

    QTemporaryDir dir_;
};

}  // namespace

TEST_F(ProfileFileTest, FindsSectionsAndKeysWithoutRegardToCaseAndTrimsValues) {
    writeBytes("; comment\r\n[Main]\r\n  Width =  320  \r\nname=\"  quoted  \"\r\n[Other]\r\nWidth=7\r\n");
    EXPECT_EQ(ProfileFile::getString(path(), "main", "WIDTH"), QStringLiteral("320"));
    EXPECT_EQ(ProfileFile::getString(path(), " MAIN ", "width"), QStringLiteral("320"));
    EXPECT_EQ(ProfileFile::getString(path(), "Main", "name"), QStringLiteral("  quoted  "));
    EXPECT_EQ(ProfileFile::getString(path(), "Other", "Width"), QStringLiteral("7"));
    EXPECT_EQ(ProfileFile::getString(path(), "Other", "Missing", "dflt"), QStringLiteral("dflt"));
    EXPECT_EQ(ProfileFile::getString(path(), "Nowhere", "Width", "dflt"), QStringLiteral("dflt"));
    EXPECT_EQ(ProfileFile::getString(path("missing.ini"), "Main", "Width", "dflt"), QStringLiteral("dflt"));
}

// Reading trims blanks and one pair of enclosing quotes: what is written must come back whole.
TEST_F(ProfileFileTest, WrittenValuesKeepTheirBlanksAndQuotes) {
    const QStringList values{"  x", "x  ", " both ", "\"q\"", "'q'", "\"  \"", "a \"b\" c", "plain"};
    for (int i = 0; i < values.size(); ++i)
        ASSERT_TRUE(ProfileFile::writeString(path(), "Main", QString("k%1").arg(i), values[i]));
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(ProfileFile::getString(path(), "Main", QString("k%1").arg(i)), values[i]) << i;
    // A value that needs no quotes is written as it stands, for other readers of the file.
    EXPECT_TRUE(bytes().contains("k7=plain\r\n"));
    EXPECT_TRUE(bytes().contains("k0=\"  x\"\r\n"));
}

// In code page 950 "設" is B3 5D and "功" A5 5C: parsing bytes would end the section name early.
TEST_F(ProfileFileTest, ParsesDoubleByteNamesWhoseSecondByteIsABracket) {
    writeBytes(Cp950::encode(QStringLiteral("[設定]\r\n功能=開始\r\n")));
    EXPECT_EQ(ProfileFile::getString(path(), QStringLiteral("設定"), QStringLiteral("功能")), QStringLiteral("開始"));
    EXPECT_EQ(ProfileFile::sections(path()), QStringList{QStringLiteral("設定")});
}

TEST_F(ProfileFileTest, CutsLongValuesOnWholeCharactersWithinTheBuffer) {
    const QString longAscii(1500, u'x');
    ASSERT_TRUE(ProfileFile::writeString(path(), "S", "K", longAscii));
    EXPECT_EQ(ProfileFile::getString(path(), "S", "K").size(), 1023);

    // 'a' then 600 double-byte characters: 1023 bytes hold 'a' and 511 of them.
    const QString mixed = u'a' + QString(600, QChar(0x8A2D));
    ASSERT_TRUE(ProfileFile::writeString(path(), "S", "K", mixed));
    const QString cut = ProfileFile::getString(path(), "S", "K");
    EXPECT_EQ(cut.size(), 1 + 511);
    EXPECT_EQ(Cp950::byteLength(cut), 1023);
}

TEST_F(ProfileFileTest, WritingCreatesFileAndSectionAndKeepsOtherLines) {
    ASSERT_TRUE(ProfileFile::writeString(path(), "First", "a", "1"));
    ASSERT_TRUE(ProfileFile::writeString(path(), "Second", "b", "2"));
    ASSERT_TRUE(ProfileFile::writeString(path(), "first", "c", "3"));
    ASSERT_TRUE(ProfileFile::writeString(path(), "FIRST", "A", "4"));
    EXPECT_EQ(bytes(), QByteArray("[First]\r\na=4\r\nc=3\r\n[Second]\r\nb=2\r\n"));
}

TEST_F(ProfileFileTest, NewKeysGoBeforeTheBlankLinesThatSeparateSections) {
    writeBytes("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(ProfileFile::writeString(path(), "A", "z", "3"));
    EXPECT_EQ(bytes(), QByteArray("[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"));
}

TEST_F(ProfileFileTest, WritesCp950WithCrLfAndKeepsAUtf8FileUtf8) {
    ASSERT_TRUE(ProfileFile::writeString(path(), QStringLiteral("編輯"), QStringLiteral("字型"), QStringLiteral("細明體")));
    EXPECT_EQ(bytes(), Cp950::encode(QStringLiteral("[編輯]\r\n字型=細明體\r\n")));

    writeBytes("\xEF\xBB\xBF[A]\nx=1\n");
    ASSERT_TRUE(ProfileFile::writeString(path(), "A", "y", QStringLiteral("設")));
    EXPECT_EQ(bytes(), QByteArray("\xEF\xBB\xBF[A]\r\nx=1\r\ny=") + QStringLiteral("設").toUtf8() + "\r\n");
}

TEST_F(ProfileFileTest, ALineBreakInAValueCannotStartAnotherEntry) {
    ASSERT_TRUE(ProfileFile::writeString(path(), "S", "K", "one\r\nEvil=two"));
    EXPECT_EQ(ProfileFile::getString(path(), "S", "K"), QStringLiteral("one  Evil=two"));
    EXPECT_EQ(ProfileFile::keys(path(), "S"), QStringList{"K"});
}

TEST_F(ProfileFileTest, SeesChangesMadeByOthersBetweenReads) {
    ASSERT_TRUE(ProfileFile::writeString(path(), "S", "K", "first"));
    EXPECT_EQ(ProfileFile::getString(path(), "S", "K"), QStringLiteral("first"));
    writeBytes("[S]\r\nK=second\r\n");
    EXPECT_EQ(ProfileFile::getString(path(), "S", "K"), QStringLiteral("second"));
    QFile::remove(path());
    EXPECT_EQ(ProfileFile::getString(path(), "S", "K"), QString());
}

namespace {
ino_t inodeOf(const QString& file) {
    struct stat info {};
    return ::stat(QFile::encodeName(file).constData(), &info) == 0 ? info.st_ino : 0;
}
}  // namespace

// The programs write the same entries at every start: a file that already holds them is not
// replaced (no flush to disk, no rename), one whose bytes change is.
TEST_F(ProfileFileTest, RewritingTheSameEntryLeavesTheFileInPlace) {
    ASSERT_TRUE(ProfileFile::writeString(path(), "mci", "MPEGVideo", "mciqtz.drv"));
    const ino_t first = inodeOf(path());
    ASSERT_NE(first, ino_t(0));
    EXPECT_TRUE(ProfileFile::writeString(path(), "mci", "MPEGVideo", "mciqtz.drv"));
    EXPECT_EQ(inodeOf(path()), first);
    EXPECT_TRUE(SafeFile::write(path(), bytes()));
    EXPECT_EQ(inodeOf(path()), first);

    EXPECT_TRUE(ProfileFile::writeString(path(), "mci", "MPEGVideo", "mciqtz.dll"));
    EXPECT_NE(inodeOf(path()), first);
    EXPECT_EQ(ProfileFile::getString(path(), "mci", "MPEGVideo"), QStringLiteral("mciqtz.dll"));
    // Same size, other bytes: replaced too.
    writeBytes("[mci]\r\nMPEGVideo=mciqtz.dlx\r\n");
    EXPECT_EQ(ProfileFile::getString(path(), "mci", "MPEGVideo"), QStringLiteral("mciqtz.dlx"));
}

TEST_F(ProfileFileTest, FailedWritesReportFalseAndChangeNothing) {
    EXPECT_FALSE(ProfileFile::writeString(path("no/folder/x.ini"), "S", "K", "v"));
    EXPECT_FALSE(QFile::exists(path("no/folder/x.ini")));
    EXPECT_FALSE(ProfileFile::writeString(QString(), "S", "K", "v"));
    EXPECT_FALSE(ProfileFile::writeString(path(), "", "K", "v"));
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(ProfileFileTest, DeletesKeysAndSectionsAndListsThem) {
    writeBytes("[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
    EXPECT_EQ(ProfileFile::keys(path(), "a"), (QStringList{"x", "y"}));
    ASSERT_TRUE(ProfileFile::deleteKey(path(), "A", "X"));
    ASSERT_TRUE(ProfileFile::deleteSection(path(), "b"));
    EXPECT_EQ(bytes(), QByteArray("[A]\r\ny=2\r\n"));
}

TEST_F(ProfileFileTest, ABareFileNameLivesInTheWindowsFolder) {
    ASSERT_TRUE(ProfileFile::writeString(QStringLiteral("WIN.INI"), "mci", "x", "1"));
    EXPECT_TRUE(QFile::exists(SystemPaths::WindowsFolder() + QStringLiteral("/WIN.INI")));
    EXPECT_EQ(ProfileFile::getString(QStringLiteral("WIN.INI"), "MCI", "X"), QStringLiteral("1"));
}

TEST_F(ProfileFileTest, OnlyAMatchingPairOfQuotesIsRemoved) {
    writeBytes("[S]\r\na='single'\r\nb=\"open\r\nc=\"mixed'\r\nd=\"\"\"\r\ne=x\"y\"\r\n");
    EXPECT_EQ(ProfileFile::getString(path(), "S", "a"), QStringLiteral("single"));
    EXPECT_EQ(ProfileFile::getString(path(), "S", "b"), QStringLiteral("\"open"));
    EXPECT_EQ(ProfileFile::getString(path(), "S", "c"), QStringLiteral("\"mixed'"));
    EXPECT_EQ(ProfileFile::getString(path(), "S", "d"), QStringLiteral("\""));
    EXPECT_EQ(ProfileFile::getString(path(), "S", "e"), QStringLiteral("x\"y\""));
}

TEST_F(ProfileFileTest, ReadersOnSeveralThreadsSeeTheSameValues) {
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(ProfileFile::writeString(path(), "S", QStringLiteral("K%1").arg(i), QString::number(i * i)));
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t)
        readers.emplace_back([&] {
            for (int round = 0; round < 100; ++round)
                for (int i = 0; i < 20; ++i)
                    if (ProfileFile::getString(path(), "S", QStringLiteral("K%1").arg(i)) != QString::number(i * i))
                        ++wrong;
        });
    for (std::thread& r : readers) r.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST_F(ProfileFileTest, WritingIntoADamagedFileKeepsItsOtherBytes) {
    const QByteArray damaged("[A]\r\nbroken=x\x81\x5Dy\xFF\r\n", 19);
    writeBytes(damaged);
    ASSERT_TRUE(ProfileFile::writeString(path(), "A", "new", "1"));
    EXPECT_EQ(bytes(), damaged + "new=1\r\n");
}

// Many keys written at once, and the entries of a section read in one pass, come out as the
// one-key calls give them: existing keys (any case, the first of a repeat) changed in place,
// new ones after the section's last entry, a key given twice written once.
TEST_F(ProfileFileTest, SettingManyKeysAtOnceMatchesSettingThemOneByOne) {
    const QByteArray start = "[A]\r\nx=1\r\n\r\n[Disc]\r\nTITLE=old\r\n2=b\r\n2=again\r\n\r\n[Z]\r\ny=2\r\n";
    const QList<std::pair<QString, QString>> values{
        {"Title", "new"}, {"DirNumbers", "3"}, {"1", "/a"}, {"2", "/b"}, {"3", "/c\r\nx=9"}, {"1", "/a2"}};
    for (const QString& section : {QStringLiteral("disc"), QStringLiteral("New")}) {
        writeBytes(start);
        ProfileDocument one;
        ASSERT_TRUE(one.load(path()));
        for (const auto& [key, value] : values) one.setValue(section, key, value);
        ProfileDocument many;
        ASSERT_TRUE(many.load(path()));
        many.setValues(section, values);
        ASSERT_TRUE(one.save(path("one.ini")));
        ASSERT_TRUE(many.save(path("many.ini")));
        EXPECT_EQ(SafeFile::read(path("many.ini")), SafeFile::read(path("one.ini"))) << section.toStdString();
    }
    ProfileDocument doc;
    ASSERT_TRUE(doc.load(path("many.ini")));
    const QList<std::pair<QString, QString>> entries = doc.entries("NEW");
    ASSERT_EQ(entries.size(), 5);
    EXPECT_EQ(entries[0], (std::pair<QString, QString>{"Title", "new"}));
    EXPECT_EQ(entries[2], (std::pair<QString, QString>{"1", "/a2"}));
    EXPECT_EQ(entries[4], (std::pair<QString, QString>{"3", "/c  x=9"}));
}
