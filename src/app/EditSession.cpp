#include "EditSession.h"

#include "channels/EditHistory.h"
#include "channels/GridRules.h"
#include "channels/ui/ChannelGrid.h"
#include "files/ui/FileCommands.h"
#include "widgets/AppInfo.h"
#include "widgets/Prompter.h"

#include <QFileInfo>
#include <QWidget>

EditSession::EditSession(QWidget &window, WorkingCopy &wc, EditHistory &history, FileCommands &files, ChannelGrid &grid)
    : QObject(&window), m_window(window), m_wc(wc), m_history(history), m_files(files), m_grid(grid)
{
    connect(&m_history, &EditHistory::modifiedChanged, this, &EditSession::updateTitle);
}

void EditSession::tookOverRead()
{
    m_files.setCurrentPath(QString());
    m_loadedName = nullptr;
    m_history.markSaved();
    updateTitle();
}

void EditSession::tookOverUnsaved(std::function<QString()> name)
{
    m_files.setCurrentPath(QString());
    m_loadedName = std::move(name);
    updateTitle();
}

void EditSession::openFile()
{
    // An editor left open over a cell would write its old text into the loaded cell.
    m_grid.hideEditors();
    if (!maySetAsideChanges())
        return;
    bool loaded = false;
    m_history.step(tr("打开"), [&] { loaded = m_files.open(); });
    if (loaded)
        m_history.markSaved();
    updateTitle();
}

bool EditSession::saveFile()
{
    return save(&FileCommands::saveCurrent);
}

bool EditSession::saveFileAs()
{
    return save(&FileCommands::saveAs);
}

bool EditSession::save(bool (FileCommands::*command)())
{
    m_history.record(tr("编辑"));
    const bool saved = (m_files.*command)();
    if (saved)
        m_history.markSaved();
    updateTitle();
    return saved;
}

bool EditSession::loadFile(const QString &path)
{
    m_grid.hideEditors();
    bool loaded = false;
    m_history.step(tr("打开"), [&] { loaded = m_files.load(path); });
    if (loaded) {
        m_files.setCurrentPath(path);
        m_history.markSaved();
    }
    updateTitle();
    return loaded;
}

bool EditSession::maySetAsideChanges()
{
    m_history.record(tr("编辑"));
    if (!m_history.isModified())
        return true;
    const auto answer = Prompter::instance().message(
        &m_window, QMessageBox::Question, appinfo::title(), tr("保存修改吗？"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return saveFile();
    return answer == QMessageBox::Discard;
}

void EditSession::updateTitle()
{
    if (!m_files.currentPath().isEmpty())
        m_loadedName = nullptr;
    const QString name = !m_files.currentPath().isEmpty() ? QFileInfo(m_files.currentPath()).fileName()
        : m_loadedName                                    ? m_loadedName()
                                                          : QString();
    const QString mark = m_history.isModified() ? QStringLiteral("*") : QString();
    m_window.setWindowTitle(name.isEmpty() ? appinfo::mainCaption() + mark
                                           : name + mark + QStringLiteral(" - ") + appinfo::mainCaption());
}

void EditSession::undo()
{
    m_grid.hideEditors();
    m_history.undo();
    updateTitle();
}

void EditSession::redo()
{
    m_grid.hideEditors();
    m_history.redo();
    updateTitle();
}

bool EditSession::channelsHoldData() const
{
    for (int r = 1; r < ChannelTable::Rows; ++r)
        for (int c : {int(ChannelTable::RxFreq), int(ChannelTable::TxFreq)})
            if (gridrules::readsAsNumber(m_wc.cell(r, c)))
                return true;
    return false;
}

// Every list choice is one step. A model change that clears channels holding data asks
// first: about unsaved edits when there are some, otherwise whether to clear.
bool EditSession::changeList(WorkingCopy::List list, const std::function<void()> &select)
{
    const bool model = list == WorkingCopy::List::Model;
    if (model && m_wc.clearGridOnModelChange && channelsHoldData()) {
        m_grid.hideEditors();
        m_history.record(tr("编辑"));
        if (m_history.isModified()) {
            if (!maySetAsideChanges())
                return false;
        } else if (Prompter::instance().message(&m_window, QMessageBox::Question, appinfo::title(),
                                                tr("更换机型将清除全部信道数据，是否继续？"),
                                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
                   != QMessageBox::Yes) {
            return false;
        }
    }
    m_history.step(model ? tr("更换机型") : tr("更改功能设置"), select);
    return true;
}
