#pragma once

#include "EventPump.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// A KCD lyric file as the reader sees it: its fields in file order, counted from 0.
struct KcdDocument
{
    QStringList fields;
    bool opened = false;   // false when the file could not be opened at all
    bool complete = false; // false when reading stopped early (a damaged quoted field)
};

// Reads a KCD file (code page 950, or UTF-8 after a byte-order mark) into its fields.
KcdDocument ReadKcdDocument(const QString& path, const LetEventsRun& letEventsRun);

// Keeps the fields of the last file read, so that listing the songs of a file and
// then reading each song does not decode the file again; a file changed on disk
// since is read anew.
class KcdDocumentCache
{
public:
    const KcdDocument& load(const QString& path, const LetEventsRun& letEventsRun);
    // Counts the reads from disk: a listing taken at one count no longer fits the fields at another.
    int reads() const { return m_reads; }

private:
    QString m_path;
    QDateTime m_modified;
    qint64 m_size = -1;
    KcdDocument m_document;
    int m_reads = 0;
};
