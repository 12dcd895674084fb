#include "link/ui/SafeWriteDialog.h"

#include "link/FleetWrite.h"
#include "link/SafeWrite.h"
#include "link/ui/TransferDialog.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

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

SafeWriteDialog::SafeWriteDialog(SafeWrite &write, FleetWrite *fleet, QWidget *parent)
    : QDialog(parent), m_write(write)
{
    setObjectName(QStringLiteral("frmSafeWrite"));
    setWindowTitle(SafeWrite::stageName(write.options.backup ? SafeWrite::Stage::Backup : SafeWrite::Stage::Write));
    setMinimumWidth(420);
    auto *layout = new QVBoxLayout(this);
    if (fleet) {
        setMinimumWidth(640);
        m_table = new QTableWidget(0, ColumnCount, this);
        m_table->setObjectName(QStringLiteral("gridFleet"));
        m_table->setHorizontalHeaderLabels({tr("台号"), tr("时间"), tr("端口"), tr("结果"), tr("说明"), tr("备份")});
        m_table->horizontalHeader()->setStretchLastSection(true);
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        layout->addWidget(m_table);
        connect(fleet, &FleetWrite::radioDone, this, [this](const FleetWrite::Row &row) {
            const int r = m_table->rowCount();
            m_table->insertRow(r);
            const QStringList cells{QString::number(row.number),
                                    row.finished.toString(QStringLiteral("HH:mm:ss")),
                                    QDir::toNativeSeparators(row.port),
                                    row.result,
                                    row.ok ? QString() : row.text.section(QLatin1Char('\n'), 0, 0),
                                    QDir::toNativeSeparators(row.backupPath)};
            for (int c = 0; c < cells.size(); ++c)
                m_table->setItem(r, c, new QTableWidgetItem(cells[c]));
            m_table->item(r, ResultColumn)->setToolTip(row.text);
            m_table->item(r, ReasonColumn)->setToolTip(row.text);
            if (!row.ok)
                markFailed(m_table, r);
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
        m_next = new QPushButton(tr("继续"), m_prompt);
        m_next->setObjectName(QStringLiteral("cmdNextRadio"));
        m_stop = new QPushButton(tr("结束"), m_prompt);
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

        m_summary = new QLabel(this);
        m_summary->setObjectName(QStringLiteral("lblSummary"));
        layout->addWidget(m_summary);
    }
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pgbCount"));
    m_progress->setRange(0, write.progressMaximum());
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    m_cancel = new QPushButton(tr("取消"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    connect(m_cancel, &QPushButton::clicked, this, &SafeWriteDialog::onCancel);
    connect(&write, &SafeWrite::captionChanged, this, &QWidget::setWindowTitle);
    connect(&write, &SafeWrite::progressChanged, m_progress, &QProgressBar::setValue);

    m_startup.setInterval(500);
    m_startup.setSingleShot(true);
    connect(&m_startup, &QTimer::timeout, this, &SafeWriteDialog::start);
    m_startup.start();
}

void SafeWriteDialog::start()
{
    m_running = true;
    if (job)
        job();
    m_running = false;
    if (!m_table)
        done(QDialog::Accepted);
}

void SafeWriteDialog::finish(const QString &summary)
{
    if (m_summary)
        m_summary->setText(summary);
    m_cancel->setText(tr("确定"));
    m_finished = true;
}

bool SafeWriteDialog::askNextRadio(int k)
{
    if (!m_prompt)
        return true;
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
    m_write.cancel();
    // A single write's dialog goes at once; the fleet's stays to show what was done.
    if (!m_table)
        done(QDialog::Rejected);
}
