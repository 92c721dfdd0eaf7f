#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

class IniText;

// A file in INI format, read and changed by the rules of the Windows profile
// functions that the language files and the language setting were made for
// (see IniText for the format). Values come back as text: UTF-8 when the
// file's bytes are valid UTF-8, Windows-1252 otherwise. The bytes are indexed
// once, when the IniFile is made; copies share the index.
class IniFile
{
public:
    // The profile functions fill a buffer of 512 bytes; a value keeps at most
    // this many characters (UTF-16 code units, never half a surrogate pair).
    static constexpr qsizetype MaxValueLength = 511;
    // A real language file takes a few kilobytes. Anything larger is no
    // language file: it counts as unreadable and is never read into memory.
    static constexpr qint64 MaxFileSize = qint64(4) * 1024 * 1024;

    IniFile();
    explicit IniFile(QByteArray bytes);

    // The file as it is now, read afresh; std::nullopt for a missing,
    // unreadable or oversized file and for anything that is no regular file.
    static std::optional<IniFile> load(const QString& path);

    // Writes a temporary file beside path and renames it over path, so that a
    // failure at any point leaves the old file whole. False when it fails.
    bool save(const QString& path) const;

    // "" when the section or the key is absent.
    QString value(QStringView section, QStringView key) const;

    // Replaces the key's line, or adds the entry at the end of its section, or
    // adds the section at the end of the file. Every other entry reads back as
    // before: the file keeps its encoding and every other byte, unless the
    // change would make a Windows-1252 file read as UTF-8 (or the value does
    // not fit Windows-1252); then the whole file moves to UTF-8, each line
    // keeping its text. False, with nothing changed, for a name the format
    // cannot hold (empty, blanks around it, control characters, "=" in a
    // key, ...) or a value that holds a line break, a NUL or half a surrogate
    // pair.
    bool setValue(QStringView section, QStringView key, QStringView value);

    const QByteArray& bytes() const;

private:
    std::shared_ptr<const IniText> m_text;
};
