#pragma once

#include <QAbstractTableModel>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

// The 17 × 8 channel table: row 0 titles, column 0 channel numbers, rows 1…16 ×
// columns 1…7 the channel cells (receive/transmit frequency, receive/transmit
// signalling, busy lock, bandwidth, transmit power). Every cell is a display text, kept
// in Chinese (titles and list values); the display role shows it in the chosen language,
// the edit role as it is kept.
class ChannelTable : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int Rows = 17;
    static constexpr int Columns = 8;
    enum Column { ChannelNo = 0, RxFreq, TxFreq, RxSignal, TxSignal, BusyLock, Bandwidth, Power };

    explicit ChannelTable(QObject *parent = nullptr);

    QString cell(int row, int column) const;
    // The cell as the grid shows it: titles and list values translated.
    QString shownCell(int row, int column) const;
    void setCell(int row, int column, const QString &text);

    using Cells = std::array<std::array<QString, Columns>, Rows>;
    const Cells &cells() const { return m_cells; }
    // Replaces every cell; one model reset.
    void setCells(const Cells &cells);

    // Titles into row 0 and "1"…"16" into column 0; data cells are not touched.
    void writeTitles();
    // Empties every cell, titles and numbers included.
    void clear();

    static QStringList columnTitles();
    // A column's title in the language shown ("接收频率", "RX freq").
    static QString shownTitle(int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    Cells m_cells;
};

class WorkingCopy;

// Everything a working copy holds, as plain values: what undo keeps, and what a load or
// a read builds in a fresh working copy before the editor takes it over.
struct WorkingCopyState
{
    ChannelTable::Cells cells;
    std::array<int, 7> rows{};
    std::array<QString, 6> bands;
    QString bandText;
    QString modelCode;
    QString modelByte;
    QString functionByte;
    QString voiceByte;
    QString crystalCode;
    QString ifSignCode;
    int powerStep = 5;
    int crystalChoice = 0;
    int signChoice = 0;
    bool clearGridOnModelChange = false;

    bool operator==(const WorkingCopyState &) const = default;
};

// The edited state of one radio: channel table, list selections, band strings,
// derived values and tune values. Every change is signalled so widgets can follow.
class WorkingCopy : public QObject
{
    Q_OBJECT
public:
    enum class List { Model, Monitor, PowerSave, TimeOut, Squelch, Scan, Voice };
    static constexpr int ListCount = 7;

    explicit WorkingCopy(QObject *parent = nullptr);

    ChannelTable *channels() { return &m_table; }
    const ChannelTable *channels() const { return &m_table; }
    QString cell(int row, int column) const { return m_table.cell(row, column); }
    void setCell(int row, int column, const QString &text) { m_table.setCell(row, column, text); }
    void writeTitles() { m_table.writeTitles(); }
    void clearChannelTable() { m_table.clear(); }

    // Lists: the fixed rows, the selected row (−1 for none) and the shown text.
    static QStringList rows(List list);
    int row(List list) const { return m_rows[size_t(list)]; }
    QString listText(List list) const;

    // Selecting a row sets it and runs that list's selection operation, whether a
    // program step or the user chose it. A row outside the list is refused (false).
    bool select(List list, int row);
    void selectModel(int r) { select(List::Model, r); }
    void selectMonitor(int r) { select(List::Monitor, r); }
    void selectPowerSave(int r) { select(List::PowerSave, r); }
    void selectTimeOut(int r) { select(List::TimeOut, r); }
    void selectSquelch(int r) { select(List::Squelch, r); }
    void selectScan(int r) { select(List::Scan, r); }
    void selectVoice(int r) { select(List::Voice, r); }
    // Runs a list's selection operation with its row unchanged.
    void rerunSelection(List list);

    // Band strings by settings key number 1…6 (keys "PL1"…"PL6" of the settings file).
    QString bandStringByKey(int key) const;
    void setBandStringByKey(int key, const QString &band);
    // The band string of a model row (rows 3, 4, 5 use keys 6, 4, 5).
    QString bandStringForModelRow(int row) const;
    void setBandStringForModelRow(int row, const QString &band);

    // The text of the band label: the band string of the model last selected.
    QString bandText() const { return m_bandText; }

    bool clearGridOnModelChange = false;

    QString modelCode() const { return m_modelCode; }
    QString modelByte() const { return m_modelByte; }
    QString functionByte() const { return m_functionByte; }
    QString voiceByte() const { return m_voiceByte; }

    // Tune values.
    QString crystalCode() const { return m_crystalCode; }
    QString ifSignCode() const { return m_ifSignCode; }
    int powerStep() const { return m_powerStep; }
    void setCrystalCode(const QString &v);
    void setIfSignCode(const QString &v);
    // Index 0…10 into "-5"…"5"; other values are refused (false).
    bool setPowerStep(int index);
    // Crystal choice: 0 "13MHz ", 1 "14.4MHz". Sign choice: 0 "正", 1 "负".
    int crystalChoice() const { return m_crystalChoice; }
    int signChoice() const { return m_signChoice; }
    void setCrystalChoice(int c);
    void setSignChoice(int c);
    QString crystalText() const;
    QString signText() const;
    QString powerStepText() const;

    // The whole state as plain values, and its take-over: setState replaces everything,
    // runs no selection operation and emits every change signal, so widgets follow.
    WorkingCopyState state() const;
    void setState(const WorkingCopyState &state);

    // Start-up: band strings from the settings file (an empty path reads nothing),
    // tune start values, channel titles, start rows, then the monitor, model and voice
    // selections in that order.
    void startUp(const QString &settingsPath);
    // Activation: the model selection without clearing the grid, then the power-save
    // selection, so band strings and tune values changed elsewhere show up.
    void activate();

signals:
    void selectionChanged(WorkingCopy::List list, int row);
    void bandTextChanged(const QString &text);
    void bandStringsChanged();
    void derivedChanged();
    void tuneChanged();

private:
    void runSelection(List list);
    void composeFunctionByte(const QString &crystalDigit, const QString &signDigit);
    void setDerived(QString *member, const QString &value);

    ChannelTable m_table;
    std::array<int, ListCount> m_rows{};
    std::array<QString, 6> m_bands; // by key number − 1
    QString m_bandText;
    QString m_modelCode;
    QString m_modelByte;
    QString m_functionByte;
    QString m_voiceByte;
    QString m_crystalCode = QStringLiteral("0");
    QString m_ifSignCode = QStringLiteral("0");
    int m_powerStep = 5;
    int m_crystalChoice = 0;
    int m_signChoice = 0;
};
