#include "DirSearch.h"

#include <QDir>
#include <QFileInfo>

#include <Drives.h>

#include <algorithm>

namespace DirSearch {

bool HasWildcard(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

namespace {

// Glob match with backtracking on the last "*": linear for the patterns in use.
bool globMatch(const QString& text, const QString& glob) {
    int t = 0, g = 0, starG = -1, starT = 0;
    while (t < text.size()) {
        if (g < glob.size() && (glob[g] == QLatin1Char('?') || glob[g] == text[t])) {
            ++t;
            ++g;
        } else if (g < glob.size() && glob[g] == QLatin1Char('*')) {
            starG = g++;
            starT = t;
        } else if (starG >= 0) {
            g = starG + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob[g] == QLatin1Char('*')) ++g;
    return g == glob.size();
}

bool isHidden(const QString& name) { return name.startsWith(QLatin1Char('.')); }

QString parentOf(const QString& path) {
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString joined(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool isKind(const QFileInfo& info, int kinds) {
    if (info.isDir()) return kinds & Folders;
    return (kinds & Files) && info.exists();
}

}  // namespace

bool Matches(const QString& name, const QString& pattern) {
    if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) return true;
    return globMatch(name.toCaseFolded(), pattern.toCaseFolded());
}

QStringList SplitPatterns(const QString& joinedPatterns) {
    QStringList patterns;
    for (const QString& part : joinedPatterns.split(QLatin1Char(';'))) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty()) patterns << trimmed;
    }
    return patterns;
}

bool MatchesAny(const QString& name, const QStringList& patterns) {
    if (patterns.isEmpty()) return true;
    return std::any_of(patterns.begin(), patterns.end(), [&](const QString& p) { return Matches(name, p); });
}

QString ResolveCase(const QString& path) {
    if (path.isEmpty() || QFileInfo::exists(path)) return path;
    const bool absolute = path.startsWith(QLatin1Char('/'));
    QString resolved = absolute ? QStringLiteral("/") : QString();
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QString exact = resolved.isEmpty() ? part : joined(resolved, part);
        if (QFileInfo::exists(exact)) {
            resolved = exact;
            continue;
        }
        const QDir folder(resolved.isEmpty() ? QStringLiteral(".") : resolved);
        const QStringList entries = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const QString& e) { return e.compare(part, Qt::CaseInsensitive) == 0; });
        if (it == entries.end()) return path;
        resolved = resolved.isEmpty() ? *it : joined(resolved, *it);
    }
    if (path.endsWith(QLatin1Char('/')) && !resolved.endsWith(QLatin1Char('/'))) resolved += QLatin1Char('/');
    return resolved;
}

QStringList Names(const QString& folder, const QStringList& patterns, int kinds) {
    QDir::Filters filters = QDir::NoDotAndDotDot;
    if (kinds & Files) filters |= QDir::Files;
    if (kinds & Folders) filters |= QDir::Dirs;
    const QDir dir(ResolveCase(folder));
    QStringList names;
    for (const QString& name : dir.entryList(filters)) {
        if (!isHidden(name) && MatchesAny(name, patterns)) names << name;
    }
    SortByName(names);
    return names;
}

void SortByName(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}

std::optional<Found> First(const QString& path, int kinds) {
    if (path.isEmpty()) return std::nullopt;
    if (path.endsWith(QLatin1Char('/'))) {
        const QString folder = ResolveCase(path);
        if (!QFileInfo(folder).isDir()) return std::nullopt;
        const QString clean = QDir::cleanPath(folder);
        const bool driveRoot = clean == Drives::RootOf(clean);
        if ((kinds & Folders) && !driveRoot) return Found{QStringLiteral("."), QString(), true};
        const QStringList names = Names(folder, {}, kinds);
        if (names.isEmpty()) return std::nullopt;
        const QString full = joined(clean, names.first());
        return Found{names.first(), full, QFileInfo(full).isDir()};
    }
    const QString folder = parentOf(path);
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (HasWildcard(name)) {
        const QStringList names = Names(folder, {name}, kinds);
        if (names.isEmpty()) return std::nullopt;
        const QString full = joined(ResolveCase(folder), names.first());
        return Found{names.first(), full, QFileInfo(full).isDir()};
    }
    if (isHidden(name)) return std::nullopt;
    const QString full = ResolveCase(path);
    const QFileInfo info(full);
    if (!info.exists() || !isKind(info, kinds)) return std::nullopt;
    return Found{info.fileName(), full, info.isDir()};
}

}  // namespace DirSearch
