#include "link/PortDoctor.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QString BrailleService = QStringLiteral("brltty");
const QString ModemManager = QStringLiteral("ModemManager");

QByteArray readSmall(const QString &path, qint64 limit = 1 << 20)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(limit);
}

QString octal(uint mode)
{
    return QStringLiteral("0%1").arg(mode, 3, 8, QLatin1Char('0'));
}

QString brailleFix()
{
    return QStringLiteral("sudo systemctl stop brltty-udev.service brltty.service\n"
                          "sudo systemctl mask brltty-udev.service brltty.service");
}

} // namespace

UserIdentity UserIdentity::current()
{
    UserIdentity user;
    user.uid = ::getuid();
    user.groupIds.append(::getgid());
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        QList<gid_t> ids(count);
        const int n = ::getgroups(count, ids.data());
        for (int i = 0; i < n; ++i)
            if (!user.groupIds.contains(ids[i]))
                user.groupIds.append(ids[i]);
    }
    if (const passwd *pw = ::getpwuid(user.uid))
        user.name = QString::fromLocal8Bit(pw->pw_name);
    if (user.name.isEmpty())
        user.name = qEnvironmentVariable("USER");
    return user;
}

PortDoctor::PortDoctor(const QString &root, UserIdentity user)
    : m_user(std::move(user)), m_udevRule(QStringLiteral("/usr/share/tarnik/udev/60-tarnik-cable.rules"))
{
    const QString c = QDir(root).canonicalPath();
    m_root = c == QStringLiteral("/") ? QString() : c;
    m_groups = readGroups();
}

QString PortDoctor::path(const QString &systemPath) const
{
    return m_root + systemPath;
}

const QList<PortDoctor::Process> &PortDoctor::processes() const
{
    if (!m_processes)
        m_processes = scanProcesses();
    return *m_processes;
}

QList<PortDoctor::Process> PortDoctor::scanProcesses() const
{
    QList<Process> processes;
    // The doctor itself holds nothing, but a real /proc lists it.
    const qint64 self = m_root.isEmpty() ? QCoreApplication::applicationPid() : -1;
    const QDir proc(path(QStringLiteral("/proc")));
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric || pid == self)
            continue;
        Process p;
        p.pid = pid;
        p.name = QString::fromLocal8Bit(readSmall(proc.filePath(entry + QStringLiteral("/comm")), 64)).trimmed();
        const QDir fds(proc.filePath(entry + QStringLiteral("/fd")));
        p.filesReadable = fds.isReadable();
        for (const QString &fd : fds.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
            const QByteArray link = QFile::encodeName(fds.filePath(fd));
            char target[4096];
            const ssize_t n = ::readlink(link.constData(), target, sizeof target - 1);
            if (n > 0)
                p.openFiles.append(QFile::decodeName(QByteArray(target, int(n))));
        }
        processes.append(p);
    }
    return processes;
}

QList<PortDoctor::Group> PortDoctor::readGroups() const
{
    QList<Group> groups;
    for (const QByteArray &line : readSmall(path(QStringLiteral("/etc/group"))).split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(':');
        if (fields.size() < 4)
            continue;
        Group g;
        g.name = QString::fromLocal8Bit(fields[0]);
        g.id = fields[2].toUInt();
        for (const QByteArray &m : fields[3].split(','))
            if (!m.isEmpty())
                g.members.append(QString::fromLocal8Bit(m));
        groups.append(g);
    }
    return groups;
}

uint PortDoctor::primaryGroupOf(const QString &user) const
{
    for (const QByteArray &line : readSmall(path(QStringLiteral("/etc/passwd"))).split('\n')) {
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() > 3 && QString::fromLocal8Bit(fields[0]) == user)
            return fields[3].toUInt();
    }
    return uint(-1);
}

QString PortDoctor::groupName(uint groupId) const
{
    for (const Group &g : m_groups)
        if (g.id == groupId)
            return g.name;
    return QString::number(groupId);
}

PortAccess PortDoctor::access(const PortFacts &facts) const
{
    if (!facts.exists)
        return PortAccess::Missing;
    constexpr uint rw = 06;
    if (m_user.uid == 0 || (facts.mode & rw) == rw)
        return PortAccess::Allowed;
    if (facts.ownerId == m_user.uid && ((facts.mode >> 6) & rw) == rw)
        return PortAccess::Allowed;
    const bool groupMay = ((facts.mode >> 3) & rw) == rw;
    if (!groupMay)
        return PortAccess::Denied;
    if (m_user.groupIds.contains(facts.groupId))
        return PortAccess::Allowed;
    for (const Group &g : m_groups)
        if (g.id == facts.groupId && g.members.contains(m_user.name))
            return PortAccess::NeedsRelogin;
    return primaryGroupOf(m_user.name) == facts.groupId ? PortAccess::NeedsRelogin : PortAccess::NeedsGroup;
}

QList<PortHolder> PortDoctor::holders(const QString &node) const
{
    QList<PortHolder> found;
    for (const Process &p : processes())
        if (p.openFiles.contains(node))
            found.append({p.pid, p.name});
    return found;
}

QList<qint64> PortDoctor::processesNamed(const QString &name) const
{
    QList<qint64> pids;
    for (const Process &p : processes())
        if (p.name == name)
            pids.append(p.pid);
    return pids;
}

QStringList PortDoctor::cablesWithoutPort() const
{
    QStringList cables;
    const QDir usb(path(QStringLiteral("/sys/bus/usb/devices")));
    for (const QString &entry : usb.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString dir = usb.filePath(entry);
        const quint16 vendor = quint16(
            QString::fromLatin1(readSmall(dir + QStringLiteral("/idVendor"), 16)).trimmed().toUShort(nullptr, 16));
        const quint16 product = quint16(
            QString::fromLatin1(readSmall(dir + QStringLiteral("/idProduct"), 16)).trimmed().toUShort(nullptr, 16));
        const QString family = chipFamily(vendor, product);
        if (family.isEmpty())
            continue;
        // The port shows as ttyUSBn (or ttyACMn, under tty/) below one of the interfaces.
        bool hasPort = false;
        QDirIterator it(QFileInfo(dir).canonicalFilePath(), {QStringLiteral("tty*")}, QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (!hasPort && it.hasNext()) {
            const QString name = QFileInfo(it.next()).fileName();
            hasPort = name.startsWith(QStringLiteral("ttyUSB")) || name.startsWith(QStringLiteral("ttyACM"));
        }
        if (!hasPort)
            cables.append(QStringLiteral("%1:%2 %3")
                              .arg(vendor, 4, 16, QLatin1Char('0'))
                              .arg(product, 4, 16, QLatin1Char('0'))
                              .arg(family));
    }
    return cables;
}

DeviceKind PortDoctor::deviceKind(const QString &device) const
{
    struct stat st;
    if (::stat(QFile::encodeName(path(device)).constData(), &st) != 0)
        return DeviceKind::Missing;
    if (S_ISREG(st.st_mode))
        return DeviceKind::RegularFile;
    if (S_ISDIR(st.st_mode))
        return DeviceKind::Folder;
    if (S_ISFIFO(st.st_mode))
        return DeviceKind::Fifo;
    if (S_ISBLK(st.st_mode))
        return DeviceKind::OtherDevice;
    if (!S_ISCHR(st.st_mode))
        return DeviceKind::Other;
    const uint major = ::major(st.st_rdev);
    const uint minor = ::minor(st.st_rdev);
    // Lines "name  /dev/node  major  minor[-last]  type", e.g.
    // "usbserial  /dev/ttyUSB  188 0-511 serial", "pty_slave  /dev/pts  136 0-1048575 pty:slave".
    const QByteArray drivers = readSmall(path(QStringLiteral("/proc/tty/drivers")));
    if (!drivers.isEmpty()) {
        for (const QByteArray &line : drivers.split('\n')) {
            const QList<QByteArray> f = line.simplified().split(' ');
            if (f.size() < 5 || f[2].toUInt() != major)
                continue;
            const QList<QByteArray> range = f[3].split('-');
            const uint first = range[0].toUInt();
            const uint last = range.size() > 1 ? range[1].toUInt() : first;
            if (minor < first || minor > last)
                continue;
            return f[4] == "serial" || f[4] == "pty:slave" ? DeviceKind::Serial : DeviceKind::Terminal;
        }
        return DeviceKind::OtherDevice;
    }
    const QString sysfs =
        QFileInfo(path(QStringLiteral("/sys/dev/char/%1:%2").arg(major).arg(minor))).canonicalFilePath();
    return sysfs.contains(QStringLiteral("/tty/")) ? DeviceKind::Serial : DeviceKind::OtherDevice;
}

std::optional<DoctorFinding> PortDoctor::notSerialDevice(const QString &device) const
{
    QString what;
    switch (deviceKind(device)) {
    case DeviceKind::Missing:
    case DeviceKind::Serial:
        return std::nullopt;
    case DeviceKind::Terminal:
        what = QCoreApplication::translate("PortDoctor", "终端");
        break;
    case DeviceKind::OtherDevice:
        what = QCoreApplication::translate("PortDoctor", "其他设备");
        break;
    case DeviceKind::RegularFile:
        what = QCoreApplication::translate("PortDoctor", "普通文件");
        break;
    case DeviceKind::Folder:
        what = QCoreApplication::translate("PortDoctor", "文件夹");
        break;
    case DeviceKind::Fifo:
        what = QCoreApplication::translate("PortDoctor", "管道（FIFO）");
        break;
    case DeviceKind::Other:
        what = QCoreApplication::translate("PortDoctor", "特殊文件");
        break;
    }
    return DoctorFinding{DoctorFinding::Blocking, device,
                         QCoreApplication::translate("PortDoctor",
                                                     "%1 不是串口设备（它是%2）。请用 tarnik-cli ports 列出现有的串口，"
                                                     "编程线插上后用 dmesg 查看系统给它的名字。")
                             .arg(device, what),
                         QStringLiteral("tarnik-cli ports\nsudo dmesg | tail -n 20")};
}

QString PortDoctor::udevRuleFix() const
{
    return QStringLiteral("sudo cp %1 /etc/udev/rules.d/\n"
                          "sudo udevadm control --reload-rules && sudo udevadm trigger")
        .arg(m_udevRule);
}

QList<DoctorFinding> PortDoctor::diagnose(const QStringList &devices, const QString &chosen) const
{
    QList<DoctorFinding> findings;
    const bool braille = !processesNamed(BrailleService).isEmpty();
    const QStringList orphans = cablesWithoutPort();
    for (const QString &cable : orphans) {
        const QString module = chipDriverModule(cable.section(QLatin1Char(' '), 1));
        const bool brailleRules = QFileInfo::exists(path(QStringLiteral("/usr/lib/udev/rules.d/85-brltty.rules")))
            || QFileInfo::exists(path(QStringLiteral("/lib/udev/rules.d/85-brltty.rules")));
        if (braille || brailleRules)
            findings.append(
                {DoctorFinding::Blocking,
                 {},
                 QCoreApplication::translate("PortDoctor",
                                             "编程线（USB %1）已插上，但系统没有为它建立串口：盲文显示器服务 brltty "
                                             "把这类芯片当作盲文显示器占用了。停用它，然后拔下编程线再插上。")
                     .arg(cable),
                 brailleFix()});
        else
            findings.append(
                {DoctorFinding::Blocking,
                 {},
                 QCoreApplication::translate("PortDoctor",
                                             "编程线（USB %1）已插上，但系统没有为它建立串口：驱动没有加载。"
                                             "加载驱动，然后拔下编程线再插上；仍不行时用 dmesg 查看原因。")
                     .arg(cable),
                 module.isEmpty() ? QStringLiteral("sudo dmesg | tail -n 20")
                                  : QStringLiteral("sudo modprobe %1").arg(module)});
    }
    if (braille && orphans.isEmpty())
        findings.append(
            {DoctorFinding::Warning,
             {},
             QCoreApplication::translate("PortDoctor",
                                         "盲文显示器服务 brltty 正在运行：它会占用 CH340、CP210x、FTDI 等芯片的编程线，"
                                         "使串口在插上后又消失。不用盲文显示器时请停用它。"),
             brailleFix()});

    const QStringList targets = devicesToExamine(devices, chosen);
    const bool usbPort = !targets.isEmpty() && describePort(targets.first(), treeRoot()).vendorId != 0;
    if (chosen.isEmpty() && orphans.isEmpty() && !usbPort) {
        const QString check = QCoreApplication::translate(
            "PortDoctor", "请检查编程线是否插好（也可换一个 USB 口），插上后用 dmesg 查看系统是否识别了它。");
        if (devices.isEmpty())
            findings.append({DoctorFinding::Blocking,
                             {},
                             QCoreApplication::translate("PortDoctor", "没有找到任何串口设备。%1").arg(check),
                             QStringLiteral("sudo dmesg | tail -n 20")});
        else
            findings.append(
                {DoctorFinding::Warning,
                 {},
                 QCoreApplication::translate("PortDoctor",
                                             "没有找到 USB 编程线，只有电脑自带的串口 %1。用 USB 编程线时，%2")
                     .arg(devices.join(QCoreApplication::translate("PortDoctor", "、", "list separator")), check),
                 QStringLiteral("sudo dmesg | tail -n 20")});
    }
    QStringList unseen; // examined devices no visible process holds
    for (const QString &device : targets)
        if (examine(device, findings))
            unseen << describePort(device, treeRoot()).node;
    int hidden = 0;
    for (const Process &p : processes())
        hidden += p.filesReadable ? 0 : 1;
    if (hidden > 0 && !unseen.isEmpty())
        findings.append({DoctorFinding::Note,
                         {},
                         QCoreApplication::translate(
                             "PortDoctor", "有 %n 个其他用户的进程无法查看；它们是否占用串口，可用下面的命令查看。",
                             nullptr, hidden),
                         QStringLiteral("sudo fuser -v ") + unseen.join(QLatin1Char(' '))});
    return findings;
}

QStringList PortDoctor::devicesToExamine(const QStringList &devices, const QString &chosen) const
{
    if (!chosen.isEmpty())
        return {chosen};
    QStringList usb;
    for (const QString &device : devices)
        if (describePort(device, treeRoot()).vendorId != 0)
            usb << device;
    return usb.isEmpty() ? devices : usb;
}

QString PortDoctor::treeRoot() const
{
    return m_root.isEmpty() ? QStringLiteral("/") : m_root;
}

bool PortDoctor::examine(const QString &device, QList<DoctorFinding> &findings) const
{
    const PortFacts facts = describePort(device, treeRoot());
    const auto add = [&](DoctorFinding::Severity severity, const QString &text, const QString &fix) {
        findings.append({severity, device, text, fix});
    };
    const QString group = groupName(facts.groupId);
    const bool cableChip = !chipFamily(facts.vendorId, facts.productId).isEmpty();
    switch (access(facts)) {
    case PortAccess::Missing:
        add(DoctorFinding::Blocking,
            QCoreApplication::translate("PortDoctor",
                                        "设备 %1 不存在。请检查编程线是否插好，插上后用 dmesg 查看系统给它的名字，"
                                        "或用 tarnik-cli ports 列出现有的串口。")
                .arg(device),
            QStringLiteral("sudo dmesg | tail -n 20\ntarnik-cli ports"));
        return false;
    case PortAccess::NeedsGroup:
        add(DoctorFinding::Blocking,
            QCoreApplication::translate(
                "PortDoctor", "用户 %1 不在拥有 %2 的组 %3 中，不能打开它。把用户加入该组，然后注销并重新登录。")
                .arg(m_user.name, facts.node, group),
            QStringLiteral("sudo usermod -aG %1 %2").arg(group, m_user.name));
        break;
    case PortAccess::NeedsRelogin:
        add(DoctorFinding::Blocking,
            QCoreApplication::translate("PortDoctor",
                                        "用户 %1 已在组 %2 中，但本次登录还没有生效：请注销并重新登录"
                                        "（只在当前终端生效可运行下面的命令）。")
                .arg(m_user.name, group),
            QStringLiteral("newgrp %1").arg(group));
        break;
    case PortAccess::Denied:
        add(DoctorFinding::Blocking,
            QCoreApplication::translate("PortDoctor", "%1 的权限是 %2（组 %3），组成员也不能读写它。改成 0660%4。")
                .arg(facts.node, octal(facts.mode), group,
                     cableChip ? QCoreApplication::translate("PortDoctor", "；要长期有效，安装 TARNIK 的 udev 规则")
                               : QString()),
            QStringLiteral("sudo chmod 0660 %1").arg(facts.node)
                + (cableChip ? QStringLiteral("\n") + udevRuleFix() : QString()));
        break;
    case PortAccess::Allowed:
        break;
    }
    for (const PortHolder &h : holders(facts.node)) {
        QString fix = QStringLiteral("kill %1").arg(h.pid);
        if (h.name == BrailleService)
            fix = brailleFix();
        else if (h.name == ModemManager)
            fix = QStringLiteral("sudo systemctl stop ModemManager\n") + udevRuleFix();
        add(DoctorFinding::Blocking,
            QCoreApplication::translate("PortDoctor", "%1 正被进程 %2（pid %3）占用。请关闭那个程序，或结束该进程。")
                .arg(facts.node, h.name)
                .arg(h.pid),
            fix);
    }
    if (!processesNamed(ModemManager).isEmpty() && !facts.charDevice.isEmpty()) {
        const QByteArray udev = readSmall(path(QStringLiteral("/run/udev/data/c") + facts.charDevice));
        if (!udev.contains("E:ID_MM_DEVICE_IGNORE=1"))
            add(DoctorFinding::Warning,
                QCoreApplication::translate(
                    "PortDoctor",
                    "调制解调器管理服务 ModemManager 正在运行：编程线插上后的几十秒里它会探测 %1，"
                    "这时读频、写频可能失败。安装 TARNIK 的 udev 规则让它忽略编程线。")
                    .arg(facts.node),
                udevRuleFix());
    }
    return holders(facts.node).isEmpty();
}

QString doctorReport(const QList<DoctorFinding> &findings)
{
    QString text;
    for (const DoctorFinding &f : findings) {
        static const char *const marks[] = {QT_TRANSLATE_NOOP("PortDoctor", "问题"),
                                            QT_TRANSLATE_NOOP("PortDoctor", "注意"),
                                            QT_TRANSLATE_NOOP("PortDoctor", "提示")};
        text += QStringLiteral("[%1] ").arg(QCoreApplication::translate("PortDoctor", marks[f.severity]));
        text += f.text + QLatin1Char('\n');
        for (const QString &line : f.fix.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            text += QStringLiteral("    $ ") + line + QLatin1Char('\n');
    }
    return text;
}
