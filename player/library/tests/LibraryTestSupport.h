#pragma once
// Folders and files made at test time.

#include <QDateTime>
#include <QString>
#include <QStringList>

// Creates the file (and its folders) with Text in code page 950; optionally dated.
QString makeFile(const QString& path, const QString& text = QStringLiteral("x"),
                 const QDateTime& modified = QDateTime());
QString makeFolder(const QString& path);
// The file's bytes as a Latin-1 string, to check line ends and encodings byte for byte.
QByteArray fileBytes(const QString& path);

// While it lives, every message box is answered OK and its prompt kept here.
struct ShownMessages
{
    ShownMessages();
    ~ShownMessages();
    QStringList prompts;
};
