#include "link/FleetWrite.h"

#include "link/SafeWrite.h"
#include "support/SystemFailure.h"
#include "support/UserFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString LogHeader = QStringLiteral("时间,文件,台号,端口,结果,备份,成功,失败");

QString csvField(QString text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

FleetWrite::FleetWrite(SafeWrite &write, QObject *parent) : QObject(parent), m_write(write)
{ }

FleetWrite::Result FleetWrite::kindOf(const SafeWrite::Outcome &o)
{
    if (o.ok)
        return Result::Succeeded;
    if (o.wrongModel)
        return Result::WrongModel;
    if (o.cancelled)
        return Result::Cancelled;
    if (o.fileProblem)
        return Result::FileProblem;
    if (o.stoppedAt == SafeWrite::Stage::Verify && !o.difference.equal())
        return Result::VerifyFailed;
    return Result::LinkFailed;
}

QString FleetWrite::resultWord(Result kind)
{
    switch (kind) {
    case Result::Succeeded:
        return QStringLiteral("成功");
    case Result::VerifyFailed:
        return QStringLiteral("校验失败");
    case Result::LinkFailed:
        return QStringLiteral("通信失败");
    case Result::Cancelled:
        return QStringLiteral("取消");
    case Result::WrongModel:
        return QStringLiteral("机型不符");
    case Result::FileProblem:
        return QStringLiteral("文件错误");
    }
    return {};
}

QString FleetWrite::shownResult(Result kind)
{
    switch (kind) {
    case Result::Succeeded:
        return QCoreApplication::translate("FleetWrite", "成功", "result of a radio");
    case Result::VerifyFailed:
        return QCoreApplication::translate("FleetWrite", "校验失败", "result of a radio");
    case Result::LinkFailed:
        return QCoreApplication::translate("FleetWrite", "通信失败", "result of a radio");
    case Result::Cancelled:
        return QCoreApplication::translate("FleetWrite", "取消", "result of a radio");
    case Result::WrongModel:
        return QCoreApplication::translate("FleetWrite", "机型不符", "result of a radio");
    case Result::FileProblem:
        return QCoreApplication::translate("FleetWrite", "文件错误", "result of a radio");
    }
    return {};
}

QString FleetWrite::summaryOf(int succeeded, int failed)
{
    return QCoreApplication::translate("FleetWrite", "成功 %1 台，失败 %2 台").arg(succeeded).arg(failed);
}

QString FleetWrite::shortfallOf(int count, int succeeded)
{
    if (count <= 0 || succeeded >= count)
        return {};
    return QCoreApplication::translate("FleetWrite", "只写了 %1 台，要求 %2 台").arg(succeeded).arg(count);
}

int FleetWrite::exitCodeOf(int count, int succeeded, int failed)
{
    if (count > 0)
        return succeeded >= count && failed == 0 ? 0 : 1;
    return failed == 0 && succeeded > 0 ? 0 : 1;
}

QString FleetWrite::summary() const
{
    return summaryOf(m_succeeded, m_failed);
}

QString FleetWrite::shortfall() const
{
    return shortfallOf(count, m_succeeded);
}

int FleetWrite::exitCode() const
{
    return exitCodeOf(count, m_succeeded, m_failed);
}

QString FleetWrite::resultOf(const SafeWrite::Outcome &outcome)
{
    return resultWord(kindOf(outcome));
}

QString FleetWrite::defaultLogPath()
{
    return userfolders::data() + QStringLiteral("/fleet-log.csv");
}

QList<FleetWrite::Row> FleetWrite::run(const codec::Image &image)
{
    QList<Row> rows;
    m_succeeded = m_failed = 0;
    for (int k = 1; count == 0 || k <= count; ++k) {
        if (k > 1 && nextRadio && !nextRadio(k))
            break;
        emit radioStarted(k);
        m_write.fleetPosition = k;
        const SafeWrite::Outcome o = m_write.run(image);
        m_write.fleetPosition = 0;
        const Result kind = kindOf(o);
        const Row row{k,
                      QDateTime::currentDateTime(),
                      o.ok,
                      kind,
                      resultWord(kind),
                      portName ? portName() : QString(),
                      o.backupPath,
                      o.text};
        rows.append(row);
        ++(o.ok ? m_succeeded : m_failed);
        m_log.radio(row.finished, k, row.port, row.result, row.backupPath);
        emit radioDone(row);
        if (o.cancelled)
            break;
    }
    return rows;
}

Status FleetLog::open(const QString &logPath, const QString &file)
{
    m_log.close();
    m_problem.clear();
    m_file = file;
    const auto failure = [&](const QString &why) {
        return Failure{Failure::PathFileAccessError,
                       QCoreApplication::translate("FleetWrite", "无法写入批量写频记录 %1：%2")
                           .arg(QDir::toNativeSeparators(logPath), why)};
    };
    QDir().mkpath(QFileInfo(logPath).absolutePath());
    const QByteArray native = QFile::encodeName(logPath);
    struct stat st;
    // Looked at before opening: opening a FIFO for writing waits for a reader.
    if (::stat(native.constData(), &st) == 0)
        if (auto f = specialFileFailure(logPath, st.st_mode))
            return Failure{f->number,
                           QCoreApplication::translate("FleetWrite", "不能写入批量写频记录：%1").arg(f->description)};
    const int fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
    if (fd < 0)
        return failure(QString::fromLocal8Bit(std::strerror(errno)));
    // Again on what was opened: the name may have been swapped in between.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        const std::optional<Failure> f = specialFileFailure(logPath, st.st_mode);
        return Failure{Failure::PathFileAccessError,
                       QCoreApplication::translate("FleetWrite", "不能写入批量写频记录：%1")
                           .arg(f ? f->description : QDir::toNativeSeparators(logPath))};
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!m_log.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failure(m_log.errorString());
    }
    // A header when the log is new, or when it was begun in another layout.
    QByteArray first;
    {
        QFile existing(logPath);
        if (st.st_size > 0 && existing.open(QIODevice::ReadOnly))
            first = existing.readLine(4096).trimmed();
    }
    if (QString::fromUtf8(first) != LogHeader)
        line(LogHeader.split(QLatin1Char(',')));
    if (!m_problem.isEmpty()) {
        m_log.close();
        return failure(m_problem);
    }
    return {};
}

void FleetLog::radio(const QDateTime &finished, int number, const QString &port, const QString &result,
                     const QString &backupPath)
{
    line({finished.toString(Qt::ISODate), m_file, QString::number(number), port, result,
          QDir::toNativeSeparators(backupPath), QString(), QString()});
}

void FleetLog::line(const QStringList &fields)
{
    if (!m_log.isOpen() || !m_problem.isEmpty())
        return;
    QStringList quoted;
    for (const QString &f : fields)
        quoted << csvField(f);
    const QByteArray bytes = (quoted.join(QLatin1Char(',')) + QLatin1Char('\n')).toUtf8();
    if (m_log.write(bytes) != bytes.size() || !m_log.flush())
        m_problem = m_log.errorString();
}

Status FleetLog::close(int succeeded, int failed)
{
    if (!m_log.isOpen())
        return {};
    // Stored: Chinese whatever the language shown.
    const QString summary = QStringLiteral("成功 %1 台，失败 %2 台").arg(succeeded).arg(failed);
    line({QDateTime::currentDateTime().toString(Qt::ISODate), m_file, QStringLiteral("合计"), QString(), summary,
          QString(), QString::number(succeeded), QString::number(failed)});
    m_log.close();
    if (!m_problem.isEmpty())
        return Failure{Failure::DiskFull,
                       QCoreApplication::translate("FleetWrite", "无法写入批量写频记录：%1").arg(m_problem)};
    return {};
}
