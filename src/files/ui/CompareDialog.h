#pragma once

#include "files/ChannelDiff.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

// The other side of a comparison, the editor being the first: a channel file, named,
// or the radio.
struct ComparedWith
{
    enum Kind { File, Radio } kind = File;
    QString fileName; // of a File

    // "文件“X”" or "对讲机", in the language shown.
    QString text() const;
};

// The differences between two radios' settings as a list, one line per field, under a
// heading that says what was compared. Shows plain values; reads no file.
class CompareDialog : public QDialog
{
    Q_OBJECT
public:
    CompareDialog(const ComparedWith &other, const QList<FieldDifference> &differences, QWidget *parent = nullptr);

    QString heading() const;
    QStringList lines() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    ComparedWith m_other;
    qsizetype m_count;
    QLabel *m_heading;
    QListWidget *m_list;
    QPushButton *m_ok = nullptr;
};

// Shows the dialog modally. The editor is the first side, so every line reads
// "field: editor → other".
void showDifferences(QWidget *parent, const ComparedWith &other, const QList<FieldDifference> &differences);

// 文件 → "比较…": asks for a channel file (in `folder` first), loads it as "打开" would,
// without touching the editor, and shows how it differs from the editor. A cancelled
// dialog does nothing; a file that does not load is said as "打开" says it.
using ShowDifferences = std::function<void(QWidget *, const ComparedWith &, const QList<FieldDifference> &)>;
void compareWithFileCommand(QWidget *parent, const WorkingCopy &wc, const QString &folder,
                            const ShowDifferences &show = showDifferences);
