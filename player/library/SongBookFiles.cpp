#include "SongBookFiles.h"

#include "Cp950.h"
#include "ProfileFile.h"

#include <QLocale>

namespace {

const QString kCdrom = QStringLiteral("CDROM");

int leadingNumber(const QString& text)
{
    const QString t = text.trimmed();
    int end = 0;
    while (end < t.size() && t.at(end).isDigit()) ++end;
    return t.left(end).toInt();
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
    QStringList result;
    for (int i = 1; i <= n; ++i) result << doc.value(discKey, QString::number(i)).value_or(QString());
    return result;
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
    doc.setValue(discKey, QStringLiteral("Title"), title);
    doc.setValue(discKey, QStringLiteral("DirNumbers"), QString::number(storedFolders.size()));
    for (int i = 0; i < storedFolders.size(); ++i)
        doc.setValue(discKey, QString::number(i + 1), storedFolders.at(i));
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
