#pragma once

#include "channels/WorkingCopy.h"

#include <QObject>

#include <functional>

class ChannelGrid;
class EditHistory;
class FileCommands;
class QWidget;

// The editor's work as a whole, for the main window: opening and saving with the undo
// history, the question about unsaved changes before anything replaces them, the
// confirmed model change, and the title that names the file and marks unsaved changes.
class EditSession : public QObject
{
    Q_OBJECT
public:
    EditSession(QWidget &window, WorkingCopy &wc, EditHistory &history, FileCommands &files, ChannelGrid &grid);

    void openFile();
    bool saveFile();
    bool saveFileAs();
    bool loadFile(const QString &path);
    // With unsaved changes asks "保存修改吗？" (保存 / 不保存 / 取消); true to go ahead.
    bool maySetAsideChanges();
    // A complete read took the radio's data over: no file, nothing unsaved.
    void tookOverRead();
    // Something that is no channel file of the user's was loaded (a backup, a CSV): no
    // current file, so 保存 asks for a name; the title shows `name`.
    // `name` is asked again whenever the title is made (the language may have changed).
    void tookOverUnsaved(std::function<QString()> name);
    void undo();
    void redo();
    // The gate of every list: one step each; a model change that clears channels
    // holding data asks first.
    bool changeList(WorkingCopy::List list, const std::function<void()> &select);
    // "name* - caption", the name being the current file's or what was loaded in its
    // place; the caption alone (with "*") when there is neither.
    void updateTitle();

private:
    bool save(bool (FileCommands::*command)());
    bool channelsHoldData() const;

    QWidget &m_window;
    WorkingCopy &m_wc;
    EditHistory &m_history;
    FileCommands &m_files;
    ChannelGrid &m_grid;
    // The title's name while there is no current file (a backup or CSV loaded).
    std::function<QString()> m_loadedName;
};
