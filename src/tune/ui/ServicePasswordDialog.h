#pragma once

#include <QDialog>

#include "tune/ServicePassword.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The service password dialog in front of tune mode. Three tries per opening; the
// caller reads loginSucceeded() after the dialog has closed.
class ServicePasswordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ServicePasswordDialog(QWidget *parent = nullptr);

    // True only when this opening ended with the right password.
    bool loginSucceeded() const { return m_attempts.succeeded(); }
    // 1 plus the wrong entries made so far in this opening.
    int attempt() const { return m_attempts.attempt(); }

public slots:
    // Cancel, the close box and the third wrong entry: loginSucceeded() is false.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void onOk();
    void onCancel();

    tune::LoginAttempts m_attempts;
    QLabel *m_image;
    QLineEdit *m_passwordField;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
};
