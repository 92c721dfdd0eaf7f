#pragma once

#include "forms/Places.h"

#include <QString>
#include <QStringView>

#include <optional>

// The language module: the current language, where its file and the stored
// choice lie, and the reading and writing of values in them. Every lookup
// checks its file's version, so an edited language file counts at once; a
// file is read and indexed again only when its version changed.
namespace modLanguageSupport {

inline constexpr QStringView LanguageFileExtension = forms::kLanguageFileExtension;
inline constexpr QStringView SettingsFileName = forms::kSettingsFileName;
inline constexpr QStringView SettingsSection = u"Language";
inline constexpr QStringView SettingsKey = u"CurrentLanguage";
inline constexpr QStringView MessagesSection = u"Strings";

// The name of the language in use, empty until it is first read.
QString CurrentLanguage();
void setCurrentLanguage(const QString& name);

// The stored choice and the language names come from files anyone can edit:
// a name that could lead out of the program's folder (a path separator, "..",
// a control character) names no language.
bool isSafeLanguageName(QStringView name);

// The current language's file (forms::Places says where it lies);
// std::nullopt when the current language's name is empty (no language) or
// not safe.
std::optional<QString> languageFilePath();
// The settings file that holds the stored choice, as it is read.
QString settingsFilePath();

// The value of key in section of the file; "" when the section or the key is
// absent; std::nullopt when the file cannot be read (missing, no regular file,
// over IniFile::MaxFileSize).
std::optional<QString> MLSReadIni(const QString& fileName, const QString& section, const QString& key);

// Nonzero when the value was written, 0 when not. The file, the section and
// the entry are made as needed; everything else in the file stays as it was.
int MLSWriteIni(const QString& fileName, const QString& section, const QString& key, const QString& value);

// The text of message id in the current language, or "" whatever goes wrong.
QString MLSGetMessage(const QString& id);

// The language named in the settings file; "" when the file or the entry is
// missing or the name is not safe, so that start-up and the Language menu go
// on with no language rather than stop.
QString readLanguageSetting();
// Nonzero when stored, as MLSWriteIni. The choice goes where the layout
// keeps it, which is not always the file it was read from.
int writeLanguageSetting(const QString& name);

} // namespace modLanguageSupport
