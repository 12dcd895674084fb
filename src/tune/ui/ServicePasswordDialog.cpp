#include "ServicePasswordDialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "widgets/Prompter.h"

namespace {

// Masks every typed character with "*", whatever the platform style would show.
class StarMaskStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        if (hint == SH_LineEdit_PasswordMaskDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A padlock, drawn so the dialog needs no image file.
QPixmap padlockPicture(qreal dpr)
{
    const int side = 48;
    QPixmap pm(QSize(side, side) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x60, 0x60, 0x68), 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(13, 4, 22, 26), 0, 180 * 16);
    p.drawLine(QPointF(13, 17), QPointF(13, 22));
    p.drawLine(QPointF(35, 17), QPointF(35, 22));
    QLinearGradient body(0, 22, 0, 46);
    body.setColorAt(0, QColor(0xf2, 0xc1, 0x4e));
    body.setColorAt(1, QColor(0xc8, 0x8a, 0x12));
    p.setPen(QPen(QColor(0x8a, 0x5d, 0x08), 1.5));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(7, 21, 34, 25), 4, 4);
    QPainterPath hole;
    hole.addEllipse(QPointF(24, 31), 3.5, 3.5);
    hole.addRect(QRectF(22.5, 32, 3, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4a, 0x32, 0x05));
    p.drawPath(hole.simplified());
    return pm;
}

} // namespace

ServicePasswordDialog::ServicePasswordDialog(QWidget *parent)
    : QDialog(parent),
      m_image(new QLabel(this)),
      m_passwordField(new QLineEdit(this)),
      m_okButton(new QPushButton(this)),
      m_cancelButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmLogin"));
    setModal(true);

    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setPixmap(padlockPicture(devicePixelRatioF()));
    m_image->setAlignment(Qt::AlignCenter);
    m_passwordField->setObjectName(QStringLiteral("txtPassword"));
    auto *mask = new StarMaskStyle;
    mask->setParent(m_passwordField);
    m_passwordField->setStyle(mask);
    m_passwordField->setEchoMode(QLineEdit::Password);
    m_passwordField->setMinimumWidth(200);
    m_okButton->setObjectName(QStringLiteral("cmdOK"));
    m_okButton->setDefault(true);
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));

    auto *entry = new QHBoxLayout;
    entry->addWidget(m_image);
    entry->addSpacing(8);
    entry->addWidget(m_passwordField, 1, Qt::AlignVCenter);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_okButton, &QPushButton::clicked, this, &ServicePasswordDialog::onOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &ServicePasswordDialog::onCancel);
    retranslateUi();
}

void ServicePasswordDialog::retranslateUi()
{
    setWindowTitle(tr("请输入进入调整模式的密码"));
    m_okButton->setText(tr("确定"));
    m_cancelButton->setText(tr("取消"));
}

void ServicePasswordDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void ServicePasswordDialog::showEvent(QShowEvent *event)
{
    // Each opening starts afresh: try 1, no success, an empty field.
    if (!event->spontaneous()) {
        m_attempts.reset();
        m_passwordField->clear();
        m_passwordField->setFocus();
    }
    QDialog::showEvent(event);
}

void ServicePasswordDialog::onOk()
{
    using Outcome = tune::LoginAttempts::Outcome;
    const Outcome outcome = m_attempts.check(m_passwordField->text());
    if (outcome == Outcome::Accepted) {
        accept();
        return;
    }
    Prompter::instance().message(this, QMessageBox::Critical, tr("错误"), tr("密码不正确，请重新输入"));
    if (outcome == Outcome::Refused) {
        reject();
        return;
    }
    m_passwordField->setFocus();
    m_passwordField->selectAll();
}

void ServicePasswordDialog::onCancel()
{
    reject();
}

void ServicePasswordDialog::reject()
{
    m_attempts.cancel();
    QDialog::reject();
}
