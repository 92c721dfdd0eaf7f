#include "language/TextCodec.h"

#include <gtest/gtest.h>

#include <random>
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

// The check runs over chunks of many bytes at once. Random Italian-like texts,
// half of them spoiled by one byte anywhere, put every kind of sequence and
// fault across every chunk border. Qt's own check is the reference.
TEST(TextCodec, Utf8CheckAgreesWithQtOnRandomTexts)
{
    std::mt19937 generator(7);
    const char32_t characters[] = {U'a', U' ', U'\n', U'è', U'à', U'È', U'€', U'\u2019', U'\U0001F600', U'\uFFFD'};
    const char spoilers[] = {'\x80', '\xBF', '\xC0', '\xC1', '\xC3', '\xE0', '\xED', '\xF4', '\xF5', '\xFF', 'a'};
    std::uniform_int_distribution<int> pickCharacter(0, int(std::size(characters)) * 3);
    std::uniform_int_distribution<int> pickSpoiler(0, int(std::size(spoilers)) - 1);
    int valid = 0;
    for (int round = 0; round < 20000; ++round) {
        QString text;
        for (int length = int(generator() % 120); length > 0; --length) {
            const int choice = pickCharacter(generator);
            text += QString::fromUcs4(choice < int(std::size(characters)) ? &characters[choice] : U"x", 1);
        }
        QByteArray bytes = text.toUtf8();
        if (!bytes.isEmpty() && generator() % 2)
            bytes[qsizetype(generator() % bytes.size())] = spoilers[pickSpoiler(generator)];
        const bool expected = QByteArrayView(bytes).isValidUtf8();
        valid += expected;
        ASSERT_EQ(textcodec::isValidUtf8(bytes), expected) << bytes.toHex().constData();
    }
    EXPECT_GT(valid, 5000);
    EXPECT_LT(valid, 15000);
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
