// The process's one random source: a 32-bit linear congruential generator,
// seeded once at start-up. Only the deal draws from it.
#ifndef VREL_ENGINE_RANDOM_H_
#define VREL_ENGINE_RANDOM_H_

#include <cstdint>

void SeedRandom(std::uint32_t seed);
// The next value, 0 to 32767.
int NextRandom();

#endif  // VREL_ENGINE_RANDOM_H_
