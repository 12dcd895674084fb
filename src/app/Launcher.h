#pragma once

#include "support/Translation.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class MainWindow;
class SplashWindow;

// What the command line asks for. The program needs no arguments.
struct StartOptions
{
    QString port; // --port DEVICE, kept for the port command
    QString file; // a channel file to open, positional or --open FILE
    QString screenshot; // --screenshot PNG: save a picture of the main window and quit
    QSize windowSize; // --window-size WxH, for screenshots
    bool splash = true; // --no-splash
    std::optional<lang::Language> language; // --lang en|zh; the remembered choice otherwise
};

struct CommandLine
{
    StartOptions options;
    bool help = false;
    bool version = false;
    QString error; // a usage error, in the user's language
};

// arguments[0] is the program, as QCoreApplication::arguments() gives it.
CommandLine parseCommandLine(const QStringList &arguments);
QString usageText();
QString versionText();

// Answers --help and --version before any window system is needed (they work without
// a display). Returns the exit code, or nothing to go on.
std::optional<int> answerWithoutDisplay(int argc, char **argv);

// Organisation and application name "tarnik" (so the per-user settings live in
// ~/.config/tarnik, QSettings() in its tarnik.conf),
// version, window icon and fonts that carry Chinese.
void setUpApplication();

// Called on the new main window before start-up runs: the place where the commands
// built elsewhere are plugged in.
using PlugIn = std::function<void(MainWindow &)>;

// Creates the main window and runs its start-up with settings::readPath(). The window
// is not shown.
std::unique_ptr<MainWindow> createMainWindow(const StartOptions &options, const PlugIn &plugIn = {});

// Loads the channel file named on the command line as "打开" does; a missing file is
// said in a message box and on stderr. A failed load leaves the editor as it was.
// True when loaded (or no file was named).
bool openStartFile(MainWindow &w, const QString &path);

// Splash first, then the main window: created and shown when the splash is done.
class Launcher : public QObject
{
    Q_OBJECT
public:
    explicit Launcher(StartOptions options, PlugIn plugIn = {}, QObject *parent = nullptr);
    ~Launcher() override;

    void start();
    SplashWindow *splash() const { return m_splash.get(); }
    MainWindow *mainWindow() const { return m_main.get(); }

signals:
    void mainWindowShown();

private:
    void showMainWindow();
    void takeScreenshot();

    StartOptions m_options;
    PlugIn m_plugIn;
    std::unique_ptr<SplashWindow> m_splash;
    std::unique_ptr<MainWindow> m_main;
};

// The whole program after QApplication exists: options, splash, main window, event
// loop. Returns the exit code.
int runGui(const PlugIn &plugIn = {});
