#pragma once
// The per-user settings store: string values under a company and product name, in Qt's
// native format (on Linux $XDG_CONFIG_HOME/<company>/<product>.conf), keys at top level.
// The first opening of a file in a run removes the temporary copies that saves killed
// midway left beside it ("<product>.conf.XXXXXX").

#include <QSettings>
#include <QString>
#include <QStringList>

namespace SettingsStore {

// The store opened once for a run of reads and writes that belong together (a dialog
// reading all of its options): the file is read when the batch opens, not once per key,
// and each write is saved at once. What this program writes meanwhile through other
// calls is seen; what another program writes is seen by the next batch.
class Batch
{
public:
    Batch(const QString& company, const QString& product);

    // A key written with another case is found too (the store of the original system
    // ignores case).
    QString get(const QString& key, const QString& defaultValue);
    // False when the store could not be saved (a full disk, a folder that can't be written):
    // the value is then not kept, and the file holds what it held before.
    bool set(const QString& key, const QString& value);
    bool remove(const QString& key);
    QStringList keys() const;
    QString fileName() const;

private:
    QSettings m_settings;
};

// One call, one batch: every call goes to the file.
QString get(const QString& company, const QString& product, const QString& key,
            const QString& defaultValue);
bool set(const QString& company, const QString& product, const QString& key,
         const QString& value);
bool remove(const QString& company, const QString& product, const QString& key);
QStringList keys(const QString& company, const QString& product);
// The file that holds the store.
QString fileName(const QString& company, const QString& product);

}  // namespace SettingsStore
