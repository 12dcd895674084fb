#include "channels/GridRules.h"
#include "channels/WorkingCopy.h"

#include <QTest>

using gridrules::LeaveOutcome;

Q_DECLARE_METATYPE(LeaveOutcome)

namespace {

QStringList utf8(std::initializer_list<const char *> texts)
{
    QStringList l;
    for (const char *t : texts)
        l << QString::fromUtf8(t);
    return l;
}

// Columns 1…7 of a channel that differs from the row fill in every column.
QStringList fullRow()
{
    return utf8({"450.10000", "460.00000", "67", "D023N", "是", "窄", "低"});
}

} // namespace

class TestGridRules : public QObject
{
    Q_OBJECT
private slots:
    void formatFrequency_data();
    void formatFrequency();
    void editorText_data();
    void editorText();
    void checkLeaveCell_data();
    void checkLeaveCell();
    void applyLeaveCell_data();
    void applyLeaveCell();
    void revisitResetsRow();
};

void TestGridRules::formatFrequency_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell");
    QTest::newRow("one decimal") << "450.1"
                                 << "450.10000";
    QTest::newRow("two digits") << "45"
                                << "045.00000";
    QTest::newRow("single digit") << "4"
                                  << "004.00000";
    QTest::newRow("trailing point") << "450."
                                    << "450.00000";
    QTest::newRow("leading point") << ".5"
                                   << "000.50000";
    QTest::newRow("leading zero") << "0450.1"
                                  << "450.10000";
    QTest::newRow("zero") << "0"
                          << "000.00000";
    QTest::newRow("five decimals") << "450.00625"
                                   << "450.00625";
    QTest::newRow("rounded down") << "450.123454"
                                  << "450.12345";
    QTest::newRow("rounded up") << "450.123455"
                                << "450.12346";
    QTest::newRow("carry into MHz") << "450.999995"
                                    << "451.00000";
    QTest::newRow("carry to four digits") << "999.999999"
                                          << "1000.00000";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("letter") << "450a"
                            << "";
    QTest::newRow("point alone") << "."
                                 << "";
    QTest::newRow("two points") << "450.1.2"
                                << "";
    QTest::newRow("sign") << "-450"
                          << "";
    QTest::newRow("exponent") << "4.5e2"
                              << "";
    QTest::newRow("blank") << " 450"
                           << "";
    QTest::newRow("grouping") << "1,450"
                              << "";
    QTest::newRow("fullwidth digit") << QString::fromUtf16(u"４５０") << "";
}

void TestGridRules::formatFrequency()
{
    QFETCH(QString, typed);
    QFETCH(QString, cell);
    QCOMPARE(gridrules::formatFrequency(typed), cell);
    QCOMPARE(gridrules::readsAsNumber(typed), !cell.isEmpty());
}

void TestGridRules::editorText_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("shown");
    QTest::newRow("leading zero dropped") << "045.00000"
                                          << "45.00000";
    QTest::newRow("three digits") << "450.10000"
                                  << "450.10000";
    QTest::newRow("below one MHz") << "000.50000"
                                   << ".50000";
    QTest::newRow("OFF") << "OFF"
                         << "OFF";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("hex digit from the radio") << "45A.00000"
                                              << "45A.00000";
}

void TestGridRules::editorText()
{
    QFETCH(QString, cell);
    QFETCH(QString, shown);
    QCOMPARE(gridrules::editorText(cell), shown);
    // What the editor shows writes the same cell back when typed over.
    if (gridrules::readsAsNumber(cell))
        QCOMPARE(gridrules::formatFrequency(shown), cell);
}

void TestGridRules::checkLeaveCell_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("band");
    QTest::addColumn<LeaveOutcome>("outcome");
    const QString band = QStringLiteral("400MHz---470MHz");
    QTest::newRow("empty receive") << 1 << "" << band << LeaveOutcome::SetOff;
    QTest::newRow("empty signalling") << 3 << "" << band << LeaveOutcome::SetOff;
    QTest::newRow("empty busy lock") << 5 << "" << band << LeaveOutcome::Keep;
    QTest::newRow("empty power, no band") << 7 << ""
                                          << "" << LeaveOutcome::Keep;
    QTest::newRow("signalling kept") << 4 << "D023N" << band << LeaveOutcome::Keep;
    QTest::newRow("choice kept") << 6 << QString::fromUtf16(u"窄") << band << LeaveOutcome::Keep;
    QTest::newRow("valid receive") << 1 << "450.10000" << band << LeaveOutcome::FillRow;
    QTest::newRow("valid transmit") << 2 << "450.10000" << band << LeaveOutcome::Accepted;
    QTest::newRow("above band") << 1 << "480.00000" << band << LeaveOutcome::OutOfRange;
    QTest::newRow("below band") << 2 << "399.99375" << band << LeaveOutcome::OutOfRange;
    QTest::newRow("whole MHz at the top") << 1 << "470.99375" << band << LeaveOutcome::FillRow;
    QTest::newRow("low limit") << 1 << "400.00000" << band << LeaveOutcome::FillRow;
    QTest::newRow("four-digit MHz") << 1 << "4500.00000" << band << LeaveOutcome::OutOfRange;
    QTest::newRow("2.5 kHz off") << 1 << "450.00250" << band << LeaveOutcome::OffStep;
    QTest::newRow("7.5 kHz off") << 2 << "450.00750" << band << LeaveOutcome::OffStep;
    QTest::newRow("6.25 kHz step") << 1 << "450.00625" << band << LeaveOutcome::FillRow;
    QTest::newRow("5 kHz step") << 1 << "450.00500" << band << LeaveOutcome::FillRow;
    QTest::newRow("12.5 kHz step") << 2 << "450.01250" << band << LeaveOutcome::Accepted;
    QTest::newRow("no band") << 1 << "450.10000"
                             << "" << LeaveOutcome::NoBand;
    QTest::newRow("two-digit band limit") << 1 << "450.10000"
                                          << "40MHz---470MHz" << LeaveOutcome::NoBand;
    QTest::newRow("band cut short") << 2 << "450.10000"
                                    << "400MHz---" << LeaveOutcome::NoBand;
    QTest::newRow("OFF in receive") << 1 << "OFF" << band << LeaveOutcome::SetOff;
    QTest::newRow("hex digit from the radio") << 2 << "45A.00000" << band << LeaveOutcome::SetOff;
}

void TestGridRules::checkLeaveCell()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, band);
    QFETCH(LeaveOutcome, outcome);
    QCOMPARE(gridrules::checkLeaveCell(column, text, band), outcome);
    const bool hasMessage = gridrules::isRefused(outcome);
    QCOMPARE(!gridrules::messageFor(outcome).isEmpty(), hasMessage);
}

void TestGridRules::applyLeaveCell_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<LeaveOutcome>("outcome");
    QTest::addColumn<QStringList>("row"); // columns 1…7 afterwards
    const QStringList before = fullRow();
    const QStringList filled = utf8({"450.10000", "450.10000", "OFF", "OFF", "否", "宽", "高"});
    // A refusal gives the cell its previous value back ("OFF" when it had none).
    QStringList refused = before;
    refused[0] = QStringLiteral("OFF");
    QStringList off = before;
    off[1] = QStringLiteral("OFF");
    QTest::newRow("fill") << 1 << LeaveOutcome::FillRow << filled;
    QTest::newRow("range refused") << 1 << LeaveOutcome::OutOfRange << refused;
    QTest::newRow("step refused") << 1 << LeaveOutcome::OffStep << refused;
    QTest::newRow("off") << 2 << LeaveOutcome::SetOff << off;
    QTest::newRow("transmit accepted") << 2 << LeaveOutcome::Accepted << before;
    QTest::newRow("kept") << 3 << LeaveOutcome::Keep << before;
}

void TestGridRules::applyLeaveCell()
{
    QFETCH(int, column);
    QFETCH(LeaveOutcome, outcome);
    QFETCH(QStringList, row);
    ChannelTable t;
    t.writeTitles();
    const QStringList before = fullRow();
    for (int c = 1; c <= 7; ++c) {
        t.setCell(5, c, before[c - 1]);
        t.setCell(6, c, before[c - 1]);
    }
    gridrules::applyLeaveCell(t, 5, column, outcome);
    for (int c = 1; c <= 7; ++c) {
        QCOMPARE(t.cell(5, c), row[c - 1]);
        QCOMPARE(t.cell(6, c), before[c - 1]); // other rows untouched
    }
    QCOMPARE(t.cell(5, 0), QStringLiteral("5"));
}

// Leaving an unchanged valid receive frequency still resets the rest of its row.
void TestGridRules::revisitResetsRow()
{
    WorkingCopy wc;
    wc.startUp(QString());
    wc.setBandStringByKey(1, QStringLiteral("400MHz---470MHz"));
    wc.activate();
    ChannelTable &t = *wc.channels();
    t.setCell(2, 1, QStringLiteral("430.02500"));
    t.setCell(2, 2, QStringLiteral("431.00000"));
    t.setCell(2, 3, QStringLiteral("D754I"));
    t.setCell(2, 7, QString::fromUtf16(u"中"));
    const auto outcome = gridrules::checkLeaveCell(1, t.cell(2, 1), wc.bandText());
    QCOMPARE(outcome, LeaveOutcome::FillRow);
    gridrules::applyLeaveCell(t, 2, 1, outcome);
    QCOMPARE(t.cell(2, 2), QStringLiteral("430.02500"));
    QCOMPARE(t.cell(2, 3), QStringLiteral("OFF"));
    QCOMPARE(t.cell(2, 7), QString::fromUtf16(u"高"));
}

QTEST_GUILESS_MAIN(TestGridRules)
#include "tst_gridrules.moc"
