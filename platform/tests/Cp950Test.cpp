#include "Cp950.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// "功" is A5 5C and "設" is B3 5D: second bytes that look like "\" and "]".
TEST(Cp950, RoundTripsDoubleByteTextWhoseSecondBytesLookLikeAscii) {
    const QString text = QStringLiteral("功能設定 ABC");
    const QByteArray bytes = Cp950::encode(text);
    EXPECT_EQ(bytes.left(4), QByteArray("\xA5\x5C\xAF\xE0", 4));
    EXPECT_EQ(bytes.size(), 12);
    EXPECT_EQ(Cp950::decode(bytes), text);
    EXPECT_EQ(Cp950::byteLength(text), 12);
}

TEST(Cp950, MarksWhatCannotBeConverted) {
    EXPECT_EQ(Cp950::encode(QStringLiteral("a\u00E9b")), QByteArray("a?b"));   // no é in the code page
    EXPECT_EQ(Cp950::encode(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QByteArray("x?y"));  // one ? per character
}

TEST(Cp950, BytesThatAreNoCharacterSurviveAReadAndAWrite) {
    // 0x81 0x5D is no character: its second byte must not read as "]"; 0xA5 at the end is half a pair.
    const QByteArray damaged("[a\x81\x5D]\xA5", 6);
    const QString text = Cp950::decode(damaged);
    EXPECT_TRUE(Cp950::hasUndecodableBytes(text));
    EXPECT_EQ(text.count(u']'), 1);
    EXPECT_TRUE(text.startsWith(QStringLiteral("[a")));
    EXPECT_EQ(Cp950::encode(text), damaged);
    EXPECT_FALSE(Cp950::hasUndecodableBytes(QStringLiteral("設定")));
}

TEST(Cp950, CutsOnWholeCharacters) {
    const QString text = QStringLiteral("ab功能");  // 2 + 2 + 2 bytes
    EXPECT_EQ(Cp950::cutToBytes(text, 6), text);
    EXPECT_EQ(Cp950::cutToBytes(text, 5), QStringLiteral("ab功"));
    EXPECT_EQ(Cp950::cutToBytes(text, 3), QStringLiteral("ab"));
    EXPECT_EQ(Cp950::cutToBytes(text, 0), QString());
}

TEST(Cp950, SplitsAndJoinsLines) {
    EXPECT_EQ(Cp950::splitLines(QStringLiteral("a\r\nb\nc\rd")), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(Cp950::splitLines(QStringLiteral("a\r\n\r\n")), (QStringList{"a", ""}));
    EXPECT_TRUE(Cp950::splitLines(QString()).isEmpty());
    EXPECT_EQ(Cp950::joinCrLf({"a", "b"}), QStringLiteral("a\r\nb\r\n"));
}

TEST(Cp950, ReadsFilesAsCp950OrUtf8WithMark) {
    QTemporaryDir dir;
    const QString cp950 = dir.filePath("a.txt");
    const QString utf8 = dir.filePath("b.txt");
    ASSERT_TRUE(Cp950::writeTextFile(cp950, QStringLiteral("設定\r\n")));
    QFile f(utf8);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xEF\xBB\xBF" + QStringLiteral("設定").toUtf8());
    f.close();

    bool ok = false;
    EXPECT_EQ(Cp950::readTextFile(cp950, &ok), QStringLiteral("設定\r\n"));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Cp950::readTextFile(utf8, &ok), QStringLiteral("設定"));
    // "Unicode" as a Windows editor saves it, either byte order.
    const QString lines = QStringLiteral("設定,\"歌\"\r\n");
    QByteArray little("\xFF\xFE"), big("\xFE\xFF");
    for (const QChar ch : lines) {
        little += char(ch.unicode() & 0xFF), little += char(ch.unicode() >> 8);
        big += char(ch.unicode() >> 8), big += char(ch.unicode() & 0xFF);
    }
    EXPECT_EQ(Cp950::decodeText(little), lines);
    EXPECT_EQ(Cp950::decodeText(big), lines);
    EXPECT_EQ(Cp950::decodeText(QByteArray("\xFF\xFE\x41\x00\x42", 5)), QStringLiteral("A\uFFFD"));  // a last odd byte
    EXPECT_EQ(Cp950::readTextFile(dir.filePath("missing"), &ok), QString());
    EXPECT_FALSE(ok);
}

TEST(Cp950, FailedWriteLeavesNoFileAndReportsIt) {
    QTemporaryDir dir;
    EXPECT_FALSE(Cp950::writeTextFile(dir.filePath("no/such/folder/x.txt"), QStringLiteral("x")));
    EXPECT_FALSE(QFile::exists(dir.filePath("no/such/folder/x.txt")));
}
