#pragma once

#include <QGroupBox>

class WorkingCopy;

// The framed panel "功能设置": six labelled lists of the radio-wide functions.
class FunctionPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit FunctionPanel(WorkingCopy &wc, QWidget *parent = nullptr);
};
