#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace forms {
namespace {
QString& overriddenFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString appPath()
{
    QString folder = overriddenFolder().isEmpty() ? QCoreApplication::applicationDirPath()
                                                  : overriddenFolder();
    folder = QDir::cleanPath(folder);
    return folder;
}

void setAppPath(const QString& folder)
{
    overriddenFolder() = folder;
}

} // namespace forms
