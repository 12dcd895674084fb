#include "CompareDialog.h"

#include "files/ui/FileCommands.h"
#include "support/SystemFailure.h"
#include "widgets/Prompter.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CompareDialog::CompareDialog(const QString &heading, const QList<FieldDifference> &differences, QWidget *parent)
    : QDialog(parent), m_heading(new QLabel(heading, this)), m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QString::fromUtf16(u"比较"));
    m_heading->setObjectName(QStringLiteral("lblCompare"));
    m_heading->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("lstDifferences"));
    for (const FieldDifference &d : differences)
        m_list->addItem(d.text());
    m_list->setVisible(!differences.isEmpty());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf16(u"确定"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(differences.isEmpty() ? QSize(420, 120) : QSize(560, 440));
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

namespace {

QString headingFor(const QString &what, qsizetype count)
{
    if (count == 0)
        return QString::fromUtf16(u"编辑器与%1相同。").arg(what);
    return QString::fromUtf16(u"编辑器与%1有 %2 处不同（编辑器 → %1）：").arg(what, QString::number(count));
}

} // namespace

void showDifferences(QWidget *parent, const QString &what, const QList<FieldDifference> &differences)
{
    CompareDialog dialog(headingFor(what, differences.size()), differences, parent);
    dialog.exec();
}

void compareWithFileCommand(QWidget *parent, const WorkingCopy &wc, const QString &folder,
                            const ShowDifferences &show)
{
    const QString path = Prompter::instance().openFileName(parent, QString::fromUtf16(u"比较"), folder,
                                                           FileCommands::nameFilters());
    if (path.isEmpty())
        return;
    const Result<WorkingCopyState> other = channelFileState(wc.state(), path);
    if (!other) {
        Prompter::instance().message(parent, QMessageBox::Information, QString::number(other.failure().number),
                                     other.failure().description);
        return;
    }
    show(parent, QString::fromUtf16(u"文件“%1”").arg(printable(QFileInfo(path).fileName())),
         channelDifferences(wc.state(), *other));
}
