#include "random.h"

namespace {
std::uint32_t g_nRandomState = 0;
}

void SeedRandom(std::uint32_t seed) { g_nRandomState = seed; }

int NextRandom() {
    g_nRandomState = g_nRandomState * 214013u + 2531011u;
    return static_cast<int>((g_nRandomState >> 16) & 0x7FFF);
}
