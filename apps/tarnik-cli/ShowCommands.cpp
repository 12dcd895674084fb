#include "Commands.h"

#include "channels/Tables.h"
#include "channels/WorkingCopy.h"
#include "files/ChannelDiff.h"
#include "files/ChannelFile.h"
#include "settings/SettingsFile.h"
#include "support/SystemFailure.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using L = WorkingCopy::List;

void startUpWorkingCopy(WorkingCopy &wc)
{
    wc.startUp(settings::readPath());
}

// "用法: COMMAND ARGUMENTS" and the end of the line.
static QString usage(const char *command)
{
    return QCoreApplication::translate("ShowCommands", "用法: %1").arg(QLatin1String(command)) + QLatin1Char('\n');
}

// "tarnik-cli: PATH: what went wrong", the path said once.
static void fileError(const QString &path, const QString &description)
{
    err() << "tarnik-cli: ";
    if (!description.startsWith(printable(path)))
        err() << printable(path) << ": ";
    err() << description << "\n";
}

bool loadForCli(WorkingCopy &wc, const QString &path)
{
    const LoadedState loaded = loadChannelFileOver(wc.state(), path);
    const LoadOutcome &r = loaded.outcome;
    if (r.kind == LoadOutcome::Missing) {
        fileError(path, QCoreApplication::translate("ShowCommands", "文件不存在"));
        return false;
    }
    if (r.kind == LoadOutcome::Failed) {
        fileError(path, r.failure.description);
        return false;
    }
    wc.setState(loaded.state);
    return true;
}

int runDiff(const QStringList &args)
{
    if (args.size() != 2) {
        err() << usage("tarnik-cli diff A.chp B.chp");
        return 2;
    }
    WorkingCopy wc;
    startUpWorkingCopy(wc);
    QList<WorkingCopyState> states;
    for (const QString &path : args) {
        const Result<WorkingCopyState> s = channelFileState(wc.state(), path);
        if (!s) {
            fileError(path, s.failure().description);
            return 2;
        }
        states << *s;
    }
    const QList<FieldDifference> diffs = channelDifferences(states[0], states[1]);
    for (const FieldDifference &d : diffs)
        out() << d.text() << "\n";
    return diffs.isEmpty() ? 0 : 1;
}

// JSON with keys in a fixed order, so the output reads like the documentation.
class OrderedJson
{
public:
    void add(const char *key, const QString &value) { addRaw(key, quoted(value)); }
    QString text(const QString &indent) const
    {
        Q_UNUSED(indent);
        return QStringLiteral("{") + m_items.join(QLatin1Char(',')) + QStringLiteral("\n}");
    }
    static QString quoted(const QString &v)
    {
        const QByteArray arr = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
        return QString::fromUtf8(arr.mid(1, arr.size() - 2));
    }

    void addRaw(const char *key, const QString &raw)
    {
        m_items << QStringLiteral("\n  \"%1\": %2").arg(QString::fromLatin1(key), raw);
    }

private:
    QStringList m_items;
};

static QJsonObject settingsJson(const WorkingCopy &wc)
{
    QJsonObject o;
    o[QStringLiteral("model")] = wc.listText(L::Model);
    o[QStringLiteral("monitor")] = wc.listText(L::Monitor);
    o[QStringLiteral("powerSave")] = wc.listText(L::PowerSave);
    o[QStringLiteral("timeout")] = wc.listText(L::TimeOut);
    o[QStringLiteral("squelch")] = wc.listText(L::Squelch);
    o[QStringLiteral("scan")] = wc.listText(L::Scan);
    o[QStringLiteral("voice")] = wc.listText(L::Voice);
    o[QStringLiteral("crystal")] = wc.crystalText().trimmed();
    o[QStringLiteral("ifSign")] = wc.signText();
    o[QStringLiteral("powerStep")] = wc.powerStepText();
    o[QStringLiteral("modelCode")] = wc.modelCode();
    o[QStringLiteral("functionByte")] = wc.functionByte();
    o[QStringLiteral("voiceByte")] = wc.voiceByte();
    return o;
}

int runShow(const QStringList &args)
{
    QStringList files;
    bool json = false;
    for (const QString &a : args) {
        if (a == QStringLiteral("--json"))
            json = true;
        else
            files << a;
    }
    if (files.size() != 1) {
        err() << usage("tarnik-cli show FILE.chp [--json]");
        return 2;
    }
    WorkingCopy wc;
    startUpWorkingCopy(wc);
    if (!loadForCli(wc, files[0]))
        return 2;

    const char *keys[] = {"rx", "tx", "rxSignal", "txSignal", "busyLock", "bandwidth", "power"};
    if (json) {
        OrderedJson o;
        const QJsonObject s = settingsJson(wc);
        for (const char *k : {"model", "monitor", "powerSave", "timeout", "squelch", "scan", "voice", "crystal",
                              "ifSign", "powerStep", "modelCode", "functionByte", "voiceByte"})
            o.add(k, s[QString::fromLatin1(k)].toString());
        QStringList channels;
        for (int c = 1; c <= 16; ++c) {
            QStringList fields{QStringLiteral("\"channel\": ") + QString::number(c)};
            for (int col = 1; col <= 7; ++col)
                fields << QStringLiteral("\"%1\": %2")
                              .arg(QString::fromLatin1(keys[col - 1]), OrderedJson::quoted(wc.cell(c, col)));
            channels << QStringLiteral("\n    {") + fields.join(QStringLiteral(", ")) + QLatin1Char('}');
        }
        o.addRaw("channels", QLatin1Char('[') + channels.join(QLatin1Char(',')) + QStringLiteral("\n  ]"));
        out() << o.text(QString()) << "\n";
        return 0;
    }

    const char *const labels[] = {
        QT_TRANSLATE_NOOP("ShowCommands", "机型"),     QT_TRANSLATE_NOOP("ShowCommands", "监听"),
        QT_TRANSLATE_NOOP("ShowCommands", "省电"),     QT_TRANSLATE_NOOP("ShowCommands", "发射限时"),
        QT_TRANSLATE_NOOP("ShowCommands", "静噪等级"), QT_TRANSLATE_NOOP("ShowCommands", "扫描"),
        QT_TRANSLATE_NOOP("ShowCommands", "语音报道"), QT_TRANSLATE_NOOP("ShowCommands", "晶振"),
        QT_TRANSLATE_NOOP("ShowCommands", "中频"),     QT_TRANSLATE_NOOP("ShowCommands", "功率档位"),
        QT_TRANSLATE_NOOP("ShowCommands", "频段")};
    const QStringList values{wc.listText(L::Model),
                             wc.listText(L::Monitor),
                             wc.listText(L::PowerSave),
                             wc.listText(L::TimeOut),
                             wc.listText(L::Squelch),
                             wc.listText(L::Scan),
                             wc.listText(L::Voice),
                             wc.crystalText().trimmed(),
                             wc.signText(),
                             wc.powerStepText(),
                             wc.bandText()};
    // The values as a view shows them; --json gives them as kept.
    for (int i = 0; i < values.size(); ++i)
        out() << QCoreApplication::translate("ShowCommands", "%1：%2")
                     .arg(QCoreApplication::translate("ShowCommands", labels[i]), tables::shown(values[i]))
              << "\n";
    out() << "\n";
    // Fixed-width table; CJK characters take two columns on a terminal.
    auto width = [](const QString &s) {
        int w = 0;
        for (QChar ch : s)
            w += ch.unicode() >= 0x1100 ? 2 : 1;
        return w;
    };
    const int widths[8] = {4, 10, 10, 8, 8, 8, 6, 8};
    for (int r = 0; r <= 16; ++r) {
        QString line;
        for (int col = 0; col < 8; ++col) {
            const QString t = wc.channels()->shownCell(r, col);
            line += t + QString(qMax(1, widths[col] - width(t) + 1), QLatin1Char(' '));
        }
        out() << line.trimmed() << "\n";
    }
    return 0;
}

int runSaveCanonical(const QStringList &args)
{
    if (args.size() != 2) {
        err() << usage("tarnik-cli save-canonical IN.chp OUT.chp");
        return 2;
    }
    WorkingCopy wc;
    startUpWorkingCopy(wc);
    if (!loadForCli(wc, args[0]))
        return 2;
    const Status s = saveChannelFile(wc, args[1]);
    if (!s) {
        err() << "tarnik-cli: " << QCoreApplication::translate("ShowCommands", "错误") << ": "
              << s.failure().description << "\n";
        return 2;
    }
    return 0;
}
