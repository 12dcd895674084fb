#pragma once

#include "channels/Codec.h"
#include "support/Failure.h"

#include <QByteArray>
#include <QList>

// The radio's side of the programming protocol, as far as the PC relies on it, with
// switches for faults. Block numbers n count from 0 (address 8n).
struct RadioSimOptions
{
    QByteArray handshakeAnswer = QByteArray("\x06\x06\x06", 3);
    // The letters after which the radio answers the opening sequence.
    QByteArray trigger = QByteArrayLiteral("PROGRA");
    QByteArray confirm = QByteArray(1, '\x06'); // answer to 4D
    QByteArray ack = QByteArray(1, '\x06'); // to 05, to each written block, to each PC 06
    QByteArray writeAccept = QByteArray(1, '\x06'); // to 0A; empty: no answer
    bool silent = false; // answers nothing at all
    int silentAfterBlock = -1; // block n answered, nothing after it
    int nakAtBlock = -1; // 0x15 instead of that block's ACK
    int replyLength = 12; // length of each block reply
    int garbageAtBlock = -1; // noise instead of that block's reply or ACK
    int hangupAtBlock = -1; // the line closes instead of that block's answer
    int corruptAtBlock = -1; // that written block is acknowledged but stored with its first byte changed
    int lateAnswerMs = 0; // the answer to a write's last frame and to a read's last 06 comes this late
    int baud = 0; // 0: answers at once
};

class RadioSim
{
public:
    // Bytes for the PC, due at a time: the moment their last bit has crossed the line.
    struct Output
    {
        qint64 at = 0;
        QByteArray bytes;
        bool hangup = false;
    };
    struct Session
    {
        enum Kind { None, Read, Write } kind = None;
        int blocks = 0; // blocks read by the PC, or written into memory
        bool complete = false;
        qint64 bytesIn = 0; // from the PC
        qint64 bytesOut = 0; // to the PC, all sent in full
        int openingBytes = 0; // bytes of the opening sequence before the handshake answer was taken
    };

    explicit RadioSim(const RadioSimOptions &options = {}, const codec::Image &memory = factoryImage());

    // The PC's bytes, handed to the line at time now (ns); what the radio sends back.
    QList<Output> receive(const QByteArray &bytes, qint64 now);
    // A session is one transfer, from the first byte of its opening sequence until the
    // radio has answered its last frame, or until the PC closes the port.
    // The sessions that ended with their transfer complete since last asked, in order.
    QList<Session> takeFinished();
    // The PC closed the port: every session not yet taken, the one running last (also
    // when nothing came in it, unless a transfer finished since the port was opened).
    QList<Session> endSession();
    // Summary of the session now running.
    const Session &session() const { return m_session; }

    const codec::Image &memory() const { return m_memory; }
    const RadioSimOptions &options() const { return m_options; }
    void setOptions(const RadioSimOptions &options) { m_options = options; }

    // Nanoseconds one byte takes on the line (10 bits a byte), 0 for baud 0.
    qint64 byteTime() const;

    // A plausible image as a new radio holds it.
    static codec::Image factoryImage();
    // A channel file's text (12 hex tokens a line, data in tokens 5–12); missing lines read FF.
    static Result<codec::Image> imageFromChannelText(const QByteArray &text);
    // The image as a channel file, each line "52 hh ll 08" and the 8 data bytes.
    static QByteArray channelText(const codec::Image &image);

private:
    enum class State { Idle, AwaitM, AwaitCommand, Reading, AwaitPcAck, Writing };

    QByteArray feed(quint8 byte, bool *hangup);
    QByteArray watchOpening(quint8 byte);
    QByteArray blockReply(int n) const;
    bool silentFor(int n) const;

    RadioSimOptions m_options;
    codec::Image m_memory;
    State m_state = State::Idle;
    QByteArray m_tail; // last letters, for the trigger
    QByteArray m_frame; // bytes of a block request or block write
    int m_block = 0;
    Session m_session;
    QList<Session> m_finished;
    bool m_finishedSinceOpen = false; // since the PC last closed the port
    bool m_transferDone = false; // the reply being made answers the transfer's last frame
    qint64 m_inBusyUntil = 0;
    qint64 m_outBusyUntil = 0;
};
