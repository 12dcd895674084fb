#include "ListCombo.h"

ListCombo::ListCombo(WorkingCopy &wc, WorkingCopy::List list, const QString &objectName,
                     QWidget *parent)
    : QComboBox(parent), m_wc(wc), m_list(list)
{
    setObjectName(objectName);
    setEditable(false);
    addItems(WorkingCopy::rows(list));
    setCurrentIndex(wc.row(list));
    // A row set by a program step acts like a row the user chose; only a change of row
    // counts, so choosing the selected model again keeps the channels.
    connect(this, &QComboBox::currentIndexChanged, this, &ListCombo::chosen);
    connect(&wc, &WorkingCopy::selectionChanged, this, &ListCombo::follow);
}

void ListCombo::chosen(int row)
{
    if (row >= 0 && row != m_wc.row(m_list))
        m_wc.select(m_list, row);
}

void ListCombo::follow(WorkingCopy::List list, int row)
{
    if (list == m_list && row != currentIndex())
        setCurrentIndex(row);
}
