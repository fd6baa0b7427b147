#pragma once
// The program's one random generator: the classic linear congruential generator with outputs
// 0..32767, seeded once by the timer. Nothing calls rand() directly.

#include <cstdint>

constexpr int RW_RAND_MAX = 0x7FFF;

void rwSrand(uint32_t seed);
int rwRand();
