#include "platform/runtime/app.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString &overridden()
{
    static QString folder;
    return folder;
}
} // namespace

QString AppPath()
{
    QString folder = overridden();
    if (folder.isEmpty())
        folder = qEnvironmentVariable("ANULACION_APPDIR");
    if (folder.isEmpty())
        folder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

void SetAppPath(const QString &folder)
{
    overridden() = folder;
}
