// Roman numerals written with a blank after every token, cut by place, read
// back from whatever a pupil types, and judged strictly. The round trip of
// every numeral from 1 to 3999, with and without blanks, in either case, is
// checked by the numerals' fuzz target, whose seeds every build replays
// (fuzz.roman_seeds).

#include "roman/ModuloRomano.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <tuple>

using namespace ModuloRomano;

namespace {

constexpr std::int16_t kMinimo = std::numeric_limits<std::int16_t>::min();
constexpr std::int16_t kMassimo = std::numeric_limits<std::int16_t>::max();

// Each row holds the groups thousands|hundreds|tens|units: CM sits with the
// thousands and XC with the hundreds, but IX with the units. Joined, they are
// the whole numeral, for any number.
TEST(TraduciRomano, WritesTheSpacedNumeralCutByPlace)
{
    const std::map<std::int16_t, std::string> righe = {
        {0, "|||"}, {-7, "|||"}, {kMinimo, "|||"}, {1, "|||I "}, {4, "|||IV "}, {9, "|||IX "}, {14, "||X |IV "},
        {38, "||X X X |V I I I "}, {40, "||XL |"}, {49, "||XL |IX "}, {90, "|XC ||"}, {444, "|CD |XL |IV "},
        {888, "|D C C C |L X X X |V I I I "}, {999, "CM |XC ||IX "}, {1994, "M CM |XC ||IV "},
        {3000, "M M M |||"}, {3999, "M M M CM |XC ||IX "}};
    for (int n = kMinimo; n <= kMassimo; ++n) {
        const NumeraleInGruppi g = TraduciRomanoInGruppi(std::int16_t(n));
        ASSERT_EQ(g.migliaia + g.centinaia + g.decine + g.unita, g.numerale) << n;
        ASSERT_EQ(g.numerale, TraduciRomano(std::int16_t(n))) << n;
        const std::string cut = g.migliaia + '|' + g.centinaia + '|' + g.decine + '|' + g.unita;
        EXPECT_TRUE(!righe.contains(std::int16_t(n)) || righe.at(std::int16_t(n)) == cut) << n << ": " << cut;
    }
}

// A pupil's answer counts as right whenever it reads to the number asked for,
// so the loose spellings must keep reading exactly like this. The threshold
// rows read each letter once just below its threshold (added) and once at it
// (subtracted).
TEST(LeggiRomano, ReadsTheText)
{
    const std::pair<std::string, std::int16_t> righe[] = {
        // loose spellings (the usual numerals read back in the fuzz target's round trip)
        {"mCmXcIv", 1994}, {"IIX", 8}, {"VV", 10}, {"VIV", 9}, {"IL", 49}, {"IC", 99}, {"XM", 990}, {"IM", 999}, {"LL", 100},
        {"IIIII", 3}, {"VX", 5},
        // thresholds
        {"III", 3}, {"IIII", 2}, {"VIIX", 13}, {"VIX", 4}, {"XXXIX", 39}, {"XXXX", 20}, {"LXCIX", 149},
        {"LC", 50}, {"CCCXCIX", 399}, {"CCCC", 200}, {"DCDXCIX", 999}, {"DD", 0}, {std::string(20, 'M'), 20000},
        // no numeral, or other characters among the letters
        {"", 0}, {"     ", 0}, {"38 abefgh", 0}, {"\xC3\xA9\xE2\x85\xAB", 0}, {"X-x.x V/i,I!i?", 38},
        // longer than the writing exercise passes: the total sticks at the maximum
        {std::string(33, 'M'), kMassimo}, {"I" + std::string(100, 'M'), 32766}, {std::string(100000, 'I'), 2}};
    for (const auto& [testo, atteso] : righe)
        EXPECT_EQ(LeggiRomano(testo), atteso) << '"' << testo.substr(0, 40) << '"';
}

// The strict judge: only the standard numeral, however spaced or cased.
TEST(InFormaCorretta, TakesOnlyTheStandardNumeral)
{
    const std::tuple<std::string, std::int16_t, bool> righe[] = {
        {"X", 10, true}, {"x", 10, true}, {" m CM xc Iv ", 1994, true}, {"X X X V I I I", 38, true},
        {"MMM", 3000, true}, {"VV", 10, false}, {"IIX", 8, false}, {"VIII", 8, true}, {"IIII", 4, false},
        {"IV", 6, false}, {"XL", 40, true}, {"XXXX", 40, false}, {"X.", 10, false}, {"X\tI", 11, false},
        {"", 1, false}, {"   ", 1, false}, {"MCMXCIV", 1993, false}};
    for (const auto& [testo, numero, giusto] : righe)
        EXPECT_EQ(InFormaCorretta(testo, numero), giusto) << '"' << testo << "\" " << numero;
}

} // namespace
