#pragma once

#include <QGroupBox>

class QLabel;
class WorkingCopy;

// The framed panel "机型选择": the model list and the band label ("Label2"), which shows
// the band text of the working copy as it stands.
class ModelPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit ModelPanel(WorkingCopy &wc, QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QLabel *m_modelLabel;
    QLabel *m_bandLabel;
    QLabel *m_band;
};
