#include "modLanguageSupport.h"

#include "IniFile.h"
#include "IniFileCache.h"

#include "forms/Places.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace modLanguageSupport {
namespace {

QString& currentLanguage()
{
    static QString name;
    return name;
}

IniFileCache& languageFiles()
{
    static IniFileCache cache;
    return cache;
}

bool isSeparator(QChar c)
{
    return c == u'/' || c == u'\\';
}

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

} // namespace

QString CurrentLanguage()
{
    return currentLanguage();
}

void setCurrentLanguage(const QString& name)
{
    currentLanguage() = name;
}

bool isSafeLanguageName(QStringView name)
{
    return !name.contains(u"..") && std::none_of(name.begin(), name.end(), [](QChar c) {
        return isSeparator(c) || isControl(c);
    });
}

std::optional<QString> languageFilePath()
{
    // Without a name the path would be the bare extension, a hidden file
    // that the Language menu never offers.
    const QString name = CurrentLanguage();
    if (name.isEmpty() || !isSafeLanguageName(name))
        return std::nullopt;
    return forms::places().languageFile(name);
}

QString settingsFilePath()
{
    return forms::places().settingsToRead();
}

std::optional<QString> MLSReadIni(const QString& fileName, const QString& section, const QString& key)
{
    const std::optional<IniFile> file = languageFiles().load(fileName);
    if (!file)
        return std::nullopt;
    return file->value(section, key);
}

int MLSWriteIni(const QString& fileName, const QString& section, const QString& key, const QString& value)
{
    // A file that exists but cannot be read is left alone rather than replaced
    // by one that would lose its other entries. The change is made to the file
    // as it is now, never to a copy kept for lookups.
    std::optional<IniFile> file = QFileInfo::exists(fileName) ? IniFile::load(fileName) : IniFile();
    if (!file || !file->setValue(section, key, value))
        return 0;
    return file->save(fileName) ? 1 : 0;
}

QString MLSGetMessage(const QString& id)
{
    if (CurrentLanguage().isEmpty())
        setCurrentLanguage(readLanguageSetting());
    const std::optional<QString> path = languageFilePath();
    if (!path)
        return {};
    return MLSReadIni(*path, MessagesSection.toString(), id).value_or(QString());
}

QString readLanguageSetting()
{
    const QString name = MLSReadIni(settingsFilePath(), SettingsSection.toString(),
                                    SettingsKey.toString())
                             .value_or(QString());
    return isSafeLanguageName(name) ? name : QString();
}

int writeLanguageSetting(const QString& name)
{
    const QString path = forms::places().settingsToWrite();
    if (path.isEmpty())
        return 0;
    // The user's configuration folder may not exist before the first pick.
    QDir().mkpath(QFileInfo(path).absolutePath());
    return MLSWriteIni(path, SettingsSection.toString(), SettingsKey.toString(), name);
}

} // namespace modLanguageSupport
