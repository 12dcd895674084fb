#pragma once

#include "channels/EditHistory.h"
#include "channels/WorkingCopy.h"

#include <QMainWindow>
#include <QStringList>
#include <QTime>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class ChannelGrid;
class EditSession;
class FileCommands;
class HelpWindow;
class QAction;
class QGroupBox;
class QLabel;
class QToolBar;

// The main window mainFrm: owns the working copy for the whole run and shows it in the
// panels "信道数据设置" (the channel grid), "功能设置" and "机型选择"; offers every
// command through the menus and the toolbar.
//
// Commands built elsewhere plug in through setCommandHandler(); a command without a
// handler says that it is not available yet. The serial port and the page script are
// reached only through the closer and the shut-down hook.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum class Command { Print, Read, Write, ChoosePort, Tune };
    // What the status bar's line says, with the time it happened; the line is made in
    // the language shown.
    enum class StatusEvent { None, ReadDone, WriteDone };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    WorkingCopy &workingCopy() { return m_wc; }
    ChannelGrid *grid() const { return m_grid; }
    // Undo and redo of everything that changes the working copy. A command that replaces
    // the whole state (a read, an import) runs inside history().step() and is one step.
    EditHistory &history() { return m_history; }

    // Start-up steps 3 and 4: band strings from the settings file, tune start values,
    // channel titles, start rows and the first selections; then the port is closed.
    // The settings path is normally settings::readPath().
    void startUp(const QString &settingsPath);

    void setCommandHandler(Command command, std::function<void()> handler);
    // Runs a command: its handler, or the notice "此功能尚不可用".
    void runCommand(Command command);
    // Closes the serial port if it is open: after every toolbar command, at the end of
    // start-up and first thing at shut-down.
    void setPortCloser(std::function<void()> closer);
    // Second step of shut-down: deletes the page script's temporary file.
    void setShutdownHook(std::function<void()> hook);

    // The editor timer hides the grid's editors once the focus has left the channel
    // panel. Printing and the transfer handshake stop it; every activation restarts it.
    void stopEditorTimer();
    QTimer *editorTimer() const { return m_editorTimer; }

    // The port given on the command line (--port), empty when none.
    QString initialPort() const { return m_initialPort; }
    void setInitialPort(const QString &port) { m_initialPort = port; }

    // Open, save and save as, the same as the menu items.
    void openFile();
    bool saveFile();
    bool saveFileAs();
    // The file the editor holds (empty when none, as after a read).
    QString currentPath() const;
    // Before something replaces what the user edited: with unsaved changes asks
    // "保存修改吗？" (保存 / 不保存 / 取消). True to go ahead, false when cancelled or the
    // save failed; nothing is asked when there is nothing to lose.
    bool maySetAsideChanges();
    // After a complete read: the editor holds what the radio holds, from no file.
    void readFromRadio();
    // A line in the status bar until the next one ("读频完成 12:00:00"), for an event
    // that happened now.
    void showStatus(StatusEvent event);
    // 文件 → 导入CSV…: asks about unsaved edits, then the CSV's channels replace the
    // editor's; the editor then has no file and the title shows the CSV's name.
    void importCsv();
    // A backup or a CSV was loaded: no current file (保存 asks for a name), the title
    // shows `name` (made again when the language changes).
    void tookOverUnsaved(const QString &name);
    void tookOverUnsaved(std::function<QString()> name);
    // Loads a channel file as "打开" does after its dialog.
    bool loadFile(const QString &path);

    // The toolbar's commands by key: "Open", "Save", "Print", "Read", "Write". Any other
    // key does nothing. The serial port is closed afterwards.
    void runToolbarCommand(const QString &key);

    // The chosen serial port, in the status bar; `text` is asked again when the
    // language changes.
    void setPortStatus(const QString &text);
    void setPortStatus(std::function<QString()> text);

    void showHelp();
    void showAbout();
    // Folders searched for the help guide; the installed and build-tree places by default.
    void setHelpFolders(const QStringList &folders) { m_helpFolders = folders; }
    QStringList helpFolders() const { return m_helpFolders; }
    // Programs the About box tries for "系统信息".
    void setSystemInfoPrograms(const QStringList &programs) { m_systemInfoPrograms = programs; }

    // Shut-down steps 1 to 3, as "退出(&X)" does.
    void exitProgram();

    // One tick of the editor timer.
    void editorTimerTick();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    QWidget *buildBody();
    QMenu *addMenu(const char *name, const char *title);
    QAction *addCommand(QMenu *menu, const char *name, const char *text, const QKeySequence &key,
                        std::function<void()> run);
    void retranslateUi();
    void showStatusLine();
    void activated();
    void closePort();
    void shutDownSteps();
    void updateClock();

    WorkingCopy m_wc;
    EditHistory m_history{m_wc};
    bool m_exitConfirmed = false;
    std::unique_ptr<FileCommands> m_files;
    EditSession *m_session = nullptr;
    ChannelGrid *m_grid = nullptr;
    QGroupBox *m_channelPanel = nullptr;
    QToolBar *m_toolBar = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_port = nullptr;
    std::function<QString()> m_portText;
    StatusEvent m_status = StatusEvent::None;
    QTime m_statusTime;
    bool m_showingStatus = false;
    // Menus and actions with the source of their text, set again in retranslateUi().
    std::vector<std::pair<QMenu *, const char *>> m_menuTitles;
    std::vector<std::pair<QAction *, const char *>> m_actionTexts;
    std::vector<std::pair<QAction *, const char *>> m_toolActions;
    QLabel *m_date = nullptr;
    QLabel *m_time = nullptr;
    QTimer *m_editorTimer;
    QTimer m_clock;
    HelpWindow *m_help = nullptr;
    std::map<Command, std::function<void()>> m_handlers;
    std::function<void()> m_portCloser;
    std::function<void()> m_shutdownHook;
    QString m_initialPort;
    QStringList m_helpFolders;
    QStringList m_systemInfoPrograms;
};
