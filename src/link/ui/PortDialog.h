#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "端口选择": the options "COM1" … "COM4" for the first four serial ports the system
// lists, and a field for a device it does not list (while it holds one, no option is
// shown chosen; clicking an option empties it). Takes and gives plain values; the port
// command closes the port before it opens. 取消 gives back the values it was opened with.
class PortDialog : public QDialog
{
    Q_OBJECT
public:
    // initialOption: the option last chosen (0…3); portNumber: the port's number now (1…4);
    // device: the device field's text.
    PortDialog(int initialOption, int portNumber, const QString &device, QWidget *parent = nullptr);

    // The index of the option last clicked; unchanged when none was.
    int portOption;

    QRadioButton *portOptionButton(int index) const { return m_options[size_t(index)]; }
    QPushButton *confirmButton() const { return m_confirm; }
    QPushButton *cancelButton() const { return m_cancel; }
    QLineEdit *deviceField() const { return m_device; }
    // The device typed into the field, blanks removed; empty when the options decide.
    QString device() const;

    // The chosen port for the status bar: "端口：COM1 /dev/ttyUSB0 CH340", "端口：/dev/pts/3".
    static QString statusText(int portOption, const QString &device);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void prepare();
    void onOptionClicked(int index);
    void onConfirm();
    void onCancel();
    void showChosenOption();

    int m_portNumber;
    int m_initialOption;
    QString m_initialDevice;
    int m_checkedOption; // the option shown chosen while the field is empty
    std::array<QRadioButton *, 4> m_options{};
    QPushButton *m_confirm = nullptr;
    QPushButton *m_cancel = nullptr;
    QLineEdit *m_device = nullptr;
    QLabel *m_deviceLabel = nullptr;
    int m_listed = 0; // options with a port behind them
    int m_cable = -1; // the option likely to be the programming cable
};
