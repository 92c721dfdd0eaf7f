// Reading a typed numeral: any text gives a number, never a crash. Once, at
// start-up: every numeral written for 1 to 3999 reads back, with and without
// its blanks, in either case.

#include "roman/ModuloRomano.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::int16_t LargestNumeral = 3999;

std::string withoutBlanks(std::string text)
{
    std::erase(text, ' ');
    return text;
}

std::string inLowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return char(std::tolower(c)); });
    return text;
}

void checkEveryNumeralReadsBack()
{
    for (std::int16_t number = 1; number <= LargestNumeral; ++number) {
        const std::string numeral = ModuloRomano::TraduciRomano(number);
        for (const std::string& text : {numeral, withoutBlanks(numeral), inLowerCase(numeral),
                                        inLowerCase(withoutBlanks(numeral))}) {
            if (ModuloRomano::LeggiRomano(text) != number) {
                std::fprintf(stderr, "\"%s\" reads as %d, not %d\n", text.c_str(), ModuloRomano::LeggiRomano(text),
                             number);
                std::abort();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    checkEveryNumeralReadsBack();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::int16_t number = ModuloRomano::LeggiRomano(std::string_view(reinterpret_cast<const char*>(data), size));
    if (number < 0)
        std::abort();
    return 0;
}
