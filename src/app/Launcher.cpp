#include "Launcher.h"

#include "settings/SettingsFile.h"
#include "support/AtomicFile.h"
#include "support/SystemFailure.h"
#include "widgets/Prompter.h"
#include "widgets/AppInfo.h"
#include "widgets/Language.h"
#include "app/Commands.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QIcon>
#include <QScreen>
#include <QTextStream>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace {

void print(FILE *stream, const QString &text)
{
    QTextStream s(stream);
    s << text;
}

bool isOne(const char *arg, std::initializer_list<const char *> names)
{
    for (const char *n : names)
        if (qstrcmp(arg, n) == 0)
            return true;
    return false;
}

} // namespace

QString usageText()
{
    // Before the application object exists (--help without a display) the translator
    // is not installed yet.
    static const char Usage[] = QT_TRANSLATE_NOOP("Launcher",
                                                  "用法: tarnik [选项] [信道文件.chp]\n"
                                                  "\n"
                                                  "TARNIK编程软件：读写对讲机，编辑信道和功能，保存和打开信道文件。\n"
                                                  "\n"
                                                  "选项:\n"
                                                  "  --port 设备      使用的串口，例如 /dev/ttyUSB0\n"
                                                  "  --lang en|zh     界面语言：英文或中文（默认为“帮助 → 语言”所选）\n"
                                                  "  -h, --help       显示本帮助\n"
                                                  "  -v, --version    显示版本\n"
                                                  "\n"
                                                  "给出信道文件时，启动后打开它。\n");
    return lang::isEnglish() && !QCoreApplication::instance() ? lang::englishFor("Launcher", Usage)
                                                              : QCoreApplication::translate("Launcher", Usage);
}

QString versionText()
{
    return QStringLiteral("tarnik " TARNIK_VERSION "\n");
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("device"));
    QCommandLineOption open(QStringLiteral("open"), QString(), QStringLiteral("file"));
    QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("png"));
    QCommandLineOption size(QStringLiteral("window-size"), QString(), QStringLiteral("WxH"));
    QCommandLineOption noSplash(QStringLiteral("no-splash"));
    const QCommandLineOption language(QStringLiteral("lang"), QString(), QStringLiteral("en|zh"));
    for (QCommandLineOption *o : {&open, &screenshot, &size, &noSplash})
        o->setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, version, port, open, screenshot, size, noSplash, language});
    parser.addPositionalArgument(QStringLiteral("file"), QString());

    CommandLine cl;
    if (!parser.parse(arguments)) {
        cl.error = parser.errorText();
        return cl;
    }
    cl.help = parser.isSet(help);
    cl.version = parser.isSet(version);
    StartOptions &o = cl.options;
    o.port = parser.value(port);
    if (parser.isSet(language)) {
        o.language = lang::parse(parser.value(language));
        if (!o.language) {
            cl.error = QCoreApplication::translate("Launcher", "--lang 需要 en 或 zh");
            return cl;
        }
    }
    o.screenshot = parser.value(screenshot);
    o.splash = !parser.isSet(noSplash) && o.screenshot.isEmpty();
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1 || (files.size() == 1 && parser.isSet(open))) {
        cl.error = QCoreApplication::translate("Launcher", "只能打开一个信道文件");
        return cl;
    }
    o.file = parser.isSet(open) ? parser.value(open) : files.value(0);
    if (parser.isSet(size)) {
        const QStringList wh = parser.value(size).split(QLatin1Char('x'));
        bool okW = false;
        bool okH = false;
        if (wh.size() == 2)
            o.windowSize = QSize(wh[0].toInt(&okW), wh[1].toInt(&okH));
        if (!okW || !okH || o.windowSize.isEmpty()) {
            cl.error = QCoreApplication::translate("Launcher", "--window-size 需要 宽x高，例如 1024x768");
            return cl;
        }
    }
    return cl;
}

std::optional<int> answerWithoutDisplay(int argc, char **argv)
{
    lang::select(lang::scanOption(argc, argv).value_or(language::saved()));
    for (int i = 1; i < argc; ++i) {
        if (isOne(argv[i], {"-h", "--help", "-help"})) {
            print(stdout, usageText());
            return 0;
        }
        if (isOne(argv[i], {"-v", "--version", "-version"})) {
            print(stdout, versionText());
            return 0;
        }
    }
    return std::nullopt;
}

void setUpApplication()
{
    ignoreFileSizeSignal();
    // Organisation and application alike, so QSettings() keeps its values in
    // ~/.config/tarnik/tarnik.conf beside Sfc.ini (see support/UserFolders.h).
    QCoreApplication::setOrganizationName(QStringLiteral("tarnik"));
    QCoreApplication::setApplicationName(QStringLiteral("tarnik"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarnik.Tarnik"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARNIK_VERSION));
    appinfo::initResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tarnik.svg")));
    QFont font = QApplication::font();
    font.setFamilies(appinfo::uiFamilies());
    QApplication::setFont(font);
}

std::unique_ptr<MainWindow> createMainWindow(const StartOptions &options, const PlugIn &plugIn)
{
    auto w = std::make_unique<MainWindow>();
    w->setInitialPort(options.port);
    if (plugIn)
        plugIn(*w);
    w->startUp(settings::readPath());
    if (options.windowSize.isValid())
        w->resize(options.windowSize);
    return w;
}

bool openStartFile(MainWindow &w, const QString &path)
{
    if (path.isEmpty())
        return true;
    // "打开" passes over a missing file in silence, as the dialog offers only files that
    // exist; a name typed on the command line deserves an answer.
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        const QString text = QCoreApplication::translate("Launcher", "找不到信道文件 %1").arg(printable(path));
        print(stderr, QStringLiteral("tarnik: ") + text + QLatin1Char('\n'));
        Prompter::instance().message(&w, QMessageBox::Information, QString::number(Failure::FileNotFound), text);
        return false;
    }
    return w.loadFile(path);
}

Launcher::Launcher(StartOptions options, PlugIn plugIn, QObject *parent)
    : QObject(parent), m_options(std::move(options)), m_plugIn(std::move(plugIn))
{ }

Launcher::~Launcher() = default;

void Launcher::start()
{
    if (!m_options.splash) {
        showMainWindow();
        return;
    }
    m_splash = std::make_unique<SplashWindow>();
    connect(m_splash.get(), &SplashWindow::done, this, &Launcher::showMainWindow);
    m_splash->start();
}

void Launcher::showMainWindow()
{
    if (m_main)
        return;
    m_main = createMainWindow(m_options, m_plugIn);
    if (const QScreen *screen = m_main->screen())
        m_main->move(screen->availableGeometry().center() - m_main->rect().center());
    m_main->show();
    m_main->raise();
    m_main->activateWindow();
    // Over the window, so a message about the file has the window behind it.
    openStartFile(*m_main, m_options.file);
    emit mainWindowShown();
    if (!m_options.screenshot.isEmpty())
        QTimer::singleShot(700, this, &Launcher::takeScreenshot);
}

void Launcher::takeScreenshot()
{
    const bool saved = m_main->grab().save(m_options.screenshot, "PNG");
    if (!saved)
        print(stderr, tr("tarnik: 无法保存截图 %1").arg(m_options.screenshot) + QLatin1Char('\n'));
    QCoreApplication::exit(saved ? 0 : 1);
}

int runGui(const PlugIn &plugIn)
{
    // The language first, so that what the command line is told comes in it.
    language::apply(parseCommandLine(QCoreApplication::arguments()).options.language.value_or(language::saved()));
    const CommandLine cl = parseCommandLine(QCoreApplication::arguments());
    setUpApplication();
    if (!cl.error.isEmpty()) {
        print(stderr, QStringLiteral("tarnik: ") + cl.error + QLatin1Char('\n') + usageText());
        return 2;
    }
    setPortMemory(true);
    Launcher launcher(cl.options, plugIn);
    launcher.start();
    return QApplication::exec();
}
