#pragma once

#include "channels/Codec.h"

#include <QString>

// How the image read back from a radio differs from the image written to it.
struct ImageDifference
{
    int blocks = 0;        // 8-byte blocks with at least one differing byte
    int firstAddress = -1; // lowest differing address, 0x000…0x3FF; −1 when equal
    quint8 written = 0;    // the byte sent at firstAddress
    quint8 read = 0;       // the byte read back there

    bool equal() const { return blocks == 0; }
};

ImageDifference compareImages(const codec::Image &written, const codec::Image &read);

// "校验失败：地址 0x138 写入 45，读回 46；共 1 块不同。" followed by the backup's path,
// when there is one.
QString verifyFailureText(const ImageDifference &d, const QString &backupPath);
