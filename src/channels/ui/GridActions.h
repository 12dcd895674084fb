#pragma once

#include <QModelIndex>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class ChannelGrid;
class QMenu;
class QPoint;
class WorkingCopy;

// What the channel grid does with several cells at once: the clipboard (tab-separated
// text, as spreadsheets exchange it), clearing, copying a channel to the next one and
// filling frequencies by a step; and the right-click menu that offers them. Each command
// is one step of the grid's edit history; values that fail their checks are listed in
// one message at the end, the others are applied.
class GridActions : public QObject
{
    Q_OBJECT
public:
    GridActions(ChannelGrid &grid, WorkingCopy &wc);

    // Ctrl+C: the selected cells (the current cell when none is selected) as shown.
    void copy();
    // Ctrl+V: the clipboard's text from the selection's first cell on (the current cell
    // without a selection). Into selected channels (their numbers clicked) from their first
    // column: several channels take as many lines, one line goes into each. Whole
    // channels copied go in from the first column whatever cell was current.
    void paste();
    void pasteText(const QString &text);
    // Delete: selected frequency and signalling cells become "OFF".
    void clearSelected();
    // "清除信道": the channels with a selected cell (or the current one).
    void clearChannels();
    // "复制到下一信道": the selected channel (its number clicked), else the current one,
    // over the next one.
    void copyToNextChannel();
    // "按步进填充…": asks for the step in kHz (12.5 at first; asked again while it is no
    // whole multiple of 6.25 or 5 kHz) and fills the selected channels' frequencies from
    // the first one's.
    void fillByStep();

    // The selected rows when each is selected whole (its number clicked or dragged over),
    // else none.
    QList<int> selectedChannels() const;

    // The right-click menu, built for the grid as it is now.
    QMenu *makeMenu(QWidget *parent);
    void showMenu(const QPoint &globalPos);

private:
    void run(const QString &name, const QString &refusedTitle, const std::function<QStringList()> &edit);
    QList<int> targetRows() const;
    QModelIndex selectionTopLeft() const;

    ChannelGrid &m_grid;
    WorkingCopy &m_wc;
    double m_stepKHz = 12.5;
};
