#pragma once

#include "channels/WorkingCopy.h"
#include "link/Clock.h"
#include "link/RadioLink.h"
#include "link/RadioSim.h"
#include "link/SimTransport.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>

// A link to an in-process radio in virtual time, with everything the link reports.
struct LinkRig
{
    VirtualClock clock;
    RadioSim radio;
    SimTransport line{&radio, &clock};
    RadioLink link{&line, &clock};
    WorkingCopy wc;
    QTemporaryDir dir;

    struct Shown
    {
        qint64 at;
        LinkMessage message;
    };
    QList<Shown> messages;
    QList<int> progress;
    QStringList captions;
    bool stalled = false;

    static constexpr qint64 ms = Clock::Millisecond;

    explicit LinkRig(const RadioSimOptions &options = {}, const codec::Image &memory = RadioSim::factoryImage())
        : radio(options, memory)
    {
        wc.startUp(QString());
        link.setCustomDevice(QStringLiteral("sim"));
        link.setReceivedPath(dir.filePath(QStringLiteral("Received.chp")));
        QObject::connect(&link, &RadioLink::message, [this](const LinkMessage &m) {
            messages.append({clock.now(), m});
        });
        QObject::connect(&link, &RadioLink::progressChanged, [this](int v) { progress.append(v); });
        QObject::connect(&link, &RadioLink::captionChanged, [this](const QString &c) { captions.append(c); });
        // Nothing left that could ever happen: the user would press Cancel.
        clock.onStall = [this] {
            stalled = true;
            link.cancelTransfer();
        };
    }

    bool open()
    {
        link.setTransferActive(true);
        return link.openForTransfer().ok();
    }
    Status read()
    {
        open();
        return link.readRadio(true, wc);
    }
    Status write()
    {
        open();
        return link.writeRadio(true, wc);
    }
    void cancelAt(qint64 at)
    {
        clock.post(at, [this] { link.cancelTransfer(); });
    }

    QByteArray receivedFile() const
    {
        QFile f(link.receivedPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const Shown &s : messages)
            texts << s.message.text;
        return texts;
    }
    // Sent events only, in order.
    QList<SimTransport::Event> sent() const
    {
        QList<SimTransport::Event> out;
        for (const auto &e : line.trace)
            if (e.kind == SimTransport::Event::Sent)
                out << e;
        return out;
    }
};

// Everything of the editor a transfer may change.
inline QStringList editorState(const WorkingCopy &wc)
{
    QStringList s;
    for (int r = 0; r < ChannelTable::Rows; ++r)
        for (int c = 0; c < ChannelTable::Columns; ++c)
            s << wc.cell(r, c);
    for (int l = 0; l < WorkingCopy::ListCount; ++l)
        s << QString::number(wc.row(WorkingCopy::List(l)));
    for (int key = 1; key <= 6; ++key)
        s << wc.bandStringByKey(key);
    s << wc.bandText() << wc.modelCode() << wc.modelByte() << wc.functionByte() << wc.voiceByte() << wc.crystalCode()
      << wc.ifSignCode() << QString::number(wc.powerStep()) << QString::number(wc.crystalChoice())
      << QString::number(wc.signChoice());
    return s;
}

inline QByteArray hexBytes(const char *hex)
{
    return QByteArray::fromHex(hex);
}
