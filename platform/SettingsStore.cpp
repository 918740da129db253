#include "SettingsStore.h"

#include <QSettings>

namespace {

// The stored key that matches without regard to case, or the key itself.
QString storedKey(QSettings& settings, const QString& key) {
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

QString get(const QString& company, const QString& product, const QString& key,
            const QString& defaultValue) {
    QSettings settings(company, product);
    settings.sync();  // pick up what another program wrote meanwhile
    const QString k = storedKey(settings, key);
    if (!settings.contains(k)) return defaultValue;
    const QVariant value = settings.value(k);
    // A text with commas written by another tool may come back as a list: join it again.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
    return value.toString();
}

bool set(const QString& company, const QString& product, const QString& key, const QString& value) {
    QSettings settings(company, product);
    const QString k = storedKey(settings, key);
    settings.setValue(k, value);
    return saved(settings);
}

bool remove(const QString& company, const QString& product, const QString& key) {
    QSettings settings(company, product);
    settings.remove(storedKey(settings, key));
    return saved(settings);
}

QStringList keys(const QString& company, const QString& product) {
    QSettings settings(company, product);
    settings.sync();
    return settings.childKeys();
}

QString fileName(const QString& company, const QString& product) {
    return QSettings(company, product).fileName();
}

}  // namespace SettingsStore
