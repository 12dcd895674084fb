#include "link/SerialPorts.h"

#include "link/PortDoctor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>
#include <sys/stat.h>

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
        ports.append({info.systemLocation(), info.description(), info.vendorIdentifier(), info.productIdentifier()});
    return ports;
}

struct Chip
{
    quint16 vendorId;
    quint16 productId;
    const char *family;
};

// The USB serial chips programming cables are built with.
constexpr Chip cableChips[] = {
    {0x1a86, 0x7523, "CH340"},  {0x1a86, 0x5523, "CH341"},  {0x1a86, 0x7522, "CH340"},  {0x1a86, 0x55d4, "CH9102"},
    {0x1a86, 0x55d3, "CH343"},  {0x067b, 0x2303, "PL2303"}, {0x067b, 0x23a3, "PL2303"}, {0x067b, 0x23c3, "PL2303"},
    {0x067b, 0x23d3, "PL2303"}, {0x0557, 0x2008, "PL2303"}, {0x10c4, 0xea60, "CP210x"}, {0x10c4, 0xea70, "CP210x"},
    {0x10c4, 0xea71, "CP210x"}, {0x0403, 0x6001, "FTDI"},   {0x0403, 0x6015, "FTDI"},   {0x0403, 0x6010, "FTDI"},
    {0x0403, 0x6011, "FTDI"},   {0x0403, 0x6014, "FTDI"},
};

QString readLine(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(f.read(256)).trimmed();
}

// path is an absolute path of the examined system; on the machine it lies below root.
struct Tree
{
    QString root; // canonical, "" for the real root

    explicit Tree(const QString &r)
    {
        const QString c = QDir(r).canonicalPath();
        root = c == QStringLiteral("/") ? QString() : c;
    }
    QString on(const QString &path) const { return root + path; }
    // Follows every link; the result is again a path of the examined system, empty
    // when something on the way is missing.
    QString canonical(const QString &path) const
    {
        const QString c = QFileInfo(on(path)).canonicalFilePath();
        if (c.isEmpty() || !c.startsWith(root))
            return {};
        return c.mid(root.size());
    }
};

} // namespace

QString chipFamily(quint16 vendorId, quint16 productId)
{
    for (const Chip &c : cableChips)
        if (c.vendorId == vendorId && c.productId == productId)
            return QLatin1String(c.family);
    return {};
}

QString chipDriverModule(const QString &family)
{
    if (family == QStringLiteral("CH340") || family == QStringLiteral("CH341"))
        return QStringLiteral("ch341");
    if (family == QStringLiteral("PL2303"))
        return QStringLiteral("pl2303");
    if (family == QStringLiteral("CP210x"))
        return QStringLiteral("cp210x");
    if (family == QStringLiteral("FTDI"))
        return QStringLiteral("ftdi_sio");
    if (family == QStringLiteral("CH9102") || family == QStringLiteral("CH343"))
        return QStringLiteral("cdc_acm");
    return {};
}

int likelyCableIndex(const QList<SerialPortEntry> &ports)
{
    for (int i = 0; i < ports.size(); ++i)
        if (!chipFamily(ports[i].vendorId, ports[i].productId).isEmpty())
            return i;
    return -1;
}

PortFacts describePort(const QString &device, const QString &root)
{
    const Tree tree(root);
    PortFacts facts;
    facts.device = device;
    facts.node = tree.canonical(device);
    struct stat st
    { };
    if (facts.node.isEmpty() || ::stat(QFile::encodeName(tree.on(facts.node)).constData(), &st) != 0) {
        facts.node = QDir::cleanPath(device);
        return facts;
    }
    facts.exists = true;
    facts.ownerId = st.st_uid;
    facts.groupId = st.st_gid;
    facts.mode = st.st_mode & 07777;

    const QDir byId(tree.on(QStringLiteral("/dev/serial/by-id")));
    for (const QString &name : byId.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString link = QStringLiteral("/dev/serial/by-id/") + name;
        if (tree.canonical(link) == facts.node) {
            facts.byId = link;
            break;
        }
    }

    const QString ttyDir = QStringLiteral("/sys/class/tty/") + QFileInfo(facts.node).fileName();
    facts.charDevice = readLine(tree.on(ttyDir + QStringLiteral("/dev")));
    const QString hardware = tree.canonical(ttyDir + QStringLiteral("/device"));
    if (hardware.isEmpty())
        return facts;
    facts.driver = QFileInfo(tree.canonical(hardware + QStringLiteral("/driver"))).fileName();
    // The USB ids sit on the USB device, a few levels above the port's interface.
    for (QString dir = hardware; dir.startsWith(QStringLiteral("/sys/")); dir = QFileInfo(dir).path()) {
        const QString vendor = readLine(tree.on(dir + QStringLiteral("/idVendor")));
        if (vendor.isEmpty())
            continue;
        facts.vendorId = quint16(vendor.toUShort(nullptr, 16));
        facts.productId = quint16(readLine(tree.on(dir + QStringLiteral("/idProduct"))).toUShort(nullptr, 16));
        break;
    }
    return facts;
}

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
    std::stable_sort(ports.begin(), ports.end(),
                     [](const SerialPortEntry &a, const SerialPortEntry &b) { return deviceLess(a.device, b.device); });
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
    const QString text = QCoreApplication::translate("SerialPorts", "无法打开串口 %1：%2").arg(device, problem.reason);
    switch (problem.kind) {
    case OpenProblem::NotFound:
        return {portfailure::InvalidPortNumber,
                QCoreApplication::translate("SerialPorts", "%1。请检查编程线是否已连接，或在“端口选择”中选择其他端口。")
                    .arg(text)};
    case OpenProblem::AccessDenied: {
        // Some systems give serial ports to uucp rather than dialout.
        const PortFacts facts = describePort(device);
        QString group = PortDoctor().groupName(facts.groupId);
        if (!facts.exists || facts.groupId == 0 || group.isEmpty() || group[0].isDigit())
            group = QStringLiteral("dialout");
        return {Failure::PermissionDenied,
                QCoreApplication::translate("SerialPorts",
                                            "%1。当前用户没有使用串口的权限：请把用户加入 %2 组"
                                            "（sudo usermod -aG %3 $USER），然后注销并重新登录。")
                    .arg(text, group, group)};
    }
    case OpenProblem::Busy: {
        QStringList holders;
        for (const PortHolder &h : PortDoctor().holders(describePort(device).node))
            holders << QCoreApplication::translate("SerialPorts", "%1（pid %2）").arg(h.name).arg(h.pid);
        if (holders.isEmpty())
            return {portfailure::PortAlreadyOpen,
                    QCoreApplication::translate("SerialPorts", "%1。串口正被其他程序使用%2。")
                        .arg(text,
                             QCoreApplication::translate("SerialPorts", "（tarnik-cli doctor --port %1 可以查出原因）")
                                 .arg(device))};
        return {portfailure::PortAlreadyOpen,
                QCoreApplication::translate("SerialPorts", "%1。串口正被 %2 使用：请关闭它后再试。")
                    .arg(text, holders.join(QCoreApplication::translate("SerialPorts", "、", "list separator")))};
    }
    case OpenProblem::Other:
        break;
    }
    return {portfailure::InvalidPortNumber, text};
}

Failure noDeviceFailure(int portNumber)
{
    return {portfailure::InvalidPortNumber,
            QCoreApplication::translate("SerialPorts",
                                        "端口 COM%1 不存在：系统只列出 %n 个串口。请在“端口选择”中选择端口或填写设备。",
                                        nullptr, int(serialPortList().size()))
                .arg(portNumber)};
}
