#include "WorkingCopy.h"

#include "channels/Codec.h"
#include "channels/Tables.h"
#include "settings/SettingsFile.h"

namespace {

// The titles of row 0, kept in Chinese like every cell and shown translated.
const char *const Titles[ChannelTable::Columns] = {
    QT_TRANSLATE_NOOP("ChannelTable", "信道"),     QT_TRANSLATE_NOOP("ChannelTable", "接收频率"),
    QT_TRANSLATE_NOOP("ChannelTable", "发射频率"), QT_TRANSLATE_NOOP("ChannelTable", "接收信令"),
    QT_TRANSLATE_NOOP("ChannelTable", "发射信令"), QT_TRANSLATE_NOOP("ChannelTable", "繁忙锁定"),
    QT_TRANSLATE_NOOP("ChannelTable", "宽/窄"),    QT_TRANSLATE_NOOP("ChannelTable", "发射功率")};

} // namespace

ChannelTable::ChannelTable(QObject *parent) : QAbstractTableModel(parent)
{ }

QString ChannelTable::cell(int row, int column) const
{
    if (row < 0 || row >= Rows || column < 0 || column >= Columns)
        return {};
    return m_cells[size_t(row)][size_t(column)];
}

void ChannelTable::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= Rows || column < 0 || column >= Columns)
        return;
    QString &c = m_cells[size_t(row)][size_t(column)];
    if (c == text)
        return;
    c = text;
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

QStringList ChannelTable::columnTitles()
{
    QStringList out;
    for (const char *title : Titles)
        out << QString::fromUtf8(title);
    return out;
}

QString ChannelTable::shownTitle(int column)
{
    return column >= 0 && column < Columns ? tr(Titles[column]) : QString();
}

QString ChannelTable::shownCell(int row, int column) const
{
    const QString text = cell(row, column);
    if (row == 0 && !text.isEmpty())
        return tr(text.toUtf8().constData());
    if (column == BusyLock || column == Bandwidth || column == Power)
        return tables::shown(text);
    return text;
}

void ChannelTable::writeTitles()
{
    const QStringList titles = columnTitles();
    for (int c = 0; c < Columns; ++c)
        m_cells[0][size_t(c)] = titles[c];
    for (int r = 1; r < Rows; ++r)
        m_cells[size_t(r)][0] = QString::number(r);
    emit dataChanged(index(0, 0), index(Rows - 1, Columns - 1));
}

void ChannelTable::setCells(const Cells &cells)
{
    beginResetModel();
    m_cells = cells;
    endResetModel();
}

void ChannelTable::clear()
{
    for (auto &row : m_cells)
        for (QString &c : row)
            c.clear();
    emit dataChanged(index(0, 0), index(Rows - 1, Columns - 1));
}

int ChannelTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Rows;
}

int ChannelTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant ChannelTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return shownCell(index.row(), index.column());
    if (role == Qt::EditRole)
        return cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && index.column() == ChannelNo)
        return int(Qt::AlignCenter);
    return {};
}

bool ChannelTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    setCell(index.row(), index.column(), value.toString());
    return true;
}

Qt::ItemFlags ChannelTable::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.row() > 0 && index.column() > 0)
        f |= Qt::ItemIsEditable;
    return f;
}

// ---------------------------------------------------------------------------

WorkingCopy::WorkingCopy(QObject *parent) : QObject(parent)
{
    m_rows.fill(-1);
}

QStringList WorkingCopy::rows(List list)
{
    switch (list) {
    case List::Model:
        return tables::modelRows();
    case List::Monitor:
        return tables::monitorRows();
    case List::PowerSave:
        return tables::powerSaveRows();
    case List::TimeOut:
        return tables::timeOutRows();
    case List::Squelch:
        return tables::squelchRows();
    case List::Scan:
        return tables::scanRows();
    case List::Voice:
        return tables::voiceRows();
    }
    return {};
}

QString WorkingCopy::listText(List list) const
{
    const int r = row(list);
    const QStringList l = rows(list);
    return r >= 0 && r < l.size() ? l[r] : QString();
}

bool WorkingCopy::select(List list, int r)
{
    if (r < 0 || r >= rows(list).size())
        return false;
    m_rows[size_t(list)] = r;
    emit selectionChanged(list, r);
    runSelection(list);
    return true;
}

void WorkingCopy::rerunSelection(List list)
{
    runSelection(list);
}

void WorkingCopy::runSelection(List list)
{
    const int r = row(list);
    if (r < 0)
        return;
    switch (list) {
    case List::Model: {
        m_bandText = bandStringForModelRow(r);
        emit bandTextChanged(m_bandText);
        const QString code = QString::fromLatin1(tables::models[size_t(r)].code);
        m_modelCode = code;
        m_modelByte = QString::number(code.toInt(nullptr, 16));
        emit derivedChanged();
        if (clearGridOnModelChange) {
            m_table.clear();
            m_table.writeTitles();
        }
        break;
    }
    case List::Monitor:
        composeFunctionByte(m_crystalChoice == 1 ? QStringLiteral("1") : QStringLiteral("0"),
                            m_signChoice == 1 ? QStringLiteral("1") : QStringLiteral("0"));
        break;
    case List::PowerSave:
        composeFunctionByte(m_crystalCode, m_ifSignCode);
        break;
    case List::Voice:
        m_voiceByte = r == 0 ? QStringLiteral("255") : QString::number(r - 1);
        emit derivedChanged();
        break;
    case List::TimeOut:
    case List::Squelch:
    case List::Scan:
        break;
    }
}

void WorkingCopy::composeFunctionByte(const QString &crystalDigit, const QString &signDigit)
{
    const int monitor = row(List::Monitor);
    const int powerSave = row(List::PowerSave);
    if (monitor < 0 || powerSave < 0)
        return;
    const QString bits = QString::number(monitor) + QString::number(powerSave) + crystalDigit + signDigit
        + QStringLiteral("0000");
    const auto value = codec::hexToInt(codec::bitsToHex(bits));
    m_functionByte = value ? QString::number(*value) : QStringLiteral("0");
    emit derivedChanged();
}

QString WorkingCopy::bandStringByKey(int key) const
{
    return key >= 1 && key <= 6 ? m_bands[size_t(key - 1)] : QString();
}

void WorkingCopy::setBandStringByKey(int key, const QString &band)
{
    if (key < 1 || key > 6 || m_bands[size_t(key - 1)] == band)
        return;
    m_bands[size_t(key - 1)] = band;
    emit bandStringsChanged();
}

QString WorkingCopy::bandStringForModelRow(int row) const
{
    if (row < 0 || row >= int(tables::models.size()))
        return {};
    return bandStringByKey(tables::models[size_t(row)].settingsKey);
}

void WorkingCopy::setBandStringForModelRow(int row, const QString &band)
{
    if (row < 0 || row >= int(tables::models.size()))
        return;
    setBandStringByKey(tables::models[size_t(row)].settingsKey, band);
}

void WorkingCopy::setCrystalCode(const QString &v)
{
    m_crystalCode = v;
    emit tuneChanged();
}

void WorkingCopy::setIfSignCode(const QString &v)
{
    m_ifSignCode = v;
    emit tuneChanged();
}

bool WorkingCopy::setPowerStep(int index)
{
    if (index < 0 || index >= tables::PowerSteps)
        return false;
    m_powerStep = index;
    emit tuneChanged();
    return true;
}

void WorkingCopy::setCrystalChoice(int c)
{
    m_crystalChoice = c == 1 ? 1 : 0;
    emit tuneChanged();
}

void WorkingCopy::setSignChoice(int c)
{
    m_signChoice = c == 1 ? 1 : 0;
    emit tuneChanged();
}

QString WorkingCopy::crystalText() const
{
    return QString::fromUtf16(m_crystalChoice == 1 ? tables::crystal144 : tables::crystal13);
}

QString WorkingCopy::signText() const
{
    return QString::fromUtf16(m_signChoice == 1 ? tables::signNegative : tables::signPositive);
}

QString WorkingCopy::powerStepText() const
{
    return tables::powerStepRows().value(m_powerStep);
}

void WorkingCopy::startUp(const QString &settingsPath)
{
    const std::array<QString, 6> bands = settings::readBands(settingsPath);
    for (int key = 1; key <= 6; ++key)
        setBandStringByKey(key, bands[size_t(key - 1)]);
    m_crystalCode = QStringLiteral("0");
    m_ifSignCode = QStringLiteral("0");
    m_powerStep = 5;
    // The tune window is loaded at start-up and takes its options from crystalCode/ifSignCode.
    m_crystalChoice = 0;
    m_signChoice = 0;
    emit tuneChanged();
    m_table.writeTitles();

    const std::array<int, ListCount> start{0, 0, 0, 0, 4, 0, 0};
    for (int i = 0; i < ListCount; ++i) {
        m_rows[size_t(i)] = start[size_t(i)];
        emit selectionChanged(List(i), start[size_t(i)]);
    }
    runSelection(List::Monitor);
    clearGridOnModelChange = false;
    runSelection(List::Model);
    clearGridOnModelChange = true;
    runSelection(List::Voice);
}

void WorkingCopy::activate()
{
    clearGridOnModelChange = false;
    runSelection(List::Model);
    clearGridOnModelChange = true;
    runSelection(List::PowerSave);
}

WorkingCopyState WorkingCopy::state() const
{
    WorkingCopyState s;
    s.cells = m_table.cells();
    s.rows = m_rows;
    s.bands = m_bands;
    s.bandText = m_bandText;
    s.modelCode = m_modelCode;
    s.modelByte = m_modelByte;
    s.functionByte = m_functionByte;
    s.voiceByte = m_voiceByte;
    s.crystalCode = m_crystalCode;
    s.ifSignCode = m_ifSignCode;
    s.powerStep = m_powerStep;
    s.crystalChoice = m_crystalChoice;
    s.signChoice = m_signChoice;
    s.clearGridOnModelChange = clearGridOnModelChange;
    return s;
}

void WorkingCopy::setState(const WorkingCopyState &s)
{
    // Values first, signals after: a widget that follows one signal reads a state that
    // is whole, and a list that follows its row sees it already selected.
    m_rows = s.rows;
    m_bands = s.bands;
    m_bandText = s.bandText;
    m_modelCode = s.modelCode;
    m_modelByte = s.modelByte;
    m_functionByte = s.functionByte;
    m_voiceByte = s.voiceByte;
    m_crystalCode = s.crystalCode;
    m_ifSignCode = s.ifSignCode;
    m_powerStep = s.powerStep;
    m_crystalChoice = s.crystalChoice;
    m_signChoice = s.signChoice;
    clearGridOnModelChange = s.clearGridOnModelChange;
    m_table.setCells(s.cells);
    for (int i = 0; i < ListCount; ++i)
        emit selectionChanged(List(i), m_rows[size_t(i)]);
    emit bandStringsChanged();
    emit bandTextChanged(m_bandText);
    emit derivedChanged();
    emit tuneChanged();
}
