#include "roman/ModuloRomano.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <limits>
#include <ostream>
#include <string>

namespace ModuloRomano {
// Lets a failing group comparison show the texts instead of raw bytes.
void PrintTo(const NumeraleInGruppi& g, std::ostream* os)
{
    *os << '"' << g.numerale << "\" = \"" << g.migliaia << "\" + \"" << g.centinaia << "\" + \""
        << g.decine << "\" + \"" << g.unita << '"';
}
} // namespace ModuloRomano

using namespace ModuloRomano;

namespace {

constexpr int kPiuGrandeNumerale = 3999;

template <typename Riga>
std::string NomeRiga(const testing::TestParamInfo<Riga>& info)
{
    return info.param.nome;
}

std::string Ripeti(char lettera, std::size_t volte)
{
    return std::string(volte, lettera);
}

struct RigaTraduci {
    std::string nome;
    std::int16_t numero;
    std::string atteso;
};

class TraduciRomanoTest : public testing::TestWithParam<RigaTraduci> {};

TEST_P(TraduciRomanoTest, WritesTheSpacedNumeral)
{
    EXPECT_EQ(TraduciRomano(GetParam().numero), GetParam().atteso);
}

INSTANTIATE_TEST_SUITE_P(Numbers, TraduciRomanoTest,
    testing::Values(
        RigaTraduci{"ZeroIsEmpty", 0, ""},
        RigaTraduci{"NegativeIsEmpty", -7, ""},
        RigaTraduci{"SmallestNegativeIsEmpty", std::numeric_limits<std::int16_t>::min(), ""},
        RigaTraduci{"One", 1, "I "},
        RigaTraduci{"Four", 4, "IV "},
        RigaTraduci{"Nine", 9, "IX "},
        RigaTraduci{"Fourteen", 14, "X IV "},
        RigaTraduci{"Forty", 40, "XL "},
        RigaTraduci{"FortyNine", 49, "XL IX "},
        RigaTraduci{"NinetyNine", 99, "XC IX "},
        RigaTraduci{"FourHundredFortyFour", 444, "CD XL IV "},
        RigaTraduci{"LongestBelowAThousand", 888, "D C C C L X X X V I I I "},
        RigaTraduci{"NineHundredNinetyNine", 999, "CM XC IX "},
        RigaTraduci{"NineteenNinetyFour", 1994, "M CM XC IV "},
        RigaTraduci{"TwoThousandNineHundredNinetyNine", 2999, "M M CM XC IX "},
        RigaTraduci{"HardestLevelCap", 3000, "M M M "},
        RigaTraduci{"LargestNumeral", 3999, "M M M CM XC IX "}),
    NomeRiga<RigaTraduci>);

struct RigaGruppi {
    std::string nome;
    std::int16_t numero;
    NumeraleInGruppi atteso;
};

class TraduciRomanoInGruppiTest : public testing::TestWithParam<RigaGruppi> {};

TEST_P(TraduciRomanoInGruppiTest, CutsTheNumeralByPlace)
{
    EXPECT_EQ(TraduciRomanoInGruppi(GetParam().numero), GetParam().atteso);
}

// CM sits with the thousands and XC with the hundreds, but IX with the units.
INSTANTIATE_TEST_SUITE_P(Numbers, TraduciRomanoInGruppiTest,
    testing::Values(
        RigaGruppi{"ZeroHasOnlyEmptyTexts", 0, {"", "", "", "", ""}},
        RigaGruppi{"OnlyTensAndUnits", 38, {"X X X V I I I ", "", "", "X X X ", "V I I I "}},
        RigaGruppi{"NinetyIsAHundredsToken", 90, {"XC ", "", "XC ", "", ""}},
        RigaGruppi{"NineHundredIsAThousandsToken", 990, {"CM XC ", "CM ", "XC ", "", ""}},
        RigaGruppi{"NineteenNinetyFour", 1994, {"M CM XC IV ", "M CM ", "XC ", "", "IV "}},
        RigaGruppi{"NineIsAUnitsToken", 2999, {"M M CM XC IX ", "M M CM ", "XC ", "", "IX "}},
        RigaGruppi{"EveryGroupFilled", 3888,
                   {"M M M D C C C L X X X V I I I ", "M M M ", "D C C C ", "L X X X ", "V I I I "}}),
    NomeRiga<RigaGruppi>);

// The two conversions must never disagree, and the hint's groups must spell
// exactly the numeral shown above them - for any number, in range or not.
TEST(TraduciRomanoInGruppi, GroupsJoinedAreTheWholeNumeralOfTraduciRomano)
{
    for (int n = std::numeric_limits<std::int16_t>::min(); n <= std::numeric_limits<std::int16_t>::max(); ++n) {
        const auto numero = static_cast<std::int16_t>(n);
        const NumeraleInGruppi g = TraduciRomanoInGruppi(numero);
        ASSERT_EQ(g.numerale, TraduciRomano(numero)) << "number " << n;
        ASSERT_EQ(g.migliaia + g.centinaia + g.decine + g.unita, g.numerale) << "number " << n;
    }
}

struct RigaLeggi {
    std::string nome;
    std::string testo;
    std::int16_t atteso;
};

class LeggiRomanoTest : public testing::TestWithParam<RigaLeggi> {};

TEST_P(LeggiRomanoTest, ReadsTheText)
{
    EXPECT_EQ(LeggiRomano(GetParam().testo), GetParam().atteso) << '"' << GetParam().testo << '"';
}

INSTANTIATE_TEST_SUITE_P(UsualNumerals, LeggiRomanoTest,
    testing::Values(
        RigaLeggi{"Unspaced", "MCMXCIV", 1994},
        RigaLeggi{"SpacedWithoutTrailingBlank", "X X X V I I I", 38},
        RigaLeggi{"SmallLetters", "xxxviii", 38},
        RigaLeggi{"MixedCase", "mCmXcIv", 1994},
        RigaLeggi{"SpacedWithTrailingBlank", "M M M ", 3000}),
    NomeRiga<RigaLeggi>);

// A pupil's answer counts as right whenever it reads to the number asked for,
// so these loose spellings must keep reading exactly like this.
INSTANTIATE_TEST_SUITE_P(LooseSpellings, LeggiRomanoTest,
    testing::Values(
        RigaLeggi{"IIX", "IIX", 8},
        RigaLeggi{"VV", "VV", 10},
        RigaLeggi{"VIV", "VIV", 9},
        RigaLeggi{"IL", "IL", 49},
        RigaLeggi{"IC", "IC", 99},
        RigaLeggi{"XM", "XM", 990},
        RigaLeggi{"IM", "IM", 999},
        RigaLeggi{"LL", "LL", 100},
        RigaLeggi{"IIII", "IIII", 2},
        RigaLeggi{"IIIII", "IIIII", 3},
        RigaLeggi{"XXXX", "XXXX", 20},
        RigaLeggi{"CCCC", "CCCC", 200},
        RigaLeggi{"VX", "VX", 5},
        RigaLeggi{"DD", "DD", 0}),
    NomeRiga<RigaLeggi>);

// Each letter is read once with the total just below its threshold (added)
// and once with the total exactly at it (subtracted).
INSTANTIATE_TEST_SUITE_P(Thresholds, LeggiRomanoTest,
    testing::Values(
        RigaLeggi{"IAddedBelowThree", "III", 3},
        RigaLeggi{"ISubtractedAtThree", "IIII", 2},
        RigaLeggi{"VAddedBelowNine", "VIIX", 13},
        RigaLeggi{"VSubtractedAtNine", "VIX", 4},
        RigaLeggi{"XAddedBelowThirty", "XXXIX", 39},
        RigaLeggi{"XSubtractedAtThirty", "XXXX", 20},
        RigaLeggi{"LAddedBelowOneHundred", "LXCIX", 149},
        RigaLeggi{"LSubtractedAtOneHundred", "LC", 50},
        RigaLeggi{"CAddedBelowThreeHundred", "CCCXCIX", 399},
        RigaLeggi{"CSubtractedAtThreeHundred", "CCCC", 200},
        RigaLeggi{"DAddedBelowFiveHundred", "DCDXCIX", 999},
        RigaLeggi{"DSubtractedAtFiveHundred", "DD", 0},
        RigaLeggi{"MAlwaysAddedUpToTheExercisesLargestTotal", Ripeti('M', 20), 20000}),
    NomeRiga<RigaLeggi>);

INSTANTIATE_TEST_SUITE_P(NoNumeral, LeggiRomanoTest,
    testing::Values(
        RigaLeggi{"Empty", "", 0},
        RigaLeggi{"BlanksOnly", "     ", 0},
        RigaLeggi{"DigitsAndOtherLetters", "38 abefgh", 0},
        RigaLeggi{"NonAsciiBytes", "\xC3\xA9\xE2\x85\xAB", 0},
        RigaLeggi{"OtherCharactersAreSkipped", "X-x.x V/i,I!i?", 38}),
    NomeRiga<RigaLeggi>);

// The writing exercise passes at most 20 characters; longer texts must still
// give a defined number, the total sticking at the 16-bit maximum.
INSTANTIATE_TEST_SUITE_P(LongTexts, LeggiRomanoTest,
    testing::Values(
        RigaLeggi{"TotalStopsAtTheMaximum", Ripeti('M', 33), std::numeric_limits<std::int16_t>::max()},
        RigaLeggi{"SubtractingFromTheStoppedTotal", "I" + Ripeti('M', 100), 32766},
        RigaLeggi{"ManyOnesNeverGrowPastThree", Ripeti('I', 100000), 2}),
    NomeRiga<RigaLeggi>);

struct RigaGrafia {
    std::string nome;
    std::function<std::string(std::string)> scrivi;
};

std::string SenzaSpazi(std::string testo)
{
    std::erase(testo, ' ');
    return testo;
}

std::string InMinuscolo(std::string testo)
{
    std::transform(testo.begin(), testo.end(), testo.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return testo;
}

class LetturaDelNumeraleTest : public testing::TestWithParam<RigaGrafia> {};

// However the pupil types a numeral the program wrote - blanks or not, capital
// or small letters - it must read back to the number it came from.
TEST_P(LetturaDelNumeraleTest, ReadsBackEveryNumeral)
{
    for (int n = 1; n <= kPiuGrandeNumerale; ++n) {
        const auto numero = static_cast<std::int16_t>(n);
        const std::string testo = GetParam().scrivi(TraduciRomano(numero));
        ASSERT_EQ(LeggiRomano(testo), numero) << '"' << testo << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(Spellings, LetturaDelNumeraleTest,
    testing::Values(
        RigaGrafia{"AsWritten", [](std::string testo) { return testo; }},
        RigaGrafia{"WithoutBlanks", SenzaSpazi},
        RigaGrafia{"SmallLetters", InMinuscolo},
        RigaGrafia{"SmallLettersWithoutBlanks", [](std::string testo) { return InMinuscolo(SenzaSpazi(testo)); }}),
    NomeRiga<RigaGrafia>);

} // namespace
