#include "Cp950.h"
#include "ModIniFile.h"
#include "SafeFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class ModIniFileTest : public ::testing::Test {
protected:
    void SetUp() override { file_ = dir_.filePath("panel.ini"); }
    void writeFile(const QString& text) { ASSERT_TRUE(SafeFile::write(file_, Cp950::encode(text))); }

    QTemporaryDir dir_;
    QString file_;
};
}  // namespace

TEST_F(ModIniFileTest, BlanksOnlyAndEmptyValuesReadAsMissingOnes) {
    writeFile("[S]\r\nBlanks=     \r\nEmpty=\r\nQuotedBlanks=\"   \"\r\n");
    EXPECT_EQ(GetIniString(file_, "S", "Blanks"), QString());
    EXPECT_EQ(GetIniString(file_, "S", "Empty"), QString());
    EXPECT_EQ(GetIniString(file_, "S", "QuotedBlanks"), QString());
    EXPECT_EQ(GetIniString(file_, "S", "Missing"), QString());
    EXPECT_EQ(GetIniString(file_, "None", "Empty"), QString());
    EXPECT_EQ(GetIniString(dir_.filePath("none.ini"), "S", "Empty"), QString());
}

TEST_F(ModIniFileTest, LeadingBlanksThatReachTheValueStayTrailingOnesGo) {
    writeFile("[S]\r\nLead=\"  abc\"\r\nTrail=\"abc   \"\r\nPlain=   abc   \r\n");
    EXPECT_EQ(GetIniString(file_, "S", "Lead"), QStringLiteral("  abc"));
    EXPECT_EQ(GetIniString(file_, "S", "Trail"), QStringLiteral("abc"));
    EXPECT_EQ(GetIniString(file_, "S", "Plain"), QStringLiteral("abc"));
}

TEST_F(ModIniFileTest, LongValuesComeBackAsTheirFirst1023Bytes) {
    const QString ascii(1500, u'a');
    EXPECT_NE(WriteIniString(file_, "S", "K", ascii), 0);
    EXPECT_EQ(GetIniString(file_, "S", "K"), ascii.left(1023));

    // 1022 bytes of 'a' and then a double-byte character: it does not fit and is dropped whole.
    const QString mixed = QString(1022, u'a') + QStringLiteral("設定");
    WriteIniString(file_, "S", "K", mixed);
    EXPECT_EQ(GetIniString(file_, "S", "K"), QString(1022, u'a'));
}

TEST_F(ModIniFileTest, CutNullKeepsThePartBeforeTheFirstNul) {
    EXPECT_EQ(CutNull(QStringLiteral("abc") + QChar(0) + QStringLiteral("def")), QStringLiteral("abc"));
    EXPECT_EQ(CutNull(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(CutNull(QString(QChar(0))), QString());
}

TEST_F(ModIniFileTest, ReadIniAndWriteIniWorkOnTheFileIniFileNamesAtTheTime) {
    const QString other = dir_.filePath("other.ini");
    IniFile = file_;
    WriteIni(QStringLiteral("編輯"), "Zoom", 1.5);
    WriteIni(QStringLiteral("編輯"), "Italic", true);
    WriteIni(QStringLiteral("編輯"), 3, 42);
    IniFile = other;
    WriteIni(QStringLiteral("編輯"), "Zoom", "2");
    EXPECT_EQ(ReadIni(QStringLiteral("編輯"), "Zoom"), QStringLiteral("2"));
    IniFile = file_;
    EXPECT_EQ(ReadIni(QStringLiteral("編輯"), "zoom"), QStringLiteral("1.5"));
    EXPECT_EQ(ReadIni(QStringLiteral("編輯"), "Italic"), QStringLiteral("True"));
    EXPECT_EQ(ReadIni(QStringLiteral("編輯"), 3), QStringLiteral("42"));
    EXPECT_EQ(SafeFile::read(other), Cp950::encode(QStringLiteral("[編輯]\r\nZoom=2\r\n")));
}

TEST_F(ModIniFileTest, FailedWritesAreQuietAndGiveZero) {
    EXPECT_EQ(WriteIniString(dir_.filePath("missing/x.ini"), "S", "K", "v"), 0);
    IniFile = QString();
    WriteIni("S", "K", "v");  // no file named: nothing happens
    EXPECT_EQ(ReadIni("S", "K"), QString());
}

TEST_F(ModIniFileTest, IniEntriesAnswerAsGetIniStringDoesForEveryEntry) {
    writeFile(QStringLiteral("[設定]\r\nKey=first\r\nkey=second\r\nBlanks=   \r\nQuoted=\"  a  \"\r\n"
                             "Long=") + QString(1022, u'a') + QStringLiteral("設定\r\n"
                             "[Other]\r\nX=1\r\n[設定]\r\nLater=ignored\r\nKey=third\r\n[Empty]\r\n"));
    const IniEntries entries(file_);
    for (const QString& section : {QStringLiteral("設定"), QStringLiteral("other"), QStringLiteral("Empty"),
                                   QStringLiteral("Missing")})
        for (const QString& key : {QStringLiteral("KEY"), QStringLiteral("Blanks"), QStringLiteral("Quoted"),
                                   QStringLiteral("Long"), QStringLiteral("Later"), QStringLiteral("x"),
                                   QStringLiteral("Missing")})
            EXPECT_EQ(entries.read(section, key), GetIniString(file_, section, key))
                << section.toStdString() << "/" << key.toStdString();
    EXPECT_EQ(entries.read(QStringLiteral("設定"), QStringLiteral("key")), QStringLiteral("first"));
    EXPECT_EQ(IniEntries(dir_.filePath("none.ini")).read(QStringLiteral("設定"), QStringLiteral("Key")), QString());
}
