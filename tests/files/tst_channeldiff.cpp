#include "channels/WorkingCopy.h"
#include "files/ChannelDiff.h"
#include "files/ChannelFile.h"

#include <QFile>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;
using C = ChannelTable::Column;
using Edit = std::function<void(WorkingCopy &)>;
Q_DECLARE_METATYPE(Edit)

// The example file against itself after edits: one line per changed field, in the
// editor's own words, functions first, channels in order.
class TestChannelDiff : public QObject
{
    Q_OBJECT
private slots:
    void differences_data();
    void differences();
    void imageDifferences_data();
    void imageDifferences();
};

void TestChannelDiff::differences_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("equal") << Edit([](WorkingCopy &) {}) << QStringList();
    QTest::newRow("model, the grid kept") << Edit([](WorkingCopy &wc) {
        wc.clearGridOnModelChange = false;
        wc.selectModel(4);
    }) << QStringList{u"机型: MX--905B(1) → MX--905A(1)"_s};
    QTest::newRow("every other field, listed in order") << Edit([](WorkingCopy &wc) {
        wc.setCell(16, C::Power, QString());
        wc.setCell(3, C::RxFreq, u"450.20000"_s);
        wc.setCell(1, C::TxSignal, u"D025I"_s);
        wc.setPowerStep(8);
        wc.setSignChoice(1);
        wc.setCrystalChoice(1);
        wc.selectVoice(2);
        wc.selectScan(1);
        wc.selectSquelch(5);
        wc.selectTimeOut(0);
        wc.selectPowerSave(1);
        wc.selectMonitor(1);
    })
                                                        << QStringList{u"监听: 打开 → 关闭"_s,
                                                                       u"省电功能: 有效 → 无效"_s,
                                                                       u"发射限时: 60s → 关闭"_s,
                                                                       u"静噪等级: 3 → 5"_s,
                                                                       u"扫描功能: 有效 → 无效"_s,
                                                                       u"语音报频: 中文 → 英文"_s,
                                                                       u"晶体: 13MHz → 14.4MHz"_s,
                                                                       u"中频: 正 → 负"_s,
                                                                       u"功率调整: 0 → 3"_s,
                                                                       u"信道 1 发射信令: D023N → D025I"_s,
                                                                       u"信道 3 接收频率: OFF → 450.20000"_s,
                                                                       u"信道 16 发射功率: 高 → （空）"_s};
    QTest::newRow("control characters shown replaced")
        << Edit([](WorkingCopy &wc) { wc.setCell(2, C::BusyLock, u"\x1b[2J"_s); })
        << QStringList{u"信道 2 繁忙锁定: 否 → \xfffd[2J"_s};
}

void TestChannelDiff::differences()
{
    QFETCH(Edit, edit);
    QFETCH(QStringList, lines);
    WorkingCopy wc;
    wc.startUp(QString());
    QCOMPARE(loadChannelFile(wc, QStringLiteral(TARNIK_TEST_DATA "/example.chp")).kind, LoadOutcome::Loaded);
    const WorkingCopyState before = wc.state();
    edit(wc);
    QStringList got;
    for (const FieldDifference &d : channelDifferences(before, wc.state()))
        got << d.text();
    QCOMPARE(got, lines);
}

// Two memory images: a byte that changes a field is told by the field, one that changes
// none by its address, in the same line format.
using ImageEdit = std::function<void(codec::Image &)>;
Q_DECLARE_METATYPE(ImageEdit)

void TestChannelDiff::imageDifferences_data()
{
    QTest::addColumn<ImageEdit>("edit");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("equal") << ImageEdit([](codec::Image &) {}) << QStringList();
    QTest::newRow("squelch byte") << ImageEdit([](codec::Image &img) { img[0][6] = 5; })
                                  << QStringList{u"静噪等级: 3 → 5"_s};
    QTest::newRow("spare area") << ImageEdit([](codec::Image &img) { img[40][0] = 0xFE; })
                                << QStringList{u"地址 0x140（不属于任何信道或功能设置的字节）: FF → FE"_s};
    QTest::newRow("unused byte of block 0") << ImageEdit([](codec::Image &img) { img[0][2] ^= 0x01; })
                                            << QStringList{u"地址 0x002（不属于任何信道或功能设置的字节）: FF → FE"_s};
    QTest::newRow("fields first, then bytes by address")
        << ImageEdit([](codec::Image &img) {
               img[127][7] = 0x00;
               img[0][2] ^= 0x01;
               img[0][6] = 5;
           })
        << QStringList{u"静噪等级: 3 → 5"_s, u"地址 0x002（不属于任何信道或功能设置的字节）: FF → FE"_s,
                       u"地址 0x3FF（不属于任何信道或功能设置的字节）: FF → 00"_s};
}

void TestChannelDiff::imageDifferences()
{
    QFETCH(ImageEdit, edit);
    QFETCH(QStringList, lines);
    WorkingCopy wc;
    wc.startUp(QString());
    QCOMPARE(loadChannelFile(wc, QStringLiteral(TARNIK_TEST_DATA "/example.chp")).kind, LoadOutcome::Loaded);
    QFile f(QStringLiteral(TARNIK_TEST_DATA "/example.chp"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    codec::Image before;
    const QList<QByteArray> text = f.readAll().split('\n');
    for (int n = 0; n < codec::BlockCount; ++n)
        for (int i = 0; i < 8; ++i)
            before[size_t(n)][size_t(i)] = quint8(text[n].simplified().split(' ')[4 + i].toUInt(nullptr, 16));
    codec::Image after = before;
    edit(after);
    QStringList got;
    for (const FieldDifference &d : ::imageDifferences(wc.state(), before, after))
        got << d.text();
    QCOMPARE(got, lines);
}

QTEST_GUILESS_MAIN(TestChannelDiff)
#include "tst_channeldiff.moc"
