#pragma once

#include <QObject>

#include <array>

class ChannelGrid;
class QComboBox;
class QLineEdit;
class WorkingCopy;

// The editors laid over the current cell of the channel grid: "txtTxFreq" on the receive
// column, "txtRecFreq" on the transmit column, the signalling list "cmbCKTX(2)" on
// columns 3–4 and the choice list "cmbCKTX(1)" on columns 5–7. What an editor holds is
// written into its cell as it changes.
//
// Keys in an editor: in a frequency editor Enter writes and checks, Escape closes it,
// and Tab or the up/down arrows close it and move on; in a list Up and Down choose,
// Left, Right and Tab move on.
class CellEditors : public QObject
{
    Q_OBJECT
public:
    CellEditors(ChannelGrid &grid, WorkingCopy &wc);

    QLineEdit *rxFreq() const { return m_rxFreq; }
    QLineEdit *txFreq() const { return m_txFreq; }
    QComboBox *signalling() const { return m_signalling; }
    QComboBox *choice() const { return m_choice; }

    // The frequency editor of a column (nullptr on other columns), and any column's editor.
    QLineEdit *textEditorFor(int column) const;
    QWidget *editorFor(int column) const;

    // Lays the current cell's editor over it, as a click on the cell does; with popup a
    // list opens its drop-down as well.
    void place(bool popup);
    void hideAll();
    void hide(QWidget *editor);
    bool anyVisible() const;
    // True when an editor is shown over this cell.
    bool isOver(int row, int column) const { return m_row >= 0 && m_row == row && m_column == column; }
    bool isShown() const { return m_row >= 0; }
    // The shown frequency editor of the current cell, if there is one.
    QLineEdit *shownTextEditor(int row, int column) const;

    // Enter in a frequency editor: write, close, check the cell.
    void enterPressed(QLineEdit *editor, int column);
    // After a failed check the frequency editor of the column goes, emptied.
    void dropTextEditor(int column);
    // Keeps the shown editor over its cell when the grid scrolls or resizes.
    void followCell();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *makeText(const char *name, int column);
    QComboBox *makeList(const char *name);
    void textChanged(QLineEdit *editor, int column);
    void listChosen(QComboBox *list);
    std::array<QWidget *, 4> all() const;

    ChannelGrid &m_grid;
    WorkingCopy &m_wc;
    QLineEdit *m_rxFreq;
    QLineEdit *m_txFreq;
    QComboBox *m_signalling;
    QComboBox *m_choice;
    // The cell the visible editor lies over (row −1: none), kept in place on scrolling.
    int m_row = -1;
    int m_column = -1;
};
