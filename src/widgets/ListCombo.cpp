#include "ListCombo.h"

#include "channels/Tables.h"

#include <QEvent>
#include <QSignalBlocker>
#include <QWheelEvent>

ListCombo::ListCombo(WorkingCopy &wc, WorkingCopy::List list, const QString &objectName, QWidget *parent)
    : QComboBox(parent), m_wc(wc), m_list(list)
{
    setObjectName(objectName);
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
    // Each item shows its value in the chosen language and keeps the value as its data.
    for (const QString &value : WorkingCopy::rows(list))
        addItem(tables::shown(value), value);
    setCurrentIndex(wc.row(list));
    // A row set by a program step acts like a row the user chose; only a change of row
    // counts, so choosing the selected model again keeps the channels.
    connect(this, &QComboBox::currentIndexChanged, this, &ListCombo::chosen);
    connect(&wc, &WorkingCopy::selectionChanged, this, &ListCombo::follow);
}

void ListCombo::chosen(int row)
{
    if (row < 0 || row == m_wc.row(m_list))
        return;
    const auto select = [this, row] { m_wc.select(m_list, row); };
    if (!m_gate) {
        select();
        return;
    }
    if (!m_gate(m_list, row, select)) {
        const QSignalBlocker quiet(this);
        setCurrentIndex(m_wc.row(m_list));
    }
}

void ListCombo::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        for (int i = 0; i < count(); ++i)
            setItemText(i, tables::shown(itemData(i).toString()));
    }
    QComboBox::changeEvent(event);
}

void ListCombo::wheelEvent(QWheelEvent *event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void ListCombo::follow(WorkingCopy::List list, int row)
{
    if (list == m_list && row != currentIndex())
        setCurrentIndex(row);
}
