#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "../../widgets/FakePrompter.h"
#include "channels/WorkingCopy.h"
#include "settings/SettingsFile.h"
#include "tune/ui/UpDown.h"
#include "tune/ui/TuneWindow.h"

namespace {

QString u16(const char16_t *s)
{
    return QString::fromUtf16(s);
}

const QString section = QStringLiteral("Frequent");

template<typename T>
T *child(const QWidget &w, const char *name)
{
    T *c = w.findChild<T *>(QLatin1String(name));
    if (!c)
        qWarning("no child %s", name);
    return c;
}

void clickNode(TuneWindow &w, const char *key)
{
    auto *tree = child<QTreeWidget>(w, "tremode");
    QTreeWidgetItem *item = w.node(QLatin1String(key));
    QVERIFY(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

void retype(QLineEdit *field, const QString &text)
{
    field->selectAll();
    field->del(); // an edit of its own: an empty field asks for a number
    QTest::keyClicks(field, text);
}

const char *frequencyControls[] = {"cboPCmodel(0)", "Label1",  "Text1",    "UpDown1",    "Label2",
                                   "Text2",         "UpDown2", "Label3",   "Option1(0)", "Option1(1)",
                                   "fraJT",         "Label4",  "optJT(0)", "optJT(1)"};
const char *powerControls[] = {"cboPCmodel(1)", "Label5", "freQuent", "Label6", "cboFrequent"};

} // namespace

class TestTuneWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void tree();
    void controls_data();
    void controls();
    void pages_data();
    void pages();
    void opensOnCurrentState_data();
    void opensOnCurrentState();
    void modelChangeFillsBand();
    void typedLimit_data();
    void typedLimit();
    void upDown_data();
    void upDown();
    void leaving_data();
    void leaving();
    void itemsNodeChangesNothing();
    void reopeningShowsOptions();
    void failedWriteIsReported();
    void closingUnshownWindowKeepsValues();

private:
    QTemporaryDir m_dir;
    QString m_ini;
    QByteArray m_iniText = "[Frequent]\r\nPL1=400MHz---470MHz\r\nPL2=136MHz---174MHz\r\n"
                           "PL6=300MHz---330MHz\r\n";
};

void TestTuneWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_ini = m_dir.filePath(QStringLiteral("Sfc.ini"));
}

void TestTuneWindow::init()
{
    QFile f(m_ini);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(m_iniText);
}

void TestTuneWindow::tree()
{
    WorkingCopy wc;
    wc.startUp(m_ini);
    TuneWindow w(wc);
    QCOMPARE(w.windowTitle(), u16(u"调整模式"));
    auto *tree = child<QTreeWidget>(w, "tremode");
    QCOMPARE(tree->topLevelItemCount(), 2);

    struct Node
    {
        const char *key;
        const char16_t *text;
        const char *tag;
        const char *parent;
    };
    const Node nodes[] = {{"node1", u"调整项", "", nullptr},
                          {"frequent", u"频率调整", "1", "node1"},
                          {"power", u"功率调整", "2", "node1"},
                          {"node2", u"退出调整", "3", nullptr}};
    int index = 0;
    for (const Node &n : nodes) {
        QTreeWidgetItem *item = w.node(QLatin1String(n.key));
        QVERIFY2(item, n.key);
        QCOMPARE(item->text(0), u16(n.text));
        QCOMPARE(item->data(0, TuneWindow::TagRole).toString(), QLatin1String(n.tag));
        if (n.parent) {
            QCOMPARE(item->parent(), w.node(QLatin1String(n.parent)));
            QCOMPARE(item->parent()->indexOfChild(item), index++);
        } else {
            QVERIFY(!item->parent());
        }
    }
    QCOMPARE(tree->indexOfTopLevelItem(w.node(QStringLiteral("node1"))), 0);
    QVERIFY(w.node(QStringLiteral("node1"))->isExpanded());
}

void TestTuneWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("texts"); // label text, or the rows of a list
    auto add = [](const char *name, QStringList texts) { QTest::newRow(name) << QString::fromLatin1(name) << texts; };
    const QStringList models{u16(u"MX--905B(1)"), u16(u"MX--905B(2)"), u16(u"MX--905B(3)"),
                             u16(u"MX--905B(4)"), u16(u"MX--905A(1)"), u16(u"MX--905A(2)")};
    add("lblRadiomodel", {u16(u"机型：")});
    add("Label1", {u16(u"高端频率(MHz)：")});
    add("Label2", {u16(u"低端频率(MHz)：")});
    add("Label3", {u16(u"中频：")});
    add("Label4", {u16(u"晶体：")});
    add("Label5", {u16(u"频率：")});
    add("Label6", {u16(u"功率调整：")});
    add("Option1(0)", {u16(u"正")});
    add("Option1(1)", {u16(u"负")});
    add("optJT(0)", {u16(u"13MHz ")});
    add("optJT(1)", {u16(u"14.4MHz")});
    add("cboPCmodel(0)", models);
    add("cboPCmodel(1)", models);
    add("cboFrequent",
        {QStringLiteral("-5"), QStringLiteral("-4"), QStringLiteral("-3"), QStringLiteral("-2"), QStringLiteral("-1"),
         QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
         QStringLiteral("5")});
}

void TestTuneWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QStringList, texts);
    WorkingCopy wc;
    wc.startUp(m_ini);
    TuneWindow w(wc);
    QWidget *c = w.findChild<QWidget *>(name);
    QVERIFY(c);
    if (auto *l = qobject_cast<QLabel *>(c)) {
        QCOMPARE(QStringList{l->text()}, texts);
    } else if (auto *b = qobject_cast<QAbstractButton *>(c)) {
        QCOMPARE(QStringList{b->text()}, texts);
        // The pair's group carries the pair's name: "optJT", "Option1".
        QVERIFY(b->group());
        QCOMPARE(b->group()->objectName() + QLatin1Char('(') + QString::number(b->group()->id(b)) + QLatin1Char(')'),
                 name);
    } else if (auto *box = qobject_cast<QComboBox *>(c)) {
        QStringList rows;
        for (int i = 0; i < box->count(); ++i)
            rows << box->itemText(i);
        QCOMPARE(rows, texts);
        // The power page's model list is shown only.
        QCOMPARE(box->isEnabled(), name != QLatin1String("cboPCmodel(1)"));
    } else {
        QFAIL("unexpected control type");
    }
}

void TestTuneWindow::pages_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("frequency");
    QTest::newRow("fresh window") << QStringList{} << true;
    QTest::newRow("power") << QStringList{QStringLiteral("power")} << false;
    QTest::newRow("power, frequency") << QStringList{QStringLiteral("power"), QStringLiteral("frequent")} << true;
    QTest::newRow("power, items node") << QStringList{QStringLiteral("power"), QStringLiteral("node1")} << false;
    QTest::newRow("items node") << QStringList{QStringLiteral("node1")} << true;
}

void TestTuneWindow::pages()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, frequency);
    WorkingCopy wc;
    wc.startUp(m_ini);
    TuneWindow w(wc);
    w.show();
    for (const QString &key : clicks)
        clickNode(w, key.toLatin1().constData());
    QVERIFY(w.isVisible());
    for (const char *name : frequencyControls)
        QVERIFY2(child<QWidget>(w, name)->isVisible() == frequency, name);
    for (const char *name : powerControls)
        QVERIFY2(child<QWidget>(w, name)->isVisible() == !frequency, name);
    QVERIFY(child<QWidget>(w, "lblRadiomodel")->isVisible());
    QVERIFY(child<QWidget>(w, "tremode")->isVisible());
}

void TestTuneWindow::opensOnCurrentState_data()
{
    QTest::addColumn<int>("modelRow");
    QTest::addColumn<int>("powerStep");
    QTest::addColumn<int>("crystal");
    QTest::addColumn<int>("sign");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::newRow("start-up") << 0 << 5 << 0 << 0 << QStringLiteral("400") << QStringLiteral("470");
    QTest::newRow("row 3 from pl6") << 3 << 5 << 0 << 0 << QStringLiteral("300") << QStringLiteral("330");
    QTest::newRow("row 4 without band, step 5, negative") << 4 << 10 << 0 << 1 << QString() << QString();
}

void TestTuneWindow::opensOnCurrentState()
{
    QFETCH(int, modelRow);
    QFETCH(int, powerStep);
    QFETCH(int, crystal);
    QFETCH(int, sign);
    QFETCH(QString, low);
    QFETCH(QString, high);

    FakePrompter prompter;
    WorkingCopy wc;
    wc.startUp(m_ini);
    // The window of an earlier opening must not leave its values behind.
    {
        TuneWindow first(wc);
        first.show();
        first.close();
    }
    wc.selectModel(modelRow);
    wc.setPowerStep(powerStep);
    wc.setCrystalChoice(crystal);
    wc.setSignChoice(sign);

    TuneWindow w(wc);
    w.show();
    QCOMPARE(child<QComboBox>(w, "cboPCmodel(0)")->currentIndex(), modelRow);
    QCOMPARE(child<QComboBox>(w, "cboPCmodel(1)")->currentIndex(), modelRow);
    QCOMPARE(child<QLineEdit>(w, "Text2")->text(), low);
    QCOMPARE(child<QLineEdit>(w, "Text1")->text(), high);
    QCOMPARE(child<QLineEdit>(w, "freQuent")->text(), wc.bandText());
    QCOMPARE(child<QComboBox>(w, "cboFrequent")->currentIndex(), powerStep);
    QVERIFY(child<QRadioButton>(w, crystal ? "optJT(1)" : "optJT(0)")->isChecked());
    QVERIFY(child<QRadioButton>(w, sign ? "Option1(1)" : "Option1(0)")->isChecked());
    QVERIFY(prompter.shown.isEmpty());
}

void TestTuneWindow::modelChangeFillsBand()
{
    FakePrompter prompter;
    WorkingCopy wc;
    wc.startUp(m_ini);
    TuneWindow w(wc);
    w.show();
    auto *model = child<QComboBox>(w, "cboPCmodel(0)");
    model->setCurrentIndex(3);
    QCOMPARE(child<QLineEdit>(w, "Text2")->text(), QStringLiteral("300"));
    QCOMPARE(child<QLineEdit>(w, "Text1")->text(), QStringLiteral("330"));
    // Another model's band is not the main window's band text, nor its model.
    QCOMPARE(child<QLineEdit>(w, "freQuent")->text(), QStringLiteral("400MHz---470MHz"));
    QCOMPARE(child<QComboBox>(w, "cboPCmodel(1)")->currentIndex(), 0);
    // A model without a band empties the fields without asking for a number.
    model->setCurrentIndex(5);
    QVERIFY(child<QLineEdit>(w, "Text2")->text().isEmpty());
    QVERIFY(prompter.shown.isEmpty());
    // The power page's list changes nothing.
    model->setCurrentIndex(1);
    child<QComboBox>(w, "cboPCmodel(1)")->setCurrentIndex(3);
    QCOMPARE(child<QLineEdit>(w, "Text2")->text(), QStringLiteral("136"));
}

void TestTuneWindow::typedLimit_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("messages");
    QTest::addColumn<bool>("set"); // put in with setText rather than typed
    QTest::newRow("set letters") << QStringLiteral("Text1") << QStringLiteral("abc") << QString() << 1 << true;
    QTest::newRow("set empty") << QStringLiteral("Text2") << QString() << QString() << 1 << true;
    QTest::newRow("set number") << QStringLiteral("Text2") << QStringLiteral("401") << QStringLiteral("401") << 0
                                << true;
    QTest::newRow("number") << QStringLiteral("Text2") << QStringLiteral("410") << QStringLiteral("410") << 1 << false;
    QTest::newRow("letter empties") << QStringLiteral("Text2") << QStringLiteral("4x") << QString() << 2 << false;
    QTest::newRow("letter then digits") << QStringLiteral("Text1") << QStringLiteral("x47") << QStringLiteral("47") << 2
                                        << false;
    QTest::newRow("minus") << QStringLiteral("Text1") << QStringLiteral("-") << QString() << 2 << false;
    QTest::newRow("point") << QStringLiteral("Text1") << QStringLiteral("4.") << QString() << 2 << false;
    QTest::newRow("at most three digits")
        << QStringLiteral("Text1") << QStringLiteral("4701") << QStringLiteral("470") << 1 << false;
}

void TestTuneWindow::typedLimit()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(int, messages);
    QFETCH(bool, set);

    FakePrompter prompter;
    WorkingCopy wc;
    wc.startUp(m_ini);
    TuneWindow w(wc);
    w.show();
    auto *f = w.findChild<QLineEdit *>(field);
    if (set)
        f->setText(typed);
    else
        retype(f, typed); // emptying the field first is one message
    QCOMPARE(f->text(), after);
    QCOMPARE(prompter.shown.size(), messages);
    for (const FakePrompter::Shown &s : prompter.shown) {
        QCOMPARE(s.text, u16(u"请输入数字"));
        QCOMPARE(s.icon, QMessageBox::NoIcon);
        QCOMPARE(s.title, u16(u"TARNIK编程软件"));
    }
}

void TestTuneWindow::upDown_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("after");
    QTest::newRow("up") << QStringLiteral("400") << 1 << QStringLiteral("401");
    QTest::newRow("down") << QStringLiteral("400") << -1 << QStringLiteral("399");
    QTest::newRow("top") << QStringLiteral("999") << 1 << QStringLiteral("999");
    QTest::newRow("bottom") << QStringLiteral("100") << -1 << QStringLiteral("100");
    QTest::newRow("empty starts at the bottom") << QString() << 1 << QStringLiteral("100");
    QTest::newRow("below the range") << QStringLiteral("50") << 1 << QStringLiteral("100");
    QTest::newRow("three up") << QStringLiteral("470") << 3 << QStringLiteral("473");
}

void TestTuneWindow::upDown()
{
    QFETCH(QString, start);
    QFETCH(int, steps);
    QFETCH(QString, after);

    FakePrompter prompter;
    WorkingCopy wc;
    wc.startUp(m_ini);
    TuneWindow w(wc);
    w.show();
    for (const char *name : {"UpDown1", "UpDown2"}) {
        auto *u = child<UpDown>(w, name);
        QCOMPARE(u->minimum(), 100);
        QCOMPARE(u->maximum(), 999);
        QCOMPARE(u->singleStep(), 1);
        auto *field = child<QLineEdit>(w, name[6] == '1' ? "Text1" : "Text2");
        field->setText(start);
        prompter.shown.clear(); // setting the empty text is an entry that is no number
        auto *button = u->findChild<QWidget *>(QLatin1String(steps > 0 ? "up" : "down"));
        for (int i = 0; i < qAbs(steps); ++i)
            QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(field->text(), after);
    }
    QVERIFY(prompter.shown.isEmpty());
}

void TestTuneWindow::leaving_data()
{
    QTest::addColumn<QString>("how"); // "exit", "close box", "escape"
    QTest::addColumn<int>("modelRow");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("band"); // band of modelRow afterwards
    QTest::addColumn<QString>("fileBand"); // its settings key afterwards
    QTest::addColumn<bool>("refused"); // said, and the window stays open

    const QString exit = QStringLiteral("exit");
    const QString closeBox = QStringLiteral("close box");
    const QString kept = QStringLiteral("400MHz---470MHz");
    QTest::newRow("exit row 3") << exit << 3 << QStringLiteral("310") << QStringLiteral("335")
                                << QStringLiteral("310MHz---335MHz") << QStringLiteral("310MHz---335MHz") << false;
    QTest::newRow("exit empty low") << exit << 0 << QString() << QStringLiteral("480") << kept << kept << true;
    QTest::newRow("exit low above high") << exit << 0 << QStringLiteral("470") << QStringLiteral("400") << kept << kept
                                         << true;
    QTest::newRow("close box, two-digit limit")
        << closeBox << 0 << QStringLiteral("40") << QStringLiteral("470") << kept << kept << true;
    // The close box and Esc keep the band as "退出调整" does, settings file included.
    QTest::newRow("close box") << closeBox << 0 << QStringLiteral("410") << QStringLiteral("480")
                               << QStringLiteral("410MHz---480MHz") << QStringLiteral("410MHz---480MHz") << false;
    QTest::newRow("escape") << QStringLiteral("escape") << 3 << QStringLiteral("310") << QStringLiteral("335")
                            << QStringLiteral("310MHz---335MHz") << QStringLiteral("310MHz---335MHz") << false;
}

void TestTuneWindow::leaving()
{
    QFETCH(QString, how);
    QFETCH(int, modelRow);
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, band);
    QFETCH(QString, fileBand);
    QFETCH(bool, refused);

    FakePrompter prompter;
    WorkingCopy wc;
    wc.startUp(m_ini);
    wc.selectModel(modelRow);
    TuneWindow w(wc);
    w.setSettingsPath(m_ini);
    w.show();
    retype(child<QLineEdit>(w, "Text2"), low);
    retype(child<QLineEdit>(w, "Text1"), high);
    QTest::mouseClick(child<QRadioButton>(w, "optJT(1)"), Qt::LeftButton);
    QTest::mouseClick(child<QRadioButton>(w, "Option1(1)"), Qt::LeftButton);
    clickNode(w, "power");
    child<QComboBox>(w, "cboFrequent")->setCurrentIndex(7);
    clickNode(w, "frequent");

    prompter.shown.clear();
    if (how == QLatin1String("exit"))
        clickNode(w, "node2");
    else if (how == QLatin1String("escape"))
        QTest::keyClick(&w, Qt::Key_Escape);
    else
        w.close();

    const QString key = modelRow == 3 ? QStringLiteral("PL6") : QStringLiteral("PL1");
    QCOMPARE(wc.bandStringForModelRow(modelRow), band);
    QCOMPARE(ReadSetting(section, key, m_ini), fileBand);
    QCOMPARE(w.isVisible(), refused);
    QCOMPARE(prompter.shown.size(), refused ? 1 : 0);
    if (refused)
        return;
    QCOMPARE(w.result(), int(how == QLatin1String("exit") ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(wc.crystalCode(), QStringLiteral("1"));
    QCOMPARE(wc.ifSignCode(), QStringLiteral("1"));
    QCOMPARE(wc.powerStep(), 7);
    // The band label follows at the main window's activation.
    wc.activate();
    QCOMPARE(wc.bandText(), band);
}

void TestTuneWindow::itemsNodeChangesNothing()
{
    FakePrompter prompter;
    WorkingCopy wc;
    wc.startUp(m_ini);
    TuneWindow w(wc);
    w.setSettingsPath(m_ini);
    w.show();
    retype(child<QLineEdit>(w, "Text2"), QStringLiteral("123"));
    QTest::mouseClick(child<QRadioButton>(w, "optJT(1)"), Qt::LeftButton);
    const QByteArray before = m_iniText;
    clickNode(w, "node1");
    QVERIFY(w.isVisible());
    QCOMPARE(w.page(), TuneWindow::Page::Frequency);
    QCOMPARE(wc.bandStringByKey(1), QStringLiteral("400MHz---470MHz"));
    QCOMPARE(wc.crystalCode(), QStringLiteral("0"));
    QCOMPARE(wc.crystalChoice(), 0);
    QFile f(m_ini);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    QCOMPARE(child<QLineEdit>(w, "Text2")->text(), QStringLiteral("123"));
}

void TestTuneWindow::reopeningShowsOptions()
{
    FakePrompter prompter;
    WorkingCopy wc;
    wc.startUp(m_ini);
    TuneWindow w(wc);
    w.setSettingsPath(m_ini);
    w.show();
    QTest::mouseClick(child<QRadioButton>(w, "optJT(1)"), Qt::LeftButton);
    QTest::mouseClick(child<QRadioButton>(w, "Option1(1)"), Qt::LeftButton);
    clickNode(w, "node2");
    QCOMPARE(wc.crystalCode(), QStringLiteral("1"));
    QCOMPARE(wc.ifSignCode(), QStringLiteral("1"));

    // The same window shown again, and a new one, both show the stored options.
    wc.setPowerStep(2);
    w.show();
    QVERIFY(w.isVisible());
    QVERIFY(child<QRadioButton>(w, "optJT(1)")->isChecked());
    QVERIFY(child<QRadioButton>(w, "Option1(1)")->isChecked());
    QCOMPARE(child<QComboBox>(w, "cboFrequent")->currentIndex(), 2);
    w.close();
    QVERIFY(!w.isVisible());
    TuneWindow again(wc);
    QVERIFY(child<QRadioButton>(again, "optJT(1)")->isChecked());
    QVERIFY(child<QRadioButton>(again, "Option1(1)")->isChecked());
}

void TestTuneWindow::failedWriteIsReported()
{
    FakePrompter prompter;
    WorkingCopy wc;
    wc.startUp(m_ini);
    TuneWindow w(wc);
    // A folder cannot be made below an ordinary file.
    const QString bad = m_ini + QStringLiteral("/sub/Sfc.ini");
    w.setSettingsPath(bad);
    w.show();
    retype(child<QLineEdit>(w, "Text1"), QStringLiteral("480"));
    prompter.shown.clear();
    clickNode(w, "node2");
    QVERIFY(!w.isVisible());
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown[0].icon, QMessageBox::Critical);
    QVERIFY(prompter.shown[0].text.contains(bad));
    QCOMPARE(wc.bandStringByKey(1), QStringLiteral("400MHz---480MHz"));
}

// close() on a window that was never shown ends it like the close box, and so like
// "退出调整": the values hold, the band goes into the settings file too.
void TestTuneWindow::closingUnshownWindowKeepsValues()
{
    FakePrompter prompter;
    WorkingCopy wc;
    wc.startUp(m_ini);
    TuneWindow w(wc);
    w.setSettingsPath(m_ini);
    child<QLineEdit>(w, "Text1")->setText(QStringLiteral("480"));
    child<QRadioButton>(w, "optJT(1)")->setChecked(true);
    child<QComboBox>(w, "cboFrequent")->setCurrentIndex(0);
    w.close();
    QCOMPARE(wc.bandStringByKey(1), QStringLiteral("400MHz---480MHz"));
    QCOMPARE(wc.crystalCode(), QStringLiteral("1"));
    QCOMPARE(wc.powerStep(), 0);
    QCOMPARE(ReadSetting(section, QStringLiteral("PL1"), m_ini), QStringLiteral("400MHz---480MHz"));
    QVERIFY(prompter.shown.isEmpty());
}

QTEST_MAIN(TestTuneWindow)
#include "tst_tunewindow.moc"
