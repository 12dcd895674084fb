#pragma once

#include <QGroupBox>
#include <QList>

#include <utility>

class QLabel;
class WorkingCopy;

// The framed panel "功能设置": six labelled lists of the radio-wide functions.
class FunctionPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit FunctionPanel(WorkingCopy &wc, QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QList<std::pair<QLabel *, const char *>> m_labels; // each label with its source text
};
