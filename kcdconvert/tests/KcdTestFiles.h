#pragma once

#include "Cp950.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <ostream>

// Test messages show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Small KCD files for the tests, written in code page 950 with CR LF line ends.
namespace KcdTestFiles {

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

inline void writeKcd(const QString& path, const QStringList& lines)
{
    writeBytes(path, Cp950::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An album of two songs: the first with three stamps and two lyric lines, the
// second with two stamps and four lyric lines.
inline QStringList albumOfTwoSongs(const QString& album = QStringLiteral("我的專集"))
{
    return {
        QStringLiteral("12,情人的眼淚曲:作曲者詞:作詞者＠") + album + QStringLiteral("＠"),
        QStringLiteral("00:10:5 00:14:2 00:18:0 ,第一句＠第二句＠"),
        QStringLiteral("15,\"第二首 詞:某人＠\""),
        QStringLiteral("00:05:0 00:09:5 ,歌詞一＠歌詞二＠歌詞三＠歌詞四＠"),
    };
}

} // namespace KcdTestFiles
