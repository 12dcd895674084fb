#include "link/SerialTransport.h"

#include "link/SerialPorts.h"

#include <QFile>

#include <cerrno>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

SerialTransport::SerialTransport(QObject *parent) : Transport(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &Transport::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialTransport::onError);
}

SerialTransport::~SerialTransport()
{
    close();
}

Status SerialTransport::open(const QString &device)
{
    m_fault.reset();
    m_device = device;
    m_port.setPortName(device);
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // A line that floods the PC fills this much and then waits in the system's buffer;
    // the link refuses anything past a reply long before.
    m_port.setReadBufferSize(ReadBufferSize);
    if (!m_port.open(QIODevice::ReadWrite)) {
        OpenProblem problem;
        problem.reason = m_port.errorString();
        switch (m_port.error()) {
        case QSerialPort::DeviceNotFoundError:
            problem.kind = OpenProblem::NotFound;
            break;
        case QSerialPort::PermissionError: {
            // The port reports a device locked by another program the same way; only the
            // file's own permissions tell the two apart.
            const QByteArray path = QFile::encodeName(device);
            problem.kind = ::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES ? OpenProblem::AccessDenied
                                                                                           : OpenProblem::Busy;
            break;
        }
        case QSerialPort::OpenError:
            problem.kind = OpenProblem::Busy;
            break;
        default:
            break;
        }
        m_port.clearError();
        return openFailure(device, problem);
    }
    // What reached the device before it was opened is not part of this session.
    m_port.clear(QSerialPort::Input);
    setLowLatency(true);
    return {};
}

void SerialTransport::setLowLatency(bool on)
{
    // USB serial adapters hold short replies back for up to 16 ms before passing them on;
    // in low-latency mode they pass them at once. A driver without the mode (a
    // pseudo-terminal, a plain UART) refuses the request, which changes nothing.
    const int fd = int(m_port.handle());
    serial_struct info{};
    if (on) {
        if (::ioctl(fd, TIOCGSERIAL, &info) != 0)
            return;
        m_restoreFlags = info.flags;
        if (info.flags & ASYNC_LOW_LATENCY)
            return;
        info.flags |= ASYNC_LOW_LATENCY;
        if (::ioctl(fd, TIOCSSERIAL, &info) == 0)
            m_lowLatencySet = true;
    } else if (m_lowLatencySet) {
        // Other programs on this port get the latency it had before.
        m_lowLatencySet = false;
        if (::ioctl(fd, TIOCGSERIAL, &info) != 0)
            return;
        info.flags = (info.flags & ~ASYNC_LOW_LATENCY) | (m_restoreFlags & ASYNC_LOW_LATENCY);
        ::ioctl(fd, TIOCSSERIAL, &info);
    }
}

void SerialTransport::close()
{
    if (!m_port.isOpen())
        return;
    // Closing puts back the line settings the port had before it was opened, at once;
    // the last frame of a write (12.5 ms at 9600 baud) or the last 06 of a read would
    // still be on its way and go out at the old speed. Wait until they are out.
    m_port.flush();
    ::tcdrain(m_port.handle());
    setLowLatency(false);
    m_port.close();
}

Status SerialTransport::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return Failure{portfailure::PortNotOpen, tr("串口没有打开，无法发送数据。")};
    if (m_fault)
        return *m_fault;
    if (m_port.write(bytes) != bytes.size())
        return Failure{Failure::DeviceIoError, tr("向串口 %1 发送数据失败：%2").arg(m_device, m_port.errorString())};
    // QSerialPort would otherwise send only when the event loop next runs; the handshake's
    // pauses must come after the byte has gone out.
    m_port.flush();
    if (m_fault)
        return *m_fault;
    return {};
}

void SerialTransport::discardInput()
{
    if (m_port.isOpen())
        m_port.clear(QSerialPort::Input);
}

void SerialTransport::discardOutput()
{
    if (m_port.isOpen())
        m_port.clear(QSerialPort::Output);
}

void SerialTransport::onError(QSerialPort::SerialPortError error)
{
    if (!m_port.isOpen() || m_fault)
        return;
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
        // A read that finds the end of the line leaves the port a stale system error text.
        m_fault = Failure{Failure::DeviceIoError, tr("串口 %1 已断开：编程线已拔出或对方已挂断").arg(m_device)};
        break;
    case QSerialPort::WriteError:
        m_fault = Failure{Failure::DeviceIoError, tr("串口 %1 已断开：%2").arg(m_device, m_port.errorString())};
        break;
    default:
        break;
    }
}
