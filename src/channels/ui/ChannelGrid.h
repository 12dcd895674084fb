#pragma once

#include <QTableView>

class CellEditors;
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
// cell opens its editor with that digit; Enter, F2 or Space opens the current cell's
// editor; the keys inside an editor are the editors' own.
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
    bool anyEditorVisible() const;

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class CellEditors;

    void openEditor(bool popup);
    // The leave-cell check; for a cell not visited since something else rewrote it,
    // only an empty cell's "OFF".
    void leaveCell(int row, int column, bool visited = true);
    void write(int row, int column, const QString &text);
    void cellsChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);
    void fitColumns();

    WorkingCopy &m_wc;
    CellEditors *m_editors = nullptr;
    // The current cell counts as visited until something other than the grid (a file
    // load, a read from the radio, a model change) rewrites it. Leaving a cell the user
    // never visited does not check its entry: otherwise the first click after opening
    // a file would run the row fill on channel 1 and wipe its signalling, lockout,
    // bandwidth and power. An empty one still becomes "OFF".
    bool m_currentVisited = true;
    bool m_ownWrite = false;
};
