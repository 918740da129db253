#pragma once
// The plain text of a rich-text (RTF) document: enough to show the readme. Paragraphs,
// tabs, hexadecimal byte escapes (code page 950) and Unicode escapes are honoured;
// destinations such as the font and colour tables are skipped.

#include <QByteArray>
#include <QString>

QString RtfToPlainText(const QByteArray& rtf);
