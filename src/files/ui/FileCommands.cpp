#include "FileCommands.h"

#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"
#include "widgets/AppInfo.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

// The busy pointer for the lifetime of the guard.
class BusyPointer
{
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

} // namespace

FileCommands::FileCommands(WorkingCopy &wc, QWidget *parent) : m_wc(wc), m_parent(parent), m_folder(QDir::currentPath())
{ }

QStringList FileCommands::nameFilters()
{
    return {QStringLiteral("chp(*.chp)"), QCoreApplication::translate("FileCommands", "所有文件(*.*)"),
            QCoreApplication::translate("FileCommands", "所有文件 (*)")};
}

void FileCommands::remember(const QString &path)
{
    m_folder = QFileInfo(path).absolutePath();
}

QString FileCommands::folder() const
{
    return m_currentPath.isEmpty() ? m_folder : QFileInfo(m_currentPath).absolutePath();
}

QString FileCommands::withSuffix(QWidget *parent, const QString &path, const QString &suffix, const QString &title)
{
    if (!QFileInfo(path).suffix().isEmpty() || path.endsWith(QLatin1Char('.')))
        return path;
    const QString named = path + suffix;
    if (QFileInfo::exists(named)
        && Prompter::instance().message(parent, QMessageBox::Warning, title,
                                        QCoreApplication::translate("FileCommands", "%1 已存在。\n要替换它吗？")
                                            .arg(QDir::toNativeSeparators(named)),
                                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return {};
    return named;
}

bool FileCommands::open()
{
    const QString path = Prompter::instance().openFileName(
        m_parent, QCoreApplication::translate("FileCommands", "打开"), folder(), nameFilters());
    if (path.isEmpty())
        return false;
    remember(path);
    if (!load(path))
        return false;
    m_currentPath = path;
    return true;
}

bool FileCommands::saveAs()
{
    const QString title = QCoreApplication::translate("FileCommands", "另存为");
    QString path = Prompter::instance().saveFileName(m_parent, title, folder(), nameFilters());
    if (path.isEmpty())
        return false;
    path = withSuffix(m_parent, path, QStringLiteral(".chp"), title);
    if (path.isEmpty())
        return false;
    remember(path);
    return save(path);
}

bool FileCommands::saveCurrent()
{
    return m_currentPath.isEmpty() ? saveAs() : save(m_currentPath);
}

bool FileCommands::load(const QString &path)
{
    // The file goes into a fresh working copy that starts as the editor's; the editor
    // takes it over only when the whole load succeeded.
    LoadedState loaded;
    {
        BusyPointer busy;
        loaded = loadChannelFileOver(m_wc.state(), path);
    }
    const LoadOutcome &outcome = loaded.outcome;
    if (outcome.kind == LoadOutcome::Loaded)
        m_wc.setState(loaded.state);
    if (outcome.kind == LoadOutcome::Failed)
        Prompter::instance().message(m_parent, QMessageBox::Information, QString::number(outcome.failure.number),
                                     outcome.failure.description);
    return outcome.kind == LoadOutcome::Loaded;
}

bool FileCommands::save(const QString &path)
{
    const Status status = saveChannelFile(m_wc, path);
    if (!status) {
        Prompter::instance().message(m_parent, QMessageBox::Critical,
                                     QCoreApplication::translate("FileCommands", "错误"), status.failure().description);
        return false;
    }
    m_currentPath = path;
    Prompter::instance().message(m_parent, QMessageBox::NoIcon, appinfo::title(), savedMessage());
    return true;
}
