#include "CellEditors.h"

#include "channels/GridEdits.h"
#include "channels/GridRules.h"
#include "channels/Tables.h"
#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/ui/GridColumns.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include <algorithm>

using namespace gridcolumns;

CellEditors::CellEditors(ChannelGrid &grid, WorkingCopy &wc) : QObject(&grid), m_grid(grid), m_wc(wc)
{
    m_rxFreq = makeText("txtTxFreq", ChannelTable::RxFreq);
    m_txFreq = makeText("txtRecFreq", ChannelTable::TxFreq);
    m_signalling = makeList("cmbCKTX(2)");
    m_signalling->addItems(tables::signallingList());
    // A scrolling list of 20 rows rather than a menu as tall as the screen for 261 entries.
    m_signalling->setStyleSheet(QStringLiteral("combobox-popup: 0;"));
    m_choice = makeList("cmbCKTX(1)");
}

QLineEdit *CellEditors::makeText(const char *name, int column)
{
    auto *e = new QLineEdit(m_grid.viewport());
    e->setObjectName(QLatin1String(name));
    e->setFrame(false);
    e->setAlignment(Qt::AlignCenter);
    // "000.00000" is 9 characters; a little room for decimals that get rounded.
    e->setMaxLength(12);
    // Digits and one point only: a stray key is refused alone, what was typed stays.
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), e));
    e->hide();
    e->installEventFilter(this);
    // Every change of a shown editor's text reaches the cell, typed or set.
    connect(e, &QLineEdit::textChanged, this, [this, e, column] { textChanged(e, column); });
    return e;
}

QComboBox *CellEditors::makeList(const char *name)
{
    auto *l = new QComboBox(m_grid.viewport());
    l->setObjectName(QLatin1String(name));
    l->setEditable(false);
    l->setMaxVisibleItems(20);
    // The wheel chooses only in a list that has the keyboard.
    l->setFocusPolicy(Qt::StrongFocus);
    l->hide();
    l->installEventFilter(this);
    // A row chosen with the mouse, the keyboard or by setCurrentIndex; activated as
    // well, so choosing the entry that is already shown writes it too.
    connect(l, &QComboBox::currentIndexChanged, this, [this, l] { listChosen(l); });
    connect(l, &QComboBox::activated, this, [this, l] { listChosen(l); });
    return l;
}

QLineEdit *CellEditors::textEditorFor(int column) const
{
    if (column == ChannelTable::RxFreq)
        return m_rxFreq;
    if (column == ChannelTable::TxFreq)
        return m_txFreq;
    return nullptr;
}

QWidget *CellEditors::editorFor(int column) const
{
    if (isFrequencyColumn(column))
        return textEditorFor(column);
    if (isSignallingColumn(column))
        return m_signalling;
    if (column > ChannelTable::TxSignal && column <= LastColumn)
        return m_choice;
    return nullptr;
}

std::array<QWidget *, 4> CellEditors::all() const
{
    return {m_rxFreq, m_txFreq, m_signalling, m_choice};
}

void CellEditors::hideAll()
{
    for (QWidget *e : all())
        hide(e);
    m_row = -1;
}

// Hiding the focus widget would hand the focus on along the tab chain, and the grid
// takes that as Tab: the current cell would move. The grid takes the focus first.
void CellEditors::hide(QWidget *editor)
{
    if (editor->hasFocus())
        m_grid.setFocus(Qt::OtherFocusReason);
    editor->hide();
}

bool CellEditors::anyVisible() const
{
    const auto editors = all();
    return std::any_of(editors.begin(), editors.end(), [](QWidget *e) { return !e->isHidden(); });
}

QLineEdit *CellEditors::shownTextEditor(int row, int column) const
{
    QLineEdit *e = textEditorFor(column);
    return e && !e->isHidden() && isOver(row, column) ? e : nullptr;
}

void CellEditors::place(bool popup)
{
    // A grid without its channel numbers has not been set up yet.
    if (m_wc.cell(FirstRow, 0).isEmpty())
        return;
    const QModelIndex cur = m_grid.currentIndex();
    QWidget *editor = cur.isValid() && !isFixed(cur) ? editorFor(cur.column()) : nullptr;
    for (QWidget *e : all())
        if (e != editor)
            hide(e);
    if (!editor) {
        m_row = -1;
        return;
    }
    const int r = cur.row();
    const int c = cur.column();
    const QString text = m_wc.cell(r, c);
    m_row = r;
    m_column = c;
    editor->setGeometry(m_grid.visualRect(cur));
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
            // Shown in the chosen language; the item's data is the value as kept.
            for (const QString &value : gridedits::listFor(c))
                m_choice->addItem(tables::shown(value), value);
        }
        list->setCurrentIndex(list == m_choice ? list->findData(text) : list->findText(text, Qt::MatchExactly));
    }
    list->show();
    list->setFocus(Qt::OtherFocusReason);
    if (popup)
        list->showPopup();
}

// Also when a shown editor is laid over another cell of its column: that cell is
// rewritten in the grid's format, and an "OFF" cell becomes empty until it is left.
void CellEditors::textChanged(QLineEdit *editor, int column)
{
    if (editor->isHidden())
        return;
    if (!gridrules::readsAsNumber(editor->text()))
        editor->clear();
    const int r = m_grid.currentIndex().row();
    if (r >= FirstRow)
        m_grid.write(r, column, gridrules::formatFrequency(editor->text()));
}

void CellEditors::enterPressed(QLineEdit *editor, int column)
{
    const QModelIndex cur = m_grid.currentIndex();
    if (!cur.isValid() || isFixed(cur))
        return;
    m_grid.write(cur.row(), column, gridrules::formatFrequency(editor->text()));
    hide(editor);
    m_row = -1;
    m_grid.leaveCell(cur.row(), cur.column());
}

void CellEditors::listChosen(QComboBox *list)
{
    const QModelIndex cur = m_grid.currentIndex();
    if (list->isHidden() || !cur.isValid() || isFixed(cur))
        return;
    if (list->currentIndex() < 0)
        return;
    QString text = list == m_choice ? list->currentData().toString() : list->currentText();
    if (isFrequencyColumn(cur.column()))
        text = gridrules::formatFrequency(text);
    // The list stays over its cell with the keyboard: Up and Down choose again, Left,
    // Right and Tab move on.
    m_grid.listChoice(cur.row(), cur.column(), text);
}

void CellEditors::dropTextEditor(int column)
{
    if (QLineEdit *e = textEditorFor(column)) {
        // Hidden first: a shown editor would write its emptying into the current cell,
        // which may already be the next one.
        hide(e);
        e->clear();
        if (m_column == column)
            m_row = -1;
    }
}

void CellEditors::followCell()
{
    if (m_row >= 0)
        if (QWidget *e = editorFor(m_column))
            e->setGeometry(m_grid.visualRect(m_grid.model()->index(m_row, m_column)));
}

bool CellEditors::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && (watched == m_signalling || watched == m_choice)
        && !static_cast<QWidget *>(watched)->hasFocus())
        return true;
    if (event->type() != QEvent::KeyPress
        || (watched != m_rxFreq && watched != m_txFreq && watched != m_signalling && watched != m_choice))
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool isText = watched == m_rxFreq || watched == m_txFreq;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!isText) {
            // Enter confirms the list's choice, already written, and closes it.
            hideAll();
            m_grid.recordStep(QString());
            return true;
        }
        // Taken here: a line edit passes Enter on to its parents, which would reopen it.
        enterPressed(static_cast<QLineEdit *>(watched),
                     watched == m_rxFreq ? ChannelTable::RxFreq : ChannelTable::TxFreq);
        return true;
    case Qt::Key_Escape:
        hideAll();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!isText)
            break;
        [[fallthrough]];
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        hideAll();
        m_grid.keyPressEvent(key);
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
