#include "link/ui/SafeWriteDialog.h"

#include "link/FleetWrite.h"
#include "link/SafeWrite.h"
#include "link/ui/TransferDialog.h"
#include "widgets/Prompter.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

SafeWriteDialog::SafeWriteDialog(SafeWrite &write, FleetWrite *fleet, QWidget *parent)
    : QDialog(parent), m_write(write)
{
    setObjectName(QStringLiteral("frmSafeWrite"));
    setWindowTitle(SafeWrite::stageName(write.options.backup ? SafeWrite::Stage::Backup : SafeWrite::Stage::Write));
    setMinimumWidth(420);
    auto *layout = new QVBoxLayout(this);
    if (fleet) {
        m_table = new QTableWidget(0, 4, this);
        m_table->setObjectName(QStringLiteral("gridFleet"));
        m_table->setHorizontalHeaderLabels({QStringLiteral("台号"), QStringLiteral("时间"), QStringLiteral("结果"),
                                            QStringLiteral("备份")});
        m_table->horizontalHeader()->setStretchLastSection(true);
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        layout->addWidget(m_table);
        connect(fleet, &FleetWrite::radioDone, this, [this](const FleetWrite::Row &row) {
            const int r = m_table->rowCount();
            m_table->insertRow(r);
            const QStringList cells{QString::number(row.number), row.finished.toString(QStringLiteral("HH:mm:ss")),
                                    row.result, QDir::toNativeSeparators(row.backupPath)};
            for (int c = 0; c < cells.size(); ++c)
                m_table->setItem(r, c, new QTableWidgetItem(cells[c]));
            m_table->item(r, 2)->setToolTip(row.text);
            m_table->scrollToBottom();
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
    m_waiting = TransferDialog::makeWaitingLabel(this);
    layout->addWidget(m_waiting);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    connect(m_cancel, &QPushButton::clicked, this, &SafeWriteDialog::onCancel);
    connect(&write, &SafeWrite::captionChanged, this, &QWidget::setWindowTitle);
    connect(&write, &SafeWrite::progressChanged, m_progress, &QProgressBar::setValue);
    connect(&write, &SafeWrite::waitingForRadio, m_waiting,
            [this](int seconds) { TransferDialog::showWaiting(m_waiting, seconds); });

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
    m_cancel->setText(QStringLiteral("确定"));
}

void SafeWriteDialog::onCancel()
{
    if (!m_running) {
        m_startup.stop();
        done(m_cancel->text() == QStringLiteral("确定") ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    if (!TransferDialog::cancelConfirmed(this))
        return;
    m_write.cancel();
    // A single write's dialog goes at once; the fleet's stays to show what was done.
    if (!m_table)
        done(QDialog::Rejected);
}
