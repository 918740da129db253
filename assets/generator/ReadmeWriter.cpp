#include "ReadmeWriter.h"

#include "Cp950.h"

#include <QStringList>
#include <vector>

namespace art {
namespace {

enum class BlockKind { Title, Heading, Item, Text, Gap };

struct Block {
    BlockKind kind;
    QString text;
};

std::vector<Block> parse(const QString &source)
{
    std::vector<Block> blocks;
    for (QString line : source.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty())
            blocks.push_back({BlockKind::Gap, {}});
        else if (line.startsWith(QLatin1String("## ")))
            blocks.push_back({BlockKind::Heading, line.mid(3)});
        else if (line.startsWith(QLatin1String("# ")))
            blocks.push_back({BlockKind::Title, line.mid(2)});
        else if (line.startsWith(QLatin1String("- ")))
            blocks.push_back({BlockKind::Item, line.mid(2)});
        else
            blocks.push_back({BlockKind::Text, line});
    }
    return blocks;
}

// RTF keeps to 7-bit text: every byte of a CP950 character becomes \'hh,
// also a second byte that looks like ASCII ("{" or "\\"), so that a reader
// never splits a character.
std::optional<QByteArray> rtfText(const QString &text)
{
    QByteArray out;
    for (const uint codePoint : text.toUcs4()) {
        const auto bytes = encodeCp950(QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1));
        if (!bytes)
            return std::nullopt;
        if (bytes->size() > 1 || static_cast<unsigned char>(bytes->at(0)) >= 0x80) {
            for (const char c : *bytes)
                out += "\\'" + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
        } else if (bytes->at(0) == '\\' || bytes->at(0) == '{' || bytes->at(0) == '}') {
            out += '\\';
            out += bytes->at(0);
        } else {
            out += *bytes;
        }
    }
    return out;
}

QString htmlEscaped(const QString &text) { return text.toHtmlEscaped(); }

} // namespace

std::optional<QByteArray> readmeRtf(const QString &source)
{
    auto fontName = rtfText(QStringLiteral("新細明體"));
    if (!fontName)
        return std::nullopt;
    QByteArray out = "{\\rtf1\\ansi\\ansicpg950\\deff0{\\fonttbl{\\f0\\fnil\\fcharset136 " + *fontName +
                     ";}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20\r\n";
    for (const Block &block : parse(source)) {
        auto text = rtfText(block.text);
        if (!text)
            return std::nullopt;
        switch (block.kind) {
        case BlockKind::Title:
            out += "\\b\\fs32 " + *text + "\\b0\\fs20\\par\r\n";
            break;
        case BlockKind::Heading:
            out += "\\b\\fs24 " + *text + "\\b0\\fs20\\par\r\n";
            break;
        case BlockKind::Item:
            out += "\\tab " + *rtfText(QStringLiteral("‧")) + " " + *text + "\\par\r\n";
            break;
        case BlockKind::Text:
            out += *text + "\\par\r\n";
            break;
        case BlockKind::Gap:
            out += "\\par\r\n";
            break;
        }
    }
    out += "}\r\n";
    return out;
}

std::optional<QByteArray> readmeHtml(const QString &source)
{
    QString title;
    QString body;
    bool inList = false;
    for (const Block &block : parse(source)) {
        if (inList && block.kind != BlockKind::Item) {
            body += QStringLiteral("</ul>\r\n");
            inList = false;
        }
        switch (block.kind) {
        case BlockKind::Title:
            title = block.text;
            body += QStringLiteral("<h1>") + htmlEscaped(block.text) + QStringLiteral("</h1>\r\n");
            break;
        case BlockKind::Heading:
            body += QStringLiteral("<h2>") + htmlEscaped(block.text) + QStringLiteral("</h2>\r\n");
            break;
        case BlockKind::Item:
            if (!inList)
                body += QStringLiteral("<ul>\r\n");
            inList = true;
            body += QStringLiteral("<li>") + htmlEscaped(block.text) + QStringLiteral("</li>\r\n");
            break;
        case BlockKind::Text:
            body += QStringLiteral("<p>") + htmlEscaped(block.text) + QStringLiteral("</p>\r\n");
            break;
        case BlockKind::Gap:
            break;
        }
    }
    if (inList)
        body += QStringLiteral("</ul>\r\n");
    const QString page =
        QStringLiteral("<!DOCTYPE html>\r\n<html lang=\"zh-Hant\">\r\n<head>\r\n"
                       "<meta charset=\"big5\">\r\n<title>") +
        htmlEscaped(title) +
        QStringLiteral("</title>\r\n<style>\r\n"
                       "body { font-family: \"新細明體\", serif; margin: 2em; line-height: 1.6; }\r\n"
                       "h1 { font-size: 1.6em; } h2 { font-size: 1.2em; margin-top: 1.4em; }\r\n"
                       "</style>\r\n</head>\r\n<body>\r\n") +
        body + QStringLiteral("</body>\r\n</html>\r\n");
    return encodeCp950(page);
}

} // namespace art
