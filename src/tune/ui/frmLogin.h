#pragma once

#include <QDialog>

#include "tune/ServicePassword.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The service password dialog in front of tune mode. Three tries per opening; the
// caller reads LoginSucceeded() after the dialog has closed.
class frmLogin : public QDialog
{
    Q_OBJECT
public:
    explicit frmLogin(QWidget *parent = nullptr);

    // True only when this opening ended with the right password.
    bool LoginSucceeded() const { return m_attempts.succeeded(); }
    // 1 plus the wrong entries made so far in this opening.
    int attempt() const { return m_attempts.attempt(); }

public slots:
    // Cancel, the close box and the third wrong entry: LoginSucceeded() is false.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cmdOK_Click();
    void cmdCancel_Click();

    tune::LoginAttempts m_attempts;
    QLabel *m_image;
    QLineEdit *m_txtPassword;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancel;
};
