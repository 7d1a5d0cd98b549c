#pragma once

#include <cstdint>

// A small seeded generator (PCG32) whose sequence is the same on every platform and library,
// so the generated pictures are byte-for-byte reproducible.
class Rng {
public:
    explicit Rng(std::uint64_t seed);

    std::uint32_t Next();
    // Uniform in [0, 1).
    double Unit();
    // Uniform in [lo, hi).
    double Range(double lo, double hi);
    // Uniform integer in [0, n).
    int Below(int n);

private:
    std::uint64_t m_state;
};
