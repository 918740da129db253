#include "LibraryLedger.h"

#include "SafeFile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {
const QString kLedgerName = QStringLiteral(".Harlune-sources.json");
}

LibraryLedger::LibraryLedger(const QString& folder)
    : m_path(folder + u'/' + kLedgerName)
{
    const QJsonObject owners = QJsonDocument::fromJson(SafeFile::read(m_path)).object();
    for (auto it = owners.begin(); it != owners.end(); ++it)
        m_owners.insert(it.key(), it.value().toString());
}

bool LibraryLedger::record(const QString& entry, const QString& owner)
{
    if (m_owners.value(entry) == owner)
        return true;
    m_owners.insert(entry, owner);
    QJsonObject owners;
    for (auto it = m_owners.cbegin(); it != m_owners.cend(); ++it)
        owners.insert(it.key(), it.value());
    // Not synced song by song, as the song files themselves.
    return SafeFile::write(m_path, QJsonDocument(owners).toJson(), false);
}
