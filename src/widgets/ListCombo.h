#pragma once

#include "channels/WorkingCopy.h"

#include <QComboBox>

#include <functional>

// A drop-down list without text entry bound to one list of the working copy: it shows
// the list's rows (each item's text in the chosen language, its data the value as kept)
// and selected row, and a change of its row, by the user or by
// setCurrentIndex, runs the working copy's selection operation. Choosing the row that is
// already selected runs nothing, so picking the same model again does not clear the
// channels. The wheel changes the row only while the list has the keyboard; over an
// unfocused list it scrolls what lies beneath.
class ListCombo : public QComboBox
{
    Q_OBJECT
public:
    ListCombo(WorkingCopy &wc, WorkingCopy::List list, const QString &objectName, QWidget *parent = nullptr);

    WorkingCopy::List list() const { return m_list; }

    // Decides whether a chosen row goes ahead: runs select (or does not) and says whether
    // it did. Without a gate every choice goes ahead. A refused choice puts the list back
    // on the row the working copy holds.
    using Gate = std::function<bool(WorkingCopy::List list, int row, const std::function<void()> &select)>;
    void setGate(Gate gate) { m_gate = std::move(gate); }

protected:
    void changeEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void chosen(int row);
    void follow(WorkingCopy::List list, int row);

    WorkingCopy &m_wc;
    WorkingCopy::List m_list;
    Gate m_gate;
};
