#include "channels/Codec.h"
#include "channels/Tables.h"
#include "channels/WorkingCopy.h"

#include <QTest>

using namespace codec;
using Bytes4 = std::array<quint8, 4>;
Q_DECLARE_METATYPE(Bytes4)

class TstCodec : public QObject
{
    Q_OBJECT

private slots:
    void lists()
    {
        const QStringList &lookup = tables::lookupList();
        const QStringList &shown = tables::signallingList();
        QCOMPARE(lookup.size(), 261);
        QCOMPARE(shown.size(), 261);
        QCOMPARE(lookup[0], QStringLiteral("OFF"));
        QCOMPARE(lookup[50], QStringLiteral("254.1"));
        QCOMPARE(lookup[51], QStringLiteral("D023N"));
        QCOMPARE(lookup[155], QStringLiteral("D754N"));
        QCOMPARE(lookup[156], QStringLiteral("D047I"));
        QCOMPARE(lookup[260], QStringLiteral("D116I"));
        QCOMPARE(shown[156], QStringLiteral("D023I"));
        QCOMPARE(shown[260], QStringLiteral("D754I"));
        // Same texts, each once; no entry is a prefix of an earlier one.
        QCOMPARE(QSet<QString>(lookup.begin(), lookup.end()), QSet<QString>(shown.begin(), shown.end()));
        for (int i = 0; i < lookup.size(); ++i)
            for (int j = 0; j < i; ++j)
                QVERIFY2(!lookup[i].startsWith(lookup[j], Qt::CaseInsensitive), qPrintable(lookup[i]));
    }

    void inversePairingIsSymmetric()
    {
        // Code k of the inverted list carries the partner of the k-th normal code.
        const QStringList &l = tables::lookupList();
        QHash<QString, QString> partner;
        for (int k = 1; k <= 105; ++k)
            partner[l[50 + k].mid(1, 3)] = l[155 + k].mid(1, 3);
        for (auto it = partner.cbegin(); it != partner.cend(); ++it)
            QCOMPARE(partner.value(it.value()), it.key());
        QCOMPARE(partner.value(QStringLiteral("645")), QStringLiteral("645"));
    }

    void signallingRoundTripsEveryEntry()
    {
        for (const QString &text : tables::signallingList()) {
            const auto s = encodeSignalling(text);
            QVERIFY2(s.ok(), qPrintable(text));
            const QString back = decodeSignalling(s->type, s->code);
            if (text == QStringLiteral("OFF"))
                QCOMPARE(*s, (Signalling{0xFF, 0xFF}));
            QCOMPARE(back, text);
        }
    }

    void signallingCodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("code");
        QTest::newRow("67") << "67" << 0x80 << 0x01;
        QTest::newRow("254.1") << "254.1" << 0x80 << 0x32;
        QTest::newRow("D023N") << "D023N" << 0xD0 << 0x01;
        QTest::newRow("D754N") << "D754N" << 0xD0 << 0x69;
        QTest::newRow("D047I") << "D047I" << 0xC0 << 0x01;
        QTest::newRow("D023I") << "D023I" << 0xC0 << 0x08;
        QTest::newRow("D645I") << "D645I" << 0xC0 << 0x5E;
        QTest::newRow("empty") << "" << 0xFF << 0xFF;
        QTest::newRow("blanks") << "   " << 0xFF << 0xFF;
        QTest::newRow("OFF") << "OFF" << 0xFF << 0xFF;
        QTest::newRow("lowercase d023n") << "d023n" << 0xD0 << 0x01;
        QTest::newRow("prefix off is entry 0") << "off" << 0x80 << 0x00;
    }
    void signallingCodes()
    {
        QFETCH(QString, text);
        QFETCH(int, type);
        QFETCH(int, code);
        const auto s = encodeSignalling(text);
        QVERIFY(s.ok());
        QCOMPARE(int(s->type), type);
        QCOMPARE(int(s->code), code);
    }

    void signallingRejected()
    {
        for (const char *t : {"D999N", "xyz", " 67", "300"})
            QVERIFY2(!encodeSignalling(QString::fromLatin1(t)).ok(), t);
    }

    void signallingDecodeEdges()
    {
        QCOMPARE(decodeSignalling(0xD0, 0xFF), QString()); // index 305
        QCOMPARE(decodeSignalling(0x80, 0x00), QStringLiteral("OFF"));
        QCOMPARE(decodeSignalling(0x12, 0x01), QStringLiteral("OFF"));
        QCOMPARE(decodeSignalling(0xFF, 0xFF), QStringLiteral("OFF"));
    }

    void frequency_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Bytes4>("bytes");
        QTest::newRow("450.1") << "450.10000" << Bytes4{0x00, 0x00, 0x01, 0x45};
        QTest::newRow("136.125") << "136.12500" << Bytes4{0x00, 0x25, 0x61, 0x13};
        QTest::newRow("470") << "470.00000" << Bytes4{0x00, 0x00, 0x00, 0x47};
        QTest::newRow("hex digits round trip") << "45F.F0000" << Bytes4{0x00, 0x00, 0xFF, 0x45};
    }
    void frequency()
    {
        QFETCH(QString, text);
        QFETCH(Bytes4, bytes);
        const auto enc = encodeFrequency(text);
        QVERIFY(enc.ok());
        QCOMPARE(*enc, bytes);
        QCOMPARE(decodeFrequency(bytes), text);
    }

    void frequencyOff()
    {
        QCOMPARE(decodeFrequency({0xFF, 0xFF, 0xFF, 0xFF}), QStringLiteral("OFF"));
        QCOMPARE(decodeFrequency({0xFF, 0x00, 0x01, 0x45}), QStringLiteral("OFF"));
        QCOMPARE(decodeFrequency({0x00, 0xFF, 0x01, 0x45}), QStringLiteral("OFF"));
        QCOMPARE(decodeFrequency({0x00, 0x00, 0x01, 0xFF}), QStringLiteral("OFF"));
    }

    void frequencyRejected()
    {
        for (const char *t : {"450.1", "450.100000", "4501.0000", "450,10000", "45G.10000", " 450.1000", ""})
            QVERIFY2(!encodeFrequency(QString::fromLatin1(t)).ok(), t);
    }

    void choiceCells()
    {
        const QString yes = QString::fromUtf16(u"是"), no = QString::fromUtf16(u"否");
        QCOMPARE(encodeBusyLock(yes), quint8(0x00));
        QCOMPARE(encodeBusyLock(no), quint8(0xFF));
        QCOMPARE(encodeBusyLock(QStringLiteral("OFF")), quint8(0xFF));
        QCOMPARE(decodeBusyLock(0x00), yes);
        QCOMPARE(decodeBusyLock(0x12), no);
        QCOMPARE(encodeBandwidth(QString::fromUtf16(u"宽")), quint8(0xFF));
        QCOMPARE(encodeBandwidth(QString::fromUtf16(u"窄")), quint8(0xFC));
        QCOMPARE(encodeBandwidth(QString()), quint8(0xFF));
        QCOMPARE(decodeBandwidth(0xFC), QString::fromUtf16(u"窄"));
        QCOMPARE(decodeBandwidth(0x00), QString::fromUtf16(u"窄"));
        QCOMPARE(encodePower(QString::fromUtf16(u"中")), quint8(0x55));
        QCOMPARE(encodePower(QString::fromUtf16(u"低")), quint8(0x00));
        QCOMPARE(encodePower(QStringLiteral(" ")), quint8(0xFF));
        QCOMPARE(decodePower(0x55), QString::fromUtf16(u"中"));
        QVERIFY(!decodePower(0xAA).has_value());
    }

    void textHelpers()
    {
        QCOMPARE(*hexToInt(QStringLiteral("0A")), 10);
        QCOMPARE(*hexToInt(QStringLiteral("F")), 15);
        QCOMPARE(*hexToInt(QStringLiteral("ff")), 255);
        QVERIFY(!hexToInt(QStringLiteral("G1")).ok());
        QVERIFY(!hexToInt(QString()).ok());
        QCOMPARE(nibbleToBits(0), QStringLiteral("0000"));
        QCOMPARE(nibbleToBits(5), QStringLiteral("0101"));
        QCOMPARE(nibbleToBits(15), QStringLiteral("1111"));
        QCOMPARE(bitsToHex(QStringLiteral("11000000")), QStringLiteral("C0"));
        QCOMPARE(bitsToHex(QStringLiteral("1100000")), QString());
    }

    void flagsEveryCombination()
    {
        for (int bits = 0; bits < 16; ++bits) {
            const int m = bits >> 3 & 1, p = bits >> 2 & 1, c = bits >> 1 & 1, s = bits & 1;
            const quint8 byte = composeFlags(m, p, c, s);
            QCOMPARE(int(byte), bits << 4);
            const auto split = splitFlags(hex2(byte));
            QVERIFY(split.ok());
            QCOMPARE(split->monitorRow, m);
            QCOMPARE(split->powerSaveRow, p);
            QCOMPARE(split->crystal, c);
            QCOMPARE(split->sign, s);
        }
        QCOMPARE(composeFlags(1, 0, 0, 0), quint8(0x80));
        QCOMPARE(composeFlags(1, 1, 1, 1), quint8(0xF0));
    }

    void timeOutEveryRow()
    {
        const QStringList rows = tables::timeOutRows();
        QCOMPARE(rows.size(), 11);
        for (int r = 0; r < rows.size(); ++r) {
            QCOMPARE(int(timeOutByteFromText(rows[r])), 3 * r);
            QCOMPARE(timeOutRowForByte(3 * r), r);
        }
        QCOMPARE(int(timeOutByteFromText(QStringLiteral("150s"))), 0x0F);
        QCOMPARE(timeOutRowForByte(0x0E), 5); // nearest whole row
    }

    void powerStepEveryIndex()
    {
        for (int i = 0; i < tables::PowerSteps; ++i)
            QCOMPARE(powerStepIndexForByte(powerStepByte(i)), i);
        QCOMPARE(int(powerStepByte(5)), 0x19);
        QCOMPARE(powerStepIndexForByte(0x18), -1);
    }

    void modelsAndVoice()
    {
        const int codes[] = {0x11, 0x12, 0x13, 0x14, 0x24, 0x25};
        for (int r = 0; r < 6; ++r) {
            QCOMPARE(int(modelCodeForRow(r)), codes[r]);
            QCOMPARE(rowForModelCode(quint8(codes[r])), r);
        }
        QCOMPARE(rowForModelCode(0xFF), -1);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(voiceRowForByte(voiceByteForRow(r)), r);
        QCOMPARE(voiceRowForByte(0x02), -1);
    }

    void blockAddresses()
    {
        QCOMPARE(int(blockHigh(32)), 0x01); // channel 16 frequency block at 0x100
        QCOMPARE(int(blockLow(32)), 0x00);
        QCOMPARE(int(blockLow(33)), 0x08);
        QCOMPARE(int(blockLow(34)), 0x10); // first spare block 0x110
        QCOMPARE(int(blockHigh(127)), 0x03);
        QCOMPARE(int(blockLow(127)), 0xF8);
        const QByteArray f = frame(0x57, 3, Block{1, 2, 3, 4, 5, 6, 7, 8});
        QCOMPARE(f,
                 QByteArray::fromHex("57001808"
                                     "0102030405060708"));
    }

    void imageRejectsBadCellNamingChannelAndColumn()
    {
        WorkingCopy wc;
        wc.startUp(QString());
        wc.setCell(7, ChannelTable::TxSignal, QStringLiteral("D999N"));
        const auto img = encodeImage(wc);
        QVERIFY(!img.ok());
        QVERIFY(img.failure().description.contains(QStringLiteral("7")));
        QVERIFY(img.failure().description.contains(QString::fromUtf16(u"发射信令")));
        wc.setCell(7, ChannelTable::TxSignal, QString());
        wc.setCell(2, ChannelTable::RxFreq, QStringLiteral("45"));
        QVERIFY(!encodeImage(wc).ok());
    }

    void emptyRowsEncodeAsFF()
    {
        WorkingCopy wc;
        wc.startUp(QString());
        const auto img = encodeImage(wc);
        QVERIFY(img.ok());
        for (int n = 2; n < 128; ++n)
            for (quint8 b : (*img)[size_t(n)])
                QCOMPARE(int(b), 0xFF);
        QCOMPARE(int((*img)[0][6]), 4); // squelch start row
        QCOMPARE(int((*img)[0][7]), 0x19);
    }
};

QTEST_GUILESS_MAIN(TstCodec)
#include "tst_codec.moc"
