#include "Commands.h"

#include "support/AtomicFile.h"
#include "support/Translation.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <map>
#include <memory>

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

// The usage text, a line each, so each is translated as a whole.
static const char *const usageLines[] = {
    QT_TRANSLATE_NOOP("tarnik-cli", "用法: tarnik-cli <命令> [参数]"),
    "",
    QT_TRANSLATE_NOOP("tarnik-cli", "命令:"),
    QT_TRANSLATE_NOOP("tarnik-cli", "  show FILE.chp [--json]        显示信道文件的功能设置和 16 个信道"),
    QT_TRANSLATE_NOOP("tarnik-cli", "  save-canonical IN.chp OUT.chp 读入 IN 并按“另存”的格式保存为 OUT"),
    QT_TRANSLATE_NOOP("tarnik-cli",
                      "  diff A.chp B.chp              逐项列出两个信道文件的不同（退出码 0 相同, 1 不同）"),
    QT_TRANSLATE_NOOP("tarnik-cli", "  report FILE.chp --pdf OUT.pdf 把打印报表写成 PDF"),
    QT_TRANSLATE_NOOP("tarnik-cli",
                      "  ports                         列出串口（COM1…COM4 依次对应前四个）、芯片和能否打开"),
    QT_TRANSLATE_NOOP("tarnik-cli", "  doctor [--port DEV]           检查串口为什么不能用，并给出解决的命令"),
    QT_TRANSLATE_NOOP("tarnik-cli", "  read --port DEV --out FILE    从对讲机读频，读完后把收到的数据一次写入 FILE"),
    QT_TRANSLATE_NOOP(
        "tarnik-cli",
        "  write --port DEV FILE.chp     打开信道文件并写入对讲机：先读频备份，保留本机调整值，写后读回校验"),
    QT_TRANSLATE_NOOP("tarnik-cli",
                      "        [--port DEV2 …]         再给端口：每个端口连接一台对讲机，同时写频，每个端口一行结果"),
    QT_TRANSLATE_NOOP("tarnik-cli", "        [--ports DEV1,DEV2,…]   同上，端口用逗号分隔（同一设备给两次则拒绝）"),
    QT_TRANSLATE_NOOP("tarnik-cli", "        [--no-backup]           不备份（写入文件中的调整值）"),
    QT_TRANSLATE_NOOP("tarnik-cli", "        [--no-verify]           写后不校验"),
    QT_TRANSLATE_NOOP("tarnik-cli", "        [--file-tuning]         写入文件中的晶振、中频和功率档"),
    QT_TRANSLATE_NOOP("tarnik-cli", "        [--any-model]           对讲机机型与文件机型不同时也写频"),
    QT_TRANSLATE_NOOP("tarnik-cli",
                      "        [--count N]             依次写 N 台（0 为直到输入结束），台与台之间按回车键"),
    QT_TRANSLATE_NOOP("tarnik-cli", "                                多个端口时每批每个端口一台，批与批之间按回车键"),
    QT_TRANSLATE_NOOP("tarnik-cli", "  export-csv FILE.chp OUT.csv   把信道导出为通用信道表 CSV"),
    "  import-csv IN.csv OUT.chp [--base FILE.chp]",
    QT_TRANSLATE_NOOP(
        "tarnik-cli",
        "                                从 CSV 导入信道（功能设置和机型取自 FILE）；有未采用的行或数值时"),
    QT_TRANSLATE_NOOP("tarnik-cli", "                                仍写出 OUT，退出码为 1"),
    QT_TRANSLATE_NOOP("tarnik-cli",
                      "  --lang en|zh                  输出的语言：英文或中文（默认中文），可放在任何位置"),
    QT_TRANSLATE_NOOP("tarnik-cli", "  --help                        显示本帮助"),
    QT_TRANSLATE_NOOP("tarnik-cli", "  --version                     显示版本"),
    "",
    QT_TRANSLATE_NOOP("tarnik-cli", "退出码: 0 成功, 1 通信失败或取消, 2 用法或文件错误"),
};

static QString usage()
{
    QString text;
    for (const char *line : usageLines)
        text += (*line ? QCoreApplication::translate("tarnik-cli", line) : QString()) + QLatin1Char('\n');
    return text;
}

// The command is the first argument other than --lang and its value, which may come first.
static bool isReport(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--lang") == 0)
            ++i;
        else if (qstrncmp(argv[i], "--lang=", 7) != 0)
            return qstrcmp(argv[i], "report") == 0;
    }
    return false;
}

int main(int argc, char **argv)
{
    // The report lays out text with fonts, which needs the GUI application; it runs
    // without a display.
    const bool report = isReport(argc, argv);
    if (report && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(report ? new QGuiApplication(argc, argv)
                                                       : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("tarnik"));
    ignoreFileSizeSignal(); // a file-size limit is an error message, not a killed process
    QCoreApplication::setApplicationVersion(QStringLiteral(TARNIK_VERSION));

    QStringList args = app->arguments().mid(1);
    QString languageError;
    lang::select(lang::takeOption(args, &languageError).value_or(lang::Language::Chinese));
    if (!languageError.isEmpty()) {
        err() << "tarnik-cli: " << languageError << "\n";
        return 2;
    }
    if (args.isEmpty() || args[0] == QStringLiteral("--help") || args[0] == QStringLiteral("-h")) {
        out() << usage();
        out().flush();
        return args.isEmpty() ? 2 : 0;
    }
    if (args[0] == QStringLiteral("--version")) {
        out() << "tarnik-cli " << TARNIK_VERSION << "\n";
        return 0;
    }
    const std::map<QString, int (*)(const QStringList &)> commands{
        {QStringLiteral("show"), runShow},
        {QStringLiteral("save-canonical"), runSaveCanonical},
        {QStringLiteral("diff"), runDiff},
        {QStringLiteral("report"), runReport},
        {QStringLiteral("ports"), runPorts},
        {QStringLiteral("doctor"), runDoctor},
        {QStringLiteral("read"), runRead},
        {QStringLiteral("write"), runWrite},
        {QStringLiteral("export-csv"), runExportCsv},
        {QStringLiteral("import-csv"), runImportCsv},
    };
    const auto it = commands.find(args[0]);
    if (it == commands.end()) {
        err() << QCoreApplication::translate("tarnik-cli", "tarnik-cli: 未知命令 \"%1\"").arg(args[0]) << "\n"
              << usage();
        return 2;
    }
    const int rc = it->second(args.mid(1));
    out().flush();
    err().flush();
    return rc;
}
