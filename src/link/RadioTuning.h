#pragma once

#include "channels/Codec.h"

#include <QString>

// The radio's own tuning in its memory image: the crystal bit (0x20) and the
// intermediate-frequency sign bit (0x10) of the function flags (block 0, byte 4) and the
// power step (block 0, byte 7). A technician sets them per radio in tune mode, so a
// channel file made on another radio must not carry its tuning into this one.
struct RadioTuning
{
    static constexpr quint8 CrystalBit = 0x20;
    static constexpr quint8 SignBit = 0x10;

    int crystal = 0; // 1: 14.4 MHz, 0: 13 MHz
    int sign = 0; // 1: negative, 0: positive
    quint8 powerByte = 0; // 5 × step index; the radio's byte as it is, also outside the table

    static RadioTuning of(const codec::Image &image);
    bool operator==(const RadioTuning &) const = default;
    // "晶振 14.4MHz，中频 负，功率档 2"
    QString text() const;
};

// What keepRadioTuning did.
struct TuningKept
{
    RadioTuning radio; // what the image now carries
    RadioTuning file; // what it carried before
    bool changed() const { return !(radio == file); }
    // One line for the write's result, naming the values kept and, where the file's
    // differed, what the file had.
    QString text() const;
};

// Puts the radio's tuning, taken from the backup image just read, into the image about
// to be written. Nothing else in the image changes.
TuningKept keepRadioTuning(codec::Image &image, const codec::Image &backup);
