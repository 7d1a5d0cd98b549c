#include "Rng.h"

Rng::Rng(std::uint64_t seed) : m_state(seed * 6364136223846793005ULL + 1442695040888963407ULL) { Next(); }

std::uint32_t Rng::Next() {
    const std::uint64_t old = m_state;
    m_state = old * 6364136223846793005ULL + 1442695040888963407ULL;
    const auto xorShifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
    const auto rot = static_cast<std::uint32_t>(old >> 59U);
    return (xorShifted >> rot) | (xorShifted << ((32U - rot) & 31U));
}

double Rng::Unit() { return Next() / 4294967296.0; }

double Rng::Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

int Rng::Below(int n) { return static_cast<int>(Unit() * n); }
