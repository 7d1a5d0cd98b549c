#pragma once

#include <cstdint>

// Channel reads and the closeness test on packed RGB values (red in the low byte), used to find the pie's
// colour under the mouse.
namespace MatchHelper {

// The low byte of the value.
int32_t RedOf(int32_t value);
// The value divided by 256, truncated toward zero.
int32_t GreenOf(int32_t value);
// The value divided by 65536, truncated toward zero.
int32_t BlueOf(int32_t value);
// True when red, green and blue, each cut to its low byte, differ by at most 10.
bool ColorsAreClose(int32_t a, int32_t b);

}  // namespace MatchHelper
