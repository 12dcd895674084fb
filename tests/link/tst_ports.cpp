// Port listing, the device a transfer opens, and what the user is told when it will not open.

#include "link/RadioLink.h"
#include "link/RadioSim.h"
#include "link/SerialPorts.h"
#include "link/SerialTransport.h"

#include <QFile>
#include <QTest>

class TestPorts : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { setSerialPortLister({}); }
    void listIsSortedByDeviceName();
    void chosenDevice_data();
    void chosenDevice();
    void openFailureTexts_data();
    void openFailureTexts();
    void missingDeviceNamesIt();
    void channelTextRoundTrip();
    void channelTextRefusesShortLines();
};

void TestPorts::listIsSortedByDeviceName()
{
    setSerialPortLister([] {
        return QList<SerialPortEntry>{{QStringLiteral("/dev/ttyUSB10"), {}},
                                      {QStringLiteral("/dev/ttyS1"), QStringLiteral("16550A")},
                                      {QStringLiteral("/dev/ttyUSB2"), QStringLiteral("USB-Serial")},
                                      {QStringLiteral("/dev/ttyACM0"), {}}};
    });
    enumSerialPorts();
    QStringList devices;
    for (const SerialPortEntry &e : serialPortList())
        devices << e.device;
    QCOMPARE(devices,
             (QStringList{QStringLiteral("/dev/ttyACM0"), QStringLiteral("/dev/ttyS1"), QStringLiteral("/dev/ttyUSB2"),
                          QStringLiteral("/dev/ttyUSB10")}));
    QCOMPARE(portOptionLabel(0), QStringLiteral("COM1   /dev/ttyACM0"));
    QCOMPARE(portOptionLabel(2), QStringLiteral("COM3   /dev/ttyUSB2  USB-Serial"));
    QCOMPARE(portOptionLabel(5), QStringLiteral("COM6"));
}

void TestPorts::chosenDevice_data()
{
    QTest::addColumn<int>("listed");
    QTest::addColumn<int>("initialOption");
    QTest::addColumn<QString>("custom");
    QTest::addColumn<QString>("device");
    QTest::newRow("COM1") << 3 << 0 << ""
                          << "/dev/ttyUSB0";
    QTest::newRow("COM3") << 3 << 2 << ""
                          << "/dev/ttyUSB2";
    QTest::newRow("COM4 of three") << 3 << 3 << ""
                                   << "";
    QTest::newRow("nothing listed") << 0 << 0 << ""
                                    << "";
    QTest::newRow("device field") << 3 << 1 << "/dev/pts/7"
                                  << "/dev/pts/7";
}

void TestPorts::chosenDevice()
{
    QFETCH(int, listed);
    QFETCH(int, initialOption);
    QFETCH(QString, custom);
    QFETCH(QString, device);
    setSerialPortLister([listed] {
        QList<SerialPortEntry> ports;
        for (int i = 0; i < listed; ++i)
            ports.append({QStringLiteral("/dev/ttyUSB%1").arg(i), {}});
        return ports;
    });
    enumSerialPorts();
    RadioLink link;
    link.portOption = initialOption;
    link.setPortNumber(initialOption + 1);
    link.setCustomDevice(custom);
    QCOMPARE(link.chosenDevice(), device);
    if (device.isEmpty()) {
        // The option has no port behind it: said before anything is opened.
        const Status s = link.openForTransfer();
        QVERIFY(!s.ok());
        QCOMPARE(s.failure().number, portfailure::InvalidPortNumber);
        QVERIFY(s.failure().description.contains(QStringLiteral("COM%1").arg(initialOption + 1)));
        QVERIFY(!link.isOpen());
    }
}

void TestPorts::openFailureTexts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("dialout");
    QTest::newRow("not found") << int(OpenProblem::NotFound) << portfailure::InvalidPortNumber << false;
    QTest::newRow("access denied") << int(OpenProblem::AccessDenied) << int(Failure::PermissionDenied) << true;
    QTest::newRow("busy") << int(OpenProblem::Busy) << portfailure::PortAlreadyOpen << false;
    QTest::newRow("other") << int(OpenProblem::Other) << portfailure::InvalidPortNumber << false;
}

void TestPorts::openFailureTexts()
{
    QFETCH(int, kind);
    QFETCH(int, number);
    QFETCH(bool, dialout);
    const Failure f = openFailure(QStringLiteral("/dev/ttyUSB0"),
                                  {OpenProblem::Kind(kind), QStringLiteral("Permission denied")});
    QCOMPARE(f.number, number);
    QVERIFY(f.description.contains(QStringLiteral("/dev/ttyUSB0")));
    QVERIFY(f.description.contains(QStringLiteral("Permission denied")));
    QCOMPARE(f.description.contains(QStringLiteral("dialout")), dialout);
    QCOMPARE(f.description.contains(QStringLiteral("重新登录")), dialout);
}

void TestPorts::missingDeviceNamesIt()
{
    SerialTransport port;
    const Status s = port.open(QStringLiteral("/dev/tarnik-no-such-port"));
    QVERIFY(!s.ok());
    QCOMPARE(s.failure().number, portfailure::InvalidPortNumber);
    QVERIFY(s.failure().description.contains(QStringLiteral("/dev/tarnik-no-such-port")));
    QVERIFY(!port.isOpen());
    QVERIFY(!port.write("x").ok());
}

void TestPorts::channelTextRoundTrip()
{
    QFile f(QStringLiteral(TARNIK_TEST_DATA "/example.chp"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray original = f.readAll();
    const auto image = RadioSim::imageFromChannelText(original);
    QVERIFY(image.ok());
    const QByteArray text = RadioSim::channelText(*image);
    QCOMPARE(text.count("\r\n"), 128);
    QCOMPARE(text.left(37), QByteArray("52 00 00 08 ") + original.mid(12, 23) + "\r\n");
    QCOMPARE(*RadioSim::imageFromChannelText(text), *image);
}

void TestPorts::channelTextRefusesShortLines()
{
    const auto image = RadioSim::imageFromChannelText("52 00 00 08 11 FF FF FF 00 06 03 19\r\n52 00 08 08 00\r\n");
    QVERIFY(!image.ok());
    QVERIFY(image.failure().description.contains(QLatin1Char('2')));
    QVERIFY(!RadioSim::imageFromChannelText("52 00 00 08 11 FF FF FF 00 06 03 XY\r\n").ok());
}

QTEST_GUILESS_MAIN(TestPorts)
#include "tst_ports.moc"
