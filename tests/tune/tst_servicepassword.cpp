#include <QTest>

#include "tune/ServicePassword.h"

using tune::LoginAttempts;
using Outcome = LoginAttempts::Outcome;
Q_DECLARE_METATYPE(QList<Outcome>)

class TestServicePassword : public QObject
{
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
    void eachOpeningStartsAfresh();
};

void TestServicePassword::entries_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QList<Outcome>>("outcomes");
    QTest::addColumn<bool>("succeeded");

    const Outcome A = Outcome::Accepted, T = Outcome::TryAgain, R = Outcome::Refused;
    const QString right = QStringLiteral("5820419");
    QTest::newRow("right at once") << QStringList{right} << QList<Outcome>{A} << true;
    QTest::newRow("empty entries count as tries")
        << QStringList{QString(), QString(), QString()} << QList<Outcome>{T, T, R} << false;
    QTest::newRow("blank before") << QStringList{QStringLiteral(" 5820419")} << QList<Outcome>{T} << false;
    QTest::newRow("blank after") << QStringList{QStringLiteral("5820419 ")} << QList<Outcome>{T} << false;
    QTest::newRow("leading zero is not the same number")
        << QStringList{QStringLiteral("05820419")} << QList<Outcome>{T} << false;
    QTest::newRow("full-width digits") << QStringList{QString::fromUtf16(u"５８２０４１９")} << QList<Outcome>{T}
                                       << false;
    QTest::newRow("prefix only") << QStringList{QStringLiteral("582041")} << QList<Outcome>{T} << false;
    QTest::newRow("right on the second try")
        << QStringList{QStringLiteral("1234567"), right} << QList<Outcome>{T, A} << true;
    QTest::newRow("right on the third try")
        << QStringList{QStringLiteral("1"), QString(), right} << QList<Outcome>{T, T, A} << true;
    QTest::newRow("three wrong") << QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}
                                 << QList<Outcome>{T, T, R} << false;
    QTest::newRow("right after the third wrong is still refused")
        << QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), right}
        << QList<Outcome>{T, T, R, R} << false;
}

void TestServicePassword::entries()
{
    QFETCH(QStringList, typed);
    QFETCH(QList<Outcome>, outcomes);
    QFETCH(bool, succeeded);

    LoginAttempts attempts;
    attempts.reset();
    QList<Outcome> got;
    for (const QString &entry : typed)
        got.append(attempts.check(entry));
    QCOMPARE(got, outcomes);
    QCOMPARE(attempts.succeeded(), succeeded);
    QVERIFY(attempts.attempt() >= 1 && attempts.attempt() <= LoginAttempts::MaxTries);
}

void TestServicePassword::eachOpeningStartsAfresh()
{
    LoginAttempts attempts;
    QCOMPARE(attempts.check(QStringLiteral("5820419")), Outcome::Accepted);
    attempts.reset();
    QVERIFY(!attempts.succeeded());
    QCOMPARE(attempts.attempt(), 1);
    for (int i = 0; i < 3; ++i)
        attempts.check(QStringLiteral("x"));
    QCOMPARE(attempts.check(QStringLiteral("x")), Outcome::Refused);
    attempts.reset();
    QCOMPARE(attempts.check(QStringLiteral("x")), Outcome::TryAgain);
    QCOMPARE(attempts.check(QStringLiteral("x")), Outcome::TryAgain);
    QCOMPARE(attempts.check(QStringLiteral("x")), Outcome::Refused);
}

QTEST_APPLESS_MAIN(TestServicePassword)
#include "tst_servicepassword.moc"
