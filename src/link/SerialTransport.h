#pragma once

#include "link/Transport.h"

#include <QSerialPort>

// The serial port of the PC. DTR and RTS are left as the driver has them: setting them
// fails on a pseudo-terminal and the radio's cable does not need them.
class SerialTransport : public Transport
{
    Q_OBJECT
public:
    explicit SerialTransport(QObject *parent = nullptr);
    ~SerialTransport() override;

    Status open(const QString &device) override;
    bool isOpen() const override { return m_port.isOpen(); }
    void close() override;
    Status write(const QByteArray &bytes) override;
    QByteArray readAll() override { return m_port.readAll(); }
    qint64 bytesAvailable() const override { return m_port.bytesAvailable(); }
    void discardInput() override;
    void discardOutput() override;
    std::optional<Failure> lineFault() const override { return m_fault; }

    static constexpr qint64 ReadBufferSize = 4096;

private:
    void onError(QSerialPort::SerialPortError error);
    // Asks the driver for its low-latency mode, or gives back the mode it had.
    void setLowLatency(bool on);

    QSerialPort m_port;
    QString m_device;
    std::optional<Failure> m_fault;
    int m_restoreFlags = 0;
    bool m_lowLatencySet = false;
};
