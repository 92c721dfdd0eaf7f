#include "language/IniFile.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace std::string_view_literals;

namespace {

QByteArray bytes(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

struct LookupCase
{
    const char* name;
    std::string_view file;
    const char16_t* section;
    const char16_t* key;
    const char16_t* expected;
};

class Lookup : public testing::TestWithParam<LookupCase> {};

TEST_P(Lookup, FollowsTheProfileRules)
{
    const LookupCase& row = GetParam();
    EXPECT_EQ(IniFile(bytes(row.file)).value(row.section, row.key), QString::fromUtf16(row.expected));
}

INSTANTIATE_TEST_SUITE_P(IniFile, Lookup, testing::Values(
    LookupCase{"QuotedValue", "[Strings]\r\n0001=\"Vuoi uscire?\"\r\n"sv, u"Strings", u"0001", u"Vuoi uscire?"},
    LookupCase{"UnquotedValueWhole", "[S]\r\nk=abc\r\n"sv, u"S", u"k", u"abc"},
    LookupCase{"BlanksAroundKeyAndValue", "[S]\r\n \t k \t= \t abc \t\r\n"sv, u"S", u"k", u"abc"},
    LookupCase{"BlanksInsideQuotesKept", "[S]\r\nk= \"  a b  \" \r\n"sv, u"S", u"k", u"  a b  "},
    LookupCase{"LoneQuoteKept", "[S]\r\nk=\"abc\r\n"sv, u"S", u"k", u"\"abc"},
    LookupCase{"SingleQuoteCharacter", "[S]\r\nk=\"\r\n"sv, u"S", u"k", u"\""},
    LookupCase{"EmptyQuotes", "[S]\r\nk=\"\"\r\n"sv, u"S", u"k", u""},
    LookupCase{"EqualsInValue", "[S]\r\nk=a=b\r\n"sv, u"S", u"k", u"a=b"},
    LookupCase{"BlankInsideKey", "[S]\r\nmy key = v\r\n"sv, u"S", u"my key", u"v"},
    LookupCase{"KeyInOtherCase", "[Form1]\r\nCommand1.Caption=X\r\n"sv, u"form1", u"command1.caption", u"X"},
    LookupCase{"BlanksInsideBrackets", "  [ Form1 ]  \r\nk=1\r\n"sv, u"FORM1", u"k", u"1"},
    LookupCase{"SameKeyFirstSection", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n"sv, u"A", u"k", u"1"},
    LookupCase{"SameKeySecondSection", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n"sv, u"B", u"k", u"2"},
    LookupCase{"KeyOnlyInOtherSection", "[A]\r\nk=1\r\n[B]\r\nj=2\r\n"sv, u"B", u"k", u""},
    LookupCase{"LongerKeyIsNoMatch", "[S]\r\n00012=\"x\"\r\n0001=\"y\"\r\n"sv, u"S", u"0001", u"y"},
    LookupCase{"ShorterKeyIsNoMatch", "[S]\r\n0001=\"y\"\r\n"sv, u"S", u"00012", u""},
    LookupCase{"KeyTextInsideValue", "[S]\r\nother=k=1\r\n"sv, u"S", u"k", u""},
    LookupCase{"AbsentSection", "[S]\r\nk=1\r\n"sv, u"T", u"k", u""},
    LookupCase{"FirstOfTwoKeysWins", "[S]\r\nk=1\r\nK=2\r\n"sv, u"S", u"k", u"1"},
    LookupCase{"FirstOfTwoSectionsWins", "[S]\r\na=1\r\n[s]\r\nb=2\r\n"sv, u"S", u"b", u""},
    LookupCase{"CommentsIgnored", "[S]\r\n;k=1\r\n  # k=2\r\n;[T]\r\nk=3\r\n"sv, u"S", u"k", u"3"},
    LookupCase{"EntryBeforeAnySection", "k=1\r\n[S]\r\n"sv, u"S", u"k", u""},
    LookupCase{"UnclosedBracketIsNoHeader", "[S]\r\n[T\r\nk=1\r\n"sv, u"S", u"k", u"1"},
    LookupCase{"LfOnly", "[A]\nk=1\n[B]\nk=2\n"sv, u"B", u"k", u"2"},
    LookupCase{"CrOnly", "[A]\rk=1\r[B]\rk=2\r"sv, u"B", u"k", u"2"},
    LookupCase{"MixedLineEnds", "[A]\r\nk=1\r[B]\nk=2"sv, u"B", u"k", u"2"},
    LookupCase{"NoFinalLineBreak", "[S]\r\nk=last"sv, u"S", u"k", u"last"},
    LookupCase{"EmptyValue", "[S]\r\nk=\r\nj=1\r\n"sv, u"S", u"k", u""},
    LookupCase{"ByteOrderMark", "\xEF\xBB\xBF[S]\r\nk=1\r\n"sv, u"S", u"k", u"1"},
    LookupCase{"NulEndsValue", "[S]\r\nk=ab\0cd\r\n"sv, u"S", u"k", u"ab"},
    LookupCase{"NulElsewhereHarmless", "[S\0]\r\n[S]\r\nx=\0\0\r\n\0k=0\r\nk=1\r\n"sv, u"S", u"k", u"1"},
    LookupCase{"EmptyKeyNeverMatches", "[S]\r\n=1\r\n"sv, u"S", u"", u""},
    LookupCase{"KeyWithEqualsNeverMatches", "[S]\r\na=b=1\r\n"sv, u"S", u"a=b", u""},
    LookupCase{"Utf8", "[S]\r\nk=Non \xC3\xA8 vero\r\n"sv, u"S", u"k", u"Non è vero"},
    LookupCase{"Utf8WithByteOrderMark", "\xEF\xBB\xBF[S]\r\nk=\xE2\x82\xAC\r\n"sv, u"S", u"k", u"€"},
    LookupCase{"Windows1252", "[S]\r\nk=Non \xE8 vero\r\n"sv, u"S", u"k", u"Non è vero"},
    LookupCase{"Windows1252Euro", "[S]\r\nk=\x80\r\n"sv, u"S", u"k", u"€"},
    LookupCase{"InvalidByteElsewhereMeans1252", "[S]\r\nk=\xC3\xA8\r\nx=\xE8\r\n"sv, u"S", u"k", u"Ã¨"},
    LookupCase{"Utf8Names", "[Sezione \xC3\xA0]\r\nPerch\xC3\xA9=s\xC3\xAC\r\n"sv, u"Sezione à", u"Perché", u"sì"},
    LookupCase{"Windows1252Names", "[Sezione \xE0]\r\nPerch\xE9=s\xEC\r\n"sv, u"Sezione à", u"Perché", u"sì"},
    LookupCase{"NameBeyondWindows1252", "[S]\r\nk=\xE8\r\n"sv, u"S", u"\u65E5", u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileLookup, ValueIsCutTo511Characters)
{
    const QString value(600, u'x');
    const IniFile file("[S]\r\nk=\"" + value.toLatin1() + "\"\r\n");
    EXPECT_EQ(file.value(u"S", u"k"), value.left(IniFile::MaxValueLength));
}

TEST(IniFileLookup, CutNeverLeavesHalfACharacter)
{
    const QString value = QString(IniFile::MaxValueLength - 1, u'a') + QStringLiteral(u"\U0001F600");
    const IniFile file("[S]\r\nk=" + value.toUtf8() + "\r\n");
    EXPECT_EQ(file.value(u"S", u"k"), value.left(IniFile::MaxValueLength - 1));
}

TEST(IniFileLookup, KeyNearEveryBlockBoundaryIsFound)
{
    for (int padding = 0; padding < 140; ++padding) {
        const QByteArray text = "[S]\r\n" + QByteArray(padding, ';') + "\r\nCommand1.Caption=v\r\nx=1";
        EXPECT_EQ(IniFile(text).value(u"s", u"COMMAND1.CAPTION"), u"v") << "padding " << padding;
    }
}

struct WriteCase
{
    const char* name;
    std::string_view before;
    const char16_t* value;
    std::string_view after;
};

class Write : public testing::TestWithParam<WriteCase> {};

// Every row writes [Language] CurrentLanguage: the one entry the program stores.
TEST_P(Write, ChangesOnlyTheEntry)
{
    const WriteCase& row = GetParam();
    IniFile file(bytes(row.before));
    ASSERT_TRUE(file.setValue(u"Language", u"CurrentLanguage", row.value));
    EXPECT_EQ(file.bytes(), bytes(row.after));
    EXPECT_EQ(file.value(u"Language", u"CurrentLanguage"), QString::fromUtf16(row.value));
}

INSTANTIATE_TEST_SUITE_P(IniFile, Write, testing::Values(
    WriteCase{"NewFile", ""sv, u"English", "[Language]\r\nCurrentLanguage=English\r\n"sv},
    WriteCase{"ReplacesAndKeepsTheRest",
              "; settings\r\n[Language]\r\nCurrentLanguage=Italiano\r\nOther=1\r\n\r\n[X]\r\nCurrentLanguage=2\r\n"sv,
              u"English",
              "; settings\r\n[Language]\r\nCurrentLanguage=English\r\nOther=1\r\n\r\n[X]\r\nCurrentLanguage=2\r\n"sv},
    WriteCase{"KeepsTheFilesSpelling", "[language]\r\n  currentLANGUAGE = \"Italiano\"\r\n"sv, u"English",
              "[language]\r\ncurrentLANGUAGE=English\r\n"sv},
    WriteCase{"AddsAfterTheLastEntry", "[Language]\r\na=1\r\n\r\n; next\r\n[X]\r\n"sv, u"English",
              "[Language]\r\na=1\r\nCurrentLanguage=English\r\n\r\n; next\r\n[X]\r\n"sv},
    WriteCase{"AddsToAnEmptySection", "[Language]\r\n[X]\r\n"sv, u"English",
              "[Language]\r\nCurrentLanguage=English\r\n[X]\r\n"sv},
    WriteCase{"AddsToALastLineWithoutBreak", "[Language]\r\na=1"sv, u"English",
              "[Language]\r\na=1\r\nCurrentLanguage=English"sv},
    WriteCase{"AddsTheSection", "[X]\r\nx=1"sv, u"English", "[X]\r\nx=1\r\n[Language]\r\nCurrentLanguage=English\r\n"sv},
    WriteCase{"KeepsLfLineBreaks", "[X]\nx=1\n"sv, u"English", "[X]\nx=1\n[Language]\nCurrentLanguage=English\n"sv},
    WriteCase{"KeepsTheByteOrderMark", "\xEF\xBB\xBF[Language]\r\nCurrentLanguage=A\r\n"sv, u"English",
              "\xEF\xBB\xBF[Language]\r\nCurrentLanguage=English\r\n"sv},
    WriteCase{"QuotesWhatReadingWouldDrop", ""sv, u" \"x\" ", "[Language]\r\nCurrentLanguage=\" \"x\" \"\r\n"sv},
    WriteCase{"Utf8", ""sv, u"Français", "[Language]\r\nCurrentLanguage=Fran\xC3\xA7" "ais\r\n"sv},
    WriteCase{"Windows1252FileStays1252", "; caff\xE8\r\n"sv, u"Français",
              "; caff\xE8\r\n[Language]\r\nCurrentLanguage=Fran\xE7" "ais\r\n"sv},
    WriteCase{"Windows1252FileMovesToUtf8", "; caff\xE8\r\n"sv, u"\u65E5\u672C",
              "; caff\xC3\xA8\r\n[Language]\r\nCurrentLanguage=\xE6\x97\xA5\xE6\x9C\xAC\r\n"sv}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedWrite
{
    const char* name;
    const char16_t* section;
    const char16_t* key;
    std::u16string_view value;
};

class RefusedWrites : public testing::TestWithParam<RefusedWrite> {};

TEST_P(RefusedWrites, LeaveTheFileAlone)
{
    const QByteArray before = "[S]\r\nk=1\r\n";
    IniFile file(before);
    const RefusedWrite& row = GetParam();
    EXPECT_FALSE(file.setValue(row.section, row.key, QStringView(row.value.data(), qsizetype(row.value.size()))));
    EXPECT_EQ(file.bytes(), before);
}

INSTANTIATE_TEST_SUITE_P(IniFile, RefusedWrites, testing::Values(
    RefusedWrite{"EmptySection", u"", u"k", u"v"},
    RefusedWrite{"EmptyKey", u"S", u"", u"v"},
    RefusedWrite{"KeyWithEquals", u"S", u"a=b", u"v"},
    RefusedWrite{"KeyLikeAComment", u"S", u";k", u"v"},
    RefusedWrite{"KeyLikeAHeader", u"S", u"[k]", u"v"},
    RefusedWrite{"BlankAroundName", u"S ", u"k", u"v"},
    RefusedWrite{"LineBreakInSection", u"S\r\n[T", u"k", u"v"},
    RefusedWrite{"LineBreakInValue", u"S", u"k", u"a\nb=c"},
    RefusedWrite{"NulInValue", u"S", u"k", u"a\0b"sv}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
