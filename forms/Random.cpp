#include "Random.h"

#include <chrono>
#include <random>

namespace forms {
namespace {
std::mt19937& generator()
{
    static std::mt19937 engine{std::mt19937::default_seed};
    return engine;
}
} // namespace

void randomize(std::uint64_t seed)
{
    std::seed_seq sequence{std::uint32_t(seed), std::uint32_t(seed >> 32)};
    generator().seed(sequence);
}

void randomizeFromClock()
{
    randomize(std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
}

float rnd()
{
    // 24 random bits fill a float's mantissa exactly, so 1.0 can never come.
    constexpr float kScale = 1.0f / 16777216.0f;
    return float(generator()() >> 8) * kScale;
}

} // namespace forms
