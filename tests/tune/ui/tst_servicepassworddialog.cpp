#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTreeWidget>

#include "../../widgets/FakePrompter.h"
#include "channels/WorkingCopy.h"
#include "tune/ui/TuneMode.h"
#include "tune/ui/ServicePasswordDialog.h"
#include "tune/ui/TuneWindow.h"

namespace {

const QString password = QStringLiteral("5820419");
const QString wrongMessage = QString::fromUtf16(u"密码不正确，请重新输入");

// How one opening of the password dialog ends.
enum class Ending { Right, Cancel, CloseBox, ThreeWrong };

void type(ServicePasswordDialog &d, const QString &text)
{
    auto *field = d.findChild<QLineEdit *>(QStringLiteral("txtPassword"));
    // Whatever is selected is replaced, as the user's next typing would.
    if (field->hasSelectedText())
        field->del();
    QTest::keyClicks(field, text);
}

void clickOK(ServicePasswordDialog &d)
{
    QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
}

void end(ServicePasswordDialog &d, Ending how)
{
    switch (how) {
    case Ending::Right:
        type(d, password);
        clickOK(d);
        break;
    case Ending::Cancel:
        QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
        break;
    case Ending::CloseBox:
        d.close();
        break;
    case Ending::ThreeWrong:
        for (int i = 0; i < 3; ++i) {
            type(d, QStringLiteral("0000000"));
            clickOK(d);
        }
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Ending)

class TestServicePasswordDialog : public QObject
{
    Q_OBJECT
private slots:
    void controls();
    void tries_data();
    void tries();
    void wrongEntryIsSelectedForRetyping();
    void nextOpeningHasFreshTries();
    void laterOpeningWithoutPassword_data();
    void laterOpeningWithoutPassword();
    void commandOpensTuneWindow_data();
    void commandOpensTuneWindow();
};

void TestServicePasswordDialog::controls()
{
    ServicePasswordDialog d;
    QCOMPARE(d.windowTitle(), QString::fromUtf16(u"请输入进入调整模式的密码"));
    QVERIFY(d.isModal());
    auto *field = d.findChild<QLineEdit *>(QStringLiteral("txtPassword"));
    QVERIFY(field);
    QCOMPARE(field->echoMode(), QLineEdit::Password);
    QCOMPARE(field->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, field), int('*'));
    QCOMPARE(d.findChild<QPushButton *>(QStringLiteral("cmdOK"))->text(), QString::fromUtf16(u"确定"));
    QCOMPARE(d.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->text(), QString::fromUtf16(u"取消"));
    QVERIFY(!d.findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().isNull());
    d.show();
    QVERIFY(field->text().isEmpty());
    QVERIFY(!d.loginSucceeded());
}

void TestServicePasswordDialog::tries_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("messages");
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("succeeded");

    QTest::newRow("right") << QStringList{password} << 0 << false << true;
    QTest::newRow("empty counts as a try") << QStringList{QString()} << 1 << true << false;
    QTest::newRow("right on the third try")
        << QStringList{QString(), QStringLiteral("12"), password} << 2 << false << true;
    QTest::newRow("three wrong close the dialog")
        << QStringList{QString(), QStringLiteral("12"), QStringLiteral("5820418")} << 3 << false << false;
}

void TestServicePasswordDialog::tries()
{
    QFETCH(QStringList, typed);
    QFETCH(int, messages);
    QFETCH(bool, open);
    QFETCH(bool, succeeded);

    FakePrompter prompter;
    ServicePasswordDialog d;
    d.show();
    for (const QString &t : typed) {
        type(d, t);
        clickOK(d);
    }
    QCOMPARE(prompter.shown.size(), messages);
    for (const FakePrompter::Shown &s : prompter.shown) {
        QCOMPARE(s.icon, QMessageBox::Critical);
        QCOMPARE(s.title, QString::fromUtf16(u"错误"));
        QCOMPARE(s.text, wrongMessage);
    }
    QCOMPARE(d.isVisible(), open);
    QCOMPARE(d.loginSucceeded(), succeeded);
    if (!open)
        QCOMPARE(d.result(), int(succeeded ? QDialog::Accepted : QDialog::Rejected));
}

void TestServicePasswordDialog::wrongEntryIsSelectedForRetyping()
{
    FakePrompter prompter;
    ServicePasswordDialog d;
    d.show();
    auto *field = d.findChild<QLineEdit *>(QStringLiteral("txtPassword"));
    type(d, QStringLiteral("58204"));
    clickOK(d);
    QCOMPARE(field->selectedText(), QStringLiteral("58204"));
    QCOMPARE(d.attempt(), 2);
    // Typing now replaces the wrong entry.
    type(d, password);
    QCOMPARE(field->text(), password);
    clickOK(d);
    QVERIFY(d.loginSucceeded());
}

void TestServicePasswordDialog::nextOpeningHasFreshTries()
{
    FakePrompter prompter;
    ServicePasswordDialog d;
    d.show();
    end(d, Ending::ThreeWrong);
    QVERIFY(!d.isVisible());
    QCOMPARE(prompter.shown.size(), 3);

    d.show();
    QCOMPARE(d.attempt(), 1);
    QVERIFY(d.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->text().isEmpty());
    type(d, QStringLiteral("1"));
    clickOK(d);
    type(d, QStringLiteral("2"));
    clickOK(d);
    QVERIFY(d.isVisible());
    type(d, password);
    clickOK(d);
    QVERIFY(d.loginSucceeded());
    QCOMPARE(prompter.shown.size(), 5);
}

void TestServicePasswordDialog::laterOpeningWithoutPassword_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::newRow("Cancel") << Ending::Cancel;
    QTest::newRow("close box") << Ending::CloseBox;
    QTest::newRow("three wrong") << Ending::ThreeWrong;
    QTest::newRow("Cancel, not shown again") << Ending::Cancel;
}

void TestServicePasswordDialog::laterOpeningWithoutPassword()
{
    QFETCH(Ending, ending);
    FakePrompter prompter;
    ServicePasswordDialog d;
    d.show();
    end(d, Ending::Right);
    QVERIFY(d.loginSucceeded());
    if (!QByteArray(QTest::currentDataTag()).endsWith("not shown again")) {
        d.show();
        QVERIFY(!d.loginSucceeded());
    }
    end(d, ending);
    QVERIFY(!d.isVisible());
    QVERIFY(!d.loginSucceeded());
}

void TestServicePasswordDialog::commandOpensTuneWindow_data()
{
    QTest::addColumn<QList<Ending>>("openings");
    QTest::addColumn<QList<bool>>("tuneShown");

    using E = Ending;
    QTest::newRow("right") << QList<E>{E::Right} << QList<bool>{true};
    QTest::newRow("Cancel") << QList<E>{E::Cancel} << QList<bool>{false};
    QTest::newRow("three wrong, then right") << QList<E>{E::ThreeWrong, E::Right} << QList<bool>{false, true};
    QTest::newRow("right, then Cancel") << QList<E>{E::Right, E::Cancel} << QList<bool>{true, false};
    QTest::newRow("right, then close box") << QList<E>{E::Right, E::CloseBox} << QList<bool>{true, false};
    QTest::newRow("right, then three wrong") << QList<E>{E::Right, E::ThreeWrong} << QList<bool>{true, false};
}

void TestServicePasswordDialog::commandOpensTuneWindow()
{
    QFETCH(QList<Ending>, openings);
    QFETCH(QList<bool>, tuneShown);

    FakePrompter prompter;
    WorkingCopy wc;
    wc.startUp(QString());
    QWidget main;

    for (int i = 0; i < openings.size(); ++i) {
        bool shown = false;
        setModalRunner([&](QDialog &d) {
            d.setResult(0);
            d.show();
            if (auto *login = qobject_cast<ServicePasswordDialog *>(&d)) {
                end(*login, openings[i]);
            } else if (auto *tune = qobject_cast<TuneWindow *>(&d)) {
                shown = true;
                tune->close();
            }
            return d.result();
        });
        QCOMPARE(tuneModeCommand(&main, wc), tuneShown[i]);
        QCOMPARE(shown, tuneShown[i]);
    }
    setModalRunner(nullptr);
}

QTEST_MAIN(TestServicePasswordDialog)
#include "tst_servicepassworddialog.moc"
