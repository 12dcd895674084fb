#include "channels/EditHistory.h"
#include "channels/WorkingCopy.h"

#include <QTest>

// Whole-state steps: what changed between records is one step; a change nobody undoes
// (band strings from the settings file) survives undo and redo.
class TestEditHistory : public QObject
{
    Q_OBJECT
private slots:
    void stepsUndoAndRedo();
    void bandStringsSurviveUndo();
};

void TestEditHistory::stepsUndoAndRedo()
{
    WorkingCopy wc;
    wc.startUp(QString());
    EditHistory h(wc);
    const WorkingCopyState start = wc.state();
    QVERIFY(!h.record(QStringLiteral("nothing")));
    wc.setCell(2, 1, QStringLiteral("450.10000"));
    wc.setCell(2, 2, QStringLiteral("450.10000"));
    QVERIFY(h.record(QStringLiteral("typed")));
    const WorkingCopyState typed = wc.state();
    h.markSaved();
    QVERIFY(!h.isModified());
    // A step around a whole-state change holds only that change.
    wc.setCell(3, 6, QString::fromUtf16(u"窄"));
    QVERIFY(h.step(QStringLiteral("replace"), [&] { wc.setState(start); }));
    QCOMPARE(h.stack()->count(), 3);
    QVERIFY(h.isModified());
    h.undo();
    QCOMPARE(wc.cell(3, 6), QString::fromUtf16(u"窄"));
    h.undo();
    QCOMPARE(wc.state(), typed);
    QVERIFY(!h.isModified());
    h.undo();
    QCOMPARE(wc.state(), start);
    h.redo();
    QCOMPARE(wc.state(), typed);
    // An edit not yet recorded is kept by redo: it becomes the newest step.
    wc.setCell(9, 7, QString::fromUtf16(u"低"));
    h.redo();
    QCOMPARE(wc.cell(9, 7), QString::fromUtf16(u"低"));
    QVERIFY(!h.stack()->canRedo());
}

void TestEditHistory::bandStringsSurviveUndo()
{
    WorkingCopy wc;
    wc.startUp(QString());
    wc.selectModel(0);
    EditHistory h(wc);
    wc.setCell(4, 1, QStringLiteral("OFF"));
    h.record(QStringLiteral("edit"));
    wc.setBandStringByKey(1, QStringLiteral("400MHz---470MHz"));
    wc.activate();
    h.absorb();
    h.undo();
    QCOMPARE(wc.cell(4, 1), QString());
    QCOMPARE(wc.bandStringByKey(1), QStringLiteral("400MHz---470MHz"));
    QCOMPARE(wc.bandText(), QStringLiteral("400MHz---470MHz"));
}

QTEST_MAIN(TestEditHistory)
#include "tst_edithistory.moc"
