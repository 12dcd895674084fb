// The serial ports the system lists, and what stands between the user and one of them.

#include "Commands.h"

#include "link/PortDoctor.h"
#include "link/SerialPorts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString accessText(const PortDoctor &doctor, const PortFacts &facts)
{
    const QString group = doctor.groupName(facts.groupId);
    switch (doctor.access(facts)) {
    case PortAccess::Allowed:
        return QCoreApplication::translate("DoctorCommands", "可以打开");
    case PortAccess::NeedsGroup:
        return QCoreApplication::translate("DoctorCommands",
                                           "不能打开：你不在 %1 组中（tarnik-cli doctor 给出解决的命令）")
            .arg(group);
    case PortAccess::NeedsRelogin:
        return QCoreApplication::translate("DoctorCommands", "不能打开：已加入 %1 组，重新登录后生效").arg(group);
    case PortAccess::Denied:
        return QCoreApplication::translate("DoctorCommands", "不能打开：权限 %1（tarnik-cli doctor 给出解决的命令）")
            .arg(facts.mode, 4, 8, QLatin1Char('0'));
    case PortAccess::Missing:
        break;
    }
    return QCoreApplication::translate("DoctorCommands", "设备不存在");
}

// "用法: COMMAND ARGUMENTS" and the end of the line.
QString usage(const char *command)
{
    return QCoreApplication::translate("DoctorCommands", "用法: %1").arg(QLatin1String(command)) + QLatin1Char('\n');
}

QString installedUdevRule()
{
    const QString rule = QDir::cleanPath(QCoreApplication::applicationDirPath()
                                         + QStringLiteral("/../share/tarnik/udev/60-tarnik-cable.rules"));
    return QFileInfo::exists(rule) ? rule : QString();
}

} // namespace

int runPorts(const QStringList &args)
{
    if (!args.isEmpty()) {
        err() << usage("tarnik-cli ports");
        return 2;
    }
    enumSerialPorts();
    const QList<SerialPortEntry> &ports = serialPortList();
    if (ports.isEmpty())
        err() << QCoreApplication::translate("DoctorCommands", "没有找到串口（tarnik-cli doctor 帮你查原因）") << "\n";
    const PortDoctor doctor;
    const int cable = likelyCableIndex(ports);
    const QString indent(7, QLatin1Char(' '));
    for (int i = 0; i < ports.size(); ++i) {
        const PortFacts facts = describePort(ports[i].device);
        out() << portOptionLabel(i) << "\n";
        if (!facts.byId.isEmpty())
            out() << indent << facts.byId << "\n";
        const quint16 vendor = ports[i].vendorId ? ports[i].vendorId : facts.vendorId;
        const quint16 product = ports[i].vendorId ? ports[i].productId : facts.productId;
        if (vendor != 0) {
            const QString family = chipFamily(vendor, product);
            out() << indent << "USB "
                  << QStringLiteral("%1:%2").arg(vendor, 4, 16, QLatin1Char('0')).arg(product, 4, 16, QLatin1Char('0'));
            if (!family.isEmpty())
                out() << "  "
                      << (i == cable ? QCoreApplication::translate("DoctorCommands", "%1（可能是编程线）").arg(family)
                                     : family);
            out() << "\n";
        }
        out() << indent << accessText(doctor, facts);
        for (const PortHolder &h : doctor.holders(facts.node))
            out() << QCoreApplication::translate("DoctorCommands", "；正被 %1（pid %2）占用").arg(h.name).arg(h.pid);
        out() << "\n";
    }
    return 0;
}

int runDoctor(const QStringList &args)
{
    QString device;
    if (args.size() == 2 && args[0] == QStringLiteral("--port") && !args[1].isEmpty())
        device = args[1];
    else if (!args.isEmpty()) {
        err() << usage("tarnik-cli doctor [--port DEV]");
        return 2;
    }
    enumSerialPorts();
    QStringList devices;
    for (const SerialPortEntry &e : serialPortList())
        devices << e.device;
    PortDoctor doctor;
    if (const QString rule = installedUdevRule(); !rule.isEmpty())
        doctor.setUdevRulePath(rule);
    // A file, folder, FIFO or other device is looked at no further: nothing about groups
    // or holders would make it a serial port.
    if (!device.isEmpty()) {
        if (const std::optional<DoctorFinding> f = doctor.notSerialDevice(device)) {
            out() << doctorReport({*f});
            return 1;
        }
    }
    const QList<DoctorFinding> findings = doctor.diagnose(devices, device);
    bool blocked = false;
    for (const DoctorFinding &f : findings)
        blocked = blocked || f.severity == DoctorFinding::Blocking;
    if (!blocked) {
        const QString checked = doctor.devicesToExamine(devices, device)
                                    .join(QCoreApplication::translate("DoctorCommands", "、", "list separator"));
        out() << QCoreApplication::translate("DoctorCommands", "没有发现问题：%1 可以打开。").arg(checked) << "\n";
    }
    out() << doctorReport(findings);
    return blocked ? 1 : 0;
}
