// Play lists: a list file read into the play-list editor's rows, and the text it is saved as.

#include "Cp950.h"
#include "FuzzSupport.h"
#include "ListRows.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::scratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    bool ok = false;
    const QString text = Cp950::readTextFile(Fuzz::writeInput(data, size, QStringLiteral("songs.lst")), &ok);
    Fuzz::require(ok, "a file that is there is read");
    QVector<ListRow> rows = ListRows::RowsOfListFile(text);
    const int count = rows.size();
    Fuzz::require(ListRows::FullPaths(rows).size() == count, "every row has its path");
    ListRows::ListFileText(rows);
    // The editor's commands on the rows read, every other one selected.
    for (int i = 0; i < count; i += 2)
        rows[i].selected = true;
    ListRows::MoveUp(rows);
    ListRows::MoveDown(rows);
    Fuzz::require(rows.size() == count, "moving rows keeps them all");
    ListRows::RemoveSelected(rows);
    return 0;
}
