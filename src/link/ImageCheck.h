#pragma once

#include "channels/Codec.h"

#include <QString>

// How the image read back from a radio differs from the image written to it.
struct ImageDifference
{
    int blocks = 0; // 8-byte blocks with at least one differing byte
    int firstAddress = -1; // lowest differing address, 0x000…0x3FF; −1 when equal
    quint8 written = 0; // the byte sent at firstAddress
    quint8 read = 0; // the byte read back there

    bool equal() const { return blocks == 0; }
};

ImageDifference compareImages(const codec::Image &written, const codec::Image &read);

// "校验失败：…", then one line per difference in the words of the channel comparison
// ("信道 5 接收信令: 67 → 71.9", a byte no field shows by its address), and what to do:
// "请重新写频；写频前的备份：PATH" (without the backup when there is none).
QString verifyFailureText(const codec::Image &written, const codec::Image &read, const QString &backupPath);
