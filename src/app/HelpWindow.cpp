#include "HelpWindow.h"

#include "support/Translation.h"
#include "widgets/AppInfo.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QString &guidePath, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
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
    m_close = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setSource(guidePath);
    resize(760, 600);
    retranslateUi();
}

void HelpWindow::retranslateUi()
{
    setWindowTitle(tr("TARNIK软件帮助"));
    m_close->setText(tr("关闭", "close the window"));
}

void HelpWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi();
        // The guide of the language now chosen, from the folder the shown one came from.
        const QFileInfo shown(m_browser->source().toLocalFile());
        const QFileInfo guide(shown.dir().filePath(guideName()));
        if (!shown.filePath().isEmpty() && guide.isFile() && guide != shown)
            setSource(guide.absoluteFilePath());
    }
    QDialog::changeEvent(event);
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
