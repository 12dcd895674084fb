#include "MainWindow.h"

#include "channels/ui/ChannelGrid.h"
#include "channels/ui/FunctionPanel.h"
#include "channels/ui/ModelPanel.h"
#include "files/ui/CsvCommands.h"
#include "files/ui/CompareDialog.h"
#include "app/CommandHints.h"
#include "app/EditSession.h"
#include "widgets/ListCombo.h"
#include "files/ui/FileCommands.h"
#include "app/AboutDialog.h"
#include "widgets/AppInfo.h"
#include "app/HelpWindow.h"
#include "widgets/Prompter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int EditorTimerMs = 1000;

struct ToolButton
{
    const char *key;
    const char16_t *caption;
    const char *icon;
};
constexpr ToolButton toolButtons[] = {
    {"Open", u"打开", ":/icons/open.svg"},   {"Save", u"另存", ":/icons/save.svg"},
    {"Print", u"打印", ":/icons/print.svg"}, {"Read", u"读频", ":/icons/read.svg"},
    {"Write", u"写频", ":/icons/write.svg"},
};

QString timeNow()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent),
      m_files(std::make_unique<FileCommands>(m_wc, this)),
      m_editorTimer(new QTimer(this)),
      m_helpFolders(HelpWindow::defaultFolders()),
      m_systemInfoPrograms(AboutDialog::defaultSystemInfoPrograms())
{
    appinfo::initResources();
    setObjectName(QStringLiteral("mainFrm"));
    setWindowTitle(appinfo::mainCaption());
    setWindowIcon(QIcon(QStringLiteral(":/icons/tarnik.svg")));

    buildMenus();
    buildToolBar();
    setCentralWidget(buildBody());
    buildStatusBar();

    m_grid->setHistory(&m_history);
    // A frequency refused for want of a band leads into tune mode, where bands are set.
    m_grid->setBandSetup([this] { runCommand(Command::Tune); });
    m_session = new EditSession(*this, m_wc, m_history, *m_files, *m_grid);
    for (ListCombo *list : findChildren<ListCombo *>())
        list->setGate([this](WorkingCopy::List l, int, const std::function<void()> &select) {
            return m_session->changeList(l, select);
        });

    m_editorTimer->setObjectName(QStringLiteral("Timer"));
    m_editorTimer->setInterval(EditorTimerMs);
    connect(m_editorTimer, &QTimer::timeout, this, &MainWindow::editorTimerTick);

    // F1 opens the guide wherever the focus is, modal dialogs included.
    qApp->installEventFilter(this);

    const QSize wanted(1024, 720);
    const QSize room = screen() ? screen()->availableGeometry().size() : wanted;
    resize(wanted.boundedTo(room).expandedTo(minimumSizeHint()));
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    // The panels refer to the working copy, a member that goes before the base class
    // deletes its children.
    delete takeCentralWidget();
}

QAction *MainWindow::addCommand(QMenu *menu, const char *name, const char16_t *text,
                                const QKeySequence &key, std::function<void()> run)
{
    QAction *a = menu->addAction(QString::fromUtf16(text));
    a->setObjectName(QLatin1String(name));
    if (!key.isEmpty())
        a->setShortcut(key);
    commandhints::apply(a);
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return a;
}

void MainWindow::buildMenus()
{
    auto menu = [this](const char *name, const char16_t *title) {
        QMenu *m = menuBar()->addMenu(QString::fromUtf16(title));
        m->setObjectName(QLatin1String(name));
        return m;
    };
    auto command = [this](Command c) { return [this, c] { runCommand(c); }; };
    auto ctrl = [](Qt::Key k) { return QKeySequence(Qt::CTRL | k); };

    QMenu *file = menu("mnuFile", u"文件(&F)");
    addCommand(file, "mnuOpen", u"打开(&O)", ctrl(Qt::Key_O), [this] { openFile(); });
    addCommand(file, "mnuSaveFile", u"保存", {}, [this] { saveFile(); });
    addCommand(file, "mnuSave", u"另存(&S)", ctrl(Qt::Key_S), [this] { saveFileAs(); });
    addCommand(file, "mnuImportCsv", u"导入CSV…", {}, [this] { importCsv(); });
    addCommand(file, "mnuExportCsv", u"导出CSV…", {}, [this] {
        if (const QString path = CsvCommands(m_wc, this, m_files->folder()).exportCsv(); !path.isEmpty())
            m_files->remember(path);
    });
    addCommand(file, "mnuCompare", u"比较…", {}, [this] { compareWithFileCommand(this, m_wc, m_files->folder()); });
    file->addSeparator();
    addCommand(file, "mnuPreview", u"打印(&P)", ctrl(Qt::Key_P), command(Command::Print));
    file->addSeparator();
    addCommand(file, "mnuExit", u"退出(&X)", ctrl(Qt::Key_X), [this] { exitProgram(); });

    QMenu *program = menu("mnuProgram", u"编程(&P)");
    addCommand(program, "mnuRead", u"读频(&R)", ctrl(Qt::Key_R), command(Command::Read));
    addCommand(program, "mnuWrite", u"写频(&W)", ctrl(Qt::Key_W), command(Command::Write));

    QMenu *edit = menu("mnuEdit", u"编辑(&E)");
    QAction *undo = addCommand(edit, "mnuUndo", u"撤销", ctrl(Qt::Key_Z), [this] { m_session->undo(); });
    QAction *redo = addCommand(edit, "mnuRedo", u"重做", ctrl(Qt::Key_Y), [this] { m_session->redo(); });
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(m_history.stack(), &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(m_history.stack(), &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    edit->addSeparator();
    addCommand(edit, "mnuTune", u"调整模式(&T)", {}, command(Command::Tune));

    QMenu *com = menu("mnuCom", u"端口选择(&C)");
    addCommand(com, "mnuPort", u"选择端口(&P)", {}, command(Command::ChoosePort));

    QMenu *help = menu("mnuHelp", u"帮助(&H)");
    addCommand(help, "mnuHelpContents", u"帮助(&I)...", {}, [this] { showHelp(); });
    help->addSeparator();
    addCommand(help, "mnuAbout", u"关于(&A)", {}, [this] { showAbout(); });
}

void MainWindow::buildToolBar()
{
    QToolBar *bar = addToolBar(QString::fromUtf16(u"工具栏"));
    bar->setObjectName(QStringLiteral("tbToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(32, 32));
    bar->toggleViewAction()->setEnabled(false);
    for (const ToolButton &b : toolButtons) {
        const QString key = QLatin1String(b.key);
        QAction *a = bar->addAction(QIcon(QLatin1String(b.icon)), QString::fromUtf16(b.caption));
        a->setObjectName(key);
        a->setData(key);
        commandhints::apply(a);
        a->setToolTip(a->text() + QString::fromUtf16(u"：") + a->statusTip());
        connect(a, &QAction::triggered, this, [this, key] { runToolbarCommand(key); });
        if (key == QLatin1String("Print"))
            bar->addSeparator(); // file commands, then the radio's
    }
}

QWidget *MainWindow::buildBody()
{
    auto *body = new QWidget(this);
    body->setObjectName(QStringLiteral("body"));
    auto *row = new QHBoxLayout(body);

    m_channelPanel = new QGroupBox(QString::fromUtf16(u"信道数据设置"), body);
    m_channelPanel->setObjectName(QStringLiteral("fraXDSZ"));
    auto *channelLayout = new QVBoxLayout(m_channelPanel);
    m_grid = new ChannelGrid(m_wc, m_channelPanel);
    channelLayout->addWidget(m_grid);
    row->addWidget(m_channelPanel, 1);

    auto *side = new QVBoxLayout;
    auto *functions = new FunctionPanel(m_wc, body);
    auto *models = new ModelPanel(m_wc, body);
    functions->setMinimumWidth(230);
    models->setMinimumWidth(230);
    side->addWidget(functions);
    side->addWidget(models);
    side->addStretch(1);
    row->addLayout(side, 0);
    return body;
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(true);
    auto *text = new QLabel(appinfo::title(), bar);
    text->setObjectName(QStringLiteral("sbText"));
    m_date = new QLabel(bar);
    m_date->setObjectName(QStringLiteral("sbDate"));
    m_time = new QLabel(bar);
    m_time->setObjectName(QStringLiteral("sbTime"));
    bar->addWidget(text, 1);
    m_port = new QLabel(bar);
    m_port->setObjectName(QStringLiteral("sbPort"));
    bar->addPermanentWidget(m_port);
    bar->addPermanentWidget(m_date);
    bar->addPermanentWidget(m_time);
    updateClock();
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &MainWindow::updateClock);
    m_clock.start();
}

void MainWindow::setPortStatus(const QString &text)
{
    m_port->setText(text);
}

void MainWindow::updateClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    m_date->setText(now.toString(QStringLiteral("yyyy-MM-dd")));
    m_time->setText(now.toString(QStringLiteral("HH:mm:ss")));
}

void MainWindow::startUp(const QString &settingsPath)
{
    m_wc.startUp(settingsPath);
    m_history.absorb();
    m_history.stack()->clear();
    closePort();
}

void MainWindow::setCommandHandler(Command command, std::function<void()> handler)
{
    m_handlers[command] = std::move(handler);
}

void MainWindow::runCommand(Command command)
{
    const auto it = m_handlers.find(command);
    if (it != m_handlers.end() && it->second) {
        it->second();
        return;
    }
    Prompter::instance().message(this, QMessageBox::Information, QString::fromUtf16(u"提示"),
                                 QString::fromUtf16(u"此功能尚不可用"));
}

void MainWindow::setPortCloser(std::function<void()> closer)
{
    m_portCloser = std::move(closer);
}

void MainWindow::setShutdownHook(std::function<void()> hook)
{
    m_shutdownHook = std::move(hook);
}

void MainWindow::closePort()
{
    if (m_portCloser)
        m_portCloser();
}

void MainWindow::stopEditorTimer()
{
    m_editorTimer->stop();
}

void MainWindow::openFile()
{
    m_session->openFile();
}

bool MainWindow::saveFile()
{
    return m_session->saveFile();
}

bool MainWindow::saveFileAs()
{
    return m_session->saveFileAs();
}

void MainWindow::importCsv()
{
    m_grid->hideEditors();
    // The import replaces all sixteen channels: unsaved edits are asked about first.
    if (!maySetAsideChanges())
        return;
    QString imported;
    history().step(QString::fromUtf16(u"导入CSV"),
                   [&] { imported = CsvCommands(m_wc, this, m_files->folder()).importCsv(); });
    if (imported.isEmpty())
        return;
    m_files->remember(imported);
    tookOverUnsaved(QFileInfo(imported).fileName());
}

void MainWindow::tookOverUnsaved(const QString &name)
{
    m_session->tookOverUnsaved(name);
}

bool MainWindow::loadFile(const QString &path)
{
    return m_session->loadFile(path);
}

QString MainWindow::currentPath() const
{
    return m_files->currentPath();
}

bool MainWindow::maySetAsideChanges()
{
    return m_session->maySetAsideChanges();
}

void MainWindow::readFromRadio()
{
    m_session->tookOverRead();
    showStatus(QString::fromUtf16(u"读频完成 ") + timeNow());
}

void MainWindow::showStatus(const QString &text)
{
    statusBar()->showMessage(text);
}

void MainWindow::runToolbarCommand(const QString &key)
{
    if (key == QLatin1String("Open"))
        openFile();
    else if (key == QLatin1String("Save"))
        saveFileAs();
    else if (key == QLatin1String("Print"))
        runCommand(Command::Print);
    else if (key == QLatin1String("Read"))
        runCommand(Command::Read);
    else if (key == QLatin1String("Write"))
        runCommand(Command::Write);
    else
        return;
    closePort();
}

void MainWindow::showHelp()
{
    const QString path = HelpWindow::find(m_helpFolders);
    if (path.isEmpty()) {
        QStringList places;
        for (const QString &folder : m_helpFolders)
            places << QDir(folder).filePath(HelpWindow::guideName());
        Prompter::instance().message(
            this, QMessageBox::Information, QString::fromUtf16(u"提示"),
            QString::fromUtf16(u"找不到帮助文件 %1。已查找：\n%2")
                .arg(HelpWindow::guideName(), places.join(QLatin1Char('\n'))));
        return;
    }
    // Inside a modal dialog only a window of its own takes input.
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != m_help) {
        HelpWindow help(path, modal);
        help.exec();
        return;
    }
    if (!m_help)
        m_help = new HelpWindow(path, this);
    else
        m_help->setSource(path);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::showAbout()
{
    AboutDialog about(m_systemInfoPrograms, this);
    about.exec();
}

void MainWindow::shutDownSteps()
{
    closePort();
    if (m_shutdownHook)
        m_shutdownHook();
}

void MainWindow::exitProgram()
{
    if (!maySetAsideChanges())
        return;
    m_exitConfirmed = true;
    shutDownSteps();
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_exitConfirmed && !maySetAsideChanges()) {
        event->ignore();
        return;
    }
    m_exitConfirmed = false;
    shutDownSteps();
    m_editorTimer->stop();
    m_clock.stop();
    // Every other window goes with this one, so
    // the program ends once the event loop sees no window left.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    event->accept();
}

bool MainWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        activated();
    return QMainWindow::event(event);
}

void MainWindow::activated()
{
    // Band strings and tune values changed in tune mode show up here; the channels stay.
    m_history.record(QString::fromUtf16(u"编辑"));
    m_wc.activate();
    // Band strings refreshed from the settings file are no edit to undo.
    m_history.absorb();
    m_editorTimer->start();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
        showHelp();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::editorTimerTick()
{
    // Not while a list of the grid is open, nor while another window has the focus.
    if (!isActiveWindow() || QApplication::activePopupWidget())
        return;
    const QWidget *focus = QApplication::focusWidget();
    if (!focus || !m_channelPanel->isAncestorOf(focus))
        m_grid->hideEditors();
}
