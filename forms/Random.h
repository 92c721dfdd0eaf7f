#pragma once

#include <cstdint>
#include <vector>

namespace forms {

// The program's one random generator. Seeded once by the program from the
// clock; tests seed it to replay a session, or script the next draws.
void randomize(std::uint64_t seed);
void randomizeFromClock();
// A single-precision value in [0, 1).
float rnd();
// One of 0 to n - 1, each equally likely: the whole part of rnd() × n.
int randomIndex(int n);

// Test seam: the next draws give these values in [0, 1), in this order;
// then the generator goes on.
void scriptDraws(std::vector<float> values);

} // namespace forms
