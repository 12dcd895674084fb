#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

// The splash window (object name "frmSplash"): a picture for one second, or until a key is pressed.
// done() is emitted once, whichever comes first.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ShowMs = 1000;

    explicit SplashWindow(QWidget *parent = nullptr);

    // Shows the window centred on the screen and starts the timer.
    void start();
    bool isDone() const { return m_done; }

signals:
    void done();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void finish();

    QTimer m_timer;
    QPixmap m_picture;
    bool m_done = false;
};
