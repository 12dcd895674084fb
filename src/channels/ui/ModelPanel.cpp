#include "ModelPanel.h"

#include "channels/WorkingCopy.h"
#include "widgets/ListCombo.h"

#include <QEvent>
#include <QFormLayout>
#include <QLabel>

ModelPanel::ModelPanel(WorkingCopy &wc, QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("fraJXXZ"));
    auto *form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_modelLabel = new QLabel(this);
    m_modelLabel->setObjectName(QStringLiteral("lblModel"));
    auto *models = new ListCombo(wc, WorkingCopy::List::Model, QStringLiteral("cboPCmodel"), this);
    m_modelLabel->setBuddy(models);
    form->addRow(m_modelLabel, models);

    m_bandLabel = new QLabel(this);
    m_bandLabel->setObjectName(QStringLiteral("lblBand"));
    m_band = new QLabel(wc.bandText(), this);
    m_band->setObjectName(QStringLiteral("Label2"));
    m_band->setTextFormat(Qt::PlainText);
    m_band->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(m_bandLabel, m_band);
    connect(&wc, &WorkingCopy::bandTextChanged, m_band, &QLabel::setText);
    retranslateUi();
}

void ModelPanel::retranslateUi()
{
    setTitle(tr("机型选择"));
    m_modelLabel->setText(tr("机型："));
    m_bandLabel->setText(tr("频率："));
}

void ModelPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QGroupBox::changeEvent(event);
}
