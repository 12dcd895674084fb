#pragma once

#include "channels/Codec.h"
#include "link/RadioLine.h"

#include <QStringList>

class QFile;
class WorkingCopy;

// The read and write transfers over the radio line: they order its handshake and
// acknowledgement steps around the block reads and block writes, keep the received-image
// file and tell how the transfer ended. Owned by the main window (or a command-line tool)
// for the whole run.
class RadioLink : public RadioLine
{
    Q_OBJECT
public:
    using RadioLine::RadioLine;

    // ----- Whole transfers on a working copy
    // The whole read: handshake, read request, the 128 block reads into the received-image
    // file; only a complete read is then loaded into wc, which a failure or a Cancel leaves
    // as it was (the message names the file that keeps the lines that came). A failure
    // returned is one no step handled.
    Status readRadio(bool fromDialog, WorkingCopy &wc);
    // The whole write of wc. Every block is built and checked before the first byte goes out.
    Status writeRadio(bool fromDialog, WorkingCopy &wc);

    // ----- Whole transfers on a memory image
    // The read without any working copy: the lines received (also appended to the
    // received-image file) are in receivedLines(), and once lastEnding() is Completed
    // the radio's whole memory is in receivedImage().
    Status receiveImage(bool fromDialog);
    // The write of a given image, every block as it is.
    Status sendImage(bool fromDialog, const codec::Image &image);
    // The block lines of the last read, as the received-image file holds them (hex bytes
    // each followed by a space, no line end).
    const QStringList &receivedLines() const { return m_receivedLines; }
    // The data bytes of the blocks the last read received; the rest FF.
    const codec::Image &receivedImage() const { return m_receivedImage; }

    // The lines of receivedLines() as the received-image file holds them, each with CR LF.
    QByteArray receivedText() const;

    enum class Ending { None, Completed, Cancelled, Failed };
    // How the last transfer ended: Completed when all 128 blocks went across.
    Ending lastEnding() const { return m_ending; }
    // The last transfer was a write that sent blocks but did not complete: the radio
    // holds only part of the new data.
    bool radioPartlyWritten() const { return m_writing && m_blocksSent > 0 && m_ending != Ending::Completed; }
    // Block frames the last write sent (or began to send).
    int blocksSent() const { return m_writing ? m_blocksSent : 0; }
    // The last read stopped because the received-image file could not be written.
    bool receivedFileFailed() const { return m_receivedFileFailed; }

    // The steps of the transfers.
    void readBlocks(int skip);
    bool writeFunctionBlocks(int skip, const codec::Image &image);
    void writeChannelBlocks(int skip, const codec::Image &image);
    // The image a write sends: the working copy after the power-save selection has
    // recomposed the function byte; fails naming channel and column of a bad cell.
    static Result<codec::Image> writeImage(WorkingCopy &wc);

    // The received-image file; by default Received.chp in the per-user data folder
    // (looked up when used, after the application has its name).
    QString receivedPath() const { return m_receivedPath.isEmpty() ? defaultReceivedPath() : m_receivedPath; }
    void setReceivedPath(const QString &path) { m_receivedPath = path; }
    static QString defaultReceivedPath();
    // Makes the received-image file's folder and checks that the file can be created
    // there; leaves no file behind. For callers that want a file problem said before the
    // first byte goes out.
    Status checkReceivedPath() const;

    // The step a transfer is in, for its caption.
    enum class Phase { Connecting, Reading, Writing };
    static QString captionText(Phase phase);

signals:
    // captionText() of the phase, in the language chosen when the phase began.
    void captionChanged(const QString &caption);
    void phaseChanged(RadioLink::Phase phase);
    void progressChanged(int value);

private:
    Status readTransfer();
    Status writeTransfer(const codec::Image &image);
    Status readBlockLoop();
    // The reply to block n's request; empty when the wait ended without one.
    Result<QByteArray> awaitBlockReply(int n);
    Status sendBlock(int n, const codec::Block &data);
    Result<bool> writeFunctionFrames(const codec::Image &image);
    Status writeChannelFrames(const codec::Image &image);
    Status appendReceivedLine(const QString &line);
    static Status openReceivedFile(QFile &file);
    void finishTransfer();
    void enterPhase(Phase phase);

    QString m_receivedPath;
    QStringList m_receivedLines;
    codec::Image m_receivedImage{};
    bool m_receivedFileFailed = false;
    bool m_writing = false;
    int m_blocksSent = 0;
    bool m_completed = false;
    Ending m_ending = Ending::None;
};
