#include "SongBookFiles.h"

#include "Cp950.h"
#include "Cp950Fit.h"
#include "ProfileFile.h"

#include <QLocale>
#include <QVector>

#include <algorithm>

namespace {

const QString kCdrom = QStringLiteral("CDROM");

// Counts above this are read as this: one more still fits an int, and no real library holds
// that many discs or folders.
constexpr int kCountLimit = 999999999;

int leadingNumber(const QString& text)
{
    const QString t = text.trimmed();
    qint64 number = 0;
    for (int i = 0; i < t.size() && t.at(i).isDigit() && number <= kCountLimit; ++i)
        number = number * 10 + t.at(i).digitValue();
    return int(std::min<qint64>(number, kCountLimit));
}

// The values of the keys "1" to Count of a section, a missing key giving "". A section cannot
// list more entries than it has keys, so Count is bounded by those: a wrong number in the
// file costs nothing. One pass over the section; a repeated key counts at its first place.
QStringList numberedEntries(const ProfileDocument& doc, const QString& section, int count)
{
    const QList<std::pair<QString, QString>> entries = doc.entries(section);
    const int n = int(std::min<qsizetype>(std::max(count, 0), entries.size()));
    QStringList values(n);
    QVector<bool> seen(n, false);
    for (const auto& [key, value] : entries) {
        bool ok = false;
        const int i = key.toInt(&ok);
        // Only the key the number itself spells ("7", not "07"), as a lookup of "7" finds it.
        if (!ok || i < 1 || i > n || seen[i - 1] || key != QString::number(i)) continue;
        values[i - 1] = value;
        seen[i - 1] = true;
    }
    return values;
}

}  // namespace

QString DiscKeyOf(const QString& serial)
{
    return serial.left(4) + QLatin1Char('-') + serial.right(4);
}

QString ShortDate(const QDate& date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

CdromLibrary::CdromLibrary(QString path) : path_(std::move(path)) {}

int CdromLibrary::discCount() const
{
    return leadingNumber(ProfileFile::getString(path_, kCdrom, QStringLiteral("DiscNum")));
}

QString CdromLibrary::title(const QString& discKey) const
{
    return ProfileFile::getString(path_, discKey, QStringLiteral("Title"));
}

QStringList CdromLibrary::folders(const QString& discKey) const
{
    ProfileDocument doc;
    doc.load(path_);
    const int n = leadingNumber(doc.value(discKey, QStringLiteral("DirNumbers")).value_or(QString()));
    return numberedEntries(doc, discKey, n);
}

QStringList CdromLibrary::discEntries() const
{
    ProfileDocument doc;
    doc.load(path_);
    const int n = leadingNumber(doc.value(kCdrom, QStringLiteral("DiscNum")).value_or(QString()));
    return numberedEntries(doc, kCdrom, n);
}

QStringList CdromLibrary::foldersItCannotHold(const QStringList& storedFolders)
{
    const QStringList lacking = TextsCp950CannotHold(storedFolders);
    QStringList cannot;
    for (const QString& folder : storedFolders)
        if (lacking.contains(folder) || folder.trimmed() != folder) cannot << folder;
    return cannot;
}

bool CdromLibrary::recordDisc(const QString& discKey, const QString& title, const QString& dateRange,
                              const QStringList& storedFolders)
{
    ProfileDocument doc;
    doc.load(path_);  // a missing file starts empty
    const int number =
        leadingNumber(doc.value(kCdrom, QStringLiteral("DiscNum")).value_or(QString())) + 1;
    doc.setValue(kCdrom, QStringLiteral("DiscNum"), QString::number(number));
    doc.setValue(kCdrom, QString::number(number), discKey + QLatin1Char(',') + title + QLatin1Char(',') + dateRange);
    // A disc of many folders is written in one pass over its section.
    QList<std::pair<QString, QString>> section{{QStringLiteral("Title"), title},
                                               {QStringLiteral("DirNumbers"), QString::number(storedFolders.size())}};
    for (int i = 0; i < storedFolders.size(); ++i) section.append({QString::number(i + 1), storedFolders.at(i)});
    doc.setValues(discKey, section);
    return doc.save(path_);
}

int MusicLibrary::readCount(const QString& path)
{
    return leadingNumber(ProfileFile::getString(path, QStringLiteral("Music"), QStringLiteral("NUM")));
}

QString MusicLibrary::headerLine(const QString& storedFolder, const QString& title)
{
    return QStringLiteral("<Dir> ") + storedFolder + QLatin1Char('\t') + QStringLiteral(" [") + title +
           QLatin1Char(']');
}

bool MusicLibrary::appendFolders(const QString& path, const QString& title,
                                 const QVector<MusicLibFolder>& folders, int& musicCount)
{
    QStringList lines;
    int count = musicCount;
    for (const MusicLibFolder& folder : folders) {
        lines << headerLine(folder.storedFolder, title);
        ++count;
        for (const QString& name : folder.songNames) {
            lines << name;
            ++count;
        }
    }
    if (lines.isEmpty()) return true;
    // One append for the whole disc: a failure adds nothing rather than half a disc.
    if (!Cp950::appendTextFile(path, Cp950::joinCrLf(lines))) return false;
    musicCount = count;
    return true;
}
