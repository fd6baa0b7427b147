#include "engine/core/Random.h"

namespace {
uint32_t g_state = 1;
}

void rwSrand(uint32_t seed) { g_state = seed; }

int rwRand() {
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFF);
}
