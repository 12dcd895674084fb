#pragma once

#include "support/Failure.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

// A byte line to the radio: a serial port at 9600 baud, no parity, 8 data bits, 1 stop
// bit, no flow control, or a simulated line in tests. Bytes that arrive wait in the
// pending input until read or discarded; readyRead announces new arrivals, and only
// while events are being processed.
class Transport : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual Status open(const QString &device) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Hands the bytes to the line at once (no buffering until the next event pass).
    virtual Status write(const QByteArray &bytes) = 0;
    virtual QByteArray readAll() = 0;
    virtual qint64 bytesAvailable() const = 0;
    virtual void discardInput() = 0;
    virtual void discardOutput() = 0;
    // Set when the line has gone while open (cable pulled, the far end hung up).
    virtual std::optional<Failure> lineFault() const = 0;

signals:
    void readyRead();
};
