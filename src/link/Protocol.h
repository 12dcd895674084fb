#pragma once

#include <QtGlobal>

// The bytes of the programming protocol (9600 baud, 8 data bits, no parity, 1 stop bit).
namespace protocol {

// STX, then the letters P R O G R A, sent one byte at a time, 100 ms apart, cyclically.
inline constexpr quint8 openingSequence[7] = {0x02, 0x50, 0x52, 0x4F, 0x47, 0x52, 0x41};
inline constexpr quint8 ClosingLetter = 0x4D; // M, completing PROGRAM
inline constexpr quint8 ReadRequest = 0x05;
inline constexpr quint8 WriteRequest = 0x0A;
inline constexpr quint8 BlockRead = 0x52; // R, address high, address low, 08
inline constexpr quint8 BlockWrite = 0x57; // W, address high, address low, 08, 8 data bytes
inline constexpr quint8 Ack = 0x06;
inline constexpr quint8 Nak = 0x15;
inline constexpr int ReplyLength = 12; // a block reply: 4 header bytes and 8 data bytes

} // namespace protocol
