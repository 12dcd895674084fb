#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class WorkingCopy;

// The open, save and save-as commands: file dialogs, the busy pointer and the messages,
// all through the Prompter. A cancelled dialog does nothing and says nothing.
class FileCommands
{
public:
    FileCommands(WorkingCopy &wc, QWidget *parent);

    // "chp(*.chp)", "所有文件(*.*)" and "所有文件 (*)", the last showing names without an
    // extension too.
    static QStringList nameFilters();

    // Asks for a channel file and loads it; true when it was loaded.
    bool open();
    // Asks for a name (confirming an overwrite) and saves; a name typed without an
    // extension gets ".chp". True when saved.
    bool saveAs();
    // "保存": saves to the current file, or asks for a name as saveAs does when there is none.
    bool saveCurrent();

    // The file the editor holds: set by open() and by a successful save, empty when none.
    QString currentPath() const { return m_currentPath; }
    void setCurrentPath(const QString &path) { m_currentPath = path; }

    // Loading with the busy pointer; a missing file is ignored silently, any other
    // failure is shown with its number as title. The editor changes only when the
    // whole file loaded. True when the file was loaded.
    bool load(const QString &path);
    // Saving; "保存成功" on success, the failure under the title "错误" otherwise.
    bool save(const QString &path);

    // The folder the dialogs open in: the current file's, or without one the folder of
    // the last file chosen in any of the editor's file dialogs.
    QString folder() const;
    void setFolder(const QString &folder) { m_folder = folder; }
    // After a dialog of another command chose `path`: its folder is the last one used.
    void remember(const QString &path);

    // A name typed without an extension gets `suffix` (".chp"); the dialog asked about an
    // existing file by the name as typed, so the longer name is asked about here. Empty
    // when the user keeps the existing file.
    static QString withSuffix(QWidget *parent, const QString &path, const QString &suffix, const QString &title);

private:
    WorkingCopy &m_wc;
    QWidget *m_parent;
    QString m_folder;
    QString m_currentPath;
};
