#include "platform/Random.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace Random {

namespace {

// SplitMix64: one word of state, so the reseed that every new colour makes costs no more than a draw (a
// Mersenne Twister refills 624 words for each reseed).
uint64_t& state() {
    static uint64_t s = (static_cast<uint64_t>(std::random_device{}()) << 32) ^ std::random_device{}();
    return s;
}

uint64_t next() {
    uint64_t z = (state() += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

void Randomize() {
    const auto now = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    // Mixed with a counter so two reseeds within one clock tick still give different streams.
    static uint64_t counter = 0;
    state() = now ^ (++counter * 0xD1B54A32D192ED03ull);
    next();
}

float Rnd() {
    // 24 random bits fill a float's mantissa exactly, so the value is uniform and never reaches 1.
    return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f);
}

}  // namespace Random
