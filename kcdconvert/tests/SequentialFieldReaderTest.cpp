#include "KcdDocument.h"
#include "FieldReader.h"
#include "KcdTestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Fields
{
    QStringList fields;
    bool failed = false;
};

Fields readAll(const QString& text)
{
    const FieldReadResult read = ReadFields(text);
    return {read.fields, !read.complete};
}

} // namespace

TEST(SequentialFieldReader, CommasAndEveryKindOfLineEndEndAField)
{
    const Fields read = readAll(QStringLiteral("a,b\r\nc\nd\re\r\n"));
    EXPECT_EQ(read.fields, (QStringList{"a", "b", "c", "d", "e"}));
    EXPECT_FALSE(read.failed);
}

TEST(SequentialFieldReader, SkipsBlanksBeforeAFieldOnly)
{
    EXPECT_EQ(readAll(QStringLiteral("  a ,\tb")).fields, (QStringList{"a ", "b"}));
}

TEST(SequentialFieldReader, EmptyLinesAreEmptyFieldsAndCountAsFields)
{
    EXPECT_EQ(readAll(QStringLiteral("a\r\n\r\nb")).fields, (QStringList{"a", "", "b"}));
    EXPECT_EQ(readAll(QStringLiteral("a,\r\nb")).fields, (QStringList{"a", "", "b"}));
}

TEST(SequentialFieldReader, QuotedFieldKeepsCommasAndDropsWhatFollowsTheClosingQuote)
{
    const Fields read = readAll(QStringLiteral("\"a, b\"junk,c\r\n\"d\"\r\ne"));
    EXPECT_EQ(read.fields, (QStringList{"a, b", "c", "d", "e"}));
}

TEST(SequentialFieldReader, QuoteWithoutPartnerStopsTheReadAsDamaged)
{
    const Fields read = readAll(QStringLiteral("a,\"bc\r\nd,e"));
    EXPECT_EQ(read.fields, (QStringList{"a"}));
    EXPECT_TRUE(read.failed);
}

TEST(SequentialFieldReader, NothingAfterTheLastLineEndIsNoField)
{
    EXPECT_TRUE(readAll(QString()).fields.isEmpty());
    EXPECT_EQ(readAll(QStringLiteral("a\r\n   ")).fields, (QStringList{"a"}));
}

// KCD files from old DOS editors end with Ctrl+Z; the mark and what follows are no fields.
TEST(SequentialFieldReader, CtrlZEndsTheText)
{
    EXPECT_EQ(readAll(QStringLiteral("a,b\r\n\x1A\r\njunk")).fields, (QStringList{"a", "b"}));
    EXPECT_EQ(readAll(QStringLiteral("a,bc\x1A")).fields, (QStringList{"a", "bc"}));
}

// In code page 950 the second byte of "功" is "\" and of "設" is "]": the file is
// decoded before it is split, so such characters never break a field.
TEST(KcdDocument, DecodesTheWholeFileBeforeSplittingIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.KCD"));
    KcdTestFiles::writeKcd(path, {QStringLiteral("功能,設定")});
    const KcdDocument document = ReadKcdDocument(path, {});
    EXPECT_TRUE(document.opened);
    EXPECT_TRUE(document.complete);
    EXPECT_EQ(document.fields, (QStringList{QStringLiteral("功能"), QStringLiteral("設定")}));
}

TEST(KcdDocument, MissingFileIsNotOpened)
{
    QTemporaryDir dir;
    const KcdDocument document = ReadKcdDocument(dir.filePath(QStringLiteral("none.KCD")), {});
    EXPECT_FALSE(document.opened);
    EXPECT_TRUE(document.fields.isEmpty());
}

TEST(KcdDocumentCache, ReadsAFileAgainWhenItChanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.KCD"));
    KcdTestFiles::writeKcd(path, {QStringLiteral("a")});
    KcdDocumentCache cache;
    EXPECT_EQ(cache.load(path, {}).fields, (QStringList{"a"}));
    KcdTestFiles::writeKcd(path, {QStringLiteral("a,b,c")});
    EXPECT_EQ(cache.load(path, {}).fields, (QStringList{"a", "b", "c"}));
}

TEST(KcdDocument, FileWithAUnicodeByteOrderMarkIsReadInThatEncoding)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.KCD"));
    const QString text = QStringLiteral("10,歌＠專＠\r\n");
    KcdTestFiles::writeBytes(path, QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    EXPECT_EQ(ReadKcdDocument(path, {}).fields, (QStringList{"10", QStringLiteral("歌＠專＠")}));
    // Saved as "Unicode" (UTF-16, low byte first) by a Windows editor.
    KcdTestFiles::writeBytes(path, QByteArray("\xFF\xFE")
                                       + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2));
    EXPECT_EQ(ReadKcdDocument(path, {}).fields, (QStringList{"10", QStringLiteral("歌＠專＠")}));
}
