#pragma once

#include "link/SerialPorts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Who is asking: the account and the groups this login has now. Membership granted
// after the login shows in /etc/group but not here until the next login.
struct UserIdentity
{
    uint uid = 0;
    QList<uint> groupIds;
    QString name;
    static UserIdentity current();
};

enum class PortAccess {
    Allowed,
    NeedsGroup, // the group may open it; the user is not in that group
    NeedsRelogin, // the user was added to the group after logging in
    Denied, // not even the group may open it
    Missing,
};

// What a path names, as far as serial ports go. A pseudo-terminal's slave side (the
// simulator's) counts as a serial device; a console or the controlling terminal does not.
enum class DeviceKind {
    Missing,
    Serial,
    Terminal, // a tty that is no serial line: a console, /dev/tty, /dev/ptmx
    OtherDevice, // a character or block device that is no tty (/dev/zero)
    RegularFile,
    Folder,
    Fifo,
    Other, // a socket
};

struct PortHolder
{
    qint64 pid = 0;
    QString name;
};

// One thing that stands between the user and the port, in Chinese, with the command
// that fixes it.
struct DoctorFinding
{
    enum Severity { Blocking, Warning, Note } severity = Blocking;
    QString device; // empty when the finding is about the system
    QString text;
    QString fix; // one command per line; may be empty
};

// Looks at /sys, /dev, /proc and /etc under root ("/" on a real system, a fake tree in
// tests) and explains why a serial device cannot be used. Reads only; never opens a port.
class PortDoctor
{
public:
    explicit PortDoctor(const QString &root = QStringLiteral("/"), UserIdentity user = UserIdentity::current());

    // The installed udev rule the fixes name; a generic path when not set.
    void setUdevRulePath(const QString &path) { m_udevRule = path; }

    PortAccess access(const PortFacts &facts) const;
    // From the file's type and, for a character device, the kernel's table of tty
    // drivers (/proc/tty/drivers); without that table, from the device's class in /sys.
    DeviceKind deviceKind(const QString &device) const;
    // "不是串口设备" with what the path is instead, for a device that is there but is no
    // serial device; nothing otherwise.
    std::optional<DoctorFinding> notSerialDevice(const QString &device) const;
    QString groupName(uint groupId) const;
    // The processes that have the device node open.
    QList<PortHolder> holders(const QString &node) const;
    // The running processes of that name (as /proc/PID/comm gives it).
    QList<qint64> processesNamed(const QString &name) const;
    // USB devices of a cable chip that have no serial port, as "1a86:7523 CH340".
    QStringList cablesWithoutPort() const;

    // The devices a diagnosis looks at: chosen when given; otherwise those of devices (the
    // system's port listing) that sit on USB, or all of them when none does.
    QStringList devicesToExamine(const QStringList &devices, const QString &chosen = {}) const;
    // An empty result means nothing stands in the way.
    QList<DoctorFinding> diagnose(const QStringList &devices, const QString &chosen = {}) const;

private:
    struct Process
    {
        qint64 pid = 0;
        QString name;
        QStringList openFiles; // link targets of /proc/PID/fd/*
        bool filesReadable = true;
    };
    struct Group
    {
        QString name;
        uint id = 0;
        QStringList members;
    };
    const QList<Process> &processes() const;
    QList<Process> scanProcesses() const;
    QList<Group> readGroups() const;
    uint primaryGroupOf(const QString &user) const;
    QString path(const QString &systemPath) const;
    // Adds what stands in the way of device; true when the device is there and no
    // visible process holds it.
    bool examine(const QString &device, QList<DoctorFinding> &findings) const;
    QString treeRoot() const;
    QString udevRuleFix() const;

    QString m_root; // "" for the real root
    UserIdentity m_user;
    QString m_udevRule;
    mutable std::optional<QList<Process>> m_processes; // read when first needed
    QList<Group> m_groups;
};

// The findings as the command-line tool prints them.
QString doctorReport(const QList<DoctorFinding> &findings);
