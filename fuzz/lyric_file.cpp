// Timed lyric files: the loader, then the due-line rule at a few play times, checked and
// not, as the player and the lyric timer run it.

#include "FieldReader.h"
#include "FuzzSupport.h"
#include "ModSongList.h"

#include <QStringList>

namespace {

// The lyric list as a plain list that insists on indices within it.
class CheckedList : public LyricList
{
public:
    int count() const override { return int(items.size()); }
    QString item(int index) const override
    {
        Fuzz::require(index >= 0 && index < items.size(), "lyric lines are asked for within the list");
        return items.at(index);
    }
    void clear() override { items.clear(); current = -1; }
    void addItem(const QString &text) override { items << text; }
    int currentIndex() const override { return current; }
    void setCurrentIndex(int index) override
    {
        Fuzz::require(index >= 0 && index < items.size(), "the selection stays within the list");
        current = index;
    }

    QStringList items;
    int current = -1;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::scratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckedList list;
    ReadLyric(list, Fuzz::writeInput(data, size, QStringLiteral("song.txt")));
    for (const QString &time : {QStringLiteral("00:00:00"), QStringLiteral("01:23:45"), QStringLiteral("99:59:99")}) {
        const DueLine due = ChkLyric(list, true, time);
        Fuzz::require(due.kind != DueLine::Line || (due.index >= 1 && due.index < list.count()),
                      "the due line is a line of the list");
        ChkLyric(list, false, time, SelectionPolicy::Keep);
    }
    return 0;
}
