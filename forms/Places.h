#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace forms {

inline constexpr QStringView kLanguageFileExtension = u".lng";
inline constexpr QStringView kSettingsFileName = u"LangSetting.ini";

// Where the program's files lie. Nothing else in the program builds a path
// to one of them. Two layouts, told apart by what lies beside the executable:
//
// - Portable (a build's bin/, a folder copied onto a stick): the language
//   files, LangSetting.ini and suoni/ lie beside the executable, and the
//   choice of language is stored there too. A folder that refuses writes (a
//   read-only stick, a locked network share) keeps the choice in the user's
//   configuration folder instead.
// - Installed (<prefix>/bin/tavendel): the shipped data lies read-only in
//   <prefix>/share/tavendel and the sound module in the private library
//   folder. The choice of language lives in the user's configuration folder
//   (the shipped LangSetting.ini is the default until the first pick), and a
//   teacher may add or correct languages in the user's data folder.
//
// The installed layout is recognised by its data folder at the place the
// install rules give it relative to bin/, so an install under any prefix
// works; any other folder is a portable one.
class Places
{
public:
    enum class Layout { Portable, Installed };
    enum class Writes { AsTheFolderAllows, Refused };

    // The places of a program whose executable lies in executableFolder.
    // Writes::Refused treats a portable folder as unwritable whatever the
    // file system says (root may write anywhere, so tests need the say).
    explicit Places(const QString& executableFolder, Writes writes = Writes::AsTheFolderAllows);

    Layout layout() const { return m_layout; }
    // The folder of the shipped data: beside the executable, or share/tavendel.
    QString dataFolder() const { return m_dataFolder; }

    // The stored choice of language: where it is read and where a pick goes.
    QString settingsToRead() const;
    QString settingsToWrite() const;

    // The names ("Italiano.lng") of the language files on offer, each once,
    // in the order the folders list them; a user's file hides a shipped one
    // of the same name.
    QStringList languageFiles() const;
    // The file of a language, the user's own where there is one.
    QString languageFile(const QString& language) const;

    QString soundFile(const QString& name) const;
    // Where the program's private libraries (the sound module) lie.
    QString libraryFolder() const;
    // What tells one copy of the program from another, for the
    // single-instance lock: the executable's folder.
    QString instanceKey() const { return m_executableFolder; }

    // The user's own folders, in the user's configuration and data folders.
    static QString userSettingsFolder();
    static QString userLanguageFolder();

private:
    bool portableFolderTakesWrites() const;
    QString shippedSettings() const;
    QString userSettings() const;

    QString m_executableFolder;
    QString m_dataFolder;
    Layout m_layout = Layout::Portable;
    Writes m_writes = Writes::AsTheFolderAllows;
};

// The places of the running program.
Places places();

// The folder that holds the executable, without a trailing separator except
// at the root.
QString appPath();

// Test seam: pretend the executable lies in another folder (an empty string
// restores its own), and optionally that a portable folder refuses writes.
void setAppPath(const QString& folder, Places::Writes writes = Places::Writes::AsTheFolderAllows);

} // namespace forms
