#include "platform/RibbonGroupSizing.h"

#include <cstddef>

namespace RibbonGroupSizing {

std::vector<Size> Choose(const std::vector<Widths>& groups, int overhead, int available) {
    std::vector<Size> sizes(groups.size(), Size::Large);
    int total = 0;
    for (const Widths& widths : groups) total += widths[static_cast<int>(Size::Large)] + overhead;
    for (Size step : {Size::Small, Size::IconsOnly, Size::Collapsed})
        for (std::size_t g = groups.size(); g-- > 0;) {
            if (total <= available)
                return sizes;
            const int now = groups[g][static_cast<int>(sizes[g])];
            const int then = groups[g][static_cast<int>(step)];
            if (then >= now)
                continue;
            total -= now - then;
            sizes[g] = step;
        }
    return sizes;
}

}  // namespace RibbonGroupSizing
