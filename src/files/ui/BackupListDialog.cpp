#include "files/ui/BackupListDialog.h"

#include "widgets/Prompter.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

BackupListDialog::BackupListDialog(const QList<BackupEntry> &backups, QWidget *parent)
    : QDialog(parent), m_backups(backups)
{
    setObjectName(QStringLiteral("frmBackups"));
    setWindowTitle(QStringLiteral("恢复备份"));
    resize(680, 360);
    auto *layout = new QVBoxLayout(this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstBackups"));
    m_list->setRootIsDecorated(false);
    // Port and fleet position tell apart the backups of one fleet run, taken seconds
    // apart of radios that held the same.
    m_list->setHeaderLabels({tr("日期"), tr("端口"), tr("台号"), tr("机型"), tr("信道 1"), tr("文件")});
    for (const BackupEntry &b : backups) {
        const QString position = b.fleetPosition > 0 ? tr("第 %1 台").arg(b.fleetPosition) : QString();
        auto *item = new QTreeWidgetItem(m_list, {b.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), b.port,
                                                  position, b.model, b.firstChannel, QDir::toNativeSeparators(b.path)});
        item->setToolTip(5, QDir::toNativeSeparators(b.path));
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!backups.isEmpty())
        m_list->setCurrentItem(m_list->topLevelItem(0));
    layout->addWidget(m_list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("载入"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!backups.isEmpty());
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &BackupListDialog::choose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &BackupListDialog::choose);
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
        Prompter::instance().information(parent, QStringLiteral("提示"),
                                         QStringLiteral("还没有备份。写频前的备份保存在 %1")
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
