#include "KcdDocument.h"

#include "Cp950.h"
#include "FieldReader.h"

#include <QFileInfo>

KcdDocument ReadKcdDocument(const QString& path, const LetEventsRun& letEventsRun)
{
    KcdDocument document;
    const QString text = Cp950::readTextFile(path, &document.opened);
    if (!document.opened)
        return document;
    const FieldReadResult read = ReadFields(text);
    for (const QString& field : read.fields) {
        document.fields.append(field);
        if (letEventsRun)
            letEventsRun();
    }
    document.complete = read.complete;
    return document;
}

const KcdDocument& KcdDocumentCache::load(const QString& path, const LetEventsRun& letEventsRun)
{
    const QFileInfo info(path);
    const QDateTime modified = info.lastModified();
    const qint64 size = info.exists() ? info.size() : -1;
    const bool unchanged = path == m_path && modified == m_modified && size == m_size && m_document.opened;
    if (!unchanged) {
        m_document = ReadKcdDocument(path, letEventsRun);
        ++m_reads;
        m_path = path;
        m_modified = modified;
        m_size = size;
    }
    return m_document;
}
