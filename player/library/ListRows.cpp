#include "ListRows.h"

#include "Cp950.h"
#include "Cp950Fit.h"
#include "FieldReader.h"
#include "ModFiles.h"

#include <utility>

namespace {

// Moves the selected rows, in order and unselected, to one end of the list.
void moveSelectedToEnd(QVector<ListRow>& rows, bool toTop)
{
    QVector<ListRow> moved;
    QVector<ListRow> rest;
    for (ListRow row : rows) {
        if (row.selected) {
            row.selected = false;
            moved << row;
        } else {
            rest << row;
        }
    }
    rows = toTop ? moved + rest : rest + moved;
}

// The folder of a list line: the text before its last "/". (The folder rule for names
// with an extension would take a whole path without "." for a folder, and every save
// would then add the name again.)
QString folderOf(const QString& field)
{
    const int slash = field.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? GetFilePath(field) : field.left(slash);
}

}  // namespace

void ListRows::MoveUp(QVector<ListRow>& rows)
{
    for (int i = 0; i < rows.size(); ++i) {
        if (!rows.at(i).selected) continue;
        if (i == 0) return;
        std::swap(rows[i], rows[i - 1]);
    }
}

void ListRows::MoveDown(QVector<ListRow>& rows)
{
    for (int i = rows.size() - 1; i >= 0; --i) {
        if (!rows.at(i).selected) continue;
        if (i == rows.size() - 1) return;
        std::swap(rows[i], rows[i + 1]);
    }
}

void ListRows::MoveTop(QVector<ListRow>& rows) { moveSelectedToEnd(rows, true); }

void ListRows::MoveBottom(QVector<ListRow>& rows) { moveSelectedToEnd(rows, false); }

void ListRows::RemoveSelected(QVector<ListRow>& rows)
{
    rows.removeIf([](const ListRow& row) { return row.selected; });
}

QStringList ListRows::FullPaths(const QVector<ListRow>& rows)
{
    QStringList paths;
    for (const ListRow& row : rows) paths << AddPath(row.folder, row.name);
    return paths;
}

QStringList ListRows::PathsLackingInCp950(const QVector<ListRow>& rows)
{
    return TextsCp950CannotHold(FullPaths(rows));
}

QString ListRows::ListFileText(const QVector<ListRow>& rows)
{
    return Cp950::joinCrLf(FullPaths(rows));
}

QVector<ListRow> ListRows::RowsOfListFile(const QString& text)
{
    QVector<ListRow> rows;
    for (const QString& field : ReadFields(text).fields) {
        if (field.isEmpty()) continue;  // blank lines are no entries
        rows.append({GetFileName(field), folderOf(field), false});
    }
    return rows;
}
