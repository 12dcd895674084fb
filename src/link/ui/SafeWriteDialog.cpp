#include "link/ui/SafeWriteDialog.h"

#include "link/FleetWrite.h"
#include "link/SafeWrite.h"
#include "link/ui/TransferDialog.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum FleetColumn { NumberColumn, TimeColumn, PortColumn, ResultColumn, ReasonColumn, BackupColumn, ColumnCount };

// A failed radio's row: a red tint and dark red bold text, so it stands out while the
// run goes on.
void markFailed(QTableWidget *table, int row)
{
    for (int c = 0; c < table->columnCount(); ++c) {
        QTableWidgetItem *item = table->item(row, c);
        item->setBackground(QColor(0xFF, 0xD6, 0xD6));
        item->setForeground(QColor(0x9C, 0x00, 0x06));
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
    }
}

} // namespace

SafeWriteDialog::SafeWriteDialog(SafeWrite &write, FleetWrite *fleet, QWidget *parent) : QDialog(parent), m_write(write)
{
    setObjectName(QStringLiteral("frmSafeWrite"));
    setMinimumWidth(420);
    auto *layout = new QVBoxLayout(this);
    m_stage = new QLabel(this);
    m_stage->setObjectName(QStringLiteral("lblStage"));
    layout->addWidget(m_stage);
    m_shownStage = write.options.backup ? SafeWrite::Stage::Backup : SafeWrite::Stage::Write;
    if (fleet) {
        setMinimumWidth(640);
        m_table = new QTableWidget(0, ColumnCount, this);
        m_table->setObjectName(QStringLiteral("gridFleet"));
        m_table->horizontalHeader()->setStretchLastSection(true);
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        layout->addWidget(m_table);
        connect(fleet, &FleetWrite::radioDone, this, [this](const FleetWrite::Row &row) {
            m_rows.append(row);
            m_table->insertRow(m_table->rowCount());
            showRow(m_table->rowCount() - 1);
            m_table->scrollToBottom();
        });

        // The prompt for the next radio sits below the table, so the radios done stay
        // in view while the user changes radios.
        m_prompt = new QWidget(this);
        m_prompt->setObjectName(QStringLiteral("fraNextRadio"));
        auto *promptLayout = new QHBoxLayout(m_prompt);
        promptLayout->setContentsMargins(0, 0, 0, 0);
        m_promptText = new QLabel(m_prompt);
        m_promptText->setObjectName(QStringLiteral("lblNextRadio"));
        m_next = new QPushButton(m_prompt);
        m_next->setObjectName(QStringLiteral("cmdNextRadio"));
        m_stop = new QPushButton(m_prompt);
        m_stop->setObjectName(QStringLiteral("cmdStopFleet"));
        promptLayout->addWidget(m_promptText, 1);
        promptLayout->addWidget(m_next);
        promptLayout->addWidget(m_stop);
        m_prompt->hide();
        layout->addWidget(m_prompt);
        connect(m_next, &QPushButton::clicked, this, [this] { answerPrompt(true); });
        connect(m_stop, &QPushButton::clicked, this, [this] { answerPrompt(false); });
        m_promptDelay.setSingleShot(true);
        m_promptDelay.setInterval(PromptDelay);
        connect(&m_promptDelay, &QTimer::timeout, this, [this] {
            m_next->setEnabled(true);
            m_next->setDefault(true);
            m_next->setFocus();
        });
    }
    // The result stays readable here, backup path in full, until the user closes it.
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary->setWordWrap(true);
    m_summary->hide();
    layout->addWidget(m_summary);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pgbCount"));
    m_progress->setRange(0, write.progressMaximum());
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    m_waiting = TransferDialog::makeWaitingLabel(this);
    layout->addWidget(m_waiting);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    connect(m_cancel, &QPushButton::clicked, this, &SafeWriteDialog::onCancel);
    connect(&write, &SafeWrite::stageStarted, this, &SafeWriteDialog::showStage);
    connect(&write, &SafeWrite::progressChanged, m_progress, &QProgressBar::setValue);
    connect(&write, &SafeWrite::waitingForRadio, m_waiting, [this](int seconds) {
        m_waitedSeconds = seconds;
        TransferDialog::showWaiting(m_waiting, seconds);
    });

    m_startup.setInterval(500);
    m_startup.setSingleShot(true);
    connect(&m_startup, &QTimer::timeout, this, &SafeWriteDialog::start);
    m_startup.start();
    retranslateUi();
}

void SafeWriteDialog::retranslateUi()
{
    setWindowTitle(tr("写频进度显示"));
    showStage(m_shownStage);
    if (m_table) {
        m_table->setHorizontalHeaderLabels({tr("台号"), tr("时间"), tr("端口"), tr("结果"), tr("说明"), tr("备份")});
        for (int r = 0; r < m_rows.size(); ++r)
            showRow(r);
        m_next->setText(tr("继续"));
        m_stop->setText(tr("结束"));
        if (m_promptRadio > 0)
            m_promptText->setText(tr("请连接第 %1 台对讲机").arg(m_promptRadio));
    }
    m_cancel->setText(m_finished ? tr("关闭", "close the window") : tr("取消"));
    TransferDialog::showWaiting(m_waiting, m_waitedSeconds);
}

void SafeWriteDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

// A radio of the fleet as the table shows it: the result word shown in the language
// chosen, its stored (Chinese) form staying in the log.
void SafeWriteDialog::showRow(int r)
{
    const FleetWrite::Row &row = m_rows[r];
    static const struct
    {
        const char *source;
        const char *comment;
    } results[] = {
        QT_TRANSLATE_NOOP3("SafeWriteDialog", "成功", "fleet result"),
        QT_TRANSLATE_NOOP3("SafeWriteDialog", "校验失败", "fleet result"),
        QT_TRANSLATE_NOOP3("SafeWriteDialog", "通信失败", "fleet result"),
        QT_TRANSLATE_NOOP3("SafeWriteDialog", "取消", "fleet result"),
        QT_TRANSLATE_NOOP3("SafeWriteDialog", "机型不符", "fleet result"),
        QT_TRANSLATE_NOOP3("SafeWriteDialog", "文件错误", "fleet result"),
    };
    const QStringList cells{QString::number(row.number),
                            row.finished.toString(QStringLiteral("HH:mm:ss")),
                            QDir::toNativeSeparators(row.port),
                            tr(results[int(row.kind)].source, results[int(row.kind)].comment),
                            row.ok ? QString() : row.text.section(QLatin1Char('\n'), 0, 0),
                            QDir::toNativeSeparators(row.backupPath)};
    for (int c = 0; c < cells.size(); ++c) {
        if (QTableWidgetItem *item = m_table->item(r, c))
            item->setText(cells[c]);
        else
            m_table->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    m_table->item(r, ResultColumn)->setToolTip(row.text);
    m_table->item(r, ReasonColumn)->setToolTip(row.text);
    if (!row.ok)
        markFailed(m_table, r);
}

void SafeWriteDialog::showStage(SafeWrite::Stage stage)
{
    m_shownStage = stage;
    // "备份 1/3", "写频 2/3", "校验 3/3" among the stages chosen.
    QList<SafeWrite::Stage> stages;
    if (m_write.options.backup)
        stages << SafeWrite::Stage::Backup;
    stages << SafeWrite::Stage::Write;
    if (m_write.options.verify)
        stages << SafeWrite::Stage::Verify;
    const qsizetype at = stages.indexOf(stage);
    m_stage->setText(SafeWrite::stageName(stage)
                     + (at < 0 ? QString() : QStringLiteral(" %1/%2").arg(at + 1).arg(stages.size())));
}

void SafeWriteDialog::start()
{
    m_running = true;
    if (job)
        job();
    m_running = false;
    if (!m_finished)
        done(QDialog::Accepted);
}

void SafeWriteDialog::finish(const QString &summary)
{
    m_summary->setText(summary);
    // Lines wrap between Chinese characters and at spaces, never inside a path: the label
    // is as wide as the longest path or run of Latin text (within the screen), at most
    // a readable width otherwise; the dialog then grows and stays on the screen.
    static const QRegularExpression breaks(QStringLiteral("[\\s\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]+"));
    const QFontMetrics fm = m_summary->fontMetrics();
    int widest = 0;
    int unbreakable = 0;
    for (const QString &line : summary.split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    for (const QString &token : summary.split(breaks, Qt::SkipEmptyParts))
        unbreakable = std::max(unbreakable, fm.horizontalAdvance(token));
    const QRect room = screen() ? screen()->availableGeometry() : QRect();
    int width = std::max(std::min(widest, 560), unbreakable) + 8;
    if (room.isValid())
        width = std::min(width, room.width() - 60);
    m_summary->setMinimumWidth(width);
    m_summary->show();
    adjustSize();
    if (room.isValid()) {
        QRect g = frameGeometry();
        g.moveLeft(std::clamp(g.left(), room.left(), std::max(room.left(), room.right() - g.width())));
        g.moveTop(std::clamp(g.top(), room.top(), std::max(room.top(), room.bottom() - g.height())));
        move(g.topLeft());
    }
    m_finished = true;
    m_cancel->setText(tr("关闭", "close the window"));
}

bool SafeWriteDialog::askNextRadio(int k)
{
    if (!m_prompt)
        return true;
    m_promptRadio = k;
    m_promptText->setText(tr("请连接第 %1 台对讲机").arg(k));
    m_next->setEnabled(false);
    m_prompt->show();
    m_progress->setValue(0);
    m_answer.reset();
    m_prompting = true;
    m_promptDelay.start();
    while (!m_answer)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_prompting = false;
    m_promptDelay.stop();
    m_prompt->hide();
    m_cancel->setFocus();
    return *m_answer;
}

void SafeWriteDialog::answerPrompt(bool next)
{
    // 继续 counts only once it has been enabled after the prompt showed.
    if (!m_prompting || (next && !m_next->isEnabled()))
        return;
    m_answer = next;
}

void SafeWriteDialog::onCancel()
{
    if (m_prompting) {
        answerPrompt(false);
        return;
    }
    if (!m_running) {
        m_startup.stop();
        done(m_finished ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    if (!TransferDialog::cancelConfirmed(this))
        return;
    // The stage stops at its next wait; the dialog stays to show what the radio holds.
    m_write.cancel();
}
