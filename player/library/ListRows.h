#pragma once
// The rows of the play-list editor as plain values, with the editor's reordering commands.

#include <QString>
#include <QStringList>
#include <QVector>

struct ListRow
{
    QString name;    // the file name
    QString folder;  // the file's folder
    bool selected = false;

    bool operator==(const ListRow&) const = default;
};

namespace ListRows {

// "上移": from the first row down, each selected row changes places with the row above,
// carrying its selection; a selected first row stops the whole scan.
void MoveUp(QVector<ListRow>& rows);
// "下移": the mirror, from the last row up.
void MoveDown(QVector<ListRow>& rows);
// "最上": the selected rows, in their order, go to the top, unselected.
void MoveTop(QVector<ListRow>& rows);
// "最下": the selected rows, in their order, go to the bottom, unselected.
void MoveBottom(QVector<ListRow>& rows);
// "< 刪除(Del)": every selected row goes.
void RemoveSelected(QVector<ListRow>& rows);

// The full path of each row (folder and name without a doubled "/").
QStringList FullPaths(const QVector<ListRow>& rows);

// The full paths that a list file cannot hold: code page 950 lacks one of their characters.
QStringList PathsLackingInCp950(const QVector<ListRow>& rows);

// A list file's text: one full path per line, CR LF.
QString ListFileText(const QVector<ListRow>& rows);
// The rows of a list file's text: each comma-delimited input field is one entry.
QVector<ListRow> RowsOfListFile(const QString& text);

}  // namespace ListRows
