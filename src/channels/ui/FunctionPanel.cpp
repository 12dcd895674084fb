#include "FunctionPanel.h"

#include "channels/WorkingCopy.h"
#include "widgets/ListCombo.h"

#include <QFormLayout>
#include <QLabel>

FunctionPanel::FunctionPanel(WorkingCopy &wc, QWidget *parent)
    : QGroupBox(QString::fromUtf16(u"功能设置"), parent)
{
    setObjectName(QStringLiteral("fraGNSZ"));
    using L = WorkingCopy::List;
    struct Row
    {
        const char *labelName;
        const char16_t *label;
        L list;
        const char *listName;
    };
    // The label named after "Save" carries the scan text; the power-save list is cbosd.
    const Row rows[] = {
        {"lblFuncMoni", u"监听：", L::Monitor, "cboFuncMoni"},
        {"Label6", u"省电功能：", L::PowerSave, "cbosd"},
        {"lblFuncTOT", u"发射限时：", L::TimeOut, "cboFuncTOT"},
        {"lblFuncSQL", u"静噪等级：", L::Squelch, "cboFuncSQL"},
        {"lblFuncSave", u"扫描功能：", L::Scan, "cboFuncSave"},
        {"Label1", u"语音报频：", L::Voice, "cboYYBP"},
    };
    auto *form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (const Row &r : rows) {
        auto *label = new QLabel(QString::fromUtf16(r.label), this);
        label->setObjectName(QLatin1String(r.labelName));
        auto *combo = new ListCombo(wc, r.list, QLatin1String(r.listName), this);
        label->setBuddy(combo);
        form->addRow(label, combo);
    }
}
