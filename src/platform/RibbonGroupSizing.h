#pragma once

#include <array>
#include <vector>

// How much room each group of a ribbon tab takes. A group can be drawn at four sizes, widest first. As the ribbon
// narrows, groups step down one size at a time from the right (large buttons become small, then small buttons drop
// their captions); only then, again from the right, does a group collapse into one button that drops it down.
namespace RibbonGroupSizing {

enum class Size { Large, Small, IconsOnly, Collapsed };
inline constexpr int SizeCount = 4;

// A group's width at each size, indexed by Size.
using Widths = std::array<int, SizeCount>;

// The size of each group, in order, so that the groups' widths plus `overhead` for each group fit into `available`.
// A step that would not make its group narrower is skipped; when nothing fits, every group is at its narrowest.
std::vector<Size> Choose(const std::vector<Widths>& groups, int overhead, int available);

}  // namespace RibbonGroupSizing
