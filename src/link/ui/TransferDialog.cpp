#include "link/ui/TransferDialog.h"

#include "link/RadioLink.h"
#include "widgets/Prompter.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TransferDialog::TransferDialog(RadioLink &link, WorkingCopy &wc, bool write, QWidget *parent)
    : QDialog(parent), isWrite(write), m_link(link), m_wc(wc)
{
    setObjectName(QStringLiteral("frmWAIT"));
    setMinimumWidth(360);
    auto *layout = new QVBoxLayout(this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pgbCount"));
    layout->addWidget(m_progress);
    m_waiting = makeWaitingLabel(this);
    layout->addWidget(m_waiting);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    connect(m_cancel, &QPushButton::clicked, this, &TransferDialog::onCancel);

    connect(&link, &RadioLink::phaseChanged, this, [this](RadioLink::Phase phase) {
        m_phase = phase;
        retranslateUi();
    });
    connect(&link, &RadioLink::progressChanged, m_progress, &QProgressBar::setValue);
    connect(&link, &RadioLink::waitingForRadio, m_waiting, [this](int seconds) {
        m_waitedSeconds = seconds;
        showWaiting(m_waiting, seconds);
    });

    startupTimer.setObjectName(QStringLiteral("Timer1"));
    startupTimer.setInterval(500);
    connect(&startupTimer, &QTimer::timeout, this, &TransferDialog::onWatchdogTimeout);
    prepare();
    retranslateUi();
}

void TransferDialog::retranslateUi()
{
    // The title before the transfer's first step is the same for a read and a write.
    setWindowTitle(m_phase ? RadioLink::captionText(*m_phase) : tr("正在向对讲机读取数据。。。"));
    m_cancel->setText(m_finished ? tr("确定") : tr("取消"));
    showWaiting(m_waiting, m_waitedSeconds);
}

void TransferDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TransferDialog::prepare()
{
    m_link.setTransferActive(true);
    m_progress->setRange(0, 128);
    m_progress->setValue(0);
    startupTimer.start();
}

void TransferDialog::onWatchdogTimeout()
{
    startupTimer.stop();
    const Status s = isWrite ? m_link.writeRadio(true, m_wc) : m_link.readRadio(true, m_wc);
    // A write cut short, whatever ended it, leaves a radio that must be written again.
    const bool partlyWritten = isWrite && m_link.radioPartlyWritten();
    if (!s || partlyWritten) {
        QString text = isWrite ? tr("写频错误，请重新写频") : tr("读频错误，请重新读频");
        if (partlyWritten)
            text += QLatin1Char('\n') + tr("对讲机中只有部分新数据，请重新写频");
        Prompter::instance().message(this, QMessageBox::Critical, tr("提示"), text);
        done(QDialog::Rejected);
        return;
    }
    m_progress->setValue(128);
    m_finished = true;
    retranslateUi();
    done(QDialog::Accepted);
}

void TransferDialog::onCancel()
{
    if (m_finished) {
        done(QDialog::Accepted);
        return;
    }
    if (!cancelConfirmed(this))
        return;
    m_link.cancelTransfer();
    done(QDialog::Rejected);
}

bool TransferDialog::cancelConfirmed(QWidget *parent)
{
    return Prompter::instance().message(parent, QMessageBox::NoIcon, tr("提示"), tr("确定要取消吗"),
                                        QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

QLabel *TransferDialog::makeWaitingLabel(QWidget *dialog)
{
    auto *label = new QLabel(dialog);
    label->setObjectName(QStringLiteral("lblWaiting"));
    label->setAlignment(Qt::AlignCenter);
    // The room is kept while hidden, so the dialog does not jump.
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    label->hide();
    return label;
}

void TransferDialog::showWaiting(QLabel *label, int seconds)
{
    label->setVisible(seconds > 0);
    if (seconds > 0)
        label->setText(tr("等待对讲机应答… %1 秒").arg(seconds));
}
