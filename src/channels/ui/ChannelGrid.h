#pragma once

#include <QTableView>

#include <array>

class QComboBox;
class QLineEdit;
class WorkingCopy;

// The channel grid (object name "gridXDSZ"): the 17 × 8 channel table of the working copy, row 0 and
// column 0 fixed. Cells are never typed into directly: an editor is laid over the
// current cell — "txtTxFreq" on the receive column, "txtRecFreq" on the transmit column,
// the signalling list "cmbCKTX(2)" on columns 3–4 and the choice list "cmbCKTX(1)" on
// columns 5–7 — and what it holds is written into the cell as it changes. Leaving a
// cell checks it (GridRules).
//
// An editor stays over its cell until another click, Enter in a frequency editor, a
// failed check, the editor timer or a move of the current cell by the keyboard.
//
// Keyboard: arrows, Tab and Home/End move the current cell; a digit on a frequency
// cell opens its editor with that digit; Enter, F2 or Space opens the current cell's
// editor; in a frequency editor Enter writes and checks, Escape closes it, and Tab
// or the up/down arrows close it and move on; in a list Up and Down choose, Left,
// Right and Tab move on.
class ChannelGrid : public QTableView
{
    Q_OBJECT
public:
    explicit ChannelGrid(WorkingCopy &wc, QWidget *parent = nullptr);

    QLineEdit *rxFreqEditor() const { return m_rxFreqEditor; }
    QLineEdit *txFreqEditor() const { return m_txFreqEditor; }
    QComboBox *signallingEditor() const { return m_signalling; }
    QComboBox *choiceEditor() const { return m_choice; }

    // As a mouse click on a data cell: it becomes the current cell (the cell left is
    // checked) and its editor is laid over it. Fixed cells are ignored.
    void clickCell(int row, int column);
    // Hides all four editors; the cells keep what the editors wrote.
    void hideEditors();
    bool anyEditorVisible() const;

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void openEditor(bool popup);
    void placeEditor();
    void textChanged(QLineEdit *editor, int column);
    void enterPressed(QLineEdit *editor, int column);
    void listChosen(QComboBox *list);
    // The leave-cell check; for a cell not visited since something else rewrote it,
    // only an empty cell's "OFF".
    void leaveCell(int row, int column, bool visited = true);
    void write(int row, int column, const QString &text);
    void cellsChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);
    QLineEdit *textEditorFor(int column) const;
    std::array<QWidget *, 4> editors() const;
    void hideEditor(QWidget *editor);
    QWidget *editorFor(int column) const;
    void fitColumns();

    WorkingCopy &m_wc;
    QLineEdit *m_rxFreqEditor;
    QLineEdit *m_txFreqEditor;
    QComboBox *m_signalling;
    QComboBox *m_choice;
    // The cell the visible editor lies over (row −1: none), kept in place on scrolling.
    int m_editorRow = -1;
    int m_editorColumn = -1;
    // The current cell counts as visited until something other than the grid (a file
    // load, a read from the radio, a model change) rewrites it. Leaving a cell the user
    // never visited does not check its entry: otherwise the first click after opening
    // a file would run the row fill on channel 1 and wipe its signalling, lockout,
    // bandwidth and power. An empty one still becomes "OFF".
    bool m_currentVisited = true;
    bool m_ownWrite = false;
};
