#include "link/SerialPorts.h"

#include <QCollator>
#include <QSerialPortInfo>

#include <algorithm>

namespace {

std::function<QList<SerialPortEntry>()> &lister()
{
    static std::function<QList<SerialPortEntry>()> f;
    return f;
}

QList<SerialPortEntry> systemPorts()
{
    QList<SerialPortEntry> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.append({info.systemLocation(), info.description()});
    return ports;
}

} // namespace

QList<SerialPortEntry> &serialPortList()
{
    static QList<SerialPortEntry> list;
    return list;
}

void setSerialPortLister(std::function<QList<SerialPortEntry>()> f)
{
    lister() = std::move(f);
}

void enumSerialPorts()
{
    QList<SerialPortEntry> ports = lister() ? lister()() : systemPorts();
    QCollator collator;
    collator.setNumericMode(true);
    std::stable_sort(ports.begin(), ports.end(), [&](const SerialPortEntry &a, const SerialPortEntry &b) {
        return collator.compare(a.device, b.device) < 0;
    });
    serialPortList() = ports;
}

QString portOptionLabel(int index)
{
    QString label = QStringLiteral("COM%1").arg(index + 1);
    const QList<SerialPortEntry> &ports = serialPortList();
    if (index >= 0 && index < ports.size()) {
        label += QStringLiteral("   ") + ports[index].device;
        if (!ports[index].description.isEmpty())
            label += QStringLiteral("  ") + ports[index].description;
    }
    return label;
}

Failure openFailure(const QString &device, const OpenProblem &problem)
{
    QString text = QStringLiteral("无法打开串口 %1：%2").arg(device, problem.reason);
    switch (problem.kind) {
    case OpenProblem::NotFound:
        return {portfailure::InvalidPortNumber, text + QStringLiteral("。请检查编程线是否已连接，或在“端口选择”中选择其他端口。")};
    case OpenProblem::AccessDenied:
        return {Failure::PermissionDenied,
                text + QStringLiteral("。当前用户没有使用串口的权限：请把用户加入 dialout 组"
                                      "（sudo usermod -aG dialout $USER），然后注销并重新登录。")};
    case OpenProblem::Busy:
        return {portfailure::PortAlreadyOpen, text + QStringLiteral("。串口正被其他程序使用。")};
    case OpenProblem::Other:
        break;
    }
    return {portfailure::InvalidPortNumber, text};
}

Failure noDeviceFailure(int portNumber)
{
    return {portfailure::InvalidPortNumber,
            QStringLiteral("端口 COM%1 不存在：系统只列出 %2 个串口。请在“端口选择”中选择端口或填写设备。")
                .arg(portNumber)
                .arg(serialPortList().size())};
}
