#include "link/SerialPorts.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace {

std::function<QList<SerialPortEntry>()> &lister()
{
    static std::function<QList<SerialPortEntry>()> f;
    return f;
}

// Runs of digits compare by value, so ttyS2 comes before ttyS10.
bool deviceLess(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            const qulonglong x = a.mid(i, ei - i).toULongLong();
            const qulonglong y = b.mid(j, ej - j).toULongLong();
            if (x != y)
                return x < y;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
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
    std::stable_sort(ports.begin(), ports.end(), [](const SerialPortEntry &a, const SerialPortEntry &b) {
        return deviceLess(a.device, b.device);
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
