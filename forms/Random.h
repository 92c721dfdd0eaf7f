#pragma once

#include <cstdint>

namespace forms {

// The program's one random generator. Seeded once by the program from the
// clock; tests seed it to replay a session.
void randomize(std::uint64_t seed);
void randomizeFromClock();
// A single-precision value in [0, 1).
float rnd();

} // namespace forms
