#include "CompareDialog.h"

#include "files/ui/FileCommands.h"
#include "support/SystemFailure.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

QString ComparedWith::text() const
{
    if (kind == Radio)
        return QCoreApplication::translate("CompareDialog", "对讲机");
    return QCoreApplication::translate("CompareDialog", "文件“%1”").arg(printable(fileName));
}

CompareDialog::CompareDialog(const ComparedWith &other, const QList<FieldDifference> &differences, QWidget *parent)
    : QDialog(parent),
      m_other(other),
      m_count(differences.size()),
      m_heading(new QLabel(this)),
      m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmCompare"));
    m_heading->setObjectName(QStringLiteral("lblCompare"));
    m_heading->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("lstDifferences"));
    for (const FieldDifference &d : differences)
        m_list->addItem(d.text());
    m_list->setVisible(!differences.isEmpty());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(differences.isEmpty() ? QSize(420, 120) : QSize(560, 440));
    retranslateUi();
}

void CompareDialog::retranslateUi()
{
    setWindowTitle(tr("比较"));
    const QString what = m_other.text();
    m_heading->setText(m_count == 0 ? tr("编辑器与%1相同。").arg(what)
                                    : tr("编辑器与%1有 %n 处不同（编辑器 → %1）：", nullptr, int(m_count)).arg(what));
    m_ok->setText(tr("确定"));
}

void CompareDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

QString CompareDialog::heading() const
{
    return m_heading->text();
}

QStringList CompareDialog::lines() const
{
    QStringList l;
    for (int i = 0; i < m_list->count(); ++i)
        l << m_list->item(i)->text();
    return l;
}

void showDifferences(QWidget *parent, const ComparedWith &other, const QList<FieldDifference> &differences)
{
    CompareDialog dialog(other, differences, parent);
    dialog.exec();
}

void compareWithFileCommand(QWidget *parent, const WorkingCopy &wc, const QString &folder, const ShowDifferences &show)
{
    const QString path = Prompter::instance().openFileName(parent, QCoreApplication::translate("CompareDialog", "比较"),
                                                           folder, FileCommands::nameFilters());
    if (path.isEmpty())
        return;
    const Result<WorkingCopyState> other = channelFileState(wc.state(), path);
    if (!other) {
        Prompter::instance().message(parent, QMessageBox::Information, QString::number(other.failure().number),
                                     other.failure().description);
        return;
    }
    show(parent, ComparedWith{ComparedWith::File, QFileInfo(path).fileName()}, channelDifferences(wc.state(), *other));
}
