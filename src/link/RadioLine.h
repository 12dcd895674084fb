#pragma once

#include "support/Failure.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class Clock;
class Transport;

// A message for the user. The link goes on only when the receiver returns, so a GUI
// shows it as a modal box and a command-line tool prints it.
struct LinkMessage
{
    enum Icon { NoIcon, Information, Exclamation, Critical } icon = NoIcon;
    QString title;
    QString text;
};

// The line to the radio for one program run: the serial port and its choice, the receive
// text with its input mode, the continue flag, the watchdog, and the two steps every
// transfer is made of, the handshake and the wait for an acknowledgement. The input mode
// and the receive text outlive every port opening.
//
// Every wait blocks until something happens (bytes arrive, Cancel, the watchdog's or a
// pause's deadline) and then handles it; there are no threads.
class RadioLine : public QObject
{
    Q_OBJECT
public:
    // The PC's serial port and wall-clock time.
    explicit RadioLine(QObject *parent = nullptr);
    // Another line and clock (tests); neither is owned.
    RadioLine(Transport *transport, Clock *clock, QObject *parent = nullptr);
    ~RadioLine() override;

    // ----- Port choice and opening
    // Index 0…3 of the chosen option "COM1"…"COM4"; kept for the whole run.
    int portOption = 0;
    // 1…4; becomes portOption + 1 when the port dialog closes and when the port is opened.
    int portNumber() const { return m_portNumber; }
    void setPortNumber(int number) { m_portNumber = number; }
    // A device that the system does not list (a pseudo-terminal, /dev/serial/by-id/…);
    // when set it is used instead of the option.
    QString customDevice() const { return m_customDevice; }
    void setCustomDevice(const QString &device) { m_customDevice = device.trimmed(); }
    // The device a transfer opens; empty when the option has no listed port behind it.
    QString chosenDevice() const;
    // Opens the chosen device at 9600 baud, no parity, 8 data bits, 1 stop bit, with
    // receive events on and no pending input. An open port stays as it is.
    Status openForTransfer();
    bool isOpen() const;
    // Closes the port, unless it is held.
    void closePort();
    // While held, the port (and the lock that keeps other programs off it) stays open when
    // a transfer ends, so the stages of a safe write follow one another on one opening.
    // Releasing closes it.
    void holdPort() { m_holdPort = true; }
    void releasePort();
    bool portHeld() const { return m_holdPort; }
    // Before the next transfer on a port left open: waits for what the radio still owes
    // the transfer before (the answer to its last frame or acknowledgement, up to
    // LateAnswerWait), then until the line has been quiet for QuietGap, and drops all of
    // it, so a late byte is neither taken as the next handshake's answer nor as an
    // acknowledgement. Ends at once on Cancel. Fails when the line has gone.
    Status settleLine();
    // Drops what came in before now, on the line and in the receive text: a stage that
    // follows another on the same port starts with no pending input.
    void discardPendingInput();

    // ----- Receive text
    // Every byte received while receive events are on, in decimal.
    QString receiveText() const { return m_text; }
    // Character mode until the first block read of the run, byte mode from then on.
    bool byteMode() const { return m_byteMode; }
    int receiveThreshold() const { return m_threshold; }
    // Byte mode: the value in decimal ("6", "87"). Character mode: both bytes of the
    // 16-bit character code, low byte first ("60" for 0x06; a byte 0x80…0xFF counts as
    // the Latin-1 character of that code).
    static QString render(quint8 byte, bool byteMode);

    // ----- Continue flag
    // Set by the progress dialog when it opens, cleared by a confirmed Cancel.
    bool transferActive() const { return m_continue; }
    void setTransferActive(bool on) { m_continue = on; }
    // A confirmed Cancel (or Ctrl+C): the transfer stops at its next pass, and the
    // watchdog stops at once.
    void cancelTransfer();

    // ----- The steps every transfer is made of
    Result<bool> connectRadio(bool start);
    Result<bool> waitForAck();

    // The watchdog: 60 s for the handshake, where a person may still be switching the
    // radio on; once the radio has answered it, ReplyTimeout for every block reply and
    // acknowledgement of the transfer.
    bool watchdogRunning() const { return m_watchdogRunning; }
    void onWatchdogTimeout();

    // Stops the main window's one-second editor timer; run by the handshake.
    std::function<void()> stopEditorTimer;

    static QString appTitle();
    static constexpr qint64 WatchdogInterval = 60'000; // ms
    static constexpr qint64 ReplyTimeout = 5'000; // ms
    static constexpr qint64 OpeningPause = 100; // ms after each byte of the opening sequence
    static constexpr qint64 LateAnswerWait = 1'000; // ms
    static constexpr qint64 QuietGap = 40; // ms

signals:
    // Connect directly: the transfer waits until the message has been dealt with.
    void message(const LinkMessage &message);
    // Every whole second a wait for the radio lasts: the seconds waited so far; 0 when
    // that wait has ended.
    void waitingForRadio(int seconds);

protected:
    Status send(const QByteArray &bytes);
    Status sendByte(quint8 byte) { return send(QByteArray(1, char(byte))); }
    // One pass of event processing; with block, first waits until something happens
    // (or the watchdog is due). Fails when the line has gone.
    Status doEvents(bool block);
    void startWatchdog();
    void stopWatchdog();
    void report(const Failure &f, LinkMessage::Icon icon = LinkMessage::Information);
    // Ends a transfer on an answer that is not the one awaited: "通信错误", the watchdog
    // stopped, the port closed. Returns false.
    bool refuse();
    // Handles events until the receive text is longer than length: true then; false when
    // the watchdog fired, the transfer was cancelled or the line flooded (refused).
    Result<bool> awaitTextLongerThan(qsizetype length);
    // Ends a wait after the watchdog has fired: the watchdog stopped, the port closed.
    // Returns false.
    bool giveUp();

    Transport *m_port;
    Clock *m_clock;
    QString m_text;
    bool m_byteMode = false;
    int m_threshold = 1;
    bool m_continue = true;
    bool m_watchdogFired = false;
    // Bytes received since the PC last sent, and whether they were more than a reply.
    qint64 m_receivedSinceSend = 0;
    bool m_flooded = false;

private:
    void onPortReadyRead();

    std::unique_ptr<Transport> m_ownTransport;
    std::unique_ptr<Clock> m_ownClock;

    int m_portNumber = 1;
    QString m_customDevice;
    int m_position = 0; // next byte of the opening sequence, 0…6

    bool m_watchdogRunning = false;
    qint64 m_watchdogDue = 0;
    bool m_radioAnswered = false; // the handshake of the running transfer has succeeded
    qint64 m_waitStarted = 0;
    qint64 m_nextTick = 0; // when the next waitingForRadio is due
    bool m_waitShown = false; // waitingForRadio has told a wait that is still running
    bool m_holdPort = false;
};
