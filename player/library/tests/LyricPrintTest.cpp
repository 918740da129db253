#include "LibraryTestSupport.h"
#include "EventWait.h"
#include "LyricPrintRun.h"
#include "LyricPrinter.h"
#include "MessageBox.h"
#include "Printers.h"
#include "frmSongSet.h"

#include <QLabel>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int pdfPageCount(const QString& path)
{
    const QString text = QString::fromLatin1(fileBytes(path));
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

// A printed word and where it stands on its page (points from the top left).
struct PrintedWord
{
    QString text;
    double left = 0;
    double top = 0;
};

// The words of the PDF's first page in reading order, as poppler's pdftotext finds them.
QList<PrintedWord> printedWords(const QString& pdf)
{
    QProcess extract;
    extract.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"), QStringLiteral("1"), pdf,
                                                QStringLiteral("-")});
    if (!extract.waitForFinished(EventWaitMs)) return {};
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"[0-9.]+\">([^<]*)</word>"));
    QList<PrintedWord> words;
    const QString html = QString::fromUtf8(extract.readAllStandardOutput());
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.append({m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return words;
}

const PrintedWord* findWord(const QList<PrintedWord>& words, const QString& text)
{
    for (const PrintedWord& w : words)
        if (w.text == text) return &w;
    return nullptr;
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
    ShownMessages messages;
    QStringList& shown = messages.prompts;
    EXPECT_EQ(run.mSongText_Click(), 1);
    EXPECT_EQ(caption, "歌詞列印");
    EXPECT_EQ(editor.Command5->text(), "開始列印");
    EXPECT_EQ(editor.PlayArray, QStringList{one});
    EXPECT_EQ(run.pagesPrinted(), 1);
    EXPECT_EQ(shown, QStringList{"列印完畢 !!"});

    // Every chosen file unreadable: the user is told that nothing was printed.
    run.showAndWait = [&](frmSongSet& e) {
        e.setRows({{"gone.txt", dir.filePath("Album A"), false}});
        e.Command5->click();
    };
    EXPECT_EQ(run.mSongText_Click(), 1);
    EXPECT_EQ(run.pagesPrinted(), 0);
    EXPECT_EQ(run.unreadable(), QStringList{dir.filePath("Album A/gone.txt")});
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown.last(), "歌詞檔都無法開啟,沒有列印任何資料 !!");

    // Cancelled: nothing printed, no message.
    run.showAndWait = [](frmSongSet& e) { e.Command6->click(); };
    EXPECT_EQ(run.mSongText_Click(), 0);
    EXPECT_EQ(shown.size(), 2);
}

// A machine without a printer prints to a PDF file the user names; where nothing at all can
// print, the editor says so beside its grey "開始列印".
TEST(LyricPrinting, WithoutAPrinterTheLyricsArePrintedToAPdfFile)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    lyricFile(dir, "01.txt", 2);
    Printers::setSystemPrinters([] { return QStringList(); });
    frmSongSet editor;
    LyricPrintRun run(editor);
    bool enabled = false;
    run.showAndWait = [&](frmSongSet& e) {
        e.setRows({{"01.txt", dir.filePath("Album A"), false}});
        e.Timer1_Timer();
        enabled = e.Command5->isEnabled();
        EXPECT_FALSE(e.NoPrinterNote->isVisibleTo(&e));
        e.Command5->click();
    };
    int asked = 0;
    run.choosePdfFile = [&] {
        ++asked;
        return dir.filePath("lyrics");  // named without its extension, as users do
    };
    ShownMessages messages;
    EXPECT_EQ(run.mSongText_Click(), 1);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(messages.prompts, QStringList{"列印完畢 !!"});
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {dir.filePath("lyrics.pdf"), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(EventWaitMs));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    // (The PDF's font may give "行" back as the look-alike radical: the line is told by the rest.)
    EXPECT_TRUE(printed.contains("00:00:0 第00") && printed.contains("00:01:0 第01") && printed.contains("的歌詞"))
        << printed.toStdString();

    // No file named: cancelled, nothing printed, no message.
    run.choosePdfFile = [] { return QString(); };
    EXPECT_EQ(run.mSongText_Click(), 0);
    EXPECT_EQ(messages.prompts.size(), 1);

    // Nothing can print: the button stays grey and the window says why.
    Printers::setFilePrinting(false);
    run.showAndWait = [&](frmSongSet& e) {
        e.setRows({{"01.txt", dir.filePath("Album A"), false}});
        e.Timer1_Timer();
        EXPECT_FALSE(e.Command5->isEnabled());
        EXPECT_TRUE(e.NoPrinterNote->isVisibleTo(&e));
        EXPECT_EQ(e.NoPrinterNote->text(), "沒有可以列印的印表機");
        e.Command6->click();
    };
    EXPECT_EQ(run.mSongText_Click(), 0);
    Printers::setFilePrinting(true);
    Printers::setSystemPrinters({});
}

// A printer that cannot start (here a PDF that cannot be created) prints nothing: the
// user is told so, not that the lyric files could not be opened, nor that printing ended.
TEST(LyricPrinting, PrinterThatCannotStartIsReportedAsSuch)
{
    QTemporaryDir dir;
    const QString one = lyricFile(dir, "01.txt", 3);
    frmSongSet editor;
    editor.hasPrinter = [] { return true; };
    QPdfWriter pdf(dir.filePath("missing/run.pdf"));
    LyricPrintRun run(editor);
    run.device = &pdf;
    run.showAndWait = [&](frmSongSet& e) {
        e.setRows({{"01.txt", dir.filePath("Album A"), false}});
        e.Command5->click();
    };
    ShownMessages messages;
    QStringList& shown = messages.prompts;
    EXPECT_EQ(run.mSongText_Click(), 1);
    EXPECT_EQ(run.pagesPrinted(), 0);
    EXPECT_TRUE(run.unreadable().isEmpty());
    EXPECT_EQ(shown, QStringList{"印表機無法列印,沒有列印任何資料 !!"});
}

// While the print list is being chosen the player runs on: the play-list editor opened from
// its menu meanwhile is the same window, set to play lists. What it hands over is played, not
// printed as lyrics.
TEST(LyricPrinting, APlayListHandedOverMeanwhileIsNotPrinted)
{
    QTemporaryDir dir;
    frmSongSet editor;
    editor.hasPrinter = [] { return true; };
    QPdfWriter pdf(dir.filePath("run.pdf"));
    LyricPrintRun run(editor);
    run.device = &pdf;
    run.showAndWait = [&](frmSongSet& e) {
        e.SetPlayListMode(dir.filePath("unknow.m3u"), "*.MP3");
        e.setRows({{"a.mp3", dir.path(), false}});
        e.Command5->click();
    };
    ShownMessages messages;
    EXPECT_EQ(run.mSongText_Click(), 0);
    EXPECT_EQ(run.pagesPrinted(), 0);
    EXPECT_TRUE(messages.prompts.isEmpty());
    EXPECT_EQ(editor.PlayArray, QStringList{dir.filePath("a.mp3")});  // handed over to play
}

TEST(LyricPrinting, PrintedPageHoldsTheHeaderAlbumTitleAndIndentedLines)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    const QString song = makeFile(dir.path() + "/情歌精選/Love Song.txt", "00:01:0 第一句\r\n00:02:0 second,line\r\n");
    const QString pdfPath = dir.filePath("page.pdf");
    {
        QPdfWriter pdf(pdfPath);
        LyricPrinter printer(pdf);
        ASSERT_EQ(printer.Print({song}).printed, 1);
    }
    const QList<PrintedWord> words = printedWords(pdfPath);
    ASSERT_FALSE(words.isEmpty()) << "no text in " << pdfPath.toStdString();

    // The page header: the product name, its description and its whole address on one line.
    const PrintedWord* product = findWord(words, "Quorvel");
    const PrintedWord* address = findWord(words, LyricPrinter::WebAddress);
    ASSERT_TRUE(product);
    ASSERT_TRUE(address) << "the address runs off the page";
    EXPECT_GT(address->left, product->left);
    // The album line below it: the name of the folder holding the file.
    const PrintedWord* albumLabel = findWord(words, "專集");
    const PrintedWord* album = findWord(words, "情歌精選");
    ASSERT_TRUE(albumLabel && album);
    EXPECT_GT(albumLabel->top, product->top);
    EXPECT_GT(album->left, albumLabel->left);
    // The title line (the name without ".txt") below the header, then the lines; a comma
    // splits a line in two.
    const PrintedWord* title = findWord(words, "Love");
    ASSERT_TRUE(title && findWord(words, "Song"));
    QList<const PrintedWord*> lines;
    for (const QString& text : QStringList{"00:01:0", "00:02:0", "line"}) {
        lines << findWord(words, text);
        ASSERT_TRUE(lines.last()) << text.toStdString();
    }
    EXPECT_GT(title->top, album->top);
    EXPECT_GT(lines[0]->top, title->top);
    EXPECT_GT(lines[1]->top, lines[0]->top);
    EXPECT_GT(lines[2]->top, lines[1]->top);
    // Each line is indented by two blanks, as the title is: both stand clear of the left edge
    // the header starts at, and the lines start together.
    EXPECT_GT(lines[0]->left, product->left + 1);
    EXPECT_GT(title->left, product->left + 1);
    EXPECT_NEAR(lines[0]->left, lines[1]->left, 0.5);
    EXPECT_NEAR(lines[0]->left, lines[2]->left, 0.5);
}
