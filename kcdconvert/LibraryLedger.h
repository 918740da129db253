#pragma once

#include <QMap>
#include <QString>

// Which KCD file wrote what in one folder of the song library, kept in a hidden
// file of that folder: the folder itself, when it is named after a file, and
// every song written under a stand-in name. Converting a file again can then
// replace its own songs and never another file's.
class LibraryLedger
{
public:
    // Reads the ledger of the folder; a missing or damaged one records nothing.
    explicit LibraryLedger(const QString& folder);

    // The owner recorded for an entry (a song file's name, or FolderEntry); "" when none.
    QString ownerOf(const QString& entry) const { return m_owners.value(entry); }
    // The entry recorded for the owner; "" when none.
    QString entryOf(const QString& owner) const { return m_owners.key(owner); }
    // Records the entry's owner and writes the ledger; false when it could not be written.
    bool record(const QString& entry, const QString& owner);

    // The entry that stands for the folder itself.
    static inline const QString FolderEntry = QStringLiteral(".");

private:
    QString m_path;
    QMap<QString, QString> m_owners;
};
