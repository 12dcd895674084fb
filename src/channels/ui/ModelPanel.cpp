#include "ModelPanel.h"

#include "channels/WorkingCopy.h"
#include "widgets/ListCombo.h"

#include <QFormLayout>
#include <QLabel>

ModelPanel::ModelPanel(WorkingCopy &wc, QWidget *parent)
    : QGroupBox(QString::fromUtf16(u"机型选择"), parent)
{
    setObjectName(QStringLiteral("fraJXXZ"));
    auto *form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *modelLabel = new QLabel(QString::fromUtf16(u"机型："), this);
    modelLabel->setObjectName(QStringLiteral("lblModel"));
    auto *models = new ListCombo(wc, WorkingCopy::List::Model, QStringLiteral("cboPCmodel"), this);
    modelLabel->setBuddy(models);
    form->addRow(modelLabel, models);

    auto *bandLabel = new QLabel(QString::fromUtf16(u"频率："), this);
    bandLabel->setObjectName(QStringLiteral("lblBand"));
    m_band = new QLabel(wc.bandText(), this);
    m_band->setObjectName(QStringLiteral("Label2"));
    m_band->setTextFormat(Qt::PlainText);
    m_band->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(bandLabel, m_band);
    connect(&wc, &WorkingCopy::bandTextChanged, m_band, &QLabel::setText);
}
