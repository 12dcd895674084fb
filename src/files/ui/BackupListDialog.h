#pragma once

#include "files/BackupStore.h"

#include <QDialog>

class QDialogButtonBox;
class QTreeWidget;

// The list of radio backups, newest first, with date, model and first channel; returns
// the one chosen (double-click or 载入).
class BackupListDialog : public QDialog
{
    Q_OBJECT
public:
    BackupListDialog(const QList<BackupEntry> &backups, QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }
    // Empty until a backup is chosen.
    QString chosenPath() const { return m_chosen; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void choose();

    QList<BackupEntry> m_backups;
    QTreeWidget *m_list = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QString m_chosen;
};

// "恢复备份…" of the 文件 menu: the list, then the backup chosen loaded into wc all at
// once (wc changes only when the whole file loaded), ready to write. Returns the backup
// loaded, empty when none was.
QString restoreBackupCommand(QWidget *parent, WorkingCopy &wc);
