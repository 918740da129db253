#include "ProfileFile.h"

#include "Cp950.h"
#include "SafeFile.h"
#include "SystemPaths.h"

#include <QFile>
#include <QHash>
#include <QMutex>

#include <sys/stat.h>

namespace {

bool isProfileBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString trimBlanks(const QString& text) {
    int start = 0;
    int end = static_cast<int>(text.size());
    while (start < end && isProfileBlank(text[start])) ++start;
    while (end > start && isProfileBlank(text[end - 1])) --end;
    return text.mid(start, end - start);
}

// The section name of a "[name]" line, or no value when the line is no section header.
std::optional<QString> sectionName(const QString& line) {
    const QString t = trimBlanks(line);
    if (!t.startsWith(u'[')) return std::nullopt;
    int close = static_cast<int>(t.indexOf(u']'));
    QString name = close < 0 ? t.mid(1) : t.mid(1, close - 1);
    return trimBlanks(name);
}

// The key of a "key=value" line, or no value when the line has no "=".
std::optional<QString> keyName(const QString& line) {
    int eq = static_cast<int>(line.indexOf(u'='));
    if (eq < 0) return std::nullopt;
    return trimBlanks(line.left(eq));
}

QString valueOf(const QString& line) {
    QString v = trimBlanks(line.mid(line.indexOf(u'=') + 1));
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

// A value as it is written after "key=": reading trims blanks and takes off one pair of
// enclosing quotes, so a value that would lose blanks or quotes that way is quoted.
QString storedValue(const QString& value) {
    const bool loosesBlanks = !value.isEmpty() && (isProfileBlank(value.front()) || isProfileBlank(value.back()));
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                        value.back() == value.front();
    return loosesBlanks || quoted ? u'"' + value + u'"' : value;
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A line break inside a value, key or section name would split the entry on the next read.
QString oneLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// Parsed files kept while the file on disk is unchanged, so that a reader asking for many
// entries of one file decodes it once.
struct CachedDocument {
    qint64 size = -1;
    qint64 mtimeNs = -1;
    quint64 inode = 0;
    ProfileDocument document;
};

struct FileStamp {
    qint64 size = -1;
    qint64 mtimeNs = -1;
    quint64 inode = 0;
    bool exists = false;
};

FileStamp stampOf(const QString& path) {
    struct stat st {};
    FileStamp stamp;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return stamp;
    stamp.exists = true;
    stamp.size = st.st_size;
    stamp.mtimeNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    stamp.inode = st.st_ino;
    return stamp;
}

QHash<QString, CachedDocument>& cache() {
    static QHash<QString, CachedDocument> c;
    return c;
}

// Readers on worker threads (batch conversions) share the cache with the user interface.
QMutex& cacheLock() {
    static QMutex m;
    return m;
}

void remember(const QString& path, const ProfileDocument& doc) {
    QMutexLocker lock(&cacheLock());
    FileStamp stamp = stampOf(path);
    if (!stamp.exists) {
        cache().remove(path);
        return;
    }
    if (cache().size() > 64) cache().clear();
    cache().insert(path, CachedDocument{stamp.size, stamp.mtimeNs, stamp.inode, doc});
}

// The document of the file; false when the file is missing or unreadable.
bool loadDocument(const QString& path, ProfileDocument& doc) {
    {
        QMutexLocker lock(&cacheLock());
        FileStamp stamp = stampOf(path);
        if (!stamp.exists) {
            cache().remove(path);
            return false;
        }
        auto it = cache().constFind(path);
        if (it != cache().constEnd() && it->size == stamp.size && it->mtimeNs == stamp.mtimeNs &&
            it->inode == stamp.inode) {
            doc = it->document;
            return true;
        }
    }
    if (!doc.load(path)) return false;
    remember(path, doc);
    return true;
}

}  // namespace

bool ProfileDocument::load(const QString& path) {
    lines_.clear();
    utf8_ = false;
    bool ok = false;
    QByteArray bytes = SafeFile::read(path, &ok);
    if (!ok) return false;
    utf8_ = Cp950::hasUtf8Bom(bytes);
    lines_ = Cp950::splitLines(utf8_ ? QString::fromUtf8(bytes.mid(3)) : Cp950::decode(bytes));
    return true;
}

bool ProfileDocument::save(const QString& path) const {
    const QString text = Cp950::joinCrLf(lines_);
    const QByteArray bytes = utf8_ ? QByteArray("\xEF\xBB\xBF") + text.toUtf8() : Cp950::encode(text);
    return SafeFile::write(path, bytes);
}

ProfileDocument::Found ProfileDocument::find(const QString& section, const QString& key) const {
    Found f;
    const QString wantedSection = trimBlanks(section);
    const QString wantedKey = trimBlanks(key);
    for (int i = 0; i < lines_.size(); ++i) {
        std::optional<QString> name = sectionName(lines_[i]);
        if (name) {
            if (f.sectionLine >= 0) {
                f.sectionEnd = i;
                return f;
            }
            if (sameName(*name, wantedSection)) f.sectionLine = i;
            continue;
        }
        if (f.sectionLine < 0 || f.keyLine >= 0 || key.isNull()) continue;
        std::optional<QString> k = keyName(lines_[i]);
        if (k && sameName(*k, wantedKey)) f.keyLine = i;
    }
    if (f.sectionLine >= 0) f.sectionEnd = static_cast<int>(lines_.size());
    return f;
}

std::optional<QString> ProfileDocument::value(const QString& section, const QString& key) const {
    Found f = find(section, key);
    if (f.keyLine < 0) return std::nullopt;
    return valueOf(lines_[f.keyLine]);
}

std::optional<QString> ProfileDocument::rawValue(const QString& section, const QString& key) const {
    Found f = find(section, key);
    if (f.keyLine < 0) return std::nullopt;
    const QString& line = lines_[f.keyLine];
    return trimBlanks(line.mid(line.indexOf(u'=') + 1));
}

void ProfileDocument::setValue(const QString& section, const QString& key, const QString& value) {
    Found f = find(section, key);
    const QString cleanValue = oneLine(value);
    if (f.keyLine >= 0) {
        lines_[f.keyLine] = *keyName(lines_[f.keyLine]) + u'=' + cleanValue;
        return;
    }
    const QString line = trimBlanks(oneLine(key)) + u'=' + cleanValue;
    if (f.sectionLine < 0) {
        lines_ << u'[' + trimBlanks(oneLine(section)) + u']' << line;
        return;
    }
    // After the section's last non-blank line, so blank lines between sections stay put.
    int insertAt = f.sectionEnd;
    while (insertAt - 1 > f.sectionLine && trimBlanks(lines_[insertAt - 1]).isEmpty()) --insertAt;
    lines_.insert(insertAt, line);
}

void ProfileDocument::setText(const QString& section, const QString& key, const QString& text) {
    setValue(section, key, storedValue(oneLine(text)));
}

void ProfileDocument::setValues(const QString& section, const QList<std::pair<QString, QString>>& values) {
    Found f = find(section, QString());
    if (f.sectionLine < 0) {
        lines_ << u'[' + trimBlanks(oneLine(section)) + u']';
        f.sectionEnd = static_cast<int>(lines_.size());
        f.sectionLine = f.sectionEnd - 1;
    }
    // The line of each key already in the section (its first), and of each key added here.
    QHash<QString, int> lineOf;
    for (int i = f.sectionLine + 1; i < f.sectionEnd; ++i)
        if (std::optional<QString> k = keyName(lines_[i]); k && !lineOf.contains(k->toCaseFolded()))
            lineOf.insert(k->toCaseFolded(), i);
    QStringList added;
    for (const auto& [key, value] : values) {
        const QString name = trimBlanks(oneLine(key));
        const QString folded = name.toCaseFolded();
        const auto at = lineOf.constFind(folded);
        if (at == lineOf.constEnd()) {
            lineOf.insert(folded, -1 - static_cast<int>(added.size()));  // below 0: among the added
            added << name + u'=' + oneLine(value);
        } else if (*at >= 0) {
            lines_[*at] = *keyName(lines_[*at]) + u'=' + oneLine(value);
        } else {
            added[-1 - *at] = name + u'=' + oneLine(value);
        }
    }
    // After the section's last non-blank line, as setValue adds them.
    int insertAt = f.sectionEnd;
    while (insertAt - 1 > f.sectionLine && trimBlanks(lines_[insertAt - 1]).isEmpty()) --insertAt;
    lines_ = lines_.mid(0, insertAt) + added + lines_.mid(insertAt);
}

void ProfileDocument::setTexts(const QString& section, const QList<std::pair<QString, QString>>& texts) {
    QList<std::pair<QString, QString>> values;
    values.reserve(texts.size());
    for (const auto& [key, text] : texts) values.append({key, storedValue(oneLine(text))});
    setValues(section, values);
}

void ProfileDocument::removeKey(const QString& section, const QString& key) {
    Found f = find(section, key);
    if (f.keyLine >= 0) lines_.removeAt(f.keyLine);
}

void ProfileDocument::removeSection(const QString& section) {
    Found f = find(section, QString());
    if (f.sectionLine < 0) return;
    lines_.erase(lines_.begin() + f.sectionLine, lines_.begin() + f.sectionEnd);
}

QStringList ProfileDocument::sections() const {
    QStringList names;
    for (const QString& line : lines_)
        if (std::optional<QString> name = sectionName(line)) names << *name;
    return names;
}

QStringList ProfileDocument::keys(const QString& section) const {
    QStringList names;
    Found f = find(section, QString());
    if (f.sectionLine < 0) return names;
    for (int i = f.sectionLine + 1; i < f.sectionEnd; ++i)
        if (std::optional<QString> k = keyName(lines_[i]); k && !k->isEmpty()) names << *k;
    return names;
}

QList<std::pair<QString, QString>> ProfileDocument::entries(const QString& section) const {
    QList<std::pair<QString, QString>> result;
    Found f = find(section, QString());
    if (f.sectionLine < 0) return result;
    for (int i = f.sectionLine + 1; i < f.sectionEnd; ++i)
        if (std::optional<QString> k = keyName(lines_[i]); k && !k->isEmpty()) result.append({*k, valueOf(lines_[i])});
    return result;
}

namespace ProfileFile {

QString resolve(const QString& path) {
    if (path.isEmpty() || path.contains(u'/')) return path;
    return SystemPaths::WindowsFolder() + u'/' + path;
}

QString getString(const QString& filePath, const QString& section, const QString& key,
                  const QString& defaultValue, int bufferSize) {
    const QString path = resolve(filePath);
    ProfileDocument doc;
    if (!loadDocument(path, doc)) return defaultValue;
    std::optional<QString> v = doc.value(section, key);
    if (!v) return defaultValue;
    return Cp950::cutToBytes(*v, bufferSize - 1);
}

bool writeString(const QString& filePath, const QString& section, const QString& key, const QString& value) {
    const QString path = resolve(filePath);
    if (path.isEmpty() || trimBlanks(section).isEmpty() || trimBlanks(key).isEmpty()) return false;
    ProfileDocument doc;
    if (!loadDocument(path, doc) && QFile::exists(path)) return false;  // unreadable: keep it
    doc.setText(section, key, value);
    if (!doc.save(path)) return false;
    remember(path, doc);
    return true;
}

bool deleteKey(const QString& filePath, const QString& section, const QString& key) {
    const QString path = resolve(filePath);
    ProfileDocument doc;
    if (!loadDocument(path, doc)) return false;
    doc.removeKey(section, key);
    if (!doc.save(path)) return false;
    remember(path, doc);
    return true;
}

bool deleteSection(const QString& filePath, const QString& section) {
    const QString path = resolve(filePath);
    ProfileDocument doc;
    if (!loadDocument(path, doc)) return false;
    doc.removeSection(section);
    if (!doc.save(path)) return false;
    remember(path, doc);
    return true;
}

QStringList sections(const QString& filePath) {
    const QString path = resolve(filePath);
    ProfileDocument doc;
    return loadDocument(path, doc) ? doc.sections() : QStringList();
}

QStringList keys(const QString& filePath, const QString& section) {
    const QString path = resolve(filePath);
    ProfileDocument doc;
    return loadDocument(path, doc) ? doc.keys(section) : QStringList();
}

}  // namespace ProfileFile
