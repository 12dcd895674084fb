#include "AboutDialog.h"

#include "widgets/AppInfo.h"
#include "widgets/Prompter.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

AboutDialog::AboutDialog(const QStringList &systemInfoPrograms, QWidget *parent)
    : QDialog(parent), m_programs(systemInfoPrograms)
{
    appinfo::initResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + appinfo::title());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(appinfo::picture(QStringLiteral(":/icons/tarnik.svg"), QSize(96, 96), devicePixelRatioF()));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *title = new QLabel(appinfo::title(), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    title->setFont(appinfo::uiFont(16));

    auto *version = m_version = new QLabel(this);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto *description = m_description = new QLabel(this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);

    auto *warning = m_warning = new QLabel(this);
    warning->setObjectName(QStringLiteral("lblDisclaimer"));
    warning->setWordWrap(true);

    auto *ok = m_ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *sysInfo = m_sysInfo = new QPushButton(this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(sysInfo, &QPushButton::clicked, this, &AboutDialog::showSystemInfo);

    warning->setStyleSheet(QStringLiteral("color: #8a5a00;"));

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(description);
    texts->addStretch(1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    buttons->addStretch(1);
    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picture);
    top->addLayout(texts, 1);
    top->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addWidget(line);
    layout->addWidget(warning);
    setMinimumWidth(600);
    retranslateUi();
}

void AboutDialog::retranslateUi()
{
    m_version->setText(tr("版本 %1").arg(QStringLiteral(TARNIK_VERSION)));
    m_description->setText(tr("TARNIK 16 信道对讲机的编程软件：从对讲机读频，编辑 16 个信道和整机功能，"
                              "保存或打开信道文件（*.chp），写频到对讲机，并打印设置报表。"));
    m_warning->setText(tr("警告：写频会覆盖对讲机中原有的全部设置。请只使用当地无线电管理部门"
                          "许可的频率，写频前请核对机型和频率范围。"));
    m_ok->setText(tr("确定"));
    m_sysInfo->setText(tr("系统信息"));
}

void AboutDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

QStringList AboutDialog::defaultSystemInfoPrograms()
{
    return {QStringLiteral("hardinfo"),
            QStringLiteral("hardinfo2"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("mate-system-monitor"),
            QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("lxtask")};
}

void AboutDialog::showSystemInfo()
{
    for (const QString &name : m_programs) {
        const QString program = QStandardPaths::findExecutable(name);
        if (program.isEmpty())
            continue;
        if (QProcess::startDetached(program, {}))
            return;
        break;
    }
    Prompter::instance().message(this, QMessageBox::NoIcon, appinfo::title(), tr("此时系统信息不可用"));
}
