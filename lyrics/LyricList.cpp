#include "LyricList.h"

#include <QListWidget>

int ListWidgetLyricList::count() const { return m_list->count(); }

QString ListWidgetLyricList::item(int index) const
{
    const QListWidgetItem *entry = m_list->item(index);
    return entry ? entry->text() : QString();
}

void ListWidgetLyricList::clear() { m_list->clear(); }

void ListWidgetLyricList::addItem(const QString &text) { m_list->addItem(text); }

int ListWidgetLyricList::currentIndex() const { return m_list->currentRow(); }

void ListWidgetLyricList::setCurrentIndex(int index)
{
    m_list->setCurrentRow(index);
    // Selecting a row scrolls it into view; the due-line rule relies on that to
    // keep the line after the due one visible.
    if (QListWidgetItem *entry = m_list->item(index))
        m_list->scrollToItem(entry);
}
