#pragma once

#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

// Rounding of single-precision values to the nearest integer, halves to even, without a library call.
namespace RoundFloat {

// The nearest integer of a value known to lie within the 32-bit range.
inline int32_t ToInt(float value) {
#if defined(__SSE2__)
    return _mm_cvtss_si32(_mm_set_ss(value));
#else
    return static_cast<int32_t>(std::nearbyint(value));
#endif
}

}  // namespace RoundFloat
