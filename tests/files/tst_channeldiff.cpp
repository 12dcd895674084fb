#include "channels/WorkingCopy.h"
#include "files/ChannelDiff.h"
#include "files/ChannelFile.h"

#include <QTest>

#include <functional>

using L = WorkingCopy::List;
using C = ChannelTable::Column;
using Edit = std::function<void(WorkingCopy &)>;
Q_DECLARE_METATYPE(Edit)

// The example file against itself after one edit: one line per changed field, in the
// editor's own words, functions first, channels in order.
class TestChannelDiff : public QObject
{
    Q_OBJECT
private slots:
    void differences_data();
    void differences();
};

void TestChannelDiff::differences_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("lines");
    auto lines = [](std::initializer_list<const char16_t *> l) {
        QStringList out;
        for (const char16_t *s : l)
            out << QString::fromUtf16(s);
        return out;
    };
    QTest::newRow("equal") << Edit([](WorkingCopy &) {}) << QStringList();
    QTest::newRow("squelch") << Edit([](WorkingCopy &wc) { wc.selectSquelch(5); }) << lines({u"静噪等级: 3 → 5"});
    QTest::newRow("receive frequency")
        << Edit([](WorkingCopy &wc) { wc.setCell(3, C::RxFreq, QStringLiteral("450.20000")); })
        << lines({u"信道 3 接收频率: OFF → 450.20000"});
    QTest::newRow("model without clearing")
        << Edit([](WorkingCopy &wc) {
               wc.clearGridOnModelChange = false;
               wc.selectModel(4);
           })
        << lines({u"机型: MX--905B(1) → MX--905A(1)"});
    QTest::newRow("tune values") << Edit([](WorkingCopy &wc) {
        wc.setCrystalChoice(1);
        wc.setSignChoice(1);
        wc.setPowerStep(8);
    }) << lines({u"晶体: 13MHz → 14.4MHz", u"中频: 正 → 负", u"功率调整: 0 → 3"});
    QTest::newRow("every list, functions before channels, channels in order")
        << Edit([](WorkingCopy &wc) {
               wc.setCell(16, C::Power, QString());
               wc.setCell(1, C::TxSignal, QStringLiteral("D025I"));
               wc.selectVoice(2);
               wc.selectScan(1);
               wc.selectTimeOut(0);
               wc.selectPowerSave(1);
               wc.selectMonitor(1);
           })
        << lines({u"监听: 打开 → 关闭", u"省电功能: 有效 → 无效", u"发射限时: 60s → 关闭", u"扫描功能: 有效 → 无效",
                  u"语音报频: 中文 → 英文", u"信道 1 发射信令: D023N → D025I", u"信道 16 发射功率: 高 → （空）"});
    QTest::newRow("control characters shown replaced")
        << Edit([](WorkingCopy &wc) { wc.setCell(2, C::BusyLock, QStringLiteral("\x1b[2J")); })
        << lines({u"信道 2 繁忙锁定: 否 → \xfffd[2J"});
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

QTEST_GUILESS_MAIN(TestChannelDiff)
#include "tst_channeldiff.moc"
