#include "language/IniFile.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// The profile rules (blanks, quotes, case, comments, line ends, NUL bytes,
// the first of two names, both encodings, the 511-character cut that never
// leaves half a character, a byte order mark inside a value read as text) are
// held to a plain reader of the same rules by replaying fuzz/corpus/ini_read.
// What that replay cannot ask: a name beyond Windows-1252, of a Windows-1252
// file, names no entry.
TEST(IniFile, ANameBeyondWindows1252NamesNoEntry)
{
    EXPECT_EQ(IniFile("[S]\r\nk=\xE8\r\n").value(u"S", u"\u65E5"), QString());
}

// Every row writes [Language] CurrentLanguage, the one entry the program
// stores: the file keeps every other byte, or moves whole to UTF-8 where its
// encoding would change. That the written entry and every other one read
// back as meant (a Windows-1252 file's other entries and value included) is
// checked by replaying fuzz/corpus/ini_write (encoding, windows1252_*).
TEST(IniFile, WriteChangesOnlyTheEntry)
{
    // name, file before, value, file after
    const std::tuple<const char*, const char*, const char16_t*, const char*> rows[] = {
        {"KeepsTheMarkAndTheFilesSpelling", "\xEF\xBB\xBF[language]\r\n  currentLANGUAGE = \"Italiano\"\r\n",
         u"English", "\xEF\xBB\xBF[language]\r\ncurrentLANGUAGE=English\r\n"},
        {"AddsAfterTheLastEntryNotAfterAComment", "[Language]\r\na=1\r\n\r\n; old=1\r\n[X]\r\n", u"English",
         "[Language]\r\na=1\r\nCurrentLanguage=English\r\n\r\n; old=1\r\n[X]\r\n"},
        {"AddsTheSectionInUtf8WithTheFilesLineBreak", "[X]\nx=1", u"Français",
         "[X]\nx=1\n[Language]\nCurrentLanguage=Fran\xC3\xA7" "ais\n"},
        {"Windows1252FileStays1252", "; caff\xE8\r\n", u"Français",
         "; caff\xE8\r\n[Language]\r\nCurrentLanguage=Fran\xE7" "ais\r\n"},
        {"Windows1252FileMovesToUtf8", "; caff\xE8\r\n", u"\u65E5\u672C",
         "; caff\xC3\xA8\r\n[Language]\r\nCurrentLanguage=\xE6\x97\xA5\xE6\x9C\xAC\r\n"},
    };
    for (const auto& [name, before, value, after] : rows) {
        IniFile file(before);
        EXPECT_TRUE(file.setValue(u"Language", u"CurrentLanguage", value)) << name;
        EXPECT_EQ(file.bytes(), after) << name;
    }
}

// What the format cannot hold is refused (names with blanks at their edges,
// control characters, "=" in a key, line breaks in a value: the ini_write
// seeds named refuse_*); a NUL or half a surrogate pair, which no seed can
// carry, has no spelling either.
TEST(IniFile, RefusedWritesLeaveTheFileAlone)
{
    const std::tuple<QStringView, QStringView> rows[] = {
        {u"S", QStringView(u"a\0b", 3)}, {u"S", u"a\xD800"}, {u"\xDC00", u"v"}};
    const QByteArray before = "[S]\r\nk=1\r\n";
    for (const auto& [section, value] : rows) {
        IniFile file(before);
        EXPECT_FALSE(file.setValue(section, u"k", value));
        EXPECT_EQ(file.bytes(), before);
    }
}

} // namespace
