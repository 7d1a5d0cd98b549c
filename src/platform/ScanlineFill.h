#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Surface flood fill over 32-bit pixels: the 4-connected area of one exact pixel value, filled span by
// span. Plain C++ over the bitmap's own rows; nothing is allocated per pixel (the span stack is the
// caller's and keeps its capacity between fills).
namespace ScanlineFill {

struct Surface {
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    ptrdiff_t stride = 0;  // in pixels
};

// A tile repeated from the surface's origin: pixel (x, y) takes tile (x mod width, y mod height).
struct Pattern {
    const uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    ptrdiff_t stride = 0;  // in pixels
};

// One pending run: line y over x1..x2, whose neighbour line y - dy is already filled there.
struct Segment {
    int32_t y;
    int32_t x1;
    int32_t x2;
    int32_t dy;
};

using SegmentStack = std::vector<Segment>;

// Fills the area of pixels equal to the one at (x, y) with colour. False when (x, y) lies outside.
// A colour equal to the area's own changes nothing.
bool FillSolid(const Surface& surface, int32_t x, int32_t y, uint32_t colour, SegmentStack& stack);

// Fills the same area with the tile. The tile may hold the area's own value: every pixel is filled once,
// because filled pixels are marked by a cleared top byte (the unused alpha of 32-bit RGB) until the fill
// ends, when the top byte of the area's bounding box is set again. The surface's top bytes must all be 0xFF.
bool FillPattern(const Surface& surface, int32_t x, int32_t y, const Pattern& pattern, SegmentStack& stack);

}  // namespace ScanlineFill
