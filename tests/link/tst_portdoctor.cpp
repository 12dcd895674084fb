// The cable doctor against fake /sys, /dev, /proc and /etc trees: what a serial device is,
// and what stands between the user and it.

#include "link/PortDoctor.h"
#include "link/SerialPorts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString UsbDevice = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2");
constexpr QFileDevice::Permissions ReadWriteGroup{QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                  | QFileDevice::ReadGroup | QFileDevice::WriteGroup};
const QString ByIdName = QStringLiteral("/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0");

// A machine with one CH340 cable on ttyUSB0 unless told otherwise, a user alice (not
// root), and whatever processes a test starts.
class FakeSystem
{
public:
    explicit FakeSystem(bool withPort = true)
    {
        plugCable(withPort);
        group(false);
        write(QStringLiteral("/etc/passwd"), "root:x:0:0::/root:/bin/sh\nalice:x:4321:4321::/home/alice:/bin/sh\n");
    }
    QString root() const { return m_dir.path(); }
    UserIdentity alice(bool inDialout) const
    {
        UserIdentity u{4321, {4321}, QStringLiteral("alice")};
        if (inDialout)
            u.groupIds.append(::getgid());
        return u;
    }

    void write(const QString &path, const QByteArray &data)
    {
        QDir().mkpath(QFileInfo(root() + path).path());
        QFile f(root() + path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    void link(const QString &path, const QString &target)
    {
        QDir().mkpath(QFileInfo(root() + path).path());
        QVERIFY(QFile::link(target, root() + path));
    }
    // The fake device nodes are plain files; their group is the test's own group,
    // which /etc/group here calls dialout (first, should the test run as root).
    void group(bool aliceListed)
    {
        write(QStringLiteral("/etc/group"),
              QStringLiteral("dialout:x:%1:%2\nroot:x:0:\nalice:x:4321:\n")
                  .arg(::getgid())
                  .arg(aliceListed ? QStringLiteral("bob,alice") : QStringLiteral("bob"))
                  .toUtf8());
    }
    void setMode(QFileDevice::Permissions p, const QString &node = QStringLiteral("/dev/ttyUSB0"))
    {
        QFile::setPermissions(root() + node, p);
    }
    void process(int pid, const QByteArray &name, const QString &openFile = {})
    {
        write(QStringLiteral("/proc/%1/comm").arg(pid), name + '\n');
        QDir().mkpath(root() + QStringLiteral("/proc/%1/fd").arg(pid));
        link(QStringLiteral("/proc/%1/fd/0").arg(pid), QStringLiteral("/dev/null"));
        if (!openFile.isEmpty())
            link(QStringLiteral("/proc/%1/fd/5").arg(pid), openFile);
    }

private:
    void plugCable(bool withPort)
    {
        write(UsbDevice + QStringLiteral("/idVendor"), "1a86\n");
        write(UsbDevice + QStringLiteral("/idProduct"), "7523\n");
        link(QStringLiteral("/sys/bus/usb/devices/1-2"),
             QStringLiteral("../../../devices/pci0000:00/0000:00:14.0/usb1/1-2"));
        if (!withPort)
            return;
        const QString port = UsbDevice + QStringLiteral("/1-2:1.0/ttyUSB0");
        write(port + QStringLiteral("/tty/ttyUSB0/dev"), "188:0\n");
        QDir().mkpath(root() + QStringLiteral("/sys/bus/usb-serial/drivers/ch341-uart"));
        link(port + QStringLiteral("/driver"),
             QStringLiteral("../../../../../../../bus/usb-serial/drivers/ch341-uart"));
        link(port + QStringLiteral("/tty/ttyUSB0/device"), QStringLiteral("../../../ttyUSB0"));
        link(QStringLiteral("/sys/class/tty/ttyUSB0"),
             QStringLiteral("../../devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0/tty/ttyUSB0"));
        write(QStringLiteral("/dev/ttyUSB0"), {});
        setMode(ReadWriteGroup);
        link(ByIdName, QStringLiteral("../../ttyUSB0"));
    }

    QTemporaryDir m_dir;
};

} // namespace

class TestPortDoctor : public QObject
{
    Q_OBJECT
private slots:
    void chipFamilies_data();
    void chipFamilies();
    void factsFromTheTree_data();
    void factsFromTheTree();
    void diagnosis_data();
    void diagnosis();
    void busyPortNamesItsHolder();
    void cliExitStatus_data();
    void cliExitStatus();
};

void TestPortDoctor::chipFamilies_data()
{
    QTest::addColumn<int>("vendor");
    QTest::addColumn<int>("product");
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("module");
    QTest::newRow("CH340") << 0x1a86 << 0x7523 << "CH340"
                           << "ch341";
    QTest::newRow("PL2303") << 0x067b << 0x2303 << "PL2303"
                            << "pl2303";
    QTest::newRow("CP210x") << 0x10c4 << 0xea60 << "CP210x"
                            << "cp210x";
    QTest::newRow("FT232R") << 0x0403 << 0x6001 << "FTDI"
                            << "ftdi_sio";
    QTest::newRow("FT231X") << 0x0403 << 0x6015 << "FTDI"
                            << "ftdi_sio";
    QTest::newRow("CH9102") << 0x1a86 << 0x55d4 << "CH9102"
                            << "cdc_acm";
    QTest::newRow("unknown") << 0x8087 << 0x0aaa << ""
                             << "";
}

void TestPortDoctor::chipFamilies()
{
    QFETCH(int, vendor);
    QFETCH(int, product);
    QFETCH(QString, family);
    QFETCH(QString, module);
    QCOMPARE(chipFamily(quint16(vendor), quint16(product)), family);
    QCOMPARE(chipDriverModule(family), module);
    // The first port with a cable chip is the likely cable, wherever it is listed.
    const QList<SerialPortEntry> ports{{QStringLiteral("/dev/ttyS0"), {}},
                                       {QStringLiteral("/dev/ttyUSB0"), {}, quint16(vendor), quint16(product)},
                                       {QStringLiteral("/dev/ttyUSB1"), {}, 0x1a86, 0x7523}};
    QCOMPARE(likelyCableIndex(ports), family.isEmpty() ? 2 : 1);
}

void TestPortDoctor::factsFromTheTree_data()
{
    QTest::addColumn<QString>("device");
    QTest::newRow("node") << "/dev/ttyUSB0";
    QTest::newRow("by-id name") << ByIdName;
}

void TestPortDoctor::factsFromTheTree()
{
    QFETCH(QString, device);
    FakeSystem sys;
    const PortFacts f = describePort(device, sys.root());
    QVERIFY(f.exists);
    QCOMPARE(f.node, QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(f.byId, ByIdName);
    QCOMPARE(f.vendorId, quint16(0x1a86));
    QCOMPARE(f.productId, quint16(0x7523));
    QCOMPARE(f.driver, QStringLiteral("ch341-uart"));
    QCOMPARE(f.charDevice, QStringLiteral("188:0"));
    QCOMPARE(f.mode, 0660u);
    QVERIFY(!describePort(QStringLiteral("/dev/ttyUSB1"), sys.root()).exists);
}

void TestPortDoctor::diagnosis_data()
{
    // setup: words that build the machine; expected: per finding, its severity letter
    // (B blocking, W warning) and a piece of its fix command.
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("expected");
    const QString none;
    QTest::newRow("all well") << QStringList{QStringLiteral("dialout")} << none << QStringList{};
    QTest::newRow("not in group") << QStringList{} << none
                                  << QStringList{QStringLiteral("B sudo usermod -aG dialout alice")};
    QTest::newRow("added, not logged in again")
        << QStringList{QStringLiteral("listed")} << none << QStringList{QStringLiteral("B newgrp dialout")};
    QTest::newRow("group may not write") << QStringList{QStringLiteral("dialout"), QStringLiteral("0600")} << none
                                         << QStringList{QStringLiteral("B sudo chmod 0660 /dev/ttyUSB0\nsudo cp ")};
    QTest::newRow("held by a terminal program") << QStringList{QStringLiteral("dialout"), QStringLiteral("minicom")}
                                                << none << QStringList{QStringLiteral("B kill 4242")};
    QTest::newRow("held, asked by stable name") << QStringList{QStringLiteral("dialout"), QStringLiteral("minicom")}
                                                << ByIdName << QStringList{QStringLiteral("B kill 4242")};
    QTest::newRow("braille service running") << QStringList{QStringLiteral("dialout"), QStringLiteral("brltty")} << none
                                             << QStringList{QStringLiteral("W mask brltty-udev.service")};
    QTest::newRow("braille service took the cable")
        << QStringList{QStringLiteral("noport"), QStringLiteral("brltty")} << none
        << QStringList{QStringLiteral("B mask brltty-udev.service")};
    QTest::newRow("driver not loaded") << QStringList{QStringLiteral("noport")} << none
                                       << QStringList{QStringLiteral("B sudo modprobe ch341")};
    QTest::newRow("modem manager probes") << QStringList{QStringLiteral("dialout"), QStringLiteral("mm")} << none
                                          << QStringList{QStringLiteral("W udevadm control --reload-rules")};
    QTest::newRow("modem manager holds it")
        << QStringList{QStringLiteral("dialout"), QStringLiteral("mm"), QStringLiteral("mmholds"),
                       QStringLiteral("mmignore")}
        << none << QStringList{QStringLiteral("B sudo systemctl stop ModemManager")};
    QTest::newRow("modem manager told to ignore")
        << QStringList{QStringLiteral("dialout"), QStringLiteral("mm"), QStringLiteral("mmignore")} << none
        << QStringList{};
    QTest::newRow("no device at all") << QStringList{QStringLiteral("nocable")} << none
                                      << QStringList{QStringLiteral("B sudo dmesg | tail -n 20")};
    QTest::newRow("only a built-in port")
        << QStringList{QStringLiteral("nocable"), QStringLiteral("dialout"), QStringLiteral("ttyS0")} << none
        << QStringList{QStringLiteral("W sudo dmesg | tail -n 20")};
    QTest::newRow("chosen device missing") << QStringList{QStringLiteral("dialout")} << "/dev/ttyUSB3"
                                           << QStringList{QStringLiteral("B tarnik-cli ports")};
}

void TestPortDoctor::diagnosis()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, chosen);
    QFETCH(QStringList, expected);
    const bool port = !setup.contains(QStringLiteral("noport")) && !setup.contains(QStringLiteral("nocable"));
    FakeSystem sys(port);
    if (setup.contains(QStringLiteral("nocable")))
        QVERIFY(QDir(sys.root() + QStringLiteral("/sys/devices")).removeRecursively());
    sys.group(setup.contains(QStringLiteral("listed")));
    if (setup.contains(QStringLiteral("0600")))
        sys.setMode(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    sys.process(1, "systemd");
    if (setup.contains(QStringLiteral("minicom")))
        sys.process(4242, "minicom", QStringLiteral("/dev/ttyUSB0"));
    if (setup.contains(QStringLiteral("brltty")))
        sys.process(700, "brltty");
    if (setup.contains(QStringLiteral("mm")))
        sys.process(800, "ModemManager",
                    setup.contains(QStringLiteral("mmholds")) ? QStringLiteral("/dev/ttyUSB0") : QString());
    if (setup.contains(QStringLiteral("mmignore")))
        sys.write(QStringLiteral("/run/udev/data/c188:0"), "E:ID_VENDOR_ID=1a86\nE:ID_MM_DEVICE_IGNORE=1\n");

    PortDoctor doctor(sys.root(), sys.alice(setup.contains(QStringLiteral("dialout"))));
    QStringList listed = port ? QStringList{QStringLiteral("/dev/ttyUSB0")} : QStringList{};
    if (setup.contains(QStringLiteral("ttyS0"))) {
        sys.write(QStringLiteral("/dev/ttyS0"), {});
        sys.setMode(ReadWriteGroup, QStringLiteral("/dev/ttyS0"));
        listed.prepend(QStringLiteral("/dev/ttyS0"));
    }
    const QList<DoctorFinding> findings = doctor.diagnose(listed, chosen);
    QStringList got;
    for (const DoctorFinding &f : findings)
        got << QStringLiteral("%1 %2").arg(QLatin1Char("BWN"[f.severity])).arg(f.fix);
    QCOMPARE(got.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QVERIFY2(got[i].startsWith(expected[i].left(2)) && got[i].contains(expected[i].mid(2)), qPrintable(got[i]));
        QVERIFY(!findings[i].text.isEmpty());
    }
    if (setup.contains(QStringLiteral("minicom")))
        QVERIFY(findings[0].text.contains(QStringLiteral("minicom")));
    if (!chosen.isEmpty() && !findings.isEmpty())
        QVERIFY(findings[0].text.contains(chosen) || findings[0].text.contains(QStringLiteral("/dev/ttyUSB0")));
}

void TestPortDoctor::busyPortNamesItsHolder()
{
    // The real /proc: a child process keeps a stand-in for the port open.
    QTemporaryDir dir;
    const QString node = QDir(dir.path()).canonicalPath() + QStringLiteral("/ttyFAKE0");
    QFile f(node);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QProcess holder;
    holder.start(
        QStringLiteral("sh"),
        {QStringLiteral("-c"), QStringLiteral("exec 3<\"$1\"; echo ready; exec sleep 30"), QStringLiteral("sh"), node});
    QVERIFY(holder.waitForReadyRead(5000));
    QTRY_COMPARE(PortDoctor().holders(node).value(0).name, QStringLiteral("sleep"));
    const Failure failure = openFailure(node, {OpenProblem::Busy, QStringLiteral("Device or resource busy")});
    QVERIFY2(failure.description.contains(QStringLiteral("sleep（pid %1）").arg(holder.processId())),
             qPrintable(failure.description));
    holder.kill();
    holder.waitForFinished();
}

void TestPortDoctor::cliExitStatus_data()
{
    // "SIM" stands for the simulator's pseudo-terminal.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::newRow("free port") << QStringList{QStringLiteral("doctor"), QStringLiteral("--port"), QStringLiteral("SIM")}
                               << 0 << QStringLiteral("没有发现问题");
    QTest::newRow("missing port") << QStringList{QStringLiteral("doctor"), QStringLiteral("--port"),
                                                 QStringLiteral("/dev/tarnik-none")}
                                  << 1 << QStringLiteral("sudo dmesg | tail -n 20");
    // What is no serial device is said so, whatever it is.
    for (const char *what : {"FILE", "DIR", "FIFO", "/dev/zero", "/dev/tty"})
        QTest::newRow(what) << QStringList{QStringLiteral("doctor"), QStringLiteral("--port"), QLatin1String(what)} << 1
                            << QStringLiteral("不是串口设备");
    QTest::newRow("port without device") << QStringList{QStringLiteral("doctor"), QStringLiteral("--port")} << 2
                                         << QString();
    QTest::newRow("ports with argument") << QStringList{QStringLiteral("ports"), QStringLiteral("x")} << 2 << QString();
}

void TestPortDoctor::cliExitStatus()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, said);
    QProcess sim;
    sim.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-sim"), {QStringLiteral("--baud"), QStringLiteral("0")});
    QVERIFY(sim.waitForReadyRead(5000));
    args.replaceInStrings(QStringLiteral("SIM"), QString::fromUtf8(sim.readLine()).trimmed());
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0600), 0);
    args.replaceInStrings(QStringLiteral("FILE"), file.fileName());
    args.replaceInStrings(QStringLiteral("DIR"), dir.path());
    args.replaceInStrings(QStringLiteral("FIFO"), dir.filePath(QStringLiteral("fifo")));
    QProcess cli;
    cli.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli"), args);
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), status);
    QVERIFY(QString::fromUtf8(cli.readAllStandardOutput()).contains(said));
    sim.kill();
    sim.waitForFinished();
}

QTEST_GUILESS_MAIN(TestPortDoctor)
#include "tst_portdoctor.moc"
