#include "Random.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <random>

namespace forms {
namespace {
std::mt19937& generator()
{
    static std::mt19937 engine{std::mt19937::default_seed};
    return engine;
}

std::deque<float>& scripted()
{
    static std::deque<float> draws;
    return draws;
}
} // namespace

void randomize(std::uint64_t seed)
{
    std::seed_seq sequence{std::uint32_t(seed), std::uint32_t(seed >> 32)};
    generator().seed(sequence);
    scripted().clear();
}

void randomizeFromClock()
{
    randomize(std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
}

float rnd()
{
    if (!scripted().empty()) {
        const float next = scripted().front();
        scripted().pop_front();
        return next;
    }
    // 24 random bits fill a float's mantissa exactly, so 1.0 can never come.
    constexpr float kScale = 1.0f / 16777216.0f;
    return float(generator()() >> 8) * kScale;
}

int randomIndex(int n)
{
    // The product rounds up to n for the draws just below 1 when n is large.
    return std::min(static_cast<int>(rnd() * float(n)), n - 1);
}

void scriptDraws(std::vector<float> values)
{
    scripted().assign(values.begin(), values.end());
}

} // namespace forms
