#include "Codec.h"
#include <QCoreApplication>

#include "channels/Tables.h"
#include "channels/WorkingCopy.h"

#include <cmath>

namespace codec {

QString hex2(int byte)
{
    return QStringLiteral("%1").arg(byte & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

Result<int> hexToInt(const QString &text)
{
    QString t = text;
    if (t.size() == 1)
        t.prepend(QLatin1Char('0'));
    if (t.isEmpty() || t.size() > 8)
        return Failure{Failure::TypeMismatch,
                       QCoreApplication::translate("codec", "类型不匹配：\"%1\" 不是十六进制数").arg(text)};
    int v = 0;
    for (QChar c : t) {
        const int d = c.isDigit() && c.unicode() < 128   ? c.unicode() - '0'
            : (c.unicode() >= 'A' && c.unicode() <= 'F') ? c.unicode() - 'A' + 10
            : (c.unicode() >= 'a' && c.unicode() <= 'f') ? c.unicode() - 'a' + 10
                                                         : -1;
        if (d < 0)
            return Failure{Failure::TypeMismatch,
                           QCoreApplication::translate("codec", "类型不匹配：\"%1\" 不是十六进制数").arg(text)};
        v = v * 16 + d;
    }
    return v;
}

QString nibbleToBits(int n)
{
    QString out;
    for (int bit = 3; bit >= 0; --bit)
        out += ((n >> bit) & 1) ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

QString bitsToHex(const QString &bits)
{
    if (bits.size() < 8)
        return {};
    auto nibble = [&](int from) {
        int v = 0;
        for (int i = from; i < from + 4; ++i)
            v = v * 2 + (bits[i] == QLatin1Char('1') ? 1 : 0);
        return QString::number(v, 16).toUpper();
    };
    return nibble(0) + nibble(4);
}

static bool isHexDigit(QChar c)
{
    const ushort u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

bool isFrequencyText(const QString &t)
{
    if (t.size() != 9 || t[3] != QLatin1Char('.'))
        return false;
    for (int i = 0; i < 9; ++i)
        if (i != 3 && !isHexDigit(t[i]))
            return false;
    return true;
}

Result<std::array<quint8, 4>> encodeFrequency(const QString &text)
{
    if (!isFrequencyText(text))
        return Failure{Failure::InvalidPropertyValue,
                       QCoreApplication::translate("codec", "频率 \"%1\" 不是 000.00000 格式").arg(text)};
    const QString t = text.toUpper();
    auto byte = [&](QChar a, QChar b) { return quint8(*hexToInt(QString(a) + b)); };
    // Characters 1–9: 1–3 integer digits, 4 the point, 5–9 decimals.
    return std::array<quint8, 4>{byte(t[7], t[8]), byte(t[5], t[6]), byte(t[2], t[4]), byte(t[0], t[1])};
}

QString decodeFrequencyTokens(const QString &h0, const QString &h1, const QString &h2, const QString &h3)
{
    const QString text = h3 + h2.left(1) + QLatin1Char('.') + h2.mid(1, 1) + h1 + h0;
    if (text.contains(QStringLiteral("FF")))
        return QStringLiteral("OFF");
    return text;
}

QString decodeFrequency(const std::array<quint8, 4> &b)
{
    return decodeFrequencyTokens(hex2(b[0]), hex2(b[1]), hex2(b[2]), hex2(b[3]));
}

Result<Signalling> encodeSignalling(const QString &text)
{
    if (text.trimmed().isEmpty() || text == QStringLiteral("OFF"))
        return Signalling{};
    const QStringList &list = tables::lookupList();
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].startsWith(text, Qt::CaseInsensitive)) {
            if (i <= 50)
                return Signalling{0x80, quint8(i)};
            if (i <= 155)
                return Signalling{0xD0, quint8(i - 50)};
            return Signalling{0xC0, quint8(i - 155)};
        }
    }
    return Failure{Failure::InvalidPropertyValue,
                   QCoreApplication::translate("codec", "信令 \"%1\" 不在信令表中").arg(text)};
}

QString decodeSignalling(quint8 type, int code)
{
    int index;
    switch (type) {
    case 0x80:
        index = code;
        break;
    case 0xD0:
        index = code + 50;
        break;
    case 0xC0:
        index = code + 155;
        break;
    default:
        return QStringLiteral("OFF");
    }
    const QStringList &list = tables::lookupList();
    return index >= 0 && index < list.size() ? list[index] : QString();
}

bool isEmptyCell(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() || t == QStringLiteral("OFF");
}

quint8 encodeBusyLock(const QString &t)
{
    if (isEmptyCell(t))
        return 0xFF;
    return t == QString::fromUtf16(u"是") ? 0x00 : 0xFF;
}

QString decodeBusyLock(quint8 b)
{
    return QString::fromUtf16(b == 0x00 ? u"是" : u"否");
}

quint8 encodeBandwidth(const QString &t)
{
    if (isEmptyCell(t))
        return 0xFF;
    return t == QString::fromUtf16(u"宽") ? 0xFF : 0xFC;
}

QString decodeBandwidth(quint8 b)
{
    return QString::fromUtf16(b == 0xFF ? u"宽" : u"窄");
}

quint8 encodePower(const QString &t)
{
    if (isEmptyCell(t))
        return 0xFF;
    if (t == QString::fromUtf16(u"高"))
        return 0xFF;
    if (t == QString::fromUtf16(u"中"))
        return 0x55;
    return 0x00;
}

std::optional<QString> decodePower(quint8 b)
{
    switch (b) {
    case 0xFF:
        return QString::fromUtf16(u"高");
    case 0x55:
        return QString::fromUtf16(u"中");
    case 0x00:
        return QString::fromUtf16(u"低");
    default:
        return std::nullopt;
    }
}

quint8 composeFlags(int monitorRow, int powerSaveRow, int crystal, int sign)
{
    const QString bits = QString::number(monitorRow) + QString::number(powerSaveRow) + QString::number(crystal)
        + QString::number(sign) + QStringLiteral("0000");
    return quint8(*hexToInt(bitsToHex(bits)));
}

Result<Flags> splitFlags(const QString &token)
{
    const auto hi = hexToInt(token.mid(0, 1));
    if (!hi)
        return hi.failure();
    const auto lo = hexToInt(token.mid(1, 1));
    if (!lo)
        return lo.failure();
    const QString bits = nibbleToBits(*hi) + nibbleToBits(*lo);
    auto digit = [&](int i) { return bits[i] == QLatin1Char('1') ? 1 : 0; };
    return Flags{digit(0), digit(1), digit(2), digit(3)};
}

quint8 modelCodeForRow(int row)
{
    return quint8(*hexToInt(QString::fromLatin1(tables::models[size_t(row)].code)));
}

int rowForModelCode(quint8 code)
{
    for (size_t r = 0; r < tables::models.size(); ++r)
        if (modelCodeForRow(int(r)) == code)
            return int(r);
    return -1;
}

quint8 timeOutByteFromText(const QString &text)
{
    if (text == QString::fromUtf16(u"关闭") || text.size() < 3)
        return 0x00;
    if (text.size() == 3)
        return quint8(text.left(1).toInt());
    return quint8(text.left(2).toInt());
}

int timeOutRowForByte(int byte)
{
    if (byte == 0)
        return 0;
    return int(std::lround(byte / 3.0));
}

int powerStepIndexForByte(int byte)
{
    for (int i = 0; i < tables::PowerSteps; ++i)
        if (powerStepByte(i) == byte)
            return i;
    return -1;
}

quint8 voiceByteForRow(int row)
{
    return row == 1 ? 0x00 : row == 2 ? 0x01 : 0xFF;
}

int voiceRowForByte(quint8 b)
{
    return b == 0xFF ? 0 : b == 0x00 ? 1 : b == 0x01 ? 2 : -1;
}

quint8 scanByteForRow(int row)
{
    return row == 0 ? 0xFF : 0x00;
}

Result<Image> encodeImage(const WorkingCopy &wc)
{
    using L = WorkingCopy::List;
    Image img;
    for (Block &b : img)
        b.fill(0xFF);

    Block &f = img[0];
    f[0] = quint8(*hexToInt(wc.modelCode().isEmpty() ? QStringLiteral("00") : wc.modelCode()));
    f[4] = quint8(wc.functionByte().toInt());
    f[5] = timeOutByteFromText(wc.listText(L::TimeOut));
    f[6] = quint8(qMax(0, wc.row(L::Squelch)));
    f[7] = powerStepByte(wc.powerStep());
    img[1][0] = quint8(wc.voiceByte().toInt());
    img[1][1] = scanByteForRow(wc.row(L::Scan));

    const QStringList titles = ChannelTable::columnTitles();
    for (int c = 1; c <= 16; ++c) {
        auto where = [&](int col) {
            return QCoreApplication::translate("codec", "第 %1 信道的%2：")
                .arg(c)
                .arg(QCoreApplication::translate("ChannelTable", titles[col].toUtf8().constData()));
        };
        Block &freq = img[size_t(2 * c)];
        for (int col : {ChannelTable::RxFreq, ChannelTable::TxFreq}) {
            const QString t = wc.cell(c, col);
            if (isEmptyCell(t))
                continue;
            const auto bytes = encodeFrequency(t);
            if (!bytes)
                return Failure{bytes.failure().number, where(col) + bytes.failure().description};
            std::copy(bytes->begin(), bytes->end(), freq.begin() + (col == ChannelTable::RxFreq ? 0 : 4));
        }
        Block &sig = img[size_t(2 * c + 1)];
        for (int col : {ChannelTable::RxSignal, ChannelTable::TxSignal}) {
            const auto s = encodeSignalling(wc.cell(c, col));
            if (!s)
                return Failure{s.failure().number, where(col) + s.failure().description};
            const size_t at = col == ChannelTable::RxSignal ? 0 : 2;
            sig[at] = s->type;
            sig[at + 1] = s->code;
        }
        sig[4] = encodeBusyLock(wc.cell(c, ChannelTable::BusyLock));
        sig[5] = encodeBandwidth(wc.cell(c, ChannelTable::Bandwidth));
        sig[6] = encodePower(wc.cell(c, ChannelTable::Power));
    }
    return img;
}

QByteArray frame(quint8 command, int blockNo, const Block &data)
{
    QByteArray out;
    out.reserve(12);
    out.append(char(command));
    out.append(char(blockHigh(blockNo)));
    out.append(char(blockLow(blockNo)));
    out.append(char(0x08));
    for (quint8 b : data)
        out.append(char(b));
    return out;
}

} // namespace codec
