#include "LyricEditor.h"

#include <QListWidget>
#include <gtest/gtest.h>

namespace {

class LyricEditorTest : public ::testing::Test
{
protected:
    void fill(int lines)
    {
        for (int i = 0; i < lines; ++i)
            list.addItem(QStringLiteral("line%1").arg(i));
    }
    QList<int> selected() const
    {
        QList<int> rows;
        for (int i = 0; i < list.count(); ++i)
            if (list.item(i)->isSelected())
                rows << i;
        return rows;
    }

    QListWidget list;
    LyricEditor editor{&list};

    void SetUp() override { list.setSelectionMode(QAbstractItemView::ExtendedSelection); }
};

} // namespace

TEST_F(LyricEditorTest, StampMovesToTheNextLineAloneSelected)
{
    fill(3);
    editor.setCurrent(0);
    editor.setSelected(2, true);
    editor.stampCurrent("00:12:34");
    EXPECT_EQ(list.item(0)->text(), "00:12:3line0");
    EXPECT_EQ(editor.currentIndex(), 1);
    EXPECT_FALSE(editor.isSelected(0));
    EXPECT_TRUE(editor.isSelected(1));
}

TEST_F(LyricEditorTest, StampOnTheLastLineKeepsIt)
{
    fill(2);
    editor.setCurrent(1);
    editor.stampCurrent("00:01:00");
    editor.stampCurrent("00:02:00");
    EXPECT_EQ(list.item(1)->text(), "00:02:0line1");
    EXPECT_EQ(editor.currentIndex(), 1);
    EXPECT_TRUE(editor.isSelected(1));
}

TEST_F(LyricEditorTest, CommandsWithoutACurrentLineChangeNothing)
{
    editor.stampCurrent("00:01:00");
    editor.insertBefore();
    editor.insertAfter();
    editor.shiftCurrent(50);
    editor.repeatSelected();
    editor.deleteSelected();
    editor.replaceCurrent("x");
    EXPECT_EQ(list.count(), 0);
    fill(2);
    editor.repeatSelected();  // nothing selected
    EXPECT_EQ(list.count(), 2);
}

TEST_F(LyricEditorTest, InsertBeforeAndAfterTheCurrentLine)
{
    fill(5);
    editor.setCurrent(3);
    editor.insertBefore();
    EXPECT_EQ(list.item(3)->text(), "");
    EXPECT_EQ(list.item(4)->text(), "line3");
    EXPECT_EQ(editor.currentIndex(), 3);
    EXPECT_EQ(selected(), QList<int>({3}));

    delete list.takeItem(3);
    editor.setCurrent(3);
    editor.insertAfter();
    EXPECT_EQ(list.item(3)->text(), "line3");
    EXPECT_EQ(list.item(4)->text(), "");
    EXPECT_EQ(editor.currentIndex(), 4);
    EXPECT_EQ(selected(), QList<int>({4}));
}

TEST_F(LyricEditorTest, DeleteRemovesExactlyTheSelectedLines)
{
    fill(7);
    editor.setCurrent(6);
    list.clearSelection();
    for (int i : {1, 2, 5})
        editor.setSelected(i, true);
    editor.deleteSelected();
    EXPECT_EQ(editor.lines(), QStringList({"line0", "line3", "line4", "line6"}));
    // The current line lay beyond the new end: the last line is current.
    EXPECT_EQ(editor.currentIndex(), 3);
    EXPECT_TRUE(editor.isSelected(3));
}

TEST_F(LyricEditorTest, DeleteEverythingLeavesNoCurrentLine)
{
    fill(2);
    editor.setCurrent(0);
    editor.setSelected(1, true);
    editor.deleteSelected();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(editor.currentIndex(), -1);
}

TEST_F(LyricEditorTest, RepeatAppendsCopiesAndMakesTheFirstCurrent)
{
    fill(6);
    list.clearSelection();
    editor.setSelected(2, true);
    editor.setSelected(4, true);
    editor.repeatSelected();
    ASSERT_EQ(list.count(), 8);
    EXPECT_EQ(list.item(6)->text(), "line2");
    EXPECT_EQ(list.item(7)->text(), "line4");
    EXPECT_EQ(editor.currentIndex(), 6);
    EXPECT_TRUE(editor.isSelected(6));
}

TEST_F(LyricEditorTest, ShiftAndReplaceWorkOnTheCurrentLine)
{
    list.addItem("00:59:7abc");
    list.addItem("");
    editor.setCurrent(0);
    editor.shiftCurrent(50);
    EXPECT_EQ(list.item(0)->text(), "01:00:2abc");
    editor.setCurrent(1);
    editor.shiftCurrent(-50);
    EXPECT_EQ(list.item(1)->text(), "");  // an empty line is left alone
    editor.replaceCurrent("01:00:0new");
    EXPECT_EQ(list.item(1)->text(), "01:00:0new");
    EXPECT_EQ(editor.currentText(), "01:00:0new");
}
