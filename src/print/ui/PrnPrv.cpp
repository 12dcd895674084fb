#include "PrnPrv.h"

#include "print/PageScript.h"
#include "print/ScriptRenderer.h"
#include "shell/ui/Prompter.h"

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

PrnPrv::PrnPrv(const QString &scriptPath, QWidget *parent)
    : QWidget(parent, Qt::Window), m_scriptPath(scriptPath), m_printerDialog(platformPrinterDialog)
{
    setObjectName(QStringLiteral("PrnPrv"));
    setWindowTitle(QStringLiteral("Preview"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(pal);
    setAutoFillBackground(true);

    // Created first so that the toolbar, bars and status bar lie above it.
    Prv = new PageSurface(this);

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
        const char16_t *caption;
        const char *tip;
    } buttons[] = {{Refresh, u"恢复", "refresh (CR)"},
                   {ZoomIn, u"放大", "zoom in (+)"},
                   {ZoomOut, u"缩小", "zoom out (-)"},
                   {Print, u"打印", "select printer"},
                   {Close, u"退出", "close"}};
    for (const auto &b : buttons) {
        auto *button = new QToolButton(m_toolbar);
        button->setObjectName(QStringLiteral("tbTools_%1").arg(b.index));
        button->setText(QString::fromUtf16(b.caption));
        button->setToolTip(QString::fromLatin1(b.tip));
        button->setAutoRaise(true);
        button->setFixedSize(twipsToPixels(ButtonWidth), twipsToPixels(ButtonHeight));
        m_buttons->addButton(button, b.index);
        row->addWidget(button);
    }
    connect(m_buttons, &QButtonGroup::idClicked, this, &PrnPrv::tbTools_ButtonClick);

    zVal = new QComboBox(m_toolbar);
    zVal->setObjectName(QStringLiteral("zVal"));
    zVal->setToolTip(QStringLiteral("zoom factor"));
    zVal->addItems({QStringLiteral("25"), QStringLiteral("50"), QStringLiteral("75"), QStringLiteral("100"),
                    QStringLiteral("125"), QStringLiteral("150"), QStringLiteral("175"), QStringLiteral("200")});
    zVal->setCurrentIndex(3);
    ePag = new QComboBox(m_toolbar);
    ePag->setObjectName(QStringLiteral("ePag"));
    ePag->setToolTip(QStringLiteral("select (selected) page"));
    ePag->setMinimumContentsLength(3);
    row->addSpacing(6);
    row->addWidget(zVal);
    row->addSpacing(6);
    row->addWidget(ePag);
    row->addStretch(1);

    vBar = new QScrollBar(Qt::Vertical, this);
    vBar->setObjectName(QStringLiteral("vBar"));
    hBar = new QScrollBar(Qt::Horizontal, this);
    hBar->setObjectName(QStringLiteral("hBar"));
    for (QScrollBar *bar : {hBar, vBar})
        bar->setRange(0, 0);
    connect(hBar, &QScrollBar::valueChanged, this, &PrnPrv::SistemaHBAR);
    connect(vBar, &QScrollBar::valueChanged, this, &PrnPrv::SistemaVBAR);

    sbStatus = new QStatusBar(this);
    sbStatus->setObjectName(QStringLiteral("sbStatus"));
    sbStatus->setSizeGripEnabled(false);
    sbStatus->setAutoFillBackground(true);
    sbStatus->setPalette(QWidget::style()->standardPalette());
    m_pageValue = new QLabel(sbStatus);
    m_pagesValue = new QLabel(sbStatus);
    m_zoomValue = new QLabel(sbStatus);
    m_pageValue->setObjectName(QStringLiteral("sbPage"));
    m_pagesValue->setObjectName(QStringLiteral("sbPages"));
    m_zoomValue->setObjectName(QStringLiteral("sbZoom"));
    sbStatus->addWidget(new QLabel(QStringLiteral("page:"), sbStatus));
    sbStatus->addWidget(m_pageValue);
    sbStatus->addWidget(new QLabel(QStringLiteral("of"), sbStatus));
    sbStatus->addWidget(m_pagesValue);
    sbStatus->addWidget(new QLabel(QStringLiteral("zoom:"), sbStatus));
    sbStatus->addWidget(m_zoomValue, 1);

    const struct
    {
        QKeySequence keys;
        int index;
    } shortcuts[] = {{QKeySequence(Qt::Key_Return), Refresh}, {QKeySequence(Qt::Key_Enter), Refresh},
                     {QKeySequence(Qt::Key_Plus), ZoomIn},     {QKeySequence(Qt::Key_Minus), ZoomOut}};
    for (const auto &s : shortcuts) {
        auto *shortcut = new QShortcut(s.keys, this);
        const int index = s.index;
        connect(shortcut, &QShortcut::activated, this, [this, index] { tbTools_ButtonClick(index); });
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

int PrnPrv::twipsToPixels(double twips) const
{
    return int(std::lround(twips * logicalDpiY() / TwipsPerInch));
}

int PrnPrv::toolbarHeight() const
{
    return twipsToPixels(ButtonHeight);
}

void PrnPrv::setPages(const QStringList &pages, int selected)
{
    ePag->clear();
    ePag->addItems(pages);
    ePag->setCurrentIndex(selected);
}

QAbstractButton *PrnPrv::toolButton(int index) const
{
    return m_buttons->button(index);
}

void PrnPrv::MostraPagina()
{
    double zoom = ParseNumber(zVal->currentText());
    if (zoom <= 0)
        zoom = 100;
    m_surfaceTwips = QSizeF(zoom / 100 * PageScript::PageWidth, zoom / 100 * PageScript::PageHeight);
    m_fontScale = float(m_surfaceTwips.height() / PageScript::PageHeight);
    for (QScrollBar *bar : {hBar, vBar}) {
        const QSignalBlocker block(bar);
        bar->setValue(0);
    }
    renderPreview(0, 0);
}

void PrnPrv::SistemaHBAR()
{
    renderPreview(hBar->value(), vBar->value());
}

void PrnPrv::SistemaVBAR()
{
    renderPreview(hBar->value(), vBar->value());
}

void PrnPrv::renderPreview(int x0, int y0)
{
    const BusyCursor busy;
    const int selected = int(ParseNumber(ePag->currentText()));
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
    Prv->setPage(page);
    Prv->setGeometry(-x0, toolbarHeight() - y0, size.width(), size.height());

    updateScrollRange(hBar, size.width(), hBar->width());
    updateScrollRange(vBar, size.height(), vBar->height());
    // A range that shrank moved a bar: the page follows it.
    Prv->move(-hBar->value(), toolbarHeight() - vBar->value());

    m_pageValue->setText(ePag->currentText());
    m_pagesValue->setText(QString::number(ePag->count()));
    m_zoomValue->setText(zVal->currentText() + QLatin1Char('%'));
}

void PrnPrv::updateScrollRange(QScrollBar *bar, int surface, int barLength)
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

void PrnPrv::tbTools_ButtonClick(int index)
{
    switch (index) {
    case Refresh:
        MostraPagina();
        break;
    case ZoomIn:
        if (zVal->currentIndex() < zVal->count() - 1) {
            zVal->setCurrentIndex(zVal->currentIndex() + 1);
            MostraPagina();
        }
        break;
    case ZoomOut:
        if (zVal->currentIndex() >= 1) {
            zVal->setCurrentIndex(zVal->currentIndex() - 1);
            MostraPagina();
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

void PrnPrv::printCommand()
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

Status PrnPrv::printPages(QPrinter &printer, int first, int last)
{
    const BusyCursor busy;
    QCoreApplication::processEvents();
    const Result<PrintOutcome> r =
        printScriptPages(m_scriptPath, printer, first, last, [] { QCoreApplication::processEvents(); });
    if (!r)
        return r.failure();
    return {};
}

void PrnPrv::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        MostraPagina();
    }
}

void PrnPrv::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_shown)
        MostraPagina();
}

void PrnPrv::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void PrnPrv::layoutControls()
{
    const int w = width();
    const int h = height();
    if (w <= twipsToPixels(MinimumLayout) || h <= twipsToPixels(MinimumLayout))
        return;
    const int top = toolbarHeight();
    const int barWidth = vBar->sizeHint().width();
    const int barHeight = hBar->sizeHint().height();
    const int statusHeight = sbStatus->sizeHint().height();
    m_toolbar->setGeometry(0, 0, w, top);
    Prv->move(-hBar->value(), top - vBar->value());
    vBar->setGeometry(w - barWidth, top, barWidth, h - (top + statusHeight + barHeight));
    hBar->setGeometry(0, h - (barHeight + statusHeight), w - barWidth, barHeight);
    sbStatus->setGeometry(0, h - statusHeight, w, statusHeight);
}
