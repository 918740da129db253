#include "SettingsStore.h"

#include "Leftovers.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QSet>

namespace {

// A save that was killed midway leaves its temporary copy behind, and nothing else ever
// removes it. Done under the lock that every save of the store holds while its copy exists,
// so that a save another program is making at this moment keeps its copy.
void removeSaveCopies(const QString& file) {
    const QFileInfo info(file);
    const QDir folder = info.absoluteDir();
    QStringList copies = folder.entryList({info.fileName() + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden);
    copies.removeIf([&](const QString& name) { return !Leftovers::isSaveCopyName(name, info.fileName()); });
    if (copies.isEmpty()) return;
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.tryLock(0)) return;  // a save is under way: next time
    for (const QString& name : copies) QFile::remove(folder.filePath(name));
}

// Once per file and run, at its first opening: the start of the program.
void removeSaveCopiesOnce(const QString& file) {
    static QMutex mutex;
    static QSet<QString> done;
    {
        const QMutexLocker locker(&mutex);
        if (done.contains(file)) return;
        done.insert(file);
    }
    removeSaveCopies(file);
}

// The stored key that matches without regard to case, or the key itself.
QString storedKey(const QSettings& settings, const QString& key) {
    if (settings.contains(key)) return key;
    const QStringList all = settings.childKeys();
    for (const QString& k : all)
        if (k.compare(key, Qt::CaseInsensitive) == 0) return k;
    return key;
}

// Written to the file now; a format fault in what was read before is no failure of the save.
bool saved(QSettings& settings) {
    settings.sync();
    return settings.status() != QSettings::AccessError;
}

}  // namespace

namespace SettingsStore {

Batch::Batch(const QString& company, const QString& product) : m_settings(company, product) {
    removeSaveCopiesOnce(m_settings.fileName());
    m_settings.sync();  // pick up what another program wrote meanwhile
}

QString Batch::get(const QString& key, const QString& defaultValue) {
    const QString k = storedKey(m_settings, key);
    if (!m_settings.contains(k)) return defaultValue;
    const QVariant value = m_settings.value(k);
    // A text with commas written by another tool may come back as a list: join it again.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
    return value.toString();
}

bool Batch::set(const QString& key, const QString& value) {
    m_settings.setValue(storedKey(m_settings, key), value);
    return saved(m_settings);
}

bool Batch::remove(const QString& key) {
    m_settings.remove(storedKey(m_settings, key));
    return saved(m_settings);
}

QStringList Batch::keys() const { return m_settings.childKeys(); }

QString Batch::fileName() const { return m_settings.fileName(); }

QString get(const QString& company, const QString& product, const QString& key,
            const QString& defaultValue) {
    return Batch(company, product).get(key, defaultValue);
}

bool set(const QString& company, const QString& product, const QString& key, const QString& value) {
    return Batch(company, product).set(key, value);
}

bool remove(const QString& company, const QString& product, const QString& key) {
    return Batch(company, product).remove(key);
}

QStringList keys(const QString& company, const QString& product) { return Batch(company, product).keys(); }

QString fileName(const QString& company, const QString& product) {
    return QSettings(company, product).fileName();
}

}  // namespace SettingsStore
