#include "link/FleetWrite.h"

#include "link/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString resultWord(const SafeWrite::Outcome &o)
{
    if (o.ok)
        return QStringLiteral("成功");
    if (o.cancelled)
        return QStringLiteral("已取消");
    switch (o.stoppedAt.value_or(SafeWrite::Stage::Write)) {
    case SafeWrite::Stage::Backup: return QStringLiteral("备份失败");
    case SafeWrite::Stage::Write: return QStringLiteral("写频失败");
    case SafeWrite::Stage::Verify:
        return o.difference.equal() ? QStringLiteral("校验读频失败") : QStringLiteral("校验失败");
    }
    return {};
}

QString csvField(QString text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

FleetWrite::FleetWrite(SafeWrite &write, QObject *parent) : QObject(parent), m_write(write) {}

QString FleetWrite::summary() const
{
    return QStringLiteral("成功 %1 台，失败 %2 台").arg(m_succeeded).arg(m_failed);
}

QString FleetWrite::resultOf(const SafeWrite::Outcome &outcome)
{
    return resultWord(outcome);
}

QString FleetWrite::defaultLogPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/fleet-log.csv");
}

QList<FleetWrite::Row> FleetWrite::run(const codec::Image &image)
{
    QList<Row> rows;
    m_succeeded = m_failed = 0;
    for (int k = 1; count == 0 || k <= count; ++k) {
        if (k > 1 && nextRadio && !nextRadio(k))
            break;
        emit radioStarted(k);
        const SafeWrite::Outcome o = m_write.run(image);
        const Row row{k, QDateTime::currentDateTime(), o.ok, resultWord(o), o.backupPath, o.text};
        rows.append(row);
        ++(o.ok ? m_succeeded : m_failed);
        emit radioDone(row);
        if (o.cancelled)
            break;
    }
    return rows;
}

Status FleetWrite::appendLog(const QString &logPath, const QString &file) const
{
    QFile log(logPath);
    QDir().mkpath(QFileInfo(logPath).absolutePath());
    const bool fresh = !log.exists() || log.size() == 0;
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return Failure{Failure::PathFileAccessError,
                       QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(logPath), log.errorString())};
    QString text;
    if (fresh)
        text += QStringLiteral("时间,文件,成功,失败,结果\n");
    text += QStringList{QDateTime::currentDateTime().toString(Qt::ISODate), csvField(file),
                        QString::number(m_succeeded), QString::number(m_failed), summary()}
                .join(QLatin1Char(','))
            + QLatin1Char('\n');
    const QByteArray bytes = text.toUtf8();
    if (log.write(bytes) != bytes.size() || !log.flush())
        return Failure{Failure::DiskFull,
                       QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(logPath), log.errorString())};
    return {};
}
