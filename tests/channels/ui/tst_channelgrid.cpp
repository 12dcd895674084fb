#include "channels/EditHistory.h"
#include "channels/GridEdits.h"
#include "channels/Tables.h"
#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/ui/GridActions.h"
#include "../../widgets/FakePrompter.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Band = QStringLiteral("400MHz---470MHz");
const QString Range = QString::fromUtf16(u"请在正确的频率范围输入");
const QString Step = QString::fromUtf16(u"输入的频率需为6.25K或5K的整数");
const QString NoBand = QString::fromUtf16(u"当前机型没有设定频段，请在调整模式中设定频段");

QStringList utf8(std::initializer_list<const char *> texts)
{
    QStringList l;
    for (const char *t : texts)
        l << QString::fromUtf8(t);
    return l;
}

QStringList rowOf(const WorkingCopy &wc, int row)
{
    QStringList cells;
    for (int c = 1; c < ChannelTable::Columns; ++c)
        cells << wc.cell(row, c);
    return cells;
}

} // namespace

class TestChannelGrid : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void typeThenEnter_data();
    void typeThenEnter();
    void notANumberIsRemoved_data();
    void notANumberIsRemoved();
    void editorTextSetFollowsCell_data();
    void editorTextSetFollowsCell();
    void shownEditorMovedDownItsColumn_data();
    void shownEditorMovedDownItsColumn();
    void emptyCellBecomesOffWhenLeft_data();
    void emptyCellBecomesOffWhenLeft();
    void revisitKeepsRow();
    void rewrittenCurrentCellIsNotChecked_data();
    void rewrittenCurrentCellIsNotChecked();
    void editorShowsCellWithoutLeadingZeros();
    void listEditors_data();
    void listEditors();
    void onlyOneEditorAtATime();
    void keyboardMoves_data();
    void keyboardMoves();
    void arrowKeyRunsLeaveCheck();
    void digitOpensEditor();
    void keysAtGridReachShownEditor();
    void keyboardMoveTakesListAway();
    void enterOrF2OpensEditor_data();
    void enterOrF2OpensEditor();
    void editorKeys();
    void mouseOnFixedCellDoesNothing();
    void mouseClickPlacesEditor();
    void rowFill_data();
    void rowFill();
    void paste_data();
    void paste();
    void copyGivesTabSeparatedText();
    void bulkListChoice();
    void fillByStep();
    void typingOnListCellSearchesIt();
    void pasteGoesWhereSelected_data();
    void pasteGoesWhereSelected();
    void rowMenuActsOnClickedChannel_data();
    void rowMenuActsOnClickedChannel();
    void stepIsCheckedAsTyped_data();
    void stepIsCheckedAsTyped();

private:
    void typeInto(int row, int column, const QString &text);
    // A click on channel row's number (Shift extends the selection, Right for the menu).
    void clickNumber(int row, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(m_grid->viewport(), button, modifiers,
                          m_grid->visualRect(m_wc->channels()->index(row, 0)).center());
    }
    QLineEdit *textEditor(int column) const { return column == 1 ? m_grid->rxFreqEditor() : m_grid->txFreqEditor(); }

    std::unique_ptr<FakePrompter> m_prompter;
    std::unique_ptr<WorkingCopy> m_wc;
    std::unique_ptr<ChannelGrid> m_grid;
};

void TestChannelGrid::init()
{
    m_prompter = std::make_unique<FakePrompter>();
    m_wc = std::make_unique<WorkingCopy>();
    m_wc->startUp(QString());
    m_wc->setBandStringByKey(1, Band);
    m_wc->activate();
    m_grid = std::make_unique<ChannelGrid>(*m_wc);
    m_grid->resize(800, 600);
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
}

void TestChannelGrid::cleanup()
{
    m_grid.reset();
    m_wc.reset();
    m_prompter.reset();
}

void TestChannelGrid::typeInto(int row, int column, const QString &text)
{
    m_grid->clickCell(row, column);
    QTest::keyClicks(textEditor(column), text);
}

// Columns: the band, the column typed into, the text, the cell while typing, the
// message after Enter, row 3 after Enter, and the cell after it has been left.
void TestChannelGrid::typeThenEnter_data()
{
    QTest::addColumn<QString>("band");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("whileTyping");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("afterEnter");
    QTest::addColumn<QString>("afterLeave");
    const QStringList filled = utf8({"450.10000", "450.10000", "OFF", "OFF", "否", "宽", "高"});
    QStringList transmitOnly(7);
    transmitOnly[1] = QStringLiteral("450.10000");
    QStringList stepFilled = filled;
    stepFilled[0] = stepFilled[1] = QStringLiteral("450.00625");
    QStringList off(7);
    off[0] = QStringLiteral("OFF");

    QTest::newRow("450.1 fills the row") << Band << 1 << "450.1"
                                         << "450.10000"
                                         << "" << filled << "450.10000";
    QTest::newRow("transmit fills nothing") << Band << 2 << "450.1"
                                            << "450.10000"
                                            << "" << transmitOnly << "450.10000";
    // A refused entry gives the cell its previous value back: "OFF" for a cell that was empty.
    QTest::newRow("480 out of range") << Band << 1 << "480"
                                      << "480.00000" << Range << off << "OFF";
    QTest::newRow("450.0025 off step") << Band << 1 << "450.0025"
                                       << "450.00250" << Step << off << "OFF";
    QTest::newRow("450.00625 accepted") << Band << 1 << "450.00625"
                                        << "450.00625"
                                        << "" << stepFilled << "450.00625";
    QTest::newRow("4500 is not 450") << Band << 1 << "4500"
                                     << "4500.00000" << Range << off << "OFF";
    QTest::newRow("no band: refused, and said why") << "" << 1 << "450.1"
                                                    << "450.10000" << NoBand << off << "OFF";
}

void TestChannelGrid::typeThenEnter()
{
    QFETCH(QString, band);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, whileTyping);
    QFETCH(QString, message);
    QFETCH(QStringList, afterEnter);
    QFETCH(QString, afterLeave);
    m_wc->setBandStringByKey(1, band);
    m_wc->activate();

    typeInto(3, column, typed);
    QCOMPARE(m_wc->cell(3, column), whileTyping);
    QVERIFY(m_prompter->shown.isEmpty());

    QTest::keyClick(textEditor(column), Qt::Key_Return);
    QVERIFY(textEditor(column)->isHidden());
    QCOMPARE(rowOf(*m_wc, 3), afterEnter);
    if (message.isEmpty()) {
        QVERIFY(m_prompter->shown.isEmpty());
    } else {
        QCOMPARE(m_prompter->shown.size(), 1);
        QCOMPARE(m_prompter->shown[0].text, message);
        QCOMPARE(m_prompter->shown[0].title, QString::fromUtf16(u"提示"));
        QCOMPARE(m_prompter->shown[0].icon, QMessageBox::Information);
        QVERIFY(textEditor(column)->text().isEmpty());
    }

    m_grid->clickCell(5, 4);
    QCOMPARE(m_wc->cell(3, column), afterLeave);
    QCOMPARE(m_wc->cell(3, 0), QStringLiteral("3"));
}

void TestChannelGrid::notANumberIsRemoved_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("cell");
    // A key that makes no frequency is refused alone; what was typed before stays.
    QTest::newRow("letter after digits") << "450a"
                                         << "450"
                                         << "450.00000";
    QTest::newRow("letter alone") << "x"
                                  << ""
                                  << "";
    QTest::newRow("second point") << "45.1."
                                  << "45.1"
                                  << "045.10000";
    QTest::newRow("typing on after the letter") << "45a4"
                                                << "454"
                                                << "454.00000";
    QTest::newRow("minus sign") << "-4"
                                << "4"
                                << "004.00000";
}

void TestChannelGrid::notANumberIsRemoved()
{
    QFETCH(QString, typed);
    QFETCH(QString, editor);
    QFETCH(QString, cell);
    typeInto(2, 1, typed);
    QCOMPARE(m_grid->rxFreqEditor()->text(), editor);
    QCOMPARE(m_wc->cell(2, 1), cell);
    QVERIFY(m_prompter->shown.isEmpty());
}

// The cell follows the editor's text however it changes, not only key by key; a
// hidden editor writes nothing.
void TestChannelGrid::editorTextSetFollowsCell_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("cell");
    QTest::newRow("receive 450.1") << 1 << true << "450.1"
                                   << "450.1"
                                   << "450.10000";
    QTest::newRow("transmit 45") << 2 << true << "45"
                                 << "45"
                                 << "045.00000";
    QTest::newRow("letters") << 1 << true << "abc"
                             << ""
                             << "";
    QTest::newRow("hidden editor") << 1 << false << "450.1"
                                   << "450.1"
                                   << "433.00000";
}

void TestChannelGrid::editorTextSetFollowsCell()
{
    QFETCH(int, column);
    QFETCH(bool, shown);
    QFETCH(QString, text);
    QFETCH(QString, editor);
    QFETCH(QString, cell);
    m_wc->setCell(3, column, QStringLiteral("433.00000"));
    m_grid->clickCell(3, column);
    if (!shown)
        m_grid->hideEditors();
    textEditor(column)->setText(text);
    QCOMPARE(textEditor(column)->text(), editor);
    QCOMPARE(m_wc->cell(3, column), cell);
}

// A shown editor laid over the next cell of its column writes that cell back in the
// grid's format: an "OFF" cell is empty until it is left. A failed check of the cell
// left empties that cell only.
void TestChannelGrid::shownEditorMovedDownItsColumn_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("left"); // the cell typed into, once left
    QTest::addColumn<QString>("nextShown"); // the next cell with the editor over it
    QTest::addColumn<int>("messages");
    QTest::newRow("OFF below") << "450.1"
                               << "OFF"
                               << "450.10000"
                               << "" << 0;
    QTest::newRow("frequency below") << "450.1"
                                     << "430.02500"
                                     << "450.10000"
                                     << "430.02500" << 0;
    QTest::newRow("out of range over a frequency") << "480"
                                                   << "450.10000"
                                                   << "OFF"
                                                   << "450.10000" << 1;
    // The failed check hid the editor, so laying it over the next cell writes nothing.
    QTest::newRow("off step over OFF") << "450.0025"
                                       << "OFF"
                                       << "OFF"
                                       << "OFF" << 1;
}

void TestChannelGrid::shownEditorMovedDownItsColumn()
{
    QFETCH(QString, typed);
    QFETCH(QString, next);
    QFETCH(QString, left);
    QFETCH(QString, nextShown);
    QFETCH(int, messages);
    m_wc->setCell(9, 1, next);
    typeInto(8, 1, typed);
    m_grid->clickCell(9, 1);
    QCOMPARE(m_wc->cell(8, 1), left);
    QCOMPARE(m_wc->cell(9, 1), nextShown);
    QCOMPARE(m_prompter->shown.size(), messages);
    QVERIFY(!m_grid->rxFreqEditor()->isHidden());
    m_grid->clickCell(9, 3);
    QCOMPARE(m_wc->cell(9, 1), next);
}

// Frequency and signalling cells become "OFF"; busy lock, bandwidth and power stay empty.
void TestChannelGrid::emptyCellBecomesOffWhenLeft_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("left");
    for (int c = 1; c < ChannelTable::Columns; ++c)
        QTest::addRow("column %d", c) << c << (c <= 4 ? QStringLiteral("OFF") : QString());
}

void TestChannelGrid::emptyCellBecomesOffWhenLeft()
{
    QFETCH(int, column);
    QFETCH(QString, left);
    m_grid->clickCell(6, column);
    QVERIFY(m_wc->cell(6, column).isEmpty());
    m_grid->clickCell(7, column);
    QCOMPARE(m_wc->cell(6, column), left);
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestChannelGrid::revisitKeepsRow()
{
    const QStringList custom = utf8({"430.02500", "431.00000", "D754I", "67", "是", "窄", "低"});
    for (int c = 1; c < ChannelTable::Columns; ++c)
        m_wc->setCell(5, c, custom[c - 1]);
    m_grid->clickCell(5, 1);
    QCOMPARE(rowOf(*m_wc, 5), custom); // placing the editor changes nothing
    m_grid->clickCell(8, 2);
    QCOMPARE(rowOf(*m_wc, 5), custom);
}

// A file load rewrites channel 1 while its receive cell is still current from start-up:
// the first click elsewhere must not run the row fill over the loaded channel.
void TestChannelGrid::rewrittenCurrentCellIsNotChecked_data()
{
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("visitedAfterLoad");
    QTest::addColumn<QStringList>("row1");
    const QStringList loaded = utf8({"450.10000", "450.10000", "67", "D023N", "是", "窄", "低"});
    QTest::newRow("loaded, not visited") << false << false << loaded;
    QTest::newRow("visited after loading") << false << true << loaded;
    // A model change empties the grid: the empty cell left still becomes "OFF".
    QStringList offOnly(7);
    offOnly[0] = QStringLiteral("OFF");
    QTest::newRow("cleared by a model change") << true << false << offOnly;
}

void TestChannelGrid::rewrittenCurrentCellIsNotChecked()
{
    QFETCH(bool, cleared);
    QFETCH(bool, visitedAfterLoad);
    QFETCH(QStringList, row1);
    QCOMPARE(m_grid->currentIndex(), m_wc->channels()->index(1, 1));
    const QStringList loaded = utf8({"450.10000", "450.10000", "67", "D023N", "是", "窄", "低"});
    for (int c = 1; c < ChannelTable::Columns; ++c)
        m_wc->setCell(1, c, loaded[c - 1]);
    if (cleared)
        m_wc->selectModel(4);
    if (visitedAfterLoad)
        m_grid->clickCell(1, 1);
    m_grid->clickCell(3, 3);
    QCOMPARE(rowOf(*m_wc, 1), row1);
}

void TestChannelGrid::editorShowsCellWithoutLeadingZeros()
{
    m_wc->setCell(4, 2, QStringLiteral("045.00000"));
    m_grid->clickCell(4, 2);
    QLineEdit *e = m_grid->txFreqEditor();
    QVERIFY(e->isVisible());
    QCOMPARE(e->text(), QStringLiteral("45.00000"));
    QCOMPARE(e->selectedText(), e->text());
    QCOMPARE(e->geometry(), m_grid->visualRect(m_wc->channels()->index(4, 2)));
    QCOMPARE(m_wc->cell(4, 2), QStringLiteral("045.00000"));
}

void TestChannelGrid::listEditors_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("editorName");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("choice");
    QTest::newRow("receive signalling") << 3 << "cmbCKTX(2)" << 261 << "D023N";
    QTest::newRow("transmit signalling") << 4 << "cmbCKTX(2)" << 261 << "254.1";
    QTest::newRow("busy lock") << 5 << "cmbCKTX(1)" << 2 << QString::fromUtf16(u"是");
    QTest::newRow("bandwidth") << 6 << "cmbCKTX(1)" << 2 << QString::fromUtf16(u"窄");
    QTest::newRow("power") << 7 << "cmbCKTX(1)" << 3 << QString::fromUtf16(u"中");
}

void TestChannelGrid::listEditors()
{
    QFETCH(int, column);
    QFETCH(QString, editorName);
    QFETCH(int, count);
    QFETCH(QString, choice);
    m_grid->clickCell(9, column);
    QVERIFY(m_wc->cell(9, column).isEmpty()); // laying the list over the cell writes nothing
    auto *list = m_grid->findChild<QComboBox *>(editorName);
    QVERIFY(list);
    QVERIFY(list->isVisible());
    QCOMPARE(list->count(), count);
    if (count == tables::LookupSize) {
        for (int i = 0; i < count; ++i)
            QCOMPARE(list->itemText(i), tables::signallingList()[i]);
    }
    const int i = list->findText(choice);
    QVERIFY(i >= 0);
    list->setCurrentIndex(i);
    QCOMPARE(m_wc->cell(9, column), choice);
    QVERIFY(list->isVisible()); // until another click
    // Another entry of the same shown list.
    const int other = i == 0 ? 1 : 0;
    list->setCurrentIndex(other);
    QCOMPARE(m_wc->cell(9, column), list->itemText(other));
    list->setCurrentIndex(i);
    // The chosen entry stays when the cell is left.
    m_grid->clickCell(10, 1);
    QCOMPARE(m_wc->cell(9, column), choice);
}

void TestChannelGrid::onlyOneEditorAtATime()
{
    const int columns[] = {1, 3, 2, 5, 4, 7, 1};
    for (int c : columns) {
        m_grid->clickCell(2, c);
        int visible = 0;
        for (QWidget *e :
             {static_cast<QWidget *>(m_grid->rxFreqEditor()), static_cast<QWidget *>(m_grid->txFreqEditor()),
              static_cast<QWidget *>(m_grid->signallingEditor()), static_cast<QWidget *>(m_grid->choiceEditor())})
            visible += e->isVisible() ? 1 : 0;
        QCOMPARE(visible, 1);
    }
    m_grid->hideEditors();
    QVERIFY(!m_grid->anyEditorVisible());
}

void TestChannelGrid::keyboardMoves_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<int>("toColumn");
    QTest::newRow("down") << 3 << 2 << int(Qt::Key_Down) << 4 << 2;
    QTest::newRow("right") << 3 << 2 << int(Qt::Key_Right) << 3 << 3;
    QTest::newRow("up stops at channel 1") << 1 << 4 << int(Qt::Key_Up) << 1 << 4;
    QTest::newRow("left stops at receive") << 6 << 1 << int(Qt::Key_Left) << 6 << 1;
    QTest::newRow("home stays off the numbers") << 6 << 5 << int(Qt::Key_Home) << 6 << 1;
    QTest::newRow("tab to next row") << 2 << 7 << int(Qt::Key_Tab) << 3 << 1;
    QTest::newRow("backtab to previous row") << 3 << 1 << int(Qt::Key_Backtab) << 2 << 7;
    QTest::newRow("tab wraps to channel 1") << 16 << 7 << int(Qt::Key_Tab) << 1 << 1;
    QTest::newRow("down stops at channel 16") << 16 << 3 << int(Qt::Key_Down) << 16 << 3;
}

void TestChannelGrid::keyboardMoves()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, key);
    QFETCH(int, toRow);
    QFETCH(int, toColumn);
    m_grid->setCurrentIndex(m_wc->channels()->index(row, column));
    m_grid->setFocus();
    QTest::keyClick(m_grid.get(), Qt::Key(key));
    QCOMPARE(m_grid->currentIndex().row(), toRow);
    QCOMPARE(m_grid->currentIndex().column(), toColumn);
}

// An arrow key passing an unchanged cell checks nothing; after typing it checks, and a
// refused entry gets the previous value back.
void TestChannelGrid::arrowKeyRunsLeaveCheck()
{
    m_wc->setCell(4, 1, QStringLiteral("480.00000"));
    m_grid->setCurrentIndex(m_wc->channels()->index(4, 1));
    m_grid->setFocus();
    QTest::keyClick(m_grid.get(), Qt::Key_Down);
    QVERIFY(m_prompter->shown.isEmpty());
    QCOMPARE(m_wc->cell(4, 1), QStringLiteral("480.00000"));
    QTest::keyClick(m_grid.get(), Qt::Key_Up);
    QTest::keyClicks(m_grid.get(), QStringLiteral("475"));
    QTest::keyClick(m_grid->rxFreqEditor(), Qt::Key_Down);
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->shown[0].text, Range);
    QCOMPARE(m_wc->cell(4, 1), QStringLiteral("480.00000"));
}

void TestChannelGrid::digitOpensEditor()
{
    m_wc->setCell(7, 2, QStringLiteral("450.10000"));
    m_grid->setCurrentIndex(m_wc->channels()->index(7, 2));
    m_grid->setFocus();
    QTest::keyClick(m_grid.get(), Qt::Key_4);
    QLineEdit *e = m_grid->txFreqEditor();
    QVERIFY(e->isVisible());
    QCOMPARE(e->text(), QStringLiteral("4"));
    QCOMPARE(m_wc->cell(7, 2), QStringLiteral("004.00000"));
    QTest::keyClicks(e, QStringLiteral("60.5"));
    QCOMPARE(m_wc->cell(7, 2), QStringLiteral("460.50000"));
}

// The grid holds the keyboard while the editor is shown over the current cell (a
// click on a fixed cell took the focus): digits and Enter still act in the editor.
void TestChannelGrid::keysAtGridReachShownEditor()
{
    m_grid->setCurrentIndex(m_wc->channels()->index(3, 1));
    m_grid->setFocus();
    QTest::keyClicks(m_grid.get(), QStringLiteral("450.1"));
    QCOMPARE(m_grid->rxFreqEditor()->text(), QStringLiteral("450.1"));
    QCOMPARE(m_wc->cell(3, 1), QStringLiteral("450.10000"));
    QTest::keyClick(m_grid.get(), Qt::Key_Return);
    QVERIFY(m_grid->rxFreqEditor()->isHidden());
    QCOMPARE(rowOf(*m_wc, 3), utf8({"450.10000", "450.10000", "OFF", "OFF", "否", "宽", "高"}));
    // With the editor hidden, Enter opens it again.
    QTest::keyClick(m_grid.get(), Qt::Key_Return);
    QVERIFY(!m_grid->rxFreqEditor()->isHidden());
}

// A list chosen from stays over its cell; once the keyboard moves the current cell
// away it goes, so no later choice lands in a cell it does not cover.
void TestChannelGrid::keyboardMoveTakesListAway()
{
    m_grid->clickCell(3, 3);
    QComboBox *list = m_grid->signallingEditor();
    list->setCurrentIndex(2);
    QCOMPARE(m_wc->cell(3, 3), list->itemText(2));
    QVERIFY(!list->isHidden());
    QTest::keyClick(list, Qt::Key_Right);
    QCOMPARE(m_grid->currentIndex(), m_wc->channels()->index(3, 4));
    QVERIFY(list->isHidden());
    list->setCurrentIndex(5);
    QVERIFY(m_wc->cell(3, 4).isEmpty());
    QCOMPARE(m_wc->cell(3, 3), list->itemText(2));
}

void TestChannelGrid::enterOrF2OpensEditor_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("editorName");
    QTest::newRow("enter on receive") << 1 << int(Qt::Key_Return) << "txtTxFreq";
    QTest::newRow("F2 on transmit") << 2 << int(Qt::Key_F2) << "txtRecFreq";
    QTest::newRow("F2 on busy lock") << 5 << int(Qt::Key_F2) << "cmbCKTX(1)";
}

void TestChannelGrid::enterOrF2OpensEditor()
{
    QFETCH(int, column);
    QFETCH(int, key);
    QFETCH(QString, editorName);
    m_grid->setCurrentIndex(m_wc->channels()->index(11, column));
    m_grid->setFocus();
    QTest::keyClick(m_grid.get(), Qt::Key(key));
    auto *editor = m_grid->findChild<QWidget *>(editorName);
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->geometry().topLeft(), m_grid->visualRect(m_wc->channels()->index(11, column)).topLeft());
    if (auto *list = qobject_cast<QComboBox *>(editor))
        list->hidePopup();
}

// Escape closes the editor, keeping what was typed; Tab closes it and moves on,
// checking the cell it leaves.
void TestChannelGrid::editorKeys()
{
    typeInto(2, 1, QStringLiteral("455"));
    QTest::keyClick(m_grid->rxFreqEditor(), Qt::Key_Escape);
    QVERIFY(m_grid->rxFreqEditor()->isHidden());
    QCOMPARE(m_wc->cell(2, 1), QStringLiteral("455.00000"));
    QCOMPARE(m_wc->cell(2, 2), QString());

    typeInto(2, 1, QStringLiteral("456"));
    QTest::keyClick(m_grid->rxFreqEditor(), Qt::Key_Tab);
    QVERIFY(m_grid->rxFreqEditor()->isHidden());
    QCOMPARE(m_grid->currentIndex().column(), 2);
    QCOMPARE(m_wc->cell(2, 2), QStringLiteral("456.00000")); // the row fill ran
}

void TestChannelGrid::mouseOnFixedCellDoesNothing()
{
    m_grid->clickCell(5, 3);
    const QModelIndex before = m_grid->currentIndex();
    for (const QModelIndex &fixed : {m_wc->channels()->index(0, 3), m_wc->channels()->index(5, 0)}) {
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, m_grid->visualRect(fixed).center());
        QCOMPARE(m_grid->currentIndex(), before);
    }
    QCOMPARE(m_wc->cell(0, 3), QString::fromUtf16(u"接收信令"));
    QCOMPARE(m_wc->cell(5, 0), QStringLiteral("5"));
}

void TestChannelGrid::mouseClickPlacesEditor()
{
    m_wc->setCell(12, 1, QStringLiteral("480.00000"));
    m_grid->clickCell(12, 1);
    const QModelIndex target = m_wc->channels()->index(13, 2);
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, m_grid->visualRect(target).center());
    QCOMPARE(m_grid->currentIndex(), target);
    QVERIFY(m_grid->txFreqEditor()->isVisible());
    QVERIFY(m_grid->rxFreqEditor()->isHidden());
    // (12,1) was passed through unchanged: nothing to say, nothing changed.
    QVERIFY(m_prompter->shown.isEmpty());
    QCOMPARE(m_wc->cell(12, 1), QStringLiteral("480.00000"));
}

// Columns: the channel before, what is typed into its receive cell ("" types nothing),
// the key that leaves it, the band, the channel afterwards and the message shown.
void TestChannelGrid::rowFill_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("leave");
    QTest::addColumn<QString>("band");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("message");
    const QStringList narrow = utf8({"450.10000", "450.10000", "D023N", "D023N", "是", "窄", "中"});
    const QStringList split = utf8({"430.02500", "435.00000", "67", "OFF", "否", "窄", "低"});
    QStringList offRow = utf8({"OFF", "OFF", "OFF", "OFF", "", "", ""});
    const QStringList defaults = utf8({"450.10000", "450.10000", "OFF", "OFF", "否", "宽", "高"});
    const int keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Tab, Qt::Key_Return, Qt::Key_Escape, -1};
    for (int key : keys)
        QTest::addRow("visited, left by %d: unchanged", key) << narrow << "" << key << Band << narrow << "";
    QTest::newRow("same value typed again") << narrow << "450.1" << int(Qt::Key_Tab) << Band << narrow << "";
    QTest::newRow("empty channel: full fill")
        << QStringList(7) << "450.1" << int(Qt::Key_Tab) << Band << defaults << "";
    QTest::newRow("OFF channel: full fill") << offRow << "450.1" << int(Qt::Key_Down) << Band << defaults << "";
    QTest::newRow("simplex stays simplex")
        << narrow << "451" << int(Qt::Key_Return) << Band
        << utf8({"451.00000", "451.00000", "D023N", "D023N", "是", "窄", "中"}) << "";
    QTest::newRow("split keeps its transmit") << split << "431" << int(Qt::Key_Tab) << Band
                                              << utf8({"431.00000", "435.00000", "67", "OFF", "否", "窄", "低"}) << "";
    QTest::newRow("out of range keeps the old value") << narrow << "480" << int(Qt::Key_Tab) << Band << narrow << Range;
    QTest::newRow("off step keeps the old value")
        << narrow << "450.003" << int(Qt::Key_Return) << Band << narrow << Step;
    QTest::newRow("no band keeps the old value") << narrow << "451" << int(Qt::Key_Down) << "" << narrow << NoBand;
}

void TestChannelGrid::rowFill()
{
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QFETCH(int, leave);
    QFETCH(QString, band);
    QFETCH(QStringList, after);
    QFETCH(QString, message);
    m_wc->setBandStringByKey(1, band);
    m_wc->activate();
    for (int c = 1; c < ChannelTable::Columns; ++c)
        m_wc->setCell(2, c, before[c - 1]);
    m_grid->clickCell(2, 1);
    QTest::keyClicks(m_grid->rxFreqEditor(), typed);
    if (leave < 0)
        m_grid->clickCell(9, 5);
    else
        QTest::keyClick(m_grid->rxFreqEditor(), Qt::Key(leave));
    if (leave == Qt::Key_Escape || leave == Qt::Key_Return)
        m_grid->clickCell(9, 5);
    QCOMPARE(rowOf(*m_wc, 2), after);
    QCOMPARE(m_prompter->shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(m_prompter->shown[0].text, message);
}

// Columns: the cell pasted at, the text, the rows 3 and 4 afterwards, refusals listed.
void TestChannelGrid::paste_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("row3");
    QTest::addColumn<QStringList>("row4");
    QTest::addColumn<int>("refused");
    const QStringList off = utf8({"OFF", "OFF", "OFF", "OFF", "", "", ""});
    const QStringList a = utf8({"450.10000", "451.00000", "D023N", "67", "是", "窄", "中"});
    const QStringList b = utf8({"440.00000", "440.00000", "OFF", "OFF", "否", "宽", "低"});
    QTest::newRow("two rows from this program") << 1 << a.join(u'\t') + u'\n' + b.join(u'\t') + u'\n' << a << b << 0;
    QTest::newRow("spreadsheet: CRLF, short numbers, blanks")
        << 1 << QString::fromUtf8("450.1\t451\tD023N\t67\t是\t窄\t中\r\n 440 \t440\t\tOFF\t否\t宽\t低\r\n") << a
        << utf8({"440.00000", "440.00000", "OFF", "OFF", "否", "宽", "低"}) << 0;
    QTest::newRow("refused values listed, the rest applied")
        << 1 << QString::fromUtf8("480\t451\tX99\t67\t也许\t窄\t中\n")
        << utf8({"OFF", "451.00000", "OFF", "67", "", "窄", "中"}) << off << 3;
    QTest::newRow("from the middle, cut at the last column")
        << 6 << QString::fromUtf8("窄\t低\t多余\n宽\n") << utf8({"OFF", "OFF", "OFF", "OFF", "", "窄", "低"})
        << utf8({"OFF", "OFF", "OFF", "OFF", "", "宽", ""}) << 0;
}

void TestChannelGrid::paste()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QStringList, row3);
    QFETCH(QStringList, row4);
    QFETCH(int, refused);
    EditHistory history(*m_wc);
    m_grid->setHistory(&history);
    for (int r : {3, 4})
        gridedits::clearChannel(*m_wc->channels(), r);
    m_grid->clickCell(3, column);
    history.absorb();
    const WorkingCopyState before = m_wc->state();
    m_grid->actions()->pasteText(text);
    QCOMPARE(rowOf(*m_wc, 3), row3);
    QCOMPARE(rowOf(*m_wc, 4), row4);
    if (refused == 0) {
        QVERIFY(m_prompter->shown.isEmpty());
    } else {
        QCOMPARE(m_prompter->shown.size(), 1);
        QCOMPARE(m_prompter->shown[0].text.count(u'\n'), refused);
    }
    // One step, undone whole.
    history.undo();
    QCOMPARE(m_wc->state(), before);
}

void TestChannelGrid::copyGivesTabSeparatedText()
{
    const QStringList a = utf8({"450.10000", "451.00000", "D023N", "67", "是", "窄", "中"});
    for (int c = 1; c < ChannelTable::Columns; ++c)
        m_wc->setCell(5, c, a[c - 1]);
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                      m_grid->visualRect(m_wc->channels()->index(5, 0)).center());
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      m_grid->visualRect(m_wc->channels()->index(6, 0)).center());
    QCOMPARE(m_grid->selectedRows(), (QList<int>{5, 6}));
    m_grid->actions()->copy();
    const QString text = QGuiApplication::clipboard()->text();
    QCOMPARE(text, a.join(u'\t') + u'\n' + QStringList(7).join(u'\t') + u'\n');
    // Pasted back one channel lower, the copied channel comes back whole.
    m_grid->clickCell(8, 1);
    m_grid->actions()->pasteText(text.section(u'\n', 0, 0));
    QCOMPARE(rowOf(*m_wc, 8), a);
}

void TestChannelGrid::bulkListChoice()
{
    EditHistory history(*m_wc);
    m_grid->setHistory(&history);
    history.absorb();
    m_grid->setCurrentIndex(m_wc->channels()->index(2, 6));
    m_grid->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(m_grid.get(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(m_grid->selectedRows(6), (QList<int>{2, 3, 4, 5}));
    QTest::keyClick(m_grid.get(), Qt::Key_F2);
    QComboBox *list = m_grid->choiceEditor();
    list->hidePopup();
    list->setCurrentIndex(list->findText(QString::fromUtf16(u"窄")));
    for (int r = 2; r <= 5; ++r)
        QCOMPARE(m_wc->cell(r, 6), QString::fromUtf16(u"窄"));
    QCOMPARE(m_wc->cell(6, 6), QString());
    history.undo();
    for (int r = 2; r <= 5; ++r)
        QCOMPARE(m_wc->cell(r, 6), QString());
}

void TestChannelGrid::fillByStep()
{
    m_wc->setCell(3, 1, QStringLiteral("469.97500"));
    m_wc->setCell(3, 2, QStringLiteral("469.97500"));
    m_grid->clickCell(3, 1);
    m_grid->selectionModel()->select(QItemSelection(m_wc->channels()->index(3, 1), m_wc->channels()->index(6, 1)),
                                     QItemSelectionModel::ClearAndSelect);
    m_prompter->numberAnswers << 500;
    m_grid->actions()->fillByStep();
    QCOMPARE(m_wc->cell(4, 1), QStringLiteral("470.47500"));
    QCOMPARE(m_wc->cell(5, 2), QStringLiteral("470.97500"));
    QCOMPARE(m_wc->cell(5, 6), QString::fromUtf16(u"宽"));
    // 471.475 is out of the band: refused, listed, the channel left as it was.
    QVERIFY(m_wc->cell(6, 1).isEmpty() || m_wc->cell(6, 1) == QStringLiteral("OFF"));
    QCOMPARE(m_prompter->shown.size(), 1);
    QVERIFY(m_prompter->shown[0].text.contains(Range));
}

// A key on a list cell opens the list searching for it; the table stays on its row.
void TestChannelGrid::typingOnListCellSearchesIt()
{
    m_grid->setCurrentIndex(m_wc->channels()->index(4, 3));
    m_grid->setFocus();
    QTest::keyClick(m_grid.get(), Qt::Key_D, Qt::ShiftModifier);
    QCOMPARE(m_grid->currentIndex(), m_wc->channels()->index(4, 3));
    QVERIFY(m_grid->signallingEditor()->isVisible());
    QVERIFY(m_wc->cell(4, 3).startsWith(u'D'));
    QTest::keyClick(m_grid->signallingEditor(), Qt::Key_Return);
    QVERIFY(m_grid->signallingEditor()->isHidden());
    QVERIFY(m_wc->cell(4, 3).startsWith(u'D'));
}

namespace {

const QStringList ChannelA = utf8({"450.10000", "451.00000", "D023N", "67", "是", "窄", "中"});
const QStringList ChannelB = utf8({"440.00000", "440.00000", "OFF", "OFF", "否", "宽", "高"});
const QStringList Cleared = utf8({"OFF", "OFF", "OFF", "OFF", "", "", ""});

} // namespace

// Columns: the channels whose numbers are clicked for Ctrl+C (none: `text` is pasted, as
// from a spreadsheet), the channels whose numbers are clicked to paste into (first, last),
// whether 粘贴 comes from the menu of a right click on the first, and the rows then.
// Channel 3 holds A, channel 4 B, the others are cleared; the current cell is (1, 3).
void TestChannelGrid::pasteGoesWhereSelected_data()
{
    QTest::addColumn<QList<int>>("copied");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("target");
    QTest::addColumn<bool>("viaMenu");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<QStringList>>("expected");
    const QString none;
    QTest::newRow("one channel to one") << QList<int>{3} << none << QList<int>{7, 7} << false << QList<int>{1, 6, 7, 8}
                                        << QList<QStringList>{Cleared, Cleared, ChannelA, Cleared};
    QTest::newRow("right click, 粘贴") << QList<int>{3} << none << QList<int>{8, 8} << true << QList<int>{1, 7, 8}
                                       << QList<QStringList>{Cleared, Cleared, ChannelA};
    QTest::newRow("one channel into three")
        << QList<int>{3} << none << QList<int>{7, 9} << false << QList<int>{7, 8, 9, 10}
        << QList<QStringList>{ChannelA, ChannelA, ChannelA, Cleared};
    QTest::newRow("two channels into two") << QList<int>{3, 4} << none << QList<int>{10, 11} << false
                                           << QList<int>{10, 11, 12} << QList<QStringList>{ChannelA, ChannelB, Cleared};
    QTest::newRow("two channels into three: as many as copied")
        << QList<int>{3, 4} << none << QList<int>{10, 12} << false << QList<int>{10, 11, 12}
        << QList<QStringList>{ChannelA, ChannelB, Cleared};
    QTest::newRow("two channels into one: from it on") << QList<int>{3, 4} << none << QList<int>{15, 15} << false
                                                       << QList<int>{15, 16} << QList<QStringList>{ChannelA, ChannelB};
    QTest::newRow("whole channel onto a cell: its row from the start")
        << QList<int>{3} << none << QList<int>{} << false << QList<int>{1} << QList<QStringList>{ChannelA};
    QTest::newRow("spreadsheet values into a channel")
        << QList<int>{} << u"450.2\t450.2\r\n"_s << QList<int>{6, 6} << false << QList<int>{1, 6}
        << QList<QStringList>{Cleared, utf8({"450.20000", "450.20000", "OFF", "OFF", "否", "宽", "高"})};
    QTest::newRow("spreadsheet line into three channels")
        << QList<int>{} << u"440\t440\tOFF\tOFF\t否\t宽\t高"_s << QList<int>{5, 7} << false << QList<int>{5, 6, 7, 8}
        << QList<QStringList>{ChannelB, ChannelB, ChannelB, Cleared};
}

void TestChannelGrid::pasteGoesWhereSelected()
{
    QFETCH(QList<int>, copied);
    QFETCH(QString, text);
    QFETCH(QList<int>, target);
    QFETCH(bool, viaMenu);
    QFETCH(QList<int>, rows);
    QFETCH(QList<QStringList>, expected);
    for (int r = 1; r <= 16; ++r)
        gridedits::clearChannel(*m_wc->channels(), r);
    for (int c = 1; c < ChannelTable::Columns; ++c) {
        m_wc->setCell(3, c, ChannelA[c - 1]);
        m_wc->setCell(4, c, ChannelB[c - 1]);
    }
    m_grid->clickCell(1, 3);
    if (!copied.isEmpty()) {
        clickNumber(copied.first());
        clickNumber(copied.last(), Qt::ShiftModifier);
        QTest::keyClick(m_grid.get(), Qt::Key_C, Qt::ControlModifier);
    } else {
        QGuiApplication::clipboard()->setText(text);
    }
    if (target.isEmpty()) {
        m_grid->clickCell(1, 3);
        QTest::keyClick(m_grid.get(), Qt::Key_V, Qt::ControlModifier);
    } else if (viaMenu) {
        clickNumber(target.first(), {}, Qt::RightButton);
        std::unique_ptr<QMenu> menu(m_grid->actions()->makeMenu(m_grid.get()));
        menu->findChild<QAction *>(QStringLiteral("mnuGridPaste"))->trigger();
    } else {
        clickNumber(target.first());
        clickNumber(target.last(), Qt::ShiftModifier);
        QTest::keyClick(m_grid.get(), Qt::Key_V, Qt::ControlModifier);
    }
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(rowOf(*m_wc, rows[i]), expected[i]);
    QVERIFY(m_prompter->shown.isEmpty());
}

// A right click on a channel number makes the menu's 清除信道 and 复制到下一信道 act on
// that channel, not on the current cell's (1, 2).
void TestChannelGrid::rowMenuActsOnClickedChannel_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QList<QStringList>>("rows3to5");
    QTest::newRow("清除信道") << u"mnuGridClear"_s << QList<QStringList>{Cleared, Cleared, ChannelB};
    QTest::newRow("复制到下一信道") << u"mnuGridCopyNext"_s << QList<QStringList>{ChannelA, ChannelA, ChannelB};
}

void TestChannelGrid::rowMenuActsOnClickedChannel()
{
    QFETCH(QString, action);
    QFETCH(QList<QStringList>, rows3to5);
    for (int c = 1; c < ChannelTable::Columns; ++c) {
        for (int r : {1, 2, 5})
            m_wc->setCell(r, c, ChannelB[c - 1]);
        m_wc->setCell(3, c, ChannelA[c - 1]);
    }
    gridedits::clearChannel(*m_wc->channels(), 4);
    m_grid->clickCell(1, 2);
    clickNumber(3, {}, Qt::RightButton);
    std::unique_ptr<QMenu> menu(m_grid->actions()->makeMenu(m_grid.get()));
    menu->findChild<QAction *>(action)->trigger();
    QCOMPARE(rowOf(*m_wc, 1), ChannelB);
    QCOMPARE(rowOf(*m_wc, 2), ChannelB);
    for (int r = 3; r <= 5; ++r)
        QCOMPARE(rowOf(*m_wc, r), rows3to5[r - 3]);
}

// Columns: the steps typed one after another (the dialog is cancelled after the last),
// how many are refused, and channel 4's receive frequency afterwards.
void TestChannelGrid::stepIsCheckedAsTyped_data()
{
    QTest::addColumn<QList<double>>("typed");
    QTest::addColumn<int>("refusals");
    QTest::addColumn<QString>("channel4");
    QTest::newRow("12.5") << QList<double>{12.5} << 0 << u"450.11250"_s;
    QTest::newRow("-6.25") << QList<double>{-6.25} << 0 << u"450.09375"_s;
    QTest::newRow("5") << QList<double>{5} << 0 << u"450.10500"_s;
    QTest::newRow("7 refused, then cancelled") << QList<double>{7} << 1 << u"OFF"_s;
    QTest::newRow("12.3 and 1 refused, then 10") << QList<double>{12.3, 1, 10} << 2 << u"450.11000"_s;
}

void TestChannelGrid::stepIsCheckedAsTyped()
{
    QFETCH(QList<double>, typed);
    QFETCH(int, refusals);
    QFETCH(QString, channel4);
    for (int r = 3; r <= 5; ++r)
        gridedits::clearChannel(*m_wc->channels(), r);
    m_wc->setCell(3, 1, QStringLiteral("450.10000"));
    m_wc->setCell(3, 2, QStringLiteral("450.10000"));
    clickNumber(3);
    clickNumber(5, Qt::ShiftModifier);
    m_prompter->numberAnswers = typed;
    m_grid->actions()->fillByStep();
    QCOMPARE(m_wc->cell(4, 1), channel4);
    QCOMPARE(m_prompter->shown.size(), refusals);
    for (const auto &box : std::as_const(m_prompter->shown))
        QVERIFY2(box.text.endsWith(u"需为6.25K或5K的整数倍"_s), qPrintable(box.text));
}

QTEST_MAIN(TestChannelGrid)
#include "tst_channelgrid.moc"
