#pragma once
// Prints lyric text files: a page header on every page, then one block per file (its title
// line and its lines), the blocks flowing left to right in bands down the pages.

#include <QFont>
#include <QPointF>
#include <QString>
#include <QStringList>

class QPainter;
class QPagedPaintDevice;

// The album printed in the header: the name of the folder that holds the file; with only one
// "/" in the path, the text before it.
QString AlbumOfLyricFile(const QString& path);
// The title line's text: the file name without its last four characters.
QString LyricTitleOf(const QString& path);

class LyricPrinter
{
public:
    // The product's one-line description and web address printed in the header.
    static const QString Slogan;
    static const QString WebAddress;

    explicit LyricPrinter(QPagedPaintDevice& device);

    struct Result
    {
        int printed = 0;          // files printed
        int pages = 0;            // pages started
        QStringList unreadable;   // files that could not be opened (skipped)
        bool printerFailed = false;  // the printer could not start: nothing was printed
    };
    // Prints the files in order as one document.
    Result Print(const QStringList& files);

private:
    struct Block
    {
        QString title;
        QStringList lines;
        double width = 0;
        double height = 0;
    };
    Block measure(const QString& file, bool* ok) const;
    void place(const Block& block, QPainter& painter);
    void printBlock(const Block& block, QPainter& painter);
    void printLine(QPainter& painter, const QString& text, const QFont& font);
    void newPage(QPainter& painter);
    void PrtTitle(QPainter& painter);

    QFont font(double points, bool bold, bool italic, bool underline) const;
    double lineHeight(const QFont& f) const;
    double textWidth(const QFont& f, const QString& text) const;

    QPagedPaintDevice& device_;
    QString file_;       // the file being printed
    double pageWidth_ = 0;
    double pageHeight_ = 0;
    double headerBottom_ = 0;
    double blockLeft_ = 0;
    double x_ = 0;
    double y_ = 0;
    double bandTop_ = 0;
    double maxRight_ = 0;
    double maxBottom_ = 0;
    int pages_ = 0;
};
