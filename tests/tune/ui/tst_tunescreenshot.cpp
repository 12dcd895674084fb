// Lays out both tune-mode windows as a user sees them, checks that no text is cut
// and no control sticks out of its window, and, when TARNIK_SCREENSHOT names a file,
// saves a picture of the password dialog and both pages of the tune window there:
//   cd build && TARNIK_SCREENSHOT=$PWD/../docs/screenshot-tune.png xvfb-run -a bin/tst_tunescreenshot

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "channels/WorkingCopy.h"
#include "tune/ui/ServicePasswordDialog.h"
#include "tune/ui/TuneWindow.h"

namespace {

// Every visible label and button shows its whole text and lies inside the window.
void checkLayout(QWidget &window)
{
    const QRect inside = window.rect();
    for (QWidget *w : window.findChildren<QWidget *>()) {
        if (!w->isVisible() || w->isWindow())
            continue;
        const QRect r(w->mapTo(&window, QPoint(0, 0)), w->size());
        QVERIFY2(inside.contains(r), qPrintable(w->objectName() + QStringLiteral(" sticks out")));
        const auto *label = qobject_cast<QLabel *>(w);
        const auto *button = qobject_cast<QAbstractButton *>(w);
        const bool hasText = (label && !label->text().isEmpty()) || (button && !button->text().isEmpty());
        if (hasText) {
            QVERIFY2(w->width() >= w->minimumSizeHint().width(),
                     qPrintable(w->objectName() + QStringLiteral(" is cut")));
        }
    }
    for (const char *field : {"Text1", "Text2", "freQuent"}) {
        auto *f = window.findChild<QLineEdit *>(QLatin1String(field));
        if (f && f->isVisible()) {
            const int need = f->fontMetrics().horizontalAdvance(f->text());
            QVERIFY2(f->contentsRect().width() >= need, field);
        }
    }
}

// The window with a plain title bar above it, since a grab holds only the client area.
QImage framed(QWidget &window)
{
    const QPixmap client = window.grab();
    const qreal dpr = client.devicePixelRatio();
    const QSize size = client.size() / dpr;
    const int bar = 26;
    QImage img(QSize(size.width() + 2, size.height() + bar + 1) * dpr, QImage::Format_ARGB32);
    img.setDevicePixelRatio(dpr);
    img.fill(QColor(0x3a, 0x5f, 0x9e));
    QPainter p(&img);
    p.setPen(Qt::white);
    QFont f = window.font();
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(8, 0, size.width() - 8, bar), Qt::AlignVCenter | Qt::AlignLeft, window.windowTitle());
    p.drawPixmap(1, bar, client);
    return img;
}

} // namespace

class TestTuneScreenshot : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void windows();

private:
    QTemporaryDir m_dir;
};

void TestTuneScreenshot::initTestCase()
{
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(10);
    QApplication::setFont(font);
    QVERIFY(m_dir.isValid());
}

void TestTuneScreenshot::windows()
{
    const QString ini = m_dir.filePath(QStringLiteral("Sfc.ini"));
    QFile f(ini);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Frequent]\r\nPL1=400MHz---470MHz\r\nPL6=350MHz---390MHz\r\n");
    f.close();
    WorkingCopy wc;
    wc.startUp(ini);
    wc.selectModel(3);
    wc.setPowerStep(6);
    wc.setCrystalChoice(1);

    ServicePasswordDialog login;
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
    QTest::keyClicks(login.findChild<QLineEdit *>(QStringLiteral("txtPassword")), QStringLiteral("5820"));
    checkLayout(login);

    TuneWindow tune(wc);
    tune.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tune));
    checkLayout(tune);
    const QImage frequency = framed(tune);
    tune.showPage(TuneWindow::Page::Power);
    checkLayout(tune);
    const QImage power = framed(tune);
    const QImage password = framed(login);

    const QString out = qEnvironmentVariable("TARNIK_SCREENSHOT");
    if (out.isEmpty())
        return;
    const int gap = 16;
    const qreal dpr = frequency.devicePixelRatio();
    const QSize a = frequency.size() / dpr, b = power.size() / dpr, c = password.size() / dpr;
    QImage sheet(
        QSize(gap + a.width() + gap + b.width() + gap, gap + qMax(a.height(), b.height()) + gap + c.height() + gap)
            * dpr,
        QImage::Format_ARGB32);
    sheet.setDevicePixelRatio(dpr);
    sheet.fill(QColor(0xe8, 0xe8, 0xe8));
    QPainter p(&sheet);
    p.drawImage(gap, gap, frequency);
    p.drawImage(gap + a.width() + gap, gap, power);
    p.drawImage(gap, gap + qMax(a.height(), b.height()) + gap, password);
    p.end();
    QVERIFY2(sheet.save(out), qPrintable(out));
}

QTEST_MAIN(TestTuneScreenshot)
#include "tst_tunescreenshot.moc"
