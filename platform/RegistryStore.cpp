#include "RegistryStore.h"

#include "Cp950.h"
#include "ProfileFile.h"
#include "SystemPaths.h"

#include <QFile>

namespace {

// The unnamed default value of a key.
const QString DefaultValueName = QStringLiteral("@");
// Values that a quoted line can't hold exactly (line breaks, characters outside code page
// 950) are kept as the hex of their UTF-8 bytes.
const QString EncodedMark = QStringLiteral("utf8:");

QString sectionOf(uint32_t root, const QString& keyPath) {
    QString path = keyPath;
    path.replace(u'/', u'\\');
    while (path.startsWith(u'\\')) path.remove(0, 1);
    while (path.endsWith(u'\\')) path.chop(1);
    const QString rootText = RegistryStore::rootName(root);
    return path.isEmpty() ? rootText : rootText + u'\\' + path;
}

QString entryName(const QString& valueName) { return valueName.isEmpty() ? DefaultValueName : valueName; }

bool fitsOnAQuotedLine(const QString& value) {
    return !value.contains(u'\r') && !value.contains(u'\n') && Cp950::decode(Cp950::encode(value)) == value;
}

// Quotes keep blanks at either end and quotes inside exactly as they are.
QString storedForm(const QString& value) {
    if (!fitsOnAQuotedLine(value)) return EncodedMark + QString::fromLatin1(value.toUtf8().toHex());
    return u'"' + value + u'"';
}

QString valueOfStored(const QString& raw) {
    if (raw.startsWith(EncodedMark)) return QString::fromUtf8(QByteArray::fromHex(raw.mid(EncodedMark.size()).toLatin1()));
    if (raw.size() >= 2 && raw.front() == u'"' && raw.back() == u'"') return raw.mid(1, raw.size() - 2);
    return raw;  // written by hand, without quotes
}

}  // namespace

namespace RegistryStore {

QString rootName(uint32_t root) {
    switch (root) {
    case ClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    case CurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
    case LocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case Users: return QStringLiteral("HKEY_USERS");
    default: return QString();
    }
}

bool setString(uint32_t root, const QString& keyPath, const QString& valueName, const QString& value) {
    if (rootName(root).isEmpty() || valueName.contains(u'=')) return false;
    const QString file = SystemPaths::RegistryFile();
    if (!SystemPaths::ensureFolder(SystemPaths::ConfigFolder())) return false;
    ProfileDocument doc;
    if (!doc.load(file) && QFile::exists(file)) return false;
    doc.setValue(sectionOf(root, keyPath), entryName(valueName), storedForm(value));
    return doc.save(file);
}

std::optional<QString> getString(uint32_t root, const QString& keyPath, const QString& valueName) {
    if (rootName(root).isEmpty()) return std::nullopt;
    ProfileDocument doc;
    if (!doc.load(SystemPaths::RegistryFile())) return std::nullopt;
    std::optional<QString> raw = doc.rawValue(sectionOf(root, keyPath), entryName(valueName));
    if (!raw) return std::nullopt;
    return valueOfStored(*raw);
}

bool keyExists(uint32_t root, const QString& keyPath) {
    if (rootName(root).isEmpty()) return false;
    ProfileDocument doc;
    if (!doc.load(SystemPaths::RegistryFile())) return false;
    const QString wanted = sectionOf(root, keyPath);
    for (const QString& s : doc.sections())
        if (s.compare(wanted, Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace RegistryStore
