#include "link/ui/PortDialog.h"

#include "link/SerialPorts.h"
#include "widgets/Prompter.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

PortDialog::PortDialog(int initialOption, int portNumber, const QString &device, QWidget *parent)
    : QDialog(parent),
      portOption(initialOption),
      m_portNumber(portNumber),
      m_initialOption(initialOption),
      m_initialDevice(device),
      m_checkedOption(portNumber - 1)
{
    setObjectName(QStringLiteral("frmDK"));
    auto *layout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(this);
    auto *frameLayout = new QVBoxLayout(frame);
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto *option = new QRadioButton(frame);
        // A control array: every option is "portOptionButton", told apart by its index.
        option->setObjectName(QStringLiteral("optDK"));
        option->setProperty("Index", i);
        option->setEnabled(false);
        group->addButton(option, i);
        frameLayout->addWidget(option);
        m_options[size_t(i)] = option;
        connect(option, &QRadioButton::clicked, this, [this, i] { onOptionClicked(i); });
    }
    m_options[0]->setChecked(true);
    layout->addWidget(frame);

    m_deviceLabel = new QLabel(this);
    m_device = new QLineEdit(device, this);
    m_device->setObjectName(QStringLiteral("txtDevice"));
    m_deviceLabel->setBuddy(m_device);
    layout->addWidget(m_deviceLabel);
    layout->addWidget(m_device);

    m_confirm = new QPushButton(this);
    m_confirm->setObjectName(QStringLiteral("cmdQD"));
    m_confirm->setDefault(true);
    connect(m_confirm, &QPushButton::clicked, this, &PortDialog::onConfirm);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_cancel, &QPushButton::clicked, this, &PortDialog::onCancel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_confirm);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    // A device in the field is the port: no option is shown chosen beside it.
    connect(m_device, &QLineEdit::textChanged, this, &PortDialog::showChosenOption);
    prepare();
    showChosenOption();
    retranslateUi();
}

void PortDialog::retranslateUi()
{
    setWindowTitle(tr("端口选择"));
    const QList<SerialPortEntry> &ports = serialPortList();
    for (int i = 0; i < 4; ++i) {
        QString label = QStringLiteral("COM%1").arg(i + 1);
        if (i < m_listed && i < ports.size()) {
            label = portOptionLabel(i);
            const QString chip = chipFamily(ports[i].vendorId, ports[i].productId);
            if (!chip.isEmpty())
                label += QStringLiteral("  [%1]").arg(chip);
            if (i == m_cable)
                label = tr("%1  ← 可能是编程线").arg(label);
        }
        m_options[size_t(i)]->setText(label);
    }
    m_deviceLabel->setText(tr("其他设备（填写后使用此设备）："));
    m_device->setPlaceholderText(tr("/dev/pts/3 或 /dev/serial/by-id/…"));
    m_confirm->setText(tr("确定"));
    m_cancel->setText(tr("取消"));
}

void PortDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void PortDialog::showChosenOption()
{
    QButtonGroup *group = m_options[0]->group();
    group->setExclusive(false);
    for (QRadioButton *option : m_options)
        option->setChecked(false);
    if (device().isEmpty()) {
        const int shown = m_options[size_t(std::clamp(m_checkedOption, 0, 3))]->isEnabled() ? m_checkedOption : 0;
        m_options[size_t(std::clamp(shown, 0, 3))]->setChecked(true);
    }
    group->setExclusive(true);
}

void PortDialog::onCancel()
{
    // The port stays as it was: what the command takes afterwards is what it gave.
    portOption = m_initialOption;
    m_device->setText(m_initialDevice);
    reject();
}

QString PortDialog::device() const
{
    return m_device->text().trimmed();
}

void PortDialog::prepare()
{
    enumSerialPorts();
    const QList<SerialPortEntry> &ports = serialPortList();
    m_listed = std::min(int(ports.size()), 4);
    m_cable = likelyCableIndex(ports);
    for (int i = 0; i < m_listed; ++i)
        m_options[size_t(i)]->setEnabled(true);
}

void PortDialog::onOptionClicked(int index)
{
    portOption = index;
    m_checkedOption = index;
    // A listed port chosen: the device field no longer decides.
    m_device->clear();
}

void PortDialog::onConfirm()
{
    // A typo in the device field is asked about now, not when the transfer fails.
    if (!device().isEmpty() && !QFileInfo::exists(device())
        && Prompter::instance().message(this, QMessageBox::Question, tr("端口选择"),
                                        tr("设备 %1 不存在。请检查编程线是否插好，或改填其他设备"
                                           "（tarnik-cli ports 列出现有的串口）。\n\n仍然使用这个设备吗？")
                                            .arg(device()),
                                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes) {
        m_device->setFocus();
        m_device->selectAll();
        return;
    }
    const QString text = device().isEmpty() ? tr("端口转换成COM%1").arg(portOption + 1)
                                            : tr("端口转换成%1").arg(device());
    Prompter::instance().message(this, QMessageBox::Information, tr("提示"), text);
    accept();
}

QString PortDialog::statusText(int portOption, const QString &device)
{
    if (!device.trimmed().isEmpty())
        return tr("端口：%1").arg(device.trimmed());
    if (serialPortList().isEmpty())
        enumSerialPorts();
    const QList<SerialPortEntry> &ports = serialPortList();
    QString text = tr("端口：COM%1").arg(portOption + 1);
    if (portOption < 0 || portOption >= ports.size())
        return tr("%1（未找到设备）").arg(text);
    const SerialPortEntry &port = ports[portOption];
    text += QLatin1Char(' ') + port.device;
    const QString chip = chipFamily(port.vendorId, port.productId);
    return chip.isEmpty() ? text : text + QLatin1Char(' ') + chip;
}
