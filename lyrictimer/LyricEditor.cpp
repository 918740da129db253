#include "LyricEditor.h"

#include "LyricStamp.h"

#include <QItemSelectionModel>
#include <QListWidget>

QStringList LyricEditor::lines() const
{
    QStringList all;
    for (int i = 0; i < m_list->count(); ++i)
        all << m_list->item(i)->text();
    return all;
}

int LyricEditor::currentIndex() const { return m_list->currentRow(); }

bool LyricEditor::hasCurrent() const
{
    const int i = currentIndex();
    return i >= 0 && i < m_list->count();
}

void LyricEditor::setCurrent(int index)
{
    // Moving the current line leaves the other lines' selection alone.
    m_list->setCurrentRow(index, QItemSelectionModel::NoUpdate);
    setSelected(index, true);
    if (QListWidgetItem *item = m_list->item(index))
        m_list->scrollToItem(item);
}

void LyricEditor::setSelected(int index, bool on)
{
    if (QListWidgetItem *item = m_list->item(index))
        item->setSelected(on);
}

bool LyricEditor::isSelected(int index) const
{
    const QListWidgetItem *item = m_list->item(index);
    return item && item->isSelected();
}

QString LyricEditor::currentText() const
{
    return hasCurrent() ? m_list->item(currentIndex())->text() : QString();
}

void LyricEditor::stampCurrent(const QString &playTimeText)
{
    if (!hasCurrent())
        return;
    const int i = currentIndex();
    QListWidgetItem *item = m_list->item(i);
    item->setText(LyricStamp::stampLine(item->text(), playTimeText));
    if (i + 1 < m_list->count()) {
        setSelected(i, false);
        setCurrent(i + 1);
    }
}

void LyricEditor::shiftCurrent(int deltaHundredths)
{
    if (!hasCurrent())
        return;
    QListWidgetItem *item = m_list->item(currentIndex());
    if (item->text().isEmpty())
        return;
    item->setText(LyricStamp::shiftStamp(item->text(), deltaHundredths));
}

void LyricEditor::insertEmptyAt(int index)
{
    m_list->insertItem(index, QString());
    setCurrent(index);
}

void LyricEditor::insertBefore()
{
    if (!hasCurrent())
        return;
    const int i = currentIndex();
    setSelected(i, false);
    insertEmptyAt(i);
}

void LyricEditor::insertAfter()
{
    if (!hasCurrent())
        return;
    const int i = currentIndex();
    setSelected(i, false);
    insertEmptyAt(i + 1);
}

void LyricEditor::deleteSelected()
{
    const int i = currentIndex();
    int j = 0;
    while (j < m_list->count()) {
        if (m_list->item(j)->isSelected())
            delete m_list->takeItem(j);
        else
            ++j;
    }
    if (m_list->count() == 0) {
        m_list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
        return;
    }
    if (i >= 0)
        setCurrent(i < m_list->count() ? i : m_list->count() - 1);
}

void LyricEditor::repeatSelected()
{
    const int n = m_list->count();
    QStringList copies;
    for (int j = 0; j < n; ++j)
        if (m_list->item(j)->isSelected())
            copies << m_list->item(j)->text();
    if (copies.isEmpty())
        return;  // nothing chosen: the list stays as it is
    m_list->addItems(copies);
    setCurrent(n);
}

void LyricEditor::replaceCurrent(const QString &text)
{
    if (hasCurrent())
        m_list->item(currentIndex())->setText(text);
}
