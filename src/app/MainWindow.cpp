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
#include <QEvent>
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
    const char *caption;
    const char *icon;
};
constexpr ToolButton toolButtons[] = {
    {"Open", QT_TRANSLATE_NOOP("MainWindow", "打开"), ":/icons/open.svg"},
    {"Save", QT_TRANSLATE_NOOP("MainWindow", "另存"), ":/icons/save.svg"},
    {"Print", QT_TRANSLATE_NOOP("MainWindow", "打印"), ":/icons/print.svg"},
    {"Read", QT_TRANSLATE_NOOP("MainWindow", "读频"), ":/icons/read.svg"},
    {"Write", QT_TRANSLATE_NOOP("MainWindow", "写频"), ":/icons/write.svg"},
};

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
    setWindowIcon(QIcon(QStringLiteral(":/icons/tarnik.svg")));

    buildMenus();
    buildToolBar();
    setCentralWidget(buildBody());
    buildStatusBar();

    connect(statusBar(), &QStatusBar::messageChanged, this, [this] {
        // A status tip or another message took the line's place.
        if (!m_showingStatus)
            m_status = StatusEvent::None;
    });

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

    retranslateUi();
    const QSize wanted(1024, 720);
    const QSize room = screen() ? screen()->availableGeometry().size() : wanted;
    resize(wanted.boundedTo(room).expandedTo(minimumSizeHint()));
}

void MainWindow::retranslateUi()
{
    m_session->updateTitle();
    for (const auto &[menu, title] : m_menuTitles)
        menu->setTitle(tr(title));
    for (const auto &[action, text] : m_actionTexts)
        action->setText(tr(text));
    m_toolBar->setWindowTitle(tr("工具栏"));
    for (const auto &[a, caption] : m_toolActions) {
        a->setText(tr(caption));
        // The hint is the one commandhints has set for this language already.
        a->setToolTip(tr("%1：%2").arg(a->text(), a->statusTip()));
    }
    m_channelPanel->setTitle(tr("信道数据设置"));
    m_title->setText(appinfo::title());
    if (m_portText)
        m_port->setText(m_portText());
    showStatusLine();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QMainWindow::changeEvent(event);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    // The panels refer to the working copy, a member that goes before the base class
    // deletes its children.
    delete takeCentralWidget();
}

QMenu *MainWindow::addMenu(const char *name, const char *title)
{
    QMenu *m = menuBar()->addMenu(QString());
    m->setObjectName(QLatin1String(name));
    m_menuTitles.emplace_back(m, title);
    return m;
}

QAction *MainWindow::addCommand(QMenu *menu, const char *name, const char *text, const QKeySequence &key,
                                std::function<void()> run)
{
    QAction *a = menu->addAction(QString());
    a->setObjectName(QLatin1String(name));
    m_actionTexts.emplace_back(a, text);
    if (!key.isEmpty())
        a->setShortcut(key);
    commandhints::apply(a);
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return a;
}

void MainWindow::buildMenus()
{
    auto menu = [this](const char *name, const char *title) { return addMenu(name, title); };
    auto command = [this](Command c) { return [this, c] { runCommand(c); }; };
    auto ctrl = [](Qt::Key k) { return QKeySequence(Qt::CTRL | k); };

    QMenu *file = menu("mnuFile", QT_TR_NOOP("文件(&F)"));
    addCommand(file, "mnuOpen", QT_TR_NOOP("打开(&O)"), ctrl(Qt::Key_O), [this] { openFile(); });
    addCommand(file, "mnuSaveFile", QT_TR_NOOP("保存"), {}, [this] { saveFile(); });
    addCommand(file, "mnuSave", QT_TR_NOOP("另存(&S)"), ctrl(Qt::Key_S), [this] { saveFileAs(); });
    addCommand(file, "mnuImportCsv", QT_TR_NOOP("导入CSV…"), {}, [this] { importCsv(); });
    addCommand(file, "mnuExportCsv", QT_TR_NOOP("导出CSV…"), {}, [this] {
        if (const QString path = CsvCommands(m_wc, this, m_files->folder()).exportCsv(); !path.isEmpty())
            m_files->remember(path);
    });
    addCommand(file, "mnuCompare", QT_TR_NOOP("比较…"), {},
               [this] { compareWithFileCommand(this, m_wc, m_files->folder()); });
    file->addSeparator();
    addCommand(file, "mnuPreview", QT_TR_NOOP("打印(&P)"), ctrl(Qt::Key_P), command(Command::Print));
    file->addSeparator();
    addCommand(file, "mnuExit", QT_TR_NOOP("退出(&X)"), ctrl(Qt::Key_X), [this] { exitProgram(); });

    QMenu *program = menu("mnuProgram", QT_TR_NOOP("编程(&P)"));
    addCommand(program, "mnuRead", QT_TR_NOOP("读频(&R)"), ctrl(Qt::Key_R), command(Command::Read));
    addCommand(program, "mnuWrite", QT_TR_NOOP("写频(&W)"), ctrl(Qt::Key_W), command(Command::Write));

    QMenu *edit = menu("mnuEdit", QT_TR_NOOP("编辑(&E)"));
    QAction *undo = addCommand(edit, "mnuUndo", QT_TR_NOOP("撤销"), ctrl(Qt::Key_Z), [this] { m_session->undo(); });
    QAction *redo = addCommand(edit, "mnuRedo", QT_TR_NOOP("重做"), ctrl(Qt::Key_Y), [this] { m_session->redo(); });
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(m_history.stack(), &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(m_history.stack(), &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    edit->addSeparator();
    addCommand(edit, "mnuTune", QT_TR_NOOP("调整模式(&T)"), {}, command(Command::Tune));

    QMenu *com = menu("mnuCom", QT_TR_NOOP("端口选择(&C)"));
    addCommand(com, "mnuPort", QT_TR_NOOP("选择端口(&P)"), {}, command(Command::ChoosePort));

    QMenu *help = menu("mnuHelp", QT_TR_NOOP("帮助(&H)"));
    addCommand(help, "mnuHelpContents", QT_TR_NOOP("帮助(&I)..."), {}, [this] { showHelp(); });
    help->addSeparator();
    addCommand(help, "mnuAbout", QT_TR_NOOP("关于(&A)"), {}, [this] { showAbout(); });
}

void MainWindow::buildToolBar()
{
    QToolBar *bar = addToolBar(QString());
    m_toolBar = bar;
    bar->setObjectName(QStringLiteral("tbToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(32, 32));
    bar->toggleViewAction()->setEnabled(false);
    for (const ToolButton &b : toolButtons) {
        const QString key = QLatin1String(b.key);
        QAction *a = bar->addAction(QIcon(QLatin1String(b.icon)), QString());
        a->setObjectName(key);
        a->setData(key);
        m_toolActions.emplace_back(a, b.caption);
        commandhints::apply(a);
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

    m_channelPanel = new QGroupBox(body);
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
    auto *text = new QLabel(bar);
    text->setObjectName(QStringLiteral("sbText"));
    m_title = text;
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
    setPortStatus([text] { return text; });
}

void MainWindow::setPortStatus(std::function<QString()> text)
{
    m_portText = std::move(text);
    m_port->setText(m_portText());
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
    Prompter::instance().message(this, QMessageBox::Information, tr("提示"), tr("此功能尚不可用"));
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
    history().step(tr("导入CSV"), [&] { imported = CsvCommands(m_wc, this, m_files->folder()).importCsv(); });
    if (imported.isEmpty())
        return;
    m_files->remember(imported);
    tookOverUnsaved(QFileInfo(imported).fileName());
}

void MainWindow::tookOverUnsaved(const QString &name)
{
    tookOverUnsaved([name] { return name; });
}

void MainWindow::tookOverUnsaved(std::function<QString()> name)
{
    m_session->tookOverUnsaved(std::move(name));
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
    showStatus(StatusEvent::ReadDone);
}

void MainWindow::showStatus(StatusEvent event)
{
    m_status = event;
    m_statusTime = QTime::currentTime();
    showStatusLine();
}

void MainWindow::showStatusLine()
{
    const QString time = m_statusTime.toString(QStringLiteral("HH:mm:ss"));
    QString line;
    switch (m_status) {
    case StatusEvent::None:
        return;
    case StatusEvent::ReadDone:
        line = tr("读频完成 %1").arg(time);
        break;
    case StatusEvent::WriteDone:
        line = tr("写频完成 %1").arg(time);
        break;
    }
    m_showingStatus = true;
    statusBar()->showMessage(line);
    m_showingStatus = false;
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
            this, QMessageBox::Information, tr("提示"),
            tr("找不到帮助文件 %1。已查找：\n%2").arg(HelpWindow::guideName(), places.join(QLatin1Char('\n'))));
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
    m_history.record(tr("编辑"));
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
