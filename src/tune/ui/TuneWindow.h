#pragma once

#include <QDialog>

#include "tune/TuneForm.h"

class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class UpDown;
class WorkingCopy;

// The tune window: band limits per model, crystal, intermediate-frequency sign and
// power step. It shows the working copy as it stands when it is created and copies
// its values back when it closes, through "退出调整", the close box or Esc alike, the
// band also into the settings file. A band that cannot be stored (a limit not three
// digits, or the low limit above the high one) is said and keeps the window open.
class TuneWindow : public QDialog
{
    Q_OBJECT
public:
    enum class Page { Frequency, Power };

    explicit TuneWindow(WorkingCopy &wc, QWidget *parent = nullptr);

    // The settings file "退出调整" writes; empty (the default) means settings::writePath().
    void setSettingsPath(const QString &path) { m_settingsPath = path; }

    Page page() const { return m_page; }
    void showPage(Page page);
    // The values the controls hold now.
    tune::TuneForm form() const;

    // Tree nodes by key: "node1", "frequent", "power", "node2".
    QTreeWidgetItem *node(const QString &key) const;

    // Node data: the key in Qt::UserRole, the tag ("1", "2", "3" or none) in TagRole.
    static constexpr int TagRole = Qt::UserRole + 1;
    // The node's Chinese source text, which retranslateUi() shows translated.
    static constexpr int SourceRole = Qt::UserRole + 2;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildTree();
    void retranslateUi();
    void showForm(const tune::TuneForm &form);
    void onTreeNodeClicked(QTreeWidgetItem *item);
    void onModelChosen(int row);
    void limitEdited(QLineEdit *field, const QString &text);
    void commitAndClose(tune::Leave how);
    // False, after a message, when the typed band cannot be stored.
    bool bandAcceptable();

    WorkingCopy &m_wc;
    QString m_settingsPath;
    Page m_page = Page::Frequency;
    bool m_closing = false;
    bool m_filling = false; // the window itself is filling the band fields
    QString m_bandText;

    QTreeWidget *m_tree;
    QGridLayout *m_grid = nullptr;
    QLabel *m_modelLabel;
    QComboBox *m_bandModelList;
    QComboBox *m_powerModelList;
    QLabel *m_highLimitLabel;
    QLineEdit *m_highLimitField;
    UpDown *m_highLimitUpDown;
    QLabel *m_lowLimitLabel;
    QLineEdit *m_lowLimitField;
    UpDown *m_lowLimitUpDown;
    QLabel *m_ifSignLabel;
    QRadioButton *m_ifSignOptions[2];
    QFrame *m_crystalFrame;
    QLabel *m_crystalLabel;
    QRadioButton *m_crystalOptions[2];
    QLabel *m_bandLabel;
    QLineEdit *m_bandField;
    QLabel *m_powerStepLabel;
    QComboBox *m_powerStepList;
};
