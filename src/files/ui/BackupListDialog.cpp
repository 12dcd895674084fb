#include "files/ui/BackupListDialog.h"

#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int Columns = 6; // date, port, fleet position, model, channel 1, file
} // namespace

BackupListDialog::BackupListDialog(const QList<BackupEntry> &backups, QWidget *parent)
    : QDialog(parent), m_backups(backups)
{
    setObjectName(QStringLiteral("frmBackups"));
    resize(680, 360);
    auto *layout = new QVBoxLayout(this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstBackups"));
    m_list->setRootIsDecorated(false);
    // Port and fleet position tell apart the backups of one fleet run, taken seconds
    // apart of radios that held the same.
    m_list->setColumnCount(Columns);
    for (const BackupEntry &b : backups) {
        auto *item = new QTreeWidgetItem(m_list,
                                         {b.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), b.port, QString(),
                                          b.model, b.firstChannel, QDir::toNativeSeparators(b.path)});
        item->setToolTip(5, QDir::toNativeSeparators(b.path));
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!backups.isEmpty())
        m_list->setCurrentItem(m_list->topLevelItem(0));
    layout->addWidget(m_list);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!backups.isEmpty());
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &BackupListDialog::choose);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &BackupListDialog::choose);
    retranslateUi();
}

void BackupListDialog::retranslateUi()
{
    setWindowTitle(tr("恢复备份"));
    m_list->setHeaderLabels({tr("日期"), tr("端口"), tr("台号"), tr("机型"), tr("信道 1"), tr("文件")});
    for (int i = 0; i < m_list->topLevelItemCount() && i < m_backups.size(); ++i) {
        const int position = m_backups[i].fleetPosition;
        m_list->topLevelItem(i)->setText(2, position > 0 ? tr("第 %1 台").arg(position) : QString());
    }
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("载入"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
}

void BackupListDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void BackupListDialog::choose()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row < 0 || row >= m_backups.size())
        return;
    m_chosen = m_backups[row].path;
    accept();
}

QString restoreBackupCommand(QWidget *parent, WorkingCopy &wc)
{
    const QList<BackupEntry> backups = BackupStore().list();
    if (backups.isEmpty()) {
        Prompter::instance().information(
            parent, QCoreApplication::translate("BackupListDialog", "提示"),
            QCoreApplication::translate("BackupListDialog", "还没有备份。写频前的备份保存在 %1")
                .arg(QDir::toNativeSeparators(BackupStore::defaultFolder())));
        return {};
    }
    BackupListDialog dialog(backups, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenPath().isEmpty())
        return {};
    if (Status s = BackupStore::loadInto(wc, dialog.chosenPath()); !s) {
        Prompter::instance().message(parent, QMessageBox::Information, QString::number(s.failure().number),
                                     s.failure().description);
        return {};
    }
    return dialog.chosenPath();
}
