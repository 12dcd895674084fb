#include "ChannelGrid.h"

#include "channels/EditHistory.h"
#include "channels/GridRules.h"
#include "channels/WorkingCopy.h"
#include "channels/ui/CellEditors.h"
#include "channels/ui/GridActions.h"
#include "channels/ui/GridColumns.h"
#include "widgets/AppInfo.h"
#include "widgets/Prompter.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>

using namespace gridcolumns;

namespace {

// Row 0 and column 0 are drawn like header sections; data cells are centred.
class CellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (!isFixed(index)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionHeader h;
        h.rect = option.rect;
        h.palette = option.palette;
        h.fontMetrics = option.fontMetrics;
        h.state = QStyle::State_Enabled | QStyle::State_Raised;
        h.orientation = index.row() == 0 ? Qt::Horizontal : Qt::Vertical;
        h.position = QStyleOptionHeader::Middle;
        h.text = index.data().toString();
        h.textAlignment = Qt::AlignCenter;
        const QWidget *w = option.widget;
        QStyle *style = w ? w->style() : nullptr;
        if (!style)
            return;
        painter->save();
        painter->setFont(option.font);
        style->drawControl(QStyle::CE_Header, &h, painter, w);
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignCenter;
    }
};

QFont gridFont()
{
    // Latin sans first for the digits, then the families that carry the Chinese titles.
    QFont f;
    f.setFamilies(QStringList{QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}
                  + appinfo::uiFamilies());
    f.setPointSize(9);
    return f;
}

} // namespace

ChannelGrid::ChannelGrid(WorkingCopy &wc, QWidget *parent) : QTableView(parent), m_wc(wc)
{
    setObjectName(QStringLiteral("gridXDSZ"));
    setFont(gridFont());
    setModel(wc.channels());
    setItemDelegate(new CellDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    m_editors = new CellEditors(*this, wc);
    m_actions = new GridActions(*this, wc);

    fitColumns();
    setCurrentIndex(wc.channels()->index(FirstRow, FirstColumn));
    connect(wc.channels(), &QAbstractItemModel::dataChanged, this, &ChannelGrid::cellsChanged);
    connect(wc.channels(), &QAbstractItemModel::modelReset, this, [this] { m_currentVisited = false; });
    m_entryText = wc.cell(FirstRow, FirstColumn);
}

QList<int> ChannelGrid::selectedRows(int column) const
{
    QList<int> rows;
    for (const QModelIndex &i : selectionModel()->selectedIndexes())
        if (!isFixed(i) && (column < 0 || i.column() == column) && !rows.contains(i.row()))
            rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ChannelGrid::recordStep(const QString &text)
{
    if (m_history)
        m_history->record(text);
}

void ChannelGrid::selectRows(int from, int to)
{
    const auto [top, bottom] = std::minmax(from, to);
    selectionModel()->select(QItemSelection(model()->index(top, FirstColumn), model()->index(bottom, LastColumn)),
                             QItemSelectionModel::ClearAndSelect);
}

void ChannelGrid::listChoice(int row, int column, const QString &text)
{
    QList<int> rows = selectedRows(column);
    if (rows.size() < 2 || !rows.contains(row))
        rows = {row};
    for (int r : rows)
        write(r, column, text);
    recordStep(tr("选择%1").arg(ChannelTable::shownTitle(column)));
}

void ChannelGrid::fitColumns()
{
    const QFontMetrics fm(font());
    const QStringList titles = ChannelTable::columnTitles();
    const int pad = fm.horizontalAdvance(QLatin1Char('0')) * 3;
    m_minColumnWidths.clear();
    for (int c = 0; c < ChannelTable::Columns; ++c) {
        QString widest = titles[c];
        if (isFrequencyColumn(c))
            widest = QStringLiteral("000.00000");
        else if (isSignallingColumn(c))
            widest = QStringLiteral("D023N");
        m_minColumnWidths << std::max(fm.horizontalAdvance(widest), fm.horizontalAdvance(titles[c])) + pad;
    }
    m_minRowHeight = fm.height() + 6;
    m_naturalRowHeight = fm.height() + 10;
    for (QHeaderView *h : {horizontalHeader(), verticalHeader()}) {
        h->setMinimumSectionSize(1);
        h->setSectionResizeMode(QHeaderView::Fixed);
    }
    // A smaller panel scrolls: every cell stays wide enough for its whole value.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setMinimumSize(2 * frameWidth() + m_minColumnWidths[0] + m_minColumnWidths[FirstColumn] + bar,
                   2 * frameWidth() + 4 * m_minRowHeight + bar);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    fitSections();
}

QSize ChannelGrid::sizeHint() const
{
    int width = 2 * frameWidth();
    for (int w : m_minColumnWidths)
        width += w;
    return {width, 2 * frameWidth() + ChannelTable::Rows * m_naturalRowHeight};
}

void ChannelGrid::fitSections()
{
    if (m_minColumnWidths.size() != ChannelTable::Columns)
        return;
    // The room without scroll bars decides which bars are needed; what is left over
    // widens the data columns and heightens the rows evenly.
    const QSize room = maximumViewportSize();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    int minWidth = 0;
    for (int w : m_minColumnWidths)
        minWidth += w;
    const int minHeight = ChannelTable::Rows * m_minRowHeight;
    bool across = minWidth > room.width();
    const bool down = minHeight > room.height() - (across ? bar : 0);
    if (down && !across)
        across = minWidth > room.width() - bar;
    const int spareWidth = std::max(0, room.width() - (down ? bar : 0) - minWidth);
    const int spareHeight = std::max(0, room.height() - (across ? bar : 0) - minHeight);
    const int stretched = ChannelTable::Columns - 1;
    for (int c = 0; c < ChannelTable::Columns; ++c) {
        const int k = c - 1;
        const int extra = c == 0 ? 0 : spareWidth / stretched + (k < spareWidth % stretched ? 1 : 0);
        horizontalHeader()->resizeSection(c, m_minColumnWidths[c] + extra);
    }
    for (int r = 0; r < ChannelTable::Rows; ++r)
        verticalHeader()->resizeSection(
            r, m_minRowHeight + spareHeight / ChannelTable::Rows + (r < spareHeight % ChannelTable::Rows ? 1 : 0));
}

void ChannelGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitSections();
}

void ChannelGrid::clickCell(int row, int column)
{
    const QModelIndex i = model()->index(row, column);
    if (!i.isValid() || isFixed(i))
        return;
    setCurrentIndex(i);
    openEditor(false);
}

QLineEdit *ChannelGrid::rxFreqEditor() const
{
    return m_editors->rxFreq();
}

QLineEdit *ChannelGrid::txFreqEditor() const
{
    return m_editors->txFreq();
}

QComboBox *ChannelGrid::signallingEditor() const
{
    return m_editors->signalling();
}

QComboBox *ChannelGrid::choiceEditor() const
{
    return m_editors->choice();
}

void ChannelGrid::hideEditors()
{
    m_editors->hideAll();
}

bool ChannelGrid::anyEditorVisible() const
{
    return m_editors->anyVisible();
}

void ChannelGrid::openEditor(bool popup)
{
    if (!m_currentVisited)
        m_entryText = m_wc.cell(currentIndex().row(), currentIndex().column());
    m_currentVisited = true;
    m_editors->place(popup);
}

void ChannelGrid::leaveCell(int row, int column, bool visited)
{
    const QString text = m_wc.cell(row, column);
    // A cell the user never visited is only given its "OFF"; its entry is not checked.
    if (!visited && !text.isEmpty())
        return;
    auto outcome = gridrules::checkLeaveCell(column, text, m_wc.bandText());
    // Passed through unchanged: nothing is checked or filled.
    const bool passedThrough = !visited || text == m_entryText;
    if (!text.isEmpty() && passedThrough)
        outcome = gridrules::LeaveOutcome::Keep;
    const QString previous = visited ? m_entryText : QString();
    const QString message = gridrules::messageFor(outcome);
    if (outcome == gridrules::LeaveOutcome::NoBand && m_bandSetup) {
        // After the refusal has put the previous value back.
        if (Prompter::instance().messageOffering(window(), QMessageBox::Information, gridrules::messageTitle(), message,
                                                 tr("设定频段…")))
            QTimer::singleShot(0, this, m_bandSetup);
    } else if (!message.isEmpty()) {
        Prompter::instance().message(window(), QMessageBox::Information, gridrules::messageTitle(), message);
    }
    {
        const QScopedValueRollback own(m_ownWrite, true);
        gridrules::applyLeaveCell(*m_wc.channels(), row, column, outcome, previous);
    }
    if (!message.isEmpty())
        m_editors->dropTextEditor(column);
    m_entryText = m_wc.cell(row, column);
    // An empty cell passed through only shows its "OFF": no edit to undo or to save.
    if (passedThrough && m_history)
        m_history->absorb();
    else
        recordStep(tr("编辑信道 %1").arg(row));
}

void ChannelGrid::write(int row, int column, const QString &text)
{
    const QScopedValueRollback own(m_ownWrite, true);
    m_wc.setCell(row, column, text);
}

void ChannelGrid::cellsChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    const QModelIndex cur = currentIndex();
    if (!m_ownWrite && cur.isValid() && cur.row() >= topLeft.row() && cur.row() <= bottomRight.row()
        && cur.column() >= topLeft.column() && cur.column() <= bottomRight.column())
        m_currentVisited = false;
}

void ChannelGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    const bool visited = m_currentVisited;
    m_currentVisited = true;
    if (previous.isValid() && previous != current && !isFixed(previous))
        leaveCell(previous.row(), previous.column(), visited);
    if (current.isValid())
        m_entryText = m_wc.cell(current.row(), current.column());
}

QModelIndex ChannelGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex cur = currentIndex();
    if (!cur.isValid())
        return model()->index(FirstRow, FirstColumn);
    int r = cur.row();
    int c = cur.column();
    switch (action) {
    case MoveNext:
        if (++c > LastColumn) {
            c = FirstColumn;
            r = r >= LastRow ? FirstRow : r + 1;
        }
        break;
    case MovePrevious:
        if (--c < FirstColumn) {
            c = LastColumn;
            r = r <= FirstRow ? LastRow : r - 1;
        }
        break;
    default: {
        const QModelIndex i = QTableView::moveCursor(action, modifiers);
        r = std::clamp(i.isValid() ? i.row() : r, FirstRow, LastRow);
        c = std::clamp(i.isValid() ? i.column() : c, FirstColumn, LastColumn);
    }
    }
    return model()->index(r, c);
}

void ChannelGrid::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex cur = currentIndex();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (event->matches(QKeySequence::Copy)) {
        m_actions->copy();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        m_actions->paste();
        return;
    }
    // Delete on several cells, or on a list cell, clears them; on one frequency cell it
    // erases in the editor, as typing does.
    if (event->key() == Qt::Key_Delete && plain
        && (selectionModel()->selectedIndexes().size() > 1 || !isFrequencyColumn(cur.column()))) {
        m_actions->clearSelected();
        return;
    }
    if (!cur.isValid() || isFixed(cur)) {
        QTableView::keyPressEvent(event);
        return;
    }
    const int c = cur.column();
    // The frequency editor already shown over the current cell, though the grid has the
    // keyboard (after a click on a fixed cell): keys go on to it as if it had the focus.
    QLineEdit *shownEditor = m_editors->shownTextEditor(cur.row(), c);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (shownEditor) {
            m_editors->enterPressed(shownEditor, c);
            return;
        }
        openEditor(true);
        return;
    case Qt::Key_F2:
        openEditor(true);
        return;
    case Qt::Key_Space:
        if (!isFrequencyColumn(c)) {
            openEditor(true);
            return;
        }
        break;
    default:
        break;
    }
    if (isFrequencyColumn(c) && plain) {
        const QString t = event->text();
        const bool typing = t.size() == 1 && (t[0].isDigit() || t[0] == QLatin1Char('.'));
        const bool erasing = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
        if (typing || erasing) {
            // The editor opens with the whole cell selected, so the key replaces it.
            if (!shownEditor)
                openEditor(false);
            if (QLineEdit *e = m_editors->textEditorFor(c); e && !e->isHidden())
                QCoreApplication::sendEvent(e, event);
            return;
        }
    } else if (plain && event->text().size() == 1 && event->text()[0].isPrint()) {
        // A list cell: the list opens and searches its entries for what is typed.
        openEditor(false);
        if (QWidget *list = m_editors->editorFor(c); list && !list->isHidden())
            QCoreApplication::sendEvent(list, event);
        return;
    }
    QTableView::keyPressEvent(event);
    // An editor left over a cell the keyboard moved away from would write its choice
    // into the new current cell, not the one it covers.
    if (currentIndex() != cur && m_editors->isShown()
        && !m_editors->isOver(currentIndex().row(), currentIndex().column()))
        hideEditors();
}

void ChannelGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex i = indexAt(event->position().toPoint());
    const bool left = event->button() == Qt::LeftButton;
    if (!i.isValid() || isFixed(i)) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        // A channel number selects its channel, Shift extends from the last one; the
        // current cell stays where it is.
        if (left && i.isValid() && i.column() == 0 && i.row() >= FirstRow) {
            if (!(event->modifiers() & Qt::ShiftModifier) || m_rowAnchor < 0)
                m_rowAnchor = i.row();
            m_draggingRows = true;
            selectRows(m_rowAnchor, i.row());
        }
        // A right click on a channel number outside the selection makes that channel the
        // one the menu acts on.
        if (event->button() == Qt::RightButton && i.isValid() && i.column() == 0 && i.row() >= FirstRow
            && !m_actions->selectedChannels().contains(i.row())) {
            m_rowAnchor = i.row();
            selectRows(i.row(), i.row());
        }
        return;
    }
    QTableView::mousePressEvent(event);
    if (left && currentIndex() == i && !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
        openEditor(false);
}

void ChannelGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QModelIndex i = indexAt(event->position().toPoint());
    if (m_draggingRows && (event->buttons() & Qt::LeftButton)) {
        if (i.isValid() && i.row() >= FirstRow)
            selectRows(m_rowAnchor, i.row());
        return;
    }
    if (event->buttons() == Qt::LeftButton && i.isValid() && !isFixed(i)) {
        // A drag selects: the editor opened by the press goes once the drag leaves its
        // cell. Cells passed are left unchanged, so their checks change nothing.
        if (i != currentIndex())
            hideEditors();
        QTableView::mouseMoveEvent(event);
        return;
    }
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void ChannelGrid::mouseReleaseEvent(QMouseEvent *event)
{
    m_draggingRows = false;
    QTableView::mouseReleaseEvent(event);
}

void ChannelGrid::contextMenuEvent(QContextMenuEvent *event)
{
    m_actions->showMenu(event->globalPos());
}

QItemSelectionModel::SelectionFlags ChannelGrid::selectionCommand(const QModelIndex &index, const QEvent *event) const
{
    // Tab and Shift+Tab move on; Shift with an arrow, Home or End selects.
    if (event && event->type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return QItemSelectionModel::ClearAndSelect;
    }
    return QTableView::selectionCommand(index, event);
}

void ChannelGrid::keyboardSearch(const QString &)
{
    // Typing never jumps to another row: keys are for the current cell's editor.
}

void ChannelGrid::updateGeometries()
{
    QTableView::updateGeometries();
    if (m_editors)
        m_editors->followCell();
}

void ChannelGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    updateGeometries();
}
