#include "FunctionPanel.h"

#include "channels/WorkingCopy.h"
#include "widgets/ListCombo.h"

#include <QEvent>
#include <QFormLayout>
#include <QLabel>

FunctionPanel::FunctionPanel(WorkingCopy &wc, QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("fraGNSZ"));
    using L = WorkingCopy::List;
    struct Row
    {
        const char *labelName;
        const char *label;
        L list;
        const char *listName;
    };
    // The label named after "Save" carries the scan text; the power-save list is cbosd.
    static const Row rows[] = {
        {"lblFuncMoni", QT_TR_NOOP("监听："), L::Monitor, "cboFuncMoni"},
        {"Label6", QT_TR_NOOP("省电功能："), L::PowerSave, "cbosd"},
        {"lblFuncTOT", QT_TR_NOOP("发射限时："), L::TimeOut, "cboFuncTOT"},
        {"lblFuncSQL", QT_TR_NOOP("静噪等级："), L::Squelch, "cboFuncSQL"},
        {"lblFuncSave", QT_TR_NOOP("扫描功能："), L::Scan, "cboFuncSave"},
        {"Label1", QT_TR_NOOP("语音报频："), L::Voice, "cboYYBP"},
    };
    auto *form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (const Row &r : rows) {
        auto *label = new QLabel(this);
        label->setObjectName(QLatin1String(r.labelName));
        auto *combo = new ListCombo(wc, r.list, QLatin1String(r.listName), this);
        label->setBuddy(combo);
        form->addRow(label, combo);
        m_labels.append({label, r.label});
    }
    retranslateUi();
}

void FunctionPanel::retranslateUi()
{
    setTitle(tr("功能设置"));
    for (const auto &[label, text] : std::as_const(m_labels))
        label->setText(tr(text));
}

void FunctionPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QGroupBox::changeEvent(event);
}
