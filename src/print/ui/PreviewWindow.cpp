#include "PreviewWindow.h"

#include "print/PageScript.h"
#include "print/ScriptRenderer.h"
#include "widgets/Prompter.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSize>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr double TwipsPerInch = 1440.0;
// Toolbar buttons, window twips.
constexpr double ButtonWidth = 675;
constexpr double ButtonHeight = 585;
// Below this inner size (window twips) a resize keeps the previous layout.
constexpr double MinimumLayout = 1000;

class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

bool platformPrinterDialog(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    // Page 1 is printed whatever range were chosen, so no range is offered.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize
                      | QAbstractPrintDialog::PrintCollateCopies);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

PageSurface::PageSurface(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Prv"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageSurface::setPage(const QImage &page)
{
    m_page = page;
    update();
}

void PageSurface::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.fillRect(event->rect(), Qt::white);
    p.drawImage(QPoint(0, 0), m_page);
}

// ---------------------------------------------------------------------------

PreviewWindow::PreviewWindow(const QString &scriptPath, QWidget *parent)
    : QWidget(parent, Qt::Window), m_scriptPath(scriptPath), m_printerDialog(platformPrinterDialog)
{
    setObjectName(QStringLiteral("PrnPrv"));
    setWindowTitle(QStringLiteral("Preview"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(pal);
    setAutoFillBackground(true);

    // Created first so that the toolbar, bars and status bar lie above it.
    pageSurface = new PageSurface(this);
    pageSurface->installEventFilter(this);

    m_toolbar = new QWidget(this);
    m_toolbar->setObjectName(QStringLiteral("tbTools"));
    m_toolbar->setAutoFillBackground(true);
    m_toolbar->setPalette(QWidget::style()->standardPalette());
    auto *row = new QHBoxLayout(m_toolbar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_buttons = new QButtonGroup(this);
    const struct
    {
        int index;
        const char *tip;
    } buttons[] = {{Refresh, "refresh (CR)"},
                   {ZoomIn, "zoom in (+)"},
                   {ZoomOut, "zoom out (-)"},
                   {Print, "select printer"},
                   {Close, "close"}};
    for (const auto &b : buttons) {
        auto *button = new QToolButton(m_toolbar);
        button->setObjectName(QStringLiteral("tbTools_%1").arg(b.index));
        button->setToolTip(QString::fromLatin1(b.tip));
        button->setAutoRaise(true);
        button->setFixedSize(twipsToPixels(ButtonWidth), twipsToPixels(ButtonHeight));
        m_buttons->addButton(button, b.index);
        row->addWidget(button);
    }
    connect(m_buttons, &QButtonGroup::idClicked, this, &PreviewWindow::runToolbarCommand);
    retranslateUi();

    zoomBox = new QComboBox(m_toolbar);
    zoomBox->setObjectName(QStringLiteral("zVal"));
    zoomBox->setToolTip(QStringLiteral("zoom factor"));
    // The field shows its unit; the zoom is read as the leading number.
    zoomBox->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                       QStringLiteral("125%"), QStringLiteral("150%"), QStringLiteral("175%"), QStringLiteral("200%")});
    zoomBox->setCurrentIndex(3);
    pageBox = new QComboBox(m_toolbar);
    pageBox->setObjectName(QStringLiteral("ePag"));
    pageBox->setToolTip(QStringLiteral("select (selected) page"));
    pageBox->setMinimumContentsLength(3);
    row->addSpacing(6);
    row->addWidget(zoomBox);
    row->addSpacing(6);
    row->addWidget(pageBox);
    row->addStretch(1);

    verticalBar = new QScrollBar(Qt::Vertical, this);
    verticalBar->setObjectName(QStringLiteral("vBar"));
    horizontalBar = new QScrollBar(Qt::Horizontal, this);
    horizontalBar->setObjectName(QStringLiteral("hBar"));
    for (QScrollBar *bar : {horizontalBar, verticalBar})
        bar->setRange(0, 0);
    connect(horizontalBar, &QScrollBar::valueChanged, this, &PreviewWindow::updateHorizontalScrollBar);
    connect(verticalBar, &QScrollBar::valueChanged, this, &PreviewWindow::updateVerticalScrollBar);

    statusLine = new QStatusBar(this);
    statusLine->setObjectName(QStringLiteral("sbStatus"));
    statusLine->setSizeGripEnabled(false);
    statusLine->setAutoFillBackground(true);
    statusLine->setPalette(QWidget::style()->standardPalette());
    m_pageValue = new QLabel(statusLine);
    m_pagesValue = new QLabel(statusLine);
    m_zoomValue = new QLabel(statusLine);
    m_pageValue->setObjectName(QStringLiteral("sbPage"));
    m_pagesValue->setObjectName(QStringLiteral("sbPages"));
    m_zoomValue->setObjectName(QStringLiteral("sbZoom"));
    statusLine->addWidget(new QLabel(QStringLiteral("page:"), statusLine));
    statusLine->addWidget(m_pageValue);
    statusLine->addWidget(new QLabel(QStringLiteral("of"), statusLine));
    statusLine->addWidget(m_pagesValue);
    statusLine->addWidget(new QLabel(QStringLiteral("zoom:"), statusLine));
    statusLine->addWidget(m_zoomValue, 1);

    const struct
    {
        QKeySequence keys;
        int index;
    } shortcuts[] = {{QKeySequence(Qt::Key_Return), Refresh},
                     {QKeySequence(Qt::Key_Enter), Refresh},
                     {QKeySequence(Qt::Key_Plus), ZoomIn},
                     {QKeySequence(Qt::Key_Minus), ZoomOut}};
    for (const auto &s : shortcuts) {
        auto *shortcut = new QShortcut(s.keys, this);
        const int index = s.index;
        connect(shortcut, &QShortcut::activated, this, [this, index] { runToolbarCommand(index); });
    }

    // 90 % of the screen, centred.
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        const QSize size(area.width() * 9 / 10, area.height() * 9 / 10);
        setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
    }
    layoutControls();
}

int PreviewWindow::twipsToPixels(double twips) const
{
    return int(std::lround(twips * logicalDpiY() / TwipsPerInch));
}

int PreviewWindow::toolbarHeight() const
{
    return twipsToPixels(ButtonHeight);
}

void PreviewWindow::setPages(const QStringList &pages, int selected)
{
    pageBox->clear();
    pageBox->addItems(pages);
    pageBox->setCurrentIndex(selected);
}

QAbstractButton *PreviewWindow::toolButton(int index) const
{
    return m_buttons->button(index);
}

void PreviewWindow::showPage()
{
    double zoom = ParseNumber(zoomBox->currentText());
    if (zoom <= 0)
        zoom = 100;
    m_surfaceTwips = QSizeF(zoom / 100 * PageScript::PageWidth, zoom / 100 * PageScript::PageHeight);
    m_fontScale = float(m_surfaceTwips.height() / PageScript::PageHeight);
    for (QScrollBar *bar : {horizontalBar, verticalBar}) {
        const QSignalBlocker block(bar);
        bar->setValue(0);
    }
    renderPreview(0, 0);
}

void PreviewWindow::updateHorizontalScrollBar()
{
    renderPreview(horizontalBar->value(), verticalBar->value());
}

void PreviewWindow::updateVerticalScrollBar()
{
    renderPreview(horizontalBar->value(), verticalBar->value());
}

void PreviewWindow::renderPreview(int x0, int y0)
{
    const BusyCursor busy;
    const int selected = int(ParseNumber(pageBox->currentText()));
    const QSize size(int(std::lround(m_surfaceTwips.width() * logicalDpiX() / TwipsPerInch)),
                     int(std::lround(m_surfaceTwips.height() * logicalDpiY() / TwipsPerInch)));

    // Drawn at the screen's own pixel density; sizes and fonts stay in window pixels.
    const double ratio = devicePixelRatioF();
    QImage page(size * ratio, QImage::Format_RGB32);
    page.setDevicePixelRatio(ratio);
    page.setDotsPerMeterX(int(std::lround(logicalDpiX() / 0.0254)));
    page.setDotsPerMeterY(int(std::lround(logicalDpiY() / 0.0254)));
    page.fill(Qt::white);
    m_lastDrawn.clear();
    {
        QPainter painter(&page);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        // The surface's own coordinates are page twips at any zoom.
        painter.scale(size.width() / PageScript::PageWidth, size.height() / PageScript::PageHeight);
        SurfacePainter surface(painter, m_fontScale);
        // An unreadable script leaves the page blank.
        if (selected > 0)
            (void)renderScriptPage(m_scriptPath, selected, surface);
        for (const DrawnText &t : surface.drawnTexts())
            m_lastDrawn.append({t.text, t.points});
    }
    pageSurface->setPage(page);
    pageSurface->setGeometry(-x0, toolbarHeight() - y0, size.width(), size.height());

    updateScrollRange(horizontalBar, size.width(), horizontalBar->width());
    updateScrollRange(verticalBar, size.height(), verticalBar->height());
    // A range that shrank moved a bar: the page follows it.
    pageSurface->move(-horizontalBar->value(), toolbarHeight() - verticalBar->value());

    m_pageValue->setText(pageBox->currentText());
    m_pagesValue->setText(QString::number(pageBox->count()));
    m_zoomValue->setText(QString::number(ParseNumber(zoomBox->currentText())) + QLatin1Char('%'));
}

void PreviewWindow::updateScrollRange(QScrollBar *bar, int surface, int barLength)
{
    const QSignalBlocker block(bar);
    if (surface > barLength) {
        const int maximum = surface - barLength;
        bar->setRange(0, maximum);
        bar->setSingleStep(20);
        bar->setPageStep(int(qint64(maximum) * barLength / surface));
    } else {
        bar->setRange(0, 0);
    }
}

void PreviewWindow::runToolbarCommand(int index)
{
    switch (index) {
    case Refresh:
        showPage();
        break;
    case ZoomIn:
        if (zoomBox->currentIndex() < zoomBox->count() - 1) {
            zoomBox->setCurrentIndex(zoomBox->currentIndex() + 1);
            showPage();
        }
        break;
    case ZoomOut:
        if (zoomBox->currentIndex() >= 1) {
            zoomBox->setCurrentIndex(zoomBox->currentIndex() - 1);
            showPage();
        }
        break;
    case Print:
        printCommand();
        break;
    case Close:
        close();
        break;
    default:
        break;
    }
}

void PreviewWindow::printCommand()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setDocName(windowTitle());
    if (!m_printerDialog || !m_printerDialog(printer, this))
        return;
    // Page 1, whatever page the preview shows.
    const Status s = printPages(printer, 1, 1);
    if (!s)
        Prompter::instance().critical(this, QString::number(s.failure().number), s.failure().description);
}

Status PreviewWindow::printPages(QPrinter &printer, int first, int last)
{
    const BusyCursor busy;
    QCoreApplication::processEvents();
    const Result<PrintOutcome> r = printScriptPages(m_scriptPath, printer, first, last,
                                                    [] { QCoreApplication::processEvents(); });
    if (!r)
        return r.failure();
    // Printed to a PDF file: its text layer gives the texts as drawn.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return mendPdfFile(printer.outputFileName(), r->drawn);
    return {};
}

bool PreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == pageSurface && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PreviewWindow::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        // The page itself takes no wheel: it scrolls the page up and down.
        QCoreApplication::sendEvent(verticalBar, event);
        return;
    }
    // One zoom step per notch (120 eighths of a degree); fine-grained wheels and touch
    // pads add up their small steps first.
    m_wheelZoom += event->angleDelta().y();
    while (m_wheelZoom >= 120) {
        m_wheelZoom -= 120;
        runToolbarCommand(ZoomIn);
    }
    while (m_wheelZoom <= -120) {
        m_wheelZoom += 120;
        runToolbarCommand(ZoomOut);
    }
    event->accept();
}

void PreviewWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        showPage();
    }
}

void PreviewWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_shown)
        showPage();
}

// Only the window's own controls follow the language; the report it shows stays Chinese.
void PreviewWindow::retranslateUi()
{
    const struct
    {
        int index;
        const char *caption;
    } captions[] = {{Refresh, QT_TR_NOOP("恢复")},
                    {ZoomIn, QT_TR_NOOP("放大")},
                    {ZoomOut, QT_TR_NOOP("缩小")},
                    {Print, QT_TR_NOOP("打印")},
                    {Close, QT_TR_NOOP("退出")}};
    for (const auto &c : captions)
        m_buttons->button(c.index)->setText(tr(c.caption));
}

void PreviewWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void PreviewWindow::layoutControls()
{
    const int w = width();
    const int h = height();
    if (w <= twipsToPixels(MinimumLayout) || h <= twipsToPixels(MinimumLayout))
        return;
    const int top = toolbarHeight();
    const int barWidth = verticalBar->sizeHint().width();
    const int barHeight = horizontalBar->sizeHint().height();
    const int statusHeight = statusLine->sizeHint().height();
    m_toolbar->setGeometry(0, 0, w, top);
    pageSurface->move(-horizontalBar->value(), top - verticalBar->value());
    verticalBar->setGeometry(w - barWidth, top, barWidth, h - (top + statusHeight + barHeight));
    horizontalBar->setGeometry(0, h - (barHeight + statusHeight), w - barWidth, barHeight);
    statusLine->setGeometry(0, h - statusHeight, w, statusHeight);
}
