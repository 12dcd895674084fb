#pragma once

#include "channels/WorkingCopy.h"

#include <QComboBox>

// A drop-down list without text entry bound to one list of the working copy: it shows
// the list's rows and selected row, and a change of its row, by the user or by
// setCurrentIndex, runs the working copy's selection operation. Choosing the row that is
// already selected runs nothing, so picking the same model again does not clear the
// channels.
class ListCombo : public QComboBox
{
    Q_OBJECT
public:
    ListCombo(WorkingCopy &wc, WorkingCopy::List list, const QString &objectName,
              QWidget *parent = nullptr);

    WorkingCopy::List list() const { return m_list; }

private:
    void chosen(int row);
    void follow(WorkingCopy::List list, int row);

    WorkingCopy &m_wc;
    WorkingCopy::List m_list;
};
