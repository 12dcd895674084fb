#pragma once

#include <QTableView>

#include <functional>

class CellEditors;
class EditHistory;
class GridActions;
class QComboBox;
class QLineEdit;
class WorkingCopy;

// The channel grid (object name "gridXDSZ"): the 17 × 8 channel table of the working copy, row 0 and
// column 0 fixed. Cells are never typed into directly: an editor is laid over the
// current cell (CellEditors) and what it holds is written into the cell as it changes.
// Leaving a cell checks it (GridRules).
//
// An editor stays over its cell until another click, Enter in a frequency editor, a
// failed check, the editor timer or a move of the current cell by the keyboard.
//
// Keyboard: arrows, Tab and Home/End move the current cell; a digit on a frequency
// cell opens its editor with that digit, a letter or digit on a list cell opens its
// list searching for it; Enter, F2 or Space opens the current cell's editor; the keys
// inside an editor are the editors' own. Shift with a move, a drag or a click on the
// channel numbers selects several cells; Ctrl+C, Ctrl+V, Delete and the right-click
// menu act on them (GridActions).
//
// Leaving a cell the user changed checks it; a cell passed through unchanged keeps
// what it holds. Each finished edit is one step of the edit history, when one is set.
class ChannelGrid : public QTableView
{
    Q_OBJECT
public:
    explicit ChannelGrid(WorkingCopy &wc, QWidget *parent = nullptr);

    QLineEdit *rxFreqEditor() const;
    QLineEdit *txFreqEditor() const;
    QComboBox *signallingEditor() const;
    QComboBox *choiceEditor() const;

    // As a mouse click on a data cell: it becomes the current cell (the cell left is
    // checked) and its editor is laid over it. Fixed cells are ignored.
    void clickCell(int row, int column);
    // Hides all four editors; the cells keep what the editors wrote.
    void hideEditors();
    // Every cell at its natural size; smaller panels scroll.
    QSize sizeHint() const override;
    bool anyEditorVisible() const;

    void setHistory(EditHistory *history) { m_history = history; }
    // The way to set the model's band (tune mode). When set, the refusal of a frequency
    // for a model without a band offers a button "设定频段…" that runs it once the
    // refusal is done.
    void setBandSetup(std::function<void()> setUp) { m_bandSetup = std::move(setUp); }
    EditHistory *history() const { return m_history; }
    GridActions *actions() const { return m_actions; }
    // The channel rows with a selected cell in column (any column when column is −1),
    // ascending.
    QList<int> selectedRows(int column = -1) const;
    // Records what changed since the last step (nothing without a history).
    void recordStep(const QString &text);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyboardSearch(const QString &search) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index, const QEvent *event) const override;
    void updateGeometries() override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class CellEditors;

    void openEditor(bool popup);
    // The leave-cell check; for a cell not visited since something else rewrote it,
    // only an empty cell's "OFF".
    void leaveCell(int row, int column, bool visited = true);
    void write(int row, int column, const QString &text);
    // A list's choice for the current cell: written into every selected row of the
    // column when several are selected.
    void listChoice(int row, int column, const QString &text);
    void selectRows(int from, int to);
    void cellsChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);
    void fitColumns();
    // Column widths and row heights for the panel's size: at least what a value needs,
    // spare room shared out; scroll bars when the panel is smaller than that.
    void fitSections();

    WorkingCopy &m_wc;
    CellEditors *m_editors = nullptr;
    GridActions *m_actions = nullptr;
    EditHistory *m_history = nullptr;
    std::function<void()> m_bandSetup;
    // What the current cell held when the visit began: a cell left with the same text
    // was not changed; a refused entry gets it back.
    QString m_entryText;
    // The row a press on the channel numbers started at (−1: none); a drag extends it.
    int m_rowAnchor = -1;
    bool m_draggingRows = false;
    // The current cell counts as visited until something other than the grid (a file
    // load, a read from the radio, a model change) rewrites it. Leaving a cell the user
    // never visited does not check its entry: otherwise the first click after opening
    // a file would run the row fill on channel 1 and wipe its signalling, lockout,
    // bandwidth and power. An empty one still becomes "OFF".
    bool m_currentVisited = true;
    bool m_ownWrite = false;
    QList<int> m_minColumnWidths;
    int m_minRowHeight = 0;
    int m_naturalRowHeight = 0;
};
