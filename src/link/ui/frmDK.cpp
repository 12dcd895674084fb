#include "link/ui/frmDK.h"

#include "link/SerialPorts.h"
#include "shell/ui/Prompter.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmDK::frmDK(int dkh, int portNumber, const QString &device, QWidget *parent)
    : QDialog(parent), DKH(dkh), m_portNumber(portNumber)
{
    setObjectName(QStringLiteral("frmDK"));
    setWindowTitle(QStringLiteral("端口选择"));
    auto *layout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(this);
    auto *frameLayout = new QVBoxLayout(frame);
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto *option = new QRadioButton(QStringLiteral("COM%1").arg(i + 1), frame);
        // A control array: every option is "optDK", told apart by its index.
        option->setObjectName(QStringLiteral("optDK"));
        option->setProperty("Index", i);
        option->setEnabled(false);
        group->addButton(option, i);
        frameLayout->addWidget(option);
        m_options[size_t(i)] = option;
        connect(option, &QRadioButton::clicked, this, [this, i] { optDK_Click(i); });
    }
    m_options[0]->setChecked(true);
    layout->addWidget(frame);

    auto *deviceLabel = new QLabel(QStringLiteral("其他设备（填写后使用此设备）："), this);
    m_device = new QLineEdit(device, this);
    m_device->setObjectName(QStringLiteral("txtDevice"));
    m_device->setPlaceholderText(QStringLiteral("/dev/pts/3 或 /dev/serial/by-id/…"));
    deviceLabel->setBuddy(m_device);
    layout->addWidget(deviceLabel);
    layout->addWidget(m_device);

    m_confirm = new QPushButton(QStringLiteral("确定"), this);
    m_confirm->setObjectName(QStringLiteral("cmdQD"));
    m_confirm->setDefault(true);
    connect(m_confirm, &QPushButton::clicked, this, &frmDK::cmdQD_Click);
    layout->addWidget(m_confirm, 0, Qt::AlignHCenter);

    Form_Load();
}

QString frmDK::device() const
{
    return m_device->text().trimmed();
}

void frmDK::Form_Load()
{
    enumSerialPorts();
    const int listed = int(serialPortList().size());
    for (int i = 0; i < listed && i < 4; ++i) {
        m_options[size_t(i)]->setText(portOptionLabel(i));
        m_options[size_t(i)]->setEnabled(true);
        if (i == m_portNumber - 1)
            m_options[size_t(i)]->setChecked(true);
    }
}

void frmDK::optDK_Click(int index)
{
    DKH = index;
}

void frmDK::cmdQD_Click()
{
    const QString text = device().isEmpty() ? QStringLiteral("端口转换成COM") + QString::number(DKH + 1)
                                            : QStringLiteral("端口转换成") + device();
    Prompter::instance().message(this, QMessageBox::Information, QStringLiteral("提示"), text);
    accept();
}
