#pragma once
// Text in code page 950, the encoding of every file the programs share.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Cp950 {

// Bytes in code page 950 to text. Bytes that are no character are kept as the lone
// surrogates U+DC00-U+DCFF (shown as a replacement mark), so that encode() gives back the
// same bytes: a damaged file that is read and written again loses nothing.
QString decode(const QByteArray& bytes);
// True when the text holds such undecodable bytes.
bool hasUndecodableBytes(const QString& text);

// Text to code page 950. Characters the code page lacks become "?".
QByteArray encode(const QString& text);

// Number of bytes the text takes in code page 950.
int byteLength(const QString& text);

// The longest leading part of the text that fits in maxBytes bytes of code page 950,
// cut on a whole character (a double-byte character is never split).
QString cutToBytes(const QString& text, int maxBytes);

// Decodes the bytes of a whole text file: UTF-8 or UTF-16 when they start with that encoding's
// byte-order mark (the mark dropped), code page 950 otherwise.
QString decodeText(const QByteArray& bytes);
// Reads and decodes a whole file (decodeText). A missing or unreadable file gives "" and
// *ok = false.
QString readTextFile(const QString& path, bool* ok = nullptr);

// True when the file starts with a UTF-8 byte-order mark.
bool hasUtf8Bom(const QByteArray& bytes);

// Writes the text in code page 950, replacing the file safely: a failed write (false) leaves
// the old file as it was. Line ends are written as they stand in the text.
bool writeTextFile(const QString& path, const QString& text);

// Appends the text in code page 950 (creating the file when missing): all of it or, on
// failure (false), nothing.
bool appendTextFile(const QString& path, const QString& text);

// Splits text into lines at CR LF, LF or a lone CR; a last line without an end is kept,
// an empty text gives no lines.
QStringList splitLines(const QString& text);

// Joins lines, each ended by CR LF.
QString joinCrLf(const QStringList& lines);

}  // namespace Cp950
