#include "ChannelFile.h"

#include "channels/Codec.h"
#include "channels/Tables.h"
#include "channels/WorkingCopy.h"
#include "support/AtomicFile.h"
#include "support/BoundedFile.h"
#include "support/SystemFailure.h"

#include <QCoreApplication>

using L = WorkingCopy::List;

namespace {

QByteArray lineFor(int blockNo, const codec::Block &data)
{
    QStringList tokens{QStringLiteral("52"), codec::hex2(codec::blockHigh(blockNo)),
                       codec::hex2(codec::blockLow(blockNo)), QStringLiteral("08")};
    for (quint8 b : data)
        tokens << codec::hex2(b);
    return tokens.join(QLatin1Char(' ')).toLatin1() + "\r\n";
}

// Reads lines as the reader needs them; a line ends at CR LF, LF or CR.
class LineReader
{
public:
    explicit LineReader(const QByteArray &data) : m_data(data) { }
    bool next(QByteArray *line)
    {
        if (m_pos >= m_data.size())
            return false;
        qsizetype i = m_pos;
        while (i < m_data.size() && m_data[i] != '\r' && m_data[i] != '\n')
            ++i;
        *line = m_data.mid(m_pos, i - m_pos);
        if (i < m_data.size() && m_data[i] == '\r' && i + 1 < m_data.size() && m_data[i + 1] == '\n')
            ++i;
        m_pos = i + 1;
        ++m_lineNo;
        return true;
    }
    int lineNo() const { return m_lineNo; }

private:
    const QByteArray &m_data;
    qsizetype m_pos = 0;
    int m_lineNo = 0;
};

QByteArray asciiUpper(QByteArray line)
{
    for (char &c : line)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return line;
}

struct Loader
{
    WorkingCopy &wc;
    LineReader reader;
    QStringList tokens;
    std::optional<Failure> failure;

    bool readLine()
    {
        QByteArray line;
        if (!reader.next(&line)) {
            failure = Failure{Failure::InputPastEndOfFile,
                              QCoreApplication::translate("ChannelFile", "输入超出文件尾：文件在第 %1 行之前结束")
                                  .arg(reader.lineNo() + 1)};
            return false;
        }
        // Bytes outside ASCII stay visible as replacement characters; they never match.
        // Control characters would cut messages short or reach a terminal raw.
        // Hexadecimal digits count alike in either case: a hand-edited "ff" is FF.
        tokens = printable(QString::fromUtf8(asciiUpper(line))).split(QLatin1Char(' '));
        return true;
    }

    // Token n counted from 1.
    bool token(int n, QString *out)
    {
        if (n > tokens.size()) {
            failure = Failure{Failure::SubscriptOutOfRange,
                              QCoreApplication::translate("ChannelFile", "下标越界：第 %1 行缺少第 %2 个数据")
                                  .arg(reader.lineNo())
                                  .arg(n)};
            return false;
        }
        *out = tokens[n - 1];
        return true;
    }

    bool hexToken(int n, int *out)
    {
        QString t;
        if (!token(n, &t))
            return false;
        const auto v = codec::hexToInt(t);
        if (!v) {
            failure = Failure{v.failure().number,
                              QCoreApplication::translate("ChannelFile", "第 %1 行：%2")
                                  .arg(reader.lineNo())
                                  .arg(v.failure().description)};
            return false;
        }
        *out = *v;
        return true;
    }

    bool invalidRow(const QString &what, const QString &t)
    {
        failure = Failure{Failure::InvalidPropertyValue,
                          QCoreApplication::translate("ChannelFile", "无效的属性值：第 %1 行的%2 \"%3\" 超出列表")
                              .arg(reader.lineNo())
                              .arg(what, t)};
        return false;
    }

    bool firstFunctionLine()
    {
        if (!readLine())
            return false;
        QString t;
        if (!token(5, &t))
            return false;
        for (size_t r = 0; r < tables::models.size(); ++r) {
            if (t == QLatin1String(tables::models[r].code)) {
                wc.clearGridOnModelChange = true;
                wc.select(L::Model, int(r));
                break;
            }
        }
        wc.clearGridOnModelChange = false;
        wc.rerunSelection(L::Model);
        wc.clearGridOnModelChange = true;

        if (!token(9, &t))
            return false;
        const auto flags = codec::splitFlags(t);
        if (!flags) {
            failure = Failure{
                flags.failure().number,
                QCoreApplication::translate("ChannelFile", "第 1 行：%1").arg(flags.failure().description)};
            return false;
        }
        wc.select(L::Monitor, flags->monitorRow);
        wc.select(L::PowerSave, flags->powerSaveRow);
        wc.setCrystalChoice(flags->crystal);
        wc.setSignChoice(flags->sign);
        // The tune values follow the file too, and the flags byte is recomposed from
        // them, so a loaded image saves and writes back with the same crystal and sign.
        wc.setCrystalCode(QString::number(flags->crystal));
        wc.setIfSignCode(QString::number(flags->sign));
        wc.rerunSelection(L::PowerSave);

        if (!token(10, &t))
            return false;
        int row = 0;
        if (t != QStringLiteral("00")) {
            int v;
            if (!hexToken(10, &v))
                return false;
            row = codec::timeOutRowForByte(v);
        }
        if (!wc.select(L::TimeOut, row))
            return invalidRow(QCoreApplication::translate("ChannelFile", "发射限时"), t);

        if (!token(11, &t))
            return false;
        bool isNumber = !t.isEmpty();
        for (QChar c : t)
            isNumber = isNumber && c.unicode() >= '0' && c.unicode() <= '9';
        if (!isNumber || t.size() > 9) {
            failure = Failure{
                Failure::TypeMismatch,
                QCoreApplication::translate("ChannelFile", "类型不匹配：第 1 行的静噪等级 \"%1\" 不是数字").arg(t)};
            return false;
        }
        if (!wc.select(L::Squelch, t.toInt()))
            return invalidRow(QCoreApplication::translate("ChannelFile", "静噪等级"), t);

        if (!token(12, &t))
            return false;
        for (int i = 0; i < tables::PowerSteps; ++i) {
            if (t == codec::hex2(codec::powerStepByte(i))) {
                wc.setPowerStep(i);
                break;
            }
        }
        return true;
    }

    bool secondFunctionLine()
    {
        if (!readLine())
            return false;
        QString t;
        if (!token(5, &t))
            return false;
        if (t == QStringLiteral("FF"))
            wc.select(L::Voice, 0);
        else if (t == QStringLiteral("00"))
            wc.select(L::Voice, 1);
        else if (t == QStringLiteral("01"))
            wc.select(L::Voice, 2);
        if (!token(6, &t))
            return false;
        if (t == QStringLiteral("FF"))
            wc.select(L::Scan, 0);
        else if (t == QStringLiteral("00"))
            wc.select(L::Scan, 1);
        return true;
    }

    bool signalling(int c, int col, int typeToken)
    {
        QString type;
        if (!token(typeToken, &type))
            return false;
        quint8 typeByte = 0xFF;
        if (type == QStringLiteral("80"))
            typeByte = 0x80;
        else if (type == QStringLiteral("D0"))
            typeByte = 0xD0;
        else if (type == QStringLiteral("C0"))
            typeByte = 0xC0;
        int code = 0;
        if (typeByte != 0xFF && !hexToken(typeToken + 1, &code))
            return false;
        wc.setCell(c, col, codec::decodeSignalling(typeByte, code));
        return true;
    }

    bool channel(int c)
    {
        QString h[8];
        if (!readLine())
            return false;
        for (int i = 0; i < 4; ++i)
            if (!token(5 + i, &h[i]))
                return false;
        wc.setCell(c, ChannelTable::RxFreq, codec::decodeFrequencyTokens(h[0], h[1], h[2], h[3]));
        for (int i = 4; i < 8; ++i)
            if (!token(5 + i, &h[i]))
                return false;
        wc.setCell(c, ChannelTable::TxFreq, codec::decodeFrequencyTokens(h[4], h[5], h[6], h[7]));

        if (!readLine())
            return false;
        if (!signalling(c, ChannelTable::RxSignal, 5) || !signalling(c, ChannelTable::TxSignal, 7))
            return false;
        QString t;
        if (!token(9, &t))
            return false;
        wc.setCell(c, ChannelTable::BusyLock, QString::fromUtf16(t == QStringLiteral("00") ? u"是" : u"否"));
        if (!token(10, &t))
            return false;
        wc.setCell(c, ChannelTable::Bandwidth, QString::fromUtf16(t == QStringLiteral("FF") ? u"宽" : u"窄"));
        if (!token(11, &t))
            return false;
        if (t == QStringLiteral("FF"))
            wc.setCell(c, ChannelTable::Power, QString::fromUtf16(u"高"));
        else if (t == QStringLiteral("55"))
            wc.setCell(c, ChannelTable::Power, QString::fromUtf16(u"中"));
        else if (t == QStringLiteral("00"))
            wc.setCell(c, ChannelTable::Power, QString::fromUtf16(u"低"));
        return true;
    }

    bool run()
    {
        if (!firstFunctionLine() || !secondFunctionLine())
            return false;
        for (int c = 1; c <= 16; ++c)
            if (!channel(c))
                return false;
        return true;
    }
};

} // namespace

Result<QByteArray> channelFileText(const WorkingCopy &wc)
{
    const auto image = codec::encodeImage(wc);
    if (!image)
        return image.failure();
    QByteArray out;
    out.reserve(codec::BlockCount * 37);
    for (int n = 0; n < codec::BlockCount; ++n)
        out += lineFor(n, (*image)[size_t(n)]);
    return out;
}

QString savedMessage()
{
    return QCoreApplication::translate("ChannelFile", "保存成功");
}

Status saveChannelFile(const WorkingCopy &wc, const QString &path)
{
    const auto text = channelFileText(wc);
    if (!text)
        return text.failure();
    return writeFileAtomically(path, *text);
}

LoadOutcome loadChannelText(WorkingCopy &wc, const QByteArray &data)
{
    Loader loader{wc, LineReader(data), {}, {}};
    if (loader.run())
        return {};
    return LoadOutcome{LoadOutcome::Failed, *loader.failure};
}

LoadOutcome loadChannelFile(WorkingCopy &wc, const QString &path)
{
    // Only the first 34 lines are used; a channel file is 128 short lines. A bounded
    // prefix keeps a huge file from exhausting memory.
    const Result<QByteArray> data = readRegularFile(path, 1 << 20, Oversize::TakePrefix);
    if (!data && data.failure().number == Failure::FileNotFound)
        return LoadOutcome{LoadOutcome::Missing, {}};
    if (!data)
        return LoadOutcome{LoadOutcome::Failed, data.failure()};
    return loadChannelText(wc, *data);
}

LoadedState loadChannelFileOver(const WorkingCopyState &base, const QString &path)
{
    WorkingCopy fresh;
    fresh.setState(base);
    LoadedState loaded{loadChannelFile(fresh, path), {}};
    if (loaded.outcome.kind == LoadOutcome::Loaded)
        loaded.state = fresh.state();
    return loaded;
}
