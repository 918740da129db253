#pragma once

#include <QString>
#include <QStringList>

class QListWidget;

// The editing commands of the lyric list (a multi-selection list box: every
// line has a selected state, one line is the current line). Each command keeps
// the list unchanged when it has no line to work on.
class LyricEditor
{
public:
    explicit LyricEditor(QListWidget *list) : m_list(list) {}

    // "記錄時間": stamps the current line with the play time; unless it is
    // the last line, it is deselected and the next line becomes current and
    // selected.
    void stampCurrent(const QString &playTimeText);
    // "減0.5秒" / "加0.5秒": moves the current line's stamp.
    void shiftCurrent(int deltaHundredths);
    // "插入前" / "插入後": an empty line before or after the current line,
    // which becomes current and selected.
    void insertBefore();
    void insertAfter();
    // "刪除": removes every selected line; the current line stays at its
    // place, or moves to the last line when the list got shorter than that.
    void deleteSelected();
    // "重複歌詞": appends copies of the selected lines in order; the first copy
    // becomes current and selected.
    void repeatSelected();
    // Enter in the edit box: the current line becomes exactly this text.
    void replaceCurrent(const QString &text);
    // The current line's whole text ("" when none).
    QString currentText() const;

    QStringList lines() const;
    int currentIndex() const;
    void setCurrent(int index);  // makes the line current and selects it
    void setSelected(int index, bool on);
    bool isSelected(int index) const;

private:
    bool hasCurrent() const;
    void insertEmptyAt(int index);

    QListWidget *m_list;
};
