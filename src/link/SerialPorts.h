#pragma once

#include "support/Failure.h"

#include <QList>
#include <QString>

#include <functional>

// One serial port the system knows. The options "COM1" … "COM4" of the port dialog
// stand for the first four entries of the list, in this order.
struct SerialPortEntry
{
    QString device;      // e.g. /dev/ttyUSB0
    QString description; // e.g. USB-Serial; may be empty
};

// Filled by enumSerialPorts; sorted by device name, numbers in names compared as numbers
// (ttyS2 before ttyS10).
QList<SerialPortEntry> &serialPortList();
void enumSerialPorts();
// Replaces the system's port listing (tests); an empty function restores it.
void setSerialPortLister(std::function<QList<SerialPortEntry>()> lister);

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
