#pragma once

#include "support/Failure.h"

#include <QImage>
#include <QSizeF>
#include <QWidget>

#include <functional>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QPrinter;
class QScrollBar;
class QStatusBar;

// The page surface `pageSurface`: shows the page the preview renderer drew.
class PageSurface : public QWidget
{
    Q_OBJECT
public:
    explicit PageSurface(QWidget *parent = nullptr);
    void setPage(const QImage &page);
    const QImage &page() const { return m_page; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_page;
};

// The preview window "Preview": one page of the page script at a zoom, scrolled with
// `horizontalBar` and `verticalBar`, printed with "打印". Window coordinates (scroll values, layout)
// are pixels; the page surface's own coordinates are page twips.
class PreviewWindow : public QWidget
{
    Q_OBJECT
public:
    // Toolbar command indexes.
    enum Command { Refresh = 0, ZoomIn = 1, ZoomOut = 2, Print = 4, Close = 10 };

    // Shows the printer set-up dialog for `printer`; false when the user cancels.
    using PrinterDialog = std::function<bool(QPrinter &printer, QWidget *parent)>;

    explicit PreviewWindow(const QString &scriptPath, QWidget *parent = nullptr);

    QString scriptPath() const { return m_scriptPath; }

    // The page list `pageBox` with one entry selected.
    void setPages(const QStringList &pages, int selected);

    // Shows the selected page at the zoom in `zoomBox`, from offset 0, 0 (the scroll bars
    // go back to 0 with it).
    void showPage();
    void updateHorizontalScrollBar();
    void updateVerticalScrollBar();

    // The preview renderer; offsets in window pixels.
    void renderPreview(int x0, int y0);
    // The printer renderer onto a printer already set up.
    Status printPages(QPrinter &printer, int first, int last);

    // A toolbar button by its command index.
    void runToolbarCommand(int index);
    QAbstractButton *toolButton(int index) const;

    // Replaces the platform dialog (tests answer it without a window).
    void setPrinterDialog(PrinterDialog dialog) { m_printerDialog = std::move(dialog); }

    // Page surface size in window twips and the font scale of the last redraw.
    QSizeF surfaceTwips() const { return m_surfaceTwips; }
    double fontScale() const { return m_fontScale; }
    // Texts the last redraw drew with their font sizes.
    struct Drawn
    {
        QString text;
        double points;
    };
    const QList<Drawn> &lastDrawn() const { return m_lastDrawn; }

    QComboBox *zoomBox = nullptr;
    QComboBox *pageBox = nullptr;
    PageSurface *pageSurface = nullptr;
    QScrollBar *horizontalBar = nullptr;
    QScrollBar *verticalBar = nullptr;
    QStatusBar *statusLine = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Ctrl+wheel zooms like "放大" and "缩小"; the wheel alone scrolls the page.
    void wheelEvent(QWheelEvent *event) override;
    // The page surface's wheel turns go to wheelEvent.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void retranslateUi();
    void layoutControls();
    void updateScrollRange(QScrollBar *bar, int surface, int barLength);
    void printCommand();
    int twipsToPixels(double twips) const;
    int toolbarHeight() const;

    QString m_scriptPath;
    QWidget *m_toolbar = nullptr;
    QButtonGroup *m_buttons = nullptr;
    QLabel *m_pageValue = nullptr;
    QLabel *m_pagesValue = nullptr;
    QLabel *m_zoomValue = nullptr;
    QSizeF m_surfaceTwips{11907, 16839.9};
    double m_fontScale = 1.0;
    bool m_shown = false;
    PrinterDialog m_printerDialog;
    QList<Drawn> m_lastDrawn;
    int m_wheelZoom = 0; // wheel turn not yet spent on a zoom step, eighths of a degree
};
