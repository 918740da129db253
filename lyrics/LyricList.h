#pragma once

#include <QString>

class QListWidget;

// The lyric list as the lyric routines see it: the main window's SongList in the
// player, the editor's list in the lyric timer, a plain vector in tests.
class LyricList
{
public:
    virtual ~LyricList() = default;
    virtual int count() const = 0;
    virtual QString item(int index) const = 0;
    virtual void clear() = 0;
    virtual void addItem(const QString &text) = 0;
    // -1 when nothing is selected
    virtual int currentIndex() const = 0;
    virtual void setCurrentIndex(int index) = 0;
};

// Adapter over a list box widget.
class ListWidgetLyricList : public LyricList
{
public:
    explicit ListWidgetLyricList(QListWidget *list) : m_list(list) {}
    int count() const override;
    QString item(int index) const override;
    void clear() override;
    void addItem(const QString &text) override;
    int currentIndex() const override;
    void setCurrentIndex(int index) override;

private:
    QListWidget *m_list;
};
