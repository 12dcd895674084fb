#pragma once

#include "support/Failure.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class WorkingCopy;

// Conversion between the working copy's texts and the bytes of the 1024-byte radio
// memory image (128 blocks of 8 bytes, block n at address 8n).
namespace codec {

using Block = std::array<quint8, 8>;
using Image = std::array<Block, 128>;
inline constexpr int BlockCount = 128;
inline constexpr int FunctionBlocks = 2;
inline constexpr int DataBlocks = 34; // function blocks and the 16 channels' blocks
inline constexpr int SpareBlocks = 94; // 0x110…0x3F8, always FF

// The text read as a hexadecimal number ("0A" → 10, "F" → 15). Fails on an empty text,
// a non-hex character or more than eight digits.
Result<int> hexToInt(const QString &text);
// 0…15 → four binary digits, most significant first ("0101").
QString nibbleToBits(int n);
// Eight binary digits → two hex digits ("11000000" → "C0"); shorter text → "".
QString bitsToHex(const QString &bits);

// Block number → high and low address byte.
inline quint8 blockHigh(int n)
{
    return quint8((8 * n) / 256);
}
inline quint8 blockLow(int n)
{
    return quint8((8 * n) % 256);
}

// True for the grid's frequency format "000.00000". The digit places also take the
// hex digits A–F, which the reader copies into the grid from unusual radio bytes, so
// such a cell still encodes back to the same bytes.
bool isFrequencyText(const QString &text);
// Frequency text → 4 bytes (BCD of 10 Hz units, least significant byte first).
Result<std::array<quint8, 4>> encodeFrequency(const QString &text);
// 4 bytes → "000.00000", or "OFF" when the text holds "FF".
QString decodeFrequency(const std::array<quint8, 4> &bytes);
// The same rule on four hex tokens as they stand in a channel file (h0 first).
QString decodeFrequencyTokens(const QString &h0, const QString &h1, const QString &h2, const QString &h3);

struct Signalling
{
    quint8 type = 0xFF;
    quint8 code = 0xFF;
    bool operator==(const Signalling &) const = default;
};
// Empty or "OFF" → FF FF; else the first lookup entry beginning with the text
// (any case). A text no entry begins with is refused.
Result<Signalling> encodeSignalling(const QString &text);
// 0x80 tone, 0xD0 normal DCS, 0xC0 inverted DCS; other types "OFF"; beyond the list "".
QString decodeSignalling(quint8 type, int code);

bool isEmptyCell(const QString &text);
quint8 encodeBusyLock(const QString &text);
QString decodeBusyLock(quint8 b);
quint8 encodeBandwidth(const QString &text);
QString decodeBandwidth(quint8 b);
quint8 encodePower(const QString &text);
// nullopt: the cell keeps its previous text.
std::optional<QString> decodePower(quint8 b);

quint8 composeFlags(int monitorRow, int powerSaveRow, int crystal, int sign);
struct Flags
{
    int monitorRow, powerSaveRow, crystal, sign;
};
// Splits two hex digits of a flags token into the four flag digits.
Result<Flags> splitFlags(const QString &hexToken);

quint8 modelCodeForRow(int row);
int rowForModelCode(quint8 code); // −1 outside the table
// Time-out from the list's text: "关闭" 00, "30s" 03, … "300s" 1E.
quint8 timeOutByteFromText(const QString &text);
// Row for a time-out byte: 0 for 0x00, else byte ÷ 3 rounded (may exceed 10).
int timeOutRowForByte(int byte);
inline quint8 powerStepByte(int index)
{
    return quint8(5 * index);
}
int powerStepIndexForByte(int byte); // −1 when not in the table
quint8 voiceByteForRow(int row);
int voiceRowForByte(quint8 b); // −1 when not in the table
quint8 scanByteForRow(int row);

// Encodes the working copy into the whole image, the function flags byte as last
// composed. Every channel cell is checked first: a cell that cannot be encoded fails
// with a description naming the channel and the column, and nothing is returned.
Result<Image> encodeImage(const WorkingCopy &wc);

// A 12-byte frame: command, address high, address low, 0x08, the 8 data bytes.
QByteArray frame(quint8 command, int blockNo, const Block &data);

// Two uppercase hex digits.
QString hex2(int byte);

} // namespace codec
