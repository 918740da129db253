#include "LibraryTestSupport.h"
#include "LyricPrintRun.h"
#include "LyricPrinter.h"
#include "MessageBox.h"
#include "frmSongSet.h"

#include <QPdfWriter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int pdfPageCount(const QString& path)
{
    const QString text = QString::fromLatin1(fileBytes(path));
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

QString lyricFile(const QTemporaryDir& dir, const QString& name, int lines)
{
    QString text = QStringLiteral("00:00:0 title\r\n");
    for (int i = 0; i < lines; ++i) text += QStringLiteral("00:%1:0 第%1行的歌詞\r\n").arg(i % 60, 2, 10, QLatin1Char('0'));
    return makeFile(dir.path() + "/Album A/" + name, text);
}

}  // namespace

TEST(LyricPrinting, TitleAndAlbumTexts)
{
    EXPECT_EQ(AlbumOfLyricFile("/Songs/Album A/01.txt"), "Album A");
    EXPECT_EQ(AlbumOfLyricFile("/01.txt"), "");
    EXPECT_EQ(AlbumOfLyricFile("C:/01.txt"), "C:");
    EXPECT_EQ(LyricTitleOf("/x/Love Song.txt"), "Love Song");
    EXPECT_EQ(LyricTitleOf("/x/a.lrc.txt"), "a.lrc");
    EXPECT_EQ(LyricTitleOf("/x/abcdef"), "ab");
    EXPECT_EQ(LyricTitleOf("/x/abc"), "");
}

TEST(LyricPrinting, OneFileOnePageAndLongListsFlowOverPages)
{
    QTemporaryDir dir;
    const QString one = lyricFile(dir, "01.txt", 10);
    const QString empty = makeFile(dir.filePath("Album A/empty.txt"), "");
    {
        QPdfWriter pdf(dir.filePath("one.pdf"));
        LyricPrinter printer(pdf);
        const LyricPrinter::Result r = printer.Print({one, empty});
        EXPECT_EQ(r.printed, 2);
        EXPECT_EQ(r.pages, 1);
    }
    EXPECT_EQ(pdfPageCount(dir.filePath("one.pdf")), 1);

    QStringList many;
    for (int i = 0; i < 12; ++i) many << lyricFile(dir, QStringLiteral("long%1.txt").arg(i), 60);
    {
        QPdfWriter pdf(dir.filePath("many.pdf"));
        LyricPrinter printer(pdf);
        const LyricPrinter::Result r = printer.Print(many);
        EXPECT_EQ(r.printed, 12);
        EXPECT_GT(r.pages, 1);
        pdf.setTitle(QString::number(r.pages));
    }
    EXPECT_GT(pdfPageCount(dir.filePath("many.pdf")), 1);

    // A single block longer than a page goes on over the next pages.
    {
        QPdfWriter pdf(dir.filePath("tall.pdf"));
        LyricPrinter printer(pdf);
        EXPECT_GE(printer.Print({lyricFile(dir, "tall.txt", 400)}).pages, 3);
    }
}

TEST(LyricPrinting, UnreadableFilesAreSkipped)
{
    QTemporaryDir dir;
    const QString one = lyricFile(dir, "01.txt", 3);
    QPdfWriter pdf(dir.filePath("skip.pdf"));
    LyricPrinter printer(pdf);
    const LyricPrinter::Result r = printer.Print({dir.filePath("gone.txt"), one});
    EXPECT_EQ(r.printed, 1);
    EXPECT_EQ(r.unreadable, QStringList{dir.filePath("gone.txt")});

    QPdfWriter nothing(dir.filePath("none.pdf"));
    LyricPrinter none(nothing);
    EXPECT_EQ(none.Print({dir.filePath("gone.txt")}).pages, 0);
}

TEST(LyricPrinting, MenuRunSetsUpTheEditorPrintsAndReports)
{
    QTemporaryDir dir;
    const QString one = lyricFile(dir, "01.txt", 3);
    frmSongSet editor;
    editor.hasPrinter = [] { return true; };
    editor.setRows({{"old.mp3", "/m", false}});
    QPdfWriter pdf(dir.filePath("run.pdf"));
    LyricPrintRun run(editor);
    run.device = &pdf;
    QString caption;
    run.showAndWait = [&](frmSongSet& e) {
        caption = e.windowTitle();
        EXPECT_TRUE(e.rows().isEmpty());
        EXPECT_EQ(e.CurListFile, "unknow");
        e.setRows({{"01.txt", dir.filePath("Album A"), false}});
        e.Command5->click();
    };
    QStringList shown;
    MessageBox::setAnswerer([&](const MessageBox::Request& r) {
        shown << r.prompt;
        return MessageBox::IdOk;
    });
    EXPECT_EQ(run.mSongText_Click(), 1);
    EXPECT_EQ(caption, "歌詞列印");
    EXPECT_EQ(editor.Command5->text(), "開始列印");
    EXPECT_EQ(editor.PlayArray, QStringList{one});
    EXPECT_EQ(run.pagesPrinted(), 1);
    EXPECT_EQ(shown, QStringList{"列印完畢 !!"});

    // Cancelled: nothing printed, no message.
    run.showAndWait = [](frmSongSet& e) { e.Command6->click(); };
    EXPECT_EQ(run.mSongText_Click(), 0);
    EXPECT_EQ(shown.size(), 1);
    MessageBox::setAnswerer({});
}
