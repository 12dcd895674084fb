#pragma once

#include "support/Failure.h"

#include <QList>
#include <QString>

#include <functional>

// One serial port the system knows. The options "COM1" … "COM4" of the port dialog
// stand for the first four entries of the list, in this order.
struct SerialPortEntry
{
    QString device; // e.g. /dev/ttyUSB0
    QString description; // e.g. USB-Serial; may be empty
    quint16 vendorId = 0; // USB ids of the adapter; 0 when not USB or not known
    quint16 productId = 0;
};

// Filled by enumSerialPorts; sorted by device name, numbers in names compared as numbers
// (ttyS2 before ttyS10).
QList<SerialPortEntry> &serialPortList();
void enumSerialPorts();
// Replaces the system's port listing (tests); an empty function restores it.
void setSerialPortLister(std::function<QList<SerialPortEntry>()> lister);

// The chip family of a USB serial adapter ("CH340", "PL2303", "CP210x", "FTDI", …);
// empty when the ids are not known.
QString chipFamily(quint16 vendorId, quint16 productId);
// The kernel module that drives that chip family ("ch341", "pl2303", …); empty when not known.
QString chipDriverModule(const QString &family);
// The index of the first listed port whose chip is one programming cables are made
// with; -1 when there is none.
int likelyCableIndex(const QList<SerialPortEntry> &ports);

// What /sys and /dev show about one serial device. Every path is read below root
// ("/" on a real system), so a test can stand up a fake tree.
struct PortFacts
{
    QString device; // as asked, e.g. /dev/ttyUSB0 or /dev/serial/by-id/…
    QString node; // the device node the name leads to, e.g. /dev/ttyUSB0
    bool exists = false; // the node is there
    QString byId; // its stable name under /dev/serial/by-id/, empty when none
    quint16 vendorId = 0;
    quint16 productId = 0;
    QString driver; // the kernel driver of the port, e.g. ch341-uart
    QString charDevice; // "major:minor", e.g. 188:0
    uint ownerId = 0;
    uint groupId = 0;
    uint mode = 0; // permission bits, e.g. 0660
};
PortFacts describePort(const QString &device, const QString &root = QStringLiteral("/"));

// "COM1   /dev/ttyUSB0  USB-Serial" for option 0, "COM3" alone when the list has no third port.
QString portOptionLabel(int index);

// Failure numbers of the serial port, as the original communications control numbered them.
namespace portfailure {
inline constexpr int InvalidPortNumber = 8002;
inline constexpr int PortAlreadyOpen = 8005;
inline constexpr int PortNotOpen = 8018;
} // namespace portfailure

// Why a port did not open, for the user: names the device and the system's reason; when
// the user may not use the device, says how to get the right (the dialout group).
struct OpenProblem
{
    enum Kind { NotFound, AccessDenied, Busy, Other } kind = Other;
    QString reason; // the system's text
};
Failure openFailure(const QString &device, const OpenProblem &problem);
// No device behind the chosen option: COMn with fewer than n ports listed.
Failure noDeviceFailure(int portNumber);
