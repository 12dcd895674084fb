#include "link/ui/LinkCommands.h"

#include "link/RadioLink.h"
#include "link/ui/PortDialog.h"
#include "link/ui/TransferDialog.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

void showFailure(QWidget *parent, const Failure &f)
{
    Prompter::instance().message(parent, QMessageBox::Information, QString::number(f.number), f.description);
}

// Steps 1 to 5 of both commands; the received-image file is deleted for a read only.
void runTransferCommand(QWidget *parent, WorkingCopy &wc, RadioLink &link, bool write)
{
    const QString title = write ? QCoreApplication::translate("LinkCommands", "写频进度显示")
                                : QCoreApplication::translate("LinkCommands", "读频进度显示");
    const QString question = write ? QCoreApplication::translate("LinkCommands", "确定要开始写频吗?")
                                   : QCoreApplication::translate("LinkCommands", "确定要开始读频吗?");
    if (Prompter::instance().message(parent, QMessageBox::NoIcon, title, question,
                                     QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        != QMessageBox::Ok)
        return;
    if (Status s = link.openForTransfer(); !s) {
        showFailure(parent, s.failure());
        link.closePort();
        return;
    }
    const QString received = link.receivedPath();
    if (!write && QFile::exists(received) && !QFile::remove(received)) {
        showFailure(
            parent,
            {Failure::PathFileAccessError,
             QCoreApplication::translate("LinkCommands", "无法删除文件 %1").arg(QDir::toNativeSeparators(received))});
        link.closePort();
        return;
    }
    {
        TransferDialog dialog(link, wc, write, parent);
        LinkMessageBoxes boxes(link, &dialog);
        dialog.exec();
    }
    link.closePort();
}

} // namespace

namespace {
const char ShowingBoxes[] = "tarnikMessageBoxes";
}

LinkMessageBoxes::LinkMessageBoxes(RadioLink &link, QWidget *parent) : QObject(parent), m_parent(parent), m_link(&link)
{
    m_covered = qobject_cast<LinkMessageBoxes *>(link.property(ShowingBoxes).value<QObject *>());
    link.setProperty(ShowingBoxes, QVariant::fromValue<QObject *>(this));
    connect(&link, &RadioLink::message, this, &LinkMessageBoxes::show);
}

LinkMessageBoxes::~LinkMessageBoxes()
{
    if (m_link && m_link->property(ShowingBoxes).value<QObject *>() == this)
        m_link->setProperty(ShowingBoxes, QVariant::fromValue<QObject *>(m_covered.data()));
}

void LinkMessageBoxes::show(const LinkMessage &m)
{
    if (!m_link || m_link->property(ShowingBoxes).value<QObject *>() != this)
        return;
    static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information, QMessageBox::Warning,
                                                  QMessageBox::Critical};
    Prompter::instance().message(m_parent, icons[m.icon], m.title, m.text);
}

void readRadioCommand(QWidget *parent, WorkingCopy &wc, RadioLink &link)
{
    runTransferCommand(parent, wc, link, false);
}

void writeRadioCommand(QWidget *parent, WorkingCopy &wc, RadioLink &link)
{
    runTransferCommand(parent, wc, link, true);
}

void choosePortCommand(QWidget *parent, RadioLink &link)
{
    // Its number can change only while the port is closed.
    link.closePort();
    PortDialog dialog(link.portOption, link.portNumber(), link.customDevice(), parent);
    dialog.exec();
    link.portOption = dialog.portOption;
    link.setPortNumber(link.portOption + 1);
    link.setCustomDevice(dialog.device());
}
