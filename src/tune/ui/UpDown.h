#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of arrow buttons bound to a text field: each press sets the field to its
// number plus or minus one step, kept within the range. A field that holds no
// number starts again from the low end. Up and Down keys in the field do the same.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    explicit UpDown(QWidget *parent = nullptr);

    void setBuddy(QLineEdit *buddy);
    void setRange(int minimum, int maximum);
    void setSingleStep(int step) { m_step = step; }
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int singleStep() const { return m_step; }

    void stepBy(int steps);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_buddy = nullptr;
    QToolButton *m_up;
    QToolButton *m_down;
    int m_min = 0;
    int m_max = 100;
    int m_step = 1;
};
