#include "LyricPrinter.h"

#include "Cp950.h"
#include "FieldReader.h"
#include "ModFiles.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

// Short enough that the whole header line fits the width of an A4 or Letter page.
const QString LyricPrinter::Slogan = QStringLiteral("卡拉OK與影音播放系統");
const QString LyricPrinter::WebAddress = QStringLiteral("www.pelloran.example");

namespace {

const double kTitlePoints = 10;
const double kLinePoints = 7.5;
const QString kIndent = QStringLiteral("  ");

}  // namespace

QString AlbumOfLyricFile(const QString& path)
{
    const int last = path.lastIndexOf(QLatin1Char('/'));
    if (last < 0) return {};
    const int before = last > 0 ? path.lastIndexOf(QLatin1Char('/'), last - 1) : -1;
    return before < 0 ? path.left(last) : path.mid(before + 1, last - before - 1);
}

QString LyricTitleOf(const QString& path)
{
    const QString name = GetFileName(path);
    return name.left(std::max<qsizetype>(0, name.size() - 4));
}

LyricPrinter::LyricPrinter(QPagedPaintDevice& device) : device_(device) {}

QFont LyricPrinter::font(double points, bool bold, bool italic, bool underline) const
{
    QFont f;
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    return f;
}

double LyricPrinter::lineHeight(const QFont& f) const { return QFontMetricsF(f, &device_).lineSpacing(); }

double LyricPrinter::textWidth(const QFont& f, const QString& text) const
{
    return QFontMetricsF(f, &device_).horizontalAdvance(text);
}

LyricPrinter::Result LyricPrinter::Print(const QStringList& files)
{
    Result result;
    QPainter painter;
    pageWidth_ = device_.width();
    pageHeight_ = device_.height();
    blockLeft_ = x_ = y_ = bandTop_ = maxRight_ = maxBottom_ = 0;
    pages_ = 0;
    for (const QString& file : files) {
        bool ok = false;
        const Block block = measure(file, &ok);
        if (!ok) {
            // An unreadable file is left out; the others still print.
            result.unreadable << file;
            continue;
        }
        file_ = file;
        if (pages_ == 0) {
            if (!painter.isActive() && !painter.begin(&device_)) {
                result.printerFailed = true;
                break;
            }
            ++pages_;
            PrtTitle(painter);
            bandTop_ = maxBottom_ = headerBottom_;
        }
        place(block, painter);
        printBlock(block, painter);
        ++result.printed;
    }
    if (painter.isActive()) painter.end();
    result.pages = pages_;
    return result;
}

LyricPrinter::Block LyricPrinter::measure(const QString& file, bool* ok) const
{
    Block block;
    const QString text = Cp950::readTextFile(file, ok);
    if (!*ok) return block;
    // Lines are comma-delimited input fields: a line with a comma prints as two.
    block.lines = ReadFields(text).fields;
    block.title = kIndent + LyricTitleOf(file);
    const QFont titleFont = font(kTitlePoints, true, true, true);
    const QFont lineFont = font(kLinePoints, false, true, false);
    block.width = textWidth(titleFont, block.title);
    block.height = 2 * lineHeight(titleFont) + lineHeight(font(kLinePoints, false, true, false));
    for (const QString& line : block.lines) {
        block.width = std::max(block.width, textWidth(lineFont, kIndent + line));
        block.height += lineHeight(lineFont);
    }
    return block;
}

void LyricPrinter::place(const Block& block, QPainter& painter)
{
    if (maxRight_ + block.width > pageWidth_) {
        // A new band below everything printed so far.
        blockLeft_ = 0;
        bandTop_ = maxBottom_;
        maxRight_ = 0;
    } else {
        blockLeft_ = maxRight_;
    }
    if (bandTop_ + block.height > pageHeight_ && bandTop_ > headerBottom_) newPage(painter);
    x_ = blockLeft_;
    y_ = bandTop_;
}

void LyricPrinter::newPage(QPainter& painter)
{
    device_.newPage();
    ++pages_;
    PrtTitle(painter);
    // The blocks of a new page start below its header.
    blockLeft_ = 0;
    bandTop_ = maxBottom_ = headerBottom_;
    maxRight_ = 0;
}

void LyricPrinter::printLine(QPainter& painter, const QString& text, const QFont& f)
{
    const double height = lineHeight(f);
    // A block taller than a page goes on over the next page rather than off its edge.
    if (y_ + height > pageHeight_ && y_ > headerBottom_) {
        newPage(painter);
        x_ = blockLeft_;
        y_ = bandTop_;
    }
    painter.setFont(f);
    const QFontMetricsF metrics(f, &device_);
    painter.drawText(QPointF(x_, y_ + metrics.ascent()), text);
    maxRight_ = std::max(maxRight_, x_ + metrics.horizontalAdvance(text));
    y_ += height;
    maxBottom_ = std::max(maxBottom_, y_);
}

void LyricPrinter::printBlock(const Block& block, QPainter& painter)
{
    const QFont titleFont = font(kTitlePoints, true, true, true);
    printLine(painter, QString(), titleFont);
    x_ = blockLeft_;
    printLine(painter, block.title, titleFont);
    printLine(painter, QString(), font(kLinePoints, false, true, true));
    const QFont lineFont = font(kLinePoints, false, true, false);
    for (const QString& line : block.lines) {
        x_ = blockLeft_;
        printLine(painter, kIndent + line, lineFont);
    }
}

void LyricPrinter::PrtTitle(QPainter& painter)
{
    const QFont nameFont = font(32, true, true, false);
    const QString name = QStringLiteral("Quorvel   ");
    const QFontMetricsF nameMetrics(nameFont, &device_);
    painter.setFont(nameFont);
    painter.drawText(QPointF(0, nameMetrics.ascent()), name);
    const double keptX = nameMetrics.horizontalAdvance(name);

    // The description and the address stand on the product name's line, after it.
    const QFont sloganFont = font(14, true, false, false);
    const QFontMetricsF small(sloganFont, &device_);
    const double baseline = nameMetrics.ascent();
    painter.setFont(sloganFont);
    painter.drawText(QPointF(keptX, baseline), Slogan + QLatin1Char(' '));
    const double addressX = keptX + small.horizontalAdvance(Slogan + QLatin1Char(' '));
    painter.setFont(font(14, true, false, true));
    painter.drawText(QPointF(addressX, baseline), WebAddress);

    const double albumTop = nameMetrics.lineSpacing();
    const QFont albumFont = font(14, true, true, false);
    painter.setFont(albumFont);
    painter.drawText(QPointF(0, albumTop + small.ascent()), QStringLiteral("   專集: ") + AlbumOfLyricFile(file_));
    headerBottom_ = albumTop + small.lineSpacing();
}
