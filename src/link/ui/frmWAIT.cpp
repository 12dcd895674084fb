#include "link/ui/frmWAIT.h"

#include "link/RadioLink.h"
#include "shell/ui/Prompter.h"

#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmWAIT::frmWAIT(RadioLink &link, WorkingCopy &wc, bool write, QWidget *parent)
    : QDialog(parent), blnn(write), m_link(link), m_wc(wc)
{
    setObjectName(QStringLiteral("frmWAIT"));
    setWindowTitle(QStringLiteral("正在向对讲机读取数据。。。"));
    setMinimumWidth(360);
    auto *layout = new QVBoxLayout(this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pgbCount"));
    layout->addWidget(m_progress);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    connect(m_cancel, &QPushButton::clicked, this, &frmWAIT::cmdCancel_Click);

    connect(&link, &RadioLink::captionChanged, this, &QWidget::setWindowTitle);
    connect(&link, &RadioLink::progressChanged, m_progress, &QProgressBar::setValue);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(500);
    connect(&Timer1, &QTimer::timeout, this, &frmWAIT::Timer1_Timer);
    Form_Load();
}

void frmWAIT::Form_Load()
{
    m_link.setBlnReandOrWrite(true);
    m_progress->setRange(0, 128);
    m_progress->setValue(0);
    Timer1.start();
}

void frmWAIT::Timer1_Timer()
{
    Timer1.stop();
    const Status s = blnn ? m_link.SentFromPc(true, m_wc) : m_link.receivedFromChip(true, m_wc);
    if (!s) {
        Prompter::instance().message(this, QMessageBox::Critical, QStringLiteral("提示"),
                                     blnn ? QStringLiteral("写频错误，请重新写频")
                                          : QStringLiteral("读频错误，请重新读频"));
        done(QDialog::Rejected);
        return;
    }
    m_progress->setValue(128);
    m_cancel->setText(QStringLiteral("确定"));
    done(QDialog::Accepted);
}

void frmWAIT::cmdCancel_Click()
{
    if (m_cancel->text() == QStringLiteral("确定")) {
        done(QDialog::Accepted);
        return;
    }
    const auto answer = Prompter::instance().message(this, QMessageBox::NoIcon, QStringLiteral("提示"),
                                                     QStringLiteral("确定要取消吗"),
                                                     QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    if (answer != QMessageBox::Ok)
        return;
    m_link.cancelTransfer();
    done(QDialog::Rejected);
}
