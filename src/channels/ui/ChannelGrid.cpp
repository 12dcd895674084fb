#include "ChannelGrid.h"

#include "channels/GridRules.h"
#include "channels/Tables.h"
#include "channels/WorkingCopy.h"
#include "widgets/AppInfo.h"
#include "widgets/Prompter.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int FirstRow = 1;
constexpr int LastRow = ChannelTable::Rows - 1;
constexpr int FirstColumn = ChannelTable::RxFreq;
constexpr int LastColumn = ChannelTable::Columns - 1;

bool isFixed(const QModelIndex &i)
{
    return i.row() < FirstRow || i.column() < FirstColumn;
}

bool isFrequencyColumn(int c)
{
    return c == ChannelTable::RxFreq || c == ChannelTable::TxFreq;
}

bool isSignallingColumn(int c)
{
    return c == ChannelTable::RxSignal || c == ChannelTable::TxSignal;
}

QStringList choicesFor(int column)
{
    switch (column) {
    case ChannelTable::BusyLock: return tables::busyLockRows();
    case ChannelTable::Bandwidth: return tables::bandwidthRows();
    case ChannelTable::Power: return tables::powerRows();
    default: return {};
    }
}

// Row 0 and column 0 are drawn like header sections; data cells are centred.
class CellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
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
    f.setFamilies(QStringList{QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                              QStringLiteral("DejaVu Sans")}
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
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    auto makeText = [this](const char *name, int column) {
        auto *e = new QLineEdit(viewport());
        e->setObjectName(QLatin1String(name));
        e->setFrame(false);
        e->setAlignment(Qt::AlignCenter);
        // "000.00000" is 9 characters; a little room for decimals that get rounded.
        e->setMaxLength(12);
        e->hide();
        e->installEventFilter(this);
        // Every change of a shown editor's text reaches the cell, typed or set.
        connect(e, &QLineEdit::textChanged, this, [this, e, column] { textChanged(e, column); });
        return e;
    };
    m_rxFreqEditor = makeText("txtTxFreq", ChannelTable::RxFreq);
    m_txFreqEditor = makeText("txtRecFreq", ChannelTable::TxFreq);

    auto makeList = [this](const char *name) {
        auto *l = new QComboBox(viewport());
        l->setObjectName(QLatin1String(name));
        l->setEditable(false);
        l->setMaxVisibleItems(20);
        l->hide();
        l->installEventFilter(this);
        // A row chosen with the mouse, the keyboard or by setCurrentIndex; activated as
        // well, so choosing the entry that is already shown writes it too.
        connect(l, &QComboBox::currentIndexChanged, this, [this, l] { listChosen(l); });
        connect(l, &QComboBox::activated, this, [this, l] { listChosen(l); });
        return l;
    };
    m_signalling = makeList("cmbCKTX(2)");
    m_signalling->addItems(tables::signallingList());
    // A scrolling list of 20 rows rather than a menu as tall as the screen for 261 entries.
    m_signalling->setStyleSheet(QStringLiteral("combobox-popup: 0;"));
    m_choice = makeList("cmbCKTX(1)");

    fitColumns();
    setCurrentIndex(wc.channels()->index(FirstRow, FirstColumn));
    connect(wc.channels(), &QAbstractItemModel::dataChanged, this, &ChannelGrid::cellsChanged);
}

QLineEdit *ChannelGrid::textEditorFor(int column) const
{
    if (column == ChannelTable::RxFreq)
        return m_rxFreqEditor;
    if (column == ChannelTable::TxFreq)
        return m_txFreqEditor;
    return nullptr;
}

QWidget *ChannelGrid::editorFor(int column) const
{
    if (isFrequencyColumn(column))
        return textEditorFor(column);
    if (isSignallingColumn(column))
        return m_signalling;
    if (column > ChannelTable::TxSignal && column <= LastColumn)
        return m_choice;
    return nullptr;
}

void ChannelGrid::fitColumns()
{
    const QFontMetrics fm(font());
    const QStringList titles = ChannelTable::columnTitles();
    const int pad = fm.horizontalAdvance(QLatin1Char('0')) * 3;
    QHeaderView *h = horizontalHeader();
    h->setMinimumSectionSize(1);
    for (int c = 0; c < ChannelTable::Columns; ++c) {
        QString widest = titles[c];
        if (isFrequencyColumn(c))
            widest = QStringLiteral("000.00000");
        else if (isSignallingColumn(c))
            widest = QStringLiteral("D023N");
        const int w = std::max(fm.horizontalAdvance(widest), fm.horizontalAdvance(titles[c])) + pad;
        setColumnWidth(c, w);
        h->setSectionResizeMode(c, c == 0 ? QHeaderView::Fixed : QHeaderView::Stretch);
    }
    // Rows share the height the panel gives; the minimum keeps every row readable.
    QHeaderView *v = verticalHeader();
    v->setMinimumSectionSize(1);
    v->setDefaultSectionSize(fm.height() + 10);
    v->setSectionResizeMode(QHeaderView::Stretch);
    int width = 2 * frameWidth();
    for (int c = 0; c < ChannelTable::Columns; ++c)
        width += columnWidth(c);
    const int height = 2 * frameWidth() + ChannelTable::Rows * v->defaultSectionSize();
    setMinimumSize(width, height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ChannelGrid::clickCell(int row, int column)
{
    const QModelIndex i = model()->index(row, column);
    if (!i.isValid() || isFixed(i))
        return;
    setCurrentIndex(i);
    openEditor(false);
}

void ChannelGrid::hideEditors()
{
    for (QWidget *e : editors())
        hideEditor(e);
    m_editorRow = -1;
}

std::array<QWidget *, 4> ChannelGrid::editors() const
{
    return {m_rxFreqEditor, m_txFreqEditor, m_signalling, m_choice};
}

// Hiding the focus widget would hand the focus on along the tab chain, and the grid
// takes that as Tab: the current cell would move. The grid takes the focus first.
void ChannelGrid::hideEditor(QWidget *editor)
{
    if (editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    editor->hide();
}

bool ChannelGrid::anyEditorVisible() const
{
    const auto all = editors();
    return std::any_of(all.begin(), all.end(), [](QWidget *e) { return !e->isHidden(); });
}

void ChannelGrid::openEditor(bool popup)
{
    m_currentVisited = true;
    placeEditor();
    if (!popup || m_editorRow < 0)
        return;
    if (auto *list = qobject_cast<QComboBox *>(editorFor(m_editorColumn)))
        list->showPopup();
}

// Lays the current cell's editor over it, as a click on the cell does.
void ChannelGrid::placeEditor()
{
    // A grid without its channel numbers has not been set up yet.
    if (m_wc.cell(FirstRow, 0).isEmpty())
        return;
    const QModelIndex cur = currentIndex();
    QWidget *editor = cur.isValid() && !isFixed(cur) ? editorFor(cur.column()) : nullptr;
    for (QWidget *e : editors())
        if (e != editor)
            hideEditor(e);
    if (!editor) {
        m_editorRow = -1;
        return;
    }
    const int r = cur.row();
    const int c = cur.column();
    const QString text = m_wc.cell(r, c);
    m_editorRow = r;
    m_editorColumn = c;
    editor->setGeometry(visualRect(cur));
    if (QLineEdit *e = textEditorFor(c)) {
        e->setText(gridrules::editorText(text));
        e->show();
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
        return;
    }
    auto *list = static_cast<QComboBox *>(editor);
    {
        // The list opens on the cell's own entry; nothing is written until one is chosen.
        const QSignalBlocker quiet(list);
        if (list == m_choice) {
            m_choice->clear();
            m_choice->addItems(choicesFor(c));
        }
        list->setCurrentIndex(list->findText(text, Qt::MatchExactly));
    }
    list->show();
    list->setFocus(Qt::OtherFocusReason);
}

// Also when a shown editor is laid over another cell of its column: that cell is
// rewritten in the grid's format, and an "OFF" cell becomes empty until it is left.
void ChannelGrid::textChanged(QLineEdit *editor, int column)
{
    if (editor->isHidden())
        return;
    if (!gridrules::readsAsNumber(editor->text()))
        editor->clear();
    const int r = currentIndex().row();
    if (r >= FirstRow)
        write(r, column, gridrules::formatFrequency(editor->text()));
}

void ChannelGrid::enterPressed(QLineEdit *editor, int column)
{
    const QModelIndex cur = currentIndex();
    if (!cur.isValid() || isFixed(cur))
        return;
    write(cur.row(), column, gridrules::formatFrequency(editor->text()));
    hideEditor(editor);
    m_editorRow = -1;
    leaveCell(cur.row(), cur.column());
}

void ChannelGrid::listChosen(QComboBox *list)
{
    const QModelIndex cur = currentIndex();
    if (list->isHidden() || !cur.isValid() || isFixed(cur))
        return;
    if (list->currentIndex() < 0)
        return;
    QString text = list->currentText();
    if (isFrequencyColumn(cur.column()))
        text = gridrules::formatFrequency(text);
    // The list stays over its cell with the keyboard: Up and Down choose again, Left,
    // Right and Tab move on.
    write(cur.row(), cur.column(), text);
}

void ChannelGrid::leaveCell(int row, int column, bool visited)
{
    const QString text = m_wc.cell(row, column);
    // A cell the user never visited is only given its "OFF"; its entry is not checked.
    if (!visited && !text.isEmpty())
        return;
    const auto outcome = gridrules::checkLeaveCell(column, text, m_wc.bandText());
    const QString message = gridrules::messageFor(outcome);
    if (!message.isEmpty())
        Prompter::instance().message(window(), QMessageBox::Information, gridrules::messageTitle(),
                                     message);
    {
        const QScopedValueRollback own(m_ownWrite, true);
        gridrules::applyLeaveCell(*m_wc.channels(), row, column, outcome);
    }
    if (message.isEmpty())
        return;
    if (QLineEdit *e = textEditorFor(column)) {
        // Hidden first: a shown editor would write its emptying into the current cell,
        // which may already be the next one.
        hideEditor(e);
        e->clear();
        if (m_editorColumn == column)
            m_editorRow = -1;
    }
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
    if (!cur.isValid() || isFixed(cur)) {
        QTableView::keyPressEvent(event);
        return;
    }
    const int c = cur.column();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    // The frequency editor already shown over the current cell, though the grid has the
    // keyboard (after a click on a fixed cell): keys go on to it as if it had the focus.
    QLineEdit *shownEditor = textEditorFor(c);
    if (shownEditor && (shownEditor->isHidden() || m_editorRow != cur.row() || m_editorColumn != c))
        shownEditor = nullptr;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (shownEditor) {
            enterPressed(shownEditor, c);
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
    default: break;
    }
    if (isFrequencyColumn(c) && plain) {
        const QString t = event->text();
        const bool typing = t.size() == 1 && (t[0].isDigit() || t[0] == QLatin1Char('.'));
        const bool erasing = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
        if (typing || erasing) {
            // The editor opens with the whole cell selected, so the key replaces it.
            if (!shownEditor)
                openEditor(false);
            if (QLineEdit *e = textEditorFor(c); e && !e->isHidden())
                QCoreApplication::sendEvent(e, event);
            return;
        }
    }
    QTableView::keyPressEvent(event);
    // An editor left over a cell the keyboard moved away from would write its choice
    // into the new current cell, not the one it covers.
    if (currentIndex() != cur && m_editorRow >= 0
        && (m_editorRow != currentIndex().row() || m_editorColumn != currentIndex().column()))
        hideEditors();
}

void ChannelGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex i = indexAt(event->position().toPoint());
    if (!i.isValid() || isFixed(i)) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
    if (currentIndex() == i)
        openEditor(false);
}

void ChannelGrid::mouseMoveEvent(QMouseEvent *event)
{
    // Dragging must not walk the current cell across the grid: every cell passed
    // would be checked as it is left.
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

bool ChannelGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress
        || (watched != m_rxFreqEditor && watched != m_txFreqEditor && watched != m_signalling
            && watched != m_choice))
        return QTableView::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool isText = watched == m_rxFreqEditor || watched == m_txFreqEditor;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!isText)
            break;
        // Taken here: a line edit passes Enter on to its parents, which would reopen it.
        enterPressed(static_cast<QLineEdit *>(watched),
                     watched == m_rxFreqEditor ? ChannelTable::RxFreq : ChannelTable::TxFreq);
        return true;
    case Qt::Key_Escape:
        hideEditors();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!isText)
            break;
        [[fallthrough]];
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        hideEditors();
        keyPressEvent(key);
        return true;
    default: break;
    }
    return QTableView::eventFilter(watched, event);
}

void ChannelGrid::updateGeometries()
{
    QTableView::updateGeometries();
    if (m_editorRow >= 0)
        if (QWidget *e = editorFor(m_editorColumn))
            e->setGeometry(visualRect(model()->index(m_editorRow, m_editorColumn)));
}

void ChannelGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    updateGeometries();
}
