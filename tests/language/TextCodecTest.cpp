#include "language/TextCodec.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace std::string_view_literals;

namespace {

QByteArrayView bytes(std::string_view text)
{
    return QByteArrayView(text.data(), qsizetype(text.size()));
}

TEST(TextCodec, Utf8ValidityMatchesTheStandardsTable)
{
    const std::pair<std::string_view, bool> rows[] = {
        {""sv, true}, {"ab\0cd"sv, true}, {"Tavendel e' un programma per esercitarsi: \xC3\xA8"sv, true},
        {"\xE2\x82\xAC \xF0\x9F\x98\x80"sv, true},
        {"Non \xE8 vero"sv, false},     // Windows-1252
        {"\x80"sv, false},              // lone continuation
        {"\xC0\xAF"sv, false},          // overlong
        {"\xE0\x80\xAF"sv, false},      // overlong
        {"\xED\xA0\x80"sv, false},      // surrogate
        {"\xF4\x90\x80\x80"sv, false},  // above U+10FFFF
        {"abc\xE2\x82"sv, false},       // cut at the end
        {"\xC3 x"sv, false}};           // cut before ASCII
    for (const auto& [text, valid] : rows)
        EXPECT_EQ(textcodec::isValidUtf8(bytes(text)), valid) << bytes(text).toByteArray().toHex().constData();
}

// The five bytes the code page leaves undefined keep their own code points.
TEST(TextCodec, Windows1252KeepsEveryByteAndRefusesWhatItCannotCarry)
{
    EXPECT_EQ(textcodec::fromWindows1252(bytes("Non \xE8 \x80 \x9F \x81\x8D\x8F\x90\x9D \xFF"sv)),
              QStringLiteral(u"Non è € Ÿ \u0081\u008D\u008F\u0090\u009D ÿ"));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(textcodec::toWindows1252(textcodec::fromWindows1252(all)), all);
    EXPECT_EQ(textcodec::toWindows1252(u"Fran\u00E7ais \u20AC"), QByteArray("Fran\xE7" "ais \x80"));
    EXPECT_FALSE(textcodec::toWindows1252(u"\u65E5\u672C"));
    EXPECT_FALSE(textcodec::toWindows1252(u"\u0080"));
}

} // namespace
