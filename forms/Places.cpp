#include "Places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#if !defined(TAVENDEL_DATA_FROM_BIN) || !defined(TAVENDEL_LIBRARY_FROM_BIN)
#error "the install rules must say where the data and the libraries lie relative to bin/"
#endif

namespace forms {
namespace {

constexpr QStringView kUserFolderName = u"tavendel";
constexpr QStringView kSoundsFolder = u"suoni";

struct Seam
{
    QString folder;
    Places::Writes writes = Places::Writes::AsTheFolderAllows;
};

Seam& seam()
{
    static Seam pretended;
    return pretended;
}

QString below(const QString& folder, const QString& relative)
{
    return QDir::cleanPath(folder + u'/' + relative);
}

QString userFolder(QStandardPaths::StandardLocation location)
{
    // No home at all (a bare service account): nowhere to keep the user's files.
    const QString base = QStandardPaths::writableLocation(location);
    return base.isEmpty() ? QString() : base + u'/' + kUserFolderName.toString();
}

QStringList languageFilesIn(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    // ".lng" exactly, as the language files are spelled: on a file system
    // that tells case apart, "X.LNG" is a different name and is not listed.
    return QDir(folder).entryList({QStringLiteral("*") + kLanguageFileExtension.toString()},
                                  QDir::Files | QDir::CaseSensitive, QDir::NoSort);
}

} // namespace

Places::Places(const QString& executableFolder, Writes writes)
    : m_executableFolder(executableFolder), m_writes(writes)
{
    const QString installedData = below(executableFolder, QStringLiteral(TAVENDEL_DATA_FROM_BIN));
    if (QFileInfo(installedData).isDir()) {
        m_layout = Layout::Installed;
        m_dataFolder = installedData;
    } else {
        m_dataFolder = executableFolder;
    }
}

QString Places::settingsToRead() const
{
    if (m_layout == Layout::Portable && portableFolderTakesWrites())
        return shippedSettings();
    // Until the first pick there is no file of the user's: the shipped one
    // is the default.
    const QString own = userSettings();
    if (!own.isEmpty() && QFileInfo::exists(own))
        return own;
    return shippedSettings();
}

QString Places::settingsToWrite() const
{
    if (m_layout == Layout::Portable && portableFolderTakesWrites())
        return shippedSettings();
    return userSettings();
}

QStringList Places::languageFiles() const
{
    QStringList files = languageFilesIn(m_dataFolder);
    if (m_layout == Layout::Portable)
        return files;
    for (const QString& own : languageFilesIn(userLanguageFolder()))
        if (!files.contains(own))
            files.append(own);
    return files;
}

QString Places::languageFile(const QString& language) const
{
    const QString fileName = language + kLanguageFileExtension.toString();
    if (m_layout == Layout::Installed) {
        const QString folder = userLanguageFolder();
        const QString own = folder + u'/' + fileName;
        if (!folder.isEmpty() && QFileInfo(own).isFile())
            return own;
    }
    // At the root the folder already ends in its separator.
    const QString separator = m_dataFolder.endsWith(u'/') ? QString() : QStringLiteral("/");
    return m_dataFolder + separator + fileName;
}

QString Places::soundFile(const QString& name) const
{
    return m_dataFolder + u'/' + kSoundsFolder.toString() + u'/' + name;
}

QString Places::libraryFolder() const
{
    if (m_layout == Layout::Installed)
        return below(m_executableFolder, QStringLiteral(TAVENDEL_LIBRARY_FROM_BIN));
    return m_executableFolder;
}

QString Places::userSettingsFolder()
{
    return userFolder(QStandardPaths::GenericConfigLocation);
}

QString Places::userLanguageFolder()
{
    return userFolder(QStandardPaths::GenericDataLocation);
}

bool Places::portableFolderTakesWrites() const
{
    if (m_writes == Writes::Refused)
        return false;
    // The settings file is replaced through a new file beside it, so the
    // folder must take a new file even when the old one may be written.
    const QFileInfo settings(shippedSettings());
    return QFileInfo(m_dataFolder).isWritable() && (!settings.exists() || settings.isWritable());
}

QString Places::shippedSettings() const
{
    // Beside the executable or in share/tavendel. The separator is added whatever the folder ends in: at the root the
    // path holds a doubled one, which the file system accepts.
    return m_dataFolder + u'/' + kSettingsFileName.toString();
}

QString Places::userSettings() const
{
    const QString folder = userSettingsFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + kSettingsFileName.toString();
}

Places places()
{
    return Places(appPath(), seam().writes);
}

QString appPath()
{
    const QString& pretended = seam().folder;
    return QDir::cleanPath(pretended.isEmpty() ? QCoreApplication::applicationDirPath() : pretended);
}

void setAppPath(const QString& folder, Places::Writes writes)
{
    seam() = {folder, writes};
}

} // namespace forms
