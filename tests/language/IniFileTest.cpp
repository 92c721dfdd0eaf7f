#include "language/IniFile.h"

#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

using namespace std::string_view_literals;

namespace {

QByteArray bytes(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

// The plain cases (quotes, case, sections, "0001" beside "00012") are read
// from files in LanguageFilesTest, at sizes around the old 64000-byte limit.
TEST(IniFile, LookupFollowsTheProfileRules)
{
    // name, file, section, key, value
    const std::tuple<const char*, std::string_view, const char16_t*, const char16_t*, const char16_t*> rows[] = {
        {"BlanksAroundKeyAndValue", "[S]\r\n \t k \t= \t abc \t\r\n"sv, u"S", u"k", u"abc"},
        {"BlanksInsideQuotesKept", "[S]\r\nk= \"  a b  \" \r\n"sv, u"S", u"k", u"  a b  "},
        {"LoneQuoteKept", "[S]\r\nk=\"abc\r\n"sv, u"S", u"k", u"\"abc"},
        {"SingleQuoteCharacter", "[S]\r\nk=\"\r\n"sv, u"S", u"k", u"\""},
        {"EmptyQuotes", "[S]\r\nk=\"\"\r\n"sv, u"S", u"k", u""},
        {"EqualsInValue", "[S]\r\nk=a=b\r\n"sv, u"S", u"k", u"a=b"},
        {"BlankInsideKey", "[S]\r\nmy key = v\r\n"sv, u"S", u"my key", u"v"},
        {"BlanksInsideBrackets", "  [ Form1 ]  \r\nk=1\r\n"sv, u"FORM1", u"k", u"1"},
        {"KeyOnlyInOtherSection", "[A]\r\nk=1\r\n[B]\r\nj=2\r\n"sv, u"B", u"k", u""},
        {"ShorterKeyIsNoMatch", "[S]\r\n0001=\"y\"\r\n"sv, u"S", u"00012", u""},
        {"KeyTextInsideValue", "[S]\r\nother=k=1\r\n"sv, u"S", u"k", u""},
        {"AbsentSection", "[S]\r\nk=1\r\n"sv, u"T", u"k", u""},
        {"FirstOfTwoKeysWins", "[S]\r\nk=1\r\nK=2\r\n"sv, u"S", u"k", u"1"},
        {"FirstOfTwoSectionsWins", "[S]\r\na=1\r\n[s]\r\nb=2\r\n"sv, u"S", u"b", u""},
        {"CommentsIgnored", "[S]\r\n;k=1\r\n  # k=2\r\n;[T]\r\nk=3\r\n"sv, u"S", u"k", u"3"},
        {"EntryBeforeAnySection", "k=1\r\n[S]\r\n"sv, u"S", u"k", u""},
        {"UnclosedBracketIsNoHeader", "[S]\r\n[T\r\nk=1\r\n"sv, u"S", u"k", u"1"},
        {"LfOnly", "[A]\nk=1\n[B]\nk=2\n"sv, u"B", u"k", u"2"},
        {"CrOnly", "[A]\rk=1\r[B]\rk=2\r"sv, u"B", u"k", u"2"},
        {"MixedLineEnds", "[A]\r\nk=1\r[B]\nk=2"sv, u"B", u"k", u"2"},
        {"NoFinalLineBreak", "[S]\r\nk=last"sv, u"S", u"k", u"last"},
        {"EmptyValue", "[S]\r\nk=\r\nj=1\r\n"sv, u"S", u"k", u""},
        {"NulEndsValue", "[S]\r\nk=ab\0cd\r\n"sv, u"S", u"k", u"ab"},
        {"NulElsewhereHarmless", "[S\0]\r\n[S]\r\nx=\0\0\r\n\0k=0\r\nk=1\r\n"sv, u"S", u"k", u"1"},
        {"EmptyKeyNeverMatches", "[S]\r\n=1\r\n"sv, u"S", u"", u""},
        {"KeyWithEqualsNeverMatches", "[S]\r\na=b=1\r\n"sv, u"S", u"a=b", u""},
        {"Utf8WithByteOrderMark", "\xEF\xBB\xBF[S]\r\nk=\xE2\x82\xAC\r\n"sv, u"S", u"k", u"€"},
        {"ByteOrderMarkInValueIsText", "\xEF\xBB\xBF[S]\r\nk=\xEF\xBB\xBFx\r\n"sv, u"S", u"k", u"\uFEFFx"},
        {"InvalidByteElsewhereMeans1252", "[S]\r\nk=\xC3\xA8\r\nx=\xE8\r\n"sv, u"S", u"k", u"Ã¨"},
        {"Utf8Names", "[Sezione \xC3\xA0]\r\nPerch\xC3\xA9=s\xC3\xAC\r\n"sv, u"Sezione à", u"Perché", u"sì"},
        {"Windows1252Names", "[Sezione \xE0]\r\nPerch\xE9=s\xEC\r\n"sv, u"Sezione à", u"Perché", u"sì"},
        {"NameBeyondWindows1252", "[S]\r\nk=\xE8\r\n"sv, u"S", u"\u65E5", u""},
    };
    for (const auto& [name, file, section, key, expected] : rows)
        EXPECT_EQ(IniFile(bytes(file)).value(section, key), QStringView(expected).toString()) << name;
}

// The 511-character cut itself is checked on files in LanguageFilesTest.
TEST(IniFile, CutNeverLeavesHalfACharacter)
{
    const QString value = QString(IniFile::MaxValueLength - 1, u'a') + QStringLiteral(u"\U0001F600");
    EXPECT_EQ(IniFile("[S]\r\nk=" + value.toUtf8() + "\r\n").value(u"S", u"k"), value.left(IniFile::MaxValueLength - 1));
}

// Every row writes [Language] CurrentLanguage: the one entry the program stores.
// Another entry, Other, must read back as before: whether a file reads as
// UTF-8 depends on all its bytes, the replaced ones included.
TEST(IniFile, WriteChangesOnlyTheEntry)
{
    // name, file before, value, file after
    const std::tuple<const char*, std::string_view, const char16_t*, std::string_view> rows[] = {
        {"ReplacesAndKeepsTheRest",
         "; settings\r\n[Language]\r\nCurrentLanguage=Italiano\r\nOther=1\r\n\r\n[X]\r\nCurrentLanguage=2\r\n"sv,
         u"English",
         "; settings\r\n[Language]\r\nCurrentLanguage=English\r\nOther=1\r\n\r\n[X]\r\nCurrentLanguage=2\r\n"sv},
        {"KeepsTheFilesSpelling", "[language]\r\n  currentLANGUAGE = \"Italiano\"\r\n"sv, u"English",
         "[language]\r\ncurrentLANGUAGE=English\r\n"sv},
        {"AddsAfterTheLastEntry", "[Language]\r\na=1\r\n\r\n; next\r\n[X]\r\n"sv, u"English",
         "[Language]\r\na=1\r\nCurrentLanguage=English\r\n\r\n; next\r\n[X]\r\n"sv},
        {"AddsToAnEmptySection", "[Language]\r\n[X]\r\n"sv, u"English", "[Language]\r\nCurrentLanguage=English\r\n[X]\r\n"sv},
        {"AddsToALastLineWithoutBreak", "[Language]\r\na=1"sv, u"English", "[Language]\r\na=1\r\nCurrentLanguage=English"sv},
        {"AddsTheSection", "[X]\r\nx=1"sv, u"English", "[X]\r\nx=1\r\n[Language]\r\nCurrentLanguage=English\r\n"sv},
        {"KeepsLfLineBreaks", "[X]\nx=1\n"sv, u"English", "[X]\nx=1\n[Language]\nCurrentLanguage=English\n"sv},
        {"KeepsTheByteOrderMark", "\xEF\xBB\xBF[Language]\r\nCurrentLanguage=A\r\n"sv, u"English",
         "\xEF\xBB\xBF[Language]\r\nCurrentLanguage=English\r\n"sv},
        {"QuotesWhatReadingWouldDrop", ""sv, u" \"x\" ", "[Language]\r\nCurrentLanguage=\" \"x\" \"\r\n"sv},
        {"NewFileInUtf8", ""sv, u"Français", "[Language]\r\nCurrentLanguage=Fran\xC3\xA7" "ais\r\n"sv},
        {"Windows1252FileStays1252", "; caff\xE8\r\n"sv, u"Français",
         "; caff\xE8\r\n[Language]\r\nCurrentLanguage=Fran\xE7" "ais\r\n"sv},
        {"Windows1252FileMovesToUtf8", "; caff\xE8\r\n"sv, u"\u65E5\u672C",
         "; caff\xC3\xA8\r\n[Language]\r\nCurrentLanguage=\xE6\x97\xA5\xE6\x9C\xAC\r\n"sv},
        {"Windows1252FileKeepsItsMeaning", "[Language]\r\nCurrentLanguage=Caff\xE9\r\nOther=Citt\xC3\xA0\r\n"sv, u"Bar",
         "[Language]\r\nCurrentLanguage=Bar\r\nOther=Citt\xC3\x83\xC2\xA0\r\n"sv},
        {"Windows1252ValueKeepsItsMeaning", "[Language]\r\nCurrentLanguage=\xE9\r\n"sv, u"\u00C3\u00A9",
         "[Language]\r\nCurrentLanguage=\xC3\x83\xC2\xA9\r\n"sv},
        {"Windows1252StaysWhereItCan", "[Language]\r\nCurrentLanguage=\xE9\r\nOther=\xE0\r\n"sv, u"Bar",
         "[Language]\r\nCurrentLanguage=Bar\r\nOther=\xE0\r\n"sv},
    };
    for (const auto& [name, before, value, after] : rows) {
        IniFile file(bytes(before));
        const QString other = file.value(u"Language", u"Other");
        ASSERT_TRUE(file.setValue(u"Language", u"CurrentLanguage", value)) << name;
        EXPECT_EQ(file.bytes(), bytes(after)) << name;
        EXPECT_EQ(file.value(u"Language", u"CurrentLanguage"), QStringView(value).toString()) << name;
        EXPECT_EQ(file.value(u"Language", u"Other"), other) << name;
    }
}

TEST(IniFile, RefusedWritesLeaveTheFileAlone)
{
    const std::tuple<const char16_t*, const char16_t*, std::u16string_view> rows[] = {
        {u"", u"k", u"v"}, {u"S", u"", u"v"}, {u"S", u"a=b", u"v"}, {u"S", u";k", u"v"}, {u"S", u"[k]", u"v"},
        {u"S ", u"k", u"v"}, {u"S\r\n[T", u"k", u"v"}, {u"S", u"k", u"a\nb=c"}, {u"S", u"k", u"a\0b"sv},
        {u"S", u"k", u"a\xD800"}, {u"\xDC00", u"k", u"v"}, // half a surrogate pair has no spelling
    };
    const QByteArray before = "[S]\r\nk=1\r\n";
    for (const auto& [section, key, value] : rows) {
        IniFile file(before);
        EXPECT_FALSE(file.setValue(section, key, QStringView(value.data(), qsizetype(value.size()))))
            << QString::fromUtf16(section).toStdString() << '|' << QString::fromUtf16(key).toStdString();
        EXPECT_EQ(file.bytes(), before);
    }
}

} // namespace
