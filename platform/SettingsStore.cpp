#include "SettingsStore.h"

namespace {

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
