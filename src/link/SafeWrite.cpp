#include "link/SafeWrite.h"

#include "files/BackupStore.h"
#include "link/Clock.h"
#include "link/RadioLink.h"

#include <QDir>
#include <QTemporaryDir>

SafeWrite::SafeWrite(RadioLink &link, Clock &clock, BackupStore &store, QObject *parent)
    : QObject(parent), m_link(link), m_clock(clock), m_store(store)
{
}

QString SafeWrite::stageName(Stage stage)
{
    switch (stage) {
    case Stage::Backup: return QStringLiteral("备份");
    case Stage::Write: return QStringLiteral("写频");
    case Stage::Verify: return QStringLiteral("校验");
    }
    return {};
}

int SafeWrite::progressMaximum() const
{
    return codec::BlockCount * (1 + (options.backup ? 1 : 0) + (options.verify ? 1 : 0));
}

void SafeWrite::cancel()
{
    m_cancelled = true;
    m_link.cancelTransfer();
}

QString SafeWrite::stageCaption(const QString &caption) const
{
    // A plain write keeps the write's own captions.
    if (m_stageCount == 1)
        return caption;
    return QStringLiteral("%1（%2/%3）：%4").arg(stageName(m_stage)).arg(m_stageIndex + 1).arg(m_stageCount).arg(caption);
}

SafeWrite::StageEnd SafeWrite::runStage(Stage stage, const std::function<Status()> &transfer, Outcome &out)
{
    // Nothing of this stage has gone across yet, also when it does not start.
    m_progress = 0;
    // A Cancel between two stages reaches the link while no transfer runs.
    if (m_stageIndex > 0 && !m_link.transferActive())
        m_cancelled = true;
    if (m_cancelled) {
        out.cancelled = true;
        out.stoppedAt = stage;
        return StageEnd::Cancelled;
    }
    m_stage = stage;
    emit stageStarted(stage);
    emit progressChanged(m_stageIndex * codec::BlockCount);
    if (m_stageIndex > 0) {
        m_link.closePort();
        m_clock.sleep(StageGap * Clock::Millisecond);
    }
    m_link.setTransferActive(true);
    Status s = m_link.openForTransfer();
    // The radio's answer to the last frame of the stage before may still be on its way.
    if (s && m_stageIndex > 0)
        m_link.discardPendingInput();
    if (s)
        s = transfer();
    m_link.closePort();
    const RadioLink::Ending ending = m_link.lastEnding();
    ++m_stageIndex;
    if (s && ending == RadioLink::Ending::Completed)
        return StageEnd::Completed;
    out.stoppedAt = stage;
    if (!s) {
        out.text = s.failure().description;
        return StageEnd::Failed;
    }
    if (m_cancelled || ending == RadioLink::Ending::Cancelled) {
        m_cancelled = true;
        out.cancelled = true;
        return StageEnd::Cancelled;
    }
    return StageEnd::Failed;
}

QString SafeWrite::partialWriteText(const Outcome &out) const
{
    QString text = out.radioChanged
                       ? QStringLiteral("写频未完成：对讲机中只有部分新数据，请重新写频。")
                       : QStringLiteral("写频未完成：没有数据写入对讲机。");
    if (!out.backupPath.isEmpty())
        text += QStringLiteral("写频前的备份：%1").arg(QDir::toNativeSeparators(out.backupPath));
    return text;
}

SafeWrite::Outcome SafeWrite::run(const codec::Image &image)
{
    Outcome out;
    m_cancelled = false;
    m_stageIndex = 0;
    m_stageCount = 1 + (options.backup ? 1 : 0) + (options.verify ? 1 : 0);
    m_connections << connect(&m_link, &RadioLink::progressChanged, this, [this](int v) {
        m_progress = v;
        emit progressChanged(m_stageIndex * codec::BlockCount + v);
    });
    m_connections << connect(&m_link, &RadioLink::captionChanged, this,
                             [this](const QString &c) { emit captionChanged(stageCaption(c)); });
    // The reads of the sequence keep their lines out of the received-image file, which
    // holds the user's last read.
    const QString receivedPath = m_link.receivedPath();
    QTemporaryDir lines;
    m_link.setReceivedPath(lines.filePath(QStringLiteral("reading.chp")));
    auto readStage = [&](Stage stage) {
        QFile::remove(m_link.receivedPath());
        return runStage(stage, [this] { return m_link.receiveImage(true); }, out);
    };

    codec::Image sent = image;
    bool go = true;
    if (options.backup) {
        if (readStage(Stage::Backup) != StageEnd::Completed) {
            const QString why = out.text.isEmpty() ? QString() : out.text + QLatin1Char('\n');
            out.text = why + (out.cancelled ? QStringLiteral("已取消：写频前的备份读频没有完成，对讲机未被改动。")
                                            : QStringLiteral("备份读频失败，没有写频，对讲机未被改动。"));
            go = false;
        } else {
            const codec::Image backup = m_link.receivedImage();
            const Result<QString> stored = m_store.store(backup);
            if (!stored) {
                out.stoppedAt = Stage::Backup;
                out.text = stored.failure().description + QStringLiteral("\n无法保存备份，没有写频，对讲机未被改动。");
                go = false;
            } else {
                out.backupPath = *stored;
                if (options.keepTuning)
                    out.tuning = keepRadioTuning(sent, backup);
            }
        }
    }
    if (go) {
        const StageEnd end = runStage(Stage::Write, [&] { return m_link.sendImage(true, sent); }, out);
        out.radioChanged = m_progress > 0;
        if (end != StageEnd::Completed) {
            const QString why = out.text.isEmpty() ? QString() : out.text + QLatin1Char('\n');
            out.text = why + partialWriteText(out);
            go = false;
        }
    }
    if (go && options.verify) {
        if (readStage(Stage::Verify) != StageEnd::Completed) {
            const QString why = out.text.isEmpty() ? QString() : out.text + QLatin1Char('\n');
            out.text = why + QStringLiteral("写频已完成，但校验读频没有完成，对讲机中的数据未经校验。");
            if (!out.backupPath.isEmpty())
                out.text += QStringLiteral("写频前的备份：%1").arg(QDir::toNativeSeparators(out.backupPath));
            go = false;
        } else {
            out.difference = compareImages(sent, m_link.receivedImage());
            if (!out.difference.equal()) {
                out.stoppedAt = Stage::Verify;
                out.text = verifyFailureText(out.difference, out.backupPath);
                go = false;
            }
        }
    }
    if (go) {
        out.ok = true;
        QStringList lines{options.verify ? QStringLiteral("写频完成，校验无误。") : QStringLiteral("写频完成。")};
        if (out.tuning)
            lines << out.tuning->text();
        if (!out.backupPath.isEmpty())
            lines << QStringLiteral("写频前的备份：%1").arg(QDir::toNativeSeparators(out.backupPath));
        out.text = lines.join(QLatin1Char('\n'));
        emit progressChanged(progressMaximum());
    }
    QFile::remove(m_link.receivedPath());
    m_link.setReceivedPath(receivedPath);
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    return out;
}
