#include "views/MatchHelper.h"

#include <cstdlib>
#include <initializer_list>

namespace MatchHelper {

int32_t RedOf(int32_t value) { return value & 0xFF; }

int32_t GreenOf(int32_t value) { return value / 256; }

int32_t BlueOf(int32_t value) { return value / 65536; }

bool ColorsAreClose(int32_t a, int32_t b) {
    constexpr int32_t tolerance = 10;
    // Red first, then green, then blue; the first channel too far apart decides.
    for (int32_t (*channel)(int32_t) : {RedOf, GreenOf, BlueOf})
        if (std::abs((channel(a) & 0xFF) - (channel(b) & 0xFF)) > tolerance)
            return false;
    return true;
}

}  // namespace MatchHelper
