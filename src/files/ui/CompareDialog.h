#pragma once

#include "files/ChannelDiff.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>

class QLabel;
class QListWidget;

// The differences between two radios' settings as a list, one line per field, under a
// heading that says what was compared. Shows plain values; reads no file.
class CompareDialog : public QDialog
{
    Q_OBJECT
public:
    CompareDialog(const QString &heading, const QList<FieldDifference> &differences, QWidget *parent = nullptr);

    QString heading() const;
    QStringList lines() const;

private:
    QLabel *m_heading;
    QListWidget *m_list;
};

// Shows the dialog modally. `what` names the other side ("文件“X”", "对讲机"); the editor
// is the first side, so every line reads "field: editor → other".
void showDifferences(QWidget *parent, const QString &what, const QList<FieldDifference> &differences);

// 文件 → "比较…": asks for a channel file (in `folder` first), loads it as "打开" would,
// without touching the editor, and shows how it differs from the editor. A cancelled
// dialog does nothing; a file that does not load is said as "打开" says it.
using ShowDifferences = std::function<void(QWidget *, const QString &, const QList<FieldDifference> &)>;
void compareWithFileCommand(QWidget *parent, const WorkingCopy &wc, const QString &folder,
                            const ShowDifferences &show = showDifferences);
