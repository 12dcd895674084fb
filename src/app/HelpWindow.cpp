#include "HelpWindow.h"

#include "support/Translation.h"
#include "widgets/AppInfo.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QString &guidePath, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QString::fromUtf16(u"TARNIK软件帮助"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setAttribute(Qt::WA_QuitOnClose, false);
    auto *layout = new QVBoxLayout(this);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setFont(appinfo::uiFont(10.5));
    layout->addWidget(m_browser);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QString::fromUtf16(u"关闭"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setSource(guidePath);
    resize(760, 600);
}

void HelpWindow::setSource(const QString &guidePath)
{
    m_browser->setSource(QUrl::fromLocalFile(guidePath));
}

QString HelpWindow::guideName()
{
    return lang::isEnglish() ? QStringLiteral("index.en.html") : QStringLiteral("index.html");
}

QStringList HelpWindow::defaultFolders()
{
    const QString bin = QCoreApplication::applicationDirPath();
    QStringList folders;
    if (!bin.isEmpty()) {
        folders << QDir(bin).filePath(QStringLiteral("help"))
                << QDir::cleanPath(bin + QStringLiteral("/../share/tarnik/help"));
    }
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir(data).filePath(QStringLiteral("tarnik/help"));
    folders.removeDuplicates();
    return folders;
}

QString HelpWindow::find(const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QFileInfo guide(QDir(folder).filePath(guideName()));
        if (guide.isFile() && guide.isReadable())
            return guide.absoluteFilePath();
    }
    return {};
}
