#include "SplashWindow.h"

#include "widgets/AppInfo.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace {
constexpr QSize PictureSize(520, 300);
}

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(appinfo::title());
    setFixedSize(PictureSize);
    setFocusPolicy(Qt::StrongFocus);
    // Closing the splash before the main window is up must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_picture = appinfo::picture(QStringLiteral(":/images/splash.svg"), PictureSize, devicePixelRatioF());
    m_timer.setSingleShot(true);
    m_timer.setInterval(ShowMs);
    connect(&m_timer, &QTimer::timeout, this, &SplashWindow::finish);
}

void SplashWindow::start()
{
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    setFocus(Qt::OtherFocusReason);
    m_timer.start();
}

void SplashWindow::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    finish();
}

void SplashWindow::finish()
{
    if (m_done)
        return;
    m_done = true;
    m_timer.stop();
    emit done();
    close();
}

void SplashWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
    p.setPen(Qt::white);
    p.setFont(appinfo::uiFont(26));
    const QRect text(190, 80, width() - 210, 60);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, appinfo::title());
    p.setFont(appinfo::uiFont(12));
    p.setPen(QColor(0xcf, 0xe3, 0xf7));
    p.drawText(text.translated(0, 60), Qt::AlignLeft | Qt::AlignTop, tr("16 信道对讲机编程软件"));
    p.setFont(appinfo::uiFont(9));
    p.drawText(QRect(16, height() - 28, width() - 32, 28), Qt::AlignRight | Qt::AlignVCenter,
               tr("版本 %1").arg(QStringLiteral(TARNIK_VERSION)));
}
