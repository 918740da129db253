#pragma once
// Directory searches as the path helpers and list boxes need them: wildcard
// names ("*" and "?") matched without regard to case, names starting with "."
// hidden, results in name order.

#include <QString>
#include <QStringList>
#include <optional>

namespace DirSearch {

enum Kind { Files = 1, Folders = 2, FilesAndFolders = Files | Folders };

bool HasWildcard(const QString& name);
// One wildcard name against a file name, without regard to case; "*.*" matches every name.
bool Matches(const QString& name, const QString& pattern);
// Patterns joined by ";" ("*.jpg; *.bmp"); blanks around each are dropped, empty parts ignored.
QStringList SplitPatterns(const QString& joined);
bool MatchesAny(const QString& name, const QStringList& patterns);

// The existing path that Path names when its components are compared without
// regard to case ("/media/cd/MPEGAV" finds "/media/cd/mpegav"); Path itself
// when nothing matches. The exact spelling wins when it exists.
QString ResolveCase(const QString& path);

// Names of the visible entries of Folder of the given kinds that match any of
// Patterns (all when Patterns is empty), sorted by name without regard to case.
QStringList Names(const QString& folder, const QStringList& patterns, int kinds);
// Puts names in the order Names gives them (names equal but for case in a fixed order).
void SortByName(QStringList& names);

struct Found {
    QString name;  // as spelt in the folder
    QString path;  // full path of the entry ("" for the "." of a folder search)
    bool isFolder = false;
};

// The first entry that a directory search for Path finds. Path is a folder
// and a name, which may hold wildcards. A Path ending in "/" searches that
// folder: it gives "." for a folder that is not a drive root when folders are
// wanted, else the folder's first entry.
std::optional<Found> First(const QString& path, int kinds);

}  // namespace DirSearch
