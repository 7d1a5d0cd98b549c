#include "platform/Random.h"

#include <chrono>
#include <random>

namespace Random {

namespace {
std::mt19937& engine() {
    static std::mt19937 e{std::random_device{}()};
    return e;
}
}  // namespace

void Randomize() {
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    // Mixed with a counter so two reseeds within one clock tick still give different streams.
    static unsigned counter = 0;
    std::seed_seq seq{static_cast<unsigned>(now), static_cast<unsigned>(now >> 32), ++counter};
    engine().seed(seq);
}

float Rnd() {
    // 24 random bits fill a float's mantissa exactly, so the value is uniform and never reaches 1.
    return static_cast<float>(engine()() >> 8) * (1.0f / 16777216.0f);
}

}  // namespace Random
