#pragma once
// The per-user settings store: string values under a company and product name, in Qt's
// native format (on Linux $XDG_CONFIG_HOME/<company>/<product>.conf), keys at top level.

#include <QString>
#include <QStringList>

namespace SettingsStore {

// Every call goes to the store; nothing is kept between calls. A key written with another
// case is found too (the store of the original system ignores case).
QString get(const QString& company, const QString& product, const QString& key,
            const QString& defaultValue);
// False when the store could not be saved (a full disk, a folder that can't be written): the
// value is then not kept, and the file holds what it held before.
bool set(const QString& company, const QString& product, const QString& key,
         const QString& value);
bool remove(const QString& company, const QString& product, const QString& key);
QStringList keys(const QString& company, const QString& product);
// The file that holds the store.
QString fileName(const QString& company, const QString& product);

}  // namespace SettingsStore
