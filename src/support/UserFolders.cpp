#include "UserFolders.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace userfolders {
namespace {

QString underApplication(QStandardPaths::StandardLocation generic)
{
    return QStandardPaths::writableLocation(generic) + QLatin1Char('/') + QCoreApplication::applicationName();
}

} // namespace

QString config()
{
    return underApplication(QStandardPaths::GenericConfigLocation);
}

QString data()
{
    return underApplication(QStandardPaths::GenericDataLocation);
}

} // namespace userfolders
