#include "link/SafeWrite.h"

#include "channels/Tables.h"
#include "files/BackupStore.h"
#include "link/Clock.h"
#include "link/RadioLink.h"
#include "support/UserFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace {

// A folder of its own for the lines the stage reads receive, so they stay out of the
// received-image file, which holds the user's last read: in the system's temporary
// folder, or, when that is missing or not writable, in the per-user data folder.
// Nothing when neither can be made; `why` then names both places.
std::unique_ptr<QTemporaryDir> stageFolder(QString *why)
{
    // QDir::tempPath() is empty for a TMPDIR that does not exist, and a folder made from
    // it would land in "/": only an existing folder is used.
    const auto inFolder = [](const QString &folder) -> std::unique_ptr<QTemporaryDir> {
        if (folder.isEmpty() || !QFileInfo(folder).isAbsolute() || !QFileInfo(folder).isDir())
            return nullptr;
        auto dir = std::make_unique<QTemporaryDir>(QDir(folder).filePath(QStringLiteral("tarnik-stage-XXXXXX")));
        if (!dir->isValid() || dir->path().isEmpty())
            return nullptr;
        return dir;
    };
    const QString temp = QDir::tempPath();
    if (auto dir = inFolder(temp))
        return dir;
    const QString data = userfolders::data();
    if (!data.isEmpty())
        QDir().mkpath(data);
    if (auto dir = inFolder(data))
        return dir;
    const QString tmpdir = qEnvironmentVariable("TMPDIR");
    *why = SafeWrite::tr("%1；%2", "two folders")
               .arg(QDir::toNativeSeparators(temp.isEmpty() ? tmpdir : temp), QDir::toNativeSeparators(data));
    return nullptr;
}

} // namespace

SafeWrite::SafeWrite(RadioLink &link, Clock &clock, BackupStore &store, QObject *parent)
    : QObject(parent), m_link(link), m_clock(clock), m_store(store)
{ }

QString SafeWrite::stageName(Stage stage)
{
    switch (stage) {
    case Stage::Backup:
        return tr("备份");
    case Stage::Write:
        return tr("写频");
    case Stage::Verify:
        return tr("校验");
    }
    return {};
}

QString SafeWrite::modelName(quint8 code)
{
    const int row = codec::rowForModelCode(code);
    if (row >= 0)
        return QString::fromUtf16(tables::models[size_t(row)].name);
    return tr("未知机型（代码 %1）").arg(codec::hex2(code));
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
    return tr("%1（%2/%3）：%4").arg(stageName(m_stage)).arg(m_stageIndex + 1).arg(m_stageCount).arg(caption);
}

SafeWrite::StageEnd SafeWrite::runStage(Stage stage, const std::function<Status()> &transfer, Outcome &out)
{
    auto cancelled = [&] {
        m_cancelled = true;
        out.cancelled = true;
        out.stoppedAt = stage;
        return StageEnd::Cancelled;
    };
    // A Cancel between two stages reaches the link while no transfer runs.
    if (m_cancelled || (m_stageIndex > 0 && !m_link.transferActive()))
        return cancelled();
    m_stage = stage;
    emit stageStarted(stage);
    emit progressChanged(m_stageIndex * codec::BlockCount);
    // The first stage opens the port; the later ones go on on the same opening, once the
    // answer to the last frame of the stage before has come and gone.
    Status s = m_stageIndex > 0 && m_link.isOpen() ? m_link.settleLine() : m_link.openForTransfer();
    if (s && (m_cancelled || (m_stageIndex > 0 && !m_link.transferActive())))
        return cancelled();
    m_link.setTransferActive(true);
    if (s)
        s = transfer();
    const RadioLink::Ending ending = m_link.lastEnding();
    ++m_stageIndex;
    if (s && ending == RadioLink::Ending::Completed)
        return StageEnd::Completed;
    out.stoppedAt = stage;
    if (!s) {
        out.text = s.failure().description;
        return StageEnd::Failed;
    }
    if (m_cancelled || ending == RadioLink::Ending::Cancelled)
        return cancelled();
    return StageEnd::Failed;
}

bool SafeWrite::modelAllowed(const codec::Image &backup, const codec::Image &image, Outcome &out)
{
    // Block 0, byte 0: the model code.
    const quint8 radio = backup[0][0];
    const quint8 file = image[0][0];
    if (radio == file || options.anyModel)
        return true;
    if (confirmOtherModel && confirmOtherModel(modelName(radio), modelName(file)))
        return true;
    out.wrongModel = true;
    out.stoppedAt = Stage::Write;
    out.text = tr("对讲机机型是 %1，文件机型是 %2，没有写频").arg(modelName(radio), modelName(file));
    return false;
}

QString SafeWrite::partialWriteText(const Outcome &out) const
{
    const QString text = out.radioChanged ? tr("写频未完成：对讲机中只有部分新数据，请重新写频。")
                                          : tr("写频未完成：没有数据写入对讲机，对讲机未被改动。");
    if (out.backupPath.isEmpty())
        return text;
    return tr("%1写频前的备份：%2").arg(text, QDir::toNativeSeparators(out.backupPath));
}

SafeWrite::Outcome SafeWrite::run(const codec::Image &image)
{
    Outcome out;
    QString why;
    const std::unique_ptr<QTemporaryDir> lines = stageFolder(&why);
    if (!lines) {
        out.fileProblem = true;
        out.text = tr("无法在 %1 中创建临时文件夹\n没有写频，对讲机未被改动。").arg(why);
        return out;
    }
    m_cancelled = false;
    m_writeStarted = false;
    m_stageIndex = 0;
    m_stageCount = 1 + (options.backup ? 1 : 0) + (options.verify ? 1 : 0);
    m_connections << connect(&m_link, &RadioLink::progressChanged, this, [this](int v) {
        m_progress = v;
        emit progressChanged(m_stageIndex * codec::BlockCount + v);
    });
    m_connections << connect(&m_link, &RadioLink::captionChanged, this,
                             [this](const QString &c) { emit captionChanged(stageCaption(c)); });
    m_connections << connect(&m_link, &RadioLink::waitingForRadio, this, &SafeWrite::waitingForRadio);
    // One opening of the port, and its lock, for all stages.
    m_link.holdPort();
    // The reads of the sequence keep their lines out of the received-image file, which
    // holds the user's last read.
    const QString receivedPath = m_link.receivedPath();
    m_link.setReceivedPath(QDir(lines->path()).filePath(QStringLiteral("reading.chp")));
    auto readStage = [&](Stage stage) {
        QFile::remove(m_link.receivedPath());
        return runStage(
            stage, [this] { return m_link.receiveImage(true); }, out);
    };

    codec::Image sent = image;
    bool go = true;
    if (options.backup) {
        if (readStage(Stage::Backup) != StageEnd::Completed) {
            const QString why = out.text.isEmpty() ? QString() : out.text + QLatin1Char('\n');
            out.text = why
                + (out.cancelled ? tr("已取消：写频前的备份读频没有完成，对讲机未被改动。")
                                 : tr("备份读频失败，没有写频，对讲机未被改动。"));
            go = false;
        } else {
            const codec::Image backup = m_link.receivedImage();
            // The model is checked before the backup is kept: a radio not written needs none.
            if (!modelAllowed(backup, sent, out)) {
                go = false;
            } else if (const Result<QString> stored = m_store.store(backup, {m_link.chosenDevice(), fleetPosition});
                       !stored) {
                out.stoppedAt = Stage::Backup;
                out.fileProblem = true;
                out.text = stored.failure().description + QLatin1Char('\n')
                    + tr("无法保存备份，没有写频，对讲机未被改动。");
                go = false;
            } else {
                out.backupPath = *stored;
                if (options.keepTuning)
                    out.tuning = keepRadioTuning(sent, backup);
            }
        }
    }
    if (go) {
        const StageEnd end = runStage(
            Stage::Write,
            [&] {
                m_writeStarted = true;
                return m_link.sendImage(true, sent);
            },
            out);
        // Counted in frames sent, not in progress: a Cancel before the write leaves the
        // backup's progress behind.
        out.radioChanged = m_writeStarted && m_link.blocksSent() > 0;
        if (end != StageEnd::Completed) {
            const QString why = out.text.isEmpty() ? QString() : out.text + QLatin1Char('\n');
            out.text = why + partialWriteText(out);
            go = false;
        }
    }
    if (go && options.verify) {
        if (readStage(Stage::Verify) != StageEnd::Completed) {
            const QString why = out.text.isEmpty() ? QString() : out.text + QLatin1Char('\n');
            out.text = why + tr("写频已完成，但校验读频没有完成，对讲机中的数据未经校验。");
            if (!out.backupPath.isEmpty())
                out.text = tr("%1写频前的备份：%2").arg(out.text, QDir::toNativeSeparators(out.backupPath));
            go = false;
        } else {
            out.difference = compareImages(sent, m_link.receivedImage());
            if (!out.difference.equal()) {
                out.stoppedAt = Stage::Verify;
                out.text = verifyFailureText(sent, m_link.receivedImage(), out.backupPath);
                go = false;
            }
        }
    }
    if (go) {
        out.ok = true;
        QStringList lines{options.verify ? tr("写频完成，校验无误。") : tr("写频完成。")};
        if (out.tuning)
            lines << out.tuning->text();
        if (!out.backupPath.isEmpty())
            lines << tr("写频前的备份：%1").arg(QDir::toNativeSeparators(out.backupPath));
        out.text = lines.join(QLatin1Char('\n'));
        emit progressChanged(progressMaximum());
    }
    m_link.releasePort();
    QFile::remove(m_link.receivedPath());
    m_link.setReceivedPath(receivedPath);
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    return out;
}
