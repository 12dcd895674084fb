#include "GridActions.h"

#include "channels/EditHistory.h"
#include "channels/GridEdits.h"
#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/ui/GridColumns.h"
#include "widgets/Language.h"
#include "widgets/Prompter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>

#include <algorithm>

using namespace gridcolumns;

GridActions::GridActions(ChannelGrid &grid, WorkingCopy &wc) : QObject(&grid), m_grid(grid), m_wc(wc)
{ }

void GridActions::run(const QString &name, const QString &refusedTitle, const std::function<QStringList()> &edit)
{
    // An editor left open would write its old text over the edited cells.
    m_grid.hideEditors();
    QStringList refused;
    if (EditHistory *h = m_grid.history())
        h->step(name, [&] { refused = edit(); });
    else
        refused = edit();
    if (!refused.isEmpty())
        Prompter::instance().message(m_grid.window(), QMessageBox::Information, tr("提示"),
                                     refusedTitle + QLatin1Char('\n') + refused.join(QLatin1Char('\n')));
}

QList<int> GridActions::targetRows() const
{
    QList<int> rows = m_grid.selectedRows();
    const QModelIndex cur = m_grid.currentIndex();
    if (rows.isEmpty() && cur.isValid() && !isFixed(cur))
        rows << cur.row();
    return rows;
}

void GridActions::copy()
{
    QModelIndexList cells = m_grid.selectionModel()->selectedIndexes();
    cells.erase(std::remove_if(cells.begin(), cells.end(), [](const QModelIndex &i) { return isFixed(i); }),
                cells.end());
    if (cells.isEmpty() && m_grid.currentIndex().isValid() && !isFixed(m_grid.currentIndex()))
        cells << m_grid.currentIndex();
    if (cells.isEmpty())
        return;
    int top = LastRow, left = LastColumn, bottom = FirstRow, right = FirstColumn;
    for (const QModelIndex &i : cells) {
        top = std::min(top, i.row());
        bottom = std::max(bottom, i.row());
        left = std::min(left, i.column());
        right = std::max(right, i.column());
    }
    const auto selected = [&cells](int r, int c) {
        return std::any_of(cells.begin(), cells.end(),
                           [r, c](const QModelIndex &i) { return i.row() == r && i.column() == c; });
    };
    QGuiApplication::clipboard()->setText(gridedits::copyText(*m_wc.channels(), top, left, bottom, right, selected));
}

void GridActions::paste()
{
    pasteText(QGuiApplication::clipboard()->text());
}

void GridActions::pasteText(const QString &text)
{
    if (text.isEmpty())
        return;
    const QList<int> channels = selectedChannels();
    // A pasted channel starts at its first column, wherever the current cell was.
    QModelIndex at = selectionTopLeft();
    const int column = gridedits::isWholeChannels(text) ? FirstColumn : at.column();
    run(tr("粘贴"), tr("以下数据未粘贴："), [&] {
        if (channels.size() > 1)
            return gridedits::pasteIntoRows(*m_wc.channels(), m_wc.bandText(), channels, text);
        if (channels.size() == 1)
            return gridedits::paste(*m_wc.channels(), m_wc.bandText(), channels.first(), FirstColumn, text);
        return gridedits::paste(*m_wc.channels(), m_wc.bandText(), at.row(), column, text);
    });
}

QList<int> GridActions::selectedChannels() const
{
    const QList<int> rows = m_grid.selectedRows();
    const QItemSelectionModel *selection = m_grid.selectionModel();
    for (int r : rows)
        for (int c = FirstColumn; c <= LastColumn; ++c)
            if (!selection->isSelected(m_grid.model()->index(r, c)))
                return {};
    return rows;
}

QModelIndex GridActions::selectionTopLeft() const
{
    int top = LastRow + 1, left = LastColumn + 1;
    for (const QModelIndex &i : m_grid.selectionModel()->selectedIndexes())
        if (!isFixed(i)) {
            top = std::min(top, i.row());
            left = std::min(left, i.column());
        }
    if (top <= LastRow)
        return m_grid.model()->index(top, left);
    const QModelIndex cur = m_grid.currentIndex();
    return cur.isValid() && !isFixed(cur) ? cur : m_grid.model()->index(FirstRow, FirstColumn);
}

void GridActions::clearSelected()
{
    QList<std::pair<int, int>> cells;
    for (const QModelIndex &i : m_grid.selectionModel()->selectedIndexes())
        cells.append({i.row(), i.column()});
    const QModelIndex cur = m_grid.currentIndex();
    if (cells.isEmpty() && cur.isValid())
        cells.append({cur.row(), cur.column()});
    run(tr("清除"), QString(), [&] {
        gridedits::clearToOff(*m_wc.channels(), cells);
        return QStringList();
    });
}

void GridActions::clearChannels()
{
    const QList<int> rows = targetRows();
    run(tr("清除信道"), QString(), [&] {
        for (int r : rows)
            gridedits::clearChannel(*m_wc.channels(), r);
        return QStringList();
    });
}

void GridActions::copyToNextChannel()
{
    // The channel whose number was clicked, else the current cell's.
    const QModelIndex cur = m_grid.currentIndex();
    const QList<int> channels = selectedChannels();
    const int row = !channels.isEmpty()  ? channels.first()
        : cur.isValid() && !isFixed(cur) ? cur.row()
                                         : targetRows().value(0, -1);
    if (row < FirstRow || row >= LastRow)
        return;
    run(tr("复制到下一信道"), QString(), [&] {
        gridedits::copyToNextChannel(*m_wc.channels(), row);
        return QStringList();
    });
}

void GridActions::fillByStep()
{
    const QList<int> rows = m_grid.selectedRows();
    if (rows.size() < 2) {
        Prompter::instance().information(m_grid.window(), tr("提示"), tr("请先选择要填充的多个信道"));
        return;
    }
    // A step no channel could take is refused as typed, before anything changes.
    std::optional<double> step;
    for (;;) {
        step = Prompter::instance().number(m_grid.window(), tr("按步进填充"), tr("步进 (kHz)："), m_stepKHz, -100000,
                                           100000, 3);
        if (!step)
            return;
        m_stepKHz = *step;
        if (gridedits::isChannelStep(qRound64(*step * 1000)))
            break;
        Prompter::instance().message(m_grid.window(), QMessageBox::Information, tr("按步进填充"),
                                     tr("步进 %1 kHz 需为6.25K或5K的整数倍").arg(*step));
    }
    run(tr("按步进填充"), tr("以下频率未填充："),
        [&] { return gridedits::fillByStep(*m_wc.channels(), m_wc.bandText(), rows, qRound64(*step * 1000)); });
}

QMenu *GridActions::makeMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("mnuGrid"));
    auto add = [this, menu](const char *name, const char *text, const QKeySequence &key, void (GridActions::*slot)()) {
        QAction *a = menu->addAction(QString(), this, slot);
        language::retranslate(a, [a, text] { a->setText(tr(text)); });
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        return a;
    };
    add("mnuGridCopy", QT_TR_NOOP("复制"), QKeySequence::Copy, &GridActions::copy);
    add("mnuGridPaste", QT_TR_NOOP("粘贴"), QKeySequence::Paste, &GridActions::paste)
        ->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
    menu->addSeparator();
    add("mnuGridClear", QT_TR_NOOP("清除信道"), {}, &GridActions::clearChannels);
    add("mnuGridCopyNext", QT_TR_NOOP("复制到下一信道"), {}, &GridActions::copyToNextChannel);
    add("mnuGridFillStep", QT_TR_NOOP("按步进填充…"), {}, &GridActions::fillByStep)
        ->setEnabled(m_grid.selectedRows().size() > 1);
    return menu;
}

void GridActions::showMenu(const QPoint &globalPos)
{
    QMenu *menu = makeMenu(&m_grid);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}
