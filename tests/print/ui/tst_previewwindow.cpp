#include "channels/WorkingCopy.h"
#include "print/PageScript.h"
#include "print/Report.h"
#include "print/ui/PrintCommand.h"
#include "print/ui/PreviewWindow.h"

#include "../../widgets/FakePrompter.h"
#include "../PdfProbe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The status bar's panels, left to right.
QString statusText(const PreviewWindow &w)
{
    QList<QLabel *> labels = w.statusLine->findChildren<QLabel *>();
    std::sort(labels.begin(), labels.end(), [&](QLabel *a, QLabel *b) {
        return a->mapTo(w.statusLine, QPoint()).x() < b->mapTo(w.statusLine, QPoint()).x();
    });
    QStringList parts;
    for (const QLabel *l : labels)
        parts << l->text();
    return parts.join(u' ');
}

int px(const QWidget &w, double twips)
{
    return int(std::lround(twips * w.logicalDpiY() / 1440));
}

} // namespace

class TestPreviewWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName(u"tarnik-test"_s);
    }

    void init()
    {
        m_dir.reset(new QTemporaryDir);
        PageScript script(m_dir->path());
        WorkingCopy wc;
        wc.startUp(QString());
        wc.setBandStringForModelRow(0, u"400MHz---470MHz"_s);
        wc.selectModel(0);
        wc.setCell(1, 1, u"450.10000"_s);
        QVERIFY(writeReport(script, wc));
        m_script = script.path();
    }

    void cleanup() { closePreview(); }

    void toolbar_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");
        QTest::newRow("0") << 0 << u"恢复"_s << u"refresh (CR)"_s;
        QTest::newRow("1") << 1 << u"放大"_s << u"zoom in (+)"_s;
        QTest::newRow("2") << 2 << u"缩小"_s << u"zoom out (-)"_s;
        QTest::newRow("4") << 4 << u"打印"_s << u"select printer"_s;
        QTest::newRow("10") << 10 << u"退出"_s << u"close"_s;
    }
    void toolbar()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        QFETCH(QString, tip);
        PreviewWindow w(m_script);
        w.show();
        const QAbstractButton *b = w.toolButton(index);
        QVERIFY(b);
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->toolTip(), tip);
        QCOMPARE(b->size(), QSize(px(w, 675), px(w, 585)));
        // Left to right in index order, from the left edge.
        const int order = QList<int>{0, 1, 2, 4, 10}.indexOf(index);
        QCOMPARE(b->x(), order * px(w, 675));
    }

    void opensAtZoom100()
    {
        PreviewWindow w(m_script);
        QCOMPARE(w.windowTitle(), u"Preview"_s);
        QCOMPARE(w.zoomBox->count(), 8);
        QCOMPARE(w.zoomBox->itemText(0), u"25%"_s);
        QCOMPARE(w.zoomBox->itemText(7), u"200%"_s);
        QCOMPARE(w.zoomBox->toolTip(), u"zoom factor"_s);
        QCOMPARE(w.pageBox->toolTip(), u"select (selected) page"_s);
        w.setPages({u"1"_s}, 0);
        w.show();
        QCOMPARE(w.zoomBox->currentText(), u"100%"_s);
        QCOMPARE(statusText(w), u"page: 1 of 1 zoom: 100%"_s);
        QCOMPARE(w.surfaceTwips().width(), 11907.0);
        QCOMPARE(w.surfaceTwips().height(), 16839.9);
        QCOMPARE(w.pageSurface->size(), QSize(px(w, 11907), px(w, 16839.9)));
        QCOMPARE(w.fontScale(), 1.0);
        QVERIFY(pointsOf(w, u"机型：MX--905B(1)"_s) == 12.0);
        QVERIFY(pointsOf(w, u"打印预览"_s) == 8.0);
        // 90 % of the screen.
        const QRect screen = w.screen()->availableGeometry();
        QCOMPARE(w.width(), screen.width() * 9 / 10);
    }

    void zoom50HalvesPageAndFonts()
    {
        PreviewWindow w(m_script);
        w.setPages({u"1"_s}, 0);
        w.show();
        w.zoomBox->setCurrentIndex(1);
        QCOMPARE(w.pageSurface->width(), px(w, 11907)); // a choice alone redraws nothing
        w.runToolbarCommand(PreviewWindow::Refresh);
        QCOMPARE(w.surfaceTwips(), QSizeF(11907 / 2.0, 16839.9 / 2));
        QCOMPARE(w.pageSurface->size(), QSize(px(w, 11907 / 2.0), px(w, 16839.9 / 2)));
        QCOMPARE(pointsOf(w, u"机型：MX--905B(1)"_s), 6.0);
        QCOMPARE(statusText(w), u"page: 1 of 1 zoom: 50%"_s);
    }

    // The zoom buttons, and Ctrl+wheel over the page, which zooms one row a notch.
    void zoomCommands_data()
    {
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("button"); // −1: wheel turns instead
        QTest::addColumn<QList<int>>("turns"); // eighths of a degree, one wheel event each
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<int>("row");
        const QList<int> none;
        QTest::newRow("放大 at 200 does nothing") << 7 << 1 << none << false << 7;
        QTest::newRow("缩小 at 25 does nothing") << 0 << 2 << none << false << 0;
        QTest::newRow("放大 from 100") << 3 << 1 << none << false << 4;
        QTest::newRow("缩小 from 100") << 3 << 2 << none << false << 2;
        QTest::newRow("缩小 from 50") << 1 << 2 << none << false << 0;
        QTest::newRow("恢复 keeps the zoom") << 5 << 0 << none << false << 5;
        QTest::newRow("wheel one notch up") << 3 << -1 << QList<int>{120} << true << 4;
        QTest::newRow("wheel one notch down") << 3 << -1 << QList<int>{-120} << true << 2;
        QTest::newRow("wheel two half notches") << 3 << -1 << QList<int>{60, 60} << true << 4;
        QTest::newRow("wheel half a notch is not a step") << 3 << -1 << QList<int>{60} << true << 3;
        QTest::newRow("wheel up at 200 stays") << 7 << -1 << QList<int>{120} << true << 7;
        QTest::newRow("wheel down at 25 stays") << 0 << -1 << QList<int>{-240} << true << 0;
        QTest::newRow("wheel without Ctrl scrolls") << 3 << -1 << QList<int>{-120} << false << 3;
    }
    void zoomCommands()
    {
        QFETCH(int, startRow);
        QFETCH(int, button);
        QFETCH(QList<int>, turns);
        QFETCH(bool, ctrl);
        QFETCH(int, row);
        PreviewWindow w(m_script);
        w.setPages({u"1"_s}, 0);
        w.show();
        w.zoomBox->setCurrentIndex(startRow);
        w.showPage();
        w.pageSurface->setPage(QImage()); // shows whether the command redrew
        if (button >= 0)
            w.runToolbarCommand(button);
        const QPointF at(10, 10);
        for (int turn : turns) {
            QWheelEvent wheel(at, w.pageSurface->mapToGlobal(at), QPoint(), QPoint(0, turn), Qt::NoButton,
                              ctrl ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(w.pageSurface, &wheel);
        }
        QCOMPARE(w.zoomBox->currentIndex(), row);
        const double zoom = ParseNumber(w.zoomBox->itemText(row));
        QCOMPARE(w.surfaceTwips().width(), zoom / 100 * 11907);
        if (button >= 0)
            QCOMPARE(w.pageSurface->page().isNull(), row == startRow && button != PreviewWindow::Refresh);
        else if (ctrl)
            QCOMPARE(w.pageSurface->page().isNull(), row == startRow);
        else
            QVERIFY(w.verticalBar->value() > 0);
        QCOMPARE(statusText(w), u"page: 1 of 1 zoom: %1%"_s.arg(zoom));
    }

    void scrollingMovesThePage()
    {
        PreviewWindow w(m_script);
        w.setPages({u"1"_s}, 0);
        w.resize(800, 600);
        w.show();
        w.zoomBox->setCurrentIndex(7); // 200: wider than the window
        w.showPage();
        const int top = px(w, 585);
        QCOMPARE(w.pageSurface->pos(), QPoint(0, top));
        QCOMPARE(w.horizontalBar->minimum(), 0);
        QCOMPARE(w.horizontalBar->maximum(), w.pageSurface->width() - w.horizontalBar->width());
        QCOMPARE(w.horizontalBar->singleStep(), 20);
        QCOMPARE(w.horizontalBar->pageStep(),
                 w.horizontalBar->maximum() * w.horizontalBar->width() / w.pageSurface->width());
        QCOMPARE(w.verticalBar->maximum(), w.pageSurface->height() - w.verticalBar->height());

        w.horizontalBar->setValue(500);
        QCOMPARE(w.pageSurface->pos(), QPoint(-500, top));
        w.verticalBar->setValue(300);
        QCOMPARE(w.pageSurface->pos(), QPoint(-500, top - 300));
        // Redrawing the page starts again from its corner, and so do the bars.
        w.runToolbarCommand(PreviewWindow::Refresh);
        QCOMPARE(w.pageSurface->pos(), QPoint(0, top));
        QCOMPARE(w.horizontalBar->value(), 0);

        w.zoomBox->setCurrentIndex(0); // 25: the page fits
        w.showPage();
        QCOMPARE(w.horizontalBar->maximum(), 0);
        QCOMPARE(w.verticalBar->maximum(), 0);
    }

    void resizeLaysOut()
    {
        PreviewWindow w(m_script);
        w.setPages({u"1"_s}, 0);
        w.resize(800, 600);
        w.show();
        const int top = px(w, 585);
        const int status = w.statusLine->height();
        QCOMPARE(w.verticalBar->geometry(),
                 QRect(800 - w.verticalBar->width(), top, w.verticalBar->width(),
                       600 - (top + status + w.horizontalBar->height())));
        QCOMPARE(w.horizontalBar->geometry(),
                 QRect(0, 600 - (w.horizontalBar->height() + status), 800 - w.verticalBar->width(),
                       w.horizontalBar->height()));
        QCOMPARE(w.statusLine->geometry().bottom(), 599);
        const QRect before = w.verticalBar->geometry();
        w.resize(60, 900); // narrower than 1000 twips: the layout stays
        QCOMPARE(w.verticalBar->geometry(), before);
    }

    void missingPageLeavesSurfaceEmpty()
    {
        PreviewWindow w(m_script);
        w.setPages({u"1"_s, u"2"_s}, 1);
        w.show();
        QVERIFY(w.lastDrawn().isEmpty());
        QCOMPARE(statusText(w), u"page: 2 of 2 zoom: 100%"_s);
        const QImage page = w.pageSurface->page();
        QCOMPARE(page.deviceIndependentSize().toSize(), w.pageSurface->size());
        QCOMPARE(page.pixelColor(page.width() / 2, page.height() / 2), QColor(Qt::white));
    }

    void printCancelledIsSilent()
    {
        FakePrompter prompter;
        PreviewWindow w(m_script);
        w.setPages({u"1"_s}, 0);
        int asked = 0;
        w.setPrinterDialog([&](QPrinter &, QWidget *) {
            ++asked;
            return false;
        });
        w.runToolbarCommand(PreviewWindow::Print);
        QCOMPARE(asked, 1);
        QVERIFY(prompter.shown.isEmpty());
    }

    void printPrintsPageOneOnly()
    {
        // Two pages; the preview shows the second.
        QTemporaryDir dir;
        PageScript script(dir.path());
        QVERIFY(script.ClearScript());
        QVERIFY(script.StartPage(u"PAGEONE"_s, u"第一页"_s));
        QVERIFY(script.StartPage(u"PAGETWO"_s, u"2"_s));
        const QString pdf = dir.path() + u"/out.pdf"_s;

        PreviewWindow w(script.path());
        w.setPages({u"1"_s, u"2"_s}, 1);
        w.show();
        QCOMPARE(w.lastDrawn().value(0).text, u"PAGETWO"_s);
        w.setPrinterDialog([&](QPrinter &printer, QWidget *) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        w.runToolbarCommand(PreviewWindow::Print);
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(pdfprobe::pages(f.readAll()), 1);
        f.close();
        const std::optional<QString> printed = pdfprobe::text(pdf);
        if (!printed)
            QSKIP("pdftotext (poppler-utils) is not installed");
        QVERIFY(printed->contains(u"PAGEONE"_s));
        QVERIFY(!printed->contains(u"PAGETWO"_s));
        // A PDF file gets the text layer the page shows, not the radicals of its glyphs.
        QVERIFY2(printed->contains(u"第一页"_s), qPrintable(*printed));
        QVERIFY(w.isVisible()); // the preview stays open
    }

    void printCommandOpensFreshPreview()
    {
        FakePrompter prompter;
        WorkingCopy wc;
        wc.startUp(QString());
        int timerStops = 0;
        const auto stopTimer = [&] { ++timerStops; };

        QPointer<PreviewWindow> first = printReportCommand(nullptr, wc, stopTimer);
        QVERIFY(first);
        QCOMPARE(openPreview(), first.data());
        QVERIFY(first->isVisible());
        QCOMPARE(first->pageBox->count(), 1);
        QCOMPARE(first->pageBox->currentText(), u"1"_s);
        QCOMPARE(timerStops, 1);
        QCOMPARE(first->scriptPath(), PageScript().path());
        first->runToolbarCommand(PreviewWindow::ZoomIn);

        wc.selectModel(4);
        QPointer<PreviewWindow> second = printReportCommand(nullptr, wc, stopTimer);
        QVERIFY(!first); // closed and gone
        QVERIFY(second);
        QCOMPARE(second->zoomBox->currentText(), u"100%"_s);
        QCOMPARE(timerStops, 2);
        QVERIFY(prompter.shown.isEmpty());

        QFile f(second->scriptPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray script = f.readAll();
        QCOMPARE(script.count("#startpage"), 1);
        QVERIFY(script.contains(encodeScriptText(u"机型：MX--905A(1)"_s)));
        f.close();

        second->runToolbarCommand(PreviewWindow::Close);
        QTRY_VERIFY(!second); // deleted on close
        QVERIFY(QFile::exists(f.fileName())); // kept until shut-down
        deletePrintScript();
        QVERIFY(!QFile::exists(f.fileName()));
    }

    void printCommandReportsDroppedText()
    {
        FakePrompter prompter;
        WorkingCopy wc;
        wc.startUp(QString());
        wc.setBandStringForModelRow(0, QString(120, u'W'));
        wc.selectModel(0);
        QVERIFY(printReportCommand(nullptr, wc));
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].icon, QMessageBox::Critical);
        QCOMPARE(prompter.shown[0].title, u"PrintInCen"_s);
        QCOMPARE(prompter.shown[0].text, u"Error in coords!!!!"_s);
    }

    void printCommandReportsUnwritableScript()
    {
        FakePrompter prompter;
        const QString folder = PageScript::defaultFolder();
        QDir(folder).removeRecursively();
        QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
        QFile blocker(folder); // a file where the folder belongs
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        WorkingCopy wc;
        QCOMPARE(printReportCommand(nullptr, wc), nullptr);
        QVERIFY(blocker.remove());
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].icon, QMessageBox::Critical);
        QVERIFY(prompter.shown[0].text.contains(folder));
        QVERIFY(!openPreview());
    }

    // Also writes the picture for the documentation when TARNIK_SCREENSHOT names a file.
    void screenshot()
    {
        PreviewWindow w(m_script);
        w.setPages({u"1"_s}, 0);
        w.resize(900, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QImage shot = w.grab().toImage();
        // The page's header rule and texts are on the picture, under the toolbar.
        const QImage page = shot.copy(0, px(w, 585), shot.width() - w.verticalBar->width(), 200);
        int dark = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                dark += qGray(page.pixel(x, y)) < 100;
        QVERIFY(dark > 200);
        const QString path = qEnvironmentVariable("TARNIK_SCREENSHOT");
        if (!path.isEmpty())
            QVERIFY(shot.save(path));
    }

private:
    static double pointsOf(const PreviewWindow &w, const QString &text)
    {
        for (const PreviewWindow::Drawn &d : w.lastDrawn())
            if (d.text == text)
                return d.points;
        return -1;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_script;
};

QTEST_MAIN(TestPreviewWindow)
#include "tst_previewwindow.moc"
