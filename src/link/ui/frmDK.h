#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;
class RadioLink;

// "端口选择": the options "COM1" … "COM4" for the first four serial ports the system
// lists, and a field for a device it does not list. Closes the port when it opens.
class frmDK : public QDialog
{
    Q_OBJECT
public:
    explicit frmDK(RadioLink &link, QWidget *parent = nullptr);

    QRadioButton *optDK(int index) const { return m_options[size_t(index)]; }
    QPushButton *cmdQD() const { return m_confirm; }
    QLineEdit *txtDevice() const { return m_device; }
    // The device typed into the field, blanks removed; empty when the options decide.
    QString device() const;

private:
    void Form_Load();
    void optDK_Click(int index);
    void cmdQD_Click();

    RadioLink &m_link;
    std::array<QRadioButton *, 4> m_options{};
    QPushButton *m_confirm = nullptr;
    QLineEdit *m_device = nullptr;
};
