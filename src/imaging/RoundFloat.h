#pragma once

#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

// Rounding of single-precision values to the nearest integer, halves to even, without a library call.
namespace RoundFloat {

// The nearest integral value as a float; exact for every float.
inline float Nearest(float value) {
    // Adding and taking away 2^23 leaves the integer part rounded by the hardware's own rule (to even).
    constexpr float shifter = 8388608.0f;
    const float magnitude = std::fabs(value);
    if (!(magnitude < shifter))
        return value;
    const float rounded = (magnitude + shifter) - shifter;
    return std::copysign(rounded, value);
}

// The nearest integer of a value known to lie within the 32-bit range.
inline int32_t ToInt(float value) {
#if defined(__SSE2__)
    return _mm_cvtss_si32(_mm_set_ss(value));
#else
    return static_cast<int32_t>(std::nearbyint(value));
#endif
}

}  // namespace RoundFloat
