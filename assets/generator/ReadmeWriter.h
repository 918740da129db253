// Turns the readme source text into the two readme files the player offers:
// a rich-text file for the readme window and a web page. Both are written in
// CP950, as every text file the programs share.
//
// Source lines: "# " title, "## " heading, "- " list item, an empty line
// separates paragraphs, any other line is a paragraph line.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace art {

std::optional<QByteArray> readmeRtf(const QString &source);
std::optional<QByteArray> readmeHtml(const QString &source);

} // namespace art
